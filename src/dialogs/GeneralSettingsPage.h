#pragma once

// The page "全般" of the settings sheet: the sheet's copy of the plot settings (keyboard move steps,
// walls, inserted picture size, line widths, dash pitches, line-end sizes, dimension style), the
// picture output, picture loading, format file and fittings palette keys, and the buttons of the
// further dialogs and of the data management, reset of every setting among them.

#include "dialogs/DimensionStyleDialog.h"
#include "model/PlotInfo.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace kov::dialogs {

struct SettingsServices;
struct AutoPictureSaveForm;

class GeneralPageForm {
public:
    // The wall radios in their order, with the display mode each writes.
    enum WallRadio { WallWhite = 0, WallBlack = 1, WallColoured = 3, WallColouredEdge = 4 };

    explicit GeneralPageForm(const SettingsServices& services) : m_services(services) {}

    CPlotInfo plot;              // the sheet's copy of the document's plot settings
    int resetRequest = 0;        // 1: the reset of every setting was confirmed
    DimensionStyle dimensions;   // the dimension settings while the sheet is open

    std::string moveX, moveY;            // edits, digits only
    int pictureLoading = -1;             // config_gazouchoise 0-2, -1 none
    std::string pictureWidth, pictureHeight;
    int formatUse = 0;                   // config_format
    std::string formatPath;              // config_formatpath
    int wallMode = -1;                   // the checked wall radio's mode, -1 none
    std::string jpegQuality;             // gazou_jpeg_atu
    int sizeGiven = 0;                   // gazou_size
    std::string sizeWidth, sizeHeight;   // gazou_size_w, gazou_size_h
    int exactSize = 0;                   // app_gazou_justsize
    int doubleSize = 1;                  // app_gazoubai
    int transparentPng = 0;              // gazou_toukagif
    int autoSave = 0;                    // gazou_zidousave
    int fittings3x5 = 0;                 // tategu_hyouzi_kazu

    void OnInitDialog();
    bool doubleSizeEnabled() const { return sizeGiven == 0; }
    bool autoDetailsEnabled() const { return autoSave != 0; }

    // "▼" of the wall colour: true when a colour was chosen (the display mode stays).
    bool ChooseWallColour();
    // "参照...": the chosen template drawing into the path edit ("使用" stays).
    bool BrowseFormatFile();
    // "端点の形状": the sizes read from the settings, not from the copy; after the dialog's OK they
    // are written at once and go into the copy.
    std::array<double, CPlotInfo::kMarkSizes> StoredLineEndSizes() const;
    void TakeLineEndSizes(const std::array<double, CPlotInfo::kMarkSizes>& sizes);
    // "作業画面色の設定": the stored switch and colour; after the dialog's OK written at once.
    int StoredBackgroundSwitch() const;
    std::uint32_t StoredBackgroundColour() const;
    void TakeBackground(int own, std::uint32_t colour);
    // "自動詳細...": written at once after the dialog's OK.
    AutoPictureSaveForm StoredAutoSave() const;
    void TakeAutoSave(const AutoPictureSaveForm& values);
    // "全設定初期化": true when confirmed (the reset request set).
    bool ConfirmReset();
    // "設定ファイル場所変更": true when the user goes on to the folder settings.
    bool ConfirmFolderSettings();
    // "画像取り込み一時ファイルの削除".
    void PurgeTempPictures() const;

    void OnOK();

private:
    const SettingsServices& m_services;
};

class GeneralSettingsPage : public QWidget {
public:
    GeneralSettingsPage(GeneralPageForm& form, const SettingsServices& services, QWidget* parent = nullptr);
    void sync();
    // The reset button ends the sheet with OK without any page's OK.
    std::function<void()> onResetConfirmed;

private:
    GeneralPageForm& m_form;
    const SettingsServices& m_services;
};

} // namespace kov::dialogs
