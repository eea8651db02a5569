#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kov::test;

namespace {

struct Outline {
    CDbPointArray starts, ends;
    explicit Outline(const CDbPointArray& points)
    {
        for (std::size_t i = 0; i < points.size(); ++i) {
            starts.push_back(points[i]);
            ends.push_back(points[(i + 1) % points.size()]);
        }
    }
};

const CDbPointArray kSquare = {{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}};

std::vector<CKovLine*> madeLines(CKovUnit& unit, const SelectionRecord& s)
{
    std::vector<CKovLine*> out;
    for (int id : s.m_Lines)
        out.push_back(unit.FindLine(id));
    return out;
}

TEST(HatchLines, ElevenLinesInASquareEdgesIncluded)
{
    CKovUnit unit;
    CPlotInfo plot;
    plot.PlotColor[0] = 0x0000FF;
    plot.PlotLineType[0] = 2;
    SelectionRecord s;
    const Outline o(kSquare);
    unit.MakeHatchLines(s, plot, o.starts, o.ends, 3, 4, 0.0, 0.0, 100.0, 0.0, 0.0, 1, 0);
    const auto lines = madeLines(unit, s);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(s.m_nCount, 11);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        const CKovLine& l = *lines[i];
        ASSERT_EQ(l.MLinePnt.size(), 2u);
        EXPECT_DOUBLE_EQ(l.MLinePnt[0].y, 100.0 * double(i));
        EXPECT_DOUBLE_EQ(std::fabs(l.MLinePnt[1].x - l.MLinePnt[0].x), 1000.0);
        EXPECT_EQ(l.MLineColor, 0x0000FFu);
        EXPECT_EQ(l.MLineLineT, 2);
        EXPECT_EQ(l.MLineLayer1, 3);
        EXPECT_EQ(l.MLineLayer2, 4);
    }
}

TEST(HatchLines, AnglesConcaveOutlinesAndLimits)
{
    CPlotInfo plot;
    {
        SCOPED_TRACE("a spacing of 0 makes nothing");
        CKovUnit unit;
        SelectionRecord s;
        const Outline o(kSquare);
        unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 0.0, 0.0, 0.0, 0.0, 0.0, 1, 0);
        EXPECT_EQ(s.m_nCount, 0);
    }
    {
        SCOPED_TRACE("45 degrees: lines about 50 apart across them");
        CKovUnit unit;
        SelectionRecord s;
        const Outline o(kSquare);
        unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 45.0, 0.0, 100.0, 0.0, 0.0, 1, 0);
        auto lines = madeLines(unit, s);
        ASSERT_GE(lines.size(), 20u);
        // Each line runs up to the right: y = -x + k, so x + y is constant along it.
        std::vector<double> ks;
        for (const CKovLine* l : lines) {
            EXPECT_NEAR(l->MLinePnt[0].x + l->MLinePnt[0].y, l->MLinePnt[1].x + l->MLinePnt[1].y, 1e-6);
            ks.push_back(l->MLinePnt[0].x + l->MLinePnt[0].y);
        }
        std::sort(ks.begin(), ks.end());
        EXPECT_NEAR((ks[1] - ks[0]) / std::sqrt(2.0), 50.0, 0.01);
    }
    {
        SCOPED_TRACE("a concave outline: one segment per inside span");
        CKovUnit unit;
        SelectionRecord s;
        // A U: two prongs from y = 0 to 600 joined below y = 600.
        const Outline o({{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}, {700, 0}, {700, 600}, {300, 600}, {300, 0}});
        unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 0.0, 0.0, 100.0, 0.0, 0.0, 1, 0);
        int atY300 = 0;
        for (const CKovLine* l : madeLines(unit, s))
            atY300 += l->MLinePnt[0].y == 300.0 ? 1 : 0;
        EXPECT_EQ(atY300, 2);
        for (const CKovLine* l : madeLines(unit, s)) {
            if (l->MLinePnt[0].y == 800.0) {
                EXPECT_DOUBLE_EQ(std::fabs(l->MLinePnt[1].x - l->MLinePnt[0].x), 1000.0);
            }
        }
    }
    {
        SCOPED_TRACE("the scan lines are capped");
        CKovUnit unit;
        SelectionRecord s;
        const Outline o(kSquare);
        unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 0.0, 0.0, 0.5, 0.0, 0.0, 1, 0);
        // 1025 scan lines, the first of which (at minY - e) meets nothing.
        EXPECT_EQ(s.m_nCount, 1024);
    }
}

