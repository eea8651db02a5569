// Full redraws through the draw passes into a 1920 × 1080 back buffer, on one surface as printing
// draws (argument 0) and in bands on 1, 2, 4 and 8 threads as the view draws (the argument):
// - a 50,000-object drawing (5,000 texts, 2,000 walls, the rest figures of every kind, solid,
//   dashed, filled, hatched, translucent) fitted to the window, and the same zoomed so that a
//   tenth of it shows;
// - the same scrolled so that nothing of it shows (the cost of skipping everything);
// - a 2,000-object house of random figures fitted to the window, and one laid out as a plan is;
// - the 50,000 figures alone through their drawers, without the pass (what culling saves).

#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/PainterSurface.h"
#include "render/BandPainting.h"
#include "render/DrawEnvironment.h"

#include "BenchApplication.h"
#include "DrawScenes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

using namespace kov::bench;

struct Scene {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    CKovUnit::DrawEnvironment env;
    DeviceTransform transform;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};

    // Fitted: the plan's width onto the window's; zoom > 1 shows the middle 1/zoom² of it.
    Scene(double extent, int figures, int texts, int walls, double zoom)
    {
        makeDrawing(unit, extent, figures, texts, walls);
        transform = fittedTransform(extent, kWidth, kHeight, zoom);
    }

    // threads 0: the pass on one surface, as printing draws; otherwise in bands on that many
    // threads, as the view draws.
    void draw(int threads)
    {
        if (threads == 0) {
            image.fill(Qt::white);
            kov::platform::PainterSurface surface(image);
            unit.DrawAllByLayer(surface, transform, plot, selection, false, false, env);
            return;
        }
        kov::render::BandPainter::SetThreadCount(threads);
        // The bands only read the drawing: its look-ups are built before they start.
        unit.m_Groups.FindIndex(0);
        unit.m_Lines.FindIndex(0);
        const kov::platform::DeviceRect whole{0, 0, kWidth, kHeight};
        kov::render::BandPainter::Paint(image, {&whole, 1}, {}, [&](kov::platform::Surface& dc) {
            dc.fillRect(*dc.visibleArea(), kov::platform::Brush::solid(0xFFFFFF));
            CKovUnit::DrawEnvironment own = env;
            own.recordPictureRects = false;
            unit.DrawAllByLayer(dc, transform, plot, selection, false, false, own);
        });
    }
};

void run(benchmark::State& state, Scene& scene, int objects, const std::string& name)
{
    const int threads = int(state.range(0));
    double longest = 0, sum = 0;
    for (auto _ : state) {
        scene.draw(threads);
        benchmark::DoNotOptimize(scene.image.constBits());
        if (threads == 0) continue;
        const kov::render::BandPainter::Times t = kov::render::BandPainter::LastTimes();
        longest += *std::max_element(t.bandSeconds.begin(), t.bandSeconds.end());
        for (double b : t.bandSeconds) sum += b;
    }
    state.SetItemsProcessed(state.iterations() * objects);
    state.counters["threads"] = threads == 0 ? 1 : threads;
    // On a machine busy with other work the clock says little of many threads: the longest band on
    // its own thread's clock is what idle cores take, the sum what all threads spent.
    if (threads != 0) {
        const double n = double(state.iterations());
        state.counters["longest_band_ms"] = longest / n * 1e3;
        state.counters["all_bands_ms"] = sum / n * 1e3;
    }
    if (std::getenv("KOVIRA_BENCH_SAVE") != nullptr)
        scene.image.save(QString::fromStdString("/tmp/kov-" + name + "-" + std::to_string(threads) + ".png"));
}

// The argument is the number of threads: 0 the pass on one surface, else bands on so many.
void threadCounts(benchmark::internal::Benchmark* b)
{
    for (int threads : {0, 1, 2, 4, 8}) b->Arg(threads);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void LargeDrawingFitted(benchmark::State& state)
{
    Scene scene(60000, 43000, 5000, 2000, 1.0);
    run(state, scene, 50000, "fitted");
}
BENCHMARK(LargeDrawingFitted)->Apply(threadCounts);

void LargeDrawingZoomedToATenth(benchmark::State& state)
{
    Scene scene(60000, 43000, 5000, 2000, std::sqrt(10.0));
    run(state, scene, 50000, "zoomed");
}
BENCHMARK(LargeDrawingZoomedToATenth)->Apply(threadCounts);

// Zoomed onto an empty corner far from everything: what the pass costs when nothing shows.
void LargeDrawingNothingVisible(benchmark::State& state)
{
    Scene scene(60000, 43000, 5000, 2000, 1.0);
    scene.transform.originX = -1000000;
    run(state, scene, 50000, "nothing");
}
BENCHMARK(LargeDrawingNothingVisible)->Arg(0)->Unit(benchmark::kMillisecond);

// The random 2,000-object mix.
void HouseFitted(benchmark::State& state)
{
    Scene scene(14000, 1500, 350, 150, 1.0);
    run(state, scene, 2000, "house");
}
BENCHMARK(HouseFitted)->Apply(threadCounts);

void HouseAsDrawnFitted(benchmark::State& state)
{
    Scene scene(20000, 0, 0, 0, 1.0);
    makeHouse(scene.unit);
    scene.transform.originY = int(kHeight / 2 - 3 * 2730 / 2.0 * scene.transform.scaleX[0]);
    run(state, scene, 2000, "house-as-drawn");
}
BENCHMARK(HouseAsDrawnFitted)->Apply(threadCounts);

// The figures alone through their drawers, every one of them whether it shows or not.
void FiguresWithoutThePass(benchmark::State& state)
{
    Scene scene(60000, 50000, 0, 0, 1.0);
    for (auto _ : state) {
        scene.image.fill(Qt::white);
        kov::platform::PainterSurface surface(scene.image);
        for (const auto& figure : scene.unit.m_Lines)
            scene.unit.DrawFigure(surface, scene.transform, *figure, scene.plot, false, scene.env);
        benchmark::DoNotOptimize(scene.image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(FiguresWithoutThePass)->Unit(benchmark::kMillisecond);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
