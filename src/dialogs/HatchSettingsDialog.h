#pragma once

// The hatch settings ("模様（ハッチ）設定") of the hatch command: the pattern kind, its pitch, spacing,
// angle and base point in paper or real millimetres, the output layer, and a live preview at the
// view's zoom. CHachSetForm holds the values and rules and makes the lines; CHachSetDg only shows it.

#include "model/DrawTransform.h"
#include "model/PlotInfo.h"

#include <QDialog>

#include <array>
#include <string>
#include <utility>
#include <vector>

class CKovUnit;
class SelectionRecord;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

class CHachSetForm {
public:
    static constexpr const char* kTitle = "模様（ハッチ）設定";
    static constexpr const char* kPitchMessage = "実寸のピッチは100以上の数値を入力してください";
    static constexpr std::array<const char*, 5> kKinds = {"1本", "2本", "3本", "格子", "目地（レンガ）"};
    enum Kind { One = 0, Two = 1, Three = 2, Grid = 3, Brick = 4 };
    enum Unit { PaperMm = 0, RealMm = 1 };

    int m_nKind = One;
    int m_nUnit = PaperMm;
    double m_dAngle = 0.0;
    double m_dPitch = 3.0;     // kinds 0-2
    double m_dGridPitch = 3.0; // kinds 3 and 4
    double m_dSpacing = 1.0;   // between the lines of one set
    double m_dBaseX = 0.0, m_dBaseY = 0.0;
    int m_nLayerGroup = 0, m_nLayer = 0;

    // The keys of section KOV_T_UTILITY; the output layer is not stored.
    void Load(const kov::platform::Profile& profile);
    void Save(kov::platform::Profile& profile) const;

    // What the edits show: pitch (the grid pitch for kinds 3 and 4), spacing and angle "%.2f", the
    // base point "%.1f".
    std::string PitchText() const;
    std::string SpacingText() const;
    std::string AngleText() const;
    std::string BaseXText() const;
    std::string BaseYText() const;
    bool SpacingEnabled() const { return m_nKind < Grid; }
    bool AngleEnabled() const { return m_nKind != Brick; }
    double PitchInUse() const { return m_nKind >= Grid ? m_dGridPitch : m_dPitch; }

    // Live editing: an entry that fails its test leaves the value as it was.
    void OnPitch(const std::string& text);   // at least 1
    void OnSpacing(const std::string& text); // at least 1
    void OnAngle(const std::string& text);   // 0 up to, not including, 360
    void OnBaseX(const std::string& text);
    void OnBaseY(const std::string& text);
    void OnKind(int kind);
    void OnUnitClicked(); // either button switches to the other unit

    // OK: the message that keeps the dialog open, or empty.
    std::string Accept() const;

    // The kind's calls of the hatch-line operation into `unit`, the lengths converted to drawing
    // millimetres of layer group `scaleGroup` when they are paper millimetres; the new lines are left
    // selected in `selection`.
    void MakeLines(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& starts,
                   const CDbPointArray& ends, const DeviceTransform& transform, int scaleGroup, int layerGroup,
                   int layer) const;
    // The preview's segments in pixels of an area of the given size, the transform's origin at its
    // middle: the pattern on a rectangle filling the area. None in real millimetres below a pitch of
    // 100 (the lines would be too dense to show).
    std::vector<std::pair<DevicePoint, DevicePoint>> PreviewSegments(const CPlotInfo& plot, DeviceTransform transform,
                                                                     int width, int height) const;
};

class CHachSetDg : public QDialog {
public:
    CHachSetDg(const CHachSetForm& values, const CPlotInfo& plot, const DeviceTransform& transform,
               QWidget* parent = nullptr);
    const CHachSetForm& form() const { return m_form; }
    void accept() override;

private:
    void sync();
    void drawPreview();

    CHachSetForm m_form;
    CPlotInfo m_plot;
    DeviceTransform m_transform;
    QComboBox* m_kind = nullptr;
    QLineEdit* m_pitch = nullptr;
    QLineEdit* m_spacing = nullptr;
    QLineEdit* m_angle = nullptr;
    QLineEdit* m_baseX = nullptr;
    QLineEdit* m_baseY = nullptr;
    QRadioButton* m_paper = nullptr;
    QRadioButton* m_real = nullptr;
    QComboBox* m_layerGroup = nullptr;
    QComboBox* m_layer = nullptr;
    QLabel* m_preview = nullptr;
    bool m_syncing = false;
};

} // namespace kov::dialogs
