// Stretching: the vertices of the current layer inside a rectangle move, the others stay, so that
// what crosses the rectangle's border is stretched.

#include "building/GroupBoxes.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <vector>

void CKovUnit::StretchRange(const CPlotInfo& plot, const CDbPoint& c1, const CDbPoint& c2, double dx, double dy)
{
    const double x0 = std::min(c1.x, c2.x), x1 = std::max(c1.x, c2.x);
    const double y0 = std::min(c1.y, c2.y), y1 = std::max(c1.y, c2.y);
    // The border counts as inside.
    auto inside = [&](const CDbPoint& p) { return x0 <= p.x && p.x <= x1 && y0 <= p.y && p.y <= y1; };
    const LayerAddress current = CurrentLayer(plot);
    const CKovUnit& self = *this;
    std::vector<int> movedFigures, movedWalls, movedTexts;

    for (int i = 0; i < m_Lines.GetSize(); ++i) {
        const CKovLine& f = *self.m_Lines[i];
        if (LayerOf(f) != current || f.MLinePnt.empty())
            continue;
        switch (f.MLineType) {
        case CKovLine::LINE:
        case CKovLine::RECTANGLE:
        case CKovLine::POLYGON:
        case CKovLine::CONTINUOUS:
        case CKovLine::DIMENSION: {
            // A dimension's text point (its third) stays where it is.
            bool any = false;
            for (std::size_t k = 0; k < f.MLinePnt.size(); ++k)
                any = any || ((f.MLineType != CKovLine::DIMENSION || k != 2) && inside(f.MLinePnt[k]));
            if (!any)
                break;
            CKovLine& live = *m_Lines[i];
            for (std::size_t k = 0; k < live.MLinePnt.size(); ++k) {
                if ((live.MLineType == CKovLine::DIMENSION && k == 2) || !inside(live.MLinePnt[k]))
                    continue;
                live.MLinePnt[k] = {live.MLinePnt[k].x + dx, live.MLinePnt[k].y + dy};
                movedFigures.push_back(live.MLineID);
            }
            break;
        }
        case CKovLine::CIRCLE:
        case CKovLine::ARC: {
            // Judged by the whole circle: it moves only when all of it lies inside.
            if (f.MLineParam.empty())
                break;
            const CDbPoint& c = f.MLinePnt[0];
            const double r = f.MLineParam[0];
            if (!(inside({c.x - r, c.y - r}) && inside({c.x + r, c.y + r})))
                break;
            m_Lines[i]->MoveBy(dx, dy);
            movedFigures.push_back(f.MLineID);
            break;
        }
        default:
            break;
        }
    }
    for (int i = 0; i < m_Texts.GetSize(); ++i) {
        const CKovText& t = *self.m_Texts[i];
        if (LayerOf(t) == current && inside(t.MTextpnt)) {
            m_Texts[i]->MoveBy(dx, dy);
            movedTexts.push_back(t.MTextID);
        }
    }
    for (int i = 0; i < m_Walls.GetSize(); ++i) {
        const CKovWall& w = *self.m_Walls[i];
        if (LayerOf(w) != current)
            continue;
        const bool a = inside(w.MWallPntA), b = inside(w.MWallPntB);
        if (!a && !b)
            continue;
        CKovWall& live = *m_Walls[i];
        const CDbPoint oldA = live.MWallPntA;
        if (a)
            live.MWallPntA = {live.MWallPntA.x + dx, live.MWallPntA.y + dy};
        if (b)
            live.MWallPntB = {live.MWallPntB.x + dx, live.MWallPntB.y + dy};
        std::array<CDbPoint, 4> corners;
        if (live.MWall_Type == CKovWall::WALL &&
            ComputeWallCorners(corners, live.MWallPntA, live.MWallPntB, live.MWallWide1, 1)) {
            live.MWallPntKado = corners;
            ResetWallOutline(live.MWallID);
        } else {
            // A column moves whole with its core point, its outline its four sides.
            const double mx = live.MWallPntA.x - oldA.x, my = live.MWallPntA.y - oldA.y;
            for (CDbPoint& c : live.MWallPntKado)
                c = {c.x + mx, c.y + my};
            for (CDbPoint& p : live.MWallarPntA)
                p = {p.x + mx, p.y + my};
            for (CDbPoint& p : live.MWallarPntB)
                p = {p.x + mx, p.y + my};
        }
        movedWalls.push_back(live.MWallID);
    }
    if (!movedWalls.empty())
        JoinWalls(current.group);

    kov::building::WidenGroupBoxes(*this, movedFigures, movedWalls, movedTexts);
}
