// The painter surface's heavier calls, as a full redraw of a dense plan makes them.

#include "platform/PainterSurface.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace kov::platform;

namespace {

QImage backBuffer()
{
    QImage img(1600, 1000, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

void TextOut(benchmark::State& state)
{
    QImage img = backBuffer();
    PainterSurface s(img);
    TextStyle style;
    style.font.faceName = state.range(0) ? "@ＭＳ ゴシック" : "ＭＳ ゴシック";
    style.font.height = -14;
    style.font.escapement = state.range(0) ? 2700 : 0;
    int i = 0;
    for (auto _ : state) {
        s.textOut({20 + (i * 37) % 1500, 20 + (i * 53) % 900}, "洋室 6.0帖 (9.72㎡)", style);
        ++i;
    }
}
BENCHMARK(TextOut)->Arg(0)->Arg(1);

void DashedPolyline(benchmark::State& state)
{
    QImage img = backBuffer();
    PainterSurface s(img);
    std::vector<DevicePoint> points;
    for (int k = 0; k < 200; ++k) points.push_back({(k * 71) % 1600, (k * 37) % 1000});
    const Pen pen{PenStyle::DashDot, 1, 0x0000FF};
    for (auto _ : state) s.polyline(points, pen, Background::opaqueColor(0xFFFFFF));
}
BENCHMARK(DashedPolyline);

void PathGradientPolygon(benchmark::State& state)
{
    QImage img = backBuffer();
    PainterSurface s(img);
    PathGradient g;
    g.boundary = {{100, 100}, {700, 120}, {760, 600}, {400, 700}, {80, 520}};
    g.centerColor = 0xF0F0F0;
    g.surroundColor = 0x646464;
    g.blend = {{0.0, 0x646464}, {0.3, 0xF0F0F0}, {1.0, 0xF0F0F0}};
    g.opacity = 0.5;
    for (auto _ : state) s.fillPathGradient(FillShape::polygon(g.boundary), g);
}
BENCHMARK(PathGradientPolygon);

void HatchedPolygon(benchmark::State& state)
{
    QImage img = backBuffer();
    PainterSurface s(img);
    const std::vector<DevicePoint> room = {{100, 100}, {900, 100}, {900, 700}, {500, 700}, {500, 900}, {100, 900}};
    const Brush hatch = Brush::hatched(HatchStyle::DiagonalCross, 0x808080);
    for (auto _ : state)
        s.polygon(room, FillRule::Winding, Pen{PenStyle::Solid, 2, 0}, hatch, Background::opaqueColor(0xC0FFC0));
}
BENCHMARK(HatchedPolygon);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
