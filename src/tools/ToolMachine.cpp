// The tool machine: click, release, double-click, right-button, move and key handlers, the click
// dispatcher, select mode, the tool starts, zoom and view commands, undo and redo.

#include "tools/ToolMachine.h"

#include "tools/ToolTexts.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace kov::tools {

namespace {

bool isIn(int tool, std::initializer_list<int> tools) { return std::find(tools.begin(), tools.end(), tool) != tools.end(); }

// Tools whose every click goes to their own step.
bool ownStepTool(int tool)
{
    return tool == 5 || (tool >= 14 && tool <= 54) || tool == 56 || tool == 57 || tool == 58
           || (tool >= 60 && tool <= 69) || tool == 71;
}

} // namespace

void ToolSettings::Load(const kov::platform::Profile& profile)
{
    constexpr std::string_view u = "KOV_T_UTILITY";
    app_autopita = profile.GetProfileInt(u, "app_autopita", 1);
    app_autogridpita = profile.GetProfileInt(u, "app_autogridpita", 1);
    app_linetyoku = profile.GetProfileInt(u, "app_linetyoku", 0);
    app_walltyoku = profile.GetProfileInt(u, "app_walltyoku", 0);
    app_gridallpita = profile.GetProfileInt(u, "app_gridallpita", 1);
    app_mousemovelisp = profile.GetProfileInt(u, "app_mousemovelisp", 2);
    app_pen_cursor = profile.GetProfileInt(u, "app_pen_cursor", 1);
    app_sinsyuku = profile.GetProfileInt(u, "app_sinsyuku", 0);
    app_renzokusenbara = profile.GetProfileInt(u, "app_renzokusenbara", 0);
    app_zukeipropview = profile.GetProfileInt("KOV_T_PlotMenu", "app_zukeipropview", 1);
    app_sunpotyoku = profile.GetProfileInt(u, "app_sunpotyoku", 0);
    zoomupold = profile.GetProfileInt(u, "zoomupold", 0);
    app_zoomjyouzi = profile.GetProfileInt(u, "app_zoomjyouzi", 0);
    buhin_renzoku = profile.GetProfileInt(u, "buhin_renzoku", 0);
    zukei_moyou_auto = profile.GetProfileInt(u, "zukei_moyou_auto", 0);
    hach_kankaku_line = kov::platform::parseDouble(profile.GetProfileString(u, "hach_kankaku_line", "3"));
}

ToolMachine::ToolMachine(ToolHost& host, ToolSettings settings, PageGeometry* page)
    : m_Page(page ? *page : m_ownPage), m_host(host), m_settings(settings)
{
}

// -- small services ------------------------------------------------------------------------------

void ToolMachine::collect(const DevicePoint& d, const CDbPoint& p)
{
    m_pxCurrent = d;
    m_ptLast = p;
    m_ToolPoints.push_back(p);
    m_ptCurrent = p;
}


void ToolMachine::rejoinWalls()
{
    CKovUnit& unit = m_host.Unit();
    const int g = CurrentGroup();
    std::vector<int> ids;
    for (const auto& w : static_cast<const CKovUnit&>(unit).m_Walls)
        if (w->MWallLayer1 == g)
            ids.push_back(w->MWallID);
    for (int id : ids)
        unit.ResetWallOutline(id);
    unit.JoinWalls(g);
}

void ToolMachine::ResetToolPalette()
{
    CancelPlacement();
    m_nAxisLock = 0;
    m_nZoomMode = 0;
    m_bHandTool = 0;
    const CPlotInfo& plot = m_host.Plot();
    m_host.ShowSnapButtons(plot.PlotLinePita, plot.PlotWallPita, m_host.Grid().kyutyaku);
    m_host.RefreshLayerBar();
    m_host.ClosePanels();
    m_nRoomPanelMode = -1;
}

void ToolMachine::CallSelectTool()
{
    ResetToolPalette();
    m_host.ToolMode() = 0;
    m_ToolPoints.clear();
    SetToolPrompt(kSelectMode);
    m_host.RedrawAll();
}

