// Identifiers handed out to a drawing that holds more texts than the text counter's wrap limit
// (62,000): every search starts again at 1, so each merged or placed text must not walk the
// identifiers in use from 1 again.

#include "app/MergeDrawing.h"

#include "model/IdentifierBatch.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kTextsInDrawing = 62500;

void addTexts(CKovUnit& unit, int first, int count, int groupId = 0)
{
    for (int id = first; id < first + count; ++id) {
        auto text = std::make_unique<CKovText>();
        text->MTextID = id;
        text->MTextGrpID = groupId;
        unit.m_Texts.Add(std::move(text));
    }
}

// A drawing of 62,500 texts whose counter stands past the wrap limit, as reading it leaves it.
void fullDrawing(CKovUnit& unit)
{
    addTexts(unit, 1, kTextsInDrawing);
    unit.MUnitTextID = kTextsInDrawing;
}

// 1,000 text identifiers into the full drawing, each taken into use: one Next…Id call each (the
// search from 1 every time), against one batch.
void BM_TextIdsOneCallEach(benchmark::State& state)
{
    const int texts = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CKovUnit unit;
        fullDrawing(unit);
        state.ResumeTiming();
        for (int n = 0; n < texts; ++n) addTexts(unit, unit.NextTextId(), 1);
        benchmark::DoNotOptimize(unit.m_Texts.GetSize());
    }
    state.SetItemsProcessed(state.iterations() * texts);
}
BENCHMARK(BM_TextIdsOneCallEach)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_TextIdsInABatch(benchmark::State& state)
{
    const int texts = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CKovUnit unit;
        fullDrawing(unit);
        state.ResumeTiming();
        kov::model::IdentifierBatch ids(unit, kov::model::IdKind::Text);
        for (int n = 0; n < texts; ++n) addTexts(unit, ids.Next(), 1);
        benchmark::DoNotOptimize(unit.m_Texts.GetSize());
    }
    state.SetItemsProcessed(state.iterations() * texts);
}
BENCHMARK(BM_TextIdsInABatch)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_MergeTextsIntoFullDrawing(benchmark::State& state)
{
    const int texts = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CKovUnit target, source;
        fullDrawing(target);
        addTexts(source, 2, texts);
        SelectionRecord selection;
        state.ResumeTiming();
        kov::app::MergeUnit(target, source, selection);
        benchmark::DoNotOptimize(target.m_Texts.GetSize());
    }
    state.SetItemsProcessed(state.iterations() * texts);
}
BENCHMARK(BM_MergeTextsIntoFullDrawing)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A part of `texts` texts in one group placed again and again, as the parts palette does.
void BM_PlacePartInFullDrawing(benchmark::State& state)
{
    const int texts = static_cast<int>(state.range(0));
    CKovUnit part;
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = 2;
    for (int id = 2; id < 2 + texts; ++id) group->MGrpTextID.push_back(id);
    part.m_Groups.Add(std::move(group));
    addTexts(part, 2, texts, 2);
    CPlotInfo plot;
    CKovUnit target;
    fullDrawing(target);
    int placed = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(target.InsertPartGroup(part, plot));
        // The text identifiers run out after about 1,500 more: start again from the full drawing.
        if (++placed * texts > 1000) {
            state.PauseTiming();
            target.RemoveAllObjects(CKovUnit::REMOVE_DISCARD_SNAPSHOT);
            fullDrawing(target);
            placed = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * texts);
}
BENCHMARK(BM_PlacePartInFullDrawing)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
