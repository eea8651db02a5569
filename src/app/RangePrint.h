#pragma once

// "囲った内容を任意のプリンタに印刷": the print preview of a dragged range of the drawing, centred
// on the page of whichever printer and paper the user picks there; the drawing keeps its scale.

#include "app/PrintCommands.h"

class QWidget;

namespace kov::app {

// The preview of the range `view.rangeFirst` .. `view.rangeSecond` on a printer of its own (the
// system's default, on its own paper, not the document's: a range of a large sheet prints to scale
// on a small one). Printing from the preview prints the same range. `runPreview` stands in for the
// preview window (tests).
void OnPrintRangePreview(CKoviraDoc& doc, const PrintViewValues& view, QWidget* parent,
                         const PreviewRunner& runPreview = {});

} // namespace kov::app
