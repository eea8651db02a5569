#include "model/Curves.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/Questions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

::testing::AssertionResult near(const CDbPoint& actual, const CDbPoint& expected, double tol = 1e-9)
{
    if (std::fabs(actual.x - expected.x) <= tol && std::fabs(actual.y - expected.y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") != (" << expected.x << ", "
                                         << expected.y << ")";
}

struct Drawing {
    CKovUnit unit;
    CPlotInfo plot;

    int add(int kind, CDbPointArray points, std::vector<double> params = {}, int filled = 0, int arcType = 0)
    {
        auto line = std::make_unique<CKovLine>();
        line->MLineID = unit.NextLineId();
        line->MLineType = kind;
        line->MLinePnt = std::move(points);
        line->MLineParam = std::move(params);
        line->MLinebNakanuri = filled;
        line->MLineTanten = arcType;
        line->MLineColor = 0x0000FF;
        line->MLineNakaColor = 0x00FF00;
        line->MLinebHach = 1;
        line->MLineLayer1 = 3;
        line->MLineLayer2 = 4;
        const int id = line->MLineID;
        unit.m_Lines.Add(std::move(line));
        return id;
    }
};

// Every device pixel is one millimetre, in every layer group.
DeviceTransform unitTransform(double scale = 1.0)
{
    DeviceTransform t;
    t.scaleX.fill(scale);
    t.scaleY.fill(scale);
    return t;
}

// A text box as wide as 10 pixels per character and 10 high.
class FixedMeasurer final : public TextBoxMeasurer {
public:
    DeviceRect TextBoxSize(int x, int y, std::string_view text, const CFontMenu&, double) const override
    {
        return {x, y, x + 10 * static_cast<int>(text.size()), y + 10};
    }
};

} // namespace

// ---- Circles and arcs to point lists

TEST(Curves, CircleToPolylineReplacesTheCircleByEqualSteps)
{
    struct Case { const char* name; double radius; int segments; size_t points; };
    const Case cases[] = {
        {"radius 10: one segment per millimetre", 10, 24, 63},
        {"radius 100: the caller's 24", 100, 24, 25},
        {"tiny circle: one segment", 0.1, 24, 2},
        {"no more than 960", 1000, 5000, 961},
    };
    for (const auto& c : cases) {
        Drawing d;
        const int id = d.add(CKovLine::CIRCLE, {{5, 5}}, {c.radius});
        const int newId = d.unit.CircleToPolyline(id, d.plot, c.segments);
        ASSERT_GT(newId, 0) << c.name;
        EXPECT_NE(newId, id) << c.name;
        EXPECT_EQ(d.unit.FindLine(id), nullptr) << c.name;
        ASSERT_EQ(d.unit.m_Lines.GetSize(), 1) << c.name;
        const CKovLine& poly = *d.unit.FindLine(newId);
        EXPECT_EQ(poly.MLineType, CKovLine::POLYGON) << c.name;
        ASSERT_EQ(poly.MLinePnt.size(), c.points) << c.name;
        EXPECT_EQ(poly.MLinePnt.front(), CDbPoint(5 + c.radius, 5)) << c.name;
        EXPECT_EQ(poly.MLinePnt.back(), poly.MLinePnt.front()) << c.name;
        // Every chord equally long: no wide last segment.
        const double first = PointDistance(poly.MLinePnt[0].x, poly.MLinePnt[0].y, poly.MLinePnt[1].x, poly.MLinePnt[1].y);
        for (size_t i = 1; i < poly.MLinePnt.size(); ++i) {
            const CDbPoint& p = poly.MLinePnt[i - 1];
            const CDbPoint& q = poly.MLinePnt[i];
            ASSERT_NEAR(PointDistance(p.x, p.y, q.x, q.y), first, 1e-6 * std::max(1.0, c.radius)) << c.name << " " << i;
        }
    }

    Drawing d;
    const int id = d.add(CKovLine::CIRCLE, {{0, 0}}, {100});
    const CKovLine& poly = *d.unit.FindLine(d.unit.CircleToPolyline(id, d.plot, 24));
    EXPECT_TRUE(near(poly.MLinePnt[1], PointAtAngle(0, 0, 15, 100)));
    EXPECT_EQ(poly.MLinePnt[6], CDbPoint(0, -100)); // 90 degrees: exactly up
    // The style, group and layers stay.
    EXPECT_EQ(poly.MLineColor, 0x0000FFu);
    EXPECT_EQ(poly.MLinebHach, 1);
    EXPECT_EQ(poly.MLineLayer1, 3);
    EXPECT_EQ(poly.MLineLayer2, 4);
}

TEST(Curves, CircleToPolylineOfAnEllipse)
{
    Drawing d;
    const int id = d.add(CKovLine::CIRCLE, {{0, 0}}, {100, 0.5});
    const CKovLine& poly = *d.unit.FindLine(d.unit.CircleToPolyline(id, d.plot, 24));
    ASSERT_EQ(poly.MLinePnt.size(), 25u);
    EXPECT_TRUE(near(poly.MLinePnt[6], {0, -50}, 1e-6));
    EXPECT_TRUE(near(poly.MLinePnt[12], {-100, 0}, 1e-6));
}

TEST(Curves, CircleToPolylineOfArcs)
{
    struct Case { const char* name; int filled, arcType; size_t points; int kind; };
    const Case cases[] = {
        {"open arc: a continuous line", 0, 0, 13, CKovLine::CONTINUOUS},
        {"filled sector: centre and start added", 1, 0, 15, CKovLine::POLYGON},
        {"filled chord: start added", 1, 1, 14, CKovLine::POLYGON},
    };
    for (const auto& c : cases) {
        Drawing d;
        // Half circle from the right over the top to the left.
        const int id = d.add(CKovLine::ARC, {{0, 0}, {10, 0}, {-10, 0}}, {10}, c.filled, c.arcType);
        const int newId = d.unit.CircleToPolyline(id, d.plot, 24);
        ASSERT_GT(newId, 0) << c.name;
        const CKovLine& poly = *d.unit.FindLine(newId);
        EXPECT_EQ(poly.MLineType, c.kind) << c.name;
        EXPECT_EQ(poly.MLineTanten, 0) << c.name;
        ASSERT_EQ(poly.MLinePnt.size(), c.points) << c.name;
        EXPECT_EQ(poly.MLinePnt[0], CDbPoint(10, 0)) << c.name;
        EXPECT_TRUE(near(poly.MLinePnt[6], {0, -10})) << c.name;
        EXPECT_EQ(poly.MLinePnt[12], CDbPoint(-10, 0)) << c.name;
        if (c.points == 15) {
            EXPECT_EQ(poly.MLinePnt[13], CDbPoint(0, 0)) << c.name;
        }
        if (c.filled) {
            EXPECT_EQ(poly.MLinePnt.back(), CDbPoint(10, 0)) << c.name;
        }
    }
}

TEST(Curves, CircleToPolylineTurnsAThickArcIntoItsOwnBand)
{
    struct Case { const char* name; std::vector<double> params; double wallHalf, halfBand; };
    const Case cases[] = {
        {"band width of its own", {10, 4, 4}, 50, 2},
        {"no band width held: a wall's", {10}, 3, 3},
    };
    for (const auto& c : cases) {
        Drawing d;
        d.plot.PlotWallWide = c.wallHalf;
        const int id = d.add(CKovLine::ARC, {{0, 0}, {10, 0}, {-10, 0}}, c.params, 0, 2);
        const CKovLine& band = *d.unit.FindLine(d.unit.CircleToPolyline(id, d.plot, 24));
        EXPECT_EQ(band.MLineType, CKovLine::POLYGON) << c.name;
        EXPECT_EQ(band.MLinebNakanuri, 1) << c.name;
        EXPECT_EQ(band.MLineColor, 0u) << c.name;
        EXPECT_EQ(band.MLineNakaColor, 0u) << c.name;
        EXPECT_EQ(band.MLinebHach, 0) << c.name;
        ASSERT_EQ(band.MLinePnt.size(), 27u) << c.name;
        for (size_t i = 0; i < 13; ++i)
            EXPECT_NEAR(std::hypot(band.MLinePnt[i].x, band.MLinePnt[i].y), 10 + c.halfBand, 1e-9) << c.name << i;
        for (size_t i = 13; i < 26; ++i)
            EXPECT_NEAR(std::hypot(band.MLinePnt[i].x, band.MLinePnt[i].y), 10 - c.halfBand, 1e-9) << c.name << i;
        EXPECT_TRUE(near(band.MLinePnt[13], {-10 + c.halfBand, 0})) << c.name; // inner points run back
        EXPECT_EQ(band.MLinePnt.back(), band.MLinePnt.front()) << c.name;
    }
}

TEST(Curves, CircleToPolylineOfAnEllipticArcStaysOnTheEllipse)
{
    Drawing d;
    // Quarter from the right to straight up; the end point lies off the ellipse, on its ray.
    const int id = d.add(CKovLine::ARC, {{0, 0}, {10, 0}, {0, -20}}, {10, 0.5});
    const CKovLine& poly = *d.unit.FindLine(d.unit.CircleToPolyline(id, d.plot, 24));
    ASSERT_EQ(poly.MLinePnt.size(), 7u);
    EXPECT_EQ(poly.MLinePnt.back(), CDbPoint(0, -5));
    for (const CDbPoint& p : poly.MLinePnt) EXPECT_NEAR(p.x * p.x / 100 + p.y * p.y / 25, 1.0, 1e-9);
}

TEST(Curves, CircleToPolylineRefusesOtherFigures)
{
    Drawing d;
    const int line = d.add(CKovLine::LINE, {{0, 0}, {1, 1}});
    const int bare = d.add(CKovLine::CIRCLE, {{0, 0}}); // no radius held
    EXPECT_EQ(d.unit.CircleToPolyline(line, d.plot, 24), -1);
    EXPECT_EQ(d.unit.CircleToPolyline(bare, d.plot, 24), -1);
    EXPECT_EQ(d.unit.CircleToPolyline(999, d.plot, 24), -1);
    EXPECT_EQ(d.unit.m_Lines.GetSize(), 2);
}

// ---- Bezier and smooth curves

TEST(Curves, BezierPointsRunFromTheLastControlPointToTheFirst)
{
    const CDbPoint a{0, 0}, b{10, 20}, c{20, 0};
    CDbPointArray starts, ends;
    CKovUnit::BezierPoints({a, b, c, c}, starts, ends);
    ASSERT_EQ(starts.size(), 20u);
    ASSERT_EQ(ends.size(), 20u);
    EXPECT_EQ(starts.front(), c);
    EXPECT_TRUE(near(ends.back(), a));
    for (size_t i = 1; i < starts.size(); ++i) EXPECT_EQ(starts[i], ends[i - 1]);
    EXPECT_TRUE(near(ends[9], {10, 10})); // t = 0.5: (a + 2b + c) / 4

    // The tools allow 55 clicked points: every one weighs in, nothing overflows.
    CDbPointArray many;
    for (int i = 0; i < 57; ++i) many.push_back({static_cast<double>(i), static_cast<double>(i % 2)});
    starts.clear();
    ends.clear();
    CKovUnit::BezierPoints(many, starts, ends);
    ASSERT_EQ(starts.size(), 20u);
    EXPECT_EQ(starts.front(), many[55]);
    EXPECT_TRUE(near(ends.back(), many[0], 1e-6));
    for (const CDbPoint& p : ends) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));

    // Thousands of control points overflow the binomial weights; the curve must still be finite
    // and keep its ends.
    CDbPointArray huge;
    for (int i = 0; i < 1200; ++i) huge.push_back({static_cast<double>(i), static_cast<double>(i % 7)});
    starts.clear();
    ends.clear();
    CKovUnit::BezierPoints(huge, starts, ends);
    ASSERT_EQ(starts.size(), 20u);
    EXPECT_TRUE(near(starts.front(), huge[1198], 1e-9));
    EXPECT_TRUE(near(ends.back(), huge[0], 1e-9));
    for (const CDbPoint& p : ends) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));

    starts.clear();
    CKovUnit::BezierPoints({a}, starts, ends);
    EXPECT_TRUE(starts.empty());
}

