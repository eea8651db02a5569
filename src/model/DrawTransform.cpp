// Drawing millimetres to device pixels, and the pick and snap tolerances.

#include "model/DrawTransform.h"

#include <cmath>
#include <cstdlib>

int g_nPickTolerance = kDefaultPickTolerance;
int g_nSnapTolerance = kDefaultSnapTolerance;

namespace {

int clampDevice(double v)
{
    if (std::isnan(v))
        return 0;
    if (v > kDeviceCoordLimit)
        return kDeviceCoordLimit;
    if (v < -kDeviceCoordLimit)
        return -kDeviceCoordLimit;
    return static_cast<int>(v);
}

int layerIndex(int layerGroup)
{
    if (layerGroup < 0)
        return 0;
    return layerGroup >= DeviceTransform::kLayerGroups ? DeviceTransform::kLayerGroups - 1 : layerGroup;
}

} // namespace

int ToDeviceCoord(double v, double scale, int origin)
{
    // Truncation toward zero after the small bias: 2.995 → 3, 2.985 → 2, −0.5 → 0.
    const double scaled = std::trunc(scale * v + 0.01);
    if (std::isnan(scaled))
        return clampDevice(static_cast<double>(origin));
    return clampDevice(static_cast<double>(clampDevice(scaled)) + static_cast<double>(origin));
}

void ToDevicePoint(DevicePoint& out, double x, double y, const DeviceTransform& t, int layerGroup)
{
    const int g = layerIndex(layerGroup);
    out.x = ToDeviceCoord(x, t.scaleX[static_cast<std::size_t>(g)], t.originX);
    out.y = ToDeviceCoord(y, t.scaleY[static_cast<std::size_t>(g)], t.originY);
}

void ToDevicePointInt(DevicePoint& out, int x, int y, const DeviceTransform& t, int layerGroup)
{
    ToDevicePoint(out, static_cast<double>(x), static_cast<double>(y), t, layerGroup);
}

DevicePoint ToDevicePoint(const CDbPoint& p, const DeviceTransform& t, int layerGroup)
{
    DevicePoint out;
    ToDevicePoint(out, p.x, p.y, t, layerGroup);
    return out;
}

void ResetPickTolerances(int screenDpi)
{
    g_nPickTolerance = kDefaultPickTolerance;
    g_nSnapTolerance = kDefaultSnapTolerance;
    if (screenDpi > 144) {
        g_nPickTolerance = kDefaultPickTolerance * screenDpi / 96;
        g_nSnapTolerance = kDefaultSnapTolerance * screenDpi / 96;
    }
}

namespace {

// The difference in 64 bits: two device values far apart must not overflow.
bool within(long long a, long long b, int tolerance)
{
    return std::llabs(a - b) < tolerance;
}

} // namespace

int IsWithinPickTolerance(int a, int b) { return within(a, b, g_nPickTolerance) ? 1 : 0; }
int IsWithinSnapTolerance(int a, int b) { return within(a, b, g_nSnapTolerance) ? 1 : 0; }

int PointsWithinPickTolerance(int x1, int y1, int x2, int y2)
{
    return within(x1, x2, g_nPickTolerance) && within(y1, y2, g_nPickTolerance) ? 1 : 0;
}

int PointsWithinSnapTolerance(int x1, int y1, int x2, int y2)
{
    return within(x1, x2, g_nSnapTolerance) && within(y1, y2, g_nSnapTolerance) ? 1 : 0;
}
