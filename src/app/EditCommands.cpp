#include "app/EditCommands.h"

#include "app/AppTexts.h"
#include "app/KoviraDoc.h"
#include "app/KovView.h"
#include "edit/EditTexts.h"
#include "edit/GroupCopies.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"
#include "platform/Questions.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace kov::app {

namespace {

constexpr int kFittingGroup = 2;

// Walls of the current layer group rebuilt and joined again after walls moved.
void rejoinWalls(CKoviraDoc& doc)
{
    CKovUnit& unit = doc.m_Unit;
    const int g = doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
    std::vector<int> ids;
    for (const auto& w : std::as_const(unit).m_Walls)
        if (w->MWallLayer1 == g)
            ids.push_back(w->MWallID);
    for (int id : ids)
        unit.ResetWallOutline(id);
    unit.JoinWalls(g);
}

bool movesWalls(const CKoviraDoc& doc, const SelectionRecord& sel)
{
    if (!sel.m_Walls.empty())
        return true;
    for (int id : sel.m_Groups)
        if (const CKovGroup* g = doc.m_Unit.FindGroup(id); g && !g->MGrpWallID.empty())
            return true;
    return false;
}

void registerPictures(CKoviraDoc& doc, const SelectionRecord& sel)
{
    for (int id : sel.m_Images)
        doc.AddTempImageNumber(static_cast<std::uint32_t>(id));
}

void tellDrawingFull(CKoviraDoc& doc)
{
    doc.services().questions.message(kov::edit::texts::kCopyDrawingFull, kAppWindowTitle,
                                     kov::platform::MessageIcon::Warning);
}

// A layer group the dialog gave, when it gave one of the drawing's.
bool validGroup(int g) { return g >= 0 && g < CLayer::kUsed; }

std::string layerQuestion(const char* format, int source, int target)
{
    std::string text = format;
    for (int value : {source, target}) {
        const auto at = text.find("%d");
        if (at != std::string::npos)
            text.replace(at, 2, std::to_string(value));
    }
    return text;
}

} // namespace

void OnDuplicateSelection(CKoviraDoc& doc, CKoviraView& view)
{
    view.PushUndo();
    // One near distance on the screen, in whole drawing millimetres: the copy lies up and to the
    // left of its source.
    double dx = 0, dy = 0;
    if (const std::optional<DeviceTransform> t = view.WindowTransform()) {
        const auto g = static_cast<std::size_t>(std::clamp(doc.m_PlotInfo.m_Layer.m_nCurrentGroup, 0, 15));
        if (t->scaleX[g] != 0)
            dx = std::trunc(g_nSnapTolerance / t->scaleX[g]);
        if (t->scaleY[g] != 0)
            dy = std::trunc(g_nSnapTolerance / t->scaleY[g]);
    }
    if (!doc.m_Unit.DuplicateSelection(doc.m_Selection, dx, dy, doc.m_PlotInfo, doc.TempImageFolder())) {
        tellDrawingFull(doc);
        return;
    }
    registerPictures(doc, doc.m_Selection);
    if (movesWalls(doc, doc.m_Selection))
        rejoinWalls(doc);
    view.RedrawAll();
}

void OnNumericCopy(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask)
{
    // The whole command is one undo step.
    view.PushUndo();
    const std::optional<kov::dialogs::ObjectMoveForm> answer =
        ask.move ? ask.move(kov::dialogs::ObjectMoveForm::COPY) : std::nullopt;
    if (!answer) {
        view.RedrawAll();
        return;
    }
    CKovUnit& unit = doc.m_Unit;
    const CKovUnit& reader = unit;
    const SelectionRecord before = doc.m_Selection;
    // Pictures are neither copied nor kept selected.
    SelectionRecord work = doc.m_Selection;
    work.m_nCount -= static_cast<int>(work.m_Images.size());
    work.m_Images.clear();
    doc.m_Selection.Clear();

    // The selection's extent over the points of its figures and walls (texts do not count).
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    auto take = [&](const CDbPoint& p) {
        if (!any) {
            minX = maxX = p.x, minY = maxY = p.y;
            any = true;
        }
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    };
    auto takeFigure = [&](int id) {
        if (const CKovLine* f = reader.FindLine(id))
            for (const CDbPoint& p : f->MLinePnt)
                take(p);
    };
    auto takeWall = [&](int id) {
        if (const CKovWall* w = reader.FindWall(id)) {
            take(w->MWallPntA);
            take(w->MWallPntB);
        }
    };
    for (int id : work.m_Groups)
        if (const CKovGroup* g = reader.FindGroup(id)) {
            for (int m : g->MGrpLineID)
                takeFigure(m);
            for (int m : g->MGrpWallID)
                takeWall(m);
        }
    for (int id : work.m_Lines)
        takeFigure(id);
    for (int id : work.m_Walls)
        takeWall(id);
    double dx = answer->m_dx, dy = answer->m_dy;
    if (answer->m_nShift == 1)
        dx += answer->m_right ? maxX - minX : -(maxX - minX);
    else if (answer->m_nShift == 2)
        dy += answer->m_down ? maxY - minY : -(maxY - minY);

    const std::filesystem::path folder = doc.TempImageFolder();
    // All the copies or none: running out of identifiers at copy k takes back the k - 1 before it.
    const kov::edit::CopyMark mark(unit);
    for (int k = 0; k < answer->m_nCopies; ++k) {
        if (!unit.DuplicateSelection(work, 0, 0, doc.m_PlotInfo, folder)) {
            mark.RollBack(unit);
            doc.m_Selection = before;
            tellDrawingFull(doc);
            return;
        }
        // Moved from a scratch copy, not from an undo snapshot: the undo stack keeps the command's
        // one step, however many copies it makes.
        CKovUnit scratch;
        scratch.CopyFrom(unit);
        unit.MoveSelection(work, dx, dy, scratch);
        scratch.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        SelectionRecord& sel = doc.m_Selection;
        sel.m_nCount += work.m_nCount;
        sel.m_Groups.insert(sel.m_Groups.end(), work.m_Groups.begin(), work.m_Groups.end());
        sel.m_Lines.insert(sel.m_Lines.end(), work.m_Lines.begin(), work.m_Lines.end());
        sel.m_Texts.insert(sel.m_Texts.end(), work.m_Texts.begin(), work.m_Texts.end());
        sel.m_Walls.insert(sel.m_Walls.end(), work.m_Walls.begin(), work.m_Walls.end());
    }
    if (movesWalls(doc, doc.m_Selection))
        rejoinWalls(doc);
    view.RedrawAll();
}

