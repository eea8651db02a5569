// The dimension and axis-line commands and the tools of stairs, balloons, double lines and wall
// edits, reached through the main window's routing as the menus, the panel and the context menu
// reach them.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/MainWindow.h"

#include "app/WindowTestSupport.h"
#include "dialogs/AxisLinesDialog.h"
#include "dialogs/AutoDimensionDialog.h"
#include "model/AxisValueFile.h"
#include "support/EditFixtures.h"
#include "tools/ToolMachine.h"

#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QListWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
    Rig() { answerDialogs(); }
    CKovUnit& unit() { return doc->m_Unit; }
    int count(int kind)
    {
        int n = 0;
        for (const auto& f : std::as_const(unit()).m_Lines) n += f->MLineType == kind;
        return n;
    }
};

TEST(AnnotationRoutes, AutomaticDimensionsStoreWhatReopensTheSame)
{
    Rig r;
    kov::test::addWall(r.unit(), 1, {0, 0}, {3640, 0});
    kov::test::addWall(r.unit(), 2, {3640, 0}, {3640, 2730});
    r.doc->m_PlotInfo.PlotSunpoOffset = 2; // an extension-line start no longer eats the distance
    std::vector<std::string> shown;
    r.answer = [&shown](QDialog& d) {
        auto& dialog = dynamic_cast<kov::dialogs::CSunpouAutoDlg&>(d);
        shown.push_back(dialog.m_height->text().toStdString() + "/" + dialog.m_distance->text().toStdString());
        dialog.m_height->setText(QStringLiteral("10"));
        dialog.m_distance->setText(QStringLiteral("6"));
        dialog.accept();
        return true;
    };
    const std::size_t depth = r.doc->m_UndoStack.size();
    r.run(cmd::AutoDimensions);
    EXPECT_EQ(r.count(CKovLine::DIMENSION), 4);
    EXPECT_EQ(r.doc->m_Selection.m_Lines.size(), 4u);
    EXPECT_EQ(r.doc->m_nToolMode, 0);
    // 10 and 6 paper mm at 1:100: 1000 and 600 drawing mm; the top row 600 above the walls.
    const CKovLine& first = *std::as_const(r.unit()).m_Lines[0];
    // The extension line starts 2 paper mm (200) further out.
    EXPECT_EQ(first.MLinePnt[0].y, -800);
    EXPECT_EQ(first.MLineParam[0], 1);
    r.doc->SettleUndo();
    EXPECT_EQ(r.doc->m_UndoStack.size(), depth + 1);
    EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "sunpoauto_kyori", 0), 6);
    // Reopened unchanged: the same values; cancelling leaves the drawing alone.
    r.answer = [&shown](QDialog& d) {
        auto& dialog = dynamic_cast<kov::dialogs::CSunpouAutoDlg&>(d);
        shown.push_back(dialog.m_height->text().toStdString() + "/" + dialog.m_distance->text().toStdString());
        return false;
    };
    r.run(cmd::AutoDimensions);
    EXPECT_EQ(shown, (std::vector<std::string>{"8/8", "10/6"}));
    EXPECT_EQ(r.count(CKovLine::DIMENSION), 4);
    // Accepted unchanged again and again: the distance does not creep by the offset.
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        r.answer = [&shown](QDialog& d) {
            auto& dialog = dynamic_cast<kov::dialogs::CSunpouAutoDlg&>(d);
            shown.push_back(dialog.m_height->text().toStdString() + "/" + dialog.m_distance->text().toStdString());
            dialog.accept();
            return true;
        };
        r.run(cmd::AutoDimensions);
        EXPECT_EQ(shown.back(), "10/6");
        EXPECT_EQ(r.profile.GetProfileInt("KOV_T_UTILITY", "sunpoauto_kyori", 0), 6);
        // The newest top row lies where the first one did.
        EXPECT_EQ(std::as_const(r.unit()).m_Lines[std::as_const(r.unit()).m_Lines.size() - 4]->MLinePnt[0].y, -800);
    }
}

TEST(AnnotationRoutes, DimensionsToTextFromTheMenu)
{
    Rig r;
    kov::test::addFigure(r.unit(), 1, CKovLine::DIMENSION, {{0, 0}, {910, 0}, {455, -300}}, {1, 910, 300, 3});
    r.doc->m_Selection.AddLineId(1);
    r.run(cmd::DimensionToLines);
    EXPECT_EQ(r.count(CKovLine::DIMENSION), 0);
    ASSERT_EQ(r.doc->m_Selection.m_Texts.size(), 1u);
    EXPECT_EQ(std::as_const(r.unit()).FindText(r.doc->m_Selection.m_Texts[0])->MTextstr, "910");
    EXPECT_EQ(r.doc->m_Selection.m_Lines.size(), 3u);
}

