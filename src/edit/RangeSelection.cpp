// Selecting by rectangle and by layer, and dropping what lies off the current layer.

#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <utility>

namespace {

struct Range {
    double minX, minY, maxX, maxY;
    bool inside(const CDbPoint& p) const { return minX < p.x && p.x < maxX && minY < p.y && p.y < maxY; }
};

// True when object i of the array belongs to an existing group; a group identifier naming none is
// cleared (only then is the object written to, so an undo snapshot keeps sharing the others).
template <class Array, class T>
bool inLiveGroup(const CKovUnit& unit, Array& array, int i, int T::*groupField)
{
    const int groupId = std::as_const(array)[i]->*groupField;
    if (groupId == 0)
        return false;
    if (unit.HasGroup(groupId))
        return true;
    array[i]->*groupField = 0;
    return false;
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
                            double y2, const DeviceTransform& transform, RangeLayers filter)
{
    selection.Clear();
    const Range r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};

    for (const auto& group : m_Groups) {
        if (PassesRangeLayers(plot, filter, LayerOf(*group)) && r.inside(group->MGrpmin) &&
            r.inside(group->MGrpmax))
            selection.AddGroupId(group->MGrpID);
    }
    for (int i = 0; i < m_Walls.GetSize(); ++i) {
        const CKovWall* wall = std::as_const(m_Walls)[i];
        if (!PassesRangeLayers(plot, filter, LayerOf(*wall))
            || inLiveGroup(*this, m_Walls, i, &CKovWall::MWallGrpID))
            continue;
        if (std::all_of(wall->MWallPntKado.begin(), wall->MWallPntKado.end(), [&](const CDbPoint& p) { return r.inside(p); }))
            selection.AddWallId(wall->MWallID);
    }
    for (int i = 0; i < m_Lines.GetSize(); ++i) {
        const CKovLine* f = std::as_const(m_Lines)[i];
        if (!PassesRangeLayers(plot, filter, LayerOf(*f))
            || inLiveGroup(*this, m_Lines, i, &CKovLine::MLineGrpID))
            continue;
        if (std::all_of(f->MLinePnt.begin(), f->MLinePnt.end(), [&](const CDbPoint& p) { return r.inside(p); }))
            selection.AddLineId(f->MLineID);
    }
    for (int i = 0; i < m_Texts.GetSize(); ++i) {
        const CKovText* text = std::as_const(m_Texts)[i];
        if (!PassesRangeLayers(plot, filter, LayerOf(*text)) ||
            inLiveGroup(*this, m_Texts, i, &CKovText::MTextGrpID))
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
            if (!PassesRangeLayers(plot, filter, LayerOf(*picture)))
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
    SelectInRect(selection, plot, x1, y1, x2, y2, transform, RangeLayers::CurrentLayer);
}

void CKovUnit::SelectLayer(SelectionRecord& selection, int layerGroup, int layer)
{
    selection.Clear();
    auto on = [&](int g, int l) { return g == layerGroup && l == layer; };
    for (const auto& group : m_Groups)
        if (on(group->MGrpLayer1, group->MGrpLayer2))
            selection.AddGroupId(group->MGrpID);
    for (int i = 0; i < m_Lines.GetSize(); ++i)
        if (const CKovLine* f = std::as_const(m_Lines)[i];
            on(f->MLineLayer1, f->MLineLayer2) && !inLiveGroup(*this, m_Lines, i, &CKovLine::MLineGrpID))
            selection.AddLineId(f->MLineID);
    for (int i = 0; i < m_Walls.GetSize(); ++i)
        if (const CKovWall* wall = std::as_const(m_Walls)[i];
            on(wall->MWallLayer1, wall->MWallLayer2) && !inLiveGroup(*this, m_Walls, i, &CKovWall::MWallGrpID))
            selection.AddWallId(wall->MWallID);
    for (int i = 0; i < m_Texts.GetSize(); ++i)
        if (const CKovText* text = std::as_const(m_Texts)[i];
            on(text->MTextLayer1, text->MTextLayer2) && !inLiveGroup(*this, m_Texts, i, &CKovText::MTextGrpID))
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
        const CKovGroup* o = std::as_const(*this).FindGroup(id);
        return o && off(o->MGrpLayer1, o->MGrpLayer2);
    });
    removeOffLayer(selection.m_Lines, n, [&](int id) {
        const CKovLine* o = std::as_const(*this).FindLine(id);
        return o && off(o->MLineLayer1, o->MLineLayer2);
    });
    removeOffLayer(selection.m_Walls, n, [&](int id) {
        const CKovWall* o = std::as_const(*this).FindWall(id);
        return o && off(o->MWallLayer1, o->MWallLayer2);
    });
    removeOffLayer(selection.m_Texts, n, [&](int id) {
        const CKovText* o = std::as_const(*this).FindText(id);
        return o && off(o->MTextLayer1, o->MTextLayer2);
    });
    removeOffLayer(selection.m_Images, n, [&](int id) {
        const CKovImage* o = std::as_const(*this).FindImage(id);
        return o && off(o->IMGLayer1, o->IMGLayer2);
    });
    if (n < 0)
        n = 0;
}
