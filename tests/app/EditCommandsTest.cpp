// The editing and layer commands through the main window's routing: duplicate, numeric copy, move,
// group stretch, the selection's layer, the layer merges, selecting a layer, the intersection snap,
// and the starts of the editing tools from their menus.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/MainWindow.h"

#include "app/WindowTestSupport.h"
#include "edit/EditTexts.h"
#include "support/EditFixtures.h"
#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace {

using namespace kov::app;
using kov::platform::Answer;
using kov::test::addFigure;
using kov::test::addGroup;
using kov::test::addWall;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
    CKovUnit& unit() { return doc->m_Unit; }
    const CKovUnit& read() { return doc->m_Unit; }
    SelectionRecord& sel() { return doc->m_Selection; }
    void answerMove(double dx, double dy, int copies = 1, int shift = 0)
    {
        window->editAnswers().move = [=](kov::dialogs::ObjectMoveForm::Mode mode) {
            kov::dialogs::ObjectMoveForm f(mode);
            f.m_dx = dx, f.m_dy = dy, f.m_nCopies = copies, f.m_nShift = shift;
            f.m_right = true, f.m_down = true;
            return std::optional<kov::dialogs::ObjectMoveForm>(f);
        };
    }
    void answerLayer(std::optional<LayerChoice> choice)
    {
        window->editAnswers().layer = [choice](int, int) { return choice; };
    }
};

TEST(EditCommands, DuplicateLeavesTheCopyUpAndLeftByTheNearDistance)
{
    Rig r;
    addFigure(r.unit(), 1, CKovLine::LINE, {{10000, 10000}, {12000, 10000}});
    r.unit().MUnitLineID = 1;
    r.sel().AddLineId(1);
    const std::size_t depth = r.undoDepth();
    r.run(cmd::EditCopy);
    ASSERT_EQ(r.sel().m_Lines.size(), 1u);
    const int copy = r.sel().m_Lines[0];
    EXPECT_NE(copy, 1);
    const DeviceTransform t = *r.window->findChild<CKoviraView*>()->WindowTransform();
    const double d = std::trunc(g_nSnapTolerance / t.scaleX[0]);
    EXPECT_GT(d, 0);
    EXPECT_EQ(r.read().FindLine(copy)->MLinePnt[0], (CDbPoint{10000 - d, 10000 - d}));
    EXPECT_EQ(r.undoDepth(), depth + 1);
}

TEST(EditCommands, NumericCopyShiftsByTheWidthAndIsOneUndoStep)
{
    Rig r;
    addFigure(r.unit(), 1, CKovLine::LINE, {{0, 0}, {500, 0}});
    r.unit().MUnitLineID = 1;
    r.sel().AddLineId(1);
    r.answerMove(100, 0, 3, 1);
    const std::size_t depth = r.undoDepth();
    r.run(cmd::CopyNumeric);
    ASSERT_EQ(r.read().m_Lines.GetSize(), 4);
    std::vector<double> starts;
    for (int id : r.sel().m_Lines)
        starts.push_back(r.read().FindLine(id)->MLinePnt[0].x);
    EXPECT_EQ(starts, (std::vector<double>{600, 1200, 1800}));
    EXPECT_EQ(r.sel().m_nCount, 3);
    EXPECT_EQ(r.undoDepth(), depth + 1);
    r.run(cmd::EditUndo);
    EXPECT_EQ(r.read().m_Lines.GetSize(), 1);
}

