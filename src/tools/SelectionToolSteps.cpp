// Tools that work on the selection or take from the drawing: mirroring the selection about a line
// (63), picking up an object's attributes (14), fitting a picture to two drawing points (71) and
// moving the drawing's centre (37).

#include "tools/ToolMachine.h"

#include "tools/ToolTexts.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <cmath>

#include <string>

namespace kov::tools {

namespace {

constexpr std::string_view kNoReferenceLine = "基準線の取得に失敗しました";
constexpr std::string_view kPictureNotSelected = "画像の選択が外れています。選択からやり直してください";
constexpr std::string_view kClickOnPicture = "画像上をクリックしてください。";
constexpr std::string_view kPictureSecond = "画像上の次の点を左クリックしてください";
constexpr std::string_view kDrawingFirst = "図面上の基点となる位置を左クリックしてください";
constexpr std::string_view kDrawingSecond = "図面上の次の点を左クリックしてください";
constexpr std::string_view kCalibrationFailed = "位置合わせに失敗しました。最初からやり直してください。";

} // namespace

void ToolMachine::StepMirrorSelection(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    (void)d;
    if (!m_host.Unit().MirrorSelection(m_host.Selection(), m_host.Plot(), p, t)) {
        m_host.ShowMessage(kNoReferenceLine);
        return;
    }
    m_host.ToolMode() = 0;
    m_ToolPoints.clear();
    m_host.RedrawAll();
    SetToolPrompt(kSelectMode);
}

void ToolMachine::StepPickUpAttributes(unsigned flags, const DeviceTransform& t, CDbPoint p)
{
    (void)flags;
    m_ToolPoints.clear();
    m_bDragging = 0;
    SelectionRecord picked;
    CKovUnit::TextToolSettings textTool;
    const int hit = m_host.Unit().PickUpAttributes(m_host.Measurer(), picked, m_host.Plot(), m_host.Font(), p.x, p.y,
                                                   t, textTool);
    if (!hit) {
        CallSelectTool();
        m_host.RefreshLayerBar();
        m_host.RedrawAll();
        return;
    }
    if (!picked.m_Texts.empty() && picked.m_Groups.empty()) {
        // The text tool starts with the picked text's writing direction and angle.
        if (kov::platform::Profile* store = m_host.SettingsStore()) {
            store->WriteProfileInt("KOV_T_PlotMenu", "mozi_tategaki", textTool.mozi_tategaki);
            store->WriteProfileInt("KOV_T_PlotMenu", "mozi_kakudo", textTool.mozi_kakudo);
        }
    }
    const CKovUnit& unit = m_host.Unit();
    if (!picked.m_Groups.empty() || (picked.m_Walls.empty() && picked.m_Texts.empty() && picked.m_Lines.empty() &&
                                     !picked.m_Images.empty())) {
        CallSelectTool();
    } else if (!picked.m_Walls.empty()) {
        StartTool(1);
    } else if (!picked.m_Texts.empty()) {
        StartTool(8);
    } else if (!picked.m_Lines.empty()) {
        const CKovLine* f = unit.FindLine(picked.m_Lines.front());
        static constexpr int kToolOfKind[] = {3, 4, 5, 6, 7, 9};
        // Continuous lines and curves have no drawing tool of their own: the pick-up stays.
        if (f && f->MLineType >= 0 && f->MLineType <= 5)
            StartTool(kToolOfKind[f->MLineType]);
    }
    m_host.RefreshLayerBar();
    m_host.RedrawAll();
}

void ToolMachine::StepMatchImage(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    SelectionRecord& sel = m_host.Selection();
    CKovUnit& unit = m_host.Unit();
    if (!(sel.m_nCount == 1 && sel.m_Images.size() == 1)) {
        m_host.ShowMessage(kPictureNotSelected);
        ResetToolPalette();
        sel.Clear();
        m_ToolPoints.clear();
        m_host.ToolMode() = 0;
        m_host.RedrawAll();
        SetToolPrompt("");
        return;
    }
    const CKovImage* picture = static_cast<const CKovUnit&>(unit).FindImage(sel.m_Images.front());
    if (!picture)
        return;
    const DeviceRect& r = picture->m_rcDrawn;
    const bool onPicture = r.left <= d.x && d.x <= r.right && r.top <= d.y && d.y <= r.bottom;
    const std::size_t n = m_ToolPoints.size();
    if (n < 2 && !onPicture) {
        m_host.ShowMessage(kClickOnPicture);
        m_host.RedrawAll();
        return;
    }
    switch (n) {
    case 0:
        m_ptLast = p;
        m_pxLast = ToDevicePoint(p, t, CurrentGroup());
        m_ToolPoints.push_back(p);
        SetToolPrompt(kPictureSecond);
        break;
    case 1: {
        CGrid& grid = m_host.Grid();
        if (grid.visible && m_settings.app_autogridpita) {
            grid.kyutyaku = 1;
            m_host.ShowSnapButtons(m_host.Plot().PlotLinePita, m_host.Plot().PlotWallPita, 1);
        }
        m_ToolPoints.push_back(p);
        // The drawing points may lie in any direction from each other.
        m_nAxisLock = 0;
        SetToolPrompt(kDrawingFirst);
        break;
    }
    case 2:
        m_ToolPoints.push_back(p);
        SetToolPrompt(kDrawingSecond);
        break;
    default: {
        CDbPoint centre;
        std::string why;
        if (unit.CalibrateImage(sel, t, m_host.Plot(), m_ToolPoints, p, centre, &why)) {
            // The picture lies on the paper: its centre in paper millimetres.
            const auto g = static_cast<std::size_t>(CurrentGroup());
            const double paper = t.paperScale != 0 ? t.paperScale : 1;
            CKovImage& live = *unit.FindImage(sel.m_Images.front());
            live.OffsetX = centre.x * t.scaleX[g] / paper;
            live.OffsetY = centre.y * t.scaleY[g] / paper;
        } else {
            // The picture stays as it was.
            if (!why.empty())
                m_host.ShowMessage(why);
            m_host.ShowMessage(kCalibrationFailed);
        }
        m_ToolPoints.clear();
        m_host.ToolMode() = 0;
        m_host.RedrawAll();
        SetToolPrompt("");
        return;
    }
    }
    m_host.RedrawAll();
}

void ToolMachine::StepDrawingCentre(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    PushUndo();
    m_ToolPoints.clear();
    m_bDragging = 0;
    using kov::platform::formatFixed;
    // Up is positive in what the user reads.
    const std::string message = "編集中レイヤーグループの中心点を現在の(" + formatFixed(p.x, 2) + "," +
                                formatFixed(-p.y, 2) + ")に変更しますがよろしいですか？";
    const std::optional<bool> allGroups = m_host.AskOriginChange(message);
    if (!allGroups)
        return;
    CKovUnit& unit = m_host.Unit();
    const CKovUnit* snapshot = m_host.NewestSnapshot();
    if (!snapshot)
        return;
    const CPlotInfo& plot = m_host.Plot();
    const int g = CurrentGroup();
    const double paper = t.paperScale != 0 ? t.paperScale : 1;
    auto shift = [&](int group, double x, double y, DevicePoint click) {
        unit.MoveLayerGroupCentre(x, y, *snapshot, group);
        // Pictures lie on the paper: they move by the whole paper millimetres from the click to the origin.
        DevicePoint origin;
        ToDevicePointInt(origin, 0, 0, t, group);
        const double mx = std::trunc((origin.x - click.x) / paper), my = std::trunc((origin.y - click.y) / paper);
        for (int i = 0; i < unit.m_Images.GetSize(); ++i)
            if (static_cast<const CKovUnit&>(unit).m_Images[i]->IMGLayer1 == group)
                unit.m_Images[i]->MoveBy(mx, my);
    };
    shift(g, p.x, p.y, d);
    if (*allGroups) {
        const auto& scales = plot.m_Layer.m_dScale;
        const double own = scales[static_cast<std::size_t>(g)];
        for (int j = 0; j < CLayer::kUsed; ++j) {
            if (j == g || own == 0)
                continue;
            const double ratio = scales[static_cast<std::size_t>(j)] / own;
            const CDbPoint q{p.x * ratio, p.y * ratio};
            shift(j, q.x, q.y, ToDevicePoint(q, t, j));
        }
    }
    CallSelectTool();
    m_host.RefreshLayerBar();
    m_host.RedrawAll();
}

} // namespace kov::tools
