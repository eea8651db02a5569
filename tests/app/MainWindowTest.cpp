// The main window headless: its bars, the routing of commands, the panel's buttons and the layout
// that a close saves and the next start restores.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/FrameLogic.h"
#include "app/KovView.h"
#include "app/MainWindow.h"

#include "app/DocumentTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QToolBar>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;

struct WindowRig : kov::test::DocumentRig {
    std::unique_ptr<MainWindow> window;
    WindowRig() { open(); }
    void open()
    {
        window = std::make_unique<MainWindow>(doc.get());
        window->show();
        QApplication::processEvents();
    }
    void closeAndReopen()
    {
        window->close();
        window.reset();
        open();
    }
    std::string iconOf(int command) const
    {
        return window->panelButton(command)->property("iconName").toString().toStdString();
    }
};

TEST(MainWindow, EveryBarIsThere)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    for (int bar : {cmd::ViewToolBar, cmd::DrawToolBar, cmd::GroupToolBar}) {
        ASSERT_NE(w.toolBar(bar), nullptr);
        EXPECT_TRUE(w.toolBar(bar)->isVisible());
        for (QAction* a : w.toolBar(bar)->actions())
            if (!a->isSeparator()) {
                EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
            }
    }
    EXPECT_EQ(w.paneText(5), "絶(0.00,-0.00)");
    EXPECT_EQ(w.paneText(6), "相(0.00,-0.00)");
    EXPECT_EQ(w.paneText(7), "");
    EXPECT_EQ(w.panelButton(cmd::LayerNumber0)->text().toStdString(), "0");
    EXPECT_EQ(w.panelButton(cmd::LayerState0)->text().toStdString(), "表吸編集");
    EXPECT_EQ(w.gridDivisionList()->count(), 13);
    EXPECT_EQ(w.roomLockList()->currentText().toStdString(), "ｸﾞﾘｯﾄﾞ吸Off時ﾛｯｸ");
    EXPECT_EQ(w.panelButton(cmd::PanelScale)->text().toStdString(), "100");
}

TEST(MainWindow, CloseAndRestartRestoresPlaceBarsAndBarState)
{
    WindowRig rig;
    rig.window->setGeometry(60, 40, 900, 640);
    rig.window->RunCommand(cmd::DrawToolBar);
    rig.window->addToolBar(Qt::BottomToolBarArea, rig.window->toolBar(cmd::GroupToolBar));
    QApplication::processEvents();
    const QRect placed = rig.window->geometry();
    rig.closeAndReopen();
    EXPECT_EQ(rig.profile.GetProfileInt(kSectionUtility, "registset", 0), 1);
    EXPECT_EQ(rig.profile.GetProfileInt(kSectionUtility, "zutool", 1), 0);
    // The start took the saved layout and cleared the mark at once.
    EXPECT_EQ(rig.profile.GetProfileInt(kSectionUtility, "barstate", -1), 0);
    MainWindow& w = *rig.window;
    EXPECT_EQ(w.geometry().size(), placed.size());
    EXPECT_EQ(w.geometry().topLeft(), placed.topLeft());
    EXPECT_FALSE(w.toolBar(cmd::DrawToolBar)->isVisible());
    EXPECT_EQ(w.toolBarArea(w.toolBar(cmd::GroupToolBar)), Qt::BottomToolBarArea);
    EXPECT_FALSE(w.action(cmd::DrawToolBar)->isChecked());

    // A start after a crash (no orderly close) uses the default layout.
    rig.window.reset();
    rig.open();
    EXPECT_EQ(rig.window->toolBarArea(rig.window->toolBar(cmd::GroupToolBar)), Qt::RightToolBarArea);
}

