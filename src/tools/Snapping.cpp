// Pointer conversion: client pixels to sheet millimetres of the current layer group, snapped to a
// figure vertex, a collected point, a wall core end or the grid, then held by the axis lock.

#include "tools/ToolMachine.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kov::tools {

namespace {

int manhattan(DevicePoint a, DevicePoint b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }

// Objects attract the pointer from the current layer, or from a layer of the current layer group
// or of a group with the same scale whose group and layer states both allow snapping. A hidden
// layer never attracts, not even the current one.
bool snappableLayer(const CPlotInfo& plot, int group, int layer)
{
    const CLayer& L = plot.m_Layer;
    if (group < 0 || group >= CLayer::kUsed || layer < 0 || layer >= CLayer::kUsed)
        return false;
    const int state = L.m_LayerInfo[static_cast<std::size_t>(group)][static_cast<std::size_t>(layer)].m_nType;
    const int groupState = L.m_GrpLayerInfo[static_cast<std::size_t>(group)].m_nType;
    if (state == CLayerInfo::LAYER_HIDDEN || groupState == CLayerInfo::LAYER_HIDDEN)
        return false;
    if (group == L.m_nCurrentGroup && layer == L.m_nCurrentLayer)
        return true;
    const bool sameScale = group == L.m_nCurrentGroup
                           || L.m_dScale[static_cast<std::size_t>(group)]
                                  == L.m_dScale[static_cast<std::size_t>(L.m_nCurrentGroup)];
    return sameScale && state == CLayerInfo::LAYER_SNAP && groupState == CLayerInfo::LAYER_SNAP;
}

// The nearest of the candidates within the near distance on each axis and below the snap radius
// (Manhattan); ties keep the earlier one.
struct NearestPoint {
    DevicePoint device;
    int best = 0;
    bool found = false;
    CDbPoint point;
    DevicePoint at;

    // A box in millimetres a little wider than the near distance: points outside it are passed
    // over with two comparisons, before any pixel is computed (a move may meet 100,000 points).
    CDbPoint centre;
    double boxX = 0, boxY = 0;

    NearestPoint(DevicePoint d, const CDbPoint& pointer, const DeviceTransform& t, int group)
        : device(d), best(g_nPickTolerance), centre(pointer)
    {
        const auto gi = static_cast<std::size_t>(group);
        boxX = (g_nSnapTolerance + 2) / std::abs(t.scaleX[gi]);
        boxY = (g_nSnapTolerance + 2) / std::abs(t.scaleY[gi]);
    }
    bool near(const CDbPoint& p) const { return std::abs(p.x - centre.x) <= boxX && std::abs(p.y - centre.y) <= boxY; }
    void offer(const CDbPoint& p, const DeviceTransform& t, int group)
    {
        if (!near(p))
            return;
        const DevicePoint q = ToDevicePoint(p, t, group);
        if (!PointsWithinSnapTolerance(q.x, q.y, device.x, device.y))
            return;
        const int d = manhattan(q, device);
        if (d < best) {
            best = d;
            found = true;
            point = p;
            at = q;
        }
    }
};

} // namespace

double GridSnapCoord(double p, double origin, double spacing)
{
    if (!(spacing > 0))
        return p;
    double g = std::trunc((p - origin) / spacing) * spacing + origin;
    const double r = p - g;
    if (std::abs(r) > spacing / 2)
        g += r > 0 ? spacing : -spacing;
    return g;
}

int ToolMachine::CurrentGroup() const
{
    const int g = m_host.Plot().m_Layer.m_nCurrentGroup;
    return g < 0 || g >= DeviceTransform::kLayerGroups ? 0 : g;
}

std::optional<DeviceTransform> ToolMachine::MakeTransform()
{
    m_Page.StorePageRect(m_host.Plot());
    return m_Page.MakeTransform(m_Screen, m_host.Plot());
}

void ToolMachine::ClientToDrawingPoint(int cx, int cy, DevicePoint& device, CDbPoint& point,
                                       DeviceTransform& transform, unsigned flags, int clickFlag)
{
    device = m_Page.ClientToLogical(cx, cy);
    const std::optional<DeviceTransform> t = MakeTransform();
    if (!t) {
        // No page to map onto (a window too small): the pointer stays at the sheet origin.
        transform = DeviceTransform{};
        point = {};
        return;
    }
    transform = *t;
    point = SnapPoint(transform, device, clickFlag);
    ApplyAxisLock(transform, device, point, flags);
}

