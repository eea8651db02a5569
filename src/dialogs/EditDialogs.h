#pragma once

// The numbers the editing commands and tools ask for:
// - "選択グループの伸縮": two factors, or a new width and height from which they follow (the group
//   stretch command), in a factors-only form for the range scale tool ("囲った内容の伸縮率");
// - "移動距離" / "コピー（数値）" / "部分伸縮　伸縮距離": an offset by horizontal and vertical distances with
//   their directions and a distance along an angle; for copying also the number of copies and
//   whether each copy shifts by the selection's width or height;
// - the drawing centre tool's confirmation.
// Each keeps its values and rules in a form; the dialog only shows it.

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

class GroupStretchForm {
public:
    static constexpr const char* kTitle = "選択グループの伸縮";
    static constexpr const char* kRangeTitle = "囲った内容の伸縮率";

    // factorsOnly: the range tool's form, which neither reads nor writes the remembered choice.
    GroupStretchForm(double width, double height, bool factorsOnly) : m_width(width), m_height(height), m_factorsOnly(factorsOnly) {}

    double m_fx = 1.0, m_fy = 1.0;    // the result
    bool m_bySize = false;            // "数値指定" chosen, else "倍率指定"
    std::string m_factorX = "1.0", m_factorY = "1.0";
    std::string m_sizeX, m_sizeY;     // "%.2f" of the width and height

    void Load(const kov::platform::Profile& profile);
    std::string Title() const { return m_factorsOnly ? kRangeTitle : kTitle; }
    bool FactorsOnly() const { return m_factorsOnly; }
    bool SizeChoiceEnabled() const { return !m_factorsOnly; }
    bool FactorEditsEnabled() const { return !m_bySize; }
    bool SizeEditsEnabled() const { return m_bySize && !m_factorsOnly; }
    // OK: the factors from the edits; never refuses.
    void OnOK(kov::platform::Profile& profile);

private:
    double m_width, m_height;
    bool m_factorsOnly;
};

class GroupStretchDialog : public QDialog {
    Q_OBJECT
public:
    GroupStretchDialog(double width, double height, bool factorsOnly, kov::platform::Profile& profile,
                       QWidget* parent = nullptr);
    const GroupStretchForm& form() const { return m_form; }
    void accept() override;

private:
    void syncEnabled();
    GroupStretchForm m_form;
    kov::platform::Profile& m_profile;
    QRadioButton* m_byFactor;
    QRadioButton* m_bySize;
    QLineEdit* m_edits[4];
};

class ObjectMoveForm {
public:
    enum Mode { MOVE = 0, COPY = 1, STRETCH = 2 };
    static constexpr const char* kMoveTitle = "移動距離";
    static constexpr const char* kCopyTitle = "コピー（数値）";
    static constexpr const char* kStretchTitle = "部分伸縮　伸縮距離";
    static constexpr double kLimit = 32000;

    explicit ObjectMoveForm(Mode mode) : m_mode(mode) {}

    // Entries as typed.
    bool m_right = true, m_down = false;
    std::string m_x = "0", m_y = "0", m_angle = "0", m_distance = "0", m_copies = "1";
    int m_shiftChoice = 0; // 0 none, 1 by the width, 2 by the height
    // The result.
    double m_dx = 0, m_dy = 0;
    int m_nCopies = 1;
    int m_nShift = 0;

    void Load(const kov::platform::Profile& profile);
    std::string Title() const;
    std::string OkText() const;
    Mode mode() const { return m_mode; }
    void OnOK(kov::platform::Profile& profile);

private:
    Mode m_mode;
};

class ObjectMoveDialog : public QDialog {
    Q_OBJECT
public:
    ObjectMoveDialog(ObjectMoveForm::Mode mode, kov::platform::Profile& profile, QWidget* parent = nullptr);
    const ObjectMoveForm& form() const { return m_form; }
    void accept() override;

private:
    ObjectMoveForm m_form;
    kov::platform::Profile& m_profile;
    QRadioButton* m_right;
    QRadioButton* m_down;
    QLineEdit* m_x;
    QLineEdit* m_y;
    QComboBox* m_angle;
    QLineEdit* m_distance;
    QComboBox* m_copies;
    QComboBox* m_shift;
};

// "図面中心点変更": the drawing centre tool's question, with the choice of every layer group.
class OriginChangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit OriginChangeDialog(const std::string& message, QWidget* parent = nullptr);
    bool allGroups() const;

private:
    QCheckBox* m_all;
};

} // namespace kov::dialogs
