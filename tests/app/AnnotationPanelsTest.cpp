// The double-line and balloon panels on the tool machine they edit.

#include "ToolHarness.h"

#include "dialogs/BalloonPanel.h"
#include "dialogs/DoubleLinePanel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

using kov::dialogs::DoubleLineForm;
using kov::test::ToolHarness;

TEST(DoubleLinePanel, DistancesArcModeDivisionsAndEnds)
{
    ToolHarness h;
    h.start(27);
    DoubleLineForm f(h.m, h.rig.profile, 1);
    EXPECT_EQ(f.LeftText(), "50.00");
    // Both edits 0: nothing taken; 0 on one side with the other set: taken.
    f.OnDistanceEdited(true, "0", "0");
    EXPECT_EQ(h.m.m_dOffsetLeft, 50);
    f.OnDistanceEdited(true, "0", "50");
    EXPECT_EQ(h.m.m_dOffsetLeft, 0);
    f.OnDistanceEdited(false, "0", "-20");
    EXPECT_EQ(h.m.m_dOffsetRight, -20);
    // The arc mode needs two points.
    EXPECT_EQ(f.OnArcButton(), "アール作成には２点以上を指定している必要があります");
    EXPECT_FALSE(f.ArcOn());
    h.click({0, 0});
    h.click({1820, 0});
    EXPECT_TRUE(f.OnArcButton().empty());
    EXPECT_TRUE(f.ArcOn());
    EXPECT_TRUE(f.OnArcButton().empty());
    EXPECT_FALSE(f.ArcOn());
    EXPECT_EQ(f.DivisionIndex(), 1); // 24
    f.OnDivisionChosen(9);
    EXPECT_EQ(h.m.m_nArcDivisions, 120);
    f.OnEndTreatmentChosen(2);
    EXPECT_EQ(f.EndTreatmentIndex(), 2);
    h.rig.profile.WriteProfileInt("KOV_T_UTILITY", "tool_nijyuusen_balmode", 5);
    EXPECT_EQ(f.EndTreatmentIndex(), 0);
    f.Save();
    EXPECT_EQ(h.rig.profile.GetProfileString("KOV_T_UTILITY", "tool_nisen_l"), "0.00");
    EXPECT_EQ(h.rig.profile.GetProfileInt("KOV_T_UTILITY", "tool_nijyuusen_rbunkatu", 0), 120);
    // The finish button ends the chain as a double click would.
    f.OnFinish();
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    EXPECT_EQ(h.sel().m_Lines.size(), 2u);
}

TEST(DoubleLinePanel, EachToolKeepsItsControls)
{
    struct Case {
        int mode;
        bool distances, arc, arcEnabled, finish, ends;
    };
    const Case cases[] = {
        {0, true, true, false, false, false},
        {1, true, true, true, true, true},
        {2, true, true, true, true, true},
        {3, false, true, true, false, false},
        {4, false, true, true, true, false},
        {5, false, false, false, true, false},
    };
    for (const Case& c : cases) {
        ToolHarness h;
        kov::dialogs::CNisenDlg panel(h.m, h.rig.profile, c.mode, {}, {});
        EXPECT_EQ(panel.m_left != nullptr, c.distances) << c.mode;
        ASSERT_EQ(panel.m_arc != nullptr, c.arc) << c.mode;
        EXPECT_EQ(panel.m_finish != nullptr, c.finish) << c.mode;
        EXPECT_EQ(panel.m_endTreatment != nullptr, c.ends) << c.mode;
        if (!c.arc) continue;
        EXPECT_EQ(panel.m_arc->isEnabled(), c.arcEnabled) << c.mode;
        EXPECT_EQ(panel.m_divisions->currentText().toStdString(), "24") << c.mode;
    }
}

// The outer-wall line's panel finishes the line as a double click would; too few points stay.
TEST(DoubleLinePanel, FinishButtonEndsTheOuterWallLine)
{
    ToolHarness h;
    h.start(53);
    kov::dialogs::CNisenDlg panel(h.m, h.rig.profile, 5, {}, {});
    h.click({0, 0});
    h.click({3640, 0});
    panel.m_finish->click();
    EXPECT_EQ(h.m.m_ToolPoints.size(), 2u); // two points make no line
    h.click({3640, 2730});
    panel.m_finish->click();
    EXPECT_TRUE(h.m.m_ToolPoints.empty());
    ASSERT_EQ(h.unit().m_Groups.GetSize(), 1);
    EXPECT_EQ(h.unit().m_Groups[0]->MGrpRoom, CKovGroup::OUTER_WALL_LINE);
    EXPECT_EQ(h.m.ToolMode(), 53); // the tool stays for the next line
}

TEST(BalloonPanel, ShapesSidesAndPositions)
{
    ToolHarness h;
    h.start(68);
    int redraws = 0;
    kov::dialogs::CHukidashiDg panel(h.m.m_Balloon, [&redraws] { ++redraws; });
    EXPECT_TRUE(panel.m_shapes[1]->isChecked());
    EXPECT_TRUE(panel.m_sides[2]->isChecked());
    EXPECT_TRUE(panel.m_positions[1]->isChecked());
    panel.m_shapes[2]->click();
    EXPECT_EQ(h.m.m_Balloon.shape, 2);
    for (auto* p : panel.m_positions) EXPECT_FALSE(p->isEnabled());
    panel.m_shapes[0]->click();
    for (auto* p : panel.m_positions) EXPECT_TRUE(p->isEnabled());
    EXPECT_EQ(h.m.m_Balloon.tailPosition, 1); // the last position kept
    panel.m_sides[3]->click();
    EXPECT_EQ(panel.m_positions[0]->text().toStdString(), "下");
    EXPECT_EQ(panel.m_positions[1]->text().toStdString(), "中");
    EXPECT_EQ(panel.m_positions[2]->text().toStdString(), "上");
    EXPECT_EQ(h.m.m_Balloon.tailSide, 3);
    EXPECT_EQ(redraws, 3);
}

} // namespace
