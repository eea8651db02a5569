// The picture commands and the range print as the window runs them: pasting the clipboard's
// picture, turning and trimming the selected picture through their dialogs, and the range print's
// drag from the file menu to the preview's page; the range print's steps in the tool machine.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "dialogs/PictureDialogs.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "tools/PictureTexts.h"
#include "tools/ToolMachine.h"

#include "app/WindowTestSupport.h"
#include "app/ToolHarness.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include <algorithm>
#include <tuple>

namespace {

using namespace kov::app;
namespace cmd = kov::app::cmd;
namespace text = kov::tools::picturetext;

QImage stripes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, (x / 10) % 2 ? qRgb(200, 40, 40) : qRgb(40, 40, 200));
    return image;
}

void send(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &e);
}

struct Rig : kov::test::WindowRig {
    Rig() : WindowRig({1280, 860})
    {
        doc->m_PlotInfo.m_Layer.SetAllScales(100);
        doc->m_Grid.kyutyaku = 0;
        doc->m_PlotInfo.PlotLinePita = 0;
    }
    const CKovUnit& unit() const { return doc->m_Unit; }
    // A picture of 200 x 100 pixels shown at 100 x 50 mm, selected alone.
    int selectedPicture(double angle = 0)
    {
        CKovImage& p = addPicture(7);
        p.IMGImagetype = kPicturePng;
        SavePictureFile(stripes(200, 100), p.DrawnFileName(), kPicturePng);
        p.ImageWidth = 100;
        p.ImageHeight = 50;
        p.BLKImagekakudo = angle;
        doc->m_Selection.Clear();
        doc->m_Selection.AddImageId(7);
        view().RedrawAll();
        return 7;
    }
};

TEST(PictureCommands, PasteAddsTheClipboardPictureSelectedAsOneUndoStep)
{
    Rig rig;
    rig.window->RunCommand(cmd::ToolLine);
    QApplication::clipboard()->setImage(stripes(120, 80));
    const std::size_t before = rig.undoDepth();
    ASSERT_TRUE(rig.window->RunCommand(cmd::PastePicture));
    ASSERT_EQ(rig.unit().m_Images.GetSize(), 1);
    const CKovImage& p = *rig.unit().m_Images[0];
    EXPECT_EQ(rig.doc->m_Selection.m_Images, std::vector<int>{p.ImageID});
    EXPECT_EQ(rig.doc->m_Selection.m_nCount, 1);
    EXPECT_EQ(rig.doc->m_nToolMode, 0);
    EXPECT_EQ(std::filesystem::path(p.ImageName).parent_path(), rig.doc->TempImageFolder());
    EXPECT_EQ(GetImageFileWidth(p.ImageName), 120);
    // Its file goes with the document.
    const auto& temps = rig.doc->m_TempImageNumbers;
    EXPECT_NE(std::find(temps.begin(), temps.end(), std::uint32_t(p.ImageID)), temps.end());
    EXPECT_EQ(rig.undoDepth(), before + 1);
    rig.window->RunCommand(cmd::EditUndo);
    EXPECT_EQ(rig.unit().m_Images.GetSize(), 0);

    // Text on the clipboard: the command is not offered and adds nothing.
    QApplication::clipboard()->setText(QStringLiteral("no picture"));
    rig.window->RunCommand(cmd::PastePicture);
    EXPECT_EQ(rig.unit().m_Images.GetSize(), 0);
    EXPECT_FALSE(rig.window->action(cmd::PastePicture)->isEnabled());
}