TEST(Curves, SplinePointsPassExactlyThroughTheClickedPoints)
{
    const CDbPoint a{0, 0}, b{10, 5}, c{20, -5}, d{30, 0};
    CDbPointArray starts, ends;
    CKovUnit::SplinePoints({a, b, c, d, d, d}, starts, ends, 7);
    ASSERT_EQ(starts.size(), 21u);
    ASSERT_EQ(ends.size(), 21u);
    // No half-millimetre shift: the clicked points themselves.
    EXPECT_EQ(starts[0], a);
    EXPECT_EQ(starts[7], b);
    EXPECT_EQ(starts[14], c);
    EXPECT_EQ(ends.back(), d);
    for (size_t i = 1; i < starts.size(); ++i) EXPECT_EQ(starts[i], ends[i - 1]);

    // Points on a level line give a level curve.
    starts.clear();
    ends.clear();
    CKovUnit::SplinePoints({{0, 3}, {4, 3}, {9, 3}, {9, 3}, {9, 3}}, starts, ends, 7);
    ASSERT_EQ(starts.size(), 14u);
    for (const CDbPoint& p : starts) EXPECT_EQ(p.y, 3.0);
}

TEST(Curves, SplinePointsTakeAnyNumberOfPoints)
{
    struct Case { int clicked; };
    for (const Case c : {Case{1}, Case{2}, Case{55}, Case{120}}) {
        CDbPointArray list;
        for (int i = 0; i < c.clicked; ++i) list.push_back({i * 10.0, (i % 3) * 7.0});
        list.push_back(list.back());
        list.push_back(list.back());
        CDbPointArray starts, ends;
        CKovUnit::SplinePoints(list, starts, ends, 7);
        const size_t expected = static_cast<size_t>(7 * std::max(0, c.clicked - 1));
        ASSERT_EQ(starts.size(), expected) << c.clicked;
        if (expected) {
            EXPECT_EQ(ends.back(), list.back()) << c.clicked;
        }
    }
}

