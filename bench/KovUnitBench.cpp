// The drawing container at the identifier limits: whole copies (every undo snapshot is one),
// lookups by identifier and deleting groups and selections.

#include "LargeDrawing.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

using kov::bench::fillLargeDrawing;
using kov::bench::kFigures;
using kov::bench::kGroups;

const CKovUnit& largeDrawing()
{
    static const CKovUnit* unit = [] {
        auto* u = new CKovUnit;
        fillLargeDrawing(*u);
        return u;
    }();
    return *unit;
}

void BM_WholeCopy(benchmark::State& state)
{
    const CKovUnit& source = largeDrawing();
    CKovUnit copy;
    for (auto _ : state) {
        copy.CopyFrom(source);
        benchmark::DoNotOptimize(copy.m_Lines.GetSize());
    }
    copy.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}
BENCHMARK(BM_WholeCopy)->Unit(benchmark::kMillisecond);

void BM_FindLineIndex(benchmark::State& state)
{
    const CKovUnit& unit = largeDrawing();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> id(1, 64000);
    std::vector<int> probes(4096);
    for (int& p : probes)
        p = id(rng);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(unit.FindLineIndex(probes[i++ & 4095]));
    }
}
BENCHMARK(BM_FindLineIndex);

// A fresh copy's first lookup pays for building the index.
void BM_CopyThenFirstFind(benchmark::State& state)
{
    const CKovUnit& source = largeDrawing();
    CKovUnit copy;
    for (auto _ : state) {
        copy.CopyFrom(source);
        benchmark::DoNotOptimize(copy.FindLineIndex(kFigures));
    }
}
BENCHMARK(BM_CopyThenFirstFind)->Unit(benchmark::kMillisecond);

// The counter must step past every figure in use (as after a wrap at the limit).
void BM_NextLineIdAfterWrap(benchmark::State& state)
{
    CKovUnit unit;
    unit.CopyFrom(largeDrawing());
    for (auto _ : state) {
        unit.MUnitLineID = 1; // steps past all 60,000 figures in use
        benchmark::DoNotOptimize(unit.NextLineId());
    }
}
BENCHMARK(BM_NextLineIdAfterWrap)->Unit(benchmark::kMicrosecond);

// Deleting all 1,000 groups of the drawing with their members at once (a selection of rooms).
// Aim: at most 20 ms.
void BM_DeleteAllGroups(benchmark::State& state)
{
    std::vector<int> ids;
    for (int g = 0; g < kGroups; ++g)
        ids.push_back(g + 2);
    for (auto _ : state) {
        state.PauseTiming();
        CKovUnit unit;
        unit.CopyFrom(largeDrawing());
        state.ResumeTiming();
        if (unit.DeleteGroups(ids) != kGroups)
            state.SkipWithError("groups left");
        benchmark::DoNotOptimize(unit.m_Lines.GetSize());
        state.PauseTiming(); // the copy's destruction is not part of it
        unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteAllGroups)->Unit(benchmark::kMillisecond)->Iterations(10);

// Deleting 10,000 selected loose figures and 2,000 walls at once (a range selection and Delete).
void BM_DeleteSelectedLooseObjects(benchmark::State& state)
{
    const CKovUnit& large = largeDrawing();
    SelectionRecord sel;
    for (const auto& f : large.m_Lines)
        if (f->MLineGrpID == 0 && sel.m_Lines.size() < 10000)
            sel.m_Lines.push_back(f->MLineID);
    for (const auto& w : large.m_Walls)
        if (w->MWallGrpID == 0 && sel.m_Walls.size() < 2000)
            sel.m_Walls.push_back(w->MWallID);
    for (auto _ : state) {
        state.PauseTiming();
        CKovUnit unit;
        unit.CopyFrom(large);
        state.ResumeTiming();
        unit.DeleteSelection(sel);
        benchmark::DoNotOptimize(unit.m_Lines.GetSize());
        state.PauseTiming();
        unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        state.ResumeTiming();
    }
    state.counters["figures"] = double(sel.m_Lines.size());
}
BENCHMARK(BM_DeleteSelectedLooseObjects)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
