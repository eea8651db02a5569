#include "LineEditRig.h"

#include "edit/LineEditTexts.h"

#include <gtest/gtest.h>

using namespace kov::test;
namespace texts = kov::edit::texts;

namespace {

TEST(ReplaceLineEnd, WhichEndMovesAndWhichPartStays)
{
    struct Case {
        const char* name;
        CDbPoint p0, p1, n, r;
        CDbPoint e0, e1;
    };
    const Case cases[] = {
        {"extends beyond the low end", {0, 0}, {100, 0}, {-20, 0}, {50, 0}, {-20, 0}, {100, 0}},
        {"extends beyond the high end", {0, 0}, {100, 0}, {130, 0}, {50, 0}, {0, 0}, {130, 0}},
        {"reference between low end and n keeps that part", {0, 0}, {100, 0}, {60, 0}, {30, 0}, {0, 0}, {60, 0}},
        {"reference beyond n keeps the part to the high end", {0, 0}, {100, 0}, {60, 0}, {80, 0}, {60, 0}, {100, 0}},
        {"reference outside the low end", {0, 0}, {100, 0}, {60, 0}, {-5, 0}, {60, 0}, {100, 0}},
        {"reference outside the high end", {0, 0}, {100, 0}, {60, 0}, {105, 0}, {60, 0}, {100, 0}},
        {"high end first in the points", {100, 0}, {0, 0}, {60, 0}, {30, 0}, {60, 0}, {0, 0}},
        {"plumb line measures along y", {0, 0}, {0, 100}, {0, 40}, {0, 10}, {0, 0}, {0, 40}},
        {"oblique line measures along y", {0, 0}, {100, 50}, {40, 20}, {20, 10}, {0, 0}, {40, 20}},
        {"almost level (dy 0.05) counts as level", {0, 0}, {100, 0.05}, {40, 0}, {20, 30}, {0, 0}, {40, 0}},
        {"equal coordinates: point 1 is the low end", {0, 0}, {0.05, 0}, {0, -5}, {0, 0}, {0, 0}, {0, -5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovLine line;
        line.MLinePnt = {c.p0, c.p1};
        CKovUnit::ReplaceLineEnd(line, c.n, c.r);
        EXPECT_EQ(line.MLinePnt[0], c.e0);
        EXPECT_EQ(line.MLinePnt[1], c.e1);
    }
}

struct TrimRig : LineEditRig {
    int trim(CDbPoint p)
    {
        const DevicePoint d = dev(p);
        const std::size_t step = points.size();
        const int r = unit.TrimExtendLine(sel, plot, d.x, d.y, points, p, t, tell);
        if ((r == 1 && step == 0) || r == 2)
            points.push_back(p);
        return r;
    }
};

TEST(TrimExtend, TargetsAgainstAReferenceLine)
{
    // Reference: the plumb line x = 100. Targets are level lines at y = 10, clicked at x.
    struct Case {
        const char* name;
        CDbPoint t0, t1;
        double clickX;
        CDbPoint e0, e1;
    };
    const Case cases[] = {
        {"short of the reference: extended", {0, 10}, {50, 10}, 25, {0, 10}, {100, 10}},
        {"crossing, clicked between its low end and the crossing", {0, 10}, {150, 10}, 50, {0, 10}, {100, 10}},
        {"crossing, clicked beyond the crossing", {0, 10}, {150, 10}, 130, {100, 10}, {150, 10}},
        {"beyond the reference on the far side: extended back", {140, 10}, {200, 10}, 170, {100, 10}, {200, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrimRig r;
        const int ref = r.line({{100, -200}, {100, 200}});
        const int target = r.line({c.t0, c.t1});
        ASSERT_EQ(r.trim({100, -150}), 1);
        EXPECT_EQ(r.sel.m_Lines, std::vector<int>{ref});
        EXPECT_EQ(r.trim({c.clickX, 10}), 3);
        EXPECT_EQ(r.line(target)->MLinePnt, (CDbPointArray{c.e0, c.e1}));
        // The reference stays remembered for the next target.
        EXPECT_EQ(r.points.size(), 1u);
        EXPECT_EQ(r.sel.m_Lines, std::vector<int>{ref});
        EXPECT_TRUE(r.said.empty());
    }
}

TEST(TrimExtend, RefusalsSayWhy)
{
    struct Case {
        const char* name;
        int refKind;
        CDbPointArray refPoints;
        std::vector<double> refParams;
        int targetKind;
        CDbPointArray targetPoints;
        std::vector<double> targetParams;
        CDbPoint refClick, targetClick;
        int refResult, targetResult;
        std::string message;
    };
    const Case cases[] = {
        {"an ellipse is no reference", CKovLine::CIRCLE, {{0, 0}}, {100, 0.5}, CKovLine::LINE, {{200, 0}, {300, 0}},
         {}, {100, 0}, {250, 0}, 0, 0, std::string(texts::kEllipseNoReference)},
        {"a rectangle is no reference", CKovLine::RECTANGLE, {{0, 0}, {0, 100}, {100, 100}, {100, 0}}, {},
         CKovLine::LINE, {{200, 0}, {300, 0}}, {}, {0, 50}, {250, 0}, 0, 0, std::string(texts::kReferenceKinds)},
        {"a circle is no target", CKovLine::LINE, {{0, -100}, {0, 100}}, {}, CKovLine::CIRCLE, {{200, 0}}, {50},
         {0, 50}, {250, 0}, 1, -1, std::string(texts::kTargetKinds)},
        {"an elliptic arc is no target", CKovLine::LINE, {{0, -100}, {0, 100}}, {}, CKovLine::ARC,
         {{200, 0}, {250, 0}, {150, 0}}, {50, 0.5}, {0, 50}, {200, -25}, 1, -1,
         std::string(texts::kEllipseNoReference)},
        {"a parallel target", CKovLine::LINE, {{0, -100}, {0, 100}}, {}, CKovLine::LINE, {{50, -100}, {50, 100}}, {},
         {0, 50}, {50, 50}, 1, -1, std::string(texts::kTrimFailed)},
        {"an arc that never meets the line", CKovLine::LINE, {{0, -100}, {0, 100}}, {}, CKovLine::ARC,
         {{300, 0}, {300, -50}, {300, 50}}, {50}, {0, 50}, {250, 0}, 1, -1, std::string(texts::kNoCrossing)},
        {"nothing under the target click", CKovLine::LINE, {{0, -100}, {0, 100}}, {}, CKovLine::LINE,
         {{200, 0}, {300, 0}}, {}, {0, 50}, {250, 400}, 1, -1, std::string(texts::kTargetNotFound)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrimRig r;
        addFigure(r.unit, 1, c.refKind, c.refPoints, c.refParams);
        addFigure(r.unit, 2, c.targetKind, c.targetPoints, c.targetParams);
        r.unit.MUnitLineID = 2;
        const auto before = r.figures();
        EXPECT_EQ(r.trim(c.refClick), c.refResult);
        if (c.refResult == 1) {
            EXPECT_EQ(r.trim(c.targetClick), c.targetResult);
        }
        ASSERT_EQ(r.said.size(), 1u);
        EXPECT_EQ(r.said[0], c.message);
        EXPECT_EQ(r.figures(), before);
    }
}

TEST(TrimExtend, ClickingTheReferenceAsTargetFails)
{
    TrimRig r;
    r.line({{0, 0}, {100, 0}});
    r.trim({50, 0});
    EXPECT_EQ(r.trim({50, 0}), -1);
    EXPECT_EQ(r.said, std::vector<std::string>{std::string(texts::kTrimFailed)});
}

TEST(TrimExtend, ReferenceOnAnyLayerTargetsOnTheCurrentOne)
{
    TrimRig r;
    addFigure(r.unit, 1, CKovLine::LINE, {{100, -200}, {100, 200}}, {}, 0, 0, 3);
    addFigure(r.unit, 2, CKovLine::LINE, {{0, 10}, {50, 10}}, {}, 0, 0, 4);
    addFigure(r.unit, 3, CKovLine::LINE, {{0, 30}, {50, 30}});
    r.unit.MUnitLineID = 3;
    // Layer 3 hidden: still a reference.
    r.plot.m_Layer.m_LayerInfo[0][3].m_nType = CLayerInfo::LAYER_HIDDEN;
    ASSERT_EQ(r.trim({100, 0}), 1);
    EXPECT_EQ(r.trim({25, 10}), -1);
    EXPECT_EQ(r.said, std::vector<std::string>{std::string(texts::kTargetNotFound)});
    EXPECT_EQ(r.trim({25, 30}), 3);
    EXPECT_EQ(r.line(3)->MLinePnt[1], CDbPoint(100, 30));
}

TEST(TrimExtend, CircleReferenceWithTwoCrossingsWaitsForTheThirdClick)
{
    TrimRig r;
    const int circle = r.line({{0, 0}}, CKovLine::CIRCLE, {100});
    const int target = r.line({{-300, 0}, {-200, 0}});
    const int other = r.line({{-300, 40}, {-250, 40}});
    ASSERT_EQ(r.trim({100, 0}), 1);
    EXPECT_EQ(r.trim({-250, 0}), 2);
    EXPECT_EQ(r.sel.m_Lines, (std::vector<int>{circle, target}));
    // Near the far crossing: the end nearer the target click moves there.
    EXPECT_EQ(r.trim({90, 5}), 3);
    EXPECT_EQ(r.line(target)->MLinePnt, (CDbPointArray{{-300, 0}, {100, 0}}));
    EXPECT_EQ(r.sel.m_Lines, std::vector<int>{circle});
    EXPECT_EQ(r.sel.m_nCount, 1);
    EXPECT_EQ(r.points.size(), 1u);
    // The reference is still there for the next target.
    EXPECT_EQ(r.trim({-255, 40}), 2);
    EXPECT_EQ(r.trim({-95, 40}), 3);
    EXPECT_POINT(r.line(other)->MLinePnt[1], -std::sqrt(100.0 * 100 - 40 * 40), 40);
}

TEST(TrimExtend, TouchingLineIsChangedAtOnce)
{
    TrimRig r;
    r.line({{0, 0}}, CKovLine::CIRCLE, {100});
    const int target = r.line({{-300, 100}, {-50, 100}});
    r.trim({100, 0});
    EXPECT_EQ(r.trim({-200, 100}), 3);
    EXPECT_EQ(r.line(target)->MLinePnt, (CDbPointArray{{-300, 100}, {0, 100}}));
}

TEST(TrimExtend, ArcsAsReferenceAndAsTarget)
{
    // Reference arc: the upper half of the circle r = 100 about the origin (from 0° to 180°).
    TrimRig r;
    r.line({{0, 0}, {100, 0}, {-100, 0}}, CKovLine::ARC, {100});
    // A plumb line crossing the circle twice, once on the arc: cut there at once.
    const int plumb = r.line({{50, -300}, {50, -200}});
    ASSERT_EQ(r.trim({0, -100}), 1);
    EXPECT_EQ(r.trim({50, -250}), 3);
    EXPECT_POINT(r.line(plumb)->MLinePnt[1], 50, -std::sqrt(100.0 * 100 - 50 * 50));
    // A level line below the centre meets the circle only off the arc.
    const int below = r.line({{150, 50}, {200, 50}});
    EXPECT_EQ(r.trim({175, 50}), -1);
    EXPECT_EQ(r.said.back(), texts::kNoCrossing);
    EXPECT_EQ(r.line(below)->MLinePnt, (CDbPointArray{{150, 50}, {200, 50}}));

    // Target arc against a reference line: the arc's end nearer the click moves to the crossing.
    TrimRig a;
    a.line({{-200, -50}, {200, -50}});
    const int arc = a.line({{0, 0}, {100, 0}, {0, -100}}, CKovLine::ARC, {100}); // 0° to 90°
    a.trim({-150, -50});
    ASSERT_EQ(a.trim({100, 0}), 2); // the line crosses the circle twice
    EXPECT_EQ(a.trim({90, -45}), 3);
    EXPECT_POINT(a.line(arc)->MLinePnt[1], std::sqrt(100.0 * 100 - 50 * 50), -50);
    EXPECT_EQ(a.line(arc)->MLinePnt[2], CDbPoint(0, -100));
}

TEST(TrimExtend, VanishedFiguresAreReported)
{
    TrimRig r;
    const int ref = r.line({{100, -200}, {100, 200}});
    r.line({{0, 10}, {50, 10}});
    r.trim({100, 0});
    r.unit.DeleteLine(ref);
    EXPECT_EQ(r.trim({25, 10}), 1); // the tool starts over
}

} // namespace
