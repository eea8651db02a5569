// The settings sheet on a real X server (run under xvfb-run): opened from the tool menu with the
// keyboard, each of its six pages shown in turn and grabbed; the pictures are kept beside the test.

#include "ui/UiSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class SettingsOnScreen : public ScreenTest {};

TEST_F(SettingsOnScreen, TheSixPagesFromTheToolMenu)
{
    ASSERT_FALSE(start({}, "コビラ６").empty());
    // ツール(&T) → 設定(&K)...
    key("alt+t", 600);
    key("k", 1500);
    const std::string sheet = windowNamed("^設定$", 60);
    ASSERT_FALSE(sheet.empty()) << "the settings sheet did not open";
    const char* names[6] = {"general", "grid", "display", "operation", "quotations", "rooms"};
    for (int tab = 0; tab < 6; ++tab) {
        if (tab > 0) {
            run("xdotool key --window " + sheet + " ctrl+Tab");
            QThread::msleep(800);
        }
        const fs::path shot = fs::path(KOVIRA_UI_OUTPUT) / (std::string("settings-") + names[tab] + ".png");
        const QImage picture = grab(shot, sheet);
        ASSERT_FALSE(picture.isNull()) << names[tab];
        EXPECT_GT(picture.width(), 300) << names[tab];
    }
    // Cancel: the sheet closes, the program runs on.
    run("xdotool key --window " + sheet + " Escape");
    QThread::msleep(800);
    EXPECT_TRUE(run("xdotool search --onlyvisible --name '^設定$' 2>/dev/null").empty());
    EXPECT_EQ(m_program.state(), QProcess::Running);
}

} // namespace
