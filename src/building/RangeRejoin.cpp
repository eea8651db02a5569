// Range operations that end by joining the walls of the layer group again: deleting and scaling.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>
#include <utility>

namespace {

// Destroys the first `count` objects of each listed identifier in one pass over the array, as that
// many deletions by identifier would, without closing the gap once per object.
template <class Array, class IdOf>
void deleteCounted(Array& array, std::unordered_map<int, int>& counts, IdOf idOf)
{
    if (counts.empty())
        return;
    auto all = array.TakeAll();
    array.Reserve(all.size());
    for (auto& object : all) {
        const auto it = counts.find(idOf(*object));
        if (it != counts.end() && it->second > 0) {
            --it->second;
            continue;
        }
        array.Add(std::move(object));
    }
}

} // namespace

void CKovUnit::DeleteRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                           const CDbPoint& corner2, const DeviceTransform& transform, int& pictureWasSelected)
{
    pictureWasSelected = 0;
    if (toolPoints.empty())
        return;
    SelectInRect(selection, plot, toolPoints[0].x, toolPoints[0].y, corner2.x, corner2.y, transform, RangeLayers::CurrentGroup);
    pictureWasSelected = selection.m_Images.empty() ? 0 : 1;

    // The selected objects and the members of the selected groups, each listed identifier once per
    // mention; the groups' lists are read before anything goes.
    std::unordered_map<int, int> lines, walls, texts, groups, images;
    for (int id : selection.m_Lines)
        ++lines[id];
    for (int id : selection.m_Walls)
        ++walls[id];
    for (int id : selection.m_Texts)
        ++texts[id];
    for (int id : selection.m_Groups) {
        const CKovGroup* group = std::as_const(*this).FindGroup(id);
        if (!group)
            continue;
        ++groups[id];
        for (int member : group->MGrpLineID)
            ++lines[member];
        for (int member : group->MGrpWallID)
            ++walls[member];
        for (int member : group->MGrpTextID)
            ++texts[member];
    }
    for (int id : selection.m_Images)
        ++images[id];
    deleteCounted(m_Lines, lines, [](const CKovLine& o) { return o.MLineID; });
    deleteCounted(m_Walls, walls, [](const CKovWall& o) { return o.MWallID; });
    deleteCounted(m_Texts, texts, [](const CKovText& o) { return o.MTextID; });
    deleteCounted(m_Groups, groups, [](const CKovGroup& o) { return o.MGrpID; });
    deleteCounted(m_Images, images, [](const CKovImage& o) { return o.ImageID; });
    selection.Clear();

    const int g = plot.m_Layer.m_nCurrentGroup;
    for (const auto& wall : m_Walls)
        if (wall->MWallLayer1 == g)
            ResetWallOutline(wall->MWallID);
    JoinWalls(g);
}

namespace {

struct Members {
    std::vector<int> walls, figures, texts; // array indices
};

} // namespace

