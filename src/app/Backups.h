#pragma once

// Five generations of backup copies of the drawing in the backup folder: "kovbkfl.dat" (the newest,
// written by the document) and "kovbkfl1.dat".."kovbkfl4.dat", older in this order. The rotation runs
// at the first update after every new or opened drawing; a backup is reopened from a list of their
// times.

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace kov::platform {
class Profile;
struct Folders;
} // namespace kov::platform

namespace kov::app {

inline constexpr int kBackupGenerations = 5;

// The backup folder now: the common folder when `path_back_flg` is set, else the default one.
std::filesystem::path BackupFolder(const kov::platform::Profile& profile, const kov::platform::Folders& folders);
// Generation 1-4 "kovbkfl<n>.dat", any other number the newest "kovbkfl.dat".
std::filesystem::path BackupFilePath(const kov::platform::Profile& profile, const kov::platform::Folders& folders,
                                     int number);

// `app_backup` of KOV_T_UTILITY (default 1): the generations are in use.
bool BackupsEnabled(const kov::platform::Profile& profile);
// Marks that the next rotation must be skipped (a backup is being reopened), and clears the mark.
void SetBackupOpening(kov::platform::Profile& profile, bool opening);

// The rotation: nothing while backups are off; skipped once (flag cleared) while `backing_flg` is
// set, a missing flag counting as set; otherwise 4 is dropped, 3→4, 2→3, 1→2 moved and the newest
// copied to 1 with its time kept. Only files that exist are shifted. False when a file could not
// be moved or copied (the rest still ran).
bool RotateBackupFiles(kov::platform::Profile& profile, const kov::platform::Folders& folders);

// The last-write time of a file as "year.MM.DD hh:mm:ss" in local time, the hour padded with a space.
std::string FormatBackupTime(const std::tm& local);

struct BackupEntry {
    int number = 0;     // 0 the newest, 1-4 older
    std::string label;  // its time, FormatBackupTime
};

// The backup list dialog's logic: one line per existing backup, newest generation first.
class BackupListForm {
public:
    // Fills the lines from the files that exist; returns the line to select (0, or -1 when none).
    int init(const kov::platform::Profile& profile, const kov::platform::Folders& folders);
    // OK: the chosen number becomes that of the selected line (-1 stays when none is selected).
    void accept(int selectedLine);

    const std::vector<BackupEntry>& entries() const { return m_entries; }
    int chosenNumber() const { return m_chosen; }

private:
    std::vector<BackupEntry> m_entries;
    int m_chosen = -1;
};

} // namespace kov::app
