#include "model/Bmp.h"

#include "model/DefFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstring>
#include <fstream>
#include <functional>

namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void setU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void setU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Four colours in a 5 × 3 picture: enough to tell rows, columns and channels apart.
QImage sample()
{
    QImage image(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(4, 2, qRgb(0, 0, 255));
    return image;
}

std::vector<std::uint8_t> validBmp8()
{
    return DibToBmpBytes(BitmapToDib(sample(), kBiRgb, 8));
}

QImage readWithQt(const std::vector<std::uint8_t>& bytes)
{
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
}

} // namespace

TEST(BmpTest, DibColourCountByHeader)
{
    struct Row { const char* name; std::uint32_t size; std::uint16_t bits; std::uint32_t used; int count; int palette; };
    const Row rows[] = {
        {"one bit", 40, 1, 0, 2, 8},
        {"four bits", 40, 4, 0, 16, 64},
        {"eight bits", 40, 8, 0, 256, 1024},
        {"used colours win", 40, 8, 12, 12, 48},
        {"true colour", 40, 24, 0, 0, 0},
        {"core header ignores used", 12, 8, 12, 256, 768},
    };
    for (const Row& r : rows) {
        BmpInfoHeader h;
        h.size = r.size;
        h.bitCount = r.bits;
        h.clrUsed = r.used;
        EXPECT_EQ(DibColorCount(h), r.count) << r.name;
        EXPECT_EQ(DibPaletteSize(h), r.palette) << r.name;
    }
}

TEST(BmpTest, TwentyFourBitDibOfThreeByTwoWritesSeventyEightBytes)
{
    kov::test::TempFolder folder;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    const std::vector<std::uint8_t> dib = BitmapToDib(image, kBiRgb, 24);
    ASSERT_EQ(WriteDibToFile(dib, folder.file("a.bmp")), 1);

    std::ifstream in(folder.file("a.bmp"), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 78u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32At(bytes, 2), 78u);
    EXPECT_EQ(u32At(bytes, 10), 54u);
    EXPECT_EQ(u32At(bytes, 14 + 20), 24u); // image size: rows of 9 bytes padded to 12
    EXPECT_EQ(bytes[54], 30); // blue first
    EXPECT_EQ(bytes[56], 10);
    EXPECT_EQ(bytes[63], 0);  // padding
}

TEST(BmpTest, DibsOfEveryBitCountKeepTheirPixels)
{
    for (const int bits : {1, 4, 8, 24, 32}) {
        const QImage source = bits == 1 ? sample().convertToFormat(QImage::Format_Mono) : sample();
        const std::vector<std::uint8_t> dib = BitmapToDib(source, kBiRgb, bits);
        BmpInfoHeader h;
        h.bitCount = static_cast<std::uint16_t>(bits);
        ASSERT_EQ(dib.size(), 40u + DibPaletteSize(h) + DibImageSize(5, 3, bits)) << bits;

        const QImage back = readWithQt(DibToBmpBytes(dib));
        ASSERT_EQ(back.size(), QSize(5, 3)) << bits;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(back.pixel(x, y) | 0xFF000000u, source.pixel(x, y) | 0xFF000000u)
                    << bits << " bits at " << x << "," << y;
    }
    EXPECT_TRUE(BitmapToDib(QImage(), kBiRgb, 24).empty());
    EXPECT_TRUE(BitmapToDib(sample(), kBiRle8, 8).empty());
    EXPECT_TRUE(BitmapToDib(sample(), kBiRgb, 16).empty());
}

TEST(BmpTest, ReadAndWriteKeepTheFileWhole)
{
    for (const int bits : {1, 4, 8, 24, 32}) {
        const std::vector<std::uint8_t> bytes = DibToBmpBytes(BitmapToDib(sample(), kBiRgb, bits));
        CDib dib;
        ASSERT_EQ(dib.ReadBmpFile(std::span<const std::uint8_t>(bytes)), 1) << bits << ": " << dib.lastError();
        EXPECT_EQ(dib.WriteBmpBytes(), bytes) << bits;
    }
}

