#pragma once

// The numbers of the line and circle tools: the angle panel of the line-by-angle tool (its angle
// and, optionally, a fixed length), the length panel of the line-by-length tool, the fixed-radius
// panel of the circle and arc tools, and the modal length dialog in which the perpendicular and
// circle-tangent tools take the length the pointer proposed. The panels edit the tool machine's
// own values as they are typed and write their settings when the tool ends.

#include "dialogs/ToolPanelClosing.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

// CKakudoSitei: the angle in degrees, whether the line has the fixed length, and that length
// (shared with the length panel).
class AnglePanelForm {
public:
    AnglePanelForm(double& angle, int& lengthGiven, double& length)
        : m_angle(angle), m_lengthGiven(lengthGiven), m_length(length)
    {
    }

    // The angle ("tool_kakudo_kakudo") and the length switch ("tool_kakudo_nagasack").
    void Load(const kov::platform::Profile& profile);
    // The angle list: the loaded angle ("%.2f"), then 0, 15 … 165.
    std::vector<std::string> Choices() const;
    std::string LengthText() const;
    bool LengthEnabled() const { return m_lengthGiven != 0; }

    // Entry 0 repeats the loaded angle and changes nothing; entry i is 15 × (i − 1) degrees.
    void OnChoice(int index);
    // A typed angle strictly between -360 and 360 is taken; anything else sets the angle 0 and
    // false asks the field to read "0".
    bool OnAngleTyped(const std::string& text);
    // Ticked: the length switch on and a length above 0 in the box taken.
    void OnLengthGiven(bool on, const std::string& lengthText);
    // A length above 0 is taken; others are ignored.
    void OnLengthTyped(const std::string& text);

    // The angle ("%.2f", when strictly between -360 and 360), the switch, and the length
    // ("tool_nagasa", "%.2f") only while the switch is on.
    void Save(kov::platform::Profile& profile) const;

    double angle() const { return m_angle; }
    int lengthGiven() const { return m_lengthGiven; }
    double length() const { return m_length; }

private:
    double& m_angle;
    int& m_lengthGiven;
    double& m_length;
    double m_loaded = 0;
};

// CKyoriLineDlg: the length of the line-by-length tool.
class LengthPanelForm {
public:
    static constexpr const char* kTitle = "長さ指定";
    static constexpr const char* kLabel = "一点目から二点目への距離";

    explicit LengthPanelForm(double& length) : m_length(length) {}
    std::string Text() const;
    // A length above 0 is taken; others are ignored.
    void OnTyped(const std::string& text);
    // "tool_nagasa", "%.2f".
    void Save(kov::platform::Profile& profile) const;
    double length() const { return m_length; }

private:
    double& m_length;
};

// CHankeiKoteiDg: the fixed radius of the circle and arc tools and its switch.
class FixedRadiusForm {
public:
    static constexpr const char* kCheck = "半径固定";

    FixedRadiusForm(double& radius, int& fixed) : m_radius(radius), m_fixed(fixed) {}
    std::string Text() const;
    void OnCheck(bool on) { m_fixed = on ? 1 : 0; }
    // A radius above 0 is taken; others are ignored.
    void OnTyped(const std::string& text);
    // "tool_hankeikotei_atai" ("%.2f") and "tool_hankeikotei_check".
    void Save(kov::platform::Profile& profile) const;
    double radius() const { return m_radius; }
    int fixed() const { return m_fixed; }

private:
    double& m_radius;
    int& m_fixed;
};

// CKyoriModalDg: one length, as proposed by the tool; any number typed is taken.
class LengthDialogForm {
public:
    LengthDialogForm(std::string title, double distance) : m_title(std::move(title)), m_distance(distance) {}
    const std::string& title() const { return m_title; }
    std::string Text() const;
    void OnOK(const std::string& text);
    double distance() const { return m_distance; }

private:
    std::string m_title;
    double m_distance;
};

// The angle panel on the tool's values.
class AnglePanel : public QDialog, public ClosingToolPanel {
    Q_OBJECT
public:
    AnglePanel(double& angle, int& lengthGiven, double& length, kov::platform::Profile& profile,
               QWidget* parent = nullptr);
    ~AnglePanel() override;
    AnglePanelForm& form() { return m_form; }
    // After every change the tool's preview follows.
    std::function<void()> onChanged;
    void SaveOnClose() override;

private:
    void changed();

    AnglePanelForm m_form;
    kov::platform::Profile& m_profile;
    QComboBox* m_angle;
    QCheckBox* m_lengthGiven;
    QLineEdit* m_length;
};

// The length panel on the tool's length.
class LengthPanel : public QDialog, public ClosingToolPanel {
    Q_OBJECT
public:
    LengthPanel(double& length, kov::platform::Profile& profile, QWidget* parent = nullptr);
    LengthPanelForm& form() { return m_form; }
    std::function<void()> onChanged;
    void SaveOnClose() override;

private:
    LengthPanelForm m_form;
    kov::platform::Profile& m_profile;
};

// The fixed-radius panel on the tool's radius and switch.
class FixedRadiusPanel : public QDialog, public ClosingToolPanel {
    Q_OBJECT
public:
    FixedRadiusPanel(double& radius, int& fixed, kov::platform::Profile& profile, QWidget* parent = nullptr);
    FixedRadiusForm& form() { return m_form; }
    std::function<void()> onChanged;
    void SaveOnClose() override;

private:
    FixedRadiusForm m_form;
    kov::platform::Profile& m_profile;
};

// The modal length dialog.
class LengthDialog : public QDialog {
    Q_OBJECT
public:
    LengthDialog(const std::string& title, double distance, QWidget* parent = nullptr);
    const LengthDialogForm& form() const { return m_form; }
    void accept() override;

private:
    LengthDialogForm m_form;
    QLineEdit* m_edit;
};

} // namespace kov::dialogs
