// The line editing tools and commands as the window runs them: started from the menus, the chamfer
// tool's panel, exploding polylines and cutting their corners, and undo steps that outlast the
// window's idle refresh between a tool's clicks.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/ChamferDialogs.h"
#include "model/KovUnit.h"
#include "tools/ToolMachine.h"

#include "app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <tuple>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;

struct Rig : kov::test::WindowRig {
    Rig() : WindowRig({1280, 860})
    {
        doc->m_PlotInfo.m_Layer.SetAllScales(1);
        doc->m_Grid.kyutyaku = 0;
        doc->m_PlotInfo.PlotLinePita = 0;
    }
    int rectangle(CDbPointArray corners)
    {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = doc->m_Unit.NextLineId();
        f->MLineType = CKovLine::RECTANGLE;
        f->MLinePnt = std::move(corners);
        const int id = f->MLineID;
        doc->m_Unit.m_Lines.Add(std::move(f));
        return id;
    }
    kov::dialogs::ChamferPanel* chamferPanel() const { return panel<kov::dialogs::ChamferPanel>(); }
    const CKovUnit& unit() const { return doc->m_Unit; }
};

TEST(LineEditCommands, MenusStartTheTools)
{
    const struct {
        int command, tool;
    } cases[] = {{cmd::ToolLineCut, 18},   {cmd::ToolLinePartDelete, 19}, {cmd::ToolLineErase, 20},
                 {cmd::ToolTwoLines, 22},  {cmd::ToolLineStretch, 32},    {cmd::ToolDivideLine, 33},
                 {cmd::ToolEnvelope, 34},  {cmd::ToolCorner, 35},         {cmd::ToolChamfer, 36},
                 {cmd::ToolDivide, 64},    {cmd::ToolJoinLines, 67}};
    Rig rig;
    rig.addLine(0, 0, 100, 0); // the tools that need a figure to start
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool);
        EXPECT_TRUE(rig.window->RunCommand(c.command));
        EXPECT_EQ(rig.doc->m_nToolMode, c.tool);
        EXPECT_EQ(rig.window->statusText().find("まだ使えません"), std::string::npos) << rig.window->statusText();
    }
}

TEST(LineEditCommands, TheChamferPanelSetsTheNextCorner)
{
    Rig rig;
    const int a = rig.addLine(0, 0, 100, 0);
    const int b = rig.addLine(0, 0, 0, 100);
    ASSERT_TRUE(rig.window->RunCommand(cmd::ToolChamfer));
    kov::dialogs::ChamferPanel* panel = rig.chamferPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    QLineEdit* size = panel->findChildren<QLineEdit*>().at(0);
    size->selectAll();
    QTest::keyClicks(size, "30");
    EXPECT_EQ(rig.view().machine().m_ChamferSizes[0], 30);
    EXPECT_EQ(rig.profile.GetProfileString("KOV_T_UTILITY", "mentori_kakuatai", ""), "30.00");
    rig.click({60, 0});
    rig.click({0, 60});
    EXPECT_NEAR(std::hypot(rig.unit().FindLine(a)->MLinePnt[0].x, rig.unit().FindLine(a)->MLinePnt[0].y), 21.21, 0.01);
    EXPECT_NEAR(rig.unit().FindLine(b)->MLinePnt[0].y, 21.21, 0.01);
    // Another tool closes the panel.
    rig.window->RunCommand(cmd::ToolCorner);
    QApplication::processEvents();
    EXPECT_EQ(rig.chamferPanel(), nullptr);
}

