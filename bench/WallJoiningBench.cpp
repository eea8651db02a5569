// Joining the walls of one layer group: a plan of rooms on a square grid (every crossing an L, T or
// cross joint) with a few oblique walls, and plans of walls as long as the plan, joined from freshly
// reset outlines.

#include "building/WallJoining.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// Close to `count` walls: rows and columns of 3 m rooms, every twentieth room with a diagonal wall.
std::vector<int> buildPlan(CKovUnit& unit, int count)
{
    CPlotInfo plot;
    std::vector<int> ids;
    int k = 1;
    while (2 * k * (k + 1) + k * k / 20 < count)
        ++k;
    const double cell = 3000.0;
    auto add = [&](CDbPoint a, CDbPoint b, double t) {
        const int id = unit.AddWall(a, b, t, plot);
        if (id > 0)
            ids.push_back(id);
    };
    for (int row = 0; row <= k; ++row)
        for (int col = 0; col < k; ++col)
            add({col * cell, row * cell}, {(col + 1) * cell, row * cell}, row % 3 == 0 ? 75.0 : 50.0);
    for (int col = 0; col <= k; ++col)
        for (int row = 0; row < k; ++row)
            add({col * cell, row * cell}, {col * cell, (row + 1) * cell}, col % 4 == 0 ? 75.0 : 50.0);
    for (int room = 0; room < k * k; room += 20) {
        const double x = (room % k) * cell, y = (room / k) * cell;
        add({x + 500, y + 2500}, {x + 2500, y + 500}, 50.0);
    }
    return ids;
}

// Times one join of the plan per iteration, every outline reset beforehand.
void timeJoins(benchmark::State& state, CKovUnit& unit, const std::vector<int>& ids, bool prefilter)
{
    for (auto _ : state) {
        state.PauseTiming();
        for (int id : ids)
            unit.ResetWallOutline(id);
        state.ResumeTiming();
        kov::building::joinWalls(unit, 0, prefilter);
        benchmark::ClobberMemory();
    }
    state.counters["walls"] = static_cast<double>(ids.size());
    unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

void BM_JoinWalls(benchmark::State& state)
{
    CKovUnit unit;
    const std::vector<int> ids = buildPlan(unit, static_cast<int>(state.range(0)));
    timeJoins(state, unit, ids, true);
}

// The same plan with one stray wall far off (as a damaged or carelessly merged drawing has), which
// stretches the area the prefilter covers.
void BM_JoinWallsWithStrayWall(benchmark::State& state)
{
    CKovUnit unit;
    std::vector<int> ids = buildPlan(unit, static_cast<int>(state.range(0)));
    ids.push_back(unit.AddWall({1e7, 1e7}, {1e7 + 3000, 1e7 + 1000}, 50.0, CPlotInfo()));
    timeJoins(state, unit, ids, true);
}

// The same join testing every edge against every wall of the group, for comparison.
void BM_JoinWallsUnfiltered(benchmark::State& state)
{
    CKovUnit unit;
    const std::vector<int> ids = buildPlan(unit, static_cast<int>(state.range(0)));
    timeJoins(state, unit, ids, false);
}

// Walls each as long as the whole 300 m plan, as a site plan of grid lines drawn as walls has: every
// wall's box covers most of the plan. Layouts: 0 parallel oblique walls side by side (300 mm apart
// at 1,000 walls, overlapping at 10,000), 1 through random points at random angles and 2 random
// lines between the plan's sides (both crossing each other hundreds of times, so each wall's outline
// is cut into hundreds of pieces).
void BM_JoinPlanLongWalls(benchmark::State& state)
{
    CKovUnit unit;
    CPlotInfo plot;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> at(0.0, 300000.0), turn(0.0, 3.14159265358979);
    std::vector<int> ids;
    const int count = static_cast<int>(state.range(0));
    const int layout = static_cast<int>(state.range(1));
    for (int k = 0; k < count; ++k) {
        CDbPoint a, b;
        if (layout == 0) {
            const double y = std::round(300000.0 * k / count);
            a = {0, y}, b = {212132, y + 212132};
        } else if (layout == 1) {
            const CDbPoint c{std::round(at(rng)), std::round(at(rng))};
            const double angle = turn(rng);
            const CDbPoint d{std::round(150000.0 * std::cos(angle)), std::round(150000.0 * std::sin(angle))};
            a = {c.x - d.x, c.y - d.y}, b = {c.x + d.x, c.y + d.y};
        } else {
            a = {0, std::round(at(rng))}, b = {300000, std::round(at(rng))};
            if (k % 2)
                std::swap(a.x, a.y), std::swap(b.x, b.y);
        }
        const int id = unit.AddWall(a, b, 50.0, plot);
        if (id > 0)
            ids.push_back(id);
    }
    timeJoins(state, unit, ids, true);
}

} // namespace

// Aim: 10,000 plan-long walls side by side joined within 5 s.
BENCHMARK(BM_JoinPlanLongWalls)
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({1000, 1})
    ->Args({1000, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JoinWalls)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JoinWallsWithStrayWall)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JoinWallsUnfiltered)->Arg(1000)->Unit(benchmark::kMillisecond);
