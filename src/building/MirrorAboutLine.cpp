// Mirroring the selection about a straight line of the drawing, in place.

#include "building/GroupBoxes.h"
#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <vector>

int CKovUnit::MirrorSelection(const SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& click,
                              const DeviceTransform& transform)
{
    SelectionRecord picked;
    const DevicePoint d = kov::edit::ClickDevicePoint(click.x, click.y, transform, plot.m_Layer.m_nCurrentGroup);
    PickLine(picked, plot, PickLayers::Every, d.x, d.y, transform, 0, 0, 0);
    if (picked.m_nCount != 1 || picked.m_Lines.size() != 1)
        return 0;
    const CKovUnit& self = *this;
    const CKovLine* axis = self.FindLine(picked.m_Lines.front());
    if (!axis || axis->MLineType != CKovLine::LINE || axis->MLineGrpID != 0 || axis->MLinePnt.size() < 2)
        return 0;
    const CDbPoint l0 = axis->MLinePnt[0], l1 = axis->MLinePnt[1];
    // 2F - P, with the foot's coordinates taken exactly where the point lies on an axis-parallel line.
    auto reflect = [&](const CDbPoint& p) {
        const CDbPoint f = FootOfPerpendicular(l0, l1, p);
        const double dist = PointDistance(p.x, p.y, f.x, f.y);
        return dist == 0 ? p : PointTowards(p, f, 2 * dist);
    };
    const LayerAddress current = CurrentLayer(plot);

    std::vector<int> figures, walls, texts;
    std::vector<int> boxed; // selected groups on the current layer
    for (int id : selection.m_Groups) {
        const CKovGroup* g = self.FindGroup(id);
        if (!g || LayerOf(*g) != current)
            continue;
        boxed.push_back(id);
        figures.insert(figures.end(), g->MGrpLineID.begin(), g->MGrpLineID.end());
        walls.insert(walls.end(), g->MGrpWallID.begin(), g->MGrpWallID.end());
        texts.insert(texts.end(), g->MGrpTextID.begin(), g->MGrpTextID.end());
    }
    figures.insert(figures.end(), selection.m_Lines.begin(), selection.m_Lines.end());
    texts.insert(texts.end(), selection.m_Texts.begin(), selection.m_Texts.end());
    walls.insert(walls.end(), selection.m_Walls.begin(), selection.m_Walls.end());

    for (int id : figures) {
        if (!self.FindLine(id))
            continue;
        CKovLine& f = *FindLine(id);
        for (CDbPoint& p : f.MLinePnt)
            p = reflect(p);
        // An arc still runs counter-clockwise from its start to its end.
        if (f.MLineType == CKovLine::ARC && f.MLinePnt.size() >= 3)
            std::swap(f.MLinePnt[1], f.MLinePnt[2]);
    }
    for (int id : texts) {
        const CKovText* t = self.FindText(id);
        if (t && LayerOf(*t) == current)
            FindText(id)->MTextpnt = reflect(t->MTextpnt);
    }
    bool anyWall = false;
    for (int id : walls) {
        const CKovWall* seen = self.FindWall(id);
        if (!seen || LayerOf(*seen) != current)
            continue;
        CKovWall& w = *FindWall(id);
        w.MWallPntA = reflect(w.MWallPntA);
        w.MWallPntB = reflect(w.MWallPntB);
        std::array<CDbPoint, 4> corners;
        if (w.MWall_Type == CKovWall::WALL && ComputeWallCorners(corners, w.MWallPntA, w.MWallPntB, w.MWallWide1, 1)) {
            w.MWallPntKado = corners;
            ResetWallOutline(id);
        } else {
            for (CDbPoint& c : w.MWallPntKado)
                c = reflect(c);
            const auto& k = w.MWallPntKado;
            w.MWallarPntA = {k[0], k[1], k[2], k[3]};
            w.MWallarPntB = {k[1], k[2], k[3], k[0]};
        }
        anyWall = true;
    }
    if (anyWall)
        JoinWalls(current.group);

    // The boxes of the mirrored groups start again from one member and grow over what moved.
    for (int id : boxed) {
        CKovGroup& g = *FindGroup(id);
        const CKovText* t = g.MGrpTextID.empty() ? nullptr : self.FindText(g.MGrpTextID.front());
        const CKovWall* w = g.MGrpWallID.empty() ? nullptr : self.FindWall(g.MGrpWallID.front());
        const CKovLine* f = g.MGrpLineID.empty() ? nullptr : self.FindLine(g.MGrpLineID.front());
        if (t)
            g.MGrpmin = g.MGrpmax = t->MTextpnt;
        else if (w)
            g.MGrpmin = g.MGrpmax = w->MWallPntA;
        else if (f && !f->MLinePnt.empty())
            g.MGrpmin = g.MGrpmax = f->MLinePnt[0];
    }
    kov::building::WidenGroupBoxes(*this, figures, walls, texts);
    return 1;
}
