// Envelope processing of 10,200 lines in one range: the double lines of a 50 × 50 grid of walls,
// each wall drawn from junction centre to junction centre, so that every junction holds crossing
// and overlapping lines to tidy. Measured as the operation alone and as the envelope tool's two
// clicks through the tool machine (conversion, undo snapshot, the operation).

#include "LargeDrawing.h"

#include "app/DocToolHost.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/RecordingSurface.h"
#include "tools/ToolMachine.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kCells = 50;
constexpr double kCell = 910, kHalf = 50;

void addLine(CKovUnit& unit, CDbPoint a, CDbPoint b)
{
    auto f = std::make_unique<CKovLine>();
    f->MLineID = unit.NextLineId();
    f->MLinePnt = {a, b};
    unit.m_Lines.Add(std::move(f));
}

void fillWallGrid(CKovUnit& unit)
{
    for (int row = 0; row <= kCells; ++row)
        for (int col = 0; col < kCells; ++col) {
            const double y = row * kCell, x0 = col * kCell, x1 = x0 + kCell;
            addLine(unit, {x0, y - kHalf}, {x1, y - kHalf});
            addLine(unit, {x0, y + kHalf}, {x1, y + kHalf});
            const double x = row * kCell, y0 = col * kCell, y1 = y0 + kCell;
            addLine(unit, {x - kHalf, y0}, {x - kHalf, y1});
            addLine(unit, {x + kHalf, y0}, {x + kHalf, y1});
        }
}

const CDbPoint kLow{-500, -500};
const CDbPoint kHigh{kCells * kCell + 500, kCells * kCell + 500};

void BM_EnvelopeRange(benchmark::State& state)
{
    CKovUnit drawing;
    fillWallGrid(drawing);
    const CPlotInfo plot;
    CKovUnit work;
    for (auto _ : state) {
        state.PauseTiming();
        work.CopyFrom(drawing);
        state.ResumeTiming();
        work.EnvelopeRange(plot, kLow, {kLow.x, kHigh.y}, kHigh, {kHigh.x, kLow.y});
        benchmark::DoNotOptimize(work.m_Lines.GetSize());
    }
    state.counters["lines before"] = drawing.m_Lines.GetSize();
    state.counters["lines after"] = work.m_Lines.GetSize();
}

void BM_EnvelopeTool(benchmark::State& state)
{
    kov::bench::BenchDocument d;
    CKovUnit drawing;
    fillWallGrid(drawing);
    kov::platform::RecordingSurface surface;
    kov::app::DocToolHost host(*d.doc, surface);
    kov::tools::ToolMachine m(host, kov::tools::ToolSettings{});
    m.m_Page.OnSize(1600, 1000);
    d.doc->m_PlotInfo.m_Layer.SetAllScales(200);
    auto client = [&m](CDbPoint p) {
        const DevicePoint dv = ToDevicePoint(p, *m.MakeTransform(), 0);
        const DevicePoint s = m.m_Page.scrollPosition();
        return DevicePoint{dv.x - s.x, dv.y - s.y};
    };
    for (auto _ : state) {
        state.PauseTiming();
        d.doc->m_Unit.CopyFrom(drawing);
        m.StartTool(34);
        state.ResumeTiming();
        for (CDbPoint corner : {kLow, kHigh}) {
            m.OnLButtonDown(kov::tools::MK_LBUTTON, client(corner));
            m.OnLButtonUp(0, client(corner));
        }
        benchmark::DoNotOptimize(d.doc->m_Unit.m_Lines.GetSize());
    }
    state.counters["lines after"] = d.doc->m_Unit.m_Lines.GetSize();
}

} // namespace

BENCHMARK(BM_EnvelopeRange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnvelopeTool)->Unit(benchmark::kMillisecond);
