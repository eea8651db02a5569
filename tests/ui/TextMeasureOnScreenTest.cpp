// The text tool and a measurement on a real X server (run under xvfb-run): the tool panel's "文字"
// button opens "文字設定" beside the drawing, a click shows the entry line and the typed text is
// previewed; the menu 測定 → 長さ累計 measures a path, whose result "測定" is put into the drawing.
// The stairs button opens its panel beside the drawing too. Pictures are kept beside the test.

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class TextMeasureOnScreen : public ScreenTest {};

TEST_F(TextMeasureOnScreen, TextPanelBesideTheDrawingAndALengthMeasured)
{
    const std::string window = startOnSample("小さな家.kvr", "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const fs::path out(KOVIRA_UI_OUTPUT);

    // The tool panel's "文字", found by its icon.
    const QPoint textButton = findButton(screen, "text", screen.rect());
    ASSERT_GE(textButton.x(), 0) << "the tool panel's text button was not found on the screen";
    clickAt(textButton, 0);
    const std::string settings = windowNamed("文字設定");
    ASSERT_FALSE(settings.empty()) << "the text tool showed no settings panel";
    QThread::msleep(600);

    // A click in the drawing shows the entry line; what is typed is previewed at the point.
    clickAt({screen.width() / 2, screen.height() / 2}, 800);
    run("xdotool type --delay 60 'ENTRANCE HALL'");
    QThread::msleep(800);
    const QImage panelShot = grab(out / "text-panel.png");
    ASSERT_FALSE(panelShot.isNull());
    const QImage settingsShot = grab(m_home / "settings.png", settings);
    EXPECT_GT(settingsShot.height(), 250);
    key("Escape", 400);

    // 測定(M) → 長さ累計: two clicks and a double click, then the result.
    focus(window);
    key("Escape s", 400);
    key("alt+m", 600);
    // The three commands on the selection are disabled without one; the menu opens on the first
    // enabled item, 角度測定, and 長さ累計 is two below it.
    key("Down Down Return", 600);
    const int y = screen.height() / 2 + 120;
    const int x0 = screen.width() / 3;
    clickAt({x0, y});
    clickAt({x0 + 200, y});
    run("xdotool mousemove " + num(x0 + 200) + " " + num(y - 150) + " click --repeat 2 --delay 80 1");
    const std::string result = windowNamed("^測定$");
    ASSERT_FALSE(result.empty()) << "the running length showed no result";
    QThread::msleep(800);
    const QImage resultShot = grab(out / "measure-result.png", result);
    ASSERT_FALSE(resultShot.isNull());
    EXPECT_GT(resultShot.width(), 200);
    // "文字として出力して閉じる" puts the value into the drawing.
    key("Return", 800);
    EXPECT_TRUE(windowNamed("^測定$").empty());
    focus(window);
    QThread::msleep(400);
    grab(out / "measure-result-placed.png");
    EXPECT_NE(run("xdotool getwindowname " + window).find("house.kvr"), std::string::npos);
}

// The tool panel's "階段作成" opens the stairs panel beside the drawing; the first click starts a
// flight that follows the pointer.
TEST_F(TextMeasureOnScreen, StairsPanelBesideTheDrawing)
{
    const std::string window = startOnSample("小さな家.kvr", "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const QPoint stairsButton = findButton(screen, "stairs", screen.rect());
    ASSERT_GE(stairsButton.x(), 0) << "the tool panel's stairs button was not found on the screen";
    clickAt(stairsButton, 0);
    const std::string panel = windowNamed("階段作成");
    ASSERT_FALSE(panel.empty()) << "the stairs tool showed no panel";
    QThread::msleep(600);
    const int x = screen.width() / 3, y = screen.height() * 3 / 4;
    clickAt({x, y}, 400);
    run("xdotool mousemove " + num(x + 260) + " " + num(y - 40));
    QThread::msleep(800);
    const QImage shot = grab(fs::path(KOVIRA_UI_OUTPUT) / "stairs-panel.png");
    ASSERT_FALSE(shot.isNull());
    const QImage panelShot = grab(m_home / "stairs.png", panel);
    EXPECT_GT(panelShot.height(), 150);
    key("Escape", 400);
}

} // namespace
