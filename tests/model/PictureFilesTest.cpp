#include "model/PictureFiles.h"

#include "model/Bmp.h"
#include "model/KovImage.h"

#include "platform/Profile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>

#include <zlib.h>

#include <fstream>
#include <limits>
#include <memory>
#include <unordered_set>
#include <vector>

namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file)
{
    std::ofstream(file) << "x";
}

// Flat areas of three colours, so lossless formats must give every pixel back.
QImage threeColours(int w = 7, int h = 5)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x < w / 3 ? qRgb(200, 30, 40) : y < h / 2 ? qRgb(10, 120, 250) : qRgb(255, 255, 255));
    return image;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

TEST(PictureFilesTest, TempNameTakesTheFirstNumberFreeInEveryExtension)
{
    struct Row { const char* name; std::vector<std::string> present; int id; int expected; };
    const std::vector<Row> rows = {
        {"empty folder", {}, 5, 5},
        {"png of the same number", {"temp5.png"}, 5, 6},
        {"bmp and the next jpg", {"temp5.bmp", "temp6.jpg"}, 5, 7},
        {"any extension counts", {"temp5.tif"}, 5, 6},
        {"longer numbers are other pictures", {"temp50.bmp", "temp55.png"}, 5, 5},
        {"lower numbers do not matter", {"temp4.bmp"}, 5, 5},
        {"other names", {"temp5x.bmp", "mytemp5.bmp"}, 5, 5},
        {"identifier below 1 from a damaged file", {"temp1.bmp"}, -3, 2},
        {"identifier 0", {}, 0, 1},
        {"largest identifier taken wraps to 1", {"temp2147483647.png"}, std::numeric_limits<int>::max(), 1},
    };
    for (const Row& r : rows) {
        kov::test::TempFolder folder;
        for (const std::string& name : r.present)
            touch(folder.file(name));
        int id = r.id;
        const fs::path path = CKovImage::MakeTempImageName(folder.path(), id);
        EXPECT_EQ(id, r.expected) << r.name;
        EXPECT_EQ(path, folder.file("temp" + std::to_string(r.expected) + ".bmp")) << r.name;
    }
}

TEST(PictureFilesTest, EncodersByExactMimeType)
{
    std::vector<int> found;
    for (const char* mime : {"image/bmp", "image/jpeg", "image/gif", "image/png"}) {
        const int index = GetEncoderClsid(mime);
        EXPECT_GE(index, 0) << mime;
        found.push_back(index);
    }
    EXPECT_EQ(found, (std::vector<int>{0, 1, 2, 3}));
    for (const char* mime : {"image/tiff", "IMAGE/PNG", "image/png ", "png", ""})
        EXPECT_EQ(GetEncoderClsid(mime), -1) << '"' << mime << '"';
}

TEST(PictureFilesTest, NamesByType)
{
    const fs::path folder("/pictures");
    EXPECT_EQ(TempImagePath(folder, 3), fs::path("/pictures/temp3.bmp"));
    EXPECT_EQ(TempImagePath(folder, 3, kPictureJpeg), fs::path("/pictures/temp3.jpg"));
    EXPECT_EQ(TempImagePath(folder, 3, kPictureOther), fs::path("/pictures/temp3.bmp"));
    EXPECT_EQ(PictureFileForType("/pictures/temp12.bmp", kPictureGif), fs::path("/pictures/temp12.gif"));
    EXPECT_EQ(PictureFileForType("/pictures/temp12.bmp", kPictureBmp), fs::path("/pictures/temp12.bmp"));
}

TEST(PictureFilesTest, DeletingAPicturesFilesLeavesOthers)
{
    kov::test::TempFolder folder;
    for (const char* name : {"temp5.bmp", "temp5.png", "temp5.gif", "temp5.jpg", "temp5.txt", "temp50.png", "temp6.bmp"})
        touch(folder.file(name));
    DeleteTempImageFiles(folder.path(), 5);
    for (const char* name : {"temp5.bmp", "temp5.png", "temp5.gif", "temp5.jpg"})
        EXPECT_FALSE(fs::exists(folder.file(name))) << name;
    for (const char* name : {"temp5.txt", "temp50.png", "temp6.bmp"})
        EXPECT_TRUE(fs::exists(folder.file(name))) << name;
    DeleteTempImageFiles(folder.path(), 99); // nothing there: no error
}

