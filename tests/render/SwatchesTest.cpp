// The style samples of the tool panel and the style dialogs, read back from the recording surface.

#include "DrawerTestSupport.h"

#include "render/Swatches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kov::test::drawers;
using kov::platform::DevicePoint;
using kov::platform::RecordedCall;
using kov::platform::RecordingSurface;

namespace {

SwatchEnvironment swatchEnvironment()
{
    SwatchEnvironment env;
    const CKovUnit::DrawEnvironment draw = environmentWithPatterns();
    env.patterns = draw.patterns;
    return env;
}

std::vector<const RecordedCall*> callsOf(const RecordingSurface& s, const std::string& op)
{
    std::vector<const RecordedCall*> out;
    for (const RecordedCall& c : s.calls())
        if (c.op == op) out.push_back(&c);
    return out;
}

std::vector<std::string> ops(const RecordingSurface& s)
{
    std::vector<std::string> out;
    for (const RecordedCall& c : s.calls()) out.push_back(c.op);
    return out;
}

class SwatchesTest : public testing::Test {
protected:
    void SetUp() override { ResetPickTolerances(); }
    CPlotInfo plot;
    SwatchEnvironment env = swatchEnvironment();
    RecordingSurface s;
};

TEST_F(SwatchesTest, ColumnStandsInTheMiddleOfASwatchAwayFromTheOrigin)
{
    plot.PlotHasiraColor = 2;
    plot.DrawColumnSwatch(s, 100, 50, 60, 40, env);
    ASSERT_EQ(ops(s), (std::vector<std::string>{"rectangle", "line", "line"}));
    // Centre (130, 70), square 2p = 16 wide, white with both diagonals.
    EXPECT_EQ(s.calls()[0].rect, (kov::platform::DeviceRect{122, 62, 138, 78}));
    EXPECT_EQ(hex(s.calls()[0].brush.color), "0xFFFFFF");

    s.clear();
    plot.hasiratype = 2;  // through column: the circle of the snap tolerance
    plot.PlotHasiraColor = 1;
    plot.DrawColumnSwatch(s, 100, 50, 60, 40, env);
    ASSERT_EQ(ops(s), (std::vector<std::string>{"rectangle", "ellipse"}));
    EXPECT_EQ(hex(s.calls()[0].brush.color), "0x000000");
    EXPECT_EQ(s.calls()[1].rect, (kov::platform::DeviceRect{117, 57, 143, 83}));

    s.clear();
    plot.hasiratype = 1;  // thin: p wide, 2p high, one diagonal
    plot.PlotHasiraColor = 2;
    plot.DrawColumnSwatch(s, 0, 0, 60, 40, env);
    ASSERT_EQ(ops(s), (std::vector<std::string>{"rectangle", "line"}));
    EXPECT_EQ(s.calls()[0].rect, (kov::platform::DeviceRect{26, 12, 34, 28}));
    EXPECT_EQ(s.calls()[1].points, (std::vector<DevicePoint>{{34, 12}, {26, 28}}));
}

TEST_F(SwatchesTest, WallByDisplayMode)
{
    struct Case {
        int mode;
        int wallType;
        int autoColumns;
        std::vector<std::string> ops;
    };
    const Case cases[] = {
        {1, 0, 1, {"rectangle", "fillRect"}},
        {3, 0, 1, {"rectangle", "fillRect"}},
        {4, 0, 1, {"rectangle", "fillRect", "rectangle"}},
        {2, 1, 0, {"rectangle", "line"}},
        {2, 1, 1, {"rectangle", "line", "rectangle", "rectangle"}},
        {5, 0, 1, {"rectangle"}},
    };
    for (const Case& c : cases) {
        plot.PlotWallBlack = c.mode;
        plot.walltype = c.wallType;
        env.autoColumns = c.autoColumns;
        s.clear();
        plot.DrawWallSwatch(s, 0, 0, 100, 40, env);
        EXPECT_EQ(ops(s), c.ops) << c.mode << "/" << c.wallType;
    }
    // The inset rectangle and the end columns as high as it.
    EXPECT_EQ(callsOf(s, "rectangle")[0]->rect, (kov::platform::DeviceRect{13, 13, 87, 27}));
}

TEST_F(SwatchesTest, ClosedShapeFills)
{
    struct Case {
        const char* name;
        int pattern;
        int fills;
        std::uint32_t colour;
        int gradientMode;
        int opacity;
        int hatch;
        std::string fill;
    };
    const Case cases[] = {
        {"patternStandsAlone", 3, 1, kRed, 1, 50, 1, "pattern"},
        {"solid", 0, 1, kRed, 0, 100, 0, "solid:0x0000FF"},
        {"translucentFlat", 0, 1, kRed, 0, 50, 0, "linear:0x0000FF->0x0000FF@50%"},
        {"gradient", 0, 1, kRed, 1, 100, 0, "linear:0x0000FF->0x00FF00@100%"},
        {"whiteNeverGradient", 0, 1, kWhite, 1, 100, 0, "solid:0xFFFFFF"},
        {"blackTranslucent", 0, 1, 0, 1, 50, 0, "linear:0x000000->0x000000@50%"},
        {"chicGreys", 0, 1, kRed, 3, 100, 0, "path:0xF0F0F0/0x646464@100%"},
        {"hatchOnly", 0, 0, kRed, 0, 100, 1, "hatch"},
        {"nothing", 0, 0, kRed, 0, 100, 0, "none"},
    };
    for (const int slot : {1, 2, 3}) {
        for (const Case& c : cases) {
            const std::size_t i = std::size_t(slot);
            plot.PlotPattern[i] = c.pattern;
            plot.PlotNakaNuri[i] = c.fills;
            plot.PlotNakaColor[i] = c.colour;
            plot.PlotNakaColor2[i] = kGreen;
            plot.PlotGradation = c.gradientMode;
            plot.PlotGradiation[i] = 4501;
            plot.PlotAlpha[i] = c.opacity;
            plot.PlotbHach[i] = c.hatch;
            s.clear();
            if (slot == 1) plot.DrawRectangleSwatch(s, 0, 0, 80, 40, env);
            if (slot == 2) plot.DrawPolygonSwatch(s, 0, 0, 80, 40, env);
            if (slot == 3) plot.DrawCircleSwatch(s, 0, 0, 80, 40, env);
            EXPECT_EQ(fillSummary(s), c.fill) << slot << ":" << c.name;
            const bool hatched = std::any_of(s.calls().begin(), s.calls().end(), [](const RecordedCall& r) {
                return r.brush.style == kov::platform::BrushStyle::Hatch;
            });
            EXPECT_EQ(hatched, c.hatch != 0 && c.pattern == 0) << slot << ":" << c.name;
        }
    }
}

TEST_F(SwatchesTest, RectangleOutlineAfterItsFillsWithTheSlotPen)
{
    plot.PlotNakaNuri[1] = 1;
    plot.PlotLineType[1] = 5;  // the auxiliary line shows dotted, one pixel
    plot.PlotColor[1] = kBlue;
    plot.DrawRectangleSwatch(s, 0, 0, 80, 40, env);
    ASSERT_EQ(ops(s), (std::vector<std::string>{"polygon", "polyline"}));
    const RecordedCall& outline = s.calls()[1];
    EXPECT_EQ(outline.points, (std::vector<DevicePoint>{{20, 10}, {20, 30}, {60, 30}, {60, 10}, {20, 10}}));
    EXPECT_EQ(outline.pen.style, kov::platform::PenStyle::Dot);
    EXPECT_EQ(outline.pen.width, 1);
    EXPECT_EQ(hex(outline.pen.color), hex(kBlue));
}

TEST_F(SwatchesTest, ArcShapes)
{
    plot.PlotNakaNuri[4] = 1;
    plot.PlotNakaColor[4] = kRed;
    plot.PlotAlpha[4] = 50;
    struct Case {
        int shape;
        std::vector<std::string> ops;
    };
    for (const Case& c : {Case{0, {"fillLinearGradient", "arc"}}, Case{1, {"chord"}}, Case{2, {"arc"}}}) {
        plot.PlotLineTanten[4] = c.shape;
        s.clear();
        plot.DrawArcSwatch(s, 0, 0, 80, 40, env);
        EXPECT_EQ(ops(s), c.ops) << c.shape;
    }
    // The thick arc: a 2-pixel pen, never a null one for the auxiliary line type.
    plot.PlotLineType[4] = 5;
    s.clear();
    plot.DrawArcSwatch(s, 0, 0, 80, 40, env);
    ASSERT_EQ(s.calls().size(), 1u);
    EXPECT_EQ(s.calls()[0].pen.width, 2);
    EXPECT_NE(s.calls()[0].pen.style, kov::platform::PenStyle::Null);
    // The sector's gradient covers the quarter from the right point up to the top point.
    plot.PlotLineTanten[4] = 0;
    plot.PlotLineType[4] = 0;
    s.clear();
    plot.DrawArcSwatch(s, 0, 0, 80, 40, env);
    EXPECT_NE(s.calls()[0].dump.find("pie [30,10,50,30]"), std::string::npos) << s.calls()[0].dump;
    EXPECT_EQ(s.calls()[1].points, (std::vector<DevicePoint>{{50, 20}, {40, 10}}));
}

TEST_F(SwatchesTest, LineWithEndMarks)
{
    struct Case {
        int code;
        std::vector<std::string> ops;
    };
    const Case cases[] = {
        {0, {"line"}},
        {1, {"line", "line", "line"}},
        {3, {"line", "line", "line", "line", "line"}},
        {5, {"line", "polygon"}},
        {9, {"line", "ellipse", "ellipse"}},
        {12, {"line", "rectangle", "rectangle"}},
        {13, {"line"}},
    };
    plot.PlotLineYaWide = 1;  // marks of p = 8 pixels
    for (const Case& c : cases) {
        plot.PlotLineTanten[0] = c.code;
        s.clear();
        plot.DrawLineSwatch(s, 0, 0, 100, 40, env);
        EXPECT_EQ(ops(s), c.ops) << c.code;
    }
    // Code 9: filled circles of radius m / 2 at both ends of the line from s to width - s.
    plot.PlotLineTanten[0] = 9;
    s.clear();
    plot.DrawLineSwatch(s, 0, 0, 100, 40, env);
    EXPECT_EQ(s.calls()[0].points, (std::vector<DevicePoint>{{13, 20}, {87, 20}}));
    EXPECT_EQ(s.calls()[1].rect, (kov::platform::DeviceRect{9, 16, 17, 24}));
    EXPECT_EQ(s.calls()[2].rect, (kov::platform::DeviceRect{83, 16, 91, 24}));
    // Open arrow at the start: wings from start + (trunc(8 cos 30), ±trunc(8 sin 30)) to the start;
    // 8 sin 30 lies just below 4.
    plot.PlotLineTanten[0] = 1;
    s.clear();
    plot.DrawLineSwatch(s, 0, 0, 100, 40, env);
    EXPECT_EQ(s.calls()[1].points, (std::vector<DevicePoint>{{19, 23}, {13, 20}}));
    EXPECT_EQ(s.calls()[2].points, (std::vector<DevicePoint>{{19, 17}, {13, 20}}));
}

TEST_F(SwatchesTest, TextSampleCentredAtAtLeastTwoPixels)
{
    CFontMenu font;
    font.m_size = 0.1;  // 0.3 px at 3 pixels per millimetre
    font.m_Color = kRed;
    font.DrawTextSwatch(s, 3.0, 100, 40);
    ASSERT_EQ(callsOf(s, "textOut").size(), 1u);
    const RecordedCall& text = *callsOf(s, "textOut")[0];
    EXPECT_EQ(text.text, "Aあ");
    EXPECT_EQ(text.font.height, 2);
    EXPECT_EQ(text.points[0], (DevicePoint{(100 - 3) / 2, (40 - 2) / 2}));  // 1 + 2 px wide, 2 high

    font.lfFaceName.clear();  // no font can be made
    s.clear();
    font.DrawTextSwatch(s, 3.0, 100, 40);
    EXPECT_TRUE(s.calls().empty());
}

TEST_F(SwatchesTest, RoomsWithTatamiAndFlooring)
{
    const DevicePoint corners[4] = {{0, 0}, {0, 98}, {158, 98}, {158, 0}};  // inset: 8..150 × 8..90
    struct Case {
        const char* name;
        std::string roomName;
        int hatches;
        int kind;
        int tatamiBorders;
        int mode;
        std::size_t lines;
    };
    const Case cases[] = {
        {"japaneseRoomByName", "和　室", 0, 3, 1, 1, 4},
        {"nameNeedsMode1", "和　室", 0, 3, 1, 0, 0},
        {"nameNeedsTheSetting", "和室", 0, 3, 0, 1, 0},
        {"tatamiKindInAnyMode", "", 1, 300, 1, 0, 4},
        {"boards", "", 1, 100, 0, 1, 5 + 3 + 4},
        {"boardsTurned", "", 1, 101, 0, 1, 10 + 5 + 10},
        {"plainHatch", "", 1, 2, 0, 1, 0},
    };
    for (const Case& c : cases) {
        CRoomInfo room;
        room.Room_Name = c.roomName;
        room.Room_bHachColor = c.hatches;
        room.Room_HachType = c.kind;
        room.Room_HachColor = kBlue;
        env.tatamiBorders = c.tatamiBorders;
        s.clear();
        room.DrawRoomSwatch(s, corners, c.mode, env);
        EXPECT_EQ(callsOf(s, "line").size(), c.lines) << c.name;
        ASSERT_FALSE(s.calls().empty());
        EXPECT_EQ(s.calls().back().op, "polyline") << c.name << ": the outline comes last";
        EXPECT_EQ(s.calls().back().points.front(), (DevicePoint{8, 8}));
        EXPECT_EQ(s.calls().back().points[2], (DevicePoint{150, 90}));
    }
    // Tatami of 142 × 82: the first line at X + W/3 from the top to the bottom.
    CRoomInfo room;
    room.Room_Name = "和 室";
    env.tatamiBorders = 1;
    s.clear();
    room.DrawRoomSwatch(s, corners, 1, env);
    const auto lines = callsOf(s, "line");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]->points, (std::vector<DevicePoint>{{55, 8}, {55, 90}}));
    EXPECT_EQ(hex(lines[0]->pen.color), "0x000000");
}

} // namespace
