// The snap of a click to the nearest crossing of figures, in a drawing of 50,000 lines, on the
// user's path: the pointer conversion of a press with the crossing snap switched on (the tool
// machine's ClientToDrawingPoint), and the container's query alone. Also the vertex snap of a
// pointer move in the same drawing.

#include "app/DocToolHost.h"
#include "app/KoviraDoc.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/RecordingSurface.h"
#include "tools/ToolMachine.h"

#include "LargeDrawing.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

struct Lcg {
    std::uint32_t state = 4711;
    std::uint32_t next() { return state = state * 1664525u + 1013904223u; }
    double in(double lo, double hi) { return lo + (hi - lo) * (next() >> 8) / double(1u << 24); }
};

// 50,000 lines of 1 to 6 m in every direction over a sheet of 200 m × 120 m: crossings everywhere.
void fillLines(CKovUnit& unit)
{
    Lcg r;
    for (int i = 0; i < 50000; ++i) {
        auto line = std::make_unique<CKovLine>();
        line->MLineID = i + 1;
        const double x = r.in(-100000, 100000), y = r.in(-60000, 60000);
        const double dx = r.in(-3000, 3000), dy = r.in(-3000, 3000);
        line->MLinePnt = {{x - dx, y - dy}, {x + dx, y + dy}};
        unit.m_Lines.Add(std::move(line));
    }
}

struct Session {
    kov::bench::BenchDocument d;
    kov::platform::RecordingSurface surface;
    kov::app::DocToolHost host{*d.doc, surface};
    kov::tools::ToolMachine m{host, kov::tools::ToolSettings{}};
    Session()
    {
        fillLines(d.doc->m_Unit);
        m.m_Page.OnSize(1600, 1000);
        d.doc->m_PlotInfo.PlotLinePita = 0;
        d.doc->m_PlotInfo.PlotWallPita = 0;
        d.doc->m_Grid.kyutyaku = 0;
        m.m_bIntersectionSnap = 1;
    }
};

void BM_ClickSnapsToACrossing(benchmark::State& state)
{
    Session s;
    int i = 0;
    for (auto _ : state) {
        DevicePoint device;
        CDbPoint point;
        DeviceTransform t;
        s.m.ClientToDrawingPoint(200 + (i * 37) % 1200, 100 + (i * 53) % 800, device, point, t,
                                 kov::tools::MK_LBUTTON, 1);
        benchmark::DoNotOptimize(point);
        ++i;
    }
}
BENCHMARK(BM_ClickSnapsToACrossing)->Unit(benchmark::kMillisecond);

void BM_SnapToIntersectionQuery(benchmark::State& state)
{
    Session s;
    const DeviceTransform t = *s.m.MakeTransform();
    int i = 0, snapped = 0;
    for (auto _ : state) {
        DevicePoint device{200 + (i * 37) % 1200 + t.originX - 800, 100 + (i * 53) % 800 + t.originY - 500};
        CDbPoint point{(device.x - t.originX) / t.scaleX[0], (device.y - t.originY) / t.scaleY[0]};
        snapped += s.d.doc->m_Unit.SnapToIntersection(device, point, t, s.d.doc->m_PlotInfo);
        ++i;
    }
    state.counters["snapped"] = benchmark::Counter(snapped, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SnapToIntersectionQuery)->Unit(benchmark::kMillisecond);

void BM_PointerMoveSnapsToVertices(benchmark::State& state)
{
    Session s;
    s.d.doc->m_PlotInfo.PlotLinePita = 1;
    int i = 0;
    for (auto _ : state) {
        s.m.OnMouseMove(0, {200 + (i * 37) % 1200, 100 + (i * 53) % 800});
        benchmark::DoNotOptimize(s.m.m_ptCurrent);
        ++i;
    }
}
BENCHMARK(BM_PointerMoveSnapsToVertices)->Unit(benchmark::kMicrosecond);

} // namespace
