// The outlines of speech balloons and rounded rectangles: one closed list of points, the same for
// the tools that make the figure and for the previews that show it first.

#include "model/Geometry.h"
#include "model/KovUnit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Arc pieces per rounded corner: the panel offers 12 to 120; a stored value out of all reason must
// not fill the memory.
int clampSteps(int n) { return std::clamp(n, 1, 360); }

struct Box {
    double x0, y0, x1, y1;
    CDbPoint bl() const { return {x0, y1}; }
    CDbPoint br() const { return {x1, y1}; }
    CDbPoint tr() const { return {x1, y0}; }
    CDbPoint tl() const { return {x0, y0}; }
};

Box boxOf(const CDbPoint& a, const CDbPoint& b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

CDbPoint towards(const CDbPoint& from, const CDbPoint& to, double r)
{
    const double len = PointDistance(from.x, from.y, to.x, to.y);
    return {from.x + (to.x - from.x) / len * r, from.y + (to.y - from.y) / len * r};
}

// The corner X between the side coming from `prev` and the side going to `next`, rounded with the
// radius r: the tangent point on the entering side, the one on the leaving side, and the arc's
// inner points from the first to the second. The sides are axis-parallel, so the fillet's centre
// lies r in from the corner along both.
struct Corner {
    CDbPoint first, second;
    CDbPointArray arc;
};

bool roundCorner(Corner& out, const CDbPoint& prev, const CDbPoint& x, const CDbPoint& next, double r, int n)
{
    out.first = towards(x, prev, r);
    out.second = towards(x, next, r);
    const CDbPoint centre{out.first.x + out.second.x - x.x, out.first.y + out.second.y - x.y};
    const CDbPoint middle = towards(centre, x, r);
    return CircleThroughThreePoints(out.arc, out.first, out.second, middle, n) == 1;
}

// The four rounded corners in the order BL, BR, TR, TL; false when one fails.
bool roundCorners(std::array<Corner, 4>& c, const Box& b, double r, int n)
{
    return roundCorner(c[0], b.tl(), b.bl(), b.br(), r, n) && roundCorner(c[1], b.bl(), b.br(), b.tr(), r, n)
           && roundCorner(c[2], b.br(), b.tr(), b.tl(), r, n) && roundCorner(c[3], b.tr(), b.tl(), b.bl(), r, n);
}

// The side of the outline (0 bottom BL→BR, 1 right BR→TR, 2 top TR→TL, 3 left TL→BL) that carries
// the tail of a direction (0 up, 1 left, 2 down, 3 right); -1 for no tail.
int tailSide(int direction)
{
    switch (direction) {
    case 2: return 0;
    case 3: return 1;
    case 0: return 2;
    case 1: return 3;
    default: return -1;
    }
}

CDbPointArray ellipseOutline(const Box& b, const CDbPoint& tip, double paperScale, int direction)
{
    const double hx = (b.x1 - b.x0) / 2, hy = (b.y1 - b.y0) / 2;
    const CDbPoint k{(b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2};
    const double around = (hx + hy) / 2 * kKovTwoPi;
    const int m = around < 120.0 ? std::max(1, static_cast<int>(around)) : 36;
    const int step = 360 / m;
    CDbPointArray pts;
    pts.reserve(static_cast<std::size_t>(m) + 3);
    pts.push_back({k.x + hx, k.y});
    for (int i = 1; i < m; ++i) {
        int deg = i * step;
        if (deg >= 360)
            deg -= 360;
        const double a = deg * kKovPi / 180.0;
        pts.push_back({k.x + hx * std::cos(a), k.y - hy * std::sin(a)});
    }
    pts.push_back({k.x + hx, k.y});

    // The tail replaces the points within a band across the chosen side: a tenth of the box's
    // diagonal, and never narrower than 20 device pixels of paper.
    double band = PointDistance(b.x0, b.y0, b.x1, b.y1) / 10;
    if (paperScale > 0 && band < 20 / paperScale)
        band = 20 / paperScale;
    const double h = band / 2;
    auto replace = [&](auto insertBefore, auto keep) {
        std::size_t i = 0;
        while (i < pts.size() && !insertBefore(pts[i]))
            ++i;
        if (i == pts.size())
            i = pts.size() - 1; // no point in the band: the tip still goes where the band is
        pts.insert(pts.begin() + static_cast<std::ptrdiff_t>(i), tip);
        std::size_t j = i + 1;
        while (j < pts.size() && !keep(pts[j]))
            ++j;
        pts.erase(pts.begin() + static_cast<std::ptrdiff_t>(i + 1), pts.begin() + static_cast<std::ptrdiff_t>(j));
    };
    switch (direction) {
    case 2:
        replace([&](const CDbPoint& p) { return p.y > k.y && p.x > k.x - h; },
                [&](const CDbPoint& p) { return p.x > k.x + h; });
        break;
    case 0:
        replace([&](const CDbPoint& p) { return p.y < k.y && p.x < k.x + h; },
                [&](const CDbPoint& p) { return p.x < k.x - h; });
        break;
    case 1:
        replace([&](const CDbPoint& p) { return p.x < k.x && p.y > k.y - h; },
                [&](const CDbPoint& p) { return p.y > k.y + h; });
        break;
    case 3: {
        // The right band holds both ends of the list: the tip starts and ends the outline.
        std::size_t j = 0;
        while (j < pts.size() && !(pts[j].x > k.x && pts[j].y < k.y - h))
            ++j;
        if (j < pts.size())
            ++j;
        pts.erase(pts.begin(), pts.begin() + static_cast<std::ptrdiff_t>(j));
        std::size_t e = 0;
        while (e < pts.size() && !(pts[e].x > k.x && pts[e].y > k.y - h && pts[e].y < k.y + h))
            ++e;
        pts.erase(pts.begin() + static_cast<std::ptrdiff_t>(e), pts.end());
        pts.insert(pts.begin(), tip);
        pts.push_back(tip);
        break;
    }
    default: break;
    }
    return pts;
}

} // namespace

void CKovUnit::AddBalloonTailPoints(CDbPointArray& list, const CDbPoint& a, const CDbPoint& b, int position,
                                    const CDbPoint& tip)
{
    const double len = PointDistance(a.x, a.y, b.x, b.y);
    const double q = len / 4;
    if (!(q < len)) {
        list.insert(list.end(), {a, tip, b});
        return;
    }
    switch (position) {
    case 0: list.insert(list.end(), {a, tip, PointTowards(a, b, q)}); break;
    case 2: list.insert(list.end(), {PointTowards(a, b, len - q), tip, b}); break;
    default: list.insert(list.end(), {PointTowards(a, b, len / 2 - q / 2), tip, PointTowards(a, b, len / 2 + q / 2)}); break;
    }
}

CDbPointArray CKovUnit::BalloonOutline(const CDbPoint& corner1, const CDbPoint& corner2, const CDbPoint& tip,
                                       double paperScale, int arcSteps, int direction, int position, int shape)
{
    const Box b = boxOf(corner1, corner2);
    const double rho = std::min(b.x1 - b.x0, b.y1 - b.y0) / 2 / 4;
    if (!(rho > 0) || !std::isfinite(rho))
        return {};
    const int side = tailSide(direction);
    if (shape == 2)
        return ellipseOutline(b, tip, paperScale, direction);

    CDbPointArray pts;
    if (shape == 1) {
        std::array<Corner, 4> c;
        if (!roundCorners(c, b, rho, clampSteps(arcSteps)))
            return {};
        for (int i = 0; i < 4; ++i) {
            const Corner& corner = c[static_cast<std::size_t>(i)];
            pts.insert(pts.end(), corner.arc.begin(), corner.arc.end());
            // The straight part of the side after this corner runs to the next corner's first
            // tangent point.
            if (i == side)
                AddBalloonTailPoints(pts, corner.second, c[static_cast<std::size_t>((i + 1) % 4)].first, position, tip);
        }
        return pts;
    }

    const CDbPoint corners[5] = {b.bl(), b.br(), b.tr(), b.tl(), b.bl()};
    pts.push_back(corners[0]);
    for (int i = 0; i < 4; ++i) {
        if (i == side)
            AddBalloonTailPoints(pts, corners[i], corners[i + 1], position, tip);
        pts.push_back(corners[i + 1]);
    }
    return pts;
}

CDbPointArray CKovUnit::RoundedRectOutline(const CDbPoint& corner1, const CDbPoint& corner2,
                                           const CDbPoint& radiusPoint, int arcSteps)
{
    if (corner1 == corner2)
        return {};
    const Box b = boxOf(corner1, corner2);
    double rho = std::numeric_limits<double>::infinity();
    for (const CDbPoint& c : {b.bl(), b.br(), b.tr(), b.tl()})
        rho = std::min(rho, PointDistance(radiusPoint.x, radiusPoint.y, c.x, c.y));
    const double half = std::min(b.x1 - b.x0, b.y1 - b.y0) / 2;
    if (!(rho > 0) || rho >= half)
        return {};
    std::array<Corner, 4> c;
    if (!roundCorners(c, b, rho, clampSteps(arcSteps)))
        return {};
    CDbPointArray pts;
    for (const Corner& corner : c)
        pts.insert(pts.end(), corner.arc.begin(), corner.arc.end());
    return pts;
}
