#pragma once

// The print and print-preview commands' dialogs around the one-page print: the printer's own
// choices with one page offered, and the preview of the same page.

#include "io/Printing.h"

class QWidget;

namespace kov::io {

// The printer's own dialog with the one page offered (pages 1 to 1); true when the user chose to
// print. The printer keeps what the user changed there (printer, paper).
bool RunPrintDialog(QWidget* parent, QPrinter& printer);

// Sets the printer up for the document's paper, shows the print dialog (pages 1 to 1) and prints
// the page. False when the user cancelled or the printer could not start.
bool PrintWithDialog(QWidget* parent, QPrinter& printer, const CPlotInfo& plot, const CGrid& grid,
                     const PrintOptions& options, const PrintPasses& passes);

// The preview of the page on the printer's paper; returns when the preview is closed (printing
// from it prints the same page).
void PrintPreview(QWidget* parent, QPrinter& printer, const CPlotInfo& plot, const CGrid& grid,
                  const PrintOptions& options, const PrintPasses& passes);

} // namespace kov::io
