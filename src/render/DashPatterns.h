#pragma once

// The broken line types laid as integer dash walks in device pixels. The drawing entry points are
// members of CKovUnit (DrawStyledSegment, DrawStyledLine, DrawDashedArc); these are the pieces
// they are made of, free so that they can be checked on their own.

#include "platform/Surface.h"

#include <span>
#include <utility>
#include <vector>

class CPlotInfo;

namespace kov::render {

// Where a pattern stands between two segments of one figure: the element index and the pixels of
// that element already used.
struct DashPhase {
    int index = 0;
    int used = 0;
};

// The pattern of a broken line type (1-4) in device pixels, alternately drawn and skipped, the
// first drawn: trunc(table length x paper scale), never below 0. Straight segments repeat the
// dash-dot gap (entries 4, 5, 6, 5); arcs take entry 7 as the last gap. Empty for other types.
std::vector<int> DashElements(const CPlotInfo& plot, double paperScale, int lineType, bool forArc);

using DeviceSegment = std::pair<platform::DevicePoint, platform::DevicePoint>;

struct DashWalkResult {
    std::vector<DeviceSegment> dashes;  // in walking order, from the left (or top) end
    DashPhase phase;                    // for the next segment of the figure
};

// Lays the pattern on p-q from the end with the smaller x (smaller y when vertical), starting with
// the carried phase. `visible` (empty: everything) is the device area: periods wholly outside it
// are stepped over arithmetically, giving the same dashes inside it and the same phase at the end.
DashWalkResult WalkDashes(platform::DevicePoint p, platform::DevicePoint q, std::span<const int> elements,
                          DashPhase phase, const platform::DeviceRect& visible = {}, int margin = 0);

// A long solid screen line as a chain of steps of `step` pixels from the left (top) end, ending
// with a line to the far end; steps outside `visible` (when not empty) are left out.
std::vector<DeviceSegment> SolidChain(platform::DevicePoint p, platform::DevicePoint q, int step,
                                      const platform::DeviceRect& visible = {}, int margin = 0);

// Solid screen lines at least this long (|dx| + |dy|) are drawn as a chain of short steps.
constexpr int kLongLinePixels = 1280;

} // namespace kov::render
