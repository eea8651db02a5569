#include "model/Bmp.h"

#include "model/DefFile.h"
#include "model/PictureFiles.h"

#include <QColor>
#include <QImage>

#include <array>
#include <fstream>
#include <limits>

namespace {

std::uint16_t readU16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t readU32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8)
        | (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t readI32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::int32_t>(readU32(b, at));
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

BmpInfoHeader parseInfoHeader(std::span<const std::uint8_t> b, std::size_t at)
{
    BmpInfoHeader h;
    h.size = readU32(b, at);
    h.width = readI32(b, at + 4);
    h.height = readI32(b, at + 8);
    h.planes = readU16(b, at + 12);
    h.bitCount = readU16(b, at + 14);
    h.compression = readU32(b, at + 16);
    h.sizeImage = readU32(b, at + 20);
    h.xPelsPerMeter = readI32(b, at + 24);
    h.yPelsPerMeter = readI32(b, at + 28);
    h.clrUsed = readU32(b, at + 32);
    h.clrImportant = readU32(b, at + 36);
    return h;
}

void putInfoHeader(std::vector<std::uint8_t>& out, const BmpInfoHeader& h)
{
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(h.width));
    putU32(out, static_cast<std::uint32_t>(h.height));
    putU16(out, h.planes);
    putU16(out, h.bitCount);
    putU32(out, h.compression);
    putU32(out, h.sizeImage);
    putU32(out, static_cast<std::uint32_t>(h.xPelsPerMeter));
    putU32(out, static_cast<std::uint32_t>(h.yPelsPerMeter));
    putU32(out, h.clrUsed);
    putU32(out, h.clrImportant);
}

void putFileHeader(std::vector<std::uint8_t>& out, std::uint32_t fileSize, std::uint32_t bitsOffset)
{
    out.push_back('B');
    out.push_back('M');
    putU32(out, fileSize);
    putU32(out, 0);
    putU32(out, bitsOffset);
}

// The sixteen colours a 4-bit screen bitmap is reduced to.
constexpr std::array<QRgb, 16> kVgaColours = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

} // namespace

int DibColorCount(const BmpInfoHeader& header)
{
    if (header.size != 12 && header.clrUsed != 0)
        return header.clrUsed > static_cast<std::uint32_t>(std::numeric_limits<int>::max() / 4)
            ? 0
            : static_cast<int>(header.clrUsed);
    switch (header.bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

int DibPaletteSize(const BmpInfoHeader& header)
{
    return DibColorCount(header) * (header.size == 12 ? 3 : 4);
}

std::uint32_t DibImageSize(std::int64_t width, std::int64_t height, int bitCount)
{
    if (width <= 0 || height <= 0 || bitCount <= 0)
        return 0;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(bitCount) * width + 31) / 32) * 4;
    if (stride > std::numeric_limits<std::uint32_t>::max() / static_cast<std::uint64_t>(height))
        return 0;
    return static_cast<std::uint32_t>(stride * height);
}

std::vector<std::uint8_t> BitmapToDib(const QImage& bitmap, std::uint32_t compression, int bitCount)
{
    if (bitmap.isNull() || compression != kBiRgb)
        return {};
    if (bitCount == 0)
        bitCount = 32;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return {};

    BmpInfoHeader h;
    h.width = bitmap.width();
    h.height = bitmap.height();
    h.bitCount = static_cast<std::uint16_t>(bitCount);
    h.sizeImage = DibImageSize(h.width, h.height, bitCount);
    if (h.sizeImage == 0)
        return {};

    QImage src;
    QList<QRgb> table;
    if (bitCount == 1) {
        src = bitmap.convertToFormat(QImage::Format_Mono);
        table = src.colorTable();
    } else if (bitCount == 4) {
        table = QList<QRgb>(kVgaColours.begin(), kVgaColours.end());
        src = bitmap.convertToFormat(QImage::Format_Indexed8, table);
    } else if (bitCount == 8) {
        src = bitmap.convertToFormat(QImage::Format_Indexed8);
        table = src.colorTable();
    } else {
        src = bitmap.convertToFormat(QImage::Format_RGB32);
    }
    const int entries = DibColorCount(h);

    std::vector<std::uint8_t> dib;
    dib.reserve(kBmpInfoHeaderSize + static_cast<std::size_t>(entries) * 4 + h.sizeImage);
    putInfoHeader(dib, h);
    for (int i = 0; i < entries; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        dib.push_back(static_cast<std::uint8_t>(qBlue(c)));
        dib.push_back(static_cast<std::uint8_t>(qGreen(c)));
        dib.push_back(static_cast<std::uint8_t>(qRed(c)));
        dib.push_back(0);
    }
    const std::size_t stride = h.sizeImage / static_cast<std::uint32_t>(h.height);
    for (int y = h.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        const uchar* line = src.constScanLine(y);
        for (int x = 0; x < h.width; ++x) {
            switch (bitCount) {
            case 1:
                if (src.pixelIndex(x, y))
                    row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                break;
            case 4:
                row[x / 2] |= static_cast<std::uint8_t>((line[x] & 0x0F) << (x % 2 == 0 ? 4 : 0));
                break;
            case 8:
                row[x] = line[x];
                break;
            default: {
                const QRgb c = reinterpret_cast<const QRgb*>(line)[x];
                const std::size_t at = static_cast<std::size_t>(x) * (bitCount / 8);
                row[at] = static_cast<std::uint8_t>(qBlue(c));
                row[at + 1] = static_cast<std::uint8_t>(qGreen(c));
                row[at + 2] = static_cast<std::uint8_t>(qRed(c));
                // A screen bitmap's fourth byte is unused and comes back as 0.
                break;
            }
            }
        }
        dib.insert(dib.end(), row.begin(), row.end());
    }
    return dib;
}

