#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/RecordingSurface.h"
#include "render/DashPatterns.h"
#include "render/LineStyles.h"
#include "render/LineStyleTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

using kov::platform::DeviceProperties;
using SurfaceRect = kov::platform::DeviceRect;
using kov::platform::Pen;
using kov::platform::PenStyle;
using kov::platform::RecordingSurface;
using kov::render::DashElements;
using kov::render::DashPhase;
using kov::render::WalkDashes;
using kov::test::dp;
using kov::test::recordedLines;
using kov::test::uniformTransform;

namespace {

const Pen kPen{PenStyle::Solid, 1, 0};

// ---- the pattern elements ----------------------------------------------------------------------------

struct ElementsCase {
    std::string name;
    int lineType;
    bool forArc;
    double paperScale;
    std::vector<int> expected;
};
void PrintTo(const ElementsCase& c, std::ostream* os) { *os << c.name; }

class DashElementsTest : public testing::TestWithParam<ElementsCase> {};

TEST_P(DashElementsTest, TruncatesTableLengthsAtThePaperScale)
{
    const ElementsCase& c = GetParam();
    CPlotInfo plot;
    plot.m_LinePichTable[7] = 2.5f;  // only dash-dot arcs read the eighth entry
    EXPECT_EQ(DashElements(plot, c.paperScale, c.lineType, c.forArc), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DashElementsTest,
    testing::Values(ElementsCase{"dashed", 1, false, 4.0, {15, 5}}, ElementsCase{"dotted", 2, false, 4.0, {3, 3}},
                    ElementsCase{"dashDotLineRepeatsItsGap", 3, false, 4.0, {25, 5, 5, 5}},
                    ElementsCase{"dashDotArcTakesEntry7", 3, true, 4.0, {25, 5, 5, 10}},
                    ElementsCase{"dashDotDot", 4, false, 4.0, {13, 5, 5, 5, 5, 5}},
                    ElementsCase{"truncated", 1, false, 1.5, {5, 1}},
                    ElementsCase{"tinyScaleGivesZeros", 2, false, 0.1, {0, 0}},
                    ElementsCase{"solidHasNone", 0, false, 4.0, {}},
                    ElementsCase{"auxiliaryHasNone", 5, false, 4.0, {}},
                    ElementsCase{"unknownHasNone", 9, false, 4.0, {}}),
    [](const auto& info) { return info.param.name; });

TEST(DashElements, NegativeTableLengthIsTakenAsZero)
{
    CPlotInfo plot;
    plot.m_LinePichTable[1] = -2.0f;
    EXPECT_EQ(DashElements(plot, 4.0, 1, false), (std::vector<int>{15, 0}));
}

// ---- one segment of a broken line --------------------------------------------------------------------

struct SegmentCase {
    std::string name;
    int lineType;
    DevicePoint p;
    DevicePoint q;
    DashPhase in;
    std::vector<std::string> lines;
    DashPhase out;
};
void PrintTo(const SegmentCase& c, std::ostream* os) { *os << c.name; }

class StyledSegmentTest : public testing::TestWithParam<SegmentCase> {};

// Paper scale 4: dashed 15/5, dotted 3/3, dash-dot 25/5/5/5, dash-dot-dot 13/5/5/5/5/5 pixels.
TEST_P(StyledSegmentTest, WalksThePatternFromTheLeftEnd)
{
    const SegmentCase& c = GetParam();
    const CPlotInfo plot;
    RecordingSurface dc;
    int index = c.in.index;
    const int used = CKovUnit::DrawStyledSegment(dc, uniformTransform(1, 4), c.lineType, c.p, c.q, plot, index,
                                                 c.in.used, kPen);
    EXPECT_EQ(recordedLines(dc), c.lines);
    EXPECT_EQ(index, c.out.index);
    EXPECT_EQ(used, c.out.used);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StyledSegmentTest,
    testing::Values(
        SegmentCase{"dashedEndsInADash", 1, dp(0, 0), dp(50, 0), {0, 0},
                    {"(0,0)-(15,0)", "(20,0)-(35,0)", "(40,0)-(50,0)"}, {0, 10}},
        SegmentCase{"carriedDashIsShortened", 1, dp(50, 0), dp(100, 0), {0, 10},
                    {"(50,0)-(55,0)", "(60,0)-(75,0)", "(80,0)-(95,0)"}, {0, 0}},
        SegmentCase{"rightToLeftStartsAtItsLeftEnd", 1, dp(50, 0), dp(0, 0), {0, 0},
                    {"(0,0)-(15,0)", "(20,0)-(35,0)", "(40,0)-(50,0)"}, {0, 10}},
        SegmentCase{"verticalStartsAtItsTop", 1, dp(0, 50), dp(0, 0), {0, 0},
                    {"(0,0)-(0,15)", "(0,20)-(0,35)", "(0,40)-(0,50)"}, {0, 10}},
        SegmentCase{"slopedAdvancesAlongX", 1, dp(30, 40), dp(0, 0), {0, 0},
                    {"(0,0)-(9,12)", "(12,16)-(21,28)", "(24,32)-(30,40)"}, {0, 10}},
        SegmentCase{"cutInAGapCarriesTheGap", 1, dp(0, 0), dp(17, 0), {0, 0}, {"(0,0)-(15,0)"}, {1, 2}},
        SegmentCase{"carriedGapThenDash", 1, dp(17, 0), dp(30, 0), {1, 2}, {"(20,0)-(30,0)"}, {0, 10}},
        SegmentCase{"shorterThanTheShortenedDashIsSolid", 1, dp(0, 0), dp(10, 0), {0, 2}, {"(0,0)-(10,0)"}, {0, 12}},
        SegmentCase{"shorterThanTheShortenedGapIsEmpty", 1, dp(0, 0), dp(3, 0), {1, 1}, {}, {1, 4}},
        SegmentCase{"dotted", 2, dp(0, 0), dp(20, 0), {0, 0},
                    {"(0,0)-(3,0)", "(6,0)-(9,0)", "(12,0)-(15,0)", "(18,0)-(20,0)"}, {0, 2}},
        SegmentCase{"dashDot", 3, dp(0, 0), dp(60, 0), {0, 0}, {"(0,0)-(25,0)", "(30,0)-(35,0)", "(40,0)-(60,0)"},
                    {0, 20}},
        SegmentCase{"dashDotDot", 4, dp(0, 0), dp(40, 0), {0, 0},
                    {"(0,0)-(13,0)", "(18,0)-(23,0)", "(28,0)-(33,0)", "(38,0)-(40,0)"}, {0, 2}},
        // A carried gap of 1 pixel makes the first period short: the walk still lays the pattern to
        // the far end instead of drawing the last 18 pixels as one dash.
        SegmentCase{"shortFirstPeriodStillReachesTheFarEnd", 1, dp(0, 0), dp(39, 0), {1, 4},
                    {"(1,0)-(16,0)", "(21,0)-(36,0)"}, {1, 3}},
        SegmentCase{"carriedIndexOutOfRangeStartsAfresh", 1, dp(0, 0), dp(50, 0), {7, 0},
                    {"(0,0)-(15,0)", "(20,0)-(35,0)", "(40,0)-(50,0)"}, {0, 10}},
        SegmentCase{"solidKeepsTheIndexAndReturnsZero", 0, dp(0, 0), dp(50, 0), {3, 7}, {"(0,0)-(50,0)"}, {3, 0}}),
    [](const auto& info) { return info.param.name; });

TEST(StyledSegment, PolylineCarriesThePhaseAndARightToLeftEdgeTakesItAtItsLeftEnd)
{
    const CPlotInfo plot;
    RecordingSurface dc;
    const std::vector<DevicePoint> pts{dp(0, 0), dp(50, 0), dp(50, 20), dp(0, 20)};
    int index = 0;
    int used = 0;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        used = CKovUnit::DrawStyledSegment(dc, uniformTransform(1, 4), 1, pts[i], pts[i + 1], plot, index, used, kPen);
    }
    const std::vector<std::string> expected{
        "(0,0)-(15,0)",   "(20,0)-(35,0)",   "(40,0)-(50,0)",    // seamless into the corner
        "(50,0)-(50,5)",  "(50,10)-(50,20)",                     // the dash runs on round the corner
        "(0,20)-(5,20)",  "(10,20)-(25,20)", "(30,20)-(45,20)"}; // phase laid from (0,20), not (50,20)
    EXPECT_EQ(recordedLines(dc), expected);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(used, 0);
}

TEST(StyledSegment, PatternOfZeroPixelsDrawsSolid)
{
    const CPlotInfo plot;
    RecordingSurface dc;
    int index = 0;
    const int used = CKovUnit::DrawStyledSegment(dc, uniformTransform(1, 0.1), 2, dp(0, 0), dp(30, 0), plot, index, 0,
                                                 kPen);
    EXPECT_EQ(recordedLines(dc), (std::vector<std::string>{"(0,0)-(30,0)"}));
    EXPECT_EQ(used, 30);
}

TEST(StyledSegment, EighthTableEntryDoesNotChangeDashDotLines)
{
    CPlotInfo plot;
    RecordingSurface before;
    CKovUnit::DrawStyledLine(before, uniformTransform(1, 4), 3, dp(0, 0), dp(300, 0), plot, kPen);
    plot.m_LinePichTable[7] = 5.0f;
    RecordingSurface after;
    CKovUnit::DrawStyledLine(after, uniformTransform(1, 4), 3, dp(0, 0), dp(300, 0), plot, kPen);
    EXPECT_EQ(recordedLines(before), recordedLines(after));
}

TEST(StyledSegment, DrawsWithTheCallersPenOnATransparentBackground)
{
    const CPlotInfo plot;
    RecordingSurface dc;
    const Pen pen{PenStyle::Dot, 1, 0x0000FF};
    CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), 5, dp(0, 0), dp(40, 0), plot, pen);
    CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), 1, dp(0, 0), dp(40, 0), plot, pen);
    ASSERT_FALSE(dc.calls().empty());
    for (const auto& call : dc.calls()) {
        EXPECT_EQ(call.pen.style, PenStyle::Dot);
        EXPECT_EQ(call.pen.color, 0x0000FFu);
        EXPECT_FALSE(call.background.opaque);
    }
}

