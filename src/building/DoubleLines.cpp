// Double lines: two lines at given distances to the left and right of a picked path, and the
// closed band between them as one filled polygon.

#include "building/NewFigures.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLevel = 1e-4;

struct Offset {
    CDbPoint leftStart, leftEnd, rightStart, rightEnd;
};

// The left and right offsets of A->B, left and right as seen on the screen along A->B.
Offset offsetSegment(const CDbPoint& a, const CDbPoint& b, double dl, double dr)
{
    Offset o;
    if (std::fabs(a.x - b.x) <= kLevel) {
        const double l = a.y > b.y ? -dl : dl;
        const double r = a.y > b.y ? dr : -dr;
        o = {{a.x + l, a.y}, {b.x + l, b.y}, {a.x + r, a.y}, {b.x + r, b.y}};
    } else if (std::fabs(a.y - b.y) <= kLevel) {
        const double l = a.x < b.x ? -dl : dl;
        const double r = a.x < b.x ? dr : -dr;
        o = {{a.x, a.y + l}, {b.x, b.y + l}, {a.x, a.y + r}, {b.x, b.y + r}};
    } else {
        double m = 0, c = 0;
        LineSlopeIntercept(m, c, a.x, a.y, b.x, b.y);
        const double mp = -1.0 / m;
        const double sl = std::sqrt(dl * dl / (mp * mp + 1));
        const double sr = std::sqrt(dr * dr / (mp * mp + 1));
        const bool leftLess = (mp > 0 && b.x > a.x) || (mp <= 0 && b.x <= a.x);
        const double lx = leftLess ? -sl : sl;
        const double rx = leftLess ? sr : -sr;
        auto onPerpendicular = [mp](const CDbPoint& end, double dx) {
            const double x = end.x + dx;
            return CDbPoint{x, mp * x + (end.y - mp * end.x)};
        };
        o = {onPerpendicular(a, lx), onPerpendicular(b, lx), onPerpendicular(a, rx), onPerpendicular(b, rx)};
    }
    return o;
}

// One side's outline: neighbouring offset segments meet where their lines cross (parallel ones
// keep their ends); the starts followed by the last end.
CDbPointArray joinSide(CDbPointArray starts, CDbPointArray ends)
{
    for (std::size_t i = 1; i < starts.size(); ++i) {
        CDbPoint x;
        if (IntersectLines(x, starts[i - 1], ends[i - 1], starts[i], ends[i]) == 1) {
            ends[i - 1] = x;
            starts[i] = x;
        }
    }
    CDbPointArray outline = starts;
    if (!ends.empty()) outline.push_back(ends.back());
    return outline;
}

bool finitePoints(const CDbPointArray& pts)
{
    return std::all_of(pts.begin(), pts.end(), [](const CDbPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

} // namespace

bool CKovUnit::DoubleLineOutlines(const CDbPointArray& points, const CDbPoint& finish, double dl, double dr,
                                  CDbPointArray& left, CDbPointArray& right)
{
    CDbPointArray ls, le, rs, re;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CDbPoint& a = points[i];
        const CDbPoint& b = i + 1 < points.size() ? points[i + 1] : finish;
        if (a == b) continue;
        const Offset o = offsetSegment(a, b, dl, dr);
        ls.push_back(o.leftStart);
        le.push_back(o.leftEnd);
        rs.push_back(o.rightStart);
        re.push_back(o.rightEnd);
    }
    if (ls.empty()) return false;
    left = joinSide(ls, le);
    right = joinSide(rs, re);
    // Points far off the sheet that overflowed make no line.
    return finitePoints(left) && finitePoints(right);
}

void CKovUnit::AddDoubleLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                             const CDbPoint& finish, double dl, double dr, int separateSegments)
{
    selection.Clear();
    CDbPointArray left, right;
    if (!DoubleLineOutlines(points, finish, dl, dr, left, right)) return;
    auto add = [&](CDbPointArray pts) {
        const int kind = pts.size() == 2 ? CKovLine::LINE : CKovLine::CONTINUOUS;
        CKovLine* f = kov::building::appendFigure(*this, plot, kind, std::move(pts));
        if (!f) return;
        f->MLineColor = plot.PlotColor[0];
        f->MLineWide = plot.PlotLineWide[0];
        f->MLineLineT = plot.PlotLineType[0];
        selection.AddLineId(f->MLineID);
    };
    for (const CDbPointArray* side : {&left, &right}) {
        if (separateSegments == 1) {
            for (std::size_t i = 0; i + 1 < side->size(); ++i) add({(*side)[i], (*side)[i + 1]});
        } else {
            add(*side);
        }
    }
}

int CKovUnit::AddDoubleLinePolygon(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                                   const CDbPoint& finish, double dl, double dr)
{
    selection.Clear();
    CDbPointArray left, right;
    if (!DoubleLineOutlines(points, finish, dl, dr, left, right)) return -1;
    CDbPointArray band = left;
    band.insert(band.end(), right.rbegin(), right.rend());
    band.push_back(left.front());
    CKovLine* f = kov::building::appendFigure(*this, plot, CKovLine::POLYGON, std::move(band));
    if (!f) return -1;
    kov::building::takeClosedStyle(*f, plot, 2, true);
    selection.AddLineId(f->MLineID);
    return f->MLineID;
}
