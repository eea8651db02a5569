// The text tool and a measurement on a real X server (run under xvfb-run): the tool panel's "文字"
// button opens "文字設定" beside the drawing, a click shows the entry line and the typed text is
// previewed; the menu 測定 → 長さ累計 measures a path, whose result "測定" is put into the drawing.
// Pictures of both are kept beside the test.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "ui/UiSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) { return kov::test::runCommand(command); }
std::string num(int v) { return std::to_string(v); }

QImage grab(const fs::path& file, const std::string& window = "root")
{
    run("import -window " + window + " " + file.string());
    return QImage(QString::fromStdString(file.string()));
}

std::string windowNamed(const std::string& title)
{
    return run("timeout 6 xdotool search --sync --onlyvisible --name '" + title + "' 2>/dev/null | head -1");
}

// The centre of the first place where the icon's opaque pixels show; (-1, -1) when none.
QPoint findIcon(const QImage& shot, const QImage& icon)
{
    const QImage a = shot.convertToFormat(QImage::Format_RGB32);
    const QImage b = icon.convertToFormat(QImage::Format_ARGB32);
    std::vector<QPoint> opaque;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (qAlpha(b.pixel(x, y)) == 255) opaque.emplace_back(x, y);
    if (opaque.empty()) return {-1, -1};
    auto close = [](QRgb p, QRgb q) {
        return std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) < 40;
    };
    for (int y = 0; y + b.height() <= a.height(); ++y)
        for (int x = 0; x + b.width() <= a.width(); ++x) {
            bool all = true;
            for (const QPoint& o : opaque)
                if (!close(a.pixel(x + o.x(), y + o.y()), b.pixel(o.x(), o.y()))) {
                    all = false;
                    break;
                }
            if (all) return {x + b.width() / 2, y + b.height() / 2};
        }
    return {-1, -1};
}

class TextMeasureOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
        m_home = fs::temp_directory_path() / ("kovira-text-" + std::to_string(::getpid()));
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

TEST_F(TextMeasureOnScreen, TextPanelBesideTheDrawingAndALengthMeasured)
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
    const std::string window = run("xdotool search --sync --onlyvisible --name 'house.kvr' 2>/dev/null | head -1");
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    QThread::msleep(1500);
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const QImage screen = grab(m_home / "start.png");
    ASSERT_FALSE(screen.isNull());
    const fs::path out(KOVIRA_UI_OUTPUT);

    // The tool panel's "文字", found by its icon.
    QPoint textButton(-1, -1);
    for (const char* icon : {"text-24.png", "text-16.png"}) {
        if (textButton.x() >= 0) break;
        textButton = findIcon(screen, QImage(QString::fromStdString((fs::path(KOVIRA_ICONS) / icon).string())));
    }
    ASSERT_GE(textButton.x(), 0) << "the tool panel's text button was not found on the screen";
    run("xdotool mousemove " + num(textButton.x()) + " " + num(textButton.y()) + " click 1");
    const std::string settings = windowNamed("文字設定");
    ASSERT_FALSE(settings.empty()) << "the text tool showed no settings panel";
    QThread::msleep(600);

    // A click in the drawing shows the entry line; what is typed is previewed at the point.
    run("xdotool mousemove " + num(screen.width() / 2) + " " + num(screen.height() / 2) + " click 1");
    QThread::msleep(800);
    run("xdotool type --delay 60 'ENTRANCE HALL'");
    QThread::msleep(800);
    const QImage panelShot = grab(out / "text-panel.png");
    ASSERT_FALSE(panelShot.isNull());
    const QImage settingsShot = grab(m_home / "settings.png", settings);
    EXPECT_GT(settingsShot.height(), 250);
    run("xdotool key Escape");
    QThread::msleep(400);

    // 測定(M) → 長さ累計: two clicks and a double click, then the result.
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    run("xdotool key Escape s");
    QThread::msleep(400);
    run("xdotool key alt+m");
    QThread::msleep(600);
    // The three commands on the selection are disabled without one; the menu opens on the first
    // enabled item, 角度測定, and 長さ累計 is two below it.
    run("xdotool key Down Down Return");
    QThread::msleep(600);
    const int y = screen.height() / 2 + 120;
    const int x0 = screen.width() / 3;
    run("xdotool mousemove " + num(x0) + " " + num(y) + " click 1");
    QThread::msleep(300);
    run("xdotool mousemove " + num(x0 + 200) + " " + num(y) + " click 1");
    QThread::msleep(300);
    run("xdotool mousemove " + num(x0 + 200) + " " + num(y - 150) + " click --repeat 2 --delay 80 1");
    const std::string result = windowNamed("^測定$");
    ASSERT_FALSE(result.empty()) << "the running length showed no result";
    QThread::msleep(800);
    const QImage resultShot = grab(out / "measure-result.png", result);
    ASSERT_FALSE(resultShot.isNull());
    EXPECT_GT(resultShot.width(), 200);
    // "文字として出力して閉じる" puts the value into the drawing.
    run("xdotool key Return");
    QThread::msleep(800);
    EXPECT_TRUE(windowNamed("^測定$").empty());
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    QThread::msleep(400);
    grab(out / "measure-result-placed.png");
    EXPECT_NE(run("xdotool getwindowname " + window).find("house.kvr"), std::string::npos);
}

} // namespace