TEST(BmpTest, BitfieldMasksSurviveTheRoundTrip)
{
    // 2 × 1 at 16 bits, 5-6-5 masks after the header.
    std::vector<std::uint8_t> b(14 + 40 + 12 + 4, 0);
    b[0] = 'B';
    b[1] = 'M';
    setU32(b, 2, static_cast<std::uint32_t>(b.size()));
    setU32(b, 10, 66);
    setU32(b, 14, 40);
    setU32(b, 18, 2);
    setU32(b, 22, 1);
    setU16(b, 26, 1);
    setU16(b, 28, 16);
    setU32(b, 30, kBiBitfields);
    setU32(b, 54, 0xF800);
    setU32(b, 58, 0x07E0);
    setU32(b, 62, 0x001F);
    setU16(b, 66, 0xF800);
    CDib dib;
    ASSERT_EQ(dib.ReadBmpFile(std::span<const std::uint8_t>(b)), 1) << dib.lastError();
    EXPECT_EQ(dib.WriteBmpBytes(), b);
}

TEST(BmpTest, DamagedHeadersGiveClearErrors)
{
    const std::size_t info = 14;
    struct Row {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* message;
    };
    const Row rows[] = {
        {"truncated file header", [](auto& b) { b.resize(10); }, "ファイルヘッダーが途中で切れています"},
        {"no signature", [](auto& b) { b[0] = 'X'; }, "先頭に「BM」がありません"},
        {"truncated info header", [](auto& b) { b.resize(30); }, "情報ヘッダーが途中で切れています"},
        {"core header", [&](auto& b) { setU32(b, info, 12); }, "情報ヘッダーの大きさ 12 "},
        {"offset past the end", [](auto& b) { setU32(b, 10, static_cast<std::uint32_t>(b.size() + 1)); }, "ファイル（"},
        {"offset inside the header", [](auto& b) { setU32(b, 10, 20); }, "ファイル（"},
        {"zero width", [&](auto& b) { setU32(b, info + 4, 0); }, "幅 0 "},
        {"negative width", [&](auto& b) { setU32(b, info + 4, static_cast<std::uint32_t>(-5)); }, "幅 -5 "},
        {"negative height", [&](auto& b) { setU32(b, info + 8, static_cast<std::uint32_t>(-3)); }, "高さ -3 "},
        {"huge width", [&](auto& b) { setU32(b, info + 4, 0x100000); setU32(b, info + 20, 0); }, "ファイルの終わりを越えています"},
        {"huge height", [&](auto& b) { setU32(b, info + 8, 0x7FFFFFFF); }, "が大きすぎます"},
        {"huge width and height", [&](auto& b) { setU32(b, info + 4, 0x7FFFFFFF); setU32(b, info + 8, 0x7FFFFFFF); }, "が大きすぎます"},
        {"three bits per pixel", [&](auto& b) { setU16(b, info + 14, 3); }, "色数（3 ビット）"},
        {"no bits per pixel", [&](auto& b) { setU16(b, info + 14, 0); }, "色数（0 ビット）"},
        {"embedded JPEG", [&](auto& b) { setU32(b, info + 16, 4); }, "圧縮形式 4（"},
        {"RLE4 at eight bits", [&](auto& b) { setU32(b, info + 16, kBiRle4); }, "圧縮形式 2（"},
        {"RLE8 without image size", [&](auto& b) { setU32(b, info + 16, kBiRle8); setU32(b, info + 20, 0); }, "画像の大きさがありません"},
        {"colour table too large", [&](auto& b) { setU32(b, info + 32, 0xFFFFFFFF); }, "色）が大きすぎます"},
        {"colour table past the offset", [&](auto& b) { setU32(b, info + 32, 300); setU16(b, info + 14, 24); }, "画素の位置を越えています"},
        {"image size past the end", [&](auto& b) { setU32(b, info + 20, 0xFFFFFFFF); }, "ファイルの終わりを越えています"},
        {"image size too small", [&](auto& b) { setU32(b, info + 20, 4); }, "小さすぎます"},
        {"pixels cut short", [](auto& b) { b.pop_back(); }, "ファイルの終わりを越えています"},
    };
    for (const Row& r : rows) {
        std::vector<std::uint8_t> bytes = validBmp8();
        r.damage(bytes);
        CDib dib;
        EXPECT_EQ(dib.ReadBmpFile(std::span<const std::uint8_t>(bytes)), 0) << r.name;
        EXPECT_NE(dib.lastError().find(r.message), std::string::npos) << r.name << ": " << dib.lastError();
        EXPECT_TRUE(dib.isEmpty()) << r.name;
        EXPECT_TRUE(dib.WriteBmpBytes().empty()) << r.name;
    }
}

