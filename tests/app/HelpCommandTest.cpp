// The help command (F1) on a computer where nothing can show the help: the user is told that no
// program to show it was found, which is not the same as the help being missing.

#include "app/CommandIds.h"
#include "app/KoviraApp.h"
#include "app/MainWindow.h"

#include "DocumentTestSupport.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include <filesystem>
#include <fstream>

namespace {

using namespace kov::app;

TEST(HelpCommand, NoViewerIsToldApartFromNoHelp)
{
    struct Case {
        const char* name;
        bool helpInstalled;
        const char* message;
    };
    const Case cases[] = {
        {"help installed, nothing to show it", true, "ヘルプを表示するプログラムが見つかりませんでした"},
        {"no help installed", false, "ヘルプが見つからないかメモリ不足です"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kov::test::TempFolder temp;
        if (c.helpInstalled) {
            std::filesystem::create_directories(temp.file("installed") / "help");
            std::ofstream(temp.file("installed") / "help" / "index.html") << "<html></html>\n";
        }
        kov::platform::ScriptedQuestions questions;
        auto profile = std::make_unique<kov::platform::MemoryProfile>();
        profile->WriteProfileInt("KOV_T_UTILITY", "backing_flg", 0);
        profile->WriteProfileString("KOV_T_UTILITY", "app_version_url", "http://127.0.0.1:9/version.txt");
        AppEnvironment env;
        env.profile = std::move(profile);
        env.questions = &questions;
        env.folders = kov::platform::Folders::under(temp.file("installed"), temp.file("user"), temp.file("local"));
        env.folders.createWritableFolders();
        env.programFolder = temp.path().string();
        CKoviraApp app(std::move(env));
        ASSERT_EQ(app.InitInstance({"kovira"}), 1);
        {
            MainWindow window(app.document());
            // No launcher can be found: an empty search path.
            const QByteArray path = qgetenv("PATH");
            std::filesystem::create_directories(temp.file("empty"));
            qputenv("PATH", QByteArray::fromStdString(temp.file("empty").string()));
            questions.acknowledge(c.message);
            window.RunCommand(cmd::Help);
            qputenv("PATH", path);
            EXPECT_EQ(questions.pending(), 0u);
        }
        app.ExitInstance();
    }
}

} // namespace
