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

struct Dup {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    TempFolder folder;
    const CKovUnit& read() const { return unit; }
    void run(double dx, double dy) { unit.DuplicateSelection(sel, dx, dy, plot, folder.path()); }
};

TEST(Duplicating, AnUngroupedLineOnItsOwnLayer)
{
    Dup d;
    addFigure(d.unit, 1, CKovLine::LINE, {{100, 100}, {200, 100}}, {}, 0, 2, 4);
    d.sel.AddLineId(1);
    d.run(3, 3);
    EXPECT_EQ(d.read().FindLine(1)->MLinePnt[0], (CDbPoint{100, 100}));
    ASSERT_EQ(d.sel.m_Lines.size(), 1u);
    const CKovLine& copy = *d.read().FindLine(d.sel.m_Lines[0]);
    EXPECT_NE(copy.MLineID, 1);
    EXPECT_EQ(copy.MLinePnt, (CDbPointArray{{97, 97}, {197, 97}}));
    EXPECT_EQ(LayerOf(copy), (LayerAddress{2, 4}));
    EXPECT_EQ(d.sel.m_nCount, 1);
}

TEST(Duplicating, AGroupOfWallsATextAndFigures)
{
    Dup d;
    d.plot.m_Layer.m_nCurrentGroup = 1;
    d.plot.m_Layer.m_nCurrentLayer = 2;
    addWall(d.unit, 1, {0, 0}, {1000, 0}, 50, 9);
    addWall(d.unit, 2, {0, 0}, {0, 800}, 50, 9);
    addText(d.unit, 3, {500, 400}, "A", 9);
    for (int id : {4, 5, 6})
        addFigure(d.unit, id, CKovLine::LINE, {{0.0 + id, 0}, {100, 100}}, {}, 9);
    const CKovGroup source = addGroup(d.unit, 9, {4, 5, 6}, {1, 2}, {3});
    d.sel.AddGroupId(9);
    d.run(10, 20);
    ASSERT_EQ(d.sel.m_Groups.size(), 1u);
    const CKovGroup& copy = *d.read().FindGroup(d.sel.m_Groups[0]);
    EXPECT_EQ(copy.MGrpLineID.size(), 3u);
    EXPECT_EQ(copy.MGrpWallID.size(), 2u);
    EXPECT_EQ(copy.MGrpTextID.size(), 1u);
    EXPECT_EQ(copy.MGrpmin, (CDbPoint{source.MGrpmin.x - 10, source.MGrpmin.y - 20}));
    // Walls and the text go to the editing layer; the figures keep theirs.
    EXPECT_EQ(LayerOf(*d.read().FindWall(copy.MGrpWallID[0])), (LayerAddress{1, 2}));
    EXPECT_EQ(LayerOf(*d.read().FindText(copy.MGrpTextID[0])), (LayerAddress{1, 2}));
    EXPECT_EQ(LayerOf(*d.read().FindLine(copy.MGrpLineID[0])), (LayerAddress{0, 0}));
    EXPECT_EQ(d.read().FindLine(copy.MGrpLineID[0])->MLinePnt[0], (CDbPoint{-6, -20}));
    EXPECT_EQ(LayerOf(copy), (LayerAddress{1, 2}));
}

TEST(Duplicating, FigureCopiesFollowTheDrawingOrder)
{
    Dup d;
    addFigure(d.unit, 4, CKovLine::LINE, {{0, 0}, {1, 0}});
    addFigure(d.unit, 9, CKovLine::LINE, {{0, 5}, {1, 5}});
    d.unit.MUnitLineID = 9;
    d.sel.AddLineId(9);
    d.sel.AddLineId(4);
    d.run(0, 0);
    EXPECT_EQ(d.sel.m_Lines, (std::vector<int>{10, 11}));
    EXPECT_EQ(d.read().FindLine(10)->MLinePnt[0], (CDbPoint{0, 0})); // the copy of 4 comes first
}

TEST(Duplicating, APictureCopyHasItsOwnFileAndMovesHalfItsSize)
{
    Dup d;
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = 3;
    picture->IMGImagetype = kPictureJpeg;
    picture->ImageName = TempImagePath(d.folder.path(), 3).string();
    picture->OffsetX = 100;
    picture->OffsetY = 100;
    picture->ImageWidth = 40;
    picture->ImageHeight = 30;
    d.unit.m_Images.Add(std::move(picture));
    d.unit.MUnitImageID = 3;
    std::ofstream(TempImagePath(d.folder.path(), 3, kPictureJpeg)) << "jpeg";
    d.sel.AddImageId(3);
    d.run(0, 0);
    ASSERT_EQ(d.sel.m_Images.size(), 1u);
    const CKovImage& copy = *d.read().FindImage(d.sel.m_Images[0]);
    EXPECT_EQ(copy.OffsetX, 80);
    EXPECT_EQ(copy.OffsetY, 85);
    const auto file = TempImagePath(d.folder.path(), copy.ImageID, kPictureJpeg);
    EXPECT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove(file);
    EXPECT_TRUE(std::filesystem::exists(TempImagePath(d.folder.path(), 3, kPictureJpeg)));
}

TEST(Duplicating, ACopyNeverNamesAGroupThatIsGone)
{
    Dup d;
    addFigure(d.unit, 1, CKovLine::LINE, {{0, 0}, {1, 0}}, {}, 77); // its group no longer exists
    d.sel.AddLineId(1);
    d.run(0, 0);
    ASSERT_EQ(d.sel.m_Lines.size(), 1u);
    EXPECT_EQ(d.read().FindLine(d.sel.m_Lines[0])->MLineGrpID, 0);
}

} // namespace
