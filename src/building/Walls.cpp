// Creating walls and columns: their corners follow from the core and the half thickness.

#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <cmath>
#include <memory>

int CKovUnit::AddWall(CDbPoint a, CDbPoint b, double t, const CPlotInfo& plot)
{
    std::array<CDbPoint, 4> corners;
    if (!ComputeWallCorners(corners, a, b, t, 1))
        return -1;
    const int id = NextWallId();
    if (id == kNoFreeId)
        return -1;
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = id;
    wall->MWallPntA = a; // as reordered by the corner rule
    wall->MWallPntB = b;
    wall->MWallPntKado = corners;
    wall->MWallWide1 = t;
    wall->MWallWide2 = t;
    wall->MWallType = plot.walltype;
    wall->MWall_Type = CKovWall::WALL;
    wall->MWallLayer1 = plot.m_Layer.m_nCurrentGroup;
    wall->MWallLayer2 = plot.m_Layer.m_nCurrentLayer;
    m_Walls.Add(std::move(wall));
    return id;
}

int CKovUnit::AddColumn(CDbPoint a, CDbPoint b, double t, const CPlotInfo& plot)
{
    std::array<CDbPoint, 4> c;
    ComputeWallCorners(c, a, a, t, 0);
    const int id = NextWallId();
    if (id == kNoFreeId)
        return -1;
    auto column = std::make_unique<CKovWall>();
    column->MWallID = id;
    column->MWallPntA = a;
    column->MWallPntB = a;
    column->MHasiraType = plot.hasiratype;
    if (column->MHasiraType == CKovWall::STUD) {
        // A thin column is half as wide across the drag.
        if (std::fabs(a.y - b.y) > std::fabs(a.x - b.x)) {
            c[0].x = c[1].x = a.x - t / 2.0;
            c[2].x = c[3].x = a.x + t / 2.0;
        } else {
            c[0].y = c[3].y = a.y - t / 2.0;
            c[1].y = c[2].y = a.y + t / 2.0;
        }
    }
    column->MWallPntKado = c;
    column->MWallWide1 = t;
    column->MWallWide2 = t;
    column->MWallarPntA = {c[0], c[1], c[2], c[3]};
    column->MWallarPntB = {c[1], c[2], c[3], c[0]};
    column->MWall_Type = CKovWall::COLUMN;
    column->MWallLayer1 = plot.m_Layer.m_nCurrentGroup;
    column->MWallLayer2 = plot.m_Layer.m_nCurrentLayer;
    m_Walls.Add(std::move(column));
    return id;
}
