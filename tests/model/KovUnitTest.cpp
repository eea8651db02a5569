#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

#include <filesystem>
#include <fstream>

#include <cmath>
#include <memory>
#include <vector>

namespace {

CKovLine* addLine(CKovUnit& unit, int id, int group = 0)
{
    auto o = std::make_unique<CKovLine>();
    o->MLineID = id;
    o->MLineGrpID = group;
    o->MLinePnt = {{0, 0}, {10, 5}};
    CKovLine* raw = o.get();
    unit.m_Lines.Add(std::move(o));
    return raw;
}

CKovWall* addWall(CKovUnit& unit, int id, int group = 0)
{
    auto o = std::make_unique<CKovWall>();
    o->MWallID = id;
    o->MWallGrpID = group;
    CKovWall* raw = o.get();
    unit.m_Walls.Add(std::move(o));
    return raw;
}

CKovText* addText(CKovUnit& unit, int id, int group = 0)
{
    auto o = std::make_unique<CKovText>();
    o->MTextID = id;
    o->MTextGrpID = group;
    CKovText* raw = o.get();
    unit.m_Texts.Add(std::move(o));
    return raw;
}

CKovGroup* addGroup(CKovUnit& unit, int id, std::vector<int> lines, std::vector<int> walls, std::vector<int> texts)
{
    auto o = std::make_unique<CKovGroup>();
    o->MGrpID = id;
    o->MGrpLineID = std::move(lines);
    o->MGrpWallID = std::move(walls);
    o->MGrpTextID = std::move(texts);
    CKovGroup* raw = o.get();
    unit.m_Groups.Add(std::move(o));
    return raw;
}

CKovImage* addImage(CKovUnit& unit, int id)
{
    auto o = std::make_unique<CKovImage>();
    o->ImageID = id;
    CKovImage* raw = o.get();
    unit.m_Images.Add(std::move(o));
    return raw;
}

std::vector<int> lineIds(const CKovUnit& unit)
{
    std::vector<int> ids;
    for (const auto& o : unit.m_Lines)
        ids.push_back(o->MLineID);
    return ids;
}

TEST(ObjectDefaults, NewObjectsCarryTheirDefaults)
{
    const CKovLine line;
    EXPECT_EQ(line.MLineNakaColor, 0xFFFFFFu);
    EXPECT_EQ(line.MLineNakaColor2, 0xFFFFFFu);
    EXPECT_EQ(line.MLineGradiation, 1);
    EXPECT_EQ(line.MLineAlpha, 100);
    EXPECT_EQ(line.MLineWide, 1);
    EXPECT_EQ(line.MLineYaWide, 1);

    const CKovText text;
    EXPECT_EQ(text.MTextHuchiAtsumi, 2.0);
    EXPECT_EQ(text.MTextHuchiKeij, 5);
    EXPECT_EQ(text.MTextAlpha, 100);
    EXPECT_EQ(text.MTextFontMenu, CFontMenu());

    const CKovWall wall;
    EXPECT_EQ(wall.MWallWide1, 50.0);
    EXPECT_EQ(wall.MWallWide2, 50.0);

    const CKovImage picture;
    EXPECT_EQ(picture.ImageID, 1);
    EXPECT_EQ(picture.ImageWidth, 50.0);
    EXPECT_EQ(picture.ImageHeight, 50.0);
    EXPECT_EQ(picture.IMGImagetype, 4);
}

TEST(ObjectDefaults, PointsDifferingInTheLastBitAreNotEqual)
{
    const CDbPoint a(1.0, 2.0);
    const CDbPoint b(std::nextafter(1.0, 2.0), 2.0);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a != b);
    EXPECT_EQ(a, CDbPoint(1.0, 2.0));
}

TEST(ObjectCopies, CopiedPictureHasNoDrawnRectangle)
{
    CKovImage source;
    source.ImageID = 12;
    source.ImageName = "/tmp/x/temp12.bmp";
    source.IMGImagetype = 2;
    source.m_rcDrawn = {10, 20, 30, 40};

    const CKovImage copy(source);
    EXPECT_EQ(copy.ImageID, 12);
    EXPECT_EQ(copy.ImageName, source.ImageName);
    EXPECT_EQ(copy.IMGImagetype, 2);
    EXPECT_EQ(copy.m_rcDrawn, DeviceRect{});

    CKovImage target;
    target.CopyFrom(source);
    EXPECT_EQ(target.ImageID, 12);
    EXPECT_EQ(target.m_rcDrawn, DeviceRect{});
}

