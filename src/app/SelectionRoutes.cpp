// The menu commands that work on the selection: grouping, drawing order, group turns and flips,
// colours, fills, opacity and gradation, hatches, and the deletion of auxiliary lines.

#include "app/CommandIds.h"
#include "app/ContextMenu.h"
#include "app/CoordinateImport.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "app/MainWindow.h"
#include "dialogs/GroupRotationDialog.h"
#include "dialogs/HatchSettingsDialog.h"
#include "dialogs/SelectionStyleDialogs.h"
#include "model/KovUnit.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "tools/ToolMachine.h"

#include <QMenu>

#include <charconv>
#include <cmath>
#include <optional>
#include <memory>
#include <string>
#include <utility>

namespace kov::app {

namespace {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;
using kov::platform::CustomColors;

constexpr const char* kGroupHasGroup =
    "選択物の中にグループがあるとグループ化できません。\nグループ化解除を行ってから選択しなおしてください";
constexpr const char* kGroupHasPicture = "選択物の中に画像があるとグループ化できません。";
constexpr const char* kColourInBlackWhite =
    "現在、白黒モードです。色の変更は表示上影響しませんが、実行しますか？";
constexpr const char* kOpacityInBlackWhite =
    "現在、白黒モードです。不透明度の変更は表示上影響しませんが、実行しますか？";
constexpr const char* kToPlainTextQuestion = "選択文字を全て通常文字に変換しますが、よろしいですか？";
constexpr const char* kPatternsToLinesQuestion = "全図形プロパティの模様を直線のグループの模様に変換してもよろしいですか？";
constexpr int kFittingGroup = 2;
// The group commands read the first selected group: when there is none, or it is a fitting, they
// say why nothing happens.
constexpr const char* kNoGroupSelected = "グループが選択されていません。";
constexpr const char* kFittingNotTurned = "建具はこのコマンドでは回転できません。建具の「180度回転」をお使いください。";

// Walls of the current layer group rebuilt and joined again after a group with walls changed.
void rejoinCurrentGroupWalls(CKoviraDoc& doc)
{
    CKovUnit& unit = doc.m_Unit;
    const int g = doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
    std::vector<int> ids;
    for (const auto& w : std::as_const(unit).m_Walls)
        if (w->MWallLayer1 == g) ids.push_back(w->MWallID);
    for (int id : ids) unit.ResetWallOutline(id);
    unit.JoinWalls(g);
}

// The first selected group as the live drawing holds it, or null.
const CKovGroup* firstGroup(const CKoviraDoc& doc)
{
    if (doc.m_Selection.m_Groups.empty()) return nullptr;
    return doc.m_Unit.FindGroup(doc.m_Selection.m_Groups.front());
}

CustomColors savedCustomColours(kov::platform::Profile& profile)
{
    CustomColors colours{};
    for (int i = 0; i < 16; ++i)
    {
        const std::string text = profile.GetProfileString(kSectionPlotMenu, "ln_orgcolor_" + std::to_string(i), "16777215");
        std::uint32_t value = 0xFFFFFF;
        // A key that holds no number gives white, as a missing one does.
        if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) value = 0xFFFFFF;
        colours[static_cast<std::size_t>(i)] = value;
    }
    return colours;
}

// Turns the first selected group by 90 degrees in place: its box's lower corner stays where it was.
void rotateGroup90(CKoviraDoc& doc, CKoviraView& view, double degrees)
{
    const CKovGroup* group = firstGroup(doc);
    if (!group) return doc.services().questions.message(kNoGroupSelected);
    if (group->MGrpRoom == kFittingGroup) return doc.services().questions.message(kFittingNotTurned);
    const int id = group->MGrpID;
    const CDbPoint corner = group->MGrpmin;
    const bool walls = !group->MGrpWallID.empty();
    view.PushUndo();
    auto scratch = std::make_unique<CKovUnit>();
    scratch->CopyFrom(doc.m_Unit);
    // Moving the selection moves the group's box with it.
    doc.m_Unit.MoveSelection(doc.m_Selection, -corner.x, -corner.y, *scratch);
    scratch->CopyFrom(doc.m_Unit);
    doc.m_Unit.RotateGroup(*scratch, degrees, id);
    scratch->CopyFrom(doc.m_Unit);
    doc.m_Unit.MoveSelection(doc.m_Selection, corner.x, corner.y, *scratch);
    scratch->RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    if (walls) rejoinCurrentGroupWalls(doc);
    view.RedrawAll();
}

// Turns the first selected group to an angle typed in the dialog. The group is turned in place, so
// it keeps its identifiers, its layer and its text sizes; its box's lower corner stays where it was.
void rotateGroupByAngle(CKoviraDoc& doc, CKoviraView& view, QWidget* parent)
{
    const CKovGroup* group = firstGroup(doc);
    if (!group) return doc.services().questions.message(kNoGroupSelected);
    if (group->MGrpRoom == kFittingGroup) return doc.services().questions.message(kFittingNotTurned);
    const int id = group->MGrpID;
    const CDbPoint corner = group->MGrpmin;
    const double before = group->MGrpKakudo;
    const bool walls = !group->MGrpWallID.empty();
    view.PushUndo();
    SelectionRecord only;
    only.AddGroupId(id);
    CKovUnit working;
    working.ExtractSelectedGroup(only, doc.m_Unit);
    kov::dialogs::CGrpKaitenDlg dialog(working, doc.m_PlotInfo.m_Layer.m_nCurrentGroup, parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    working.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    if (!ok) return;
    double turn = std::fmod(dialog.angle() - before, 360.0);
    if (turn < 0) turn += 360.0;
    if (turn != 0) doc.m_Unit.RotateGroup(doc.m_Unit, turn, id);
    if (CKovGroup* g = doc.m_Unit.FindGroup(id)) {
        g->MGrpKakudo = dialog.angle() >= 360.0 ? 0.0 : dialog.angle();
        // RotateGroup leaves the box's lower corner on the origin: back to where it was.
        doc.m_Unit.MoveGroup(id, corner.x - g->MGrpmin.x, corner.y - g->MGrpmin.y);
        doc.m_Unit.UpdateGroupBounds(*g);
    }
    doc.m_Selection.Clear();
    doc.m_Selection.AddGroupId(id);
    if (walls) rejoinCurrentGroupWalls(doc);
    view.RedrawAll();
}

// The hatch's outline: every edge of the selected figures, then of the figures of the selected
// groups; lines and continuous lines give their point pairs, rectangles and polygons every edge with
// the closing one, other kinds nothing.
void hatchOutline(const CKovUnit& unit, const SelectionRecord& sel, CDbPointArray& starts, CDbPointArray& ends)
{
    auto add = [&](int id) {
        const CKovLine* f = unit.FindLine(id);
        if (!f) return;
        const CDbPointArray& p = f->MLinePnt;
        const bool closed = f->MLineType == CKovLine::RECTANGLE || f->MLineType == CKovLine::POLYGON;
        const bool open = f->MLineType == CKovLine::LINE || f->MLineType == CKovLine::CONTINUOUS;
        if (!closed && !open) return;
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            starts.push_back(p[i]);
            ends.push_back(p[i + 1]);
        }
        if (closed && p.size() >= 2) {
            starts.push_back(p.back());
            ends.push_back(p.front());
        }
    };
    for (int id : sel.m_Lines) add(id);
    for (int groupId : sel.m_Groups)
        if (const CKovGroup* g = unit.FindGroup(groupId))
            for (int id : g->MGrpLineID) add(id);
}

} // namespace

