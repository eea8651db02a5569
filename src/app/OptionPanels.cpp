#include "app/OptionPanels.h"

#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "dialogs/LinePanels.h"
#include "dialogs/MeasureDialogs.h"
#include "dialogs/RoomChoicePanel.h"
#include "dialogs/TextPanels.h"
#include "app/FrameLogic.h"
#include "model/PlotInfo.h"
#include "model/QuotationList.h"
#include "model/RoomList.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "platform/Folders.h"
#include "tools/ToolMachine.h"

#include <cmath>

namespace kov::app {

namespace {

using kov::tools::ToolPanel;

// The frame's placement kinds of these panels.
constexpr int kBelowFixedRadius = 3;
constexpr int kBelowAngle = 5;
constexpr int kBelowLength = 1;
// Beside the layer bar (negative kinds).
constexpr int kBesideTextSettings = -3;
constexpr int kBesideTextEntry = -11;
constexpr int kBesideDecoratedText = -12;
constexpr int kBesideRoomChoice = -9;

double viewDpi(const CKoviraView& view) { return view.logicalDpiY() > 0 ? view.logicalDpiY() : 96; }

kov::dialogs::TextPanelHooks textHooks(CKoviraView& view, CKoviraDoc& doc)
{
    kov::dialogs::TextPanelHooks hooks;
    hooks.mmToDevice = [&view](double mm) { return static_cast<int>(std::floor(mm * viewDpi(view) / 25.4 + 0.5)); };
    hooks.pickFont = [&view, &doc](CFontMenu& font) {
        return PickFontRecord(font, doc.services().questions, viewDpi(view));
    };
    hooks.redraw = [&view] { view.viewport()->update(); };
    hooks.drawToolSample = [&view] {
        if (view.onToolSample)
            view.onToolSample();
    };
    return hooks;
}

// The quotation list of the text panels, read at each start of their tool.
std::vector<std::string> quotationLines(CKoviraDoc& doc)
{
    const kov::platform::Folders& folders = doc.services().folders;
    const auto file = folders.quotationListFile(kov::platform::readCommonFolderSwitches(doc.services().profile));
    return kov::dialogs::QuotationLines(kov::model::ReadQuotationFile(file));
}

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
    case ToolPanel::Text: {
        auto* settings = new kov::dialogs::TextSettingsPanel(doc.m_FontMenu, m.m_TextPanel, profile,
                                                             doc.services().questions, textHooks(view, doc), &view);
        keep(settings, kBesideTextSettings, true);
        auto clearPoints = [&view] {
            view.machine().m_ToolPoints.clear();
            view.m_ToolPoints.clear();
        };
        auto* entry = new kov::dialogs::TextEntryLine(
            m.m_strText, quotationLines(doc),
            [&view] {
                view.machine().CreateTextFromDialog();
                view.m_ToolPoints.clear();
            },
            clearPoints, repaint, &view);
        keep(entry, kBesideTextEntry, false);
        return true;
    }
    case ToolPanel::DecoratedText: {
        auto* p = new kov::dialogs::DecoratedTextPanel(m.m_DecoratedText, profile, doc.services().questions,
                                                       quotationLines(doc), textHooks(view, doc), &view);
        keep(p, kBesideDecoratedText, true);
        return true;
    }
    case ToolPanel::RoomChoice: {
        const kov::platform::Folders& folders = doc.services().folders;
        const auto file = folders.roomListFile(kov::platform::readCommonFolderSwitches(profile));
        std::error_code ec;
        const bool opened = std::filesystem::is_regular_file(file, ec);
        CRoomInfo& room = doc.m_PlotInfo.m_RoomInfo;
        auto* p = new kov::dialogs::CRoomChoiseDlg(
            room, profile, m.m_nRoomPanelMode == 1 ? 1 : 0, m.m_bRoomFixedSize, m.m_nRoomSizeIndex,
            kov::model::ReadRoomListFile(file, room.Room_HachKankaku), opened,
            profile.GetProfileInt(kov::model::kSectionUtility, "app_tatamiheri", 1), &view);
        keep(p, kBesideRoomChoice, true);
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

void ShowTextEntry(const std::vector<QPointer<QWidget>>& panels)
{
    for (const QPointer<QWidget>& p : panels)
        if (auto* entry = qobject_cast<kov::dialogs::TextEntryLine*>(p.data()))
            entry->ShowForPoint();
}

void RefreshOptionPanels(const std::vector<QPointer<QWidget>>& panels, ToolPanel panel)
{
    if (panel != ToolPanel::DecoratedText)
        return;
    for (const QPointer<QWidget>& p : panels)
        if (auto* decorated = qobject_cast<kov::dialogs::DecoratedTextPanel*>(p.data()))
            decorated->ClearText();
}

} // namespace kov::app
