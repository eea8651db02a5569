#pragma once

// The parts palette ("グループの選択"): the folders of the parts library as a tree, the parts of the
// chosen folder in pages of 15 thumbnails or as a list. Placing mode inserts the part clicked and
// hands it to the view's placement; save mode writes a selected group as a part file and deletes
// part files. PartsPaletteForm holds every rule; PartsPalette only shows it.

#include "building/PartFiles.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kov::platform {
class Profile;
class Questions;
class Surface;
}

namespace kov::tools {
class ToolMachine;
}

namespace kov::dialogs {

class ThumbnailGrid;

inline constexpr std::string_view kBadLibrary = "部品の保管場所が不正です";
inline constexpr std::string_view kChooseFolder = "フォルダを選択して下さい";
inline constexpr std::string_view kChooseSelectMode = "選択モードにしてください";
inline constexpr std::string_view kFolderMissing =
    "フォルダがみつかりません。\nフォルダ一覧をリロードしなおしますので、作業中の図面を保存して、"
    "再度アプリケーションを起動してください";
inline constexpr std::string_view kNoPartName = "部品の名称が入力されていません";
inline constexpr std::string_view kPartNameTooLong = "部品の名称が長すぎます";
inline constexpr std::string_view kPartExists = "同じファイル名が存在します。上書しますか？";
inline constexpr std::string_view kAddFolderNotice =
    "部品配置に反映するには、一旦アプリケーションを終了してから再度起動してください。";
// Names that cannot be file names.
inline constexpr std::string_view kPartNameRefused = "部品の名称に使えない文字が含まれています";
inline constexpr std::string_view kFolderNameRefused = "フォルダの名称に使えない文字が含まれています";
inline constexpr std::string_view kFolderNotMade = "フォルダを作成できませんでした";

class PartsPaletteForm {
public:
    enum Mode { PLACING = 1, SAVING = 2 };
    static constexpr int kCells = 15;
    static constexpr int kMostFolders = 128;
    static constexpr int kMostSubFolders = 63;

    struct Folder {
        std::string name;
        std::vector<std::string> subFolders;
    };

    PartsPaletteForm(kov::tools::ToolMachine& machine, kov::platform::Profile& profile,
                     kov::platform::Questions& questions, std::filesystem::path root);

    // -- state ------------------------------------------------------------------------------------
    int m_nMode = PLACING;
    std::vector<Folder> m_Folders;      // in display order
    int m_nFolder = -1;                 // folder index, -1 none
    int m_nSubFolder = 0;               // 0 the folder itself, 1.. its sub-folders
    std::vector<std::string> m_PartNames;
    int m_nPart = -1;
    int m_nPage = -1;
    bool m_bListMode = false;
    std::string m_strName;              // the name edit
    const CKovUnit* m_pSave = nullptr;  // save mode: the container holding the group to save
    // Shown as the palette's title and told when the palette is to close (OK of a save, a library
    // that cannot be read).
    std::function<void()> onClose;

    // -- the library ------------------------------------------------------------------------------
    // Lists the folders (in the saved order when it names every folder), restores the last choice.
    // False with the message shown when the root cannot be listed or holds no folder.
    bool ReloadFolders();
    void ListPartFiles();
    std::filesystem::path FolderPath() const;
    std::filesystem::path PartPath(int index) const;
    // The part of a cell of the page shown (-1 beyond the parts) and its name.
    int CellPart(int cell) const;
    std::string CellName(int cell) const;
    bool PrevEnabled() const { return m_nPage > 0; }
    bool NextEnabled() const;
    bool DeleteEnabled() const;
    std::string Title() const { return m_nMode == PLACING ? "部品の配置" : "グループの保存"; }

    // Draws a part into a rectangle; false (nothing drawn) when the file gives no part.
    bool DrawThumbnail(kov::platform::Surface& dc, int index, const DeviceRect& cell, int dpi = 96);

    // -- what the user does -----------------------------------------------------------------------
    void ChooseFolder(int folder, int subFolder);
    // A click on a cell of the page; in placing mode the part is placed at once.
    void ClickCell(int cell);
    void ChooseListEntry(int index);
    void PrevPage();
    void NextPage();
    void SetListMode(bool on);
    void SetContinuous(bool on);
    void SetBlackWhite(bool on);
    // OK or Enter: places the chosen part (placing mode) or saves under the typed name (save mode).
    void OnOK();
    void OnCancel();
    // Save mode: deletes the chosen part file after asking.
    void DeletePart();
    // "ﾌｫﾙﾀﾞ追加...": a new folder under the root, or inside the chosen folder when `inside`.
    void AddFolder(const std::string& name, bool inside);
    // The placement summary, its reset and the options changed: a part being placed is placed again.
    std::string PlacementSummary() const;
    void ResetPlacement();
    void OptionsChanged();

    bool Continuous() const;
    bool BlackWhite() const;

private:
    void rememberChoice();
    bool placeChosenPart();
    void save();

    kov::tools::ToolMachine& m_machine;
    kov::platform::Profile& m_profile;
    kov::platform::Questions& m_questions;
    std::filesystem::path m_root;
    CPlotInfo m_previewPlot;
    kov::building::PartFileCache m_thumbnails;
};

class PartsPalette : public QDialog {
    Q_OBJECT
public:
    PartsPalette(kov::tools::ToolMachine& machine, kov::platform::Profile& profile,
                 kov::platform::Questions& questions, std::filesystem::path root, QWidget* parent = nullptr);
    PartsPaletteForm& form() { return m_form; }

    // Opens in placing mode or in save mode with the
    // container holding the group to save. False when the library cannot be shown.
    bool OpenForPlacing();
    bool OpenForSaving(const CKovUnit& group);
    // Redraws the page from the form.
    void Refresh();
    // The screen rectangle of a cell (tests click it).
    QRect cellRect(int cell) const;

    // Esc or the close box.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillTree();
    void syncControls();

    PartsPaletteForm m_form;
    ThumbnailGrid* m_grid = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_next = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_list = nullptr;
    QListWidget* m_listWidget = nullptr;
    QLabel* m_preview = nullptr;
    QCheckBox* m_continuous = nullptr;
    QCheckBox* m_blackWhite = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_options = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_addFolder = nullptr;
    bool m_filling = false;
};

} // namespace kov::dialogs
