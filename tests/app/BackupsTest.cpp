#include "DocumentTestSupport.h"

#include "app/Backups.h"
#include "app/RecentFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace fs = std::filesystem;
using kov::app::BackupFilePath;
using kov::app::BackupListForm;
using kov::app::RotateBackupFiles;
using kov::platform::Answer;
using kov::test::DocumentRig;
using kov::test::fileBytes;
using kov::test::lineStarts;
using kov::test::writeBytes;

namespace {

// Backup n holds the single byte 'a' + n and was written n hours before the base time.
const fs::file_time_type kBase = fs::file_time_type::clock::now() - std::chrono::hours(24);

void makeBackups(DocumentRig& rig, const std::vector<int>& numbers)
{
    fs::create_directories(rig.doc->BackupFolder());
    for (int n : numbers) {
        const fs::path file = BackupFilePath(rig.profile, rig.folders, n);
        writeBytes(file, {std::uint8_t('a' + n)});
        fs::last_write_time(file, kBase - std::chrono::hours(n));
    }
}

// Per generation 0-4: the content byte, or '-' when missing, and the age in hours.
std::string contents(DocumentRig& rig)
{
    std::string s;
    for (int n = 0; n < 5; ++n) {
        const fs::path file = BackupFilePath(rig.profile, rig.folders, n);
        const auto bytes = fileBytes(file);
        if (!fs::exists(file) || bytes.size() != 1) {
            s += "-";
            continue;
        }
        s += char(bytes[0]);
        s += std::to_string(std::chrono::duration_cast<std::chrono::hours>(kBase - fs::last_write_time(file)).count());
    }
    return s;
}

} // namespace

TEST(Backups, RotationShiftsGenerationsWithTheirTimes)
{
    struct Case {
        const char* name;
        std::vector<int> present;
        std::string after;
    };
    const Case cases[] = {
        {"all five", {0, 1, 2, 3, 4}, "a0a0b1c2d3"},
        {"only the newest", {0}, "a0a0---"},
        {"gaps stay gaps", {0, 2}, "a0a0-c2-"},
        {"no newest", {1, 3}, "--b1-d3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentRig rig;
        makeBackups(rig, c.present);
        EXPECT_TRUE(RotateBackupFiles(rig.profile, rig.folders));
        EXPECT_EQ(contents(rig), c.after);
    }
}

TEST(Backups, RotationIsSkippedOnceWhileABackupOpensAndNeverWhenOff)
{
    struct Case {
        const char* name;
        int backup;   // app_backup, -1 unset
        int flag;     // backing_flg, -1 never written
        std::string after;
        int flagAfter;
    };
    const Case cases[] = {
        {"flag never written", -1, -1, "a0b1", 0},
        {"flag set", -1, 1, "a0b1", 0},
        {"flag clear", -1, 0, "a0a0b1", 0},
        {"backups off", 0, 0, "a0b1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kov::platform::MemoryProfile profile;
        DocumentRig rig;
        makeBackups(rig, {0, 1});
        if (c.backup >= 0) profile.WriteProfileInt("KOV_T_UTILITY", "app_backup", c.backup);
        if (c.flag >= 0) profile.WriteProfileInt("KOV_T_UTILITY", "backing_flg", c.flag);
        RotateBackupFiles(profile, rig.folders);
        std::string s;
        for (int n = 0; n < 5; ++n) {
            const fs::path file = BackupFilePath(profile, rig.folders, n);
            if (!fs::exists(file)) continue;
            s += char(fileBytes(file)[0]);
            s += std::to_string(std::chrono::duration_cast<std::chrono::hours>(kBase - fs::last_write_time(file)).count());
        }
        EXPECT_EQ(s, c.after);
        EXPECT_EQ(profile.GetProfileInt("KOV_T_UTILITY", "backing_flg", -1), c.flagAfter);
    }
}

TEST(Backups, ListShowsExistingBackupsByTime)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 3;
    t.tm_sec = 9;
    EXPECT_EQ(kov::app::FormatBackupTime(t), "2026.01.05  7:03:09");
    t.tm_hour = 23;
    EXPECT_EQ(kov::app::FormatBackupTime(t), "2026.01.05 23:03:09");

    DocumentRig rig;
    BackupListForm empty;
    EXPECT_EQ(empty.init(rig.profile, rig.folders), -1);
    empty.accept(-1);
    EXPECT_EQ(empty.chosenNumber(), -1);

    makeBackups(rig, {0, 3});
    BackupListForm form;
    EXPECT_EQ(form.init(rig.profile, rig.folders), 0);
    ASSERT_EQ(form.entries().size(), 2u);
    EXPECT_EQ(form.entries()[1].number, 3);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::file_clock::to_sys(fs::last_write_time(BackupFilePath(rig.profile, rig.folders, 3))));
    std::tm local{};
    localtime_r(&seconds, &local);
    EXPECT_EQ(form.entries()[1].label, kov::app::FormatBackupTime(local));
    form.accept(1);
    EXPECT_EQ(form.chosenNumber(), 3);
}

