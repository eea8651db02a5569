// The elevation command's work: the four elevations (south, north, east, west) of a three-floor
// plan of about 2,000 joined walls with 100 fittings drawn from the elevation library the program
// ships, each floor a grid of rooms. The plan is restored from a shared copy before each run.

#include "building/Elevations.h"
#include "building/Fittings.h"
#include "building/PartFiles.h"
#include "building/PartLibrary.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/SelectionRecord.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
const fs::path kLibrary = KOVIRA_BENCH_LIBRARY;
constexpr double kRoom = 3000;
constexpr int kRooms = 18; // 2 × 18 × 19 = 684 walls a floor, 2,052 in all

struct Plan {
    CKovUnit unit;
    CPlotInfo plot;
    CRituInfo ritu;

    Plan()
    {
        ritu.kai = 3;
        ritu.ritugrp_lay = 3;
        for (int floor = 0; floor < 3; ++floor) {
            plot.m_Layer.m_nCurrentGroup = floor;
            for (int row = 0; row <= kRooms; ++row)
                for (int col = 0; col < kRooms; ++col) {
                    unit.ResetWallOutline(unit.AddWall({col * kRoom, row * kRoom}, {(col + 1) * kRoom, row * kRoom}, 75, plot));
                    unit.ResetWallOutline(unit.AddWall({row * kRoom, col * kRoom}, {row * kRoom, (col + 1) * kRoom}, 75, plot));
                }
            unit.JoinWalls(floor);
        }
        // 100 windows and doors on the outer walls of the three floors, all four sides.
        kov::building::FittingChoice choice;
        choice.number = 1;
        choice.thickness = 150;
        for (int i = 0; i < 100; ++i) {
            plot.m_Layer.m_nCurrentGroup = i % 3;
            choice.kind = i % 2 ? 3 : 2;
            const double a = (i / 4 % kRooms) * kRoom, edge = kRooms * kRoom;
            CDbPoint p0, p1, side;
            switch (i % 4) {
            case 0: p0 = {a + 500, edge}, p1 = {a + 2500, edge}, side = {a + 1500, edge + 700}; break;
            case 1: p0 = {a + 500, 0}, p1 = {a + 2500, 0}, side = {a + 1500, -700}; break;
            case 2: p0 = {edge, a + 500}, p1 = {edge, a + 2500}, side = {edge + 700, a + 1500}; break;
            default: p0 = {0, a + 500}, p1 = {0, a + 2500}, side = {-700, a + 1500}; break;
            }
            const int id = kov::building::InsertPartFile(kov::building::FindFittingFile(kLibrary / "tateg", choice.kind, 1),
                                                         unit, plot);
            SelectionRecord s;
            unit.PlaceFitting(s, plot, {p0, p1}, side, id, choice, kov::building::FittingRules{});
        }
        // A hip roof over the top floor.
        plot.m_Layer.m_nCurrentGroup = 2;
        SelectionRecord s;
        unit.CreateRoof(s, plot, {{0, 0}, {kRooms * kRoom, kRooms * kRoom}, {-100, kRooms * kRoom / 2}}, 1, 1, ritu);
    }
    ~Plan() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
};

void BM_FourElevations(benchmark::State& state)
{
    Plan plan;
    CKovUnit work;
    std::size_t made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        work.CopyFrom(plan.unit);
        state.ResumeTiming();
        kov::building::PartFileCache cache;
        kov::building::ElevationLibrary library{kLibrary / "ritutateg", &cache, 0};
        SelectionRecord sel;
        const double w = 60000, h = 40000;
        const CDbPoint offsets[] = {{-w, -h}, {-w, h}, {w, -h}, {w, h}};
        for (int d = 1; d <= 4; ++d)
            work.CreateElevations(offsets[d - 1].x, offsets[d - 1].y, sel, plan.plot, plan.ritu, d, &library);
        made = static_cast<std::size_t>(work.m_Lines.GetSize() - plan.unit.m_Lines.GetSize());
    }
    state.counters["figures_made"] = static_cast<double>(made);
    state.counters["walls"] = static_cast<double>(plan.unit.m_Walls.GetSize());
    work.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}
BENCHMARK(BM_FourElevations)->Unit(benchmark::kMillisecond);

} // namespace
