#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

// Style fields a figure may take from its default-style slot.
enum Field {
    COLOR = 1 << 0, NAKA = 1 << 1, NURI = 1 << 2, NAKA2 = 1 << 3, GRAD = 1 << 4, HACH = 1 << 5,
    ALPHA = 1 << 6, HACHT = 1 << 7, LINET = 1 << 8, WIDE = 1 << 9, TANTEN = 1 << 10, YAWIDE = 1 << 11,
};
constexpr int kFull = (1 << 12) - 1;
constexpr int kLine = COLOR | NAKA | NURI | HACH | WIDE | TANTEN | YAWIDE | LINET;
constexpr int kClosed = COLOR | NAKA | NURI | HACH | WIDE | LINET | HACHT | GRAD | NAKA2 | ALPHA;
constexpr int kArc = kClosed | TANTEN;
constexpr int kStroke = COLOR | WIDE | LINET;
constexpr int kPolyline = kStroke | TANTEN | YAWIDE;
constexpr int kFree = kStroke | TANTEN;

// Settings whose five slots differ in every field from each other and from a fresh figure.
CPlotInfo distinctSlots()
{
    CPlotInfo plot;
    for (std::size_t k = 0; k < 5; ++k) {
        const int i = static_cast<int>(k);
        plot.PlotColor[k] = 0x100u + k;
        plot.PlotNakaColor[k] = 0x200u + k;
        plot.PlotNakaNuri[k] = 1;
        plot.PlotNakaColor2[k] = 0x300u + k;
        plot.PlotGradiation[k] = 9000 + i;
        plot.PlotbHach[k] = 1;
        plot.PlotAlpha[k] = 40 + i;
        plot.PlotHachT[k] = 3 + i;
        plot.PlotLineType[k] = 1 + i % 4;
        plot.PlotLineWide[k] = 2 + i;
        plot.PlotLineTanten[k] = 5 + i;
        plot.PlotPattern[k] = 7;
    }
    plot.PlotLineTanten[4] = 1; // an arc's fill shape: chord
    plot.PlotLineYaWide = 3;
    plot.PlotWallWide = 60.0;
    plot.m_Layer.m_nCurrentGroup = 4;
    plot.m_Layer.m_nCurrentLayer = 9;
    return plot;
}

void expectStyle(const CKovLine& f, const CPlotInfo& plot, int slot, int fields)
{
    const CKovLine fresh;
    const auto s = static_cast<std::size_t>(slot);
    auto pick = [&](Field field, auto fromSlot, auto fromFresh) { return (fields & field) ? fromSlot : fromFresh; };
    EXPECT_EQ(f.MLineColor, pick(COLOR, plot.PlotColor[s], fresh.MLineColor));
    EXPECT_EQ(f.MLineNakaColor, pick(NAKA, plot.PlotNakaColor[s], fresh.MLineNakaColor));
    EXPECT_EQ(f.MLinebNakanuri, pick(NURI, plot.PlotNakaNuri[s], fresh.MLinebNakanuri));
    EXPECT_EQ(f.MLineNakaColor2, pick(NAKA2, plot.PlotNakaColor2[s], fresh.MLineNakaColor2));
    EXPECT_EQ(f.MLineGradiation, pick(GRAD, plot.PlotGradiation[s], fresh.MLineGradiation));
    EXPECT_EQ(f.MLinebHach, pick(HACH, plot.PlotbHach[s], fresh.MLinebHach));
    EXPECT_EQ(f.MLineAlpha, pick(ALPHA, plot.PlotAlpha[s], fresh.MLineAlpha));
    EXPECT_EQ(f.MLineHachT, pick(HACHT, plot.PlotHachT[s], fresh.MLineHachT));
    EXPECT_EQ(f.MLineLineT, pick(LINET, plot.PlotLineType[s], fresh.MLineLineT));
    EXPECT_EQ(f.MLineWide, pick(WIDE, plot.PlotLineWide[s], fresh.MLineWide));
    EXPECT_EQ(f.MLineTanten, pick(TANTEN, plot.PlotLineTanten[s], fresh.MLineTanten));
    EXPECT_EQ(f.MLineYaWide, pick(YAWIDE, plot.PlotLineYaWide, fresh.MLineYaWide));
    EXPECT_EQ(f.MLinePattern, 0);
    EXPECT_EQ(f.MLineGrpID, 0);
    EXPECT_EQ(f.MLineLayer1, 4);
    EXPECT_EQ(f.MLineLayer2, 9);
}