TEST(PictureFilesTest, FolderFollowsTheCommonFolderSwitch)
{
    kov::test::TempFolder folder;
    kov::platform::MemoryProfile profile;
    EXPECT_EQ(ResolveTempImageFolder(profile, folder.path()), folder.file("Tmps"));
    EXPECT_TRUE(fs::is_directory(folder.file("Tmps")));

    kov::test::TempFolder other;
    fs::remove(folder.file("Tmps"));
    profile.WriteProfileInt("KOV_T_UTILITY", "path_itizi_flg", 1);
    profile.WriteProfileString("KOV_T_UTILITY", "path_set_forda", other.path().string());
    EXPECT_EQ(TempImagePath(ResolveTempImageFolder(profile, folder.path()), 3), other.file("temp3.bmp"));
    EXPECT_TRUE(fs::is_directory(folder.file("Tmps")));
}

TEST(PictureFilesTest, ProbesJudgeTheContent)
{
    kov::test::TempFolder folder;
    for (const int type : {kPictureJpeg, kPicturePng, kPictureGif, kPictureBmp}) {
        // Named .bmp whatever it holds, as the old picture form leaves files.
        const fs::path file = folder.file("pic" + std::to_string(type) + ".bmp");
        std::string error;
        ASSERT_TRUE(SavePictureFile(threeColours(), file, type, &error)) << type << ": " << error;
        EXPECT_EQ(GetImageFileWidth(file), 7) << type;
        EXPECT_EQ(GetImageFileHeight(file), 5) << type;
        EXPECT_EQ(GetImageFileFormat(file), type) << type;
        EXPECT_EQ(GetImageFileOrientation(file), 1) << type;
    }
    touch(folder.file("garbage.png"));
    for (const fs::path& bad : {folder.file("garbage.png"), folder.file("missing.png"), folder.path()}) {
        EXPECT_EQ(GetImageFileWidth(bad), 0);
        EXPECT_EQ(GetImageFileHeight(bad), 0);
        EXPECT_EQ(GetImageFileFormat(bad), kPictureOther);
        EXPECT_EQ(GetImageFileOrientation(bad), 1);
        QImage image;
        std::string error;
        EXPECT_FALSE(ReadPictureFile(bad, image, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(PictureFilesTest, OrientationTagOfAJpeg)
{
    kov::test::TempFolder folder;
    std::vector<std::uint8_t> jpeg = EncodePicture(threeColours(), kPictureJpeg);
    ASSERT_GT(jpeg.size(), 2u);
    // An APP1 Exif segment holding only the orientation tag (274), value 6.
    const std::vector<std::uint8_t> app1 = {
        0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0,
        1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    const fs::path file = folder.file("turned.jpg");
    ASSERT_TRUE(WriteWholeFile(file, jpeg.data(), jpeg.size()));
    EXPECT_EQ(GetImageFileOrientation(file), 6);
    EXPECT_EQ(GetImageFileWidth(file), 7); // stored size, not turned
}

TEST(PictureFilesTest, ConversionBetweenEveryPairOfTypes)
{
    kov::test::TempFolder folder;
    const QImage source = threeColours(30, 16);
    const int types[] = {kPictureJpeg, kPicturePng, kPictureGif, kPictureBmp};
    for (const int from : types) {
        const fs::path in = folder.file("in" + std::to_string(from));
        ASSERT_TRUE(SavePictureFile(source, in, from));
        for (const int to : types) {
            const fs::path out = folder.file("out" + std::to_string(from) + std::to_string(to));
            std::string error;
            ASSERT_TRUE(ConvertPictureFile(in, out, to, &error)) << from << "->" << to << ": " << error;
            EXPECT_EQ(GetImageFileFormat(out), to);
            QImage back;
            ASSERT_TRUE(ReadPictureFile(out, back));
            ASSERT_EQ(back.size(), source.size());
            if (from != kPictureJpeg && to != kPictureJpeg) {
                for (int y = 0; y < back.height(); ++y)
                    for (int x = 0; x < back.width(); ++x)
                        EXPECT_EQ(back.pixel(x, y) | 0xFF000000u, source.pixel(x, y))
                            << from << "->" << to << " at " << x << "," << y;
            } else {
                // JPEG blurs the edges between areas; the middle of each area must hold.
                for (const QPoint p : {QPoint(4, 8), QPoint(20, 3), QPoint(20, 12)})
                    EXPECT_LE(channelDistance(back.pixel(p), source.pixel(p)), 24) << from << "->" << to;
            }
        }
    }
    std::string error;
    EXPECT_FALSE(ConvertPictureFile(folder.file("none.png"), folder.file("x.png"), kPicturePng, &error));
    EXPECT_FALSE(error.empty());
}

TEST(PictureFilesTest, GifKeepsTransparencyAndTakesManyColours)
{
    kov::test::TempFolder folder;
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 128, 0, 255));
    clear.setPixel(1, 2, qRgba(0, 0, 0, 0));
    ASSERT_TRUE(SavePictureFile(clear, folder.file("clear.gif"), kPictureGif));
    QImage back;
    ASSERT_TRUE(ReadPictureFile(folder.file("clear.gif"), back));
    EXPECT_EQ(qAlpha(back.pixel(1, 2)), 0);
    EXPECT_EQ(back.pixel(0, 0), qRgba(0, 128, 0, 255));

    QImage gradient(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            gradient.setPixel(x, y, qRgb(x * 4, y * 4, 128));
    ASSERT_TRUE(SavePictureFile(gradient, folder.file("many.gif"), kPictureGif));
    ASSERT_TRUE(ReadPictureFile(folder.file("many.gif"), back));
    EXPECT_EQ(back.size(), QSize(64, 64));
    EXPECT_LE(channelDistance(back.pixel(40, 20), gradient.pixel(40, 20)), 60);
}

TEST(PictureFilesTest, TransparentPngMakesOneColourClear)
{
    kov::test::TempFolder folder;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    image.setPixel(2, 1, qRgb(255, 0, 0));
    ASSERT_TRUE(SavePictureFile(image, folder.file("src.bmp"), kPictureBmp));
    const kov::platform::COLORREF red = 0x0000FF;

    ASSERT_EQ(ConvertToTransparentPng(folder.file("src.bmp"), folder.file("own.png"), red, 0, 0, 0, 0, false), 1);
    QImage back;
    ASSERT_TRUE(ReadPictureFile(folder.file("own.png"), back));
    EXPECT_EQ(back.size(), QSize(4, 4));
    EXPECT_EQ(qAlpha(back.pixel(2, 1)), 0);
    EXPECT_EQ(back.pixel(0, 0), qRgba(0, 0, 255, 255));

    ASSERT_EQ(ConvertToTransparentPng(folder.file("src.bmp"), folder.file("given.png"), red, 8, 8, 10, 10, true), 1);
    ASSERT_TRUE(ReadPictureFile(folder.file("given.png"), back));
    EXPECT_EQ(back.size(), QSize(10, 10));
    EXPECT_EQ(qAlpha(back.pixel(9, 9)), 0);          // outside the drawn rectangle
    EXPECT_EQ(back.pixel(0, 7), qRgba(0, 0, 255, 255));

    EXPECT_EQ(ConvertToTransparentPng(folder.file("none.bmp"), folder.file("x.png"), red, 0, 0, 0, 0, false), 0);
    EXPECT_FALSE(fs::exists(folder.file("x.png")));
}

namespace {

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, bool bigEndian = false)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (bigEndian ? 8 * (3 - i) : 8 * i));
}

// A PNG header of any declared size with a little image data (which nothing here decodes).
std::vector<std::uint8_t> pngDeclaring(std::uint32_t w, std::uint32_t h)
{
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&out](const char* type, std::vector<std::uint8_t> data) {
        std::vector<std::uint8_t> c(4 + data.size());
        std::copy(type, type + 4, c.begin());
        std::copy(data.begin(), data.end(), c.begin() + 4);
        std::vector<std::uint8_t> len(4), crc(4);
        put32(len, 0, static_cast<std::uint32_t>(data.size()), true);
        put32(crc, 0, static_cast<std::uint32_t>(::crc32(0, c.data(), static_cast<uInt>(c.size()))), true);
        out.insert(out.end(), len.begin(), len.end());
        out.insert(out.end(), c.begin(), c.end());
        out.insert(out.end(), crc.begin(), crc.end());
    };
    std::vector<std::uint8_t> ihdr(13, 0);
    put32(ihdr, 0, w, true);
    put32(ihdr, 4, h, true);
    ihdr[8] = 1; // one bit of grey: a huge picture in few bytes
    chunk("IHDR", ihdr);
    std::vector<std::uint8_t> zeros(64, 0), packed(128);
    uLongf packedSize = packed.size();
    ::compress(packed.data(), &packedSize, zeros.data(), zeros.size());
    packed.resize(packedSize);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out;
}

} // namespace

