#pragma once

// The elevation settings dialogs: "立面図作成画面" before the views are generated, "立面用屋根"
// after the roof tool's fourth click and "バルコニー高さ設定" after the balcony tool's double click.
// Each edits its own copy of the elevation settings; the caller loads and saves them.

#include "model/RituInfo.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace kov::dialogs {

// What the elevation dialog's controls hold.
struct ElevationControls {
    int floorIndex = 1;                       // "階数": item index, -1 none
    std::string eaves3, eaves2, eaves1, foundation;
    int direction = 0;                        // the ticked radio button 0-4, -1 none
    bool fromWalls = true, outerWallLines = true, roofs = true, fittings = true, label = true;
    std::array<int, 3> floorLayers{0, 1, 2};  // floors 1-3: item index, -1 none
    int outputGroup = 2, outputLayer = 0;
};

class ElevationForm {
public:
    explicit ElevationForm(const CRituInfo& ritu) : m_ritu(ritu) {}
    ElevationControls Init() const;
    // "作成": values that are out of range keep the old ones, without a message.
    void OnOK(const ElevationControls& c);
    const CRituInfo& values() const { return m_ritu; }

private:
    CRituInfo m_ritu;
};

struct RoofControls {
    bool hip = true;
    std::string pitchA, pitchB, eaves, verge;
};

class RoofForm {
public:
    explicit RoofForm(const CRituInfo& ritu) : m_ritu(ritu) {}
    RoofControls Init() const;
    // Each length and pitch is kept only when it is above 0.
    void OnOK(const RoofControls& c);
    const CRituInfo& values() const { return m_ritu; }

private:
    CRituInfo m_ritu;
};

class BalconyForm {
public:
    explicit BalconyForm(const CRituInfo& ritu) : m_ritu(ritu) {}
    // Whole numbers without decimals, others with one.
    static std::string Show(double value);
    std::array<std::string, 2> Init() const { return {Show(m_ritu.baltakasa), Show(m_ritu.baltoritakasa)}; }
    // The height only when above 0; the mounting height whatever it is.
    void OnOK(const std::string& height, const std::string& mounting);
    const CRituInfo& values() const { return m_ritu; }

private:
    CRituInfo m_ritu;
};

class CRitumenSetDlg : public QDialog {
public:
    CRitumenSetDlg(const CRituInfo& ritu, QWidget* parent = nullptr);
    const CRituInfo& values() const { return m_form.values(); }
    void accept() override;

    QComboBox* m_floors = nullptr;
    std::array<QLineEdit*, 4> m_heights{};          // 3rd, 2nd, 1st floor eaves, foundation
    std::array<QRadioButton*, 5> m_directions{};
    std::array<QCheckBox*, 5> m_checks{};           // from walls, outer-wall lines, roofs, fittings, label
    std::array<QComboBox*, 3> m_floorLayers{};      // floors 3, 2, 1 as shown
    QComboBox* m_outputGroup = nullptr;
    QComboBox* m_outputLayer = nullptr;

private:
    ElevationForm m_form;
};

class CRituYaneDlg : public QDialog {
public:
    CRituYaneDlg(const CRituInfo& ritu, QWidget* parent = nullptr);
    const CRituInfo& values() const { return m_form.values(); }
    void accept() override;

    QRadioButton* m_hip = nullptr;
    QRadioButton* m_gable = nullptr;
    QLineEdit* m_pitchA = nullptr;
    QLineEdit* m_pitchB = nullptr;
    QLineEdit* m_eaves = nullptr;
    QLineEdit* m_verge = nullptr;

private:
    RoofForm m_form;
};

class CRituBalDlg : public QDialog {
public:
    CRituBalDlg(const CRituInfo& ritu, QWidget* parent = nullptr);
    const CRituInfo& values() const { return m_form.values(); }
    void accept() override;

    QLineEdit* m_height = nullptr;
    QLineEdit* m_mounting = nullptr;

private:
    BalconyForm m_form;
};

} // namespace kov::dialogs
