#include "building/GroupBoxes.h"

#include "model/KovUnit.h"

#include <algorithm>

namespace kov::building {

namespace {

void widen(CKovGroup& g, const CDbPoint& p)
{
    g.MGrpmin = {std::min(g.MGrpmin.x, p.x), std::min(g.MGrpmin.y, p.y)};
    g.MGrpmax = {std::max(g.MGrpmax.x, p.x), std::max(g.MGrpmax.y, p.y)};
}

} // namespace

void WidenGroupBoxes(CKovUnit& unit, std::span<const int> figures, std::span<const int> walls,
                     std::span<const int> texts)
{
    const CKovUnit& self = unit;
    auto groupOf = [&](int groupId) -> CKovGroup* {
        return groupId != 0 && self.FindGroup(groupId) ? unit.FindGroup(groupId) : nullptr;
    };
    for (int id : figures) {
        const CKovLine* f = self.FindLine(id);
        CKovGroup* g = f && f->MLineType != CKovLine::DIMENSION ? groupOf(f->MLineGrpID) : nullptr;
        if (!g)
            continue;
        for (const CDbPoint& p : f->MLinePnt)
            widen(*g, p);
        if (f->MLineType == CKovLine::CIRCLE && !f->MLinePnt.empty() && !f->MLineParam.empty()) {
            const CDbPoint& c = f->MLinePnt[0];
            const double r = f->MLineParam[0];
            widen(*g, {c.x - r, c.y - r});
            widen(*g, {c.x + r, c.y + r});
        }
    }
    for (int id : walls) {
        const CKovWall* w = self.FindWall(id);
        if (CKovGroup* g = w ? groupOf(w->MWallGrpID) : nullptr) {
            widen(*g, w->MWallPntA);
            widen(*g, w->MWallPntB);
        }
    }
    for (int id : texts) {
        const CKovText* t = self.FindText(id);
        if (CKovGroup* g = t ? groupOf(t->MTextGrpID) : nullptr)
            widen(*g, t->MTextpnt);
    }
}

} // namespace kov::building
