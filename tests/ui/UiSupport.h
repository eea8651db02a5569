#pragma once

// What the screen tests share: the real program started on the X server of xvfb-run with a home of
// its own, driven with xdotool and grabbed with ImageMagick's import, and the few ways of reading a
// grab that more than one test needs.

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kov::test {

// The command's standard output without its trailing line end and blanks.
std::string run(const std::string& command);
std::string num(int v);

// The visible window whose title matches, waiting up to `seconds` (a sanitizer build starts slowly
// on a busy machine); empty when none shows.
std::string windowNamed(const std::string& title, int seconds = 8);
// The keyboard given to the window (there is no window manager to give it).
void focus(const std::string& window);
// The window's place and size on the screen.
QRect windowGeometry(const std::string& window);

// The window ("root": the whole screen) written to the file and read back.
QImage grab(const std::filesystem::path& file, const std::string& window = "root");
// The screen once the program has caught up with the clicks sent to it: two grabs in a row alike
// but for a blinking text caret (a busy machine can leave the program seconds behind xdotool).
// The last grab after 30 s.
QImage settledGrab(const std::filesystem::path& file);

void key(const std::string& keys, int waitMs = 300);
void clickAt(QPoint p, int waitMs = 300);
// Ctrl+S in the window, waiting until the drawing's file has been written again; false if it never was.
bool saveByKeys(const std::string& window, const std::filesystem::path& plan);

// Dark pixels inside the rectangle: lines and texts of the drawing.
int ink(const QImage& shot, const QRect& r);
// Pixels of the rectangle that differ between two pictures.
int changed(const QImage& a, const QImage& b, const QRect& r);
// The first dark pixel each way from the middle of the screen: the frame of a drawing that holds
// nothing else near its axes. Empty when a side reaches the screen's edge.
QRect findFrame(const QImage& shot);
// The centre of the first place inside `within` where all of the icon's opaque pixels show;
// (-1, -1) when none.
QPoint findIcon(const QImage& shot, const std::filesystem::path& iconFile, const QRect& within);
// A tool button by its icon (name-24.png, else name-16.png); (-1, -1) when none.
QPoint findButton(const QImage& shot, const std::string& icon, const QRect& within);

// One run of the program in a home folder of its own (settings, data and cache), killed and the
// folder removed at the end. Skipped without an X server.
class ScreenTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program's environment: X with no scaling, the home's XDG folders and, with `library`,
    // the data of the source tree.
    QProcessEnvironment environment(bool library = true) const;
    // The sample drawing of data/sample copied into the home under a plain name.
    std::filesystem::path sampleCopy(const std::string& sample, const std::string& name) const;
    // The settings file the program finds at its start.
    void writeSettings(const std::string& text) const;
    // The program started on the arguments, without waiting for its window.
    bool launch(const QStringList& args, const QProcessEnvironment& env);
    // The sample drawing copied into the home under the name and opened; its window, as start().
    std::string startOnSample(const std::string& sample, const std::string& name);
    // The program started on the arguments; its window of that title, once it has painted and has
    // the keyboard. Empty (and the test failed) when none shows.
    std::string start(const QStringList& args, const std::string& title);
    std::string start(const QStringList& args, const std::string& title, const QProcessEnvironment& env);
    // An orderly close: the program ends through its main window's close.
    void stop();

    std::filesystem::path m_home;
    QProcess m_program;
    std::string m_window;
};

} // namespace kov::test