void expectPoints(const CDbPointArray& actual, const CDbPointArray& expected, double tolerance = 1e-9)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, tolerance) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, tolerance) << "point " << i;
    }
}

void expectParams(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance = 1e-9)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "parameter " << i;
}

struct Made {
    int kind;
    CDbPointArray points;
    std::vector<double> params;
    int slot;
    int fields;
};

struct ReturningCase {
    const char* name;
    std::function<void(CPlotInfo&)> setup;
    std::function<int(CKovUnit&, const CPlotInfo&)> make;
    Made expected;
};

void runReturningCases(const std::vector<ReturningCase>& cases)
{
    for (const ReturningCase& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        unit.AddStraightLine(distinctSlots(), {-1, -1}, {-2, -2}); // an older figure below the new one
        CPlotInfo plot = distinctSlots();
        if (c.setup)
            c.setup(plot);
        const int id = c.make(unit, plot);
        ASSERT_GT(id, 0);
        ASSERT_EQ(unit.m_Lines.GetSize(), 2);
        const CKovLine& f = *unit.m_Lines[1];
        EXPECT_EQ(f.MLineID, id);
        EXPECT_NE(id, unit.m_Lines[0]->MLineID);
        EXPECT_EQ(f.MLineType, c.expected.kind);
        expectPoints(f.MLinePnt, c.expected.points, 1e-6);
        expectParams(f.MLineParam, c.expected.params, 1e-6);
        expectStyle(f, plot, c.expected.slot, c.expected.fields);
    }
}

using Tool = CDbPointArray;

TEST(FigureCreation, PlainFigures)
{
    runReturningCases({
        {"straight line", {}, [](CKovUnit& u, const CPlotInfo& p) { return u.AddStraightLine(p, {1, 2}, {30, 40}); },
         {CKovLine::LINE, {{1, 2}, {30, 40}}, {}, 0, kLine}},
        {"rectangle from opposite corners", {},
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddRectFromCorners(p, {100, 10}, {20, 50}); },
         {CKovLine::RECTANGLE, {{20, 10}, {20, 50}, {100, 50}, {100, 10}}, {}, 1, kClosed}},
        {"rectangle of zero width", {},
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddRectFromCorners(p, {5, 10}, {5, 50}); },
         {CKovLine::RECTANGLE, {{5, 10}, {5, 50}, {5, 50}, {5, 10}}, {}, 1, kClosed}},
        {"polygon", {},
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddPolygonFromPoints(p, {{0, 0}, {10, 0}, {5, 8}}); },
         {CKovLine::POLYGON, {{0, 0}, {10, 0}, {5, 8}}, {}, 2, kClosed}},
        {"circle", {}, [](CKovUnit& u, const CPlotInfo& p) { return u.AddCircle(p, {10, 10}, {13, 14}, 99, 0); },
         {CKovLine::CIRCLE, {{10, 10}}, {5}, 3, kClosed}},
        {"circle of fixed radius", {},
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddCircle(p, {10, 10}, {13, 14}, 99, 1); },
         {CKovLine::CIRCLE, {{10, 10}}, {99}, 3, kClosed}},
    });
}