int ToolMachine::CancelPlacement()
{
    if (!m_bPlacing)
        return 0;
    m_bPlacing = 0;
    SelectionRecord& sel = m_host.Selection();
    if (sel.m_nCount != 1)
        return 0;
    bool walls = false;
    for (int id : sel.m_Groups)
        if (const CKovGroup* g = static_cast<const CKovUnit&>(m_host.Unit()).FindGroup(id); g && !g->MGrpWallID.empty())
            walls = true;
    for (int id : sel.m_Groups)
        m_host.Unit().DeleteGroup(id);
    sel.Clear();
    // The placement had taken the walls' joints apart: they are joined again without the part.
    if (walls)
        rejoinWalls();
    return 1;
}

void ToolMachine::CallDelete()
{
    // One snapshot for the whole deletion, whichever way it was asked for.
    PushUndo();
    if (CancelPlacement()) {
        m_host.RedrawAll();
        return;
    }
    SelectionRecord& sel = m_host.Selection();
    CKovUnit& unit = m_host.Unit();
    bool walls = !sel.m_Walls.empty();
    for (int id : sel.m_Groups)
        if (const CKovGroup* g = static_cast<const CKovUnit&>(unit).FindGroup(id); g && !g->MGrpWallID.empty())
            walls = true;
    // One pass over each array, however many objects are selected.
    unit.DeleteSelection(sel);
    sel.Clear();
    if (walls)
        rejoinWalls();
    m_host.RedrawAll();
}

// -- mouse ----------------------------------------------------------------------------------------

void ToolMachine::OnLButtonDown(unsigned flags, DevicePoint client)
{
    const int tool = ToolMode();
    if (tool == 0 && flags == (MK_LBUTTON | MK_RBUTTON)) {
        flags = MK_LBUTTON;
        m_nZoomMode = 2;
        m_bBothButtons = 1;
    }
    m_bDragging = 0;
    DevicePoint device;
    CDbPoint point;
    DeviceTransform t;
    ClientToDrawingPoint(client.x, client.y, device, point, t, flags, 1);
    if (m_nZoomMode) {
        m_bDragging = 1;
        m_Page.BeginZoomGesture(client, m_nZoomMode);
        return;
    }
    if (m_bHandTool) {
        m_bDragging = 1;
        m_Page.m_pxPress = client;
        m_Page.m_pxPressScroll = m_Page.scrollPosition();
        m_pxLast = client;
        return;
    }
    DispatchToolAction(device, point, t, flags);
    m_host.ShowCoordinates(m_ptCurrent, {0, 0});
}

void ToolMachine::OnLButtonUp(unsigned flags, DevicePoint client)
{
    DeviceTransform t;
    ClientToDrawingPoint(client.x, client.y, m_pxCurrent, m_ptCurrent, t, flags, 0);
    DispatchButtonUp(client, t, flags);
}

void ToolMachine::OnLButtonDblClk(unsigned flags, DevicePoint client)
{
    const int tool = ToolMode();
    if (tool == 0 && flags == (MK_LBUTTON | MK_CONTROL))
        return;
    m_bDragging = 0;
    DevicePoint device;
    CDbPoint point;
    DeviceTransform t;
    ClientToDrawingPoint(client.x, client.y, device, point, t, flags, 1);
    if (isIn(tool, {26, 30, 31})) {
        StepMultiPoint(tool, t, device, point, 1);
        return;
    }
    if (tool == 48 || tool == 49) {
        tool == 48 ? FinishAreaTotal(point) : FinishLengthTotal(point);
        return;
    }
    if (tool == 27 || tool == 61) {
        StepDoubleLine(tool, t, device, point, 1);
        return;
    }
    if (tool == 56) {
        StepStairs(device, point, 1);
        return;
    }
    if (isIn(tool, {53, 54})) {
        tool == 53 ? StepOuterWallLine(device, point, 1) : StepBalcony(device, point, 1);
        return;
    }
    if (tool == 0) {
        m_ToolPoints.clear();
        m_host.Unit().PickAtPoint(m_host.Measurer(), m_host.Selection(), m_host.Plot(), point.x, point.y, t, flags, 1);
    }
    m_ptLast = m_ptCurrent = point;
    m_pxLast = m_pxCurrent = device;
    m_host.RedrawAll();
}

