#include "platform/Folders.h"
#include "platform/Profile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

using namespace kov::platform;
namespace fs = std::filesystem;

namespace {

struct FoldersFixture : testing::Test {
    kov::test::TempFolder temp;
    Folders folders = Folders::under(temp.path() / "share", temp.path() / "user", temp.path() / "local");

    // The temporary folder can only be removed once the read-only folders are writable again.
    ~FoldersFixture() override
    {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(temp.path(), ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }

    void writeFile(const fs::path& file, const std::string& text)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    std::string readFile(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool ownerWritable(const fs::path& p)
    {
        return (fs::status(p).permissions() & fs::perms::owner_write) != fs::perms::none;
    }
    // An installed parts library as a package leaves it: read-only files in read-only folders.
    void installParts()
    {
        writeFile(folders.installedParts / "建具" / "窓.mgp", "window");
        writeFile(folders.installedParts / "家具" / "椅子" / "chair.mgp", "chair");
        writeFile(folders.installedParts / "top.mgp", "top");
        for (auto& e : fs::recursive_directory_iterator(folders.installedParts))
            if (e.is_regular_file()) fs::permissions(e.path(), fs::perms::owner_read | fs::perms::group_read);
        fs::permissions(folders.installedParts / "建具", fs::perms::owner_read | fs::perms::owner_exec);
    }
};

TEST_F(FoldersFixture, EveryFolderLiesUnderItsRoot)
{
    const fs::path share = temp.path() / "share", user = temp.path() / "user", local = temp.path() / "local";
    struct Case { const char* name; fs::path actual; fs::path expected; };
    const Case cases[] = {
        {"fittings", folders.fittings, share / "tateg"},
        {"elevation fittings", folders.elevationFittings, share / "ritutateg"},
        {"symbols", folders.symbols, share / "hyouki"},
        {"installed parts", folders.installedParts, share / "data"},
        {"samples", folders.samples, share / "sample"},
        {"user data", folders.userData, user},
        {"parts", folders.parts, user / "data"},
        {"backups", folders.backups, user},
        {"temporary pictures", folders.tempPictures, local / "Tmps"},
        {"unpack", folders.unpack, local / "unpack"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
}

TEST_F(FoldersFixture, CommonFolderTakesOverWhereItsSwitchIsSet)
{
    const fs::path common = temp.path() / "共通";
    using Flag = bool CommonFolderSwitches::*;
    struct Case { UserData kind; Flag flag; fs::path whenOff; fs::path whenOn; };
    const Case cases[] = {
        {UserData::Parts, &CommonFolderSwitches::parts, folders.parts, common / "data"},
        {UserData::TempPictures, &CommonFolderSwitches::tempPictures, folders.tempPictures, common},
        {UserData::Backups, &CommonFolderSwitches::backups, folders.backups, common},
        {UserData::RoomList, &CommonFolderSwitches::roomList, folders.userData, common},
        {UserData::QuotationList, &CommonFolderSwitches::quotationList, folders.userData, common},
        {UserData::AxisValues, &CommonFolderSwitches::axisValues, folders.userData, common},
        {UserData::Unpack, &CommonFolderSwitches::unpack, folders.unpack, common},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        CommonFolderSwitches sw;
        sw.commonFolder = common;
        EXPECT_EQ(folders.folderFor(c.kind, sw), c.whenOff);
        sw.*c.flag = true;
        EXPECT_EQ(folders.folderFor(c.kind, sw), c.whenOn);
        // The reset of all settings leaves the common folder empty with some switches still set.
        sw.commonFolder.clear();
        EXPECT_EQ(folders.folderFor(c.kind, sw), c.whenOff);
    }
}

TEST_F(FoldersFixture, SwitchesAreReadFromTheSettings)
{
    MemoryProfile profile;
    CommonFolderSwitches none = readCommonFolderSwitches(profile);
    EXPECT_TRUE(none.commonFolder.empty());
    EXPECT_FALSE(none.parts || none.tempPictures || none.backups || none.roomList || none.quotationList ||
                 none.axisValues || none.unpack);

    const fs::path common = temp.path() / "共通";
    profile.WriteProfileString("KOV_T_UTILITY", "path_set_forda", common.string());
    const char* keys[] = {"path_data_flg", "path_itizi_flg", "path_back_flg", "path_room_flg",
                          "path_inyou_flg", "path_ats_flg", "path_assyuku_flg"};
    for (const char* key : keys) profile.WriteProfileInt("KOV_T_UTILITY", key, 1);
    CommonFolderSwitches all = readCommonFolderSwitches(profile);
    EXPECT_EQ(all.commonFolder, common);
    EXPECT_TRUE(all.parts && all.tempPictures && all.backups && all.roomList && all.quotationList &&
                all.axisValues && all.unpack);
    EXPECT_EQ(folders.folderFor(UserData::Parts, all), common / "data");
}

TEST_F(FoldersFixture, ListAndBackupFilesHaveTheirFixedNames)
{
    CommonFolderSwitches sw;
    EXPECT_EQ(folders.roomListFile(sw), folders.userData / "kovroom.txt");
    EXPECT_EQ(folders.quotationListFile(sw), folders.userData / "kovtex.txt");
    EXPECT_EQ(folders.axisValuesFile(sw), folders.userData / "ats_atai.csv");
    sw.commonFolder = "/srv/kovira";
    sw.backups = true;
    sw.roomList = true;
    EXPECT_EQ(folders.backupFile(3, sw), fs::path("/srv/kovira/kovbkfl3.dat"));
    EXPECT_EQ(folders.roomListFile(sw), fs::path("/srv/kovira/kovroom.txt"));

    const char* names[] = {"kovbkfl.dat", "kovbkfl1.dat", "kovbkfl2.dat", "kovbkfl3.dat", "kovbkfl4.dat"};
    for (int g = 0; g < 5; ++g) EXPECT_EQ(backupFileName(g), names[g]);
}

TEST_F(FoldersFixture, WritableFoldersAreCreatedOnDemand)
{
    EXPECT_FALSE(fs::exists(folders.tempPictures));
    EXPECT_TRUE(folders.createWritableFolders());
    for (const fs::path& f : {folders.userData, folders.parts, folders.backups, folders.tempPictures, folders.unpack})
        EXPECT_TRUE(fs::is_directory(f)) << f;
    EXPECT_TRUE(folders.createWritableFolders());
    EXPECT_FALSE(fs::exists(folders.installed));
}

TEST_F(FoldersFixture, FirstRunFillsThePartsLibraryWithWritableCopies)
{
    installParts();
    ASSERT_EQ(folders.fillPartsLibrary(), LibraryFill::Filled);
    EXPECT_EQ(readFile(folders.parts / "建具" / "窓.mgp"), "window");
    EXPECT_EQ(readFile(folders.parts / "家具" / "椅子" / "chair.mgp"), "chair");
    EXPECT_EQ(readFile(folders.parts / "top.mgp"), "top");
    for (auto& e : fs::recursive_directory_iterator(folders.parts)) EXPECT_TRUE(ownerWritable(e.path())) << e.path();
    EXPECT_FALSE(fs::exists(fs::path(folders.parts.string() + ".filling")));

    // Later runs keep the user's library as it is.
    writeFile(folders.parts / "top.mgp", "changed by the user");
    fs::remove(folders.parts / "建具" / "窓.mgp");
    EXPECT_EQ(folders.fillPartsLibrary(), LibraryFill::AlreadyThere);
    EXPECT_EQ(readFile(folders.parts / "top.mgp"), "changed by the user");
    EXPECT_FALSE(fs::exists(folders.parts / "建具" / "窓.mgp"));
}

TEST_F(FoldersFixture, AnEmptyPartsFolderIsFilled)
{
    installParts();
    folders.createWritableFolders();
    EXPECT_EQ(folders.fillPartsLibrary(), LibraryFill::Filled);
    EXPECT_EQ(readFile(folders.parts / "top.mgp"), "top");
}

TEST_F(FoldersFixture, NothingToFillFromOrNoWhereToPutIt)
{
    EXPECT_EQ(folders.fillPartsLibrary(), LibraryFill::NoInstalledCopy);
    EXPECT_FALSE(fs::exists(folders.parts));

    installParts();
    writeFile(folders.parts, "a file where the library belongs");
    EXPECT_EQ(folders.fillPartsLibrary(), LibraryFill::Failed);
    EXPECT_EQ(readFile(folders.parts), "a file where the library belongs");
    EXPECT_FALSE(fs::exists(fs::path(folders.parts.string() + ".filling")));
}

TEST_F(FoldersFixture, InstalledListsAreCopiedOnlyWhereMissing)
{
    writeFile(folders.installed / "kovroom.txt", "installed rooms");
    writeFile(folders.installed / "kovtex.txt", "installed quotations");
    writeFile(folders.userData / "kovtex.txt", "the user's quotations");
    folders.copyMissingLists();
    EXPECT_EQ(readFile(folders.userData / "kovroom.txt"), "installed rooms");
    EXPECT_EQ(readFile(folders.userData / "kovtex.txt"), "the user's quotations");
}

TEST(Folders, InstalledDataCanBeNamedByTheEnvironment)
{
    kov::test::TempFolder temp;
    const char* old = std::getenv("KOVIRA_DATA_DIR");
    const std::string saved = old ? old : "";
    setenv("KOVIRA_DATA_DIR", temp.path().c_str(), 1);
    EXPECT_EQ(Folders::findInstalledData(), temp.path());
    EXPECT_EQ(Folders::defaults().fittings, temp.path() / "tateg");
    // A folder that does not exist is passed over.
    setenv("KOVIRA_DATA_DIR", (temp.path() / "missing").c_str(), 1);
    EXPECT_NE(Folders::findInstalledData(), temp.path() / "missing");
    if (old) setenv("KOVIRA_DATA_DIR", saved.c_str(), 1);
    else unsetenv("KOVIRA_DATA_DIR");
}

TEST(Folders, DefaultsAreAbsoluteXdgFolders)
{
    // The user's data follows XDG_DATA_HOME wherever the user has put it.
    kov::test::TempFolder temp;
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", temp.path().c_str(), 1);
    const Folders f = Folders::defaults();
    if (old) setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");

    auto inside = [&](const fs::path& p) {
        const fs::path rel = p.lexically_relative(temp.path());
        return !rel.empty() && *rel.begin() != "..";
    };
    for (const fs::path& p : {f.userData, f.parts, f.backups, f.tempPictures, f.unpack}) {
        EXPECT_TRUE(p.is_absolute()) << p;
        EXPECT_TRUE(inside(p)) << p;
    }
    EXPECT_EQ(f.tempPictures.filename(), "Tmps");
}

} // namespace