CDbPoint ToolMachine::SnapPoint(const DeviceTransform& t, DevicePoint& device, int clickFlag)
{
    const int g = CurrentGroup();
    const auto gi = static_cast<std::size_t>(g);
    CDbPoint p{(device.x - t.originX) / t.scaleX[gi], (device.y - t.originY) / t.scaleY[gi]};
    const int tool = ToolMode();
    if (tool == 8 || tool == 34 || tool == 70)
        return p;

    const CKovUnit& unit = m_host.Unit();
    const CPlotInfo& plot = m_host.Plot();
    if (clickFlag && m_bIntersectionSnap) {
        DevicePoint crossingAt = device;
        CDbPoint crossing = p;
        if (unit.SnapToIntersection(crossingAt, crossing, t, plot)) {
            device = crossingAt;
            return crossing;
        }
    }
    if (plot.PlotLinePita) {
        DevicePoint vertexAt = device;
        CDbPoint vertex = p;
        if (unit.SnapToVertex(vertexAt, vertex, t, m_bStretchRotate, plot)) {
            device = vertexAt;
            return vertex;
        }
        for (const CDbPoint& q : m_ToolPoints) {
            const DevicePoint d = ToDevicePoint(q, t, g);
            if (PointsWithinSnapTolerance(d.x, d.y, device.x, device.y))
                return q;
        }
    }
    if (plot.PlotWallPita) {
        NearestPoint end(device, p, t, g);
        for (const auto& wall : unit.m_Walls) {
            if ((!end.near(wall->MWallPntA) && !end.near(wall->MWallPntB))
                || !snappableLayer(plot, wall->MWallLayer1, wall->MWallLayer2))
                continue;
            end.offer(wall->MWallPntA, t, g);
            end.offer(wall->MWallPntB, t, g);
        }
        if (end.found) {
            device = end.at;
            return end.point;
        }
    }
    const CGrid& grid = m_host.Grid();
    if (grid.kyutyaku) {
        const int tolerance = m_settings.app_gridallpita ? m_Page.m_rcPage.width() : g_nPickTolerance;
        int level = 0;
        for (int l = 4; l >= 1; --l)
            if (grid.BGrid[static_cast<std::size_t>(l)]) {
                level = l;
                break;
            }
        const auto li = static_cast<std::size_t>(level);
        const int division = grid.kyutyakukankaku < 1 ? 1 : grid.kyutyakukankaku;
        const double sx = grid.GridW[li] / division;
        const double sy = grid.GridD[li] / division;
        const CDbPoint c{GridSnapCoord(p.x, grid.StGridW[li], sx), GridSnapCoord(p.y, -grid.StGridD[li], sy)};
        // The candidate's pixel without the rounding offset of the drawing mapping.
        const DevicePoint cand{t.originX + static_cast<int>(std::trunc(t.scaleX[gi] * c.x)),
                               t.originY + static_cast<int>(std::trunc(t.scaleY[gi] * c.y))};
        const int d = manhattan(cand, device);
        const bool take = m_settings.app_gridallpita
                              ? d < tolerance
                              : PointsWithinSnapTolerance(cand.x, cand.y, device.x, device.y) && d < g_nPickTolerance;
        if (take) {
            device = cand;
            return c;
        }
    }
    return p;
}

void ToolMachine::ApplyAxisLock(const DeviceTransform& t, DevicePoint& device, CDbPoint& p, unsigned flags)
{
    const std::size_t n = m_ToolPoints.size();
    const bool ctrl = (flags & MK_CONTROL) != 0;
    if ((m_bDragging && n < 2) || n == 1) {
        const CDbPoint ref = m_ptLast;
        if (ctrl || m_nAxisLock == 3) {
            if (std::abs(ref.x - p.x) <= std::abs(ref.y - p.y)) {
                p.x = ref.x;
                device.x = m_pxLast.x;
            } else {
                p.y = ref.y;
                device.y = m_pxLast.y;
            }
        } else if (m_nAxisLock == 1) {
            p.x = ref.x;
            device.x = m_pxLast.x;
        } else if (m_nAxisLock == 2) {
            p.y = ref.y;
            device.y = m_pxLast.y;
        }
        return;
    }
    if (n >= 2) {
        const CDbPoint P = m_ToolPoints.back();
        bool locked = true;
        if (ctrl) {
            if (std::abs(m_ptLast.y - p.y) < std::abs(m_ptLast.x - p.x))
                p.y = P.y;
            else
                p.x = P.x;
        } else if (m_nAxisLock == 1) {
            p.x = P.x;
        } else if (m_nAxisLock == 2) {
            p.y = P.y;
        } else if (m_nAxisLock == 3) {
            if (std::abs(P.x - p.x) <= std::abs(P.y - p.y))
                p.x = P.x;
            else
                p.y = P.y;
        } else {
            locked = false;
        }
        if (locked)
            device = ToDevicePoint(p, t, CurrentGroup());
    }
}

CDbPoint ToolMachine::SnapPresetRoomCorner(const CDbPoint& c, const CDbPoint& q) const
{
    if (m_nRoomPanelMode != 0 || !m_bRoomFixedSize)
        return q;
    const double g = m_host.Grid().GridModule;
    std::vector<std::pair<double, double>> steps;
    switch (m_nRoomSizeIndex) {
    case 0: steps = {{2, 3}, {3, 2}}; break;
    case 1: steps = {{3, 3}}; break;
    case 2: steps = {{3, 4}, {4, 3}}; break;
    case 3: steps = {{4, 4}}; break;
    case 4: steps = {{4, 5}, {5, 4}}; break;
    default: return q;
    }
    CDbPoint best = q;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const auto& [a, b] : steps)
        for (int sx : {1, -1})
            for (int sy : {1, -1}) {
                const CDbPoint cand{c.x + sx * a * g, c.y + sy * b * g};
                const double d = std::hypot(cand.x - q.x, cand.y - q.y);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = cand;
                }
            }
    return best;
}

} // namespace kov::tools
