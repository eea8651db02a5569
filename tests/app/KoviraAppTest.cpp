#include "app/Backups.h"
#include "app/FillPatterns.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/QtQuestions.h"

#include "DocumentTestSupport.h"
#include "model/PlotInfo.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <gtest/gtest.h>

using namespace kov::app;
using kov::platform::MemoryProfile;

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
constexpr std::string_view kPlotMenu = "KOV_T_PlotMenu";

// An application over a memory profile (kept reachable) and folders in a temporary directory.
struct AppRig {
    kov::test::TempFolder temp;
    kov::platform::ScriptedQuestions questions;
    MemoryProfile* profile = nullptr;
    std::unique_ptr<CKoviraApp> app;

    explicit AppRig(std::function<void(MemoryProfile&)> preset = {})
    {
        auto owned = std::make_unique<MemoryProfile>();
        profile = owned.get();
        if (preset) preset(*profile);
        AppEnvironment env;
        env.profile = std::move(owned);
        env.questions = &questions;
        env.folders = kov::platform::Folders::under(temp.file("installed"), temp.file("user"), temp.file("local"));
        env.folders.createWritableFolders();
        env.programFolder = temp.path().string();
        app = std::make_unique<CKoviraApp>(std::move(env));
    }
};

TEST(KoviraApp, FirstRunReadsEveryCachedSettingAtItsDefault)
{
    AppRig rig;
    int cachedAtFirstUpdate = -1;
    bool maximised = false;
    AppShellHooks hooks;
    hooks.createFrame = [&](CKoviraDoc& doc) {
        doc.SetInitialUpdate([&](CKoviraDoc&) { cachedAtFirstUpdate = rig.app->app_undonum; });
        return true;
    };
    hooks.showMainWindow = [&](bool m) { maximised = m; };

    ASSERT_EQ(rig.app->InitInstance({"kovira"}, hooks), 1);

    // The cache is read before the first view exists, so its first render sees the settings.
    EXPECT_EQ(cachedAtFirstUpdate, 20);
    EXPECT_TRUE(maximised) << "maximize defaults to 1 on a first run";
    for (const CachedSetting& s : CachedSettings()) EXPECT_EQ(rig.app.get()->*s.member, s.defaultValue) << s.key;
    EXPECT_EQ(rig.app->app_undonum, 20);
    EXPECT_EQ(rig.app->app_dpiaware, 96);
    EXPECT_EQ(rig.app->m_bTraceMode, 0);
    EXPECT_EQ(rig.app->m_nVersion, 606000);
    for (int code = 1; code <= kFillPatternCount; ++code) EXPECT_FALSE(rig.app->PatternBitmap(code).isNull()) << code;
    EXPECT_TRUE(rig.app->PatternBitmap(0).isNull());
    ASSERT_NE(rig.app->document(), nullptr);
    EXPECT_EQ(rig.app->document()->GetTitle(), kUntitledTitle);
    EXPECT_EQ(CKoviraApp::Current(), rig.app.get());
}

TEST(KoviraApp, FirstRunFillsTheUserFoldersFromTheInstalledData)
{
    AppRig rig;
    const auto installed = rig.temp.file("installed");
    std::filesystem::create_directories(installed / "data" / "家具");
    kov::test::writeBytes(installed / "data" / "家具" / "table.mgp", {'p'});
    kov::test::writeBytes(installed / "kovroom.txt", {'r'});
    ASSERT_EQ(rig.app->InitInstance({"kovira"}), 1);
    EXPECT_TRUE(std::filesystem::exists(rig.app->folders().parts / "家具" / "table.mgp"));
    EXPECT_TRUE(std::filesystem::exists(rig.app->folders().userData / "kovroom.txt"));
}

TEST(KoviraApp, SavedSettingsAreReadFromTheirOwnSection)
{
    AppRig rig([](MemoryProfile& p) {
        p.WriteProfileInt(kUtility, "app_undonum", 35);
        p.WriteProfileInt(kUtility, "app_autopita", 0);
        p.WriteProfileInt(kPlotMenu, "app_sirokuro_roomhachdel", 1);
        p.WriteProfileInt(kUtility, "app_zukeipropview", 0); // not its section
        p.WriteProfileInt("KOV_T_LAYOUTSIZE", "maximize", 0);
    });
    bool maximised = true;
    AppShellHooks hooks;
    hooks.showMainWindow = [&](bool m) { maximised = m; };
    ASSERT_EQ(rig.app->InitInstance({"kovira"}, hooks), 1);
    EXPECT_EQ(rig.app->app_undonum, 35);
    EXPECT_EQ(rig.app->app_autopita, 0);
    EXPECT_EQ(rig.app->app_sirokuro_roomhachdel, 1);
    EXPECT_EQ(rig.app->app_zukeipropview, 1);
    EXPECT_FALSE(maximised);
}