// Pictures are decoded whole, so a header that declares a huge picture in a few bytes (a fuzzer's
// find: 20 s to make one transparent) is refused before decoding; sound pictures read as before.
TEST(PictureFilesTest, PicturesDeclaringMoreThanMayBeDecodedAreRefusedByTheirHeader)
{
    const std::vector<std::uint8_t> bmp = EncodePicture(threeColours(7, 5), kPictureBmp);
    std::vector<std::uint8_t> rowsMissing = bmp;
    put32(rowsMissing, 18, 2); // 2 × 16 million pixels: within the bound, but not in these bytes
    put32(rowsMissing, 22, 16'449'281);
    // 24-bit rows of 7 pixels: 21 bytes and 3 of padding, which some writers leave off the last row.
    std::vector<std::uint8_t> lastPaddingMissing = DibToBmpBytes(BitmapToDib(threeColours(7, 5), kBiRgb, 24));
    lastPaddingMissing.resize(lastPaddingMissing.size() - 3);
    std::vector<std::uint8_t> widest = bmp;
    put32(widest, 18, 0x7FFFFFFF);
    put32(widest, 22, 0x7FFFFFFF);
    std::vector<std::uint8_t> rle = bmp;
    put32(rle, 18, 10'000);
    put32(rle, 22, 10'000);
    rle[28] = 8;
    put32(rle, 30, kBiRle8);
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* problem; // nullptr: none
    };
    const Row rows[] = {
        {"a sound BMP", bmp, nullptr},
        {"a BMP whose last row lacks its padding", lastPaddingMissing, nullptr},
        {"a BMP whose rows run past its bytes", rowsMissing, "画像のデータが途中で切れています"},
        {"a BMP of the widest and tallest size", widest, "画像"},
        {"a compressed BMP of 100 million pixels", rle, "画像が大きすぎます（10000×10000 画素。読み込めるのは 5000万画素までです）"},
        {"a PNG of 60 million pixels", pngDeclaring(10'000, 6'000), "画像が大きすぎます（10000×6000 画素"},
        {"a PNG just within the bound", pngDeclaring(10'000, 5'000), nullptr},
        {"no picture", {'x', 'y'}, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string problem = PictureBytesProblem(row.bytes);
        if (!row.problem) {
            EXPECT_EQ(problem, "");
            continue;
        }
        EXPECT_EQ(problem.rfind(row.problem, 0), 0u) << problem;
        QImage image;
        std::string why;
        EXPECT_FALSE(ReadPictureBytes(row.bytes, image, &why));
        EXPECT_EQ(why, problem);
    }
    QImage sound;
    ASSERT_TRUE(ReadPictureBytes(bmp, sound));
    EXPECT_EQ(sound.size(), QSize(7, 5));
    // Qt's own limit no longer refuses what ours lets through (it stopped at 32 million pixels).
    EXPECT_GE(QImageReader::allocationLimit() * 1024LL * 1024, kMaxPicturePixels * 4);

    kov::test::TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.file("huge.bmp"), rowsMissing.data(), rowsMissing.size()));
    EXPECT_EQ(PictureFileProblem(folder.file("huge.bmp")).rfind("画像のデータが途中で切れています", 0), 0u);
    EXPECT_EQ(ConvertToTransparentPng(folder.file("huge.bmp"), folder.file("huge.png"), 0xFF, 0, 0, 0, 0, false), 0);
    EXPECT_FALSE(fs::exists(folder.file("huge.png")));
}

