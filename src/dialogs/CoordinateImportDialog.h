#pragma once

// "出力図形タイプ選択": how the points of a coordinate file are read and placed. The form holds the
// choices and their settings; the dialog only shows them.

#include <QDialog>

#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

struct CoordinateImportChoice {
    double offsetX = 0;   // mm, negative to the left
    double offsetY = 0;   // mm in sheet coordinates, negative upwards
    int figureType = 0;   // 0 lines, 1 polygon, 2 continuous line
    int surveying = 0;    // 1: the file's axes are surveying axes
    int unit = 0;         // 0 metres, 1 millimetres
    int referenceRow = 0; // 1..row count; 0 with noReference
    int noReference = 0;
};

struct CoordinateImportForm {
    int rowCount = 0;
    // The controls' state.
    int surveying = 0;
    int unit = 0;
    int figureType = 0;
    bool leftward = false; // "←" ticked, else "→"
    bool upward = true;    // "↑" ticked, else "↓"
    std::string dxText = "0", dyText = "0";
    std::string referenceText = "1"; // the reference list's text, as typed or chosen
    bool noReference = false;

    // Opening: the remembered axes, unit, directions and reference tick; lines, zero offsets, row 1.
    void Load(const kov::platform::Profile& profile, int rows);
    // OK: writes the five settings and gives the choice. A typed row is clamped to 1..row count; a
    // reference text that is no number gives no reference.
    CoordinateImportChoice Accept(kov::platform::Profile& profile) const;
};

class CZahyoOutputDlg : public QDialog {
public:
    CZahyoOutputDlg(kov::platform::Profile& profile, int rowCount, QWidget* parent = nullptr);
    const CoordinateImportChoice& choice() const { return m_choice; }
    void accept() override;

    QRadioButton *m_math = nullptr, *m_survey = nullptr, *m_metres = nullptr, *m_millimetres = nullptr;
    QRadioButton *m_lines = nullptr, *m_polygon = nullptr, *m_polyline = nullptr;
    QRadioButton *m_left = nullptr, *m_right = nullptr, *m_up = nullptr, *m_down = nullptr;
    QLineEdit *m_dx = nullptr, *m_dy = nullptr;
    QComboBox* m_reference = nullptr;
    QCheckBox* m_noReference = nullptr;

private:
    kov::platform::Profile& m_profile;
    CoordinateImportForm m_form;
    CoordinateImportChoice m_choice;
};

} // namespace kov::dialogs
