// The property and layer dialogs on a real X server (run under xvfb-run): the rectangle tool's style
// panel from the drawing menu, a rectangle drawn, picked and opened with the context menu's
// "選択物のプロパティ...", and the layer list from the layer bar's "一覧". Pictures of the dialogs are
// kept beside the test.

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class PropertyOnScreen : public ScreenTest {};

TEST_F(PropertyOnScreen, FigurePropertiesAndLayerList)
{
    const std::string window = startOnSample("小さな家.kvr", "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const fs::path out(KOVIRA_UI_OUTPUT);

    // 作図(D) → 四角形(R): the tool's style panel "作図図形の設定" beside the layer bar.
    key("alt+d", 600);
    key("r", 0);
    const std::string panel = windowNamed("作図図形の設定");
    ASSERT_FALSE(panel.empty()) << "the rectangle tool showed no style panel";
    QThread::msleep(800);
    const QImage panelShot = grab(out / "figure-style-panel.png", panel);
    ASSERT_FALSE(panelShot.isNull());
    EXPECT_GT(panelShot.width(), 300);

    // A rectangle in the lower left of the page, picked in select mode by its top edge, then the
    // context menu's first item for one object, "選択物のプロパティ...".
    focus(window);
    const int x0 = screen.width() / 4, y0 = screen.height() * 3 / 4 - 60, x1 = x0 + 120, y1 = y0 + 50;
    clickAt({x0, y0});
    clickAt({x1, y1}, 800);
    key("Escape s", 500);
    const int mx = (x0 + x1) / 2;
    clickAt({mx, y0}, 600);
    run("xdotool mousemove " + num(mx) + " " + num(y0) + " click 3");
    QThread::msleep(1000);
    key("Down Return", 0);
    const std::string dialog = windowNamed("選択図形のプロパティ");
    ASSERT_FALSE(dialog.empty()) << "the context menu's properties opened no figure dialog";
    QThread::msleep(800);
    const QImage dialogShot = grab(out / "figure-properties.png", dialog);
    ASSERT_FALSE(dialogShot.isNull());
    EXPECT_GT(dialogShot.width(), 300);
    key("Escape", 600);

    // The layer bar's "一覧" stands right above the colour-mode button "カラー", found by its icon.
    focus(window);
    const QImage bar = grab(m_home / "bar.png");
    const QPoint colour = findButton(bar, "colour", QRect(bar.width() / 2, 0, bar.width() - bar.width() / 2, bar.height()));
    ASSERT_GE(colour.x(), 0) << "the layer bar's colour button was not found on the screen";
    std::string list;
    for (int up : {28, 24, 32, 20, 36}) {
        clickAt(colour - QPoint(0, up), 0);
        list = windowNamed("レイヤー一覧");
        if (!list.empty()) break;
    }
    ASSERT_FALSE(list.empty()) << "the layer bar's 一覧 opened no layer list";
    QThread::msleep(800);
    const QImage listShot = grab(out / "layer-list.png", list);
    ASSERT_FALSE(listShot.isNull());
    EXPECT_GT(listShot.width(), 600);
    key("Escape", 500);
    EXPECT_NE(run("xdotool getwindowname " + window).find("house.kvr"), std::string::npos);
}

} // namespace
