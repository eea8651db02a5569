#include "render/PageMapping.h"

#include "model/PlotInfo.h"

#include <cmath>

namespace kov::render {

double GroupScale(const CPlotInfo& plot, int layerGroup)
{
    if (layerGroup < 0 || layerGroup >= DeviceTransform::kLayerGroups)
        return 100.0;
    const double s = plot.m_Layer.m_dScale[static_cast<std::size_t>(layerGroup)];
    return std::isfinite(s) && s > 0.0 ? s : 100.0;
}

double PixelsPerMm(const platform::DeviceProperties& dev, const PageFrame& page, int axis)
{
    if (page.empty())
        return 0.0;
    if (dev.isPrinting)
        return (axis == 1 ? dev.dpiX : dev.dpiY) / 25.4;
    return axis == 1 ? static_cast<double>(page.area.width()) / page.paperWidth
                     : static_cast<double>(page.area.height()) / page.paperHeight;
}

double EffectiveScale(const platform::DeviceProperties& dev, const PageFrame& page, double groupScale)
{
    if (dev.isPrinting)
        return groupScale;
    return groupScale * (dev.dpiX / 25.4) / PixelsPerMm(dev, page, 1);
}

bool MakePageTransform(DeviceTransform& out, const platform::DeviceProperties& dev, const PageFrame& page,
                       const CPlotInfo& plot, double zoom)
{
    if (page.empty() || dev.dpiX <= 0 || dev.dpiY <= 0)
        return false;
    DeviceTransform t;
    t.originX = (page.area.left + page.area.right) / 2;
    t.originY = (page.area.top + page.area.bottom) / 2;
    for (int g = 0; g < DeviceTransform::kLayerGroups; ++g) {
        const double e = EffectiveScale(dev, page, GroupScale(plot, g));
        const auto i = static_cast<std::size_t>(g);
        t.scaleX[i] = dev.dpiX / 25.4 / e;
        // On paper each axis keeps its own resolution, so a device with unequal dots per inch
        // still prints to scale; the screen page keeps square pixels.
        t.scaleY[i] = dev.isPrinting ? dev.dpiY / 25.4 / e : t.scaleX[i];
    }
    t.paperScale = PixelsPerMm(dev, page, 0);
    t.zoom = zoom;
    out = t;
    return true;
}

} // namespace kov::render
