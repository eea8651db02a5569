// The click steps of the tools that construct lines from a typed length or angle, a reference
// line or a circle: line by length (15), line by angle (16), perpendicular (17) and circle
// tangent (23, and 24 once a point on the circle was taken).

#include "tools/ToolMachine.h"

#include "tools/MeasureTexts.h"

#include "model/Geometry.h"
#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <cmath>

namespace kov::tools {

namespace {

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

// The one selected figure when it is a circle or an arc.
const CKovLine* selectedCircle(ToolHost& host)
{
    const SelectionRecord& sel = host.Selection();
    if (sel.m_nCount != 1 || sel.m_Lines.size() != 1)
        return nullptr;
    const CKovLine* f = std::as_const(host.Unit()).FindLine(sel.m_Lines.front());
    return f && (f->MLineType == CKovLine::CIRCLE || f->MLineType == CKovLine::ARC) ? f : nullptr;
}

} // namespace

void ToolMachine::StepLineByLength(DevicePoint d, CDbPoint p)
{
    if (m_ToolPoints.empty()) {
        PushUndo();
        collect(d, p);
        m_pxLast = d;
        SetToolPrompt(kPromptSecondByDirection);
        m_host.RedrawAll();
        return;
    }
    if (p == m_ToolPoints[0])
        return;
    // A length the panel would never take (a stored 0 or less) draws no line of no length.
    if (!(m_dToolLength > 0)) {
        m_host.ShowMessage(kBadLength);
        return;
    }
    m_host.Unit().AddLineToward(m_host.Selection(), m_host.Plot(), m_ToolPoints[0], p, m_dToolLength);
    m_ToolPoints.clear();
    SetToolPrompt(kPromptFirstPoint);
    m_host.RedrawAll();
}

void ToolMachine::StepLineByAngle(DevicePoint d, CDbPoint p)
{
    kov::platform::Profile* store = m_host.SettingsStore();
    double angle = m_dLineAngle;
    if (store && store->GetProfileInt("KOV_T_PlotMenu", "tool_kakudo_tokei", 0) != 0)
        angle = 360 - angle;
    CKovUnit& unit = m_host.Unit();
    if (m_ToolPoints.empty()) {
        PushUndo();
        if (!m_bLineLengthGiven) {
            collect(d, p);
            m_pxLast = d;
            SetToolPrompt(kPromptSecondPoint);
            m_host.RedrawAll();
            return;
        }
        if (!(m_dToolLength > 0)) {
            m_host.ShowMessage(kBadLength);
            return;
        }
        unit.AddLineByAngle(m_host.Selection(), m_host.Plot(), p, p, angle, m_dToolLength, 1);
    } else {
        // From the collected point: a cancelled relative input moves the last point elsewhere.
        unit.AddLineByAngle(m_host.Selection(), m_host.Plot(), m_ToolPoints[0], p, angle, 0, 0);
    }
    m_ToolPoints.clear();
    SetToolPrompt(kPromptFirstPoint);
    m_host.RedrawAll();
}

void ToolMachine::StepPerpendicular(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    switch (m_ToolPoints.size()) {
    case 0:
        if (unit.MakeParallelLine(sel, m_host.Plot(), m_ToolPoints, p.x, p.y, d.x, d.y, t, m_dParallelDistance) == 0) {
            m_host.ShowMessage(kNoReferenceLine);
            return;
        }
        collect(d, p);
        SetToolPrompt(kPromptPerpendicularStart);
        m_host.RedrawAll();
        return;
    case 1:
        collect(d, p);
        SetToolPrompt(kPromptPerpendicularEnd);
        m_host.RedrawAll();
        return;
    default:
        break;
    }
    // The reference may have gone meanwhile (deleted with the Delete key): start again from it.
    const CKovLine* reference = sel.m_Lines.empty() ? nullptr : std::as_const(unit).FindLine(sel.m_Lines.front());
    if (!reference || reference->MLinePnt.size() < 2) {
        m_host.ShowMessage(kNoReferenceLine);
        m_ToolPoints.clear();
        SetToolPrompt(kPromptReferenceLine);
        m_host.RedrawAll();
        return;
    }
    const CDbPoint start = m_ToolPoints[1];
    const CDbPoint foot = PerpendicularFootOnParallel(reference->MLinePnt[0], reference->MLinePnt[1], start, p);
    // A click on the start's own parallel gives no direction to draw in.
    if (distance(start, foot) == 0)
        return;
    const std::optional<double> length = m_host.AskDistance(kCaptionPerpendicular, distance(start, foot));
    if (!length)
        return;
    PushUndo();
    unit.AddPerpendicularLine(sel, m_host.Plot(), start, PointTowards(start, foot, *length));
    m_ToolPoints.clear();
    SetToolPrompt(kPromptReferenceLine);
    m_host.RedrawAll();
}

void ToolMachine::StepCircleTangent(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    const CPlotInfo& plot = m_host.Plot();
    auto keepClick = [&] {
        m_ptLast = m_ptCurrent = p;
        m_pxLast = m_pxCurrent = d;
    };
    if (m_ToolPoints.empty()) {
        if (!selectedCircle(m_host))
            return;
        PushUndo();
        CDbPointArray onCircle;
        if (unit.TangentToolPoint(sel, plot, t, onCircle, p.x, p.y, 0) == 1) {
            m_ToolPoints.push_back(onCircle[0]);
            keepClick();
            m_host.ToolMode() = 24;
            SetToolPrompt(kPromptTangentFromCirclePoint);
            m_host.RedrawAll();
            return;
        }
        CDbPoint touch[2];
        if (unit.TangentPoints(sel, touch, p.x, p.y) == 0) {
            m_host.ShowMessage(kBadPoint);
            return;
        }
        m_ToolPoints.push_back(p);
        keepClick();
        SetToolPrompt(kPromptTangentDirection);
        m_host.RedrawAll();
        return;
    }

    const CDbPoint from = m_ToolPoints[0];
    CDbPoint to;
    if (ToolMode() == 24) {
        CDbPointArray points{from};
        if (unit.TangentToolPoint(sel, plot, t, points, p.x, p.y, 1) == 0) {
            m_host.ShowMessage(kBadPoint);
            return;
        }
        to = points[1];
        if (to == from)
            return;
        const std::optional<double> length = m_host.AskDistance(kCaptionTangentFromCircle, distance(from, to));
        if (!length)
            return;
        unit.AddLineToward(sel, plot, from, to, *length);
        m_host.ToolMode() = 23;
    } else {
        CDbPoint touch[2];
        if (unit.TangentPoints(sel, touch, from.x, from.y) == 0)
            return;
        to = distance(touch[1], p) < distance(touch[0], p) ? touch[1] : touch[0];
        const std::optional<double> length = m_host.AskDistance(kCaptionTangentFromPoint, distance(from, to));
        if (!length)
            return;
        unit.AddLineToward(sel, plot, from, to, *length);
    }
    m_ToolPoints.clear();
    CallSelectTool();
    m_host.RefreshLayerBar();
    m_host.RedrawAll();
}

} // namespace kov::tools
