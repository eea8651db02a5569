#include "platform/Folders.h"
#include "platform/NumberText.h"
#include "platform/PathUL.h"
#include "platform/Profile.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace kov::platform {

namespace {

fs::path standardFolder(QStandardPaths::StandardLocation location)
{
    QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.local/share/Kovira");
    return fs::path(folder.toStdString());
}

bool isNonEmptyFolder(const fs::path& folder)
{
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    return fs::directory_iterator(folder, ec) != fs::directory_iterator();
}

// Copies a tree the user is to own: folders are made afresh (an installed folder may be read-only,
// and a copy of its mode would refuse the files), files become writable by the user.
bool copyTreeForUser(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    if (!fs::create_directories(to, ec) && ec) return false;
    for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const fs::path target = to / it->path().lexically_relative(from);
        if (it->is_directory(ec)) {
            fs::create_directories(target, ec);
        } else if (it->is_regular_file(ec)) {
            fs::copy_file(it->path(), target, ec);
            if (!ec) fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
        }
        if (ec) return false;
    }
    return !ec;
}

} // namespace

CommonFolderSwitches readCommonFolderSwitches(const Profile& profile)
{
    constexpr std::string_view section = "KOV_T_UTILITY";
    auto flag = [&](std::string_view key) { return profile.GetProfileInt(section, key, 0) != 0; };
    CommonFolderSwitches sw;
    sw.commonFolder = profile.GetProfileString(section, "path_set_forda", "");
    sw.parts = flag("path_data_flg");
    sw.tempPictures = flag("path_itizi_flg");
    sw.backups = flag("path_back_flg");
    sw.roomList = flag("path_room_flg");
    sw.quotationList = flag("path_inyou_flg");
    sw.axisValues = flag("path_ats_flg");
    sw.unpack = flag("path_assyuku_flg");
    return sw;
}

std::string backupFileName(int generation)
{
    if (generation <= 0) return "kovbkfl.dat";
    return "kovbkfl" + formatInt(generation) + ".dat";
}

bool ensureFolder(const fs::path& folder)
{
    return !folder.empty() && CPathUL::CreateMultiDirectory(folder.string()) == 1;
}

Folders Folders::under(const fs::path& installedRoot, const fs::path& userRoot, const fs::path& localRoot)
{
    Folders f;
    f.installed = installedRoot;
    f.fittings = installedRoot / "tateg";
    f.elevationFittings = installedRoot / "ritutateg";
    f.symbols = installedRoot / "hyouki";
    f.installedParts = installedRoot / "data";
    f.samples = installedRoot / "sample";
    f.userData = userRoot;
    f.parts = userRoot / "data";
    f.backups = userRoot;
    f.tempPictures = localRoot / "Tmps";
    f.unpack = localRoot / "unpack";
    return f;
}

Folders Folders::defaults()
{
    return under(findInstalledData(), standardFolder(QStandardPaths::AppDataLocation),
                 standardFolder(QStandardPaths::AppLocalDataLocation));
}

fs::path Folders::findInstalledData()
{
    std::error_code ec;
    if (const char* env = std::getenv("KOVIRA_DATA_DIR"); env && *env && fs::is_directory(env, ec))
        return fs::path(env);

    fs::path beside;
    if (std::string exe = CPathUL::GetModuleFileNameA(); !exe.empty())
        beside = fs::path(CPathUL::GetLastSeparatePath(exe)).parent_path() / "share" / "kovira";
    if (!beside.empty() && fs::is_directory(beside, ec)) return beside;

    const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("kovira"),
                                                 QStandardPaths::LocateDirectory);
    if (!found.isEmpty()) return fs::path(found.toStdString());
    return beside;
}

fs::path Folders::folderFor(UserData kind, const CommonFolderSwitches& sw) const
{
    // An empty common folder (as the reset of all settings leaves it) keeps the default place
    // rather than a path relative to wherever the program was started.
    const bool common = !sw.commonFolder.empty();
    switch (kind) {
    case UserData::Parts: return common && sw.parts ? sw.commonFolder / "data" : parts;
    case UserData::TempPictures: return common && sw.tempPictures ? sw.commonFolder : tempPictures;
    case UserData::Backups: return common && sw.backups ? sw.commonFolder : backups;
    case UserData::RoomList: return common && sw.roomList ? sw.commonFolder : userData;
    case UserData::QuotationList: return common && sw.quotationList ? sw.commonFolder : userData;
    case UserData::AxisValues: return common && sw.axisValues ? sw.commonFolder : userData;
    case UserData::Unpack: return common && sw.unpack ? sw.commonFolder : unpack;
    }
    return userData;
}

fs::path Folders::roomListFile(const CommonFolderSwitches& sw) const
{
    return folderFor(UserData::RoomList, sw) / kRoomListFile;
}

fs::path Folders::quotationListFile(const CommonFolderSwitches& sw) const
{
    return folderFor(UserData::QuotationList, sw) / kQuotationListFile;
}

fs::path Folders::axisValuesFile(const CommonFolderSwitches& sw) const
{
    return folderFor(UserData::AxisValues, sw) / kAxisValuesFile;
}

fs::path Folders::backupFile(int generation, const CommonFolderSwitches& sw) const
{
    return folderFor(UserData::Backups, sw) / backupFileName(generation);
}

bool Folders::createWritableFolders() const
{
    bool ok = true;
    for (const fs::path* folder : {&userData, &parts, &backups, &tempPictures, &unpack})
        ok = ensureFolder(*folder) && ok;
    return ok;
}

LibraryFill Folders::fillPartsLibrary() const
{
    std::error_code ec;
    if (isNonEmptyFolder(parts)) return LibraryFill::AlreadyThere;
    if (fs::exists(parts, ec) && !fs::is_directory(parts, ec)) return LibraryFill::Failed;
    if (installedParts.empty() || !fs::is_directory(installedParts, ec)) return LibraryFill::NoInstalledCopy;

    // Copy beside the target and move it into place whole, so an interrupted first run is repeated.
    fs::path staging = parts;
    staging += ".filling";
    fs::remove_all(staging, ec);
    if (!ensureFolder(parts.parent_path())) return LibraryFill::Failed;
    if (copyTreeForUser(installedParts, staging)) {
        fs::remove(parts, ec); // only an empty folder can be here
        if (!ec) fs::rename(staging, parts, ec);
        if (!ec) return LibraryFill::Filled;
    }
    fs::remove_all(staging, ec);
    return LibraryFill::Failed;
}

void Folders::copyMissingLists() const
{
    std::error_code ec;
    for (const char* name : {kRoomListFile, kQuotationListFile}) {
        const fs::path from = installed / name;
        const fs::path to = userData / name;
        if (!fs::is_regular_file(from, ec) || fs::exists(to, ec)) continue;
        if (!ensureFolder(userData)) return;
        if (fs::copy_file(from, to, ec))
            fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    }
}

} // namespace kov::platform
