// The container's answers to the view's point snapping: the nearest crossing of figures and the
// nearest vertex, corner, wall edge or text anchor, judged in device pixels of the screen.
//
// Only what lies near the pointer can be snapped to, so each query first keeps the objects whose
// box meets a window of the near distance (plus a pixel of rounding) around it: on a large drawing
// the crossings are looked for among the few segments there, not among every pair of the drawing.

#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace kov::edit;

namespace {

int manhattan(const DevicePoint& a, const DevicePoint& b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }

bool inTable(int g, int l) { return g >= 0 && g < CLayer::kRecords && l >= 0 && l < CLayer::kRecords; }

int layerState(const CPlotInfo& plot, int g, int l)
{
    return plot.m_Layer.m_LayerInfo[static_cast<std::size_t>(g)][static_cast<std::size_t>(l)].m_nType;
}
int groupState(const CPlotInfo& plot, int g) { return plot.m_Layer.m_GrpLayerInfo[static_cast<std::size_t>(g)].m_nType; }

bool sameScale(const CPlotInfo& plot, int g)
{
    const CLayer& L = plot.m_Layer;
    return g == L.m_nCurrentGroup ||
           (inTable(L.m_nCurrentGroup, 0) &&
            L.m_dScale[static_cast<std::size_t>(g)] == L.m_dScale[static_cast<std::size_t>(L.m_nCurrentGroup)]);
}

// Crossings: seen at the drawing's scale and not hidden.
bool crossingLayer(const CPlotInfo& plot, LayerAddress at)
{
    if (!inTable(at.group, at.layer))
        return false;
    return sameScale(plot, at.group) && groupState(plot, at.group) != CLayerInfo::LAYER_HIDDEN &&
           layerState(plot, at.group, at.layer) != CLayerInfo::LAYER_HIDDEN;
}

// Box corners and wall edges: the current layer, or a layer whose group and layer both snap.
bool edgeLayer(const CPlotInfo& plot, LayerAddress at)
{
    if (at == CurrentLayer(plot))
        return true;
    return inTable(at.group, at.layer) && groupState(plot, at.group) == CLayerInfo::LAYER_SNAP &&
           layerState(plot, at.group, at.layer) == CLayerInfo::LAYER_SNAP;
}

// Vertices, outline corners and text anchors: as the edges, and at the drawing's scale.
bool vertexLayer(const CPlotInfo& plot, LayerAddress at)
{
    return inTable(at.group, at.layer) && sameScale(plot, at.group) && edgeLayer(plot, at);
}

// The window around the pointer in drawing millimetres.
struct Window {
    double minX, minY, maxX, maxY;
    Window(const DevicePoint& d, const DeviceTransform& t, int g, int pixels)
    {
        const auto gi = static_cast<std::size_t>(g);
        const double sx = t.scaleX[gi] != 0 ? t.scaleX[gi] : 1, sy = t.scaleY[gi] != 0 ? t.scaleY[gi] : 1;
        const double cx = (d.x - t.originX) / sx, cy = (d.y - t.originY) / sy;
        const double wx = (pixels + 2) / std::fabs(sx), wy = (pixels + 2) / std::fabs(sy);
        minX = cx - wx, maxX = cx + wx, minY = cy - wy, maxY = cy + wy;
    }
    bool contains(const CDbPoint& p) const { return minX <= p.x && p.x <= maxX && minY <= p.y && p.y <= maxY; }
    bool meetsBox(const CDbPoint& a, const CDbPoint& b) const
    {
        return std::min(a.x, b.x) <= maxX && std::max(a.x, b.x) >= minX && std::min(a.y, b.y) <= maxY &&
               std::max(a.y, b.y) >= minY;
    }
    // Whether the circle's line passes through the window.
    bool meetsRing(const CDbPoint& c, double r) const
    {
        const double nx = std::clamp(c.x, minX, maxX) - c.x, ny = std::clamp(c.y, minY, maxY) - c.y;
        const double fx = std::max(std::fabs(minX - c.x), std::fabs(maxX - c.x));
        const double fy = std::max(std::fabs(minY - c.y), std::fabs(maxY - c.y));
        const double r2 = r * r, slack = 1e-6 * (1 + r2);
        return nx * nx + ny * ny <= r2 + slack && fx * fx + fy * fy >= r2 - slack;
    }
};

struct Segment {
    CDbPoint a, b;
};
struct Circle {
    CDbPoint c;
    double r;
};

bool onSegment(const CDbPoint& p, const Segment& s)
{
    return PointInSegmentBox(p.x, p.y, s.a.x, s.a.y, s.b.x, s.b.y) || (p.x == s.a.x && p.y == s.a.y) ||
           (p.x == s.b.x && p.y == s.b.y);
}

// The nearest of the offered points; ties keep the earlier.
struct Nearest {
    DevicePoint device;
    const DeviceTransform& t;
    int g;
    int window;   // each axis strictly below
    int best;     // Manhattan distance strictly below
    bool found = false;
    CDbPoint point;
    DevicePoint at;

