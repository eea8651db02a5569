#include "dialogs/PictureDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>

#include <gtest/gtest.h>

using namespace kov::dialogs;

TEST(PictureRotationForm, UpdateTruncatesAndOkNeedsConfirmation)
{
    using R = PictureRotationForm::Result;
    struct Row {
        const char* typed;
        R result;
        double angle;
    } rows[] = {{"12.36", R::Ok, 12.3}, {"-0.05", R::Ok, 0.0}, {"361", R::OutOfRange, -30.0}, {"-360", R::Ok, -360}};
    for (const Row& r : rows) {
        PictureRotationForm form(-30);
        EXPECT_EQ(form.update(r.typed), r.result) << r.typed;
        EXPECT_EQ(form.angle(), r.angle) << r.typed;
    }
    PictureRotationForm form(-30);
    EXPECT_EQ(form.angleText(), "-30.0");
    EXPECT_EQ(form.accept("45"), R::NotConfirmed);
    EXPECT_EQ(form.accept("-30.0"), R::Ok);
    EXPECT_EQ(PictureRotationForm::StoredRotation(-30), 30);
    EXPECT_EQ(PictureRotationForm::StoredRotation(90), 270);
    EXPECT_EQ(PictureRotationForm::StoredRotation(0), 0);
}

TEST(PictureTrimForm, FrameStartsOnThePictureAndNeverInverts)
{
    PictureTrimForm wide(387, 387, 200, 100);
    EXPECT_EQ(wide.frame().left, 10);
    EXPECT_EQ(wide.frame().right, 377);
    EXPECT_EQ(wide.frame().top, 10 + 91);
    EXPECT_EQ(wide.frame().bottom, 377 - 91);
    PictureTrimForm tall(387, 387, 100, 200);
    EXPECT_EQ(tall.frame().left, 10 + 91);
    EXPECT_EQ(tall.frame().top, 10);

    PictureTrimForm f(387, 387, 100, 100);
    EXPECT_EQ(f.press(10, 15), 1);
    EXPECT_TRUE(f.drag(40, 45));
    EXPECT_EQ(f.frame().left, 40);
    EXPECT_FALSE(f.drag(10 + 360, 15));   // within 10 pixels of the right edge
    f.release();
    EXPECT_EQ(f.press(200, 200), 0);
    EXPECT_FALSE(f.drag(210, 210));
    const auto r = f.result();
    EXPECT_NEAR(r.left, 30.0 / 367, 1e-12);
    EXPECT_NEAR(r.top, 30.0 / 367, 1e-12);
    EXPECT_EQ(r.right, 1.0);
    // Dragged into the margin: the fractions stay within the picture.
    PictureTrimForm m(387, 387, 100, 100);
    m.press(377, 377);
    EXPECT_TRUE(m.drag(386, 386));
    m.release();
    EXPECT_EQ(m.result().right, 1.0);
    EXPECT_EQ(m.result().bottom, 1.0);
}

TEST(PictureRealSizeForm, OnlyUsableValuesReplace)
{
    struct Row {
        const char *scale, *dpi;
        double expectScale;
        int expectDpi;
    } rows[] = {{"50", "300", 50, 300}, {"0", "50000", 100, 150}, {"abc", "-3", 100, 150}, {"49999", "1", 49999, 1}};
    for (const Row& r : rows) {
        PictureRealSizeForm f;
        f.accept(r.scale, r.dpi);
        EXPECT_EQ(f.scale, r.expectScale) << r.scale;
        EXPECT_EQ(f.dpi, r.expectDpi) << r.dpi;
    }
    CGazouSizeRealDlg dialog(200, 300);
    EXPECT_EQ(dialog.m_scale->text().toStdString(), "200");
    dialog.m_dpi->setText("600");
    dialog.accept();
    EXPECT_EQ(dialog.form().dpi, 600);
    EXPECT_EQ(dialog.form().scale, 200);
}

namespace {

int darkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 64;
    return n;
}

} // namespace

TEST(PictureRotationDialog, AFarLongerThanWidePictureStillShows)
{
    // Fitted into the preview its width is below one pixel: it shows as a line, not as nothing.
    QImage needle(1, 3000, QImage::Format_RGB32);
    needle.fill(Qt::black);
    CGazouKaitenDg dialog(needle, 0);
    EXPECT_GT(darkPixels(dialog.m_preview->pixmap().toImage()), 300);
}

TEST(PictureTrimDialog, TheFrameFollowsTheDraggedCorner)
{
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    CGazouTrimDg dialog(picture);
    QWidget* preview = dialog.preview();
    auto send = [preview](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), preview->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(preview, &e);
    };
    // The top-left corner from (10, 101) to (110, 151).
    send(QEvent::MouseButtonPress, {10, 101}, Qt::LeftButton);
    send(QEvent::MouseMove, {110, 151}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {110, 151}, Qt::NoButton);
    EXPECT_EQ(dialog.form().frame().left, 110);
    EXPECT_EQ(dialog.form().frame().top, 151);
    const QImage shown = preview->grab().toImage();
    // The corner's bracket is drawn where the corner went, and no longer where it was.
    EXPECT_LT(qGray(shown.pixel(112, 160)), 64);
    EXPECT_GT(qGray(shown.pixel(11, 110)), 64);
    const auto f = dialog.fractions();
    EXPECT_NEAR(f.left, 100.0 / 367, 1e-12);
    EXPECT_NEAR(f.top, 141.0 / 367, 1e-12);
}