TEST(EditCommands, CopiesOutOfIdentifiersSayWhyAndCopyNothing)
{
    struct Case {
        const char* name;
        int command;
        int selected; // figures selected
        int copies;   // asked of the numeric copy
        int free;     // figure identifiers left
    };
    const Case cases[] = {
        {"duplicate", cmd::EditCopy, 2, 1, 1},
        {"numeric copy, out at the third", cmd::CopyNumeric, 1, 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        for (int id = 1; id <= c.selected; ++id) {
            addFigure(r.unit(), id, CKovLine::LINE, {{0, 100.0 * id}, {500, 100.0 * id}});
            r.sel().AddLineId(id);
        }
        kov::test::takeIdentifiers(r.unit(), kov::model::IdKind::Line, c.free);
        const int figures = r.read().m_Lines.GetSize();
        const std::vector<int> selected = r.sel().m_Lines;
        r.answerMove(100, 0, c.copies);
        r.questions.acknowledge(kov::edit::texts::kCopyDrawingFull);
        const std::size_t depth = r.undoDepth();
        r.run(c.command);
        EXPECT_EQ(r.questions.pending(), 0u);
        EXPECT_EQ(r.read().m_Lines.GetSize(), figures);
        EXPECT_EQ(r.sel().m_Lines, selected);
        // Nothing changed, so nothing to undo.
        EXPECT_EQ(r.undoDepth(), depth);
    }
}

TEST(EditCommands, MoveAndGroupStretch)
{
    Rig r;
    addFigure(r.unit(), 1, CKovLine::RECTANGLE, {{0, 0}, {0, 1000}, {2000, 1000}, {2000, 0}}, {}, 5);
    addGroup(r.unit(), 5, {1});
    r.sel().AddGroupId(5);
    r.answerMove(300, -200);
    r.run(cmd::Move);
    EXPECT_EQ(r.read().FindLine(1)->MLinePnt[0], (CDbPoint{300, -200}));
    EXPECT_EQ(r.read().FindGroup(5)->MGrpmin, (CDbPoint{300, -200}));

    double askedWidth = 0;
    r.window->editAnswers().groupStretch = [&](double w, double) {
        askedWidth = w;
        return std::optional<std::array<double, 2>>(std::array<double, 2>{1.5, 0.5});
    };
    r.run(cmd::StretchGroup);
    EXPECT_EQ(askedWidth, 2000);
    EXPECT_EQ(r.read().FindLine(1)->MLinePnt[2], (CDbPoint{300 + 3000, -200 + 500}));
    EXPECT_EQ(r.read().FindGroup(5)->MGrpmax, (CDbPoint{3300, 300}));
}

TEST(EditCommands, TheSelectionsLayer)
{
    for (int keep : {0, 1}) {
        SCOPED_TRACE(keep);
        Rig r;
        addFigure(r.unit(), 1, CKovLine::LINE, {{0, 0}, {500, 0}});
        r.unit().MUnitLineID = 1;
        r.sel().AddLineId(1);
        r.answerLayer(LayerChoice{0, 2, keep});
        r.run(cmd::ChangeLayerOfSelection);
        EXPECT_TRUE(r.sel().IsEmpty());
        EXPECT_EQ(r.read().m_Lines.GetSize(), keep ? 2 : 1);
        EXPECT_EQ(r.read().FindLine(1)->MLineLayer1, keep ? 0 : 2);
        EXPECT_EQ(r.read().m_Lines[r.read().m_Lines.GetSize() - 1]->MLineLayer1, 2);
    }
}

TEST(EditCommands, LayerMergesAskFirstAndLeaveAnUndoStepEvenWhenCancelled)
{
    Rig r;
    addWall(r.unit(), 1, {0, 0}, {1000, 0}, 50, 0, 0, 3);
    r.unit().MUnitWallID = 1;
    r.answerLayer(LayerChoice{0, 1, 0});
    const std::size_t depth = r.doc->m_UndoStack.size();
    r.questions.reply(Answer::Cancel, "レイヤー 0　を　1　に合成します。よろしいですか？");
    r.run(cmd::LayerMoveMerge);
    EXPECT_EQ(r.read().FindWall(1)->MWallLayer1, 0);
    EXPECT_GE(r.doc->m_UndoStack.size() + (r.doc->NewestSnapshot() ? 1u : 0u), depth + 1);
    r.questions.reply(Answer::Ok, "レイヤー 0　を　1　に合成します。よろしいですか？");
    r.run(cmd::LayerMoveMerge);
    EXPECT_EQ(LayerOf(*r.read().FindWall(1)), (LayerAddress{1, 3}));
    r.answerLayer(LayerChoice{1, 2, 0});
    r.questions.reply(Answer::Ok, "レイヤー 1 を2にコピー合成します。よろしいですか？");
    r.run(cmd::LayerCopyMerge);
    ASSERT_EQ(r.read().m_Walls.GetSize(), 2);
    EXPECT_EQ(LayerOf(*r.read().m_Walls[1]), (LayerAddress{2, 3}));
    // A layer group the dialog could not show (no choice) does nothing.
    r.answerLayer(LayerChoice{-1, 2, 0});
    r.run(cmd::LayerCopyMerge);
    EXPECT_EQ(r.read().m_Walls.GetSize(), 2);
}

TEST(EditCommands, LayerCopiesOutOfIdentifiersSayWhyAndCopyNothing)
{
    Rig r;
    addWall(r.unit(), 1, {0, 0}, {1000, 0}, 50, 0, 0, 3);
    r.unit().MUnitWallID = 1;
    kov::test::takeIdentifiers(r.unit(), kov::model::IdKind::Wall, 0);
    const int walls = r.read().m_Walls.GetSize();
    r.answerLayer(LayerChoice{0, 1, 0});
    r.questions.reply(Answer::Ok, "レイヤー 0 を1にコピー合成します。よろしいですか？");
    r.questions.acknowledge(kov::edit::texts::kCopyDrawingFull);
    r.run(cmd::LayerCopyMerge);
    EXPECT_EQ(r.read().m_Walls.GetSize(), walls);

    r.sel().AddWallId(1);
    r.answerLayer(LayerChoice{0, 2, 1});
    r.questions.acknowledge(kov::edit::texts::kCopyDrawingFull);
    r.run(cmd::ChangeLayerOfSelection);
    EXPECT_EQ(r.questions.pending(), 0u);
    EXPECT_EQ(r.read().m_Walls.GetSize(), walls);
    EXPECT_EQ(r.sel().m_Walls, std::vector<int>{1});
}

TEST(EditCommands, SelectingALayerMakesItsGroupCurrent)
{
    Rig r;
    addFigure(r.unit(), 1, CKovLine::LINE, {{0, 0}, {500, 0}}, {}, 0, 2, 0);
    addFigure(r.unit(), 2, CKovLine::LINE, {{0, 0}, {500, 0}}, {}, 0, 2, 4);
    r.answerLayer(LayerChoice{-1, 2, 0});
    r.run(cmd::LayerSelectAll);
    EXPECT_EQ(r.doc->m_PlotInfo.m_Layer.m_nCurrentGroup, 2);
    EXPECT_EQ(r.sel().m_Lines, std::vector<int>{1});
}

TEST(EditCommands, IntersectionSnapSwitchIsTickedInTheMenu)
{
    Rig r;
    kov::tools::ToolMachine& m = r.window->findChild<CKoviraView*>()->machine();
    EXPECT_EQ(m.m_bIntersectionSnap, 0);
    r.run(cmd::ToggleIntersectionSnap);
    EXPECT_EQ(m.m_bIntersectionSnap, 1);
    EXPECT_TRUE(r.window->action(cmd::ToggleIntersectionSnap)->isChecked());
    r.run(cmd::ToggleIntersectionSnap);
    EXPECT_FALSE(r.window->action(cmd::ToggleIntersectionSnap)->isChecked());
}

TEST(EditCommands, EditingToolsStartFromTheirMenus)
{
    struct Case {
        int command, tool;
        const char* prompt;
    } cases[] = {
        {cmd::ToolRangeMove, 38, "範囲一点目をクリック"},
        {cmd::ToolRangeCopy, 39, "範囲一点目をクリック"},
        {cmd::ToolRangeMirrorLR, 40, "範囲一点目をクリック"},
        {cmd::ToolRangeMirrorTB, 41, "範囲一点目をクリック"},
        {cmd::ToolRangeRotateLeft, 42, "範囲一点目をクリック"},
        {cmd::ToolRangeRotateRight, 43, "範囲一点目をクリック"},
        {cmd::ToolRangeRotate, 44, "範囲一点目をクリック"},
        {cmd::ToolRangeStretch, 45, "範囲一点目をクリック"},
        {cmd::ToolRangeDelete, 46, "範囲一点目をクリック"},
        {cmd::ToolPartStretch, 60, "伸縮する範囲を囲むように一点目をクリック"},
        {cmd::PickAttributes, 14, "ｸﾘｯｸした要素（ﾚｲﾔｰ）を取得する"},
        {cmd::ToolMirrorMove, 63, "選択物を反転させる基準線をクリック"},
        {cmd::FitPicture, 71, "画像上の基点を左クリック"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prompt);
        Rig r;
        r.addLine(0, 0, 100, 0);
        if (c.tool == 63)
            r.sel().AddLineId(1);
        if (c.tool == 71) {
            r.addPicture(3);
            r.sel().AddImageId(3);
            r.questions.acknowledge();
        }
        r.run(c.command);
        EXPECT_EQ(r.doc->m_nToolMode, c.tool);
        EXPECT_EQ(r.window->statusText(), c.prompt);
    }
}

} // namespace