void OnMoveSelection(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask)
{
    view.PushUndo();
    const std::optional<kov::dialogs::ObjectMoveForm> answer =
        ask.move ? ask.move(kov::dialogs::ObjectMoveForm::MOVE) : std::nullopt;
    const CKovUnit* snapshot = doc.NewestSnapshot();
    if (!answer || !snapshot)
        return;
    doc.m_Unit.MoveSelection(doc.m_Selection, answer->m_dx, answer->m_dy, *snapshot);
    if (movesWalls(doc, doc.m_Selection))
        rejoinWalls(doc);
    view.RedrawAll();
}

int OnStretchGroup(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask)
{
    const SelectionRecord& sel = doc.m_Selection;
    const CKovGroup* group = sel.m_Groups.empty() ? nullptr : std::as_const(doc.m_Unit).FindGroup(sel.m_Groups.front());
    if (!group || group->MGrpRoom == kFittingGroup)
        return 0;
    const int id = group->MGrpID;
    const double w = std::fabs(group->MGrpmax.x - group->MGrpmin.x);
    const double h = std::fabs(group->MGrpmax.y - group->MGrpmin.y);
    view.PushUndo();
    const std::optional<std::array<double, 2>> f = ask.groupStretch ? ask.groupStretch(w, h) : std::nullopt;
    const CKovUnit* snapshot = doc.NewestSnapshot();
    if (!f || (*f)[0] == 0 || (*f)[1] == 0 || !snapshot)
        return 1;
    CKovGroup& live = *doc.m_Unit.FindGroup(id);
    const CDbPoint min = live.MGrpmin;
    doc.m_Unit.ScaleGroupFromSnapshot(live, *snapshot, (*f)[0], (*f)[1], min);
    live.MGrpmax = {min.x + (live.MGrpmax.x - min.x) * (*f)[0], min.y + (live.MGrpmax.y - min.y) * (*f)[1]};
    if (!live.MGrpWallID.empty())
        rejoinWalls(doc);
    view.RedrawAll();
    return 1;
}

void OnChangeSelectionLayer(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask)
{
    view.PushUndo();
    const int current = doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
    const std::optional<LayerChoice> choice = ask.layer ? ask.layer(kLayerOfSelection, current) : std::nullopt;
    if (!choice || !validGroup(choice->target))
        return;
    if (!doc.m_Unit.ChangeSelectionLayer(doc.m_Selection, choice->target, 0, choice->keep, doc.TempImageFolder())) {
        tellDrawingFull(doc);
        return;
    }
    doc.m_Selection.Clear();
    view.RedrawAll();
}

void OnLayerMerge(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask, bool copy)
{
    // The snapshot comes first: a cancelled merge still leaves an undo step.
    view.PushUndo();
    const int current = doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
    const std::optional<LayerChoice> choice =
        ask.layer ? ask.layer(copy ? kLayerCopyMerge : kLayerMoveMerge, current) : std::nullopt;
    if (!choice || !validGroup(choice->source) || !validGroup(choice->target))
        return;
    const std::string question =
        copy ? layerQuestion("レイヤー %d を%dにコピー合成します。よろしいですか？", choice->source, choice->target)
             : layerQuestion("レイヤー %d　を　%d　に合成します。よろしいですか？", choice->source, choice->target);
    if (!ask.confirm || !ask.confirm(question))
        return;
    doc.m_Selection.Clear();
    if (copy) {
        if (!doc.m_Unit.CopyLayerObjects(0, choice->source, 0, choice->target, 1, doc.TempImageFolder())) {
            tellDrawingFull(doc);
            view.RedrawAll();
            return;
        }
    } else
        doc.m_Unit.MoveLayerObjects(0, choice->source, 0, choice->target, 1);
    // Walls now meet the walls of the layer group they joined.
    const int g = doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
    for (int group : {choice->source, choice->target}) {
        doc.m_PlotInfo.m_Layer.m_nCurrentGroup = group;
        rejoinWalls(doc);
    }
    doc.m_PlotInfo.m_Layer.m_nCurrentGroup = g;
    view.RedrawAll();
}

void OnSelectLayer(CKoviraDoc& doc, CKoviraView& view, const EditAnswers& ask)
{
    const int current = doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
    const std::optional<LayerChoice> choice = ask.layer ? ask.layer(kLayerSelect, current) : std::nullopt;
    if (!choice || !validGroup(choice->target))
        return;
    doc.m_PlotInfo.m_Layer.m_nCurrentGroup = choice->target;
    doc.m_Unit.SelectLayer(doc.m_Selection, choice->target, 0);
    view.RedrawAll();
}

} // namespace kov::app