TEST(PictureCommands, TurnByTheDialogsAngleStoresItNegated)
{
    Rig rig;
    const int id = rig.selectedPicture(30);
    std::string shown;
    QTimer::singleShot(0, [&shown] {
        auto* d = dynamic_cast<kov::dialogs::CGazouKaitenDg*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        shown = d->m_edit->text().toStdString();
        d->m_edit->setText(QStringLiteral("90"));
        d->onUpdate();
        d->accept();
    });
    ASSERT_TRUE(rig.window->RunCommand(cmd::TurnPicture));
    EXPECT_EQ(shown, "-30.0");
    EXPECT_EQ(rig.unit().FindImage(id)->BLKImagekakudo, 270);
    rig.window->RunCommand(cmd::EditUndo);
    EXPECT_EQ(rig.unit().FindImage(id)->BLKImagekakudo, 30);

    // Pictures saved in the old form keep no angle: refused before the dialog.
    rig.profile.WriteProfileInt("KOV_T_UTILITY", "app_savegazouold", 1);
    rig.questions.acknowledge(text::kOldFormTurnRefused);
    rig.window->RunCommand(cmd::TurnPicture);
    EXPECT_EQ(rig.questions.pending(), 0u);
    EXPECT_EQ(rig.unit().FindImage(id)->BLKImagekakudo, 30);
}

TEST(PictureCommands, TrimByTheDialogsFrameReplacesThePicture)
{
    Rig rig;
    const int id = rig.selectedPicture();
    // The context menu of the one picture offers the command.
    const auto items = rig.window->contextMenuItems();
    EXPECT_NE(std::find_if(items.begin(), items.end(), [](const ContextItem& i) { return i.command == cmd::TrimPicture; }),
              items.end());
    const std::size_t before = rig.undoDepth();
    QTimer::singleShot(0, [] {
        auto* d = dynamic_cast<kov::dialogs::CGazouTrimDg*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        // The frame starts on the picture, twice as wide as high: its bottom-right corner is
        // dragged to the middle, keeping the left half.
        const auto f = d->form().frame();
        QWidget* preview = d->preview();
        send(preview, QEvent::MouseButtonPress, QPointF(f.right, f.bottom), Qt::LeftButton, Qt::LeftButton);
        send(preview, QEvent::MouseMove, QPointF((f.left + f.right) / 2 + 1, f.bottom), Qt::NoButton, Qt::LeftButton);
        send(preview, QEvent::MouseButtonRelease, QPointF((f.left + f.right) / 2 + 1, f.bottom), Qt::LeftButton,
             Qt::NoButton);
        d->accept();
    });
    ASSERT_TRUE(rig.window->RunCommand(cmd::TrimPicture));
    EXPECT_EQ(rig.unit().FindImage(id), nullptr);
    ASSERT_EQ(rig.doc->m_Selection.m_Images.size(), 1u);
    const CKovImage* cut = rig.unit().FindImage(rig.doc->m_Selection.m_Images.front());
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(GetImageFileWidth(cut->DrawnFileName()), 100);
    EXPECT_NEAR(cut->ImageWidth, 50, 0.5);
    const auto& temps = rig.doc->m_TempImageNumbers;
    EXPECT_NE(std::find(temps.begin(), temps.end(), std::uint32_t(cut->ImageID)), temps.end());
    EXPECT_EQ(rig.undoDepth(), before + 1);
    rig.window->RunCommand(cmd::EditUndo);
    EXPECT_NE(rig.unit().FindImage(id), nullptr);
    EXPECT_EQ(rig.unit().m_Images.GetSize(), 1);

    // Cancel changes nothing.
    rig.doc->m_Selection.Clear();
    rig.doc->m_Selection.AddImageId(id);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_TRUE(rig.window->RunCommand(cmd::TrimPicture));
    EXPECT_NE(rig.unit().FindImage(id), nullptr);
    EXPECT_EQ(rig.unit().m_Images.GetSize(), 1);
}

TEST(PictureCommands, WithoutExactlyOnePictureTheyTellWhyNothingHappens)
{
    Rig rig;
    const int id = rig.selectedPicture();
    CKovImage& other = rig.addPicture(8);
    other.ImageWidth = other.ImageHeight = 20;
    // Two pictures: the context menu still offers the commands, which then open no dialog.
    rig.doc->m_Selection.AddImageId(8);
    for (int command : {cmd::TurnPicture, cmd::TrimPicture}) {
        rig.questions.acknowledge(text::kOnePictureFirst);
        rig.window->RunCommand(command);
        EXPECT_EQ(rig.questions.pending(), 0u) << command;
    }
    // The picture deleted behind the selection's back.
    rig.doc->m_Selection.Clear();
    rig.doc->m_Selection.AddImageId(id);
    rig.doc->m_Unit.DeleteImage(id);
    rig.questions.acknowledge(text::kOnePictureFirst);
    rig.window->RunCommand(cmd::TrimPicture);
    EXPECT_EQ(rig.questions.pending(), 0u);
    EXPECT_EQ(rig.unit().m_Images.GetSize(), 1);
}

