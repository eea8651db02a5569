// One level of undo on a drawing at the identifier limits (80,000 objects): the snapshot before an
// edit of one object, the edit itself (which gives the live drawing its own copy of what it
// touches) and the check that the drawing changed. Counters: the heap that one level keeps, beside
// the heap of the whole drawing.

#include "LargeDrawing.h"

#include "model/KovUnit.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

namespace {

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

enum class Edit { Move, DeleteMiddle, DeleteFirst };

void oneEdit(CKovUnit& live, Edit edit, int round)
{
    switch (edit) {
    case Edit::Move:
        live.m_Lines[30000 + round % 1000]->MLinePnt[0].x += 1.0;
        break;
    case Edit::DeleteMiddle:
        live.m_Lines.DeleteAt(30000);
        break;
    case Edit::DeleteFirst:
        live.m_Lines.DeleteAt(0);
        break;
    }
}

void BM_UndoLevel(benchmark::State& state, Edit edit)
{
    const std::size_t before = heapInUse();
    auto live = std::make_unique<CKovUnit>();
    kov::bench::fillLargeDrawing(*live);
    (void)live->FindLineIndex(2); // the live drawing's lookup exists, as it does while editing
    const std::size_t drawing = heapInUse() - before;

    std::vector<std::unique_ptr<CKovUnit>> levels;
    std::size_t levelBytes = 0;
    int round = 0;
    for (auto _ : state) {
        const std::size_t start = heapInUse();
        auto snapshot = std::make_unique<CKovUnit>();
        snapshot->CopyFrom(*live);
        oneEdit(*live, edit, round++);
        benchmark::DoNotOptimize(snapshot->SharesAllWith(*live));
        levelBytes += heapInUse() - start;
        levels.push_back(std::move(snapshot));
        if (levels.size() >= 20) {
            state.PauseTiming();
            levels.clear(); // an undo stack of the default depth
            state.ResumeTiming();
        }
    }
    state.counters["drawing_MB"] = double(drawing) / 1e6;
    state.counters["level_KB"] = double(levelBytes) / double(state.iterations()) / 1e3;
    state.counters["level_pct"] = 100.0 * double(levelBytes) / double(state.iterations()) / double(drawing);
}
BENCHMARK_CAPTURE(BM_UndoLevel, move_one_figure, Edit::Move)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UndoLevel, delete_middle_figure, Edit::DeleteMiddle)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UndoLevel, delete_first_figure, Edit::DeleteFirst)->Unit(benchmark::kMicrosecond);

} // namespace
