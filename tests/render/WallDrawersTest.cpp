// Walls in the four display modes, their joined edges and end squares, the three column types,
// and which walls the selection filter and placing leave out.

#include "DrawerTestSupport.h"

#include "render/Fills.h"
#include "render/WallDrawers.h"

#include <gtest/gtest.h>

using namespace kov::test::drawers;
using kov::platform::DeviceProperties;
using kov::platform::RecordingSurface;

namespace {

constexpr std::uint32_t kWallColour = 0xA0D0F0;

// The pen and brush part of a recorded polygon: "pen=... brush=...".
std::string penAndBrush(const kov::platform::RecordedCall& c)
{
    return c.dump.substr(c.dump.find("pen="));
}

std::vector<std::string> lineColours(const RecordingSurface& s)
{
    std::vector<std::string> out;
    for (const auto& c : s.calls())
        if (c.op == "line") out.push_back(hex(c.pen.color));
    return out;
}

} // namespace

TEST(WallDrawers, DisplayModeTable)
{
    struct Row {
        const char* name;
        int mode;
        int blackAndWhite;
        bool greyed;
        const char* polygon;     // pen and brush of the wall's polygon
        int lines;               // outline edges plus end squares' sides
        int squares;
        const char* lineColour;  // of every line, "" when there are none
    };
    const Row rows[] = {
        {"1 black", 1, 0, false, "pen=solid:1:0x000000 brush=solid:0x000000", 0, 0, ""},
        {"1 black, greyed", 1, 0, true, "pen=solid:1:0xC8C8C8 brush=solid:0xC8C8C8", 0, 0, ""},
        {"2 white", 2, 0, false, "pen=null brush=solid:0xFFFFFF", 4 + 8, 2, "0x000000"},
        {"2 white, greyed", 2, 0, true, "pen=null brush=solid:0xFFFFFF", 4 + 8, 2, "0xC8C8C8"},
        {"3 wall colour", 3, 0, false, "pen=solid:1:0xA0D0F0 brush=solid:0xA0D0F0", 0, 0, ""},
        {"3 in black and white", 3, 1, false, "pen=solid:1:0x000000 brush=solid:0x000000", 0, 0, ""},
        {"4 wall colour, black edges", 4, 0, false, "pen=null brush=solid:0xA0D0F0", 4, 0, "0x000000"},
        {"4 in black and white", 4, 1, false, "pen=null brush=solid:0x000000", 4, 0, "0x000000"},
        {"4 greyed", 4, 0, true, "pen=null brush=solid:0xC8C8C8", 4, 0, "0xC8C8C8"},
        {"0 draws as white", 0, 0, false, "pen=null brush=solid:0xFFFFFF", 4 + 8, 2, "0x000000"},
        {"7 draws as white", 7, 0, false, "pen=null brush=solid:0xFFFFFF", 4 + 8, 2, "0x000000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovWall& wall = addWall(unit, {20, 20}, {120, 20}, 10);
        CPlotInfo plot;
        plot.PlotWallBlack = row.mode;
        plot.PlotWallColor = kWallColour;
        plot.PlotSirokuro = row.blackAndWhite;
        if (row.greyed) {
            plot.laygray = 1;
            wall.MWallLayer2 = 3;
        }
        RecordingSurface s;
        unit.DrawWallPolygon(s, pixelTransform(), wall, plot, SelectionRecord{}, false, 0, false,
                             CKovUnit::DrawEnvironment{});
        ASSERT_FALSE(s.calls().empty());
        EXPECT_EQ(s.calls()[0].op, "polygon");
        EXPECT_EQ(s.calls()[0].points,
                  (std::vector<kov::platform::DevicePoint>{{10, 10}, {10, 30}, {130, 30}, {130, 10}}));
        EXPECT_EQ(penAndBrush(s.calls()[0]), row.polygon);
        EXPECT_EQ(countOps(s, "line"), row.lines);
        EXPECT_EQ(countOps(s, "fillRect"), row.squares);
        for (const std::string& c : lineColours(s)) EXPECT_EQ(c, row.lineColour);
    }
}

TEST(WallDrawers, JoinedEdgesAreDrawnAsTheyStand)
{
    // Two walls meeting in an L: each shows only the faces its outline lists hold.
    CKovUnit unit;
    CKovWall& a = addWall(unit, {20, 20}, {120, 20}, 10);
    a.MWallarPntA = {{130, 10}, {30, 30}, {130, 30}};
    a.MWallarPntB = {{10, 10}, {130, 30}, {130, 10}};
    CPlotInfo plot;
    plot.PlotWallBlack = 4;
    RecordingSurface s;
    unit.DrawWallPolygon(s, pixelTransform(), a, plot, SelectionRecord{}, false, 0, false, CKovUnit::DrawEnvironment{});
    std::vector<std::string> lines;
    for (const auto& c : s.calls())
        if (c.op == "line") lines.push_back(c.dump.substr(0, c.dump.find(" pen")));
    EXPECT_EQ(lines, (std::vector<std::string>{"line (130,10)-(10,10)", "line (30,30)-(130,30)",
                                               "line (130,30)-(130,10)"}));
    // Unequal lists draw only the edges both hold.
    a.MWallarPntB.pop_back();
    s.clear();
    unit.DrawWallPolygon(s, pixelTransform(), a, plot, SelectionRecord{}, false, 0, false, CKovUnit::DrawEnvironment{});
    EXPECT_EQ(countOps(s, "line"), 2);
}

TEST(WallDrawers, WhiteWallCoreLineAndEndSquares)
{
    struct Row {
        const char* name;
        int coreDisplay;
        int autoColumns;
        int columnDisplay;
        int lines;
        const char* squareFill;  // "" when no squares
    };
    const Row rows[] = {
        {"edges and white squares", 0, 1, 0, 4 + 8, "brush=solid:0xFFFFFF"},
        {"core line too", 1, 1, 0, 4 + 1 + 8, "brush=solid:0xFFFFFF"},
        {"black squares", 0, 1, 1, 4 + 8, "brush=solid:0x000000"},
        {"squares with diagonals", 0, 1, 2, 4 + 12, "brush=solid:0xFFFFFF"},
        {"no squares", 1, 0, 2, 4 + 1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovWall& wall = addWall(unit, {20, 20}, {120, 20}, 10);
        wall.MWallType = row.coreDisplay;
        CPlotInfo plot;
        plot.PlotWallBlack = 2;
        plot.PlotHasiraColor = row.columnDisplay;
        CKovUnit::DrawEnvironment env;
        env.autoColumns = row.autoColumns;
        RecordingSurface s;
        unit.DrawWallPolygon(s, pixelTransform(), wall, plot, SelectionRecord{}, false, 0, false, env);
        EXPECT_EQ(countOps(s, "line"), row.lines);
        std::string fill;
        for (const auto& c : s.calls())
            if (c.op == "fillRect") {
                fill = c.dump.substr(c.dump.find("brush="));
                EXPECT_EQ(c.rect.width(), 20);
                EXPECT_EQ(c.rect.height(), 20);
            }
        EXPECT_EQ(fill, row.squareFill);
    }
    // The core line shows in mode 2 only.
    for (int mode : {1, 3, 4}) {
        CKovUnit unit;
        CKovWall& wall = addWall(unit, {20, 20}, {120, 20}, 10);
        wall.MWallType = 1;
        CPlotInfo plot;
        plot.PlotWallBlack = mode;
        RecordingSurface s;
        unit.DrawWallPolygon(s, pixelTransform(), wall, plot, SelectionRecord{}, false, 0, false, {});
        for (const auto& c : s.calls())
            EXPECT_NE(c.dump.substr(0, 22), "line (20,20)-(120,20) ") << "mode " << mode;
    }
}

TEST(WallDrawers, TracingLaysTheWallHalfTransparentOnTheScreenOnly)
{
    struct Row {
        bool output;
        const char* first;
    };
    const Row rows[] = {
        {false, "fillLinearGradient polygon winding (10,10) (10,30) (130,30) (130,10) box=[10,10,130,30] "
                "0xA0D0F0->0xA0D0F0 angle=0 opacity=50%"},
        {true, "polygon alternate (10,10) (10,30) (130,30) (130,10) pen=solid:1:0xA0D0F0 brush=solid:0xA0D0F0"},
    };
    for (const Row& row : rows) {
        CKovUnit unit;
        CKovWall& wall = addWall(unit, {20, 20}, {120, 20}, 10);
        CPlotInfo plot;
        plot.PlotWallBlack = 3;
        plot.PlotWallColor = kWallColour;
        CKovUnit::DrawEnvironment env;
        env.traceMode = true;
        RecordingSurface s;
        unit.DrawWallPolygon(s, pixelTransform(), wall, plot, SelectionRecord{}, false, 0, row.output, env);
        ASSERT_EQ(s.calls().size(), 1u);
        EXPECT_EQ(s.dump()[0], row.first);
    }
}

TEST(WallDrawers, SelectionFilterAndPlacing)
{
    struct Row {
        const char* name;
        bool byGroup;      // selected through its group rather than by itself
        bool placing;
        int filter;
        bool wallDrawn;    // DrawWallPolygon
        bool columnDrawn;  // DrawColumn, DrawRoundColumn and DrawAllWalls
    };
    const Row rows[] = {
        {"filter 0 draws a selected wall", false, false, 0, true, true},
        {"filter 1 leaves it out", false, false, 1, false, false},
        {"filter 2 draws it", false, false, 2, true, true},
        {"selected by its group, filter 1", true, false, 1, false, false},
        {"selected by its group, filter 2", true, false, 2, true, true},
        {"placed group, filter 0", true, true, 0, true, false},
        {"placed group, filter 2", true, true, 2, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovWall& wall = addWall(unit, {20, 20}, {120, 20}, 10);
        CKovWall& column = addColumn(unit, {200, 50}, 10, 10, CKovWall::THROUGH_COLUMN);
        SelectionRecord sel;
        if (row.byGroup) {
            wall.MWallGrpID = column.MWallGrpID = 5;
            sel.AddGroupId(5);
        } else {
            sel.AddWallId(wall.MWallID);
            sel.AddWallId(column.MWallID);
        }
        CPlotInfo plot;
        const CKovUnit::DrawEnvironment env;
        RecordingSurface s;
        unit.DrawWallPolygon(s, pixelTransform(), wall, plot, sel, row.placing, row.filter, false, env);
        EXPECT_EQ(!s.calls().empty(), row.wallDrawn);
        s.clear();
        unit.DrawColumn(s, pixelTransform(), column, plot, sel, row.placing, row.filter, false, env);
        EXPECT_EQ(!s.calls().empty(), row.columnDrawn);
        s.clear();
        unit.DrawRoundColumn(s, pixelTransform(), column, plot, sel, row.placing, row.filter, false, env);
        EXPECT_EQ(!s.calls().empty(), row.columnDrawn);
        s.clear();
        unit.DrawAllWalls(s, pixelTransform(), plot, sel, row.placing, row.filter, false, env);
        EXPECT_EQ(!s.calls().empty(), row.columnDrawn);
    }
}

TEST(WallDrawers, ColumnKindsAndDisplays)
{
    struct Row {
        const char* name;
        int type;
        double halfX, halfY;
        int display;
        int blackAndWhite;
        const char* brush;
        std::vector<std::string> diagonals;  // of DrawColumn
        bool circle;                         // DrawRoundColumn draws a circle
    };
    const Row rows[] = {
        {"storey column, white", 0, 50, 50, 0, 0, "brush=solid:0xFFFFFF", {}, false},
        {"storey column, black", 0, 50, 50, 1, 0, "brush=solid:0x000000", {}, false},
        {"black also in black and white", 0, 50, 50, 1, 1, "brush=solid:0x000000", {}, false},
        {"square with diagonals", 0, 50, 50, 2, 0, "brush=solid:0xFFFFFF",
         {"line (50,50)-(150,150)", "line (150,50)-(50,150)"}, false},
        {"stud 50 x 100: the long diagonal", 1, 25, 50, 2, 0, "brush=solid:0xFFFFFF", {"line (125,50)-(75,150)"},
         false},
        {"stud 100 x 50", 1, 50, 25, 2, 0, "brush=solid:0xFFFFFF", {"line (50,75)-(150,125)"}, false},
        {"through column", 2, 50, 50, 0, 0, "brush=solid:0xFFFFFF", {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovWall& column = addColumn(unit, {100, 100}, row.halfX, row.halfY, row.type);
        CPlotInfo plot;
        plot.PlotHasiraColor = row.display;
        plot.PlotSirokuro = row.blackAndWhite;
        plot.PlotWallColor = kWallColour;
        plot.PlotWallBlack = 3;
        RecordingSurface s;
        unit.DrawColumn(s, pixelTransform(), column, plot, SelectionRecord{}, false, 0, false, {});
        ASSERT_GE(s.calls().size(), 1u);
        EXPECT_EQ(s.calls()[0].op, "polygon");
        EXPECT_EQ(penAndBrush(s.calls()[0]), std::string("pen=solid:1:0x000000 ") + row.brush);
        std::vector<std::string> diagonals;
        for (const auto& c : s.calls())
            if (c.op == "line") diagonals.push_back(c.dump.substr(0, c.dump.find(" pen")));
        EXPECT_EQ(diagonals, row.diagonals);

        s.clear();
        unit.DrawRoundColumn(s, pixelTransform(), column, plot, SelectionRecord{}, false, 0, false, {});
        EXPECT_EQ(countOps(s, "ellipse"), row.circle ? 1 : 0);
        if (row.circle) {
            // Radius three times thickness 1 about the core point, hollow (-50 + 0.01 truncates to -49).
            EXPECT_EQ(s.calls()[0].rect, (kov::platform::DeviceRect{-49, -49, 250, 250}));
            EXPECT_EQ(s.calls()[0].brush.style, kov::platform::BrushStyle::Null);
        }
    }
}

TEST(WallDrawers, ThroughColumnWithDiagonalsAndGreying)
{
    CKovUnit unit;
    CKovWall& column = addColumn(unit, {100, 100}, 20, 20, CKovWall::THROUGH_COLUMN);
    column.MWallLayer1 = 2;
    CPlotInfo plot;
    plot.PlotHasiraColor = 2;
    plot.laygray = 1;
    for (bool output : {false, true}) {
        RecordingSurface s;
        unit.DrawRoundColumn(s, pixelTransform(), column, plot, SelectionRecord{}, false, 0, output, {});
        ASSERT_EQ(s.calls().size(), 3u);
        EXPECT_EQ(s.calls()[1].op, "line");
        for (const auto& c : s.calls()) EXPECT_EQ(c.pen.color, output ? 0x000000u : kov::render::kGreyedColour);
    }
}

TEST(WallDrawers, LineWidthIsThePrinterWidthOnPrinterPagesOnly)
{
    struct Row {
        const char* name;
        bool printing;
        bool output;
        int width;
    };
    const Row rows[] = {{"screen", false, false, 1}, {"picture", false, true, 1}, {"printer", true, true, 7}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovWall& wall = addWall(unit, {20, 20}, {120, 20}, 10);
        CKovWall& column = addColumn(unit, {200, 50}, 10, 10, CKovWall::THROUGH_COLUMN);
        CPlotInfo plot;
        plot.PlotWallBlack = 4;
        plot.PlotHasiraColor = 2;
        plot.linehutosap[0] = 7;
        DeviceProperties props;
        props.isPrinting = row.printing;
        props.isOutput = row.output;
        RecordingSurface s(props);
        unit.DrawWallPolygon(s, pixelTransform(), wall, plot, {}, false, 0, row.output, {});
        unit.DrawColumn(s, pixelTransform(), column, plot, {}, false, 0, row.output, {});
        unit.DrawRoundColumn(s, pixelTransform(), column, plot, {}, false, 0, row.output, {});
        unit.DrawAllWalls(s, pixelTransform(), plot, {}, false, 0, row.output, {});
        for (const auto& c : s.calls()) {
            if (c.pen.style != kov::platform::PenStyle::Null) {
                EXPECT_EQ(c.pen.width, row.width) << c.dump;
            }
        }
    }
}

TEST(WallDrawers, AllWallsForPartPreviews)
{
    struct Row {
        const char* name;
        int mode;
        int blackAndWhite;
        const char* polygon;
        int lines;
    };
    const Row rows[] = {
        {"black", 1, 0, "pen=solid:1:0x000000 brush=solid:0x000000", 0},
        {"white", 2, 0, "pen=solid:1:0xFFFFFF brush=solid:0xFFFFFF", 2 * 4 + 1 + 2 * 2 * 4},
        {"wall colour", 3, 0, "pen=solid:1:0xA0D0F0 brush=solid:0xA0D0F0", 0},
        {"wall colour in black and white", 3, 1, "pen=solid:1:0x000000 brush=solid:0x000000", 0},
        {"wall colour, black edges", 4, 0, "pen=null brush=solid:0xA0D0F0", 2 * 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        addWall(unit, {20, 20}, {120, 20}, 10).MWallType = 1;
        addColumn(unit, {200, 50}, 10, 10, CKovWall::STOREY_COLUMN);
        addWall(unit, {20, 20}, {20, 100}, 10);
        CPlotInfo plot;
        plot.PlotWallBlack = row.mode;
        plot.PlotWallColor = kWallColour;
        plot.PlotSirokuro = row.blackAndWhite;
        plot.laygray = 1;  // never greys the previews
        RecordingSurface s;
        unit.DrawAllWalls(s, pixelTransform(), plot, {}, false, 0, false, {});
        // Both walls' polygons come first, the column is not among them; then the edges.
        ASSERT_GE(s.calls().size(), 2u);
        EXPECT_EQ(penAndBrush(s.calls()[0]), row.polygon);
        EXPECT_EQ(penAndBrush(s.calls()[1]), row.polygon);
        EXPECT_EQ(countOps(s, "polygon"), 2);
        EXPECT_EQ(countOps(s, "line"), row.lines);
        for (const std::string& c : lineColours(s)) EXPECT_EQ(c, "0x000000");
    }
}
