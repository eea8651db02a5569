// Click picking: the object under the pointer, judged in device pixels of the screen.

#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

using namespace kov::edit;

namespace {

constexpr int kCtrlClick = 9; // left button with Ctrl, nothing else

int currentGroup(const CPlotInfo& plot) { return plot.m_Layer.m_nCurrentGroup; }

int manhattan(const DevicePoint& a, const DevicePoint& b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }

bool inPickWindow(const DevicePoint& p, const DevicePoint& click) { return InPickWindow(p.x - click.x, p.y - click.y); }

// A group identifier that names no group counts as none: the object is picked by itself.
int liveGroup(const CKovUnit& unit, int groupId) { return groupId != 0 && unit.HasGroup(groupId) ? groupId : 0; }

// The kind of the figure remembered from the last selection, -1 when there is none.
int kindOf(const CKovUnit& unit, int figureId)
{
    const CKovLine* f = figureId != 0 ? std::as_const(unit).FindLine(figureId) : nullptr;
    return f ? f->MLineType : -1;
}

// An angle in [0, 360) on the arc from a1 to a2, counter-clockwise on the screen.
bool angleInArc(double a, double a1, double a2)
{
    if (a2 > a1)
        return a1 <= a && a <= a2;
    return a >= a1 || a <= a2;
}

// The point of the ellipse on the click's vertical, nearest the click's side; false when the click
// lies beyond the ellipse's width.
bool ellipsePointOnVertical(const CKovLine& f, double x, double y, CDbPoint& out)
{
    const CDbPoint& c = f.MLinePnt[0];
    const double rx = f.MLineParam[0];
    const double k = f.MLineParam[1];
    if (!(std::fabs(x - c.x) <= rx))
        return false;
    const double o = std::sin(std::acos((x - c.x) / rx)) * k * rx;
    out = {x, y - c.y > 0 ? c.y + o : c.y - o};
    return true;
}

// Selects the best figure: its group when it has a live one, else itself.
int selectFigureOrGroup(const CKovUnit& unit, SelectionRecord& selection, const CKovLine& f)
{
    const int g = liveGroup(unit, f.MLineGrpID);
    if (g != 0)
        selection.AddGroupId(g);
    else
        selection.AddLineId(f.MLineID);
    return 1;
}

// The cycle rule of circles, arcs and lines: ungrouped figures are stepped past only when the one
// selected before was of the same kind.
bool skipForCycle(const CKovUnit& unit, const CKovLine& f, int cycle, int previousFigure, int previousGroup,
                  int groupId)
{
    if (groupId != 0)
        return SkippedByCycle(cycle, previousGroup, groupId);
    return SkippedByCycle(cycle, previousFigure, f.MLineID) && kindOf(unit, previousFigure) == f.MLineType;
}

// The nearest candidate so far within the pick radius; a later one replaces it only when nearer.
struct NearestPick {
    int best = PickRadius();
    int index = -1;
    void consider(int d, int i)
    {
        if (ReplacesBest(d, best)) {
            best = d;
            index = i;
        }
    }
};

// The index of the nearest figure, -1 for none: every figure that `candidate` takes, on a layer the
// filter passes, is measured in array order by measure(figure, index, nearest).
template <class Candidate, class Measure>
int nearestFigure(const CKovUnit& unit, const CPlotInfo& plot, PickLayers filter, Candidate candidate, Measure measure)
{
    NearestPick nearest;
    for (int i = 0; i < unit.m_Lines.GetSize(); ++i) {
        const CKovLine& f = *unit.m_Lines[i];
        if (candidate(f) && PassesLayerFilter(plot, filter, LayerOf(f)))
            measure(f, i, nearest);
    }
    return nearest.index;
}

// A hit on a text or a wall selects its group when it has a live one, else the object itself
// (addObject); false when the cycle rule passes it over, so that the search goes on.
template <class AddObject>
bool takeHit(const CKovUnit& unit, SelectionRecord& selection, int groupId, int objectId, int cycle,
             int previousGroup, int previousObject, AddObject addObject)
{
    const int g = liveGroup(unit, groupId);
    if (g != 0) {
        if (SkippedByCycle(cycle, previousGroup, g))
            return false;
        selection.AddGroupId(g);
    } else {
        if (SkippedByCycle(cycle, previousObject, objectId))
            return false;
        (selection.*addObject)(objectId);
    }
    return true;
}

// The device point of an ellipse on the click's vertical, none when the click lies beyond its width.
std::optional<DevicePoint> ellipseDevicePoint(const CKovLine& f, double x, double y, const DeviceTransform& transform,
                                              int g)
{
    CDbPoint onEllipse;
    if (!ellipsePointOnVertical(f, x, y, onEllipse))
        return std::nullopt;
    return ToDevicePoint(onEllipse, transform, g);
}

// How far, in device pixels, the click lies inside (+) or outside (-) the rim of the circle centred on c.
int rimGap(const CKovLine& f, const DevicePoint& c, const DevicePoint& click, const DeviceTransform& transform, int g)
{
    const DevicePoint r = ToDevicePoint({f.MLinePnt[0].x + f.MLineParam[0], f.MLinePnt[0].y}, transform, g);
    return (r.x - c.x) - truncToInt(PointDistanceInt(c.x, c.y, click.x, click.y));
}

// Whether the text's box, however the measurer lays it out (rows or columns, any angle and
// alignment), cannot reach the click: every glyph, line breaks included, is taken as two em squares
// wide and high (twice what full-width glyphs take), so only texts that surely miss are spared the
// measuring. The box's corners lie within its width plus its height of the anchor.
bool textCannotReach(const CKovText& text, int dx, int dy, double paperScale)
{
    const CFontMenu& font = text.MTextFontMenu;
    const double em = std::max({2.0, std::trunc(font.m_size * paperScale), 2.0 * std::fabs(double(font.lfWidth))});
    const double cell = 2.0 * em + std::fabs(font.m_kankaku * paperScale) + std::fabs(font.m_gyoukan * paperScale);
    double glyphs = 1.0;
    for (const char c : text.MTextstr)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            glyphs += 1.0;
    const double reach = glyphs * cell;
    return std::fabs(double(dx)) > reach || std::fabs(double(dy)) > reach;
}

} // namespace

