// Selecting by rectangle and by layer, and dropping what lies off the current layer.

#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>

namespace {

struct Range {
    double minX, minY, maxX, maxY;
    bool inside(const CDbPoint& p) const { return minX < p.x && p.x < maxX && minY < p.y && p.y < maxY; }
};

// Range filter: 1 the current layer group, 2 the current layer, other values everything.
bool passesRangeFilter(const CPlotInfo& plot, int filter, int layerGroup, int layer)
{
    if (filter == 1)
        return layerGroup == plot.m_Layer.m_nCurrentGroup;
    if (filter == 2)
        return layerGroup == plot.m_Layer.m_nCurrentGroup && layer == plot.m_Layer.m_nCurrentLayer;
    return true;
}

// True when the object belongs to an existing group; a group identifier naming none is cleared.
bool inLiveGroup(const CKovUnit& unit, int groupId) { return groupId != 0 && unit.HasGroup(groupId); }

// Group identifiers that name no group are cleared to 0 before a selection pass; only those objects
// are touched, so snapshots keep sharing every other one.
template <class Array, class Field>
void clearDanglingGroups(const CKovUnit& unit, Array& array, Field field)
{
    const Array& view = array;
    for (int i = 0; i < view.GetSize(); ++i) {
        const int id = (*view[i]).*field;
        if (id != 0 && !unit.HasGroup(id))
            (*array[i]).*field = 0;
    }
}

void clearDanglingGroups(CKovUnit& unit)
{
    clearDanglingGroups(unit, unit.m_Walls, &CKovWall::MWallGrpID);
    clearDanglingGroups(unit, unit.m_Lines, &CKovLine::MLineGrpID);
    clearDanglingGroups(unit, unit.m_Texts, &CKovText::MTextGrpID);
}

template <class List>
void removeOffLayer(std::vector<int>& ids, int& count, const List& find)
{
    std::erase_if(ids, [&](int id) {
        if (find(id)) {
            --count;
            return true;
        }
        return false;
    });
}

} // namespace

void CKovUnit::SelectInRect(SelectionRecord& selection, const CPlotInfo& plot, double x1, double y1, double x2,
                            double y2, const DeviceTransform& transform, int filter)
{
    selection.Clear();
    clearDanglingGroups(*this);
    const Range r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};

    for (const auto& group : m_Groups) {
        if (passesRangeFilter(plot, filter, group->MGrpLayer1, group->MGrpLayer2) && r.inside(group->MGrpmin) &&
            r.inside(group->MGrpmax))
            selection.AddGroupId(group->MGrpID);
    }
    for (const auto& wall : m_Walls) {
        if (!passesRangeFilter(plot, filter, wall->MWallLayer1, wall->MWallLayer2) || inLiveGroup(*this, wall->MWallGrpID))
            continue;
        if (std::all_of(wall->MWallPntKado.begin(), wall->MWallPntKado.end(), [&](const CDbPoint& p) { return r.inside(p); }))
            selection.AddWallId(wall->MWallID);
    }
    for (const auto& f : m_Lines) {
        if (!passesRangeFilter(plot, filter, f->MLineLayer1, f->MLineLayer2) || inLiveGroup(*this, f->MLineGrpID))
            continue;
        if (std::all_of(f->MLinePnt.begin(), f->MLinePnt.end(), [&](const CDbPoint& p) { return r.inside(p); }))
            selection.AddLineId(f->MLineID);
    }
    for (const auto& text : m_Texts) {
        if (!passesRangeFilter(plot, filter, text->MTextLayer1, text->MTextLayer2) ||
            inLiveGroup(*this, text->MTextGrpID))
            continue;
        if (r.inside(text->MTextpnt))
            selection.AddTextId(text->MTextID);
    }
    if (!m_Images.empty()) {
        const int g = plot.m_Layer.m_nCurrentGroup;
        const DevicePoint a = ToDevicePoint({r.minX, r.minY}, transform, g);
        const DevicePoint b = ToDevicePoint({r.maxX, r.maxY}, transform, g);
        const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
        const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
        auto inside = [&](int x, int y) { return left < x && x < right && top < y && y < bottom; };
        for (const auto& picture : m_Images) {
            if (!passesRangeFilter(plot, filter, picture->IMGLayer1, picture->IMGLayer2))
                continue;
            const DeviceRect& rc = picture->m_rcDrawn;
            if (inside(rc.left, rc.top) && inside(rc.right, rc.top) && inside(rc.left, rc.bottom) &&
                inside(rc.right, rc.bottom))
                selection.AddImageId(picture->ImageID);
        }
    }
}

void CKovUnit::SelectInRectOnLayer(SelectionRecord& selection, const CPlotInfo& plot, double x1, double y1, double x2,
                                   double y2, const DeviceTransform& transform)
{
    selection.Clear();
    SelectInRect(selection, plot, x1, y1, x2, y2, transform, 2);
}

void CKovUnit::SelectLayer(SelectionRecord& selection, int layerGroup, int layer)
{
    selection.Clear();
    clearDanglingGroups(*this);
    auto on = [&](int g, int l) { return g == layerGroup && l == layer; };
    for (const auto& group : m_Groups)
        if (on(group->MGrpLayer1, group->MGrpLayer2))
            selection.AddGroupId(group->MGrpID);
    for (const auto& f : m_Lines)
        if (on(f->MLineLayer1, f->MLineLayer2) && !inLiveGroup(*this, f->MLineGrpID))
            selection.AddLineId(f->MLineID);
    for (const auto& wall : m_Walls)
        if (on(wall->MWallLayer1, wall->MWallLayer2) && !inLiveGroup(*this, wall->MWallGrpID))
            selection.AddWallId(wall->MWallID);
    for (const auto& text : m_Texts)
        if (on(text->MTextLayer1, text->MTextLayer2) && !inLiveGroup(*this, text->MTextGrpID))
            selection.AddTextId(text->MTextID);
    for (const auto& picture : m_Images)
        if (on(picture->IMGLayer1, picture->IMGLayer2))
            selection.AddImageId(picture->ImageID);
}

void CKovUnit::DeselectOffLayer(SelectionRecord& selection, const CPlotInfo& plot) const
{
    if (selection.m_nCount == 0)
        return;
    const int cg = plot.m_Layer.m_nCurrentGroup, cl = plot.m_Layer.m_nCurrentLayer;
    auto off = [&](int g, int l) { return g != cg || l != cl; };
    int& n = selection.m_nCount;
    removeOffLayer(selection.m_Groups, n, [&](int id) {
        const CKovGroup* o = FindGroup(id);
        return o && off(o->MGrpLayer1, o->MGrpLayer2);
    });
    removeOffLayer(selection.m_Lines, n, [&](int id) {
        const CKovLine* o = FindLine(id);
        return o && off(o->MLineLayer1, o->MLineLayer2);
    });
    removeOffLayer(selection.m_Walls, n, [&](int id) {
        const CKovWall* o = FindWall(id);
        return o && off(o->MWallLayer1, o->MWallLayer2);
    });
    removeOffLayer(selection.m_Texts, n, [&](int id) {
        const CKovText* o = FindText(id);
        return o && off(o->MTextLayer1, o->MTextLayer2);
    });
    removeOffLayer(selection.m_Images, n, [&](int id) {
        const CKovImage* o = FindImage(id);
        return o && off(o->IMGLayer1, o->IMGLayer2);
    });
    if (n < 0)
        n = 0;
}
