// The line editing tools on a real X server (run under xvfb-run): a drawing of a wall junction in
// double lines and a corner of two lines is opened; the envelope, picked from the menu 作図 → 線の加工
// by the keyboard, opens the junction with two clicks; the chamfer tool (its panel beside the
// drawing) cuts the corner with two clicks. The picture is kept beside the test.

#include "app/DocumentTestSupport.h"
#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

// The drawing holds a frame of ±12 m by ±7 m around its origin: the frame on the screen gives the
// mapping from the sheet.
struct SheetOnScreen {
    double x0 = 0, y0 = 0, sx = 0, sy = 0;
    bool found = false;
    QPoint at(double x, double y) const
    {
        return {static_cast<int>(std::lround(x0 + x * sx)), static_cast<int>(std::lround(y0 + y * sy))};
    }
};

SheetOnScreen sheetOnScreen(const QImage& shot)
{
    SheetOnScreen s;
    const QRect frame = findFrame(shot);
    if (frame.isEmpty()) return s;
    s.sx = (frame.right() - frame.left()) / 24000.0;
    s.sy = (frame.bottom() - frame.top()) / 14000.0;
    s.x0 = frame.left() + 12000 * s.sx;
    s.y0 = frame.top() + 7000 * s.sy;
    s.found = true;
    return s;
}

void click(const QPoint& p) { clickAt(p, 400); }

// 作図(D) → 線の加工(T), then that many steps down the sub-menu, which opens on its first item and
// steps over disabled ones (円接線 without a selected circle).
void menuTool(int down)
{
    key("alt+d", 500);
    key("t", 500);
    for (int i = 0; i < down; ++i) key("Down", 0);
    key("Return", 800);
}

class LineEditOnScreen : public ScreenTest {
protected:
    DocumentRig m_rig;
};

TEST_F(LineEditOnScreen, EnvelopeOpensAJunctionAndTheChamferToolCutsACorner)
{
    // The drawing: the frame, two double lines crossing up left, a corner down right.
    auto add = [this](double x1, double y1, double x2, double y2) { m_rig.addLine(x1, y1, x2, y2); };
    add(-12000, -7000, 12000, -7000);
    add(12000, -7000, 12000, 7000);
    add(12000, 7000, -12000, 7000);
    add(-12000, 7000, -12000, -7000);
    for (double d : {-300.0, 300.0}) {
        add(-10000, -4000 + d, -4000, -4000 + d);
        add(-7000 + d, -6500, -7000 + d, -2000);
    }
    // On grid points, which the chamfer's clicks snap to.
    add(2730, 2730, 9100, 2730);
    add(2730, 2730, 2730, 6370);
    const fs::path drawing = m_rig.file("line-edits.kvr");
    ASSERT_TRUE(m_rig.saveAs(drawing));
    // A chamfer large enough to see at this scale.
    writeSettings("[KOV_T_UTILITY]\nmentori_kakuatai=2000\n");

    const std::string window = start({QString::fromStdString(drawing.string())}, "line-edits");
    ASSERT_FALSE(window.empty());
    const QImage before = grab(m_rig.file("before.png"));
    const SheetOnScreen sheet = sheetOnScreen(before);
    ASSERT_TRUE(sheet.found) << "the drawing's frame was not found on the screen";

    // 包絡: the 13th item, the 12th enabled one: two corners around the junction.
    // Inside the junction, between the upright lines: the middle parts of the level lines.
    const QRect inside(sheet.at(-7250, -4350), sheet.at(-6750, -3650));
    const int crossed = ink(before, inside);
    ASSERT_GT(crossed, 0);
    menuTool(11);
    click(sheet.at(-8500, -5500));
    click(sheet.at(-5500, -2500));
    QThread::msleep(500);
    const QImage opened = grab(m_rig.file("opened.png"));
    EXPECT_LT(ink(opened, inside), crossed / 4) << "the lines inside the junction are gone";

    // 面取, two items further: the two lines of the corner; the panel stays open beside the drawing.
    menuTool(13);
    click(sheet.at(6370, 2730));
    click(sheet.at(2730, 5460));
    QThread::msleep(800);
    const QImage cut = grab(fs::path(KOVIRA_UI_OUTPUT) / "line-edits-envelope-and-chamfer.png");
    // The corner point itself is cut away; the chamfer's face crosses the corner's diagonal.
    EXPECT_EQ(ink(cut, QRect(sheet.at(2730, 2730) - QPoint(2, 2), QSize(5, 5))), 0) << "the corner is cut off";
    const QPoint onFace = sheet.at(2730 + 707, 2730 + 707);
    EXPECT_GT(ink(cut, QRect(onFace - QPoint(3, 3), QSize(7, 7))), 0) << "the chamfer's face is drawn";
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("line-edits"), std::string::npos) << title;
}

} // namespace
