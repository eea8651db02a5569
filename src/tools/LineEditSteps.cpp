// The click steps of the tools that edit lines already drawn (divide, corner, chamfer, trim and
// extend, cut, partial cut, erase, join, envelope) and of those that draw new lines along a
// reference (parallel line, two lines, equally divided lines). Each calls one container operation
// and keeps the interaction: the points, the prompt, the messages, the undo snapshots, the redraw.

#include "tools/ToolMachine.h"

#include "tools/LineEditTexts.h"
#include "tools/ToolTexts.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <algorithm>

namespace kov::tools {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";

int divisionCount(ToolHost& host)
{
    kov::platform::Profile* store = host.SettingsStore();
    return store ? store->GetProfileInt(kUtility, "tool_bunkatu", 2) : 2;
}

} // namespace

void ToolMachine::StepDivideFigure(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    const CPlotInfo& plot = m_host.Plot();
    auto ask = [this](int& mode, int& count, double& length) {
        const std::optional<ToolHost::DivisionAnswer> a = m_host.AskDivision();
        if (!a)
            return false;
        mode = a->mode;
        count = a->count;
        length = a->length;
        return true;
    };
    auto tell = [this](std::string_view text) { m_host.ShowMessage(text); };
    auto restart = [this] {
        m_ToolPoints.clear();
        m_host.RedrawAll();
        SetToolPrompt(kPromptDividePick);
    };

    if (!m_ToolPoints.empty()) {
        if (unit.DivideFigure(sel, plot, m_ToolPoints, p, d.x, d.y, t, m_dToolValue, ask, tell) == 0) {
            m_host.ShowMessage(kDivideAtAnEnd);
            return;
        }
        restart();
        return;
    }
    sel.Clear();
    const int picked = unit.DivideFigure(sel, plot, m_ToolPoints, p, d.x, d.y, t, m_dToolValue, ask, tell);
    if (picked == 0) {
        m_host.ShowMessage(kDividePickFailed);
        return;
    }
    if (picked != 1) {
        restart();
        return;
    }
    // The figure shows selected while the dialog asks how to divide it.
    m_host.RedrawAll();
    const int result = unit.DivideFigure(sel, plot, m_ToolPoints, p, d.x, d.y, t, m_dToolValue, ask, tell);
    if (result == -1) {
        sel.Clear();
        restart();
    } else if (result == 2) {
        collect(d, p);
        m_host.RedrawAll();
        SetToolPrompt(kPromptDivideStart);
    } else {
        restart();
    }
}

void ToolMachine::StepCorner(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const int result = m_host.Unit().CornerLines(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, d.x, d.y, t,
                                                 m_dToolValue);
    switch (result) {
    case 0:
        m_host.ShowMessage(kTargetPickFailed);
        return;
    case 1:
        PushUndo();
        collect(d, p);
        SetToolPrompt(kPromptCornerSecond);
        break;
    case 2:
        m_ToolPoints.clear();
        SetToolPrompt(kPromptCornerFirst);
        break;
    case 3:
        SetToolPrompt(kPromptCornerCrossing);
        break;
    default:
        return;
    }
    m_host.RedrawAll();
}

void ToolMachine::StepChamfer(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const int result = m_host.Unit().ChamferLines(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, d.x, d.y, t,
                                                  m_ChamferSizes, m_nChamferMode,
                                                  [this](std::string_view text) { m_host.ShowMessage(text); });
    switch (result) {
    case 0:
        // The first line stays picked: the next click tries the second again.
        m_host.ShowMessage(kTargetPickFailed);
        m_host.RedrawAll();
        return;
    case 1:
        PushUndo();
        collect(d, p);
        SetToolPrompt(kPromptChamferSecond);
        break;
    case 2:
        m_ToolPoints.clear();
        m_host.Selection().Clear();
        SetToolPrompt(kPromptChamferFirst);
        break;
    default:
        return;
    }
    m_host.RedrawAll();
}

void ToolMachine::StepTrimExtend(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    SelectionRecord& sel = m_host.Selection();
    const std::size_t step = m_ToolPoints.size();
    const int result = m_host.Unit().TrimExtendLine(sel, m_host.Plot(), d.x, d.y, m_ToolPoints, p, t,
                                                    [this](std::string_view text) { m_host.ShowMessage(text); });
    switch (result) {
    case 0:
        m_host.ShowMessage(kReferencePickFailed);
        return;
    case 1:
        if (step == 0) {
            collect(d, p);
            SetToolPrompt(kPromptTrimTarget);
            PushUndo();
        } else if (step == 1) {
            // The reference has gone (undone or deleted meanwhile): start again with a new one.
            m_ToolPoints.clear();
            sel.Clear();
            SetToolPrompt(kPromptTrimReference);
        } else {
            // The target has gone: the reference stays and the next click picks another target.
            m_ToolPoints.resize(1);
            sel.m_Lines.resize(std::min<std::size_t>(sel.m_Lines.size(), 1));
            sel.m_nCount = static_cast<int>(sel.m_Lines.size());
            SetToolPrompt(kPromptTrimTarget);
        }
        break;
    case 2:
        collect(d, p);
        SetToolPrompt(kPromptTrimPoint);
        break;
    case 3:
        SetToolPrompt(kPromptTrimTarget);
        break;
    default:
        break;
    }
    m_host.RedrawAll();
}

