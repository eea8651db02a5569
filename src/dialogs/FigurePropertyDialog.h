#pragma once

// The figure property dialog: line colour, line type, width type, end marks and their size (the
// fill shape for arcs), fill and fill colour, a gradient with its second colour and direction,
// hatching and opacity of one style slot of a plot settings object. As the figure tools' panel
// ("作図図形の設定") it edits the document's own settings at every change; as "選択図形のプロパティ"
// it edits a copy that the caller applies to figures after OK. LinePropForm holds the values and
// rules; CLinePropSetDg only shows them.

#include "render/Swatches.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CPlotInfo;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kov::platform {
class Profile;
class Questions;
class Surface;
}

namespace kov::dialogs {

class LinePropForm {
public:
    enum class Mode { ToolDefaults, Selection };
    enum Target { LineTarget = 0, FillTarget = 1, SecondTarget = 2 };
    static constexpr int kCells = 26;
    static constexpr int kColumns = 13;
    static const std::array<std::uint32_t, kCells> kBasicColours;
    // The hatch codes of the hatch picture's six cells, left to right.
    static constexpr std::array<int, 6> kHatchCells{3, 4, 5, 2, 0, 1};

    // kind: the figure kind the dialog edits the style of (5, a dimension, has no slot).
    LinePropForm(CPlotInfo& plot, kov::platform::Profile& profile, kov::platform::Questions& questions, Mode mode,
                 int kind);

    // The style slot of a figure kind: 0 for lines and continuous lines, the kind for 1-4, -1 else.
    static int SlotOfKind(int kind);
    int slot() const { return m_slot; }
    int kind() const { return m_kind; }
    Mode mode() const { return m_mode; }
    CPlotInfo& plot() { return m_plot; }
    const CPlotInfo& plot() const { return m_plot; }

    // What the controls show, as RefreshControls leaves them and the events change them.
    struct Shown {
        Target target = LineTarget;
        bool fillChecked = false;
        bool hatchChecked = false;
        bool gradientChecked = false;
        int direction = 0;          // list index, degrees / 45
        std::string opacityText;
        std::string spacingText;
        int lineType = 0;           // list selections, -1 none
        int widthIndex = 0;
        int endMark = -1;
        int markSize = -1;
        std::string endMarksLabel;  // "線の端点", "塗り形状" or empty
        std::string markSizeLabel;  // "端点の大きさ" or empty
        std::vector<std::string> endMarkItems;
        std::vector<std::string> markSizeItems;
    };
    struct Enabled {
        bool fillRadio = true, secondRadio = true, fillCheck = true, gradientGroup = true, gradientCheck = true,
             direction = true, opacity = true, hatchCheck = true, spacing = true, endMarks = true, markSize = true,
             styleLists = true, palettes = true;
    };
    const Shown& shown() const { return m_shown; }
    const Enabled& enabled() const { return m_enabled; }
    std::string title() const;
    bool okCancelShown() const { return m_mode == Mode::Selection; }
    // The 26 user colours and the cell that "他の色を選択..." fills next (shown by a dotted frame).
    const std::array<std::uint32_t, kCells>& userColours() const { return m_userColours; }
    int userCursor() const { return m_userCursor; }

    // Fills every control from the edited slot (the dialog's RefreshControls).
    void RefreshControls();

    // -- events, each writing into the edited slot as it happens (nothing without a slot) ----------
    void OnFillChecked(bool on);
    void OnTargetChosen(Target target);
    void OnHatchChecked(bool on);
    void OnGradientChecked(bool on);
    void OnDirectionChosen(int index);
    void OnOpacityEdited(const std::string& text);
    void OnLineTypeChosen(int index);
    void OnWidthChosen(int index);
    void OnEndMarkChosen(int index);
    void OnMarkSizeChosen(int index);
    void OnSpacingEdited(const std::string& text);
    // The spacing box lost the focus: a value outside 1 to 29 mm is said (the text stays).
    void OnSpacingLeft(const std::string& text);

    // The cell a point of a palette of that size hits, strictly inside a cell; -1 on a grid line,
    // in the strip the integer cell width leaves over, or outside.
    static int PaletteCell(int x, int y, int width, int height);
    // The hatch code of the hatch picture's cell at x, -1 on a border or past the sixth cell.
    static int HatchCellCode(int x, int y, int width, int height);
    void ClickBasicCell(int cell);
    void ClickUserCell(int cell);
    void ClickHatchCode(int code);
    // "他の色を選択...": the colour chooser; the colour goes where a palette click would put it and
    // into the next user cell of the ring. False when cancelled.
    bool PickOtherColour();

    // The pictures: the style sample, a palette with its optional dotted frame, the hatch cells.
    void DrawSample(kov::platform::Surface& dc, int width, int height, const SwatchEnvironment& env) const;
    static void DrawPalette(kov::platform::Surface& dc, int width, int height,
                            const std::array<std::uint32_t, kCells>& colours, int framedCell);
    static void DrawHatchPicture(kov::platform::Surface& dc, int width, int height);

private:
    void setColour(std::uint32_t colour);
    void loadUserColours();

    CPlotInfo& m_plot;
    kov::platform::Profile& m_profile;
    kov::platform::Questions& m_questions;
    Mode m_mode;
    int m_kind;
    int m_slot;
    Shown m_shown;
    Enabled m_enabled;
    std::array<std::uint32_t, kCells> m_userColours{};
    int m_userCursor = 0;
};

class CLinePropSetDg : public QDialog {
    Q_OBJECT
public:
    CLinePropSetDg(CPlotInfo& plot, kov::platform::Profile& profile, kov::platform::Questions& questions,
                   LinePropForm::Mode mode, int kind, SwatchEnvironment env = {}, QWidget* parent = nullptr);
    LinePropForm& form() { return m_form; }
    // Shows the form again (after RefreshControls or any event).
    void Sync();
    // Heard after every change the panel writes (the frame redraws its tool sample).
    std::function<void()> onChanged;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void changed();
    void drawPictures();

    LinePropForm m_form;
    SwatchEnvironment m_env;
    bool m_syncing = false;
    QLabel* m_sample = nullptr;
    QLabel* m_basic = nullptr;
    QLabel* m_user = nullptr;
    QLabel* m_hatch = nullptr;
    QComboBox* m_lineType = nullptr;
    QComboBox* m_width = nullptr;
    QLabel* m_endMarksLabel = nullptr;
    QComboBox* m_endMarks = nullptr;
    QLabel* m_markSizeLabel = nullptr;
    QComboBox* m_markSize = nullptr;
    QButtonGroup* m_targets = nullptr;
    QRadioButton* m_targetButtons[3] = {};
    QCheckBox* m_fill = nullptr;
    QWidget* m_gradientGroup = nullptr;
    QCheckBox* m_gradient = nullptr;
    QComboBox* m_direction = nullptr;
    QLabel* m_opacityLabel = nullptr;
    QLineEdit* m_opacity = nullptr;
    QLabel* m_percent = nullptr;
    QPushButton* m_other = nullptr;
    QCheckBox* m_hatchCheck = nullptr;
    QLineEdit* m_spacing = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace kov::dialogs
