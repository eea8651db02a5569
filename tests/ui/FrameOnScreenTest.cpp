// The main window on a real X server (run under xvfb-run): a sample drawing opened, the window
// placed, closed in order, started again: the place and the bar layout come back, and the
// layout's mark is cleared while the program runs. A picture of the window is kept beside the test.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "ui/UiSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) { return kov::test::runCommand(command); }

std::map<std::string, int> geometryOf(const std::string& window)
{
    std::map<std::string, int> g;
    std::istringstream in(run("xdotool getwindowgeometry --shell " + window));
    std::string line;
    while (std::getline(in, line))
        if (auto eq = line.find('='); eq != std::string::npos) g[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
    return g;
}

class FrameOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        ASSERT_FALSE(run("command -v xdotool").empty());
        m_home = fs::temp_directory_path() / ("kovira-frame-" + std::to_string(::getpid()));
        fs::remove_all(m_home);
        fs::create_directories(m_home);
    }
    void TearDown() override
    {
        stop();
        fs::remove_all(m_home);
    }

    std::string start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("QT_SCALE_FACTOR", "1");
        env.insert("KOVIRA_DATA_DIR", KOVIRA_DATA_SOURCE);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            env.insert(var, QString::fromStdString((m_home / var).string()));
        m_program.setProcessEnvironment(env);
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        const fs::path sample = fs::path(KOVIRA_DATA_SOURCE) / "sample" / "小さな家.kvr";
        m_program.start(KOVIRA_PROGRAM, {QString::fromStdString(sample.string())});
        EXPECT_TRUE(m_program.waitForStarted(10000));
        const std::string window = run("xdotool search --sync --onlyvisible --name '小さな家' 2>/dev/null | head -1");
        QThread::msleep(1500);
        return window;
    }
    // An orderly close: the program ends through its main window's close.
    void stop()
    {
        if (m_program.state() == QProcess::NotRunning) return;
        m_program.terminate();
        if (!m_program.waitForFinished(10000)) m_program.kill();
        m_program.waitForFinished(5000);
    }
    std::string settings() const
    {
        for (const auto& e : fs::recursive_directory_iterator(m_home))
            if (e.path().extension() == ".ini") {
                QFile f(QString::fromStdString(e.path().string()));
                if (f.open(QIODevice::ReadOnly)) return f.readAll().toStdString();
            }
        return {};
    }

    fs::path m_home;
    QProcess m_program;
};

TEST_F(FrameOnScreen, CloseAndRestartRestoresPlaceAndLayout)
{
    // Not maximised (the first start is), so that the place is the window's own.
    const fs::path ini = m_home / "XDG_CONFIG_HOME" / "KoviraSoft" / "Kovira.ini";
    fs::create_directories(ini.parent_path());
    {
        QFile f(QString::fromStdString(ini.string()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[KOV_T_LAYOUTSIZE]\nmaximize=0\nleft=0\nright=900\ntop=0\nbottom=700\n");
    }
    std::string window = start();
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    run("xdotool windowmove " + window + " 30 20 windowsize --sync " + window + " 1200 800");
    QThread::msleep(1000);
    run("import -window root " + (fs::path(KOVIRA_UI_OUTPUT) / "frame-on-screen.png").string());
    stop();
    std::string saved = settings();
    EXPECT_NE(saved.find("barstate=2"), std::string::npos);
    EXPECT_NE(saved.find("registset=1"), std::string::npos);
    EXPECT_NE(saved.find("right=1230"), std::string::npos);

    window = start();
    ASSERT_FALSE(window.empty());
    const auto g = geometryOf(window);
    EXPECT_EQ(g.at("WIDTH"), 1200);
    EXPECT_EQ(g.at("HEIGHT"), 800);
    EXPECT_NEAR(g.at("X"), 30, 2);
    EXPECT_NEAR(g.at("Y"), 20, 2);
    EXPECT_NE(settings().find("barstate=0"), std::string::npos);
    stop();
}

} // namespace
