// The command 設定(&K)... from the main window: the sheet on copies of the document's settings,
// copied back on OK, left alone on cancel, every setting back to its built-in value on reset; and
// the deletion of leftover temporary pictures, which keeps every picture the document still names.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "app/SettingsCommand.h"

#include "app/WindowTestSupport.h"
#include "dialogs/SettingsSheet.h"
#include "model/PictureFiles.h"
#include "tools/ToolMachine.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;
using kov::dialogs::CPropSheet1;
using kov::dialogs::SettingsSheetForm;
using kov::platform::Answer;

// Drives the sheet once RunCommand has opened it.
void whenSheet(std::function<void(CPropSheet1&)> drive)
{
    auto tries = std::make_shared<int>(0);
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, drive = std::move(drive)] {
        auto* sheet = dynamic_cast<CPropSheet1*>(QApplication::activeModalWidget());
        if (!sheet && ++*tries < 300) return;
        timer->stop();
        timer->deleteLater();
        if (!sheet) {
            ADD_FAILURE() << "the settings sheet did not open";
            return;
        }
        drive(*sheet);
    });
    timer->start();
}

template <class W>
W* page(CPropSheet1& sheet, int tab, const char* name)
{
    sheet.showTab(tab);
    QWidget* p = sheet.tabs()->widget(tab)->findChild<QWidget*>(QStringLiteral("page%1").arg(tab));
    W* w = p ? p->findChild<W*>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
}

using kov::test::WindowRig;

TEST(SettingsCommand, OkCopiesTheSheetIntoTheDocument)
{
    WindowRig rig;
    rig.doc->m_PlotInfo.PlotWallBlack = 1;
    rig.doc->m_PlotInfo.m_RoomInfo.m_Font.lfFaceName = "ＭＳ 明朝";
    whenSheet([](CPropSheet1& sheet) {
        page<QPushButton>(sheet, SettingsSheetForm::General, "wall0")->click();   // 壁白く
        page<QPushButton>(sheet, SettingsSheetForm::Grid, "standard");
        page<QCheckBox>(sheet, SettingsSheetForm::Grid, "memori")->click();
        page<QComboBox>(sheet, SettingsSheetForm::Operation, "app_undonum")->setCurrentIndex(0); // "5"
        page<QCheckBox>(sheet, SettingsSheetForm::Operation, "app_walltyoku")->click();
        page<QComboBox>(sheet, SettingsSheetForm::Operation, "app_mousemovelisp")->setCurrentIndex(4);     // "8"
        page<QRadioButton>(sheet, SettingsSheetForm::Rooms, "room_heibei1")->click();
        sheet.accept();
    });
    const bool memori = rig.doc->m_Grid.GridMemori != 0;
    EXPECT_TRUE(rig.window->RunCommand(cmd::Settings));
    EXPECT_EQ(rig.doc->m_PlotInfo.PlotWallBlack, 0);
    EXPECT_EQ(rig.doc->m_Grid.GridMemori != 0, !memori);
    EXPECT_EQ(rig.doc->m_nUndoDepth, 5);
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "app_undonum", -1), 5);
    EXPECT_EQ(rig.doc->m_PlotInfo.m_RoomInfo.m_Font.lfFaceName, "ＭＳ 明朝");
    EXPECT_EQ(rig.window->statusText().find("今後の版"), std::string::npos);
    // The tools take the changed settings at their next click, not at the next start.
    kov::tools::ToolMachine& tools = rig.window->view()->machine();
    EXPECT_EQ(tools.settings().app_walltyoku, 1);
    EXPECT_EQ(tools.settings().app_mousemovelisp, 8);
    EXPECT_EQ(tools.m_roomSettings.room_heibei, 1);
}

TEST(SettingsCommand, CancelLeavesEverythingAsItWas)
{
    WindowRig rig;
    const CPlotInfo plot = rig.doc->m_PlotInfo;
    const CGrid grid = rig.doc->m_Grid;
    whenSheet([](CPropSheet1& sheet) {
        page<QPushButton>(sheet, SettingsSheetForm::General, "wall0")->click();
        page<QCheckBox>(sheet, SettingsSheetForm::Display, "app_modeview")->click();
        sheet.reject();
    });
    EXPECT_TRUE(rig.window->RunCommand(cmd::Settings));
    EXPECT_EQ(rig.doc->m_PlotInfo, plot);
    EXPECT_EQ(rig.doc->m_Grid, grid);
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_PlotMenu", "app_modeview", -1), -1);
}

TEST(SettingsCommand, ResetPutsEverySettingBackButNotTheLists)
{
    WindowRig rig;
    rig.doc->m_PlotInfo.PlotWallBlack = 4;
    rig.doc->m_Grid.GridModule = 1000;
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "registset", 1);
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_undonum", 7);
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "path_room_flg", 1);
    const auto rooms = rig.doc->services().folders.userData / "kovroom.txt";
    std::ofstream(rooms, std::ios::binary) << "和室,0,0,1,0,300,\r\n";
    rig.questions.reply(Answer::Ok, "全設定を初期化");
    whenSheet([](CPropSheet1& sheet) {
        page<QCheckBox>(sheet, SettingsSheetForm::Display, "app_modeview")->click();
        page<QPushButton>(sheet, SettingsSheetForm::General, "resetAll")->click();
    });
    EXPECT_TRUE(rig.window->RunCommand(cmd::Settings));
    EXPECT_EQ(rig.doc->m_PlotInfo.PlotWallBlack, 1);
    EXPECT_EQ(rig.doc->m_Grid.GridModule, 910);
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "registset", -1), 0);
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "app_undonum", -1), 20);
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "path_room_flg", -1), 0);
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_PlotMenu", "app_modeview", -1), 1); // the default, not the edit
    EXPECT_EQ(rig.doc->m_nUndoDepth, 20);
    std::ifstream in(rooms, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "和室,0,0,1,0,300,\r\n");
}

TEST(SettingsCommand, TemporaryPicturesTheDocumentNamesAreKept)
{
    WindowRig rig;
    CKoviraDoc& doc = *rig.doc;
    rig.addPicture(41);                       // in the drawing
    doc.PushUndo();
    rig.addPicture(43);
    doc.SettleUndo();
    doc.PushUndo();
    doc.m_Unit.m_Images.DeleteAt(doc.m_Unit.FindImageIndex(43));
    doc.SettleUndo();                         // 43 only in an undo snapshot
    doc.PushUndo();
    rig.addPicture(44);
    doc.SettleUndo();
    ASSERT_TRUE(doc.Undo());                  // 44 only in the redo stack
    doc.m_TempImageNumbers.clear();
    const auto inUse = TempPicturesInUse(doc);
    for (long long n : {41, 43, 44}) EXPECT_TRUE(inUse.count(n)) << n;
    const auto folder = doc.TempImageFolder();
    std::ofstream(folder / "temp45.png") << "left over";
    rig.questions.reply(Answer::Ok, "一時ファイルを全て削除").acknowledge("一時画像ファイルを削除しました");
    whenSheet([](CPropSheet1& sheet) {
        page<QPushButton>(sheet, SettingsSheetForm::General, "purgeTemp")->click();
        sheet.reject();
    });
    EXPECT_TRUE(rig.window->RunCommand(cmd::Settings));
    EXPECT_FALSE(std::filesystem::exists(folder / "temp45.png"));
    for (int n : {41, 43, 44}) EXPECT_TRUE(std::filesystem::exists(TempImagePath(folder, n, kPicturePng))) << n;
    ASSERT_TRUE(doc.Redo());
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_NE(doc.m_Unit.FindImage(43), nullptr);
}

} // namespace
