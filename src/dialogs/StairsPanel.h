#pragma once

// "階段作成": the stairs tool's panel. It edits the tool machine's stairs record, which every click
// of the tool reads; the record is written to the settings when the panel is closed.

#include "dialogs/ToolPanelClosing.h"
#include "model/StairsSettings.h"

#include <QDialog>

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
}

namespace kov::dialogs {

class StairsForm {
public:
    explicit StairsForm(StairsSettings& record) : m_record(record) {}

    // Which controls are enabled for the flight mode (and step mode).
    struct Enabled {
        bool squareCorners = false, turns = false, steps = false, treadCheck = false, treadWidth = false,
             straightLabels = false;
    };
    Enabled enabled() const;

    std::string TreadText() const;  // "%.1f"
    int StepIndex() const { return m_record.kaidan_dansuu - 1; }
    int TurnIndex() const { return m_record.kaidan_magarisuu - 1; }

    void OnMode(int mode);
    void OnTreadCheck(bool on);
    // A width above 10 and at most 32000 is taken; any other text leaves the last one.
    void OnTreadText(const std::string& text);
    void OnSteps(int index) { m_record.kaidan_dansuu = index + 1; }
    void OnTurns(int index) { m_record.kaidan_magarisuu = index + 1; }
    void OnSquare(bool on) { m_record.kaidan_magarisikaku = on ? 1 : 0; }
    void OnFill(bool on) { m_record.kaidan_nakanuri = on ? 1 : 0; }
    void OnPlacement(bool wallCore) { m_record.kaidan_kabesin = wallCore ? 1 : 2; }
    // "▼": the colour chooser on the fill colour; false when cancelled.
    bool OnColourButton(kov::platform::Questions& questions);

    const StairsSettings& record() const { return m_record; }

private:
    StairsSettings& m_record;
};

class CKaidanDlg : public QDialog, public ClosingToolPanel {
public:
    CKaidanDlg(StairsSettings& record, kov::platform::Profile& profile, kov::platform::Questions& questions,
               QWidget* parent = nullptr);
    StairsForm& form() { return m_form; }
    void SaveOnClose() override;

    QRadioButton* m_modes[4] = {};
    QComboBox* m_steps = nullptr;
    QCheckBox* m_treadCheck = nullptr;
    QLineEdit* m_tread = nullptr;
    QComboBox* m_turns = nullptr;
    QCheckBox* m_square = nullptr;
    QCheckBox* m_fill = nullptr;
    QLabel* m_swatch = nullptr;
    QPushButton* m_colour = nullptr;
    QRadioButton* m_wallCore = nullptr;
    QRadioButton* m_face = nullptr;

private:
    void applyEnabled();
    void paintSwatch();

    StairsForm m_form;
    kov::platform::Profile& m_profile;
    kov::platform::Questions& m_questions;
    QLabel* m_stepsLabel = nullptr;
    QLabel* m_mmLabel = nullptr;
    QLabel* m_turnsLabel = nullptr;
};

} // namespace kov::dialogs
