// The settings sheet and the dialogs of its general page as widgets, offscreen: every dialog built,
// filled and confirmed through the buttons that open it, and the sheet's rule that OK applies the
// pages that were shown, in tab order, and nothing else.

#include "dialogs/DimensionStyleDialog.h"
#include "dialogs/FolderDialogs.h"
#include "dialogs/LineStyleDialogs.h"
#include "dialogs/PictureOutputDialogs.h"
#include "dialogs/SettingsSheet.h"
#include "platform/Color.h"
#include "platform/Cp932.h"

#include "SettingsTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kov::dialogs;
using kov::platform::Answer;
using kov::test::readText;
using kov::test::SettingsRig;
using kov::test::whenModal;
using kov::test::writeText;

template <class W>
W* child(const QObject* root, const char* name)
{
    W* w = root->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

struct SheetRig : SettingsRig {
    SettingsSheetForm form{services};
    std::unique_ptr<CPropSheet1> sheet;
    SheetRig()
    {
        writeText(roomFile(), readText(kov::test::testData("lists/kovroom.txt")));
        writeText(quotationFile(), readText(kov::test::testData("lists/kovtex.txt")));
        CPlotInfo plot;
        CGrid grid;
        CFontMenu font;
        form.Load(plot, grid, font);
        sheet = std::make_unique<CPropSheet1>(form, services);
        sheet->show();
    }
    QWidget* page(int tab) const { return sheet->tabs()->widget(tab)->findChild<QWidget*>(QStringLiteral("page%1").arg(tab)); }
    QPushButton* button(const char* name) const { return child<QPushButton>(page(SettingsSheetForm::General), name); }
};

TEST(SettingsSheet, EveryPageBuildsLoadsAndAppliesInTabOrder)
{
    SheetRig rig;
    ASSERT_EQ(rig.sheet->tabs()->count(), 6);
    EXPECT_EQ(rig.sheet->tabs()->tabText(5).toStdString(), "部屋情報の編集");
    EXPECT_EQ(rig.page(SettingsSheetForm::Rooms), nullptr); // built when first shown
    for (int tab = 1; tab < SettingsSheetForm::kTabs; ++tab) rig.sheet->showTab(tab);
    for (int tab = 0; tab < SettingsSheetForm::kTabs; ++tab) EXPECT_TRUE(rig.form.visited(tab)) << tab;
    // The grid page's box on, the display page's off: the display page comes later and decides.
    child<QCheckBox>(rig.page(SettingsSheetForm::Grid), "app_printgrid")->click();
    EXPECT_TRUE(rig.form.grid.printGrid);
    auto* rooms = child<QListWidget>(rig.page(SettingsSheetForm::Rooms), "rooms");
    EXPECT_EQ(rooms->count(), 5);
    EXPECT_EQ(child<QLineEdit>(rig.page(SettingsSheetForm::Rooms), "spacing")->text().toStdString(), "4.550");
    EXPECT_EQ(child<QListWidget>(rig.page(SettingsSheetForm::Quotations), "list")->count(), 5);
    child<QComboBox>(rig.page(SettingsSheetForm::Operation), "app_undonum")->setCurrentIndex(5);
    rig.sheet->accept();
    EXPECT_EQ(rig.utility("app_printgrid"), 0);
    EXPECT_EQ(rig.cache["app_undonum"], 30);
    EXPECT_EQ(rig.plotMenu("app_modeview"), 1);
    EXPECT_EQ(rig.utility("gazou_jpeg_atu"), 100);
    EXPECT_EQ(readText(rig.roomFile()), readText(kov::test::testData("lists/kovroom.txt")));
    EXPECT_EQ(readText(rig.quotationFile()), readText(kov::test::testData("lists/kovtex.txt")));
}

TEST(SettingsSheet, PagesNeverShownWriteNothingAndCancelWritesNothing)
{
    {
        SheetRig rig;
        rig.form.rooms.rooms.clear(); // a page not shown keeps its file whatever its form holds
        rig.sheet->accept();
        EXPECT_TRUE(rig.form.visited(SettingsSheetForm::General));
        EXPECT_FALSE(rig.form.visited(SettingsSheetForm::Display));
        EXPECT_EQ(rig.utility("gazou_jpeg_atu"), 100);
        EXPECT_FALSE(rig.profile.contains("KOV_T_PlotMenu", "app_modeview"));
        EXPECT_FALSE(rig.profile.contains("KOV_T_UTILITY", "app_backup"));
        EXPECT_FALSE(rig.profile.contains("KOV_T_PlotMenu", "app_grid_hutosa"));
        EXPECT_FALSE(rig.profile.contains("KOV_T_UTILITY", "room_heibei"));
        EXPECT_EQ(readText(rig.roomFile()), readText(kov::test::testData("lists/kovroom.txt")));
    }
    {
        SheetRig rig;
        for (int tab = 1; tab < SettingsSheetForm::kTabs; ++tab) rig.sheet->showTab(tab);
        child<QPushButton>(rig.page(SettingsSheetForm::Rooms), "delete")->click();
        rig.sheet->reject();
        EXPECT_FALSE(rig.profile.contains("KOV_T_UTILITY", "gazou_jpeg_atu"));
        EXPECT_FALSE(rig.profile.contains("KOV_T_PlotMenu", "app_modeview"));
        EXPECT_EQ(readText(rig.roomFile()), readText(kov::test::testData("lists/kovroom.txt")));
    }
}

TEST(SettingsSheet, ResetEndsTheSheetWithoutAnyPagesOk)
{
    SheetRig rig;
    rig.sheet->showTab(SettingsSheetForm::Display);
    rig.questions.reply(Answer::Ok, "全設定を初期化");
    rig.button("resetAll")->click();
    EXPECT_EQ(rig.sheet->result(), QDialog::Accepted);
    EXPECT_TRUE(rig.form.resetRequested());
    EXPECT_FALSE(rig.profile.contains("KOV_T_UTILITY", "gazou_jpeg_atu"));
    EXPECT_FALSE(rig.profile.contains("KOV_T_PlotMenu", "app_modeview"));
}

TEST(SettingsSheet, GeneralPageChecksEnableAtOnce)
{
    SheetRig rig;
    QWidget* general = rig.page(SettingsSheetForm::General);
    auto* twice = child<QCheckBox>(general, "app_gazoubai");
    EXPECT_TRUE(twice->isEnabled());
    child<QCheckBox>(general, "gazou_size")->click();
    EXPECT_FALSE(twice->isEnabled());
    EXPECT_FALSE(rig.button("autoDetails")->isEnabled());
    child<QCheckBox>(general, "gazou_zidousave")->click();
    EXPECT_TRUE(rig.button("autoDetails")->isEnabled());
    // The wall radio already on, clicked again, stays on and keeps its mode.
    rig.button("wall1")->click();
    rig.button("wall1")->click();
    EXPECT_EQ(rig.form.general.wallMode, 1);
    EXPECT_FALSE(rig.button("partsOrder")->isEnabled()); // no parts-folder order dialog given
}

TEST(SettingsSheet, EveryDialogOfTheGeneralPageOpensFromItsButtonAndConfirms)
{
    SheetRig rig;
    // 線幅タイプ
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle().toStdString(), "線幅タイプのピッチ設定");
        child<QComboBox>(d, "printer10")->setCurrentIndex(14);
        d->accept();
    });
    rig.button("lineWidths")->click();
    EXPECT_EQ(rig.form.general.plot.linehutosap[9], 15);
    // 線種
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle().toStdString(), "線種のピッチ変更");
        QTest::keyClicks(child<QLineEdit>(d, "pitch0"), "0");   // "3.750" + "0"
        child<QPushButton>(d, "reset")->click();
        child<QLineEdit>(d, "pitch1")->clear();
        QTest::keyClicks(child<QLineEdit>(d, "pitch1"), "2");
        d->accept();
    });
    rig.button("lineTypes")->click();
    EXPECT_EQ(rig.form.general.plot.m_LinePichTable[0], 3.75f);
    EXPECT_EQ(rig.form.general.plot.m_LinePichTable[1], 2.0f);
    // 端点の形状: the settings at once, and the copy.
    whenModal([](QDialog* d) {
        auto* e = child<QLineEdit>(d, "size1");
        e->clear();
        QTest::keyClicks(e, "0.8");
        d->accept();
    });
    rig.button("lineEnds")->click();
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_PlotMenu", "keij_pich_1"), "0.80");
    EXPECT_DOUBLE_EQ(rig.form.general.plot.keij_pich[0], 0.8);
    // 寸法線設定
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle().toStdString(), "寸法詳細設定");
        child<QComboBox>(d, "sunpotani")->setCurrentIndex(1);
        child<QRadioButton>(d, "measured")->setChecked(true);
        d->accept();
    });
    rig.button("dimensions")->click();
    EXPECT_EQ(rig.form.general.dimensions.unit, 1);
    EXPECT_EQ(rig.form.general.dimensions.valueMode, 0);
    // 作業画面色の設定: written at once.
    rig.questions.pickColor(0x00FF00);
    whenModal([](QDialog* d) {
        child<QPushButton>(d, "pick")->click();
        child<QRadioButton>(d, "app_haikei1")->setChecked(true);
        d->accept();
    });
    rig.button("screenColour")->click();
    EXPECT_EQ(rig.utility("app_haikei"), 1);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_UTILITY", "app_haikei_color"), "65280");
    // 自動詳細...: the six keys at once.
    child<QCheckBox>(rig.page(SettingsSheetForm::General), "gazou_zidousave")->click();
    whenModal([](QDialog* d) {
        static_cast<CGazouAutoSaveSetDg*>(d)->m_formats[3]->setChecked(true);
        d->accept();
    });
    rig.button("autoDetails")->click();
    EXPECT_EQ(rig.utility("gazououtput_type"), 3);
    // 設定ファイル場所変更: its own question first, then the dialog.
    rig.questions.reply(Answer::Ok, "キャンセルを押してください").pickFolder(std::filesystem::path("/srv/common"));
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle().toStdString(), "設定ファイルの場所");
        child<QPushButton>(d, "browse")->click();
        child<QCheckBox>(d, "path_room_flg")->setChecked(true);
        d->accept();
    });
    rig.button("folderSettings")->click();
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_UTILITY", "path_set_forda"), "/srv/common");
    EXPECT_EQ(rig.utility("path_room_flg"), 1);
    // データ移行: the import dialog, closed.
    whenModal([](QDialog* d) {
        EXPECT_EQ(d->windowTitle().toStdString(), "部屋情報、部品データコンバート");
        child<QPushButton>(d, "close")->click();
    });
    rig.button("transferImport")->click();
    // 参照... of the format file.
    rig.questions.pickOpenFile(std::filesystem::path("/tmp/template.kvr"));
    rig.button("formatBrowse")->click();
    EXPECT_EQ(child<QLineEdit>(rig.page(SettingsSheetForm::General), "config_formatpath")->text().toStdString(),
              "/tmp/template.kvr");
    rig.sheet->accept();
    EXPECT_EQ(rig.plotMenu("config_sunpo_bunkai"), 0);
    EXPECT_EQ(rig.plotMenu("gazou_zidousave"), 1);
}

