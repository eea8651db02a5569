// The angle, length and fixed-radius panels and the length dialog: what typing does to the tool's
// values, keystroke by keystroke, and what they write when their tool ends.

#include "dialogs/LinePanels.h"

#include "dialogs/SettingsWidgets.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

using namespace kov::dialogs;
using kov::platform::MemoryProfile;

std::string utility(const MemoryProfile& p, const char* key) { return p.GetProfileString("KOV_T_UTILITY", key, "-"); }

TEST(AnglePanel, TypedAnglesAndTheList)
{
    MemoryProfile store;
    store.WriteProfileString("KOV_T_UTILITY", "tool_kakudo_kakudo", "22.5");
    double angle = -1, length = 50;
    int given = 0;
    AnglePanelForm f(angle, given, length);
    f.Load(store);
    EXPECT_EQ(angle, 22.5);
    const std::vector<std::string> choices = f.Choices();
    ASSERT_EQ(choices.size(), 13u);
    EXPECT_EQ(choices[0], "22.50");
    EXPECT_EQ(choices[1], "0");
    EXPECT_EQ(choices[12], "165");
    f.OnChoice(7);
    EXPECT_EQ(angle, 90);
    f.OnChoice(0); // the loaded angle again: nothing
    EXPECT_EQ(angle, 90);

    struct Case {
        const char* typed;
        bool taken;
        double angle;
    };
    const Case cases[] = {{"359.5", true, 359.5}, {"360", false, 0},  {"-400", false, 0},
                          {"-359", true, -359},   {"abc", true, 0},   {"1e999", true, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(f.OnAngleTyped(c.typed), c.taken) << c.typed;
        EXPECT_EQ(angle, c.angle) << c.typed;
    }
}

TEST(AnglePanel, LengthSwitchAndWhatItWritesWhenTheToolEnds)
{
    MemoryProfile store;
    double angle = 0, length = 50;
    int given = 0;
    {
        AnglePanel panel(angle, given, length, store);
        auto* check = ui::control<QCheckBox>(&panel, "lengthGiven");
        auto* edit = ui::control<QLineEdit>(&panel, "length");
        EXPECT_FALSE(edit->isEnabled());
        check->click();
        EXPECT_EQ(given, 1);
        EXPECT_TRUE(edit->isEnabled());
        edit->selectAll();
        QTest::keyClicks(edit, "150");
        EXPECT_EQ(length, 150);
        // 0 and negative lengths are ignored.
        edit->selectAll();
        QTest::keyClicks(edit, "-5");
        EXPECT_EQ(length, 150);
        QLineEdit* field = ui::control<QComboBox>(&panel, "angle")->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, "360");
        EXPECT_EQ(angle, 0);
        EXPECT_EQ(field->text(), "0");
        field->selectAll();
        QTest::keyClicks(field, "30");
        EXPECT_EQ(angle, 30);
        // Nothing is written while the tool runs.
        EXPECT_EQ(utility(store, "tool_kakudo_kakudo"), "-");
        panel.SaveOnClose();
    }
    EXPECT_EQ(utility(store, "tool_kakudo_kakudo"), "30.00");
    EXPECT_EQ(store.GetProfileInt("KOV_T_UTILITY", "tool_kakudo_nagasack", -1), 1);
    EXPECT_EQ(utility(store, "tool_nagasa"), "150.00");

    // With the switch off the length is not written, the switch is.
    MemoryProfile other;
    given = 0;
    AnglePanelForm f(angle, given, length);
    f.Save(other);
    EXPECT_EQ(utility(other, "tool_nagasa"), "-");
    EXPECT_EQ(other.GetProfileInt("KOV_T_UTILITY", "tool_kakudo_nagasack", -1), 0);
}

TEST(LengthPanels, PositiveLengthsAndRadiiOnly)
{
    MemoryProfile store;
    double length = 50;
    {
        LengthPanel panel(length, store);
        auto* edit = ui::control<QLineEdit>(&panel, "length");
        EXPECT_EQ(edit->text(), "50.00");
        edit->selectAll();
        // Each keystroke takes what it reads: 1, 12, 120.
        QTest::keyClicks(edit, "120");
        EXPECT_EQ(length, 120);
        edit->selectAll();
        QTest::keyClicks(edit, "0");
        EXPECT_EQ(length, 120);
        panel.SaveOnClose();
    }
    EXPECT_EQ(utility(store, "tool_nagasa"), "120.00");

    double radius = 1000;
    int fixed = 0;
    FixedRadiusForm f(radius, fixed);
    for (const char* typed : {"0", "-5", "x"})
        f.OnTyped(typed);
    EXPECT_EQ(radius, 1000);
    f.OnTyped("250");
    f.OnCheck(true);
    f.Save(store);
    EXPECT_EQ(utility(store, "tool_hankeikotei_atai"), "250.00");
    EXPECT_EQ(store.GetProfileInt("KOV_T_UTILITY", "tool_hankeikotei_check", -1), 1);
    EXPECT_EQ(f.Text(), "250.00");
}

TEST(LengthDialog, TakesAnyNumber)
{
    LengthDialogForm f("垂直線の長さ", 300);
    EXPECT_EQ(f.Text(), "300.00");
    for (const auto& [typed, value] : {std::pair{"-12.5", -12.5}, std::pair{"0", 0.0}, std::pair{"", 0.0},
                                       std::pair{"inf", 0.0}}) {
        f.OnOK(typed);
        EXPECT_EQ(f.distance(), value) << typed;
    }
    LengthDialog dialog("円周点から指定点への距離", 12.346);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "円周点から指定点への距離");
    EXPECT_EQ(ui::control<QLineEdit>(&dialog, "distance")->text(), "12.35");
    dialog.accept();
    EXPECT_NEAR(dialog.form().distance(), 12.35, 1e-12);
}

} // namespace
