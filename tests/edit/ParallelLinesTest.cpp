#include "LineEditRig.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kov::test;

namespace {

struct ParallelRig : LineEditRig {
    int parallel(CDbPoint p, double d)
    {
        const DevicePoint dv = dev(p);
        const int r = unit.MakeParallelLine(sel, plot, points, p.x, p.y, dv.x, dv.y, t, d);
        if (r == 1)
            points.push_back(p);
        if (r == 2)
            points.clear();
        return r;
    }
    int twoLines(CDbPoint p, double left, double right)
    {
        const DevicePoint dv = dev(p);
        const int r = unit.MakeDoubleLine(sel, plot, points, p, dv.x, dv.y, t, {left, right});
        if (r == 1 || r == 2)
            points.push_back(p);
        if (r == 3)
            points.clear();
        return r;
    }
    const CKovLine& last(int back = 0) const { return *view().m_Lines[view().m_Lines.GetSize() - 1 - back]; }
};

TEST(ParallelLine, OnTheClickedSideAtTheDistance)
{
    struct Case {
        const char* name;
        CDbPoint p0, p1, side;
        CDbPoint e0, e1;
    };
    const double h = 50 / std::sqrt(2.0);
    const Case cases[] = {
        {"level, below", {0, 0}, {100, 0}, {50, 20}, {0, 50}, {100, 50}},
        {"level, above", {0, 0}, {100, 0}, {50, -20}, {0, -50}, {100, -50}},
        {"plumb, right", {0, 0}, {0, 100}, {20, 50}, {50, 0}, {50, 100}},
        {"plumb, left", {0, 0}, {0, 100}, {-20, 50}, {-50, 0}, {-50, 100}},
        {"oblique, below", {0, 0}, {100, 100}, {80, 20}, {h, -h}, {100 + h, 100 - h}},
        {"oblique, above", {0, 0}, {100, 100}, {20, 80}, {-h, h}, {100 - h, 100 + h}},
        {"falling oblique", {0, 100}, {100, 0}, {80, 80}, {h, 100 + h}, {100 + h, h}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParallelRig r;
        const int ref = r.line({c.p0, c.p1});
        ASSERT_EQ(r.parallel({(c.p0.x + c.p1.x) / 2, (c.p0.y + c.p1.y) / 2}, 50), 1);
        EXPECT_EQ(r.sel.m_Lines, std::vector<int>{ref});
        ASSERT_EQ(r.parallel(c.side, 50), 2);
        EXPECT_TRUE(r.sel.IsEmpty());
        EXPECT_POINT(r.last().MLinePnt[0], c.e0.x, c.e0.y);
        EXPECT_POINT(r.last().MLinePnt[1], c.e1.x, c.e1.y);
        EXPECT_EQ(r.line(ref)->MLinePnt, (CDbPointArray{c.p0, c.p1}));
    }
}

TEST(ParallelLine, ReferencesOfEveryLayerButNotOfGroups)
{
    ParallelRig r;
    addFigure(r.unit, 1, CKovLine::LINE, {{0, 0}, {100, 0}}, {}, 0, 3, 5);
    addFigure(r.unit, 2, CKovLine::LINE, {{0, 100}, {100, 100}}, {}, 9);
    addGroup(r.unit, 9, {2});
    r.unit.MUnitLineID = 2;
    r.plot.m_Layer.m_nCurrentGroup = 1;
    r.plot.m_Layer.m_nCurrentLayer = 2;
    EXPECT_EQ(r.parallel({50, 100}, 30), 0);
    ASSERT_EQ(r.parallel({50, 0}, 30), 1);
    ASSERT_EQ(r.parallel({50, 10}, 30), 2);
    EXPECT_EQ(r.last().MLineLayer1, 1);
    EXPECT_EQ(r.last().MLineLayer2, 2);
    // The reference gone between the clicks.
    ASSERT_EQ(r.parallel({50, 0}, 30), 1);
    r.unit.DeleteLine(1);
    EXPECT_EQ(r.parallel({50, 10}, 30), -1);
}

TEST(TwoLines, LeftAndRightOfTheWayFromStartToEnd)
{
    struct Case {
        const char* name;
        CDbPoint p0, p1;
        CDbPoint start, end;
        CDbPointArray first, second;
    };
    const Case cases[] = {
        {"level, going right", {-100, 0}, {300, 0}, {0, 3}, {200, -3}, {{0, -50}, {200, -50}}, {{0, 100}, {200, 100}}},
        {"level, going left", {-100, 0}, {300, 0}, {200, 3}, {0, 3}, {{200, -100}, {0, -100}}, {{200, 50}, {0, 50}}},
        {"plumb, going up", {0, -100}, {0, 300}, {3, 200}, {3, 0}, {{-50, 200}, {-50, 0}}, {{100, 200}, {100, 0}}},
        {"plumb, going down", {0, -100}, {0, 300}, {3, 0}, {3, 200}, {{-100, 0}, {-100, 200}}, {{50, 0}, {50, 200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParallelRig r;
        r.line({c.p0, c.p1});
        ASSERT_EQ(r.twoLines({(c.p0.x + c.p1.x) / 2, (c.p0.y + c.p1.y) / 2}, 50, 100), 1);
        ASSERT_EQ(r.twoLines(c.start, 50, 100), 2);
        // The start moved onto the reference.
        EXPECT_EQ(r.points.back(), c.p0.y == c.p1.y ? CDbPoint(c.start.x, c.p0.y) : CDbPoint(c.p0.x, c.start.y));
        ASSERT_EQ(r.twoLines(c.end, 50, 100), 3);
        EXPECT_EQ(r.last(1).MLinePnt, c.first);
        EXPECT_EQ(r.last(0).MLinePnt, c.second);
    }

    // Oblique: the line on the left of the way lies at the left distance.
    ParallelRig r;
    r.line({{0, 0}, {400, 400}});
    r.twoLines({200, 200}, 50, 100);
    r.twoLines({100, 100}, 50, 100);
    ASSERT_EQ(r.twoLines({300, 300}, 50, 100), 3);
    // Going down-right on the screen, the left side is up-right.
    const CKovLine& a = r.last(1);
    const CKovLine& b = r.last(0);
    auto side = [](const CDbPoint& p) { return (p.x - p.y) / std::sqrt(2.0); }; // + up-right, − down-left
    EXPECT_NEAR(side(a.MLinePnt[0]), -100, 1e-9);
    EXPECT_NEAR(side(b.MLinePnt[0]), 50, 1e-9);
    EXPECT_NEAR(dist(a.MLinePnt[0], a.MLinePnt[1]), dist({100, 100}, {300, 300}), 1e-9);

    // The same position twice draws nothing.
    ParallelRig same;
    same.line({{0, 0}, {300, 0}});
    same.twoLines({150, 0}, 50, 50);
    same.twoLines({100, 2}, 50, 50);
    EXPECT_EQ(same.twoLines({100, -2}, 50, 50), -1);
    EXPECT_EQ(same.unit.m_Lines.GetSize(), 1);
}

TEST(Explode, SidesReplaceThePolylines)
{
    LineEditRig r;
    const int rect = r.line({{0, 0}, {0, 50}, {100, 50}, {100, 0}}, CKovLine::RECTANGLE);
    const int poly = r.line({{0, 100}, {50, 100}, {80, 130}, {40, 160}, {0, 100}}, CKovLine::POLYGON);
    const int cont = r.line({{200, 0}, {250, 0}, {250, 50}, {300, 50}, {300, 100}}, CKovLine::CONTINUOUS);
    const int circle = r.line({{500, 0}}, CKovLine::CIRCLE, {20});
    r.unit.FindLine(rect)->MLineColor = 0x0000FF;
    r.unit.FindLine(rect)->MLineLayer2 = 4;
    addText(r.unit, 3, {0, 0});
    for (int id : {rect, poly, cont, circle}) r.sel.AddLineId(id);
    r.sel.AddTextId(3);
    r.unit.ExplodePolylines(r.sel, r.plot);
    // 4 sides, 5 (the repeated first point gives one of no length) and 4.
    ASSERT_EQ(r.sel.m_Lines.size(), 13u);
    EXPECT_EQ(r.sel.m_nCount, 13);
    EXPECT_TRUE(r.sel.m_Texts.empty());
    EXPECT_EQ(r.line(rect), nullptr);
    EXPECT_EQ(r.line(poly), nullptr);
    EXPECT_EQ(r.line(cont), nullptr);
    EXPECT_NE(r.line(circle), nullptr);
    const CKovLine& first = *r.line(r.sel.m_Lines[0]);
    EXPECT_EQ(first.MLineType, CKovLine::LINE);
    EXPECT_EQ(first.MLinePnt, (CDbPointArray{{0, 0}, {0, 50}}));
    EXPECT_EQ(first.MLineColor, 0x0000FFu);
    EXPECT_EQ(first.MLineLayer2, 4);
    EXPECT_EQ(r.line(r.sel.m_Lines[3])->MLinePnt, (CDbPointArray{{100, 0}, {0, 0}}));
    EXPECT_EQ(r.line(r.sel.m_Lines[8])->MLinePnt, (CDbPointArray{{0, 100}, {0, 100}}));
    EXPECT_EQ(r.line(r.sel.m_Lines[12])->MLinePnt, (CDbPointArray{{300, 50}, {300, 100}}));

    // Nothing selected: nothing changes.
    LineEditRig none;
    none.line({{0, 0}, {0, 50}, {100, 50}, {100, 0}}, CKovLine::RECTANGLE);
    const auto before = none.figures();
    none.unit.ExplodePolylines(none.sel, none.plot);
    EXPECT_EQ(none.figures(), before);
}

} // namespace
