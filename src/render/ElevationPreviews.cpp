// The roof tool's preview: the picked rectangle and the ridge or high edge the next clicks would
// give, worked out in device pixels from the points and the pointer.

#include "render/ToolPreviews.h"

#include "model/Geometry.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <array>

namespace pf = kov::platform;

void CKovUnit::DrawRoofPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.empty()) return;
    const int g = kov::render::PreviewGroup(*in.plot);
    const DevicePoint a = ToDevicePoint(in.points[0], t, g);
    const DevicePoint b = ToDevicePoint(in.points.size() >= 2 ? in.points[1] : in.pointer, t, g);
    if (a.x == b.x || a.y == b.y) return;
    const std::array<DevicePoint, 5> box = {a, DevicePoint{a.x, b.y}, b, DevicePoint{b.x, a.y}, a};
    dc.polyline(box, {pf::PenStyle::Solid, 1, 0xFF});
    if (in.points.size() < 2) return;

    const int minX = std::min(a.x, b.x), maxX = std::max(a.x, b.x), minY = std::min(a.y, b.y), maxY = std::max(a.y, b.y);
    const int midX = (minX + maxX) / 2, midY = (minY + maxY) / 2;
    const DevicePoint p = ToDevicePoint(in.pointer, t, g);
    const DevicePoint r = in.points.size() >= 3 ? ToDevicePoint(in.points[2], t, g) : p;
    const double dL = PointDistanceInt(r.x, r.y, minX, midY), dR = PointDistanceInt(r.x, r.y, maxX, midY);
    const double dT = PointDistanceInt(r.x, r.y, midX, minY), dB = PointDistanceInt(r.x, r.y, midX, maxY);
    DevicePoint from{minX, midY}, to{maxX, midY};
    if ((dL > dT && dR > dT) || (dL > dB && dR > dB)) {
        from = {midX, minY};
        to = {midX, maxY};
        if (in.points.size() >= 3 && p.x < minX) from.x = to.x = minX;
        if (in.points.size() >= 3 && p.x > maxX) from.x = to.x = maxX;
    } else if (in.points.size() >= 3) {
        if (p.y < minY) from.y = to.y = minY;
        if (p.y > maxY) from.y = to.y = maxY;
    }
    dc.line(from, to, {pf::PenStyle::Solid, 1, 0xFF007D});
}
