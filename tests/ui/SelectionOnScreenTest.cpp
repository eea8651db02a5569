// The commands on a selection on a real X server (run under xvfb-run), on the sample house: a range
// copied with 作図 → 範囲 → 囲った内容を複写, a running length measured from 測定, the plan selected
// by a drag and duplicated from its context menu; and the room choice panel that the tool panel's
// rectangle-room button opens beside the drawing. Pictures of each are kept beside the test.

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;


class SelectionOnScreen : public ScreenTest {};

TEST_F(SelectionOnScreen, RangeCopyMeasurementAndContextMenu)
{
    const fs::path house = sampleCopy("小さな家.kvr", "house.kvr");
    const std::string window = start({QString::fromStdString(house.string())}, "house.kvr");
    ASSERT_FALSE(window.empty());
    const fs::path out(KOVIRA_UI_OUTPUT);
    const QImage before = grab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const QRect middle(before.width() * 3 / 8, before.height() * 3 / 8, before.width() / 4, before.height() / 4);

    // 作図(D) → 範囲(A) → 囲った内容を複写(M): the range, its base point, and where the copy goes.
    clickAt({166, 8}, 800);
    key("--delay 300 a m", 1000);
    clickAt(middle.topLeft(), 500);
    clickAt(middle.bottomRight(), 800);
    clickAt(middle.center(), 800);
    const QPoint target(middle.center().x() + middle.width() / 2, middle.center().y() + middle.height() / 3);
    clickAt(target, 1500);
    const QImage copied = settledGrab(out / "range-copied.png");
    ASSERT_FALSE(copied.isNull());
    const QRect landed(target.x() - middle.width() / 4, target.y() - middle.height() / 4, middle.width() / 2,
                       middle.height() / 2);
    EXPECT_GT(changed(before, copied, landed), 500) << "the copy shows where it was put";

    // 測定(M) → 長さ累計: two clicks and a double click; the result's dialog closed with 閉じる.
    key("Escape Escape s", 500);
    key("alt+m", 600);
    key("Down Down Return", 600);
    const int y = before.height() - 160;
    const int x0 = before.width() / 3;
    clickAt({x0, y});
    clickAt({x0 + 240, y});
    run("xdotool mousemove " + num(x0 + 240) + " " + num(y - 120) + " click --repeat 2 --delay 80 1");
    const std::string result = windowNamed("^測定$");
    ASSERT_FALSE(result.empty()) << "the running length showed no result";
    QThread::msleep(800);
    grab(out / "selection-measure-result.png", result);
    key("Escape", 800);
    EXPECT_TRUE(windowNamed("^測定$", 2).empty());

    // Select mode; a drag round the plan selects it; the context menu for several objects, then
    // its third item, "コピー", duplicates them.
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    key("Escape s", 500);
    const QImage unselected = grab(m_home / "unselected.png");
    const QRect plan(before.width() / 4, before.height() / 5, before.width() / 2, before.height() * 3 / 5);
    run("xdotool mousemove " + num(plan.left()) + " " + num(plan.top()) + " mousedown 1");
    run("xdotool mousemove " + num(plan.center().x()) + " " + num(plan.center().y()));
    QThread::msleep(200);
    run("xdotool mousemove " + num(plan.right()) + " " + num(plan.bottom()) + " mouseup 1");
    QThread::msleep(1000);
    run("xdotool mousemove " + num(plan.center().x()) + " " + num(plan.center().y()) + " click 3");
    QThread::msleep(1200);
    const QImage menu = grab(out / "selection-context-menu.png");
    ASSERT_FALSE(menu.isNull());
    EXPECT_GT(changed(unselected, menu, QRect(plan.center(), QSize(150, 200))), 1000) << "the menu shows";
    key("Down Down Down Return", 1500);
    const QImage duplicated = settledGrab(out / "selection-duplicated.png");
    EXPECT_GT(changed(menu, duplicated, plan), 1000) << "the duplicate shows";
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("house.kvr"), std::string::npos) << title;
}

TEST_F(SelectionOnScreen, RoomChoicePanelBesideTheDrawing)
{
    const fs::path house = sampleCopy("小さな家.kvr", "house.kvr");
    const std::string window = start({QString::fromStdString(house.string())}, "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const QPoint button = findButton(screen, "rectroom", screen.rect());
    ASSERT_GE(button.x(), 0) << "the rectangle-room button was not found on the screen";
    clickAt(button, 800);
    const std::string panel = windowNamed("部屋選択");
    ASSERT_FALSE(panel.empty()) << "the rectangle-room tool showed no room choice panel";
    QThread::msleep(800);
    const QImage shot = grab(fs::path(KOVIRA_UI_OUTPUT) / "room-choice-panel.png");
    ASSERT_FALSE(shot.isNull());
    const QRect place = windowGeometry(panel);
    EXPECT_GT(place.height(), 250);
    // Beside the drawing: the panel leaves the middle of the plan free.
    EXPECT_FALSE(place.contains(screen.rect().center()));
}

} // namespace
