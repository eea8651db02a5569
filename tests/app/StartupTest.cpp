#include "app/AppInfo.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "DocumentTestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // A local display nobody serves is reported, not left to abort inside the toolkit.
    setenv("DISPLAY", ":7391", 1);
    reason = nullptr;
    EXPECT_FALSE(kov::app::displayAvailable(&reason));
    ASSERT_NE(reason, nullptr);
    EXPECT_NE(std::string(reason).find("cannot connect"), std::string::npos);

    // Remote displays and an explicit platform are the toolkit's to try.
    setenv("DISPLAY", "somehost:0", 1);
    EXPECT_TRUE(kov::app::displayAvailable(nullptr));
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
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

TEST(Startup, ClosingTheWindowAsksForAChangedDrawingAndCancelKeepsItOpen)
{
    kov::test::DocumentRig rig;
    kov::app::MainWindow window(rig.doc.get());
    window.show();
    EXPECT_NE(window.windowTitle().indexOf(QString::fromUtf8(rig.doc->GetTitle())), -1);

    EXPECT_TRUE(window.close()); // nothing changed: no question
    window.show();
    rig.addLine(0, 0, 100, 0);
    rig.questions.reply(kov::platform::Answer::Cancel, "変更を保存しますか");
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());

    rig.questions.reply(kov::platform::Answer::No, "変更を保存しますか");
    EXPECT_TRUE(window.close());
}

} // namespace

namespace {

// Points the user's XDG folders at a temporary place for one test.
struct XdgInTemp {
    kov::test::TempFolder temp;
    EnvGuard data{"XDG_DATA_HOME"}, config{"XDG_CONFIG_HOME"}, cache{"XDG_CACHE_HOME"};
    XdgInTemp()
    {
        setenv("XDG_DATA_HOME", temp.file("data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", temp.file("config").c_str(), 1);
        setenv("XDG_CACHE_HOME", temp.file("cache").c_str(), 1);
    }
};

TEST(Startup, FileNamedOnTheCommandLineOpensInTheWindow)
{
    XdgInTemp xdg;
    kov::test::DocumentRig rig;
    rig.addLine(0, 0, 1000, 0);
    rig.addLine(0, 0, 0, 500);
    const auto file = rig.file("plan.kvr");
    ASSERT_TRUE(rig.saveAs(file));

    kov::app::ProgramSession session({"kovira", file.string()}, std::make_unique<kov::platform::MemoryProfile>());
    ASSERT_TRUE(session.started());
    ASSERT_NE(session.window(), nullptr);
    EXPECT_TRUE(session.window()->isVisible());
    EXPECT_NE(session.window()->windowTitle().indexOf("plan"), -1) << session.window()->windowTitle().toStdString();
    ASSERT_NE(session.application().document(), nullptr);
    EXPECT_EQ(session.application().document()->m_Unit.m_Lines.GetSize(), 2);
}

TEST(Startup, WithoutAFileTheProgramStartsOnANewDrawing)
{
    XdgInTemp xdg;
    kov::app::ProgramSession session({"kovira"}, std::make_unique<kov::platform::MemoryProfile>());
    ASSERT_TRUE(session.started());
    ASSERT_NE(session.application().document(), nullptr);
    EXPECT_EQ(session.application().document()->m_Unit.m_Lines.GetSize(), 0);
    EXPECT_TRUE(session.window()->isVisible());
}

TEST(Startup, SaveBeyondTheFileSizeLimitFailsWithAMessage)
{
    // In a child process: the limit and the signal setting must not reach the other tests.
    kov::test::TempFolder dir;
    const std::filesystem::path target = dir.file("big.kvr");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        kov::app::prepareProcess();
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        auto ar = CArchive::forWriting();
        CDefFile w;
        w.WriteStart(*ar, "KOVDATA");
        w.WriteData(*ar, "big", std::string(20000, 'x'));
        w.WriteEnd(*ar, "KOVDATA");
        std::string why;
        const bool saved = ar->commitTo(target, &why);
        ::_exit(saved ? 1 : why.find("保存できません") != std::string::npos ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(std::filesystem::exists(target));
}

} // namespace

namespace {

TEST(Startup, QtOwnDialogsSpeakJapanese)
{
    // The standard buttons of Qt's message, file and print dialogs read as the program's own
    // questions expect (はい / いいえ / キャンセル).
    ASSERT_TRUE(kov::app::installQtTranslations());
    for (const char* button : {"&Yes", "&No", "Cancel"}) {
        const QString shown = QCoreApplication::translate("QPlatformTheme", button);
        EXPECT_NE(shown, QString::fromLatin1(button)) << button;
    }
    EXPECT_TRUE(QCoreApplication::translate("QPlatformTheme", "&Yes").contains(QStringLiteral("はい")));
    EXPECT_TRUE(QCoreApplication::translate("QPlatformTheme", "Cancel").contains(QStringLiteral("キャンセル")));
}

} // namespace
