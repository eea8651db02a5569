#pragma once

// Which pixels of a picture of the drawing an edit changes. The view keeps the drawing it last
// painted (a copy that shares every object with the live one until either changes), and compares it
// with the drawing as it now stands: objects replaced, added, removed or moved in the drawing
// order, groups whose members are drawn differently, and selection marks that come or go. The
// answer is the device boxes of those objects before and after, each as large as the object may
// paint (pen widths, end marks, hatches, labels), so that painting those rectangles again, with
// everything that overlaps them in pass order, gives the picture a whole redraw would.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"

#include <optional>
#include <vector>

class CPlotInfo;
class SelectionRecord;

namespace kov::render {

// A drawing as it is painted: its objects, its selection and whether the selection is left out
// (the back buffer under a drag) or marked.
struct PaintedDrawing {
    const CKovUnit& unit;
    const SelectionRecord& selection;
    bool selectionLeftOut = false;
};

struct DamageLimits {
    int maxObjects = 2000;  // beyond this many changed objects a whole redraw is cheaper
};

// The device rectangles to paint again, clipped to `bounds` (perhaps overlapping, perhaps many);
// nullopt when the change is too large to say (or a box cannot be told): paint everything. Both
// pictures must share the transform and the plot settings.
std::optional<std::vector<DeviceRect>> DamagedRects(const PaintedDrawing& before, const PaintedDrawing& after,
                                                   const DeviceTransform& transform, const CPlotInfo& plot,
                                                   const DeviceRect& bounds, const DamageLimits& limits = {});

// At most `maxRects` rectangles that cover all of `rects`, none overlapping another; rectangles
// that lie close together become one.
std::vector<DeviceRect> MergedRects(std::vector<DeviceRect> rects, int maxRects);

} // namespace kov::render
