// Tools that work on the selection or take from the drawing: mirroring the selection about a line
// (63), picking up an object's attributes (14) and fitting a picture to two drawing points (71).

#include "tools/ToolMachine.h"

#include "tools/ToolTexts.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

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

} // namespace kov::tools
