// Reading, writing and printing to PDF the 60,000-entity floor plan that ../shared/tools/gen_dxf.py
// makes (walls, door arcs and CP932 room labels, python3-ezdxf). The file is made at the first
// benchmark in a temporary folder; without python3-ezdxf the benchmarks say so and skip.

#include "BenchApplication.h"
#include "FloorPlanPage.h"

#include "io/DxfReader.h"
#include "io/Printing.h"
#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/DrawEnvironment.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace {

constexpr int kEntities = 60000;

struct FloorPlan {
    QTemporaryDir dir;
    QString path;
    std::string error;

    FloorPlan()
    {
        path = dir.filePath("floorplan.dxf");
        const QString tool = QStringLiteral(KOVIRA_SHARED_TOOLS "/gen_dxf.py");
        for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
            QProcess p;
            p.start(python, {tool, QString::number(kEntities), path});
            if (p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) return;
        }
        error = "no python3 with ezdxf (Debian's python3-ezdxf) to make the floor plan";
    }
};

const FloorPlan& plan()
{
    static const FloorPlan f;
    return f;
}

void BM_DxfReadFloorPlan(benchmark::State& state)
{
    if (!plan().error.empty()) {
        state.SkipWithError(plan().error.c_str());
        return;
    }
    for (auto _ : state) {
        auto unit = std::make_unique<CKovUnit>();
        CPlotInfo plot;
        SelectionRecord selection;
        const auto result = unit->ReadDxfFile(plan().path.toStdString(), selection, plot, CFontMenu{}, {});
        benchmark::DoNotOptimize(result.figures);
        state.counters["figures"] = result.figures;
        state.counters["texts"] = result.texts;
        // Emptying the drawing is no part of reading it.
        state.PauseTiming();
        unit.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DxfReadFloorPlan)->Unit(benchmark::kMillisecond);

void BM_DxfWriteFloorPlan(benchmark::State& state)
{
    if (!plan().error.empty()) {
        state.SkipWithError(plan().error.c_str());
        return;
    }
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    unit.ReadDxfFile(plan().path.toStdString(), selection, plot, CFontMenu{}, {});
    QTemporaryDir out;
    const std::string target = out.filePath("written.dxf").toStdString();
    for (auto _ : state) {
        const std::string message = unit.WriteDxfFile(target, plot);
        if (!message.empty()) state.SkipWithError(message.c_str());
    }
    state.counters["objects"] = unit.m_Lines.GetSize() + unit.m_Texts.GetSize();
}
BENCHMARK(BM_DxfWriteFloorPlan)->Unit(benchmark::kMillisecond);

// The whole way from the file to paper: read into a new drawing, lay it out on A3 as the print
// benchmark does and print its one page into a PDF file, which must show the plan.
void BM_DxfToPdfFloorPlan(benchmark::State& state)
{
    if (!plan().error.empty()) {
        state.SkipWithError(plan().error.c_str());
        return;
    }
    QTemporaryDir out;
    const QString pdf = out.filePath("floorplan.pdf");
    for (auto _ : state) {
        auto unit = std::make_unique<CKovUnit>();
        CPlotInfo plot;
        CGrid grid;
        SelectionRecord selection;
        unit->ReadDxfFile(plan().path.toStdString(), selection, plot, CFontMenu{}, {});
        const kov::io::PrintOptions options = kov::bench::LayOutOnA3(*unit, plot);
        CKovUnit::DrawEnvironment env;
        const auto passes = kov::io::DrawingPrintPasses(*unit, plot, selection, false, env);
        if (!kov::io::PrintToPdf(pdf.toStdString(), plot, grid, options, passes))
            state.SkipWithError("the PDF could not be printed");
        state.PauseTiming();
        unit.reset();
        state.ResumeTiming();
    }
    const double ink = kov::bench::PageInk(pdf);
    state.counters["ink_pct"] = ink * 100;
    if (ink >= 0 && ink < 0.002) state.SkipWithError("the printed page is empty");
}
BENCHMARK(BM_DxfToPdfFloorPlan)->Unit(benchmark::kMillisecond);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
