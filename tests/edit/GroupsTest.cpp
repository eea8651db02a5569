#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kov::test;

namespace {

void expectBox(const CKovGroup& g, CDbPoint min, CDbPoint max)
{
    EXPECT_DOUBLE_EQ(g.MGrpmin.x, min.x);
    EXPECT_DOUBLE_EQ(g.MGrpmin.y, min.y);
    EXPECT_DOUBLE_EQ(g.MGrpmax.x, max.x);
    EXPECT_DOUBLE_EQ(g.MGrpmax.y, max.y);
}

TEST(GroupBounds, CorePointsFigurePointsCircleSquaresAndTextAnchors)
{
    {
        SCOPED_TRACE("a wall counts by its core, not its thickness");
        CKovUnit unit;
        addWall(unit, 1, {0, 0}, {1000, 0});
        expectBox(addGroup(unit, 1, {}, {1}), {0, 0}, {1000, 0});
    }
    {
        SCOPED_TRACE("a circle adds its square; a text its anchor");
        CKovUnit unit;
        addFigure(unit, 1, CKovLine::CIRCLE, {{500, 500}}, {200});
        addText(unit, 2, {0, 0});
        expectBox(addGroup(unit, 1, {1}, {}, {2}), {0, 0}, {700, 700});
    }
    {
        SCOPED_TRACE("an ellipse adds the square of its half width only");
        CKovUnit unit;
        addFigure(unit, 1, CKovLine::CIRCLE, {{0, 0}}, {100, 2});
        expectBox(addGroup(unit, 1, {1}), {-100, -100}, {100, 100});
    }
    {
        SCOPED_TRACE("members that are gone");
        CKovUnit unit;
        CKovGroup& g = addGroup(unit, 1, {5}, {6}, {7});
        g.MGrpmin = {3, 3};
        unit.UpdateGroupBounds(g);
        expectBox(g, {0, 0}, {0, 0});
    }
}

TEST(GroupFlips, MirrorInsideTheBoxAndBack)
{
    CKovUnit unit;
    addFigure(unit, 1, CKovLine::LINE, {{0, 0}, {100, 50}});
    addFigure(unit, 2, CKovLine::LINE, {{10, 10}, {10, 10}});
    // A column: both core ends at its centre, its own square corners.
    CKovWall& column = addWall(unit, 3, {0, 0}, {1, 0});
    column.MWallPntA = column.MWallPntB = {20, 20};
    column.MWall_Type = CKovWall::COLUMN;
    CKovUnit::ComputeWallCorners(column.MWallPntKado, column.MWallPntA, column.MWallPntB, 10, 0);
    addFigure(unit, 4, CKovLine::ARC, {{50, 25}, {60, 25}, {40, 25}}, {10});
    CKovGroup& g = addGroup(unit, 9, {1, 2, 4}, {3});
    expectBox(g, {0, 0}, {100, 50});

    unit.FlipGroupVertical(9);
    EXPECT_EQ(unit.FindLine(2)->MLinePnt[0], CDbPoint(10, 40));
    EXPECT_DOUBLE_EQ(g.MGrpKakudo, 180.0);
    EXPECT_EQ(column.MWallPntA, CDbPoint(20, 30));
    std::vector<std::pair<double, double>> corners;
    for (const CDbPoint& c : column.MWallPntKado)
        corners.emplace_back(c.x, c.y);
    std::sort(corners.begin(), corners.end());
    EXPECT_EQ(corners, (std::vector<std::pair<double, double>>{{10, 20}, {10, 40}, {30, 20}, {30, 40}}));
    EXPECT_EQ(column.MWallarPntA[0], column.MWallPntKado[0]); // its outline goes with it
    // The arc keeps its side: start and end change places.
    EXPECT_EQ(unit.FindLine(4)->MLinePnt[1], CDbPoint(40, 25));
    EXPECT_EQ(unit.FindLine(4)->MLinePnt[2], CDbPoint(60, 25));

    unit.FlipGroupVertical(9);
    EXPECT_EQ(unit.FindLine(2)->MLinePnt[0], CDbPoint(10, 10));
    EXPECT_DOUBLE_EQ(g.MGrpKakudo, 0.0);

    unit.FlipGroupHorizontal(9);
    EXPECT_EQ(unit.FindLine(2)->MLinePnt[0], CDbPoint(90, 10));
    EXPECT_EQ(unit.MoveGroup(77, 1, 1), -1);
}

TEST(GroupExtraction, BoxStartsAtTheOriginWithSourceIdentifiers)
{
    CKovUnit source;
    addFigure(source, 11, CKovLine::LINE, {{300, 400}, {500, 450}}, {}, 4);
    addText(source, 12, {400, 420}, "t", 4);
    addGroup(source, 4, {11}, {}, {12});
    SelectionRecord s;
    s.AddGroupId(4);
    CKovUnit scratch;
    scratch.ExtractSelectedGroup(s, source);
    ASSERT_EQ(scratch.m_Groups.GetSize(), 1);
    expectBox(*scratch.m_Groups[0], {0, 0}, {200, 50});
    EXPECT_EQ(scratch.FindLine(11)->MLinePnt[1], CDbPoint(200, 50));
    EXPECT_EQ(scratch.FindText(12)->MTextpnt, CDbPoint(100, 20));
    EXPECT_EQ(source.FindLine(11)->MLinePnt[0], CDbPoint(300, 400));
}

TEST(Grouping, DimensionLinesStayOutAndTheGroupIsSelected)
{
    CPlotInfo plot;
    plot.m_Layer.m_nCurrentGroup = 2;
    {
        SCOPED_TRACE("only dimension lines: nothing happens");
        CKovUnit unit;
        addFigure(unit, 1, CKovLine::DIMENSION, {{0, 0}, {1, 0}, {0, 1}});
        addFigure(unit, 2, CKovLine::DIMENSION, {{0, 0}, {1, 0}, {0, 1}});
        SelectionRecord s;
        s.AddLineId(1);
        s.AddLineId(2);
        unit.GroupSelection(s, plot);
        EXPECT_EQ(unit.m_Groups.GetSize(), 0);
        EXPECT_EQ(s.m_nCount, 2);
    }
    {
        SCOPED_TRACE("dimension lines and a wall: a group of the wall");
        CKovUnit unit;
        addFigure(unit, 1, CKovLine::DIMENSION, {{0, 0}, {1, 0}, {0, 1}});
        addWall(unit, 3, {0, 0}, {500, 0});
        SelectionRecord s;
        s.AddLineId(1);
        s.AddWallId(3);
        unit.GroupSelection(s, plot);
        ASSERT_EQ(unit.m_Groups.GetSize(), 1);
        const CKovGroup& g = *unit.m_Groups[0];
        EXPECT_EQ(g.MGrpWallID, std::vector<int>{3});
        EXPECT_TRUE(g.MGrpLineID.empty());
        EXPECT_EQ(g.MGrpLayer1, 2);
        EXPECT_EQ(unit.FindLine(1)->MLineGrpID, 0);
        EXPECT_EQ(s.m_Groups, std::vector<int>{g.MGrpID});
        EXPECT_EQ(s.m_nCount, 1);
        EXPECT_TRUE(s.m_Lines.empty());
    }
    {
        SCOPED_TRACE("an empty selection makes an empty group");
        CKovUnit unit;
        SelectionRecord s;
        unit.GroupSelection(s, plot);
        ASSERT_EQ(unit.m_Groups.GetSize(), 1);
        expectBox(*unit.m_Groups[0], {0, 0}, {0, 0});
        EXPECT_EQ(s.m_nCount, 1);
    }
}

TEST(GroupRotation, AnglesAxesTextsAndTheBox)
{
    struct Angles {
        double start, turn, end;
    } angles[] = {{300, 90, 30}, {270, 90, 0}, {0, 270, 270}, {10, 30, 40}};
    for (const Angles& a : angles) {
        CKovUnit unit;
        addFigure(unit, 1, CKovLine::LINE, {{0, 0}, {10, 0}});
        addGroup(unit, 1, {1}).MGrpKakudo = a.start;
        EXPECT_EQ(unit.RotateGroup(unit, a.turn, 1), 0);
        EXPECT_DOUBLE_EQ(unit.FindGroup(1)->MGrpKakudo, a.end);
    }

    CKovUnit source;
    addWall(source, 1, {0, 0}, {1000, 0});
    addFigure(source, 2, CKovLine::CIRCLE, {{0, 0}}, {20, 0.5});
    addText(source, 3, {10.6, -3.7});
    addGroup(source, 5, {2}, {1}, {3});
    {
        SCOPED_TRACE("a quarter turn");
        CKovUnit unit;
        EXPECT_EQ(unit.RotateGroup(source, 90, 5), 0);
        const CKovWall& w = *unit.FindWall(1);
        EXPECT_EQ(w.MWallPntA.x, w.MWallPntB.x); // exactly plumb
        EXPECT_DOUBLE_EQ(std::fabs(w.MWallPntA.y - w.MWallPntB.y), 1000.0);
        const CKovLine& e = *unit.FindLine(2);
        EXPECT_DOUBLE_EQ(e.MLineParam[0], 10.0);
        EXPECT_DOUBLE_EQ(e.MLineParam[1], 2.0);
        expectBox(*unit.FindGroup(5), {0, 0}, unit.FindGroup(5)->MGrpmax);
        EXPECT_EQ(unit.FindText(3)->MTextFontMenu.lfEscapement, 900);
    }
    {
        SCOPED_TRACE("a half turn");
        CKovUnit unit;
        unit.RotateGroup(source, 180, 5);
        const CKovLine& e = *unit.FindLine(2);
        EXPECT_DOUBLE_EQ(e.MLineParam[0], 20.0);
        EXPECT_DOUBLE_EQ(e.MLineParam[1], 0.5);
        // (10.6, -3.7) turned is (-10.6, 3.7), cut to (-10, 3); then the box is moved to the origin.
        const CKovGroup& g = *unit.FindGroup(5);
        EXPECT_EQ(g.MGrpmin, CDbPoint(0, 0));
        // The box reached from the wall's far end (-1000) and the circle's square (-20).
        EXPECT_EQ(unit.FindText(3)->MTextpnt, CDbPoint(990, 23));
        EXPECT_EQ(unit.FindText(3)->MTextFontMenu.lfEscapement, 1800);
    }
    {
        SCOPED_TRACE("turning in place gives what turning a copy gives");
        CKovUnit copied, inPlace;
        copied.RotateGroup(source, 30, 5);
        inPlace.CopyFrom(source);
        inPlace.RotateGroup(inPlace, 30, 5);
        EXPECT_EQ(inPlace.FindWall(1)->MWallPntKado, copied.FindWall(1)->MWallPntKado);
        EXPECT_EQ(inPlace.FindLine(2)->MLinePnt, copied.FindLine(2)->MLinePnt);
        EXPECT_EQ(inPlace.FindText(3)->MTextpnt, copied.FindText(3)->MTextpnt);
        EXPECT_EQ(inPlace.FindGroup(5)->MGrpmax, copied.FindGroup(5)->MGrpmax);
    }
    CKovUnit unit;
    EXPECT_EQ(unit.RotateGroup(source, 90, 77), -1);
    EXPECT_EQ(unit.m_Walls.GetSize(), 1); // made a copy all the same
}

std::vector<int> figureOrder(const CKovUnit& unit)
{
    std::vector<int> ids;
    for (const auto& f : unit.m_Lines)
        ids.push_back(f->MLineID);
    return ids;
}

TEST(DrawingOrder, FiguresAndGroupFiguresToEitherEnd)
{
    // Figures 1..9 in array order; group 20 lists 7, 3, 9 and a figure that is gone (50).
    auto drawing = [] {
        CKovUnit unit;
        for (int id = 1; id <= 9; ++id)
            addFigure(unit, id, CKovLine::LINE, {{0, 0}, {double(id), 0}}, {}, id == 3 || id == 7 || id == 9 ? 20 : 0);
        addGroup(unit, 10, {1});
        addGroup(unit, 20, {7, 3, 50, 9});
        return unit;
    };
    struct Case {
        const char* name;
        std::vector<int> figures, groups;
        bool toFront;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"two figures: only the first listed comes up", {4, 2}, {}, true, {1, 2, 3, 5, 6, 7, 8, 9, 4}},
        {"a figure goes to the back", {6}, {}, false, {6, 1, 2, 3, 4, 5, 7, 8, 9}},
        {"a figure and a group: the figure only", {5}, {20}, true, {1, 2, 3, 4, 6, 7, 8, 9, 5}},
        {"a group's figures come last in its list's order", {}, {20}, true, {1, 2, 4, 5, 6, 8, 7, 3, 9}},
        // The missing member keeps its index (2) for whatever figure lies there.
        {"a group's figures go first in its list's order", {}, {20}, false, {7, 3, 1, 9, 2, 4, 5, 6, 8}},
        {"a figure that is gone: nothing moves", {42}, {}, true, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"a group that is gone: nothing moves", {}, {42}, false, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit = drawing();
        SelectionRecord selection;
        for (int id : c.figures)
            selection.AddLineId(id);
        for (int id : c.groups)
            selection.AddGroupId(id);
        c.toFront ? unit.BringToFront(selection) : unit.SendToBack(selection);
        EXPECT_EQ(figureOrder(unit), c.order);
        if (c.figures.empty() && c.groups == std::vector<int>{20}) {
            EXPECT_EQ(unit.m_Groups[c.toFront ? 1 : 0]->MGrpID, 20) << "the group moves with its figures";
        }
    }
}

TEST(Ungrouping, MembersStayWhereTheyAreAndNothingIsSelected)
{
    CKovUnit unit;
    addFigure(unit, 1, CKovLine::LINE, {{0, 0}, {100, 0}}, {}, 5);
    addWall(unit, 2, {0, 0}, {0, 1000}, 50.0, 5);
    addText(unit, 3, {10, 10}, "A", 5);
    addFigure(unit, 4, CKovLine::LINE, {{0, 0}, {0, 100}}, {}, 6);
    addGroup(unit, 5, {1}, {2}, {3});
    addGroup(unit, 6, {4});
    SelectionRecord selection;
    selection.AddGroupId(99); // gone already: skipped
    selection.AddGroupId(5);
    unit.UngroupSelection(selection);

    ASSERT_EQ(unit.m_Groups.GetSize(), 1);
    EXPECT_EQ(unit.m_Groups[0]->MGrpID, 6);
    EXPECT_EQ(unit.m_Lines[0]->MLineGrpID, 0);
    EXPECT_EQ(unit.m_Walls[0]->MWallGrpID, 0);
    EXPECT_EQ(unit.m_Texts[0]->MTextGrpID, 0);
    EXPECT_EQ(unit.m_Lines[1]->MLineGrpID, 6) << "a group not selected keeps its members";
    EXPECT_EQ(figureOrder(unit), (std::vector<int>{1, 4}));
    EXPECT_EQ(selection.m_nCount, 0);
    EXPECT_TRUE(selection.m_Groups.empty());
}

} // namespace
