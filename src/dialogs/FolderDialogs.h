#pragma once

// Where the user's data lives and how it moves: the folder settings "設定ファイルの場所" (one
// common folder and a switch per kind of data), the shared folder chooser, and the transfer of the
// room list, the quotation list and the parts library to and from a folder "kov6_conv".

#include "platform/Folders.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <string>

namespace kov::platform {
class Profile;
class Questions;
} // namespace kov::platform

namespace kov::dialogs {

struct SettingsServices;

// The shell's folder chooser with its fixed title; the initial path unchanged when cancelled, so
// that callers tell a choice from a cancel by comparing.
std::string BrowseForFolder(kov::platform::Questions& questions, const std::string& initial);

class FolderSettingsForm {
public:
    static constexpr int kSwitches = 6;
    // The keys of the six check boxes, top to bottom.
    static constexpr const char* kKeys[kSwitches] = {"path_data_flg", "path_inyou_flg", "path_room_flg",
                                                     "path_back_flg", "path_itizi_flg", "path_assyuku_flg"};
    std::string folder;                 // path_set_forda
    std::array<int, kSwitches> on{};    // 0 or 1

    // An unset or empty folder shows the default place of the user's data.
    void Load(const kov::platform::Profile& profile, const std::filesystem::path& defaultFolder);
    // "参照...": a chosen folder different from the shown one replaces it.
    void Browse(kov::platform::Questions& questions);
    // OK: all seven values, changed or not.
    void Accept(kov::platform::Profile& profile) const;
};

class CPathSetDg : public QDialog {
public:
    CPathSetDg(kov::platform::Profile& profile, kov::platform::Questions& questions,
               const std::filesystem::path& defaultFolder, QWidget* parent = nullptr);
    FolderSettingsForm& form() { return m_form; }
    void accept() override;

private:
    FolderSettingsForm m_form;
    kov::platform::Profile& m_profile;
    kov::platform::Questions& m_questions;
};

// -- transfer ------------------------------------------------------------------------------------

inline constexpr const char* kTransferFolderName = "kov6_conv";

// The installation's side of the transfer, as the folder switches place it.
struct TransferPlaces {
    std::filesystem::path partsRoot;
    std::filesystem::path quotationList;
    std::filesystem::path roomList;
    static TransferPlaces Of(const kov::platform::Folders& folders, const kov::platform::CommonFolderSwitches& sw);
};

struct TreeCopyResult {
    bool listed = false; // the source root could be listed
    int copied = 0;
    int failed = 0;      // files not copied and folders not made or not listed
};

// The parts library's two levels: source/F/*mgp and source/F/G/*mgp copied to the same places under
// `target` (created as needed), overwriting. Files directly in the root and deeper folders are not
// part of the library. A folder that cannot be listed is counted and passed over.
TreeCopyResult CopyLibraryTree(const std::filesystem::path& source, const std::filesystem::path& target);

// "データ移行フォルダ作成": asks, lets the user choose a place, makes kov6_conv there with the two
// lists and the library, and says how it went.
void ExportTransferFolder(const SettingsServices& services);

// "部屋情報、部品データコンバート": copies a transfer folder's lists and library into the
// installation. The folder is chosen with "参照..." only.
class TransferImportForm {
public:
    std::string folder;
    void Browse(kov::platform::Questions& questions);
    // "データコンバート開始"; the dialog stays open.
    void Start(const SettingsServices& services) const;
};

class COldConvDlg : public QDialog {
public:
    COldConvDlg(const SettingsServices& services, QWidget* parent = nullptr);
    TransferImportForm& form() { return m_form; }

private:
    TransferImportForm m_form;
    const SettingsServices& m_services;
};

} // namespace kov::dialogs
