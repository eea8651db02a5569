// Full redraws through the draw passes into a 1920 × 1080 back buffer:
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
#include "render/DrawEnvironment.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

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

void addFigure(CKovUnit& unit, Lcg& rnd, double x, double y, double size, int layer)
{
    const int kinds[] = {0, 0, 0, 1, 2, 3, 4, 6};
    auto f = std::make_unique<CKovLine>();
    f->MLineID = unit.NextLineId();
    f->MLineType = kinds[rnd.pick(8)];
    f->MLineGradiation = 0;
    const double w = rnd.in(size / 20, size), h = rnd.in(size / 20, size);
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
    f->MLineLayer2 = layer;
    unit.m_Lines.Add(std::move(f));
}

void addWall(CKovUnit& unit, double x, double y, double length, bool vertical, int layer)
{
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = unit.NextWallId();
    wall->MWallPntA = {x, y};
    wall->MWallPntB = vertical ? CDbPoint(x, y + length) : CDbPoint(x + length, y);
    CKovUnit::ComputeWallCorners(wall->MWallPntKado, wall->MWallPntA, wall->MWallPntB, 60, 1);
    const auto& c = wall->MWallPntKado;
    wall->MWallarPntA = {c[0], c[1], c[2], c[3]};
    wall->MWallarPntB = {c[1], c[2], c[3], c[0]};
    wall->MWallLayer2 = layer;
    unit.m_Walls.Add(std::move(wall));
}

void addText(CKovUnit& unit, double x, double y, int n, int layer)
{
    auto text = std::make_unique<CKovText>();
    text->MTextID = unit.NextTextId();
    text->MTextstr = n % 3 == 0 ? "洋室 " + std::to_string(n) + "\r\n6.0畳" : "W" + std::to_string(n);
    text->MTextpnt = {x, y};
    text->MTextFontMenu.m_size = 3.0;
    text->MTextLayer2 = layer;
    unit.m_Texts.Add(std::move(text));
}

// A plan of `extent` × extent·9/16 drawing millimetres.
void makeDrawing(CKovUnit& unit, double extent, int figures, int texts, int walls)
{
    Lcg rnd;
    const double height = extent * 9 / 16;
    for (int i = 0; i < walls; ++i)
        addWall(unit, rnd.in(0, extent), rnd.in(0, height), rnd.in(900, 3640), i % 2 == 1, 1 + i % 3);
    for (int i = 0; i < figures; ++i)
        addFigure(unit, rnd, rnd.in(0, extent), rnd.in(0, height), extent / 40, 4 + i % 6);
    for (int i = 0; i < texts; ++i) addText(unit, rnd.in(0, extent), rnd.in(0, height), i, 10 + i % 2);
}

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
        const double scale = kWidth / extent * zoom;
        transform.scaleX.fill(scale);
        transform.scaleY.fill(scale);
        transform.paperScale = scale * 100;  // drawn at 1:100
        transform.originX = int(kWidth / 2 - extent / 2 * scale);
        transform.originY = int(kHeight / 2 - extent * 9 / 32 * scale);
    }

    void draw()
    {
        image.fill(Qt::white);
        kov::platform::PainterSurface surface(image);
        unit.DrawAllByLayer(surface, transform, plot, selection, false, false, env);
    }
};

void run(benchmark::State& state, Scene& scene, int objects, const std::string& name)
{
    for (auto _ : state) {
        scene.draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * objects);
    if (std::getenv("KOVIRA_BENCH_SAVE") != nullptr)
        scene.image.save(QString::fromStdString("/tmp/kov-" + name + ".png"));
}

void LargeDrawingFitted(benchmark::State& state)
{
    Scene scene(60000, 43000, 5000, 2000, 1.0);
    run(state, scene, 50000, "fitted");
}
BENCHMARK(LargeDrawingFitted)->Unit(benchmark::kMillisecond);

void LargeDrawingZoomedToATenth(benchmark::State& state)
{
    Scene scene(60000, 43000, 5000, 2000, std::sqrt(10.0));
    run(state, scene, 50000, "zoomed");
}
BENCHMARK(LargeDrawingZoomedToATenth)->Unit(benchmark::kMillisecond);

// Zoomed onto an empty corner far from everything: what the pass costs when nothing shows.
void LargeDrawingNothingVisible(benchmark::State& state)
{
    Scene scene(60000, 43000, 5000, 2000, 1.0);
    scene.transform.originX = -1000000;
    run(state, scene, 50000, "nothing");
}
BENCHMARK(LargeDrawingNothingVisible)->Unit(benchmark::kMillisecond);

void HouseFitted(benchmark::State& state)
{
    Scene scene(14000, 1500, 350, 150, 1.0);
    run(state, scene, 2000, "house");
}
BENCHMARK(HouseFitted)->Unit(benchmark::kMillisecond);

