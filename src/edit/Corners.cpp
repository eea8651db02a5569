// Corners of two figures: lines (or a line and an arc) extended or cut to meet, straight chamfers,
// L-shaped notches and fillets.

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

constexpr double kLevelTolerance = 0.1;      // lines this close to vertical or horizontal count as such
constexpr double kParallelSlopes = 0.001;
enum Mode { FACE_LENGTH = 0, EDGE_LENGTH = 1, FILLET = 2, NOTCH = 3 };

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

bool isLine(const CKovLine& f) { return f.MLineType == CKovLine::LINE && f.MLinePnt.size() >= 2; }
bool isRoundArc(const CKovLine& f) { return f.MLineType == CKovLine::ARC && f.MLinePnt.size() >= 3 && IsRound(f); }

// The corner tool's pick: a line, else an arc, ungrouped. A figure off the current layer gives way to
// the next one under the click when that one lies on the current layer. Elliptic arcs are refused:
// their ends cannot be moved along a circle.
const CKovLine* pickCornerFigure(CKovUnit& unit, const CPlotInfo& plot, const CDbPoint& click, int devX, int devY,
                                 const DeviceTransform& t)
{
    auto pick = [&](int cycle, int previous) -> const CKovLine* {
        SelectionRecord s;
        if (!unit.PickLine(s, plot, PickLayers::SnappableOrCurrent, devX, devY, t, cycle, previous, 0))
            unit.PickArc(s, plot, PickLayers::SnappableOrCurrent, click.x, click.y, devX, devY, t, cycle, previous, 0);
        const CKovLine* f = OnlyPickedFigure(unit, s);
        if (!f || f->MLineGrpID != 0 || !(isLine(*f) || isRoundArc(*f)))
            return nullptr;
        return f;
    };
    const CKovLine* f = pick(0, 0);
    if (!f || OnCurrentLayer(plot, *f))
        return f;
    const CKovLine* next = pick(1, f->MLineID);
    return next && OnCurrentLayer(plot, *next) ? next : nullptr;
}

// The point at distance d from c towards `toward` on the line through them, as the crossing of the
// line with the circle of radius d about c that is nearer `toward`. False without two crossings.
bool towardsOnCircle(const CDbPoint& c, const CDbPoint& toward, double d, CDbPoint& out)
{
    CDbPoint x[2];
    int n = 0;
    IntersectLineCircle(x, n, c, toward, c, d);
    if (n != 2)
        return false;
    out = distance(x[1], toward) < distance(x[0], toward) ? x[1] : x[0];
    return true;
}

// The fillet of radius r in the corner at i between the directions to farA and farB: its centre on
// the bisector and the tangent points on both lines.
bool filletAt(const CDbPoint& i, const CDbPoint& farA, const CDbPoint& farB, double r, CDbPoint& centre,
              CDbPoint& ta, CDbPoint& tb)
{
    CDbPoint pa, pb;
    if (!towardsOnCircle(i, farA, r, pa) || !towardsOnCircle(i, farB, r, pb))
        return false;
    const CDbPoint m{(pa.x + pb.x) / 2, (pa.y + pb.y) / 2};
    const CDbPoint f = FootOfPerpendicular(i, farA, m);
    const double mi = distance(m, i), ml = distance(m, f);
    if (mi == 0 || ml == 0)
        return false;
    // Along the bisector, r·|MI|/|MF| from the corner lies the point r away from both lines.
    CDbPoint x[2];
    int n = 0;
    IntersectLineCircle(x, n, i, m, i, r * mi / ml);
    if (n != 2)
        return false;
    centre = distance(x[1], farA) < distance(x[0], farA) ? x[1] : x[0];
    ta = FootOfPerpendicular(i, farA, centre);
    tb = FootOfPerpendicular(i, farB, centre);
    return true;
}

// Centre, start and end of the shorter counter-clockwise arc between the tangent points.
void shorterArc(CDbPoint out[3], const CDbPoint& c, const CDbPoint& ta, const CDbPoint& tb)
{
    const double a1 = VectorAngle(c.x, c.y, ta.x, ta.y);
    const double a2 = VectorAngle(c.x, c.y, tb.x, tb.y);
    double d = a2 - a1, e = a1 - a2;
    if (d < 0) d += 360;
    if (e < 0) e += 360;
    out[0] = c;
    out[1] = e > d ? ta : tb;
    out[2] = e > d ? tb : ta;
}