TEST(ObjectMoves, EveryKindMovesItsPointsOnly)
{
    CKovLine line;
    line.MLinePnt = {{1, 2}, {3, 4}};
    line.MLineParam = {5.0};
    line.MoveBy(10, -1);
    EXPECT_EQ(line.MLinePnt, (CDbPointArray{{11, 1}, {13, 3}}));
    EXPECT_EQ(line.MLineParam, std::vector<double>{5.0});

    CKovWall wall;
    wall.MWallPntA = {0, 0};
    wall.MWallPntB = {100, 0};
    wall.MWallPntKado = {CDbPoint(-5, -5), CDbPoint(-5, 5), CDbPoint(105, 5), CDbPoint(105, -5)};
    wall.MWallarPntA = {{-5, -5}};
    wall.MWallarPntB = {{-5, 5}};
    wall.MoveBy(1, 2);
    EXPECT_EQ(wall.MWallPntA, CDbPoint(1, 2));
    EXPECT_EQ(wall.MWallPntB, CDbPoint(101, 2));
    EXPECT_EQ(wall.MWallPntKado[2], CDbPoint(106, 7));
    EXPECT_EQ(wall.MWallarPntA[0], CDbPoint(-4, -3));
    EXPECT_EQ(wall.MWallarPntB[0], CDbPoint(-4, 7));
    EXPECT_EQ(wall.MWallWide1, 50.0);

    CKovText text;
    text.MTextpnt = {3, 3};
    text.MoveBy(-3, 1);
    EXPECT_EQ(text.MTextpnt, CDbPoint(0, 4));

    CKovImage picture;
    picture.MoveBy(2, 3);
    EXPECT_EQ(picture.OffsetX, 2.0);
    EXPECT_EQ(picture.OffsetY, 3.0);
    EXPECT_EQ(picture.ImageWidth, 50.0);
}

TEST(DefaultStyle, FigureTakesTheSlotOfItsKind)
{
    struct Row {
        int kind;
        int slot;
    };
    const Row rows[] = {{CKovLine::LINE, 0}, {CKovLine::RECTANGLE, 1}, {CKovLine::POLYGON, 2}, {CKovLine::CIRCLE, 3},
                        {CKovLine::ARC, 4},  {CKovLine::DIMENSION, 0}, {CKovLine::CONTINUOUS, 0}, {99, 0}};
    CPlotInfo plot;
    for (int s = 0; s < CPlotInfo::kSlots; ++s) {
        const auto i = static_cast<std::size_t>(s);
        plot.PlotColor[i] = 0x10u + i;
        plot.PlotNakaColor[i] = 0x20u + i;
        plot.PlotNakaNuri[i] = 1;
        plot.PlotNakaColor2[i] = 0x30u + i;
        plot.PlotGradiation[i] = 4500 + s;
        plot.PlotbHach[i] = 1;
        plot.PlotAlpha[i] = 50 + s;
        plot.PlotHachT[i] = 10 + s;
        plot.PlotLineType[i] = s;
        plot.PlotLineWide[i] = 2 + s;
        plot.PlotLineTanten[i] = 6 + s;
        plot.PlotPattern[i] = 3;
    }
    plot.PlotLineYaWide = 3;

    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        CKovLine line;
        line.MLineType = row.kind;
        line.ApplyDefaultStyle(plot);
        EXPECT_EQ(line.MLineColor, 0x10u + static_cast<unsigned>(row.slot));
        EXPECT_EQ(line.MLineNakaColor, 0x20u + static_cast<unsigned>(row.slot));
        EXPECT_EQ(line.MLinebNakanuri, 1);
        EXPECT_EQ(line.MLineNakaColor2, 0x30u + static_cast<unsigned>(row.slot));
        EXPECT_EQ(line.MLineGradiation, 4500 + row.slot);
        EXPECT_EQ(line.MLinebHach, 1);
        EXPECT_EQ(line.MLineAlpha, 50 + row.slot);
        EXPECT_EQ(line.MLineHachT, 10 + row.slot);
        EXPECT_EQ(line.MLineLineT, row.slot);
        EXPECT_EQ(line.MLineWide, 2 + row.slot);
        EXPECT_EQ(line.MLineTanten, 6 + row.slot);
        EXPECT_EQ(line.MLineYaWide, 3);
        EXPECT_EQ(line.MLinePattern, 0); // the pattern is never applied

        const auto made = CKovLine::MakeStyled(row.kind, plot);
        EXPECT_EQ(made->MLineType, row.kind);
        EXPECT_EQ(made->MLineWide, 2 + row.slot);
    }
}

