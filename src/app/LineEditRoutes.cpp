// The commands that turn polylines into lines: exploding the selected rectangles, polygons and
// continuous lines, and cutting every corner of them with a chamfer or a fillet.

#include "app/CommandIds.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "dialogs/ChamferDialogs.h"
#include "model/KovUnit.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

#include <utility>

namespace kov::app {

namespace {

constexpr const char* kNotAPolyline = "選択物が多角形又は四角形、連続線ではありません";

bool isPolyline(int kind)
{
    return kind == CKovLine::RECTANGLE || kind == CKovLine::POLYGON || kind == CKovLine::CONTINUOUS;
}

CDbPoint midpoint(const CKovLine& line)
{
    return {(line.MLinePnt[0].x + line.MLinePnt[1].x) / 2, (line.MLinePnt[0].y + line.MLinePnt[1].y) / 2};
}

// One exploded figure: its sides in order, and whether its last side meets its first.
struct Sides {
    std::vector<int> ids;
    bool closed = false;
};

// Explodes the selected polylines one by one, so that each keeps its own corners: the corners of
// one figure are never joined to the sides of another.
std::vector<Sides> explodeEach(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot)
{
    std::vector<Sides> figures;
    SelectionRecord all;
    for (const int id : std::vector<int>(selection.m_Lines)) {
        const CKovLine* f = std::as_const(unit).FindLine(id);
        if (!f || !isPolyline(f->MLineType))
            continue;
        Sides sides;
        sides.closed = f->MLineType != CKovLine::CONTINUOUS;
        SelectionRecord one;
        one.AddLineId(id);
        unit.ExplodePolylines(one, plot);
        sides.ids = one.m_Lines;
        for (const int side : sides.ids) all.AddLineId(side);
        figures.push_back(std::move(sides));
    }
    selection = all;
    return figures;
}

} // namespace

void MainWindow::buildLineEditRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    auto& questions = doc.services().questions;

    V(cmd::PolylineToLines, [&doc, &view] {
        view.PushUndo();
        doc.m_Unit.ExplodePolylines(doc.m_Selection, doc.m_PlotInfo);
        view.RedrawAll();
    });

    V(cmd::ChamferPolylineCorners, [&doc, &view, &questions] {
        view.PushUndo();
        const SelectionRecord& sel = doc.m_Selection;
        if (sel.m_Lines.empty())
            return questions.message(kNotAPolyline);
        const CKovLine* first = std::as_const(doc.m_Unit).FindLine(sel.m_Lines.front());
        if (!first)
            return;
        if (!isPolyline(first->MLineType))
            return questions.message(kNotAPolyline);
        const std::vector<Sides> figures = explodeEach(doc.m_Unit, doc.m_Selection, doc.m_PlotInfo);
        view.RedrawAll();

        kov::tools::ToolMachine& m = view.machine();
        kov::dialogs::ChamferDialog dialog(m.m_ChamferSizes, m.m_nChamferMode, &view);
        if (dialog.exec() != QDialog::Accepted)
            return; // the polylines stay exploded
        m.m_ChamferSizes = dialog.sizes();
        m.m_nChamferMode = dialog.mode();

        auto tell = [&questions](std::string_view text) { questions.message(text); };
        CKovUnit& unit = doc.m_Unit;
        for (const Sides& figure : figures) {
            const std::size_t n = figure.ids.size();
            const std::size_t corners = figure.closed ? n : (n > 0 ? n - 1 : 0);
            for (std::size_t k = 0; k < corners && n >= 2; ++k) {
                const int a = figure.ids[k], b = figure.ids[(k + 1) % n];
                const CKovLine* la = std::as_const(unit).FindLine(a);
                const CKovLine* lb = std::as_const(unit).FindLine(b);
                if (!la || !lb)
                    continue;
                unit.ChamferPair(a, b, midpoint(*la), midpoint(*lb), doc.m_PlotInfo, m.m_ChamferSizes,
                                 m.m_nChamferMode, tell);
            }
        }
        doc.m_Selection.Clear();
        view.RedrawAll();
    });
}

} // namespace kov::app
