// A decorated text on a real X server (run under xvfb-run): the title of the sample house picked in
// select mode and turned into a decorated text from the context menu's "修飾文字に変換...". The
// pictures of the dialog beside the drawing and of the converted title are kept beside the test.

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class DecoratedTextOnScreen : public ScreenTest {};

TEST_F(DecoratedTextOnScreen, ConvertedFromTheContextMenu)
{
    const std::string window = startOnSample("小さな家.kvr", "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const fs::path out(KOVIRA_UI_OUTPUT);

    // The drawing's title below the house, "小さな家　平面図　1/100", picked by its letters in select
    // mode; then the context menu's ninth item for one text, "修飾文字に変換...".
    const QPoint letters(screen.width() * 650 / 1600, screen.height() * 662 / 1000);
    clickAt(letters, 600);
    run("xdotool mousemove " + num(letters.x()) + " " + num(letters.y()) + " click 3");
    QThread::msleep(1000);
    key("Down Down Down Down Down Down Down Down Down Return", 0);
    const std::string dialog = windowNamed("修飾文字の修正");
    ASSERT_FALSE(dialog.empty()) << "the context menu opened no decorated-text dialog";
    QThread::msleep(1000);
    const QImage shot = grab(out / "decorated-text-dialog.png");
    ASSERT_FALSE(shot.isNull());
    const QRect box = windowGeometry(dialog);
    EXPECT_GT(box.height(), 400);
    // OK, at the foot of the dialog left of "キャンセル": the title is drawn framed in the drawing.
    const QRect title(letters.x() - 40, letters.y() - 25, 240, 50);
    const int plainInk = ink(screen, title);
    clickAt({box.right() - 146, box.bottom() - 24}, 800);
    EXPECT_TRUE(windowNamed("修飾文字の修正", 1).empty()) << "OK did not close the dialog";
    focus(window);
    key("Escape", 600);
    const QImage done = settledGrab(out / "decorated-text-converted.png");
    ASSERT_FALSE(done.isNull());
    EXPECT_GT(ink(done, title), plainInk + 100) << "the framed letters of the title";
    EXPECT_NE(run("xdotool getwindowname " + window).find("house.kvr"), std::string::npos);
}

} // namespace