TEST(DefaultStyle, StoreWritesTheSlotOfItsKindOnly)
{
    CPlotInfo plot;
    const CPlotInfo before = plot;
    CKovLine arc;
    arc.MLineType = CKovLine::ARC;
    arc.MLineColor = 0x0000FF;
    arc.MLineTanten = 2;
    arc.MLineYaWide = 4;
    arc.MLinePattern = 7;
    arc.StoreDefaultStyle(plot);

    EXPECT_EQ(plot.PlotColor[4], 0x0000FFu);
    EXPECT_EQ(plot.PlotLineTanten[4], 2);
    EXPECT_EQ(plot.PlotLineYaWide, 4);
    EXPECT_EQ(plot.PlotPattern[4], before.PlotPattern[4]);
    for (std::size_t s = 0; s < 4; ++s)
        EXPECT_EQ(plot.PlotColor[s], before.PlotColor[s]);

    CKovLine fresh;
    fresh.MLineType = CKovLine::ARC;
    fresh.ApplyDefaultStyle(plot);
    EXPECT_EQ(fresh.MLineColor, 0x0000FFu);
}

TEST(WallDefaults, StoreDefaultsKeepsThicknessTypeAndColumnType)
{
    CPlotInfo plot;
    CKovWall wall;
    wall.MWallWide1 = 75.0;
    wall.MWallWide2 = 20.0;
    wall.MWallType = 1;
    wall.MHasiraType = 2;
    wall.StoreDefaults(plot);
    EXPECT_EQ(plot.PlotWallWide, 75.0);
    EXPECT_EQ(plot.walltype, 1);
    EXPECT_EQ(plot.hasiratype, 2);
}

TEST(Deletion, DeleteReportsWhetherTheObjectExisted)
{
    CKovUnit unit;
    addLine(unit, 2);
    addLine(unit, 3);
    addLine(unit, 4);
    addWall(unit, 3);
    addText(unit, 3);
    addImage(unit, 3);

    EXPECT_EQ(unit.DeleteLine(3), 1);
    EXPECT_EQ(lineIds(unit), (std::vector<int>{2, 4}));
    EXPECT_EQ(unit.DeleteLine(3), 0);
    EXPECT_EQ(unit.DeleteWall(3), 1);
    EXPECT_EQ(unit.DeleteWall(3), 0);
    EXPECT_EQ(unit.DeleteText(3), 1);
    EXPECT_EQ(unit.DeleteImage(3), 1);
    EXPECT_EQ(unit.DeleteImage(3), 0);
    EXPECT_EQ(unit.DeleteGroup(3), 0);
    EXPECT_EQ(unit.FindLineIndex(4), 1);
}

TEST(Deletion, DeleteGroupRemovesMembersThenGroupAndSkipsMissingOnes)
{
    CKovUnit unit;
    addLine(unit, 2, 7);
    addLine(unit, 3);
    addLine(unit, 4, 7);
    addWall(unit, 2, 7);
    addWall(unit, 5);
    addText(unit, 2, 7);
    addGroup(unit, 6, {4}, {}, {});
    // Figure 9 no longer exists; a figure listed twice is deleted once.
    addGroup(unit, 7, {2, 9, 4, 2}, {2}, {2});

    EXPECT_EQ(unit.DeleteGroup(7), 1);
    EXPECT_EQ(lineIds(unit), std::vector<int>{3});
    ASSERT_EQ(unit.m_Walls.GetSize(), 1);
    EXPECT_EQ(unit.m_Walls[0]->MWallID, 5);
    EXPECT_TRUE(unit.m_Texts.empty());
    ASSERT_EQ(unit.m_Groups.GetSize(), 1);
    EXPECT_EQ(unit.m_Groups[0]->MGrpID, 6);
    // The other group still lists its deleted member: member lists are not touched.
    EXPECT_EQ(unit.m_Groups[0]->MGrpLineID, std::vector<int>{4});
    EXPECT_EQ(unit.HasGroup(7), 0);
    EXPECT_EQ(unit.HasGroup(6), 1);
}