TEST(HatchLines, FloorJointsRunBetweenTheFirstPassLines)
{
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord s;
    const Outline o(kSquare);
    unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 0.0, 0.0, 250.0, 0.0, 0.0, 1, 0);
    const int boards = s.m_nCount;
    unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 90.0, 0.0, 250.0, 0.0, 0.0, 1, 5);
    ASSERT_GT(s.m_nCount, boards);
    for (std::size_t i = static_cast<std::size_t>(boards); i < s.m_Lines.size(); ++i) {
        const CKovLine& joint = *unit.FindLine(s.m_Lines[i]);
        // Vertical pieces, each one board high.
        EXPECT_DOUBLE_EQ(joint.MLinePnt[0].x, joint.MLinePnt[1].x);
        EXPECT_DOUBLE_EQ(std::fabs(joint.MLinePnt[1].y - joint.MLinePnt[0].y), 250.0);
    }
}

TEST(HatchLines, JointsWithoutAPositiveSpacingEnd)
{
    // Brick and floor joints walk their cells by the spacing: one of zero or less must end the
    // pass with no joints (it used to walk for ever).
    for (const double spacing : {-100.0, 0.0}) {
        for (const int kind : {4, 5}) {
            SCOPED_TRACE(testing::Message() << "spacing " << spacing << ", kind " << kind);
            CKovUnit unit;
            CPlotInfo plot;
            SelectionRecord s;
            const Outline o(kSquare);
            unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 0.0, 0.0, 250.0, 0.0, 0.0, 1, 0);
            const int boards = s.m_nCount;
            unit.MakeHatchLines(s, plot, o.starts, o.ends, 0, 0, 90.0, 0.0, spacing, 0.0, 0.0, 1, kind);
            EXPECT_EQ(s.m_nCount, boards);
        }
    }
}

TEST(HatchToLines, PatternsBecomeGroupsOfLines)
{
    const DeviceTransform t = pixelTransform(1.0, 1.0);
    CPlotInfo defaults;
    {
        SCOPED_TRACE("a circle");
        CKovUnit unit;
        CKovLine& c = addFigure(unit, 1, CKovLine::CIRCLE, {{0, 0}}, {100});
        c.MLinebHach = 1;
        c.MLinePattern = 3;
        SelectionRecord s;
        EXPECT_EQ(unit.HatchToLines(1, s, t, 100.0, defaults), -1);
        EXPECT_EQ(c.MLinebHach, 0);
        EXPECT_EQ(c.MLinePattern, 0);
    }
    {
        SCOPED_TRACE("a grid in a rectangle");
        CKovUnit unit;
        CKovLine& r = addFigure(unit, 1, CKovLine::RECTANGLE, kSquare);
        r.MLinebHach = 1;
        r.MLineHachT = 4;
        r.MLinebNakanuri = 1;
        r.MLineColor = 0x00FF00;
        SelectionRecord s;
        const int group = unit.HatchToLines(1, s, t, 100.0, defaults);
        ASSERT_GT(group, 0);
        EXPECT_EQ(s.m_Groups, std::vector<int>{group});
        const CKovGroup& g = *unit.FindGroup(group);
        EXPECT_EQ(g.MGrpLineID.size(), 22u);
        EXPECT_EQ(unit.FindLine(g.MGrpLineID[0])->MLineColor, 0x00FF00u);
        EXPECT_EQ(r.MLinebHach, 0);
        EXPECT_EQ(r.MLinebNakanuri, 1);
    }
    {
        SCOPED_TRACE("floor joints are no figure pattern");
        CKovUnit unit;
        CKovLine& p = addFigure(unit, 1, CKovLine::POLYGON, kSquare);
        p.MLinebHach = 1;
        p.MLineHachT = 100;
        SelectionRecord s;
        EXPECT_EQ(unit.HatchToLines(1, s, t, 100.0, defaults), -1);
        EXPECT_EQ(p.MLinebHach, 0);
        EXPECT_EQ(unit.m_Lines.GetSize(), 1);
    }
    {
        SCOPED_TRACE("every figure of the drawing");
        CKovUnit unit;
        for (int id : {1, 2}) {
            CKovLine& p = addFigure(unit, id, CKovLine::POLYGON, kSquare);
            p.MLinebHach = 1;
            p.MLineHachT = 0;
            p.MLinePattern = 2;
        }
        SelectionRecord s;
        s.AddLineId(1);
        unit.AllHatchesToLines(s, t, 100.0, defaults);
        EXPECT_EQ(s.m_Groups.size(), 2u);
        EXPECT_EQ(s.m_nCount, 2);
        EXPECT_TRUE(s.m_Lines.empty());
        for (const auto& f : unit.m_Lines) {
            EXPECT_NE(f->MLinebHach, 1);
            EXPECT_EQ(f->MLinePattern, 0);
        }
    }
}

} // namespace
