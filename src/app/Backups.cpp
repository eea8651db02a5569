#include "app/Backups.h"

#include "model/SettingsValues.h"
#include "platform/Folders.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <chrono>
#include <system_error>

namespace fs = std::filesystem;
using kov::model::kSectionUtility;
using kov::platform::formatInt;

namespace kov::app {

namespace {

bool isFile(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// Copies whole or not at all (temporary file renamed over the target), keeping the source's time:
// the backup list shows when the drawing was backed up, not when it was rotated.
bool copyKeepingTime(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(from, ec);
    if (ec) return false;
    fs::path temp = to;
    temp += ".part";
    fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::last_write_time(temp, time, ec);
    if (!ec) fs::rename(temp, to, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

std::string padded(int value, int width, char fill)
{
    std::string s = formatInt(value);
    if (int(s.size()) < width) s.insert(0, std::size_t(width) - s.size(), fill);
    return s;
}

} // namespace

fs::path BackupFolder(const kov::platform::Profile& profile, const kov::platform::Folders& folders)
{
    return folders.folderFor(kov::platform::UserData::Backups, kov::platform::readCommonFolderSwitches(profile));
}

fs::path BackupFilePath(const kov::platform::Profile& profile, const kov::platform::Folders& folders, int number)
{
    const int generation = number >= 1 && number < kBackupGenerations ? number : 0;
    return BackupFolder(profile, folders) / kov::platform::backupFileName(generation);
}

bool BackupsEnabled(const kov::platform::Profile& profile)
{
    return profile.GetProfileInt(kSectionUtility, "app_backup", 1) != 0;
}

void SetBackupOpening(kov::platform::Profile& profile, bool opening)
{
    profile.WriteProfileInt(kSectionUtility, "backing_flg", opening ? 1 : 0);
}

bool RotateBackupFiles(kov::platform::Profile& profile, const kov::platform::Folders& folders)
{
    if (!BackupsEnabled(profile)) return true;
    const bool skipOnce = profile.GetProfileInt(kSectionUtility, "backing_flg", 1) != 0;
    SetBackupOpening(profile, false);
    if (skipOnce) return true;
    bool ok = true;
    std::error_code ec;
    const fs::path oldest = BackupFilePath(profile, folders, kBackupGenerations - 1);
    if (isFile(oldest) && !fs::remove(oldest, ec)) ok = false;
    for (int n = kBackupGenerations - 2; n >= 1; --n) {
        const fs::path from = BackupFilePath(profile, folders, n);
        if (!isFile(from)) continue;
        fs::rename(from, BackupFilePath(profile, folders, n + 1), ec);
        if (ec) ok = false;
    }
    const fs::path newest = BackupFilePath(profile, folders, 0);
    if (isFile(newest) && !copyKeepingTime(newest, BackupFilePath(profile, folders, 1))) ok = false;
    return ok;
}

std::string FormatBackupTime(const std::tm& t)
{
    return formatInt(t.tm_year + 1900) + "." + padded(t.tm_mon + 1, 2, '0') + "." + padded(t.tm_mday, 2, '0') + " "
        + padded(t.tm_hour, 2, ' ') + ":" + padded(t.tm_min, 2, '0') + ":" + padded(t.tm_sec, 2, '0');
}

int BackupListForm::init(const kov::platform::Profile& profile, const kov::platform::Folders& folders)
{
    m_entries.clear();
    m_chosen = -1;
    for (int n = 0; n < kBackupGenerations; ++n) {
        const fs::path file = BackupFilePath(profile, folders, n);
        std::error_code ec;
        const fs::file_time_type time = fs::last_write_time(file, ec);
        if (ec || !isFile(file)) continue;
        const std::time_t seconds =
            std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(time));
        std::tm local{};
        localtime_r(&seconds, &local);
        m_entries.push_back({n, FormatBackupTime(local)});
    }
    return m_entries.empty() ? -1 : 0;
}

void BackupListForm::accept(int selectedLine)
{
    if (selectedLine >= 0 && selectedLine < int(m_entries.size())) m_chosen = m_entries[std::size_t(selectedLine)].number;
}

} // namespace kov::app