void CKovUnit::PickAtPoint(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                           double x, double y, const DeviceTransform& transform, int mouseFlags, int cycle)
{
    selection.m_nGripKind = 0;
    selection.m_nGripIndex = 0;

    int previousGroup = 0, previousWall = 0, previousFigure = 0, previousText = 0, previousPicture = 0;
    if (selection.m_nCount == 1) {
        if (!selection.m_Groups.empty())
            previousGroup = selection.m_Groups.front();
        else if (!selection.m_Walls.empty())
            previousWall = selection.m_Walls.front();
        else if (!selection.m_Lines.empty())
            previousFigure = selection.m_Lines.front();
        else if (!selection.m_Texts.empty())
            previousText = selection.m_Texts.front();
        else if (!selection.m_Images.empty())
            previousPicture = selection.m_Images.front();
    }

    const DevicePoint click = ClickDevicePoint(x, y, transform, currentGroup(plot));
    if (!(mouseFlags == kCtrlClick && cycle == 0))
        selection.Clear();

    if (PickGroup(selection, plot, PickLayers::Current, click.x, click.y, transform, cycle, previousGroup))
        return;
    if (PickText(measurer, selection, plot, PickLayers::Current, click.x, click.y, transform, cycle, previousText, previousGroup))
        return;
    if (PickFigure(selection, plot, PickLayers::Current, x, y, click.x, click.y, transform, cycle, previousFigure, previousGroup))
        return;
    if (PickWall(selection, plot, PickLayers::Current, x, y, click.x, click.y, transform, cycle, previousWall, previousGroup))
        return;
    PickImage(selection, plot, PickLayers::Current, click.x, click.y, cycle, previousPicture);
}