int CKovUnit::ScaleRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                         const CDbPoint& corner2, const DeviceTransform& transform, double fx, double fy)
{
    // A factor of zero collapses the range and a negative one turns walls inside out.
    if (toolPoints.empty() || !(fx > 0.0) || !(fy > 0.0))
        return 0;
    const CDbPoint& c1 = toolPoints[0];
    SelectInRect(selection, plot, c1.x, c1.y, corner2.x, corner2.y, transform, RangeLayers::CurrentGroup);
    const double minX = std::min(c1.x, corner2.x), maxX = std::max(c1.x, corner2.x);
    const double minY = std::min(c1.y, corner2.y), maxY = std::max(c1.y, corner2.y);
    const double cx = (maxX - minX) * 0.5 + minX;
    const double cy = (maxY - minY) * 0.5 + minY;
    auto mapX = [&](double x) { return x * fx + (cx - cx * fx); };
    auto mapY = [&](double y) { return y * fy + (cy - cy * fy); };
    auto map = [&](CDbPoint& p) { p = {mapX(p.x), mapY(p.y)}; };

    auto scaleWall = [&](CKovWall& w) {
        const CDbPoint a0 = w.MWallPntA;
        map(w.MWallPntA);
        map(w.MWallPntB);
        // Both halves: joining reads both, and a wall scaled on one side only would be lopsided.
        w.MWallWide1 = std::trunc(w.MWallWide1 * fx);
        w.MWallWide2 = std::trunc(w.MWallWide2 * fx);
        std::array<CDbPoint, 4> corners;
        if (ComputeWallCorners(corners, w.MWallPntA, w.MWallPntB, w.MWallWide1, 1)) {
            w.MWallPntKado = corners;
        } else {
            const double dx = w.MWallPntA.x - a0.x, dy = w.MWallPntA.y - a0.y;
            auto& c = w.MWallPntKado;
            for (CDbPoint& p : c)
                p = {p.x + dx, p.y + dy};
            // A column's outline is always its four sides; they are never cut.
            w.MWallarPntA = {c[0], c[1], c[2], c[3]};
            w.MWallarPntB = {c[1], c[2], c[3], c[0]};
        }
    };
    auto scaleFigure = [&](CKovLine& f) {
        for (CDbPoint& p : f.MLinePnt)
            map(p);
        if ((f.MLineType == CKovLine::CIRCLE || f.MLineType == CKovLine::ARC) && !f.MLineParam.empty())
            f.MLineParam[0] *= fx;
    };
    auto scaleText = [&](CKovText& t) {
        map(t.MTextpnt);
        t.MTextFontMenu.lfHeight = truncToInt(t.MTextFontMenu.lfHeight * fx);
        t.MTextFontMenu.m_size *= fx;
        t.MTextFontMenu.m_kankaku *= fx;
    };

    if (!selection.m_Groups.empty()) {
        // Members by their group identifier, gathered in one pass over each array.
        std::unordered_map<int, Members> members;
        for (int id : selection.m_Groups)
            members.emplace(id, Members{});
        auto collect = [&members](int groupId, std::vector<int> Members::*list, int index) {
            if (groupId == 0)
                return;
            const auto it = members.find(groupId);
            if (it != members.end())
                (it->second.*list).push_back(index);
        };
        // Read-only: gathering must not unshare every object from the undo copies.
        const CKovUnit& self = *this;
        for (int i = 0; i < self.m_Walls.GetSize(); ++i)
            collect(self.m_Walls[i]->MWallGrpID, &Members::walls, i);
        for (int i = 0; i < self.m_Lines.GetSize(); ++i)
            collect(self.m_Lines[i]->MLineGrpID, &Members::figures, i);
        for (int i = 0; i < self.m_Texts.GetSize(); ++i)
            collect(self.m_Texts[i]->MTextGrpID, &Members::texts, i);
        for (int id : selection.m_Groups) {
            CKovGroup* group = FindGroup(id);
            if (!group)
                continue;
            map(group->MGrpmin);
            map(group->MGrpmax);
            Members& m = members[id];
            for (int i : m.walls)
                scaleWall(*m_Walls[i]);
            for (int i : m.figures)
                scaleFigure(*m_Lines[i]);
            for (int i : m.texts)
                scaleText(*m_Texts[i]);
            m = Members{}; // a group selected twice is scaled once
        }
    }
    for (int id : selection.m_Walls)
        if (CKovWall* w = FindWall(id))
            scaleWall(*w);
    for (int id : selection.m_Lines)
        if (CKovLine* f = FindLine(id))
            scaleFigure(*f);
    for (int id : selection.m_Texts)
        if (CKovText* t = FindText(id))
            scaleText(*t);

    for (int id : selection.m_Groups)
        if (const CKovGroup* group = std::as_const(*this).FindGroup(id))
            for (int wall : group->MGrpWallID)
                ResetWallOutline(wall);
    for (int id : selection.m_Walls)
        ResetWallOutline(id);
    JoinWalls(plot.m_Layer.m_nCurrentGroup);
    return 1;
}
