// Copies that run out of identifiers half-way: duplicating the selection and copying a range make
// every copy or none.

#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/EditFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

using namespace kov::test;
using kov::model::IdKind;

namespace {

// Two groups, each of a figure, a wall and a text, one more of each by itself and two pictures with
// files: every kind is copied at least twice, so with one identifier of a kind left a copy runs
// out half-way.
struct CopySource {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    TempFolder folder;
    DeviceTransform transform = pixelTransform(2.0, 4.0);

    CopySource()
    {
        for (int k : {1, 2}) {
            const double x = 100.0 * k;
            addFigure(unit, k, CKovLine::LINE, {{x, 100}, {x + 50, 100}}, {}, k);
            addWall(unit, k, {x, 200}, {x + 50, 200}, 10, k);
            addText(unit, k, {x, 300}, "A", k);
            addGroup(unit, k, {k}, {k}, {k});
        }
        addFigure(unit, 3, CKovLine::LINE, {{400, 100}, {450, 100}});
        addWall(unit, 3, {400, 200}, {450, 200}, 10);
        addText(unit, 3, {400, 300});
        for (int id : {4, 5}) {
            auto picture = std::make_unique<CKovImage>();
            picture->ImageID = id;
            picture->IMGImagetype = kPicturePng;
            picture->ImageName = TempImagePath(folder.path(), id).string();
            picture->ImageWidth = picture->ImageHeight = 10;
            picture->m_rcDrawn = {10, 10, 20, 20};
            std::ofstream(TempImagePath(folder.path(), id, kPicturePng), std::ios::binary) << "png";
            unit.m_Images.Add(std::move(picture));
        }
        unit.MUnitGrpID = 2;
        unit.MUnitLineID = unit.MUnitWallID = unit.MUnitTextID = 3;
        unit.MUnitImageID = 5;
    }
    void selectAll()
    {
        for (int k : {1, 2})
            sel.AddGroupId(k);
        sel.AddLineId(3);
        sel.AddWallId(3);
        sel.AddTextId(3);
        sel.AddImageId(4);
        sel.AddImageId(5);
    }
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
};

struct Exhausted {
    const char* name;
    IdKind kind;
};

const Exhausted kExhausted[] = {
    {"groups", IdKind::Group}, {"figures", IdKind::Line}, {"walls", IdKind::Wall},
    {"texts", IdKind::Text},   {"pictures", IdKind::Image},
};

TEST(GroupCopies, DuplicatingOutOfIdentifiersCopiesNothing)
{
    for (const Exhausted& row : kExhausted) {
        SCOPED_TRACE(row.name);
        CopySource d;
        takeIdentifiers(d.unit, row.kind, 1);
        d.selectAll();
        const SelectionRecord selected = d.sel;
        const std::set<std::string> files = d.files();
        CKovUnit before;
        before.CopyFrom(d.unit);

        EXPECT_EQ(d.unit.DuplicateSelection(d.sel, 5, 5, d.plot, d.folder.path()), 0);
        // The very drawing it was, counters included, and the selection as it was.
        EXPECT_TRUE(d.unit.SharesAllWith(before));
        EXPECT_EQ(d.sel.m_Groups, selected.m_Groups);
        EXPECT_EQ(d.sel.m_Lines, selected.m_Lines);
        EXPECT_EQ(d.sel.m_Walls, selected.m_Walls);
        EXPECT_EQ(d.sel.m_Texts, selected.m_Texts);
        EXPECT_EQ(d.sel.m_Images, selected.m_Images);
        EXPECT_EQ(d.sel.m_nCount, selected.m_nCount);
        EXPECT_EQ(d.files(), files);
        before.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
}

TEST(GroupCopies, RangeCopyOutOfIdentifiersCopiesNothing)
{
    for (const Exhausted& row : kExhausted) {
        SCOPED_TRACE(row.name);
        CopySource d;
        takeIdentifiers(d.unit, row.kind, 1);
        const std::set<std::string> files = d.files();
        CKovUnit before;
        before.CopyFrom(d.unit);

        EXPECT_EQ(d.unit.CopyRange(d.sel, d.plot, {{0, 0}, {1000, 1000}, {0, 0}}, {0, 2000}, d.transform,
                                   d.folder.path()),
                  0);
        EXPECT_TRUE(d.unit.SharesAllWith(before));
        EXPECT_TRUE(d.sel.IsEmpty());
        EXPECT_EQ(d.files(), files);
        before.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
}

TEST(GroupCopies, TheLastFreeIdentifiersAreEnough)
{
    // Exactly as many free as the copy needs: the copy is made whole.
    CopySource d;
    takeIdentifiers(d.unit, IdKind::Line, 3);
    d.selectAll();
    ASSERT_EQ(d.unit.DuplicateSelection(d.sel, 5, 5, d.plot, d.folder.path()), 1);
    EXPECT_EQ(d.sel.m_Groups.size(), 2u);
    EXPECT_EQ(d.sel.m_Lines.size(), 1u);
    for (int id : d.sel.m_Groups)
        EXPECT_EQ(std::as_const(d.unit).FindGroup(id)->MGrpLineID.size(), 1u);
    EXPECT_EQ(d.unit.NextLineId(), CKovUnit::kNoFreeId);
}

} // namespace
