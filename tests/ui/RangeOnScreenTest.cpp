// A range tool on a real X server (run under xvfb-run): the sample house opened, 作図 → 範囲 →
// 囲った内容を左90度回転 chosen from the menu bar with the keyboard, the range spanned by two clicks,
// the question answered with OK, and the turned plan grabbed. The picture is kept beside the test.

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

QImage grab(const fs::path& file)
{
    run("import -window root " + file.string());
    return QImage(QString::fromStdString(file.string()));
}

// Pixels of the rectangle that differ between two pictures.
int changed(const QImage& a, const QImage& b, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

class RangeOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
        m_home = fs::temp_directory_path() / ("kovira-range-" + std::to_string(::getpid()));
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

TEST_F(RangeOnScreen, ARangeTurnedLeftFromTheMenu)
{
    const fs::path house = m_home / "house.kvr";
    fs::copy_file(fs::path(KOVIRA_DATA_SOURCE) / "sample" / "小さな家.kvr", house);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_SCALE_FACTOR", "1");
    env.insert("KOVIRA_DATA_DIR", KOVIRA_DATA_SOURCE);
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.insert(var, QString::fromStdString((m_home / var).string()));
    m_program.setProcessEnvironment(env);
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(KOVIRA_PROGRAM, {QString::fromStdString(house.string())});
    ASSERT_TRUE(m_program.waitForStarted(10000));
    const std::string window = run("xdotool search --sync --onlyvisible --class Kovira 2>/dev/null | head -1");
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    QThread::msleep(1500);
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const QImage before = grab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const QRect middle(before.width() / 4, before.height() / 4, before.width() / 2, before.height() / 2);

    // ファイル(F) opened, two menus to the right is 作図(D); 範囲(A) → 囲った内容を左90度回転(L).
    run("xdotool mousemove 40 8 click 1");
    QThread::msleep(800);
    run("xdotool key --delay 300 Right Right a l");
    QThread::msleep(1000);
    // The range: a rectangle around the middle of the plan.
    run("xdotool mousemove " + std::to_string(middle.left()) + " " + std::to_string(middle.top()) + " click 1");
    QThread::msleep(500);
    run("xdotool mousemove " + std::to_string(middle.right()) + " " + std::to_string(middle.bottom()) + " click 1");
    QThread::msleep(1500);
    // "囲った内容を左に90度回転してよろしいですか？": OK.
    run("xdotool key Return");
    QThread::msleep(2000);
    const QImage turned = grab(fs::path(KOVIRA_UI_OUTPUT) / "range-turned-left.png");
    ASSERT_FALSE(turned.isNull());
    EXPECT_GT(changed(before, turned, middle), 2000) << "the plan inside the range turned";
    // The program is still there, with no dialog left open over it.
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("house.kvr"), std::string::npos) << title;
}

} // namespace
