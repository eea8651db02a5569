// The steps of the wall tools that change existing walls: the partial wall deletion, the room
// vertex and the curved room wall.

#include "tools/ToolMachine.h"

#include "tools/ToolTexts.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>

namespace kov::tools {

namespace {

constexpr std::string_view kCutSecond = "消したい部分の二点目を左クリックで指定";
constexpr std::string_view kCutFirst = "消したい部分の一点目を左クリックで指定";
constexpr std::string_view kNoWallBetween = "２点間に壁はありません。";
constexpr std::string_view kBendOtherEnd = "曲線化したい壁のもう片方の頂点をクリック";
constexpr std::string_view kBendBulge = "曲線化する弧の大きさを決めて左クリック";

bool oneGroupSelected(const SelectionRecord& sel) { return sel.m_nCount == 1 && sel.m_Groups.size() == 1; }

} // namespace

void ToolMachine::StepWallPartialDelete(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    (void)t;
    if (m_ToolPoints.empty()) {
        PushUndo();
        m_ToolPoints.push_back(p);
        m_ptLast = p;
        m_pxLast = d;
        SetToolPrompt(kCutSecond);
        m_host.RedrawAll();
        return;
    }
    const CDbPoint first = m_ToolPoints.front();
    // Nearly the same x (or y) is taken as the same, so that a cut along a wall is square.
    if (std::fabs(first.x - p.x) < 0.001)
        p.x = first.x;
    else if (std::fabs(first.y - p.y) < 0.001)
        p.y = first.y;
    CKovUnit& unit = m_host.Unit();
    const CPlotInfo& plot = m_host.Plot();
    if (!unit.EraseWallPartOnCore(plot, first, p) && !unit.EraseWallPartInside(plot, first, p))
        m_host.ShowMessage(kNoWallBetween);
    m_ToolPoints.clear();
    SetToolPrompt(kCutFirst);
    m_host.RedrawAll();
}

void ToolMachine::StepAddRoomVertex(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    SelectionRecord& sel = m_host.Selection();
    if (oneGroupSelected(sel)) {
        PushUndo();
        m_host.Unit().AddRoomVertex(sel, m_host.Plot(), p, d, t);
    }
    // One vertex per start: the tool returns to select mode whatever the click did.
    m_ToolPoints.clear();
    m_host.ToolMode() = 0;
    m_host.RedrawAll();
    SetToolPrompt(kSelectMode);
}

void ToolMachine::StepCurveRoomWall(const DeviceTransform& t, DevicePoint d, CDbPoint p)
{
    SelectionRecord& sel = m_host.Selection();
    int answer = 3;
    if (oneGroupSelected(sel)) {
        answer = m_host.Unit().BendRoomWall(sel, m_host.Plot(), m_ToolPoints, p, d, t, m_settings.app_renzokusenbara);
        if (answer == 0)
            return;
        if (answer == 1 || answer == 2) {
            m_ptLast = m_ptCurrent = p;
            m_pxLast = m_pxCurrent = d;
            m_ToolPoints.push_back(p);
            // One undo takes back the whole bend: the snapshot comes before the arc is made.
            if (answer == 2)
                PushUndo();
            SetToolPrompt(answer == 1 ? kBendOtherEnd : kBendBulge);
            m_host.RedrawAll();
            return;
        }
    }
    m_ToolPoints.clear();
    sel.Clear();
    m_host.ToolMode() = 0;
    m_host.RedrawAll();
    SetToolPrompt(kSelectMode);
}

} // namespace kov::tools