    void offer(const CDbPoint& p)
    {
        const DevicePoint q = ToDevicePoint(p, t, g);
        if (!(std::abs(q.x - device.x) < window && std::abs(q.y - device.y) < window))
            return;
        const int d = manhattan(q, device);
        if (d < best) {
            best = d;
            found = true;
            point = p;
            at = q;
        }
    }
};

} // namespace

int CKovUnit::SnapToIntersection(DevicePoint& devicePoint, CDbPoint& point, const DeviceTransform& transform,
                                 const CPlotInfo& plot) const
{
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
    const Window window(devicePoint, transform, g, NearDistance());
    std::vector<Segment> segments;
    std::vector<Circle> circles;
    auto addSegment = [&](const CDbPoint& a, const CDbPoint& b) {
        if (window.meetsBox(a, b))
            segments.push_back({a, b});
    };
    for (const auto& f : m_Lines) {
        const CDbPointArray& p = f->MLinePnt;
        const std::size_t n = p.size();
        switch (f->MLineType) {
        case CKovLine::LINE:
        case CKovLine::RECTANGLE:
        case CKovLine::POLYGON:
        case CKovLine::CONTINUOUS:
            break;
        case CKovLine::CIRCLE:
        case CKovLine::ARC:
            // An arc counts as its whole circle; ellipses and elliptic arcs give nothing.
            if (n >= 1 && !f->MLineParam.empty() && f->MLineParam.size() != 2 && window.meetsRing(p[0], f->MLineParam[0]) &&
                crossingLayer(plot, LayerOf(*f)))
                circles.push_back({p[0], f->MLineParam[0]});
            continue;
        default:
            continue;
        }
        if (n == 0 || !crossingLayer(plot, LayerOf(*f)))
            continue;
        if (f->MLineType == CKovLine::LINE) {
            if (n >= 2)
                addSegment(p[0], p[1]);
        } else if (f->MLineType == CKovLine::CONTINUOUS) {
            for (std::size_t k = 0; k + 1 < n; ++k)
                addSegment(p[k], p[k + 1]);
        } else {
            for (std::size_t k = 0; k < n; ++k)
                addSegment(p[k], p[(k + 1) % n]);
        }
    }

    Nearest nearest{devicePoint, transform, g, NearDistance(), NearDistance()};
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        for (std::size_t j = i + 1; j < segments.size(); ++j) {
            CDbPoint x;
            if (IntersectLines(x, s.a, s.b, segments[j].a, segments[j].b) && onSegment(x, s) && onSegment(x, segments[j]))
                nearest.offer(x);
        }
        for (const Circle& c : circles) {
            CDbPoint xs[2];
            int count = 0;
            if (!IntersectLineCircle(xs, count, s.a, s.b, c.c, c.r))
                continue;
            for (int k = 0; k < count && k < 2; ++k)
                if (onSegment(xs[k], s))
                    nearest.offer(xs[k]);
        }
    }
    for (std::size_t i = 0; i < circles.size(); ++i) {
        for (std::size_t j = i + 1; j < circles.size(); ++j) {
            CDbPoint xs[2];
            int count = 0;
            if (!IntersectCircles(xs, count, circles[i].c, circles[i].r, circles[j].c, circles[j].r))
                continue;
            for (int k = 0; k < count && k < 2; ++k)
                nearest.offer(xs[k]);
        }
    }
    if (!nearest.found)
        return 0;
    point = nearest.point;
    devicePoint = nearest.at;
    return 1;
}

