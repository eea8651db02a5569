// Reading and writing the 60,000-entity floor plan that ../shared/tools/gen_dxf.py makes (walls,
// door arcs and CP932 room labels, python3-ezdxf). The file is made at start-up in a temporary
// folder; without python3-ezdxf the benchmarks say so and skip.

#include "io/DxfReader.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
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
        for (const QString python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