TEST(Curves, QuinticSpanMeetsItsEndsSlopesAndCurvatures)
{
    const QuinticSpan span = MakeQuinticSpan(1, 4, 2, -1, 0.5, 3);
    EXPECT_DOUBLE_EQ(EvalQuintic(span, 0), 1);
    EXPECT_NEAR(EvalQuintic(span, 1), 4, 1e-12);
    const double h = 1e-5;
    EXPECT_NEAR((EvalQuintic(span, h) - EvalQuintic(span, 0)) / h, 2, 1e-3);
    EXPECT_NEAR((EvalQuintic(span, 1) - EvalQuintic(span, 1 - h)) / h, -1, 1e-3);

    // Finite differences of a straight series: its slope and no curvature.
    const std::vector<double> straight{0, 2, 4, 6, 8};
    EXPECT_DOUBLE_EQ(SampleSlope(straight, 2), 2);
    EXPECT_DOUBLE_EQ(SampleCurvature(straight, 2), 0);

    std::vector<double> series{1, 2, 3, 4, 5};
    PadSampleSeries(series, 5, 0);
    EXPECT_EQ(series, (std::vector<double>{1, 2, 3, 4, 5, 1, 2, 3, 3, 3, 3}));
}

// ---- Measures

TEST(Curves, MeasureAreaByKind)
{
    Drawing d;
    const int rect = d.add(CKovLine::RECTANGLE, {{0, 0}, {10, 0}, {10, 20}, {0, 20}});
    const int circle = d.add(CKovLine::CIRCLE, {{3, 3}}, {10});
    const int ellipse = d.add(CKovLine::CIRCLE, {{3, 3}}, {10, 0.5});
    struct Case { const char* name; int id; double area; };
    const Case cases[] = {
        {"rectangle", rect, 200},
        {"circle", circle, 314.15926535},
        {"ellipse", ellipse, 157.079632675},
    };
    kov::platform::ScriptedQuestions questions;
    for (const auto& c : cases) {
        double area = 0;
        std::string label;
        EXPECT_EQ(d.unit.MeasureArea(c.id, area, label, questions), 1) << c.name;
        EXPECT_NEAR(area, c.area, 1e-9) << c.name;
        EXPECT_EQ(label, "面積") << c.name;
    }

    const int line = d.add(CKovLine::LINE, {{0, 0}, {1, 1}});
    questions.acknowledge("選択物の面積は測定できません");
    double area = -1;
    std::string label;
    EXPECT_EQ(d.unit.MeasureArea(line, area, label, questions), 0);
    EXPECT_EQ(d.unit.MeasureArea(999, area, label, questions), 0); // missing: no message
    EXPECT_EQ(questions.asked().size(), 1u);
}

