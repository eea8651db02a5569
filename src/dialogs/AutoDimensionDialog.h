#pragma once

// "寸法線自動作成設定": the height and distance of the automatic dimensions around the walls,
// which walls they measure and on which layer group they are made.

#include <QDialog>

#include <string>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace kov::dialogs {

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
