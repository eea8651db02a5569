// The figure drawers of kinds 0-4 and 6: geometry, pens, line types, end marks and the rules that
// decide whether anything is drawn.

#include "DrawerTestSupport.h"

#include "platform/Profile.h"
#include "render/FigureDrawers.h"

#include <gtest/gtest.h>

using namespace kov::test::drawers;
using kov::platform::DeviceProperties;
using kov::platform::PenStyle;
using kov::platform::RecordingSurface;

namespace {

DeviceProperties printerPage()
{
    DeviceProperties p;
    p.isPrinting = true;
    p.isOutput = true;
    return p;
}

} // namespace

TEST(FigureDrawers, TooFewPointsOrParametersDrawNothing)
{
    struct Row {
        const char* name;
        int kind;
        std::vector<CDbPoint> points;
        std::vector<double> params;
    };
    const Row rows[] = {
        {"line of one point", 0, {{0, 0}}, {}},
        {"rectangle of three corners", 1, {{0, 0}, {10, 0}, {10, 10}}, {}},
        {"polygon without points", 2, {}, {}},
        {"circle without radius", 3, {{5, 5}}, {}},
        {"arc of two points", 4, {{5, 5}, {10, 5}}, {5}},
        {"continuous line of one point", 6, {{0, 0}}, {}},
        {"unknown kind", 7, {{0, 0}, {10, 10}}, {}},
    };
    for (const Row& row : rows) {
        CKovUnit unit;
        CKovLine& f = addFigure(unit, row.kind, row.points, row.params);
        f.MLinebNakanuri = 1;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
        EXPECT_TRUE(s.calls().empty()) << row.name;
    }
}

TEST(FigureDrawers, RectangleIsFilledThenOutlinedEdgeByEdge)
{
    CKovUnit unit;
    CKovLine& f = addFigureOfKind(unit, CKovLine::RECTANGLE);
    f.MLineColor = kRed;
    f.MLinebNakanuri = 1;
    f.MLineNakaColor = kGreen;
    f.MLineWide = 2;
    RecordingSurface s;
    unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
    const std::vector<std::string> expected = {
        "polygon alternate (10,20) (90,20) (90,80) (10,80) (10,20) pen=solid:2:0x00FF00 brush=solid:0x00FF00",
        "line (10,20)-(90,20) pen=solid:2:0x0000FF",
        "line (90,20)-(90,80) pen=solid:2:0x0000FF",
        "line (90,80)-(10,80) pen=solid:2:0x0000FF",
        "line (10,80)-(10,20) pen=solid:2:0x0000FF",
    };
    EXPECT_EQ(s.dump(), expected);
}

TEST(FigureDrawers, AuxiliaryLineTypeOnScreenAndPaper)
{
    struct Row {
        const char* name;
        int kind;
        bool output;
        int printFills;
        int expectCalls;      // -1: any number
        bool expectDotted;    // the outline pen is the 1-pixel dotted pen
    };
    const Row rows[] = {
        {"line on screen", 0, false, 1, 1, true},
        {"line on paper", 0, true, 1, 0, false},
        {"continuous line on paper", 6, true, 1, 0, false},
        {"rectangle on screen", 1, false, 1, 5, true},
        {"rectangle on paper: fill only", 1, true, 1, 1, false},
        {"rectangle on paper without auxiliary fills", 1, true, 0, 0, false},
        {"circle on paper without auxiliary fills", 3, true, 0, 0, false},
        {"circle on paper: fill only", 3, true, 1, 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovLine& f = addFigureOfKind(unit, row.kind);
        f.MLineLineT = 5;
        f.MLinebNakanuri = 1;
        CKovUnit::DrawEnvironment env;
        env.printAuxiliaryFills = row.printFills;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, row.output, env);
        EXPECT_EQ(static_cast<int>(s.calls().size()), row.expectCalls);
        for (const auto& c : s.calls()) {
            if (row.expectDotted) {
                EXPECT_EQ(c.pen.style, PenStyle::Dot) << c.dump;
                EXPECT_EQ(c.pen.width, 1);
            } else {
                EXPECT_EQ(c.pen.style, PenStyle::Null) << c.dump;
            }
        }
    }
}

