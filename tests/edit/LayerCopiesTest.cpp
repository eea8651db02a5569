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

// Layer group 0: a group of three figures on layers 0-3 and 0-7 and a wall on 0-0; an ungrouped
// text on 0-7, a figure on 1-0 and a picture on 0-2.
struct Layers {
    CKovUnit unit;
    TempFolder folder;

    Layers()
    {
        addFigure(unit, 1, CKovLine::LINE, {{0, 0}, {100, 0}}, {}, 9, 0, 3);
        addFigure(unit, 2, CKovLine::LINE, {{0, 50}, {100, 50}}, {}, 9, 0, 3);
        addFigure(unit, 3, CKovLine::LINE, {{0, 90}, {100, 90}}, {}, 9, 0, 7);
        addWall(unit, 4, {0, 200}, {500, 200}, 50, 9, 0, 0);
        addGroup(unit, 9, {1, 2, 3}, {4});
        addText(unit, 5, {300, 300}, "A", 0, 0, 7);
        addFigure(unit, 6, CKovLine::LINE, {{0, 900}, {100, 900}}, {}, 0, 1, 0);
        auto picture = std::make_unique<CKovImage>();
        picture->ImageID = 7;
        picture->IMGImagetype = kPicturePng;
        picture->ImageName = TempImagePath(folder.path(), 7).string();
        picture->IMGLayer2 = 2;
        unit.m_Images.Add(std::move(picture));
        std::ofstream(TempImagePath(folder.path(), 7, kPicturePng)) << "png bytes";
        unit.MUnitGrpID = 9;
        unit.MUnitLineID = 6;
        unit.MUnitWallID = 4;
        unit.MUnitTextID = 5;
        unit.MUnitImageID = 7;
    }
    const CKovUnit& read() const { return unit; }
};

TEST(LayerCopies, MovingAWholeLayerGroupKeepsLayersAndIdentifiers)
{
    Layers l;
    l.unit.MoveLayerObjects(0, 0, 0, 1, 1);
    EXPECT_EQ(LayerOf(*l.read().FindLine(3)), (LayerAddress{1, 7}));
    EXPECT_EQ(LayerOf(*l.read().FindGroup(9)), (LayerAddress{1, 0}));
    EXPECT_EQ(LayerOf(*l.read().FindImage(7)), (LayerAddress{1, 2}));
    EXPECT_EQ(l.read().FindGroup(9)->MGrpLineID, (std::vector<int>{1, 2, 3}));
    // One layer only, onto another layer.
    l.unit.MoveLayerObjects(7, 1, 4, 2, 0);
    EXPECT_EQ(LayerOf(*l.read().FindText(5)), (LayerAddress{2, 4}));
    EXPECT_EQ(LayerOf(*l.read().FindLine(1)), (LayerAddress{1, 3}));
}

TEST(LayerCopies, CopyingAWholeLayerGroupDoublesIt)
{
    Layers l;
    l.unit.CopyLayerObjects(0, 0, 0, 1, 1, l.folder.path());
    const CKovUnit& u = l.read();
    ASSERT_EQ(u.m_Groups.GetSize(), 2);
    const CKovGroup& copy = *u.m_Groups[1];
    EXPECT_EQ(copy.MGrpID, 10);
    EXPECT_EQ(LayerOf(copy), (LayerAddress{1, 0}));
    // The copy lists only the copies of its members, which name it and keep their layer.
    ASSERT_EQ(copy.MGrpLineID.size(), 3u);
    for (int id : copy.MGrpLineID) {
        const CKovLine* f = u.FindLine(id);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->MLineGrpID, 10);
        EXPECT_EQ(f->MLineLayer1, 1);
    }
    EXPECT_EQ(u.FindLine(copy.MGrpLineID[2])->MLineLayer2, 7);
    ASSERT_EQ(copy.MGrpWallID.size(), 1u);
    EXPECT_EQ(u.FindWall(copy.MGrpWallID[0])->MWallGrpID, 10);
    // 4 figures (layer group 1's figure is not copied), 2 walls, 2 texts, 2 pictures.
    EXPECT_EQ(u.m_Lines.GetSize(), 7);
    EXPECT_EQ(u.m_Walls.GetSize(), 2);
    EXPECT_EQ(u.m_Texts.GetSize(), 2);
    ASSERT_EQ(u.m_Images.GetSize(), 2);
    // The picture copy has a file of its own, and keeps its layer in whole-group mode.
    const CKovImage& picture = *u.m_Images[1];
    EXPECT_EQ(LayerOf(picture), (LayerAddress{1, 2}));
    EXPECT_TRUE(std::filesystem::exists(TempImagePath(l.folder.path(), picture.ImageID, kPicturePng)));
}

