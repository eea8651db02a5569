// Automatic dimensions of a 2,000-wall plan: the container operation alone, and the whole command
// as the menu runs it through the main window (undo snapshot, the dialog answered at once, the
// dimensions, the return to select mode and the redraw of the view).

#include "LargeDrawing.h"

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/MainWindow.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>

#include <cstdlib>

namespace {

constexpr int kWalls = 2000;

// Rows and columns of 3 m rooms on a square grid, about kWalls walls, joined.
void buildPlan(CKovUnit& unit)
{
    CPlotInfo plot;
    int k = 1;
    while (2 * k * (k + 1) < kWalls) ++k;
    const double cell = 3000.0;
    int made = 0;
    for (int row = 0; row <= k && made < kWalls; ++row)
        for (int col = 0; col < k && made < kWalls; ++col, ++made)
            unit.AddWall({col * cell, row * cell}, {(col + 1) * cell, row * cell}, 50.0, plot);
    for (int col = 0; col <= k && made < kWalls; ++col)
        for (int row = 0; row < k && made < kWalls; ++row, ++made)
            unit.AddWall({col * cell, row * cell}, {col * cell, (row + 1) * cell}, 50.0, plot);
    for (const auto& w : std::as_const(unit).m_Walls) unit.ResetWallOutline(w->MWallID);
    unit.JoinWalls(0);
}

void BM_CreateAutoDimensions(benchmark::State& state)
{
    CKovUnit plan;
    buildPlan(plan);
    CPlotInfo plot;
    CKovUnit unit;
    std::size_t made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        unit.CopyFrom(plan);
        state.ResumeTiming();
        SelectionRecord sel;
        unit.CreateAutoDimensions(800, 800, 0, {0, 0}, {0, 0}, sel, plot);
        made = sel.m_Lines.size();
    }
    state.counters["walls"] = static_cast<double>(plan.m_Walls.size());
    state.counters["dimensions"] = static_cast<double>(made);
}
BENCHMARK(BM_CreateAutoDimensions)->Unit(benchmark::kMillisecond);

struct WindowFixture {
    kov::bench::BenchDocument doc;
    kov::app::MainWindow window{doc.doc.get()};
    WindowFixture()
    {
        buildPlan(doc.doc->m_Unit);
        window.resize(1600, 1000);
        window.show();
        QApplication::processEvents();
        window.runDialog = [](QDialog& d) {
            d.accept();
            return true;
        };
    }
};

void BM_AutoDimensionsCommand(benchmark::State& state)
{
    static WindowFixture* f = new WindowFixture; // lives until exit; Qt tears down after main
    kov::app::CKoviraDoc& doc = *f->doc.doc;
    std::size_t made = 0;
    for (auto _ : state) {
        f->window.RunCommand(kov::app::cmd::AutoDimensions);
        made = doc.m_Selection.m_Lines.size();
        state.PauseTiming();
        doc.Undo();
        state.ResumeTiming();
    }
    state.counters["walls"] = static_cast<double>(doc.m_Unit.m_Walls.size());
    state.counters["dimensions"] = static_cast<double>(made);
    if (made == 0) state.SkipWithError("the command made no dimensions");
}
BENCHMARK(BM_AutoDimensionsCommand)->Unit(benchmark::kMillisecond);

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
