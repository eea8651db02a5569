// Annotations of a plan on a real X server (run under xvfb-run): automatic dimensions around the
// sample house, a double line and a balloon from the draw menu, stairs from the tool panel's button,
// each drawn with its clicks. The picture is kept beside the test.

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class AnnotationOnScreen : public ScreenTest {
protected:
    // Waits until the program has drawn what it was sent (a menu or a dialog open before keys go to it).
    void settle() { settledGrab(m_home / "settle.png"); }
    // The button of the icon in the left strip of the screen (the draw toolbar and the tool panel);
    // fails the test when it is not there.
    QPoint button(const char* icon)
    {
        const QImage shot = settledGrab(m_home / "find.png");
        const QPoint p = findButton(shot, icon, QRect(0, 0, 260, shot.height()));
        if (p.x() < 0) ADD_FAILURE() << "the button " << icon << " was not found on the screen";
        return p;
    }
};

TEST_F(AnnotationOnScreen, DimensionsDoubleLineStairsAndBalloon)
{
    const std::string window = startOnSample("小さな家.kvr", "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage before = settledGrab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const int w = before.width(), h = before.height();
    auto at = [w, h](double fx, double fy) { return QPoint(int(w * fx), int(h * fy)); };

    // 作図(D) → 寸法線自動作成(L)...: the second item of L; the dialog's "寸法線作成" is its default.
    run("xdotool mousemove 166 8 click 1");
    settle();
    run("xdotool key --delay 300 l l Return");
    settle();
    run("xdotool key Return");
    settle();
    const QRect above(w / 3, int(h * 0.22), w / 3, int(h * 0.08));
    const QImage dimensioned = settledGrab(m_home / "dimensioned.png");
    EXPECT_GT(ink(dimensioned, above), ink(before, above) + 50) << "the dimensions above the house";

    // A double line below the house: three clicks and a double click.
    // 作図(D) → 二重線(N).
    run("xdotool mousemove 166 8 click 1");
    settle();
    run("xdotool key n");
    settle();
    const QPoint d0 = at(0.33, 0.86), d1 = at(0.55, 0.86), d2 = at(0.55, 0.93);
    clickAt(d0, 250);
    clickAt(d1, 250);
    run("xdotool mousemove " + num(d2.x()) + " " + num(d2.y()) + " click --repeat 2 --delay 80 1");
    QThread::msleep(800);

    // Stairs to the right of the house: the width, then the run.
    QPoint b = button("stairs");
    ASSERT_GE(b.x(), 0);
    clickAt(b, 250);
    settle();
    const QPoint s0 = at(0.70, 0.42), s1 = at(0.70, 0.60), s2 = at(0.80, 0.51);
    clickAt(s0, 250);
    clickAt(s1, 250);
    clickAt(s2, 250);
    QThread::msleep(800);

    // A balloon at the upper left, its tail pointing down at the house.
    // 作図(D) → 吹き出し(H)...
    run("xdotool mousemove 166 8 click 1");
    settle();
    run("xdotool key h");
    settle();
    const QPoint c0 = at(0.18, 0.16), c1 = at(0.32, 0.24), tip = at(0.30, 0.38);
    clickAt(c0, 250);
    clickAt(c1, 250);
    clickAt(tip, 250);
    settle();
    // Select mode, and a click on empty paper leaves nothing selected.
    run("xdotool key s");
    settle();
    clickAt(at(0.85, 0.88), 250);
    QThread::msleep(1200);

    const QImage done = settledGrab(fs::path(KOVIRA_UI_OUTPUT) / "annotations-on-screen.png");
    ASSERT_FALSE(done.isNull());
    const QRect stairs(s0.x() - 5, s0.y(), s2.x() - s0.x() + 10, s1.y() - s0.y());
    EXPECT_GT(ink(done, stairs), ink(before, stairs) + 100) << "the stairs and their treads";
    const QRect doubleLine(d0.x(), d0.y() - 10, d1.x() - d0.x(), 20);
    EXPECT_GT(ink(done, doubleLine), ink(before, doubleLine) + 50) << "the double line";
    // The corners snap to the grid: the balloon's box somewhere about the clicks.
    const QRect balloon(c0.x() - 30, c0.y() - 30, c1.x() - c0.x() + 60, c1.y() - c0.y() + 60);
    EXPECT_GT(ink(done, balloon), ink(before, balloon) + 100) << "the balloon";
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("house"), std::string::npos) << title;
}

} // namespace
