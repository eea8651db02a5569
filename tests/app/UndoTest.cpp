// Undo and redo of whole-drawing snapshots: depth, redo, refused edits, exact restoration and the
// pictures' files.

#include "DocumentTestSupport.h"
#include "model/PictureFiles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kov::test::DocumentRig;

// Everything a snapshot must bring back, as text.
std::string fingerprint(const CKovUnit& unit)
{
    std::ostringstream out;
    out << unit.MUnitGrpID << ' ' << unit.MUnitLineID << ' ' << unit.MUnitWallID << ' ' << unit.MUnitTextID << ' '
        << unit.MUnitImageID << '|';
    for (const auto& l : unit.m_Lines) {
        out << 'L' << l->MLineID << ':' << l->MLineLayer2;
        for (const CDbPoint& p : l->MLinePnt) out << ',' << p.x << ',' << p.y;
        out << ';';
    }
    for (const auto& t : unit.m_Texts) out << 'T' << t->MTextID << ':' << t->MTextstr << ';';
    for (const auto& w : unit.m_Walls) out << 'W' << w->MWallID << ':' << w->MWallPntA.x << ';';
    for (const auto& g : unit.m_Groups) out << 'G' << g->MGrpID << ':' << g->MGrpLineID.size() << ';';
    for (const auto& i : unit.m_Images) out << 'I' << i->ImageID << ':' << i->ImageWidth << ';';
    return out.str();
}

// One edit as a tool makes it: the snapshot, then the change.
void moveFirstLine(DocumentRig& rig, double dx)
{
    rig.doc->PushUndo();
    rig.doc->m_Unit.m_Lines[0]->MLinePnt[0].x += dx;
    rig.doc->SettleUndo();
}

TEST(Undo, DepthKeepsTheBaseAndTheNewestSnapshots)
{
    struct Case {
        int depth;
        int edits;
        std::size_t entries;
    };
    const Case cases[] = {{20, 21, 21}, {20, 20, 21}, {20, 3, 4}, {2, 5, 3}, {1, 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "depth " << c.depth << ", edits " << c.edits);
        DocumentRig rig;
        rig.doc->m_nUndoDepth = c.depth;
        rig.addLine(0, 0, 10, 0);
        for (int i = 1; i <= c.edits; ++i) moveFirstLine(rig, 1);
        ASSERT_EQ(rig.doc->m_UndoStack.size(), c.entries);
        EXPECT_EQ(rig.doc->m_UndoStack[0], &rig.doc->m_BaseUnit);
        // Undo as far as it goes: the oldest edits beyond the depth stay done.
        int undone = 0;
        while (rig.doc->Undo()) ++undone;
        EXPECT_EQ(undone, int(c.entries) - 1);
        EXPECT_EQ(rig.doc->m_Unit.m_Lines[0]->MLinePnt[0].x, double(c.edits - undone));
        EXPECT_EQ(rig.doc->m_UndoStack.size(), 1u);
    }
}

