// A full draw of 50,000 mixed figures (lines, rectangles, polygons, circles, arcs, continuous
// lines; solid, dashed, filled, hatched, translucent) into a 1920 × 1080 back buffer.

#include "model/DrawTransform.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/PainterSurface.h"
#include "render/DrawEnvironment.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace {

// A fixed pseudo-random sequence, so every run draws the same plan.
struct Lcg {
    std::uint32_t state = 12345;
    std::uint32_t next() { return state = state * 1664525u + 1013904223u; }
    double in(double lo, double hi) { return lo + (hi - lo) * (next() >> 8) / double(1u << 24); }
    int pick(int n) { return int((next() >> 8) % std::uint32_t(n)); }
};

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

CKovUnit makePlan(int figures)
{
    CKovUnit unit;
    Lcg rnd;
    const int kinds[] = {0, 0, 0, 1, 2, 3, 4, 6};
    for (int i = 0; i < figures; ++i) {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        f->MLineType = kinds[rnd.pick(8)];
        f->MLineGradiation = 0;
        const double x = rnd.in(0, kWidth), y = rnd.in(0, kHeight), w = rnd.in(4, 80), h = rnd.in(4, 80);
        switch (f->MLineType) {
        case 0: f->MLinePnt = {{x, y}, {x + w, y + h}}; break;
        case 1: f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; break;
        case 2: f->MLinePnt = {{x, y}, {x + w, y + h / 3}, {x + w / 2, y + h}, {x - w / 3, y + h / 2}}; break;
        case 3: f->MLinePnt = {{x, y}}; f->MLineParam = {w / 2}; break;
        case 4: f->MLinePnt = {{x, y}, {x + w / 2, y}, {x, y - w / 2}}; f->MLineParam = {w / 2};
                f->MLineTanten = rnd.pick(3); break;
        default: f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x + 2 * w, y + h}}; break;
        }
        f->MLineColor = rnd.next() & 0xFFFFFF;
        f->MLineNakaColor = rnd.next() & 0xFFFFFF;
        f->MLineLineT = rnd.pick(4) == 0 ? 1 + rnd.pick(4) : 0;
        f->MLineWide = 1 + rnd.pick(3);
        f->MLinebNakanuri = rnd.pick(2);
        f->MLinebHach = rnd.pick(6) == 0 ? 1 : 0;
        f->MLineHachT = rnd.pick(6);
        f->MLineAlpha = rnd.pick(8) == 0 ? 50 : 100;
        unit.m_Lines.Add(std::move(f));
    }
    return unit;
}

void FullDraw(benchmark::State& state)
{
    const CKovUnit unit = makePlan(50000);
    CPlotInfo plot;
    DeviceTransform transform;
    transform.scaleX.fill(1.0);
    transform.scaleY.fill(1.0);
    transform.paperScale = 3.78;
    const CKovUnit::DrawEnvironment env;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        kov::platform::PainterSurface surface(image);
        for (const auto& figure : unit.m_Lines) unit.DrawFigure(surface, transform, *figure, plot, false, env);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(FullDraw)->Unit(benchmark::kMillisecond);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
