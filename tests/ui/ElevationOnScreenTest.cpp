// The elevations of the sample house on a real X server (run under xvfb-run): the house with its
// fittings, roof outlines and deck is opened, 作図 → 建築 → 立面図自動作成 shows the settings
// dialog, and its default button "作成" draws the four elevations around the plan, whose layer group
// is then hidden. The picture is kept beside the test.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "app/DocumentTestSupport.h"
#include "building/ElevationFixtures.h"
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

bool alike(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return false;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && ++differing > 60) return false;
    return true;
}

QImage settledGrab(const fs::path& file)
{
    QImage last = grab(file);
    for (int i = 0; i < 60; ++i) {
        QThread::msleep(500);
        QImage now = grab(file);
        if (alike(now, last)) return now;
        last = std::move(now);
    }
    return last;
}

int ink(const QImage& shot, const QRect& r)
{
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 96;
    return dark;
}

class ElevationOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
    }
    void TearDown() override
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished(5000);
        }
    }
    void settle() { settledGrab(m_rig.file("settle.png")); }

    kov::test::DocumentRig m_rig;
    QProcess m_program;
};

TEST_F(ElevationOnScreen, FourElevationsOfTheSampleHouseFromTheMenu)
{
    {
        kov::test::ElevationPlan plan;
        kov::test::sampleHouse(plan);
        if (HasFatalFailure()) return;
        m_rig.doc->m_Unit.CopyFrom(plan.unit);
    }
    m_rig.doc->m_Grid.visible = 0;
    const fs::path house = m_rig.file("house.kvr");
    ASSERT_TRUE(m_rig.saveAs(house));
    const fs::path home = m_rig.file("home");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_SCALE_FACTOR", "1");
    env.insert("KOVIRA_DATA_DIR", KOVIRA_DATA_SOURCE);
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.insert(var, QString::fromStdString((home / var).string()));
    m_program.setProcessEnvironment(env);
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(KOVIRA_PROGRAM, {QString::fromStdString(house.string())});
    ASSERT_TRUE(m_program.waitForStarted(10000));
    const std::string window = run("xdotool search --sync --onlyvisible --name 'house' 2>/dev/null | head -1");
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    QThread::msleep(1500);
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const QImage before = settledGrab(m_rig.file("before.png"));
    ASSERT_FALSE(before.isNull());
    const int w = before.width(), h = before.height();

    // 作図(D) → 建築(K) (the menu's last entry) → 立面図自動作成 (its fourth item); "作成" is the
    // dialog's default button.
    run("xdotool mousemove 166 8 click 1");
    settle();
    run("xdotool key --delay 300 Up Right Down Down Down Return");
    const QImage dialog = settledGrab(fs::path(KOVIRA_UI_OUTPUT) / "elevation-dialog.png");
    run("xdotool key Return");
    settle();

    const QImage done = settledGrab(fs::path(KOVIRA_UI_OUTPUT) / "elevations-on-screen.png");
    ASSERT_FALSE(done.isNull());
    // The four views in the middles of the page's quarters: south and east above, north and west
    // below the plan, which is hidden now.
    auto area = [w, h](double x, double y, double dx, double dy) {
        return QRect(int(w * x), int(h * y), int(w * dx), int(h * dy));
    };
    const QRect quarters[] = {area(0.20, 0.12, 0.22, 0.16), area(0.20, 0.56, 0.22, 0.16),
                              area(0.63, 0.12, 0.15, 0.16), area(0.62, 0.56, 0.14, 0.16)};
    for (const QRect& q : quarters) EXPECT_GT(ink(done, q), ink(before, q) + 200) << q.x() << "," << q.y();
}

} // namespace