int CKovUnit::HitGroupCorner(int groupId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                             int& corner) const
{
    const CKovGroup* group = std::as_const(*this).FindGroup(groupId);
    if (!group)
        return 0;
    const DevicePoint p0 = ToDevicePoint(group->MGrpmin, transform, currentGroup(plot));
    const DevicePoint p1 = ToDevicePoint(group->MGrpmax, transform, currentGroup(plot));
    const DevicePoint corners[4] = {{p0.x, p0.y}, {p0.x, p1.y}, {p1.x, p1.y}, {p1.x, p0.y}};
    for (int k = 0; k < 4; ++k) {
        if (InGripWindow(devX - corners[k].x, devY - corners[k].y)) {
            corner = k + 1;
            return 1;
        }
    }
    return 0;
}

int CKovUnit::PickGroup(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, int devX, int devY,
                        const DeviceTransform& transform, int cycle, int previousGroup)
{
    const int g = currentGroup(plot);
    for (const auto& group : m_Groups) {
        if (SkippedByCycle(cycle, previousGroup, group->MGrpID))
            continue;
        if (!PassesLayerFilter(plot, layerFilter, LayerOf(*group)))
            continue;
        // The corner test of HitGroupCorner on this very group (identifiers may repeat in odd files).
        const DevicePoint p0 = ToDevicePoint(group->MGrpmin, transform, g);
        const DevicePoint p1 = ToDevicePoint(group->MGrpmax, transform, g);
        const bool hit = InGripWindow(devX - p0.x, devY - p0.y) || InGripWindow(devX - p0.x, devY - p1.y) ||
                         InGripWindow(devX - p1.x, devY - p1.y) || InGripWindow(devX - p1.x, devY - p0.y);
        if (hit) {
            selection.AddGroupId(group->MGrpID);
            return 1;
        }
    }
    return 0;
}

int CKovUnit::PickText(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                       PickLayers layerFilter, int devX, int devY, const DeviceTransform& transform, int cycle,
                       int previousText, int previousGroup)
{
    for (const auto& text : m_Texts) {
        if (!PassesLayerFilter(plot, layerFilter, LayerOf(*text)))
            continue;
        const DevicePoint anchor = ToDevicePoint(text->MTextpnt, transform, text->MTextLayer1);
        bool hit = InPickWindow(devX - anchor.x, devY - anchor.y);
        if (!hit && !textCannotReach(*text, devX - anchor.x, devY - anchor.y, transform.paperScale)) {
            const CFontMenu& font = text->MTextFontMenu;
            const DeviceRect box = measurer.TextBoxSize(anchor.x, anchor.y, text->MTextstr, font, transform.paperScale);
            int w = box.right - box.left;
            if (w == 0)
                w = 1;
            int h = box.bottom - box.top;
            const int angle = font.lfEscapement;
            if (text->MTextHuchiFlg != 0 && angle == 2700)
                h = -h;
            const int perpendicular = angle + 2700 < 3600 ? angle + 2700 : angle - 900;
            const double toRad = kKovPi / 180.0;
            const DeviceCorners c = RotatedBoxCorners(anchor.x, anchor.y, w, h, angle / 10.0 * toRad,
                                                      perpendicular / 10.0 * toRad, font.m_toko_align,
                                                      font.m_tate_align);
            hit = PointInWindingPolygon(c.data(), 4, devX, devY);
        }
        if (hit && takeHit(*this, selection, text->MTextGrpID, text->MTextID, cycle, previousGroup, previousText,
                           &SelectionRecord::AddTextId))
            return 1;
    }
    return 0;
}

