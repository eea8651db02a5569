#pragma once

// "二重線" panel (no title) of the double-line, two-lines, balcony, polygon and continuous-line
// tools: the distances left and right of the path, the arc mode with its divisions, the end
// treatment of double lines and the finish button. It edits the tool machine's values directly.

#include "dialogs/ToolPanelClosing.h"

#include <QDialog>

#include <functional>
#include <string>
#include <string_view>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kov::platform {
class Profile;
}
namespace kov::tools {
class ToolMachine;
}

namespace kov::dialogs {

class DoubleLineForm {
public:
    // mode: 0 two lines, 1 double line and balcony, 2 double-line polygon, 3 polygon, 4 continuous line,
    // 5 outer-wall line (the finish button only: its line has no offsets and no arcs)
    DoubleLineForm(kov::tools::ToolMachine& machine, kov::platform::Profile& profile, int mode);

    struct Controls {
        bool distances = true;     // the two distance edits with their captions
        bool arc = true;           // the "アール" group
        bool arcEnabled = true;    // "アール作成" and the division list enabled
        bool divisions = true;     // the division list shown
        bool finish = true;        // "作図終了"
        bool endTreatment = true;  // "ノーマル", "バルコニー", "壁"
    };
    Controls controls() const;

    std::string LeftText() const;   // "%.2f"
    std::string RightText() const;
    int DivisionIndex() const;      // "12" .. "120": divisions / 12 - 1
    int EndTreatmentIndex() const;  // tool_nijyuusen_balmode: 1 and 2 as they are, else 0
    bool ArcOn() const;

    // Either edit changed: both are read; unless both are 0 the changed side takes its value.
    void OnDistanceEdited(bool left, const std::string& leftText, const std::string& rightText);
    // "アール作成": off when on; on only with two or more points. The message to show, or empty.
    std::string_view OnArcButton();
    void OnDivisionChosen(int index);
    void OnEndTreatmentChosen(int index);
    // "作図終了": the chain is finished as a double click would, unless the arc mode is on.
    void OnFinish();
    // The panel goes: distances and divisions written, the arc mode off.
    void Save();

    int mode() const { return m_mode; }

private:
    kov::tools::ToolMachine& m_machine;
    kov::platform::Profile& m_profile;
    int m_mode;
};

class CNisenDlg : public QDialog, public ClosingToolPanel {
public:
    CNisenDlg(kov::tools::ToolMachine& machine, kov::platform::Profile& profile, int mode,
              std::function<void(std::string_view)> showMessage, std::function<void()> redraw,
              QWidget* parent = nullptr);
    DoubleLineForm& form() { return m_form; }
    void SaveOnClose() override;
    // The arc mode ended in the tool: the button follows without touching the machine.
    void UncheckArcButton();

    QLineEdit* m_left = nullptr;
    QLineEdit* m_right = nullptr;
    QPushButton* m_arc = nullptr;
    QComboBox* m_divisions = nullptr;
    QComboBox* m_endTreatment = nullptr;
    QPushButton* m_finish = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    DoubleLineForm m_form;
    std::function<void(std::string_view)> m_showMessage;
    std::function<void()> m_redraw;
};

} // namespace kov::dialogs