TEST(Undo, UndoAndRedoRestoreEachStateExactly)
{
    DocumentRig rig;
    std::vector<std::string> states{fingerprint(rig.doc->m_Unit)};
    const std::vector<std::function<void()>> edits = {
        [&] { rig.addLine(0, 0, 10, 0); },
        [&] { rig.addText("和室"); },
        [&] { rig.doc->m_Unit.m_Lines[0]->MLinePnt[1].y = 5; },
        [&] { rig.doc->m_Unit.FindText(2)->MTextstr = "洋室"; },
        [&] { rig.addLine(1, 1, 2, 2, 3); },
        [&] { rig.doc->m_Unit.m_Lines.MoveItem(1, 0); },
        [&] { rig.doc->m_Unit.DeleteLine(2); },
        [&] { rig.doc->m_Unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); },
    };
    for (const auto& edit : edits) {
        rig.doc->PushUndo();
        edit();
        rig.doc->SettleUndo();
        states.push_back(fingerprint(rig.doc->m_Unit));
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(rig.doc->Undo());
        EXPECT_EQ(fingerprint(rig.doc->m_Unit), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(rig.doc->Undo()); // only the base is left, and it is never put back
    EXPECT_EQ(fingerprint(rig.doc->m_Unit), states[0]);
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(rig.doc->Redo());
        EXPECT_EQ(fingerprint(rig.doc->m_Unit), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(rig.doc->Redo());
}

TEST(Undo, AnEditAfterUndoEmptiesRedoButARefusedOneDoesNot)
{
    DocumentRig rig;
    rig.addLine(0, 0, 10, 0);
    for (int i = 0; i < 3; ++i) moveFirstLine(rig, 1);
    ASSERT_TRUE(rig.doc->Undo());
    ASSERT_TRUE(rig.doc->Undo());
    EXPECT_EQ(rig.doc->m_RedoStack.size(), 2u);

    // Snapshots for edits that change nothing (refused, cancelled, a tool's start) are dropped.
    rig.doc->PushUndo();
    rig.doc->PushUndo();
    const CKovUnit& live = rig.doc->m_Unit;
    EXPECT_NE(live.FindLine(2), nullptr); // reading to check an edit changes nothing
    EXPECT_TRUE(rig.doc->CanRedo());
    EXPECT_EQ(rig.doc->m_RedoStack.size(), 2u);
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 2u);

    moveFirstLine(rig, 5);
    EXPECT_FALSE(rig.doc->CanRedo());
    EXPECT_FALSE(rig.doc->Redo());
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 3u);
    EXPECT_EQ(rig.doc->m_Unit.m_Lines[0]->MLinePnt[0].x, 6.0);
}

TEST(Undo, LoweringTheDepthShortensTheStackOneEntryPerSnapshot)
{
    DocumentRig rig;
    rig.addLine(0, 0, 10, 0);
    for (int i = 0; i < 20; ++i) moveFirstLine(rig, 1);
    ASSERT_EQ(rig.doc->m_UndoStack.size(), 21u);
    rig.doc->m_nUndoDepth = 5;
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 21u);
    moveFirstLine(rig, 1);
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 21u);
    moveFirstLine(rig, 1);
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 21u);
    // Redo appends with the same rule.
    ASSERT_TRUE(rig.doc->Undo());
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 20u);
    ASSERT_TRUE(rig.doc->Redo());
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 20u);
}

TEST(Undo, PlacingImportedFiguresRefusesUndo)
{
    DocumentRig rig;
    rig.addLine(0, 0, 10, 0);
    moveFirstLine(rig, 1);
    EXPECT_FALSE(rig.doc->CanUndo(true));
    EXPECT_FALSE(rig.doc->Undo(true));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines[0]->MLinePnt[0].x, 1.0);
    EXPECT_TRUE(rig.doc->Undo(false));
}

TEST(Undo, PictureFilesOutliveTheSnapshotsThatNameThem)
{
    DocumentRig rig;
    rig.doc->m_nUndoDepth = 2;
    rig.doc->PushUndo();
    rig.addPicture(11);
    rig.doc->SettleUndo();
    const fs::path file = TempImagePath(rig.doc->TempImageFolder(), 11, kPicturePng);
    ASSERT_TRUE(fs::exists(file));

    // Deleted, undone, redone, and its snapshots dropped beyond the depth: the file stays.
    rig.doc->PushUndo();
    rig.doc->m_Unit.DeleteImage(11);
    rig.doc->SettleUndo();
    ASSERT_TRUE(rig.doc->Undo());
    ASSERT_EQ(rig.doc->m_Unit.m_Images.GetSize(), 1);
    ASSERT_TRUE(rig.doc->Redo());
    EXPECT_EQ(rig.doc->m_Unit.m_Images.GetSize(), 0);
    rig.addLine(0, 0, 1, 0);
    for (int i = 0; i < 4; ++i) moveFirstLine(rig, 1);
    EXPECT_TRUE(fs::exists(file));

    // A picture edited in the live drawing leaves the snapshot's copy as it was.
    rig.doc->m_nUndoDepth = 20;
    rig.addPicture(12).ImageWidth = 30;
    rig.doc->PushUndo();
    rig.doc->m_Unit.FindImage(12)->ImageWidth = 60;
    rig.doc->SettleUndo();
    ASSERT_TRUE(rig.doc->Undo());
    EXPECT_EQ(rig.doc->m_Unit.FindImage(12)->ImageWidth, 30.0);
}

} // namespace