void ToolMachine::OnRButtonDown(unsigned flags, DevicePoint client)
{
    int tool = ToolMode();
    if (tool == 0 && flags == (MK_LBUTTON | MK_RBUTTON)) {
        OnLButtonDown(flags, client);
        return;
    }
    if (m_bPlacing)
        return;
    if (!m_ToolPoints.empty()) {
        if (isIn(tool, {5, 11, 26, 27, 30, 31, 53, 54, 55, 56, 61, 62, 66, 69, 71})) {
            m_ToolPoints.pop_back();
            if (isIn(tool, {5, 26, 27, 54, 61}) && m_bArcInsert) {
                m_bArcInsert = 0;
                m_host.UncheckArcButton();
            }
        } else {
            m_ToolPoints.clear();
        }
    }
    if (m_nZoomMode)
        m_bBothButtons = 1;
    m_bHandTool = 0;
    m_nZoomMode = 0;
    const bool stays = (tool >= 1 && tool <= 11) || isIn(tool, {26, 27, 30, 31, 51, 53, 54, 55, 56, 61, 62, 66, 69, 70, 71});
    if (!stays) {
        m_host.ToolMode() = 0;
        CallSelectTool();
        m_host.RefreshLayerBar();
    }
    m_host.RedrawAll();
}

bool ToolMachine::OnRButtonUp(unsigned flags, DevicePoint client)
{
    (void)flags;
    (void)client;
    if (m_bBothButtons) {
        m_bBothButtons = 0;
        return false;
    }
    return true;
}

void ToolMachine::OnMouseMove(unsigned flags, DevicePoint client)
{
    if (m_nFirstMove == 1) {
        // The picture is current already: the first move only repaints the overlays.
        m_host.InvalidateOverlay();
        m_nFirstMove = 2;
    }
    if (m_bHandTool && m_bDragging) {
        PanByDrag(client);
        return;
    }
    DeviceTransform t;
    ClientToDrawingPoint(client.x, client.y, m_pxCurrent, m_ptCurrent, t, flags, 0);
    const int tool = ToolMode();
    if ((m_nZoomMode == 1 || m_nZoomMode == 2) && m_bDragging) {
        if (!m_settings.zoomupold && m_Page.DragZoom(client.x, client.y, m_nZoomMode))
            m_host.RedrawAll();
        return;
    }
    if (!m_nZoomMode && !m_bHandTool && (m_bDragging || m_bPlacing) && tool == 0) {
        SelectionRecord& sel = m_host.Selection();
        if (m_bPlacing && sel.IsEmpty() && !m_host.Unit().m_Groups.empty())
            sel.AddGroupId(static_cast<const CKovUnit&>(m_host.Unit()).m_Groups[m_host.Unit().m_Groups.GetSize() - 1]->MGrpID);
        const double moved = std::hypot(m_pxCurrent.x - m_pxLast.x, m_pxCurrent.y - m_pxLast.y);
        const bool wobble = m_settings.app_mousemovelisp != 0 && moved != 0 && moved <= m_settings.app_mousemovelisp;
        if (!wobble && !sel.IsEmpty())
            dragSelection(t);
    } else if (tool == 58 && !m_ToolPoints.empty()) {
        StepFreeCurve(t, client, m_ptCurrent, 2);
    }
    m_bPrintRange = 0;
    const bool relative = !m_ToolPoints.empty() || m_bDragging;
    m_host.ShowCoordinates(m_ptCurrent, relative ? CDbPoint{m_ptCurrent.x - m_ptLast.x, m_ptCurrent.y - m_ptLast.y}
                                                 : CDbPoint{0, 0});
    m_host.InvalidateOverlay();
}

void ToolMachine::PanByDrag(DevicePoint q)
{
    if (std::abs(m_pxLast.x - q.x) + std::abs(m_pxLast.y - q.y) < 10)
        return;
    const DevicePoint press = m_Page.m_pxPress;
    const DevicePoint scroll = m_Page.m_pxPressScroll;
    m_Page.ScrollToPosition({scroll.x + press.x - q.x, scroll.y + press.y - q.y});
    m_pxLast = q;
    m_host.RedrawAll();
}

// -- keys -----------------------------------------------------------------------------------------