// A BMP file that cannot be read is named in the message, in Japanese, with what is wrong.
TEST(BmpTest, UnreadableFileIsNamedInJapanese)
{
    kov::test::TempFolder folder;
    std::vector<std::uint8_t> damaged = validBmp8();
    damaged[0] = 'X';
    const std::filesystem::path bad = folder.file("壊れた.bmp");
    std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char*>(damaged.data()),
                                                static_cast<std::streamsize>(damaged.size()));
    struct Row {
        std::filesystem::path file;
        std::string message;
    } rows[] = {
        {bad, "BMPファイル「" + bad.string() + "」を読み込めませんでした。BMPファイルではありません（先頭に「BM」がありません）。"},
        {folder.file("ない.bmp"), "BMPファイル「" + folder.file("ない.bmp").string() + "」を開けませんでした。"},
    };
    for (const Row& r : rows) {
        CDib dib;
        EXPECT_EQ(dib.ReadBmpFile(r.file), 0);
        EXPECT_EQ(dib.lastError(), r.message);
    }
}

TEST(BmpTest, DamagedDibIsNotWritten)
{
    std::vector<std::uint8_t> dib = BitmapToDib(sample(), kBiRgb, 24);
    dib.resize(dib.size() - 1);
    EXPECT_TRUE(DibToBmpBytes(dib).empty());
    EXPECT_TRUE(DibToBmpBytes(std::vector<std::uint8_t>(39, 0)).empty());
    kov::test::TempFolder folder;
    EXPECT_EQ(WriteDibToFile(dib, folder.file("x.bmp")), 0);
}

TEST(BmpTest, ThirtyTwoBitBmpKeepsColoursAndAlpha)
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 255, 0, 128));
    image.setPixel(0, 1, qRgba(0, 0, 255, 0));
    image.setPixel(1, 1, qRgba(1, 2, 3, 255));
    const std::vector<std::uint8_t> bytes = EncodeBmp32(image);
    ASSERT_EQ(bytes.size(), 54u + 16u);
    CDib dib;
    ASSERT_EQ(dib.ReadBmpFile(std::span<const std::uint8_t>(bytes)), 1) << dib.lastError();
    EXPECT_EQ(dib.header().bitCount, 32);
    // Bottom-up: the first stored row is the picture's last.
    EXPECT_EQ(bytes[54 + 3], 0);    // alpha of (0, 1)
    EXPECT_EQ(bytes[62 + 7], 128);  // alpha of (1, 0)
    const QImage back = readWithQt(bytes);
    EXPECT_EQ(back.pixel(0, 0) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(back.pixel(1, 1) & 0xFFFFFFu, 0x010203u);
}

namespace {

// The oldest picture block holds a BMP as a raw run inside its block: written and read back whole, and
// a block without the run is told apart from a damaged picture.
TEST(BmpTest, ExchangeArchiveCarriesTheBmpAsARawRun)
{
    const std::vector<std::uint8_t> bmp = DibToBmpBytes(BitmapToDib(sample(), kBiRgb, 24));
    CDib written;
    ASSERT_EQ(written.ReadBmpFile(std::span<const std::uint8_t>(bmp)), 1);
    CDefFile w;
    auto out = CArchive::forWriting();
    ASSERT_TRUE(w.WriteStart(*out, "BLKImageBmp"));
    ASSERT_EQ(written.ExchangeArchive(*out), 1);
    ASSERT_TRUE(w.WriteStart(*out, "Empty") && w.WriteEnd(*out, "Empty") && w.WriteEnd(*out, "BLKImageBmp"));
    EXPECT_EQ(CDib().ExchangeArchive(*out), 0); // nothing to write

    auto in = CArchive::forReading(out->bytes());
    CDefFile r;
    ASSERT_TRUE(r.FindStart(*in, "BLKImageBmp"));
    CDib read;
    ASSERT_EQ(read.ExchangeArchive(*in), 1) << read.lastError();
    EXPECT_EQ(read.WriteBmpBytes(), bmp);
    EXPECT_TRUE(in->error().ok());

    ASSERT_TRUE(r.FindStart(*in, "Empty"));
    EXPECT_EQ(read.ExchangeArchive(*in), 0);
    EXPECT_TRUE(read.isEmpty());
    EXPECT_EQ(in->error().code, ArchiveErrc::NotRawRun);
}

} // namespace
