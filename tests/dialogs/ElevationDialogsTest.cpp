// The elevation settings dialogs' rules: what they show and which entries OK keeps.

#include "dialogs/ElevationDialogs.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace kov::dialogs;

TEST(ElevationDialogs, ElevationFormKeepsOldValuesForEntriesOutOfRange)
{
    CRituInfo r;
    r.kisodaka = 450;
    ElevationForm form(r);
    ElevationControls c = form.Init();
    EXPECT_EQ(c.foundation, "450");
    EXPECT_EQ(c.eaves1, "3400");
    EXPECT_EQ(c.floorIndex, 1);
    EXPECT_EQ(c.direction, 0);
    c.foundation = "0";   // accepted: no foundation band
    c.eaves1 = "0";       // kept
    c.eaves2 = "-100";    // kept
    c.eaves3 = "9500";
    c.floorIndex = 2;
    c.direction = -1;     // none ticked: kept
    c.label = false;
    c.floorLayers = {3, 4, -1};
    c.outputGroup = 7;
    form.OnOK(c);
    const CRituInfo& v = form.values();
    EXPECT_EQ(v.kisodaka, 0);
    EXPECT_EQ(v.nokidaka1, 3400);
    EXPECT_EQ(v.nokidaka2, 6200);
    EXPECT_EQ(v.nokidaka3, 9500);
    EXPECT_EQ(v.kai, 3);
    EXPECT_EQ(v.houkou, 0);
    EXPECT_EQ(v.btext, 0);
    EXPECT_EQ(v.lay_1, 3);
    EXPECT_EQ(v.lay_2, 4);
    EXPECT_EQ(v.lay_3, 2);
    EXPECT_EQ(v.ritugrp_lay, 7);
}

TEST(ElevationDialogs, RoofAndBalconyEntries)
{
    RoofForm roof{CRituInfo{}};
    const RoofControls shown = roof.Init();
    EXPECT_EQ(shown.pitchA, "10.00");
    EXPECT_EQ(shown.pitchB, "4.50");
    EXPECT_EQ(shown.eaves, "600");
    roof.OnOK({false, "0", "5", "abc", "300"});
    EXPECT_EQ(roof.values().yanetype, 1);
    EXPECT_EQ(roof.values().yanekoubai_a, 10);
    EXPECT_EQ(roof.values().yanekoubai_b, 5);
    EXPECT_EQ(roof.values().nokide, 600);
    EXPECT_EQ(roof.values().keraba, 300);

    const struct {
        double value;
        const char* shown;
    } shows[] = {{1100, "1100"}, {1100.5, "1100.5"}, {1100.26, "1100.3"}, {-50, "-50"}};
    for (const auto& s : shows) EXPECT_EQ(BalconyForm::Show(s.value), s.shown) << s.value;
    BalconyForm balcony{CRituInfo{}};
    balcony.OnOK("1100.3", "-50");
    EXPECT_EQ(balcony.values().baltakasa, 1100.3);
    EXPECT_EQ(balcony.values().baltoritakasa, -50);
    balcony.OnOK("0", "0");
    EXPECT_EQ(balcony.values().baltakasa, 1100.3);
    EXPECT_EQ(balcony.values().baltoritakasa, 0);
}

TEST(ElevationDialogs, DialogsShowAndTakeTheirControls)
{
    CRituInfo r;
    r.houkou = 3;
    r.lay_3 = 5;
    CRitumenSetDlg dialog(r);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "立面図作成画面");
    EXPECT_TRUE(dialog.m_directions[3]->isChecked());
    EXPECT_EQ(dialog.m_floorLayers[0]->currentIndex(), 5); // "３階" first
    dialog.m_floorLayers[2]->setCurrentIndex(9);           // "１階"
    dialog.m_heights[2]->setText(QStringLiteral("3000"));
    dialog.accept();
    EXPECT_EQ(dialog.values().lay_1, 9);
    EXPECT_EQ(dialog.values().nokidaka1, 3000);
    EXPECT_EQ(dialog.values().houkou, 3);

    CRituYaneDlg yane(r);
    EXPECT_EQ(yane.windowTitle().toStdString(), "立面用屋根");
    yane.m_gable->setChecked(true);
    yane.accept();
    EXPECT_EQ(yane.values().yanetype, 1);
    CRituBalDlg bal(r);
    EXPECT_EQ(bal.windowTitle().toStdString(), "バルコニー高さ設定");
    EXPECT_EQ(bal.m_height->text().toStdString(), "1100");
}
