#include "io/PictureInsertion.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using kov::io::InsertImageFile;
using kov::io::PageMetrics;
using kov::io::RealSize;

namespace {

void writeText(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

struct Rig {
    kov::test::TempFolder temp;
    kov::platform::MemoryProfile profile;
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    std::filesystem::path folder;

    Rig() : folder(temp.file("Tmps")) { std::filesystem::create_directories(folder); }

    std::filesystem::path picture(const std::string& name, int w, int h, const char* format)
    {
        const auto path = temp.file(name);
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::red);
        QImageWriter writer(QString::fromStdString(path.string()), format);
        EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
        return path;
    }

    kov::io::PictureInsertion insert(const std::filesystem::path& file, kov::io::RealSizeAsker ask = {})
    {
        return InsertImageFile(file, unit, plot, selection, folder, PageMetrics{1123, 297, 2}, profile, ask);
    }
};

} // namespace

TEST(PictureInsertion, TypeNameSizeAndSelection)
{
    Rig rig;
    const auto png = rig.picture("photo.jpg", 40, 20, "png");
    const auto got = rig.insert(png);
    ASSERT_TRUE(got.ok) << got.message;
    const CKovImage& image = *rig.unit.FindImage(got.imageId);
    EXPECT_EQ(image.IMGImagetype, kPictureJpeg);
    EXPECT_TRUE(std::filesystem::exists(PictureFileForType(image.ImageName, image.IMGImagetype)));
    EXPECT_EQ(PictureFileForType(image.ImageName, image.IMGImagetype).extension(), ".jpg");
    EXPECT_EQ(image.ImageWidth, 60);   // the settings' size, whatever the shape
    EXPECT_EQ(image.ImageHeight, 60);
    EXPECT_EQ(image.OffsetX, 0);
    EXPECT_EQ(rig.selection.m_Images, std::vector<int>{got.imageId});
}

TEST(PictureInsertion, SizeRules)
{
    struct Row {
        int rule;
        std::optional<RealSize> answer;
        double width;
    } rows[] = {
        {0, {}, 1500 / (1123.0 / 297) * 2},
        {1, {}, 60},
        {2, RealSize{100, 150}, 254},
        {2, RealSize{200, 300}, 254},
        {2, RealSize{100, 5}, 254},   // an unusable resolution is taken as 150
        {2, std::nullopt, 1500 / (1123.0 / 297) * 2},
        {7, {}, 50},
    };
    for (const Row& r : rows) {
        Rig rig;
        rig.plot.m_Layer.SetAllScales(100);
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "config_gazouchoise", r.rule);
        const auto png = rig.picture("wide.png", 1500, 10, "png");
        RealSize asked{};
        const auto got = rig.insert(png, [&](const RealSize& preset) {
            asked = preset;
            return r.answer;
        });
        ASSERT_TRUE(got.ok);
        EXPECT_NEAR(rig.unit.FindImage(got.imageId)->ImageWidth, r.width, 1e-9) << r.rule;
        if (r.rule == 2) {
            EXPECT_EQ(asked.scale, 100);
            EXPECT_EQ(asked.dpi, 150);
        }
    }
}

TEST(PictureInsertion, OrientationTagTurnsThePicture)
{
    Rig rig;
    const auto plain = rig.picture("plain.jpg", 30, 20, "jpeg");
    // A camera's picture: an EXIF block right after the start marker, orientation 6.
    std::ifstream in(plain, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const unsigned char exif[] = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0,
                                  'I', 'I', 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00,
                                  0x01, 0x00, 0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00,
                                  0x00, 0x00, 0x00, 0x00};
    bytes.insert(2, reinterpret_cast<const char*>(exif), sizeof exif);
    const auto jpg = rig.temp.file("upright.jpg");
    writeText(jpg, bytes);
    ASSERT_EQ(GetImageFileOrientation(jpg), 6);
    const auto got = rig.insert(jpg);
    ASSERT_TRUE(got.ok);
    EXPECT_EQ(rig.unit.FindImage(got.imageId)->BLKImagekakudo, 90);
}

TEST(PictureInsertion, TakenTemporaryNamesAndFailures)
{
    Rig rig;
    writeText(rig.folder / "temp1.png", "x");
    const auto got = rig.insert(rig.picture("a.png", 4, 4, "png"));
    ASSERT_TRUE(got.ok);
    EXPECT_EQ(got.imageId, 2);
    writeText(rig.temp.file("not-a-picture.png"), "plain text");
    const auto bad = rig.insert(rig.temp.file("not-a-picture.png"));
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message, "画像ファイルが適したタイプでないか、読み取れません。");
    // A picture that declares more pixels than may be decoded is named and refused before it is copied.
    const auto bmp = rig.picture("huge.bmp", 4, 4, "bmp");
    {
        std::fstream f(bmp, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(22);
        const char rows[4] = {0x00, 0x00, 0x40, 0x00}; // 4 million rows in a file of a few bytes
        f.write(rows, 4);
    }
    const auto huge = rig.insert(bmp);
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.message.rfind("画像ファイル「" + bmp.string() + "」は挿入できません。画像のデータが途中で切れています", 0), 0u)
        << huge.message;
    EXPECT_EQ(rig.unit.m_Images.GetSize(), 1);
    // A folder the copy cannot reach: nothing is added.
    Rig nowhere;
    nowhere.folder = nowhere.temp.file("missing/deeper");
    const auto lost = nowhere.insert(nowhere.picture("b.png", 4, 4, "png"));
    EXPECT_FALSE(lost.ok);
    EXPECT_EQ(nowhere.unit.m_Images.GetSize(), 0);
}