TEST(StyledSegment, NullPenDrawsNothing)
{
    const CPlotInfo plot;
    RecordingSurface dc;
    const Pen none{PenStyle::Null, 1, 0};
    CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), 5, dp(0, 0), dp(40, 0), plot, none);
    CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), 1, dp(0, 0), dp(40, 0), plot, none);
    EXPECT_TRUE(dc.calls().empty());
}

// ---- long solid lines --------------------------------------------------------------------------------

TEST(StyledSegment, SolidScreenLineBelow1280PixelsIsOneLine)
{
    const CPlotInfo plot;
    RecordingSurface dc;
    CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), 0, dp(0, 0), dp(1000, 279), plot, kPen);
    EXPECT_EQ(recordedLines(dc), (std::vector<std::string>{"(0,0)-(1000,279)"}));
}

TEST(StyledSegment, SolidScreenLineOf1280PixelsIsAChainEndingAtTheFarEnd)
{
    const CPlotInfo plot;
    for (bool leftToRight : {true, false}) {
        SCOPED_TRACE(leftToRight ? "left to right" : "right to left");
        RecordingSurface dc;
        const DevicePoint a = dp(0, 0);
        const DevicePoint b = dp(1280, 0);
        CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), 0, leftToRight ? a : b, leftToRight ? b : a, plot, kPen);
        const auto& calls = dc.calls();
        // Steps of trunc(3 x 4) = 12 pixels while more than a step remains, then the rest.
        ASSERT_EQ(calls.size(), 107u);
        EXPECT_EQ(calls.front().points[0], (kov::platform::DevicePoint{0, 0}));
        for (std::size_t i = 1; i < calls.size(); ++i) EXPECT_EQ(calls[i].points[0], calls[i - 1].points[1]);
        EXPECT_EQ(recordedLines(dc)[105], "(1260,0)-(1272,0)");
        EXPECT_EQ(recordedLines(dc)[106], "(1272,0)-(1280,0)");
    }
}