std::vector<std::uint8_t> DibToBmpBytes(std::span<const std::uint8_t> dib)
{
    if (dib.size() < kBmpInfoHeaderSize)
        return {};
    BmpInfoHeader h = parseInfoHeader(dib, 0);
    if (h.size != kBmpInfoHeaderSize)
        return {};
    const std::uint64_t palette = static_cast<std::uint64_t>(DibPaletteSize(h));
    if (h.compression != kBiRle8 && h.compression != kBiRle4) {
        h.sizeImage = DibImageSize(h.width, h.height, h.bitCount);
        if (h.sizeImage == 0)
            return {};
    }
    const std::uint64_t needed = kBmpInfoHeaderSize + palette + h.sizeImage;
    if (needed > dib.size() || kBmpFileHeaderSize + needed > std::numeric_limits<std::uint32_t>::max())
        return {};

    std::vector<std::uint8_t> out;
    out.reserve(kBmpFileHeaderSize + needed);
    putFileHeader(out, static_cast<std::uint32_t>(kBmpFileHeaderSize + needed),
                  static_cast<std::uint32_t>(kBmpFileHeaderSize + kBmpInfoHeaderSize + palette));
    putInfoHeader(out, h);
    out.insert(out.end(), dib.begin() + kBmpInfoHeaderSize, dib.begin() + static_cast<std::ptrdiff_t>(needed));
    return out;
}

int WriteDibToFile(std::span<const std::uint8_t> dib, const std::filesystem::path& file)
{
    const std::vector<std::uint8_t> bytes = DibToBmpBytes(dib);
    if (bytes.empty())
        return 0;
    return WriteWholeFile(file, bytes.data(), bytes.size()) ? 1 : 0;
}

std::vector<std::uint8_t> EncodeBmp32(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    BmpInfoHeader h;
    h.width = src.width();
    h.height = src.height();
    h.bitCount = 32;
    h.sizeImage = DibImageSize(h.width, h.height, 32);
    h.xPelsPerMeter = 3780; // 96 dots per inch
    h.yPelsPerMeter = 3780;
    if (h.sizeImage == 0)
        return {};

    std::vector<std::uint8_t> out;
    out.reserve(kBmpFileHeaderSize + kBmpInfoHeaderSize + h.sizeImage);
    putFileHeader(out, static_cast<std::uint32_t>(kBmpFileHeaderSize + kBmpInfoHeaderSize + h.sizeImage),
                  static_cast<std::uint32_t>(kBmpFileHeaderSize + kBmpInfoHeaderSize));
    putInfoHeader(out, h);
    for (int y = h.height - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < h.width; ++x) {
            out.push_back(static_cast<std::uint8_t>(qBlue(line[x])));
            out.push_back(static_cast<std::uint8_t>(qGreen(line[x])));
            out.push_back(static_cast<std::uint8_t>(qRed(line[x])));
            out.push_back(static_cast<std::uint8_t>(qAlpha(line[x])));
        }
    }
    return out;
}

void CDib::Clear()
{
    m_header = BmpInfoHeader{};
    m_table.clear();
    m_bits.clear();
}

int CDib::fail(std::string message)
{
    Clear();
    m_error = std::move(message);
    return 0;
}

