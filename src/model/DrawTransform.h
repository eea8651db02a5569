#pragma once

// The drawing transform handed to every drawing and picking call (drawing millimetres to device
// pixels), and the pick and snap tolerances in device pixels.

#include "model/DbPoint.h"
#include "platform/Surface.h"

#include <array>

// Device pixels are the drawing surface's own points and rectangles.
using DevicePoint = kov::platform::DevicePoint;
using DeviceRect = kov::platform::DeviceRect;

class DeviceTransform {
public:
    static constexpr int kLayerGroups = 16;

    int originX = 0;                             // device pixel of drawing x = 0
    int originY = 0;                             // device pixel of drawing y = 0
    std::array<double, kLayerGroups> scaleX{};   // device pixels per drawing millimetre, per layer group
    std::array<double, kLayerGroups> scaleY{};
    double paperScale = 1.0;                     // device pixels per paper millimetre
    double zoom = 1.0;                           // the view's zoom factor

    DeviceTransform() = default;
};

// Every mapped coordinate stays within ±kDeviceCoordLimit, so that a huge, infinite or NaN input
// never overflows an int, and sums and differences of two mapped values still fit in one.
constexpr int kDeviceCoordLimit = 1 << 29;

// pixel = truncate(scale × coordinate + 0.01) + origin per axis, truncating toward zero. A layer
// group outside 0-15 is taken as the nearest valid one; NaN maps to the origin.
void ToDevicePoint(DevicePoint& out, double x, double y, const DeviceTransform& t, int layerGroup);
void ToDevicePointInt(DevicePoint& out, int x, int y, const DeviceTransform& t, int layerGroup);
DevicePoint ToDevicePoint(const CDbPoint& p, const DeviceTransform& t, int layerGroup);

// One axis of the mapping above: truncate(scale × v + 0.01) + origin, clamped.
int ToDeviceCoord(double v, double scale, int origin);

// The module-wide tolerances in device pixels. Start-up may enlarge them for high-resolution
// screens; everything else only reads them.
extern int g_nPickTolerance;   // 8: click picks of texts, walls and figures
extern int g_nSnapTolerance;   // 13: snapping, grips, wall-end snapping

constexpr int kDefaultPickTolerance = 8;
constexpr int kDefaultSnapTolerance = 13;

// Back to 8 and 13, then, when the screen's pixels per inch exceed 144, each scaled by dpi / 96.
void ResetPickTolerances(int screenDpi = 96);

// 1 when |a − b| is below the tolerance; the point forms test each axis alone (a square, not a circle).
int IsWithinPickTolerance(int a, int b);
int PointsWithinPickTolerance(int x1, int y1, int x2, int y2);
int IsWithinSnapTolerance(int a, int b);
int PointsWithinSnapTolerance(int x1, int y1, int x2, int y2);
