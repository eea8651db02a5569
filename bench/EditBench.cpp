// Picking and range operations on large drawings: a click pick and a range selection in a drawing of
// 50,000 objects on the current layer, and the range copy and delete of 1,000 walls with the rejoin.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"
#include "platform/PainterSurface.h"
#include "platform/RecordingSurface.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstdint>
#include <memory>

namespace {

struct Lcg {
    std::uint32_t state = 4711;
    std::uint32_t next() { return state = state * 1664525u + 1013904223u; }
    double in(double lo, double hi) { return lo + (hi - lo) * (next() >> 8) / double(1u << 24); }
    int pick(int n) { return int((next() >> 8) % std::uint32_t(n)); }
};

// A sheet of 100 m × 60 m seen at 0.02 px/mm: 40,000 figures, 5,000 walls, 4,000 texts and 1,000
// groups of three of those figures.
constexpr double kSheetW = 100000.0, kSheetH = 60000.0;
constexpr int kFigures = 40000, kWalls = 5000, kTexts = 4000, kGroups = 1000;

DeviceTransform viewTransform()
{
    DeviceTransform t;
    t.scaleX.fill(0.02);
    t.scaleY.fill(0.02);
    t.paperScale = 3.78;
    return t;
}

void fillDrawing(CKovUnit& unit)
{
    Lcg rnd;
    for (int i = 0; i < kFigures; ++i) {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        const double x = rnd.in(0, kSheetW), y = rnd.in(0, kSheetH), w = rnd.in(200, 3000), h = rnd.in(200, 3000);
        const int kinds[] = {0, 0, 1, 2, 3, 4, 6};
        f->MLineType = kinds[rnd.pick(7)];
        switch (f->MLineType) {
        case 0: f->MLinePnt = {{x, y}, {x + w, y + h}}; break;
        case 1: f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; break;
        case 2: f->MLinePnt = {{x, y}, {x + w, y + h / 3}, {x + w / 2, y + h}}; break;
        case 3: f->MLinePnt = {{x, y}}; f->MLineParam = {w / 2}; break;
        case 4: f->MLinePnt = {{x, y}, {x + w / 2, y}, {x, y - w / 2}}; f->MLineParam = {w / 2}; break;
        default: f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x + 2 * w, y + h}}; break;
        }
        unit.m_Lines.Add(std::move(f));
    }
    for (int g = 0; g < kGroups; ++g) {
        auto group = std::make_unique<CKovGroup>();
        group->MGrpID = unit.NextGroupId();
        for (int k = 0; k < 3; ++k) {
            CKovLine& member = *unit.m_Lines[g * 3 + k];
            member.MLineGrpID = group->MGrpID;
            group->MGrpLineID.push_back(member.MLineID);
        }
        CKovGroup& added = *unit.m_Groups[unit.m_Groups.Add(std::move(group))];
        unit.UpdateGroupBounds(added);
    }
    const CPlotInfo plot;
    for (int i = 0; i < kWalls; ++i) {
        const double x = rnd.in(0, kSheetW), y = rnd.in(0, kSheetH);
        if (rnd.pick(2) == 0)
            unit.AddWall({x, y}, {x + rnd.in(900, 4000), y}, 50.0, plot);
        else
            unit.AddWall({x, y}, {x, y + rnd.in(900, 4000)}, 50.0, plot);
    }
    for (int i = 0; i < kTexts; ++i) {
        auto t = std::make_unique<CKovText>();
        t->MTextID = unit.NextTextId();
        t->MTextstr = i % 3 == 0 ? "洋室\n12.5帖" : "キッチン";
        t->MTextpnt = {rnd.in(0, kSheetW), rnd.in(0, kSheetH)};
        unit.m_Texts.Add(std::move(t));
    }
}

CKovUnit& drawing()
{
    static CKovUnit unit = [] {
        CKovUnit u;
        fillDrawing(u);
        return u;
    }();
    return unit;
}

