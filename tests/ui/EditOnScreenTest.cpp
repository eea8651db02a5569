// The selection and exchange commands on a real X server (run under xvfb-run): a sample drawing
// merged into another from the file menu, a dragged range written to a picture file by the range
// tool, a line drawn and deleted with the tool panel's button (found on the screen by its icon), and the context menu opened with
// the right button. Pictures are kept beside the test.

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

// Dark pixels inside the rectangle.
int ink(const QImage& shot, const QRect& r)
{
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(shot.pixel(x, y)) < 96;
    return dark;
}

// The centre of the first place in the left part of the screen where the icon's opaque pixels
// show; (-1, -1) when none.
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
    const int right = std::min(a.width(), 600) - b.width();
    for (int y = 0; y + b.height() <= a.height(); ++y)
        for (int x = 0; x <= right; ++x) {
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

class EditOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
        for (const char* tool : {"xdotool", "import"})
            ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
        m_home = fs::temp_directory_path() / ("kovira-edit-" + std::to_string(::getpid()));
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

TEST_F(EditOnScreen, MergeRangePictureDeleteAndContextMenu)
{
    const fs::path samples = fs::path(KOVIRA_DATA_SOURCE) / "sample";
    const fs::path house = m_home / "house.kvr";
    const fs::path room = m_home / "room.kvr";
    fs::copy_file(samples / "小さな家.kvr", house);
    fs::copy_file(samples / "ワンルーム.kvr", room);
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
    // The window is named after the drawing it shows.
    const std::string window = run("timeout 60 xdotool search --sync --onlyvisible --name 'house.kvr' 2>/dev/null | head -1");
    ASSERT_FALSE(window.empty()) << "no window of the program appeared";
    QThread::msleep(1500);
    run("xdotool windowfocus --sync " + window + " 2>/dev/null");
    const QImage before = grab(m_home / "before.png");
    ASSERT_FALSE(before.isNull());
    const QRect middle(before.width() / 4, before.height() / 4, before.width() / 2, before.height() / 2);

    // ファイル(F) → 図面合成(G)..., the other sample's name typed into the file dialog.
    run("xdotool mousemove 40 8 click 1");
    QThread::msleep(800);
    run("xdotool key g");
    QThread::msleep(1500);
    run("xdotool type --delay 20 '" + room.string() + "'");
    run("xdotool key Return");
    QThread::msleep(2500);
    const QImage merged = grab(fs::path(KOVIRA_UI_OUTPUT) / "merged-drawing.png");
    EXPECT_GT(ink(merged, middle), ink(before, middle)) << "the merged drawing adds lines";

    // ファイル(F) → 出力(E) → 範囲を決めて出力(H), a drag over the middle, a file name.
    const fs::path png = m_home / "range.png";
    run("xdotool mousemove 40 8 click 1");
    QThread::msleep(800);
    run("xdotool key e h");
    QThread::msleep(1200);
    const int x0 = middle.left(), y0 = middle.top(), x1 = middle.right(), y1 = middle.bottom();
    run("xdotool mousemove " + std::to_string(x0) + " " + std::to_string(y0) + " mousedown 1");
    QThread::msleep(200);
    run("xdotool mousemove " + std::to_string((x0 + x1) / 2) + " " + std::to_string((y0 + y1) / 2));
    QThread::msleep(200);
    run("xdotool mousemove " + std::to_string(x1) + " " + std::to_string(y1) + " mouseup 1");
    // A loaded machine may take seconds to show the file dialog and to write the picture: wait for both.
    const std::string dialog = run("timeout 60 xdotool search --sync --onlyvisible --name '画像の保存' 2>/dev/null | head -1");
    ASSERT_FALSE(dialog.empty()) << "the range did not ask for a file name";
    QThread::msleep(800);
    run("xdotool type --delay 20 '" + png.string() + "'");
    run("xdotool key Return");
    for (int waited = 0; waited < 60 && !fs::exists(png); ++waited)
        QThread::msleep(500);
    QThread::msleep(500);
    const QImage range(QString::fromStdString(png.string()));
    ASSERT_FALSE(range.isNull()) << "no picture was written";
    EXPECT_GT(ink(range, range.rect()), 100);
    fs::copy_file(png, fs::path(KOVIRA_UI_OUTPUT) / "range-picture.png", fs::copy_options::overwrite_existing);

    // A line drawn with the line tool (F5) is selected; the tool panel's delete button takes it away.
    run("xdotool key Escape");
    QThread::msleep(300);
    const QRect strip(x0, y1 - 60, x1 - x0, 40);
    const QImage undrawn = grab(m_home / "undrawn.png");
    run("xdotool key F5");
    QThread::msleep(500);
    const std::string y = std::to_string(y1 - 40);
    run("xdotool mousemove " + std::to_string(x0 + 20) + " " + y + " click 1");
    QThread::msleep(300);
    run("xdotool mousemove " + std::to_string(x1 - 20) + " " + y + " click 1");
    QThread::msleep(800);
    const QImage drawn = grab(fs::path(KOVIRA_UI_OUTPUT) / "line-selected.png");
    EXPECT_GT(ink(drawn, strip), ink(undrawn, strip) + 50) << "the line shows";
    QPoint button(-1, -1);
    for (const char* icon : {"delete-24.png", "delete-16.png"}) {
        if (button.x() >= 0) break;
        button = findIcon(drawn, QImage(QString::fromStdString((fs::path(KOVIRA_ICONS) / icon).string())));
    }
    ASSERT_GE(button.x(), 0) << "the delete button was not found on the screen";
    run("xdotool mousemove " + std::to_string(button.x()) + " " + std::to_string(button.y()) + " click 1");
    QThread::msleep(1000);
    const QImage deleted = grab(fs::path(KOVIRA_UI_OUTPUT) / "line-deleted-by-panel-button.png");
    EXPECT_LT(ink(deleted, strip), ink(drawn, strip) - 50) << "the line went";

    // Select mode, then the context menu on the paper: the commands for no selection.
    run("xdotool key Escape s");
    QThread::msleep(500);
    run("xdotool mousemove " + std::to_string(middle.center().x()) + " " + std::to_string(middle.center().y()) +
        " click 3");
    QThread::msleep(1200);
    const QImage menu = grab(fs::path(KOVIRA_UI_OUTPUT) / "context-menu.png");
    ASSERT_FALSE(menu.isNull());
    run("xdotool key Escape");
    QThread::msleep(500);
    const std::string title = run("xdotool getwindowname " + window);
    EXPECT_NE(title.find("house.kvr"), std::string::npos) << "the program still shows the drawing: " << title;
}

} // namespace