TEST(Deletion, DeleteGroupTakesTheFirstObjectOfASharedIdentifier)
{
    CKovUnit unit;
    addLine(unit, 5)->MLineColor = 1;
    addLine(unit, 5)->MLineColor = 2;
    addGroup(unit, 2, {5}, {}, {});
    unit.DeleteGroup(2);
    ASSERT_EQ(unit.m_Lines.GetSize(), 1);
    EXPECT_EQ(unit.m_Lines[0]->MLineColor, 2u);
}

TEST(Deletion, DeletingManyObjectsAtOnceDeletesWhatOneByOneWould)
{
    // Shared identifiers, members listed twice or by two groups, groups named twice or not at all.
    std::mt19937 rng(3);
    auto small = [&](int n) { return 1 + int(rng() % unsigned(n)); };
    for (int round = 0; round < 200; ++round) {
        CKovUnit unit;
        int colour = 0;
        for (int i = 0; i < 40; ++i) addLine(unit, small(25))->MLineColor = std::uint32_t(++colour);
        for (int i = 0; i < 15; ++i) addWall(unit, small(10))->MWallLayer1 = ++colour;
        for (int i = 0; i < 15; ++i) addText(unit, small(10))->MTextLayer1 = ++colour;
        for (int g = 0; g < 12; ++g) {
            std::vector<int> lines(rng() % 6), walls(rng() % 3), texts(rng() % 3);
            for (int& id : lines) id = small(28);
            for (int& id : walls) id = small(12);
            for (int& id : texts) id = small(12);
            addGroup(unit, small(9), lines, walls, texts)->MGrpLayer1 = ++colour;
        }
        std::vector<int> ids(rng() % 10);
        for (int& id : ids) id = small(11);
        // Every other round the selection holds loose objects too, some of them group members.
        SelectionRecord sel;
        sel.m_Groups = ids;
        if (round % 2) {
            for (int i = int(rng() % 8); i > 0; --i) sel.m_Lines.push_back(small(28));
            for (int i = int(rng() % 4); i > 0; --i) sel.m_Walls.push_back(small(12));
            for (int i = int(rng() % 4); i > 0; --i) sel.m_Texts.push_back(small(12));
        }

        CKovUnit oneByOne;
        oneByOne.CopyFrom(unit);
        int expected = 0;
        for (const int id : ids) expected += oneByOne.DeleteGroup(id);
        for (const int id : sel.m_Walls) oneByOne.DeleteWall(id);
        for (const int id : sel.m_Lines) oneByOne.DeleteLine(id);
        for (const int id : sel.m_Texts) oneByOne.DeleteText(id);
        if (round % 2)
            unit.DeleteSelection(sel);
        else
            ASSERT_EQ(unit.DeleteGroups(ids), expected) << "round " << round;

        auto same = [](const auto& a, const auto& b, auto mark) {
            std::vector<long long> x, y;
            for (const auto& o : a) x.push_back(mark(*o));
            for (const auto& o : b) y.push_back(mark(*o));
            return x == y;
        };
        ASSERT_TRUE(same(unit.m_Lines, oneByOne.m_Lines, [](const CKovLine& o) { return (long long)o.MLineColor; }));
        ASSERT_TRUE(same(unit.m_Walls, oneByOne.m_Walls, [](const CKovWall& o) { return (long long)o.MWallLayer1; }));
        ASSERT_TRUE(same(unit.m_Texts, oneByOne.m_Texts, [](const CKovText& o) { return (long long)o.MTextLayer1; }));
        ASSERT_TRUE(same(unit.m_Groups, oneByOne.m_Groups, [](const CKovGroup& o) { return (long long)o.MGrpLayer1; }));
        for (int id = 0; id < 30; ++id) ASSERT_EQ(unit.FindLineIndex(id), oneByOne.FindLineIndex(id));
    }
}