TEST(LayerCopies, CopiesNeverNameAGroupThatWasNotCopied)
{
    Layers l;
    // Layer 0-3 only: the group lies on 0-0 and is not copied; its members on 0-3 are.
    l.unit.CopyLayerObjects(3, 0, 5, 2, 0, l.folder.path());
    const CKovUnit& u = l.read();
    EXPECT_EQ(u.m_Groups.GetSize(), 1);
    ASSERT_EQ(u.m_Lines.GetSize(), 6);
    for (int i = 4; i < 6; ++i) {
        EXPECT_EQ(u.m_Lines[i]->MLineGrpID, 0);
        EXPECT_EQ(LayerOf(*u.m_Lines[i]), (LayerAddress{2, 5}));
    }
    // A group made later cannot adopt them, and deleting the old group leaves them.
    l.unit.DeleteGroup(9);
    EXPECT_EQ(u.m_Lines.GetSize(), 3);
}

TEST(LayerCopies, CopiesOutOfIdentifiersCopyNothing)
{
    using kov::model::IdKind;
    const struct {
        const char* name;
        IdKind kind;
    } kinds[] = {{"groups", IdKind::Group}, {"figures", IdKind::Line}, {"walls", IdKind::Wall},
                 {"texts", IdKind::Text},   {"pictures", IdKind::Image}};
    for (const auto& row : kinds) {
        SCOPED_TRACE(row.name);
        Layers l;
        takeIdentifiers(l.unit, row.kind, 0);
        CKovUnit before;
        before.CopyFrom(l.unit);
        const auto files = std::distance(std::filesystem::directory_iterator(l.folder.path()),
                                         std::filesystem::directory_iterator());

        // The whole layer group, and the selection kept where it is with copies on layer group 2.
        EXPECT_EQ(l.unit.CopyLayerObjects(0, 0, 0, 1, 1, l.folder.path()), 0);
        EXPECT_TRUE(l.unit.SharesAllWith(before));
        SelectionRecord sel;
        sel.AddGroupId(9);
        sel.AddTextId(5);
        sel.AddImageId(7);
        EXPECT_EQ(l.unit.ChangeSelectionLayer(sel, 2, 0, 1, l.folder.path()), 0);
        EXPECT_TRUE(l.unit.SharesAllWith(before));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(l.folder.path()),
                                std::filesystem::directory_iterator()),
                  files);
        before.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
}

TEST(LayerCopies, APictureCopySkipsNumbersWhoseFilesExistInAnyType)
{
    Layers l;
    // Number 8 is taken by a GIF left in the folder, 9 by a JPEG.
    std::ofstream(TempImagePath(l.folder.path(), 8, kPictureGif)) << "gif";
    std::ofstream(TempImagePath(l.folder.path(), 9, kPictureJpeg)) << "jpg";
    SelectionRecord sel;
    sel.AddImageId(7);
    l.unit.CopySelectionToLayer(sel, 0, 2, l.folder.path());
    ASSERT_EQ(l.read().m_Images.GetSize(), 2);
    EXPECT_EQ(l.read().m_Images[1]->ImageID, 10);
    EXPECT_EQ(std::filesystem::path(l.read().m_Images[1]->ImageName).filename(), "temp10.bmp");
}

TEST(LayerCopies, ChangingTheSelectionsLayer)
{
    for (int keep : {0, 1}) {
        SCOPED_TRACE(keep);
        Layers l;
        SelectionRecord sel;
        sel.AddGroupId(9);
        sel.AddTextId(5);
        l.unit.ChangeSelectionLayer(sel, 2, 0, keep, l.folder.path());
        const CKovUnit& u = l.read();
        if (!keep) {
            for (int id : {1, 2, 3})
                EXPECT_EQ(LayerOf(*u.FindLine(id)), (LayerAddress{2, 0}));
            EXPECT_EQ(LayerOf(*u.FindWall(4)), (LayerAddress{2, 0}));
            EXPECT_EQ(LayerOf(*u.FindText(5)), (LayerAddress{2, 0}));
            EXPECT_EQ(u.m_Groups.GetSize(), 1);
        } else {
            EXPECT_EQ(LayerOf(*u.FindLine(1)), (LayerAddress{0, 3}));
            ASSERT_EQ(u.m_Groups.GetSize(), 2);
            const CKovGroup& copy = *u.m_Groups[1];
            EXPECT_EQ(LayerOf(copy), (LayerAddress{2, 0}));
            EXPECT_EQ(copy.MGrpLineID.size(), 3u);
            for (int id : copy.MGrpLineID)
                EXPECT_EQ(LayerOf(*u.FindLine(id)), (LayerAddress{2, 0}));
            EXPECT_EQ(LayerOf(*u.m_Texts[1]), (LayerAddress{2, 0}));
            EXPECT_NE(u.m_Texts[1]->MTextID, 5);
        }
    }
}

TEST(LayerCopies, MovingALayerGroupsOrigin)
{
    Layers l;
    CKovUnit snapshot;
    snapshot.CopyFrom(l.unit);
    l.unit.MoveLayerGroupCentre(1000, 500, snapshot, 0);
    EXPECT_EQ(l.read().FindLine(1)->MLinePnt[0], (CDbPoint{-1000, -500})); // through its group
    EXPECT_EQ(l.read().FindText(5)->MTextpnt, (CDbPoint{-700, -200}));
    EXPECT_EQ(l.read().FindLine(6)->MLinePnt[0], (CDbPoint{0, 900})); // another layer group
    snapshot.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

} // namespace