void CKovUnit::UpdateNearestSegment(int& bestIndex, int candidateIndex, const DevicePoint& p, const DevicePoint& q,
                                    int& bestDistance, const DevicePoint& click)
{
    const int t = bestDistance;
    const int minX = std::min(p.x, q.x), maxX = std::max(p.x, q.x);
    const int minY = std::min(p.y, q.y), maxY = std::max(p.y, q.y);
    int d = 0;
    if (p.y == q.y) {
        if (!(minX - t < click.x && click.x < maxX + t && WithinPickRadius(p.y - click.y)))
            return;
        d = std::abs(p.y - click.y);
    } else if (p.x == q.x) {
        if (!(minY - t < click.y && click.y < maxY + t && WithinPickRadius(p.x - click.x)))
            return;
        d = std::abs(p.x - click.x);
    } else {
        const double m = double(q.y - p.y) / double(q.x - p.x);
        const double k = -1.0 / m;
        const double b1 = p.y - p.x * m;
        const double b2 = click.y - click.x * k;
        const double fx = (b1 - b2) / (k - m);
        const double fy = fx * k + b2;
        const int ix = truncToInt(fx), iy = truncToInt(fy);
        if (!(minY - t < iy && iy < maxY + t && minX - t < ix && ix < maxX + t && WithinPickRadius(ix - click.x) &&
              WithinPickRadius(iy - click.y)))
            return;
        d = truncToInt(PointDistance(fx, fy, click.x, click.y));
    }
    if (ReplacesBest(d, bestDistance)) {
        bestIndex = candidateIndex;
        bestDistance = d;
    }
}

int CKovUnit::PickFigure(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y,
                         int devX, int devY, const DeviceTransform& transform, int cycle, int previousFigure,
                         int previousGroup)
{
    return PickOutline(selection, plot, layerFilter, x, y, devX, devY, transform, cycle, previousFigure,
                       previousGroup) ||
                   PickCircle(selection, plot, layerFilter, x, y, devX, devY, transform, cycle, previousFigure,
                              previousGroup) ||
                   PickArc(selection, plot, layerFilter, x, y, devX, devY, transform, cycle, previousFigure,
                           previousGroup) ||
                   PickDimension(selection, plot, layerFilter, x, y, devX, devY, transform, cycle, previousFigure,
                                 previousGroup)
               ? 1
               : 0;
}

int CKovUnit::PickOutline(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double, double,
                          int devX, int devY, const DeviceTransform& transform, int cycle, int previousFigure,
                          int previousGroup)
{
    const DevicePoint click{devX, devY};
    auto candidate = [&](const CKovLine& f) {
        const int kind = f.MLineType;
        if (kind != CKovLine::LINE && kind != CKovLine::RECTANGLE && kind != CKovLine::POLYGON &&
            kind != CKovLine::CONTINUOUS)
            return false;
        if (f.MLineGrpID == 0)
            return !SkippedByCycle(cycle, previousFigure, f.MLineID);
        if (SkippedByCycle(cycle, previousGroup, f.MLineGrpID))
            return false;
        const CKovGroup* group = std::as_const(*this).FindGroup(f.MLineGrpID);
        // A room's hatch lines are never picked: its outline leads to the room.
        return group && !(group->MGrpRoom == CKovGroup::ROOM && kind == CKovLine::LINE);
    };
    auto measure = [&](const CKovLine& f, int i, NearestPick& nearest) {
        const int n = static_cast<int>(f.MLinePnt.size());
        auto dev = [&](int k) { return ToDevicePoint(f.MLinePnt[static_cast<std::size_t>(k)], transform, f.MLineLayer1); };
        auto segment = [&](int k, int l) { UpdateNearestSegment(nearest.index, i, dev(k), dev(l), nearest.best, click); };
        if (f.MLineType == CKovLine::RECTANGLE) {
            if (n < 4)
                return;
            for (int k = 0; k < 4; ++k)
                segment(k, (k + 1) % 4);
            return;
        }
        for (int k = 0; k + 1 < n; ++k)
            segment(k, k + 1);
        if (f.MLineType == CKovLine::POLYGON && n > 0)
            segment(n - 1, 0);
    };
    const int index = nearestFigure(*this, plot, layerFilter, candidate, measure);
    if (index < 0)
        return 0;
    const CKovLine& f = *std::as_const(m_Lines)[index];
    if (f.MLineGrpID != 0 && !HasGroup(f.MLineGrpID))
        return 0;
    return selectFigureOrGroup(*this, selection, f);
}

