#pragma once

// Conservative device boxes of drawing objects, so that a pass can skip an object that cannot
// reach the visible area before any pen, brush or path is made for it. A box may be larger than
// what is drawn, never smaller: it takes in pen widths, end marks, dimension values, hatches and
// the column squares and circles at wall ends.

#include "model/KovUnit.h"
#include "platform/Surface.h"

#include <array>
#include <optional>

class CPlotInfo;

namespace kov::render {

// The margins a pass needs once, from the plot settings, the transform and the surface.
class ObjectCulling {
public:
    // Pen widths are those of printer pages when `printing`.
    ObjectCulling(const std::optional<DeviceRect>& visible, const DeviceTransform& transform, const CPlotInfo& plot,
                  bool printing);

    // True when the object may paint inside the visible area (always true without one).
    bool figureVisible(const CKovLine& figure) const;
    bool wallVisible(const CKovWall& wall) const;
    bool textVisible(const CKovText& text) const;
    // A picture by its device rectangle (it may turn about the rectangle's middle).
    bool pictureVisible(const DeviceRect& rect) const;

    // The device boxes the tests above use: an empty box for an object that draws nothing (no
    // points), nullopt when a coordinate is not a number (the drawer decides where it lands).
    std::optional<DeviceRect> figureBox(const CKovLine& figure) const;
    std::optional<DeviceRect> wallBox(const CKovWall& wall) const;
    std::optional<DeviceRect> textBox(const CKovText& text) const;
    static DeviceRect pictureBox(const DeviceRect& rect);

    // The visible area the tests use, and the margins that come from the settings (two boxes of
    // one object agree when these and the scales do).
    const std::optional<DeviceRect>& visible() const { return m_visible; }
    std::array<double, 3> margins() const { return {double(m_figureMargin), double(m_dimensionMargin), m_wallBand}; }

private:
    // Drawing-millimetre extremes in a layer group's scale, widened by `pixels` once mapped (by
    // `pixelsY` up and down when that is given).
    struct Extent {
        double minX, minY, maxX, maxY;
        int layerGroup;
        int pixels;
        int pixelsY = -1;
    };
    Extent figureExtent(const CKovLine& figure) const;
    Extent wallExtent(const CKovWall& wall) const;
    Extent textExtent(const CKovText& text) const;
    bool boxVisible(const Extent& e) const;
    std::optional<DeviceRect> deviceBox(const Extent& e) const;

    std::optional<DeviceRect> m_visible;
    const DeviceTransform& m_transform;
    int m_figureMargin = 0;     // widest pen and largest end mark
    int m_dimensionMargin = 0;  // and the dimension value beside the line
    double m_paperScale = 1;
    double m_wallBand = 0;      // a thick arc's band without its own width
};

} // namespace kov::render
