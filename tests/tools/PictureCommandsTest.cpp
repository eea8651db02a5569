// Pasting a clipboard picture and trimming a picture: the files they write, the pictures they make,
// and the refusals that leave the drawing as it was.

#include "tools/PictureCommands.h"
#include "tools/PictureTexts.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <fstream>

namespace {

using kov::tools::PastePage;
using kov::tools::TrimFrame;
namespace text = kov::tools::picturetext;

QImage colouredPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    return image;
}

struct PictureRig {
    kov::test::TempFolder folder;
    CKovUnit unit;
    SelectionRecord sel;
    CPlotInfo plot;

    // A picture of `type` with a w x h pixel file, shown at the given paper size, selected.
    int addPicture(int w, int h, double mmW, double mmH, int type = kPictureBmp, double angle = 0)
    {
        auto p = std::make_unique<CKovImage>();
        p->ImageID = unit.NextImageId();
        p->ImageName = TempImagePath(folder.path(), p->ImageID).string();
        p->IMGImagetype = type;
        p->ImageWidth = mmW;
        p->ImageHeight = mmH;
        p->BLKImagekakudo = angle;
        p->OffsetX = 12;
        p->OffsetY = -7;
        p->IMGLayer1 = 2;
        p->IMGLayer2 = 9;
        p->IMGImagegifflg = 1;
        p->IMGImagegifcol = 0x00FF00;
        EXPECT_TRUE(SavePictureFile(colouredPicture(w, h), p->DrawnFileName(), type));
        const int id = p->ImageID;
        unit.m_Images.Add(std::move(p));
        sel.Clear();
        sel.AddImageId(id);
        return id;
    }
    const CKovImage* picture(int id) const { return std::as_const(unit).FindImage(id); }
};

TEST(PasteImage, TakesANameNoFileAndNoPictureHoldsAndSizesOnePixelPerPagePixel)
{
    PictureRig rig;
    rig.plot.m_Layer.m_nCurrentGroup = 3;
    rig.plot.m_Layer.m_nCurrentLayer = 5;
    // The next identifier is 2: another program's file holds 2 and a picture of the drawing holds 3
    // (its file is gone).
    std::ofstream(rig.folder.file("temp2.png")) << "not ours";
    auto other = std::make_unique<CKovImage>();
    other->ImageID = 3;
    rig.unit.m_Images.Add(std::move(other));

    const PastePage page{1000, 707, 420, 297, 1};
    const auto got = kov::tools::PasteImage(rig.unit, rig.sel, rig.plot, colouredPicture(300, 150), rig.folder.path(), page);
    ASSERT_TRUE(got.ok) << got.message;
    EXPECT_EQ(got.imageId, 4);
    const CKovImage* p = rig.picture(4);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ImageName, rig.folder.file("temp4.bmp").string());
    EXPECT_EQ(p->IMGImagetype, kPictureBmp);
    EXPECT_DOUBLE_EQ(p->ImageWidth, 300 * 420 / 1000.0);
    EXPECT_DOUBLE_EQ(p->ImageHeight, 150 * 297 / 707.0);
    EXPECT_EQ(p->OffsetX, 0);
    EXPECT_EQ(p->OffsetY, 0);
    EXPECT_EQ(p->IMGLayer1, 3);
    EXPECT_EQ(p->IMGLayer2, 5);
    EXPECT_EQ(rig.sel.m_nCount, 1);
    EXPECT_EQ(rig.sel.m_Images, std::vector<int>{4});
    // A 24-bit BMP of the clipboard's pixels; the other program's file is untouched.
    EXPECT_EQ(GetImageFileFormat(rig.folder.file("temp4.bmp")), kPictureBmp);
    std::ifstream bmp(rig.folder.file("temp4.bmp"), std::ios::binary);
    char header[30] = {};
    bmp.read(header, sizeof header);
    EXPECT_EQ(header[28], 24);
    QImage back;
    ASSERT_TRUE(ReadPictureFile(rig.folder.file("temp4.bmp"), back));
    EXPECT_EQ(back.size(), QSize(300, 150));
    EXPECT_EQ(back.pixel(40, 20), colouredPicture(300, 150).pixel(40, 20));
    EXPECT_EQ(std::filesystem::file_size(rig.folder.file("temp2.png")), 8u);

    // At zoom 2 the page is twice as many pixels: the picture keeps its size on the paper.
    const auto zoomed = kov::tools::PasteImage(rig.unit, rig.sel, rig.plot, colouredPicture(300, 150),
                                               rig.folder.path(), PastePage{2000, 1414, 420, 297, 2});
    ASSERT_TRUE(zoomed.ok);
    EXPECT_DOUBLE_EQ(rig.picture(zoomed.imageId)->ImageWidth, p->ImageWidth);
}