CDbPoint farEnd(const CKovLine& line, const CDbPoint& corner)
{
    return line.MLinePnt[0] == corner ? line.MLinePnt[1] : line.MLinePnt[0];
}

} // namespace

int CKovUnit::FilletCorner(CDbPoint out[3], CDbPoint& a0, CDbPoint& a1, CDbPoint& b0, CDbPoint& b1, double r)
{
    CDbPoint i;
    if (!IntersectLines(i, a0, a1, b0, b1))
        return -1;
    const CDbPoint farA = a0 == i ? a1 : a0;
    const CDbPoint farB = b0 == i ? b1 : b0;
    CDbPoint c, ta, tb;
    if (!filletAt(i, farA, farB, r, c, ta, tb))
        return -1;
    a0 = ta;
    a1 = farA;
    b0 = tb;
    b1 = farB;
    shorterArc(out, c, ta, tb);
    return 1;
}

int CKovUnit::CornerArcLine(CKovLine& arc, CKovLine& line, const CDbPoint& p, double arcEnd, CDbPointArray& toolPoints)
{
    CDbPoint x[2];
    int count = 0;
    IntersectLineCircle(x, count, line.MLinePnt[0], line.MLinePnt[1], arc.MLinePnt[0], arc.MLineParam[0]);
    if (count == 0)
        return 0;
    if (toolPoints.size() == 1) {
        // A line that touches the circle offers its one point twice.
        toolPoints.push_back(p);
        toolPoints.push_back(x[0]);
        toolPoints.push_back(count == 2 ? x[1] : x[0]);
        return 1;
    }
    if (toolPoints.size() != 4)
        return 0;
    const CDbPoint chosen = distance(p, toolPoints[3]) > distance(p, toolPoints[2]) ? toolPoints[2] : toolPoints[3];
    ReplaceLineEnd(line, chosen, toolPoints[1]);
    MoveArcEnd(arc, arcEnd == 1.0 ? 1 : 2, chosen);
    return 1;
}

int CKovUnit::CornerLines(SelectionRecord& selection, const CPlotInfo& plot, CDbPointArray& toolPoints,
                          const CDbPoint& click, int devX, int devY, const DeviceTransform& transform, double& arcEnd)
{
    const CKovUnit& self = *this;
    if (toolPoints.empty()) {
        selection.Clear();
        const CKovLine* f = pickCornerFigure(*this, plot, click, devX, devY, transform);
        if (!f)
            return 0;
        arcEnd = f->MLineType == CKovLine::ARC ? ArcEndNearer(*f, click) : 0.0;
        selection.AddLineId(f->MLineID);
        return 1;
    }

    if (toolPoints.size() == 1) {
        if (selection.m_Lines.empty())
            return 0;
        const CKovLine* first = self.FindLine(selection.m_Lines[0]);
        const CKovLine* second = pickCornerFigure(*this, plot, click, devX, devY, transform);
        if (!first || !second)
            return 0;
        const int firstId = first->MLineID, secondId = second->MLineID;
        if (isLine(*first) && isLine(*second)) {
            auto kind = [](const CKovLine& l, double& slope) {
                const CDbPoint& a = l.MLinePnt[0];
                const CDbPoint& b = l.MLinePnt[1];
                if (std::fabs(a.x - b.x) < kLevelTolerance) return 1;
                if (std::fabs(a.y - b.y) < kLevelTolerance) return 2;
                slope = (b.y - a.y) / (b.x - a.x);
                return 0;
            };
            double m1 = 0, m2 = 0;
            const int k1 = kind(*first, m1), k2 = kind(*second, m2);
            if ((k1 != 0 && k1 == k2) || (k1 == 0 && k2 == 0 && std::fabs(m1 - m2) < kParallelSlopes))
                return 0;
            CDbPoint corner;
            if (!IntersectLines(corner, first->MLinePnt[0], first->MLinePnt[1], second->MLinePnt[0], second->MLinePnt[1]))
                return 0;
            ReplaceLineEnd(*FindLine(firstId), corner, toolPoints[0]);
            ReplaceLineEnd(*FindLine(secondId), corner, click);
            selection.Clear();
            return 2;
        }
        // A line and an arc cross twice: the candidates become tool points, the next click chooses.
        int ok = 0;
        CKovLine arcCopy = isLine(*first) ? *second : *first;
        CKovLine lineCopy = isLine(*first) ? *first : *second;
        if (isLine(*first) && isRoundArc(*second)) {
            arcEnd = ArcEndNearer(*second, click);
            ok = CornerArcLine(arcCopy, lineCopy, toolPoints[0], arcEnd, toolPoints);
        } else if (isRoundArc(*first) && isLine(*second)) {
            ok = CornerArcLine(arcCopy, lineCopy, click, arcEnd, toolPoints);
        }
        if (!ok)
            return 0;
        selection.AddLineId(secondId);
        return 3;
    }

    if (selection.m_Lines.size() != 2 || toolPoints.size() != 4)
        return 0;
    const CKovLine* first = self.FindLine(selection.m_Lines[0]);
    const CKovLine* second = self.FindLine(selection.m_Lines[1]);
    if (!first || !second || second->MLineGrpID != 0 || !OnCurrentLayer(plot, *second))
        return 0;
    const CKovLine* arc = isRoundArc(*first) ? first : second;
    const CKovLine* line = arc == first ? second : first;
    if (!isRoundArc(*arc) || !isLine(*line))
        return 0;
    CKovLine arcCopy = *arc, lineCopy = *line;
    if (!CornerArcLine(arcCopy, lineCopy, click, arcEnd, toolPoints))
        return 0;
    *FindLine(arcCopy.MLineID) = arcCopy;
    *FindLine(lineCopy.MLineID) = lineCopy;
    selection.Clear();
    return 2;
}