TEST(MainWindow, ToolButtonsSetToolIconPromptAndSelection)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    rig.doc->m_Selection.AddTextId(rig.addText("a"));
    w.RunCommand(cmd::PanelSelect);
    EXPECT_EQ(rig.doc->m_Selection.m_nCount, 1);
    EXPECT_EQ(w.statusText(), "選択モード");
    EXPECT_EQ(rig.iconOf(cmd::PanelSelect), "select_on");

    w.RunCommand(cmd::PanelWall);
    EXPECT_EQ(rig.doc->m_nToolMode, 1);
    EXPECT_EQ(rig.doc->m_Selection.m_nCount, 0);
    EXPECT_EQ(w.statusText(), "２点指定で壁作成");
    EXPECT_EQ(rig.iconOf(cmd::PanelWall), "wall_on");
    EXPECT_EQ(rig.iconOf(cmd::PanelSelect), "select");
    // The picture button works in select mode only.
    EXPECT_FALSE(w.panelButton(cmd::PanelImage)->isEnabled());

    w.panelButton(cmd::PanelMouseHorizontal)->click();
    EXPECT_EQ(w.view()->m_nAxisLock, 2);
    EXPECT_FALSE(w.panelButton(cmd::PanelMouseFree)->isChecked());
    w.RunCommand(cmd::PanelSelect); // the reset frees the axis lock
    EXPECT_EQ(w.view()->m_nAxisLock, 0);
    EXPECT_TRUE(w.panelButton(cmd::PanelMouseFree)->isChecked());
}

TEST(MainWindow, ChecksFollowTheStateAfterEveryCommand)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    QAction* grid = w.action(cmd::GridShown);
    ASSERT_TRUE(grid->isChecked());
    grid->trigger(); // flips itself, then the command re-syncs it
    EXPECT_EQ(rig.doc->m_Grid.visible, 0);
    EXPECT_FALSE(grid->isChecked());

    // Grid snap with the grid hidden: nothing changes and nothing is said.
    rig.doc->m_Grid.kyutyaku = 1;
    w.SetStatusText("x");
    w.RunCommand(cmd::PanelGridSnap);
    EXPECT_EQ(rig.doc->m_Grid.kyutyaku, 1);
    EXPECT_EQ(w.statusText(), "x");
    EXPECT_FALSE(w.panelButton(cmd::PanelGridSnap)->isChecked());

    // A tool of the menus carries the radio mark while it is current.
    rig.doc->m_nToolMode = 3;
    w.UpdateCommandStates();
    EXPECT_TRUE(w.action(cmd::ToolLine)->isChecked());
    EXPECT_FALSE(w.action(cmd::ToolRectangle)->isChecked());
    // Undo is off right after a new drawing.
    EXPECT_FALSE(w.action(cmd::EditUndo)->isEnabled());
}

TEST(MainWindow, LayerBarButtons)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.panelButton(cmd::LayerState2)->click();
    EXPECT_EQ(w.panelButton(cmd::LayerState2)->text().toStdString(), "表");
    w.panelButton(cmd::LayerState0)->click(); // the current group: nothing
    EXPECT_EQ(w.panelButton(cmd::LayerState0)->text().toStdString(), "表吸編集");
    w.panelButton(cmd::LayerNumber1)->click();
    EXPECT_EQ(rig.doc->m_PlotInfo.m_Layer.m_nCurrentGroup, 1);
    EXPECT_TRUE(w.panelButton(cmd::LayerNumber1)->isChecked());
    EXPECT_FALSE(w.panelButton(cmd::LayerNumber0)->isChecked());
    w.panelButton(cmd::ColourModeBlackWhite)->click();
    EXPECT_EQ(rig.doc->m_PlotInfo.PlotSirokuro, 1);
    EXPECT_TRUE(w.panelButton(cmd::ColourModeBlackWhite)->isChecked());
    EXPECT_FALSE(w.panelButton(cmd::ColourModeColour)->isChecked());
}

TEST(MainWindow, UnroutedCommandsSayNothingAndToolsCanPlugIn)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    const std::string before = w.statusText();
    // A command no route takes (this one is on no menu either): a fault of the program, not news
    // for the user.
    EXPECT_FALSE(w.RunCommand(cmd::FileClose));
    EXPECT_EQ(w.statusText(), before);
    int started = 0;
    w.SetToolCommands([&started](int command) {
        if (command != cmd::FileClose) return false;
        ++started;
        return true;
    });
    EXPECT_TRUE(w.RunCommand(cmd::FileClose));
    EXPECT_EQ(started, 1);
    // A drawing tool of the menus starts in the view's tool machine.
    EXPECT_TRUE(w.RunCommand(cmd::ToolLine));
    EXPECT_EQ(rig.doc->m_nToolMode, 3);
    EXPECT_TRUE(w.action(cmd::ToolLine)->isChecked());
}