TEST(Curves, MeasureLengthByKind)
{
    Drawing d;
    const CDbPointArray corners{{0, 0}, {10, 0}, {10, 20}, {0, 20}};
    struct Case { const char* name; int id; int result; double length; const char* label; };
    const Case cases[] = {
        {"line", d.add(CKovLine::LINE, {{0, 0}, {3, 4}}), 1, 5, "直線の長さ"},
        {"rectangle: closing side included", d.add(CKovLine::RECTANGLE, corners), 1, 60, "周囲の長さ"},
        {"polygon", d.add(CKovLine::POLYGON, corners), 1, 60, "周囲の長さ"},
        {"continuous line: open", d.add(CKovLine::CONTINUOUS, corners), 1, 40, "連続線の長さ"},
        {"circle", d.add(CKovLine::CIRCLE, {{0, 0}}, {10}), 1, 62.83185307, "円周"},
        {"ellipse", d.add(CKovLine::CIRCLE, {{0, 0}}, {10, 0.5}), 0, 0, ""},
        {"dimension", d.add(CKovLine::DIMENSION, {{0, 0}, {10, 0}, {5, -5}}, {1, 10, 5, 3}), 0, 0, ""},
        // Fractional angles count: whole degrees would be off by up to a degree at each end.
        {"arc of 45.6 degrees", d.add(CKovLine::ARC, {{0, 0}, {10, 0}, PointAtAngle(0, 0, 45.6, 10)}, {10}), 1,
         45.6 / 360 * 62.83185307, "弧の部分の長さ"},
        {"arc over 0 degrees", d.add(CKovLine::ARC, {{0, 0}, PointAtAngle(0, 0, 350, 10), PointAtAngle(0, 0, 10, 10)}, {10}),
         1, 20.0 / 360 * 62.83185307, "弧の部分の長さ"},
        // Quarter of an ellipse with half axes 10 and 5, measured along the ellipse.
        {"elliptic arc", d.add(CKovLine::ARC, {{0, 0}, {10, 0}, {0, -5}}, {10, 0.5}), 1, 12.110560, "弧の部分の長さ"},
    };
    for (const auto& c : cases) {
        double length = -1;
        std::string label;
        EXPECT_EQ(d.unit.MeasureLength(c.id, length, label), c.result) << c.name;
        if (c.result) {
            EXPECT_NEAR(length, c.length, 1e-6) << c.name;
            EXPECT_EQ(label, c.label) << c.name;
        }
    }
    double length = -1;
    std::string label;
    EXPECT_EQ(d.unit.MeasureLength(999, length, label), 0);
    EXPECT_EQ(length, -1);
}