TEST(KoviraApp, TheCommandLineFileIsOpenedOrTheStartUpEnds)
{
    {
        AppRig rig;
        kov::test::DocumentRig other;
        other.addLine(3, 0, 3, 1);
        ASSERT_EQ(other.doc->WriteDocumentFile(other.file("plan.kvr")), 1);
        ASSERT_EQ(rig.app->InitInstance({"kovira", "-style", "--", other.file("plan.kvr").string()}), 1);
        EXPECT_EQ(rig.app->document()->m_Unit.m_Lines.GetSize(), 1);
        EXPECT_EQ(rig.app->document()->GetPathName(), other.file("plan.kvr"));
    }
    {
        // A start that fails ends the program without the first update: the backups stay as they were.
        AppRig rig([](MemoryProfile& p) { p.WriteProfileInt(kUtility, "backing_flg", 0); });
        const auto newest = kov::app::BackupFilePath(*rig.profile, rig.app->folders(), 0);
        kov::test::writeBytes(newest, {'b'});
        int firstUpdates = 0;
        AppShellHooks hooks;
        hooks.createFrame = [&](CKoviraDoc& doc) {
            doc.SetInitialUpdate([&](CKoviraDoc&) { ++firstUpdates; });
            return true;
        };
        rig.questions.acknowledge(); // the open failure
        EXPECT_EQ(rig.app->InitInstance({"kovira", rig.temp.file("missing.kvr").string()}, hooks), 0);
        EXPECT_EQ(rig.app->m_nVersion, 0) << "the later steps do not run";
        EXPECT_EQ(firstUpdates, 0);
        EXPECT_FALSE(std::filesystem::exists(kov::app::BackupFilePath(*rig.profile, rig.app->folders(), 1)));
    }
    {
        AppRig rig;
        AppShellHooks hooks;
        hooks.createFrame = [](CKoviraDoc&) { return false; };
        EXPECT_EQ(rig.app->InitInstance({"kovira"}, hooks), 0);
    }
}

TEST(KoviraApp, CommandLine)
{
    struct Case {
        std::vector<std::string> args;
        const char* expected; // nullptr: none
    };
    const Case cases[] = {
        {{"kovira"}, nullptr},
        {{"kovira", "plan.kvr"}, "plan.kvr"},
        {{"kovira", "--reverse", "a.kvr", "b.kvr"}, "a.kvr"},
        {{"kovira", "--", "-dash.kvr"}, "-dash.kvr"},
        {{}, nullptr},
    };
    for (const Case& c : cases) {
        const auto got = CKoviraApp::ParseCommandLine(c.args);
        if (!c.expected)
            EXPECT_FALSE(got.has_value());
        else
            EXPECT_EQ(got.value_or("").string(), c.expected);
    }
}

TEST(KoviraApp, ArgumentsComeFromTheRunningProgram)
{
    const auto args = CKoviraApp::CommandLineArguments();
    ASSERT_FALSE(args.empty());
    EXPECT_NE(args[0].find("kov_app_tests"), std::string::npos);
}

