#include "app/OptionPanels.h"

#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "dialogs/LinePanels.h"
#include "dialogs/MeasureDialogs.h"
#include "model/PlotInfo.h"
#include "tools/ToolMachine.h"

namespace kov::app {

namespace {

using kov::tools::ToolPanel;

// The frame's placement kinds of these panels.
constexpr int kBelowFixedRadius = 3;
constexpr int kBelowAngle = 5;
constexpr int kBelowLength = 1;

} // namespace

bool OpenOptionPanel(CKoviraView& view, CKoviraDoc& doc, ToolPanel panel, const KeepToolPanel& keep)
{
    kov::tools::ToolMachine& m = view.machine();
    kov::platform::Profile& profile = doc.services().profile;
    // The previews read the values at the next paint.
    auto repaint = [&view] { view.viewport()->update(); };
    switch (panel) {
    case ToolPanel::FixedRadius: {
        auto* p = new kov::dialogs::FixedRadiusPanel(m.m_dFixedRadius, m.m_bFixedRadius, profile, &view);
        p->onChanged = repaint;
        keep(p, kBelowFixedRadius, true);
        return true;
    }
    case ToolPanel::Angle: {
        auto* p = new kov::dialogs::AnglePanel(m.m_dLineAngle, m.m_bLineLengthGiven, m.m_dToolLength, profile, &view);
        p->onChanged = repaint;
        keep(p, kBelowAngle, true);
        return true;
    }
    case ToolPanel::Distance: {
        auto* p = new kov::dialogs::LengthPanel(m.m_dToolLength, profile, &view);
        p->onChanged = repaint;
        keep(p, kBelowLength, true);
        return true;
    }
    default:
        return false;
    }
}

std::optional<double> AskLength(QWidget* parent, std::string_view caption, double proposed)
{
    kov::dialogs::LengthDialog dialog(std::string(caption), proposed, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.form().distance();
}

kov::tools::ToolHost::MeasureAnswer AskMeasureResult(QWidget* parent, const kov::tools::ToolHost::MeasureResult& r)
{
    kov::dialogs::MeasureResultForm form;
    form.label = r.label;
    form.texts = r.texts;
    form.units = r.units;
    form.unit = r.unit;
    kov::dialogs::MeasureResultDialog dialog(form, parent);
    const bool output = dialog.exec() == QDialog::Accepted;
    kov::tools::ToolHost::MeasureAnswer a;
    a.unit = dialog.form().unit;
    if (output)
        a.text = dialog.form().Output();
    return a;
}

std::optional<std::string> AskObjectCount(QWidget* parent, const CKoviraDoc& doc)
{
    const CLayer& layers = doc.m_PlotInfo.m_Layer;
    kov::dialogs::ObjectCountDialog dialog(doc.m_Unit, layers.m_nCurrentGroup, layers.m_nCurrentLayer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.form().Output();
}

void ShowTextEntry(const std::vector<QPointer<QWidget>>& panels) { (void)panels; }

void RefreshOptionPanels(const std::vector<QPointer<QWidget>>& panels, ToolPanel panel)
{
    (void)panels;
    (void)panel;
}

} // namespace kov::app
