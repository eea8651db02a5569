// The view paints again only what an edit, a selection or a scroll changed: after every step a
// person takes (clicks, a drag, keys, undo and redo, drawing walls and rooms, scrolling, zooming)
// the back buffer is the picture a whole render gives, and what was painted is a small part of the
// window unless the view itself changed.

#include "DocumentTestSupport.h"

#include "app/KovView.h"
#include "tools/ToolMachine.h"
#include "tools/ToolTexts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>

namespace {

using kov::app::CKoviraView;
using kov::test::DocumentRig;

constexpr int kWidth = 800, kHeight = 600;

struct ViewRig {
    DocumentRig rig;
    CKoviraView view{*rig.doc, nullptr};

    ViewRig()
    {
        rig.doc->m_Grid.visible = 0;
        rig.doc->m_Grid.kyutyaku = 0;  // clicks land where they are sent
        rig.doc->m_PlotInfo.PlotLinePita = rig.doc->m_PlotInfo.PlotWallPita = 0;
        view.resize(kWidth, kHeight);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
    }

    QPointF at(CDbPoint p)
    {
        const DevicePoint d = view.SheetToWindow(p);
        return QPointF(d.x, d.y);
    }
    void mouse(QEvent::Type type, CDbPoint p, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF local = at(p);
        QMouseEvent e(type, local, view.viewport()->mapToGlobal(local), button, buttons, modifiers);
        QApplication::sendEvent(view.viewport(), &e);
    }
    void click(CDbPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton, modifiers);
        mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, modifiers);
        mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    void drag(CDbPoint from, CDbPoint to)
    {
        mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int k = 1; k <= 4; ++k)
            mouse(QEvent::MouseMove, {from.x + (to.x - from.x) * k / 4, from.y + (to.y - from.y) * k / 4},
                  Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void key(int k)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
    }
    // Walls on two sides and a room, through their tools.
    void drawHouse()
    {
        view.runCommand(1007);  // walls
        click({-6000, -4000});
        click({6000, -4000});
        view.runCommand(1007);
        click({6000, -4000});
        click({6000, 3000});
        view.runCommand(1259);  // a rectangle room
        click({-5000, -3000});
        click({0, 2000});
        key(Qt::Key_Escape);
        key(Qt::Key_S);  // back to selecting
        // The wall tool showed the grid: hidden again, the drawing alone.
        rig.doc->m_Grid.visible = 0;
        rig.doc->m_Grid.kyutyaku = 0;
        view.runCommand(kov::tools::kCmdFitAll);
    }
};

long long paintedArea(const CKoviraView& view)
{
    long long a = 0;
    for (const DeviceRect& r : view.lastPaintedRects()) a += static_cast<long long>(r.width()) * r.height();
    return a;
}

int differentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