void MainWindow::buildSelectionRoutes()
{
    CKoviraDoc& doc = *m_document;
    CKoviraView& view = *m_view;
    auto V = [this](int c, Handler h) { Route(Target::View, c, std::move(h)); };
    auto& questions = doc.services().questions;
    auto& profile = doc.services().profile;

    V(cmd::Group, [&doc, &view, &questions] {
        if (!doc.m_Selection.m_Groups.empty()) return questions.message(kGroupHasGroup);
        if (!doc.m_Selection.m_Images.empty()) return questions.message(kGroupHasPicture);
        doc.m_Unit.GroupSelection(doc.m_Selection, doc.m_PlotInfo);
        view.RedrawAll();
    });
    V(cmd::Ungroup, [&doc, &view] {
        // The snapshot the selection took serves this edit too.
        doc.m_Unit.UngroupSelection(doc.m_Selection);
        view.RedrawAll();
    });
    V(cmd::ToTop, [&doc, &view] {
        doc.m_Unit.BringToFront(doc.m_Selection);
        view.RedrawAll();
    });
    V(cmd::ToBottom, [&doc, &view] {
        doc.m_Unit.SendToBack(doc.m_Selection);
        view.RedrawAll();
    });
    V(cmd::RotateLeft90, [&doc, &view] { rotateGroup90(doc, view, 90); });
    V(cmd::RotateRight90, [&doc, &view] { rotateGroup90(doc, view, 270); });
    V(cmd::RotateOther, [this, &doc, &view] { rotateGroupByAngle(doc, view, this); });
    V(cmd::ImportCoordinates, [this, &doc, &view] { ImportCoordinateFile(doc, view, this); });
    V(cmd::ToPlainText, [&doc, &view, &questions] {
        view.PushUndo();
        if (!questions.askOkCancel(kToPlainTextQuestion)) return;
        for (int id : doc.m_Selection.m_Texts)
            if (CKovText* t = doc.m_Unit.FindText(id)) {
                t->MTextHuchiFlg = 0;
                t->MTextHuchiAtsumi = 2.0;
                t->MTextHuchiType = 0;
                t->MTextHuchiKeij = 5;
                t->MTextAlpha = 100;
                t->MTextFontMenu.m_bBack = 0;
            }
        view.RedrawAll();
    });
    V(cmd::CurveToPolyline, [&doc, &view] {
        view.PushUndo();
        const std::vector<int> ids = doc.m_Selection.m_Lines;
        for (int id : ids) doc.m_Unit.CircleToPolyline(id, doc.m_PlotInfo, 24);
        doc.m_Selection.Clear();
        view.m_ToolPoints.clear();
        view.machine().m_ToolPoints.clear();
        view.RedrawAll();
    });
    V(cmd::RotateOtherAngle, [this, &doc, &view] {
        CallSelectTool();
        RefreshLayerBar();
        view.RedrawAll();
        rotateGroupByAngle(doc, view, this);
    });
    auto flip = [&doc, &view](bool upsideDown) {
        const CKovGroup* group = firstGroup(doc);
        if (!group) return doc.services().questions.message(kNoGroupSelected);
        // Fittings turn and mirror by their own rules, with the fittings themselves: up-down is the
        // 180-degree turn, left-right the mirror of the door.
        if (group->MGrpRoom == kFittingGroup) {
            upsideDown ? view.machine().OnTurnFitting() : view.machine().OnFlipDoor();
            return;
        }
        const int id = group->MGrpID;
        const bool walls = !group->MGrpWallID.empty();
        view.PushUndo();
        if (upsideDown) doc.m_Unit.FlipGroupVertical(id);
        else doc.m_Unit.FlipGroupHorizontal(id);
        if (walls) rejoinCurrentGroupWalls(doc);
        view.RedrawAll();
    };
    V(cmd::MirrorTopBottom, [flip] { flip(true); });
    V(cmd::MirrorLeftRight, [flip] { flip(false); });

    auto blackWhiteAgrees = [&doc, &questions] {
        return doc.m_PlotInfo.PlotSirokuro == 0 || questions.askOkCancel(kColourInBlackWhite);
    };
    V(cmd::LineColour, [&doc, &view, &questions, &profile, blackWhiteAgrees] {
        view.PushUndo();
        std::uint32_t initial = 0;
        const SelectionRecord& sel = doc.m_Selection;
        if (sel.m_nCount == 1) {
            if (!sel.m_Lines.empty())
                if (const CKovLine* f = std::as_const(doc.m_Unit).FindLine(sel.m_Lines.front())) initial = f->MLineColor;
            if (!sel.m_Texts.empty())
                if (const CKovText* t = std::as_const(doc.m_Unit).FindText(sel.m_Texts.front())) initial = t->MTextFontMenu.m_Color;
        }
        CustomColors custom = savedCustomColours(profile);
        const auto colour = questions.chooseColor(initial, &custom);
        if (!colour || !blackWhiteAgrees()) return;
        doc.m_Unit.SetSelectionColor(0, doc.m_Selection, *colour, 0, 0);
        view.RedrawAll();
    });
    auto fill = [&doc, &view, &questions, &profile, blackWhiteAgrees](int code) {
        if (!blackWhiteAgrees()) return;
        view.PushUndo();
        std::uint32_t initial = 0;
        const SelectionRecord& sel = doc.m_Selection;
        if (sel.m_nCount == 1 && !sel.m_Lines.empty())
            if (const CKovLine* f = std::as_const(doc.m_Unit).FindLine(sel.m_Lines.front()); f && f->MLinebNakanuri)
                initial = f->MLineNakaColor;
        CustomColors custom = savedCustomColours(profile);
        const auto colour = questions.chooseColor(initial, &custom);
        if (!colour) return;
        doc.m_Unit.SetSelectionColor(code, doc.m_Selection, *colour,
                                     profile.GetProfileInt(kSectionUtility, "app_sironuri", 0),
                                     profile.GetProfileInt(kSectionUtility, "room_grad_mild", 1));
        view.RedrawAll();
    };
    V(cmd::FillColour, [fill] { fill(1); });
    V(cmd::ColourNoFill, [fill] { fill(2); });
    V(cmd::NoFill, [&doc, &view] {
        view.PushUndo();
        doc.m_Unit.SetSelectionColor(3, doc.m_Selection, 0, 0, 0);
        view.RedrawAll();
    });
    V(cmd::MildGradient, [&doc, &view] {
        view.PushUndo();
        doc.m_Unit.MakeGradientMild(doc.m_Selection);
        view.m_ToolPoints.clear();
        view.machine().m_ToolPoints.clear();
        view.RedrawAll();
    });
    // The context menu's switches are the panel's.
    V(cmd::ContextStretchRotate, [this] { RunCommand(cmd::PanelStretchRotate); });
    V(cmd::ContextGridSnap, [this] { RunCommand(cmd::PanelGridSnap); });
    V(cmd::ContextLineSnap, [this] { RunCommand(cmd::PanelLineSnap); });
    V(cmd::ContextWallCoreSnap, [this] { RunCommand(cmd::PanelWallCoreSnap); });
    V(cmd::ContextProperties, [this] { RunCommand(cmd::PanelProperties); });
    V(cmd::Opacity, [this, &doc, &view, &questions] {
        if (doc.m_PlotInfo.PlotSirokuro != 0 && !questions.askOkCancel(kOpacityInBlackWhite)) return;
        view.PushUndo();
        int opacity = 100;
        const SelectionRecord& sel = doc.m_Selection;
        if (sel.m_nCount == 1 && !sel.m_Lines.empty())
            if (const CKovLine* f = std::as_const(doc.m_Unit).FindLine(sel.m_Lines.front()); f && f->MLinebNakanuri)
                opacity = f->MLineAlpha;
        kov::dialogs::CAlphaChangeDg dialog(opacity, this);
        if (dialog.exec() != QDialog::Accepted) return;
        doc.m_Unit.SetSelectionOpacity(doc.m_Selection, dialog.opacity());
        view.RedrawAll();
    });
    V(cmd::GradientDirection, [this, &doc, &view] {
        kov::dialogs::CGradHenkouDg dialog(doc.m_Selection.m_Groups.size() == 1, this);
        if (dialog.exec() != QDialog::Accepted) return;
        view.PushUndo();
        doc.m_Unit.SetGradientDirection(doc.m_Selection, dialog.form().m_nChoice, dialog.form().m_nGroupSize);
        view.m_ToolPoints.clear();
        view.machine().m_ToolPoints.clear();
        view.RedrawAll();
    });
    V(cmd::MakeHatch, [this, &doc, &view, &profile] {
        const SelectionRecord& sel = doc.m_Selection;
        if (sel.m_Lines.empty() && sel.m_Groups.empty()) return;
        const std::optional<DeviceTransform> transform = view.machine().MakeTransform();
        if (!transform) return;
        view.PushUndo();
        CDbPointArray starts, ends;
        hatchOutline(doc.m_Unit, sel, starts, ends);
        if (starts.empty()) return;
        kov::dialogs::CHachSetForm values;
        values.Load(profile);
        values.m_nLayerGroup = doc.m_PlotInfo.m_Layer.m_nCurrentGroup;
        values.m_nLayer = doc.m_PlotInfo.m_Layer.m_nCurrentLayer;
        kov::dialogs::CHachSetDg dialog(values, doc.m_PlotInfo, *transform, this);
        if (dialog.exec() != QDialog::Accepted) return;
        const kov::dialogs::CHachSetForm& chosen = dialog.form();
        chosen.Save(profile);
        doc.m_Selection.Clear();
        chosen.MakeLines(doc.m_Unit, doc.m_Selection, doc.m_PlotInfo, starts, ends, *transform,
                         doc.m_PlotInfo.m_Layer.m_nCurrentGroup, chosen.m_nLayerGroup, chosen.m_nLayer);
        // One group of the new lines, on the output layer.
        CPlotInfo output = doc.m_PlotInfo;
        output.m_Layer.m_nCurrentGroup = chosen.m_nLayerGroup;
        output.m_Layer.m_nCurrentLayer = chosen.m_nLayer;
        if (!doc.m_Selection.m_Lines.empty()) doc.m_Unit.GroupSelection(doc.m_Selection, output);
        view.RedrawAll();
    });
    V(cmd::PatternsToLines, [&doc, &view, &questions] {
        if (!questions.askOkCancel(kPatternsToLinesQuestion)) return;
        const std::optional<DeviceTransform> transform = view.machine().MakeTransform();
        if (!transform) return;
        view.PushUndo();
        doc.m_Unit.AllHatchesToLines(doc.m_Selection, *transform, view.machine().settings().hach_kankaku_line,
                                     doc.m_PlotInfo);
        view.m_ToolPoints.clear();
        view.machine().m_ToolPoints.clear();
        view.RedrawAll();
    });
    V(cmd::AllAuxDelete, [&doc, &view, &questions] {
        if (doc.m_Unit.DeleteAuxLines(doc.m_PlotInfo, questions, [&view] { view.PushUndo(); }) > 0) view.RedrawAll();
    });
}