TEST(PasteImage, AFileThatCannotBeWrittenAddsNothing)
{
    PictureRig rig;
    const int kept = rig.addPicture(20, 10, 20, 10);
    // A folder that cannot hold files: a plain file stands where it should be.
    const auto notAFolder = rig.folder.file("blocked");
    std::ofstream(notAFolder) << "x";
    const auto got = kov::tools::PasteImage(rig.unit, rig.sel, rig.plot, colouredPicture(30, 30), notAFolder,
                                            PastePage{1000, 707, 420, 297, 1});
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.message, text::kPasteWriteFailed);
    EXPECT_EQ(rig.unit.m_Images.GetSize(), 1);
    EXPECT_EQ(rig.sel.m_Images, std::vector<int>{kept});

    const auto empty = kov::tools::PasteImage(rig.unit, rig.sel, rig.plot, QImage(), rig.folder.path(),
                                              PastePage{1000, 707, 420, 297, 1});
    EXPECT_FALSE(empty.ok);
    EXPECT_TRUE(empty.message.empty());
}

TEST(TrimImage, CutsTheFrameOutOfThePictureCentredInItsSquare)
{
    struct Case {
        const char* name;
        int w, h;
        double mmW, mmH, angle;
        TrimFrame frame;
        QSize pixels;        // of the new file
        double newW, newH;   // on the paper
        int transparentRows; // at the top and at the bottom of the new file
    };
    const Case cases[] = {
        // The frame on exactly the whole picture.
        {"whole", 200, 100, 100, 50, 0, {0, 1, 0.25, 0.75}, {200, 100}, 100, 50, 0},
        {"left half", 200, 100, 100, 50, 0, {0, 0.5, 0.25, 0.75}, {100, 100}, 50, 50, 0},
        // The whole square: transparent where it reaches past the picture.
        {"beyond", 200, 100, 100, 50, 0, {0, 1, 0, 1}, {200, 200}, 100, 100, 50},
        // A picture turned a quarter shows its file's height across.
        {"turned", 200, 100, 50, 100, 90, {0, 0.5, 0.25, 0.75}, {100, 100}, 50, 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureRig rig;
        const int source = rig.addPicture(c.w, c.h, c.mmW, c.mmH, kPicturePng, c.angle);
        const auto got = kov::tools::TrimImage(rig.unit, rig.sel, rig.folder.path(), c.frame);
        ASSERT_TRUE(got.ok) << got.message;
        EXPECT_EQ(rig.picture(source), nullptr);
        const CKovImage* p = rig.picture(got.imageId);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(rig.sel.m_Images, std::vector<int>{got.imageId});
        EXPECT_DOUBLE_EQ(p->ImageWidth, c.newW);
        EXPECT_DOUBLE_EQ(p->ImageHeight, c.newH);
        // Everything but the size comes from the source.
        EXPECT_EQ(p->OffsetX, 12);
        EXPECT_EQ(p->OffsetY, -7);
        EXPECT_EQ(p->IMGLayer1, 2);
        EXPECT_EQ(p->IMGLayer2, 9);
        EXPECT_EQ(p->IMGImagegifflg, 1);
        EXPECT_EQ(p->IMGImagegifcol, 0x00FF00u);
        EXPECT_EQ(p->IMGImagetype, kPicturePng);
        EXPECT_EQ(p->BLKImagekakudo, c.angle);
        QImage cut;
        ASSERT_TRUE(ReadPictureFile(p->DrawnFileName(), cut));
        EXPECT_EQ(std::filesystem::path(p->DrawnFileName()).extension(), ".png");
        EXPECT_EQ(cut.size(), c.pixels);
        EXPECT_EQ(qAlpha(cut.pixel(c.pixels.width() / 2, 0)), c.transparentRows ? 0 : 255);
        EXPECT_EQ(qAlpha(cut.pixel(c.pixels.width() / 2, c.pixels.height() - 1)), c.transparentRows ? 0 : 255);
        const int y = c.transparentRows;
        EXPECT_EQ(cut.pixel(7, y) & 0xFFFFFF, colouredPicture(c.w, c.h).pixel(7, 0) & 0xFFFFFF);
    }
}

TEST(TrimImage, TheNewFileIsOfThePicturesOwnType)
{
    const struct {
        int type;
        const char* extension;
    } cases[] = {{kPictureJpeg, ".jpg"}, {kPictureGif, ".gif"}, {kPictureBmp, ".bmp"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extension);
        PictureRig rig;
        rig.addPicture(200, 100, 100, 50, c.type);
        const auto got = kov::tools::TrimImage(rig.unit, rig.sel, rig.folder.path(), {0, 0.5, 0.25, 0.75});
        ASSERT_TRUE(got.ok) << got.message;
        const CKovImage* p = rig.picture(got.imageId);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->IMGImagetype, c.type);
        EXPECT_EQ(std::filesystem::path(p->DrawnFileName()).extension(), c.extension);
        QImage cut;
        ASSERT_TRUE(ReadPictureFile(p->DrawnFileName(), cut));
        EXPECT_EQ(cut.size(), QSize(100, 100));
    }
}

