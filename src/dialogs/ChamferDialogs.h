#pragma once

// "面取り設定": how a corner is cut, a straight chamfer ("角面", sized by its face "面寸法" or by
// the cut along each line "辺寸法"), a rounded corner ("丸面") or an uneven straight notch ("Ｌ面"),
// and its sizes in drawing millimetres. The chamfer tool's panel edits the tool's values as they
// are typed; the modal dialog of the command that cuts every corner of a polyline edits a copy.

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

class ChamferForm {
public:
    static constexpr const char* kTitle = "面取り設定";
    // Modes: 0 straight by face length, 1 straight by edge length, 2 rounded, 3 L-shaped.
    enum Kind { STRAIGHT = 0, ROUND = 1, NOTCH = 2 };
    enum Measure { FACE = 0, EDGE = 1 };

    // The values edited: the four sizes (straight, radius, first and second length of the notch)
    // and the mode. The panel binds the tool's own values, the modal dialog a copy.
    ChamferForm(std::array<double, 4>& sizes, int& mode) : m_sizes(sizes), m_mode(mode) {}

    // What the controls show for the mode.
    struct Controls {
        int kind = STRAIGHT;
        std::string firstCaption, firstText;
        std::string secondCaption, secondText;
        bool secondEnabled = false;
        bool measuresEnabled = true;
        int measure = FACE;
    };
    Controls Show() const;

    // "角面" goes back to "面寸法" whatever was chosen before.
    void OnKind(int kind);
    // Only while "角面" is ticked.
    void OnMeasure(int measure);
    // A typed value that reads as 0 (or as no number) changes nothing.
    void OnFirstEdit(const std::string& text);
    void OnSecondEdit(const std::string& text);

    // The four sizes to "mentori_kakuatai", "mentori_maruatai", "mentori_l1atai" and "mentori_l2atai"
    // as "%.2f"; the mode is not kept.
    void Save(kov::platform::Profile& profile) const;
    // The four sizes as the settings hold them (default 300 each).
    static std::array<double, 4> Load(const kov::platform::Profile& profile);

    int mode() const { return m_mode; }
    const std::array<double, 4>& sizes() const { return m_sizes; }

private:
    std::array<double, 4>& m_sizes;
    int& m_mode;
};

// The controls both dialogs show, laid out tall and narrow (the panel) or in one row (the dialog).
class ChamferControls : public QWidget {
    Q_OBJECT
public:
    ChamferControls(ChamferForm& form, bool row, QWidget* parent = nullptr);
    // Shows the form's values without running the edit rules.
    void Refresh();

signals:
    void changed();

private:
    ChamferForm& m_form;
    QRadioButton* m_kinds[3];
    QRadioButton* m_measures[2];
    QLabel* m_firstCaption;
    QLineEdit* m_first;
    QLabel* m_secondCaption;
    QLineEdit* m_second;
};

// CMentoriDlg: the chamfer tool's panel on the tool's own values. Every accepted change is kept in
// the settings at once. Esc ends the tool (`onEscape`), Enter only closes the panel.
class ChamferPanel : public QDialog {
    Q_OBJECT
public:
    ChamferPanel(std::array<double, 4>& sizes, int& mode, kov::platform::Profile& profile,
                 QWidget* parent = nullptr);
    ChamferForm& form() { return m_form; }
    ChamferControls& controls() { return *m_controls; }
    std::function<void()> onEscape;

    void reject() override;
    void accept() override;

private:
    ChamferForm m_form;
    ChamferControls* m_controls;
};

// CMentoriTakakuDlg: the same on a copy, handed back on OK.
class ChamferDialog : public QDialog {
    Q_OBJECT
public:
    ChamferDialog(const std::array<double, 4>& sizes, int mode, QWidget* parent = nullptr);
    ChamferForm& form() { return m_form; }
    ChamferControls& controls() { return *m_controls; }
    const std::array<double, 4>& sizes() const { return m_sizes; }
    int mode() const { return m_mode; }

private:
    std::array<double, 4> m_sizes;
    int m_mode;
    ChamferForm m_form;
    ChamferControls* m_controls;
};

} // namespace kov::dialogs