TEST(AnnotationRoutes, AxisLinesFromTheirDialogAndValuesFile)
{
    Rig r;
    const std::filesystem::path file = r.folders.axisValuesFile(kov::platform::readCommonFolderSwitches(r.profile));
    r.answer = [](QDialog& d) {
        auto& dialog = dynamic_cast<kov::dialogs::CAutoToorisinDlg&>(d);
        kov::dialogs::AxisLinesForm& f = dialog.form();
        f.target = 0;
        f.Add("3640");
        f.Add("3640");
        f.target = 1;
        f.Add("1820");
        dialog.m_layerGroup->setCurrentIndex(1);
        dialog.accept();
        return true;
    };
    r.run(cmd::ToolAutoAxes);
    const kov::model::AxisValues saved = kov::model::ReadAxisValueFile(file);
    EXPECT_EQ(saved.x, (std::vector<double>{3640, 3640}));
    EXPECT_EQ(saved.y, (std::vector<double>{1820}));
    EXPECT_EQ(r.count(CKovLine::DIMENSION), 5);
    EXPECT_EQ(r.count(CKovLine::CIRCLE), 5);
    EXPECT_EQ(r.unit().m_Texts.size(), 5u);
    for (const auto& f : std::as_const(r.unit()).m_Lines) EXPECT_EQ(f->MLineLayer1, 1);
    // Cancelled: nothing is made.
    r.answer = [](QDialog&) { return false; };
    const std::size_t figures = r.unit().m_Lines.size();
    r.run(cmd::ToolAutoAxes);
    EXPECT_EQ(r.unit().m_Lines.size(), figures);
}

TEST(AnnotationRoutes, AxisLinesLeaveOutATextAfterALinesLastComma)
{
    Rig r;
    const std::filesystem::path file = r.folders.axisValuesFile(kov::platform::readCommonFolderSwitches(r.profile));
    std::filesystem::create_directories(file.parent_path());
    // The file's values each end with a comma: "3640" after the last one is no value.
    std::ofstream(file, std::ios::binary) << "910,1820,3640\r\n1820,\r\n";
    std::size_t listed = 0;
    r.answer = [&listed](QDialog& d) {
        auto& dialog = dynamic_cast<kov::dialogs::CAutoToorisinDlg&>(d);
        listed = static_cast<std::size_t>(dialog.m_lists[0]->count());
        dialog.accept();
        return true;
    };
    r.run(cmd::ToolAutoAxes);
    EXPECT_EQ(listed, 2u);
    // Three x lines and two y lines, each with its labelled circle.
    EXPECT_EQ(r.count(CKovLine::CIRCLE), 5);
    EXPECT_EQ(kov::model::ReadAxisValueFile(file).x, (std::vector<double>{910, 1820}));
}

TEST(AnnotationRoutes, TheToolsStartFromTheirCommands)
{
    struct Case {
        int command;
        int tool;
        const char* prompt;
    };
    const Case cases[] = {
        {cmd::PanelStairs, 56, "3点指定で階段作成（まず幅を２点で指定）"},
        {cmd::ToolBalloon, 68, "吹き出しをグループとして作成、左クリック１，２点で四角形、３点目で吹き出し位置を決めます"},
        {cmd::ToolDoubleLine, 27, "左ｸﾘｯｸで位置指定、Wクリックで終了"},
        {cmd::ToolDoubleLinePolygon, 61, "左ｸﾘｯｸで位置指定、Wクリックで終了"},
    };
    for (const Case& c : cases) {
        Rig r;
        r.run(c.command);
        EXPECT_EQ(r.doc->m_nToolMode, c.tool);
        EXPECT_EQ(r.window->statusText(), c.prompt);
    }
    // The wall tools need their walls or their room.
    Rig r;
    kov::test::addWall(r.unit(), 1, {0, 0}, {3640, 0});
    r.run(cmd::ToolWallPartDelete);
    EXPECT_EQ(r.doc->m_nToolMode, 57);
    kov::test::addGroup(r.unit(), 9, {}, {1}, {}, CKovGroup::ROOM);
    r.doc->m_Selection.Clear();
    r.doc->m_Selection.AddGroupId(9);
    r.run(cmd::RoomVertex);
    EXPECT_EQ(r.doc->m_nToolMode, 65);
    EXPECT_EQ(r.doc->m_Selection.m_Groups, std::vector<int>{9});
    r.run(cmd::RoomCurvedWall);
    EXPECT_EQ(r.doc->m_nToolMode, 66);
    EXPECT_EQ(r.window->statusText(), "曲線化したい選択している部屋の２つの頂点のどちらかをクリック");
}

} // namespace
