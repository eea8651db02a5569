#include "app/Startup.h"

#include "app/AppInfo.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "app/QtQuestions.h"
#include "platform/Folders.h"
#include "platform/PathUL.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kov::app {

namespace {

// A local X display (":0", "unix:0.1") can be probed through its socket before Qt tries it, since
// Qt ends the process when the connection fails. Remote displays are left to Qt.
bool localXDisplayReachable(const std::string& display)
{
    std::string rest = display;
    if (rest.rfind("unix:", 0) == 0) rest = rest.substr(4);
    if (rest.empty() || rest[0] != ':') return true;
    std::string number;
    for (std::size_t i = 1; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) number += rest[i];
    if (number.empty()) return false;
    const std::string path = "/tmp/.X11-unix/X" + number;
    for (bool abstract : {true, false}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return true;
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        // The X server listens on the abstract name too; either one answering is enough.
        const std::size_t offset = abstract ? 1 : 0;
        std::memcpy(addr.sun_path + offset, path.data(), std::min(path.size(), sizeof addr.sun_path - 1 - offset));
        const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), length) == 0;
        ::close(fd);
        if (ok) return true;
    }
    return false;
}

} // namespace

bool displayAvailable(const char** reason)
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true; // offscreen, xcb, wayland... chosen explicitly
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland) return true;
    if (x11 && *x11) {
        if (localXDisplayReachable(x11)) return true;
        if (reason) *reason = "cannot connect to the display named by DISPLAY (is the X server running?)";
        return false;
    }
    if (reason) *reason = "no display found: set DISPLAY or WAYLAND_DISPLAY (or QT_QPA_PLATFORM=offscreen)";
    return false;
}

namespace {

int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop normally, so that the settings are saved as on a close.
void quitOnTerminationSignals(QObject* owner)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier] {
        char byte;
        [[maybe_unused]] ssize_t n = ::read(g_signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace

ProgramSession::ProgramSession(const std::vector<std::string>& arguments,
                               std::unique_ptr<kov::platform::Profile> profile)
    : m_questions(std::make_unique<QtQuestions>())
{
    // The settings file and the user's folders are found under these names.
    QCoreApplication::setOrganizationName(QString::fromUtf8(CULReg::GetCompanyKey()));
    QCoreApplication::setApplicationName(QString::fromUtf8(kProgramName));

    AppEnvironment environment;
    environment.profile = std::move(profile);
    environment.questions = m_questions.get();
    environment.folders = kov::platform::Folders::defaults();
    environment.programFolder = CPathUL::GetLastSeparatePath(CPathUL::GetModuleFileNameA());
    m_app = std::make_unique<CKoviraApp>(std::move(environment));
    m_questions->setDrawingFolder([app = m_app.get()] {
        const CKoviraDoc* doc = app->document();
        return doc && !doc->GetPathName().empty() ? doc->GetPathName().parent_path() : std::filesystem::path();
    });

    AppShellHooks hooks;
    hooks.createFrame = [this](CKoviraDoc& doc) {
        m_window = std::make_unique<MainWindow>(&doc);
        m_questions->setParentWidget(m_window.get());
        return true;
    };
    hooks.showMainWindow = [this](bool maximised) {
        if (!m_window) return;
        m_window->refreshTitle();
        maximised ? m_window->showMaximized() : m_window->show();
    };
    m_started = m_app->InitInstance(arguments, hooks) != 0;
    if (m_window) m_window->refreshTitle();
}

ProgramSession::~ProgramSession()
{
    m_questions->setParentWidget(nullptr);
    m_window.reset();
    if (m_started) m_app->ExitInstance();
}

void prepareProcess()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

bool installQtTranslations()
{
    // Parented to the application, so it lives as long as the dialogs that read it.
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                          folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int runProgram(int argc, char** argv)
{
    prepareProcess();
    const char* reason = nullptr;
    if (!displayAvailable(&reason)) {
        std::fprintf(stderr, "%s: %s\n", kProgramName, reason);
        return 1;
    }
    QApplication app(argc, argv);
    // Ties the window to the installed desktop entry (icon and name in the shell's task list).
    QGuiApplication::setDesktopFileName(QStringLiteral("kovira"));
    installQtTranslations();
    ProgramSession session(CKoviraApp::CommandLineArguments());
    if (!session.started()) return 0;
    quitOnTerminationSignals(&app);
    return app.exec();
}

} // namespace kov::app
