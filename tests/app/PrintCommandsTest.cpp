#include "app/PrintCommands.h"

#include "DocumentTestSupport.h"
#include "io/PrintTexts.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include <optional>

using kov::app::PrintViewValues;
using kov::app::PrinterSelection;

namespace {

// A 1000 mm line across the sheet centre, layer group 0 at 1:100, on the given paper.
struct PrintRig : kov::test::DocumentRig {
    explicit PrintRig(int paperCode)
    {
        doc->m_PlotInfo.PlotPaperSize = paperCode;
        doc->m_PlotInfo.m_Layer.m_dScale.fill(100);
        addLine(-500, 0, 500, 0);
    }

    // A print dialog that sends the job to a PDF file and notes what the printer was set to.
    kov::app::PrintDialogRunner toPdf(const std::filesystem::path& pdf)
    {
        return [this, pdf](QPrinter& printer) {
            seenSize = printer.pageLayout().pageSize().id();
            seenOrientation = printer.pageLayout().orientation();
            seenPages = {printer.fromPage(), printer.toPage()};
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf.string()));
            printer.setResolution(600);
            return true;
        };
    }

    QPageSize::PageSizeId seenSize = QPageSize::Custom;
    QPageLayout::Orientation seenOrientation = QPageLayout::Portrait;
    std::pair<int, int> seenPages;
};

} // namespace

TEST(PrintCommands, PrintedToPdfAtOneToHundredALineOf1000mmMeasures10mm)
{
    struct Case {
        const char* name;
        int code;
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
        QSize pagePixels;  // 10 pixels per millimetre
    };
    const Case cases[] = {
        {"A4 portrait", 6, QPageSize::A4, QPageLayout::Portrait, {2100, 2970}},
        {"JIS B4 landscape", 1, QPageSize::JisB4, QPageLayout::Landscape, {3640, 2570}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrintRig rig(c.code);
        PrinterSelection printers;
        const auto pdf = rig.file("page.pdf");
        ASSERT_TRUE(kov::app::OnFilePrint(*rig.doc, PrintViewValues{}, printers, nullptr, rig.toPdf(pdf)));
        // The dialog opened on the document's paper, one page.
        EXPECT_EQ(rig.seenSize, c.size);
        EXPECT_EQ(rig.seenOrientation, c.orientation);
        EXPECT_EQ(rig.seenPages, (std::pair{1, 1}));
        const kov::test::PdfInk page = kov::test::inkOfPdf(pdf);
        ASSERT_FALSE(page.ink.isEmpty()) << "pdftoppm (poppler-utils) could not rasterise the page";
        EXPECT_NEAR(page.page.width(), c.pagePixels.width(), 2);
        EXPECT_NEAR(page.page.height(), c.pagePixels.height(), 2);
        // 10 mm long; the pen adds a little at each end.
        EXPECT_NEAR(page.ink.width(), 100, 3);
        EXPECT_LE(page.ink.height(), 5);
        // In the middle of the sheet (the printer's margins are even).
        EXPECT_NEAR(page.ink.center().x(), c.pagePixels.width() / 2, 3);
        EXPECT_NEAR(page.ink.center().y(), c.pagePixels.height() / 2, 3);
    }
}

TEST(PrintCommands, PrintKeepsTheChosenPrinterPreviewStartsFromTheDefault)
{
    PrintRig rig(9);  // A3 portrait
    PrinterSelection printers;
    int copiesSeen = 0;
    QPageSize::PageSizeId sizeSeen = QPageSize::Custom;
    // The user chooses two copies on A5 and cancels.
    auto chooseAndCancel = [&](QPrinter& printer) {
        printer.setCopyCount(2);
        printer.setPageSize(QPageSize(QPageSize::A5));
        return false;
    };
    auto look = [&](QPrinter& printer) {
        copiesSeen = printer.copyCount();
        sizeSeen = printer.pageLayout().pageSize().id();
        return false;
    };
    EXPECT_FALSE(kov::app::OnFilePrint(*rig.doc, PrintViewValues{}, printers, nullptr, chooseAndCancel));
    // The next print keeps that printer's choices, but its paper is the document's again.
    EXPECT_FALSE(kov::app::OnFilePrint(*rig.doc, PrintViewValues{}, printers, nullptr, look));
    EXPECT_EQ(copiesSeen, 2);
    EXPECT_EQ(sizeSeen, QPageSize::A3);

    // The preview hides the bars first, lets the kept printer go and shows the page on a fresh one.
    int hidden = 0;
    int painted = 0;
    kov::app::OnFilePrintPreview(
        *rig.doc, PrintViewValues{}, printers, nullptr, [&] { ++hidden; },
        [&](QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
            EXPECT_EQ(hidden, 1);
            copiesSeen = printer.copyCount();
            sizeSeen = printer.pageLayout().pageSize().id();
            const auto pdf = rig.file("preview.pdf");
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf.string()));
            paint(printer);
            ++painted;
            EXPECT_NEAR(kov::test::inkOfPdf(pdf).ink.width(), 100, 3);
        });
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(copiesSeen, 1);
    EXPECT_EQ(sizeSeen, QPageSize::A3);
    EXPECT_EQ(printers.printer().copyCount(), 1);
}