int CDib::ReadBmpFile(std::span<const std::uint8_t> bytes)
{
    Clear();
    m_error.clear();
    const std::uint64_t fileSize = bytes.size();
    if (fileSize < kBmpFileHeaderSize)
        return fail("BMPのファイルヘッダーが途中で切れています");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return fail("BMPファイルではありません（先頭に「BM」がありません）");
    const std::uint64_t bitsOffset = readU32(bytes, 10);
    if (fileSize < kBmpFileHeaderSize + 4)
        return fail("BMPの情報ヘッダーが途中で切れています");
    const std::uint32_t headerSize = readU32(bytes, kBmpFileHeaderSize);
    if (headerSize != kBmpInfoHeaderSize)
        return fail("BMPの情報ヘッダーの大きさ " + std::to_string(headerSize) + " には対応していません");
    if (fileSize < kBmpFileHeaderSize + kBmpInfoHeaderSize)
        return fail("BMPの情報ヘッダーが途中で切れています");
    if (bitsOffset < kBmpFileHeaderSize + kBmpInfoHeaderSize || bitsOffset > fileSize)
        return fail("BMPの画素の位置 " + std::to_string(bitsOffset) + " がファイル（" + std::to_string(fileSize)
                    + " バイト）の外にあります");

    const BmpInfoHeader h = parseInfoHeader(bytes, kBmpFileHeaderSize);
    if (h.width <= 0)
        return fail("BMPの幅 " + std::to_string(h.width) + " が正しくありません");
    if (h.height <= 0)
        return fail("BMPの高さ " + std::to_string(h.height) + " には対応していません");
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return fail("BMPの色数（" + std::to_string(h.bitCount) + " ビット）には対応していません");
    }
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (!(h.compression == kBiRgb || (h.compression == kBiRle8 && h.bitCount == 8)
          || (h.compression == kBiRle4 && h.bitCount == 4)
          || (h.compression == kBiBitfields && (h.bitCount == 16 || h.bitCount == 32))))
        return fail("BMPの圧縮形式 " + std::to_string(h.compression) + "（" + std::to_string(h.bitCount)
                    + " ビット）には対応していません");

    const std::uint64_t entries = h.clrUsed != 0 ? h.clrUsed : static_cast<std::uint64_t>(DibColorCount(h));
    if (h.bitCount <= 8 && entries > (1u << h.bitCount))
        return fail("BMPのカラーテーブル（" + std::to_string(entries) + " 色）が大きすぎます");
    const std::uint64_t tableBytes = entries * 4 + (h.compression == kBiBitfields ? 12 : 0);
    if (kBmpFileHeaderSize + kBmpInfoHeaderSize + tableBytes > bitsOffset)
        return fail("BMPのカラーテーブルが画素の位置を越えています");

    std::uint64_t imageSize = 0;
    const std::uint32_t computed = DibImageSize(h.width, h.height, h.bitCount);
    if (rle) {
        imageSize = h.sizeImage;
        if (imageSize == 0)
            return fail("圧縮されたBMPに画像の大きさがありません");
    } else {
        if (computed == 0)
            return fail("BMPの大きさ " + std::to_string(h.width) + " × " + std::to_string(h.height) + "（"
                        + std::to_string(h.bitCount) + " ビット）が大きすぎます");
        if (h.sizeImage != 0 && h.sizeImage < computed)
            return fail("BMPの画像の大きさ " + std::to_string(h.sizeImage) + " バイトが画素の数より小さすぎます");
        imageSize = h.sizeImage != 0 ? h.sizeImage : computed;
    }
    if (imageSize > fileSize - bitsOffset)
        return fail("BMPの画素（" + std::to_string(imageSize) + " バイト）がファイルの終わりを越えています");

    m_header = h; // its image size stays as stored, 0 included, so the file is written back unchanged
    const auto tableStart = bytes.begin() + kBmpFileHeaderSize + kBmpInfoHeaderSize;
    m_table.assign(tableStart, tableStart + static_cast<std::ptrdiff_t>(tableBytes));
    const auto bitsStart = bytes.begin() + static_cast<std::ptrdiff_t>(bitsOffset);
    m_bits.assign(bitsStart, bitsStart + static_cast<std::ptrdiff_t>(imageSize));
    return 1;
}

int CDib::ReadBmpFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return fail("BMPファイル「" + file.string() + "」を開けませんでした。");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (ReadBmpFile(std::span<const std::uint8_t>(bytes)))
        return 1;
    m_error = "BMPファイル「" + file.string() + "」を読み込めませんでした。" + m_error + "。";
    return 0;
}

std::vector<std::uint8_t> CDib::WriteBmpBytes() const
{
    if (m_bits.empty())
        return {};
    std::vector<std::uint8_t> out;
    const std::uint64_t offset = kBmpFileHeaderSize + kBmpInfoHeaderSize + m_table.size();
    out.reserve(offset + m_bits.size());
    putFileHeader(out, static_cast<std::uint32_t>(offset + m_bits.size()), static_cast<std::uint32_t>(offset));
    putInfoHeader(out, m_header);
    out.insert(out.end(), m_table.begin(), m_table.end());
    out.insert(out.end(), m_bits.begin(), m_bits.end());
    return out;
}

int CDib::WriteBmpFile(const std::filesystem::path& file) const
{
    const std::vector<std::uint8_t> bytes = WriteBmpBytes();
    if (bytes.empty())
        return 0;
    return WriteWholeFile(file, bytes.data(), bytes.size()) ? 1 : 0;
}

int CDib::ExchangeArchive(CArchive& ar)
{
    if (ar.IsStoring()) {
        if (isEmpty())
            return fail("書き出す画像がありません");
        return ar.WriteRaw(WriteBmpBytes()) ? 1 : 0;
    }
    std::vector<std::uint8_t> bytes;
    if (!ar.ReadRaw(bytes))
        return fail("図面にBMPの画像データがありません");
    return ReadBmpFile(std::span<const std::uint8_t>(bytes));
}
