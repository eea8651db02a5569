#pragma once

// The wall and column drawers are members of CKovUnit, declared in model/KovUnit.h and defined in
// WallDrawers.cpp; this header gathers the rules they share.

#include "model/KovUnit.h"
#include "render/DrawEnvironment.h"

#include <cstdint>

class CPlotInfo;
class SelectionRecord;

namespace kov::render {

// Wall display modes (PlotWallBlack).
enum WallDisplayMode { kWallsBlack = 1, kWallsWhite = 2, kWallsColoured = 3, kWallsColouredBlackEdges = 4 };
// Column display (PlotHasiraColor): 1 filled black, 2 white with diagonals, anything else white.
enum ColumnDisplay { kColumnsBlack = 1, kColumnsWithDiagonals = 2 };

// The display mode as drawn: values outside 1-4 draw as white walls.
int EffectiveWallMode(int plotWallBlack);

// A wall's edge colour after the colour modes: black, the wall colour in mode 3, black again in
// black and white or the chic display, grey when greyed out on the screen.
std::uint32_t WallEdgeColour(const CKovWall& wall, const CPlotInfo& plot, bool output);

// The filter of the wall drawers (0 draw, 1 unselected only, 2 selected only); a wall is selected
// by its own identifier or its group's.
bool IsWallSelected(const CKovWall& wall, const SelectionRecord& selection);
bool PassesWallFilter(const CKovWall& wall, const SelectionRecord& selection, int filter);
// The wall belongs to the group being placed (the selection's first group).
bool IsInPlacedGroup(const CKovWall& wall, const SelectionRecord& selection, bool placing);

} // namespace kov::render
