// Exploding: rectangles, closed polygons and continuous lines become the straight lines of their sides.

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <utility>

namespace {

bool explodable(int kind)
{
    return kind == CKovLine::RECTANGLE || kind == CKovLine::POLYGON || kind == CKovLine::CONTINUOUS;
}

} // namespace

void CKovUnit::ExplodePolylines(SelectionRecord& selection, const CPlotInfo& plot)
{
    (void)plot;
    const CKovUnit& self = *this;
    std::vector<int> sides;
    std::vector<int> exploded;
    for (const int id : selection.m_Lines) {
        const CKovLine* f = self.FindLine(id);
        if (!f || !explodable(f->MLineType))
            continue;
        const CKovLine source = *f;
        const std::size_t n = source.MLinePnt.size();
        const bool closed = source.MLineType != CKovLine::CONTINUOUS;
        const std::size_t count = closed ? n : (n > 0 ? n - 1 : 0);
        std::vector<int> made;
        for (std::size_t i = 0; i < count && n >= 2; ++i) {
            auto side = std::make_unique<CKovLine>(source);
            side->MLineID = NextLineId();
            side->MLineType = CKovLine::LINE;
            side->MLinePnt = {source.MLinePnt[i], source.MLinePnt[(i + 1) % n]};
            made.push_back(side->MLineID);
            m_Lines.Add(std::move(side));
        }
        // A side keeps its figure's group; the group lists the sides in the figure's place.
        CKovGroup* group = source.MLineGrpID != 0 ? FindGroup(source.MLineGrpID) : nullptr;
        if (group) {
            std::vector<int>& members = group->MGrpLineID;
            const auto at = std::find(members.begin(), members.end(), source.MLineID);
            if (at != members.end())
                members.insert(members.erase(at), made.begin(), made.end());
        }
        sides.insert(sides.end(), made.begin(), made.end());
        exploded.push_back(source.MLineID);
    }
    for (const int id : exploded)
        DeleteLine(id);
    selection.Clear();
    for (const int id : sides)
        selection.AddLineId(id);
}