TEST(StyledSegment, SolidPrinterLineIsAlwaysOneLine)
{
    const CPlotInfo plot;
    DeviceProperties printer;
    printer.isPrinting = true;
    printer.isOutput = true;
    RecordingSurface dc(printer);
    CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), 0, dp(5000, 0), dp(0, 0), plot, kPen);
    EXPECT_EQ(recordedLines(dc), (std::vector<std::string>{"(5000,0)-(0,0)"}));
}

// ---- lines reaching far beyond the device area ---------------------------------------------------------

// Whether the segment meets the area widened by margin (clipped against it, Liang-Barsky).
bool touchesArea(const kov::render::DeviceSegment& s, const SurfaceRect& area, int margin)
{
    const double x0 = s.first.x, y0 = s.first.y;
    const double dx = s.second.x - x0, dy = s.second.y - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - (area.left - margin), area.right + margin - x0, y0 - (area.top - margin),
                         area.bottom + margin - y0};
    double u0 = 0.0, u1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
        } else if (p[i] < 0.0) {
            u0 = std::max(u0, q[i] / p[i]);
        } else {
            u1 = std::min(u1, q[i] / p[i]);
        }
    }
    return u0 <= u1;
}

std::vector<kov::render::DeviceSegment> shownIn(const std::vector<kov::render::DeviceSegment>& all,
                                                const SurfaceRect& area, int margin)
{
    std::vector<kov::render::DeviceSegment> out;
    for (const auto& s : all) {
        if (touchesArea(s, area, margin)) out.push_back(s);
    }
    return out;
}

