// The main window's view driven by mouse events: an L of walls and a rectangle room drawn, saved,
// reopened with the walls joined, and the window's picture taken (to the file named by
// KOVIRA_SCREENSHOT when it is set). With KOVIRA_XDOTOOL set, under an X server (xvfb-run), the
// clicks are real pointer events sent through the X server by xdotool; otherwise Qt mouse events
// are sent to the view's window.

#include "DocumentTestSupport.h"

#include "app/KovView.h"
#include "app/MainWindow.h"
#include "tools/ToolMachine.h"
#include "model/KovUnit.h"
#include "platform/Color.h"

#include <QApplication>
#include <QColor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <sstream>

namespace {

using kov::test::DocumentRig;

std::string walls(const CKovUnit& unit)
{
    std::ostringstream s;
    for (const auto& w : unit.m_Walls) {
        s << w->MWallPntA.x << ',' << w->MWallPntA.y << '>' << w->MWallPntB.x << ',' << w->MWallPntB.y << ':';
        for (std::size_t i = 0; i < w->MWallarPntA.size(); ++i)
            s << ' ' << w->MWallarPntA[i].x << ',' << w->MWallarPntA[i].y << '-' << w->MWallarPntB[i].x << ','
              << w->MWallarPntB[i].y;
        s << '\n';
    }
    return s.str();
}

// Counts the left releases that reach the view, so that a click sent through the X server is
// waited for.
struct ReleaseCounter : QObject {
    int& count;
    explicit ReleaseCounter(int& c) : count(c) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease)
            ++count;
        return false;
    }
};

struct Mouse {
    kov::app::CKoviraView& view;
    int clicks = 0; // left releases that reached the view

    QPointF at(CDbPoint p)
    {
        const DeviceTransform t = *view.machine().MakeTransform();
        const DevicePoint d = ToDevicePoint(p, t, 0);
        const DevicePoint s = view.machine().m_Page.scrollPosition();
        return QPointF(d.x - s.x, d.y - s.y);
    }
    void send(QEvent::Type type, CDbPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF local = at(p);
        QMouseEvent e(type, local, view.viewport()->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &e);
    }
    void click(CDbPoint p)
    {
        if (std::getenv("KOVIRA_XDOTOOL")) {
            const QPoint global = view.viewport()->mapToGlobal(at(p).toPoint());
            // Each click waits until the X server's events have reached the view.
            const int before = clicks;
            QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(global.x()),
                                          QString::number(global.y()), "click", "1"});
            for (int i = 0; i < 200 && clicks == before; ++i) {
                QApplication::processEvents(QEventLoop::AllEvents, 20);
                QThread::msleep(5);
            }
            EXPECT_NE(clicks, before) << "the click never arrived";
            return;
        }
        send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }
};

