#pragma once

// "寸法詳細設定" (how dimension values look and how they are obtained) and "寸法線自動作成設定"
// (the automatic dimensions around the walls). Both keep their values in plain forms.

#include <QDialog>

#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace kov::dialogs {

// The ten values of the dimension settings, as the settings page copies them in and out.
struct DimensionStyleValues {
    int textHeight = 3;          // PlotSunpoTextHeight, paper mm
    int decimals = 0;            // PlotSunpokurai 0-3
    int endMark = 0;             // PlotSunpoTanten 0, 3, 6, 9, 12
    int endMarkSize = 2;         // PlotSunpoYawide 0-4
    int unit = 0;                // PlotSunpoTani 0 mm, 1 cm, 2 m
    int grouping = 0;            // PlotSunpoKugiri 0-3
    int valueShown = 1;          // PlotSunpoTextView
    std::string face = "ＭＳ ゴシック"; // PlotSunpoFont
    int valueMode = 1;           // config_sunpo_bunkai: 0 measured, 1 typed
    int extensionStart = 0;      // PlotSunpoOffset, paper mm
};

class DimensionStyleForm {
public:
    explicit DimensionStyleForm(const DimensionStyleValues& v) : m_values(v) {}

    // The list entries chosen when the dialog opens; -1 leaves a list without a choice.
    int DecimalsIndex() const;
    int EndMarkIndex() const;
    int EndMarkSizeIndex() const;
    int UnitIndex() const;
    int GroupingIndex() const;
    // The font list: adjacent duplicates removed; the stored face's entry, else the first.
    static std::vector<std::string> FontNames(const std::vector<std::string>& enumerated);
    int FaceIndex(const std::vector<std::string>& names) const;

    // OK: the controls as they stand (-1 for a list without a choice).
    struct Controls {
        std::string textHeight, extensionStart, face;
        int decimals = -1, endMark = -1, endMarkSize = -1, unit = -1, grouping = -1;
        bool shown = true, typed = true;
    };
    void OnOK(const Controls& c, const std::vector<std::string>& enumerated);

    const DimensionStyleValues& values() const { return m_values; }

private:
    DimensionStyleValues m_values;
};

class CSunpoSetDlg : public QDialog {
public:
    CSunpoSetDlg(const DimensionStyleValues& values, QWidget* parent = nullptr);
    const DimensionStyleValues& values() const { return m_form.values(); }
    void accept() override;

    QLineEdit* m_textHeight = nullptr;
    QComboBox* m_decimals = nullptr;
    QComboBox* m_endMark = nullptr;
    QComboBox* m_endMarkSize = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_grouping = nullptr;
    QRadioButton* m_shown = nullptr;
    QRadioButton* m_hidden = nullptr;
    QComboBox* m_face = nullptr;
    QRadioButton* m_measured = nullptr;
    QRadioButton* m_typed = nullptr;
    QLineEdit* m_extensionStart = nullptr;

private:
    DimensionStyleForm m_form;
    std::vector<std::string> m_enumerated;
};

// The automatic dimensions' values: lengths in paper mm, the scope and the two layers.
struct AutoDimensionValues {
    int height = 8;
    int distance = 8;
    int scope = 0;               // 0 every wall, 2 the walls of one layer
    int wallLayerGroup = 0, wallLayer = 0;
    int outputLayerGroup = 0, outputLayer = 0;
};

class AutoDimensionForm {
public:
    explicit AutoDimensionForm(const AutoDimensionValues& v) : m_values(v) {}

    // The position a layer group takes in the lists "0", "1", "2": a negative one "0", one above
    // 2 no choice (-1).
    static int LayerIndex(int layerGroup);
    // OK: the edits as integers (empty 0); with one layer chosen its list's position is the wall
    // layer group; a list without a choice keeps the group it opened with.
    void OnOK(const std::string& height, const std::string& distance, bool allLayers, int wallIndex,
              int outputIndex);

    const AutoDimensionValues& values() const { return m_values; }

private:
    AutoDimensionValues m_values;
};

class CSunpouAutoDlg : public QDialog {
public:
    CSunpouAutoDlg(const AutoDimensionValues& values, QWidget* parent = nullptr);
    const AutoDimensionValues& values() const { return m_form.values(); }
    void accept() override;

    QLineEdit* m_height = nullptr;
    QLineEdit* m_distance = nullptr;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_one = nullptr;
    QComboBox* m_wallLayer = nullptr;
    QComboBox* m_outputLayer = nullptr;

private:
    AutoDimensionForm m_form;
};

} // namespace kov::dialogs
