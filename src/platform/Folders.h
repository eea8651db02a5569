#pragma once

// Where the program finds its installed data and keeps the user's. Installed data (fittings,
// elevation fittings, material symbols, the parts library as shipped, samples, guides) is read-only;
// everything the program writes lives under the user's XDG data folders. Every folder can be set,
// so tests point them all at a temporary directory.

#include <filesystem>
#include <string>

namespace kov::platform {

class Profile;

// The user data that the common folder setting can take over, one switch each.
enum class UserData { Parts, TempPictures, Backups, RoomList, QuotationList, AxisValues, Unpack };

// The folder settings of section KOV_T_UTILITY as read by the caller.
struct CommonFolderSwitches {
    std::filesystem::path commonFolder; // path_set_forda; empty means the default places
    bool parts = false;                 // path_data_flg
    bool tempPictures = false;          // path_itizi_flg
    bool backups = false;               // path_back_flg
    bool roomList = false;              // path_room_flg
    bool quotationList = false;         // path_inyou_flg
    bool axisValues = false;            // path_ats_flg
    bool unpack = false;                // path_assyuku_flg
};

// Reads the switches from section KOV_T_UTILITY; a switch is set when its value is not 0.
CommonFolderSwitches readCommonFolderSwitches(const Profile& profile);

inline constexpr const char* kRoomListFile = "kovroom.txt";
inline constexpr const char* kQuotationListFile = "kovtex.txt";
inline constexpr const char* kAxisValuesFile = "ats_atai.csv";

// "kovbkfl.dat" for generation 0, "kovbkfl1.dat" .. "kovbkfl4.dat" for the older ones.
std::string backupFileName(int generation);

enum class LibraryFill { Filled, AlreadyThere, NoInstalledCopy, Failed };

struct Folders {
    // Installed, read-only.
    std::filesystem::path installed;         // root: help, guides, read-me
    std::filesystem::path fittings;          // "tateg"
    std::filesystem::path elevationFittings; // "ritutateg"
    std::filesystem::path symbols;           // "hyouki"
    std::filesystem::path installedParts;    // "data", the shipped parts library
    std::filesystem::path samples;           // "sample"

    // Writable user data.
    std::filesystem::path userData;     // the lists, and the place the common folder replaces
    std::filesystem::path parts;        // the user's parts library ("data")
    std::filesystem::path backups;
    std::filesystem::path tempPictures; // "Tmps"
    std::filesystem::path unpack;       // old packed documents are unpacked here

    // Every folder under three roots: the installed data, the user's data, the machine-local data.
    static Folders under(const std::filesystem::path& installedRoot, const std::filesystem::path& userRoot,
                         const std::filesystem::path& localRoot);
    // The installed data found by findInstalledData(), the user's folders from QStandardPaths
    // AppDataLocation and AppLocalDataLocation (set the application's names before calling).
    static Folders defaults();
    // $KOVIRA_DATA_DIR, <executable>/../share/kovira, then "kovira" in the XDG data folders; the
    // first that exists, else <executable>/../share/kovira.
    static std::filesystem::path findInstalledData();

    // Where one kind of user data lives: the common folder when its switch is set and the folder is
    // named (the parts library as its "data" sub-folder, everything else in it directly), else the
    // default place.
    std::filesystem::path folderFor(UserData kind, const CommonFolderSwitches& switches) const;

    std::filesystem::path roomListFile(const CommonFolderSwitches& switches) const;
    std::filesystem::path quotationListFile(const CommonFolderSwitches& switches) const;
    std::filesystem::path axisValuesFile(const CommonFolderSwitches& switches) const;
    std::filesystem::path backupFile(int generation, const CommonFolderSwitches& switches) const;

    // Creates the writable folders that are missing; false when one cannot be made.
    bool createWritableFolders() const;

    // First run: when the user's parts library is missing or empty, copies the installed one into
    // it (writable by the user). A failed copy leaves no half-filled library behind.
    LibraryFill fillPartsLibrary() const;
    // Copies the installed room and quotation lists to the user's folder where they are missing.
    void copyMissingLists() const;
};

// Creates a folder and its parents; true when it exists afterwards.
bool ensureFolder(const std::filesystem::path& folder);

} // namespace kov::platform
