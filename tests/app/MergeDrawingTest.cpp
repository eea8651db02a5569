#include "app/KoviraDoc.h"
#include "app/MergeDrawing.h"

#include "DocumentTestSupport.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/SelectionRecord.h"
#include "model/UnitBlocks.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

using kov::app::MergeUnit;
namespace fs = std::filesystem;

namespace {

// Small builders: each adds one object with the given identifiers and layers.
struct UnitBuilder {
    CKovUnit& unit;

    CKovGroup& group(int id, int kind = CKovGroup::PLAIN, std::vector<int> lines = {}, std::vector<int> walls = {},
                     std::vector<int> texts = {})
    {
        auto g = std::make_unique<CKovGroup>();
        g->MGrpID = id;
        g->MGrpRoom = kind;
        g->MGrpLineID = std::move(lines);
        g->MGrpWallID = std::move(walls);
        g->MGrpTextID = std::move(texts);
        return *unit.m_Groups[unit.m_Groups.Add(std::move(g))];
    }
    CKovLine& line(int id, int group = 0, int layerGroup = 0, int layer = 0)
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = id;
        f->MLineGrpID = group;
        f->MLineLayer1 = layerGroup;
        f->MLineLayer2 = layer;
        f->MLinePnt = {CDbPoint(id, 0), CDbPoint(id, 10)};
        return *unit.m_Lines[unit.m_Lines.Add(std::move(f))];
    }
    CKovWall& wall(int id, int group = 0)
    {
        auto w = std::make_unique<CKovWall>();
        w->MWallID = id;
        w->MWallGrpID = group;
        return *unit.m_Walls[unit.m_Walls.Add(std::move(w))];
    }
    CKovText& text(int id, int group = 0)
    {
        auto t = std::make_unique<CKovText>();
        t->MTextID = id;
        t->MTextGrpID = group;
        return *unit.m_Texts[unit.m_Texts.Add(std::move(t))];
    }
    CKovImage& image(int id)
    {
        auto i = std::make_unique<CKovImage>();
        i->ImageID = id;
        return *unit.m_Images[unit.m_Images.Add(std::move(i))];
    }
};

template <class Array, class T>
std::vector<int> ids(const Array& array, int T::*field)
{
    std::vector<int> out;
    for (const auto& o : array) out.push_back((*o).*field);
    return out;
}

TEST(MergeUnit, TwoGroupsTakeTheNextFreeIdentifiersAndListTheirOwnNewMembers)
{
    CKovUnit target, source;
    target.MUnitGrpID = 10;
    target.MUnitLineID = 40;
    UnitBuilder s{source};
    s.group(3, CKovGroup::PLAIN, {7, 8});
    s.group(4, CKovGroup::ROOM, {9, 10});
    s.line(7, 3);
    s.line(9, 4);
    s.line(8, 3);
    s.line(10, 4);

    SelectionRecord selection;
    EXPECT_EQ(MergeUnit(target, source, selection), 0);

    EXPECT_EQ(ids(target.m_Groups, &CKovGroup::MGrpID), (std::vector<int>{11, 12}));
    EXPECT_EQ(ids(target.m_Lines, &CKovLine::MLineID), (std::vector<int>{41, 42, 43, 44}));
    EXPECT_EQ(target.m_Groups[0]->MGrpLineID, (std::vector<int>{41, 43}));
    EXPECT_EQ(target.m_Groups[1]->MGrpLineID, (std::vector<int>{42, 44}));
    EXPECT_EQ(ids(target.m_Lines, &CKovLine::MLineGrpID), (std::vector<int>{11, 12, 11, 12}));
    EXPECT_EQ(selection.m_Groups, (std::vector<int>{11, 12}));
    EXPECT_TRUE(selection.m_Lines.empty());
    EXPECT_EQ(selection.m_nCount, 2);
    EXPECT_EQ(target.MUnitGrpID, 12);
    EXPECT_EQ(target.MUnitLineID, 44);
    EXPECT_TRUE(source.m_Groups.empty() && source.m_Lines.empty());
}

TEST(MergeUnit, NothingToMergeChangesNothing)
{
    CKovUnit target, source;
    UnitBuilder t{target};
    t.line(2);
    SelectionRecord selection;
    MergeUnit(target, source, selection);
    EXPECT_EQ(target.m_Lines.GetSize(), 1);
    EXPECT_EQ(target.MUnitLineID, 1);
    EXPECT_TRUE(selection.IsEmpty());
}

