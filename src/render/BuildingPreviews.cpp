// Previews of walls, rooms, wall cuts, bent walls, fittings and stairs: outlines computed by the
// same wall service the tools use, so the preview and the made wall agree.

#include "render/ToolPreviews.h"

#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "render/RubberBands.h"

#include <array>
#include <cmath>

namespace pf = kov::platform;
using namespace kov::render;
using PreviewInput = CKovUnit::PreviewInput;

namespace {

const pf::Pen kWallPen{pf::PenStyle::Solid, 1, kPreviewWallGrey};
const pf::Pen kRedPen{pf::PenStyle::Solid, 1, kPreviewRed};
const pf::Pen kBlackPen{pf::PenStyle::Solid, 1, 0x000000};

DevicePoint dev(const CDbPoint& p, const DeviceTransform& t, const CPlotInfo& plot)
{
    return ToDevicePoint(p, t, PreviewGroup(plot));
}

// Wall corners map without the rounding nudge of ToDevicePoint, as the wall drawer's outline does.
DevicePoint wallCorner(const CDbPoint& p, const DeviceTransform& t, int g)
{
    return {truncToInt(t.scaleX[std::size_t(g)] * p.x) + t.originX, truncToInt(t.scaleY[std::size_t(g)] * p.y) + t.originY};
}

void wallOutline(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, CDbPoint a, CDbPoint b)
{
    std::array<CDbPoint, 4> corners;
    if (CKovUnit::ComputeWallCorners(corners, a, b, plot.PlotWallWide, 1) != 1) return;
    const int g = PreviewGroup(plot);
    for (int i = 0; i < 4; ++i)
        dc.line(wallCorner(corners[std::size_t(i)], t, g), wallCorner(corners[std::size_t((i + 1) % 4)], t, g),
                kWallPen);
}

} // namespace

void CKovUnit::DrawWallPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    wallOutline(dc, t, *in.plot, in.last, in.pointer);
}

void CKovUnit::DrawRectRoomPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const double x1 = std::min(in.last.x, in.pointer.x), x2 = std::max(in.last.x, in.pointer.x);
    const double y1 = std::min(in.last.y, in.pointer.y), y2 = std::max(in.last.y, in.pointer.y);
    const CDbPoint c[5] = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}, {x1, y1}};
    for (int i = 0; i < 4; ++i) wallOutline(dc, t, *in.plot, c[i], c[i + 1]);
}

void CKovUnit::DrawPolygonRoomPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    for (std::size_t i = 0; i < in.points.size(); ++i)
        wallOutline(dc, t, *in.plot, in.points[i], i + 1 < in.points.size() ? in.points[i + 1] : in.pointer);
}

void CKovUnit::DrawWallCutPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const pf::Pen pen{pf::PenStyle::Solid, 3, kPreviewOrange};
    const DevicePoint c = dev(in.last, t, *in.plot);
    const int h = g_nPickTolerance / 2;
    dc.arc({c.x - h, c.y - h, c.x + h, c.y + h}, {c.x - h, c.y - h}, {c.x - h, c.y - h}, pen);
    dc.line(c, dev(in.pointer, t, *in.plot), pen);
}

void CKovUnit::DrawBendWallPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    if (in.points.size() == 1) {
        DrawPointMark(dc, dev(in.points[0], t, plot), {pf::PenStyle::Solid, 1, kPreviewGrey});
        return;
    }
    if (in.points.size() != 2) return;
    CDbPointArray inner;
    if (CircleThroughThreePoints(inner, in.points[0], in.points[1], in.pointer, 24) == 0) return;
    CDbPointArray chain;
    chain.reserve(inner.size() + 1);
    chain.push_back(in.points[0]);
    chain.insert(chain.end(), inner.begin(), inner.end());
    DrawParallelPolylinesPreview(dc, t, chain, in.points[1], plot, plot.PlotWallWide, plot.PlotWallWide);
}

