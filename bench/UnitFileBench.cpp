// Opening and saving whole documents, as the file menu does: the drawing at the identifier limits
// (60,000 figures, 10,000 walls, 10,000 texts and 1,000 groups: 81,000 objects; aim: each at most
// 0.15 s), and a drawing at the picture limit (6,200 pictures; aim: opens well under a second).

#include "LargeDrawing.h"

#include "model/KovUnit.h"
#include "model/PictureFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using kov::bench::BenchDocument;
using kov::bench::fillLargeDrawing;
using kov::bench::kFigures;

void BM_SaveLargeDocument(benchmark::State& state)
{
    BenchDocument b;
    fillLargeDrawing(b.doc->m_Unit);
    const std::filesystem::path file = b.file("large.kvr");
    for (auto _ : state) {
        if (!b.doc->OnSaveDocument(file))
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = double(std::filesystem::file_size(file));
}
BENCHMARK(BM_SaveLargeDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenLargeDocument(benchmark::State& state)
{
    BenchDocument b;
    fillLargeDrawing(b.doc->m_Unit);
    const std::filesystem::path file = b.file("large.kvr");
    if (!b.doc->OnSaveDocument(file)) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        if (!b.doc->OnOpenDocument(file) || b.doc->LastOpenWasDamaged() || b.doc->m_Unit.m_Lines.GetSize() != kFigures)
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenLargeDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every picture with its bytes, as many as identifiers allow: each one's temporary file must get a
// free name in the picture folder.
void BM_OpenDocumentAtPictureLimit(benchmark::State& state)
{
    BenchDocument b;
    const std::filesystem::path folder = b.doc->TempImageFolder();
    std::filesystem::create_directories(folder);
    for (int id = 1; id <= CKovUnit::kImageIdLimit; ++id) {
        auto image = std::make_unique<CKovImage>();
        image->ImageID = id;
        image->ImageName = TempImagePath(folder, id).string();
        const std::uint8_t byte = 'B';
        WriteWholeFile(image->ImageName, &byte, 1);
        b.doc->m_Unit.m_Images.Add(std::move(image));
    }
    const std::filesystem::path file = b.file("pictures.kvr");
    if (!b.doc->OnSaveDocument(file)) {
        state.SkipWithError("save failed");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        // Each open starts from an empty picture folder. The old one is moved aside rather than
        // emptied: creating files just after deleting as many is slow on ext4 in itself.
        state.PauseTiming();
        std::filesystem::rename(folder, folder.string() + "-" + std::to_string(round++));
        std::filesystem::create_directories(folder);
        state.ResumeTiming();
        if (!b.doc->OnOpenDocument(file) || b.doc->m_Unit.m_Images.GetSize() != CKovUnit::kImageIdLimit)
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenDocumentAtPictureLimit)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