std::vector<ContextItem> MainWindow::contextMenuItems() const
{
    if (!m_document || !m_view) return {};
    const CKoviraDoc& doc = *m_document;
    const kov::tools::ToolMachine& m = m_view->machine();
    ContextMenuState state;
    state.tool = doc.m_nToolMode;
    state.zooming = m.m_nZoomMode != 0;
    state.placing = m.m_bPlacing != 0;
    state.collecting = !m.m_ToolPoints.empty();
    state.lineSnap = doc.m_PlotInfo.PlotLinePita != 0;
    state.wallCoreSnap = doc.m_PlotInfo.PlotWallPita != 0;
    state.gridSnap = doc.m_Grid.kyutyaku != 0;
    state.stretchRotate = m_view->m_bStretchRotate != 0;
    state.offerWallCoreSnap = m_document->services().profile.GetProfileInt(kSectionUtility, "app_walpitaview", 0) != 0;
    return ContextMenuItems(doc.m_Unit, doc.m_Selection, state);
}

void MainWindow::OpenContextMenu(const QPoint& global)
{
    const std::vector<ContextItem> items = contextMenuItems();
    if (items.empty()) return;
    QMenu menu(m_view);
    for (const ContextItem& item : items) {
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
        a->setEnabled(item.enabled);
        a->setCheckable(item.checked);
        a->setChecked(item.checked);
        a->setData(item.command);
    }
    // Every item runs through the window's routing, as the main menu's do.
    if (QAction* chosen = menu.exec(global)) RunCommand(chosen->data().toInt());
}

} // namespace kov::app