TEST(SettingsSheet, RoomPageFromItsControls)
{
    SheetRig rig;
    rig.sheet->showTab(SettingsSheetForm::Rooms);
    QWidget* page = rig.page(SettingsSheetForm::Rooms);
    auto* rooms = child<QListWidget>(page, "rooms");
    rooms->setCurrentRow(2);
    EXPECT_EQ(child<QLineEdit>(page, "name")->text().toStdString(), "フローリング");
    EXPECT_EQ(child<QComboBox>(page, "pattern")->currentText().toStdString(), "床目地(横)");
    // A click on a palette's cell border changes nothing; one inside takes the colour.
    auto* palette = child<QLabel>(page, "fillPalette");
    const std::uint32_t before = rig.form.rooms.buffer.Room_RoomColor;
    QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(16, 5));
    EXPECT_EQ(rig.form.rooms.buffer.Room_RoomColor, before);
    QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(rig.form.rooms.buffer.Room_RoomColor, kov::platform::rgbColor(255, 0, 0));
    child<QLineEdit>(page, "name")->setText(QStringLiteral("土間"));
    child<QPushButton>(page, "add")->click();
    EXPECT_EQ(rooms->count(), 6);
    EXPECT_EQ(rooms->item(5)->text().toStdString(), "土間");
    // The radio that is on, clicked again, keeps its unit.
    child<QRadioButton>(page, "room_heibei1")->click();
    child<QRadioButton>(page, "room_heibei1")->click();
    rig.sheet->accept();
    EXPECT_EQ(rig.utility("room_heibei"), 1);
    EXPECT_NE(readText(rig.roomFile()).find(kov::platform::toCp932("土間,1,255,1,8421504,100,2.000000,").bytes),
              std::string::npos);
}

} // namespace
