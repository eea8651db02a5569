#include "app/PropertyCommands.h"

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/DecoratedTextCommands.h"
#include "app/FrameLogic.h"
#include "app/KovView.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "dialogs/ColumnDialog.h"
#include "dialogs/FigurePropertyDialog.h"
#include "dialogs/LayerDialogs.h"
#include "dialogs/ModalRun.h"
#include "dialogs/RoomDialogs.h"
#include "dialogs/SelectedTextDialog.h"
#include "dialogs/WallThicknessDialog.h"
#include "model/KovUnit.h"
#include "model/SettingsValues.h"
#include "platform/Cp932.h"
#include "platform/Profile.h"
#include "render/DrawEnvironment.h"

#include <QDialog>

#include <algorithm>
#include <cmath>
#include <memory>

namespace kov::app {

namespace {

using kov::dialogs::RunModal;


bool vertical(const CFontMenu& font) { return !font.lfFaceName.empty() && font.lfFaceName[0] == '@'; }

void makeVertical(CFontMenu& font)
{
    if (!vertical(font)) font.lfFaceName = CFontMenu::limitFaceName("@" + font.lfFaceName);
}

// Raises an angle in tenths of a degree by 270 degrees, within 0-3599.
int raiseByVertical(int angle) { return angle + 2700 >= 3600 ? angle + 2700 - 3600 : angle + 2700; }

// The first text of the edit: the first of the selection's texts, else the first text of the first
// selected group; 0 when there is none.
int firstTextOf(const CKovUnit& unit, const SelectionRecord& sel)
{
    if (!sel.m_Texts.empty()) return unit.FindText(sel.m_Texts.front()) ? sel.m_Texts.front() : 0;
    if (sel.m_Groups.empty()) return 0;
    const CKovGroup* group = unit.FindGroup(sel.m_Groups.front());
    if (!group || group->MGrpTextID.empty()) return 0;
    return unit.FindText(group->MGrpTextID.front()) ? group->MGrpTextID.front() : 0;
}

// The walls (or columns) of the selection, then those of the selected groups, in that order.
std::vector<int> selectedWalls(const CKovUnit& unit, const SelectionRecord& sel, bool columns)
{
    std::vector<int> ids;
    auto take = [&](int id) {
        const CKovWall* w = unit.FindWall(id);
        if (w && w->IsColumn() == columns) ids.push_back(id);
    };
    for (int id : sel.m_Walls) take(id);
    for (int g : sel.m_Groups)
        if (const CKovGroup* group = unit.FindGroup(g))
            for (int id : group->MGrpWallID) take(id);
    return ids;
}

void rejoin(CKovUnit& unit, const std::vector<int>& walls)
{
    std::vector<int> groups;
    for (int id : walls)
        if (const CKovWall* w = std::as_const(unit).FindWall(id)) groups.push_back(w->MWallLayer1);
    std::sort(groups.begin(), groups.end());
    groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
    for (int g : groups) {
        std::vector<int> ids;
        for (const auto& w : std::as_const(unit).m_Walls)
            if (w->MWallLayer1 == g) ids.push_back(w->MWallID);
        for (int id : ids) unit.ResetWallOutline(id);
        unit.JoinWalls(g);
    }
}

} // namespace

SwatchEnvironment ProgramSwatchEnvironment()
{
    SwatchEnvironment env;
    if (CKoviraApp* app = CKoviraApp::Current()) {
        for (std::size_t i = 0; i < env.patterns.size() && i < app->m_Bitmaps.size(); ++i)
            env.patterns[i] = app->m_Bitmaps[i];
        env.autoColumns = app->app_hasiraauto;
        env.tatamiBorders = app->app_tatamiheri;
    }
    return env;
}

// -- the selected text ----------------------------------------------------------------------------------

void OnEditSelectedText(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame)
{
    const CKovUnit& read = doc.m_Unit;
    const SelectionRecord sel = doc.m_Selection;
    view.PushUndo();
    const int firstId = firstTextOf(read, sel);
    if (firstId == 0) return;
    const CKovText& first = *read.FindText(firstId);
    const bool several = sel.m_Texts.size() > 1;
    if (several) {
        for (int id : sel.m_Texts)
            if (const CKovText* t = read.FindText(id); t && t->MTextHuchiFlg != 0) return;
    } else if (first.MTextHuchiFlg != 0) {
        EditDecoratedText(doc, view, firstId, frame);
        return;
    }
    kov::dialogs::SelectedTextForm values;
    values.font = first.MTextFontMenu;
    values.text = first.MTextstr;
    values.angle = several ? 0 : first.MTextFontMenu.lfEscapement;
    values.several = several ? 1 : 0;
    const bool wasVertical = vertical(first.MTextFontMenu);
    if (!several) {
        values.vertical = wasVertical ? 1 : 0;
        values.hAlign = first.MTextFontMenu.m_toko_align;
        values.vAlign = first.MTextFontMenu.m_tate_align;
    }
    if (vertical(values.font)) values.font.lfFaceName.erase(0, 1);
    const std::size_t oldBytes = kov::platform::cp932ByteLength(first.MTextstr);

    kov::dialogs::CFontsyuseidlg dialog(values, doc.services().questions, frame.pickFont, frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    const kov::dialogs::SelectedTextForm& r = dialog.form();

    if (several) {
        for (int id : sel.m_Texts) {
            const CKovText* t = read.FindText(id);
            if (!t || t->MTextHuchiFlg != 0) continue;
            const bool was = vertical(t->MTextFontMenu);
            CKovText& text = *doc.m_Unit.FindText(id);
            text.MTextFontMenu = r.font;
            if (was) makeVertical(text.MTextFontMenu);
            text.MTextFontMenu.lfEscapement = vertical(text.MTextFontMenu) ? raiseByVertical(r.angle) : r.angle;
        }
        view.RedrawAll();
        return;
    }
    CKovText& text = *doc.m_Unit.FindText(firstId);
    CFontMenu& font = text.MTextFontMenu;
    font = r.font;
    font.m_toko_align = r.hAlign;
    font.m_tate_align = r.vAlign;
    text.MTextstr = r.text;
    font.lfEscapement = r.angle;
    if (!sel.m_Groups.empty()) {
        // A label reached through its group keeps its width: the size follows the byte length. An
        // empty text (or one that had none) gives no ratio and keeps its size.
        const std::size_t newBytes = kov::platform::cp932ByteLength(r.text);
        if (oldBytes > 0 && newBytes > 0) {
            const double ratio = static_cast<double>(oldBytes) / static_cast<double>(newBytes);
            font.m_size *= ratio;
            font.m_kankaku *= ratio;
            font.lfHeight = static_cast<std::int32_t>(std::trunc(font.lfHeight * ratio));
        }
    }
    const bool nowVertical = r.vertical != 0;
    if (!wasVertical && nowVertical) {
        makeVertical(font);
        font.lfEscapement = raiseByVertical(font.lfEscapement);
    } else if (wasVertical && !nowVertical) {
        font.lfEscapement -= 2700;
        if (font.lfEscapement < 0) font.lfEscapement += 3600;
    } else if (wasVertical && nowVertical) {
        makeVertical(font);
    }
    view.RedrawAll();
}

// -- rooms ----------------------------------------------------------------------------------------------

void EditRoomProperties(CKoviraDoc& doc, CKoviraView& view, int groupId, const PropertyFrame& frame)
{
    const CKovUnit& read = doc.m_Unit;
    const CKovGroup* group = read.FindGroup(groupId);
    if (!group || group->MGrpLineID.empty()) return;
    const int polygonId = group->MGrpLineID.front();
    const CKovLine* polygon = read.FindLine(polygonId);
    if (!polygon) return;
    bool patternLines = false;
    for (int id : group->MGrpLineID)
        if (const CKovLine* f = read.FindLine(id); f && f->MLineType == CKovLine::LINE) patternLines = true;

    CRoomInfo start;
    start.Room_bRoomColor = polygon->MLinebNakanuri;
    start.Room_bHachColor = polygon->MLinebHach != 0 || patternLines ? 1 : 0;
    start.Room_RoomColor = polygon->MLineNakaColor;
    start.Room_HachColor = polygon->MLineColor;
    start.Room_HachType = polygon->MLineHachT;
    if (polygon->MLineParam.size() == 1 && polygon->MLineParam[0] != 0) start.Room_HachKankaku = polygon->MLineParam[0];
    kov::platform::Profile& profile = doc.services().profile;
    kov::dialogs::CRoomHenkouDlg dialog(start, profile, doc.services().questions, ProgramSwatchEnvironment(),
                                        frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    const CRoomInfo& room = dialog.room();

    view.PushUndo();
    CKovLine& outline = *doc.m_Unit.FindLine(polygonId);
    outline.MLinebNakanuri = room.Room_bRoomColor;
    outline.MLinebHach = 0;
    outline.MLineNakaColor = room.Room_RoomColor;
    if (profile.GetProfileInt(kov::model::kSectionUtility, "room_grad_mild", 1) != 0)
        outline.MLineNakaColor2 = CKovUnit::MildGradientColor(room.Room_RoomColor, 0xFFFFFF);
    outline.MLineColor = room.Room_HachColor;
    outline.MLineHachT = room.Room_HachType;

    std::vector<int> lines;
    for (int id : read.FindGroup(groupId)->MGrpLineID)
        if (const CKovLine* f = read.FindLine(id); f && f->MLineType == CKovLine::LINE) lines.push_back(id);
    if (room.Room_HachType == CRoomInfo::HACH_TATAMI) {
        if (room.Room_bHachColor) {
            // Tatami keep their layout: only the mats' edges take the colour.
            for (int id : lines) doc.m_Unit.FindLine(id)->MLineColor = room.Room_HachColor;
            return;
        }
        doc.m_Unit.FindLine(polygonId)->MLineHachT = 0;
    }
    for (int id : lines) {
        doc.m_Unit.DeleteLine(id);
        auto& selected = doc.m_Selection.m_Lines;
        selected.erase(std::remove(selected.begin(), selected.end(), id), selected.end());
    }
    CKovGroup& changed = *doc.m_Unit.FindGroup(groupId);
    changed.MGrpLineID = {polygonId};
    if (!room.Room_bHachColor) return;
    CKovLine& hatched = *doc.m_Unit.FindLine(polygonId);
    if (hatched.MLineParam.size() == 1) hatched.MLineParam[0] = room.Room_HachKankaku;
    else hatched.MLineParam.push_back(room.Room_HachKankaku);
    CPlotInfo settings;
    hatched.StoreDefaultStyle(settings);
    settings.m_RoomInfo = room;
    // The spacing is in paper millimetres of the room's own layer group.
    settings.m_Layer.m_dScale = doc.m_PlotInfo.m_Layer.m_dScale;
    settings.m_Layer.m_nCurrentGroup = hatched.MLineLayer1;
    settings.m_Layer.m_nCurrentLayer = hatched.MLineLayer2;
    // One device pixel per paper millimetre: the pattern's spacing is exact at every zoom.
    DeviceTransform paper;
    for (std::size_t k = 0; k < paper.scaleX.size(); ++k) {
        const double scale = settings.m_Layer.m_dScale[k];
        paper.scaleX[k] = paper.scaleY[k] = scale > 0 ? 1.0 / scale : 1.0;
    }
    paper.paperScale = 1.0;
    doc.m_Unit.AddRoomHatchLines(paper, settings, hatched, changed);
}

// -- walls, columns and figures -------------------------------------------------------------------------

void EditWallProperties(CKoviraDoc& doc, int wallId, const PropertyFrame& frame)
{
    const CKovWall* wall = std::as_const(doc.m_Unit).FindWall(wallId);
    if (!wall) return;
    CPlotInfo copy = doc.m_PlotInfo;
    copy.PlotWallWide = wall->MWallWide1;
    const int type = wall->MWallType;
    kov::dialogs::WallThicknessDialog dialog(copy, true, frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    ApplyWallThickness(doc, wallId, copy.PlotWallWide, type);
}

void EditColumnProperties(CKoviraDoc& doc, int wallId, const PropertyFrame& frame)
{
    const CKovWall* column = std::as_const(doc.m_Unit).FindWall(wallId);
    if (!column) return;
    kov::dialogs::CHasiraDlg dialog(column->MWallWide1, column->MHasiraType, false, frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    ApplyColumnThickness(doc, wallId, dialog.form().halfWidth, dialog.form().type);
}

void EditFigureProperties(CKoviraDoc& doc, int lineId, const PropertyFrame& frame)
{
    const CKovLine* figure = std::as_const(doc.m_Unit).FindLine(lineId);
    if (!figure) return;
    CPlotInfo copy = doc.m_PlotInfo;
    const int kind = figure->MLineType;
    figure->StoreDefaultStyle(copy);
    kov::dialogs::CLinePropSetDg dialog(copy, doc.services().profile, doc.services().questions,
                                        kov::dialogs::LinePropForm::Mode::Selection, kind, ProgramSwatchEnvironment(),
                                        frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    // A dimension has no style slot: nothing the dialog offers belongs to it.
    if (kov::dialogs::LinePropForm::SlotOfKind(kind) < 0) return;
    doc.PushUndo();
    doc.m_Unit.FindLine(lineId)->ApplyDefaultStyle(copy);
}

void OnChangeWallThickness(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame)
{
    const CKovUnit& read = doc.m_Unit;
    const std::vector<int> walls = selectedWalls(read, doc.m_Selection, false);
    if (walls.empty()) return;
    CPlotInfo copy = doc.m_PlotInfo;
    if (doc.m_Selection.m_nCount == 1) copy.PlotWallWide = read.FindWall(walls.front())->MWallWide1;
    kov::dialogs::WallThicknessDialog dialog(copy, true, frame.parent);
    if (RunModal(dialog) == QDialog::Accepted && copy.PlotWallWide > 0) {
        view.PushUndo();
        for (int id : walls) {
            CKovWall& w = *doc.m_Unit.FindWall(id);
            w.MWallWide1 = w.MWallWide2 = copy.PlotWallWide;
            doc.m_Unit.UpdateWallCorners(id);
            doc.m_Unit.ResetWallOutline(id);
        }
        rejoin(doc.m_Unit, walls);
    }
    view.RedrawAll();
}

void OnChangeColumnThickness(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame)
{
    const CKovUnit& read = doc.m_Unit;
    const std::vector<int> columns = selectedWalls(read, doc.m_Selection, true);
    if (columns.empty()) return;
    const bool one = doc.m_Selection.m_nCount == 1;
    double half = doc.m_PlotInfo.PlotHasiraWide;
    int type = doc.m_PlotInfo.hasiratype;
    if (one) {
        half = read.FindWall(columns.front())->MWallWide1;
        type = read.FindWall(columns.front())->MHasiraType;
    }
    kov::dialogs::CHasiraDlg dialog(half, type, !one, frame.parent);
    if (RunModal(dialog) == QDialog::Accepted && dialog.form().halfWidth > 0) {
        view.PushUndo();
        for (int id : columns) {
            const int keptType = read.FindWall(id)->MHasiraType;
            ResizeColumn(doc.m_Unit, id, dialog.form().halfWidth, one ? dialog.form().type : keptType);
        }
    }
    view.RedrawAll();
}

void OnChangeLineType(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame)
{
    const SelectionRecord& sel = doc.m_Selection;
    if (sel.m_Lines.size() < 2) return;
    CPlotInfo copy = doc.m_PlotInfo;
    kov::dialogs::CLinePropSetDg dialog(copy, doc.services().profile, doc.services().questions,
                                        kov::dialogs::LinePropForm::Mode::Selection, 0, ProgramSwatchEnvironment(),
                                        frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    view.PushUndo();
    for (int id : sel.m_Lines) {
        if (!std::as_const(doc.m_Unit).FindLine(id)) continue;
        CKovLine& f = *doc.m_Unit.FindLine(id);
        f.MLineColor = copy.PlotColor[0];
        f.MLineLineT = copy.PlotLineType[0];
        f.MLineWide = copy.PlotLineWide[0];
        if (f.MLineType == CKovLine::LINE || f.MLineType == CKovLine::CONTINUOUS) {
            f.MLineTanten = copy.PlotLineTanten[0];
            f.MLineYaWide = copy.PlotLineYaWide;
        }
    }
    view.RedrawAll();
}

// -- layers -------------------------------------------------------------------------------------------

void OnLayerList(CKoviraDoc& doc, CKoviraView& view, const PropertyFrame& frame)
{
    const CKovUnit::DrawEnvironment env = view.MakeDrawEnvironment();
    kov::dialogs::CLayerItiranDg dialog(doc.m_PlotInfo, doc.m_Unit, env, frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    dialog.form().ApplyTo(doc.m_PlotInfo);
    if (frame.refreshLayerBar) frame.refreshLayerBar();
}

void OnLayerName(CKoviraDoc& doc, const PropertyFrame& frame)
{
    kov::dialogs::CLayerNameDlg dialog(doc.m_PlotInfo, frame.parent);
    if (RunModal(dialog) != QDialog::Accepted) return;
    dialog.form().ApplyTo(doc.m_PlotInfo);
    // The name is saved with the plot settings, in the drawing.
    doc.SetModifiedFlag();
    if (frame.refreshLayerBar) frame.refreshLayerBar();
}

} // namespace kov::app
