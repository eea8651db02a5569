#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

struct RangeDrawing {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();
    SelectionRecord selection;
};

TEST(RangeDelete, DeletesTheRangeAndRejoinsTheRest)
{
    RangeDrawing d;
    // A T: the stem's end is cut into the top wall's outline.
    addWall(d.unit, 1, {0, 0}, {2000, 0});
    addWall(d.unit, 2, {1000, 0}, {1000, 1000});
    d.unit.JoinWalls(0);
    const std::size_t cutEdges = d.unit.FindWall(1)->MWallarPntA.size();
    ASSERT_GT(cutEdges, 4u);
    addFigure(d.unit, 3, CKovLine::LINE, {{900, 500}, {1100, 500}}, {}, 4);
    addGroup(d.unit, 4, {3});
    addText(d.unit, 5, {1000, 600});

    int pictures = -1;
    d.unit.DeleteRange(d.selection, d.plot, {{800, -100}}, {1200, 1100}, d.transform, pictures);
    EXPECT_EQ(pictures, 0);
    EXPECT_EQ(d.unit.FindWall(2), nullptr);
    EXPECT_EQ(d.unit.m_Groups.GetSize(), 0);
    EXPECT_EQ(d.unit.m_Lines.GetSize(), 0);
    EXPECT_EQ(d.unit.m_Texts.GetSize(), 0);
    // The top wall is whole again.
    EXPECT_EQ(d.unit.FindWall(1)->MWallarPntA.size(), 4u);
    EXPECT_EQ(d.selection.m_nCount, 0);

    // A range holding only a picture reports it.
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 3;
    picture->m_rcDrawn = {5000, 5000, 5100, 5100};
    d.unit.m_Images.Add(std::move(picture));
    d.unit.DeleteRange(d.selection, d.plot, {{4000, 4000}}, {6000, 6000}, d.transform, pictures);
    EXPECT_EQ(pictures, 1);
    EXPECT_EQ(d.unit.m_Images.GetSize(), 0);
}

TEST(RangeScale, WallsRadiiTextsAndRefusedFactors)
{
    RangeDrawing d;
    addWall(d.unit, 1, {0, 0}, {1000, 0});
    addFigure(d.unit, 2, CKovLine::CIRCLE, {{500, 100}}, {100});
    CKovText& text = addText(d.unit, 3, {250.5, 100});
    text.MTextFontMenu.lfHeight = 9;
    text.MTextFontMenu.m_gyoukan = 1.0;
    // A column: both core ends at its centre, its own square corners and four sides.
    CKovWall& column = addWall(d.unit, 4, {0, 0}, {1, 0});
    column.MWall_Type = CKovWall::COLUMN;
    column.MWallPntA = column.MWallPntB = {300, 300};
    CKovUnit::ComputeWallCorners(column.MWallPntKado, column.MWallPntA, column.MWallPntB, 50, 0);
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 3;
    picture->m_rcDrawn = {100, 10, 110, 20};
    picture->OffsetX = 7;
    d.unit.m_Images.Add(std::move(picture));

    // Range -100..1100 × -200..400: centre (500, 100).
    const CDbPointArray corner = {{-100, -200}};
    EXPECT_EQ(d.unit.ScaleRange(d.selection, d.plot, corner, {1100, 400}, d.transform, 0.0, 1.0), 0);
    EXPECT_EQ(d.unit.ScaleRange(d.selection, d.plot, corner, {1100, 400}, d.transform, -1.0, 1.0), 0);
    EXPECT_EQ(d.unit.FindWall(1)->MWallPntB, CDbPoint(1000, 0));

    EXPECT_EQ(d.unit.ScaleRange(d.selection, d.plot, corner, {1100, 400}, d.transform, 0.75, 1.0), 1);
    const CKovWall& w = *d.unit.FindWall(1);
    EXPECT_EQ(w.MWallPntA, CDbPoint(125, 0));
    EXPECT_EQ(w.MWallPntB, CDbPoint(875, 0));
    // Both halves, to whole millimetres.
    EXPECT_DOUBLE_EQ(w.MWallWide1, 37.0);
    EXPECT_DOUBLE_EQ(w.MWallWide2, 37.0);
    EXPECT_EQ(w.MWallPntKado[0], CDbPoint(125 - 37, -37));
    EXPECT_EQ(w.MWallarPntA.size(), 4u);
    EXPECT_DOUBLE_EQ(d.unit.FindLine(2)->MLineParam[0], 75.0);
    const CKovText& t = *d.unit.FindText(3);
    EXPECT_DOUBLE_EQ(t.MTextpnt.x, 250.5 * 0.75 + 125); // positions keep their fractions
    EXPECT_EQ(t.MTextFontMenu.lfHeight, 6);
    EXPECT_DOUBLE_EQ(t.MTextFontMenu.m_size, 6.5 * 0.75);
    EXPECT_DOUBLE_EQ(t.MTextFontMenu.m_gyoukan, 1.0);
    EXPECT_DOUBLE_EQ(d.unit.FindImage(3)->OffsetX, 7.0);
    EXPECT_EQ(d.selection.m_Walls, (std::vector<int>{1, 4}));
    // The column moves with its centre and keeps its size.
    EXPECT_EQ(column.MWallPntA, CDbPoint(350, 300));
    EXPECT_EQ(column.MWallPntKado[0], CDbPoint(300, 250));
    EXPECT_EQ(column.MWallarPntA[0], CDbPoint(300, 250));

    // A vertical factor alone changes no thickness, radius or text size.
    d.unit.ScaleRange(d.selection, d.plot, corner, {1100, 400}, d.transform, 1.0, 3.0);
    EXPECT_DOUBLE_EQ(d.unit.FindWall(1)->MWallWide1, 37.0);
    EXPECT_DOUBLE_EQ(d.unit.FindLine(2)->MLineParam[0], 75.0);
    EXPECT_EQ(d.unit.FindText(3)->MTextFontMenu.lfHeight, 6);
}

