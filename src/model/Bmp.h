#pragma once

// Windows bitmaps: the packed device-independent bitmap (information header, colour table, bits) and
// the BMP files built from it. Every offset and size read from a file is checked against the file
// before it is used, so a damaged picture gives an error, never a read past the end.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

class CArchive;
class QImage;

// The fields of BITMAPINFOHEADER (40 bytes), or of the 12-byte BITMAPCOREHEADER when `size` is 12.
struct BmpInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::size_t kBmpInfoHeaderSize = 40;

// Colour-table entries: the used-colour count of an information header when not 0, else 2, 16 or
// 256 for 1, 4 and 8 bits, 0 for any other bit count.
int DibColorCount(const BmpInfoHeader& header);
// Bytes of the colour table: 3 per entry after a core header, 4 after an information header.
int DibPaletteSize(const BmpInfoHeader& header);
// ((bitCount × width + 31) / 32) × 4 × height, or 0 when it does not fit in 32 bits.
std::uint32_t DibImageSize(std::int64_t width, std::int64_t height, int bitCount);

// A packed DIB: the 40-byte information header, its colour table and the pixel bits, as on the
// clipboard. Bit counts 1, 8, 24 and 32 (0 takes 32, the screen's depth); compression must be 0.
// Empty when the picture is null or the request is not supported.
std::vector<std::uint8_t> BitmapToDib(const QImage& bitmap, std::uint32_t compression, int bitCount);
// Writes a packed DIB as a BMP file: the 14-byte file header and the whole block. 1 or 0.
int WriteDibToFile(std::span<const std::uint8_t> dib, const std::filesystem::path& file);
// The same, into bytes; empty when the block is not a sound packed DIB.
std::vector<std::uint8_t> DibToBmpBytes(std::span<const std::uint8_t> dib);

// A picture as a 32-bit, bottom-up BMP (alpha kept in the fourth byte), the form the old picture
// block stores for readers that know only BMP.
std::vector<std::uint8_t> EncodeBmp32(const QImage& image);

// The BMP reader and writer of the oldest picture block.
class CDib {
public:
    CDib() = default;

    void Clear();

    // 1 when the bytes hold a BMP this program can keep, else 0 with lastError() saying why.
    int ReadBmpFile(std::span<const std::uint8_t> bytes);
    int ReadBmpFile(const std::filesystem::path& file);
    // The file header, the information header with its colour table (or bit-field masks), the bits.
    std::vector<std::uint8_t> WriteBmpBytes() const;
    int WriteBmpFile(const std::filesystem::path& file) const;
    // The BMP as the raw byte run that comes next in a loading archive, or written as one into a
    // storing archive. 0 on failure: the archive's error() tells a missing run from a bad picture.
    int ExchangeArchive(CArchive& ar);

    bool isEmpty() const { return m_bits.empty(); }
    const BmpInfoHeader& header() const { return m_header; }
    const std::string& lastError() const { return m_error; }

private:
    int fail(std::string message);

    BmpInfoHeader m_header;
    std::vector<std::uint8_t> m_table; // colour table, or the three masks of a bit-field picture
    std::vector<std::uint8_t> m_bits;
    std::string m_error;
};
