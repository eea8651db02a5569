// Opening documents whose pictures carry a transparent colour, as the file menu does: each such
// picture is decoded and written again as a PNG while the document opens. A sound picture costs in
// proportion to its pixels; a damaged one that declares 2 × 16 million pixels in 70 bytes (a fuzzer's
// find, 10-25 s each before) is refused from its header, and the document opens as fast as without it.

#include "LargeDrawing.h"

#include "model/Bmp.h"
#include "model/KovImage.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

using kov::bench::BenchDocument;

// A 24-bit BMP of the given size: a gradient with a band of the transparent colour (white).
std::vector<std::uint8_t> soundBmp(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = y % 64 < 8 ? qRgb(255, 255, 255) : qRgb(x % 256, y % 256, (x + y) % 256);
    }
    return DibToBmpBytes(BitmapToDib(image, kBiRgb, 24));
}

// The fuzzer's find: 70 bytes declaring 2 × 16,449,281 pixels.
std::vector<std::uint8_t> damagedBmp()
{
    std::vector<std::uint8_t> bmp = soundBmp(2, 2);
    const std::uint32_t rows = 16'449'281;
    for (int i = 0; i < 4; ++i)
        bmp[22 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(rows >> (8 * i));
    return bmp;
}

void addTransparentPicture(BenchDocument& b, std::vector<std::uint8_t> bytes)
{
    const std::filesystem::path folder = b.doc->TempImageFolder();
    std::filesystem::create_directories(folder);
    auto image = std::make_unique<CKovImage>();
    image->ImageID = b.doc->m_Unit.NextImageId();
    image->ImageName = TempImagePath(folder, image->ImageID).string();
    image->IMGImagetype = kPictureBmp;
    image->IMGImagegifflg = 1;
    image->IMGImagegifcol = 0xFFFFFF;
    image->KeepFileBytes(std::move(bytes), folder);
    b.doc->m_Unit.m_Images.Add(std::move(image));
}

void open(benchmark::State& state, BenchDocument& b, const std::filesystem::path& file, bool damaged)
{
    for (auto _ : state) {
        if (damaged)
            b.questions.acknowledge();
        if (!b.doc->OnOpenDocument(file) || b.doc->LastOpenWasDamaged() != damaged)
            state.SkipWithError("open failed");
    }
}

// One sound transparent picture of N million pixels.
void BM_OpenTransparentPicture(benchmark::State& state)
{
    BenchDocument b;
    const int megapixels = static_cast<int>(state.range(0));
    addTransparentPicture(b, soundBmp(1000 * megapixels, 1000));
    const std::filesystem::path file = b.file("picture.kvr");
    if (!b.doc->OnSaveDocument(file)) {
        state.SkipWithError("save failed");
        return;
    }
    open(state, b, file, false);
    state.counters["pixels"] = 1e6 * megapixels;
}
BENCHMARK(BM_OpenTransparentPicture)->Arg(1)->Arg(12)->Arg(48)->Unit(benchmark::kMillisecond)->UseRealTime();

// Three damaged pictures of the fuzzer's find.
void BM_OpenDamagedPictures(benchmark::State& state)
{
    BenchDocument b;
    for (int i = 0; i < 3; ++i)
        addTransparentPicture(b, damagedBmp());
    const std::filesystem::path file = b.file("damaged.kvr");
    if (!b.doc->OnSaveDocument(file)) {
        state.SkipWithError("save failed");
        return;
    }
    open(state, b, file, true);
}
BENCHMARK(BM_OpenDamagedPictures)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