TEST(PictureCommands, RangePrintPreviewsTheDraggedRangeCentredOnThePage)
{
    Rig rig;
    // A 2000 mm square inside the range, and a line far outside it.
    rig.addLine(4000, 2000, 6000, 2000);
    rig.addLine(6000, 2000, 6000, 4000);
    rig.addLine(6000, 4000, 4000, 4000);
    rig.addLine(4000, 4000, 4000, 2000);
    rig.addLine(-9000, -5000, -3000, -5000);
    rig.view().RedrawAll();
    ASSERT_TRUE(rig.window->RunCommand(cmd::PartialPrint));
    EXPECT_EQ(rig.doc->m_nToolMode, 59);
    EXPECT_EQ(rig.window->statusText(), "クリックドラッグして範囲を決めてください");

    const auto pdf = rig.file("range.pdf");
    int previews = 0;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        ++previews;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        emit d->paintRequested(&printer);
        d->reject();
    });
    rig.drag({3500, 4500}, {6500, 1500});
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(rig.doc->m_nToolMode, 0);
    EXPECT_EQ(rig.window->statusText(), "選択モード");

    // At 1:100 the square is 20 mm on the page (10 pixels a millimetre), in the page's middle; the
    // line outside the range is not printed.
    const kov::test::PdfInk page = kov::test::inkOfPdf(pdf);
    ASSERT_FALSE(page.ink.isEmpty()) << "pdftoppm (poppler-utils) could not rasterise the page";
    EXPECT_NEAR(page.ink.width(), 200, 4);
    EXPECT_NEAR(page.ink.height(), 200, 4);
    EXPECT_NEAR(page.ink.center().x(), page.page.width() / 2, 4);
    EXPECT_NEAR(page.ink.center().y(), page.page.height() / 2, 4);
}

// The range print's steps in the tool machine.
TEST(RangePrintTool, TheReleaseHandsOverTheRangeSmallerCornerFirst)
{
    kov::test::ToolHarness h;
    h.rig.doc->m_Grid.kyutyaku = 0;
    ASSERT_TRUE(h.start(59));
    EXPECT_EQ(h.host.prompt, "クリックドラッグして範囲を決めてください");
    h.drag({1000, 2000}, {-3000, -500});
    ASSERT_EQ(h.host.printedRanges.size(), 1u);
    const auto [first, second] = h.host.printedRanges.front();
    // The corners come back through the screen: within a pixel (about 43 mm at this zoom).
    const double pixel = 45;
    EXPECT_NEAR(first.x, -3000, pixel);
    EXPECT_NEAR(first.y, -500, pixel);
    EXPECT_NEAR(second.x, 1000, pixel);
    EXPECT_NEAR(second.y, 2000, pixel);
    EXPECT_EQ(h.m.m_ptLast, first);
    EXPECT_EQ(h.m.m_ptCurrent, second);
    EXPECT_EQ(h.m.m_bPrintRange, 1);
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_EQ(h.host.prompt, "選択モード");
    EXPECT_TRUE(h.host.messages.empty());
    // The next move of the pointer forgets the range.
    h.move({0, 0});
    EXPECT_EQ(h.m.m_bPrintRange, 0);

    // A click without a drag has no range: said, and back in select mode.
    ASSERT_TRUE(h.start(59));
    h.click({500, 500});
    EXPECT_EQ(h.host.printedRanges.size(), 1u);
    EXPECT_EQ(h.host.messages, std::vector<std::string>{text::kRangeFailed});
    EXPECT_EQ(h.m.ToolMode(), 0);
    EXPECT_EQ(h.m.m_bPrintRange, 0);
}

} // namespace