// A plan as drawn: a 5 × 3 grid of rooms with their floors, labels and doors, walls on the grid
// lines, columns at the crossings, fittings of thin outlines, dimensions and notes: 2,000 objects
// with few fills.
void makeHouse(CKovUnit& unit)
{
    Lcg rnd;
    constexpr double kRoomW = 3640, kRoomH = 2730;
    constexpr int kCols = 5, kRows = 3;
    int objects = 0;
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c < kCols; ++c, ++objects) addWall(unit, c * kRoomW, r * kRoomH, kRoomW, false, 1);
    for (int c = 0; c <= kCols; ++c)
        for (int r = 0; r < kRows; ++r, ++objects) addWall(unit, c * kRoomW, r * kRoomH, kRoomH, true, 1);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            const double x = c * kRoomW, y = r * kRoomH;
            auto floor = std::make_unique<CKovLine>();
            floor->MLineID = unit.NextLineId();
            floor->MLineType = CKovLine::POLYGON;
            floor->MLinePnt = {{x + 60, y + 60}, {x + kRoomW - 60, y + 60}, {x + kRoomW - 60, y + kRoomH - 60},
                               {x + 60, y + kRoomH - 60}};
            floor->MLinebNakanuri = 1;
            floor->MLineNakaColor = 0xE0F0FF;
            floor->MLineGradiation = 0;
            unit.m_Lines.Add(std::move(floor));
            addText(unit, x + kRoomW / 2, y + kRoomH / 2, 3 * (r * kCols + c), 3);
            // A door: its leaf and swing.
            auto leaf = std::make_unique<CKovLine>();
            leaf->MLineID = unit.NextLineId();
            leaf->MLineType = CKovLine::ARC;
            leaf->MLinePnt = {{x + 200, y + 60}, {x + 980, y + 60}, {x + 200, y + 840}};
            leaf->MLineParam = {780};
            leaf->MLineGradiation = 0;
            unit.m_Lines.Add(std::move(leaf));
            objects += 3;
        }
    }
    // Fittings: thin outlines of furniture and fixtures, a few filled.
    while (objects < 1800) {
        const double x = rnd.in(200, kCols * kRoomW - 900), y = rnd.in(200, kRows * kRoomH - 900);
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        f->MLineGradiation = 0;
        const double w = rnd.in(150, 900), h = rnd.in(150, 900);
        switch (rnd.pick(4)) {
        case 0: f->MLineType = CKovLine::LINE; f->MLinePnt = {{x, y}, {x + w, y}}; break;
        case 1: f->MLineType = CKovLine::RECTANGLE; f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; break;
        case 2: f->MLineType = CKovLine::CIRCLE; f->MLinePnt = {{x, y}}; f->MLineParam = {w / 3}; break;
        default: f->MLineType = CKovLine::POLYGON;
                 f->MLinePnt = {{x, y}, {x + w, y}, {x + w, y + h / 2}, {x + w / 2, y + h}, {x, y + h}}; break;
        }
        f->MLinebNakanuri = rnd.pick(10) == 0 ? 1 : 0;
        f->MLineNakaColor = 0xD0D0D0;
        f->MLineLayer2 = 4;
        unit.m_Lines.Add(std::move(f));
        ++objects;
    }
    while (objects < 2000) {
        if (objects % 2 == 0) {
            const double x = rnd.in(0, kCols * kRoomW - 2000), y = rnd.in(0, kRows * kRoomH);
            auto d = std::make_unique<CKovLine>();
            d->MLineID = unit.NextLineId();
            d->MLineType = CKovLine::DIMENSION;
            d->MLinePnt = {{x, y}, {x + 1820, y}, {x + 910, y - 300}};
            d->MLineParam = {1, 1820, 300};
            d->MLineGradiation = 0;
            d->MLineLayer2 = 5;
            unit.m_Lines.Add(std::move(d));
        } else {
            auto t = std::make_unique<CKovText>();
            t->MTextID = unit.NextTextId();
            t->MTextstr = "収納";
            t->MTextpnt = {rnd.in(0, kCols * kRoomW), rnd.in(0, kRows * kRoomH)};
            t->MTextFontMenu.m_size = 2.5;
            t->MTextLayer2 = 6;
            unit.m_Texts.Add(std::move(t));
        }
        ++objects;
    }
}

void HouseAsDrawnFitted(benchmark::State& state)
{
    Scene scene(20000, 0, 0, 0, 1.0);
    makeHouse(scene.unit);
    scene.transform.originY = int(kHeight / 2 - 3 * 2730 / 2.0 * scene.transform.scaleX[0]);
    run(state, scene, 2000, "house-as-drawn");
}
BENCHMARK(HouseAsDrawnFitted)->Unit(benchmark::kMillisecond);

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