TEST(KoviraApp, ResetOfAllSettingsWritesEveryDefault)
{
    AppRig rig([](MemoryProfile& p) {
        p.WriteProfileInt(kUtility, "registset", 1);
        p.WriteProfileInt(kUtility, "app_undonum", 50);
        p.WriteProfileInt(kUtility, "path_itizi_flg", 1);
    });
    ASSERT_EQ(rig.app->InitInstance({"kovira"}), 1);
    rig.app->app_undonum = 50;
    rig.app->app_haikei = 1;
    rig.app->document()->m_PlotInfo.PlotWallWide = 777;

    rig.app->ResetEverySetting();

    MemoryProfile& p = *rig.profile;
    for (const CachedSetting& s : CachedSettings()) {
        EXPECT_EQ(rig.app.get()->*s.member, s.defaultValue) << s.key;
        EXPECT_TRUE(p.contains(s.section, s.key)) << s.key;
        EXPECT_EQ(p.GetProfileInt(s.section, s.key, -12345), s.defaultValue) << s.key;
    }
    for (const ResetSetting& s : FurtherResetSettings()) {
        EXPECT_TRUE(p.contains(s.section, s.key)) << s.key;
        if (s.isText)
            EXPECT_EQ(p.GetProfileString(s.section, s.key, "?"), s.text) << s.key;
        else
            EXPECT_EQ(p.GetProfileInt(s.section, s.key, -12345), s.value) << s.key;
    }
    EXPECT_EQ(p.GetProfileString(kUtility, "app_haikei_color"), "5592405");
    EXPECT_EQ(rig.app->app_haikei, 0);
    EXPECT_EQ(rig.app->app_haikei_color, 0x555555);
    EXPECT_EQ(p.GetProfileInt("KOV_T_LAYOUTSIZE", "maximize", -1), 0);
    EXPECT_EQ(p.GetProfileInt(kUtility, "buhin_selectidx", 0), -1);
    EXPECT_EQ(p.GetProfileInt(kUtility, "registset", -1), 0);
    EXPECT_EQ(rig.app->document()->m_PlotInfo.PlotWallWide, CPlotInfo().PlotWallWide)
        << "the document's settings are the built-in ones";
    // Switches the reset leaves alone.
    EXPECT_EQ(p.GetProfileInt(kUtility, "path_itizi_flg", 0), 1);
    EXPECT_FALSE(p.contains(kUtility, "path_back_flg"));
    EXPECT_FALSE(p.contains(kUtility, "path_assyuku_flg"));
}

TEST(KoviraApp, StoredValuesOutsideWhatTheDialogAcceptsReadAsTheDefault)
{
    struct Case {
        const char* key;
        int stored;
        int cached;
    };
    const Case cases[] = {
        {"app_undonum", 2, 2},       {"app_undonum", 99, 99},     {"app_undonum", 1, 20},
        {"app_undonum", 1000000, 20}, {"app_mousemovelisp", 10, 10}, {"app_mousemovelisp", -3, 2},
        {"app_dpiaware", 192, 192},  {"app_dpiaware", 0, 96},
    };
    for (const Case& c : cases) {
        AppRig rig([&](MemoryProfile& p) { p.WriteProfileInt(kUtility, c.key, c.stored); });
        rig.app->ReadSettingsCache();
        for (const CachedSetting& s : CachedSettings()) {
            if (s.key == c.key) {
                EXPECT_EQ(rig.app.get()->*s.member, c.cached) << c.key << " " << c.stored;
            }
        }
    }
}

TEST(KoviraApp, ADialogWritesTheKeyAndTheCacheTogether)
{
    AppRig rig;
    EXPECT_TRUE(rig.app->WriteCachedSetting("app_zukeipropview", 0));
    EXPECT_EQ(rig.app->app_zukeipropview, 0);
    EXPECT_EQ(rig.profile->GetProfileInt(kPlotMenu, "app_zukeipropview", 1), 0) << "in its own section";
    EXPECT_TRUE(rig.app->WriteCachedSetting("app_dpiaware", 192));
    EXPECT_EQ(rig.app->app_dpiaware, 192);
    EXPECT_FALSE(rig.app->WriteCachedSetting("app_backup", 0)) << "read where it is used, not cached";
    EXPECT_FALSE(rig.profile->contains(kUtility, "app_backup"));
}

TEST(KoviraApp, BackgroundValuesAreReadAtEachPaint)
{
    AppRig rig([](MemoryProfile& p) {
        p.WriteProfileInt(kUtility, "app_haikei", 1);
        p.WriteProfileString(kUtility, "app_haikei_color", "255");
    });
    ASSERT_EQ(rig.app->InitInstance({"kovira"}), 1);
    EXPECT_EQ(rig.app->app_haikei, 0) << "not read at start";
    rig.app->ReadBackgroundSettings();
    EXPECT_EQ(rig.app->app_haikei, 1);
    EXPECT_EQ(rig.app->app_haikei_color, 255);
}

