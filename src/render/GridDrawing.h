#pragma once

// The document's grid under the drawing: on the screen coloured lines with dotted subdivisions,
// the axis lines through the grid's start and a ruler along the top and left edges; on paper
// dashed lines in the print colour. Spacings and starts are sheet millimetres of the current layer
// group (the plot settings' current group); the start's y counts upward.

#include "model/DrawTransform.h"
#include "platform/Surface.h"

#include <string>
#include <vector>

class CGrid;
class CPlotInfo;

namespace kov::render {

struct GridDrawOptions {
    int lineWidth = 1;   // app_grid_hutosa: screen pixels; on paper 2 takes the printer width of code 1
    int dpiAware = 96;   // app_dpiaware: the ruler font grows with it above 144
};

// The grid in use (0-4): the highest-numbered of grids 2-5 that is switched on, else grid 1.
int GridInUse(const CGrid& grid);

// Device positions of the grid lines along one axis: start + truncate(k × step) on both sides
// (k ≥ 1) within [lo, hi]; ascending, without the start line itself. Empty for a step of no
// length (0, negative or not a number): that axis has no lines.
std::vector<int> GridLinePositions(int start, double step, int lo, int hi);

// A ruler label: "%d" for a whole number, "%.1f" otherwise, locale-free.
std::string GridRulerLabel(double value);

// The screen grid on `area` (the page rectangle).
void DrawGrid(platform::Surface& dc, const DeviceTransform& transform, const DeviceRect& area, const CGrid& grid,
              const CPlotInfo& plot, const GridDrawOptions& options);

// The printed grid on `area` (the printable area): grid and axis lines as dashed segments of line
// type 2 in the print colour (black in black-and-white mode); no subdivisions, no ruler.
void DrawGridForOutput(platform::Surface& dc, const DeviceTransform& transform, const DeviceRect& area,
                       const CGrid& grid, const CPlotInfo& plot, const GridDrawOptions& options);

} // namespace kov::render
