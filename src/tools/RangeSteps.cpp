// The range tools: move (38), copy (39), mirror left-right (40) and up-down (41), quarter turns left
// (42) and right (43), turn by an angle (44), scale (45), delete (46) and stretch (60). Each spans a
// rectangle with two clicks; move and copy add a base point and a target.

#include "tools/ToolMachine.h"

#include "tools/ToolTexts.h"

#include "edit/EditTexts.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"

#include <string>

namespace kov::tools {

namespace {

constexpr std::string_view kRangeSecond = "範囲ニ点目をｸﾘｯｸ";
constexpr std::string_view kRangeFirstAgain = "範囲一点目をｸﾘｯｸ";
constexpr std::string_view kMoveBase = "移動基準点をｸﾘｯｸ";
constexpr std::string_view kMoveTarget = "移動目的点をｸﾘｯｸ";
constexpr std::string_view kCopyBase = "複写基準点をｸﾘｯｸ";
constexpr std::string_view kCopyTarget = "複写目的点をｸﾘｯｸ";
constexpr std::string_view kStretchFirst = "伸縮する範囲を囲むように一点目をクリック";
constexpr std::string_view kStretchSecond = "伸縮する範囲ニ点目をｸﾘｯｸ";
constexpr std::string_view kAngleCaption = "回転する角度";
constexpr std::string_view kAngleUnit = "度";
constexpr std::string_view kAngleOutOfRange = "角度は-360度以上、360度未満を半角で指定してください。";

struct Confirmation {
    int tool;
    std::string_view caption, question;
};
constexpr Confirmation kConfirmations[] = {
    {40, "囲った範囲の反転", "囲った内容を反転してよろしいですか？"},
    {41, "囲った範囲の上下反転", "囲った内容を上下反転してよろしいですか？"},
    {42, "囲った範囲の左90度回転", "囲った内容を左に90度回転してよろしいですか？"},
    {43, "囲った範囲の右90度回転", "囲った内容を右に90度回転してよろしいですか？"},
    {46, "囲った範囲の削除", "範囲の内容をすべて削除しますがよろしいですか？"},
};

} // namespace

void ToolMachine::rangeDone(bool toSelectMode)
{
    m_ToolPoints.clear();
    if (toSelectMode) {
        CallSelectTool();
        m_host.RefreshLayerBar();
    }
    m_host.RedrawAll();
}

void ToolMachine::StepRange(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    const int tool = ToolMode();
    const std::size_t n = m_ToolPoints.size();
    CKovUnit& unit = m_host.Unit();
    SelectionRecord& sel = m_host.Selection();
    const CPlotInfo& plot = m_host.Plot();
    auto record = [&] {
        collect(d, p);
        m_pxLast = d;
    };
    CKovUnit::RangeTurnOptions turn;
    turn.rebuildFittings = settingInt("KOV_T_UTILITY", "tateg_allrev_notrev", 1);
    turn.uprightTexts = settingInt("KOV_T_UTILITY", "app_mozinokaiten", 0);
    turn.rebuildFitting = RangeFittingRebuilder();

    if (n == 0) {
        record();
        SetToolPrompt(tool == 60 ? kStretchSecond : kRangeSecond);
        m_host.RedrawAll();
        return;
    }
    if (n == 1) {
        // A rectangle without area is no range: the click is passed over.
        if (p.x == m_ToolPoints[0].x || p.y == m_ToolPoints[0].y)
            return;
        switch (tool) {
        case 38:
        case 39:
            record();
            SetToolPrompt(tool == 38 ? kMoveBase : kCopyBase);
            m_host.RedrawAll();
            return;
        case 44: {
            double a = 0;
            if (std::optional<std::string> text = m_host.AskString(kAngleCaption, "0", kAngleUnit)) {
                a = kov::platform::parseDouble(*text);
                if (a < -360 || a >= 360) {
                    m_host.ShowMessage(kAngleOutOfRange);
                    m_ToolPoints.clear();
                    m_host.RedrawAll();
                    return;
                }
                if (a == 0) {
                    m_ToolPoints.clear();
                    m_host.RedrawAll();
                    return;
                }
                if (a < 0)
                    a += 360;
            }
            PushUndo();
            const TextBoxMeasurer& m = m_host.Measurer();
            if (a == 90)
                unit.RotateRangeLeft90(m, sel, plot, m_ToolPoints, p, t, turn);
            else if (a == 270)
                unit.RotateRangeRight90(m, sel, plot, m_ToolPoints, p, t, turn);
            else if (a == 180)
                unit.RotateRange180(m, sel, plot, m_ToolPoints, p, t, turn);
            else
                unit.RotateRange(m, sel, plot, m_ToolPoints, p, t, a, turn);
            rangeDone(true);
            return;
        }
        case 45: {
            // Cancelled: the first corner stays and the next click is the second corner again.
            const std::optional<std::array<double, 2>> f = m_host.AskRangeScaleFactors();
            if (!f || (*f)[0] == 0 || (*f)[1] == 0)
                return;
            PushUndo();
            unit.ScaleRange(sel, plot, m_ToolPoints, p, t, (*f)[0], (*f)[1]);
            rangeDone(true);
            return;
        }
        case 60: {
            PushUndo();
            if (std::optional<CDbPoint> offset = m_host.AskStretchOffset())
                unit.StretchRange(plot, m_ToolPoints[0], p, offset->x, offset->y);
            m_ToolPoints.clear();
            m_host.RedrawAll();
            SetToolPrompt(kStretchFirst);
            return;
        }
        default:
            break;
        }
        for (const Confirmation& c : kConfirmations) {
            if (c.tool != tool)
                continue;
            if (m_host.AskOkCancel(c.caption, c.question)) {
                PushUndo();
                const TextBoxMeasurer& m = m_host.Measurer();
                switch (tool) {
                case 40: unit.MirrorRangeHorizontal(m, sel, plot, m_ToolPoints, p, t, turn); break;
                case 41: unit.MirrorRangeVertical(m, sel, plot, m_ToolPoints, p, t, turn); break;
                case 42: unit.RotateRangeLeft90(m, sel, plot, m_ToolPoints, p, t, turn); break;
                case 43: unit.RotateRangeRight90(m, sel, plot, m_ToolPoints, p, t, turn); break;
                case 46: {
                    int pictures = 0;
                    unit.DeleteRange(sel, plot, m_ToolPoints, p, t, pictures);
                    // Deleted pictures leave their files: one more step keeps them until undone.
                    if (pictures)
                        PushUndo();
                    break;
                }
                default: break;
                }
            }
            rangeDone(true);
            return;
        }
        return;
    }
    if (n == 2) {
        record();
        SetToolPrompt(tool == 38 ? kMoveTarget : kCopyTarget);
        m_host.RedrawAll();
        return;
    }
    // The target: moved ranges and copies are joined with the walls at their new place.
    if (tool == 38) {
        unit.MoveRange(sel, plot, m_ToolPoints, p, t);
        rejoinWalls();
        m_ToolPoints.clear();
        m_host.RedrawAll();
        SetToolPrompt(kRangeFirstAgain);
    } else if (tool == 39) {
        // Every further click places one more copy of the same range, each its own undo step.
        PushUndo();
        if (unit.CopyRange(sel, plot, m_ToolPoints, p, t, m_host.TempImageFolder()))
            rejoinWalls();
        else
            m_host.ShowMessage(kov::edit::texts::kCopyDrawingFull);
        m_ptCurrent = p;
        m_pxCurrent = d;
        m_host.RedrawAll();
    }
}

} // namespace kov::tools
