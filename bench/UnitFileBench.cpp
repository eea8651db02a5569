// Saving and loading a drawing at the identifier limits: 60,000 figures, 10,000 walls, 10,000 texts
// and 1,000 groups. Aim: each under 0.5 s.

#include "LargeDrawing.h"

#include "model/KovUnit.h"
#include "model/UnitBlocks.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <filesystem>

namespace {

using kov::bench::fillLargeDrawing;
using kov::bench::kFigures;

struct Fixture {
    QTemporaryDir dir;
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    std::filesystem::path file() const { return folder() / "large.kvr"; }
};

void BM_SaveLargeDrawing(benchmark::State& state)
{
    Fixture f;
    CKovUnit unit;
    fillLargeDrawing(unit);
    UnitFileContext ctx{f.folder(), false, {}, {}};
    for (auto _ : state) {
        auto ar = CArchive::forWriting();
        if (!unit.WriteUnit(*ar, "KovUnit", ctx) || !ar->commitTo(f.file()))
            state.SkipWithError("save failed");
        benchmark::DoNotOptimize(ar->bytes().data());
    }
}
BENCHMARK(BM_SaveLargeDrawing)->Unit(benchmark::kMillisecond);

void BM_LoadLargeDrawing(benchmark::State& state)
{
    Fixture f;
    {
        CKovUnit unit;
        fillLargeDrawing(unit);
        UnitFileContext ctx{f.folder(), false, {}, {}};
        auto ar = CArchive::forWriting();
        if (!unit.WriteUnit(*ar, "KovUnit", ctx) || !ar->commitTo(f.file())) {
            state.SkipWithError("save failed");
            return;
        }
    }
    for (auto _ : state) {
        auto ar = CArchive::openForReading(f.file());
        CKovUnit unit;
        UnitFileContext ctx{f.folder(), false, {}, {}};
        if (!ar || !unit.FindStart(*ar, "KovUnit") || !unit.ReadUnit(*ar, "KovUnit", ctx)
            || unit.m_Lines.GetSize() != kFigures)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(unit.m_Lines.GetSize());
    }
}
BENCHMARK(BM_LoadLargeDrawing)->Unit(benchmark::kMillisecond);

} // namespace
