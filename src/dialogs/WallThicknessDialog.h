#pragma once

// The wall thickness ("壁厚"): core to one face, millimetres. Modeless as the wall tool's panel,
// editing the document's plot settings at every keystroke; modal on a copy for walls already drawn.

#include <QDialog>

#include <string>

class CPlotInfo;
class QLineEdit;

namespace kov::dialogs {

class WallThicknessForm {
public:
    static constexpr const char* kPanelCaption = "壁の厚さ（壁芯片側）";
    static constexpr const char* kSelectedCaption = "選択壁の厚さ（壁芯片側）";

    WallThicknessForm(CPlotInfo& plot, bool modal) : m_plot(plot), m_bModal(modal) {}

    // "%.1f" of the thickness.
    std::string InitialText() const;
    // Every change of the text: a value from 0 up to, not including, 100000 is taken at once;
    // anything else is ignored and the last value stands. Text that is no number reads as 0.
    void OnThicknessChange(const std::string& text);

    CPlotInfo& plot() { return m_plot; }
    bool modal() const { return m_bModal; }

private:
    CPlotInfo& m_plot;
    bool m_bModal;
};

class WallThicknessDialog : public QDialog {
    Q_OBJECT
public:
    WallThicknessDialog(CPlotInfo& plot, bool modal, QWidget* parent = nullptr);
    WallThicknessForm& form() { return m_form; }

private:
    WallThicknessForm m_form;
    QLineEdit* m_edit;
};

} // namespace kov::dialogs