struct FarLineCase {
    std::string name;
    kov::platform::DevicePoint p;
    kov::platform::DevicePoint q;
    DashPhase in;
};
void PrintTo(const FarLineCase& c, std::ostream* os) { *os << c.name; }

class FarLineTest : public testing::TestWithParam<FarLineCase> {};

TEST_P(FarLineTest, ClippedWalkShowsTheSameDashesAndEndsInTheSamePhase)
{
    const FarLineCase& c = GetParam();
    const SurfaceRect area{0, 0, 800, 600};
    const int margin = 3;
    const std::vector<int> elements{15, 5, 3, 5};
    const auto full = WalkDashes(c.p, c.q, elements, c.in);
    const auto clipped = WalkDashes(c.p, c.q, elements, c.in, area, margin);

    EXPECT_EQ(shownIn(clipped.dashes, area, margin), shownIn(full.dashes, area, margin));
    EXPECT_LT(clipped.dashes.size(), 120u);
    EXPECT_EQ(clipped.phase.index, full.phase.index);
    EXPECT_EQ(clipped.phase.used, full.phase.used);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FarLineTest,
    testing::Values(FarLineCase{"horizontalThroughTheWindow", {-300000, 300}, {300000, 300}, {1, 2}},
                    FarLineCase{"verticalThroughTheWindow", {400, 250000}, {400, -250000}, {0, 0}},
                    FarLineCase{"slopedThroughTheWindow", {-200000, -100000}, {200000, 100400}, {2, 1}},
                    FarLineCase{"missingTheWindow", {-200000, 5000}, {200000, 7000}, {0, 4}},
                    FarLineCase{"endingInsideTheWindow", {-250000, 100}, {500, 100}, {0, 0}}),
    [](const auto& info) { return info.param.name; });