void ToolMachine::OnKeyDown(ToolKey key, DevicePoint pointerClient)
{
    const int tool = ToolMode();
    const CPlotInfo& plot = m_host.Plot();
    switch (key) {
    case ToolKey::Enter: {
        if (tool == 0)
            return;
        std::optional<DeviceTransform> t = MakeTransform();
        if (!t)
            return;
        DevicePoint d = m_pxCurrent;
        CDbPoint p = m_ptCurrent;
        DispatchToolAction(d, p, *t, MK_LBUTTON);
        DispatchButtonUp(d, *t, MK_LBUTTON);
        break;
    }
    case ToolKey::Escape:
        m_ToolPoints.clear();
        break;
    case ToolKey::Left:
    case ToolKey::Up:
    case ToolKey::Right:
    case ToolKey::Down: {
        const SelectionRecord& sel = m_host.Selection();
        if (sel.IsEmpty())
            break;
        PushUndo();
        const double dx = key == ToolKey::Left ? -plot.PlotMoveX : key == ToolKey::Right ? plot.PlotMoveX : 0;
        const double dy = key == ToolKey::Up ? -plot.PlotMoveY : key == ToolKey::Down ? plot.PlotMoveY : 0;
        if (const CKovUnit* snapshot = m_host.NewestSnapshot()) {
            m_bDragging = 1;
            m_host.Unit().MoveSelection(sel, dx, dy, *snapshot);
            m_bDragging = 0;
            if (!sel.m_Walls.empty() || !sel.m_Groups.empty())
                rejoinWalls();
        }
        break;
    }
    case ToolKey::Delete:
        CallDelete();
        break;
    case ToolKey::S:
        CallSelectTool();
        break;
    case ToolKey::Pad4:
    case ToolKey::Pad6:
    case ToolKey::Pad8:
    case ToolKey::Pad2: {
        m_bDragging = 0;
        m_ptCurrent.x += key == ToolKey::Pad4 ? -plot.PlotMoveX : key == ToolKey::Pad6 ? plot.PlotMoveX : 0;
        m_ptCurrent.y += key == ToolKey::Pad8 ? -plot.PlotMoveY : key == ToolKey::Pad2 ? plot.PlotMoveY : 0;
        if (std::optional<DeviceTransform> t = MakeTransform())
            m_pxCurrent = ToDevicePoint(m_ptCurrent, *t, CurrentGroup());
        const bool relative = !m_ToolPoints.empty();
        m_host.ShowCoordinates(m_ptCurrent, relative ? CDbPoint{m_ptCurrent.x - m_ptLast.x, m_ptCurrent.y - m_ptLast.y}
                                                     : CDbPoint{0, 0});
        break;
    }
    case ToolKey::PadMultiply:
        if (m_Page.m_dZoom != 1.0)
            FitAll();
        return;
    case ToolKey::PadAdd:
        m_Page.m_pxPress = pointerClient;
        if (m_Page.RangeZoom(pointerClient.x, pointerClient.y))
            m_host.RedrawAll();
        return;
    case ToolKey::PadSubtract:
        if (m_Page.m_dZoom != 1.0)
            ZoomOut();
        return;
    case ToolKey::Other:
        break;
    }
    m_host.RedrawAll();
}

int ToolMachine::CursorId() const
{
    const int tool = ToolMode();
    if (m_nZoomMode == 3) return 369;
    if (m_nZoomMode == 1 || m_nZoomMode == 2) return 180;
    if (m_bHandTool) return m_bDragging ? 1661 : 334;
    if (tool == 0) {
        if (m_bPlacing) return 105;
        if (m_bDragging && !m_host.Selection().IsEmpty()) {
            if (m_nAxisLock == 3) return CURSOR_SIZEALL;
            if (m_nAxisLock == 1) return CURSOR_SIZENS;
            if (m_nAxisLock == 2) return CURSOR_SIZEWE;
        }
        return 0;
    }
    struct C { int tool; int cursor; };
    static const C table[] = {
        {1, 139}, {10, 139}, {11, 139}, {2, 207}, {8, 305}, {70, 305}, {12, 186}, {13, 186}, {59, 186}, {14, 198},
        {18, 220}, {19, 221}, {57, 221}, {20, 222}, {21, 201}, {22, 225}, {23, 217}, {24, 217}, {32, 212}, {33, 211},
        {64, 211}, {34, 223}, {35, 233}, {36, 278}, {37, 208}, {38, 238}, {39, 235}, {40, 236}, {41, 236},
        {42, 270}, {43, 271}, {44, 209}, {47, 209}, {45, 329}, {46, 237}, {48, 218}, {49, 219}, {50, 214},
        {52, 284}, {55, 273}, {56, 295}, {60, 1659}, {63, 324}, {65, 154}, {66, 370}, {67, 333}};
    for (const C& c : table)
        if (c.tool == tool)
            return c.cursor;
    return m_settings.app_pen_cursor ? 152 : 314;
}

// -- dispatch -------------------------------------------------------------------------------------

