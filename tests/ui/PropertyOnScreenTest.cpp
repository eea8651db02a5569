// The property and layer dialogs on a real X server (run under xvfb-run): the rectangle tool's style
// panel from the drawing menu, a rectangle drawn, picked and opened with the context menu's
// "選択物のプロパティ...", and the layer list from the layer bar's "一覧". Pictures of the dialogs are
// kept beside the test.

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

// The window of that title, waiting up to a few seconds; empty when none shows.
std::string windowNamed(const std::string& title)
{
    return run("timeout 6 xdotool search --sync --onlyvisible --name '" + title + "' 2>/dev/null | head -1");
}

// The centre of the first place in the right part of the screen where the icon's opaque pixels
// show; (-1, -1) when none.
QPoint findIconOnTheRight(const QImage& shot, const QImage& icon)
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
        for (int x = a.width() / 2; x + b.width() <= a.width(); ++x) {
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

class PropertyOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
        m_home = fs::temp_directory_path() / ("kovira-property-" + std::to_string(::getpid()));
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

TEST_F(PropertyOnScreen, FigurePropertiesAndLayerList)
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

    // 作図(D) → 四角形(R): the tool's style panel "作図図形の設定" beside the layer bar.
    run("xdotool key alt+d");
    QThread::msleep(600);
    run("xdotool key r");
    const std::string panel = windowNamed("作図図形の設定");
    ASSERT_FALSE(panel.empty()) << "the rectangle tool showed no style panel";
    QThread::msleep(800);
    const QImage panelShot = grab(out / "figure-style-panel.png", panel);
    ASSERT_FALSE(panelShot.isNull());
    EXPECT_GT(panelShot.width(), 300);

    // A rectangle in the lower left of the page, picked in select mode by its top edge, then the
    // context menu's first item for one object, "選択物のプロパティ...".
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const int x0 = screen.width() / 4, y0 = screen.height() * 3 / 4 - 60, x1 = x0 + 120, y1 = y0 + 50;
    run("xdotool mousemove " + num(x0) + " " + num(y0) + " click 1");
    QThread::msleep(300);
    run("xdotool mousemove " + num(x1) + " " + num(y1) + " click 1");
    QThread::msleep(800);
    run("xdotool key Escape s");
    QThread::msleep(500);
    const int mx = (x0 + x1) / 2;
    run("xdotool mousemove " + num(mx) + " " + num(y0) + " click 1");
    QThread::msleep(600);
    run("xdotool mousemove " + num(mx) + " " + num(y0) + " click 3");
    QThread::msleep(1000);
    run("xdotool key Down Return");
    const std::string dialog = windowNamed("選択図形のプロパティ");
    ASSERT_FALSE(dialog.empty()) << "the context menu's properties opened no figure dialog";
    QThread::msleep(800);
    const QImage dialogShot = grab(out / "figure-properties.png", dialog);
    ASSERT_FALSE(dialogShot.isNull());
    EXPECT_GT(dialogShot.width(), 300);
    run("xdotool key Escape");
    QThread::msleep(600);

    // The layer bar's "一覧" stands right above the colour-mode button "カラー", found by its icon.
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const QImage bar = grab(m_home / "bar.png");
    QPoint colour(-1, -1);
    for (const char* icon : {"colour-24.png", "colour-16.png"}) {
        if (colour.x() >= 0) break;
        colour = findIconOnTheRight(bar, QImage(QString::fromStdString((fs::path(KOVIRA_ICONS) / icon).string())));
    }
    ASSERT_GE(colour.x(), 0) << "the layer bar's colour button was not found on the screen";
    std::string list;
    for (int up : {28, 24, 32, 20, 36}) {
        run("xdotool mousemove " + num(colour.x()) + " " + num(colour.y() - up) + " click 1");
        list = windowNamed("レイヤー一覧");
        if (!list.empty()) break;
    }
    ASSERT_FALSE(list.empty()) << "the layer bar's 一覧 opened no layer list";
    QThread::msleep(800);
    const QImage listShot = grab(out / "layer-list.png", list);
    ASSERT_FALSE(listShot.isNull());
    EXPECT_GT(listShot.width(), 600);
    run("xdotool key Escape");
    QThread::msleep(500);
    EXPECT_NE(run("xdotool getwindowname " + window).find("house.kvr"), std::string::npos);
}

} // namespace
