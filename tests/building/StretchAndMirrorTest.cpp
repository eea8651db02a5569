#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

using namespace kov::test;

namespace {

struct Plan {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform();
    SelectionRecord selection;
    const CKovUnit& read() const { return unit; }
};

TEST(Stretching, VerticesInsideMoveTheOthersStay)
{
    Plan p;
    addFigure(p.unit, 1, CKovLine::LINE, {{0, 0}, {500, 0}});                       // one end inside
    addFigure(p.unit, 2, CKovLine::CIRCLE, {{450, 100}}, {60});                     // pokes out on the left
    addFigure(p.unit, 3, CKovLine::CIRCLE, {{600, 100}}, {50});                     // wholly inside
    addFigure(p.unit, 4, CKovLine::ARC, {{600, 300}, {650, 300}, {600, 250}}, {300}); // its circle does not fit
    addFigure(p.unit, 5, CKovLine::DIMENSION, {{450, 500}, {700, 500}, {600, 550}});
    addFigure(p.unit, 6, CKovLine::LINE, {{400, 0}, {800, 0}});                     // on the border: both move
    addFigure(p.unit, 7, CKovLine::LINE, {{450, 50}, {500, 50}}, {}, 0, 0, 1);      // another layer
    addText(p.unit, 8, {500, 200});
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 9;
    picture->OffsetX = 500;
    p.unit.m_Images.Add(std::move(picture));

    p.unit.StretchRange(p.plot, {400, -100}, {1000, 600}, 100, 10);
    EXPECT_EQ(p.read().FindLine(1)->MLinePnt, (CDbPointArray{{0, 0}, {600, 10}}));
    EXPECT_EQ(p.read().FindLine(2)->MLinePnt[0], (CDbPoint{450, 100}));
    EXPECT_EQ(p.read().FindLine(3)->MLinePnt[0], (CDbPoint{700, 110}));
    EXPECT_EQ(p.read().FindLine(4)->MLinePnt[0], (CDbPoint{600, 300}));
    // The measured points move, the text point stays.
    EXPECT_EQ(p.read().FindLine(5)->MLinePnt, (CDbPointArray{{550, 510}, {800, 510}, {600, 550}}));
    EXPECT_EQ(p.read().FindLine(6)->MLinePnt, (CDbPointArray{{500, 10}, {900, 10}}));
    EXPECT_EQ(p.read().FindLine(7)->MLinePnt[0], (CDbPoint{450, 50}));
    EXPECT_EQ(p.read().FindText(8)->MTextpnt, (CDbPoint{600, 210}));
    EXPECT_EQ(p.read().FindImage(9)->OffsetX, 500);
}

TEST(Stretching, WallsAreStretchedAndJoinedAndGroupsOnlyGrow)
{
    Plan p;
    addWall(p.unit, 1, {0, 0}, {1000, 0}, 50, 5);
    addWall(p.unit, 2, {0, 0}, {0, 1000}, 50, 5);
    addGroup(p.unit, 5, {}, {1, 2});
    p.unit.JoinWalls(0);
    // The right end of the level wall moves out: the wall gets longer, the box grows.
    p.unit.StretchRange(p.plot, {900, -100}, {1100, 100}, 500, 0);
    EXPECT_EQ(p.read().FindWall(1)->MWallPntB, (CDbPoint{1500, 0}));
    EXPECT_EQ(p.read().FindWall(1)->MWallPntKado[2], (CDbPoint{1550, 50}));
    EXPECT_EQ(p.read().FindGroup(5)->MGrpmax.x, 1500);
    // Moving it back in leaves the box as large as it was.
    p.unit.StretchRange(p.plot, {1400, -100}, {1600, 100}, -800, 0);
    EXPECT_EQ(p.read().FindWall(1)->MWallPntB, (CDbPoint{700, 0}));
    EXPECT_EQ(p.read().FindGroup(5)->MGrpmax.x, 1500);
    // The walls were joined again at their new place.
    CKovUnit fresh;
    fresh.CopyFrom(p.unit);
    fresh.ResetWallOutline(1);
    fresh.ResetWallOutline(2);
    fresh.JoinWalls(0);
    for (int id : {1, 2}) {
        EXPECT_EQ(p.read().FindWall(id)->MWallarPntA, std::as_const(fresh).FindWall(id)->MWallarPntA);
        EXPECT_EQ(p.read().FindWall(id)->MWallarPntB, std::as_const(fresh).FindWall(id)->MWallarPntB);
    }
    fresh.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

TEST(MirrorAboutLine, ReflectsTheSelectionAcrossThePickedLine)
{
    Plan p;
    addFigure(p.unit, 1, CKovLine::LINE, {{0, 0}, {0, 1000}}, {}, 0, 3, 3); // the axis x = 0, another layer
    addFigure(p.unit, 2, CKovLine::LINE, {{100, 100}, {300, 200}});
    addFigure(p.unit, 3, CKovLine::ARC, {{500, 500}, {600, 500}, {500, 400}}, {100});
    addText(p.unit, 4, {200, 300});
    addWall(p.unit, 5, {200, 600}, {400, 600});
    addFigure(p.unit, 6, CKovLine::LINE, {{0, 800}, {100, 800}}, {}, 0, 1, 0); // selected, another layer
    addText(p.unit, 7, {50, 50}, "A", 0, 1, 0);                                 // selected, another layer
    p.selection.AddLineId(2);
    p.selection.AddLineId(3);
    p.selection.AddTextId(4);
    p.selection.AddWallId(5);
    p.selection.AddLineId(6);
    p.selection.AddTextId(7);
    EXPECT_EQ(p.unit.MirrorSelection(p.selection, p.plot, {2, 500}, p.transform), 1);
    EXPECT_EQ(p.read().FindLine(2)->MLinePnt, (CDbPointArray{{-100, 100}, {-300, 200}}));
    // The arc keeps running counter-clockwise.
    EXPECT_EQ(p.read().FindLine(3)->MLinePnt, (CDbPointArray{{-500, 500}, {-500, 400}, {-600, 500}}));
    EXPECT_EQ(p.read().FindText(4)->MTextpnt, (CDbPoint{-200, 300}));
    EXPECT_EQ(p.read().FindWall(5)->MWallPntA, (CDbPoint{-400, 600}));
    EXPECT_EQ(p.read().FindLine(6)->MLinePnt[1], (CDbPoint{-100, 800})); // figures on any layer
    EXPECT_EQ(p.read().FindText(7)->MTextpnt, (CDbPoint{50, 50}));      // texts only on the current one
    EXPECT_EQ(p.read().FindLine(1)->MLinePnt[1], (CDbPoint{0, 1000}));
}

TEST(MirrorAboutLine, ALineInAGroupOrNoLineIsNoAxis)
{
    for (bool grouped : {false, true}) {
        SCOPED_TRACE(grouped);
        Plan p;
        addFigure(p.unit, 1, CKovLine::LINE, {{0, 0}, {0, 1000}}, {}, grouped ? 9 : 0);
        if (grouped)
            addGroup(p.unit, 9, {1});
        addFigure(p.unit, 2, CKovLine::LINE, {{100, 100}, {300, 200}});
        p.selection.AddLineId(2);
        const int missed = p.unit.MirrorSelection(p.selection, p.plot, {500, 500}, p.transform);
        EXPECT_EQ(missed, 0);
        EXPECT_EQ(p.unit.MirrorSelection(p.selection, p.plot, {0, 500}, p.transform), grouped ? 0 : 1);
        EXPECT_EQ(p.read().FindLine(2)->MLinePnt[0].x, grouped ? 100 : -100);
    }
}

} // namespace
