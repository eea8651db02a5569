#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kov::platform {
class Profile;
}

namespace kov::app {

class CKoviraApp;
class MainWindow;
class QtQuestions;

// Qt's own dialogs (files, printing, message buttons) in Japanese, from the translations installed
// with Qt. False when none could be loaded (the dialogs then stay in English).
bool installQtTranslations();

// True when Qt can open a window here; otherwise `reason` says why in one line.
bool displayAvailable(const char** reason);

// The running program without its event loop: the application object, its document and the main
// window, started from the command-line arguments. A QApplication must exist.
class ProgramSession {
public:
    // `profile` replaces the user's settings file (tests); null opens the usual one.
    explicit ProgramSession(const std::vector<std::string>& arguments,
                            std::unique_ptr<kov::platform::Profile> profile = nullptr);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // False when start-up ended the program (a file named on the command line could not be used).
    bool started() const { return m_started; }
    CKoviraApp& application() { return *m_app; }
    MainWindow* window() { return m_window.get(); }

private:
    std::unique_ptr<QtQuestions> m_questions;
    std::unique_ptr<CKoviraApp> m_app;
    std::unique_ptr<MainWindow> m_window;
    bool m_started = false;
};

// Process-wide settings made once at start-up, before any file is written: SIGXFSZ is ignored, so
// that a write past the file size limit (`ulimit -f`) fails with a message instead of ending the
// program with the unsaved drawing.
void prepareProcess();

// Runs the program: the main window, and the document named on the command line.
int runProgram(int argc, char** argv);

} // namespace kov::app
