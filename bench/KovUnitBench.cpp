// The drawing container at the identifier limits: whole copies (every undo snapshot is one) and
// lookups by identifier.

#include "model/KovUnit.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kFigures = 60000;
constexpr int kWalls = 10000;
constexpr int kTexts = 10000;
constexpr int kGroups = 1000;

void fillLargeDrawing(CKovUnit& unit)
{
    for (int i = 0; i < kFigures; ++i) {
        auto line = std::make_unique<CKovLine>();
        line->MLineID = i + 2;
        line->MLineType = i % 7;
        line->MLinePnt = {{i * 1.0, 0.0}, {i * 1.0, 100.0}, {i + 50.0, 100.0}, {i + 50.0, 0.0}};
        if (line->MLineType == CKovLine::CIRCLE || line->MLineType == CKovLine::ARC)
            line->MLineParam = {250.0, 1.0};
        line->MLineGrpID = i < kGroups * 10 ? i / 10 + 2 : 0;
        unit.m_Lines.Add(std::move(line));
    }
    for (int i = 0; i < kWalls; ++i) {
        auto wall = std::make_unique<CKovWall>();
        wall->MWallID = i + 2;
        wall->MWallPntA = {0.0, i * 10.0};
        wall->MWallPntB = {1000.0, i * 10.0};
        CKovUnit::ComputeWallCorners(wall->MWallPntKado, wall->MWallPntA, wall->MWallPntB, 50.0, 1);
        unit.m_Walls.Add(std::move(wall));
        unit.ResetWallOutline(i + 2);
    }
    for (int i = 0; i < kTexts; ++i) {
        auto text = std::make_unique<CKovText>();
        text->MTextID = i + 2;
        text->MTextstr = "洋室\r\n6.0帖";
        text->MTextpnt = {i * 3.0, 7.0};
        unit.m_Texts.Add(std::move(text));
    }
    for (int g = 0; g < kGroups; ++g) {
        auto group = std::make_unique<CKovGroup>();
        group->MGrpID = g + 2;
        for (int k = 0; k < 10; ++k)
            group->MGrpLineID.push_back(g * 10 + k + 2);
        group->MGrpWallID = {g * 10 + 2};
        group->MGrpTextID = {g * 10 + 2};
        unit.m_Groups.Add(std::move(group));
    }
    unit.MUnitLineID = kFigures + 1;
    unit.MUnitWallID = kWalls + 1;
    unit.MUnitTextID = kTexts + 1;
    unit.MUnitGrpID = kGroups + 1;
}

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

// Deleting every group with its members, one group at a time.
void BM_DeleteAllGroups(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CKovUnit unit;
        unit.CopyFrom(largeDrawing());
        state.ResumeTiming();
        for (int g = 0; g < kGroups; ++g)
            unit.DeleteGroup(g + 2);
        benchmark::DoNotOptimize(unit.m_Lines.GetSize());
    }
}
BENCHMARK(BM_DeleteAllGroups)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
