#include "io/PrintDialogs.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace kov::io {

bool PrintWithDialog(QWidget* parent, QPrinter& printer, const CPlotInfo& plot, const CGrid& grid,
                     const PrintOptions& options, const PrintPasses& passes)
{
    SetUpPrinterForPaper(printer, plot);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintToPrinter(printer, plot, grid, options, passes);
}

void PrintPreview(QWidget* parent, QPrinter& printer, const CPlotInfo& plot, const CGrid& grid,
                  const PrintOptions& options, const PrintPasses& passes)
{
    SetUpPrinterForPaper(printer, plot);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) { PrintToPrinter(*target, plot, grid, options, passes); });
    preview.exec();
}

} // namespace kov::io