TEST(RangeScale, GroupMembersFollowTheirGroup)
{
    RangeDrawing d;
    addWall(d.unit, 1, {0, 0}, {400, 0}, 50, 5);
    addFigure(d.unit, 2, CKovLine::LINE, {{0, 100}, {400, 100}}, {}, 5);
    addGroup(d.unit, 5, {2}, {1});
    d.unit.ScaleRange(d.selection, d.plot, {{-100, -100}}, {500, 300}, d.transform, 2.0, 1.0);
    EXPECT_EQ(d.unit.FindGroup(5)->MGrpmin, CDbPoint(-200, 0));
    EXPECT_EQ(d.unit.FindWall(1)->MWallPntB, CDbPoint(600, 0));
    EXPECT_DOUBLE_EQ(d.unit.FindWall(1)->MWallWide1, 100.0);
    EXPECT_EQ(d.unit.FindLine(2)->MLinePnt[1], CDbPoint(600, 100));
}

TEST(RangeScale, ObjectsOutsideTheRangeStayShared)
{
    // Finding a group's members only reads: the undo copy keeps sharing every object the scaling
    // leaves alone.
    RangeDrawing d;
    addFigure(d.unit, 2, CKovLine::LINE, {{0, 100}, {400, 100}}, {}, 5);
    addGroup(d.unit, 5, {2}, {});
    for (int id = 10; id < 700; ++id)
        addFigure(d.unit, id, CKovLine::LINE, {{50000.0 + id, 0}, {50000.0 + id, 10}});
    CKovUnit copy;
    copy.CopyFrom(d.unit);
    d.unit.ScaleRange(d.selection, d.plot, {{-100, -100}}, {500, 300}, d.transform, 2.0, 1.0);
    EXPECT_EQ(d.unit.FindLine(2)->MLinePnt[1], CDbPoint(600, 100));
    const CKovUnit& after = d.unit;
    for (int i : {300, 600})
        EXPECT_EQ(after.m_Lines[i], std::as_const(copy).m_Lines[i]) << i;
}

} // namespace

namespace {

// Scaling a range with a group in it changes only the group and its members: every other object
// stays shared with the undo copy (a read through mutable access would have copied them all).
TEST(RangeScale, AGroupInTheRangeLeavesTheRestSharedWithUndo)
{
    RangeDrawing d;
    for (int id = 2; id < 2002; ++id)
        addFigure(d.unit, id, CKovLine::LINE, {{5000.0 + id, 0}, {5000.0 + id, 10}});
    addFigure(d.unit, 3000, CKovLine::LINE, {{0, 0}, {100, 0}}, {}, 7);
    addFigure(d.unit, 3001, CKovLine::LINE, {{0, 50}, {100, 50}}, {}, 7);
    addGroup(d.unit, 7, {3000, 3001});
    for (int id = 2; id < 1002; ++id)
        addText(d.unit, id, {6000.0 + id, 0});
    CKovUnit snapshot;
    snapshot.CopyFrom(d.unit);

    ASSERT_EQ(d.unit.ScaleRange(d.selection, d.plot, {{-50, -50}}, {150, 100}, d.transform, 2.0, 2.0), 1);
    ASSERT_EQ(d.selection.m_Groups, std::vector<int>{7});
    EXPECT_EQ(d.unit.FindLine(3000)->MLinePnt[1].x, 150);
    int unshared = 0;
    for (int i = 0; i < d.unit.m_Lines.GetSize(); ++i) unshared += !d.unit.m_Lines.SharesObjectWith(snapshot.m_Lines, i);
    EXPECT_EQ(unshared, 2); // the group's two members
    EXPECT_TRUE(d.unit.m_Texts.SharesAllWith(snapshot.m_Texts));
}

} // namespace