// Transparent pictures come as 24-bit BMPs, read by a pass of their own: every pixel as the general
// reader gives it, rows bottom up or (a negative height) top down, the colour made clear.
TEST(PictureFilesTest, TransparentPngOfA24BitBmpKeepsEveryPixel)
{
    kov::test::TempFolder folder;
    const QImage source = threeColours(7, 5);
    const std::vector<std::uint8_t> bottomUp = DibToBmpBytes(BitmapToDib(source, kBiRgb, 24));
    // The same rows top down: 7 pixels of 3 bytes and 3 of padding each.
    std::vector<std::uint8_t> topDown = bottomUp;
    const std::size_t offBits = bottomUp[10], row = 24;
    for (std::size_t y = 0; y < 5; ++y)
        std::copy_n(bottomUp.begin() + std::ptrdiff_t(offBits + row * (4 - y)), row, topDown.begin() + std::ptrdiff_t(offBits + row * y));
    put32(topDown, 22, static_cast<std::uint32_t>(-5));
    for (const auto& [name, bytes] : {std::pair{"bottom up", bottomUp}, std::pair{"top down", topDown}}) {
        SCOPED_TRACE(name);
        QImage general;
        ASSERT_TRUE(ReadPictureBytes(bytes, general));
        ASSERT_EQ(general.size(), QSize(7, 5));
        ASSERT_TRUE(WriteWholeFile(folder.file("src.bmp"), bytes.data(), bytes.size()));
        const kov::platform::COLORREF red = 0x00281EC8; // qRgb(200, 30, 40)
        ASSERT_EQ(ConvertToTransparentPng(folder.file("src.bmp"), folder.file("out.png"), red, 0, 0, 0, 0, false), 1);
        QImage back;
        ASSERT_TRUE(ReadPictureFile(folder.file("out.png"), back));
        back = back.convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(back.size(), QSize(7, 5));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                const QRgb want = general.pixel(x, y);
                EXPECT_EQ(qAlpha(back.pixel(x, y)), want == qRgb(200, 30, 40) ? 0 : 255) << x << "," << y;
                if (want != qRgb(200, 30, 40)) {
                    EXPECT_EQ(back.pixel(x, y), want) << x << "," << y;
                }
            }
    }
}

