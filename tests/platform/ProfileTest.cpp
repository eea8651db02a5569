#include "platform/Profile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>
#include <memory>
#include <string>

using namespace kov::platform;

namespace {

// The same rules hold for the file store and the memory store.
struct Store {
    std::string name;
    std::function<std::unique_ptr<Profile>(const std::filesystem::path& folder)> make;
    bool persistent = false;
};

void PrintTo(const Store& store, std::ostream* os) { *os << store.name; }
std::string storeName(const testing::TestParamInfo<Store>& info) { return info.param.name; }

class ProfileRules : public testing::TestWithParam<Store> {
protected:
    // A file store is read back through a new instance, so the file's own text form is tested.
    void reopen()
    {
        if (!GetParam().persistent) return;
        profile.reset();
        profile = GetParam().make(temp.path());
    }

    kov::test::TempFolder temp;
    std::unique_ptr<Profile> profile = GetParam().make(temp.path());
};

TEST_P(ProfileRules, StringsRoundTripUnchanged)
{
    // Values a QSettings INI would split, unquote, trim or unescape if it were handled carelessly.
    const char* values[] = {
        "plain",
        "a,b",
        "1,2,3,",
        " leading and trailing ",
        "\ttab\tinside\t",
        "semi;colon",
        "\"quoted\"",
        "'single'",
        "back\\slash\\",
        "C:\\quenlor\\data",
        "key=value",
        "#hash",
        "@Variant(0)",
        "@@",
        "line1\nline2",
        "間取り図面　ＭＳ ゴシック ①～＼ｱ",
        "",
    };
    int i = 0;
    for (const char* v : values) {
        std::string key = "Key" + std::to_string(i++);
        ASSERT_TRUE(profile->WriteProfileString("KOV_T_UTILITY", key, v)) << v;
        EXPECT_EQ(profile->GetProfileString("KOV_T_UTILITY", key, "default"), v) << v;
    }
    reopen();
    i = 0;
    for (const char* v : values) {
        std::string key = "key" + std::to_string(i++);
        EXPECT_EQ(profile->GetProfileString("kov_t_utility", key, "default"), v) << v;
    }
}

TEST_P(ProfileRules, NamesCompareWithoutCase)
{
    profile->WriteProfileString("KOV_T_PlotMenu", "PlotColor", "255");
    EXPECT_EQ(profile->GetProfileString("kov_t_plotmenu", "plotcolor"), "255");
    EXPECT_EQ(profile->GetProfileInt("KOV_T_PLOTMENU", "PLOTCOLOR", 0), 255);

    // Writing in other case replaces the value; there is only ever one.
    profile->WriteProfileString("kov_t_plotmenu", "PLOTCOLOR", "16777215");
    EXPECT_EQ(profile->GetProfileString("KOV_T_PlotMenu", "PlotColor"), "16777215");

    // Names that differ in more than case stay apart.
    profile->WriteProfileString("KOV_T_PlotMenu", "PlotColor2", "1");
    reopen();
    EXPECT_EQ(profile->GetProfileString("KOV_T_PlotMenu", "PlotColor"), "16777215");
    EXPECT_EQ(profile->GetProfileString("KOV_T_GridMenu", "PlotColor", "none"), "none");

    // A section QSettings treats specially in its own files.
    profile->WriteProfileString("general", "Key", "g");
    reopen();
    EXPECT_EQ(profile->GetProfileString("General", "KEY"), "g");
}

TEST_P(ProfileRules, MissingValuesGiveTheDefault)
{
    EXPECT_EQ(profile->GetProfileInt("KOV_T_UTILITY", "registset", 7), 7);
    EXPECT_EQ(profile->GetProfileString("KOV_T_UTILITY", "path_set_forda", "/opt/kovira"), "/opt/kovira");
    EXPECT_EQ(profile->GetProfileString("KOV_T_UTILITY", "path_set_forda"), "");
    // An empty stored text is a value, not a missing one.
    profile->WriteProfileString("KOV_T_UTILITY", "path_set_forda", "");
    EXPECT_EQ(profile->GetProfileString("KOV_T_UTILITY", "path_set_forda", "/opt/kovira"), "");
}

TEST_P(ProfileRules, IntegersAreDecimalTextReadAsAtoiReadsThem)
{
    struct Case { const char* stored; int expected; };
    const Case cases[] = {
        {"42", 42}, {"-7", -7}, {"  12", 12}, {"12abc", 12}, {"abc", 0}, {"", 0},
        {"1.9", 1}, {"99999999999", 2147483647},
    };
    for (const auto& c : cases) {
        profile->WriteProfileString("S", "k", c.stored);
        EXPECT_EQ(profile->GetProfileInt("S", "k", 5), c.expected) << '"' << c.stored << '"';
    }
    for (int v : {0, 1, -1, 2147483647, -2147483647 - 1}) {
        profile->WriteProfileInt("S", "i", v);
        EXPECT_EQ(profile->GetProfileInt("S", "i", 5), v);
        EXPECT_EQ(profile->GetProfileString("S", "i"), std::to_string(v));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stores, ProfileRules,
    testing::Values(Store{"Memory", [](const std::filesystem::path&) { return std::make_unique<MemoryProfile>(); }},
                    Store{"IniFile",
                          [](const std::filesystem::path& folder) {
                              return std::make_unique<IniProfile>(folder / "Kovira.ini");
                          },
                          true}),
    storeName);

TEST(IniProfile, ValuesPersistAcrossInstances)
{
    kov::test::TempFolder temp;
    const auto file = temp.file("sub/Kovira.ini"); // the folder is made on the first save
    {
        IniProfile p(file);
        p.WriteProfileString("KOV_T_FontMenu", "FontFaceName", "ＭＳ Ｐゴシック");
        p.WriteProfileString("KOV_T_UTILITY", "csv", "3640,3640,1820,");
        p.WriteProfileInt("KOV_T_UTILITY", "registset", 1);
        EXPECT_TRUE(p.sync());
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    IniProfile again(file);
    EXPECT_EQ(again.GetProfileString("kov_t_fontmenu", "fontfacename"), "ＭＳ Ｐゴシック");
    EXPECT_EQ(again.GetProfileString("KOV_T_UTILITY", "csv"), "3640,3640,1820,");
    EXPECT_EQ(again.GetProfileInt("KOV_T_UTILITY", "REGISTSET", 0), 1);
}

TEST(IniProfile, KeepsTheCaseFirstWrittenAndNeverDuplicates)
{
    kov::test::TempFolder temp;
    const auto file = temp.file("Kovira.ini");
    {
        IniProfile p(file);
        p.WriteProfileInt("KOV_T_GridMenu", "GridSnap", 1);
        p.WriteProfileInt("kov_t_gridmenu", "gridsnap", 0);
        p.WriteProfileInt("KOV_T_GRIDMENU", "Other", 2);
        ASSERT_TRUE(p.sync());
    }
    QFile f(QString::fromStdString(file.string()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_EQ(text.count(QStringLiteral("[KOV_T_GridMenu]")), 1) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("GridSnap=0")), 1) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("gridsnap"), Qt::CaseInsensitive), 1) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("GRIDMENU"))) << text.toStdString();
}

