// DXF to PDF: the 60,000-entity floor plan that ../shared/tools/gen_dxf.py makes (python3-ezdxf) is
// read into a fresh drawing, laid out on A3 landscape (a scale that fits the drawing's extents,
// the extents centred through the range print) and printed as one PDF page at 600 dpi. The plan
// is made at start-up in a temporary folder; without python3-ezdxf the benchmarks say so and skip.
// KOVIRA_BENCH_PDF=<file> keeps the printed page.

#include "BenchApplication.h"
#include "FloorPlanPage.h"

#include "io/DxfReader.h"
#include "io/Printing.h"
#include "model/FontMenu.h"
#include "model/Grid.h"
#include "model/KovLine.h"
#include "model/KovText.h"
#include "model/KovUnit.h"
#include "model/PaperSizes.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/DrawEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
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

void print(CKovUnit& unit, const CPlotInfo& plot, const kov::io::PrintOptions& options, const QString& pdf)
{
    CGrid grid;
    SelectionRecord selection;
    CKovUnit::DrawEnvironment env;
    const kov::io::PrintPasses passes = kov::io::DrawingPrintPasses(unit, plot, selection, false, env);
    if (!kov::io::PrintToPdf(pdf.toStdString(), plot, grid, options, passes))
        throw std::runtime_error("the PDF could not be started");
}

// Read, lay out, print: what the user waits for between choosing the file and holding the page.
void BM_DxfToPdf(benchmark::State& state)
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
        SelectionRecord selection;
        const auto result = unit->ReadDxfFile(plan().path.toStdString(), selection, plot, CFontMenu{}, {});
        const kov::io::PrintOptions options = kov::bench::LayOutOnA3(*unit, plot);
        print(*unit, plot, options, pdf);
        state.counters["figures"] = result.figures;
        state.counters["texts"] = result.texts;
        state.counters["scale"] = plot.m_Layer.m_dScale[0];
        // Emptying the drawing is no part of it.
        state.PauseTiming();
        unit.reset();
        state.ResumeTiming();
    }
    state.counters["pdf_kB"] = static_cast<double>(QFileInfo(pdf).size()) / 1024.0;
    const double ink = kov::bench::PageInk(pdf);
    state.counters["ink_pct"] = ink * 100;
    if (ink >= 0 && ink < 0.002) state.SkipWithError("the printed page is empty");
    // KOVIRA_BENCH_PDF=<file> keeps the page to look at.
    if (const char* keep = std::getenv("KOVIRA_BENCH_PDF")) {
        QFile::remove(QString::fromLocal8Bit(keep));
        QFile::copy(pdf, QString::fromLocal8Bit(keep));
    }
}
BENCHMARK(BM_DxfToPdf)->Unit(benchmark::kMillisecond);

// The print alone, of the drawing already read and laid out.
void BM_FloorPlanPrintToPdf(benchmark::State& state)
{
    if (!plan().error.empty()) {
        state.SkipWithError(plan().error.c_str());
        return;
    }
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    unit.ReadDxfFile(plan().path.toStdString(), selection, plot, CFontMenu{}, {});
    const kov::io::PrintOptions options = kov::bench::LayOutOnA3(unit, plot);
    QTemporaryDir out;
    const QString pdf = out.filePath("floorplan.pdf");
    for (auto _ : state)
        print(unit, plot, options, pdf);
    state.counters["pdf_kB"] = static_cast<double>(QFileInfo(pdf).size()) / 1024.0;
}
BENCHMARK(BM_FloorPlanPrintToPdf)->Unit(benchmark::kMillisecond);

} // namespace

KOV_BENCHMARK_MAIN_WITH_GUI()
