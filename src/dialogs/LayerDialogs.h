#pragma once

// The layer dialogs. The user interface offers the layers "0", "1" and "2": they are the layer
// groups 0-2 of the drawing, each standing for its layer 0.
// - CLayerChangeDlg asks for a source and a target layer for the layer commands (the selection to
//   another layer, move-merge, copy-merge, select everything on a layer).
// - CLayerItiranDg ("レイヤー一覧") shows the three layers side by side as thumbnails, chooses the
//   current one and sets each one's state.
// - CLayerNameDlg ("レイヤー名") renames the current layer group.
// Each form holds the values and rules; the dialog only shows them.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kov::dialogs {

class LayerChangeForm {
public:
    enum Mode { ChangeSelection = 1, MoveMerge = 2, SelectLayer = 3, CopyMerge = 7 };
    static constexpr int kLayers = 3;

    LayerChangeForm(int mode, int currentGroup);

    int mode = ChangeSelection;
    // The lists' selections: the current layer group, or -1 (no selection) when it lies above 2.
    int sourceIndex = -1;
    int targetIndex = -1;
    bool keepChecked = false;

    // What the dialog shows for its mode.
    std::string title() const;
    std::string sourceLabel() const;
    std::string targetLabel() const;
    std::string arrowText() const;
    std::string keepText() const;
    bool sourceEnabled() const { return mode == MoveMerge || mode == CopyMerge; }
    bool keepEnabled() const { return mode == ChangeSelection; }

    // OK: the layers chosen; -1 where a list has no selection, which the commands take as no
    // choice (nothing changes); the keep flag in mode 1 only.
    int source = -1;
    int target = -1;
    int keep = 0;
    void Accept();
};

class CLayerChangeDlg : public QDialog {
    Q_OBJECT
public:
    CLayerChangeDlg(int mode, int currentGroup, QWidget* parent = nullptr);
    LayerChangeForm& form() { return m_form; }
    void accept() override;

private:
    LayerChangeForm m_form;
    QComboBox* m_source = nullptr;
    QComboBox* m_target = nullptr;
    QCheckBox* m_keep = nullptr;
};

// The layer change dialog run modally (through RunModal): the source and target layer groups and
// the keep flag at OK, -1 where a list had no choice; nothing when cancelled.
struct LayerChangeResult {
    int source = -1;
    int target = -1;
    int keep = 0;
};
std::optional<LayerChangeResult> AskLayerChange(int mode, int currentGroup, QWidget* parent = nullptr);

class LayerListForm {
public:
    static constexpr int kLayers = 3;
    // The magnification list's numbers, in its order; "1" is chosen at start.
    static constexpr std::array<double, 11> kMagnifications{0.2, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5};
    static constexpr int kInitialMagnification = 2;

    // The dialog's own copy of the document's plot settings.
    explicit LayerListForm(const CPlotInfo& plot) : plot(plot) {}

    CPlotInfo plot;
    double magnification = 1.0;
    int allCounter = 0;

    int current() const { return plot.m_Layer.m_nCurrentGroup; }
    // A layer's state: that of its layer group (as the layer bar shows it).
    int state(int layer) const;
    // "表示吸着", "表示" or "非表示"; empty for any other state.
    static std::string StateText(int state);

    // A click on a thumbnail: that layer becomes current, visible and snapped to.
    void Choose(int layer);
    // The state button: 0 → 1 → 2 → 0.
    void CycleState(int layer);
    // "表示ALL切替": every layer gets the counter's state, the current one stays 表示吸着.
    void ToggleAll();
    void ChooseMagnification(int index);

    // The thumbnail of a layer, side × side pixels: the objects on its layer 0 (and those of the
    // layer groups 3-15 as their states show them), at the magnification, centred on the drawing's
    // origin; grey behind a hidden layer, a red frame around the current one.
    QImage Thumbnail(const CKovUnit& unit, int layer, int side, const CKovUnit::DrawEnvironment& env) const;

    // The caller's OK: the current layer group and the three layers' states go to the document's
    // settings (the groups the dialog does not show keep theirs); the current one is always left
    // visible and snapped to.
    void ApplyTo(CPlotInfo& document) const;
};

class CLayerItiranDg : public QDialog {
    Q_OBJECT
public:
    // The thumbnails draw the container with the environment (both read only).
    CLayerItiranDg(const CPlotInfo& plot, const CKovUnit& unit, const CKovUnit::DrawEnvironment& env,
                   QWidget* parent = nullptr);
    LayerListForm& form() { return m_form; }
    void Sync();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LayerListForm m_form;
    const CKovUnit& m_unit;
    const CKovUnit::DrawEnvironment& m_env;
    std::array<QLabel*, LayerListForm::kLayers> m_thumbnails{};
    std::array<QPushButton*, LayerListForm::kLayers> m_states{};
};

class LayerNameForm {
public:
    // The prompt names the current layer group; the name is the group's.
    explicit LayerNameForm(const CPlotInfo& plot);
    std::string prompt;
    std::string name;
    // The caller's OK: the name (an empty one too) becomes the current layer group's.
    void ApplyTo(CPlotInfo& plot) const;
    int group = 0;
};

class CLayerNameDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLayerNameDlg(const CPlotInfo& plot, QWidget* parent = nullptr);
    LayerNameForm& form() { return m_form; }
    void accept() override;

private:
    LayerNameForm m_form;
    QLineEdit* m_edit = nullptr;
};

} // namespace kov::dialogs
