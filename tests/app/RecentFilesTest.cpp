#include "DocumentTestSupport.h"

#include "app/RecentFiles.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using kov::app::FileListForm;
using kov::app::ReadRecentList;
using kov::app::UpdateRecentList;
using kov::platform::MemoryProfile;
using kov::platform::ScriptedQuestions;

namespace {

using Keys = std::vector<std::string>; // Recent1.. as stored, "" for an empty key

void store(MemoryProfile& profile, const Keys& keys)
{
    for (std::size_t i = 0; i < keys.size(); ++i)
        profile.WriteProfileString("KOV_T_RecentList", "Recent" + std::to_string(i + 1), keys[i]);
}

Keys stored(const MemoryProfile& profile)
{
    Keys keys;
    for (int i = 1; i <= 6; ++i) keys.push_back(profile.GetProfileString("KOV_T_RecentList", "Recent" + std::to_string(i)));
    return keys;
}

} // namespace

TEST(RecentFiles, NewPathHeadsAListOfAtMostSix)
{
    struct Case {
        const char* name;
        Keys before;
        std::string opened;
        Keys after;
    };
    const Case cases[] = {
        {"first entry", {}, "/d/a.kvr", {"/d/a.kvr", "", "", "", "", ""}},
        {"newest first", {"/d/a.kvr"}, "/d/b.kvr", {"/d/b.kvr", "/d/a.kvr", "", "", "", ""}},
        {"present moves to the top", {"/d/a.kvr", "/d/b.kvr", "/d/c.kvr"}, "/d/c.kvr",
         {"/d/c.kvr", "/d/a.kvr", "/d/b.kvr", "", "", ""}},
        {"same file by another spelling", {"/d/a.kvr", "/d/b.kvr"}, "/d/x/../b.kvr",
         {"/d/x/../b.kvr", "/d/a.kvr", "", "", "", ""}},
        {"letters of other case are other files", {"/d/a.kvr", "/d/b.kvr", "/d/C.kvr"}, "/d/c.kvr",
         {"/d/c.kvr", "/d/a.kvr", "/d/b.kvr", "/d/C.kvr", "", ""}},
        {"seventh drops the oldest", {"/1", "/2", "/3", "/4", "/5", "/6"}, "/7", {"/7", "/1", "/2", "/3", "/4", "/5"}},
        {"a gap closes", {"/1", "", "/3"}, "/9", {"/9", "/1", "/3", "", "", ""}},
        {"no entry shows twice behind a gap", {"/1", "", "/3"}, "/3", {"/3", "/1", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile profile;
        store(profile, c.before);
        UpdateRecentList(profile, c.opened);
        EXPECT_EQ(stored(profile), c.after);
    }

    MemoryProfile profile;
    store(profile, {"/1"});
    UpdateRecentList(profile, fs::path());
    EXPECT_EQ(ReadRecentList(profile), std::vector<std::string>{"/1"});
}

TEST(RecentFiles, FileListShowsRecentFilesOrFolderDocuments)
{
    kov::test::TempFolder temp;
    MemoryProfile profile;
    ScriptedQuestions questions;

    FileListForm recent(FileListForm::RecentFiles, "最近使用したファイル");
    questions.acknowledge("最近使ったファイルがありません。");
    EXPECT_EQ(recent.init(profile, questions), -1);
    EXPECT_FALSE(recent.accept(-1));

    store(profile, {"/d/a.kvr", "", "/d/b.kvr"});
    EXPECT_EQ(recent.init(profile, questions), 0);
    EXPECT_EQ(recent.lines(), (std::vector<std::string>{"/d/a.kvr", "/d/b.kvr"}));
    ASSERT_TRUE(recent.accept(1));
    EXPECT_EQ(recent.chosenPath(), fs::path("/d/b.kvr"));

    FileListForm samples(FileListForm::FolderDocuments, "サンプル", temp.path());
    questions.acknowledge("sampleファイルがみつかりませんでした。");
    EXPECT_EQ(samples.init(profile, questions), -1);
    for (const char* name : {"b.kvr", "a.KVR", "notes.txt"}) kov::test::writeBytes(temp.file(name), {1});
    fs::create_directory(temp.file("folder.kvr"));
    EXPECT_EQ(samples.init(profile, questions), 0);
    EXPECT_EQ(samples.lines(), (std::vector<std::string>{"a.KVR", "b.kvr"}));
    ASSERT_TRUE(samples.accept(1));
    EXPECT_EQ(samples.chosenPath(), temp.file("b.kvr"));
}

TEST(RecentFiles, OnlyPathsTheDocumentTakesEnterTheList)
{
    kov::test::DocumentRig rig;
    rig.addLine(1, 0, 2, 0);
    ASSERT_TRUE(rig.saveAs(rig.file("one.kvr")));
    ASSERT_TRUE(rig.saveAs(rig.file("two.kvr")));
    ASSERT_TRUE(rig.doc->OpenDocumentFile(rig.file("one.kvr")));
    EXPECT_EQ(ReadRecentList(rig.profile),
              (std::vector<std::string>{rig.file("one.kvr").string(), rig.file("two.kvr").string()}));
    ASSERT_TRUE(rig.doc->OpenAsNewDrawing(rig.file("two.kvr")));
    EXPECT_EQ(ReadRecentList(rig.profile),
              (std::vector<std::string>{rig.file("one.kvr").string(), rig.file("two.kvr").string()}));
}
