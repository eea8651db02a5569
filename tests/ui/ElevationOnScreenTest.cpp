// The elevations of the sample house on a real X server (run under xvfb-run): the house with its
// fittings, roof outlines and deck is opened, 作図 → 建築 → 立面図自動作成 shows the settings
// dialog, and its default button "作成" draws the four elevations around the plan, whose layer group
// is then hidden. 外壁線作成 opens the panel whose "作図終了" finishes the outer-wall line. The
// pictures are kept beside the test.

#include <QImage>

#include "app/DocumentTestSupport.h"
#include "building/ElevationFixtures.h"
#include "ui/UiSupport.h"

#include <gtest/gtest.h>

#include <QThread>

#include <filesystem>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using kov::test::clickAt;
using kov::test::ink;
using kov::test::num;
using kov::test::run;
using kov::test::settledGrab;
using kov::test::windowGeometry;

class ElevationOnScreen : public kov::test::ScreenTest {
protected:
    kov::test::DocumentRig m_rig;
};

TEST_F(ElevationOnScreen, FourElevationsOfTheSampleHouseFromTheMenu)
{
    {
        kov::test::ElevationPlan plan;
        kov::test::sampleHouse(plan);
        if (HasFatalFailure()) return;
        m_rig.doc->m_Unit.CopyFrom(plan.unit);
    }
    m_rig.doc->m_Grid.visible = 0;
    const fs::path house = m_rig.file("house.kvr");
    ASSERT_TRUE(m_rig.saveAs(house));
    ASSERT_FALSE(start({QString::fromStdString(house.string())}, "house").empty());
    const QImage before = settledGrab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const int w = before.width(), h = before.height();

    // 作図(D) → 建築(K) (the menu's last entry) → 立面図自動作成 (its fourth item); "作成" is the
    // dialog's default button.
    kov::test::clickAt({166, 8});
    settledGrab(m_home / "menu.png");
    kov::test::key("--delay 300 Up Right Down Down Down Return");
    const QImage dialog = settledGrab(fs::path(KOVIRA_UI_OUTPUT) / "elevation-dialog.png");
    kov::test::key("Return");

    const QImage done = settledGrab(fs::path(KOVIRA_UI_OUTPUT) / "elevations-on-screen.png");
    ASSERT_FALSE(done.isNull());
    // The four views in the middles of the page's quarters: south and east above, north and west
    // below the plan, which is hidden now.
    auto area = [w, h](double x, double y, double dx, double dy) {
        return QRect(int(w * x), int(h * y), int(w * dx), int(h * dy));
    };
    const QRect quarters[] = {area(0.20, 0.12, 0.22, 0.16), area(0.20, 0.56, 0.22, 0.16),
                              area(0.63, 0.12, 0.15, 0.16), area(0.62, 0.56, 0.14, 0.16)};
    for (const QRect& q : quarters) EXPECT_GT(ink(done, q), ink(before, q) + 200) << q.x() << "," << q.y();
}

TEST_F(ElevationOnScreen, OuterWallLineFinishedWithItsPanelsButton)
{
    m_rig.addLine(0, 0, 10, 0);
    m_rig.doc->m_Grid.visible = 0;
    const fs::path plan = m_rig.file("plan.kvr");
    ASSERT_TRUE(m_rig.saveAs(plan));
    const std::string window = start({QString::fromStdString(plan.string())}, "plan");
    ASSERT_FALSE(window.empty());
    const QImage before = settledGrab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const int w = before.width(), h = before.height();

    // 作図(D) → 建築(K) (the menu's last entry) → 外壁線作成 (its second item).
    clickAt({166, 8});
    kov::test::key("--delay 300 Up Right Down Return");
    settledGrab(m_home / "started.png");
    // The panel has no title: it is the program's one small window besides the main window.
    QRect panel;
    std::istringstream ids(run("xdotool search --onlyvisible --pid " + num(int(m_program.processId())) + " 2>/dev/null"));
    for (std::string id; ids >> id;) {
        if (id == window) continue;
        const QRect g = windowGeometry(id);
        if (g.width() > 20 && g.width() < 400 && g.height() > 10 && g.height() < 200) panel = g;
    }
    ASSERT_FALSE(panel.isEmpty()) << "the outer-wall tool showed no panel";
    // Beside the drawing (below the tool panel on the left), not over it.
    EXPECT_LT(panel.right(), w / 4);

    // Three corners of the line in the middle of the page, then the panel's only button.
    for (const QPoint p : {QPoint(w * 2 / 5, h / 3), QPoint(w * 3 / 5, h / 3), QPoint(w * 3 / 5, h * 2 / 3)})
        clickAt(p);
    kov::test::grab(fs::path(KOVIRA_UI_OUTPUT) / "outer-wall-line-panel.png");
    clickAt(panel.center());

    // Ctrl+S writes the drawing; read back, it holds one outer-wall line of three points.
    ASSERT_TRUE(kov::test::saveByKeys(window, plan)) << "Ctrl+S wrote nothing";
    kov::test::DocumentRig back;
    ASSERT_TRUE(back.doc->OnOpenDocument(plan));
    int outerWallLines = 0;
    for (const auto& g : back.doc->m_Unit.m_Groups) {
        if (g->MGrpRoom != CKovGroup::OUTER_WALL_LINE) continue;
        ++outerWallLines;
        ASSERT_EQ(g->MGrpLineID.size(), 1u);
        EXPECT_EQ(back.doc->m_Unit.FindLine(g->MGrpLineID[0])->MLinePnt.size(), 3u);
    }
    EXPECT_EQ(outerWallLines, 1);
}

} // namespace
