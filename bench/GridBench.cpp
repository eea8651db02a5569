// The grid under a full redraw of the window: the whole page at 1:100 with subdivisions and the
// ruler, and a dense grid (zoomed out far) whose lines are bounded by the area.

#include "model/Grid.h"
#include "model/PlotInfo.h"
#include "platform/PainterSurface.h"
#include "render/GridDrawing.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

using namespace kov::platform;

namespace {

void ScreenGrid(benchmark::State& state)
{
    QImage img(1600, 1000, QImage::Format_RGB32);
    img.fill(Qt::white);
    PainterSurface s(img);
    CGrid grid;
    grid.kyutyakukankaku = 4;
    grid.app_griddot = 1;
    grid.GridMemori = 1;
    // Grid spacing of state.range(0) / 10 × 3.3 pixels: 910 mm at 1:100 on a 1400-pixel A3 page is
    // 30 px (Arg 100); Arg 10 is 1:1000, Arg 1000 a zoom of 10.
    DeviceTransform t;
    t.originX = 800;
    t.originY = 500;
    t.scaleX.fill(state.range(0) / 10.0 * 3.3 / 910);
    t.scaleY = t.scaleX;
    const DeviceRect area{100, 10, 1500, 990};
    const CPlotInfo plot;
    for (auto _ : state)
        kov::render::DrawGrid(s, t, area, grid, plot, {1, 96});
}
BENCHMARK(ScreenGrid)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