TEST(FigureCreation, RefusedFiguresLeaveTheDrawingAlone)
{
    const struct {
        const char* name;
        std::function<int(CKovUnit&, const CPlotInfo&)> make;
    } cases[] = {
        {"line of one point", [](CKovUnit& u, const CPlotInfo& p) { return u.AddStraightLine(p, {3, 3}, {3, 3}); }},
        {"rectangle of one point", [](CKovUnit& u, const CPlotInfo& p) { return u.AddRectFromCorners(p, {3, 3}, {3, 3}); }},
        {"circle without radius", [](CKovUnit& u, const CPlotInfo& p) { return u.AddCircle(p, {3, 3}, {3, 3}, 0, 0); }},
        {"fixed circle clicked on its centre",
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddCircle(p, {3, 3}, {3, 3}, 50, 1); }},
        {"polygon without points", [](CKovUnit& u, const CPlotInfo& p) { return u.AddPolygonFromPoints(p, {}); }},
        {"arc of one tool point", [](CKovUnit& u, const CPlotInfo& p) { return u.AddArc(p, Tool{{0, 0}}, {5, 5}, 0, 0); }},
        {"arc starting on its centre",
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddArc(p, Tool{{7, 7}, {7, 7}}, {50, 9}, 0, 0); }},
        {"arc of fixed radius 0",
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddArc(p, Tool{{0, 0}, {100, 0}}, {0, -200}, 0, 1); }},
        {"circle of fixed radius 0",
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddCircle(p, {3, 3}, {9, 9}, 0, 1); }},
        {"circle of negative fixed radius",
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddCircle(p, {3, 3}, {9, 9}, -40, 1); }},
        {"polygon of one point", [](CKovUnit& u, const CPlotInfo& p) { return u.AddPolygonFromPoints(p, {{4, 4}}); }},
        {"polygon of one spot clicked thrice",
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddPolygonFromPoints(p, {{4, 4}, {4, 4}, {4, 4}}); }},
        {"dimension of one tool point",
         [](CKovUnit& u, const CPlotInfo& p) { return u.AddDimensionLine(p, Tool{{0, 0}}, {5, 5}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        EXPECT_EQ(c.make(unit, distinctSlots()), 0);
        EXPECT_EQ(unit.m_Lines.GetSize(), 0);
    }
}

TEST(FigureCreation, ArcsFromCentreStartAndEnd)
{
    auto curvedWall = [](CPlotInfo& p) { p.PlotLineTanten[4] = 2; };
    auto arc = [](Tool tool, CDbPoint end, double r = 0, int fixed = 0) {
        return [=](CKovUnit& u, const CPlotInfo& p) { return u.AddArc(p, tool, end, r, fixed); };
    };
    runReturningCases({
        {"end level with the centre, opposite the start", {}, arc({{0, 0}, {-100, 0}}, {30, 0}),
         {CKovLine::ARC, {{0, 0}, {-100, 0}, {100, 0}}, {100}, 4, kArc}},
        {"end plumb below the centre, start above", {}, arc({{0, 0}, {0, -100}}, {0, 40}),
         {CKovLine::ARC, {{0, 0}, {0, -100}, {0, 100}}, {100}, 4, kArc}},
        {"end level, same side as the start, goes onto the circle", {}, arc({{0, 0}, {100, 0.00001}}, {30, 0}),
         {CKovLine::ARC, {{0, 0}, {100, 0.00001}, {100, 0}}, {100}, 4, kArc}},
        {"end on an oblique ray", {}, arc({{0, 0}, {100, 0}}, {30, 40}),
         {CKovLine::ARC, {{0, 0}, {100, 0}, {60, 80}}, {100}, 4, kArc}},
        {"end on an oblique ray to the left", {}, arc({{0, 0}, {100, 0}}, {-3, -4}),
         {CKovLine::ARC, {{0, 0}, {100, 0}, {-60, -80}}, {100}, 4, kArc}},
        {"fixed radius", {}, arc({{0, 0}, {100, 0}}, {0, -200}, 50, 1),
         {CKovLine::ARC, {{0, 0}, {50, 0}, {0, -50}}, {50}, 4, kArc}},
        {"curved wall ignores the fixed radius", curvedWall, arc({{0, 0}, {100, 0}}, {0, -200}, 50, 1),
         {CKovLine::ARC, {{0, 0}, {100, 0}, {0, -100}}, {100, 120, 120}, 4, kArc}},
    });
}

TEST(FigureCreation, RectanglesEllipsesAndEllipticArcsSelectWhatTheyMake)
{
    const struct {
        const char* name;
        bool curvedWall;
        std::function<void(CKovUnit&, SelectionRecord&, const CPlotInfo&)> make;
        Made expected; // nothing made when points are empty
    } cases[] = {
        {"rectangle from a point and four extents", false,
         [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) { u.AddRectFromCenter(s, p, 100, 50, 10, 20, 5, 30); },
         {CKovLine::RECTANGLE, {{90, 45}, {90, 80}, {120, 80}, {120, 45}}, {}, 1, kClosed}},
        {"ellipse", false, [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) { u.AddEllipse(s, p, {{0, 0}, {200, 9}}, {7, 50}); },
         {CKovLine::CIRCLE, {{0, 0}}, {200, 0.25}, 3, kClosed}},
        {"ellipse with its width point plumb above the centre", false,
         [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) { u.AddEllipse(s, p, {{0, 0}, {0, 77}}, {0, 50}); },
         {CKovLine::CIRCLE, {{0, 0}}, {0, 50}, 3, kClosed}},
        {"elliptic arc keeps its clicks", true,
         [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) {
             u.AddEllipticArc(s, p, {{0, 0}, {100, 0}, {0, 40}, {10, 10}}, {-20, 5});
         },
         {CKovLine::ARC, {{0, 0}, {10, 10}, {-20, 5}}, {100, 0.4}, 4, kArc}},
        {"ellipse with all points on the centre", false,
         [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) { u.AddEllipse(s, p, {{6, 6}, {6, 6}}, {6, 6}); }, {}},
        {"perpendicular of no length", false,
         [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) { u.AddPerpendicularLine(s, p, {10, 10}, {10, 10}); },
         {}},
        {"ellipse of one tool point", false,
         [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) { u.AddEllipse(s, p, {{0, 0}}, {0, 50}); }, {}},
        {"elliptic arc of three tool points", false,
         [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) {
             u.AddEllipticArc(s, p, {{0, 0}, {100, 0}, {0, 40}}, {-20, 5});
         },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        CPlotInfo plot = distinctSlots();
        if (c.curvedWall)
            plot.PlotLineTanten[4] = 2;
        SelectionRecord selection;
        selection.AddWallId(77);
        c.make(unit, selection, plot);
        if (c.expected.points.empty()) {
            EXPECT_EQ(unit.m_Lines.GetSize(), 0);
            EXPECT_EQ(selection.m_nCount, 1);
            continue;
        }
        ASSERT_EQ(unit.m_Lines.GetSize(), 1);
        const CKovLine& f = *unit.m_Lines[0];
        EXPECT_EQ(selection.m_nCount, 2);
        EXPECT_EQ(selection.m_Lines, std::vector<int>{f.MLineID});
        EXPECT_EQ(f.MLineType, c.expected.kind);
        expectPoints(f.MLinePnt, c.expected.points);
        expectParams(f.MLineParam, c.expected.params);
        expectStyle(f, plot, c.expected.slot, c.expected.fields);
    }
}

// True when the counter-clockwise (on the screen) sweep from start to end passes p.
bool onSweep(const CDbPoint& c, const CDbPoint& start, const CDbPoint& end, const CDbPoint& p)
{
    auto angle = [&](const CDbPoint& q) { return VectorAngle(c.x, c.y, q.x, q.y); };
    auto from = [&](double a) { return std::fmod(a - angle(start) + 720.0, 360.0); };
    return from(angle(p)) < from(angle(end));
}

TEST(FigureCreation, ThreePointArcRunsThroughTheThirdClickOnEitherSide)
{
    const struct {
        const char* name;
        CDbPoint a, b;
        CDbPoint sides[2]; // a third click on each side of the chord
    } cases[] = {
        {"level, left to right", {0, 0}, {100, 0}, {{50, -30}, {50, 30}}},
        {"level, right to left", {100, 0}, {0, 0}, {{50, -30}, {50, 30}}},
        {"plumb, downward", {0, 0}, {0, 100}, {{-30, 50}, {30, 50}}},
        {"plumb, upward", {0, 100}, {0, 0}, {{-30, 50}, {30, 50}}},
        {"oblique, rising", {0, 100}, {100, 0}, {{20, 20}, {80, 80}}},
        {"oblique, falling", {0, 0}, {100, 100}, {{80, 20}, {20, 80}}},
        {"oblique, right to left", {100, 100}, {0, 0}, {{80, 20}, {20, 80}}},
    };
    for (const auto& c : cases) {
        for (const CDbPoint& k : c.sides) {
            SCOPED_TRACE(std::string(c.name) + " through (" + std::to_string(k.x) + "," + std::to_string(k.y) + ")");
            CKovUnit unit;
            const CPlotInfo plot = distinctSlots();
            SelectionRecord selection;
            unit.AddArcThrough3Points(selection, plot, {c.a, c.b}, k);
            ASSERT_EQ(unit.m_Lines.GetSize(), 1);
            const CKovLine& f = *unit.m_Lines[0];
            EXPECT_EQ(f.MLineType, CKovLine::ARC);
            EXPECT_EQ(selection.m_Lines, std::vector<int>{f.MLineID});
            ASSERT_EQ(f.MLinePnt.size(), 3u);
            ASSERT_EQ(f.MLineParam.size(), 1u);
            const CDbPoint centre = f.MLinePnt[0];
            const double r = f.MLineParam[0];
            for (const CDbPoint& p : {c.a, c.b, k})
                EXPECT_NEAR(PointDistance(centre.x, centre.y, p.x, p.y), r, 1e-6);
            EXPECT_TRUE((f.MLinePnt[1] == c.a && f.MLinePnt[2] == c.b) || (f.MLinePnt[1] == c.b && f.MLinePnt[2] == c.a));
            EXPECT_TRUE(onSweep(centre, f.MLinePnt[1], f.MLinePnt[2], k));
            expectStyle(f, plot, 4, kArc);
        }
    }
}

TEST(FigureCreation, ThreePointArcOnCollinearClicksDoesNothing)
{
    CKovUnit unit;
    CPlotInfo plot = distinctSlots();
    plot.PlotLineTanten[4] = 2;
    SelectionRecord selection;
    selection.AddLineId(5);
    unit.AddArcThrough3Points(selection, plot, {{0, 0}, {100, 100}}, {50, 50});
    EXPECT_EQ(unit.m_Lines.GetSize(), 0);
    EXPECT_EQ(selection.m_nCount, 1);
    // And a curved-wall arc through three points carries the wall thickness twice.
    unit.AddArcThrough3Points(selection, plot, {{0, 0}, {100, 0}}, {50, 50});
    ASSERT_EQ(unit.m_Lines.GetSize(), 1);
    expectParams(unit.m_Lines[0]->MLineParam, {50, 120, 120});
}

TEST(FigureCreation, ConstructedLinesClearTheSelection)
{
    using Make = std::function<void(CKovUnit&, SelectionRecord&, const CPlotInfo&)>;
    auto byAngle = [](double angle, double length, int fixed, CDbPoint q = {}) -> Make {
        return [=](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) {
            u.AddLineByAngle(s, p, {10, 10}, q, angle, length, fixed);
        };
    };
    auto toward = [](CDbPoint q) -> Make {
        return [=](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) { u.AddLineToward(s, p, {0, 0}, q, 100); };
    };
    const struct {
        const char* name;
        Make make;
        CDbPoint end;
    } cases[] = {
        {"fixed length at 0", byAngle(0, 100, 1), {110, 10}},
        {"fixed length at 90 goes up the screen", byAngle(90, 100, 1), {10, -90}},
        {"fixed length at 180", byAngle(180, 100, 1), {-90, 10}},
        {"fixed length at 270 goes down", byAngle(270, 100, 1), {10, 110}},
        {"fixed length at 360", byAngle(360, 100, 1), {110, 10}},
        {"fixed length at 30", byAngle(30, 100, 1), {96.602540378, -40}},
        {"free length at 90", byAngle(90, 0, 0, {400, -300}), {10, -300}},
        {"free length at 180", byAngle(180, 0, 0, {400, -300}), {400, 10}},
        {"free length at 45: foot of the perpendicular", byAngle(45, 0, 0, {110, 10}), {60, -40}},
        {"free length at 360", byAngle(360, 0, 0, {400, -300}), {400, 10}},
        {"toward a point below", toward({0, 500}), {0, 100}},
        {"toward a point above", toward({0, -500}), {0, -100}},
        {"toward a point on the left", toward({-300, 0}), {-100, 0}},
        {"toward an oblique point", toward({300, 400}), {60, 80}},
        {"perpendicular line", [](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p) {
             u.AddPerpendicularLine(s, p, {10, 10}, {40, 50});
         }, {40, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        const CPlotInfo plot = distinctSlots();
        SelectionRecord selection;
        selection.AddWallId(3);
        c.make(unit, selection, plot);
        ASSERT_EQ(unit.m_Lines.GetSize(), 1);
        const CKovLine& f = *unit.m_Lines[0];
        EXPECT_EQ(selection.m_nCount, 1);
        EXPECT_TRUE(selection.m_Walls.empty());
        EXPECT_EQ(selection.m_Lines, std::vector<int>{f.MLineID});
        EXPECT_EQ(f.MLineType, CKovLine::LINE);
        ASSERT_EQ(f.MLinePnt.size(), 2u);
        EXPECT_NEAR(f.MLinePnt[1].x, c.end.x, 1e-6);
        EXPECT_NEAR(f.MLinePnt[1].y, c.end.y, 1e-6);
        expectStyle(f, plot, 0, kFull);
    }
}

TEST(FigureCreation, TriangleSidesMeetAtTheApex)
{
    const struct {
        const char* name;
        CDbPoint p0, p1;
        int a, b;
        bool behindP0;
    } cases[] = {
        {"equilateral over a level base", {0, 0}, {100, 0}, 100, 100, false},
        {"right angle at the apex", {0, 0}, {100, 0}, 60, 80, false},
        {"obtuse at the first point", {0, 0}, {100, 0}, 30, 120, true},
        {"base running down the screen", {0, 0}, {0, 100}, 70, 50, false},
        {"oblique base", {100, 300}, {400, 700}, 400, 300, false},
        // A base of 4236.8 mm: cut to whole millimetres in the area, the far side came out 17 mm long.
        {"base of no whole length", {-2840, -1714}, {-4317, 2257}, 2380, 4898, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        const CPlotInfo plot = distinctSlots();
        SelectionRecord selection;
        selection.AddLineId(99);
        unit.MakeTriangle(selection, plot, {c.p0}, c.p1, c.a, c.b);
        ASSERT_EQ(unit.m_Lines.GetSize(), 2);
        const CKovLine& first = *unit.m_Lines[0];
        const CKovLine& second = *unit.m_Lines[1];
        EXPECT_EQ(selection.m_Lines, (std::vector<int>{first.MLineID, second.MLineID}));
        EXPECT_EQ(first.MLinePnt[0], c.p0);
        EXPECT_EQ(second.MLinePnt[0], c.p1);
        const CDbPoint apex = first.MLinePnt[1];
        EXPECT_EQ(second.MLinePnt[1], apex);
        EXPECT_NEAR(PointDistance(c.p0.x, c.p0.y, apex.x, apex.y), c.a, 1e-6);
        EXPECT_NEAR(PointDistance(c.p1.x, c.p1.y, apex.x, apex.y), c.b, 1e-6);
        // Left of p0 -> p1 as seen on the screen (y down): a negative cross product.
        const double cross = (c.p1.x - c.p0.x) * (apex.y - c.p0.y) - (c.p1.y - c.p0.y) * (apex.x - c.p0.x);
        EXPECT_LT(cross, 0.0);
        const double along = (c.p1.x - c.p0.x) * (apex.x - c.p0.x) + (c.p1.y - c.p0.y) * (apex.y - c.p0.y);
        EXPECT_EQ(along < 0.0, c.behindP0);
        expectStyle(first, plot, 0, kFull);
    }
}

TEST(FigureCreation, DimensionLinesTakeOffsetAndTextHeight)
{
    const struct {
        const char* name;
        CDbPoint a, b, p;
        CDbPointArray points;
        std::vector<double> params;
    } cases[] = {
        {"level, pointer above", {0, 0}, {1000, 0}, {500, -300}, {{0, -200}, {1000, -200}, {500, -500}}, {1, 1000, 300, 4}},
        {"level, pointer below", {0, 0}, {1000, 0}, {500, 300}, {{0, 200}, {1000, 200}, {500, 500}}, {3, 1000, 300, 4}},
        {"plumb, pointer left", {0, 0}, {0, 600}, {-250, 100}, {{-200, 0}, {-200, 600}, {-450, 300}}, {2, 600, 250, 4}},
        {"plumb, pointer right", {0, 0}, {0, 600}, {250, 100}, {{200, 0}, {200, 600}, {450, 300}}, {4, 600, 250, 4}},
        {"oblique, pointer above", {0, 0}, {300, 400}, {400, 100}, {{160, -120}, {460, 280}, {518, -76}},
         {6, 500, 260, 4}},
        {"oblique, pointer below", {0, 0}, {300, 400}, {-100, 300}, {{-160, 120}, {140, 520}, {-218, 476}},
         {5, 500, 260, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        CPlotInfo plot = distinctSlots();
        plot.PlotSunpoOffset = 2;
        plot.PlotSunpoTextHeight = 4;
        plot.m_Layer.m_dScale[4] = 100.0;
        const int id = unit.AddDimensionLine(plot, {c.a, c.b}, c.p);
        ASSERT_GT(id, 0);
        const CKovLine& f = *unit.FindLine(id);
        EXPECT_EQ(f.MLineType, CKovLine::DIMENSION);
        expectPoints(f.MLinePnt, c.points, 1e-6);
        expectParams(f.MLineParam, c.params, 1e-6);
        expectStyle(f, plot, 0, 0);
    }
}

struct CurveCase {
    const char* name;
    std::function<void(CKovUnit&, SelectionRecord&, const CPlotInfo&, int)> make;
    int separateSegments;
    int figures;      // figures made
    int kind;         // their kind
    std::size_t points; // points of the first figure
    int fields;
};

TEST(FigureCreation, CurvesAndContinuousLines)
{
    const Tool clicks{{0, 0}, {100, -100}, {200, 0}};
    const Tool spline{{0, 0}, {100, -50}, {200, 0}, {300, 50}, {400, 0}};
    auto bezier = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddBezierCurve(s, p, clicks, clicks.back(), sep);
    };
    auto smooth = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddSplineCurve(s, p, spline, spline.back(), sep);
    };
    auto freehand = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddFreehandCurve(s, p, {{0, 0}, {1, 2}, {3, 3}, {4, 6}}, {9, 9}, sep);
    };
    auto polyline = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddSegmentsOrPolyline(s, p, {{0, 0}, {10, 0}, {10, 10}}, {10, 10}, sep);
    };
    auto onePoint = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddSegmentsOrPolyline(s, p, {{0, 0}}, {0, 0}, sep);
    };
    auto shortSmooth = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddSplineCurve(s, p, {{0, 0}, {100, 0}}, {100, 0}, sep);
    };
    auto bareBezier = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddBezierCurve(s, p, {}, {100, 0}, sep);
    };
    auto spotBezier = [&](CKovUnit& u, SelectionRecord& s, const CPlotInfo& p, int sep) {
        u.AddBezierCurve(s, p, {{30, 30}}, {30, 30}, sep);
    };
    const CurveCase cases[] = {
        {"Bezier as one curve", bezier, 0, 1, CKovLine::CONTINUOUS, 21, kStroke},
        {"Bezier as lines", bezier, 1, 20, CKovLine::LINE, 2, kStroke},
        {"smooth curve as one curve", smooth, 0, 1, CKovLine::CONTINUOUS, 7 * 3 + 1, kStroke},
        {"smooth curve as lines", smooth, 1, 7 * 3, CKovLine::LINE, 2, kStroke},
        {"free curve as one curve", freehand, 0, 1, CKovLine::CONTINUOUS, 4, kFree},
        {"free curve as pieces", freehand, 1, 3, CKovLine::CONTINUOUS, 2, kFree},
        {"continuous line", polyline, 0, 1, CKovLine::CONTINUOUS, 3, kPolyline},
        {"continuous line as pieces", polyline, 1, 2, CKovLine::CONTINUOUS, 2, kPolyline},
        {"one point makes nothing", onePoint, 0, 0, 0, 0, 0},
        {"one point makes no pieces", onePoint, 1, 0, 0, 0, 0},
        {"smooth curve of two clicks makes nothing", shortSmooth, 0, 0, 0, 0, 0},
        {"Bezier curve without tool points makes nothing", bareBezier, 0, 0, 0, 0, 0},
        {"Bezier curve on one spot makes nothing", spotBezier, 0, 0, 0, 0, 0},
        {"Bezier curve on one spot makes no pieces", spotBezier, 1, 0, 0, 0, 0},
    };
    for (const CurveCase& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        const CPlotInfo plot = distinctSlots();
        SelectionRecord selection;
        selection.AddTextId(8);
        c.make(unit, selection, plot, c.separateSegments);
        ASSERT_EQ(unit.m_Lines.GetSize(), c.figures);
        if (c.figures == 0) {
            EXPECT_EQ(selection.m_nCount, 1);
            continue;
        }
        EXPECT_EQ(selection.m_nCount, c.figures);
        EXPECT_TRUE(selection.m_Texts.empty());
        for (int i = 0; i < c.figures; ++i) {
            const CKovLine& f = *unit.m_Lines[i];
            EXPECT_EQ(selection.m_Lines[static_cast<std::size_t>(i)], f.MLineID);
            EXPECT_EQ(f.MLineType, c.kind);
            expectStyle(f, plot, 0, c.fields);
        }
        EXPECT_EQ(unit.m_Lines[0]->MLinePnt.size(), c.points);
    }
}

