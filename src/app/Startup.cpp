#include "app/Startup.h"

#include "app/AppInfo.h"
#include "app/MainWindow.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kov::app {

bool displayAvailable(const char** reason)
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true; // offscreen, xcb, wayland... chosen explicitly
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x11 && *x11) || (wayland && *wayland)) return true;
    if (reason) *reason = "no display found: set DISPLAY or WAYLAND_DISPLAY (or QT_QPA_PLATFORM=offscreen)";
    return false;
}

int runProgram(int argc, char** argv)
{
    const char* reason = nullptr;
    if (!displayAvailable(&reason)) {
        std::fprintf(stderr, "%s: %s\n", kProgramName, reason);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramName);

    MainWindow window;
    window.show();
    return app.exec();
}

} // namespace kov::app