TEST(IniProfile, ReadsHandWrittenFilesWithBareCommasAndOtherCase)
{
    kov::test::TempFolder temp;
    const auto file = temp.file("Kovira.ini");
    {
        QFile f(QString::fromStdString(file.string()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[kov_t_utility]\nATS=3640,1820\nName=\xE9\x83\xA8\xE5\xB1\x8B\n");
    }
    IniProfile p(file);
    EXPECT_EQ(p.GetProfileString("KOV_T_UTILITY", "ats"), "3640,1820");
    EXPECT_EQ(p.GetProfileString("KOV_T_UTILITY", "name"), "部屋");
}

TEST(IniProfile, RefusesWritesItCannotKeep)
{
    kov::test::TempFolder temp;
    // A plain file stands where the settings folder should be.
    QFile blocker(QString::fromStdString(temp.file("blocked").string()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniProfile p(temp.file("blocked/Kovira.ini"));
    EXPECT_FALSE(p.WriteProfileInt("S", "k", 1));
    EXPECT_FALSE(p.WriteProfileString("", "k", "v"));
    EXPECT_FALSE(p.WriteProfileString("S", "", "v"));
}

TEST(IniProfile, DefaultFileIsInTheUsersConfigurationFolder)
{
    const auto file = IniProfile::defaultFile("KoviraSoft");
    EXPECT_EQ(file.filename(), "Kovira.ini");
    EXPECT_EQ(file.parent_path().filename(), "KoviraSoft");
    EXPECT_TRUE(file.is_absolute());
}

} // namespace
