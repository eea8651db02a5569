#include "app/PrintCommands.h"

#include "app/KoviraDoc.h"
#include "dialogs/PaperDialogs.h"
#include "io/PaperForms.h"
#include "io/PrintDialogs.h"
#include "io/PrintTexts.h"
#include "model/PaperSizes.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QPrinter>

#include <algorithm>

namespace kov::app {

namespace t = kov::io::printtext;
using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;

kov::io::PrintOptions PrintOptionsFor(CKoviraDoc& doc, const PrintViewValues& view)
{
    const kov::platform::Profile& profile = doc.services().profile;
    kov::io::PrintOptions o;
    o.moveX = profile.GetProfileInt(kSectionUtility, "print_move_x", 0);
    o.moveY = profile.GetProfileInt(kSectionUtility, "print_move_y", 0);
    o.printGrid = doc.m_Grid.visible != 0 && profile.GetProfileInt(kSectionUtility, "app_printgrid", 0) != 0;
    o.gridLineWidth = profile.GetProfileInt(kSectionPlotMenu, "app_grid_hutosa", 1);
    o.zoom = view.zoom;
    o.printRange = view.printRange;
    o.rangeFirst = {std::min(view.rangeFirst.x, view.rangeSecond.x), std::min(view.rangeFirst.y, view.rangeSecond.y)};
    o.rangeSecond = {std::max(view.rangeFirst.x, view.rangeSecond.x), std::max(view.rangeFirst.y, view.rangeSecond.y)};
    o.windowColor = view.windowColor;
    return o;
}

PrinterSelection::PrinterSelection() = default;
PrinterSelection::~PrinterSelection() = default;

QPrinter& PrinterSelection::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

namespace {

// The page of the document as it is now, with what the view and the settings say.
struct DocumentPage {
    CKoviraDoc& doc;
    kov::io::PrintOptions options;
    CKovUnit::DrawEnvironment env;
    kov::io::PrintPasses passes;

    DocumentPage(CKoviraDoc& d, const PrintViewValues& view) : doc(d), options(PrintOptionsFor(d, view)), env(view.env)
    {
        if (!env.profile)
            env.profile = &d.services().profile;
        if (!env.fallbackFont)
            env.fallbackFont = &d.m_FontMenu;
        passes = kov::io::DrawingPrintPasses(d.m_Unit, d.m_PlotInfo, d.m_Selection, view.placing, env);
    }
    DocumentPage(const DocumentPage&) = delete;
    DocumentPage& operator=(const DocumentPage&) = delete;

    bool print(QPrinter& printer) const
    {
        return kov::io::PrintToPrinter(printer, doc.m_PlotInfo, doc.m_Grid, options, passes);
    }
};

QString jobName(const CKoviraDoc& doc) { return QString::fromStdString(doc.GetTitle()); }

} // namespace

bool OnFilePrint(CKoviraDoc& doc, const PrintViewValues& view, PrinterSelection& printers, QWidget* parent,
                 const PrintDialogRunner& runDialog)
{
    QPrinter& printer = printers.printer();
    printer.setDocName(jobName(doc));
    const DocumentPage page(doc, view);
    if (!runDialog)
        return kov::io::PrintWithDialog(parent, printer, doc.m_PlotInfo, doc.m_Grid, page.options, page.passes);
    kov::io::SetUpPrinterForPaper(printer, doc.m_PlotInfo);
    return runDialog(printer) && page.print(printer);
}

void OnFilePrintPreview(CKoviraDoc& doc, const PrintViewValues& view, PrinterSelection& printers, QWidget* parent,
                        const std::function<void()>& hideBars, const PreviewRunner& runPreview)
{
    if (hideBars)
        hideBars();
    printers.release();
    QPrinter& printer = printers.printer();
    printer.setDocName(jobName(doc));
    const DocumentPage page(doc, view);
    if (!runPreview) {
        kov::io::PrintPreview(parent, printer, doc.m_PlotInfo, doc.m_Grid, page.options, page.passes);
        return;
    }
    kov::io::SetUpPrinterForPaper(printer, doc.m_PlotInfo);
    runPreview(printer, [&page](QPrinter& target) { page.print(target); });
}

bool OnPrintPosition(CKoviraDoc& doc, QWidget* parent, const PrintmoveAsker& ask)
{
    kov::platform::Profile& profile = doc.services().profile;
    int x = profile.GetProfileInt(kSectionUtility, "print_move_x", 0);
    int y = profile.GetProfileInt(kSectionUtility, "print_move_y", 0);
    const bool ok = ask ? ask(x, y) : kov::dialogs::PrintmoveDialog::Ask(parent, x, y);
    if (!ok)
        return false;
    profile.WriteProfileInt(kSectionUtility, "print_move_x", x);
    profile.WriteProfileInt(kSectionUtility, "print_move_y", y);
    return true;
}

bool OnPaperSettings(CKoviraDoc& doc, QWidget* parent, const PageSetAsker& ask)
{
    CPlotInfo& plot = doc.m_PlotInfo;
    int code = plot.PlotPaperSize;
    int w = plot.PlotPaperSizeUserX;
    int h = plot.PlotPaperSizeUserY;
    auto& questions = doc.services().questions;
    const bool ok = ask ? ask(code, w, h) : kov::dialogs::PageSetDialog::Ask(parent, questions, code, w, h);
    if (!ok)
        return false;
    // The page is laid out by dividing by the paper: a user paper must have an extent.
    // One the drawing came with and OK left as it was changes nothing and is not refused again.
    const bool unchanged = code == plot.PlotPaperSize && w == plot.PlotPaperSizeUserX && h == plot.PlotPaperSizeUserY;
    if (code == kov::model::kUserPaperCode && !kov::io::IsUsableUserPaper(w, h)) {
        if (!unchanged)
            questions.message(t::kUserPaperRefused, t::kPageSetCaption, kov::platform::MessageIcon::Warning);
        return false;
    }
    // The paper is kept in the document's file: leaving it after a change must ask.
    if (code != plot.PlotPaperSize || w != plot.PlotPaperSizeUserX || h != plot.PlotPaperSizeUserY)
        doc.SetModifiedFlag(true);
    plot.PlotPaperSize = code;
    plot.PlotPaperSizeUserX = w;
    plot.PlotPaperSizeUserY = h;
    return true;
}

} // namespace kov::app