TEST(StyledSegment, HugeLinesDrawOnlyAroundTheDeviceArea)
{
    const CPlotInfo plot;
    DeviceProperties screen;
    screen.area = {0, 0, 800, 600};
    const SurfaceRect area = screen.area;
    for (int lineType : {0, 2}) {
        SCOPED_TRACE(lineType);
        RecordingSurface dc(screen);
        CKovUnit::DrawStyledLine(dc, uniformTransform(1, 4), lineType, dp(-(1 << 28), 300), dp(1 << 28, 301), plot,
                                 kPen);
        EXPECT_GT(dc.calls().size(), 50u);
        EXPECT_LT(dc.calls().size(), 400u);
        for (const auto& call : dc.calls()) {
            // Solid lines go in whole steps of 12 pixels.
            EXPECT_TRUE(touchesArea({call.points[0], call.points[1]}, area, 16)) << call.dump;
        }
    }
}

TEST(SolidChain, ClippedChainKeepsTheVisibleSteps)
{
    const SurfaceRect area{0, 0, 800, 600};
    const kov::platform::DevicePoint p{-400000, 200};
    const kov::platform::DevicePoint q{400000, 200};
    const auto full = kov::render::SolidChain(p, q, 12);
    const auto clipped = kov::render::SolidChain(p, q, 12, area, 3);
    EXPECT_EQ(shownIn(clipped, area, 3), shownIn(full, area, 3));
    EXPECT_LT(clipped.size(), 100u);
}

// ---- circles, ellipses and arcs ----------------------------------------------------------------------

CKovLine roundFigure(std::vector<double> params)
{
    CKovLine f;
    f.MLineType = CKovLine::CIRCLE;
    f.MLineParam = std::move(params);
    return f;
}

double deviceAngle(const kov::platform::DevicePoint& p, double cx, double cy)
{
    double a = std::atan2(-(p.y - cy), p.x - cx) * 180.0 / 3.14159265358979;
    return a < 0 ? a + 360.0 : a;
}

// Circle of radius 20 mm at 1 pixel per mm about device (100, 100), paper scale 4: the circumference
// (40 + 40) x 0.25 x 2pi is 125.66 pixels.
struct ArcFixture : testing::Test {
    CPlotInfo plot;
    DeviceTransform t = uniformTransform(1, 4, 100, 100);
    RecordingSurface dc;
};

TEST_F(ArcFixture, DottedFullCircleStartsAtAngleZero)
{
    const CKovLine circle = roundFigure({20});
    const CDbPoint right(20, 0);
    CKovUnit::DrawDashedArc(dc, t, 2, {80, 80, 120, 120}, {0, 0}, right, right, circle, plot, 2, 0x00FF00);
    const auto& calls = dc.calls();
    // 3-pixel dots and gaps of 8.59 degrees: 20 whole periods and a last dot before 360.
    ASSERT_EQ(calls.size(), 21u);
    EXPECT_EQ(calls[0].dump, "arc [80,80,120,120] (120,100) (119,98) pen=solid:2:0x00FF00");
    for (const auto& c : calls) EXPECT_EQ(c.op, "arc");
}

TEST_F(ArcFixture, DashedArcEndsItsLastDashAtTheEndAngle)
{
    const CKovLine arc = roundFigure({20});
    // 15/5 pixels are 42.97/14.32 degrees: a dash from 0, then one from 57.3 cut at 90.
    CKovUnit::DrawDashedArc(dc, t, 1, {80, 80, 120, 120}, {0, 0}, {20, 0}, {0, -20}, arc, plot, 1, 0);
    ASSERT_EQ(dc.calls().size(), 2u);
    EXPECT_EQ(dc.calls()[0].points[0], (kov::platform::DevicePoint{120, 100}));
    EXPECT_NEAR(deviceAngle(dc.calls()[0].points[1], 100, 100), 42.97, 2.0);
    EXPECT_NEAR(deviceAngle(dc.calls()[1].points[0], 100, 100), 57.30, 2.0);
    // The end radial's point, truncated toward the centre as every mapped point is.
    EXPECT_EQ(dc.calls()[1].points[1], (kov::platform::DevicePoint{100, 81}));
}

