// A decorated text on a real X server (run under xvfb-run): a text typed with the text tool beside
// the sample house, picked in select mode and turned into a decorated text from the context menu's
// "修飾文字に変換...". The picture of the dialog beside the drawing is kept beside the test.

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

    // The tool panel's "文字", a click below the house and a text typed into the entry line.
    const QPoint textButton = findButton(screen, "text", screen.rect());
    ASSERT_GE(textButton.x(), 0) << "the tool panel's text button was not found on the screen";
    clickAt(textButton, 0);
    ASSERT_FALSE(windowNamed("文字設定").empty()) << "the text tool showed no settings panel";
    QThread::msleep(600);
    const QPoint at(screen.width() / 4, screen.height() * 3 / 4 - 40);
    clickAt(at, 800);
    run("xdotool type --delay 60 'WELCOME'");
    key("Return", 800);

    // Select mode; the text picked by its letters, then the context menu's ninth item for one
    // text, "修飾文字に変換...".
    focus(window);
    key("Escape s", 500);
    const QPoint letters = at + QPoint(12, -6);
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
    // Esc leaves the text as it was.
    focus(dialog);
    key("Escape", 600);
    EXPECT_TRUE(windowNamed("修飾文字の修正", 1).empty());
    EXPECT_NE(run("xdotool getwindowname " + window).find("house.kvr"), std::string::npos);
}

} // namespace
