#pragma once

// The one-page print of a drawing to scale: each layer group's sheet millimetres become printer
// dots through the group's scale and the printer's own resolution per axis, the sheet centre on
// the centre of the printable area, shifted by the print offsets. Optionally only a range of the
// drawing, centred on the page. What is drawn comes from the draw passes, handed in as callbacks.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "platform/Surface.h"

#include <QPageLayout>
#include <QPageSize>

#include <filesystem>
#include <functional>

class CGrid;
class CPlotInfo;
class QPrinter;
class SelectionRecord;

namespace kov::io {

struct PrintOptions {
    int moveX = 0;            // print_move_x: paper millimetres to the right
    int moveY = 0;            // print_move_y: paper millimetres down
    bool printGrid = false;   // the grid is shown and app_printgrid is on
    int gridLineWidth = 1;    // app_grid_hutosa
    double zoom = 1.0;        // the view's zoom factor (handed to the drawers)
    // Range printing: only the rectangle first (smaller x, y) .. second (larger x, y), in sheet
    // millimetres of the current layer group, centred on the page; white around it.
    bool printRange = false;
    CDbPoint rangeFirst;
    CDbPoint rangeSecond;
    std::uint32_t windowColor = 0xFFFFFF;  // what fills the page outside the range
};

// The draw passes that put the drawing on the page, in order: background pictures, then every
// object by layer. Either may be empty.
struct PrintPasses {
    std::function<void(platform::Surface&, const DeviceTransform&)> backgroundImages;
    std::function<void(platform::Surface&, const DeviceTransform&)> objects;
};

// The passes of a document's drawing on paper: its background pictures, then every object by
// layer (never the pass without the selection). The arguments must outlive the passes.
PrintPasses DrawingPrintPasses(CKovUnit& unit, const CPlotInfo& plot, const SelectionRecord& selection, bool placing,
                               CKovUnit::DrawEnvironment& env);

// The transform PrintPage uses on the device: printer form of the page mapping, then the range and
// the print offsets (each axis with its own resolution). False for a device without extent.
bool MakePrintTransform(DeviceTransform& out, const platform::DeviceProperties& dev, const CPlotInfo& plot,
                        const PrintOptions& options);

// Draws the page on a printing surface: clip to the printable area, background pictures, the
// printed grid when asked, the objects, and for a range print the white outside the range. False
// (nothing drawn) for a device without extent.
bool PrintPage(platform::Surface& dc, const CPlotInfo& plot, const CGrid& grid, const PrintOptions& options,
               const PrintPasses& passes);

// The printer paper of the plot settings' paper code: A and JIS B sizes, the Japanese postcard,
// photo L, card, or a custom size in millimetres; and its orientation.
QPageSize PageSizeForPaper(const CPlotInfo& plot);
QPageLayout::Orientation OrientationForPaper(const CPlotInfo& plot);
// Paper, orientation and no margins beyond the printer's own.
void SetUpPrinterForPaper(QPrinter& printer, const CPlotInfo& plot);

// The one-page job on a printer that is set up (paper, resolution, output). False when the printer
// could not start a page.
bool PrintToPrinter(QPrinter& printer, const CPlotInfo& plot, const CGrid& grid, const PrintOptions& options,
                    const PrintPasses& passes);

// The same into a PDF file on the document's paper at `dpi` (tests, export).
bool PrintToPdf(const std::filesystem::path& file, const CPlotInfo& plot, const CGrid& grid,
                const PrintOptions& options, const PrintPasses& passes, int dpi = 600);

} // namespace kov::io
