#include "app/AppInfo.h"
#include "app/MainWindow.h"
#include "app/Startup.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct EnvGuard {
    explicit EnvGuard(const char* n) : name(n)
    {
        if (const char* v = std::getenv(n)) saved = v, had = true;
    }
    ~EnvGuard() { had ? setenv(name, saved.c_str(), 1) : unsetenv(name); }
    const char* name;
    std::string saved;
    bool had = false;
};

TEST(Startup, WithoutAnyDisplayItSaysSoInsteadOfStarting)
{
    EnvGuard a("QT_QPA_PLATFORM"), b("DISPLAY"), c("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const char* reason = nullptr;
    EXPECT_FALSE(kov::app::displayAvailable(&reason));
    ASSERT_NE(reason, nullptr);
    EXPECT_NE(std::string(reason).find("display"), std::string::npos);

    setenv("DISPLAY", ":0", 1);
    EXPECT_TRUE(kov::app::displayAvailable(nullptr));
}

TEST(Startup, MainWindowCarriesTheProgramNameAndClosesCleanly)
{
    // The test main made a QGuiApplication; widgets need the QApplication kind.
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
    kov::app::MainWindow window;
    window.show();
    EXPECT_EQ(window.windowTitle().toStdString(), kov::app::kProgramName);
    EXPECT_TRUE(window.close());
}

} // namespace
