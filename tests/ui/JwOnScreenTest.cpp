// A Jw_cad drawing of another program opened from the file menu of the real program on a real X
// server (run under xvfb-run): the menu, the file dialog and the import options are worked with
// keys as a person would, and the plan must show in the page. A picture is kept beside the test.

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

class JwOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
        m_home = fs::temp_directory_path() / ("kovira-jw-" + std::to_string(::getpid()));
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

// The share of dark pixels in the middle of the window: the plan's lines and texts.
double inkInMiddle(const QImage& shot)
{
    const QRect middle(shot.width() / 4, shot.height() / 4, shot.width() / 2, shot.height() / 2);
    int dark = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 96;
    return double(dark) / (middle.width() * middle.height());
}

TEST_F(JwOnScreen, ApartmentPlanOpenedFromTheFileMenu)
{
    // The file dialog is typed into: the sample under a plain name (never kept in the project).
    const fs::path plan = m_home / "apartment.jww";
    fs::copy_file(fs::path(KOVIRA_SAMPLES) / "jww" / "Ａマンション平面例.jww", plan);
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
    const std::string window = run("xdotool search --sync --onlyvisible --name 'Kovira' 2>/dev/null | head -1");
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    QThread::msleep(1500);
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const QImage before(QString::fromStdString([&] {
        const fs::path shot = m_home / "before.png";
        run("import -window root " + shot.string());
        return shot.string();
    }()));

    // ファイル(F) clicked open (there is no window manager to give the keyboard to the window), then
    // 読み込み(I) → JW_CAD(JWW,JWC)読み込み(J)..., the file's name, and OK on the import options.
    run("xdotool mousemove 40 8 click 1");
    QThread::msleep(800);
    run("xdotool key --delay 500 i j");
    QThread::msleep(1500);
    run("xdotool type --delay 20 '" + plan.string() + "'");
    run("xdotool key Return");
    QThread::msleep(1500);
    run("xdotool key Return");
    QThread::msleep(3000);

    const fs::path shot = fs::path(KOVIRA_UI_OUTPUT) / "jww-apartment-plan.png";
    run("import -window root " + shot.string());
    const QImage after(QString::fromStdString(shot.string()));
    ASSERT_FALSE(after.isNull());
    // The empty page of the start against the plan now drawn in it.
    EXPECT_GT(inkInMiddle(after), inkInMiddle(before) + 0.005);
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("Kovira"), std::string::npos) << title;
}

} // namespace