TEST(Backups, DrawingLeftBehindBecomesTheNewestBackupAndRotates)
{
    DocumentRig rig;
    rig.addLine(1, 0, 2, 0);
    rig.questions.reply(Answer::No, "への変更を保存しますか");
    ASSERT_TRUE(rig.doc->FileNew());
    // Written before the new drawing, then rotated by its start: both hold the drawing left behind.
    for (int n : {0, 1}) {
        kov::app::CKoviraDoc reader({rig.profile, rig.questions, rig.folders, {}});
        ASSERT_EQ(reader.OnOpenDocument(BackupFilePath(rig.profile, rig.folders, n)), 1);
        EXPECT_EQ(lineStarts(reader.m_Unit), std::vector<double>{1});
    }
    // An unchanged drawing writes no backup.
    const auto before = fs::last_write_time(BackupFilePath(rig.profile, rig.folders, 0));
    ASSERT_TRUE(rig.doc->FileNew());
    EXPECT_EQ(fs::last_write_time(BackupFilePath(rig.profile, rig.folders, 0)), before);

    rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_backup", 0);
    EXPECT_EQ(rig.doc->WriteBackupFile(), 0);
}

TEST(Backups, OpenedBackupIsANewDrawingAndDoesNotRotate)
{
    DocumentRig rig;
    const fs::path named = rig.file("named.kvr");
    rig.addLine(2, 0, 3, 0);
    ASSERT_TRUE(rig.saveAs(named));
    // Backup 2 holds this drawing; the others hold something else.
    ASSERT_EQ(rig.doc->WriteDocumentFile(BackupFilePath(rig.profile, rig.folders, 2)), 1);
    makeBackups(rig, {0, 1});
    const auto recent = kov::app::ReadRecentList(rig.profile);
    const auto before = fileBytes(BackupFilePath(rig.profile, rig.folders, 2));

    ASSERT_TRUE(rig.doc->OpenBackupFile(2));
    EXPECT_EQ(lineStarts(rig.doc->m_Unit), std::vector<double>{2});
    EXPECT_EQ(rig.doc->GetTitle(), "Kovira");
    EXPECT_TRUE(rig.doc->GetPathName().empty());
    EXPECT_EQ(kov::app::ReadRecentList(rig.profile), recent);
    EXPECT_EQ(fileBytes(BackupFilePath(rig.profile, rig.folders, 2)), before); // not rotated away

    // Leaving it asks; its save asks for a name. The next new drawing rotates again.
    rig.questions.reply(Answer::Yes, "Kovira への変更を保存しますか");
    rig.questions.pickSaveFile(rig.file("restored.kvr"));
    ASSERT_TRUE(rig.doc->FileNew());
    EXPECT_TRUE(fs::exists(rig.file("restored.kvr")));
    EXPECT_EQ(fileBytes(BackupFilePath(rig.profile, rig.folders, 3)), before);

    // Cancelling the question before the file-new opens nothing and leaves the next rotation due.
    rig.addLine(5, 0, 6, 0);
    rig.questions.reply(Answer::Cancel, "への変更を保存しますか");
    EXPECT_FALSE(rig.doc->OpenBackupFile(3));
    EXPECT_EQ(lineStarts(rig.doc->m_Unit), std::vector<double>{5});
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "backing_flg", 1), 0);
    rig.doc->SetModifiedFlag(false);

    // A missing backup is reported; the new drawing stays.
    fs::remove(BackupFilePath(rig.profile, rig.folders, 4));
    rig.questions.acknowledge("読み込めません");
    EXPECT_FALSE(rig.doc->OpenBackupFile(4));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 0);
}

// Leaving a changed drawing writes the newest backup; when that backup is the file being opened, the
// user must get the drawing they chose, not the one they were leaving.
TEST(Backups, TheNewestBackupOpensAsItWasWhileAChangedDrawingIsLeft)
{
    struct Case {
        const char* name;
        std::function<bool(kov::app::CKoviraDoc&, const fs::path&)> open;
    };
    const Case cases[] = {
        {"from the backup list", [](kov::app::CKoviraDoc& doc, const fs::path&) { return doc.OpenBackupFile(0); }},
        {"through the open dialog",
         [](kov::app::CKoviraDoc& doc, const fs::path& file) { return doc.OpenDocumentFile(file); }},
        {"as a new drawing", [](kov::app::CKoviraDoc& doc, const fs::path& file) { return doc.OpenAsNewDrawing(file); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentRig rig;
        const fs::path newest = BackupFilePath(rig.profile, rig.folders, 0);
        rig.addLine(2, 0, 3, 0);
        ASSERT_EQ(rig.doc->WriteBackupFile(), 1);
        const auto chosen = fileBytes(newest);
        rig.doc->m_Unit.RemoveAllObjects(CKovUnit::REMOVE_DISCARD_SNAPSHOT);
        rig.addLine(9, 0, 9, 1); // the drawing being left, not saved

        rig.questions.reply(Answer::No, "への変更を保存しますか");
        ASSERT_TRUE(c.open(*rig.doc, newest));
        EXPECT_EQ(lineStarts(rig.doc->m_Unit), std::vector<double>{2});
        EXPECT_TRUE(fileBytes(newest) == chosen) << "the chosen backup is still on the disk";
    }
}
