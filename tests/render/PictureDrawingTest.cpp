// Pictures fitted, turned and found by type, through the recording surface, from small files made
// in a temporary folder.

#include "DrawerTestSupport.h"

#include "model/PictureFiles.h"
#include "render/PictureDrawing.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <string>
#include <vector>

using namespace kov::test::drawers;
using kov::platform::DevicePoint;
using kov::platform::RecordedCall;
using kov::platform::RecordingSurface;

namespace {

QImage picture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(30, 120, 200));
    return img;
}

// The drawImage call: "WxH (tl) (tr) (bl)".
std::string drawn(const RecordingSurface& s)
{
    for (const RecordedCall& c : s.calls())
        if (c.op == "drawImage") return c.dump.substr(std::string("drawImage ").size(), c.dump.find(" opacity") - 10);
    return "nothing";
}

class PictureDrawingTest : public testing::Test {
protected:
    // A picture of the type whose file (temp<id> with the type's extension) holds `image`.
    CKovImage make(int type, const QImage& image, double angle = 0)
    {
        CKovImage p;
        p.ImageID = 7;
        p.IMGImagetype = type;
        p.BLKImagekakudo = angle;
        p.ImageName = folder.file("temp7.bmp").string();
        if (!image.isNull()) {
            const std::string file = p.DrawnFileName();
            EXPECT_TRUE(image.save(QString::fromStdString(file))) << file;
        }
        return p;
    }

    std::string draw(const CKovImage& p, kov::platform::DeviceRect r = {0, 0, 100, 100})
    {
        RecordingSurface s;
        p.DrawImageObject(s, r.left, r.top, r.right, r.bottom, false, pixelTransform());
        return drawn(s);
    }

    kov::test::TempFolder folder;
};

TEST(PictureFit, KeepsTheProportionsIn64Bits)
{
    struct Case {
        long long w0, h0, W, H;
        long long w, h;
    };
    const Case cases[] = {
        {200, 100, 100, 100, 100, 50},
        {100, 200, 100, 100, 50, 100},
        {300, 300, 90, 60, 60, 60},
        {0, 100, 100, 100, 0, 0},
        {100, 100, 0, 100, 0, 0},
        // A 20,000-pixel picture in a rectangle of 200,000 pixels at a high zoom: 32-bit products wrap.
        {20000, 15000, 200000, 200000, 200000, 150000},
    };
    for (const Case& c : cases) {
        const auto fit = kov::render::FitPicture(c.w0, c.h0, c.W, c.H);
        EXPECT_EQ(fit.width, c.w) << c.w0 << "x" << c.h0 << " in " << c.W << "x" << c.H;
        EXPECT_EQ(fit.height, c.h) << c.w0 << "x" << c.h0 << " in " << c.W << "x" << c.H;
    }
}

TEST_F(PictureDrawingTest, FittedCentredAndTurnedByQuarters)
{
    struct Case {
        const char* name;
        double angle;
        std::string expected;
    };
    const Case cases[] = {
        {"wideInASquare", 0, "200x100 (0,25) (100,25) (0,75)"},
        {"quarterTurnFirst", 90, "100x200 (25,0) (75,0) (25,100)"},
        {"halfTurn", 180, "200x100 (0,25) (100,25) (0,75)"},
        // Turned 45 degrees clockwise about the middle of its top-right to bottom-left diagonal.
        {"freeAngle", 45, "200x100 (33,-2) (103,68) (-2,33)"},
    };
    for (const Case& c : cases) EXPECT_EQ(draw(make(kPicturePng, picture(200, 100), c.angle)), c.expected) << c.name;
}

TEST_F(PictureDrawingTest, FreeAngleCentresTheTurnedPictureOnTheRectangle)
{
    for (const double angle : {30.0, 45.0, 123.0, 300.0}) {
        const auto c = kov::render::TurnedPictureCorners({40, 60, 240, 160}, 200, 100, angle);
        // The diagonal from top-right to bottom-left passes through the middle (140, 110).
        EXPECT_NEAR((c[1].x + c[2].x) / 2.0, 140, 1) << angle;
        EXPECT_NEAR((c[1].y + c[2].y) / 2.0, 110, 1) << angle;
    }
}

