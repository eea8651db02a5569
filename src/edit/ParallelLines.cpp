// New lines parallel to a reference line: one at a distance on the clicked side, or two along a
// stretch of the reference, left and right of the way from the first to the second click.

#include "edit/LineEditRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>
#include <utility>

using namespace kov::edit;

namespace {


// Step 0 of both tools: an ungrouped straight line of any layer becomes the selection.
int pickReference(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot, int devX, int devY,
                  const DeviceTransform& transform)
{
    selection.Clear();
    SelectionRecord picked;
    unit.PickLine(picked, plot, PickLayers::Every, devX, devY, transform, 0, 0, 0);
    const CKovLine* f = OnlyPickedFigure(unit, picked);
    if (!f || f->MLineType != CKovLine::LINE || f->MLinePnt.size() < 2 || f->MLineGrpID != 0)
        return 0;
    selection.AddLineId(f->MLineID);
    return 1;
}

} // namespace

int CKovUnit::MakeParallelLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                               double x, double y, int devX, int devY, const DeviceTransform& transform, double d)
{
    if (toolPoints.empty())
        return pickReference(*this, selection, plot, devX, devY, transform);
    if (selection.IsEmpty() || selection.m_Lines.empty())
        return 0;
    const CKovLine* ref = std::as_const(*this).FindLine(selection.m_Lines[0]);
    if (!ref || ref->MLinePnt.size() < 2)
        return -1;
    CDbPoint p0 = ref->MLinePnt[0], p1 = ref->MLinePnt[1];
    if (std::fabs(p0.x - p1.x) < kKovAxisTolerance) {
        const double dx = x > p0.x ? d : -d;
        p0.x += dx;
        p1.x += dx;
    } else if (std::fabs(p0.y - p1.y) < kKovAxisTolerance) {
        const double dy = y > p0.y ? d : -d;
        p0.y += dy;
        p1.y += dy;
    } else {
        double m = 0, b = 0;
        LineSlopeIntercept(m, b, p0.x, p0.y, p1.x, p1.y);
        const double o = -1 / m;
        double u = std::sqrt(d * d / (o * o + 1));
        // Along the perpendicular, toward the clicked side of the line.
        const double clicked = y - m * x;
        if ((b > clicked && o > 0) || (b < clicked && o < 0))
            u = -u;
        auto shifted = [&](const CDbPoint& p) { return CDbPoint{p.x + u, o * (p.x + u) + (p.y - o * p.x)}; };
        p0 = shifted(p0);
        p1 = shifted(p1);
    }
    m_Lines.Add(NewLineStyledFigure(*this, plot, CKovLine::LINE, {p0, p1}));
    selection.Clear();
    return 2;
}

int CKovUnit::MakeDoubleLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                             CDbPoint& click, int devX, int devY, const DeviceTransform& transform,
                             const std::array<double, 2>& leftRight)
{
    if (toolPoints.empty())
        return pickReference(*this, selection, plot, devX, devY, transform);
    if (selection.IsEmpty() || selection.m_Lines.empty())
        return 0;
    const CKovLine* ref = std::as_const(*this).FindLine(selection.m_Lines[0]);
    if (!ref || ref->MLinePnt.size() < 2)
        return -1;
    const CDbPoint foot = FootOfPerpendicular(ref->MLinePnt[0], ref->MLinePnt[1], click);
    if (toolPoints.size() == 1) {
        click = foot;
        return 2;
    }
    const CDbPoint s = toolPoints[1];
    const CDbPoint e = foot;
    if (s == e)
        return -1;
    const double left = leftRight[0], right = leftRight[1];
    CDbPoint a0 = s, a1 = e, b0 = s, b1 = e;
    if (std::fabs(s.x - e.x) < kKovAxisTolerance) {
        const bool up = e.y < s.y;
        const double da = up ? -left : -right, db = up ? right : left;
        a0.x += da;
        a1.x += da;
        b0.x += db;
        b1.x += db;
    } else if (std::fabs(s.y - e.y) < kKovAxisTolerance) {
        const bool rightward = e.x > s.x;
        const double da = rightward ? -left : -right, db = rightward ? right : left;
        a0.y += da;
        a1.y += da;
        b0.y += db;
        b1.y += db;
    } else {
        double m = (e.y - s.y) / (e.x - s.x);
        if (m == 0)
            m = 0.00001;
        const double j = -1 / m;
        const bool leftFirst = (j > 0 && s.x < e.x) || (j <= 0 && s.x >= e.x);
        const double n = leftFirst ? left : right, o = leftFirst ? right : left;
        const double ua = std::sqrt(n * n / (j * j + 1)), ub = std::sqrt(o * o / (j * j + 1));
        a0 = {s.x - ua, s.y - j * ua};
        a1 = {e.x - ua, e.y - j * ua};
        b0 = {s.x + ub, s.y + j * ub};
        b1 = {e.x + ub, e.y + j * ub};
    }
    m_Lines.Add(NewLineStyledFigure(*this, plot, CKovLine::LINE, {a0, a1}));
    m_Lines.Add(NewLineStyledFigure(*this, plot, CKovLine::LINE, {b0, b1}));
    selection.Clear();
    return 3;
}