TEST(PrintCommands, PrintOptionsFollowTheSettingsAndTheView)
{
    kov::test::DocumentRig rig;
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "print_move_x", -5);
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "print_move_y", 12);
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_printgrid", 1);
    rig.profile.WriteProfileInt("KOV_T_PlotMenu", "app_grid_hutosa", 2);
    PrintViewValues view;
    view.zoom = 3;
    view.printRange = true;
    view.rangeFirst = {100, -20};
    view.rangeSecond = {-50, 40};
    kov::io::PrintOptions o = kov::app::PrintOptionsFor(*rig.doc, view);
    EXPECT_EQ(o.moveX, -5);
    EXPECT_EQ(o.moveY, 12);
    EXPECT_TRUE(o.printGrid);
    EXPECT_EQ(o.gridLineWidth, 2);
    EXPECT_EQ(o.zoom, 3);
    // The range from its smaller to its larger corner, whichever way it was dragged.
    EXPECT_EQ(o.rangeFirst, CDbPoint(-50, -20));
    EXPECT_EQ(o.rangeSecond, CDbPoint(100, 40));
    // A hidden grid is not printed.
    rig.doc->m_Grid.visible = 0;
    EXPECT_FALSE(kov::app::PrintOptionsFor(*rig.doc, view).printGrid);
}

TEST(PrintCommands, PrintPositionWritesBothOffsetsOnOkOnly)
{
    kov::test::DocumentRig rig;
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "print_move_x", 5);
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "print_move_y", -3);
    std::pair<int, int> shown;
    EXPECT_FALSE(kov::app::OnPrintPosition(*rig.doc, nullptr, [&](int& x, int& y) {
        shown = {x, y};
        x = 99;
        return false;
    }));
    EXPECT_EQ(shown, (std::pair{5, -3}));
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "print_move_x", 0), 5);
    EXPECT_TRUE(kov::app::OnPrintPosition(*rig.doc, nullptr, [](int& x, int& y) {
        x = -7;
        y = 12;
        return true;
    }));
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "print_move_x", 0), -7);
    EXPECT_EQ(rig.profile.GetProfileInt("KOV_T_UTILITY", "print_move_y", 0), 12);
}

TEST(PrintCommands, PaperCommandTakesThePaperAndRefusesAUserPaperOfNoExtent)
{
    struct Case {
        const char* name;
        std::optional<std::array<int, 3>> answer;  // nullopt: cancelled
        bool taken;
    };
    const Case cases[] = {
        {"A3 portrait", std::array{9, 400, 300}, true},
        {"same paper", std::array{6, 297, 210}, true},
        {"user paper", std::array{11, 500, 300}, true},
        {"user paper of 0 mm", std::array{11, 0, 300}, false},
        {"user paper of negative height", std::array{11, 500, -1}, false},
        {"user paper of 30000 mm", std::array{11, 30000, 300}, false},
        {"cancelled", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kov::test::DocumentRig rig;
        CPlotInfo& plot = rig.doc->m_PlotInfo;
        plot.PlotPaperSize = 6;
        plot.PlotPaperSizeUserX = 297;
        plot.PlotPaperSizeUserY = 210;
        const CPlotInfo before = plot;
        if (c.answer && !c.taken)
            rig.questions.acknowledge(kov::io::printtext::kUserPaperRefused);
        const bool taken = kov::app::OnPaperSettings(*rig.doc, nullptr, [&](int& code, int& w, int& h) {
            EXPECT_EQ(code, 6);
            EXPECT_EQ(w, 297);
            EXPECT_EQ(h, 210);
            if (!c.answer) return false;
            code = (*c.answer)[0];
            w = (*c.answer)[1];
            h = (*c.answer)[2];
            return true;
        });
        EXPECT_EQ(taken, c.taken);
        if (c.taken) {
            EXPECT_EQ(plot.PlotPaperSize, (*c.answer)[0]);
            EXPECT_EQ(plot.PlotPaperSizeUserX, (*c.answer)[1]);
            EXPECT_EQ(plot.PlotPaperSizeUserY, (*c.answer)[2]);
        } else {
            EXPECT_TRUE(plot == before);
        }
        // The paper is saved with the document: a change must be saved or asked about.
        EXPECT_EQ(rig.doc->IsModified(), !(plot == before)) << c.name;
    }
}