void ToolMachine::DispatchToolAction(DevicePoint& device, CDbPoint& point, const DeviceTransform& t, unsigned flags)
{
    if (flags == (MK_LBUTTON | MK_SHIFT)) {
        std::optional<CDbPoint> entered = m_host.AskRelativePoint(point);
        if (!entered) {
            m_ptLast = m_ptCurrent = point;
            m_pxLast = m_pxCurrent = device;
            return;
        }
        point = *entered;
        const int g = CurrentGroup();
        device.x = static_cast<int>(std::trunc(t.scaleX[static_cast<std::size_t>(g)] * point.x)) + t.originX;
        device.y = static_cast<int>(std::trunc(t.scaleY[static_cast<std::size_t>(g)] * point.y)) + t.originY;
        m_bDragging = 0;
    }
    const int tool = ToolMode();
    if (ownStepTool(tool)) {
        switch (tool) {
        case 5: StepPolygon(t, device, point); break;
        case 26: case 30: case 31: StepMultiPoint(tool, t, device, point, 0); break;
        case 58: StepFreeCurve(t, device, point, 1); break;
        case 28: case 29: StepEllipse(tool, t, device, point); break;
        case 25: StepThreePointArc(t, device, point); break;
        case 50: StepTriangle(device, point); break;
        case 51: StepDimensionedRectangle(point); break;
        case 62: StepRoundedRectangle(t, device, point); break;
        case 38: case 39: case 40: case 41: case 42: case 43: case 44: case 45: case 46: case 60:
            StepRange(t, device, point);
            break;
        case 63: StepMirrorSelection(t, device, point); break;
        case 14: StepPickUpAttributes(flags, t, point); break;
        case 71: StepMatchImage(t, device, point); break;
        case 37: StepDrawingCentre(t, device, point); break;
        case 69: StepNotationSymbols(device, point); break;
        case 18: StepCutLine(t, device, point); break;
        case 19: StepPartialCut(t, device, point); break;
        case 20: StepEraseLine(t, device, point); break;
        case 21: StepParallelLine(t, device, point); break;
        case 22: StepTwoLines(t, device, point); break;
        case 32: StepTrimExtend(t, device, point); break;
        case 33: StepDivideBetweenPoints(device, point); break;
        case 34: StepEnvelope(device, point); break;
        case 35: StepCorner(t, device, point); break;
        case 36: StepChamfer(t, device, point); break;
        case 64: StepDivideFigure(t, device, point); break;
        case 67: StepJoinLines(t, device, point); break;
        case 15: StepLineByLength(device, point); break;
        case 16: StepLineByAngle(device, point); break;
        case 17: StepPerpendicular(t, device, point); break;
        case 23: case 24: StepCircleTangent(t, device, point); break;
        case 47: StepMeasureAngle(device, point); break;
        case 48: StepAreaTotal(device, point); break;
        case 49: StepLengthTotal(device, point); break;
        case 27: case 61: StepDoubleLine(tool, t, device, point, 0); break;
        case 56: StepStairs(device, point, 0); break;
        case 57: StepWallPartialDelete(t, device, point); break;
        case 65: StepAddRoomVertex(t, device, point); break;
        case 66: StepCurveRoomWall(t, device, point); break;
        case 68: StepBalloon(t, device, point); break;
        case 52: StepRoof(device, point); break;
        case 53: StepOuterWallLine(device, point, 0); break;
        case 54: StepBalcony(device, point, 0); break;
        default: break;
        }
        return;
    }
    m_bDragging = flags == (MK_LBUTTON | MK_SHIFT) ? 0 : 1;
    m_bMoved = 0;
    if (m_bPlacing)
        return; // the placement click does nothing; the release ends it
    SelectionRecord& sel = m_host.Selection();
    if (tool == 0) {
        SelectClick(point, t, flags);
    } else if (m_ToolPoints.empty()) {
        sel.Clear();
        if (tool == 8)
            StepText(point);
        else if (tool == 70)
            StepDecoratedText(point);
        else
            m_ToolPoints.push_back(point);
    } else {
        sel.Clear();
        switch (tool) {
        case 1:
            StepWall(point);
            m_ToolPoints.clear();
            break;
        case 10:
            StepRectRoom(point);
            m_ToolPoints.clear();
            break;
        case 11:
            if (StepPolygonRoom(point))
                m_ToolPoints.clear();
            break;
        case 55:
            if (StepFitting(device, point))
                m_ToolPoints.clear();
            break;
        default:
            if (CompleteBasicShape(point, t))
                m_ToolPoints.clear();
            else
                m_ToolPoints.push_back(point);
            break;
        }
    }
    m_ptLast = m_ptCurrent = point;
    m_pxLast = m_pxCurrent = device;
    m_host.RedrawAll();
}