int CKovUnit::ChamferLines(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                           const CDbPoint& click, int devX, int devY, const DeviceTransform& transform,
                           const ChamferSizes& sizes, int mode, const MessageSink& tell)
{
    const CKovUnit& self = *this;
    if (toolPoints.size() >= 2)
        return 2;
    SelectionRecord picked;
    PickFigure(picked, plot, PickLayers::SnappableOrCurrent, click.x, click.y, devX, devY, transform, 0, 0, 0);
    if (toolPoints.empty()) {
        selection.Clear();
        const CKovLine* f = OnlyPickedFigure(self, picked);
        if (!f)
            return 0;
        if (f->MLineType == CKovLine::ARC && IsElliptic(*f)) {
            tell(texts::kEllipseNoChamfer);
            return 0;
        }
        if (!isLine(*f) && !isRoundArc(*f))
            return 0;
        if (f->MLineGrpID != 0 || !OnCurrentLayer(plot, *f))
            return 0;
        selection.AddLineId(f->MLineID);
        return 1;
    }
    if (selection.m_Lines.empty())
        return 0;
    const CKovLine* first = self.FindLine(selection.m_Lines[0]);
    const CKovLine* second = OnlyPickedFigure(self, picked);
    if (!first || !second)
        return 0;
    return ChamferPair(first->MLineID, second->MLineID, toolPoints[0], click, plot, sizes, mode, tell);
}