TEST(MergeUnit, MembersOfMissingGroups)
{
    CKovUnit target, source;
    UnitBuilder t{target};
    t.group(2, CKovGroup::ROOM, {2});
    t.line(2, 2);
    UnitBuilder s{source};
    s.line(2, 5);  // claims group 5, listed by none: dropped
    s.line(3, 0);
    s.wall(4, 5);  // a wall of the missing group is merged, ungrouped
    s.text(6, 5);  // so is a text

    SelectionRecord selection;
    MergeUnit(target, source, selection);

    ASSERT_EQ(target.m_Lines.GetSize(), 2);
    EXPECT_EQ(target.m_Lines[1]->MLinePnt[0].x, 3.0) << "only the ungrouped figure arrives";
    ASSERT_EQ(target.m_Walls.GetSize(), 1);
    ASSERT_EQ(target.m_Texts.GetSize(), 1);
    // Group 5 of the source is no group of the drawing; a stale 5 could later name one.
    EXPECT_EQ(target.m_Walls[0]->MWallGrpID, 0);
    EXPECT_EQ(target.m_Texts[0]->MTextGrpID, 0);
    EXPECT_EQ(selection.m_Lines.size(), 1u);
    EXPECT_EQ(selection.m_Walls, std::vector<int>{target.m_Walls[0]->MWallID});
    EXPECT_EQ(selection.m_Texts, std::vector<int>{target.m_Texts[0]->MTextID});
    EXPECT_EQ(selection.m_nCount, 3);
    EXPECT_EQ(target.m_Groups[0]->MGrpLineID, std::vector<int>{2}) << "the drawing's own group is untouched";
}

TEST(MergeUnit, MergedObjectsFollowTheExistingOnesWithoutSharingAnIdentifier)
{
    CKovUnit target, source;
    UnitBuilder t{target};
    t.group(2, CKovGroup::ROOM, {2, 3}, {2}, {2});
    t.line(2, 2);
    t.line(3, 2);
    t.wall(2, 2);
    t.text(2, 2);
    target.MUnitGrpID = target.MUnitLineID = target.MUnitWallID = target.MUnitTextID = 1; // counters behind the ids
    UnitBuilder s{source};
    s.group(2, CKovGroup::FITTING, {2}, {2, 3}, {2});
    s.line(2, 2);
    s.wall(2, 2);
    s.wall(3, 2);
    s.text(2, 2);
    s.line(3);

    SelectionRecord selection;
    MergeUnit(target, source, selection);

    auto unique = [](std::vector<int> v) { return std::set<int>(v.begin(), v.end()).size() == v.size(); };
    EXPECT_TRUE(unique(ids(target.m_Groups, &CKovGroup::MGrpID)));
    EXPECT_TRUE(unique(ids(target.m_Lines, &CKovLine::MLineID)));
    EXPECT_TRUE(unique(ids(target.m_Walls, &CKovWall::MWallID)));
    EXPECT_TRUE(unique(ids(target.m_Texts, &CKovText::MTextID)));
    // The old objects stay first; every member of the merged group points back at it.
    EXPECT_EQ(target.m_Lines[0]->MLineID, 2);
    const CKovGroup& merged = *target.m_Groups[1];
    EXPECT_EQ(merged.MGrpRoom, CKovGroup::FITTING);
    for (int id : merged.MGrpLineID) EXPECT_EQ(target.FindLine(id)->MLineGrpID, merged.MGrpID);
    for (int id : merged.MGrpWallID) EXPECT_EQ(target.FindWall(id)->MWallGrpID, merged.MGrpID);
    for (int id : merged.MGrpTextID) EXPECT_EQ(target.FindText(id)->MTextGrpID, merged.MGrpID);
    EXPECT_EQ(merged.MGrpWallID.size(), 2u);
    EXPECT_EQ(target.m_Groups[0]->MGrpLineID, (std::vector<int>{2, 3}));
    EXPECT_EQ(selection.m_Groups, std::vector<int>{merged.MGrpID});
    EXPECT_EQ(selection.m_Lines.size(), 1u);
}

TEST(MergeUnit, TargetLayerFlag)
{
    struct Case {
        const char* name;
        int flag;
        int expectedGroup;
        int expectedLayer;
    };
    for (const Case& c : {Case{"flag set", 1, 2, 5}, Case{"flag clear", 0, 3, 7}}) {
        SCOPED_TRACE(c.name);
        CKovUnit target, source;
        UnitBuilder s{source};
        auto& g = s.group(2, CKovGroup::PLAIN, {2});
        g.MGrpLayer1 = 3, g.MGrpLayer2 = 7;
        s.line(2, 2, 3, 7);
        auto& w = s.wall(2);
        w.MWallLayer1 = 3, w.MWallLayer2 = 7;
        auto& t = s.text(2);
        t.MTextLayer1 = 3, t.MTextLayer2 = 7;
        auto& i = s.image(4);
        i.IMGLayer1 = 3, i.IMGLayer2 = 7;
        SelectionRecord selection;
        MergeUnit(target, source, selection, c.flag, 2, 5);
        EXPECT_EQ(target.m_Groups[0]->MGrpLayer1 * 100 + target.m_Groups[0]->MGrpLayer2,
            c.expectedGroup * 100 + c.expectedLayer);
        EXPECT_EQ(target.m_Lines[0]->MLineLayer1 * 100 + target.m_Lines[0]->MLineLayer2,
            c.expectedGroup * 100 + c.expectedLayer);
        EXPECT_EQ(target.m_Walls[0]->MWallLayer1 * 100 + target.m_Walls[0]->MWallLayer2,
            c.expectedGroup * 100 + c.expectedLayer);
        EXPECT_EQ(target.m_Texts[0]->MTextLayer1 * 100 + target.m_Texts[0]->MTextLayer2,
            c.expectedGroup * 100 + c.expectedLayer);
        EXPECT_EQ(target.m_Images[0]->IMGLayer1 * 100 + target.m_Images[0]->IMGLayer2,
            c.expectedGroup * 100 + c.expectedLayer);
    }
}

