// The automatic dimensions, the axis-line values and the stairs panel:
// what their forms make of the controls, and the dialogs built and accepted offscreen.

#include "dialogs/AxisLinesDialog.h"
#include "dialogs/AutoDimensionDialog.h"
#include "dialogs/StairsPanel.h"
#include "dialogs/StringEntryDialog.h"
#include "dialogs/ToolPanelClosing.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace {

using namespace kov::dialogs;

TEST(AutoDimensionDialog, LayerListsAndScope)
{
    EXPECT_EQ(AutoDimensionForm::LayerIndex(-1), 0);
    EXPECT_EQ(AutoDimensionForm::LayerIndex(2), 2);
    EXPECT_EQ(AutoDimensionForm::LayerIndex(3), -1);
    AutoDimensionValues v;
    v.wallLayerGroup = v.outputLayerGroup = 5;
    v.wallLayer = v.outputLayer = 7;
    {
        AutoDimensionForm f(v);
        f.OnOK("12", "", true, 1, -1);
        EXPECT_EQ(f.values().height, 12);
        EXPECT_EQ(f.values().distance, 0);
        EXPECT_EQ(f.values().scope, 0);
        // A list without a choice keeps the layer group it opened with: never outside 0-15.
        EXPECT_EQ(f.values().outputLayerGroup, 5);
    }
    {
        AutoDimensionForm f(v);
        f.OnOK("8", "8", false, 2, 1);
        EXPECT_EQ(f.values().scope, 2);
        EXPECT_EQ(f.values().wallLayerGroup, 2);
        EXPECT_EQ(f.values().wallLayer, 7);
        EXPECT_EQ(f.values().outputLayerGroup, 1);
    }
    CSunpouAutoDlg dialog(v);
    EXPECT_FALSE(dialog.m_wallLayer->isEnabled());
    dialog.m_one->setChecked(true);
    EXPECT_TRUE(dialog.m_wallLayer->isEnabled());
    dialog.m_wallLayer->setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(dialog.values().scope, 2);
    EXPECT_EQ(dialog.values().wallLayerGroup, 1);
}

TEST(AxisLinesDialog, ListButtonsAndTheValuesFile)
{
    kov::model::AxisValues start;
    start.x = {910, 1820};
    AxisLinesForm f(AxisLineSettings{}, start, 0, 0);
    EXPECT_EQ(f.items[0], (std::vector<std::string>{"910.00", "1820.00"}));
    EXPECT_TRUE(f.Add("abc").empty());           // letters add nothing
    f.Add("-5");
    EXPECT_EQ(f.items[0].size(), 2u);
    f.Insert("455");                             // no item chosen: nothing
    EXPECT_EQ(f.items[0].size(), 2u);
    EXPECT_EQ(f.Choose(0, 1), "1820.00");
    f.Insert("455");
    EXPECT_EQ(f.items[0], (std::vector<std::string>{"910.00", "455.00", "1820.00"}));
    f.Change("3640");
    EXPECT_EQ(f.items[0][1], "3640.00");
    f.Delete();
    EXPECT_EQ(f.items[0], (std::vector<std::string>{"910.00", "1820.00"}));
    f.target = 1;
    f.Add("2730.5");
    EXPECT_EQ(f.items[1], std::vector<std::string>{"2730.50"});
    for (std::size_t i = f.items[1].size(); i < kov::model::AxisValues::kMaxPerLine; ++i) f.Add("1");
    EXPECT_EQ(f.Add("1"), AxisLinesForm::kTooManyValues);
    EXPECT_EQ(f.items[1].size(), kov::model::AxisValues::kMaxPerLine);

    kov::test::TempFolder dir;
    kov::platform::MemoryProfile store;
    f.ClearAll();
    f.settings.ats_houkou_jyoge = 1;
    ASSERT_TRUE(f.Save(store, dir.file("ats_atai.csv")));
    EXPECT_TRUE(kov::model::ReadAxisValueFile(dir.file("ats_atai.csv")).x.empty());
    EXPECT_EQ(store.GetProfileInt("KOV_T_UTILITY", "ats_houkou_jyoge", 0), 1);

    // The dialog opens on what was stored: "上から" again.
    kov::platform::ScriptedQuestions questions;
    CAutoToorisinDlg dialog(store, questions, dir.file("ats_atai.csv"), 3, 4);
    EXPECT_TRUE(dialog.m_fromTop->isChecked());
    EXPECT_EQ(dialog.m_layerGroup->currentIndex(), 3);
    EXPECT_EQ(dialog.m_layerGroup->currentText().toStdString(), " 3");
    dialog.m_fromBottom->setChecked(true);
    dialog.m_xSymbol->setText(QStringLiteral("通"));
    dialog.accept();
    EXPECT_EQ(store.GetProfileInt("KOV_T_UTILITY", "ats_houkou_jyoge", 1), 0);
    EXPECT_EQ(store.GetProfileString("KOV_T_UTILITY", "ats_kigou_y"), "通");
    EXPECT_EQ(dialog.form().layerGroup, 3);
}

