// The repaint of a pointer move on a 50,000-object drawing in a 1920 × 1080 view: the copy of the
// back buffer plus the preview of the tool in use, without rendering the drawing again (aim: at
// most 4 ms). The full render is measured beside it for comparison.

#include "LargeDrawing.h"

#include "app/KovView.h"
#include "tools/ToolMachine.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include <cstdlib>

namespace {

using kov::app::CKoviraView;

constexpr int kObjects = 50000;

// Lines, rectangles and circles over the whole sheet at 1:100 on A4 landscape.
void fillSheet(CKovUnit& unit)
{
    for (int i = 0; i < kObjects; ++i) {
        auto f = std::make_unique<CKovLine>();
        f->MLineID = unit.NextLineId();
        const double x = -14000 + (i % 250) * 112.0;
        const double y = -10000 + (i / 250) * 100.0;
        f->MLineType = i % 3 == 0 ? CKovLine::LINE : i % 3 == 1 ? CKovLine::RECTANGLE : CKovLine::CIRCLE;
        if (f->MLineType == CKovLine::LINE) f->MLinePnt = {{x, y}, {x + 90, y + 60}};
        else if (f->MLineType == CKovLine::RECTANGLE) f->MLinePnt = {{x, y}, {x + 90, y}, {x + 90, y + 60}, {x, y + 60}};
        else { f->MLinePnt = {{x + 45, y + 30}}; f->MLineParam = {30}; }
        unit.m_Lines.Add(std::move(f));
    }
}

struct ViewFixture {
    kov::bench::BenchDocument doc;
    CKoviraView view{*doc.doc, nullptr};

    ViewFixture()
    {
        doc.doc->m_Grid.visible = 0;
        fillSheet(doc.doc->m_Unit);
        view.resize(1920, 1080);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
        view.RedrawAll();
        view.composeFrame();
    }

    void movePointer(int x, int y)
    {
        const QPoint p(x, y);
        QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(view.viewport()->mapToGlobal(p)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
    }
};

// The pixels where the frame shown differs from the drawing behind it: the preview's.
int changedPixels(const QImage& frame, const QImage& back)
{
    const QImage a = frame.convertToFormat(QImage::Format_RGB32);
    const QImage b = back.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) n += ra[x] != rb[x];
    }
    return n;
}

ViewFixture& fixture()
{
    static ViewFixture* f = new ViewFixture; // lives until exit; Qt tears down after main
    return *f;
}

// Tool 1 (wall), 11 (polygon room), 9 (dimension), 68 (balloon), 3 (line).
void BM_PointerMoveRepaint(benchmark::State& state)
{
    ViewFixture& f = fixture();
    const int tool = int(state.range(0));
    f.doc.doc->m_nToolMode = tool;
    // The machine's points, which a move copies into the view: the view's alone are replaced.
    CDbPointArray points = {{-5000, -2000}};
    if (tool == 11) points = {{-5000, -2000}, {3000, -2000}, {3000, 2000}};
    if (tool == 9 || tool == 68) points = {{-5000, -2000}, {3000, 1000}};
    f.view.m_ToolPoints = f.view.machine().m_ToolPoints = points;
    f.view.m_ptLast = f.view.machine().m_ptLast = points.back();
    f.view.machine().m_nFirstMove = 0;
    // What is timed must draw a preview: the frame after a move differs from the back buffer.
    f.movePointer(900, 500);
    const int preview = changedPixels(f.view.composeFrame(), f.view.backBuffer());
    if (preview == 0) {
        state.SkipWithError("the move drew no preview");
        return;
    }
    state.counters["preview pixels"] = preview;
    const int renders = f.view.renderCount();
    int x = 600;
    for (auto _ : state) {
        f.movePointer(x, 500);
        QImage frame = f.view.composeFrame();
        benchmark::DoNotOptimize(frame.constBits());
        x = x >= 1400 ? 600 : x + 7;
    }
    state.counters["renders"] = f.view.renderCount() - renders;
    state.counters["width"] = f.view.backBuffer().width();
    state.counters["height"] = f.view.backBuffer().height();
}
BENCHMARK(BM_PointerMoveRepaint)->Arg(1)->Arg(11)->Arg(9)->Arg(68)->Arg(3)->Unit(benchmark::kMillisecond);

// For comparison: what a move would cost if it rendered the drawing.
void BM_FullRender(benchmark::State& state)
{
    ViewFixture& f = fixture();
    for (auto _ : state) {
        f.view.RedrawAll();
        QImage frame = f.view.composeFrame();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FullRender)->Unit(benchmark::kMillisecond);

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
