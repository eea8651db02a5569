// Annotations of a plan on a real X server (run under xvfb-run): automatic dimensions around the
// sample house, a double line and a balloon from the draw menu, stairs from the tool panel's button,
// each drawn with its clicks. The picture is kept beside the test.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "ui/UiSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) { return kov::test::runCommand(command); }

QImage grab(const fs::path& file)
{
    run("import -window root " + file.string());
    return QImage(QString::fromStdString(file.string()));
}

// Whether two grabs differ by no more than a blinking text caret.
bool alike(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return false;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && ++differing > 60) return false;
    return true;
}

// The screen once the program has caught up with the clicks sent to it: two grabs in a row alike
// (a busy machine can leave the program seconds behind xdotool). The last grab after 30 s.
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

// The centre of the first place in the left strip of the screen (the draw toolbar and the tool
// panel) where the icon's opaque pixels show; (-1, -1) when none.
QPoint findIcon(const QImage& shot, const fs::path& iconFile)
{
    const QImage a = shot.convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(QString::fromStdString(iconFile.string())).convertToFormat(QImage::Format_ARGB32);
    std::vector<QPoint> opaque;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (qAlpha(b.pixel(x, y)) == 255) opaque.emplace_back(x, y);
    if (opaque.empty()) return {-1, -1};
    auto close = [](QRgb p, QRgb q) {
        return std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) < 40;
    };
    const int right = std::min(a.width(), 260) - b.width();
    for (int y = 0; y + b.height() <= a.height(); ++y)
        for (int x = 0; x <= right; ++x) {
            bool all = true;
            for (const QPoint& o : opaque) {
                const QRgb* row = reinterpret_cast<const QRgb*>(a.constScanLine(y + o.y()));
                if (!close(row[x + o.x()], b.pixel(o.x(), o.y()))) {
                    all = false;
                    break;
                }
            }
            if (all) return {x + b.width() / 2, y + b.height() / 2};
        }
    return {-1, -1};
}

void clickAt(int x, int y)
{
    run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    QThread::msleep(250);
}

class AnnotationOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
        m_home = fs::temp_directory_path() / ("kovira-annotation-" + std::to_string(::getpid()));
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
    // Waits until the program has drawn what it was sent (a menu or a dialog open before keys go to it).
    void settle() { settledGrab(m_home / "settle.png"); }
    // The button of the icon, found on the screen; fails the test when it is not there.
    QPoint button(const char* icon)
    {
        const QImage shot = settledGrab(m_home / "find.png");
        for (const char* size : {"-24.png", "-16.png"}) {
            const QPoint p = findIcon(shot, fs::path(KOVIRA_ICONS) / (std::string(icon) + size));
            if (p.x() >= 0) return p;
        }
        ADD_FAILURE() << "the button " << icon << " was not found on the screen";
        return {-1, -1};
    }

    fs::path m_home;
    QProcess m_program;
};

TEST_F(AnnotationOnScreen, DimensionsDoubleLineStairsAndBalloon)
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
    const std::string window = run("xdotool search --sync --onlyvisible --name 'house' 2>/dev/null | head -1");
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    QThread::msleep(1500);
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const QImage before = settledGrab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const int w = before.width(), h = before.height();
    auto at = [w, h](double fx, double fy) { return QPoint(int(w * fx), int(h * fy)); };

    // 作図(D) → 寸法線自動作成(L)...: the second item of L; the dialog's "寸法線作成" is its default.
    run("xdotool mousemove 166 8 click 1");
    settle();
    run("xdotool key --delay 300 l l Return");
    settle();
    run("xdotool key Return");
    settle();
    const QRect above(w / 3, int(h * 0.22), w / 3, int(h * 0.08));
    const QImage dimensioned = settledGrab(m_home / "dimensioned.png");
    EXPECT_GT(ink(dimensioned, above), ink(before, above) + 50) << "the dimensions above the house";

    // A double line below the house: three clicks and a double click.
    // 作図(D) → 二重線(N).
    run("xdotool mousemove 166 8 click 1");
    settle();
    run("xdotool key n");
    settle();
    const QPoint d0 = at(0.33, 0.86), d1 = at(0.55, 0.86), d2 = at(0.55, 0.93);
    clickAt(d0.x(), d0.y());
    clickAt(d1.x(), d1.y());
    run("xdotool mousemove " + std::to_string(d2.x()) + " " + std::to_string(d2.y()) + " click --repeat 2 --delay 80 1");
    QThread::msleep(800);

    // Stairs to the right of the house: the width, then the run.
    QPoint b = button("stairs");
    ASSERT_GE(b.x(), 0);
    clickAt(b.x(), b.y());
    settle();
    const QPoint s0 = at(0.70, 0.42), s1 = at(0.70, 0.60), s2 = at(0.80, 0.51);
    clickAt(s0.x(), s0.y());
    clickAt(s1.x(), s1.y());
    clickAt(s2.x(), s2.y());
    QThread::msleep(800);

    // A balloon at the upper left, its tail pointing down at the house.
    // 作図(D) → 吹き出し(H)...
    run("xdotool mousemove 166 8 click 1");
    settle();
    run("xdotool key h");
    settle();
    const QPoint c0 = at(0.18, 0.16), c1 = at(0.32, 0.24), tip = at(0.30, 0.38);
    clickAt(c0.x(), c0.y());
    clickAt(c1.x(), c1.y());
    clickAt(tip.x(), tip.y());
    settle();
    // Select mode, and a click on empty paper leaves nothing selected.
    run("xdotool key s");
    settle();
    clickAt(int(w * 0.85), int(h * 0.88));
    QThread::msleep(1200);

    const QImage done = settledGrab(fs::path(KOVIRA_UI_OUTPUT) / "annotations-on-screen.png");
    ASSERT_FALSE(done.isNull());
    const QRect stairs(s0.x() - 5, s0.y(), s2.x() - s0.x() + 10, s1.y() - s0.y());
    EXPECT_GT(ink(done, stairs), ink(before, stairs) + 100) << "the stairs and their treads";
    const QRect doubleLine(d0.x(), d0.y() - 10, d1.x() - d0.x(), 20);
    EXPECT_GT(ink(done, doubleLine), ink(before, doubleLine) + 50) << "the double line";
    // The corners snap to the grid: the balloon's box somewhere about the clicks.
    const QRect balloon(c0.x() - 30, c0.y() - 30, c1.x() - c0.x() + 60, c1.y() - c0.y() + 60);
    EXPECT_GT(ink(done, balloon), ink(before, balloon) + 100) << "the balloon";
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("house"), std::string::npos) << title;
}

} // namespace
