// A house furnished by mouse from the palettes of the main window: doors and windows put on its
// walls with the fittings palette and three clicks each, a sofa and a bath taken from the parts
// palette and put down where clicked. With KOVIRA_XDOTOOL set, under an X server (xvfb-run), every
// click is a real pointer event sent through the X server by xdotool, palettes included; otherwise
// Qt mouse events are sent. The screen's picture goes to the file named by KOVIRA_SCREENSHOT.

#include "DocumentTestSupport.h"

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/FittingsPalette.h"
#include "dialogs/PartsPalette.h"
#include "dialogs/RoomChoicePanel.h"
#include "model/KovUnit.h"
#include "tools/ToolMachine.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using kov::test::DocumentRig;
namespace fs = std::filesystem;

const fs::path kLibrary = KOVIRA_LIBRARY_DATA;

bool realMouse() { return std::getenv("KOVIRA_XDOTOOL") != nullptr; }

void settle(int rounds = 10)
{
    for (int i = 0; i < rounds; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// Counts the left releases (or presses) that reach a widget, so that a real click is waited for.
struct Arrivals : QObject {
    QEvent::Type type;
    int count = 0;
    explicit Arrivals(QEvent::Type t) : type(t) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == type) ++count;
        return false;
    }
};

// A click at a global point on a widget: by xdotool, waiting until it arrived, or by Qt events.
void clickWidget(QWidget* target, QPoint local, Arrivals& arrivals)
{
    if (realMouse()) {
        const QPoint global = target->mapToGlobal(local);
        const int before = arrivals.count;
        QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()),
                                      "click", "1"});
        for (int i = 0; i < 200 && arrivals.count == before; ++i) settle(1);
        EXPECT_NE(arrivals.count, before) << "the click never arrived";
        return;
    }
    const QPoint global = target->mapToGlobal(local);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(global), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), QPointF(global), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), QPointF(global), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    settle(1);
}

struct House {
    DocumentRig rig;
    kov::app::MainWindow window{rig.doc.get()};
    kov::app::CKoviraView* view = nullptr;
    Arrivals viewClicks{QEvent::MouseButtonRelease};
    Arrivals cellClicks{QEvent::MouseButtonPress};

    House()
    {
        auto& folders = rig.doc->services().folders;
        folders.fittings = kLibrary / "tateg";
        folders.symbols = kLibrary / "hyouki";
        folders.parts = kLibrary / "data";
        window.resize(1240, 860);
        window.show();
        settle();
        view = window.view();
        view->viewport()->installEventFilter(&viewClicks);
        window.activateWindow();
        window.raise();
        settle(20);
    }
    QPoint at(CDbPoint p) const
    {
        const DeviceTransform t = *view->machine().MakeTransform();
        const DevicePoint d = ToDevicePoint(p, t, 0);
        const DevicePoint s = view->machine().m_Page.scrollPosition();
        return {d.x - s.x, d.y - s.y};
    }
    void click(CDbPoint p) { clickWidget(view->viewport(), at(p), viewClicks); }
    // A pointer move over the drawing (the placed part follows it).
    void hover(CDbPoint p)
    {
        const QPoint local = at(p);
        if (realMouse()) {
            const QPoint g = view->viewport()->mapToGlobal(local);
            QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(g.x()), QString::number(g.y())});
            settle(5);
            return;
        }
        QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(view->viewport()->mapToGlobal(local)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        settle(1);
    }
    void clickCell(QDialog* palette, QRect global)
    {
        QWidget* cell = palette->childAt(palette->mapFromGlobal(global.center()));
        ASSERT_TRUE(cell) << "no cell there";
        cell->installEventFilter(&cellClicks);
        clickWidget(cell, cell->mapFromGlobal(global.center()), cellClicks);
        cell->removeEventFilter(&cellClicks);
    }
    // Closer, about the house: the zoom doubled and the point in the middle of the window.
    void zoomTo(CDbPoint centre, double zoom)
    {
        kov::tools::PageGeometry& page = view->machine().m_Page;
        page.m_dZoom = zoom;
        page.UpdateScrollSizes();
        const QPoint at = this->at(centre);
        const DevicePoint s = page.scrollPosition();
        const QSize size = view->viewport()->size() * view->devicePixelRatioOfView();
        page.ScrollToPosition({s.x + at.x() - size.width() / 2, s.y + at.y() - size.height() / 2});
        view->ViewChanged();
        settle(10);
    }
    void screenshot(const char* suffix)
    {
        const char* shot = std::getenv("KOVIRA_SCREENSHOT");
        if (!shot) return;
        const QString name = QString::fromLocal8Bit(shot).replace(".png", QString::fromUtf8(suffix) + ".png");
        QPixmap picture = realMouse() ? QGuiApplication::primaryScreen()->grabWindow(0) : window.grab();
        EXPECT_TRUE(picture.save(name));
    }
    int groupsOfKind(int kind) const
    {
        int n = 0;
        for (const auto& g : rig.doc->m_Unit.m_Groups) n += g->MGrpRoom == kind;
        return n;
    }
};

} // namespace

