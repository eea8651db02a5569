#include "edit/PickRules.h"

#include "model/Geometry.h"

#include <cstdint>

namespace kov::edit {

DevicePoint ClickDevicePoint(double x, double y, const DeviceTransform& transform, int layerGroup)
{
    const int g = layerGroup < 0 ? 0 : (layerGroup >= DeviceTransform::kLayerGroups ? DeviceTransform::kLayerGroups - 1
                                                                                     : layerGroup);
    const auto s = static_cast<std::size_t>(g);
    auto axis = [](double v, double scale, int origin) {
        const long long p = truncToInt64(scale * v) + origin;
        return static_cast<int>(p < -kDeviceCoordLimit ? -kDeviceCoordLimit
                                                       : (p > kDeviceCoordLimit ? kDeviceCoordLimit : p));
    };
    return {axis(x, transform.scaleX[s], transform.originX), axis(y, transform.scaleY[s], transform.originY)};
}

namespace {

// rows × dx / dy rounded up (dx ≥ 0) or toward zero (dx < 0), for 0 ≤ rows < dy: the crossing of an
// edge with a pixel row as a raster fill places it.
std::int64_t crossingOffset(std::int64_t rows, std::int64_t dx, std::int64_t dy)
{
    const std::uint64_t span = dx < 0 ? std::uint64_t(-dx) : std::uint64_t(dx);
    const std::uint64_t n = std::uint64_t(rows) * span;
    const std::uint64_t d = std::uint64_t(dy);
    if (dx >= 0)
        return std::int64_t(n / d + (n % d != 0 ? 1 : 0));
    return -std::int64_t(n / d);
}

} // namespace

bool PointInWindingPolygon(const DevicePoint* points, int count, int x, int y)
{
    int winding = 0;
    for (int k = 0; k < count; ++k) {
        const DevicePoint& a = points[k];
        const DevicePoint& b = points[(k + 1) % count];
        if (a.y == b.y)
            continue; // level edges bound no row
        const bool down = a.y < b.y;
        const DevicePoint& top = down ? a : b;
        const DevicePoint& bottom = down ? b : a;
        if (y < top.y || y >= bottom.y)
            continue;
        const std::int64_t dy = std::int64_t(bottom.y) - top.y;
        const std::int64_t dx = std::int64_t(bottom.x) - top.x;
        const std::int64_t crossing = top.x + crossingOffset(std::int64_t(y) - top.y, dx, dy);
        if (crossing <= x)
            winding += down ? 1 : -1;
    }
    return winding != 0;
}

} // namespace kov::edit
