#pragma once

// The print and print-preview commands' dialogs around the one-page print: the printer's own
// choices with one page offered, and the preview of the same page.

#include "io/Printing.h"

class QWidget;

namespace kov::io {

// Sets the printer up for the document's paper, shows the print dialog (pages 1 to 1) and prints
// the page. False when the user cancelled or the printer could not start.
bool PrintWithDialog(QWidget* parent, QPrinter& printer, const CPlotInfo& plot, const CGrid& grid,
                     const PrintOptions& options, const PrintPasses& passes);

// The preview of the page on the printer's paper; returns when the preview is closed (printing
// from it prints the same page).
void PrintPreview(QWidget* parent, QPrinter& printer, const CPlotInfo& plot, const CGrid& grid,
                  const PrintOptions& options, const PrintPasses& passes);

} // namespace kov::io
