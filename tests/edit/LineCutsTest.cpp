#include "LineEditRig.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

struct CutRig : LineEditRig {
    int partial(CDbPoint p)
    {
        const DevicePoint d = dev(p);
        const int r = unit.CutLinePart(sel, plot, t, d.x, d.y, points, p);
        if (r && points.empty())
            points.push_back(p);
        else if (r)
            points.clear();
        return r;
    }
    int split(CDbPoint p)
    {
        const DevicePoint d = dev(p);
        return unit.SplitLineAtPoint(plot, t, d.x, d.y, p);
    }
    // The straight lines in array order.
    std::vector<CDbPointArray> lines() const
    {
        std::vector<CDbPointArray> out;
        for (const auto& f : unit.m_Lines) out.push_back(f->MLinePnt);
        return out;
    }
};

TEST(PartialCut, TheStretchBetweenTheClicksGoes)
{
    struct Case {
        const char* name;
        double first, second;
        std::vector<CDbPointArray> expected; // in array order: a copy sits before its line
    };
    const Case cases[] = {
        {"inside", 30, 60, {{{60, 0}, {100, 0}}, {{0, 0}, {30, 0}}}},
        {"back toward point 0", 60, 30, {{{60, 0}, {100, 0}}, {{0, 0}, {30, 0}}}},
        {"past the far end", 30, 110, {{{0, 0}, {30, 0}}}},
        {"past point 0", 30, -10, {{{30, 0}, {100, 0}}}},
        {"the same point twice: split there", 40, 40, {{{40, 0}, {100, 0}}, {{0, 0}, {40, 0}}}},
        // The piece left at the start would be 0.0005 long: it goes.
        {"a piece of no length goes", 0.0005, 50, {{{50, 0}, {100, 0}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CutRig r;
        r.t = pixelTransform(10.0);
        const int id = r.line({{0, 0}, {100, 0}});
        ASSERT_EQ(r.partial({c.first, 0.5}), 1);
        EXPECT_EQ(r.points, (CDbPointArray{{c.first, 0}})); // the click moved onto the line
        EXPECT_EQ(r.sel.m_Lines, std::vector<int>{id});
        ASSERT_EQ(r.partial({c.second, 0}), 1);
        EXPECT_EQ(r.lines(), c.expected);
        EXPECT_EQ(r.sel.m_nCount, static_cast<int>(r.sel.m_Lines.size()));
    }
}

TEST(PartialCut, RefusedClicks)
{
    CutRig r;
    r.line({{0, 0}, {100, 0}});
    addFigure(r.unit, 9, CKovLine::LINE, {{0, 50}, {100, 50}}, {}, 0, 0, 1); // another layer
    addFigure(r.unit, 10, CKovLine::RECTANGLE, {{0, 200}, {0, 300}, {100, 300}, {100, 200}});
    EXPECT_EQ(r.partial({50, 50}), 0);
    EXPECT_EQ(r.partial({50, 200}), 0);
    // Past the line's end, within the pick's reach: the foot is off the line.
    EXPECT_EQ(r.partial({104, 0}), 0);
    ASSERT_EQ(r.partial({50, 0}), 1);
    // A second click on an end of the line cuts nothing.
    EXPECT_EQ(r.partial({100, 0}), 0);
    EXPECT_EQ(r.lines().size(), 3u);
}

TEST(SplitLine, EveryFigureUnderTheClickIsCut)
{
    CutRig r;
    const int level = r.line({{0, 0}, {200, 0}});
    const int plumb = r.line({{100, -100}, {100, 100}});
    // A circle through the crossing: its rim passes (100, 0).
    const int circle = r.line({{100, 50}}, CKovLine::CIRCLE, {50});
    CDbPoint click{101, 1};
    const DevicePoint d = r.dev(click);
    ASSERT_EQ(r.unit.SplitLineAtPoint(r.plot, r.t, d.x, d.y, click), 1);
    // Both crossing lines are cut at their feet of the click; the copies sit before them.
    ASSERT_EQ(r.unit.m_Lines.GetSize(), 5);
    EXPECT_EQ(r.line(level)->MLinePnt, (CDbPointArray{{0, 0}, {101, 0}}));
    EXPECT_EQ(r.view().m_Lines[0]->MLinePnt, (CDbPointArray{{101, 0}, {200, 0}}));
    EXPECT_EQ(r.line(plumb)->MLinePnt, (CDbPointArray{{100, -100}, {100, 1}}));
    EXPECT_EQ(r.view().m_Lines[2]->MLinePnt, (CDbPointArray{{100, 1}, {100, 100}}));
    // The circle becomes a whole arc from the cut round to it.
    const CKovLine& c = *r.line(circle);
    EXPECT_EQ(c.MLineType, CKovLine::ARC);
    EXPECT_EQ(c.MLinePnt[1], c.MLinePnt[2]);
    EXPECT_NEAR(dist(c.MLinePnt[1], {100, 50}), 50, 1e-9);
    EXPECT_EQ(click, CDbPoint(101, 0));
}

TEST(SplitLine, ContinuousLinesArcsAndWhatStaysWhole)
{
    CutRig r;
    const int poly = r.line({{0, 0}, {100, 0}, {100, 100}, {200, 100}}, CKovLine::CONTINUOUS);
    // On a vertex: cut there exactly; a two-point part becomes a straight line.
    ASSERT_EQ(r.split({101, 1}), 1);
    EXPECT_EQ(r.line(poly)->MLinePnt, (CDbPointArray{{0, 0}, {100, 0}}));
    EXPECT_EQ(r.line(poly)->MLineType, CKovLine::LINE);
    EXPECT_EQ(r.view().m_Lines[0]->MLinePnt, (CDbPointArray{{100, 0}, {100, 100}, {200, 100}}));
    EXPECT_EQ(r.view().m_Lines[0]->MLineType, CKovLine::CONTINUOUS);
    // On a segment: cut at the foot.
    ASSERT_EQ(r.split({150, 102}), 1);
    EXPECT_EQ(r.view().m_Lines[1]->MLinePnt, (CDbPointArray{{100, 0}, {100, 100}, {150, 100}}));
    EXPECT_EQ(r.view().m_Lines[0]->MLinePnt, (CDbPointArray{{150, 100}, {200, 100}}));
    EXPECT_EQ(r.view().m_Lines[0]->MLineType, CKovLine::LINE);

    CutRig a;
    const int arc = a.line({{0, 0}, {100, 0}, {-100, 0}}, CKovLine::ARC, {100}); // the upper half
    ASSERT_EQ(a.split({0, -98}), 1);
    EXPECT_EQ(a.line(arc)->MLinePnt, (CDbPointArray{{0, 0}, {100, 0}, {0, -100}}));
    EXPECT_EQ(a.view().m_Lines[0]->MLinePnt, (CDbPointArray{{0, 0}, {0, -100}, {-100, 0}}));

    // Ellipses, grouped figures and other layers stay whole.
    CutRig whole;
    whole.line({{0, 0}}, CKovLine::CIRCLE, {100, 0.5});
    addFigure(whole.unit, 7, CKovLine::LINE, {{300, -50}, {300, 50}}, {}, 9);
    addGroup(whole.unit, 9, {7});
    addFigure(whole.unit, 8, CKovLine::LINE, {{500, -50}, {500, 50}}, {}, 0, 0, 3);
    const auto before = whole.figures();
    EXPECT_EQ(whole.split({100, 0}), 0);
    EXPECT_EQ(whole.split({300, 0}), 0);
    EXPECT_EQ(whole.split({500, 0}), 0);
    EXPECT_EQ(whole.figures(), before);
}

TEST(EraseLine, OnlyUngroupedFiguresOfTheCurrentLayer)
{
    LineEditRig r;
    const int line = r.line({{0, 0}, {100, 0}});
    const int circle = r.line({{300, 0}}, CKovLine::CIRCLE, {50});
    addFigure(r.unit, 7, CKovLine::LINE, {{0, 100}, {100, 100}}, {}, 9);
    addGroup(r.unit, 9, {7});
    addFigure(r.unit, 8, CKovLine::LINE, {{0, 200}, {100, 200}}, {}, 0, 0, 2);
    for (CDbPoint p : {CDbPoint{50, 100}, CDbPoint{50, 200}, CDbPoint{50, 0}, CDbPoint{350, 0}}) {
        const DevicePoint d = r.dev(p);
        r.unit.EraseLineAtPoint(r.plot, r.t, d.x, d.y, p);
    }
    EXPECT_EQ(r.line(line), nullptr);
    EXPECT_EQ(r.line(circle), nullptr);
    EXPECT_NE(r.line(7), nullptr);
    EXPECT_NE(r.line(8), nullptr);
}

struct JoinRig : LineEditRig {
    int join(CDbPoint p)
    {
        const DevicePoint d = dev(p);
        return unit.JoinLines(sel, plot, p, d.x, d.y, t);
    }
};

TEST(JoinLines, ChainsClosedAndOpen)
{
    struct Case {
        const char* name;
        std::vector<CDbPointArray> lines;
        int kind;
        CDbPointArray expected;
    };
    const Case cases[] = {
        {"a rectangle closes",
         {{{0, 0}, {100, 0}}, {{100, 0}, {100, 80}}, {{0, 80}, {100, 80}}, {{0, 0}, {0, 80}}},
         CKovLine::POLYGON,
         {{100, 0}, {0, 0}, {0, 80}, {100, 80}, {100, 0}}},
        {"corners within 0.1 stay open",
         {{{0, 0}, {100, 0}}, {{100.05, 0}, {100, 80}}, {{0, 80}, {100, 80}}, {{0, 0.05}, {0, 80}}},
         CKovLine::CONTINUOUS,
         {{100, 0}, {0, 0}, {0, 80}, {100, 80}, {100.05, 0}}},
        {"both ways from the clicked line",
         {{{0, 0}, {100, 0}}, {{-100, 0}, {0, 0}}, {{100, 0}, {200, 50}}},
         CKovLine::CONTINUOUS,
         {{200, 50}, {100, 0}, {0, 0}, {-100, 0}}},
        {"a branch stops the chain at that end",
         {{{0, 0}, {100, 0}}, {{100, 0}, {200, 0}}, {{100, 0}, {100, 100}}, {{-100, 0}, {0, 0}}},
         CKovLine::CONTINUOUS,
         {{100, 0}, {0, 0}, {-100, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JoinRig r;
        for (const CDbPointArray& l : c.lines) r.line(l);
        const int before = r.unit.m_Lines.GetSize();
        ASSERT_EQ(r.join({50, 0}), 1);
        ASSERT_EQ(r.sel.m_Lines.size(), 1u);
        const CKovLine& joined = *r.line(r.sel.m_Lines[0]);
        EXPECT_EQ(joined.MLineType, c.kind);
        EXPECT_EQ(joined.MLinePnt, c.expected);
        EXPECT_EQ(r.unit.m_Lines.GetSize(), before - static_cast<int>(c.expected.size()) + 2);
    }
}

TEST(JoinLines, NothingToJoin)
{
    JoinRig r;
    r.line({{0, 0}, {100, 0}});
    r.line({{0, 100}}, CKovLine::CIRCLE, {20});
    EXPECT_EQ(r.join({50, 0}), -1);
    EXPECT_EQ(r.join({20, 100}), 0);
    EXPECT_EQ(r.join({50, 500}), 0);
    EXPECT_EQ(r.unit.m_Lines.GetSize(), 2);
}

} // namespace