TEST(Curves, ArcEndAnglesInWholeDegrees)
{
    struct Case { const char* name; CDbPoint start, end; int startDeg, endDeg; };
    const Case cases[] = {
        {"on the axes", {10, 0}, {0, -10}, 0, 90},
        {"left and down", {-10, 0}, {0, 10}, 180, 270},
        {"nearest degree", PointAtAngle(0, 0, 45.6, 10), PointAtAngle(0, 0, 225.2, 10), 46, 225},
        {"down right", PointAtAngle(0, 0, 300.4, 10), PointAtAngle(0, 0, 134.7, 10), 300, 135},
    };
    for (const auto& c : cases) {
        CKovLine arc;
        arc.MLineType = CKovLine::ARC;
        arc.MLinePnt = {{0, 0}, c.start, c.end};
        int s = -1, e = -1;
        arc.ArcEndAngles(s, e);
        EXPECT_EQ(s, c.startDeg) << c.name;
        EXPECT_EQ(e, c.endDeg) << c.name;
    }
}

// ---- Tangents

TEST(Curves, TangentPointsFromAPointOutsideTheCircle)
{
    Drawing d;
    SelectionRecord selection;
    selection.AddLineId(d.add(CKovLine::CIRCLE, {{0, 0}}, {5}));
    const double s = std::sqrt(75.0) / 2;
    struct Case { const char* name; double x, y; int result; CDbPoint first, second; };
    const Case cases[] = {
        {"level with the centre", 10, 0, 1, {2.5, -s}, {2.5, s}},
        {"on a vertical tangent", 5, 10, 1, {5, 0}, {-3, 4}},
        {"on a horizontal tangent", 10, 5, 1, {0, 5}, {4, -3}},
        {"on the circle", 3, 4, 0, {}, {}},
        {"inside", 1, 1, 0, {}, {}},
    };
    for (const auto& c : cases) {
        CDbPoint out[2];
        EXPECT_EQ(d.unit.TangentPoints(selection, out, c.x, c.y), c.result) << c.name;
        if (c.result) {
            EXPECT_TRUE(near(out[0], c.first, 1e-9)) << c.name;
            EXPECT_TRUE(near(out[1], c.second, 1e-9)) << c.name;
        }
    }
    CDbPoint out[2];
    EXPECT_EQ(d.unit.TangentPoints(SelectionRecord(), out, 10, 0), 0);
}

