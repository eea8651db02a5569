// The elevations of the sample house on a real X server (run under xvfb-run): the house with its
// fittings, roof outlines and deck is opened, 作図 → 建築 → 立面図自動作成 shows the settings
// dialog, and its default button "作成" draws the four elevations around the plan, whose layer group
// is then hidden. The picture is kept beside the test.

#include <QImage>

#include "app/DocumentTestSupport.h"
#include "building/ElevationFixtures.h"
#include "ui/UiSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using kov::test::ink;
using kov::test::settledGrab;

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

} // namespace