TEST(FigureCreation, CurvePointsFollowTheClicks)
{
    CKovUnit unit;
    const CPlotInfo plot = distinctSlots();
    SelectionRecord selection;
    // Bezier: the tool passes its last click again and gets the curve from the last click to the first.
    unit.AddBezierCurve(selection, plot, {{0, 0}, {100, -100}, {200, 0}}, {200, 0}, 0);
    const CDbPointArray& bezier = unit.m_Lines[0]->MLinePnt;
    EXPECT_NEAR(bezier.front().x, 200, 1e-6);
    EXPECT_NEAR(bezier.back().x, 0, 1e-6);
    EXPECT_NEAR(bezier[10].y, -50, 1e-6);
    // Free curve: every given point but the last, then the finishing point.
    unit.AddFreehandCurve(selection, plot, {{0, 0}, {1, 2}, {3, 3}}, {9, 9}, 0);
    EXPECT_EQ(unit.m_Lines[1]->MLinePnt, (CDbPointArray{{0, 0}, {1, 2}, {9, 9}}));
}

// More control points than the smooth-curve tool can collect: the curve still passes every one.
TEST(FigureCreation, SmoothCurveTakesManyPoints)
{
    for (const int n : {10, 55, 57, 80}) {
        SCOPED_TRACE(n);
        Tool tool;
        for (int i = 0; i < n - 1; ++i)
            tool.push_back({i * 100.0, (i % 2) ? 50.0 : -50.0});
        CKovUnit unit;
        SelectionRecord selection;
        unit.AddSplineCurve(selection, distinctSlots(), tool, tool.back(), 0);
        ASSERT_EQ(unit.m_Lines.GetSize(), 1);
        const CDbPointArray& curve = unit.m_Lines[0]->MLinePnt;
        ASSERT_EQ(curve.size(), static_cast<std::size_t>(7 * (n - 3) + 1));
        for (int j = 0; j <= n - 3; ++j) {
            EXPECT_NEAR(curve[static_cast<std::size_t>(7 * j)].x, tool[static_cast<std::size_t>(j)].x, 1e-6) << j;
            EXPECT_NEAR(curve[static_cast<std::size_t>(7 * j)].y, tool[static_cast<std::size_t>(j)].y, 1e-6) << j;
        }
        for (const CDbPoint& p : curve)
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
}

// Samples that are not numbers make no curve: here from a point at infinity, as the weights of a
// Bezier curve over a thousand clicks overflow the same way.
TEST(FigureCreation, CurveOfSamplesThatAreNotNumbersIsNotMade)
{
    for (const int separate : {0, 1}) {
        SCOPED_TRACE(separate);
        const Tool tool{{0, 0}, {HUGE_VAL, 50}, {200, 0}};
        CKovUnit unit;
        SelectionRecord selection;
        selection.AddTextId(8);
        unit.AddBezierCurve(selection, distinctSlots(), tool, tool.back(), separate);
        EXPECT_EQ(unit.m_Lines.GetSize(), 0);
        EXPECT_EQ(selection.m_nCount, 1);
    }
}

TEST(FigureCreation, GeneratedFiguresKeepTheirGivenStyle)
{
    CKovUnit unit;
    SelectionRecord selection;
    unit.AddSelectedLine(selection, {0, 0}, {5, 5}, 2, 3, 4, 0x123456);
    unit.AddSelectedPolygon(selection, {{0, 0}, {9, 0}, {9, 9}, {100, 100}}, 3, 5, 6, 1, 1, 0, 1, 0x111111, 0xABCDEF);
    unit.AddSelectedPolygon(selection, {{0, 0}, {9, 0}, {9, 9}}, 3, 5, 6, 0, 0, 1, 0, 0x222222, 0xABCDEF);
    ASSERT_EQ(unit.m_Lines.GetSize(), 3);
    EXPECT_EQ(selection.m_nCount, 3);
    const CKovLine& line = *unit.m_Lines[0];
    EXPECT_EQ(line.MLineType, CKovLine::LINE);
    EXPECT_EQ(line.MLinePnt, (CDbPointArray{{0, 0}, {5, 5}}));
    EXPECT_EQ(line.MLineLayer1, 2);
    EXPECT_EQ(line.MLineLayer2, 3);
    EXPECT_EQ(line.MLineLineT, 4);
    EXPECT_EQ(line.MLineColor, 0x123456u);
    EXPECT_EQ(line.MLineWide, 1);
    const CKovLine& hatched = *unit.m_Lines[1];
    EXPECT_EQ(hatched.MLineType, CKovLine::POLYGON);
    EXPECT_EQ(hatched.MLinePnt.size(), 3u);
    EXPECT_EQ(hatched.MLinebHach, 1);
    EXPECT_EQ(hatched.MLineHachT, 1);
    EXPECT_EQ(hatched.MLineNakaColor, 0xABCDEFu);
    EXPECT_EQ(hatched.MLinebNakanuri, 1);
    const CKovLine& plain = *unit.m_Lines[2];
    EXPECT_EQ(plain.MLinebHach, 0);
    EXPECT_EQ(plain.MLineNakaColor, 0xFFFFFFu); // fill colour left unset
    EXPECT_EQ(plain.MLinebNakanuri, 0);
    EXPECT_EQ(plain.MLineColor, 0x222222u);
}

} // namespace