void ToolMachine::StepCutLine(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    PushUndo();
    if (m_host.Unit().SplitLineAtPoint(m_host.Plot(), t, d.x, d.y, p)) {
        // The points mark the cuts made so far.
        m_ToolPoints.push_back(p);
        m_host.RedrawAll();
    }
}

void ToolMachine::StepPartialCut(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    CKovUnit& unit = m_host.Unit();
    if (m_ToolPoints.empty()) {
        PushUndo();
        if (unit.CutLinePart(m_host.Selection(), m_host.Plot(), t, d.x, d.y, m_ToolPoints, p)) {
            m_ToolPoints.push_back(p);
            m_ptLast = p;
            m_pxCurrent = d;
            SetToolPrompt(kPromptPartialEnd);
        }
    } else if (m_ToolPoints.size() == 1) {
        if (unit.CutLinePart(m_host.Selection(), m_host.Plot(), t, d.x, d.y, m_ToolPoints, p)) {
            m_ToolPoints.clear();
            SetToolPrompt(kPromptPartialStart);
        }
    }
    m_host.RedrawAll();
}

void ToolMachine::StepEraseLine(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    PushUndo();
    m_host.Unit().EraseLineAtPoint(m_host.Plot(), t, d.x, d.y, p);
    m_host.RedrawAll();
}

void ToolMachine::StepJoinLines(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    PushUndo();
    const int result = m_host.Unit().JoinLines(m_host.Selection(), m_host.Plot(), p, d.x, d.y, t);
    if (result == 0) {
        m_host.ShowMessage(kNoLineAtClick);
        return;
    }
    if (result == -1) {
        m_host.ShowMessage(kNothingToJoin);
        return;
    }
    // The joined figure stays selected in select mode.
    CallSelectTool();
}

void ToolMachine::StepParallelLine(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const int result = m_host.Unit().MakeParallelLine(m_host.Selection(), m_host.Plot(), m_ToolPoints, p.x, p.y, d.x,
                                                      d.y, t, m_dParallelDistance);
    switch (result) {
    case 0:
        m_host.ShowMessage(kReferencePickFailed);
        return;
    case 1:
        collect(d, p);
        SetToolPrompt(kPromptParallelSide);
        break;
    case 2:
        m_ToolPoints.clear();
        SetToolPrompt(kPromptReferenceLine);
        break;
    default:
        return;
    }
    m_host.RedrawAll();
}

void ToolMachine::StepTwoLines(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const int result = m_host.Unit().MakeDoubleLine(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, d.x, d.y, t,
                                                    {m_dOffsetLeft, m_dOffsetRight});
    switch (result) {
    case 0:
        m_host.ShowMessage(kReferencePickFailed);
        return;
    case 1:
    case 2:
        collect(d, p);
        m_pxLast = d;
        SetToolPrompt(result == 1 ? kPromptTwoLinesStart : kPromptTwoLinesEnd);
        break;
    case 3:
        m_ToolPoints.clear();
        SetToolPrompt(kPromptReferenceLine);
        break;
    default:
        return;
    }
    m_host.RedrawAll();
}

void ToolMachine::StepDivideBetweenPoints(DevicePoint d, CDbPoint p)
{
    const std::size_t n = m_ToolPoints.size();
    if (n == 0) {
        SetToolPrompt(kPromptDivisionSecond);
        PushUndo();
        collect(d, p);
        return;
    }
    if (n == 1) {
        // Cancel keeps the count the setting holds.
        const std::optional<int> count = m_host.AskDivisionCount(divisionCount(m_host));
        kov::platform::Profile* store = m_host.SettingsStore();
        if (count && store)
            store->WriteProfileInt(kUtility, "tool_bunkatu", *count);
        SetToolPrompt(kPromptDivisionFrom);
        collect(d, p);
        return;
    }
    if (n == 2) {
        SetToolPrompt(kPromptDivisionTo);
        collect(d, p);
        return;
    }
    m_host.Unit().DivideBetweenPoints(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, divisionCount(m_host));
    m_ToolPoints.clear();
    SetToolPrompt(kPromptDivisionFirst);
    m_host.RedrawAll();
}

void ToolMachine::StepEnvelope(DevicePoint d, CDbPoint p)
{
    if (m_ToolPoints.empty()) {
        PushUndo();
        collect(d, p);
        SetToolPrompt(kPromptSecondPoint);
        return;
    }
    const CDbPoint first = m_ToolPoints[0];
    // A rectangle without area is no range: the click is ignored.
    if (p.x == first.x || p.y == first.y)
        return;
    const double x0 = std::min(first.x, p.x), x1 = std::max(first.x, p.x);
    const double y0 = std::min(first.y, p.y), y1 = std::max(first.y, p.y);
    m_host.Unit().EnvelopeRange(m_host.Plot(), {x0, y0}, {x0, y1}, {x1, y1}, {x1, y0});
    m_ToolPoints.clear();
    m_host.RedrawAll();
    SetToolPrompt(kPromptFirstPoint);
}

} // namespace kov::tools