// A drawing with one object of every kind and non-default fields everywhere.
void fillDrawing(CKovUnit& unit)
{
    addGroup(unit, 4, {3}, {2}, {6})->MGrpRoom = CKovGroup::ROOM;
    CKovLine* line = addLine(unit, 3, 4);
    line->MLineParam = {1.5, 2.5};
    line->MLineType = CKovLine::ARC;
    addLine(unit, 8);
    CKovWall* wall = addWall(unit, 2, 4);
    wall->MWallarPntA = {{1, 1}};
    wall->MWallarPntB = {{2, 2}};
    CKovText* text = addText(unit, 6, 4);
    text->MTextstr = "和室\r\n6畳";
    text->MTextFontMenu.m_size = 9.5;
    CKovImage* picture = addImage(unit, 11);
    picture->ImageName = "/tmp/p/temp11.bmp";
    picture->m_rcDrawn = {1, 2, 3, 4};
    unit.MUnitGrpID = 4;
    unit.MUnitLineID = 8;
    unit.MUnitWallID = 2;
    unit.MUnitTextID = 6;
    unit.MUnitImageID = 11;
}

TEST(WholeCopy, CopyIsDeepEqualAndIndependent)
{
    CKovUnit source;
    fillDrawing(source);
    CKovUnit copy;
    addLine(copy, 77); // replaced by the copy
    copy.CopyFrom(source);

    EXPECT_EQ(copy.MUnitGrpID, 4);
    EXPECT_EQ(copy.MUnitLineID, 8);
    EXPECT_EQ(copy.MUnitWallID, 2);
    EXPECT_EQ(copy.MUnitTextID, 6);
    EXPECT_EQ(copy.MUnitImageID, 11);
    EXPECT_EQ(lineIds(copy), (std::vector<int>{3, 8}));
    ASSERT_EQ(copy.m_Groups.GetSize(), 1);
    ASSERT_EQ(copy.m_Walls.GetSize(), 1);
    ASSERT_EQ(copy.m_Texts.GetSize(), 1);
    ASSERT_EQ(copy.m_Images.GetSize(), 1);
    EXPECT_EQ(copy.m_Groups[0]->MGrpLineID, std::vector<int>{3});
    EXPECT_EQ(copy.m_Groups[0]->MGrpRoom, CKovGroup::ROOM);
    EXPECT_EQ(copy.m_Lines[0]->MLineParam, (std::vector<double>{1.5, 2.5}));
    EXPECT_EQ(copy.m_Walls[0]->MWallarPntB, (CDbPointArray{{2, 2}}));
    EXPECT_EQ(copy.m_Texts[0]->MTextstr, "和室\r\n6畳");
    EXPECT_EQ(copy.m_Texts[0]->MTextFontMenu.m_size, 9.5);
    EXPECT_EQ(copy.m_Images[0]->ImageName, "/tmp/p/temp11.bmp");
    EXPECT_EQ(copy.m_Images[0]->m_rcDrawn, DeviceRect{});
    EXPECT_EQ(copy.FindTextIndex(6), 0);

    // Nothing is shared: changing the copy leaves the source alone.
    EXPECT_NE(copy.m_Lines[0], source.m_Lines[0]);
    copy.m_Lines[0]->MLinePnt[0] = {99, 99};
    copy.m_Groups[0]->MGrpLineID.push_back(8);
    copy.m_Texts[0]->MTextFontMenu.lfFaceName = "IPAGothic";
    copy.m_Walls[0]->MWallarPntA.clear();
    copy.DeleteLine(8);
    EXPECT_EQ(source.m_Lines[0]->MLinePnt[0], CDbPoint(0, 0));
    EXPECT_EQ(source.m_Groups[0]->MGrpLineID, std::vector<int>{3});
    EXPECT_EQ(source.m_Texts[0]->MTextFontMenu.lfFaceName, CFontMenu().lfFaceName);
    EXPECT_EQ(source.m_Walls[0]->MWallarPntA.size(), 1u);
    EXPECT_EQ(lineIds(source), (std::vector<int>{3, 8}));
}

TEST(WholeCopy, CopyOntoItselfKeepsTheDrawing)
{
    CKovUnit unit;
    fillDrawing(unit);
    const CKovUnit& same = unit;
    unit.CopyFrom(same);
    EXPECT_EQ(lineIds(unit), (std::vector<int>{3, 8}));
    EXPECT_EQ(unit.m_Images.GetSize(), 1);
    EXPECT_EQ(unit.MUnitLineID, 8);
}

TEST(WholeCopy, ObjectsHandedOverAreFoundInTheirNewContainer)
{
    CKovUnit source;
    fillDrawing(source);
    CKovUnit target;
    addLine(target, 3);
    for (auto& line : source.m_Lines.TakeAll())
        target.m_Lines.Add(std::move(line));
    EXPECT_TRUE(source.m_Lines.empty());
    EXPECT_EQ(source.FindLineIndex(8), -1);
    EXPECT_EQ(target.FindLineIndex(3), 0);
    EXPECT_EQ(target.FindLineIndex(8), 2);
}