TEST_F(PictureDrawingTest, FileByTypeAndNothingWithoutOne)
{
    struct Case {
        int type;
        const char* extension;
    };
    for (const Case c : {Case{1, "jpg"}, Case{2, "png"}, Case{3, "gif"}, Case{4, "bmp"}, Case{0, "bmp"}}) {
        const CKovImage p = make(c.type, QImage());
        EXPECT_EQ(p.DrawnFileName(), folder.file(std::string("temp7.") + c.extension).string());
    }
    // A PNG picture is read from temp7.png even when temp7.bmp exists.
    picture(10, 10).save(QString::fromStdString(folder.file("temp7.bmp").string()));
    EXPECT_EQ(draw(make(kPicturePng, QImage())), "nothing");
    EXPECT_EQ(draw(make(kPicturePng, picture(40, 20))), "40x20 (0,25) (100,25) (0,75)");

    // Undecodable bytes and an empty rectangle draw nothing.
    QFile broken(QString::fromStdString(folder.file("temp7.jpg").string()));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    EXPECT_EQ(draw(make(kPictureJpeg, QImage())), "nothing");
    EXPECT_EQ(draw(make(kPicturePng, QImage()), {10, 10, 10, 50}), "nothing");
}

TEST_F(PictureDrawingTest, TurnedPictureLeavingAPrinterPagePaintsNothingElse)
{
    kov::platform::DeviceProperties page;
    page.isPrinting = true;
    page.isOutput = true;
    page.area = {0, 0, 60, 60};
    RecordingSurface s(page);
    const CKovImage p = make(kPicturePng, picture(200, 100), 30);
    p.DrawImageObject(s, -20, -20, 80, 80, true, pixelTransform());
    // The page clips the picture; nothing is painted white over what the page already holds.
    ASSERT_EQ(s.calls().size(), 1u);
    EXPECT_EQ(s.calls()[0].op, "drawImage");
}

TEST_F(PictureDrawingTest, ChangedFileIsReadAgain)
{
    const CKovImage p = make(kPicturePng, picture(200, 100));
    EXPECT_EQ(draw(p), "200x100 (0,25) (100,25) (0,75)");
    std::filesystem::remove(p.DrawnFileName());
    picture(100, 200).save(QString::fromStdString(p.DrawnFileName()));
    EXPECT_EQ(draw(p), "100x200 (25,0) (75,0) (25,100)");
}

TEST_F(PictureDrawingTest, OrientationTagIsNotApplied)
{
    // A JPEG of 200 × 100 pixels tagged "turn 90 degrees" (EXIF orientation 6).
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture(200, 100).save(&buffer, "JPEG"));
    const char exif[] = "\xFF\xE1\x00\x22"
                        "Exif\x00\x00"
                        "MM\x00\x2A\x00\x00\x00\x08"
                        "\x00\x01"
                        "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                        "\x00\x00\x00\x00";
    jpeg.insert(2, QByteArray(exif, sizeof exif - 1));
    CKovImage p = make(kPictureJpeg, QImage());
    QFile file(QString::fromStdString(p.DrawnFileName()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jpeg);
    file.close();
    QImageReader turning(QString::fromStdString(p.DrawnFileName()));
    turning.setAutoTransform(true);
    ASSERT_EQ(turning.read().size(), QSize(100, 200)) << "the fixture's tag must be one Qt understands";

    EXPECT_EQ(draw(p), "200x100 (0,25) (100,25) (0,75)");
}

TEST(PictureRect, CentredAtPaperSizeWhateverTheDrawingScale)
{
    CKovImage p;
    p.OffsetX = 50;
    p.OffsetY = 30;
    p.ImageWidth = 25.3;
    p.ImageHeight = 10;
    DeviceTransform t = pixelTransform(4.0);
    t.originX = 10;
    t.originY = 20;
    t.scaleX.fill(123);  // not used
    // Centre (10 + 200, 20 + 120); trunc(101.2) / 2 = 50, 40 / 2 = 20.
    EXPECT_EQ(p.DeviceRectFor(t), (kov::platform::DeviceRect{160, 120, 260, 160}));
}

} // namespace

namespace {

TEST_F(PictureDrawingTest, BytesWaitingInMemoryAreDrawnWithoutAFile)
{
    CKovImage p = make(kPicturePng, QImage());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture(60, 30).save(&buffer, "PNG"));
    p.KeepFileBytes(std::vector<std::uint8_t>(png.begin(), png.end()), folder.path());
    EXPECT_EQ(draw(p), "60x30 (0,25) (100,25) (0,75)");
    EXPECT_FALSE(std::filesystem::exists(p.DrawnFileName()));
    // Once written, the file is what is drawn.
    ASSERT_TRUE(p.ExtractFile());
    EXPECT_TRUE(std::filesystem::exists(p.DrawnFileName()));
    EXPECT_EQ(draw(p), "60x30 (0,25) (100,25) (0,75)");
}

} // namespace