TEST_F(ArcFixture, EighthTableEntryChangesDashDotArcs)
{
    const CKovLine circle = roundFigure({20});
    CKovUnit::DrawDashedArc(dc, t, 3, {80, 80, 120, 120}, {0, 0}, {20, 0}, {20, 0}, circle, plot, 1, 0);
    const std::size_t before = dc.calls().size();
    dc.clear();
    plot.m_LinePichTable[7] = 5.0f;
    CKovUnit::DrawDashedArc(dc, t, 3, {80, 80, 120, 120}, {0, 0}, {20, 0}, {20, 0}, circle, plot, 1, 0);
    EXPECT_LT(dc.calls().size(), before);
}

TEST_F(ArcFixture, LargeDottedCircleIsClosed)
{
    // 4189 elements go round this circle: all of them are laid, the last dot ends where the first began.
    const CKovLine circle = roundFigure({2000});
    const CDbPoint right(2000, 0);
    CKovUnit::DrawDashedArc(dc, t, 2, {-1900, -1900, 2100, 2100}, {0, 0}, right, right, circle, plot, 1, 0);
    const auto& calls = dc.calls();
    ASSERT_EQ(calls.size(), 2095u);
    EXPECT_EQ(calls.front().points[0], (kov::platform::DevicePoint{2100, 100}));
    EXPECT_EQ(calls.back().points[1], (kov::platform::DevicePoint{2100, 100}));
}

TEST_F(ArcFixture, HugeCircleDrawsOnlyTheDashesNearTheDeviceArea)
{
    const CKovLine circle = roundFigure({30000});
    const CDbPoint right(30000, 0);
    // Centre far below the window: only the top of the circle crosses it.
    const DeviceTransform below = uniformTransform(1, 4, 400, 30300);
    const SurfaceRect box{-29600, 300, 30400, 60300};
    const SurfaceRect area{0, 0, 800, 600};
    auto inside = [&](const kov::platform::RecordedCall& c) {
        for (const auto& p : c.points) {
            if (p.x < area.left || p.x >= area.right || p.y < area.top || p.y >= area.bottom) return false;
        }
        return true;
    };

    RecordingSurface everything;
    CKovUnit::DrawDashedArc(everything, below, 2, box, {0, 0}, right, right, circle, plot, 1, 0);
    DeviceProperties screen;
    screen.area = area;
    RecordingSurface window(screen);
    CKovUnit::DrawDashedArc(window, below, 2, box, {0, 0}, right, right, circle, plot, 1, 0);

    const auto shownOf = [&](const RecordingSurface& s) {
        return std::count_if(s.calls().begin(), s.calls().end(), inside);
    };
    EXPECT_GT(shownOf(everything), 100);
    EXPECT_NEAR(static_cast<double>(shownOf(window)), static_cast<double>(shownOf(everything)), 1.0);
    EXPECT_LT(window.calls().size(), 200u);
}

TEST_F(ArcFixture, FullEllipseLaysItsPatternFromAngleZero)
{
    const CKovLine ellipse = roundFigure({20, 0.5});
    CKovUnit::DrawDashedArc(dc, t, 2, {80, 90, 120, 110}, {0, 0}, {0, -10}, {0, -10}, ellipse, plot, 1, 0);
    ASSERT_FALSE(dc.calls().empty());
    EXPECT_EQ(dc.calls().front().points[0], (kov::platform::DevicePoint{120, 100}));
    for (const auto& c : dc.calls()) EXPECT_EQ(c.rect, (SurfaceRect{80, 90, 120, 110}));
}

// One dashed (15/5 pixels) outline about device (100, 100): where its dashes begin and end.
struct ArcWalkCase {
    std::string name;
    std::vector<double> params;
    SurfaceRect box;
    CDbPoint start;
    CDbPoint end;
    std::size_t count;
    std::string first;
    std::string last;
};
void PrintTo(const ArcWalkCase& c, std::ostream* os) { *os << c.name; }

std::string arcEnds(const kov::platform::RecordedCall& c)
{
    return "(" + std::to_string(c.points[0].x) + "," + std::to_string(c.points[0].y) + ")-(" +
           std::to_string(c.points[1].x) + "," + std::to_string(c.points[1].y) + ")";
}