int CKovUnit::SnapToVertex(DevicePoint& devicePoint, CDbPoint& point, const DeviceTransform& transform,
                           int groupCorners, const CPlotInfo& plot) const
{
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
    const DevicePoint d = devicePoint;
    const Window window(d, transform, g, NearDistance());
    int best = PickRadius();
    double offsetX = 0, offsetY = 0;
    DevicePoint at = d;
    auto offerPoint = [&](const CDbPoint& p, int reach) {
        if (!window.contains(p))
            return;
        const DevicePoint q = ToDevicePoint(p, transform, g);
        if (!(std::abs(q.x - d.x) < reach && std::abs(q.y - d.y) < reach))
            return;
        const int m = manhattan(q, d);
        if (m < best) {
            best = m;
            offsetX = p.x - point.x;
            offsetY = p.y - point.y;
            at = q;
        }
    };
    auto apply = [&] {
        point = {point.x + offsetX, point.y + offsetY};
        devicePoint = at;
        return 1;
    };

    for (const auto& f : m_Lines) {
        if (std::none_of(f->MLinePnt.begin(), f->MLinePnt.end(), [&](const CDbPoint& p) { return window.contains(p); }) ||
            !vertexLayer(plot, LayerOf(*f)))
            continue;
        for (const CDbPoint& p : f->MLinePnt)
            offerPoint(p, NearDistance());
    }
    if (groupCorners != 0) {
        for (const auto& group : m_Groups) {
            if (!edgeLayer(plot, LayerOf(*group)))
                continue;
            const CDbPoint& a = group->MGrpmin;
            const CDbPoint& b = group->MGrpmax;
            for (const CDbPoint& p : {a, CDbPoint{a.x, b.y}, b, CDbPoint{b.x, a.y}})
                offerPoint(p, PickRadius());
        }
    }
    // Walls whose outline comes near the pointer at all.
    std::vector<const CKovWall*> walls;
    for (const auto& wall : m_Walls) {
        const CDbPointArray& s = wall->MWallarPntA;
        const CDbPointArray& e = wall->MWallarPntB;
        const std::size_t n = std::min(s.size(), e.size());
        bool near = false;
        for (std::size_t k = 0; k < n && !near; ++k)
            near = window.meetsBox(s[k], e[k]);
        if (near)
            walls.push_back(wall.get());
    }
    for (const CKovWall* wall : walls) {
        if (!vertexLayer(plot, LayerOf(*wall)))
            continue;
        const std::size_t n = std::min(wall->MWallarPntA.size(), wall->MWallarPntB.size());
        for (std::size_t k = 0; k < n; ++k) {
            offerPoint(wall->MWallarPntA[k], NearDistance());
            offerPoint(wall->MWallarPntB[k], NearDistance());
        }
    }
    if (best < PickRadius())
        return apply();

    // Axis-parallel wall edges: each axis on its own, so that near a corner the point can take one
    // coordinate from each edge.
    for (const CKovWall* wall : walls) {
        if (!edgeLayer(plot, LayerOf(*wall)))
            continue;
        const std::size_t n = std::min(wall->MWallarPntA.size(), wall->MWallarPntB.size());
        for (std::size_t k = 0; k < n; ++k) {
            const DevicePoint s = ToDevicePoint(wall->MWallarPntA[k], transform, g);
            const DevicePoint e = ToDevicePoint(wall->MWallarPntB[k], transform, g);
            const int minX = std::min(s.x, e.x), maxX = std::max(s.x, e.x);
            const int minY = std::min(s.y, e.y), maxY = std::max(s.y, e.y);
            if (s.y == e.y) {
                const int m = std::abs(s.y - d.y);
                if (minX - PickRadius() <= d.x && d.x <= maxX + PickRadius() && m < NearDistance() && m < best) {
                    best = m;
                    offsetY = wall->MWallarPntA[k].y - point.y;
                    at.y = s.y;
                }
            } else if (s.x == e.x) {
                const int m = std::abs(s.x - d.x);
                if (minY - PickRadius() <= d.y && d.y <= maxY + PickRadius() && m < NearDistance() && m < best) {
                    best = m;
                    offsetX = wall->MWallarPntA[k].x - point.x;
                    at.x = s.x;
                }
            }
        }
    }
    if (best < PickRadius())
        return apply();

    // Oblique edges: the foot of the perpendicular.
    for (const CKovWall* wall : walls) {
        if (!edgeLayer(plot, LayerOf(*wall)))
            continue;
        const std::size_t n = std::min(wall->MWallarPntA.size(), wall->MWallarPntB.size());
        for (std::size_t k = 0; k < n; ++k) {
            const CDbPoint& a = wall->MWallarPntA[k];
            const CDbPoint& b = wall->MWallarPntB[k];
            const DevicePoint s = ToDevicePoint(a, transform, g);
            const DevicePoint e = ToDevicePoint(b, transform, g);
            if (s.y == e.y || s.x == e.x)
                continue;
            if (!(std::min(s.x, e.x) - PickRadius() <= d.x && d.x <= std::max(s.x, e.x) + PickRadius() &&
                  std::min(s.y, e.y) - PickRadius() <= d.y && d.y <= std::max(s.y, e.y) + PickRadius()))
                continue;
            const CDbPoint foot = FootOfPerpendicular(a, b, point);
            const DevicePoint q = ToDevicePoint(foot, transform, g);
            const int m = truncToInt(PointDistanceInt(q.x, q.y, d.x, d.y));
            if (m >= 0 && m < best) {
                best = m;
                offsetX = foot.x - point.x;
                offsetY = foot.y - point.y;
                at = q;
            }
        }
    }
    if (best < PickRadius())
        return apply();

    for (const auto& text : m_Texts)
        if (vertexLayer(plot, LayerOf(*text)))
            offerPoint(text->MTextpnt, NearDistance());
    if (best < PickRadius())
        return apply();
    return 0;
}
