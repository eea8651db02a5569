// The settings sheet on a real X server (run under xvfb-run): opened from the tool menu with the
// keyboard, each of its six pages shown in turn and grabbed; the pictures are kept beside the test.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "ui/UiSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) { return kov::test::runCommand(command); }

class SettingsOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
        m_home = fs::temp_directory_path() / ("kovira-settings-" + std::to_string(::getpid()));
        fs::remove_all(m_home);
        fs::create_directories(m_home);
    }
    void TearDown() override
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished(5000);
        }
        fs::remove_all(m_home);
    }

    fs::path m_home;
    QProcess m_program;
};

TEST_F(SettingsOnScreen, TheSixPagesFromTheToolMenu)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_SCALE_FACTOR", "1");
    env.insert("KOVIRA_DATA_DIR", KOVIRA_DATA_SOURCE);
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.insert(var, QString::fromStdString((m_home / var).string()));
    m_program.setProcessEnvironment(env);
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(KOVIRA_PROGRAM, {});
    ASSERT_TRUE(m_program.waitForStarted(10000));
    const std::string window = run("xdotool search --sync --onlyvisible --name 'コビラ６' 2>/dev/null | head -1");
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    QThread::msleep(1500);
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    // ツール(&T) → 設定(&K)...
    run("xdotool key alt+t");
    QThread::msleep(600);
    run("xdotool key k");
    QThread::msleep(1500);
    const std::string sheet = run("xdotool search --sync --onlyvisible --name '^設定$' 2>/dev/null | head -1");
    ASSERT_FALSE(sheet.empty()) << "the settings sheet did not open";
    const char* names[6] = {"general", "grid", "display", "operation", "quotations", "rooms"};
    for (int tab = 0; tab < 6; ++tab) {
        if (tab > 0) {
            run("xdotool key --window " + sheet + " ctrl+Tab");
            QThread::msleep(800);
        }
        const fs::path shot = fs::path(KOVIRA_UI_OUTPUT) / (std::string("settings-") + names[tab] + ".png");
        run("import -window " + sheet + " " + shot.string());
        const QImage picture(QString::fromStdString(shot.string()));
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
