// The text tools as the window runs them: the tool button opens the settings panel with the entry
// line hidden beside the layer bar; a click shows the line, whose OK makes the text with the
// panel's angle and direction; the decorated-text panel's text is placed at each click and emptied.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/TextPanels.h"
#include "model/KovUnit.h"
#include "tools/ToolMachine.h"

#include "app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <tuple>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;
using kov::test::type;

struct Rig : kov::test::WindowRig {
    Rig() : WindowRig({1280, 860})
    {
        doc->m_PlotInfo.m_Layer.SetAllScales(1);
        unsnap();
    }
    const CKovUnit& unit() const { return doc->m_Unit; }
};

TEST(TextTools, TheTextToolsPanelsReachTheTextsItMakes)
{
    Rig rig;
    ASSERT_TRUE(rig.window->RunCommand(cmd::PanelText));
    EXPECT_EQ(rig.doc->m_nToolMode, 8);
    auto* settings = rig.panel<kov::dialogs::TextSettingsPanel>();
    auto* entry = rig.panel<kov::dialogs::TextEntryLine>();
    ASSERT_NE(settings, nullptr);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_FALSE(entry->isVisible());

    type(settings->findChild<QLineEdit*>("angle"), "90");
    type(settings->findChild<QLineEdit*>("height"), "5");
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_PlotMenu", "mozi_kakudo", -1), 90);
    EXPECT_EQ(rig.doc->m_FontMenu.m_size, 5) << "the panel edits the document's text font";

    rig.click({1000, 500});
    EXPECT_TRUE(entry->isVisible());
    auto* edit = entry->findChild<QPlainTextEdit*>("text");
    edit->insertPlainText(QStringLiteral("玄関"));
    EXPECT_EQ(rig.view().machine().m_strText, "玄関") << "the preview's pending text";
    entry->accept();
    ASSERT_EQ(rig.unit().m_Texts.GetSize(), 1);
    const CKovText& made = *rig.unit().m_Texts[0];
    EXPECT_EQ(made.MTextstr, "玄関");
    // The click is a pixel: its point is within a pixel of the sheet point.
    EXPECT_NEAR(made.MTextpnt.x, 1000, 1);
    EXPECT_NEAR(made.MTextpnt.y, 500, 1);
    EXPECT_EQ(made.MTextFontMenu.m_size, 5);
    EXPECT_EQ(made.MTextFontMenu.lfEscapement, 900);
    EXPECT_FALSE(entry->isVisible());
    EXPECT_TRUE(rig.view().machine().m_ToolPoints.empty());

    // Cancel makes nothing; another tool closes both panels.
    rig.click({2000, 500});
    edit->insertPlainText(QStringLiteral("破棄"));
    entry->reject();
    EXPECT_EQ(rig.unit().m_Texts.GetSize(), 1);
    rig.window->RunCommand(cmd::PanelSelect);
    QApplication::processEvents();
    EXPECT_EQ(rig.panel<kov::dialogs::TextSettingsPanel>(), nullptr);
    EXPECT_EQ(rig.panel<kov::dialogs::TextEntryLine>(), nullptr);
    EXPECT_TRUE(rig.view().machine().m_strText.empty());
}

TEST(TextTools, TheDecoratedTextPanelsTextIsPlacedAtEachClick)
{
    Rig rig;
    ASSERT_TRUE(rig.window->RunCommand(cmd::PanelDecoratedText));
    EXPECT_EQ(rig.doc->m_nToolMode, 70);
    auto* panel = rig.panel<kov::dialogs::DecoratedTextPanel>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    rig.click({500, 500});
    EXPECT_EQ(rig.unit().m_Texts.GetSize(), 0) << "an empty text places nothing";

    QTest::keyClicks(panel->findChild<QPlainTextEdit*>("text"), "SALE");
    type(panel->findChild<QLineEdit*>("thickness"), "3");
    panel->findChild<QCheckBox*>("framesOnly")->click();
    rig.click({500, 500});
    ASSERT_EQ(rig.unit().m_Texts.GetSize(), 1);
    const CKovText& made = *rig.unit().m_Texts[0];
    EXPECT_EQ(made.MTextstr, "SALE");
    EXPECT_EQ(made.MTextHuchiFlg, 2);
    EXPECT_EQ(made.MTextHuchiAtsumi, 3);
    EXPECT_EQ(made.MTextFontMenu.m_size, 10);
    // The panel is emptied for the next text; its look stays.
    EXPECT_TRUE(panel->findChild<QPlainTextEdit*>("text")->toPlainText().isEmpty());
    EXPECT_TRUE(rig.view().machine().m_DecoratedText.text.empty());
    rig.click({900, 500});
    EXPECT_EQ(rig.unit().m_Texts.GetSize(), 1);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_PlotMenu", "text_huchiatsumi", "-"), "3.000000");
}

} // namespace