// Every value in the file ends with its comma; a text after a line's last comma is no value.
TEST(AxisLinesDialog, ATextAfterALinesLastCommaIsNotListed)
{
    kov::test::TempFolder dir;
    std::ofstream(dir.file("ats_atai.csv"), std::ios::binary) << "910,1820,3640\r\n1820";
    kov::platform::MemoryProfile store;
    kov::platform::ScriptedQuestions questions;
    CAutoToorisinDlg dialog(store, questions, dir.file("ats_atai.csv"), 0, 0);
    EXPECT_EQ(dialog.form().items[0], (std::vector<std::string>{"910.00", "1820.00"}));
    EXPECT_TRUE(dialog.form().items[1].empty());
    EXPECT_EQ(dialog.m_lists[0]->count(), 2);
}

TEST(StairsPanel, ValuesTakenAndControlsEnabledByMode)
{
    StairsSettings record;
    StairsForm f(record);
    f.OnTreadText("10");
    f.OnTreadText("32001");
    EXPECT_EQ(record.kaidan_dan1, 150);
    f.OnTreadText("10.5");
    EXPECT_EQ(record.kaidan_dan1, 10.5);
    f.OnTreadText("32000");
    EXPECT_EQ(record.kaidan_dan1, 32000);
    EXPECT_TRUE(f.enabled().steps);
    EXPECT_FALSE(f.enabled().treadWidth);
    f.OnTreadCheck(true);
    EXPECT_FALSE(f.enabled().steps);
    EXPECT_TRUE(f.enabled().treadWidth);
    f.OnMode(StairsSettings::TURNING);
    EXPECT_TRUE(f.enabled().turns);
    EXPECT_TRUE(f.enabled().squareCorners);
    EXPECT_FALSE(f.enabled().treadCheck);
    f.OnMode(StairsSettings::END_OF_FLIGHT);
    EXPECT_FALSE(f.enabled().turns);

    // The panel writes the record when it is closed: "終点" as "直進", white as 16777215.
    kov::platform::MemoryProfile store;
    kov::platform::ScriptedQuestions questions;
    {
        StairsSettings fresh;
        fresh.Load(store);
        auto* panel = new CKaidanDlg(fresh, store, questions);
        EXPECT_TRUE(panel->m_modes[0]->isChecked());
        EXPECT_EQ(panel->m_tread->text().toStdString(), "150.0");
        panel->m_modes[2]->click();
        EXPECT_EQ(fresh.kaidan_mode, 3);
        questions.pickColor(0x0000FF);
        panel->m_colour->click();
        EXPECT_EQ(fresh.kaidan_nakacolor, 0x0000FFu);
        CloseToolPanel(panel);
    }
    EXPECT_EQ(store.GetProfileInt("KOV_T_UTILITY", "kaidan_mode", 0), 1);
    EXPECT_EQ(store.GetProfileString("KOV_T_UTILITY", "kaidan_nakacolor"), "255");
    kov::platform::MemoryProfile untouched;
    {
        StairsSettings fresh;
        fresh.Load(untouched);
        CKaidanDlg panel(fresh, untouched, questions);
    }
    // Only the close writes: a panel merely destroyed leaves the settings alone.
    EXPECT_FALSE(untouched.contains("KOV_T_UTILITY", "kaidan_nakacolor"));
    {
        StairsSettings fresh;
        fresh.Load(untouched);
        CloseToolPanel(new CKaidanDlg(fresh, untouched, questions));
    }
    EXPECT_EQ(untouched.GetProfileString("KOV_T_UTILITY", "kaidan_nakacolor"), "16777215");
}

TEST(StringEntry, ReturnsTheTextAsTyped)
{
    CStringSetDlg dialog("寸法値", "3640", "mm");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "寸法値");
    EXPECT_EQ(dialog.m_label->text().toStdString(), "mm");
    dialog.m_edit->setText(QString());
    EXPECT_EQ(dialog.text(), "");
    dialog.m_edit->setText(QStringLiteral("3,640 "));
    EXPECT_EQ(dialog.text(), "3,640 ");
}

} // namespace
