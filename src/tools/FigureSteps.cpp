// The steps of the figure tools: lines, rectangles, circles, arcs, dimensions, polygons,
// continuous lines, curves, ellipses, three-point arcs, triangles, rounded rectangles and
// rectangles by distances.

#include "tools/ToolMachine.h"

#include "tools/ToolTexts.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>

namespace kov::tools {

namespace {
constexpr std::size_t kMultiPointLimit = 55;
constexpr std::size_t kFreeCurveLimit = 200;
} // namespace

// A new closed figure becomes the selection; with a pattern (and the automatic pattern setting
// off) the pattern becomes lines in a group with the figure, and the group is selected.
void ToolMachine::selectNewFigure(int id, const DeviceTransform& t, bool figureFirst)
{
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    const CKovLine* f = static_cast<const CKovUnit&>(unit).FindLine(id);
    if (!f)
        return;
    if (f->MLinebHach == 0 || m_settings.zukei_moyou_auto) {
        sel.Clear();
        sel.AddLineId(id);
        return;
    }
    if (!figureFirst)
        sel.Clear();
    if (f->MLineType == CKovLine::CIRCLE) {
        const int polygon = unit.CircleToPolyline(id, m_host.Plot(), 24);
        if (polygon > 0)
            id = polygon;
    }
    SelectionRecord temporary;
    const int groupId = unit.HatchToLines(id, temporary, t, m_settings.hach_kankaku_line, m_host.Plot());
    sel.Clear();
    CKovGroup* group = groupId > 0 ? unit.FindGroup(groupId) : nullptr;
    if (!group) {
        sel.AddLineId(id);
        return;
    }
    std::vector<int>& members = group->MGrpLineID;
    if (figureFirst && !members.empty()) {
        const int former = members[0];
        members[0] = id;
        members.push_back(former);
    } else {
        members.push_back(id);
    }
    if (CKovLine* figure = unit.FindLine(id))
        figure->MLineGrpID = groupId;
    unit.UpdateGroupBounds(*group);
    sel.AddGroupId(groupId);
}

int ToolMachine::CompleteBasicShape(const CDbPoint& p, const DeviceTransform& t)
{
    const int tool = ToolMode();
    const std::size_t n = m_ToolPoints.size();
    const std::size_t needs = tool == 7 || tool == 9 ? 2 : 1;
    if (!(tool == 3 || tool == 4 || tool == 6 || tool == 7 || tool == 9) || n < needs)
        return 0;
    CKovUnit& unit = m_host.Unit();
    const CPlotInfo& plot = m_host.Plot();
    const CKovUnit& view = unit;
    // The figure is checked through the drawing itself: an operation that refuses changes nothing,
    // and the snapshot of a refused click is dropped.
    PushUndo();
    int id = 0;
    switch (tool) {
    case 3: id = unit.AddStraightLine(plot, m_ptLast, p); break;
    case 4: id = unit.AddRectFromCorners(plot, m_ptLast, p); break;
    case 6: id = unit.AddCircle(plot, m_ptLast, p, m_dFixedRadius, m_bFixedRadius); break;
    case 7: id = unit.AddArc(plot, m_ToolPoints, p, m_dFixedRadius, m_bFixedRadius); break;
    case 9: id = unit.AddDimensionLine(plot, m_ToolPoints, p); break;
    default: break;
    }
    (void)view;
    if (id <= 0)
        return 0;
    if (tool == 9)
        return FinishDimension(id);
    selectNewFigure(id, t, true);
    return 1;
}

bool ToolMachine::insertArc(const CDbPoint& c)
{
    const std::size_t n = m_ToolPoints.size();
    if (n < 2)
        return false;
    CDbPointArray inner;
    if (!CircleThroughThreePoints(inner, m_ToolPoints[n - 2], m_ToolPoints[n - 1], c, m_nArcDivisions))
        return false;
    m_ToolPoints.insert(m_ToolPoints.end() - 1, inner.begin(), inner.end());
    m_ptLast = m_ptCurrent = c;
    m_bArcInsert = 0;
    m_host.UncheckArcButton();
    return true;
}

void ToolMachine::StepPolygon(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const std::size_t n = m_ToolPoints.size();
    if (n >= 3) {
        const int g = CurrentGroup();
        const DevicePoint a = ToDevicePoint(p, t, g);
        const DevicePoint b = ToDevicePoint(m_ToolPoints.front(), t, g);
        if (PointsWithinPickTolerance(a.x, a.y, b.x, b.y)) {
            if (m_bArcInsert) {
                m_bArcInsert = 0;
                m_host.UncheckArcButton();
            }
            PushUndo();
            const int id = m_host.Unit().AddPolygonFromPoints(m_host.Plot(), m_ToolPoints);
            if (id > 0)
                selectNewFigure(id, t, false);
            m_ToolPoints.clear();
            m_host.RedrawAll();
            return;
        }
    }
    if (m_bArcInsert) {
        insertArc(p);
    } else {
        collect(d, p);
    }
    m_host.RedrawAll();
}

void ToolMachine::StepMultiPoint(int tool, const DeviceTransform& t, DevicePoint d, CDbPoint p, int finish)
{
    (void)t;
    const std::size_t n = m_ToolPoints.size();
    if (finish != 1 && n != kMultiPointLimit) {
        if (tool == 26 && m_bArcInsert)
            insertArc(p);
        else
            collect(d, p);
        m_host.RedrawAll();
        return;
    }
    SelectionRecord& sel = m_host.Selection();
    const CPlotInfo& plot = m_host.Plot();
    CKovUnit& unit = m_host.Unit();
    const int separate = m_settings.app_renzokusenbara;
    if (tool == 26) {
        if (n < 2)
            return;
        PushUndo();
        unit.AddSegmentsOrPolyline(sel, plot, m_ToolPoints, m_ToolPoints.back(), separate);
        m_ToolPoints.clear();
    } else if (tool == 31) {
        if (n < 3)
            return;
        // Every curve since the tool started is one undo step (the start's snapshot); each curve
        // is its own step here, so that undo takes back one curve.
        PushUndo();
        unit.AddBezierCurve(sel, plot, m_ToolPoints, m_ToolPoints.back(), separate);
        m_ToolPoints.clear();
        SetToolPrompt(ToolTable()[31].prompt);
    } else if (tool == 30) {
        if (n < 3)
            return;
        collect(d, p);
        PushUndo();
        unit.AddSplineCurve(sel, plot, m_ToolPoints, m_ToolPoints.back(), separate);
        m_ToolPoints.clear();
        SetToolPrompt(ToolTable()[30].prompt);
    }
    m_host.RedrawAll();
}

void ToolMachine::StepFreeCurve(const DeviceTransform& t, DevicePoint d, CDbPoint p, int flag)
{
    if (flag == 1 || m_ToolPoints.size() > kFreeCurveLimit) {
        if (!m_ToolPoints.empty()) {
            PushUndo();
            m_host.Unit().AddFreehandCurve(m_host.Selection(), m_host.Plot(), m_ToolPoints,
                                           flag == 1 ? p : m_ptCurrent, m_settings.app_renzokusenbara);
            m_ToolPoints.clear();
            SetToolPrompt(ToolTable()[58].prompt);
        } else {
            collect(d, p);
            SetToolPrompt(kPromptFreeEnd);
        }
        m_host.RedrawAll();
        return;
    }
    if (m_ToolPoints.empty())
        return;
    // A move: the raw pointer, collected once it is a snap distance away from the last point.
    const int g = CurrentGroup();
    const auto gi = static_cast<std::size_t>(g);
    const DevicePoint last = ToDevicePoint(m_ToolPoints.back(), t, g);
    const DevicePoint raw = m_Page.ClientToLogical(d.x, d.y);
    if (PointsWithinSnapTolerance(last.x, last.y, raw.x, raw.y))
        return;
    const CDbPoint q{(raw.x - t.originX) / t.scaleX[gi], (raw.y - t.originY) / t.scaleY[gi]};
    m_pxCurrent = raw;
    collect(raw, q);
}

void ToolMachine::StepEllipse(int tool, const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const std::size_t n = m_ToolPoints.size();
    if (n == 0) {
        collect(d, p);
        SetToolPrompt(kPromptWidth);
    } else if (n == 1) {
        if (p.x == m_ToolPoints[0].x)
            return;
        collect(d, p);
        SetToolPrompt(kPromptHeight);
    } else if (n == 2) {
        const CDbPoint c = m_ToolPoints[0];
        if ((p.x == c.x && p.y == c.y) || p.y == m_ToolPoints[1].y)
            return;
        if (tool == 29) {
            collect(d, p);
            SetToolPrompt(kPromptArcStart);
        } else {
            PushUndo();
            SelectionRecord& sel = m_host.Selection();
            sel.Clear();
            m_host.Unit().AddEllipse(sel, m_host.Plot(), m_ToolPoints, p);
            if (sel.m_nCount == 1 && sel.m_Lines.size() == 1)
                selectNewFigure(sel.m_Lines[0], t, false);
            m_ToolPoints.clear();
            SetToolPrompt(kPromptCentre);
        }
    } else if (n == 3 && tool == 29) {
        collect(d, p);
        SetToolPrompt(kPromptArcEnd);
    } else {
        PushUndo();
        m_host.Unit().AddEllipticArc(m_host.Selection(), m_host.Plot(), m_ToolPoints, p);
        m_ToolPoints.clear();
        SetToolPrompt(kPromptCentre);
    }
    m_host.RedrawAll();
}

void ToolMachine::StepThreePointArc(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    (void)t;
    const std::size_t n = m_ToolPoints.size();
    if (n == 0) {
        collect(d, p);
        SetToolPrompt(kPromptArcEnd);
    } else if (n == 1) {
        if (p.x == m_ToolPoints[0].x && p.y == m_ToolPoints[0].y)
            return;
        collect(d, p);
        SetToolPrompt(kPromptArcThrough);
    } else {
        PushUndo();
        m_host.Unit().AddArcThrough3Points(m_host.Selection(), m_host.Plot(), m_ToolPoints, p);
        m_ToolPoints.clear();
        SetToolPrompt(kPromptArcStart);
    }
    m_host.RedrawAll();
}

void ToolMachine::StepTriangle(DevicePoint d, CDbPoint p)
{
    if (m_ToolPoints.empty()) {
        collect(d, p);
        m_pxLast = d;
        SetToolPrompt(kPromptBaseSecond);
        m_host.RedrawAll();
        return;
    }
    const CDbPoint a = m_ToolPoints[0];
    const std::optional<std::array<int, 2>> sides = m_host.AskTriangleSides(RoundToInt(PointDistance(a.x, a.y, p.x, p.y)));
    if (!sides)
        return;
    // The snapshot comes once the sides are known: a cancelled triangle leaves no undo step.
    PushUndo();
    m_host.Unit().MakeTriangle(m_host.Selection(), m_host.Plot(), m_ToolPoints, p, (*sides)[0], (*sides)[1]);
    m_ToolPoints.clear();
    CallSelectTool();
    m_host.RefreshLayerBar();
    m_host.RedrawAll();
}

// A new figure group (rounded rectangle, balloon) whose outline has a pattern: with the automatic
// pattern setting off the pattern becomes lines that join the group.
void ToolMachine::patternLinesIntoSelectedGroup(const DeviceTransform& t)
{
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    if (sel.m_nCount == 1 && sel.m_Groups.size() == 1 && !m_settings.zukei_moyou_auto) {
        const int groupId = sel.m_Groups[0];
        const CKovGroup* group = static_cast<const CKovUnit&>(unit).FindGroup(groupId);
        const CKovLine* outline = group && !group->MGrpLineID.empty()
                                      ? static_cast<const CKovUnit&>(unit).FindLine(group->MGrpLineID[0])
                                      : nullptr;
        if (outline && outline->MLinebHach) {
            SelectionRecord temporary;
            const int hatchGroup =
                unit.HatchToLines(outline->MLineID, temporary, t, m_settings.hach_kankaku_line, m_host.Plot());
            // The hatch lines join the rounded rectangle's group; the group the conversion made
            // goes, so that every line belongs to one group only.
            if (const CKovGroup* made = hatchGroup > 0 ? static_cast<const CKovUnit&>(unit).FindGroup(hatchGroup)
                                                       : nullptr) {
                const std::vector<int> lines = made->MGrpLineID;
                CKovGroup* own = unit.FindGroup(groupId);
                for (int line : lines) {
                    if (line == outline->MLineID)
                        continue;
                    own->MGrpLineID.push_back(line);
                    if (CKovLine* l = unit.FindLine(line))
                        l->MLineGrpID = groupId;
                }
                const int index = unit.FindGroupIndex(hatchGroup);
                if (index >= 0)
                    unit.m_Groups.DeleteAt(index);
                unit.UpdateGroupBounds(*own);
            }
        }
    }
}

void ToolMachine::StepRoundedRectangle(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    if (m_ToolPoints.size() < 2) {
        collect(d, p);
        m_host.RedrawAll();
        return;
    }
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    PushUndo();
    unit.CreateRoundedRect(sel, m_host.Plot(), m_ToolPoints, p, m_nArcDivisions);
    patternLinesIntoSelectedGroup(t);
    m_ToolPoints.clear();
    m_host.RedrawAll();
}

void ToolMachine::StepDimensionedRectangle(CDbPoint p)
{
    const std::optional<std::array<double, 4>> d = m_host.AskRectDistances();
    if (!d)
        return;
    PushUndo();
    m_host.Unit().AddRectFromCenter(m_host.Selection(), m_host.Plot(), p.x, p.y, (*d)[0], (*d)[1], (*d)[2], (*d)[3]);
    m_host.RedrawAll();
}

} // namespace kov::tools