int CKovUnit::PickCircle(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y,
                         int devX, int devY, const DeviceTransform& transform, int cycle, int previousFigure,
                         int previousGroup)
{
    const DevicePoint click{devX, devY};
    const int g = currentGroup(plot);
    auto candidate = [&](const CKovLine& f) {
        return f.MLineType == CKovLine::CIRCLE && !f.MLinePnt.empty() &&
               !skipForCycle(*this, f, cycle, previousFigure, previousGroup, liveGroup(*this, f.MLineGrpID));
    };
    auto measure = [&](const CKovLine& f, int i, NearestPick& nearest) {
        const DevicePoint c = ToDevicePoint(f.MLinePnt[0], transform, g);
        if (inPickWindow(c, click))
            nearest.consider(manhattan(c, click), i);
        if (f.MLineParam.size() == 2) {
            const std::optional<DevicePoint> e = ellipseDevicePoint(f, x, y, transform, g);
            if (e && inPickWindow(*e, click))
                nearest.consider(manhattan(*e, click), i);
        } else if (!f.MLineParam.empty()) {
            const int gap = rimGap(f, c, click, transform, g);
            if (WithinPickRadius(gap))
                nearest.consider(std::abs(gap), i);
        }
    };
    const int index = nearestFigure(*this, plot, layerFilter, candidate, measure);
    if (index < 0)
        return 0;
    return selectFigureOrGroup(*this, selection, *std::as_const(m_Lines)[index]);
}

int CKovUnit::PickArc(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y,
                      int devX, int devY, const DeviceTransform& transform, int cycle, int previousFigure,
                      int previousGroup)
{
    const DevicePoint click{devX, devY};
    const int g = currentGroup(plot);
    auto candidate = [&](const CKovLine& f) {
        return f.MLineType == CKovLine::ARC && f.MLinePnt.size() >= 3 &&
               !skipForCycle(*this, f, cycle, previousFigure, previousGroup, liveGroup(*this, f.MLineGrpID));
    };
    auto measure = [&](const CKovLine& f, int i, NearestPick& nearest) {
        const DevicePoint c = ToDevicePoint(f.MLinePnt[0], transform, g);
        const DevicePoint s = ToDevicePoint(f.MLinePnt[1], transform, g);
        const DevicePoint e = ToDevicePoint(f.MLinePnt[2], transform, g);
        for (const DevicePoint* p : {&c, &s, &e}) {
            if (inPickWindow(*p, click)) {
                nearest.consider(manhattan(*p, click), i);
                break;
            }
        }
        const double a1 = VectorAngle(c.x, c.y, s.x, s.y);
        const double a2 = VectorAngle(c.x, c.y, e.x, e.y);
        if (f.MLineParam.size() == 2) {
            const std::optional<DevicePoint> q = ellipseDevicePoint(f, x, y, transform, g);
            if (q && angleInArc(VectorAngle(c.x, c.y, q->x, q->y), a1, a2) && inPickWindow(*q, click))
                nearest.consider(manhattan(*q, click), i);
        } else if (!f.MLineParam.empty()) {
            const int gap = rimGap(f, c, click, transform, g);
            if (WithinPickRadius(gap) && angleInArc(VectorAngle(c.x, c.y, click.x, click.y), a1, a2))
                nearest.consider(std::abs(gap), i);
        }
    };
    const int index = nearestFigure(*this, plot, layerFilter, candidate, measure);
    if (index < 0)
        return 0;
    return selectFigureOrGroup(*this, selection, *std::as_const(m_Lines)[index]);
}

