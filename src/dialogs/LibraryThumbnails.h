#pragma once

// Thumbnails of library drawings in the palettes' cells: the part's larger extent takes 1/1.3 of
// the cell's smaller side, centred across, a pick radius below the cell's top.

#include "model/DrawTransform.h"

class CKovUnit;
class CPlotInfo;

namespace kov::platform {
class Surface;
}

namespace kov::dialogs {

// Draws the part (the first group of the container, measured from its origin) into the cell.
// `firstDenominator` is the scale the measuring starts from (10 for parts, 100 for fittings); the
// result is the same for both. Nothing for a container without a group.
void DrawLibraryThumbnail(kov::platform::Surface& dc, const CKovUnit& part, const CPlotInfo& plot, const DeviceRect& cell,
                          double firstDenominator, int dpi = 96);

} // namespace kov::dialogs