TEST(LineEditCommands, ExplodeAndCutEveryCornerInOneUndoStep)
{
    Rig rig;
    const int rect = rig.rectangle({{0, 0}, {0, 60}, {100, 60}, {100, 0}});
    rig.doc->m_Selection.AddLineId(rect);
    ASSERT_TRUE(rig.window->RunCommand(cmd::PolylineToLines));
    EXPECT_EQ(rig.unit().FindLine(rect), nullptr);
    EXPECT_EQ(rig.doc->m_Selection.m_Lines.size(), 4u);
    rig.window->RunCommand(cmd::EditUndo);
    ASSERT_NE(rig.unit().FindLine(rect), nullptr);

    // Every corner rounded with radius 10 from the dialog: four sides and four arcs.
    rig.doc->m_Selection.Clear();
    rig.doc->m_Selection.AddLineId(rect);
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<kov::dialogs::ChamferDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->form().OnKind(kov::dialogs::ChamferForm::ROUND);
        d->form().OnFirstEdit("10");
        d->accept();
    });
    ASSERT_TRUE(rig.window->RunCommand(cmd::ChamferPolylineCorners));
    int arcs = 0, lines = 0;
    for (const auto& f : rig.unit().m_Lines) {
        arcs += f->MLineType == CKovLine::ARC;
        lines += f->MLineType == CKovLine::LINE;
        if (f->MLineType == CKovLine::LINE) {
            // Each side lost 10 at both ends.
            EXPECT_NEAR(std::hypot(f->MLinePnt[0].x - f->MLinePnt[1].x, f->MLinePnt[0].y - f->MLinePnt[1].y),
                        f->MLinePnt[0].y == f->MLinePnt[1].y ? 80 : 40, 1e-9);
        }
    }
    EXPECT_EQ(arcs, 4);
    EXPECT_EQ(lines, 4);
    EXPECT_TRUE(rig.doc->m_Selection.IsEmpty());
    EXPECT_EQ(rig.view().machine().m_nChamferMode, 2);
    rig.window->RunCommand(cmd::EditUndo);
    EXPECT_EQ(rig.unit().m_Lines.GetSize(), 1);
    EXPECT_NE(rig.unit().FindLine(rect), nullptr);

    // Nothing suitable selected: the command says so.
    rig.doc->m_Selection.Clear();
    rig.questions.acknowledge("選択物が多角形又は四角形、連続線ではありません");
    rig.window->RunCommand(cmd::ChamferPolylineCorners);
    EXPECT_EQ(rig.questions.pending(), 0u);
}

TEST(LineEditCommands, CornersOfTwoPolylinesStayTheirOwn)
{
    Rig rig;
    // Two squares side by side: a corner never joins a side of one to a side of the other.
    const int left = rig.rectangle({{0, 0}, {0, 50}, {50, 50}, {50, 0}});
    const int right = rig.rectangle({{200, 0}, {200, 50}, {250, 50}, {250, 0}});
    rig.doc->m_Selection.AddLineId(left);
    rig.doc->m_Selection.AddLineId(right);
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<kov::dialogs::ChamferDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->form().OnKind(kov::dialogs::ChamferForm::STRAIGHT);
        d->form().OnMeasure(kov::dialogs::ChamferForm::EDGE);
        d->form().OnFirstEdit("5");
        d->accept();
    });
    rig.window->RunCommand(cmd::ChamferPolylineCorners);
    // 8 sides and 8 chamfers, every point within its own square.
    ASSERT_EQ(rig.unit().m_Lines.GetSize(), 16);
    for (const auto& f : rig.unit().m_Lines) {
        const bool inLeft = f->MLinePnt[0].x <= 50 && f->MLinePnt[1].x <= 50;
        const bool inRight = f->MLinePnt[0].x >= 200 && f->MLinePnt[1].x >= 200;
        EXPECT_TRUE(inLeft || inRight) << f->MLinePnt[0].x << " " << f->MLinePnt[1].x;
    }
}

TEST(LineEditCommands, ATrimIsUndoneThoughTheWindowRefreshedBetweenTheClicks)
{
    Rig rig;
    rig.addLine(50, -80, 50, 80);
    const int target = rig.addLine(-80, 0, 20, 0);
    ASSERT_TRUE(rig.window->RunCommand(cmd::ToolLineStretch));
    rig.window->UpdateCommandStates();
    rig.click({50, -60});
    // The idle refresh of the command states runs between the clicks.
    rig.window->UpdateCommandStates();
    rig.window->UpdateCommandStates();
    rig.click({-40, 0});
    rig.window->UpdateCommandStates();
    ASSERT_EQ(rig.unit().FindLine(target)->MLinePnt[1], CDbPoint(50, 0));
    rig.window->RunCommand(cmd::EditUndo);
    EXPECT_EQ(rig.unit().FindLine(target)->MLinePnt[1], CDbPoint(20, 0));
}

} // namespace