TEST(Curves, TangentToolPointFindsTheCirclePointThenTheFoot)
{
    ResetPickTolerances();
    Drawing d;
    const DeviceTransform t = unitTransform(10); // the 8-pixel pick tolerance is 0.8 mm
    SelectionRecord circle, arc;
    circle.AddLineId(d.add(CKovLine::CIRCLE, {{0, 0}}, {5}));
    // Quarter arc from the right up to the top.
    arc.AddLineId(d.add(CKovLine::ARC, {{0, 0}, {5, 0}, {0, -5}}, {5}));

    struct Case { const char* name; const SelectionRecord* sel; double px, py; int result; CDbPoint point; };
    const double r = 5 / std::sqrt(2.0);
    const Case pick[] = {
        {"circle point under the pointer", &circle, 5.5, 0, 1, {5, 0}},
        {"circle point on the far side", &circle, -5.5, 0, 1, {-5, 0}},
        {"pointer far from the circle", &circle, 20, 0, 0, {}},
        {"arc start point", &arc, 5.3, 0.1, 1, {5, 0}},
        {"arc end point", &arc, 0.2, -5.3, 1, {0, -5}},
        {"middle of the arc", &arc, 3.6, -3.6, 1, {r, -r}},
        {"circle point off the arc", &arc, 0, 5.2, 0, {}},
    };
    for (const auto& c : pick) {
        CDbPointArray tool;
        EXPECT_EQ(d.unit.TangentToolPoint(*c.sel, d.plot, t, tool, c.px, c.py, 0), c.result) << c.name;
        if (c.result) {
            ASSERT_EQ(tool.size(), 2u) << c.name;
            EXPECT_TRUE(near(tool[0], c.point, 1e-9)) << c.name;
            EXPECT_EQ(tool[1], tool[0]) << c.name;
        }
    }

    const Case foot[] = {
        {"tangent point above the centre", nullptr, 7, 3, 1, {7, -5}},
        {"tangent point level with the centre", nullptr, 7, 3, 1, {5, 3}},
    };
    const CDbPoint touch[] = {{0, -5}, {5, 0}};
    for (int i = 0; i < 2; ++i) {
        CDbPointArray tool{touch[i], touch[i]};
        EXPECT_EQ(d.unit.TangentToolPoint(circle, d.plot, t, tool, foot[i].px, foot[i].py, 1), 1) << foot[i].name;
        EXPECT_TRUE(near(tool[1], foot[i].point)) << foot[i].name;
    }
    // A sloped tangent: the foot lies on the tangent and the pointer straight off it.
    const CDbPoint p{3, -4};
    CDbPointArray tool{p, p};
    ASSERT_EQ(d.unit.TangentToolPoint(circle, d.plot, t, tool, 10, 10, 1), 1);
    const CDbPoint f = tool[1];
    EXPECT_NEAR((f.x - p.x) * p.x + (f.y - p.y) * p.y, 0, 1e-9);             // on the tangent
    EXPECT_NEAR((10 - f.x) * p.y - (10 - f.y) * p.x, 0, 1e-9);               // along the radius direction
    EXPECT_EQ(d.unit.TangentToolPoint(SelectionRecord(), d.plot, t, tool, 1, 1, 1), 0);
}

// ---- Extent and dimension placement