TEST(ViewRepaint, EveryStepPaintsWhatAWholeRenderPaints)
{
    ViewRig v;
    // A few hundred figures around the house, some of them hatched and dashed.
    for (int i = 0; i < 300; ++i) {
        const int id = v.rig.addLine(-12000 + (i % 30) * 800.0, -8000 + (i / 30) * 1600.0,
                                     -11500 + (i % 30) * 800.0, -7000 + (i / 30) * 1600.0, i % 4);
        CKovLine& f = *v.rig.doc->m_Unit.m_Lines.Find(id);
        f.MLineLineT = i % 3;
        f.MLineWide = 1 + i % 2;
    }
    v.drawHouse();
    v.view.RedrawWhole();
    const CDbPoint lineStart{-12000 + 8 * 800.0, -8000 + 2 * 1600.0};
    const CDbPoint lineMiddle{lineStart.x + 250, lineStart.y + 500};

    struct Step {
        const char* name;
        std::function<void()> act;
        int share;  // at most this per cent of the window is painted
    } steps[] = {
        {"a click selects a line", [&] { v.click(lineMiddle); }, 25},
        {"the selected line is dragged", [&] { v.drag(lineMiddle, {lineMiddle.x + 900, lineMiddle.y + 300}); }, 25},
        {"Delete deletes it", [&] { v.key(Qt::Key_Delete); }, 25},
        {"undo brings it back", [&] { v.view.runCommand(kov::tools::kCmdUndo); }, 25},
        {"redo deletes it again", [&] { v.view.runCommand(kov::tools::kCmdRedo); }, 25},
        {"a wall joins the others", [&] {
             v.view.runCommand(1007);
             v.click({0, -4000});
             v.click({0, 3000});
         }, 25},
        {"a room with its floor and label", [&] {
             v.view.runCommand(1259);
             v.click({1000, -3000});
             v.click({5000, 2000});
         }, 25},
        {"a click on nothing clears the selection", [&] {
             v.key(Qt::Key_S);
             v.click({-11000, 7000});
         }, 25},
        {"zoomed in", [&] {
             v.view.m_geo.m_dZoom = 3.0;
             v.view.m_geo.UpdateScrollSizes();
             v.view.ViewChanged();
         }, 100},
        {"scrolled down 100 pixels", [&] {
             QScrollBar* bar = v.view.verticalScrollBar();
             bar->setValue(bar->value() + 100);
         }, 25},
        {"scrolled left 100 pixels and up 30", [&] {
             v.view.horizontalScrollBar()->setValue(v.view.horizontalScrollBar()->value() - 100);
             v.view.verticalScrollBar()->setValue(v.view.verticalScrollBar()->value() - 30);
         }, 25},
        // Zoomed in, the room's filled floor and its walls cover nearly the whole window.
        {"undo of the room while zoomed", [&] { v.view.runCommand(kov::tools::kCmdUndo); }, 100},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int renders = v.view.renderCount();
        step.act();
        QApplication::processEvents();
        v.view.composeFrame();
        EXPECT_GT(v.view.renderCount(), renders) << "nothing was painted";
        const long long painted = paintedArea(v.view);
        EXPECT_LE(painted * 100, static_cast<long long>(step.share) * kWidth * kHeight) << painted;
        const QImage shown = v.view.backBuffer().copy();
        v.view.RedrawWhole();
        // A slanted edge started afresh at a painted rectangle's side may move a pixel by one.
        EXPECT_LE(differentPixels(shown, v.view.backBuffer()), 8);
    }
}

TEST(ViewRepaint, NothingChangedPaintsNothing)
{
    ViewRig v;
    v.drawHouse();
    v.view.RedrawAll();
    const int renders = v.view.renderCount();
    v.view.RedrawAll();
    v.key(Qt::Key_Escape);
    EXPECT_EQ(v.view.renderCount(), renders);
    EXPECT_TRUE(v.view.lastPaintedRects().empty());
}

TEST(ViewRepaint, SettingsTheViewCannotTellFromTheDrawingPaintEverything)
{
    struct Case {
        const char* name;
        std::function<void(ViewRig&)> change;
    } cases[] = {
        {"black and white", [](ViewRig& v) { v.rig.doc->m_PlotInfo.PlotSirokuro = 1; }},
        {"grey other layers", [](ViewRig& v) { v.rig.doc->m_PlotInfo.laygray = 1; }},
        {"a hidden layer", [](ViewRig& v) { v.rig.doc->m_PlotInfo.m_Layer.m_LayerInfo[0][0].m_nType = 2; }},
        {"the grid shown", [](ViewRig& v) { v.rig.doc->m_Grid.visible = 1 - v.rig.doc->m_Grid.visible; }},
        {"a background colour", [](ViewRig& v) { v.rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_haikei", 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig v;
        v.drawHouse();
        v.view.RedrawAll();
        c.change(v);
        v.view.RedrawAll();
        ASSERT_EQ(v.view.lastPaintedRects().size(), 1u);
        EXPECT_EQ(paintedArea(v.view), static_cast<long long>(kWidth) * kHeight);
    }
}