int CKovUnit::ChamferPair(int firstId, int secondId, const CDbPoint& firstClick, const CDbPoint& secondClick,
                          const CPlotInfo& plot, const ChamferSizes& sizes, int mode, const MessageSink& tell)
{
    const CKovUnit& self = *this;
    const CKovLine* first = self.FindLine(firstId);
    const CKovLine* second = self.FindLine(secondId);
    if (!first || !second)
        return 0;
    if (!isLine(*first) && !isRoundArc(*first))
        return 0;
    if (isRoundArc(*first) && !isLine(*second)) {
        tell(texts::kChamferKinds);
        return 0;
    }
    if (second->MLineType == CKovLine::ARC && IsElliptic(*second)) {
        tell(texts::kEllipseNoChamfer);
        return 0;
    }
    if (!(isLine(*second) || isRoundArc(*second)) || second->MLineGrpID != 0 || !OnCurrentLayer(plot, *second))
        return 0;
    if (first->MLineGrpID != 0 || !OnCurrentLayer(plot, *first))
        return 0;
    // A negative length means the same length: it is a size, not a direction.
    const double s0 = std::fabs(sizes[0]), s1 = std::fabs(sizes[1]), s2 = std::fabs(sizes[2]),
                 s3 = std::fabs(sizes[3]);

    if (isRoundArc(*first) || isRoundArc(*second)) {
        if (mode != FILLET) {
            tell(texts::kArcsRoundOnly);
            return 0;
        }
        const bool arcFirst = isRoundArc(*first);
        CKovLine arc = arcFirst ? *first : *second;
        CKovLine line = arcFirst ? *second : *first;
        const int result = FilletArcLine(arc, line, plot, arcFirst ? firstClick : secondClick,
                                         arcFirst ? secondClick : firstClick, s1);
        if (result == 1) {
            *FindLine(arc.MLineID) = arc;
            *FindLine(line.MLineID) = line;
            return 2;
        }
        if (result == 0)
            tell(texts::kNoChamfer);
        return 0;
    }

    // Two lines: first the corner, which stays made whatever is refused after it.
    CKovLine a = *first, b = *second;
    CDbPoint corner;
    if (!IntersectLines(corner, a.MLinePnt[0], a.MLinePnt[1], b.MLinePnt[0], b.MLinePnt[1])) {
        tell(texts::kNoCornerPoint);
        return 0;
    }
    ReplaceLineEnd(a, corner, firstClick);
    ReplaceLineEnd(b, corner, secondClick);
    *FindLine(firstId) = a;
    *FindLine(secondId) = b;
    const CDbPoint farA = farEnd(a, corner), farB = farEnd(b, corner);
    const double ia = distance(corner, farA), ib = distance(corner, farB);

    double d1 = 0, d2 = 0;
    switch (mode) {
    case FACE_LENGTH: {
        double delta = std::fabs(VectorAngle(corner.x, corner.y, farB.x, farB.y) -
                                 VectorAngle(corner.x, corner.y, farA.x, farA.y));
        if (delta > 180)
            delta = 360 - delta;
        d1 = d2 = (s0 / 2) / std::sin(delta / 2 * kKovPi / 180);
        if (s0 >= distance(farA, farB))
            return 0;
        // A cut that reaches a line's far end would turn the line round.
        if (!(d1 < ia && d2 < ib))
            return 0;
        break;
    }
    case EDGE_LENGTH:
        d1 = d2 = s0;
        if (s0 >= ia || s0 >= ib)
            return 0;
        break;
    case FILLET:
        d1 = d2 = s1;
        break;
    case NOTCH:
        d1 = s2;
        d2 = s3;
        if (s2 >= ia || s3 >= ib)
            return 0;
        break;
    default:
        return 0;
    }
    CDbPoint pa, pb;
    if (!towardsOnCircle(corner, farA, d1, pa) || !towardsOnCircle(corner, farB, d2, pb))
        return 0;

    if (mode == FILLET) {
        CDbPoint c, ta, tb;
        if (!filletAt(corner, farA, farB, s1, c, ta, tb))
            return 0;
        // Tangent points past a far end would turn that line round.
        if (distance(corner, ta) > ia || distance(corner, tb) > ib)
            return 0;
        a.MLinePnt[0] = ta;
        a.MLinePnt[1] = farA;
        b.MLinePnt[0] = tb;
        b.MLinePnt[1] = farB;
        *FindLine(firstId) = a;
        *FindLine(secondId) = b;
        CDbPoint arcPoints[3];
        shorterArc(arcPoints, c, ta, tb);
        auto fillet = NewLineStyledFigure(*this, plot, CKovLine::ARC, {arcPoints[0], arcPoints[1], arcPoints[2]});
        fillet->MLineParam = {s1};
        m_Lines.Add(std::move(fillet));
        return 2;
    }

    a.MLinePnt[0] = pa;
    a.MLinePnt[1] = farA;
    b.MLinePnt[0] = pb;
    b.MLinePnt[1] = farB;
    *FindLine(firstId) = a;
    *FindLine(secondId) = b;
    if (mode == NOTCH) {
        // The corner of the parallelogram on the corner, PA and PB, opposite the corner.
        const CDbPoint q{pb.x + (pa.x - corner.x), pb.y + (pa.y - corner.y)};
        m_Lines.Add(NewLineStyledFigure(*this, plot, CKovLine::LINE, {pa, q}));
        m_Lines.Add(NewLineStyledFigure(*this, plot, CKovLine::LINE, {pb, q}));
    } else {
        m_Lines.Add(NewLineStyledFigure(*this, plot, CKovLine::LINE, {pa, pb}));
    }
    return 2;
}
