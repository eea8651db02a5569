#include "model/KovWall.h"

#include "model/PlotInfo.h"

void CKovWall::MoveBy(double dx, double dy)
{
    auto move = [dx, dy](CDbPoint& p) {
        p.x += dx;
        p.y += dy;
    };
    move(MWallPntA);
    move(MWallPntB);
    for (CDbPoint& p : MWallPntKado)
        move(p);
    for (CDbPoint& p : MWallarPntA)
        move(p);
    for (CDbPoint& p : MWallarPntB)
        move(p);
}

void CKovWall::StoreDefaults(CPlotInfo& plot) const
{
    plot.PlotWallWide = MWallWide1;
    plot.walltype = MWallType;
    plot.hasiratype = MHasiraType;
}