void CKovUnit::DrawFittingPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    const CDbPoint p = in.points[0];
    CDbPoint e = in.points.size() == 2 ? in.points[1] : in.pointer;
    // The pointer still on the first click gives the band no direction: nothing to show yet.
    if (e == p) return;
    double h = plot.PlotWallWide;
    if (in.ownThicknessOn == 1) h = in.ownThickness > 0 ? in.ownThickness / 2 : 100;
    const bool fixedWidth = in.fixedWidthOn == 1;
    if (fixedWidth) {
        CDbPoint cut[2];
        int count = 0;
        IntersectLineCircle(cut, count, p, e, p, in.fixedWidth);
        if (count != 2) return;
        const double d0 = PointDistance(cut[0].x, cut[0].y, e.x, e.y);
        const double d1 = PointDistance(cut[1].x, cut[1].y, e.x, e.y);
        e = d0 < d1 ? cut[0] : cut[1];
    }
    const double theta = -VectorAngle(p.x, p.y, e.x, e.y) * kKovPi / 180.0;
    const CDbPoint d{std::cos(theta), std::sin(theta)};
    const CDbPoint n{-std::sin(theta), std::cos(theta)};
    auto at = [](const CDbPoint& base, double a, const CDbPoint& u, double b, const CDbPoint& v) {
        return CDbPoint(base.x + a * u.x + b * v.x, base.y + a * u.y + b * v.y);
    };
    std::array<CDbPoint, 4> k;
    if (in.fittingOnRight == 0) {
        const CDbPoint e2 = fixedWidth ? PointTowards(p, e, 2 * h + in.fixedWidth) : e;
        k = {at(p, h, d, -h, n), at(p, h, d, h, n), at(e2, -h, d, h, n), at(e2, -h, d, -h, n)};
    } else {
        k = {p, at(p, 0, d, 2 * h, n), at(e, 0, d, 2 * h, n), e};
    }
    const DevicePoint poly[5] = {dev(k[0], t, plot), dev(k[1], t, plot), dev(k[2], t, plot), dev(k[3], t, plot),
                                 dev(k[0], t, plot)};
    dc.polygon(poly, pf::FillRule::Alternate, kRedPen, pf::Brush::solid(0xFFFFFF));
    if (in.points.size() < 2) return;

    // The pointer picks the corner nearest to it, and with it the side the opening line stands on.
    double dist[4];
    for (int i = 0; i < 4; ++i) dist[i] = PointDistance(in.pointer.x, in.pointer.y, k[std::size_t(i)].x, k[std::size_t(i)].y);
    int c = 0;
    if (dist[1] < dist[0] && dist[1] < dist[2] && dist[1] < dist[3]) c = 1;
    else if (dist[2] < dist[0] && dist[2] < dist[3]) c = 2;
    else if (dist[3] < dist[0]) c = 3;
    if (in.fittingKind == 3 || in.fittingKind == 5 || (in.fittingKind == 1 && in.fittingNumber < 12)) {
        if (c == 3) c = 0;
        if (c == 1) c = 2;
    }
    const double len = PointDistance(k[1].x, k[1].y, k[2].x, k[2].y);
    const double sign = c == 0 || c == 3 ? -1 : 1;
    const CDbPoint& from = k[std::size_t(c)];
    dc.line(dev(from, t, plot), dev({from.x + sign * len * n.x, from.y + sign * len * n.y}, t, plot), kRedPen);
}

void CKovUnit::DrawStairsPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    const StairsSettings& s = in.stairs;
    if (s.kaidan_mode == StairsSettings::DIRECTION_ARROW) {
        std::vector<DevicePoint> pts;
        pts.reserve(in.points.size() + 1);
        for (const CDbPoint& p : in.points) pts.push_back(dev(p, t, plot));
        pts.push_back(dev(in.pointer, t, plot));
        dc.polyline(pts, kRedPen);
        return;
    }
    if (in.points.size() == 1) {
        dc.line(dev(in.points[0], t, plot), dev(in.pointer, t, plot), kRedPen);
        return;
    }
    // From the second point on: the outline and the lines the stairs tool will make.
    std::array<CDbPoint, 4> outline4;
    std::array<CDbPoint, 6> outline6;
    CDbPointArray treadStarts, treadEnds, turnStarts, turnEnds;
    CDbPoint pivot;
    if (!ComputeStairsGeometry(plot, in.points, in.pointer, s, outline4, outline6, treadStarts, treadEnds, turnStarts,
                               turnEnds, pivot))
        return;
    const bool straight = s.kaidan_mode == StairsSettings::STRAIGHT;
    if (s.kaidan_nakanuri) {
        std::vector<DevicePoint> poly;
        if (straight)
            for (const CDbPoint& p : outline4) poly.push_back(dev(p, t, plot));
        else
            for (const CDbPoint& p : outline6) poly.push_back(dev(p, t, plot));
        dc.polygon(poly, pf::FillRule::Alternate, kBlackPen, pf::Brush::solid(s.kaidan_nakacolor));
    }
    const CDbPointArray& starts = straight ? treadStarts : turnStarts;
    const CDbPointArray& ends = straight ? treadEnds : turnEnds;
    for (std::size_t i = 0; i < starts.size() && i < ends.size(); ++i)
        dc.line(dev(starts[i], t, plot), dev(ends[i], t, plot), kBlackPen);
}
