#include "app/CoordinateImport.h"

#include "app/KovView.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "dialogs/CoordinateImportDialog.h"
#include "model/CoordinateFile.h"
#include "model/KovUnit.h"
#include "platform/NumberText.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

namespace kov::app {

namespace {

constexpr const char* kTitle = "座標データファイル読み込み";
constexpr const char* kFilter = "カンマ区切りcsvファイル (*.csv);;カンマ区切りtxtファイル (*.txt)";
constexpr const char* kNoData =
    "データを取得できませんでした。ファイル内容が２列３行以上のカンマ区切りになっているかご確認ください";
constexpr const char* kUnreadable = "ファイルを読み込めませんでした。";

std::string skippedMessage(int lines)
{
    return "数値でない行（見出しなど）を" + kov::platform::formatInt(lines) + "行読み飛ばしました。";
}

} // namespace

void ImportCoordinateFile(CKoviraDoc& doc, CKoviraView& view, QWidget* parent)
{
    kov::platform::Questions& questions = doc.services().questions;
    view.PushUndo();
    view.m_ToolPoints.clear();
    view.machine().m_ToolPoints.clear();
    doc.m_Selection.Clear();
    const auto path = questions.chooseOpenFile(kTitle, kFilter, {});
    if (!path) return;
    const std::optional<kov::model::CoordinateRead> read = kov::model::ReadCoordinateFile(*path);
    if (!read) return questions.message(kUnreadable);
    if (read->rows.size() < 2) return questions.message(kNoData);
    // Header rows and notes are skipped, and the user hears how many, before choosing the figure.
    if (read->skippedLines > 0) questions.message(skippedMessage(read->skippedLines));

    kov::dialogs::CZahyoOutputDlg dialog(doc.services().profile, static_cast<int>(read->rows.size()), parent);
    if (dialog.exec() != QDialog::Accepted) return;
    const kov::dialogs::CoordinateImportChoice& c = dialog.choice();

    CDbPointArray points;
    for (const auto& row : read->rows) points.push_back(row.point);
    for (CDbPoint& p : points)
        if (c.surveying) p = CDbPoint(-p.y, -p.x);
    if (!c.noReference && c.referenceRow >= 1 && c.referenceRow <= static_cast<int>(points.size())) {
        const CDbPoint origin = points[static_cast<std::size_t>(c.referenceRow - 1)];
        for (CDbPoint& p : points) p = CDbPoint(p.x - origin.x, p.y - origin.y);
    }
    for (CDbPoint& p : points) {
        if (c.unit == 0) p = CDbPoint(p.x * 1000, p.y * 1000);
        p = CDbPoint(p.x + c.offsetX, p.y + c.offsetY);
    }

    CKovUnit& unit = doc.m_Unit;
    SelectionRecord& sel = doc.m_Selection;
    const CPlotInfo& plot = doc.m_PlotInfo;
    switch (c.figureType) {
    case 0:
        for (std::size_t i = 1; i < points.size(); ++i)
            if (const int id = unit.AddStraightLine(plot, points[i - 1], points[i]); id > 0) sel.AddLineId(id);
        break;
    case 1:
        if (points.size() < 3) return questions.message(kNoData);
        if (const int id = unit.AddPolygonFromPoints(plot, points); id > 0) sel.AddLineId(id);
        break;
    default: {
        const CKoviraApp* app = CKoviraApp::Current();
        unit.AddSegmentsOrPolyline(sel, plot, points, points.back(), app ? app->app_renzokusenbara : 0);
        break;
    }
    }
    for (std::size_t i = 0; i < read->rows.size(); ++i) {
        const std::string& label = read->rows[i].label;
        if (label.empty() || label == " ") continue;
        SelectionRecord made;
        unit.AddText(doc.m_FontMenu, points[i], label, plot, made, 0, 0);
        for (int id : made.m_Texts) sel.AddTextId(id);
    }
    view.RedrawAll();
}

} // namespace kov::app
