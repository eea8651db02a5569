// The view's back buffer on the user's path, in a 1920 × 1080 window, with the number of drawing
// threads as the argument:
// - the whole render of the 50,000-object plan fitted to the page, and zoomed so that a tenth of
//   it shows; the random 2,000-object mix fitted;
// - a one-object edit of the 50,000-object plan (the undo snapshot, the figure moved, the redraw
//   that paints what changed);
// - a scroll by 100 pixels of the zoomed plan (the strip that comes into view);
// - selecting one figure (its marks).
// The machine these run on may be busy with other work: beside the clock, each reports the main
// thread's processor time outside the bands and the longest band on its own thread's clock, whose
// sum is what idle cores would take.

#include "LargeDrawing.h"
#include "DrawScenes.h"

#include "app/KovView.h"
#include "render/BandPainting.h"
#include "tools/ToolTexts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

using kov::app::CKoviraView;
using kov::render::BandPainter;

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct ViewFixture {
    kov::bench::BenchDocument doc;
    CKoviraView view{*doc.doc, nullptr};

    // The plan's middle on the sheet's middle, at a scale that fits it on the A4 page.
    ViewFixture(double extent, int figures, int texts, int walls, double scale)
    {
        doc.doc->m_Grid.visible = 0;
        doc.profile.WriteProfileInt("KOV_T_PlotMenu", "app_modeview", 0);
        doc.doc->m_PlotInfo.m_Layer.m_dScale.fill(scale);
        kov::bench::makeDrawing(doc.doc->m_Unit, extent, figures, texts, walls, -extent / 2, -extent * 9 / 32);
        view.resize(1920, 1080);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
    }
    void zoom(double factor)
    {
        view.m_geo.m_dZoom = factor;
        view.m_geo.UpdateScrollSizes();
        view.ViewChanged();
    }
};

ViewFixture& largePlan()
{
    static ViewFixture* f = new ViewFixture(60000, 43000, 5000, 2000, 250);  // lives until exit
    return *f;
}

ViewFixture& mix()
{
    static ViewFixture* f = new ViewFixture(14000, 1500, 350, 150, 60);
    return *f;
}

// Runs `step` per iteration and reports what idle cores would take.
template <class Step>
void measure(benchmark::State& state, ViewFixture& f, Step step)
{
    BandPainter::SetThreadCount(int(state.range(0)));
    double outside = 0, longest = 0, work = 0, painted = 0;
    for (auto _ : state) {
        const double cpu = threadSeconds();
        step();
        const double mine = threadSeconds() - cpu;
        const BandPainter::Times t = BandPainter::LastTimes();
        outside += mine - t.callerSeconds;
        longest += t.bandSeconds.empty() ? 0 : *std::max_element(t.bandSeconds.begin(), t.bandSeconds.end());
        for (const double s : t.bandSeconds) work += s;
        long long area = 0;
        for (const DeviceRect& r : f.view.lastPaintedRects()) area += static_cast<long long>(r.width()) * r.height();
        painted += double(area) / (1920.0 * 1080.0);
    }
    const double n = double(state.iterations());
    state.counters["outside_bands_ms"] = outside / n * 1e3;
    state.counters["longest_band_ms"] = longest / n * 1e3;
    state.counters["idle_estimate_ms"] = (outside + longest) / n * 1e3;
    // All bands together: above the one-thread time by what objects across band edges cost twice.
    state.counters["all_bands_ms"] = work / n * 1e3;
    state.counters["painted_share"] = painted / n;
    BandPainter::SetThreadCount(0);
}

void threadCounts(benchmark::internal::Benchmark* b)
{
    for (int threads : {1, 4, 8}) b->Arg(threads);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void BM_WholeRenderFitted(benchmark::State& state)
{
    ViewFixture& f = largePlan();
    f.zoom(1.0);
    measure(state, f, [&] { f.view.RedrawWhole(); });
}
BENCHMARK(BM_WholeRenderFitted)->Apply(threadCounts);

void BM_WholeRenderZoomedToATenth(benchmark::State& state)
{
    ViewFixture& f = largePlan();
    f.zoom(std::sqrt(10.0));
    measure(state, f, [&] { f.view.RedrawWhole(); });
    f.zoom(1.0);
}
BENCHMARK(BM_WholeRenderZoomedToATenth)->Apply(threadCounts);

void BM_WholeRenderMix(benchmark::State& state)
{
    ViewFixture& f = mix();
    measure(state, f, [&] { f.view.RedrawWhole(); });
}
BENCHMARK(BM_WholeRenderMix)->Apply(threadCounts);

// One figure in the middle of the plan moved back and forth by 2 m, as a move command does it.
void BM_OneObjectEdit(benchmark::State& state)
{
    ViewFixture& f = largePlan();
    f.zoom(1.0);
    f.view.RedrawWhole();
    kov::app::CKoviraDoc& doc = *f.doc.doc;
    const int id = doc.m_Unit.m_Lines[21500]->MLineID;
    double dx = 2000;
    measure(state, f, [&] {
        f.view.PushUndo();
        for (CDbPoint& p : doc.m_Unit.m_Lines.Find(id)->MLinePnt) p.x += dx;
        dx = -dx;
        f.view.RedrawAll();
    });
}
BENCHMARK(BM_OneObjectEdit)->Apply(threadCounts);

// One figure selected and unselected, as clicks do it.
void BM_SelectionChange(benchmark::State& state)
{
    ViewFixture& f = largePlan();
    f.zoom(1.0);
    f.view.RedrawWhole();
    kov::app::CKoviraDoc& doc = *f.doc.doc;
    const int id = doc.m_Unit.m_Lines[21500]->MLineID;
    measure(state, f, [&] {
        if (doc.m_Selection.IsEmpty()) doc.m_Selection.AddLineId(id);
        else doc.m_Selection.Clear();
        f.view.RedrawAll();
    });
    doc.m_Selection.Clear();
}
BENCHMARK(BM_SelectionChange)->Apply(threadCounts);

// The zoomed plan scrolled down and back up by 100 pixels, through the scroll bar.
void BM_Scroll100(benchmark::State& state)
{
    ViewFixture& f = largePlan();
    f.zoom(std::sqrt(10.0));
    QScrollBar* bar = f.view.verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    int step = 100;
    measure(state, f, [&] {
        bar->setValue(bar->value() + step);
        step = -step;
    });
    f.zoom(1.0);
}
BENCHMARK(BM_Scroll100)->Apply(threadCounts);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
