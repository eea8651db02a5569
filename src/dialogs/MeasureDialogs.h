#pragma once

// The results of measuring: "測定" shows one measured value in the unit the user picks and lets
// the text be edited before "文字として出力して閉じる" puts it into the drawing; "オブジェクトの数測定"
// counts the drawing's objects by kind on the editing layer, its layer group or every layer, and
// puts the ticked counts into the drawing as one text.

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class CKovUnit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kov::dialogs {

// CSokuteidlg.
class MeasureResultForm {
public:
    static constexpr const char* kTitle = "測定";
    static constexpr const char* kOutput = "文字として出力して閉じる";
    static constexpr const char* kClose = "閉じる";

    std::string label;
    std::array<std::string, 5> texts;  // by unit code
    std::array<std::string, 5> units;  // unit names by unit code
    int unit = 0;

    // The unit list: the names of the codes 0, 2, 1, 3, 4.
    std::vector<std::string> ListNames() const;
    // The list line of the current code; -1 for a code outside 0-4.
    int ListLine() const;
    // The text the edit shows for the current code (empty for a code outside 0-4).
    std::string EditText() const;
    // A new line of the list: its code becomes current.
    void OnChoice(int line);
    // OK: the edit's text replaces the current code's text.
    void OnOK(const std::string& edited);
    // The text that goes into the drawing.
    std::string Output() const { return EditText(); }
};

class MeasureResultDialog : public QDialog {
    Q_OBJECT
public:
    explicit MeasureResultDialog(MeasureResultForm form, QWidget* parent = nullptr);
    const MeasureResultForm& form() const { return m_form; }
    void accept() override;

private:
    MeasureResultForm m_form;
    QLineEdit* m_edit;
};

// CObjCountDlg.
class ObjectCountForm {
public:
    static constexpr const char* kTitle = "オブジェクトの数測定";
    enum Scope { ALL_LAYERS = 0, LAYER_GROUP = 1, LAYER = 2 };
    enum Row { PARTS = 0, ROOMS, FITTINGS, WALLS, COLUMNS, FIGURES, TEXTS, PICTURES, kRows };
    static const std::array<const char*, kRows> kBoxes;

    // Counts the container's objects, on the editing layer to begin with.
    ObjectCountForm(const CKovUnit& unit, int layerGroup, int layer);

    // "レイヤー%d-%d", "グループレイヤー%d" or "全レイヤー".
    std::string Caption() const;
    void OnScope(int scope);
    int scope() const { return m_scope; }
    // The result line beside each box.
    const std::array<std::string, kRows>& Lines() const { return m_lines; }
    std::array<bool, kRows> ticked{true, true, true, true, true, true, true, true};
    // The lines of the ticked boxes, in order, joined by CR LF; empty when none is ticked.
    std::string Output() const;

private:
    void count();

    const CKovUnit& m_unit;
    int m_group;
    int m_layer;
    int m_scope = LAYER;
    std::array<std::string, kRows> m_lines;
};

class ObjectCountDialog : public QDialog {
    Q_OBJECT
public:
    ObjectCountDialog(const CKovUnit& unit, int layerGroup, int layer, QWidget* parent = nullptr);
    ObjectCountForm& form() { return m_form; }
    // Shows the form's scope, counts and ticks again.
    void Refresh();

private:
    ObjectCountForm m_form;
    QLabel* m_caption;
    std::array<QCheckBox*, ObjectCountForm::kRows> m_boxes{};
    std::array<QLabel*, ObjectCountForm::kRows> m_lines{};
};

} // namespace kov::dialogs