// One click at a fresh place per iteration: most clicks hit nothing, so every kind is scanned.
void timePicks(benchmark::State& state, const TextBoxMeasurer& measurer)
{
    CKovUnit& unit = drawing();
    const CPlotInfo plot;
    const DeviceTransform t = viewTransform();
    SelectionRecord selection;
    Lcg rnd;
    for (auto _ : state) {
        unit.PickAtPoint(measurer, selection, plot, rnd.in(0, kSheetW), rnd.in(0, kSheetH), t, 1, 0);
        benchmark::DoNotOptimize(selection.m_nCount);
    }
    state.counters["objects"] = kFigures + kWalls + kTexts + kGroups;
}

void BM_PickAtPoint_FixedTextMeasure(benchmark::State& state)
{
    kov::platform::RecordingSurface surface;
    timePicks(state, SurfaceTextBoxMeasurer(surface));
}
BENCHMARK(BM_PickAtPoint_FixedTextMeasure)->Unit(benchmark::kMicrosecond);

void BM_PickAtPoint_FontTextMeasure(benchmark::State& state)
{
    QImage image(64, 64, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(image);
    timePicks(state, SurfaceTextBoxMeasurer(surface));
}
BENCHMARK(BM_PickAtPoint_FontTextMeasure)->Unit(benchmark::kMicrosecond);

// A range of a tenth of the sheet each way, somewhere on it.
void BM_SelectInRect(benchmark::State& state)
{
    CKovUnit& unit = drawing();
    const CPlotInfo plot;
    const DeviceTransform t = viewTransform();
    SelectionRecord selection;
    Lcg rnd;
    for (auto _ : state) {
        const double x = rnd.in(0, kSheetW * 0.9), y = rnd.in(0, kSheetH * 0.9);
        unit.SelectInRect(selection, plot, x, y, x + kSheetW / 10, y + kSheetH / 10, t, RangeLayers::CurrentGroup);
        benchmark::DoNotOptimize(selection.m_nCount);
    }
    state.counters["objects"] = kFigures + kWalls + kTexts + kGroups;
}
BENCHMARK(BM_SelectInRect)->Unit(benchmark::kMicrosecond);

// A plan of 3 m rooms with 1,000 walls, joined.
void buildPlan(CKovUnit& unit)
{
    const CPlotInfo plot;
    const int k = 22; // 2 × 22 × 23 = 1,012 walls
    for (int row = 0; row <= k; ++row)
        for (int col = 0; col < k; ++col)
            unit.ResetWallOutline(unit.AddWall({col * 3000.0, row * 3000.0}, {(col + 1) * 3000.0, row * 3000.0}, 50, plot));
    for (int col = 0; col <= k; ++col)
        for (int row = 0; row < k; ++row)
            unit.ResetWallOutline(unit.AddWall({col * 3000.0, row * 3000.0}, {col * 3000.0, (row + 1) * 3000.0}, 50, plot));
    unit.JoinWalls(0);
}

void BM_CopyRange1000Walls(benchmark::State& state)
{
    CKovUnit plan;
    buildPlan(plan);
    const CPlotInfo plot;
    const DeviceTransform t = viewTransform();
    CKovUnit unit;
    SelectionRecord selection;
    for (auto _ : state) {
        state.PauseTiming();
        unit.CopyFrom(plan);
        state.ResumeTiming();
        // Copy the whole plan beside itself, then join the layer group as the copy tool's next step does.
        unit.CopyRange(selection, plot, {{-100, -100}, {66100, 66100}, {0, 0}}, {70000, 0}, t, {});
        unit.JoinWalls(0);
        benchmark::ClobberMemory();
    }
    state.counters["walls"] = plan.m_Walls.GetSize();
}
BENCHMARK(BM_CopyRange1000Walls)->Unit(benchmark::kMillisecond);

void BM_DeleteRange1000Walls(benchmark::State& state)
{
    CKovUnit plan;
    buildPlan(plan);
    const CPlotInfo plot;
    const DeviceTransform t = viewTransform();
    CKovUnit unit;
    SelectionRecord selection;
    int pictures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        unit.CopyFrom(plan);
        state.ResumeTiming();
        // The left half of the plan goes; the rest is reset and joined again.
        unit.DeleteRange(selection, plot, {{-100, -100}}, {33100, 66100}, t, pictures);
        benchmark::ClobberMemory();
    }
    state.counters["walls"] = plan.m_Walls.GetSize();
}
BENCHMARK(BM_DeleteRange1000Walls)->Unit(benchmark::kMillisecond);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
