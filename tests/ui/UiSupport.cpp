#include "ui/UiSupport.h"

#include <QFile>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace kov::test {

namespace fs = std::filesystem;

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

std::string num(int v) { return std::to_string(v); }

std::string windowNamed(const std::string& title, int seconds)
{
    return run("timeout " + num(seconds) + " xdotool search --sync --onlyvisible --name '" + title +
                      "' 2>/dev/null | head -1");
}

void focus(const std::string& window) { run("xdotool windowfocus --sync " + window + " 2>/dev/null"); }

QRect windowGeometry(const std::string& window)
{
    int x = 0, y = 0, width = 0, height = 0;
    std::istringstream in(run("xdotool getwindowgeometry --shell " + window));
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (name == "X") x = value;
        if (name == "Y") y = value;
        if (name == "WIDTH") width = value;
        if (name == "HEIGHT") height = value;
    }
    return {x, y, width, height};
}

QImage grab(const fs::path& file, const std::string& window)
{
    run("import -window " + window + " " + file.string());
    return QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_RGB32);
}

namespace {

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

bool dark(const QImage& shot, int x, int y) { return qGray(shot.pixel(x, y)) < 96; }

} // namespace

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

void key(const std::string& keys, int waitMs)
{
    run("xdotool key " + keys);
    QThread::msleep(static_cast<unsigned long>(waitMs));
}

void clickAt(QPoint p, int waitMs)
{
    run("xdotool mousemove " + num(p.x()) + " " + num(p.y()) + " click 1");
    QThread::msleep(static_cast<unsigned long>(waitMs));
}

bool saveByKeys(const std::string& window, const std::filesystem::path& plan)
{
    focus(window);
    const auto unsaved = std::filesystem::last_write_time(plan);
    run("xdotool key Escape ctrl+s");
    std::error_code ec;
    for (int i = 0; i < 120 && std::filesystem::last_write_time(plan, ec) == unsaved; ++i) QThread::msleep(250);
    QThread::msleep(500);
    return std::filesystem::last_write_time(plan, ec) != unsaved;
}

int changed(const QImage& a, const QImage& b, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

int ink(const QImage& shot, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += dark(shot, x, y);
    return n;
}

QRect findFrame(const QImage& shot)
{
    const int cx = shot.width() / 2, cy = shot.height() / 2;
    int left = cx, right = cx, top = cy, bottom = cy;
    while (left > 0 && !dark(shot, left, cy)) --left;
    while (right < shot.width() - 1 && !dark(shot, right, cy)) ++right;
    while (top > 0 && !dark(shot, cx, top)) --top;
    while (bottom < shot.height() - 1 && !dark(shot, cx, bottom)) ++bottom;
    if (left == 0 || top == 0 || right == shot.width() - 1 || bottom == shot.height() - 1) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QPoint findIcon(const QImage& shot, const fs::path& iconFile, const QRect& within)
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
    const QRect area = within.intersected(a.rect());
    for (int y = area.top(); y + b.height() <= area.bottom() + 1; ++y)
        for (int x = area.left(); x + b.width() <= area.right() + 1; ++x) {
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

QPoint findButton(const QImage& shot, const std::string& icon, const QRect& within)
{
    for (const char* size : {"-24.png", "-16.png"}) {
        const QPoint p = findIcon(shot, fs::path(KOVIRA_ICONS) / (icon + size), within);
        if (p.x() >= 0) return p;
    }
    return {-1, -1};
}

void ScreenTest::SetUp()
{
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X server: run under xvfb-run";
    for (const char* tool : {"xdotool", "import"})
        ASSERT_FALSE(run(std::string("command -v ") + tool).empty()) << tool << " is not installed";
    const std::string suite = testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    m_home = fs::temp_directory_path() / ("kovira-" + suite + "-" + num(::getpid()));
    fs::remove_all(m_home);
    fs::create_directories(m_home);
}

void ScreenTest::TearDown()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(5000);
    }
    if (!m_home.empty()) fs::remove_all(m_home);
}

QProcessEnvironment ScreenTest::environment(bool library) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_SCALE_FACTOR", "1");
    if (library) env.insert("KOVIRA_DATA_DIR", KOVIRA_DATA_SOURCE);
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.insert(var, QString::fromStdString((m_home / var).string()));
    return env;
}

fs::path ScreenTest::sampleCopy(const std::string& sample, const std::string& name) const
{
    const fs::path copy = m_home / name;
    fs::copy_file(fs::path(KOVIRA_DATA_SOURCE) / "sample" / sample, copy, fs::copy_options::overwrite_existing);
    return copy;
}

void ScreenTest::writeSettings(const std::string& text) const
{
    const fs::path ini = m_home / "XDG_CONFIG_HOME" / "KoviraSoft" / "Kovira.ini";
    fs::create_directories(ini.parent_path());
    QFile f(QString::fromStdString(ini.string()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << ini;
    f.write(text.c_str());
}

std::string ScreenTest::startOnSample(const std::string& sample, const std::string& name)
{
    return start({QString::fromStdString(sampleCopy(sample, name).string())}, name);
}

std::string ScreenTest::start(const QStringList& args, const std::string& title)
{
    return start(args, title, environment());
}

bool ScreenTest::launch(const QStringList& args, const QProcessEnvironment& env)
{
    m_program.setProcessEnvironment(env);
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(KOVIRA_PROGRAM, args);
    return m_program.waitForStarted(10000);
}

std::string ScreenTest::start(const QStringList& args, const std::string& title, const QProcessEnvironment& env)
{
    m_window.clear();
    if (!launch(args, env)) {
        ADD_FAILURE() << "the program did not start";
        return {};
    }
    m_window = windowNamed(title, 60);
    if (m_window.empty()) {
        ADD_FAILURE() << "no window of the program appeared";
        return {};
    }
    QThread::msleep(1500);
    focus(m_window);
    return m_window;
}

void ScreenTest::stop()
{
    if (m_program.state() == QProcess::NotRunning) return;
    m_program.terminate();
    if (!m_program.waitForFinished(10000)) m_program.kill();
    m_program.waitForFinished(5000);
}

} // namespace kov::test