TEST(MainWindow, GridDivisionAndRoomLockLists)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.gridDivisionList()->setCurrentIndex(6);
    w.ApplyGridDivision();
    EXPECT_EQ(rig.doc->m_Grid.kyutyakukankaku, 7);
    QMetaObject::invokeMethod(w.roomLockList(), "activated", Q_ARG(int, 2));
    EXPECT_EQ(rig.profile.GetProfileInt(kSectionUtility, "app_room_lock", -1), 0);
}

TEST(MainWindow, EditButtonReadsEditOnlyForOneSelectedObject)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    auto label = [&w] { return w.panelButton(cmd::PanelProperties)->text().toStdString(); };
    w.DrawToolSample();
    EXPECT_EQ(label(), "");
    rig.doc->m_Selection.AddTextId(rig.addText("a"));
    w.DrawToolSample();
    EXPECT_EQ(label(), "編集");
    rig.doc->m_Selection.AddTextId(rig.addText("b"));
    w.DrawToolSample();
    EXPECT_EQ(label(), "");

    // The sample is drawn in the style of the one selected figure, and of nothing for two.
    auto pixels = [&w](auto pick) {
        const QImage img = w.findChild<QLabel*>(QStringLiteral("ctl2126"))->pixmap().toImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += pick(QColor(img.pixel(x, y)));
        return n;
    };
    auto red = [](const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    auto blue = [](const QColor& c) { return c.blue() > 200 && c.red() < 80 && c.green() < 80; };
    auto drawn = [](const QColor& c) { return c != QColor(Qt::white); };
    const int redLine = rig.addLine(0, 0, 1000, 0);
    const int blueLine = rig.addLine(0, 500, 1000, 500);
    rig.doc->m_Unit.FindLine(redLine)->MLineColor = 0x0000FF;  // red, as colour values are stored
    rig.doc->m_Unit.FindLine(blueLine)->MLineColor = 0xFF0000; // blue
    struct Case { const char* name; std::vector<int> lines; int red, blue; };
    const Case cases[] = {{"red line", {redLine}, 1, 0}, {"blue line", {blueLine}, 0, 1}, {"both", {redLine, blueLine}, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rig.doc->m_Selection.Clear();
        for (int id : c.lines) rig.doc->m_Selection.AddLineId(id);
        w.DrawToolSample();
        EXPECT_EQ(pixels(red) > 0, c.red == 1);
        EXPECT_EQ(pixels(blue) > 0, c.blue == 1);
        if (c.lines.size() > 1) {
            EXPECT_EQ(pixels(drawn), 0) << "no sample for two objects in select mode";
        }
    }
    // With the dimension tool the button does nothing at all.
    rig.doc->m_nToolMode = 9;
    w.SetStatusText("x");
    w.RunCommand(cmd::PanelProperties);
    EXPECT_EQ(w.statusText(), "x");
}

TEST(MainWindow, PanelButtonMenuAndDelKeyDeleteTheSelectionWherever)
{
    // The panel's button, the menu's 削除 and the Del key are one command; each deletes the selected
    // line whichever widget has the focus, in one undo step.
    enum class Way { PanelButton, MenuCommand, DelKeyOnPanel, DelKeyOnView };
    for (const Way way : {Way::PanelButton, Way::MenuCommand, Way::DelKeyOnPanel, Way::DelKeyOnView}) {
        SCOPED_TRACE(static_cast<int>(way));
        WindowRig rig;
        MainWindow& w = *rig.window;
        w.activateWindow();
        const int keep = rig.addLine(0, 0, 100, 0);
        const int gone = rig.addLine(0, 50, 100, 50);
        rig.doc->m_Selection.AddLineId(gone);
        w.UpdateCommandStates();
        switch (way) {
        case Way::PanelButton: w.panelButton(cmd::PanelDelete)->click(); break;
        case Way::MenuCommand: w.action(cmd::Delete)->trigger(); break;
        case Way::DelKeyOnPanel: QTest::keyClick(w.panelButton(cmd::PanelSelect), Qt::Key_Delete); break;
        case Way::DelKeyOnView: QTest::keyClick(w.view()->viewport(), Qt::Key_Delete); break;
        }
        QApplication::processEvents();
        const CKovUnit& unit = rig.doc->m_Unit;
        EXPECT_EQ(unit.FindLine(gone), nullptr);
        EXPECT_NE(unit.FindLine(keep), nullptr);
        EXPECT_TRUE(rig.doc->m_Selection.IsEmpty());
        EXPECT_EQ(w.statusText().find("今後の版"), std::string::npos) << w.statusText();
        w.RunCommand(cmd::EditUndo);
        EXPECT_NE(std::as_const(rig.doc->m_Unit).FindLine(gone), nullptr);
        EXPECT_NE(std::as_const(rig.doc->m_Unit).FindLine(keep), nullptr);
    }
}

TEST(MainWindow, GridCommandSwitchesGridAndGridSnapTogether)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    ASSERT_EQ(rig.doc->m_Grid.visible, 1);
    rig.doc->m_Grid.kyutyaku = 1;
    w.action(cmd::GridShown)->trigger();
    EXPECT_EQ(rig.doc->m_Grid.visible, 0);
    EXPECT_EQ(rig.doc->m_Grid.kyutyaku, 0);
    EXPECT_FALSE(w.panelButton(cmd::PanelGridSnap)->isChecked());
    w.action(cmd::GridShown)->trigger();
    EXPECT_EQ(rig.doc->m_Grid.visible, 1);
    EXPECT_EQ(rig.doc->m_Grid.kyutyaku, 1);
    EXPECT_TRUE(w.panelButton(cmd::PanelGridSnap)->isChecked());
    EXPECT_TRUE(w.action(cmd::GridShown)->isChecked());
}