void ToolMachine::DispatchButtonUp(DevicePoint device, const DeviceTransform& t, unsigned flags)
{
    (void)device;
    (void)flags;
    const int tool = ToolMode();
    SelectionRecord& sel = m_host.Selection();
    if (m_nZoomMode) {
        if (m_settings.zoomupold)
            m_Page.RangeZoom(device.x, device.y);
        else if (m_nZoomMode == 3)
            m_Page.DragZoom(device.x, device.y, 3);
        m_Page.EndZoomGesture();
        if (!m_settings.app_zoomjyouzi)
            SetToolPrompt("");
    } else if (m_bHandTool) {
        if (!m_settings.app_zoomjyouzi)
            SetToolPrompt("");
    } else if (tool == 2) {
        FinishColumnDrag(m_ptCurrent);
        m_ToolPoints.clear();
    } else if (m_bPlacing) {
    } else if (tool == 0 && m_bDragging) {
        if (sel.IsEmpty()) {
            m_host.Unit().SelectInRectOnLayer(sel, m_host.Plot(), m_ptLast.x, m_ptLast.y, m_ptCurrent.x, m_ptCurrent.y, t);
        } else if (m_bMoved) {
            FinishSelectionDrag(t);
        }
    }
    if (m_bPlacing && tool == 0 && !m_nZoomMode && !m_bHandTool)
        FinishPlacement();
    if (m_settings.app_zoomjyouzi) {
        if (m_nZoomMode == 2)
            m_nZoomMode = 0;
    } else {
        m_nZoomMode = 0;
        m_bHandTool = 0;
    }
    sel.m_nGripKind = 0;
    if (!m_settings.app_sinsyuku && m_bStretchRotate) {
        m_bStretchRotate = 0;
        m_host.SetStretchRotateButton(false);
    }
    if ((tool == 12 || tool == 13) && !m_ToolPoints.empty()) {
        m_ToolPoints.clear();
        m_host.RangeToPicture(tool, m_pxLast, device);
    } else if (tool == 59 && !m_ToolPoints.empty()) {
        FinishPrintRange();
    }
    m_bDragging = 0;
    m_bMoved = 0;
    m_host.RedrawAll();
}

// -- tool starts ----------------------------------------------------------------------------------

