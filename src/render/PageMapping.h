#pragma once

// The drawing transform of a page: sheet millimetres of each layer group and paper millimetres to
// device pixels, on the screen (the page rectangle, which carries the zoom) and on a printer (its
// own resolution per axis). Sheet (0, 0) lies at the centre of the drawing area.

#include "model/DrawTransform.h"
#include "platform/Surface.h"

class CPlotInfo;

namespace kov::render {

// Where a page is drawn: the drawing area in device pixels (the page rectangle on the screen, the
// printable area on paper) and the paper size in millimetres.
struct PageFrame {
    DeviceRect area;
    int paperWidth = 0;
    int paperHeight = 0;

    // Nothing can be mapped onto an area or paper without extent (a minimised window, a view
    // without a size yet): callers skip drawing then.
    bool empty() const { return area.width() <= 0 || area.height() <= 0 || paperWidth <= 0 || paperHeight <= 0; }
};

// The layer group's scale denominator; a missing or invalid one (0, negative, NaN) counts as 100.
double GroupScale(const CPlotInfo& plot, int layerGroup);

// Device pixels per paper millimetre. Printing: the resolution of the axis (axis 1 horizontal, any
// other vertical) / 25.4. Screen: the page's width / paper width for axis 1, height / paper height
// otherwise. 0 for an empty frame.
double PixelsPerMm(const platform::DeviceProperties& dev, const PageFrame& page, int axis);

// The divisor that turns the device's horizontal resolution into a layer group's pixel scale:
// printing the group scale itself; screen group scale × (dpiX / 25.4) / (page width / paper width).
double EffectiveScale(const platform::DeviceProperties& dev, const PageFrame& page, double groupScale);

// Fills every field of the transform for the device; false with `out` untouched for an empty frame.
// Screen: both axes take the horizontal form, paper scale the vertical one. Printer: each axis its
// own resolution, paper scale the vertical one.
bool MakePageTransform(DeviceTransform& out, const platform::DeviceProperties& dev, const PageFrame& page,
                       const CPlotInfo& plot, double zoom);

} // namespace kov::render