class ArcWalkTest : public testing::TestWithParam<ArcWalkCase> {};

TEST_P(ArcWalkTest, FirstAndLastDash)
{
    const ArcWalkCase& c = GetParam();
    const CPlotInfo plot;
    RecordingSurface dc;
    CKovUnit::DrawDashedArc(dc, uniformTransform(1, 4, 100, 100), 1, c.box, {0, 0}, c.start, c.end,
                            roundFigure(c.params), plot, 1, 0);
    const auto& calls = dc.calls();
    ASSERT_EQ(calls.size(), c.count);
    for (const auto& call : calls) EXPECT_EQ(call.rect, c.box) << call.dump;
    EXPECT_EQ(arcEnds(calls.front()), c.first);
    EXPECT_EQ(arcEnds(calls.back()), c.last);
}

// Circle, radius 20: the 125.66-pixel circumference makes a dash 0.75 rad and a gap 0.25 rad, laid
// from the start angle and cut at the end angle.
// Ellipse, radius 40, ratio 0.5: the 251.33-pixel circumference makes a dash 0.375 rad and a gap
// 0.125 rad, laid from angle 0: dash k covers 0.5k to 0.5k + 0.375 rad (k = 4: 114.59 to 136.08
// degrees). An elliptic arc draws the whole dashes that begin at or after its start angle, up to the
// one that reaches its end angle.
INSTANTIATE_TEST_SUITE_P(
    Table, ArcWalkTest,
    testing::Values(
        // Dashes at 90 to 133 and 147 to 190 degrees, the second cut at 180.
        ArcWalkCase{"circleArcLaysFromItsStart", {20}, {80, 80, 120, 120}, {0, -20}, {-20, 0}, 2, "(100,81)-(87,86)",
                    "(84,90)-(81,100)"},
        // Dashes at 300 to 343 and 357 to 400 degrees, the second cut at 30 on the next turn.
        ArcWalkCase{"circleArcAcrossAngleZero", {20}, {80, 80, 120, 120}, {1, 1.7320508075688772},
                    {1.7320508075688772, -1}, 2, "(110,117)-(119,105)", "(119,100)-(117,91)"},
        // The gap from 43 to 57 degrees passes the end at 50: nothing more.
        ArcWalkCase{"circleArcEndingInAGap", {20}, {80, 80, 120, 120}, {20, 0}, {0.6427876, -0.7660444}, 1,
                    "(120,100)-(114,87)", "(120,100)-(114,87)"},
        // The dash from 85.9 degrees is left out (it begins before 90); the one from 171.9 that
        // reaches 180 runs on whole to 193.4.
        ArcWalkCase{"ellipticArcDrawsWholeDashes", {40, 0.5}, {60, 80, 140, 120}, {0, -20}, {-40, 0}, 3,
                    "(92,81)-(82,83)", "(62,95)-(64,108)"},
        // From 0 to 30 degrees: the dash from 28.6 reaches 30 and runs on to 50.1.
        ArcWalkCase{"ellipticArcFromAngleZeroRunsPastItsEnd", {40, 0.5}, {60, 80, 140, 120}, {40, 0},
                    {1.7320508075688772, -1}, 2, "(140,100)-(131,88)", "(127,86)-(115,82)"},
        // From 0 to 25 degrees: the gap from 21.5 to 28.6 reaches the end, so one dash.
        ArcWalkCase{"ellipticArcEndingInAGap", {40, 0.5}, {60, 80, 140, 120}, {40, 0}, {0.9063078, -0.4226183}, 1,
                    "(140,100)-(131,88)", "(140,100)-(131,88)"},
        // From 300 to 30 degrees: the dash from 286.5 is left out, the first drawn begins at 315.1
        // and the pattern runs on over 360 (not restarted) to the dash from 372.4 to 393.9.
        ArcWalkCase{"ellipticArcAcrossAngleZero", {40, 0.5}, {60, 80, 140, 120}, {1, 1.7320508075688772},
                    {1.7320508075688772, -1}, 3, "(117,117)-(130,113)", "(136,92)-(123,84)"},
        // 13 dashes from 0; the last, from 343.8, runs on whole to 365.3.
        ArcWalkCase{"fullEllipse", {40, 0.5}, {60, 80, 140, 120}, {0, -20}, {0, -20}, 13, "(140,100)-(131,88)",
                    "(134,110)-(139,97)"}),
    [](const auto& info) { return info.param.name; });

