#include "io/PrintDialogs.h"

#include "model/Grid.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

TEST(PrintDialogs, PreviewShowsTheOnePageOnTheDocumentsPaper)
{
    CPlotInfo plot;
    plot.PlotPaperSize = 1;  // B4 landscape
    CGrid grid;
    int pages = 0;
    bool printing = false;
    kov::io::PrintPasses passes;
    passes.objects = [&](kov::platform::Surface& dc, const DeviceTransform&) {
        ++pages;
        printing = dc.device().isPrinting;
    };
    // Close the preview once it has drawn.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* w = QApplication::activeModalWidget(); w && pages > 0) w->close();
    });
    closer.start(50);
    QPrinter printer;
    kov::io::PrintPreview(nullptr, printer, plot, grid, kov::io::PrintOptions{}, passes);
    EXPECT_GE(pages, 1);
    EXPECT_TRUE(printing);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::JisB4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.fromPage(), 1);
    EXPECT_EQ(printer.toPage(), 1);
}
