#pragma once

// The print commands of the file menu on the document: print ("印刷(&P)..."), print preview
// ("印刷ﾌﾟﾚﾋﾞｭｰ(&O)..."), print position ("印刷位置調整...") and paper ("用紙設定(&Y)...").
// The shell binds them to the menu, the toolbars and Ctrl+P and hands in what the view knows; the
// one-page print itself is io/Printing.h. Every question and dialog can be stood in for (tests).

#include "io/Printing.h"
#include "model/DbPoint.h"
#include "render/DrawEnvironment.h"

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace kov::app {

class CKoviraDoc;

// What the view contributes to a print.
struct PrintViewValues {
    double zoom = 1.0;                 // the view's zoom factor
    bool placing = false;              // imported figures are being placed
    // Range print: the two corners the user dragged (any order), in sheet millimetres of the
    // current layer group.
    bool printRange = false;
    CDbPoint rangeFirst;
    CDbPoint rangeSecond;
    std::uint32_t windowColor = 0xFFFFFF;   // what a range print leaves around the range
    CKovUnit::DrawEnvironment env;     // the settings the view draws with
};

class CKoviraView;
// The view's zoom and placing, and the program's drawing settings: a print of the whole page.
PrintViewValues ViewPrintValues(CKoviraDoc& doc, const CKoviraView& view);

// The options of one print: the print offsets (KOV_T_UTILITY print_move_x, print_move_y) and the
// grid (shown, and app_printgrid on; app_grid_hutosa) as the settings hold them now, the view's
// zoom and range.
kov::io::PrintOptions PrintOptionsFor(CKoviraDoc& doc, const PrintViewValues& view);

// The printer the print command keeps while the program runs, so that a printer chosen in the
// print dialog stays chosen for the next print. The preview lets it go: the next print or preview
// starts from the system's default printer again.
class PrinterSelection {
public:
    PrinterSelection();
    ~PrinterSelection();
    // The kept printer, made on the system's default printer when there is none.
    QPrinter& printer();
    bool hasPrinter() const { return m_printer != nullptr; }
    void release() { m_printer.reset(); }

private:
    std::unique_ptr<QPrinter> m_printer;
};

// Shows the printer's dialog on a printer set to the document's paper, pages 1 to 1; true to
// print. Empty: the print dialog.
using PrintDialogRunner = std::function<bool(QPrinter& printer)>;
// Shows the preview of the page on the printer; `paint` prints the page onto the preview's (or,
// printing from the preview, the real) printer. Empty: the print preview window.
using PreviewRunner = std::function<void(QPrinter& printer, const std::function<void(QPrinter&)>& paint)>;

// Print: the kept printer is set to the document's paper and orientation (the user may still
// change both in the dialog), then the dialog, then the one page. True when the page was printed.
bool OnFilePrint(CKoviraDoc& doc, const PrintViewValues& view, PrinterSelection& printers, QWidget* parent,
                 const PrintDialogRunner& runDialog = {});

// Print preview: `hideBars` (the frame hides the tool panel and the layer bar), the kept printer
// let go, then the preview on the system's default printer set to the document's paper.
void OnFilePrintPreview(CKoviraDoc& doc, const PrintViewValues& view, PrinterSelection& printers, QWidget* parent,
                        const std::function<void()>& hideBars = {}, const PreviewRunner& runPreview = {});

// The print position dialog on the offsets (whole mm, negative left and up); true with them.
using PrintmoveAsker = std::function<bool(int& moveX, int& moveY)>;
// Print position: the dialog on the settings' offsets; OK writes both back. Nothing is redrawn:
// they act on the next print. True after OK.
bool OnPrintPosition(CKoviraDoc& doc, QWidget* parent, const PrintmoveAsker& ask = {});

// The paper dialog on the paper code and user size; true with them.
using PageSetAsker = std::function<bool(int& paperCode, int& userWidth, int& userHeight)>;
// Paper: the dialog on the document's paper; OK copies the three values into the plot settings
// (no undo snapshot, no settings written; a changed paper marks the document modified). A user
// paper of 0 mm or less on a side (or 30000 and more) is refused with a message and changes
// nothing. True when the paper was taken: the caller lays the page out again and redraws.
bool OnPaperSettings(CKoviraDoc& doc, QWidget* parent, const PageSetAsker& ask = {});

} // namespace kov::app
