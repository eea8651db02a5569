// Merging a large drawing into another large one: every object renumbered against the identifiers
// already in use, and the group lists rebuilt.

#include "app/MergeDrawing.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// `groups` groups of ten figures each, then as many ungrouped figures, walls and texts.
void fill(CKovUnit& unit, int groups)
{
    int lineId = 2;
    for (int g = 0; g < groups; ++g) {
        auto group = std::make_unique<CKovGroup>();
        group->MGrpID = g + 2;
        for (int k = 0; k < 10; ++k) {
            auto line = std::make_unique<CKovLine>();
            line->MLineID = lineId;
            line->MLineGrpID = group->MGrpID;
            line->MLinePnt = {{lineId * 1.0, 0.0}, {lineId * 1.0, 10.0}};
            group->MGrpLineID.push_back(lineId++);
            unit.m_Lines.Add(std::move(line));
        }
        unit.m_Groups.Add(std::move(group));
    }
    for (int i = 0; i < groups * 10; ++i) {
        auto line = std::make_unique<CKovLine>();
        line->MLineID = lineId++;
        unit.m_Lines.Add(std::move(line));
        auto wall = std::make_unique<CKovWall>();
        wall->MWallID = i + 2;
        unit.m_Walls.Add(std::move(wall));
        auto text = std::make_unique<CKovText>();
        text->MTextID = i + 2;
        unit.m_Texts.Add(std::move(text));
    }
}

void BM_MergeUnit(benchmark::State& state)
{
    const int groups = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CKovUnit target, source;
        fill(target, groups);
        fill(source, groups);
        SelectionRecord selection;
        state.ResumeTiming();
        kov::app::MergeUnit(target, source, selection);
        benchmark::DoNotOptimize(target.m_Lines.GetSize());
        state.PauseTiming();
        target.RemoveAllObjects(CKovUnit::REMOVE_DISCARD_SNAPSHOT);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * groups * 40);
}
// 1250 groups: 50,000 objects merged into a drawing of as many.
BENCHMARK(BM_MergeUnit)->Arg(100)->Arg(1000)->Arg(1250)->Unit(benchmark::kMillisecond);

} // namespace
