#include "app/RangePrint.h"

#include "app/KoviraDoc.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace kov::app {

void OnPrintRangePreview(CKoviraDoc& doc, const PrintViewValues& view, QWidget* parent,
                         const PreviewRunner& runPreview)
{
    PrintViewValues values = view;
    values.printRange = true;
    const kov::io::PrintOptions options = PrintOptionsFor(doc, values);
    CKovUnit::DrawEnvironment env = values.env;
    if (!env.profile)
        env.profile = &doc.services().profile;
    if (!env.fallbackFont)
        env.fallbackFont = &doc.m_FontMenu;
    const kov::io::PrintPasses passes =
        kov::io::DrawingPrintPasses(doc.m_Unit, doc.m_PlotInfo, doc.m_Selection, values.placing, env);
    auto paint = [&](QPrinter& target) {
        kov::io::PrintToPrinter(target, doc.m_PlotInfo, doc.m_Grid, options, passes);
    };

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(doc.GetTitle()));
    printer.setFromTo(1, 1);
    if (runPreview) {
        runPreview(printer, paint);
        return;
    }
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter* target) { paint(*target); });
    preview.exec();
}

} // namespace kov::app
