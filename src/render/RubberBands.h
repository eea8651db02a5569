#pragma once

// Live feedback while the user drags or collects points: the focus rectangle of a range, the chain
// of clicked points in the polygon style, and the red pair of parallel polylines of the double-line
// tools. Screen only, drawn over the view's copy of its back buffer; they keep no state.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"
#include "platform/Surface.h"

#include <vector>

class CPlotInfo;

namespace kov::render {

// The inverting dotted frame of the rectangle spanned by two device points in any order; drawn a
// second time it is gone.
void DrawFocusRectBetween(platform::Surface& dc, int x1, int y1, int x2, int y2);

// The polygon tool's chain: collected points, then the pointer, in the polygon style slot (2),
// each segment starting its dash pattern afresh. Nothing without collected points.
void DrawPolygonChainPreview(platform::Surface& dc, const DeviceTransform& transform, const CDbPointArray& points,
                             const CDbPoint& pointer, const CPlotInfo& plot);

struct OffsetSegment {
    CDbPoint start;
    CDbPoint end;
};

// The two offset chains of the collected points followed by the pointer: `left` at distance d1 to
// the left of the direction of travel on the screen (y down), `right` at d2 to its right;
// neighbouring segments of a side are mitred at the crossing of their lines (parallel ones stay
// unjoined). Drawing millimetres.
struct ParallelChains {
    std::vector<OffsetSegment> left;
    std::vector<OffsetSegment> right;
};
ParallelChains BuildParallelChains(const CDbPointArray& points, const CDbPoint& pointer, double d1, double d2);

// The chains above with a solid red 1-pixel pen in the current layer group.
void DrawParallelPolylinesPreview(platform::Surface& dc, const DeviceTransform& transform,
                                  const CDbPointArray& points, const CDbPoint& pointer, const CPlotInfo& plot,
                                  double d1, double d2);

} // namespace kov::render