TEST(PictureFilesTest, NumbersHeldWithoutAFileAreTakenUntilReleased)
{
    kov::test::TempFolder folder;
    touch(folder.file("temp3.png"));
    HoldTempImageNumber(folder.path(), 4);
    HoldTempImageNumber(folder.path(), 4); // two pictures sharing one name hold it twice
    EXPECT_EQ(TempImageNumbersIn(folder.path()), (std::unordered_set<long long>{3, 4}));
    for (long long n : {3, 4})
        EXPECT_TRUE(TempImageNumberTaken(folder.path(), n)) << n;
    EXPECT_FALSE(TempImageNumberTaken(folder.path(), 5));
    int id = 3;
    EXPECT_EQ(CKovImage::MakeTempImageName(folder.path(), id), folder.file("temp5.bmp"));
    // Another folder does not see them.
    kov::test::TempFolder other;
    EXPECT_FALSE(TempImageNumberTaken(other.path(), 4));
    ReleaseTempImageNumber(folder.path(), 4);
    EXPECT_TRUE(TempImageNumberTaken(folder.path(), 4));
    ReleaseTempImageNumber(folder.path(), 4);
    EXPECT_FALSE(TempImageNumberTaken(folder.path(), 4));
}

TEST(PictureFilesTest, BytesWaitInMemoryUntilTheFileIsNeeded)
{
    kov::test::TempFolder folder;
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    CKovImage picture;
    picture.ImageID = 7;
    picture.ImageName = folder.file("temp7.bmp").string();
    {
        // As a read leaves it: the name held, no file.
        auto pending = std::make_shared<PendingPictureFile>(bytes, folder.file("temp7.bmp"), folder.path(), 7);
        EXPECT_TRUE(TempImageNumberTaken(folder.path(), 7));
        EXPECT_FALSE(fs::exists(folder.file("temp7.bmp")));
        EXPECT_EQ(*pending->bytes(), bytes);
        ASSERT_TRUE(pending->write());
        EXPECT_EQ(pending->bytes(), nullptr);
        std::vector<std::uint8_t> written;
        ASSERT_TRUE(ReadWholeFile(folder.file("temp7.bmp"), written));
        EXPECT_EQ(written, bytes);
    }
    // Written: the file holds the name now.
    fs::remove(folder.file("temp7.bmp"));
    EXPECT_FALSE(TempImageNumberTaken(folder.path(), 7));
    // A picture with nothing waiting has its file already.
    EXPECT_TRUE(picture.ExtractFile());
    EXPECT_EQ(picture.PendingFileBytes(), nullptr);
}

TEST(PictureFilesTest, FoldersOfEndedProgramsAreSwept)
{
    kov::test::TempFolder shared;
    const fs::path mine = OwnPictureFolder(shared.path(), 3);
    EXPECT_EQ(mine.parent_path(), shared.path());
    // A process number no process has (beyond the kernel's limit).
    const fs::path ended = shared.file("kovira-2147483000-1");
    const fs::path kept[] = {mine, shared.file("kovira-1-2"), shared.file("other"), shared.file("kovira-x-1")};
    for (const fs::path& f : kept)
        fs::create_directories(f);
    fs::create_directories(ended);
    touch(ended / "temp1.png");
    touch(shared.file("kovira-2147483001-1")); // a file, not a folder: left alone
    SweepEndedPictureFolders(shared.path());
    EXPECT_FALSE(fs::exists(ended));
    for (const fs::path& f : kept)
        EXPECT_TRUE(fs::is_directory(f)) << f;
    EXPECT_TRUE(fs::exists(shared.file("kovira-2147483001-1")));
}
