// The rounded corner between a circular arc and a straight line: a fillet circle that touches the
// line and the arc's circle from outside, placed by the line's direction, the arc's ends and the
// two clicks that picked the figures.

#include "edit/LineEditRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <cmath>
#include <utility>

using namespace kov::edit;

namespace {

// Sines and cosines of angles that mirror each other differ in their last bits: equal within this.
constexpr double kSameTrig = 1e-9;

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }
double sinDeg(double a) { return std::sin(a * kKovPi / 180); }
double cosDeg(double a) { return std::cos(a * kKovPi / 180); }

// Where the fillet goes: its centre, the line's tangent point, the line end that stays and which
// end of the arc moves (1 start, 2 end).
struct Placement {
    CDbPoint centre;
    CDbPoint tangent;
    CDbPoint kept;
    CDbPoint dropped;
    int arcEnd = 0;
};

// k along the line from the foot of the arc's centre to the tangent point, from |Cf − C| = R + r;
// false when no real k exists.
bool alongLine(double R, double r, double o, double& k)
{
    const double q = (R + r) * (R + r) - o * o;
    if (q < 0)
        return false;
    k = std::sqrt(q);
    return true;
}

// 1 placed, 0 no fillet, 2 the clicks choose no position.
int placeOblique(const CDbPoint& p0, const CDbPoint& p1, const CDbPoint& c, double r, const CDbPoint& s,
                 const CDbPoint& e, const CDbPoint& pa, const CDbPoint& pl, double R, Placement& out)
{
    const CDbPoint f = FootOfPerpendicular(p0, p1, c);
    const double d = distance(c, f);
    if (d >= R + r)
        return 0;
    const CDbPoint low = p0.x > p1.x ? p1 : p0;  // L: the smaller x
    const CDbPoint high = p0.x > p1.x ? p0 : p1; // H
    const double aL = VectorAngle(low.x, low.y, high.x, high.y);
    double dS = VectorAngle(c.x, c.y, s.x, s.y) - aL;
    double dE = VectorAngle(c.x, c.y, e.x, e.y) - aL;
    if (dS < 0) dS += 360;
    if (dE < 0) dE += 360;
    double m = 0, b = 0;
    LineSlopeIntercept(m, b, low.x, low.y, high.x, high.y);
    auto above = [&](const CDbPoint& p) { return p.y < m * p.x + b; };

    bool cfAbove = false, towardLow = false;
    if (std::fabs(sinDeg(dS) + sinDeg(dE)) < kSameTrig) {
        // The arc's ends lie symmetric to the line's direction: the click on the arc decides.
        const double lineY = m * pa.x + b;
        cfAbove = pa.y < lineY || (pa.y == lineY && m > 0);
        towardLow = dE > dS;
        out.arcEnd = towardLow ? (cfAbove ? 2 : 1) : (cfAbove ? 1 : 2);
    } else {
        const double cs = cosDeg(dS), ce = cosDeg(dE);
        if (std::fabs(cs - ce) < kSameTrig)
            return 0;
        cfAbove = cs > ce;
        if (cfAbove)
            towardLow = m > 0 ? pl.y < f.y : pl.y > f.y;
        else
            towardLow = !(m > 0 ? pl.y > f.y : pl.y < f.y);
        out.arcEnd = cfAbove ? (towardLow ? 2 : 1) : (towardLow ? 1 : 2);
    }
    const bool centreSameSide = above(c) == cfAbove;
    const double o = centreSameSide ? R - d : R + d;
    double k = 0;
    if (!alongLine(R, r, o, k))
        return 0;
    const CDbPoint toward = towardLow ? low : high;
    // Along the line's own direction: the foot may coincide with an end.
    const double len = distance(low, high);
    const double ux = (high.x - low.x) / len, uy = (high.y - low.y) / len;
    const double sign = towardLow ? -1 : 1;
    out.tangent = {f.x + sign * k * ux, f.y + sign * k * uy};
    out.centre = PointAtAngle(out.tangent.x, out.tangent.y, cfAbove ? aL + 90 : aL + 270, R);
    out.kept = toward;
    out.dropped = towardLow ? high : low;
    return 1;
}

int placeLevel(const CDbPoint& p0, const CDbPoint& p1, const CDbPoint& c, double r, const CDbPoint& s,
               const CDbPoint& e, const CDbPoint& pa, const CDbPoint& pl, double R, Placement& out)
{
    const double ly = p0.y;
    const CDbPoint low = p0.x > p1.x ? p1 : p0;
    const CDbPoint high = p0.x > p1.x ? p0 : p1;
    const double d = std::fabs(c.y - ly), px = pl.x;
    double k = 0;
    double cfx = 0, cfy = 0;
    bool keepLow = false;
    if (s.x != e.x) {
        const bool up = s.x > e.x;
        if (up ? c.y - r > ly - R : ly + R > c.y + r)
            return 0;
        const double o = up ? (c.y > ly ? R + d : R - d) : (ly > c.y ? R + d : R - d);
        if (!alongLine(R, r, o, k))
            return 0;
        cfy = up ? ly - R : ly + R;
        const bool left = up ? (e.x > px || s.x > high.x) : (s.x > px || e.x > high.x);
        const bool right = up ? (px > s.x || low.x > e.x) : (px > e.x || low.x > s.x);
        if (left) {
            cfx = c.x - k;
            keepLow = true;
            out.arcEnd = up ? 2 : 1;
        } else if (right) {
            cfx = c.x + k;
            out.arcEnd = up ? 1 : 2;
        } else {
            return 2;
        }
    } else {
        // The arc's ends above each other: the click on the arc decides the side.
        if (ly > pa.y && c.y - r > ly - R)
            return 0;
        if (pa.y > ly && ly + R > c.y + r)
            return 0;
        if (!alongLine(R, r, R, k))
            return 0;
        const bool falling = e.y > s.y;
        cfx = falling ? c.x - k : c.x + k;
        keepLow = falling;
        if (ly > pa.y) {
            cfy = ly - R;
            out.arcEnd = falling ? 2 : 1;
        } else if (pa.y > c.y) {
            cfy = ly + R;
            out.arcEnd = falling ? 1 : 2;
        } else {
            return 2;
        }
    }
    out.centre = {cfx, cfy};
    out.tangent = {cfx, ly};
    out.kept = keepLow ? low : high;
    out.dropped = keepLow ? high : low;
    return 1;
}

