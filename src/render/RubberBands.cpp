#include "render/RubberBands.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "render/LineStyles.h"

#include <algorithm>
#include <cmath>

namespace kov::render {

using platform::Pen;
using platform::PenStyle;
using platform::Surface;

namespace {

constexpr double kAxisTolerance = 0.0001;
constexpr std::uint32_t kParallelColour = 0x0000FF;
constexpr int kPolygonSlot = 2;

int currentGroup(const CPlotInfo& plot)
{
    return std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
}

// The segment S-E moved by `d` to the left of its direction on the screen (y down) when side is +1,
// to its right when −1.
OffsetSegment offsetSegment(const CDbPoint& s, const CDbPoint& e, double d, int side)
{
    const double dx = e.x - s.x;
    const double dy = e.y - s.y;
    double ox = 0;
    double oy = 0;
    if (std::fabs(dx) < kAxisTolerance) {
        // Travelling down the screen, left is +x.
        ox = (dy >= 0 ? d : -d) * side;
    } else if (std::fabs(dy) < kAxisTolerance) {
        // Travelling right, left is −y (up the screen).
        oy = (dx >= 0 ? -d : d) * side;
    } else {
        const double len = std::hypot(dx, dy);
        ox = dy / len * d * side;
        oy = -dx / len * d * side;
    }
    return {{s.x + ox, s.y + oy}, {e.x + ox, e.y + oy}};
}

void mitre(std::vector<OffsetSegment>& chain)
{
    for (std::size_t i = 1; i < chain.size(); ++i) {
        CDbPoint cross;
        if (IntersectLines(cross, chain[i - 1].start, chain[i - 1].end, chain[i].start, chain[i].end) == 1) {
            chain[i - 1].end = cross;
            chain[i].start = cross;
        }
    }
}

} // namespace

void DrawFocusRectBetween(Surface& dc, int x1, int y1, int x2, int y2)
{
    dc.focusRect({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
}

void DrawPolygonChainPreview(Surface& dc, const DeviceTransform& transform, const CDbPointArray& points,
                             const CDbPoint& pointer, const CPlotInfo& plot)
{
    if (points.empty())
        return;
    std::uint32_t colour = plot.PlotColor[kPolygonSlot];
    if (plot.PlotSirokuro && colour != 0xFFFFFF)
        colour = 0x000000;
    const int lineType = plot.PlotLineType[kPolygonSlot];
    const Pen pen = lineType == kAuxiliaryLine
        ? Pen{PenStyle::Dot, 1, colour}
        : Pen{PenStyle::Solid, plot.PenWidth(plot.PlotLineWide[kPolygonSlot], false), colour};
    const int g = currentGroup(plot);
    CDbPointArray chain = points;
    chain.push_back(pointer);
    for (std::size_t i = 1; i < chain.size(); ++i)
        CKovUnit::DrawStyledLine(dc, transform, lineType, ToDevicePoint(chain[i - 1], transform, g),
                                 ToDevicePoint(chain[i], transform, g), plot, pen);
}

ParallelChains BuildParallelChains(const CDbPointArray& points, const CDbPoint& pointer, double d1, double d2)
{
    ParallelChains out;
    CDbPointArray chain;
    chain.reserve(points.size() + 1);
    // A repeated point (the pointer still on the last click) has no direction and would bend the
    // mitre of its neighbour: it adds no segment.
    for (const CDbPoint& p : points)
        if (chain.empty() || chain.back() != p)
            chain.push_back(p);
    if (chain.empty() || chain.back() != pointer)
        chain.push_back(pointer);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        out.left.push_back(offsetSegment(chain[i - 1], chain[i], d1, +1));
        out.right.push_back(offsetSegment(chain[i - 1], chain[i], d2, -1));
    }
    mitre(out.left);
    mitre(out.right);
    return out;
}

void DrawParallelPolylinesPreview(Surface& dc, const DeviceTransform& transform, const CDbPointArray& points,
                                  const CDbPoint& pointer, const CPlotInfo& plot, double d1, double d2)
{
    const ParallelChains chains = BuildParallelChains(points, pointer, d1, d2);
    const Pen pen{PenStyle::Solid, 1, kParallelColour};
    const int g = currentGroup(plot);
    for (const auto* side : {&chains.left, &chains.right})
        for (const OffsetSegment& s : *side)
            dc.line(ToDevicePoint(s.start, transform, g), ToDevicePoint(s.end, transform, g), pen);
}

} // namespace kov::render