bool ToolMachine::StartTool(int tool)
{
    if (tool < 1 || tool > 71 || tool == 24 || tool == 2)
        return false;
    const ToolInfo& info = ToolTable()[static_cast<std::size_t>(tool)];
    CPlotInfo& plot = m_host.Plot();
    CGrid& grid = m_host.Grid();
    SelectionRecord& sel = m_host.Selection();
    const bool stylePanel = m_settings.app_zukeipropview != 0;

    // Starts that may refuse before anything happens.
    if (tool == 71 && !(sel.m_nCount == 1 && sel.m_Images.size() == 1))
        return false;

    for (char step : info.starts) {
        switch (step) {
        case 'U': PushUndo(); break;
        case 'R': ResetToolPalette(); break;
        case 'P': m_ToolPoints.clear(); break;
        case 'S': sel.Clear(); break;
        default: break;
        }
        if (tool == 21 && step == 'U') {
            // The parallel-line distance is asked before the palette resets; Cancel keeps the tool.
            std::optional<double> d = m_host.AskParallelDistance(m_dParallelDistance);
            if (!d)
                return false;
            m_dParallelDistance = *d;
            if (kov::platform::Profile* store = m_host.SettingsStore())
                store->WriteProfileString("KOV_T_UTILITY", "tool_hukusen", kov::platform::formatFixed(*d, 5));
        }
    }
    if (tool == 13 || tool == 14 || tool == 59 || tool == 12)
        m_nAxisLock = 0;
    if (tool == 23) {
        const CKovLine* f = sel.m_Lines.size() == 1 && sel.m_nCount == 1
                                ? static_cast<const CKovUnit&>(m_host.Unit()).FindLine(sel.m_Lines[0])
                                : nullptr;
        if (!f) {
            if (sel.m_Lines.size() != 1 || sel.m_nCount != 1)
                return false;
            return false; // the figure vanished: the start ends silently
        }
        if (f->MLineType != 3 && f->MLineType != 4) {
            m_host.ShowMessage(kNotACircle);
            return false;
        }
        if (f->MLineType == 3 && f->MLineParam.size() == 2) {
            m_host.ShowMessage(kNoEllipseTangent);
            return false;
        }
    }

    auto wallSnapOff = [&] {
        if (m_settings.app_autopita) plot.PlotWallPita = 0;
    };
    switch (tool) {
    case 1:
        if (m_settings.app_autopita) {
            plot.PlotWallPita = 1;
            plot.PlotLinePita = 0;
        }
        if (m_settings.app_autogridpita) {
            grid.visible = 1;
            grid.kyutyaku = 1;
        }
        m_host.OpenPanel(ToolPanel::WallThickness, 0, true);
        if (m_settings.app_walltyoku) m_nAxisLock = 3;
        break;
    case 3:
        wallSnapOff();
        m_host.OpenPanel(ToolPanel::Style, 0, stylePanel);
        if (m_settings.app_linetyoku) m_nAxisLock = 3;
        break;
    case 4: wallSnapOff(); m_host.OpenPanel(ToolPanel::Style, 1, stylePanel); break;
    case 5:
        m_host.OpenPanel(ToolPanel::Style, 2, stylePanel);
        m_host.OpenPanel(ToolPanel::DoubleLine, 3, true);
        wallSnapOff();
        break;
    case 6: case 7:
        wallSnapOff();
        m_host.OpenPanel(ToolPanel::Style, tool == 6 ? 3 : 4, stylePanel);
        m_host.OpenPanel(ToolPanel::FixedRadius, 0, true);
        break;
    case 8:
        StartTextPanels(8);
        m_host.OpenPanel(ToolPanel::Text, 0, true);
        break;
    case 9:
        if (m_settings.app_autopita) plot.PlotWallPita = 1;
        if (m_settings.app_sunpotyoku) m_nAxisLock = 3;
        break;
    case 10: case 11:
        m_nRoomPanelMode = tool == 10 ? 0 : 1;
        m_bRoomFixedSize = 0;
        m_nRoomSizeIndex = 2;
        m_host.OpenPanel(ToolPanel::RoomChoice, m_nRoomPanelMode, true);
        if (m_settings.app_autopita) plot.PlotWallPita = 1;
        if (m_settings.app_autogridpita && grid.visible) grid.kyutyaku = 1;
        break;
    case 12: m_host.OpenPanel(ToolPanel::PictureOutput, 0, true); break;
    case 15:
        m_host.OpenPanel(ToolPanel::Distance, 0, true);
        if (m_settings.app_linetyoku) m_nAxisLock = 3;
        break;
    case 16: m_host.OpenPanel(ToolPanel::Angle, 0, true); break;
    case 22: m_host.OpenPanel(ToolPanel::DoubleLine, 0, true); break;
    case 25: case 29: m_host.OpenPanel(ToolPanel::Style, 4, stylePanel); break;
    case 26:
        m_host.OpenPanel(ToolPanel::Style, 0, stylePanel);
        m_host.OpenPanel(ToolPanel::DoubleLine, 4, true);
        break;
    case 27:
        m_host.OpenPanel(ToolPanel::Style, 0, stylePanel);
        m_host.OpenPanel(ToolPanel::DoubleLine, 1, true);
        break;
    case 28: m_host.OpenPanel(ToolPanel::Style, 3, stylePanel); break;
    case 30: case 31: case 58: m_host.OpenPanel(ToolPanel::Style, 0, stylePanel); break;
    case 36: m_host.OpenPanel(ToolPanel::Chamfer, 0, true); break;
    // The outer-wall line is finished by double click or by the panel's "作図終了".
    case 53: m_host.OpenPanel(ToolPanel::DoubleLine, 5, true); break;
    case 54: m_host.OpenPanel(ToolPanel::DoubleLine, 1, true); break;
    case 55:
        m_host.OpenPanel(ToolPanel::Fittings, 0, true);
        if (m_settings.app_walltyoku) m_nAxisLock = 3;
        break;
    case 56:
        if (const kov::platform::Profile* p = m_host.SettingsStore()) m_Stairs.Load(*p);
        m_host.OpenPanel(ToolPanel::Stairs, 0, true);
        if (m_settings.app_walltyoku) m_nAxisLock = 3;
        break;
    case 57:
        if (m_settings.app_autopita && !plot.PlotWallPita) {
            plot.PlotWallPita = 1;
            plot.PlotLinePita = 0;
        }
        if (m_settings.app_autogridpita) grid.kyutyaku = grid.visible ? 1 : 0;
        break;
    case 61:
        m_host.OpenPanel(ToolPanel::Style, 2, stylePanel);
        m_host.OpenPanel(ToolPanel::DoubleLine, 2, true);
        break;
    case 62: m_host.OpenPanel(ToolPanel::Style, 1, stylePanel); break;
    case 68:
        m_Balloon = BalloonValues{};
        m_host.OpenPanel(ToolPanel::Style, 1, stylePanel);
        m_host.OpenPanel(ToolPanel::Balloon, 0, true);
        break;
    case 70:
        StartTextPanels(70);
        m_host.OpenPanel(ToolPanel::DecoratedText, 0, true);
        break;
    case 71:
        if (m_settings.app_autogridpita) grid.kyutyaku = 0;
        m_nAxisLock = 3;
        FitAll();
        m_ToolPoints.clear();
        m_host.ShowMessage(kMatchPictureHelp);
        break;
    default: break;
    }
    m_host.ToolMode() = tool;
    m_host.ShowSnapButtons(plot.PlotLinePita, plot.PlotWallPita, grid.kyutyaku);
    if (tool != 13 && tool != 14 && tool != 59)
        m_host.RedrawAll();
    SetToolPrompt(info.prompt);
    return true;
}

