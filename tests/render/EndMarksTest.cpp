#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/RecordingSurface.h"
#include "render/EndMarks.h"
#include "render/LineStyleTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using kov::platform::Pen;
using kov::platform::PenStyle;
using kov::platform::RecordingSurface;
using kov::test::dp;
using kov::test::uniformTransform;

namespace {

struct MarkCase {
    std::string name;
    int code;
    std::vector<std::string> calls;
};
void PrintTo(const MarkCase& c, std::ostream* os) { *os << c.name; }

class EndMarksTest : public testing::TestWithParam<MarkCase> {};

// A line from (100,100) to (200,100); size index 4 (4 mm) at paper scale 10 gives 40-pixel marks.
// The wings are truncated toward the tip, so sin 30 x 40 lands on 19 on one side and 20 on the other.
TEST_P(EndMarksTest, DrawsTheMarkOfEachCode)
{
    const MarkCase& c = GetParam();
    const CPlotInfo plot;
    RecordingSurface dc;
    const Pen pen{PenStyle::Solid, 2, 0x0000FF};
    CKovUnit::DrawEndMarks(dc, uniformTransform(1, 10), plot, dp(100, 100), dp(200, 100), {100, 100}, {200, 100},
                           0x0000FF, c.code, 4, pen);
    EXPECT_EQ(dc.dump(), c.calls);
}

const std::string kPen = "pen=solid:2:0x0000FF";
const std::string kFill = "brush=solid:0x0000FF";
const std::string kStartArrow[2] = {"line (134,81)-(100,100) " + kPen, "line (134,120)-(100,100) " + kPen};
const std::string kEndArrow[2] = {"line (166,119)-(200,100) " + kPen, "line (166,80)-(200,100) " + kPen};
const std::string kStartTriangle = "polygon alternate (134,81) (100,100) (134,120) " + kPen + " " + kFill;
const std::string kEndTriangle = "polygon alternate (166,119) (200,100) (166,80) " + kPen + " " + kFill;
const std::string kStartDot = "ellipse [80,80,120,120] " + kPen + " " + kFill;
const std::string kEndDot = "ellipse [180,80,220,120] " + kPen + " " + kFill;
const std::string kStartSquare = "rectangle [80,80,120,120] " + kPen + " " + kFill;
const std::string kEndSquare = "rectangle [180,80,220,120] " + kPen + " " + kFill;

INSTANTIATE_TEST_SUITE_P(
    Table, EndMarksTest,
    testing::Values(MarkCase{"none", 0, {}},
                    MarkCase{"arrowAtStart", 1, {kStartArrow[0], kStartArrow[1]}},
                    MarkCase{"arrowAtEnd", 2, {kEndArrow[0], kEndArrow[1]}},
                    MarkCase{"arrowsAtBoth", 3, {kStartArrow[0], kStartArrow[1], kEndArrow[0], kEndArrow[1]}},
                    MarkCase{"triangleAtStart", 4, {kStartTriangle}},
                    MarkCase{"triangleAtEnd", 5, {kEndTriangle}},
                    MarkCase{"trianglesAtBothPointOutwards", 6, {kStartTriangle, kEndTriangle}},
                    MarkCase{"dotAtStart", 7, {kStartDot}},
                    MarkCase{"dotAtEnd", 8, {kEndDot}},
                    MarkCase{"dotsAtBoth", 9, {kStartDot, kEndDot}},
                    MarkCase{"squareAtStart", 10, {kStartSquare}},
                    MarkCase{"squareAtEnd", 11, {kEndSquare}},
                    MarkCase{"squaresAtBoth", 12, {kStartSquare, kEndSquare}},
                    MarkCase{"codeAbove12", 13, {}},
                    MarkCase{"negativeCode", -1, {}}),
    [](const auto& info) { return info.param.name; });

TEST(EndMarks, DirectionComesFromTheRealPointsAndPlacementFromTheDevicePoints)
{
    const CPlotInfo plot;
    RecordingSurface dc;
    const Pen pen{PenStyle::Solid, 1, 0};
    // Real points running straight up (90 degrees); the mark sits on the device point given.
    CKovUnit::DrawEndMarks(dc, uniformTransform(1, 10), plot, dp(10, 10), dp(500, 500), {0, 0}, {0, -5}, 0, 1, 1, pen);
    // 1 mm = 10 px; wings at 120 and 60 degrees from (10,10), up the screen along the line.
    EXPECT_EQ(dc.dump(), (std::vector<std::string>{"line (6,2)-(10,10) pen=solid:1:0x000000",
                                                   "line (15,2)-(10,10) pen=solid:1:0x000000"}));
}

TEST(EndMarks, SizeIndexOutsideTheTableIsClamped)
{
    const CPlotInfo plot;
    const Pen pen{PenStyle::Solid, 1, 0};
    struct Row {
        int index;
        std::string box;
    };
    // 0.6 mm and 4 mm at paper scale 10: 6 and 40 pixels.
    for (const Row& row : {Row{-3, "[97,97,103,103]"}, Row{0, "[97,97,103,103]"}, Row{4, "[80,80,120,120]"},
                           Row{9, "[80,80,120,120]"}}) {
        SCOPED_TRACE(row.index);
        RecordingSurface dc;
        CKovUnit::DrawEndMarks(dc, uniformTransform(1, 10), plot, dp(100, 100), dp(200, 100), {100, 100}, {200, 100},
                               0, 10, row.index, pen);
        ASSERT_EQ(dc.calls().size(), 1u);
        EXPECT_EQ(dc.calls()[0].dump.substr(0, dc.calls()[0].dump.find(' ', 10)), "rectangle " + row.box);
    }
}

TEST(EndMarks, MarkSizeFollowsThePlotSettingsTable)
{
    CPlotInfo plot;
    plot.keij_pich[2] = 2.0;
    RecordingSurface dc;
    CKovUnit::DrawEndMarks(dc, uniformTransform(1, 5), plot, dp(0, 0), dp(50, 0), {0, 0}, {50, 0}, 0, 8, 2,
                           Pen{PenStyle::Solid, 1, 0});
    ASSERT_EQ(dc.calls().size(), 1u);
    EXPECT_EQ(dc.calls()[0].rect, (kov::platform::DeviceRect{45, -5, 55, 5}));
}

TEST(EndMarks, DamagedSizeTableKeepsMarksInTheDeviceRange)
{
    // A size from a damaged profile must not push a wing or a box corner past the int range: the
    // marks are as long as the mapped coordinate range at the most.
    CPlotInfo plot;
    plot.keij_pich[4] = 1e12;
    const Pen pen{PenStyle::Solid, 1, 0};
    const int edge = kDeviceCoordLimit;
    const int half = edge / 2;
    RecordingSurface dc;
    // Arrows at the right edge whose wings point further right (the line runs right from its start).
    CKovUnit::DrawEndMarks(dc, uniformTransform(1, 10), plot, dp(edge, 0), dp(edge, 0), {0, 0}, {1, 0}, 0, 1, 4, pen);
    CKovUnit::DrawEndMarks(dc, uniformTransform(1, 10), plot, dp(edge, 0), dp(edge, 0), {0, 0}, {1, 0}, 0, 10, 4, pen);
    ASSERT_EQ(dc.calls().size(), 3u);
    // Wings of 2^29 pixels at 30 degrees reach cos 30° x 2^29 = 464943848.3 pixels further right.
    EXPECT_NEAR(dc.calls()[0].points[0].x, edge + 464943848, 1);
    EXPECT_NEAR(dc.calls()[1].points[0].x, edge + 464943848, 1);
    EXPECT_EQ(dc.calls()[2].rect, (kov::platform::DeviceRect{edge - half, -half, edge + half, half}));
}

TEST(EndMarks, DecodesShapeAndEnds)
{
    using namespace kov::render;
    const struct {
        int code;
        EndMarkShape shape;
        bool atStart;
        bool atEnd;
    } rows[] = {
        {0, kNoMark, false, false},          {1, kOpenArrow, true, false},       {2, kOpenArrow, false, true},
        {3, kOpenArrow, true, true},         {4, kFilledTriangle, true, false},  {5, kFilledTriangle, false, true},
        {6, kFilledTriangle, true, true},    {7, kFilledDot, true, false},       {8, kFilledDot, false, true},
        {9, kFilledDot, true, true},         {10, kFilledSquare, true, false},   {11, kFilledSquare, false, true},
        {12, kFilledSquare, true, true},     {13, kNoMark, false, false},        {-1, kNoMark, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        const EndMarkCode mark = DecodeEndMark(row.code);
        EXPECT_EQ(mark.shape, row.shape);
        EXPECT_EQ(mark.atStart, row.atStart);
        EXPECT_EQ(mark.atEnd, row.atEnd);
    }
}

} // namespace
