#include "model/GifWriter.h"

#include <QImage>

#include <gif_lib.h>

#include <unordered_map>

namespace {

int appendBytes(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

void setError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

// The picture as palette indices, the palette and the transparent index (-1 for none).
struct Indexed {
    std::vector<std::uint8_t> pixels;
    std::vector<QRgb> palette;
    int transparent = -1;
};

Indexed toIndexed(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    bool anyTransparent = false;
    std::unordered_map<QRgb, int> exact;
    bool fits = true;
    for (int y = 0; y < h && fits; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) < 128) {
                anyTransparent = true;
                continue;
            }
            exact.try_emplace(line[x] | 0xFF000000u, static_cast<int>(exact.size()));
            if (exact.size() > 256) {
                fits = false;
                break;
            }
        }
    }
    const std::size_t room = anyTransparent ? 255 : 256;

    Indexed result;
    result.pixels.resize(static_cast<std::size_t>(w) * h);
    if (fits && exact.size() <= room) {
        result.palette.resize(exact.size());
        for (const auto& [colour, index] : exact)
            result.palette[static_cast<std::size_t>(index)] = colour;
    } else {
        // More colours than a palette holds: Qt's colour cube has at most 216 entries.
        const QImage cube = argb.convertToFormat(QImage::Format_RGB32)
                                .convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
        const QList<QRgb> table = cube.colorTable();
        result.palette.assign(table.begin(), table.end());
        for (int y = 0; y < h; ++y) {
            const uchar* line = cube.constScanLine(y);
            std::copy(line, line + w, result.pixels.begin() + static_cast<std::ptrdiff_t>(y) * w);
        }
        exact.clear();
    }
    if (anyTransparent) {
        result.transparent = static_cast<int>(result.palette.size());
        result.palette.push_back(0);
    }
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* row = result.pixels.data() + static_cast<std::ptrdiff_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) < 128)
                row[x] = static_cast<std::uint8_t>(result.transparent);
            else if (!exact.empty())
                row[x] = static_cast<std::uint8_t>(exact.at(line[x] | 0xFF000000u));
        }
    }
    return result;
}

} // namespace

std::vector<std::uint8_t> EncodeGif(const QImage& image, std::string* error)
{
    if (image.isNull()) {
        setError(error, "no picture to write");
        return {};
    }
    if (image.width() > 0xFFFF || image.height() > 0xFFFF) {
        setError(error, "picture too large for GIF");
        return {};
    }
    const Indexed indexed = toIndexed(image);
    const int bits = GifBitSize(static_cast<int>(std::max<std::size_t>(indexed.palette.size(), 2)));
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (!map) {
        setError(error, "out of memory for the GIF palette");
        return {};
    }
    for (int i = 0; i < map->ColorCount; ++i) {
        const QRgb c = i < static_cast<int>(indexed.palette.size()) ? indexed.palette[i] : 0;
        map->Colors[i] = GifColorType{static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                                      static_cast<GifByteType>(qBlue(c))};
    }

    std::vector<std::uint8_t> out;
    int status = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &status);
    if (!gif) {
        GifFreeMapObject(map);
        setError(error, GifErrorString(status));
        return {};
    }
    EGifSetGifVersion(gif, true);
    const int w = image.width();
    const int h = image.height();
    bool ok = EGifPutScreenDesc(gif, w, h, bits, 0, map) == GIF_OK;
    if (ok && indexed.transparent >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.UserInputFlag = false;
        gcb.DelayTime = 0;
        gcb.TransparentColor = indexed.transparent;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&gcb, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(static_cast<std::size_t>(w));
    for (int y = 0; ok && y < h; ++y) {
        std::copy_n(indexed.pixels.begin() + static_cast<std::ptrdiff_t>(y) * w, w, row.begin());
        ok = EGifPutLine(gif, row.data(), w) == GIF_OK;
    }
    if (!ok)
        status = gif->Error;
    int closeStatus = 0;
    if (EGifCloseFile(gif, &closeStatus) != GIF_OK && ok) {
        ok = false;
        status = closeStatus;
    }
    GifFreeMapObject(map);
    if (!ok) {
        setError(error, std::string("GIF encoding failed: ") + (GifErrorString(status) ? GifErrorString(status) : "?"));
        return {};
    }
    return out;
}