int CKovUnit::PickDimension(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double, double,
                            int devX, int devY, const DeviceTransform& transform, int cycle, int previousFigure,
                            int)
{
    const DevicePoint click{devX, devY};
    const bool previousIsDimension = kindOf(*this, previousFigure) == CKovLine::DIMENSION;
    auto candidate = [&](const CKovLine& f) {
        return f.MLineType == CKovLine::DIMENSION &&
               !(SkippedByCycle(cycle, previousFigure, f.MLineID) && previousIsDimension);
    };
    auto measure = [&](const CKovLine& f, int i, NearestPick& nearest) {
        const std::size_t n = std::min<std::size_t>(3, f.MLinePnt.size());
        for (std::size_t k = 0; k < n; ++k) {
            const DevicePoint p = ToDevicePoint(f.MLinePnt[k], transform, f.MLineLayer1);
            if (inPickWindow(p, click)) {
                nearest.consider(manhattan(p, click), i);
                break;
            }
        }
    };
    const int index = nearestFigure(*this, plot, layerFilter, candidate, measure);
    if (index < 0)
        return 0;
    // A dimension line is selected by itself, even inside a group.
    selection.AddLineId(std::as_const(m_Lines)[index]->MLineID);
    return 1;
}

int CKovUnit::PickWall(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y,
                       int devX, int devY, const DeviceTransform& transform, int cycle, int previousWall,
                       int previousGroup)
{
    const DevicePoint click{devX, devY};
    const DevicePoint clickMm = RoundPoint(x, y);
    for (const auto& wall : m_Walls) {
        if (!PassesLayerFilter(plot, layerFilter, LayerOf(*wall)))
            continue;
        DevicePoint outline[4];
        for (std::size_t k = 0; k < 4; ++k)
            outline[k] = RoundPoint(wall->MWallPntKado[k].x, wall->MWallPntKado[k].y);
        bool hit = PointInWindingPolygon(outline, 4, clickMm.x, clickMm.y);
        if (!hit) {
            hit = inPickWindow(ToDevicePoint(wall->MWallPntA, transform, wall->MWallLayer1), click) ||
                  inPickWindow(ToDevicePoint(wall->MWallPntB, transform, wall->MWallLayer1), click);
        }
        if (hit && takeHit(*this, selection, wall->MWallGrpID, wall->MWallID, cycle, previousGroup, previousWall,
                           &SelectionRecord::AddWallId))
            return 1;
    }
    return 0;
}

int CKovUnit::PickImage(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, int devX, int devY,
                        int cycle, int previousPicture)
{
    const int r = PickRadius();
    for (const auto& picture : m_Images) {
        if (layerFilter == PickLayers::Current && !PassesLayerFilter(plot, PickLayers::Current, LayerOf(*picture)))
            continue;
        const DeviceRect& rc = picture->m_rcDrawn;
        // The picture's own rectangle widened by the radius, borders included.
        if (!(rc.left - r <= devX && devX <= rc.right + r && rc.top - r <= devY && devY <= rc.bottom + r))
            continue;
        if (SkippedByCycle(cycle, previousPicture, picture->ImageID))
            continue;
        selection.AddImageId(picture->ImageID);
        return 1;
    }
    return 0;
}

int CKovUnit::PickLine(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, int devX, int devY,
                       const DeviceTransform& transform, int cycle, int previousFigure, int previousGroup)
{
    const DevicePoint click{devX, devY};
    const bool previousIsLine = kindOf(*this, previousFigure) == CKovLine::LINE;
    auto candidate = [&](const CKovLine& f) {
        if (f.MLineType != CKovLine::LINE || f.MLinePnt.size() < 2)
            return false;
        if (f.MLineGrpID == 0)
            return !(SkippedByCycle(cycle, previousFigure, f.MLineID) && previousIsLine);
        if (SkippedByCycle(cycle, previousGroup, f.MLineGrpID))
            return false;
        const CKovGroup* group = std::as_const(*this).FindGroup(f.MLineGrpID);
        return group && group->MGrpRoom != CKovGroup::ROOM;
    };
    auto measure = [&](const CKovLine& f, int i, NearestPick& nearest) {
        UpdateNearestSegment(nearest.index, i, ToDevicePoint(f.MLinePnt[0], transform, f.MLineLayer1),
                             ToDevicePoint(f.MLinePnt[1], transform, f.MLineLayer1), nearest.best, click);
    };
    const int index = nearestFigure(*this, plot, layerFilter, candidate, measure);
    if (index < 0)
        return 0;
    return selectFigureOrGroup(*this, selection, *std::as_const(m_Lines)[index]);
}
