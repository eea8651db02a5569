// Placing fittings the way the fitting tool does on its clicks: 100 doors and windows put on the
// walls of a plan of about 2,000 joined walls, each with its undo snapshot, its library drawing
// found and read, and fitted to the wall. Also a rebuild of every placed fitting (the door
// direction command on each in turn) and a row of notation symbols along a long base line.

#include "LargeDrawing.h"

#include "app/DocToolHost.h"
#include "building/PartFiles.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/RecordingSurface.h"
#include "tools/ToolMachine.h"

#include <benchmark/benchmark.h>

namespace {

namespace fs = std::filesystem;
const fs::path kLibrary = KOVIRA_BENCH_LIBRARY;
constexpr double kRoom = 3000;
constexpr int kRooms = 31; // 2 × 31 × 32 = 1,984 walls

void buildPlan(CKovUnit& unit, const CPlotInfo& plot)
{
    for (int row = 0; row <= kRooms; ++row)
        for (int col = 0; col < kRooms; ++col) {
            unit.ResetWallOutline(unit.AddWall({col * kRoom, row * kRoom}, {(col + 1) * kRoom, row * kRoom}, 50, plot));
            unit.ResetWallOutline(unit.AddWall({row * kRoom, col * kRoom}, {row * kRoom, (col + 1) * kRoom}, 50, plot));
        }
    unit.JoinWalls(0);
}

struct Rig {
    kov::bench::BenchDocument d;
    kov::platform::RecordingSurface surface;
    kov::app::DocToolHost host{*d.doc, surface};
    kov::tools::ToolMachine m{host, kov::tools::ToolSettings{}};
    CKovUnit plan;

    Rig()
    {
        d.doc->services().folders.fittings = kLibrary / "tateg";
        d.doc->services().folders.symbols = kLibrary / "hyouki";
        m.m_Page.OnSize(1600, 1000);
        buildPlan(d.doc->m_Unit, d.doc->m_PlotInfo);
        plan.CopyFrom(d.doc->m_Unit);
        d.doc->m_PlotInfo.PlotWallPita = 0;
        d.doc->m_PlotInfo.PlotLinePita = 0;
        d.doc->m_Grid.kyutyaku = 0;
    }
    ~Rig() { plan.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
    void click(CDbPoint p)
    {
        const DeviceTransform t = *m.MakeTransform();
        DevicePoint device = ToDevicePoint(p, t, 0);
        m.DispatchToolAction(device, p, t, kov::tools::MK_LBUTTON);
        m.DispatchButtonUp(device, t, kov::tools::MK_LBUTTON);
    }
    // 100 fittings along the horizontal walls, doors and windows by turns.
    void place100()
    {
        m.StartTool(55);
        for (int i = 0; i < 100; ++i) {
            const double x = (i % kRooms) * kRoom, y = (1 + i / kRooms) * kRoom;
            m.m_Fitting.kind = i % 2 ? 3 : 2;
            m.m_Fitting.number = 1;
            click({x + 500, y});
            click({x + 2500, y});
            click({x + 1500, y + 700});
        }
    }
};

void BM_Place100Fittings(benchmark::State& state)
{
    Rig r;
    for (auto _ : state) {
        state.PauseTiming();
        r.d.doc->m_Unit.CopyFrom(r.plan);
        r.d.doc->m_Selection.Clear();
        state.ResumeTiming();
        r.place100();
        benchmark::DoNotOptimize(r.d.doc->m_Unit.m_Groups.GetSize());
    }
    if (r.d.doc->m_Unit.m_Groups.GetSize() != 100) state.SkipWithError("not every fitting was placed");
}

void BM_Rebuild100Fittings(benchmark::State& state)
{
    Rig r;
    r.place100();
    r.m.CallSelectTool();
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            SelectionRecord& sel = r.d.doc->m_Selection;
            sel.Clear();
            sel.AddGroupId(std::as_const(r.d.doc->m_Unit).m_Groups[0]->MGrpID);
            r.m.OnFlipDoor();
        }
    }
}

void BM_NotationSymbolRow(benchmark::State& state)
{
    Rig r;
    CKovUnit& unit = r.d.doc->m_Unit;
    for (auto _ : state) {
        SelectionRecord sel;
        kov::building::PartFileCache cache;
        unit.CreateNotationSymbols(sel, r.d.doc->m_PlotInfo, {{0, -2000}, {45000, -2000}}, {100, -1900}, 45000, 100,
                                   kLibrary / "hyouki" / "obj_jyari.mgp", &cache);
        state.PauseTiming();
        unit.DeleteGroup(sel.m_Groups.at(0));
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_Place100Fittings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rebuild100Fittings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NotationSymbolRow)->Unit(benchmark::kMillisecond);