TEST(WholeCopy, CopyKeepsTheTargetsPictureFiles)
{
    std::vector<int> removed;
    CKovUnit::SetPictureFileRemover([&removed](const CKovImage& p) { removed.push_back(p.ImageID); });
    CKovUnit source;
    addImage(source, 3);
    CKovUnit copy;
    addImage(copy, 5);
    copy.CopyFrom(source);
    CKovUnit::SetPictureFileRemover({});
    EXPECT_TRUE(removed.empty());
    EXPECT_EQ(copy.m_Images[0]->ImageID, 3);
}

TEST(Emptying, ModesDecideWhetherPictureFilesGo)
{
    struct Row {
        int mode;
        std::vector<int> removed;
    };
    const Row rows[] = {{CKovUnit::REMOVE_DELETE_PICTURE_FILES, {4, 9}},
                        {CKovUnit::REMOVE_KEEP_PICTURE_FILES, {}},
                        {CKovUnit::REMOVE_DISCARD_SNAPSHOT, {4, 9}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        std::vector<int> removed;
        CKovUnit::SetPictureFileRemover([&removed](const CKovImage& p) { removed.push_back(p.ImageID); });
        CKovUnit unit;
        fillDrawing(unit);
        unit.m_Images[0]->ImageID = 4;
        addImage(unit, 9);
        unit.RemoveAllObjects(row.mode);
        CKovUnit::SetPictureFileRemover({});

        EXPECT_EQ(removed, row.removed);
        EXPECT_TRUE(unit.m_Groups.empty());
        EXPECT_TRUE(unit.m_Lines.empty());
        EXPECT_TRUE(unit.m_Walls.empty());
        EXPECT_TRUE(unit.m_Texts.empty());
        EXPECT_TRUE(unit.m_Images.empty());
        EXPECT_EQ(unit.NextLineId(), 2);
        EXPECT_EQ(unit.NextImageId(), 2);
        EXPECT_EQ(unit.FindLineIndex(3), -1);
    }
}

TEST(Emptying, DiscardingDeletesEveryExtensionOfThePicturesFilesOnly)
{
    const kov::test::TempFolder folder;
    const std::vector<std::string> names = {"temp4.bmp", "temp4.png", "temp4.gif", "temp4.jpg", "temp40.bmp", "temp9.jpg"};
    auto populate = [&] {
        for (const auto& name : names)
            std::ofstream(folder.file(name)) << "x";
    };
    auto present = [&] {
        std::vector<std::string> out;
        for (const auto& name : names)
            if (std::filesystem::exists(folder.file(name)))
                out.push_back(name);
        return out;
    };
    CKovUnit::UseTempImageFolder(folder.path());

    populate();
    {
        CKovUnit copy;
        addImage(copy, 4);
        copy.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
    EXPECT_EQ(present(), names);

    {
        CKovUnit unit;
        addImage(unit, 4);
        unit.RemoveAllObjects(CKovUnit::REMOVE_DELETE_PICTURE_FILES);
    }
    EXPECT_EQ(present(), (std::vector<std::string>{"temp40.bmp", "temp9.jpg"}));

    // The destructor alone never deletes files.
    populate();
    {
        CKovUnit unit;
        addImage(unit, 9);
    }
    EXPECT_EQ(present(), names);

    CKovUnit::UseTempImageFolder({});
}

TEST(SelectionRecordTest, ClearEmptiesListsAndGrip)
{
    SelectionRecord sel;
    sel.AddGroupId(1);
    sel.AddWallId(2);
    sel.AddLineId(3);
    sel.AddTextId(4);
    sel.AddImageId(5);
    sel.m_nGripKind = 2;
    sel.m_nGripIndex = 3;
    EXPECT_EQ(sel.m_nCount, 5);

    sel.Clear();
    EXPECT_EQ(sel.m_nCount, 0);
    EXPECT_TRUE(sel.m_Groups.empty() && sel.m_Walls.empty() && sel.m_Lines.empty() && sel.m_Texts.empty() &&
                sel.m_Images.empty());
    EXPECT_EQ(sel.m_nGripKind, 0);
    EXPECT_EQ(sel.m_nGripIndex, 0);
}

} // namespace
