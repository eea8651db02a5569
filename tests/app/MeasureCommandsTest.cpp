// The construction and measuring tools and commands as the window runs them: started from the
// menus, their panels beside the tool panel with the values typed there reaching the tools and
// kept when the tool ends, and the measuring result answered on screen.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/LinePanels.h"
#include "dialogs/MeasureDialogs.h"
#include "model/KovUnit.h"
#include "tools/ToolMachine.h"

#include "app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <tuple>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;
using kov::test::type;

struct Rig : kov::test::WindowRig {
    Rig() : WindowRig({1280, 860}) { doc->m_PlotInfo.m_Layer.SetAllScales(1); }
    std::string utility(const char* key) { return profile.GetProfileString("KOV_T_UTILITY", key, "-"); }
    const CKovUnit& unit() const { return doc->m_Unit; }
};

TEST(MeasureCommands, MenusStartTheTools)
{
    const struct {
        int command, tool;
    } cases[] = {{cmd::ToolLengthLine, 15},  {cmd::ToolAngleLine, 16}, {cmd::ToolPerpendicular, 17},
                 {cmd::ToolMeasureAngle, 47}, {cmd::ToolAreaSum, 48},   {cmd::ToolLengthSum, 49}};
    Rig rig;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool);
        EXPECT_TRUE(rig.window->RunCommand(c.command));
        EXPECT_EQ(rig.doc->m_nToolMode, c.tool);
        EXPECT_EQ(rig.window->statusText().find("まだ使えません"), std::string::npos) << rig.window->statusText();
    }
}

TEST(MeasureCommands, TheLengthAndAnglePanelsSetTheLineAndAreKeptWhenTheToolEnds)
{
    Rig rig;
    ASSERT_TRUE(rig.window->RunCommand(cmd::ToolLengthLine));
    auto* lengthPanel = rig.panel<kov::dialogs::LengthPanel>();
    ASSERT_NE(lengthPanel, nullptr);
    EXPECT_TRUE(lengthPanel->isVisible());
    type(lengthPanel->findChild<QLineEdit*>("length"), "250");
    EXPECT_EQ(rig.view().machine().m_dToolLength, 250);
    rig.unsnap();
    rig.click({0, 0});
    rig.click({0, 400});
    ASSERT_EQ(rig.unit().m_Lines.GetSize(), 1);
    EXPECT_NEAR(rig.unit().m_Lines[0]->MLinePnt[1].y, 250, 1e-6);
    EXPECT_EQ(rig.utility("tool_nagasa"), "-");

    // Another tool closes the panel, which keeps its length.
    ASSERT_TRUE(rig.window->RunCommand(cmd::ToolAngleLine));
    QApplication::processEvents();
    EXPECT_EQ(rig.panel<kov::dialogs::LengthPanel>(), nullptr);
    EXPECT_EQ(rig.utility("tool_nagasa"), "250.00");

    auto* anglePanel = rig.panel<kov::dialogs::AnglePanel>();
    ASSERT_NE(anglePanel, nullptr);
    EXPECT_EQ(anglePanel->findChild<QLineEdit*>("length")->text(), "250.00");
    anglePanel->findChild<QCheckBox*>("lengthGiven")->click();
    type(anglePanel->findChild<QComboBox*>("angle")->lineEdit(), "90");
    type(anglePanel->findChild<QLineEdit*>("length"), "120");
    rig.unsnap();
    rig.click({500, 0});
    ASSERT_EQ(rig.unit().m_Lines.GetSize(), 2);
    EXPECT_NEAR(rig.unit().m_Lines[1]->MLinePnt[1].y, rig.unit().m_Lines[1]->MLinePnt[0].y - 120, 1e-6);

    rig.window->RunCommand(cmd::PanelSelect);
    QApplication::processEvents();
    EXPECT_EQ(rig.panel<kov::dialogs::AnglePanel>(), nullptr);
    EXPECT_EQ(rig.utility("tool_kakudo_kakudo"), "90.00");
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "tool_kakudo_nagasack", -1), 1);
    EXPECT_EQ(rig.utility("tool_nagasa"), "120.00");
}

TEST(MeasureCommands, TheFixedRadiusPanelSetsTheNextCircle)
{
    Rig rig;
    ASSERT_TRUE(rig.window->RunCommand(cmd::ToolCircle));
    auto* panel = rig.panel<kov::dialogs::FixedRadiusPanel>();
    ASSERT_NE(panel, nullptr);
    panel->findChild<QCheckBox*>("fixed")->click();
    type(panel->findChild<QLineEdit*>("radius"), "250");
    rig.unsnap();
    rig.click({0, 0});
    rig.click({1000, 0});
    ASSERT_EQ(rig.unit().m_Lines.GetSize(), 1);
    EXPECT_EQ(rig.unit().m_Lines[0]->MLineParam[0], 250);
    rig.window->RunCommand(cmd::PanelSelect);
    EXPECT_EQ(rig.utility("tool_hankeikotei_atai"), "250.00");
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "tool_hankeikotei_check", -1), 1);
    // The circle tool starts again on the kept radius.
    rig.window->RunCommand(cmd::ToolCircle);
    EXPECT_EQ(rig.panel<kov::dialogs::FixedRadiusPanel>()->findChild<QLineEdit*>("radius")->text(), "250.00");
}

TEST(MeasureCommands, ASelectedLineMeasuredFromTheMenuIntoATextInCentimetres)
{
    Rig rig;
    const int line = rig.addLine(100, 200, 1334.5, 200);
    rig.doc->m_Selection.AddLineId(line);
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<kov::dialogs::MeasureResultDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        auto* list = d->findChild<QComboBox*>("unit");
        list->setCurrentIndex(1);
        emit list->activated(1);
        d->accept();
    });
    ASSERT_TRUE(rig.window->RunCommand(cmd::MeasureLength));
    ASSERT_EQ(rig.unit().m_Texts.GetSize(), 1);
    EXPECT_EQ(rig.unit().m_Texts[0]->MTextstr, "123.45cm");
    EXPECT_EQ(rig.unit().m_Texts[0]->MTextpnt, CDbPoint(100, 200));
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "sokuteitani", -1), 2);
    // One undo step takes the text away again.
    rig.window->RunCommand(cmd::EditUndo);
    EXPECT_EQ(rig.unit().m_Texts.GetSize(), 0);
}

TEST(MeasureCommands, TheObjectCountFromTheMenu)
{
    Rig rig;
    rig.addLine(0, 0, 100, 0);
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<kov::dialogs::ObjectCountDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->form().ticked.fill(false);
        d->form().ticked[kov::dialogs::ObjectCountForm::FIGURES] = true;
        d->accept();
    });
    ASSERT_TRUE(rig.window->RunCommand(cmd::ObjectCount));
    ASSERT_EQ(rig.unit().m_Texts.GetSize(), 1);
    EXPECT_EQ(rig.unit().m_Texts[0]->MTextstr, "直線:1　四角:0　多角:0　円:0　円弧:0　連続:0");
}

} // namespace
