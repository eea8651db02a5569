// The steps of the wall, column and room tools.

#include "tools/ToolMachine.h"

#include "building/RoomSettings.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

namespace kov::tools {

void ToolMachine::StepWall(const CDbPoint& p)
{
    // A wall of no length is no wall: nothing is made and no undo step is left behind.
    if (p.x == m_ptLast.x && p.y == m_ptLast.y)
        return;
    PushUndo();
    CKovUnit& unit = m_host.Unit();
    const int id = unit.AddWall(m_ptLast, p, m_host.Plot().PlotWallWide, m_host.Plot());
    if (id <= 0)
        return;
    unit.ResetWallOutline(id);
    unit.JoinWalls(CurrentGroup());
    SelectionRecord& sel = m_host.Selection();
    sel.m_Walls.push_back(id);
    sel.m_nCount = 1;
}

void ToolMachine::FinishColumnDrag(const CDbPoint& p)
{
    PushUndo();
    const int id = m_host.Unit().AddColumn(m_ptLast, p, m_host.Plot().PlotHasiraWide, m_host.Plot());
    if (id <= 0)
        return;
    SelectionRecord& sel = m_host.Selection();
    sel.m_Walls.push_back(id);
    sel.m_nCount = 1;
}

void ToolMachine::StepRectRoom(const CDbPoint& p)
{
    const CDbPoint corner = SnapPresetRoomCorner(m_ptLast, p);
    m_ptCurrent = corner;
    if (corner.x == m_ptLast.x || corner.y == m_ptLast.y)
        return;
    std::optional<DeviceTransform> t = MakeTransform();
    if (!t)
        return;
    PushUndo();
    m_host.Unit().CreateRectRoom(*t, m_ptLast.x, m_ptLast.y, corner.x, corner.y, m_host.Plot(), m_host.Font(),
                                 m_host.Selection(), m_host.Grid(), m_roomSettings);
}

int ToolMachine::StepPolygonRoom(const CDbPoint& p)
{
    if (p.x == m_ptLast.x && p.y == m_ptLast.y)
        return 0;
    std::optional<DeviceTransform> t = MakeTransform();
    if (!t || m_ToolPoints.empty())
        return 0;
    const int g = CurrentGroup();
    const DevicePoint a = ToDevicePoint(p, *t, g);
    const DevicePoint b = ToDevicePoint(m_ToolPoints.front(), *t, g);
    if (!PointsWithinPickTolerance(a.x, a.y, b.x, b.y)) {
        m_ToolPoints.push_back(p);
        return 0;
    }
    if (m_ToolPoints.size() < 3)
        return 0;
    const CDbPoint closing = m_ToolPoints.front();
    PushUndo();
    return m_host.Unit().CreatePolygonRoom(*t, m_ToolPoints, closing, m_host.Plot(), m_host.Font(),
                                           m_host.Selection(), m_host.Grid(), m_roomSettings)
               ? 1
               : 0;
}

} // namespace kov::tools
