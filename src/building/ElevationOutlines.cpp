// The outlines the elevation views read besides the walls, drawn with their tools on the editing
// layer: roof outlines (groups of kind 3), outer-wall lines (kind 4) and balconies (kind 5).

#include "building/Elevations.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>

namespace kov::building {

int RoofOrientationCode(const CDbPoint& corner1, const CDbPoint& corner2, const CDbPoint& ridge, const CDbPoint& eaves)
{
    const double minX = std::min(corner1.x, corner2.x), maxX = std::max(corner1.x, corner2.x);
    const double minY = std::min(corner1.y, corner2.y), maxY = std::max(corner1.y, corner2.y);
    const double midX = (minX + maxX) / 2, midY = (minY + maxY) / 2;
    const double dL = PointDistance(ridge.x, ridge.y, minX, midY), dR = PointDistance(ridge.x, ridge.y, maxX, midY);
    const double dT = PointDistance(ridge.x, ridge.y, midX, minY), dB = PointDistance(ridge.x, ridge.y, midX, maxY);
    if ((dL > dT && dR > dT) || (dL > dB && dR > dB)) {
        if (eaves.x < minX) return ROOF_HIGH_LEFT;
        if (eaves.x > maxX) return ROOF_HIGH_RIGHT;
        return ROOF_RIDGE_Y;
    }
    if (eaves.y < minY) return ROOF_HIGH_TOP;
    if (eaves.y > maxY) return ROOF_HIGH_BOTTOM;
    return ROOF_RIDGE_X;
}

std::array<CDbPoint, 2> RoofCodeLine(int code, double minX, double minY, double maxX, double maxY)
{
    const double midX = (minX + maxX) / 2, midY = (minY + maxY) / 2;
    switch (code) {
    case ROOF_RIDGE_Y: return {CDbPoint{midX, minY}, CDbPoint{midX, maxY}};
    case ROOF_HIGH_TOP: return {CDbPoint{minX, minY}, CDbPoint{maxX, minY}};
    case ROOF_HIGH_BOTTOM: return {CDbPoint{minX, maxY}, CDbPoint{maxX, maxY}};
    case ROOF_HIGH_LEFT: return {CDbPoint{minX, minY}, CDbPoint{minX, maxY}};
    case ROOF_HIGH_RIGHT: return {CDbPoint{maxX, minY}, CDbPoint{maxX, maxY}};
    default: return {CDbPoint{minX, midY}, CDbPoint{maxX, midY}};
    }
}

} // namespace kov::building

int CKovUnit::CreateRoof(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points, double x,
                         double y, const CRituInfo& ritu)
{
    if (points.size() < 3)
        return 0;
    const double minX = std::min(points[0].x, points[1].x), maxX = std::max(points[0].x, points[1].x);
    const double minY = std::min(points[0].y, points[1].y), maxY = std::max(points[0].y, points[1].y);
    const int group = plot.m_Layer.m_nCurrentGroup, layer = plot.m_Layer.m_nCurrentLayer;
    const int groupId = NextGroupId();
    if (groupId == kNoFreeId)
        return 0;
    SelectionRecord local;
    AddSelectedPolygon(local, {{minX, minY}, {minX, maxY}, {maxX, maxY}, {maxX, minY}}, 4, group, layer,
                       CKovLine::AUXILIARY_LINE_TYPE, 0, 0, 0, 0xFF0000, 0xFFFFFF);
    const int code = kov::building::RoofOrientationCode(points[0], points[1], points[2], {x, y});
    const auto ridge = kov::building::RoofCodeLine(code, minX, minY, maxX, maxY);
    AddSelectedLine(local, ridge[0], ridge[1], group, layer, CKovLine::AUXILIARY_LINE_TYPE, 0xFF);

    auto g = std::make_unique<CKovGroup>();
    g->MGrpID = groupId;
    g->MGrpmin = {minX, minY};
    g->MGrpmax = {maxX, maxY};
    g->MGrpLayer1 = group;
    g->MGrpLayer2 = layer;
    g->MGrpRoom = CKovGroup::ROOF_OUTLINE;
    for (int id : local.m_Lines) {
        CKovLine* f = FindLine(id);
        if (!f) continue;
        if (f->MLineType == CKovLine::POLYGON)
            f->MLineParam.insert(f->MLineParam.end(), {static_cast<double>(code), static_cast<double>(ritu.yanetype),
                                                      ritu.nokide, ritu.keraba, ritu.yanekoubai_a, ritu.yanekoubai_b});
        f->MLineGrpID = groupId;
        g->MGrpLineID.push_back(id);
    }
    m_Groups.Add(std::move(g));
    selection.AddGroupId(groupId);
    return groupId;
}

void CKovUnit::CreateOuterWallLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points)
{
    selection.Clear();
    if (points.empty())
        return;
    const int lineId = NextLineId();
    const int groupId = lineId == kNoFreeId ? kNoFreeId : NextGroupId();
    if (groupId == kNoFreeId)
        return;
    const int group = plot.m_Layer.m_nCurrentGroup, layer = plot.m_Layer.m_nCurrentLayer;
    auto f = std::make_unique<CKovLine>();
    f->MLineID = lineId;
    f->MLinePnt = points;
    f->MLineColor = 0xFF;
    f->MLineWide = plot.PlotLineWide[0];
    f->MLineType = CKovLine::CONTINUOUS;
    f->MLineLineT = CKovLine::AUXILIARY_LINE_TYPE;
    f->MLineLayer1 = group;
    f->MLineLayer2 = layer;
    f->MLineGrpID = groupId;
    auto g = std::make_unique<CKovGroup>();
    g->MGrpID = groupId;
    g->MGrpmin = g->MGrpmax = points[0];
    for (const CDbPoint& p : points) {
        g->MGrpmin = {std::min(g->MGrpmin.x, p.x), std::min(g->MGrpmin.y, p.y)};
        g->MGrpmax = {std::max(g->MGrpmax.x, p.x), std::max(g->MGrpmax.y, p.y)};
    }
    g->MGrpLineID.push_back(lineId);
    g->MGrpLayer1 = group;
    g->MGrpLayer2 = layer;
    g->MGrpRoom = CKovGroup::OUTER_WALL_LINE;
    m_Lines.Add(std::move(f));
    m_Groups.Add(std::move(g));
    selection.AddGroupId(groupId);
}

void CKovUnit::CreateBalcony(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                             const CDbPoint& finish, double dl, double dr, double height, double mounting,
                             int separateSegments)
{
    AddDoubleLine(selection, plot, points, finish, dl, dr, separateSegments);
    if (selection.m_nCount != 2 || selection.m_Lines.size() != 2)
        return;
    GroupSelection(selection, plot);
    if (selection.m_Groups.size() != 1)
        return;
    CKovGroup* g = FindGroup(selection.m_Groups[0]);
    if (!g)
        return;
    g->MGrpRoom = CKovGroup::BALCONY;
    for (int id : std::vector<int>(g->MGrpLineID)) {
        CKovLine* f = FindLine(id);
        if (!f) continue;
        if (f->MLineParam.size() < 2) f->MLineParam.resize(2, 0.0);
        f->MLineParam[0] = height;
        f->MLineParam[1] = mounting;
    }
}
