// A picture pasted from the clipboard and trimmed, on a real X server (run under xvfb-run): another
// program holds a picture on the clipboard; 編集 → ｸﾘｯﾌﾟﾎﾞｰﾄﾞの画像を貼り付け puts it on the middle of
// the sheet; the right button's menu opens the trimming dialog on it, whose frame is dragged by a
// corner with the mouse; トリミングOK leaves the smaller picture in its place. The pictures of the
// dialog and of the result are kept beside the test.

#include "app/ContextMenu.h"
#include "app/CommandIds.h"
#include "app/DocumentTestSupport.h"
#include "model/Bmp.h"
#include "model/KovImage.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/SelectionRecord.h"
#include "ui/UiSupport.h"

#include <QPainter>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

// The pasted picture's colours: strongly coloured, unlike the drawing's black lines on white.
bool coloured(QRgb c) { return std::abs(qRed(c) - qGreen(c)) + std::abs(qGreen(c) - qBlue(c)) > 150; }

QRect colouredBox(const QImage& shot, const QRect& within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (coloured(shot.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

// A 480 x 320 picture: sky, sun and a hill, strongly coloured everywhere.
QImage landscape()
{
    QImage image(480, 320, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(20, 120, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 150, 0));
    p.drawEllipse(QPoint(360, 90), 50, 50);
    p.setBrush(QColor(30, 200, 40));
    p.drawEllipse(QPoint(150, 360), 260, 150);
    p.setBrush(QColor(230, 20, 60));
    p.drawRect(60, 150, 70, 60);
    return image;
}

class PictureOnScreen : public ScreenTest {
protected:
    void TearDown() override
    {
        if (m_clipboard.state() != QProcess::NotRunning) {
            m_clipboard.kill();
            m_clipboard.waitForFinished(5000);
        }
        ScreenTest::TearDown();
    }

    DocumentRig m_rig;
    QProcess m_clipboard;
};

TEST_F(PictureOnScreen, APastedPictureIsTrimmedByItsFrame)
{
    auto add = [this](double x1, double y1, double x2, double y2) { m_rig.addLine(x1, y1, x2, y2); };
    add(-12000, -7000, 12000, -7000);
    add(12000, -7000, 12000, 7000);
    add(12000, 7000, -12000, 7000);
    add(-12000, 7000, -12000, -7000);
    const fs::path drawing = m_rig.file("picture-trim.kvr");
    ASSERT_TRUE(m_rig.saveAs(drawing));
    const fs::path picture = m_rig.file("landscape.png");
    ASSERT_TRUE(landscape().save(QString::fromStdString(picture.string())));

    // Another program holds the picture on the clipboard.
    m_clipboard.setProcessEnvironment(environment());
    m_clipboard.start(KOVIRA_CLIPBOARD_OWNER, {QString::fromStdString(picture.string())});
    ASSERT_TRUE(m_clipboard.waitForStarted(10000));
    ASSERT_TRUE(m_clipboard.waitForReadyRead(10000)) << "the clipboard's owner did not start";

    ASSERT_FALSE(start({QString::fromStdString(drawing.string())}, "picture-trim").empty());
    const QImage before = grab(m_rig.file("before.png"));
    const QRect frame = findFrame(before);
    ASSERT_FALSE(frame.isEmpty()) << "the drawing's frame was not found on the screen";
    ASSERT_TRUE(colouredBox(before, frame.adjusted(2, 2, -2, -2)).isEmpty());

    // 編集(E) → ｸﾘｯﾌﾟﾎﾞｰﾄﾞの画像を貼り付け(&P): with nothing selected and nothing to undo, the
    // menu opens on it, its first enabled item (P would go on to the submenu グループ(&P)).
    key("alt+e", 600);
    key("Return", 1200);
    const QImage pasted = grab(m_rig.file("pasted.png"));
    const QRect shown = colouredBox(pasted, frame.adjusted(2, 2, -2, -2));
    ASSERT_FALSE(shown.isEmpty()) << "no picture was pasted";
    // One picture pixel on one pixel of the page, in the middle of the sheet.
    EXPECT_NEAR(shown.width(), 480, 12);
    EXPECT_NEAR(shown.height(), 320, 12);
    EXPECT_NEAR(shown.center().x(), frame.center().x(), 8);
    EXPECT_NEAR(shown.center().y(), frame.center().y(), 8);

    // The right button's menu for the one selected picture: its trimming item.
    CKovUnit unit;
    SelectionRecord one;
    one.AddImageId(1);
    int downs = 0;
    for (const kov::app::ContextItem& item : kov::app::ContextMenuItems(unit, one, {})) {
        if (item.command == 0) continue;
        ++downs;
        if (item.command == kov::app::cmd::TrimPicture) break;
    }
    const QPoint middle = shown.center();
    run("xdotool mousemove " + num(middle.x()) + " " + num(middle.y()) + " click 3");
    QThread::msleep(800);
    for (int i = 0; i < downs; ++i) key("Down", 80);
    key("Return", 1500);
    const std::string dialog = windowNamed("トリミング", 60);
    ASSERT_FALSE(dialog.empty()) << "the trimming dialog did not open";
    QThread::msleep(500);
    // The preview's frame starts on the picture (3:2): from (10, 71) to (377, 316) of the preview,
    // which lies 13 pixels inside the dialog. Its lower right corner goes up and left.
    const QRect g = windowGeometry(dialog);
    const int px = g.x() + 13, py = g.y() + 13;
    auto moveTo = [&](int x, int y) { run("xdotool mousemove " + num(px + x) + " " + num(py + y)); };
    moveTo(377, 316);
    QThread::msleep(200);
    run("xdotool mousedown 1");
    for (int step = 1; step <= 6; ++step) {
        moveTo(377 - 20 * step, 316 - 10 * step);
        QThread::msleep(60);
    }
    run("xdotool mouseup 1");
    QThread::msleep(500);
    grab(fs::path(KOVIRA_UI_OUTPUT) / "picture-trim-dialog.png", dialog);
    key("Return", 1500);

    const QImage trimmed = grab(fs::path(KOVIRA_UI_OUTPUT) / "picture-pasted-and-trimmed.png");
    const QRect kept = colouredBox(trimmed, frame.adjusted(2, 2, -2, -2));
    ASSERT_FALSE(kept.isEmpty()) << "the picture is gone";
    // The frame kept (377 - 120 - 10) / 367 of the width and (316 - 60 - 71) / 245 of the height;
    // the picture stays centred where it was.
    EXPECT_NEAR(kept.width(), 480 * 247.0 / 367, 14);
    EXPECT_NEAR(kept.height(), 320 * 185.0 / 245, 14);
    EXPECT_NEAR(kept.center().x(), frame.center().x(), 8);
    EXPECT_NEAR(kept.center().y(), frame.center().y(), 8);
}

// A drawing whose transparent picture declares 2 × 16 million pixels in a few bytes (a damaged file;
// making it transparent took 20 s): the program opens the drawing at once, and the damage report
// names the drawing and says why the picture is not shown. The drawing's lines are there.
TEST_F(PictureOnScreen, APictureTooLargeForItsBytesIsNamedAndTheDrawingOpens)
{
    auto add = [this](double x1, double y1, double x2, double y2) { m_rig.addLine(x1, y1, x2, y2); };
    add(-12000, -7000, 12000, -7000);
    add(12000, -7000, 12000, 7000);
    add(12000, 7000, -12000, 7000);
    add(-12000, 7000, -12000, -7000);
    std::vector<std::uint8_t> bmp = DibToBmpBytes(BitmapToDib(landscape().scaled(2, 2), kBiRgb, 24));
    const std::uint32_t rows = 16'449'281;
    for (int i = 0; i < 4; ++i) bmp[22 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(rows >> (8 * i));
    auto picture = std::make_unique<CKovImage>();
    picture->ImageID = m_rig.doc->m_Unit.NextImageId();
    picture->ImageName = TempImagePath(m_rig.doc->TempImageFolder(), picture->ImageID).string();
    picture->IMGImagetype = kPictureBmp;
    picture->IMGImagegifflg = 1;
    picture->IMGImagegifcol = 0xFFFFFF;
    picture->ImageWidth = 100;
    picture->ImageHeight = 70;
    picture->KeepFileBytes(bmp, m_rig.doc->TempImageFolder());
    m_rig.doc->m_Unit.m_Images.Add(std::move(picture));
    const fs::path drawing = m_rig.file("damaged-picture.kvr");
    ASSERT_TRUE(m_rig.saveAs(drawing));

    ASSERT_TRUE(launch({QString::fromStdString(drawing.string())}, environment()));
    // The report comes up while the drawing opens, over the program's window.
    const std::string report = windowNamed("^Kovira$", 60);
    ASSERT_FALSE(report.empty()) << "no report of the damaged picture appeared";
    QThread::msleep(1500);
    grab(fs::path(KOVIRA_UI_OUTPUT) / "picture-refused-on-open.png");
    focus(report);
    key("Return", 1500);
    const std::string window = windowNamed("damaged-picture", 60);
    ASSERT_FALSE(window.empty()) << "the drawing did not open";
    const QImage opened = grab(fs::path(KOVIRA_UI_OUTPUT) / "picture-refused-drawing-opened.png");
    EXPECT_FALSE(findFrame(opened).isEmpty()) << "the drawing's lines are not on the screen";
}

} // namespace