TEST(MainWindow, PanelAndStatusFollowTheToolAfterKeysAndLaterActions)
{
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.panelButton(cmd::PanelRectRoom)->click();
    EXPECT_EQ(rig.iconOf(cmd::PanelRectRoom), "rectroom_on");
    // Esc, then S in the view: select mode, and the panel says so.
    QTest::keyClick(w.view()->viewport(), Qt::Key_Escape);
    QTest::keyClick(w.view()->viewport(), Qt::Key_S);
    QApplication::processEvents();
    EXPECT_EQ(rig.doc->m_nToolMode, 0);
    EXPECT_EQ(w.statusText(), "選択モード");
    EXPECT_EQ(rig.iconOf(cmd::PanelRectRoom), "rectroom");
    EXPECT_EQ(rig.iconOf(cmd::PanelSelect), "select_on");
    // A drawing opened in the middle of a tool starts in select mode, and the status says so.
    w.panelButton(cmd::PanelRectRoom)->click();
    ASSERT_EQ(w.statusText(), "２点指定で四角形部屋作成");
    const auto path = rig.file("other.kvr");
    ASSERT_TRUE(rig.saveAs(path));
    ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
    QApplication::processEvents();
    EXPECT_EQ(rig.doc->m_nToolMode, 0);
    EXPECT_EQ(w.statusText(), "選択モード");
    EXPECT_EQ(rig.iconOf(cmd::PanelSelect), "select_on");

    // A switch's message goes with the next action that has its own: a tool from the menu, a tool
    // from the panel, the select key in the view.
    struct Next {
        const char* name;
        std::function<void()> act;
        const char* status;
    };
    const Next nextActions[] = {
        {"menu tool", [&w] { w.RunCommand(cmd::ToolRectangle); }, nullptr},
        {"panel tool", [&w] { w.panelButton(cmd::PanelRectRoom)->click(); }, "２点指定で四角形部屋作成"},
        {"select key", [&w] { QTest::keyClick(w.view()->viewport(), Qt::Key_S); }, "選択モード"},
    };
    for (const Next& next : nextActions) {
        SCOPED_TRACE(next.name);
        w.RunCommand(cmd::ContextLineSnap);
        ASSERT_NE(w.statusText().find("線吸着"), std::string::npos) << w.statusText();
        next.act();
        QApplication::processEvents();
        EXPECT_EQ(w.statusText().find("線吸着"), std::string::npos) << w.statusText();
        if (next.status) {
            EXPECT_EQ(w.statusText(), next.status);
        }
    }
}

} // namespace