TEST(Curves, DrawingPixelExtentCoversEveryObject)
{
    const FixedMeasurer measurer;
    const int margin = 5;
    struct Result { int x, y, w, h; };
    auto extent = [&](const CKovUnit& unit, const DeviceTransform& t) {
        Result r{};
        CPlotInfo plot;
        unit.DrawingPixelExtent(measurer, t, plot, r.x, r.y, r.w, r.h, margin);
        return r;
    };

    {   // Nothing drawn: a box at pixel 0, 0.
        CKovUnit unit;
        const Result r = extent(unit, unitTransform());
        EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{-5, -5, 10, 10}));
    }
    {   // Only pictures: the box still starts at 0, 0.
        CKovUnit unit;
        auto image = std::make_unique<CKovImage>();
        image->OffsetX = 100;
        image->OffsetY = 50;
        image->ImageWidth = 40;
        image->ImageHeight = 21; // half height cut to 10
        unit.m_Images.Add(std::move(image));
        const Result r = extent(unit, unitTransform());
        EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{-5, -5, 120 + 10, 60 + 10}));
    }
    {   // A wall widened by its half thickness, at two pixels per millimetre.
        CKovUnit unit;
        auto wall = std::make_unique<CKovWall>();
        wall->MWallPntA = {10, 10};
        wall->MWallPntB = {110, 10};
        wall->MWallWide1 = 10;
        unit.m_Walls.Add(std::move(wall));
        const Result r = extent(unit, unitTransform(2));
        EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{0 - 5, 0 - 5, 240 + 10, 40 + 10}));
    }
    {   // A circle's box, and a text turned a quarter to the left.
        Drawing d;
        d.add(CKovLine::CIRCLE, {{50, 50}}, {10});
        auto text = std::make_unique<CKovText>();
        text->MTextstr = "abc"; // 30 × 10 pixels
        text->MTextpnt = {100, 100};
        text->MTextFontMenu.lfEscapement = 900;
        d.unit.m_Texts.Add(std::move(text));
        const Result r = extent(d.unit, unitTransform());
        // Circle 40..60; text from (100, 100) up to y 70 and right to x 110.
        EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{40 - 5, 40 - 5, 70 + 10, 60 + 10}));
    }
    {   // A picture from a damaged file far off the page: the box stays inside the device range.
        CKovUnit unit;
        auto image = std::make_unique<CKovImage>();
        image->OffsetX = 1e300;
        image->OffsetY = -1e300;
        image->ImageWidth = 1e300;
        unit.m_Images.Add(std::move(image));
        const Result r = extent(unit, unitTransform());
        const int limit = kDeviceCoordLimit;
        EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), (std::array{-5, -limit - 5, limit + 10, limit + 10}));
    }
}

TEST(Curves, OffsetSegmentMovesTowardThePointer)
{
    const double g = std::sqrt(2.0);
    struct Case {
        const char* name;
        CDbPoint a, b, pointer;
        int side;
        double length, distance;
        CDbPoint movedA, movedB, mid;
    };
    const Case cases[] = {
        {"above a level pair", {0, 0}, {10, 0}, {5, -8}, 1, 10, 8, {0, -2}, {10, -2}, {5, -10}},
        {"below a level pair", {0, 0}, {10, 0}, {5, 8}, 3, 10, 8, {0, 2}, {10, 2}, {5, 10}},
        {"on a level pair", {0, 0}, {10, 0}, {5, 0}, 3, 10, 0, {0, 2}, {10, 2}, {5, 2}},
        {"left of a plumb pair", {0, 0}, {0, 10}, {-4, 5}, 2, 10, 4, {-2, 0}, {-2, 10}, {-6, 5}},
        {"right of a plumb pair", {0, 0}, {0, 10}, {4, 5}, 4, 10, 4, {2, 0}, {2, 10}, {6, 5}},
        {"below an oblique pair", {0, 0}, {10, 10}, {0, 10}, 5, 10 * g, std::sqrt(50.0), {-g, g}, {10 - g, 10 + g},
         {5 - g - 5, 5 + g + 5}},
        {"above an oblique pair", {0, 0}, {10, 10}, {10, 0}, 6, 10 * g, std::sqrt(50.0), {g, -g}, {10 + g, 10 - g},
         {5 + g + 5, 5 - g - 5}},
    };
    for (const auto& c : cases) {
        CDbPoint a = c.a, b = c.b, mid;
        int side = 0;
        double length = 0, distance = 0;
        CKovUnit::OffsetSegment(a, b, c.pointer.x, c.pointer.y, mid, side, length, distance, 2);
        EXPECT_EQ(side, c.side) << c.name;
        EXPECT_NEAR(length, c.length, 1e-12) << c.name;
        EXPECT_NEAR(distance, c.distance, 1e-9) << c.name;
        EXPECT_TRUE(near(a, c.movedA)) << c.name;
        EXPECT_TRUE(near(b, c.movedB)) << c.name;
        EXPECT_TRUE(near(mid, c.mid)) << c.name;
    }
}
