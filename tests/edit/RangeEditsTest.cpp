#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kov::test;

namespace {

TEST(MoveSelection, FromTheSnapshotSoMovesNeverAccumulate)
{
    CKovUnit unit;
    addFigure(unit, 1, CKovLine::LINE, {{0, 0}, {10, 0}}, {}, 5);
    addWall(unit, 2, {0, 100}, {500, 100}, 50, 5);
    addText(unit, 3, {7, 7});
    addFigure(unit, 4, CKovLine::LINE, {{20, 20}, {30, 30}});
    addGroup(unit, 5, {1, 99}, {2}); // 99 is gone
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 8;
    unit.m_Images.Add(std::move(picture));
    CKovUnit snapshot;
    snapshot.CopyFrom(unit);

    SelectionRecord s;
    s.AddGroupId(5);
    s.AddTextId(3);
    s.AddLineId(4);
    s.AddImageId(8);
    unit.FindLine(4)->MLineColor = 0x123456; // the style stays, only points come back
    unit.MoveSelection(s, 100, 50, snapshot);
    unit.MoveSelection(s, 100, 50, snapshot);
    EXPECT_EQ(unit.FindLine(1)->MLinePnt[1], CDbPoint(110, 50));
    EXPECT_EQ(unit.FindWall(2)->MWallarPntA[0], CDbPoint(50, 100));
    EXPECT_EQ(unit.FindGroup(5)->MGrpmax, CDbPoint(600, 150));
    EXPECT_EQ(unit.FindText(3)->MTextpnt, CDbPoint(107, 57));
    EXPECT_EQ(unit.FindLine(4)->MLineColor, 0x123456u);
    EXPECT_DOUBLE_EQ(unit.FindImage(8)->OffsetX, 0.0);

    unit.MoveSelection(s, 0, 0, snapshot);
    EXPECT_EQ(unit.FindLine(1)->MLinePnt, snapshot.FindLine(1)->MLinePnt);
    EXPECT_EQ(unit.FindWall(2)->MWallPntKado, snapshot.FindWall(2)->MWallPntKado);
    EXPECT_EQ(unit.FindGroup(5)->MGrpmin, snapshot.FindGroup(5)->MGrpmin);
}

struct RangeDrawing {
    CKovUnit unit;
    CPlotInfo plot;
    DeviceTransform transform = pixelTransform(2.0, 4.0);
    SelectionRecord selection;
};

TEST(RangeCopy, GroupsKeepTheirKindAndGetCopiedMembers)
{
    RangeDrawing d;
    addWall(d.unit, 1, {100, 100}, {400, 100}, 50, 9);
    addFigure(d.unit, 2, CKovLine::POLYGON, {{100, 100}, {100, 300}, {400, 300}}, {}, 9);
    addText(d.unit, 3, {250, 200}, "room", 9);
    CKovGroup& room = addGroup(d.unit, 9, {2}, {1}, {3}, CKovGroup::ROOM);
    room.MGrpKakudo = 30;
    addFigure(d.unit, 4, CKovLine::LINE, {{500, 500}, {600, 500}});
    // Inside the range, but its group reaches out of it.
    addFigure(d.unit, 5, CKovLine::LINE, {{700, 700}, {710, 710}}, {}, 10);
    addFigure(d.unit, 6, CKovLine::LINE, {{700, 700}, {5000, 5000}}, {}, 10);
    addGroup(d.unit, 10, {5, 6});
    // On another layer group.
    addFigure(d.unit, 7, CKovLine::LINE, {{500, 600}, {600, 600}}, {}, 0, 3, 0);

    d.unit.CopyRange(d.selection, d.plot, {{0, 0}, {1000, 1000}, {0, 0}}, {2000, 0}, d.transform, {});
    EXPECT_EQ(d.selection.m_nCount, 0);
    ASSERT_EQ(d.unit.m_Groups.GetSize(), 3);
    const CKovGroup& copy = *d.unit.m_Groups[2];
    EXPECT_NE(copy.MGrpID, 9);
    EXPECT_EQ(copy.MGrpRoom, CKovGroup::ROOM);
    EXPECT_DOUBLE_EQ(copy.MGrpKakudo, 30);
    EXPECT_EQ(copy.MGrpmin, CDbPoint(2100, 100));
    ASSERT_EQ(copy.MGrpLineID.size(), 1u);
    ASSERT_EQ(copy.MGrpWallID.size(), 1u);
    ASSERT_EQ(copy.MGrpTextID.size(), 1u);
    const CKovLine& floor = *d.unit.FindLine(copy.MGrpLineID[0]);
    EXPECT_EQ(floor.MLineGrpID, copy.MGrpID);
    EXPECT_EQ(floor.MLinePnt[2], CDbPoint(2400, 300));
    EXPECT_EQ(d.unit.FindWall(copy.MGrpWallID[0])->MWallPntB, CDbPoint(2400, 100));
    EXPECT_EQ(d.unit.FindWall(copy.MGrpWallID[0])->MWallGrpID, copy.MGrpID);
    EXPECT_EQ(d.unit.FindText(copy.MGrpTextID[0])->MTextpnt, CDbPoint(2250, 200));
    // Copies of figures: the room's floor and line 4, in the order of their sources, on top.
    ASSERT_EQ(d.unit.m_Lines.GetSize(), 7);
    EXPECT_EQ(d.unit.m_Lines[5]->MLineID, copy.MGrpLineID[0]);
    EXPECT_EQ(d.unit.m_Lines[6]->MLinePnt[0], CDbPoint(2500, 500));
    EXPECT_EQ(d.unit.m_Lines[6]->MLineGrpID, 0);

    // A second click copies again with the range taken anew (now the first copies are outside).
    d.unit.CopyRange(d.selection, d.plot, {{0, 0}, {1000, 1000}, {0, 0}}, {0, 2000}, d.transform, {});
    EXPECT_EQ(d.unit.m_Groups.GetSize(), 4);
}

TEST(RangeCopy, PictureGetsItsOwnFile)
{
    TempFolder folder;
    RangeDrawing d;
    const auto source = folder.file("temp12.png");
    std::ofstream(source, std::ios::binary) << "png bytes";
    std::ofstream(folder.file("temp40.bmp"), std::ios::binary) << "taken"; // a number whose file exists
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 12;
    picture->IMGImagetype = kPicturePng;
    picture->ImageName = folder.file("temp12.bmp").string();
    picture->OffsetX = 10;
    picture->m_rcDrawn = {10, 10, 20, 20};
    d.unit.m_Images.Add(std::move(picture));
    d.unit.MUnitImageID = 39;

    d.unit.CopyRange(d.selection, d.plot, {{0, 0}, {100, 100}, {0, 0}}, {8, 0}, d.transform, folder.path());
    ASSERT_EQ(d.unit.m_Images.GetSize(), 2);
    const CKovImage& copy = *d.unit.m_Images[1];
    EXPECT_EQ(copy.ImageID, 41);
    EXPECT_EQ(copy.ImageName, folder.file("temp41.bmp").string());
    std::ifstream in(folder.file("temp41.png"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, "png bytes");
    // 8 sheet mm at 2 px/mm and 4 px per paper mm: 4 paper mm.
    EXPECT_DOUBLE_EQ(copy.OffsetX, 14.0);
}

TEST(RangeMove, EverythingInTheRangeMovesAndTheRestStays)
{
    RangeDrawing d;
    addFigure(d.unit, 1, CKovLine::LINE, {{10, 10}, {20, 20}});
    addFigure(d.unit, 2, CKovLine::LINE, {{10, 10}, {2000, 20}});
    addWall(d.unit, 3, {100, 100}, {300, 100});
    addText(d.unit, 4, {50, 50}, "x", 5);
    addGroup(d.unit, 5, {}, {}, {4});
    d.unit.MoveRange(d.selection, d.plot, {{0, 0}, {500, 500}, {0, 0}}, {0, 1000}, d.transform);
    EXPECT_EQ(d.unit.FindLine(1)->MLinePnt[0], CDbPoint(10, 1010));
    EXPECT_EQ(d.unit.FindLine(2)->MLinePnt[0], CDbPoint(10, 10));
    EXPECT_EQ(d.unit.FindWall(3)->MWallarPntA[0], CDbPoint(50, 1050));
    EXPECT_EQ(d.unit.FindText(4)->MTextpnt, CDbPoint(50, 1050));
    EXPECT_EQ(d.unit.FindGroup(5)->MGrpmin, CDbPoint(50, 1050));
    EXPECT_EQ(d.selection.m_nCount, 0);
}

TEST(ScaleFromSnapshot, RepeatableArcsTextsAndWalls)
{
    CKovUnit unit;
    // The quarter arc: radius from the end whose distance changed more, the start on a tie.
    addFigure(unit, 1, CKovLine::ARC, {{0, 0}, {10, 0}, {0, -10}}, {10});
    addFigure(unit, 2, CKovLine::CIRCLE, {{0, 0}}, {10});
    addText(unit, 3, {10.7, 3.3}).MTextFontMenu.lfHeight = 9;
    addWall(unit, 4, {0, 100}, {100, 100});
    const CKovGroup& g = addGroup(unit, 7, {1, 2}, {4}, {3});
    CKovUnit snapshot;
    snapshot.CopyFrom(unit);

    unit.ScaleGroupFromSnapshot(g, snapshot, 2, 1, {0, 0});
    EXPECT_DOUBLE_EQ(unit.FindLine(1)->MLineParam[0], 20.0);
    EXPECT_DOUBLE_EQ(unit.FindLine(2)->MLineParam[0], 20.0);
    const CKovText& t = *unit.FindText(3);
    EXPECT_EQ(t.MTextpnt, CDbPoint(21, 3));
    EXPECT_EQ(t.MTextFontMenu.lfHeight, 18);
    EXPECT_DOUBLE_EQ(t.MTextFontMenu.m_size, 13.0);
    const CKovWall& w = *unit.FindWall(4);
    EXPECT_EQ(w.MWallPntB, CDbPoint(200, 100));
    EXPECT_DOUBLE_EQ(w.MWallWide1, 50.0);
    EXPECT_EQ(w.MWallarPntA[2], CDbPoint(250, 150));

    CKovUnit once;
    once.CopyFrom(unit);
    unit.ScaleGroupFromSnapshot(g, snapshot, 2, 1, {0, 0});
    for (int id : {1, 2}) {
        EXPECT_EQ(unit.FindLine(id)->MLinePnt, once.FindLine(id)->MLinePnt);
        EXPECT_EQ(unit.FindLine(id)->MLineParam, once.FindLine(id)->MLineParam);
    }
    EXPECT_EQ(unit.FindText(3)->MTextFontMenu, once.FindText(3)->MTextFontMenu);
    EXPECT_EQ(unit.FindWall(4)->MWallPntKado, once.FindWall(4)->MWallPntKado);

    // Only the vertical: the end point moved more and gives the radius.
    unit.ScaleGroupFromSnapshot(g, snapshot, 1, 3, {0, 0});
    EXPECT_DOUBLE_EQ(unit.FindLine(1)->MLineParam[0], 30.0);
}

} // namespace

namespace {

TEST(ScaleFromSnapshot, DoorLeavesEndOnTheirSwingArcs)
{
    struct Case {
        const char* name;
        int filledArc;
        CDbPoint leafEnd;
    } cases[] = {
        {"the leaf reaches its arc's new radius", 0, {200, 0}},
        {"a filled arc holds the leaf at 2", 1, {2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit unit;
        addFigure(unit, 1, CKovLine::RECTANGLE, {{0, 0}, {0, 100}, {100, 100}, {100, 0}}, {0, 2, 1});
        addFigure(unit, 2, CKovLine::LINE, {{0, 0}, {100, 0}});
        addFigure(unit, 3, CKovLine::ARC, {{0, 0}, {100, 0}, {0, -100}}, {100}).MLinebNakanuri = c.filledArc;
        const CKovGroup& fitting = addGroup(unit, 4, {1, 2, 3}, {}, {}, CKovGroup::FITTING);
        CKovUnit snapshot;
        snapshot.CopyFrom(unit);
        unit.ScaleGroupFromSnapshot(fitting, snapshot, 1, 2, {0, 0});
        EXPECT_DOUBLE_EQ(unit.FindLine(3)->MLineParam[0], 200.0);
        EXPECT_EQ(unit.FindLine(2)->MLinePnt[1], c.leafEnd);
    }
}

} // namespace