TEST(TrimImage, RefusesAFrameOfLessThanAPixelAndAnUnreadablePicture)
{
    const struct {
        const char* name;
        TrimFrame frame;
        bool removeFile;
        const char* message;
    } cases[] = {
        // 200 pixels across: 0.001 of them is less than one.
        {"too narrow", {0.5, 0.501, 0, 1}, false, text::kTrimTooSmall},
        {"too low", {0, 1, 0.3, 0.3}, false, text::kTrimTooSmall},
        {"inverted", {0.8, 0.2, 0, 1}, false, text::kTrimTooSmall},
        {"no file", {0, 1, 0, 1}, true, text::kTrimUnreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureRig rig;
        const int source = rig.addPicture(200, 100, 100, 50);
        if (c.removeFile)
            std::filesystem::remove(rig.picture(source)->DrawnFileName());
        const auto filesBefore = TempImageNumbersIn(rig.folder.path());
        const auto got = kov::tools::TrimImage(rig.unit, rig.sel, rig.folder.path(), c.frame);
        EXPECT_FALSE(got.ok);
        EXPECT_EQ(got.message, c.message);
        EXPECT_EQ(rig.unit.m_Images.GetSize(), 1);
        EXPECT_NE(rig.picture(source), nullptr);
        EXPECT_EQ(rig.sel.m_Images, std::vector<int>{source});
        EXPECT_EQ(TempImageNumbersIn(rig.folder.path()), filesBefore);
    }
    // Without exactly one picture selected nothing happens, and nothing is said.
    PictureRig rig;
    rig.addPicture(20, 20, 10, 10);
    rig.sel.Clear();
    const auto none = kov::tools::TrimImage(rig.unit, rig.sel, rig.folder.path(), {});
    EXPECT_FALSE(none.ok);
    EXPECT_TRUE(none.message.empty());
}

} // namespace