bool ToolMachine::OnCommand(int command)
{
    switch (command) {
    case kCmdFitAll: FitAll(); return true;
    case kCmdZoomIn: ZoomIn(); return true;
    case kCmdZoomOut: ZoomOut(); return true;
    case kCmdRangeZoom: StartRangeZoom(); return true;
    case kCmdHandTool: OnHandTool(); return true;
    case kCmdToggleGrid: OnToggleGrid(); return true;
    case kCmdTraceMode: m_bTracing = !m_bTracing; m_host.RedrawAll(); return true;
    case kCmdUndo: OnUndo(); return true;
    case kCmdRedo: OnRedo(); return true;
    default: break;
    }
    for (const ToolInfo& info : ToolTable())
        if (info.command != 0 && info.command == command) {
            StartTool(info.number);
            return true;
        }
    return false;
}

// -- zoom and view ---------------------------------------------------------------------------------

void ToolMachine::FitAll()
{
    m_bHandTool = 0;
    m_Page.ResetZoom();
    m_host.RedrawAll();
}

void ToolMachine::ZoomIn()
{
    m_bHandTool = 0;
    m_nZoomMode = 1;
    SetToolPrompt(m_settings.zoomupold ? kZoomInClick : kZoomInDrag);
}

void ToolMachine::ZoomOut()
{
    m_bHandTool = 0;
    m_Page.m_dZoom = std::max(1.0, m_Page.m_dZoom * 2 / 3);
    if (m_Page.m_dZoom == 1.0)
        m_Page.ResetZoom();
    else
        m_Page.UpdateScrollSizes();
    m_host.RedrawAll();
}

void ToolMachine::StartRangeZoom()
{
    m_bHandTool = 0;
    m_nZoomMode = 3;
    SetToolPrompt(kRangeZoom);
}

void ToolMachine::OnHandTool()
{
    m_bHandTool = 1;
    SetToolPrompt(kHandTool);
}

void ToolMachine::OnToggleGrid()
{
    CGrid& grid = m_host.Grid();
    if (grid.visible) {
        grid.visible = 0;
        grid.kyutyaku = 0;
    } else {
        grid.visible = 1;
        grid.kyutyaku = 1;
    }
    const CPlotInfo& plot = m_host.Plot();
    m_host.ShowSnapButtons(plot.PlotLinePita, plot.PlotWallPita, grid.kyutyaku);
    m_host.RedrawAll();
}

// -- undo and redo ----------------------------------------------------------------------------------

void ToolMachine::OnUndo()
{
    if (m_host.Undo(m_bPlacing != 0))
        m_host.RedrawAll();
}

void ToolMachine::OnRedo()
{
    if (m_bPlacing)
        return;
    if (m_host.Redo())
        m_host.RedrawAll();
}

} // namespace kov::tools
