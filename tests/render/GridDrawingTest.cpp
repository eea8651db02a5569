#include "render/GridDrawing.h"

#include "model/Grid.h"
#include "model/PlotInfo.h"
#include "platform/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

using kov::platform::PenStyle;
using kov::platform::RecordedCall;
using kov::platform::RecordingSurface;
using kov::render::DrawGrid;
using kov::render::DrawGridForOutput;
using kov::render::GridDrawOptions;
using kov::render::GridLinePositions;

namespace {

// 0.1 pixel per sheet millimetre (910 mm → 91 px), sheet origin at (500, 400).
DeviceTransform gridTransform()
{
    DeviceTransform t;
    t.originX = 500;
    t.originY = 400;
    t.scaleX.fill(0.1);
    t.scaleY.fill(0.1);
    t.paperScale = 4.0;
    return t;
}

CGrid plainGrid()
{
    CGrid g;
    g.app_griddot = 0;
    g.GridMemori = 0;
    g.kyutyakukankaku = 1;
    return g;
}

bool vertical(const RecordedCall& c)
{
    return c.op == "line" && c.points.size() == 2 && c.points[0].x == c.points[1].x;
}

bool horizontal(const RecordedCall& c)
{
    return c.op == "line" && c.points.size() == 2 && c.points[0].y == c.points[1].y;
}

// x of the vertical (or y of the horizontal) lines drawn with a pen of the style and width.
std::set<int> lineAt(const RecordingSurface& s, bool verticalLines, PenStyle style, int width)
{
    std::set<int> out;
    for (const RecordedCall& c : s.calls())
        if ((verticalLines ? vertical(c) : horizontal(c)) && c.pen.style == style && c.pen.width == width)
            out.insert(verticalLines ? c.points[0].x : c.points[0].y);
    return out;
}

struct Label {
    std::string text;
    int x;
    int y;
    bool operator<(const Label& o) const { return std::tie(text, x, y) < std::tie(o.text, o.x, o.y); }
    bool operator==(const Label& o) const = default;
};

std::vector<Label> labels(const RecordingSurface& s)
{
    std::vector<Label> out;
    for (const RecordedCall& c : s.calls())
        if (c.op == "textOut")
            out.push_back({c.text, c.points[0].x, c.points[0].y});
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(GridDrawing, LinePositions)
{
    struct Case {
        std::string name;
        int start;
        double step;
        int lo, hi;
        std::vector<int> expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"both sides of the start", 500, 91, 0, 1000, {45, 136, 227, 318, 409, 591, 682, 773, 864, 955}},
        {"each position truncated on its own", 0, 45.55, -100, 100, {-91, -45, 45, 91}},
        {"start far left of the area", -10000, 91, 0, 300, {10, 101, 192, 283}},
        {"start far right of the area", 1000000, 91, 0, 200, {1, 92, 183}},
        {"zero spacing", 500, 0, 0, 1000, {}},
        {"negative spacing", 500, -91, 0, 1000, {}},
        {"spacing not a number", 500, nan, 0, 1000, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GridLinePositions(c.start, c.step, c.lo, c.hi), c.expected) << c.name;
    // A step far below a pixel costs no more than the area's pixels.
    const auto tiny = GridLinePositions(0, 1e-9, 0, 1000);
    EXPECT_LE(tiny.size(), 2002u);
    EXPECT_GE(tiny.size(), 1001u);
}

TEST(GridDrawing, GridInUseIsTheHighestSwitchedOn)
{
    struct Case {
        std::array<int, 5> on;
        int expected;
    };
    const Case cases[] = {{{1, 0, 0, 0, 0}, 0}, {{0, 0, 0, 0, 0}, 0}, {{1, 1, 0, 1, 0}, 3}, {{0, 0, 0, 0, 1}, 4}};
    for (const Case& c : cases) {
        CGrid g;
        g.BGrid = c.on;
        EXPECT_EQ(kov::render::GridInUse(g), c.expected);
    }
    // Grid 4's spacing, start and colour are drawn.
    CGrid g = plainGrid();
    g.BGrid = {1, 1, 0, 1, 0};
    g.GridW[3] = 1000;
    g.GridD[3] = 1000;
    g.StGridW[3] = 500;
    g.color[3] = 0x123456;
    RecordingSurface s;
    DrawGrid(s, gridTransform(), {0, 0, 1000, 800}, g, CPlotInfo(), {});
    const std::set<int> xs = lineAt(s, true, PenStyle::Solid, 1);
    EXPECT_EQ(xs, (std::set<int>{50, 150, 250, 350, 450, 650, 750, 850, 950}));
    for (const RecordedCall& c : s.calls()) {
        if (c.pen.width == 1) {
            EXPECT_EQ(c.pen.color, 0x123456u);
        }
    }
    // The axes keep grid 1's colour.
    EXPECT_EQ(lineAt(s, true, PenStyle::Solid, 2), (std::set<int>{550}));
}

TEST(GridDrawing, ScreenLinesAxesAndSubdivisions)
{
    CGrid g = plainGrid();
    g.app_griddot = 1;
    g.kyutyakukankaku = 2;
    RecordingSurface s;
    // The area holds the start's x but not its y (400).
    DrawGrid(s, gridTransform(), {400, 0, 700, 100}, g, CPlotInfo(), {3, 96});
    EXPECT_EQ(lineAt(s, true, PenStyle::Solid, 3), (std::set<int>{409, 591, 682}));
    EXPECT_EQ(lineAt(s, false, PenStyle::Solid, 3), (std::set<int>{36}));
    // Halfway beyond every line away from the start, also beside the start and beyond a line just
    // outside the area (127 → 82).
    EXPECT_EQ(lineAt(s, true, PenStyle::Dot, 1), (std::set<int>{455, 545, 636}));
    EXPECT_EQ(lineAt(s, false, PenStyle::Dot, 1), (std::set<int>{82}));
    // Only the x axis lies in the area.
    EXPECT_EQ(lineAt(s, true, PenStyle::Solid, 2), (std::set<int>{500}));
    EXPECT_TRUE(lineAt(s, false, PenStyle::Solid, 2).empty());
    // Lines span the area.
    for (const RecordedCall& c : s.calls())
        if (vertical(c)) {
            EXPECT_EQ(c.points[0].y, 0);
            EXPECT_EQ(c.points[1].y, 100);
        }
    // Subdivisions before the grid lines, the axes after them.
    const auto& calls = s.calls();
    EXPECT_EQ(calls.front().pen.style, PenStyle::Dot);
    EXPECT_EQ(calls.back().pen.width, 2);
}

TEST(GridDrawing, SpacingOfZeroSkipsThatAxis)
{
    CGrid g = plainGrid();
    g.GridW[0] = 0;
    g.GridD[0] = -5;
    RecordingSurface none;
    DrawGrid(none, gridTransform(), {0, 0, 1000, 800}, g, CPlotInfo(), {});
    EXPECT_TRUE(none.calls().empty());
    g.GridD[0] = 910;
    RecordingSurface rows;
    DrawGrid(rows, gridTransform(), {0, 0, 1000, 800}, g, CPlotInfo(), {});
    EXPECT_TRUE(lineAt(rows, true, PenStyle::Solid, 1).empty());
    EXPECT_EQ(lineAt(rows, false, PenStyle::Solid, 1).size(), 8u);
}

TEST(GridDrawing, RulerTicksAndLabels)
{
    struct Case {
        std::string name;
        double spacing;
        int type;
        std::vector<Label> topLabels;
    };
    // Fake metrics: "A" at height 11 is 5 × 11, so top labels sit at y = 20 + 5.
    const Case cases[] = {
        {"positions", 910, 0, {{"-4550", 45, 25}, {"0", 500, 25}, {"0", 500, 25}, {"4550", 955, 25}}},
        {"positions with a decimal", 455.5, 0,
         {{"-2277.5", 273, 25}, {"-4555", 45, 25}, {"0", 500, 25}, {"0", 500, 25}, {"2277.5", 727, 25},
          {"4555", 955, 25}}},
        {"counts", 910, 1, {{"0", 500, 25}, {"0", 500, 25}, {"5", 45, 25}, {"5", 955, 25}}},
    };
    for (const Case& c : cases) {
        CGrid g = plainGrid();
        g.GridMemori = 1;
        g.GridMemoriType = c.type;
        g.GridW[0] = c.spacing;
        g.GridD[0] = c.spacing;
        RecordingSurface s;
        DrawGrid(s, gridTransform(), {0, 0, 1000, 800}, g, CPlotInfo(), {});
        std::vector<Label> top;
        for (const Label& l : labels(s))
            if (l.y == 25) top.push_back(l);
        std::vector<Label> expected = c.topLabels;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(top, expected) << c.name;
        // Ticks: 20 long at multiples of five, 10 otherwise, red and 2 wide.
        int longTicks = 0;
        int shortTicks = 0;
        for (const RecordedCall& call : s.calls())
            if (vertical(call) && call.pen.color == 0x0000FF && call.points[0].y == 0) {
                EXPECT_EQ(call.pen.width, 2);
                (call.points[1].y == 20 ? longTicks : shortTicks)++;
            }
        EXPECT_EQ(longTicks, static_cast<int>(c.topLabels.size())) << c.name;
        EXPECT_GT(shortTicks, 0) << c.name;
    }
    // The left ruler counts y upward: the first long tick below the start reads minus.
    CGrid g = plainGrid();
    g.GridMemori = 1;
    g.GridD[0] = 455.5;
    RecordingSurface s;
    DrawGrid(s, gridTransform(), {0, 0, 1000, 800}, g, CPlotInfo(), {});
    const std::vector<Label> all = labels(s);
    EXPECT_NE(std::find(all.begin(), all.end(), Label{"-2277.5", 22, 627}), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), Label{"2277.5", 22, 173}), all.end());
}