TEST(KoviraApp, OpenCommand)
{
    AppRig rig;
    ASSERT_EQ(rig.app->InitInstance({"kovira"}), 1);
    rig.questions.pickOpenFile(std::nullopt);
    EXPECT_FALSE(rig.app->OnFileOpen());
    EXPECT_TRUE(rig.app->document()->GetPathName().empty());
    EXPECT_EQ(rig.questions.asked().back().filter, kOpenFilter);

    kov::test::DocumentRig other;
    other.addLine(8, 0, 8, 1);
    ASSERT_EQ(other.doc->WriteDocumentFile(other.file("b.kvr")), 1);
    rig.questions.pickOpenFile(other.file("b.kvr"));
    EXPECT_TRUE(rig.app->OnFileOpen());
    EXPECT_EQ(rig.app->document()->GetPathName(), other.file("b.kvr"));
    EXPECT_EQ(rig.profile->GetProfileString("KOV_T_RecentList", "Recent1"), other.file("b.kvr").string());
}

TEST(KoviraApp, ShutDownEmptiesTheDocumentAndWritesTheSettingsFile)
{
    kov::test::TempFolder temp;
    kov::platform::ScriptedQuestions questions;
    const auto ini = temp.file("Kovira.ini");
    AppEnvironment env;
    env.profile = std::make_unique<kov::platform::IniProfile>(ini);
    env.questions = &questions;
    env.folders = kov::platform::Folders::under(temp.file("installed"), temp.file("user"), temp.file("local"));
    env.folders.createWritableFolders();
    {
        CKoviraApp app(std::move(env));
        ASSERT_EQ(app.InitInstance({"kovira"}), 1);
        app.ResetAllSettings();
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(app.document(), nullptr);
        EXPECT_TRUE(app.PatternBitmap(1).isNull());
    }
    EXPECT_EQ(CKoviraApp::Current(), nullptr);
    kov::platform::IniProfile reread(ini);
    EXPECT_EQ(reread.GetProfileInt(kUtility, "app_undonum", 0), 20);
}

TEST(FillPatterns, EightBlackAndWhiteTiles)
{
    struct Case {
        int code;
        int size;
        int blackPixels;
    };
    // Counted from the pattern rows: bricks, chevrons, pebbles, boarding, diamonds, squares, checks, fence.
    const Case cases[]
        = {{1, 9, 22}, {2, 8, 16}, {3, 8, 20}, {4, 8, 12}, {5, 8, 25}, {6, 8, 16}, {7, 8, 32}, {8, 8, 23}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const QImage image = FillPatternBitmap(c.code);
        ASSERT_EQ(image.width(), c.size);
        ASSERT_EQ(image.height(), c.size);
        int black = 0;
        for (int y = 0; y < c.size; ++y)
            for (int x = 0; x < c.size; ++x) {
                const QRgb px = image.pixel(x, y);
                EXPECT_TRUE(px == 0xFF000000u || px == 0xFFFFFFFFu);
                black += px == 0xFF000000u;
            }
        EXPECT_EQ(black, c.blackPixels);
    }
    // Orientation: the top row of code 4 is the full board line, code 7 starts black at the top left.
    EXPECT_EQ(FillPatternBitmap(4).pixel(7, 0), 0xFF000000u);
    EXPECT_EQ(FillPatternBitmap(4).pixel(3, 4), 0xFFFFFFFFu);
    EXPECT_EQ(FillPatternBitmap(7).pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(FillPatternBitmap(7).pixel(4, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(FillPatternBitmap(0).isNull());
    EXPECT_TRUE(FillPatternBitmap(9).isNull());
}

} // namespace

TEST(QtFileFilter, ListsOfTheDialogsInQtForm)
{
    struct Row {
        const char* in;
        const char* out;
    } rows[] = {
        {"JWWファイル(JW_WIN版(6.0まで)) (*.jww)|*.jww|JWCファイル(JW_DOS版 (*.jwc)|*.jwc|",
         "JWWファイル(JW_WIN版(6.0まで)) (*.jww);;JWCファイル(JW_DOS版 (*.jwc)"},
        {"画像ファイル (jpg,png)|*.jpg;*.jpeg;*.png|すべてのファイル (*.*)|*.*||",
         "画像ファイル (jpg,png) (*.jpg *.jpeg *.png);;すべてのファイル (*.*)"},
        {"QVTﾌｧｲﾙ(*.qvt) | *.qvt|", "QVTﾌｧｲﾙ (*.qvt)"},
        {"コビラファイル (*.kvr)", "コビラファイル (*.kvr)"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(kov::app::QtFileFilter(r.in), r.out) << r.in;
}
