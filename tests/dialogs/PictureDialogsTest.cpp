#include "dialogs/PictureDialogs.h"

#include <QLineEdit>

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