TEST_F(ArcFixture, HugeEllipticArcDrawsTheSameDashesNearTheDeviceArea)
{
    // Radius 30000, ratio 0.5, centre far below the window; the arc runs from 80 to 91 degrees, so
    // its start lies right of the window and its end inside it, near x = 138.
    const CKovLine ellipse = roundFigure({30000, 0.5});
    const DeviceTransform below = uniformTransform(1, 4, 400, 15300);
    const SurfaceRect box{-29600, 300, 30400, 30300};
    const SurfaceRect area{0, 0, 800, 600};
    const double rad = 3.14159265358979 / 180.0;
    const CDbPoint start(std::cos(80 * rad), -std::sin(80 * rad));
    const CDbPoint end(std::cos(91 * rad), -std::sin(91 * rad));
    auto inside = [&](const kov::platform::RecordedCall& c) {
        for (const auto& p : c.points) {
            if (p.x < area.left || p.x >= area.right || p.y < area.top || p.y >= area.bottom) return false;
        }
        return true;
    };
    const auto shownOf = [&](const RecordingSurface& s) {
        std::vector<std::string> out;
        for (const auto& c : s.calls()) {
            if (inside(c)) out.push_back(arcEnds(c));
        }
        return out;
    };

    RecordingSurface everything;
    CKovUnit::DrawDashedArc(everything, below, 1, box, {0, 0}, start, end, ellipse, plot, 1, 0);
    DeviceProperties screen;
    screen.area = area;
    RecordingSurface window(screen);
    CKovUnit::DrawDashedArc(window, below, 1, box, {0, 0}, start, end, ellipse, plot, 1, 0);

    const std::vector<std::string> all = shownOf(everything);
    ASSERT_GT(all.size(), 10u);
    EXPECT_EQ(shownOf(window), all);
    EXPECT_LT(window.calls().size(), 100u);
}

TEST_F(ArcFixture, PatternOfZeroPixelsDrawsTheWholeOutline)
{
    const CKovLine circle = roundFigure({20});
    const DeviceTransform tiny = uniformTransform(1, 0.1, 100, 100);
    CKovUnit::DrawDashedArc(dc, tiny, 2, {80, 80, 120, 120}, {0, 0}, {20, 0}, {20, 0}, circle, plot, 1, 0);
    ASSERT_EQ(dc.calls().size(), 1u);
    EXPECT_EQ(dc.calls()[0].dump, "arc [80,80,120,120] (120,100) (120,100) pen=solid:1:0x000000");
}

TEST_F(ArcFixture, NothingForSolidTypesEmptyBoxesOrMissingRadius)
{
    CKovUnit::DrawDashedArc(dc, t, 0, {80, 80, 120, 120}, {0, 0}, {20, 0}, {20, 0}, roundFigure({20}), plot, 1, 0);
    CKovUnit::DrawDashedArc(dc, t, 5, {80, 80, 120, 120}, {0, 0}, {20, 0}, {20, 0}, roundFigure({20}), plot, 1, 0);
    CKovUnit::DrawDashedArc(dc, t, 1, {100, 100, 100, 100}, {0, 0}, {0, 0}, {0, 0}, roundFigure({0}), plot, 1, 0);
    CKovUnit::DrawDashedArc(dc, t, 1, {80, 80, 120, 120}, {0, 0}, {20, 0}, {20, 0}, roundFigure({}), plot, 1, 0);
    EXPECT_TRUE(dc.calls().empty());
}

} // namespace