TEST(ViewMouse, DrawSaveAndReopenAHouse)
{
    DocumentRig rig;
    kov::app::MainWindow window(rig.doc.get());
    window.resize(1280, 860);
    window.show();
    QApplication::processEvents();
    kov::app::CKoviraView* view = window.view();
    ASSERT_NE(view, nullptr);
    Mouse mouse{*view};
    ReleaseCounter counter(mouse.clicks);
    view->viewport()->installEventFilter(&counter);
    window.activateWindow();
    window.raise();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }

    ASSERT_TRUE(view->runCommand(1007)); // the wall tool
    EXPECT_EQ(window.prompt(), QStringLiteral("２点指定で壁作成"));
    const CDbPoint corner{0, -2730};
    for (CDbPoint p : {CDbPoint{-3640, -2730}, corner, corner, CDbPoint{0, 0}})
        mouse.click(p);
    // The rectangle room tool, by its key.
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(view, &f3);
    ASSERT_EQ(rig.doc->m_nToolMode, 10);
    mouse.click({910, 910});
    mouse.click({3640, 2730});

    // The new room shows selected at once (its walls are in the picture, not left out as dragged).
    for (CDbPoint onWall : {CDbPoint{910, 1820}, CDbPoint{2275, 2730}, CDbPoint{-1820, -2730}}) {
        const DevicePoint px = view->SheetToWindow(onWall);
        EXPECT_LT(QColor(view->backBuffer().pixel(px.x, px.y)).lightness(), 100) << onWall.x << ',' << onWall.y;
    }
    const CKovUnit& drawn = rig.doc->m_Unit;
    ASSERT_EQ(drawn.m_Walls.size(), 6u);
    ASSERT_EQ(drawn.m_Groups.size(), 1u);
    // The L joined exactly as walls made and joined directly.
    CKovUnit expected;
    expected.ResetWallOutline(expected.AddWall({-3640, -2730}, corner, 50, rig.doc->m_PlotInfo));
    expected.ResetWallOutline(expected.AddWall(corner, {0, 0}, 50, rig.doc->m_PlotInfo));
    expected.JoinWalls(0);
    const std::string lWalls = walls(expected);
    EXPECT_EQ(walls(drawn).substr(0, lWalls.size()), lWalls);
    const std::string before = walls(drawn);

    const auto path = rig.file("house.kvr");
    ASSERT_TRUE(rig.saveAs(path));
    ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
    EXPECT_EQ(walls(rig.doc->m_Unit), before);
    EXPECT_EQ(rig.doc->m_Unit.m_Groups.size(), 1u);

    QApplication::processEvents();
    if (const char* shot = std::getenv("KOVIRA_SCREENSHOT")) {
        const QString name = QString::fromLocal8Bit(shot);
        EXPECT_TRUE(window.grab().save(name));
        // Closer, so that the joined corner shows: three times, about the sheet origin.
        view->machine().m_Page.m_dZoom = 3;
        view->machine().m_Page.UpdateScrollSizes();
        view->ViewChanged();
        QApplication::processEvents();
        EXPECT_TRUE(window.grab().save(QString(name).replace(".png", "-zoomed.png")));
    }
}

TEST(ViewMouse, ARoomDrawnWithTheToolShowsItsLabelAndIsPickedInside)
{
    // With the room settings a new drawing starts with: the room has its name at its middle once
    // it is no longer selected, and a click there picks what lies there.
    DocumentRig rig;
    kov::app::MainWindow window(rig.doc.get());
    window.resize(1280, 860);
    window.show();
    QApplication::processEvents();
    kov::app::CKoviraView* view = window.view();
    ASSERT_NE(view, nullptr);
    Mouse mouse{*view};
    ReleaseCounter counter(mouse.clicks);
    view->viewport()->installEventFilter(&counter);
    window.activateWindow();
    window.raise();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(view, &f3);
    ASSERT_EQ(rig.doc->m_nToolMode, 10);
    mouse.click({0, 0});
    mouse.click({3640, 2730});
    ASSERT_EQ(rig.doc->m_Unit.m_Groups.size(), 1u);
    ASSERT_EQ(rig.doc->m_Unit.m_Texts.size(), 1u);
    // 3,640 by 2,730 on the 910 module: six mats.
    EXPECT_EQ(rig.doc->m_Unit.m_Texts[0]->MTextstr, "洋室\n6帖");

    // Select mode, the selection dropped by a click on empty paper.
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_S}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &press);
    }
    ASSERT_EQ(rig.doc->m_nToolMode, 0);
    mouse.click({-1000, -1000});
    ASSERT_TRUE(rig.doc->m_Selection.IsEmpty());
    QApplication::processEvents();
    const CDbPoint middle{1820, 1365};
    const DevicePoint c = view->SheetToWindow(middle);
    int ink = 0;
    for (int y = c.y - 12; y <= c.y + 12; ++y)
        for (int x = c.x - 30; x <= c.x + 30; ++x) ink += QColor(view->backBuffer().pixel(x, y)).lightness() < 100;
    EXPECT_GT(ink, 10) << "the room's name shows at its middle";
    // Its floor is filled, away from the label and the walls.
    const DevicePoint floor = view->SheetToWindow(CDbPoint{600, 600});
    EXPECT_EQ(kov::platform::fromQColor(QColor(view->backBuffer().pixel(floor.x, floor.y))),
              kov::platform::rgbColor(0xFF, 0xF4, 0xE2)) << "the fill of 洋室 in the room list";

    // Grid snap off: with it on, a click lands on the nearest grid point, whatever the room.
    rig.doc->m_Grid.kyutyaku = 0;
    mouse.click(middle);
    EXPECT_EQ(rig.doc->m_Selection.m_nCount, 1);
    EXPECT_EQ(rig.doc->m_Selection.m_Texts.size(), 1u) << "the label at the middle is picked";
}

} // namespace
