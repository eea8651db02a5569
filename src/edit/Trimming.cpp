// Trimming and extending: target lines and arcs cut back or drawn out to a reference line, circle
// or arc; and the rule that decides which end of a straight line moves to a new point.

#include "edit/LineEditRules.h"
#include "edit/LineEditTexts.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>
#include <utility>

using namespace kov::edit;
namespace texts = kov::edit::texts;

namespace {

constexpr double kLevelTolerance = 0.1;

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

// The crossings of a remembered pair: reference (line, circle or arc) with a target (line or arc).
// Circles are taken whole and lines as infinite lines.
int crossings(const CKovLine& ref, const CKovLine& target, CDbPoint out[2])
{
    int count = 0;
    if (ref.MLineType == CKovLine::LINE) {
        if (target.MLineType == CKovLine::LINE)
            return IntersectLines(out[0], ref.MLinePnt[0], ref.MLinePnt[1], target.MLinePnt[0], target.MLinePnt[1]);
        IntersectLineCircle(out, count, ref.MLinePnt[0], ref.MLinePnt[1], target.MLinePnt[0], target.MLineParam[0]);
        return count;
    }
    if (target.MLineType == CKovLine::LINE) {
        IntersectLineCircle(out, count, target.MLinePnt[0], target.MLinePnt[1], ref.MLinePnt[0], ref.MLineParam[0]);
        return count;
    }
    IntersectCircles(out, count, ref.MLinePnt[0], ref.MLineParam[0], target.MLinePnt[0], target.MLineParam[0]);
    return count;
}

// Keeps only the points that lie on the arc, in order.
int onArcOnly(const CKovLine& arc, CDbPoint points[2], int count)
{
    int kept = 0;
    for (int i = 0; i < count; ++i)
        if (PointOnArc(arc, points[i]))
            points[kept++] = points[i];
    return kept;
}

} // namespace

void CKovUnit::ReplaceLineEnd(CKovLine& line, const CDbPoint& n, const CDbPoint& r)
{
    CDbPoint& p0 = line.MLinePnt[0];
    CDbPoint& p1 = line.MLinePnt[1];
    const bool level = std::fabs(p0.x - p1.x) >= kLevelTolerance && std::fabs(p0.y - p1.y) < kLevelTolerance;
    auto coord = [level](const CDbPoint& p) { return level ? p.x : p.y; };
    // On equal coordinates point 1 is the low end.
    CDbPoint& low = coord(p0) < coord(p1) ? p0 : p1;
    CDbPoint& high = &low == &p0 ? p1 : p0;
    const double nc = coord(n), rc = coord(r);
    if (nc < coord(low))
        low = n;
    else if (nc > coord(high))
        high = n;
    else if (coord(low) <= rc && rc <= nc)
        high = n; // the part from the low end to n stays
    else
        low = n;
}

int CKovUnit::TrimExtendLine(SelectionRecord& selection, const CPlotInfo& plot, int devX, int devY,
                             CDbPointArray& toolPoints, const CDbPoint& click, const DeviceTransform& transform,
                             const MessageSink& tell)
{
    const CKovUnit& self = *this;
    if (toolPoints.empty()) {
        selection.Clear();
        SelectionRecord picked;
        PickFigure(picked, plot, PickLayers::Every, click.x, click.y, devX, devY, transform, 0, 0, 0);
        const CKovLine* ref = OnlyPickedFigure(self, picked);
        if (!ref)
            return 0;
        if (ref->MLineType == CKovLine::CIRCLE || ref->MLineType == CKovLine::ARC) {
            if (IsElliptic(*ref)) {
                tell(texts::kEllipseNoReference);
                return 0;
            }
            if (!IsRound(*ref))
                return 0;
        } else if (ref->MLineType != CKovLine::LINE) {
            tell(texts::kReferenceKinds);
            return 0;
        }
        if (ref->MLineGrpID != 0)
            return 0;
        selection.AddLineId(ref->MLineID);
        return 1;
    }

    if (toolPoints.size() == 1) {
        if (selection.m_Lines.size() != 1)
            return -1;
        const CKovLine* ref = self.FindLine(selection.m_Lines[0]);
        if (!ref)
            return 1;
        SelectionRecord picked;
        if (!PickFigure(picked, plot, PickLayers::Current, click.x, click.y, devX, devY, transform, 0, 0, 0)) {
            tell(texts::kTargetNotFound);
            return -1;
        }
        const CKovLine* found = OnlyPickedFigure(self, picked);
        if (!found)
            return -1;
        if (!OnCurrentLayer(plot, *found)) {
            tell(texts::kTargetNotFound);
            return -1;
        }
        if (found->MLineType == CKovLine::ARC && IsElliptic(*found)) {
            tell(texts::kEllipseNoReference);
            return -1;
        }
        if (found->MLineType != CKovLine::LINE && !(found->MLineType == CKovLine::ARC && IsRound(*found))) {
            tell(texts::kTargetKinds);
            return -1;
        }
        if (found->MLineGrpID != 0)
            return -1;
        const int targetId = found->MLineID;
        const bool lineRef = ref->MLineType == CKovLine::LINE;
        const bool lineTarget = found->MLineType == CKovLine::LINE;
        CDbPoint points[2];
        int count = crossings(*ref, *found, points);
        if (lineRef && lineTarget) {
            if (count == 0) {
                tell(texts::kTrimFailed);
                return -1;
            }
            ReplaceLineEnd(*FindLine(targetId), points[0], click);
            return 3;
        }
        if (ref->MLineType == CKovLine::ARC && (lineTarget || count == 1))
            count = onArcOnly(*ref, points, count);
        if (count == 0) {
            tell(texts::kNoCrossing);
            return -1;
        }
        if (count == 2) {
            selection.AddLineId(targetId);
            return 2;
        }
        CKovLine& target = *FindLine(targetId);
        if (lineTarget)
            ReplaceLineEnd(target, points[0], click);
        else
            MoveArcEnd(target, ArcEndNearer(target, click), points[0]);
        return 3;
    }

    // The third click chooses the crossing.
    if (selection.m_Lines.size() != 2)
        return -1;
    const CKovLine* ref = self.FindLine(selection.m_Lines[0]);
    if (!ref)
        return -1;
    const CKovLine* found = self.FindLine(selection.m_Lines[1]);
    if (!found)
        return 1;
    CDbPoint points[2];
    const int count = crossings(*ref, *found, points);
    const bool lineRef = ref->MLineType == CKovLine::LINE;
    const bool lineTarget = found->MLineType == CKovLine::LINE;
    if (lineRef && lineTarget)
        return -1; // two lines never wait for a third click
    if (lineRef ? count != 2 : (lineTarget ? count != 2 : count == 0)) {
        tell(lineRef ? texts::kTrimFailed : texts::kNoCrossing);
        return -1;
    }
    const CDbPoint chosen =
        count == 2 && distance(click, points[1]) < distance(click, points[0]) ? points[1] : points[0];
    const CDbPoint& targetClick = toolPoints[1];
    CKovLine& target = *FindLine(found->MLineID);
    if (lineTarget) {
        const bool first = distance(targetClick, target.MLinePnt[1]) > distance(targetClick, target.MLinePnt[0]);
        target.MLinePnt[first ? 0 : 1] = chosen;
    } else {
        MoveArcEnd(target, ArcEndNearer(target, targetClick), chosen);
    }
    selection.m_Lines.erase(selection.m_Lines.begin() + 1);
    selection.m_nCount = 1;
    toolPoints.erase(toolPoints.begin() + 1);
    return 3;
}