int placePlumb(const CDbPoint& p0, const CDbPoint& p1, const CDbPoint& c, double r, const CDbPoint& s,
               const CDbPoint& e, const CDbPoint& pa, const CDbPoint& pl, double R, Placement& out)
{
    const double lx = p0.x;
    const CDbPoint top = p0.y > p1.y ? p1 : p0;
    const CDbPoint bottom = p0.y > p1.y ? p0 : p1;
    const double d = std::fabs(c.x - lx), py = pl.y;
    double k = 0;
    double cfx = 0, cfy = 0;
    bool keepBottom = false;
    if (s.y != e.y) {
        const bool leftSide = e.y > s.y;
        if (leftSide ? c.x - r > lx - R : lx + R > c.x + r)
            return 0;
        const double o = leftSide ? (lx > c.x ? R - d : R + d) : (c.x > lx ? R - d : R + d);
        if (!alongLine(R, r, o, k))
            return 0;
        cfx = leftSide ? lx - R : lx + R;
        const bool down = py > s.y || top.y > s.y;
        const bool upward = e.y > py || bottom.y > e.y;
        if (down) {
            cfy = c.y + k;
            keepBottom = true;
            out.arcEnd = leftSide ? 2 : 1;
        } else if (upward) {
            cfy = c.y - k;
            out.arcEnd = leftSide ? 1 : 2;
        } else {
            return 2;
        }
    } else {
        // The arc's ends level with each other: the click on the arc decides the side.
        if (pa.x > lx && lx + R > c.x + r)
            return 0;
        if (lx > pa.x && c.x - r > lx - R)
            return 0;
        if (!alongLine(R, r, R, k))
            return 0;
        const bool leftward = s.x > e.x;
        cfy = leftward ? c.y - k : c.y + k;
        keepBottom = !leftward;
        if (pa.x > lx) {
            cfx = lx + R;
            out.arcEnd = leftward ? 2 : 1;
        } else if (c.x > pa.x) {
            cfx = lx - R;
            out.arcEnd = leftward ? 1 : 2;
        } else {
            return 2;
        }
    }
    out.centre = {cfx, cfy};
    out.tangent = {lx, cfy};
    out.kept = keepBottom ? bottom : top;
    out.dropped = keepBottom ? top : bottom;
    return 1;
}

} // namespace

int CKovUnit::FilletArcLine(CKovLine& arc, CKovLine& line, const CPlotInfo& plot, const CDbPoint& pa,
                            const CDbPoint& pl, double R)
{
    if (arc.MLinePnt.size() < 3 || arc.MLineParam.empty() || line.MLinePnt.size() < 2)
        return 0;
    const CDbPoint c = arc.MLinePnt[0], s = arc.MLinePnt[1], e = arc.MLinePnt[2];
    const double r = arc.MLineParam[0];
    const CDbPoint p0 = line.MLinePnt[0], p1 = line.MLinePnt[1];
    Placement place;
    int result = 0;
    if (p0.x == p1.x)
        result = placePlumb(p0, p1, c, r, s, e, pa, pl, R, place);
    else if (p0.y == p1.y)
        result = placeLevel(p0, p1, c, r, s, e, pa, pl, R, place);
    else
        result = placeOblique(p0, p1, c, r, s, e, pa, pl, R, place);
    if (result != 1)
        return result;
    // A tangent point at or past the end that stays would turn the line round.
    const double ax = place.kept.x - place.dropped.x, ay = place.kept.y - place.dropped.y;
    if ((place.tangent.x - place.kept.x) * ax + (place.tangent.y - place.kept.y) * ay >= 0)
        return 0;

    const CDbPoint onArc = PointTowards(place.centre, c, R);
    line.MLinePnt[0] = place.kept;
    line.MLinePnt[1] = place.tangent;
    MoveArcEnd(arc, place.arcEnd, onArc);
    CDbPointArray points = place.arcEnd == 1 ? CDbPointArray{place.centre, onArc, place.tangent}
                                             : CDbPointArray{place.centre, place.tangent, onArc};
    auto fillet = NewLineStyledFigure(*this, plot, CKovLine::ARC, std::move(points));
    fillet->MLineParam = {R};
    m_Lines.Add(std::move(fillet));
    return 1;
}