TEST(MergeUnit, PicturesKeepTheirNumberUnlessTheDrawingUsesIt)
{
    kov::test::TempFolder folder;
    auto touch = [&](int id, int type) { std::ofstream(TempImagePath(folder.path(), id, type)) << "pic" << id; };
    CKovUnit target, source;
    UnitBuilder t{target};
    t.image(3); // its file has gone missing, so reading gave the merged picture 3 as well
    UnitBuilder s{source};
    s.image(3).IMGImagetype = kPicturePng;
    touch(3, kPicturePng);
    s.image(7);
    touch(7, kPictureBmp);
    touch(4, kPictureJpeg); // 4 has a file: not free

    SelectionRecord selection;
    MergeUnit(target, source, selection, 0, 0, 0, folder.path());

    ASSERT_EQ(target.m_Images.GetSize(), 3);
    EXPECT_EQ(target.m_Images[1]->ImageID, 5);
    EXPECT_TRUE(fs::exists(TempImagePath(folder.path(), 5, kPicturePng)));
    EXPECT_FALSE(fs::exists(TempImagePath(folder.path(), 3, kPicturePng)));
    EXPECT_EQ(target.m_Images[2]->ImageID, 7) << "a free number stays with its file";
    EXPECT_TRUE(fs::exists(TempImagePath(folder.path(), 7, kPictureBmp)));
    EXPECT_EQ(selection.m_Images, (std::vector<int>{5, 7}));
    EXPECT_EQ(target.MUnitImageID, 1) << "the picture counter does not move";
}

// The merge command reads only the objects of the chosen file.
TEST(MergeDocumentFile, TakesTheObjectsAndLeavesTheSettingsAndSelection)
{
    kov::test::DocumentRig other;
    other.addLine(5, 0, 5, 10);
    other.addText("merged");
    other.doc->m_PlotInfo.PlotWallWide = 321.0;
    other.doc->m_Grid = CGrid();
    ASSERT_EQ(other.doc->WriteDocumentFile(other.file("other.kvr")), 1);

    kov::test::DocumentRig rig;
    const int own = rig.addLine(1, 0, 1, 10);
    rig.doc->m_Selection.AddLineId(own);
    const double wallWide = rig.doc->m_PlotInfo.PlotWallWide;
    rig.doc->SetModifiedFlag(false);

    EXPECT_EQ(kov::app::MergeDocumentFile(*rig.doc, other.file("other.kvr")), 1);
    EXPECT_TRUE(rig.doc->IsModified()) << "leaving the merged drawing asks to save it";
    EXPECT_EQ(kov::test::lineStarts(rig.doc->m_Unit), (std::vector<double>{1, 5}));
    EXPECT_EQ(rig.doc->m_Unit.m_Texts.GetSize(), 1);
    EXPECT_EQ(rig.doc->m_PlotInfo.PlotWallWide, wallWide);
    EXPECT_TRUE(rig.doc->m_Selection.IsEmpty());
}

TEST(MergeDocumentFile, ADamagedFileMergesWhatCanBeReadAndSaysSo)
{
    kov::test::DocumentRig other;
    for (int x = 1; x <= 40; ++x) other.addLine(x, 0, x, 10);
    ASSERT_EQ(other.doc->WriteDocumentFile(other.file("other.kvr")), 1);
    auto bytes = kov::test::fileBytes(other.file("other.kvr"));
    bytes.resize(bytes.size() * 2 / 3);
    kov::test::writeBytes(other.file("cut.kvr"), bytes);

    kov::test::DocumentRig rig;
    rig.questions.acknowledge(kov::app::kMergeDamagedMessage);
    EXPECT_EQ(kov::app::MergeDocumentFile(*rig.doc, other.file("cut.kvr")), 1);
    const int merged = rig.doc->m_Unit.m_Lines.GetSize();
    EXPECT_GT(merged, 0);
    EXPECT_LT(merged, 40);
}

TEST(MergeDocumentFile, AFileThatIsNoDrawingMergesNothing)
{
    kov::test::DocumentRig rig;
    kov::test::writeBytes(rig.file("notes.txt"), {'h', 'e', 'l', 'l', 'o'});
    rig.questions.acknowledge(kov::app::kReadFailedMessage);
    EXPECT_EQ(kov::app::MergeDocumentFile(*rig.doc, rig.file("notes.txt")), 0);
    EXPECT_TRUE(rig.doc->m_Unit.m_Lines.empty());
    EXPECT_FALSE(rig.doc->IsModified());

    rig.questions.acknowledge();
    EXPECT_EQ(kov::app::MergeDocumentFile(*rig.doc, rig.file("missing.kvr")), 0);
}

} // namespace
