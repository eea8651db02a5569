// The chamfer panel and dialog, the two division dialogs and the parallel distance: what their forms
// take from what is typed, and what the widgets show.

#include "dialogs/ChamferDialogs.h"
#include "dialogs/DivideDialogs.h"
#include "dialogs/ParallelLineDialog.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

using kov::dialogs::ChamferForm;

TEST(ChamferForm, WhatEachModeShows)
{
    kov::platform::MemoryProfile empty;
    std::array<double, 4> sizes = ChamferForm::Load(empty);
    int mode = 0;
    ChamferForm f(sizes, mode);
    // A first start shows 300.00 in every mode.
    struct Case {
        int kind;
        int mode;
        const char* firstCaption;
        bool secondEnabled, measuresEnabled;
    };
    const Case cases[] = {{ChamferForm::STRAIGHT, 0, "寸法", false, true},
                          {ChamferForm::ROUND, 2, "半径", false, false},
                          {ChamferForm::NOTCH, 3, "1寸法", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        f.OnKind(c.kind);
        EXPECT_EQ(mode, c.mode);
        const ChamferForm::Controls shown = f.Show();
        EXPECT_EQ(shown.kind, c.kind);
        EXPECT_EQ(shown.firstCaption, c.firstCaption);
        EXPECT_EQ(shown.firstText, "300.00");
        EXPECT_EQ(shown.secondEnabled, c.secondEnabled);
        EXPECT_EQ(shown.secondText, c.secondEnabled ? "300.00" : "");
        EXPECT_EQ(shown.measuresEnabled, c.measuresEnabled);
    }
}

TEST(ChamferForm, TypedValuesAndMeasures)
{
    std::array<double, 4> sizes{300, 300, 300, 300};
    int mode = 0;
    ChamferForm f(sizes, mode);
    f.OnFirstEdit("150");
    EXPECT_EQ(sizes[0], 150);
    // 0 or no number keeps the value; a negative one is taken as typed.
    f.OnFirstEdit("0");
    f.OnFirstEdit("abc");
    EXPECT_EQ(sizes[0], 150);
    f.OnFirstEdit("-5");
    EXPECT_EQ(sizes[0], -5);
    // The second value only counts for the notch.
    f.OnSecondEdit("40");
    EXPECT_EQ(sizes[3], 300);
    f.OnMeasure(ChamferForm::EDGE);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(f.Show().measure, ChamferForm::EDGE);
    // "角面" after "辺寸法" goes back to "面寸法".
    f.OnKind(ChamferForm::STRAIGHT);
    EXPECT_EQ(mode, 0);
    f.OnKind(ChamferForm::ROUND);
    f.OnMeasure(ChamferForm::EDGE);
    EXPECT_EQ(mode, 2);
    f.OnFirstEdit("25");
    EXPECT_EQ(sizes[1], 25);
    f.OnKind(ChamferForm::NOTCH);
    f.OnFirstEdit("10");
    f.OnSecondEdit("20");
    EXPECT_EQ(sizes, (std::array<double, 4>{-5, 25, 10, 20}));

    kov::platform::MemoryProfile store;
    f.Save(store);
    EXPECT_EQ(store.GetProfileString("KOV_T_UTILITY", "mentori_kakuatai", ""), "-5.00");
    EXPECT_EQ(store.GetProfileString("KOV_T_UTILITY", "mentori_l2atai", ""), "20.00");
    EXPECT_EQ(ChamferForm::Load(store), sizes);
}

TEST(ChamferPanel, TypingEditsTheToolsValuesAndKeepsThem)
{
    std::array<double, 4> sizes{300, 300, 300, 300};
    int mode = 0;
    kov::platform::MemoryProfile store;
    kov::dialogs::ChamferPanel panel(sizes, mode, store);
    auto* edit = panel.findChildren<QLineEdit*>().at(0);
    EXPECT_EQ(edit->text().toStdString(), "300.00");
    edit->selectAll();
    QTest::keyClicks(edit, "120");
    EXPECT_EQ(sizes[0], 120);
    EXPECT_EQ(store.GetProfileString("KOV_T_UTILITY", "mentori_kakuatai", ""), "120.00");
    // The radio "丸面" shows the radius and disables the second edit.
    for (QRadioButton* b : panel.findChildren<QRadioButton*>())
        if (b->text() == QStringLiteral("丸面"))
            b->click();
    EXPECT_EQ(mode, 2);
    EXPECT_FALSE(panel.findChildren<QLineEdit*>().at(1)->isEnabled());
    EXPECT_EQ(sizes[0], 120); // refilling the edit runs no rule
    bool escaped = false;
    panel.onEscape = [&escaped] { escaped = true; };
    panel.reject();
    EXPECT_TRUE(escaped);

    // The modal dialog works on a copy until OK.
    kov::dialogs::ChamferDialog dialog(sizes, mode);
    dialog.form().OnFirstEdit("60");
    EXPECT_EQ(dialog.sizes()[1], 60);
    EXPECT_EQ(sizes[1], 300);
}

TEST(DivideDialog, CountsAndLengths)
{
    kov::dialogs::DivideForm f;
    struct Case {
        int mode;
        const char* count;
        const char* length;
        std::string refusal;
    };
    const Case cases[] = {
        {0, "361", "0", kov::dialogs::DivideForm::kBadCount},
        {0, "1", "0", kov::dialogs::DivideForm::kBadCount},
        {0, "360", "0", ""},
        {0, "3", "0", ""},
        {1, "2", "0", kov::dialogs::DivideForm::kBadLength},
        {1, "2", "-3", kov::dialogs::DivideForm::kBadLength},
        {1, "2", "12.5", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.count) + " " + c.length);
        f.m_nMode = c.mode;
        EXPECT_EQ(f.OnOK(c.count, c.length), c.refusal);
    }
    EXPECT_EQ(f.m_nCount, 3);
    EXPECT_EQ(f.m_dLength, 12.5);

    kov::dialogs::DivideDialog d;
    EXPECT_EQ(d.countList()->count(), 10);
    EXPECT_EQ(d.countList()->currentText(), QStringLiteral("2"));
    EXPECT_TRUE(d.countList()->isEnabled());
    EXPECT_FALSE(d.lengthEdit()->isEnabled());
    d.byLength()->click();
    EXPECT_FALSE(d.countList()->isEnabled());
    EXPECT_TRUE(d.lengthEdit()->isEnabled());
    EXPECT_EQ(d.form().m_nMode, kov::dialogs::DivideForm::BY_LENGTH);
}

TEST(DivisionCountAndParallelDistance, TakenAsTyped)
{
    kov::dialogs::DivisionCountForm count(2);
    EXPECT_EQ(count.InitialText(), "2");
    count.OnOK("");
    EXPECT_EQ(count.m_nCount, 0);
    count.OnOK("7");
    EXPECT_EQ(count.m_nCount, 7);

    kov::dialogs::ParallelDistanceForm distance(50);
    EXPECT_EQ(distance.InitialText(), "50.00");
    distance.OnOK("letters");
    EXPECT_EQ(distance.m_dDistance, 0);
    distance.OnOK("inf");
    EXPECT_EQ(distance.m_dDistance, 0);
    distance.OnOK("12.75");
    EXPECT_EQ(distance.m_dDistance, 12.75);
}

} // namespace
