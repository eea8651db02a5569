// Broken lines and outlines at a high zoom: dashed lines and dotted circles reaching far beyond a
// 1920 x 1080 back buffer, and a screenful of short dashed edges.

#include "model/DrawTransform.h"
#include "model/KovLine.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/PainterSurface.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

DeviceTransform transform(double paperScale)
{
    DeviceTransform t;
    t.scaleX.fill(1.0);
    t.scaleY.fill(1.0);
    t.paperScale = paperScale;
    return t;
}

void HugeDottedLine(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(image);
    const CPlotInfo plot;
    const kov::platform::Pen pen{kov::platform::PenStyle::Solid, 1, 0};
    const int reach = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CKovUnit::DrawStyledLine(surface, transform(4), 2, {-reach, 500}, {reach, 560}, plot, pen);
    }
}
BENCHMARK(HugeDottedLine)->Arg(10000)->Arg(1000000)->Arg(100000000);

void HugeDottedCircle(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(image);
    const CPlotInfo plot;
    const int r = static_cast<int>(state.range(0));
    CKovLine circle;
    circle.MLineType = CKovLine::CIRCLE;
    circle.MLineParam = {static_cast<double>(r)};
    DeviceTransform t = transform(4);
    t.originX = 960;
    t.originY = 540 + r;  // the top of the circle crosses the buffer
    const kov::platform::DeviceRect box{960 - r, 540, 960 + r, 540 + 2 * r};
    for (auto _ : state) {
        CKovUnit::DrawDashedArc(surface, t, 2, box, {0, 0}, {double(r), 0}, {double(r), 0}, circle, plot, 1, 0);
    }
}
BENCHMARK(HugeDottedCircle)->Arg(500)->Arg(100000)->Arg(10000000);

void ScreenOfDashedEdges(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    kov::platform::PainterSurface surface(image);
    const CPlotInfo plot;
    const kov::platform::Pen pen{kov::platform::PenStyle::Solid, 1, 0};
    for (auto _ : state) {
        int index = 0;
        int used = 0;
        for (int i = 0; i < 2000; ++i) {
            const DevicePoint a{(i * 37) % 1900, (i * 53) % 1060};
            const DevicePoint b{(i * 91) % 1900, (i * 29) % 1060};
            used = CKovUnit::DrawStyledSegment(surface, transform(4), 1 + i % 4, a, b, plot, index, used, pen);
        }
    }
}
BENCHMARK(ScreenOfDashedEdges);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