TEST(GridDrawing, RulerFontFollowsTheScreenResolution)
{
    CGrid g = plainGrid();
    g.GridMemori = 1;
    for (auto [dpi, height] : {std::pair{96, 11}, std::pair{144, 11}, std::pair{192, 22}}) {
        RecordingSurface s;
        DrawGrid(s, gridTransform(), {0, 0, 1000, 800}, g, CPlotInfo(), {1, dpi});
        for (const RecordedCall& c : s.calls())
            if (c.op == "textOut") {
                EXPECT_EQ(c.font.height, height) << dpi;
                EXPECT_EQ(c.font.faceName, "ＭＳ ゴシック");
            }
    }
}

TEST(GridDrawing, PrintedGridIsDashedInThePrintColour)
{
    struct Case {
        std::string name;
        int blackAndWhite;
        int lineWidth;
        std::uint32_t colour;
        int width;
    };
    const Case cases[] = {
        {"print colour, one dot", 0, 1, 0x00FF00, 1},
        {"black and white mode", 1, 1, 0x000000, 1},
        {"width setting 2 takes the printer width of code 1", 0, 2, 0x00FF00, 3},
    };
    for (const Case& c : cases) {
        CGrid g = plainGrid();
        g.colorp = 0x00FF00;
        g.GridMemori = 1;
        g.app_griddot = 1;
        g.kyutyakukankaku = 4;
        CPlotInfo plot;
        plot.PlotSirokuro = c.blackAndWhite;
        kov::platform::DeviceProperties printer;
        printer.isPrinting = printer.isOutput = true;
        printer.area = {0, 0, 1000, 800};
        RecordingSurface s(printer);
        DrawGridForOutput(s, gridTransform(), {0, 0, 1000, 800}, g, plot, {c.lineWidth, 96});
        ASSERT_FALSE(s.calls().empty()) << c.name;
        std::set<int> xs;
        for (const RecordedCall& call : s.calls()) {
            EXPECT_EQ(call.op, "line") << c.name;  // no ruler text
            EXPECT_EQ(call.pen.color, c.colour) << c.name;
            EXPECT_EQ(call.pen.width, c.width) << c.name;
            EXPECT_EQ(call.pen.style, PenStyle::Solid) << c.name;
            if (vertical(call)) xs.insert(call.points[0].x);
        }
        // Grid lines and the axis, no subdivisions; each line broken into dots.
        EXPECT_EQ(xs, (std::set<int>{45, 136, 227, 318, 409, 500, 591, 682, 773, 864, 955})) << c.name;
        EXPECT_GT(s.calls().size(), 10 * (xs.size() + 8)) << c.name;
    }
}
