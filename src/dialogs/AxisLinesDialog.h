#pragma once

// "自動通り芯作成画面": the spacings of the axis lines (the values file) and how the lines are
// numbered, labelled, drawn and on which layer they go. OK writes the settings and the file.

#include "model/AxisValueFile.h"

#include <QDialog>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace kov::platform {
class Profile;
class Questions;
}

namespace kov::dialogs {

class AxisLinesForm {
public:
    static constexpr std::string_view kTooManyValues = "値はそれぞれ200個まで指定できます。";

    AxisLinesForm(const AxisLineSettings& settings, const kov::model::AxisValues& values, int layerGroup, int layer);

    // The list the buttons act on: 0 the x list ("X"), 1 the y list ("Y").
    int target = 0;
    std::vector<std::string> items[2];   // the spacings as "%.2f", in the user's order
    int selected[2] = {-1, -1};
    AxisLineSettings settings;
    int layerGroup = 0;
    int layer = 0;

    // The list buttons with the "mm" edit's text; an entry that is not above 0 does nothing. Add
    // returns the message to show when the list is full, else empty.
    std::string_view Add(const std::string& entry);
    void Insert(const std::string& entry);
    void Change(const std::string& entry);
    void Delete();
    void ClearAll();
    // Choosing an item turns its list's button on; its text goes into the edit.
    std::string Choose(int list, int index);

    kov::model::AxisValues Values() const;
    // OK: the settings and the values file; false when the file could not be written (the
    // settings are written all the same).
    bool Save(kov::platform::Profile& profile, const std::filesystem::path& file) const;

private:
    // The entry as an item text, empty when it is not above 0.
    static std::string itemOf(const std::string& entry);
};

class CAutoToorisinDlg : public QDialog {
public:
    CAutoToorisinDlg(kov::platform::Profile& profile, kov::platform::Questions& questions,
                     std::filesystem::path valuesFile, int layerGroup, int layer, QWidget* parent = nullptr);
    AxisLinesForm& form() { return m_form; }
    void accept() override;

    QListWidget* m_lists[2] = {};
    QRadioButton* m_targets[2] = {};
    QLineEdit* m_entry = nullptr;
    QRadioButton* m_fromLeft = nullptr;
    QRadioButton* m_fromRight = nullptr;
    QRadioButton* m_fromTop = nullptr;
    QRadioButton* m_fromBottom = nullptr;
    QLineEdit* m_xNumber = nullptr;
    QLineEdit* m_xSymbol = nullptr;
    QComboBox* m_xPlace = nullptr;
    QLineEdit* m_yNumber = nullptr;
    QLineEdit* m_ySymbol = nullptr;
    QComboBox* m_yPlace = nullptr;
    QCheckBox* m_dimensions = nullptr;
    QCheckBox* m_split = nullptr;
    QComboBox* m_lineType = nullptr;
    QLabel* m_swatch = nullptr;
    QComboBox* m_layerGroup = nullptr;
    QComboBox* m_layer = nullptr;

private:
    void refreshLists();
    void paintSwatch();

    AxisLinesForm m_form;
    kov::platform::Profile& m_profile;
    kov::platform::Questions& m_questions;
    std::filesystem::path m_file;
};

} // namespace kov::dialogs