TEST(LibraryMouse, FurnishAHouseFromThePalettes)
{
    House h;
    // The rooms: a living room and a bathroom side by side.
    ASSERT_TRUE(h.window.RunCommand(kov::app::cmd::PanelRectRoom));
    // The room choice panel opens with the tool: moved beside the window, as for the palettes below.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<kov::dialogs::CRoomChoiseDlg*>(w) && w->isVisible())
            w->move(h.window.frameGeometry().right() + 4, h.window.frameGeometry().top());
    settle(10);
    h.click({0, 0});
    h.click({5460, 3640});
    h.click({5460, 0});
    h.click({7280, 3640});
    ASSERT_GE(h.rig.doc->m_Unit.m_Walls.size(), 7u);

    // Fittings: the palette opens with the tool; a kind, a cell, three clicks on a wall.
    ASSERT_TRUE(h.window.RunCommand(kov::app::cmd::PanelFittings));
    kov::dialogs::FittingsPalette* fittings = h.window.fittingsPalette();
    ASSERT_TRUE(fittings && fittings->isVisible());
    // Beside the window rather than over the drawing, so that every click reaches the walls.
    fittings->move(h.window.frameGeometry().right() + 4, h.window.frameGeometry().top());
    settle(10);
    struct Fitting {
        int kind;
        int cell;
        CDbPoint a, b, side;
    };
    const Fitting placed[] = {
        {2, 0, {910, 3640}, {1820, 3640}, {1365, 4550}},    // a door out of the living room
        {3, 0, {1820, 0}, {3640, 0}, {2730, -910}},        // a window to the north
        {1, 2, {2730, 3640}, {4550, 3640}, {3640, 4550}},  // a sweep-out window to the south
        {2, 1, {5460, 1820}, {5460, 2730}, {6370, 2275}},  // the bathroom's door
        {3, 3, {6370, 0}, {7280, 0}, {6825, -910}},        // the bathroom's small window
    };
    for (const Fitting& f : placed) {
        fittings->form().ChooseKind(f.kind - 1);
        fittings->Refresh();
        settle(2);
        h.clickCell(fittings, fittings->cellRect(f.cell));
        EXPECT_EQ(h.view->machine().m_Fitting.kind, f.kind);
        h.click(f.a);
        h.click(f.b);
        h.click(f.side);
    }
    EXPECT_EQ(h.groupsOfKind(CKovGroup::FITTING), 5);
    EXPECT_EQ(h.rig.doc->m_nToolMode, 55);
    h.zoomTo({4550, 1820}, 2.5);
    h.screenshot("-fittings");
    // Closing the palette leaves the fitting tool.
    fittings->reject();
    EXPECT_EQ(h.rig.doc->m_nToolMode, 0);

    // Parts: the palette in placing mode; the sofa and the bath put down where clicked.
    ASSERT_TRUE(h.window.RunCommand(kov::app::cmd::PanelParts));
    kov::dialogs::PartsPalette* parts = h.window.partsPalette();
    ASSERT_TRUE(parts && parts->isVisible());
    EXPECT_EQ(h.rig.doc->m_nToolMode, 0);
    EXPECT_EQ(h.window.statusText(), "選択モード"); // not the fitting tool's prompt any more
    parts->move(h.window.frameGeometry().right() + 4, h.window.frameGeometry().top());
    settle(10);
    struct Part {
        const char* folder;
        const char* name;
        CDbPoint at;
    };
    // Put down where clicked: off the grid and the line snaps (the bath goes beside a wall's face).
    h.rig.doc->m_Grid.kyutyaku = 0;
    h.rig.doc->m_PlotInfo.PlotLinePita = 0;
    const Part furniture[] = {{"家具", "ソファ3人掛け", {1200, 2500}},
                              {"衛生機器", "浴槽", {5580, 120}},
                              {"植栽", "高木", {8300, 1200}}};
    for (const Part& p : furniture) {
        auto& form = parts->form();
        int folder = -1;
        for (std::size_t i = 0; i < form.m_Folders.size(); ++i)
            if (form.m_Folders[i].name == p.folder) folder = static_cast<int>(i);
        ASSERT_GE(folder, 0) << p.folder;
        form.ChooseFolder(folder, 0);
        parts->Refresh();
        const auto it = std::find(form.m_PartNames.begin(), form.m_PartNames.end(), p.name);
        ASSERT_NE(it, form.m_PartNames.end()) << p.name;
        const int index = static_cast<int>(it - form.m_PartNames.begin());
        settle(2);
        const std::size_t before = h.rig.doc->m_Unit.m_Groups.size();
        h.clickCell(parts, parts->cellRect(index % kov::dialogs::PartsPaletteForm::kCells));
        EXPECT_EQ(h.view->machine().m_bPlacing, 1) << p.name;
        h.hover(p.at);
        h.click(p.at);
        EXPECT_EQ(h.view->machine().m_bPlacing, 0) << p.name;
        ASSERT_EQ(h.rig.doc->m_Unit.m_Groups.size(), before + 1) << p.name;
        // Its top-left corner where it was put down.
        const CKovGroup& put = *h.rig.doc->m_Unit.m_Groups[h.rig.doc->m_Unit.m_Groups.GetSize() - 1];
        EXPECT_NEAR(put.MGrpmin.x, p.at.x, 30) << p.name;
        EXPECT_NEAR(put.MGrpmin.y, p.at.y, 30) << p.name;
    }
    h.screenshot("");
}