TEST(FigureDrawers, PenWidthFollowsThePrintingFlagNotTheOutputFlag)
{
    CPlotInfo plot;
    plot.linehutosag[3] = 2;
    plot.linehutosap[3] = 12;
    struct Row {
        const char* name;
        bool printing;
        bool output;
        int width;
    };
    const Row rows[] = {{"screen", false, false, 2}, {"picture export", false, true, 2}, {"printer", true, true, 12}};
    for (const Row& row : rows) {
        CKovUnit unit;
        CKovLine& f = addFigureOfKind(unit, CKovLine::LINE);
        f.MLineWide = 4;
        DeviceProperties props;
        props.isPrinting = row.printing;
        props.isOutput = row.output;
        RecordingSurface s(props);
        unit.DrawFigure(s, pixelTransform(), f, plot, row.output, CKovUnit::DrawEnvironment{});
        ASSERT_EQ(s.calls().size(), 1u) << row.name;
        EXPECT_EQ(s.calls()[0].pen.width, row.width) << row.name;
    }
}

TEST(FigureDrawers, PolygonDrawsEveryPointHoweverMany)
{
    CKovUnit unit;
    std::vector<CDbPoint> pts;
    for (int i = 0; i < 1500; ++i) pts.emplace_back(i % 400, i / 400 * 10 + (i % 2));
    CKovLine& f = addFigure(unit, CKovLine::POLYGON, pts);
    f.MLinebNakanuri = 1;
    RecordingSurface s;
    unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
    ASSERT_EQ(s.calls()[0].op, "polygon");
    ASSERT_EQ(s.calls()[0].points.size(), 1501u);
    EXPECT_EQ(s.calls()[0].points[1499], (kov::platform::DevicePoint{299, 31}));
    EXPECT_EQ(s.calls()[0].points[1500], s.calls()[0].points[0]);
    EXPECT_EQ(countOps(s, "line"), 1500);
}

TEST(FigureDrawers, CircleAndEllipseBoxes)
{
    struct Row {
        const char* name;
        std::vector<double> params;
        kov::platform::DeviceRect box;
    };
    const Row rows[] = {
        {"circle", {30}, {20, 20, 80, 80}},
        {"ellipse of ratio one half", {30, 0.5}, {20, 35, 80, 65}},
        {"three parameters are a circle", {30, 0.5, 7}, {20, 20, 80, 80}},
    };
    for (const Row& row : rows) {
        CKovUnit unit;
        CKovLine& f = addFigure(unit, CKovLine::CIRCLE, {{50, 50}}, row.params);
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
        ASSERT_EQ(s.calls().size(), 1u) << row.name;
        EXPECT_EQ(s.calls()[0].op, "ellipse");
        EXPECT_EQ(s.calls()[0].rect, row.box) << row.name;
        EXPECT_EQ(s.calls()[0].brush.style, kov::platform::BrushStyle::Null);
    }
}

TEST(FigureDrawers, BrokenCircleHasNoShapeOutlineOnlyDashes)
{
    CKovUnit unit;
    CKovLine& f = addFigureOfKind(unit, CKovLine::CIRCLE);
    f.MLineLineT = 1;
    f.MLinebNakanuri = 1;
    f.MLineNakaColor = kGreen;
    RecordingSurface s;
    unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
    ASSERT_GE(s.calls().size(), 2u);
    EXPECT_EQ(s.calls()[0].op, "ellipse");
    EXPECT_EQ(s.calls()[0].pen.style, PenStyle::Null);
    for (std::size_t i = 1; i < s.calls().size(); ++i) {
        EXPECT_EQ(s.calls()[i].op, "arc");
        EXPECT_EQ(s.calls()[i].pen.style, PenStyle::Solid);
    }
}

