#pragma once

// The fittings palette ("建具配置"), the window of the fitting tool: the library's fittings by kind
// in pages of thumbnails, and the tool's settings (width, thickness, placement reference, options,
// line colour). Choosing a thumbnail chooses what the tool's next three clicks place; the palette
// inserts nothing itself. FittingsPaletteForm holds the rules; FittingsPalette shows them.

#include "building/PartFiles.h"
#include "building/Fittings.h"
#include "building/PartLibrary.h"
#include "model/DrawTransform.h"
#include "model/PlotInfo.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

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

class FittingsPaletteForm {
public:
    FittingsPaletteForm(kov::tools::ToolMachine& machine, kov::platform::Profile& profile,
                        kov::platform::Questions& questions, std::filesystem::path root);

    int m_nCells = 8;                   // cells a page: 8 (2 × 4) or 15 (3 × 5), tategu_hyouzi_kazu
    int m_nKind = -1;                   // kind position 0-11, -1 none
    int m_nFitting = -1;                // fitting index in the kind's list, -1 none
    int m_nPage = -1;
    std::vector<kov::building::FittingEntry> m_Fittings;
    // The frame's snap buttons follow a change of the placement reference.
    std::function<void()> onSnapsChanged;

    // Lists the kind folders, restores the last choice. False with the message shown when the root
    // holds no kind folder.
    bool ReloadFolders();
    void ListFittingFiles();
    int Columns() const { return m_nCells == 15 ? 3 : 2; }
    // The fitting of a cell of the page (-1 beyond the list) and the name it shows.
    int CellFitting(int cell) const;
    std::string CellName(int cell) const;
    bool PrevEnabled() const { return m_nPage > 0; }
    bool NextEnabled() const;
    bool OptionsEnabled() const;
    bool DrawThumbnail(kov::platform::Surface& dc, int index, const DeviceRect& cell, int dpi = 96);

    void ChooseKind(int position);
    void ClickCell(int cell);
    void PrevPage();
    void NextPage();
    // Width and thickness: mode 1 takes the typed value; the texts are taken at every change when
    // they give a usable value (a width from above 0 up to 30000, a thickness the same).
    void SetWidthMode(int mode);
    void OnWidthText(const std::string& text);
    void SetThicknessMode(int mode);
    void OnThicknessText(const std::string& text);
    std::string WidthText() const;
    std::string ThicknessText() const;
    // "壁芯" (true) or "角": written to tateg_seti, and the wall-core and line snaps follow.
    void SetOnWallCore(bool wallCore);
    bool OnWallCore() const;
    // The option boxes: 0 "雨戸", 1 "シャッタ", 2 "格子" exclude each other; 3 "網戸" adds 10.
    void OnOptionBox(int box, bool ticked);
    bool OptionTicked(int box) const;
    void ResetFittingOptions();
    void SetColour(std::uint32_t colour);
    std::uint32_t Colour() const;
    // Esc or the close box: the choice remembered, the options reset, select mode.
    void OnCancel();
    const kov::building::FittingChoice& Choice() const;

private:
    kov::tools::ToolMachine& m_machine;
    kov::platform::Profile& m_profile;
    kov::platform::Questions& m_questions;
    std::filesystem::path m_root;
    CPlotInfo m_previewPlot;
    kov::building::PartFileCache m_thumbnails;
};

class FittingsPalette : public QDialog {
    Q_OBJECT
public:
    FittingsPalette(kov::tools::ToolMachine& machine, kov::platform::Profile& profile,
                    kov::platform::Questions& questions, std::filesystem::path root, QWidget* parent = nullptr);
    FittingsPaletteForm& form() { return m_form; }

    // Shows the palette (the kind folders are read the first time). False when the library cannot
    // be shown.
    bool Open();
    void Refresh();
    QRect cellRect(int cell) const;
    // Closing the palette leaves the fitting tool: the frame shows select mode.
    std::function<void()> onCancelled;

    // Esc or the close box.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void syncControls();
    FittingsPaletteForm m_form;
    bool m_loaded = false;
    QListWidget* m_kinds = nullptr;
    ThumbnailGrid* m_grid = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_next = nullptr;
    QButtonGroup* m_widthMode = nullptr;
    QLineEdit* m_width = nullptr;
    QButtonGroup* m_thicknessMode = nullptr;
    QLineEdit* m_thickness = nullptr;
    QButtonGroup* m_placement = nullptr;
    std::array<QCheckBox*, 4> m_options{};
    QLabel* m_colour = nullptr;
    bool m_filling = false;
};

// "建具の幅、厚み変更": the width and thickness of the selected fitting.
class FittingSizeForm {
public:
    FittingSizeForm(double width, double depth);
    std::string m_strWidth, m_strDepth;
    double m_dWidth = 0, m_dDepth = 0;
    // "変更する": empty when both are taken, else the message to show (the dialog stays open). Only
    // values above 0 are taken.
    std::string OnChange();
};

class CTategPropDlg : public QDialog {
    Q_OBJECT
public:
    CTategPropDlg(double width, double depth, kov::platform::Questions& questions, QWidget* parent = nullptr);
    FittingSizeForm& form() { return m_form; }

private:
    FittingSizeForm m_form;
};

} // namespace kov::dialogs
