// A pointer move over the drawing at the identifier limits (80,000 objects): conversion, the vertex
// snap over every figure point, the wall-end snap over every wall, the grid and the axis lock, as
// every move of the mouse runs them. Cases: line and wall snap on, only the grid, a polygon tool
// holding points (their own snap too).

#include "LargeDrawing.h"

#include "app/DocToolHost.h"
#include "model/KovUnit.h"
#include "platform/RecordingSurface.h"
#include "tools/ToolMachine.h"

#include <benchmark/benchmark.h>

namespace {

enum class Snaps { LineAndWall, GridOnly, PolygonPoints };

void BM_PointerMove(benchmark::State& state, Snaps snaps)
{
    kov::bench::BenchDocument d;
    kov::bench::fillLargeDrawing(d.doc->m_Unit);
    kov::platform::RecordingSurface surface;
    kov::app::DocToolHost host(*d.doc, surface);
    kov::tools::ToolMachine m(host, kov::tools::ToolSettings{});
    m.m_Page.OnSize(1600, 1000);
    d.doc->m_PlotInfo.PlotLinePita = snaps == Snaps::GridOnly ? 0 : 1;
    d.doc->m_PlotInfo.PlotWallPita = snaps == Snaps::LineAndWall ? 1 : 0;
    if (snaps == Snaps::PolygonPoints) {
        m.StartTool(5);
        for (int i = 0; i < 50; ++i)
            m.m_ToolPoints.push_back({i * 100.0, 0});
    }
    int i = 0;
    for (auto _ : state) {
        m.OnMouseMove(0, {400 + (i % 800), 200 + (i % 500)});
        benchmark::DoNotOptimize(m.m_ptCurrent);
        ++i;
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_PointerMove, line_and_wall_snap, Snaps::LineAndWall)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PointerMove, grid_only, Snaps::GridOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PointerMove, polygon_points, Snaps::PolygonPoints)->Unit(benchmark::kMicrosecond);