TEST(FigureDrawers, ArcShapesByArcType)
{
    struct Row {
        const char* name;
        int arcType;
        int filled;
        std::vector<std::string> ops;
    };
    const Row rows[] = {
        {"open sector", 0, 0, {"arc"}},
        {"filled sector", 0, 1, {"pie"}},
        {"filled chord", 1, 1, {"chord"}},
        {"open chord is its curve", 1, 0, {"arc"}},
        {"thick arc: chord in the fill colour, then the band", 2, 1, {"chord", "arc"}},
        {"open thick arc: the curve, then the band", 2, 0, {"arc", "arc"}},
        {"unknown arc type takes no fill", 7, 1, {"arc"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovLine& f = addFigureOfKind(unit, CKovLine::ARC);
        f.MLineTanten = row.arcType;
        f.MLinebNakanuri = row.filled;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
        std::vector<std::string> ops;
        for (const auto& c : s.calls()) ops.push_back(c.op);
        EXPECT_EQ(ops, row.ops);
        for (const auto& c : s.calls()) {
            EXPECT_EQ(c.rect, (kov::platform::DeviceRect{20, 20, 80, 80}));
            EXPECT_EQ(c.points, (std::vector<kov::platform::DevicePoint>{{80, 50}, {50, 20}}));
        }
    }
}

TEST(FigureDrawers, ThickArcBandWidthAndItsFigureLeftAlone)
{
    struct Row {
        const char* name;
        std::vector<double> params;
        int penWidth;              // trunc(band / 100 × paper scale 4) + 1
        kov::platform::DeviceRect box;
    };
    const Row rows[] = {
        {"own band of 500", {30, 500, 500}, 21, {20, 20, 80, 80}},
        {"radius only: twice the wall half thickness", {30}, 5, {20, 20, 80, 80}},
        {"elliptic thick arc stays elliptic", {30, 0.5}, 5, {20, 35, 80, 65}},
        // Damaged band widths: a hair-line band, or the widest band rather than an overflowing pen.
        {"negative band", {30, -500, -500}, 1, {20, 20, 80, 80}},
        {"huge band", {30, 1e300, 1e300}, (1 << 16) + 1, {20, 20, 80, 80}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovLine& f = addFigure(unit, CKovLine::ARC, {{50, 50}, {80, 50}, {20, 50}}, row.params);
        f.MLineTanten = 2;
        f.MLineColor = kRed;
        CPlotInfo plot;
        plot.PlotWallWide = 50;
        plot.m_Layer.m_dScale.fill(100);
        for (int pass = 0; pass < 2; ++pass) {
            RecordingSurface s;
            unit.DrawFigure(s, pixelTransform(4), f, plot, false, CKovUnit::DrawEnvironment{});
            ASSERT_EQ(s.calls().size(), 2u);
            EXPECT_EQ(s.calls()[1].pen.width, row.penWidth);
            EXPECT_EQ(s.calls()[1].pen.color, kRed);
            EXPECT_EQ(s.calls()[1].rect, row.box) << "pass " << pass;
        }
        EXPECT_EQ(f.MLineParam, row.params);
    }
    // A layer group without a scale takes the band as paper millimetres rather than dividing by 0.
    CKovUnit unit;
    CKovLine& f = addFigure(unit, CKovLine::ARC, {{50, 50}, {80, 50}, {20, 50}}, {30, 2, 2});
    f.MLineTanten = 2;
    CPlotInfo plot;
    plot.m_Layer.m_dScale.fill(0);
    RecordingSurface s;
    unit.DrawFigure(s, pixelTransform(4), f, plot, false, CKovUnit::DrawEnvironment{});
    ASSERT_EQ(s.calls().size(), 2u);
    EXPECT_EQ(s.calls()[1].pen.width, 9);
}

TEST(FigureDrawers, ArcWhoseEndsMeetOnTheDeviceIsLeftOut)
{
    struct Row {
        const char* name;
        CDbPoint start;
        CDbPoint end;
        bool drawn;
    };
    const Row rows[] = {
        {"distinct in x and y, one pixel", {80.2, 50.2}, {80.4, 50.6}, false},
        {"same point: a whole circle", {80, 50}, {80, 50}, true},
        {"same x only", {80, 50.2}, {80, 50.6}, true},
    };
    for (const Row& row : rows) {
        CKovUnit unit;
        CKovLine& f = addFigure(unit, CKovLine::ARC, {{50, 50}, row.start, row.end}, {30});
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
        EXPECT_EQ(!s.calls().empty(), row.drawn) << row.name;
    }
}

TEST(FigureDrawers, ContinuousLineEndMarksGoOnTheirOwnEnds)
{
    struct Row {
        const char* name;
        std::vector<CDbPoint> points;
        int code;
        int expectLines; // segments plus two lines per open arrow
    };
    const Row rows[] = {
        {"two points, arrows at both ends", {{10, 10}, {90, 10}}, 3, 1 + 4},
        {"three points, arrow at the start", {{10, 10}, {50, 10}, {50, 60}}, 1, 2 + 2},
        {"three points, arrow at the end", {{10, 10}, {50, 10}, {50, 60}}, 2, 2 + 2},
        {"three points, arrows at both ends", {{10, 10}, {50, 10}, {50, 60}}, 3, 2 + 4},
        {"no marks", {{10, 10}, {50, 10}, {50, 60}}, 0, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CKovUnit unit;
        CKovLine& f = addFigure(unit, CKovLine::CONTINUOUS, row.points);
        f.MLineTanten = row.code;
        f.MLineYaWide = 4;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(10), f, CPlotInfo{}, false, CKovUnit::DrawEnvironment{});
        EXPECT_EQ(countOps(s, "line"), row.expectLines);
        // Every arrow's lines end on the tip: the start at (10,10), the end at the last point.
        for (std::size_t i = row.points.size() - 1; i < s.calls().size(); ++i) {
            const auto& tip = s.calls()[i].points[1];
            const bool atStart = tip == kov::platform::DevicePoint{10, 10};
            const auto last = row.points.back();
            const bool atEnd = tip == kov::platform::DevicePoint{int(last.x), int(last.y)};
            EXPECT_TRUE(atStart || atEnd) << s.calls()[i].dump;
            if (row.code == 1) {
                EXPECT_TRUE(atStart);
            }
            if (row.code == 2) {
                EXPECT_TRUE(atEnd);
            }
        }
    }
    EXPECT_EQ(kov::render::StartHalfOfEndMarks(12), 10);
    EXPECT_EQ(kov::render::EndHalfOfEndMarks(12), 11);
    EXPECT_EQ(kov::render::StartHalfOfEndMarks(5), 0);
}

TEST(FigureDrawers, RoomLinesAndFloorsInBlackAndWhite)
{
    // A room group whose first figure is its floor polygon, with one hatch line.
    auto makeRoom = [](CKovUnit& unit, std::uint32_t floorColour, bool withLine) {
        CKovLine& floor = addFigureOfKind(unit, CKovLine::POLYGON);
        floor.MLinebNakanuri = 1;
        floor.MLineNakaColor = floorColour;
        auto group = std::make_unique<CKovGroup>();
        group->MGrpID = unit.NextGroupId();
        group->MGrpRoom = CKovGroup::ROOM;
        group->MGrpLineID = {floor.MLineID};
        floor.MLineGrpID = group->MGrpID;
        if (withLine) {
            CKovLine& line = addFigureOfKind(unit, CKovLine::LINE);
            line.MLineColor = kWhite;
            line.MLineGrpID = group->MGrpID;
            group->MGrpLineID.push_back(line.MLineID);
        }
        unit.m_Groups.Add(std::move(group));
    };
    CPlotInfo plot;
    plot.PlotSirokuro = 1;

    struct LineRow {
        const char* name;
        std::uint32_t floor;
        int setting;
        const char* expect; // outline colour of the line, "none" when left out
    };
    const LineRow lineRows[] = {
        {"setting off: white stays white", 0x123456, 0, "0xFFFFFF"},
        {"green floor: drawn black", kov::render::kRoomFloorColour, 1, "0x000000"},
        {"other floor: left out", 0x123456, 1, "none"},
    };
    for (const LineRow& row : lineRows) {
        CKovUnit unit;
        makeRoom(unit, row.floor, true);
        CKovUnit::DrawEnvironment env;
        env.roomLinesNeedGreenFloor = row.setting;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), *unit.m_Lines[1], plot, false, env);
        EXPECT_EQ(outlineColour(s), row.expect) << row.name;
    }

    struct FloorRow {
        const char* name;
        int setting;
        bool withLine;
        const char* expect;
    };
    const FloorRow floorRows[] = {
        {"lone floor with the setting: white outline", 1, false, "0xFFFFFF"},
        {"lone floor without it: black", 0, false, "0x000000"},
        {"floor with other figures: black", 1, true, "0x000000"},
    };
    for (const FloorRow& row : floorRows) {
        kov::platform::MemoryProfile profile;
        profile.WriteProfileInt("KOV_T_PlotMenu", "app_sirokuro_roomdel", row.setting);
        CKovUnit unit;
        makeRoom(unit, 0x123456, row.withLine);
        CKovUnit::DrawEnvironment env;
        env.profile = &profile;
        RecordingSurface s;
        unit.DrawFigure(s, pixelTransform(), *unit.m_Lines[0], plot, false, env);
        EXPECT_EQ(outlineColour(s), row.expect) << row.name;
    }
}

TEST(FigureDrawers, NoBackgroundLeaksFromOneDrawerToTheNext)
{
    // A filled hatch paints its gaps in the fill colour; nothing drawn after it may inherit that.
    CKovUnit unit;
    CKovLine& hatched = addFigureOfKind(unit, CKovLine::RECTANGLE);
    hatched.MLinebNakanuri = 1;
    hatched.MLineNakaColor = kGreen;
    hatched.MLinebHach = 1;
    hatched.MLineHachT = 4;
    for (int kind : {0, 1, 2, 3, 4, 6}) {
        CKovLine& f = addFigureOfKind(unit, kind);
        f.MLineLineT = 5;  // the dotted pen shows any opaque background in its gaps
        f.MLinebHach = 1;
    }
    RecordingSurface s;
    for (const auto& f : unit.m_Lines) unit.DrawFigure(s, pixelTransform(), *f, CPlotInfo{}, false, {});
    int opaque = 0;
    for (const auto& c : s.calls()) {
        if (!c.background.opaque) continue;
        ++opaque;
        EXPECT_EQ(c.brush.style, kov::platform::BrushStyle::Hatch) << c.dump;
    }
    EXPECT_EQ(opaque, 1);
}

TEST(FigureDrawers, PrintedFigureOfAuxiliaryLineTypeKeepsFillWithoutOutline)
{
    CKovUnit unit;
    CKovLine& f = addFigureOfKind(unit, CKovLine::POLYGON);
    f.MLineLineT = 5;
    f.MLinebNakanuri = 1;
    f.MLineNakaColor = kGreen;
    RecordingSurface s(printerPage());
    unit.DrawFigure(s, pixelTransform(), f, CPlotInfo{}, true, CKovUnit::DrawEnvironment{});
    ASSERT_EQ(s.calls().size(), 1u);
    EXPECT_EQ(s.dump()[0], "polygon alternate (10,20) (90,20) (50,90) (10,20) pen=null brush=solid:0x00FF00");
}
