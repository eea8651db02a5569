// A range tool on a real X server (run under xvfb-run): the sample house opened, 作図 → 範囲 →
// 囲った内容を左90度回転 chosen from the menu bar with the keyboard, the range spanned by two clicks,
// the question answered with OK, and the turned plan grabbed. The picture is kept beside the test.

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class RangeOnScreen : public ScreenTest {};

TEST_F(RangeOnScreen, ARangeTurnedLeftFromTheMenu)
{
    const std::string window = startOnSample("小さな家.kvr", "house.kvr");
    ASSERT_FALSE(window.empty());
    const QImage before = grab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const QRect middle(before.width() / 4, before.height() / 4, before.width() / 2, before.height() / 2);

    // 作図(D) opened by its title; 範囲(A) → 囲った内容を左90度回転(L).
    clickAt({166, 8}, 800);
    key("--delay 300 a l", 1000);
    // The range: a rectangle around the middle of the plan.
    clickAt(middle.topLeft(), 500);
    clickAt(middle.bottomRight(), 1500);
    // "囲った内容を左に90度回転してよろしいですか？": OK.
    key("Return", 2000);
    const QImage turned = grab(fs::path(KOVIRA_UI_OUTPUT) / "range-turned-left.png");
    ASSERT_FALSE(turned.isNull());
    EXPECT_GT(changed(before, turned, middle), 2000) << "the plan inside the range turned";
    // The program is still there, with no dialog left open over it.
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("house.kvr"), std::string::npos) << title;
}

} // namespace
