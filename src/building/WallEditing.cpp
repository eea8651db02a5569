// Changing parts of walls: erasing the part between two points (on a wall's core or inside its
// body), splitting a room wall at a new vertex, and bending a room wall into a curved band.

#include "building/WallJoining.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>

namespace {

// A straight wall from a to b with its corners, taking the widths, type, layer and group of the
// wall it was split from.
std::unique_ptr<CKovWall> wallPartOf(const CKovWall& old, int id, const CDbPoint& a, const CDbPoint& b,
                                     const std::array<CDbPoint, 4>& corners)
{
    auto part = std::make_unique<CKovWall>();
    part->MWallID = id;
    part->MWallPntA = a;
    part->MWallPntB = b;
    part->MWallPntKado = corners;
    part->MWallWide1 = old.MWallWide1;
    part->MWallWide2 = old.MWallWide2;
    part->MWallType = old.MWallType;
    part->MWall_Type = CKovWall::WALL;
    part->MWallLayer1 = old.MWallLayer1;
    part->MWallLayer2 = old.MWallLayer2;
    part->MWallGrpID = old.MWallGrpID;
    return part;
}

constexpr double kCutTolerance = 0.001;
constexpr double kObliqueMatch = 0.01;
constexpr int kBendSegments = 24;

// What a cut from c1 to c2 does to a wall running from lo to hi (c1 <= c2), first rule that holds.
enum class Cut { Untouched, Deleted, Split, StartMoved, EndMoved };

Cut classify(double lo, double hi, double c1, double c2)
{
    if (c1 > hi) return Cut::Untouched;
    if (c1 <= lo && c2 >= hi) return Cut::Deleted;
    if (c1 > lo && c2 < hi) return Cut::Split;
    if (c1 <= lo && c2 > lo) return Cut::StartMoved;
    if (c1 < hi && c2 >= hi) return Cut::EndMoved;
    return Cut::Untouched;
}

// One wall against one cut: the wall's interval, the cut's, and the points that become the new ends
// at c1 and at c2. loIsA: the wall's end A lies at lo.
struct WallCut {
    double lo = 0, hi = 0, c1 = 0, c2 = 0;
    CDbPoint atC1, atC2;
    bool loIsA = true;
};

bool vertical(const CKovWall& w) { return std::fabs(w.MWallPntA.x - w.MWallPntB.x) < kCutTolerance; }
bool horizontal(const CKovWall& w) { return std::fabs(w.MWallPntA.y - w.MWallPntB.y) < kCutTolerance; }

// The cut along y (vertical wall) or x (any other wall) with its new ends.
WallCut alongY(const CKovWall& w, double p, double q, double x)
{
    WallCut c;
    c.loIsA = w.MWallPntA.y <= w.MWallPntB.y;
    c.lo = std::min(w.MWallPntA.y, w.MWallPntB.y);
    c.hi = std::max(w.MWallPntA.y, w.MWallPntB.y);
    c.c1 = std::min(p, q);
    c.c2 = std::max(p, q);
    c.atC1 = {x, c.c1};
    c.atC2 = {x, c.c2};
    return c;
}

WallCut alongX(const CKovWall& w, double p, double q, double y)
{
    WallCut c;
    c.loIsA = w.MWallPntA.x <= w.MWallPntB.x;
    c.lo = std::min(w.MWallPntA.x, w.MWallPntB.x);
    c.hi = std::max(w.MWallPntA.x, w.MWallPntB.x);
    c.c1 = std::min(p, q);
    c.c2 = std::max(p, q);
    c.atC1 = {c.c1, y};
    c.atC2 = {c.c2, y};
    return c;
}

// An oblique wall along x, the cut's own (ordered) points becoming its ends.
WallCut alongXByPoints(const CKovWall& w, const CDbPoint& first, const CDbPoint& second)
{
    WallCut c;
    c.loIsA = w.MWallPntA.x <= w.MWallPntB.x;
    c.lo = std::min(w.MWallPntA.x, w.MWallPntB.x);
    c.hi = std::max(w.MWallPntA.x, w.MWallPntB.x);
    c.c1 = first.x;
    c.c2 = second.x;
    c.atC1 = first;
    c.atC2 = second;
    return c;
}

void removeFromGroup(CKovUnit& unit, int groupId, int wallId)
{
    if (groupId == 0) return;
    if (CKovGroup* g = unit.FindGroup(groupId)) {
        auto& ids = g->MGrpWallID;
        ids.erase(std::remove(ids.begin(), ids.end(), wallId), ids.end());
    }
}

// Applies the cut to the wall; true when it changed.
bool applyCut(CKovUnit& unit, int wallId, const WallCut& c)
{
    CKovWall* w = unit.FindWall(wallId);
    if (!w) return false;
    const Cut what = classify(c.lo, c.hi, c.c1, c.c2);
    CDbPoint& loEnd = c.loIsA ? w->MWallPntA : w->MWallPntB;
    CDbPoint& hiEnd = c.loIsA ? w->MWallPntB : w->MWallPntA;
    switch (what) {
    case Cut::Untouched: return false;
    case Cut::Deleted: {
        const int group = w->MWallGrpID;
        removeFromGroup(unit, group, wallId);
        unit.DeleteWall(wallId);
        return true;
    }
    case Cut::Split: {
        const CDbPoint farEnd = hiEnd;
        hiEnd = c.atC1;
        const CKovWall old = *w;
        unit.UpdateWallCorners(wallId);
        // The part beyond the cut becomes a wall of its own, in the same group.
        CDbPoint a = c.atC2, b = farEnd;
        std::array<CDbPoint, 4> corners;
        if (!CKovUnit::ComputeWallCorners(corners, a, b, old.MWallWide1, 1))
            return true;
        const int id = unit.NextWallId();
        if (id == CKovUnit::kNoFreeId)
            return true;
        unit.m_Walls.Add(wallPartOf(old, id, a, b, corners));
        if (old.MWallGrpID != 0)
            if (CKovGroup* g = unit.FindGroup(old.MWallGrpID))
                g->MGrpWallID.push_back(id);
        return true;
    }
    case Cut::StartMoved:
    case Cut::EndMoved: {
        if (what == Cut::StartMoved)
            loEnd = c.atC2;
        else
            hiEnd = c.atC1;
        if (w->MWallPntA == w->MWallPntB) {
            const int group = w->MWallGrpID;
            removeFromGroup(unit, group, wallId);
            unit.DeleteWall(wallId);
        } else {
            unit.UpdateWallCorners(wallId);
        }
        return true;
    }
    }
    return false;
}

// The walls (not columns) of the plot's current layer group, in array order.
std::vector<int> wallsOfCurrentGroup(const CKovUnit& unit, const CPlotInfo& plot)
{
    std::vector<int> ids;
    for (const auto& w : unit.m_Walls)
        if (w->MWallLayer1 == plot.m_Layer.m_nCurrentGroup && w->MWall_Type == CKovWall::WALL)
            ids.push_back(w->MWallID);
    return ids;
}

void rejoinCurrentGroup(CKovUnit& unit, const CPlotInfo& plot)
{
    const int g = plot.m_Layer.m_nCurrentGroup;
    std::vector<int> ids;
    for (const auto& w : std::as_const(unit).m_Walls)
        if (w->MWallLayer1 == g)
            ids.push_back(w->MWallID);
    for (int id : ids)
        unit.ResetWallOutline(id);
    unit.JoinWalls(g);
}

bool slopeOf(const CDbPoint& a, const CDbPoint& b, double& m, double& c)
{
    LineSlopeIntercept(m, c, a.x, a.y, b.x, b.y);
    return std::isfinite(m) && std::isfinite(c);
}

// The single selected room group, or null.
CKovGroup* selectedRoom(CKovUnit& unit, const SelectionRecord& selection)
{
    if (selection.m_nCount != 1 || selection.m_Groups.size() != 1) return nullptr;
    CKovGroup* g = unit.FindGroup(selection.m_Groups.front());
    return g && g->MGrpRoom == CKovGroup::ROOM ? g : nullptr;
}

bool nearPixel(const CDbPoint& p, int layerGroup, DevicePoint clickPx, const DeviceTransform& t)
{
    const DevicePoint d = ToDevicePoint(p, t, layerGroup);
    return PointsWithinPickTolerance(d.x, d.y, clickPx.x, clickPx.y) != 0;
}

} // namespace

int CKovUnit::EraseWallPartOnCore(const CPlotInfo& plot, CDbPoint p, CDbPoint q)
{
    const bool cutVertical = std::fabs(p.x - q.x) < kCutTolerance;
    const bool cutHorizontal = !cutVertical && std::fabs(p.y - q.y) < kCutTolerance;
    double cutSlope = 0, cutIntercept = 0;
    if (!cutVertical && !cutHorizontal) {
        if (p.x > q.x) std::swap(p, q);
        if (!slopeOf(p, q, cutSlope, cutIntercept) || cutSlope == 0.0) return 0;
    }
    bool changed = false;
    for (int id : wallsOfCurrentGroup(*this, plot)) {
        const CKovWall* w = std::as_const(*this).FindWall(id);
        if (!w) continue;
        if (vertical(*w)) {
            if (cutVertical && std::fabs(p.x - w->MWallPntA.x) <= kCutTolerance)
                changed |= applyCut(*this, id, alongY(*w, p.y, q.y, w->MWallPntA.x));
        } else if (horizontal(*w)) {
            if (cutHorizontal && std::fabs(p.y - w->MWallPntA.y) <= kCutTolerance)
                changed |= applyCut(*this, id, alongX(*w, p.x, q.x, w->MWallPntA.y));
        } else if (!cutVertical && !cutHorizontal) {
            double m = 0, c = 0;
            if (!slopeOf(w->MWallPntA, w->MWallPntB, m, c) || m == 0.0) continue;
            if (std::fabs(m - cutSlope) <= kObliqueMatch && std::fabs(c - cutIntercept) <= kObliqueMatch)
                changed |= applyCut(*this, id, alongXByPoints(*w, p, q));
        }
    }
    if (!changed) return 0;
    rejoinCurrentGroup(*this, plot);
    return 1;
}

int CKovUnit::EraseWallPartInside(const CPlotInfo& plot, CDbPoint p, CDbPoint q)
{
    bool changed = false;
    auto within = [](double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); };
    for (int id : wallsOfCurrentGroup(*this, plot)) {
        const CKovWall* w = std::as_const(*this).FindWall(id);
        if (!w) continue;
        const CDbPoint a = w->MWallPntA, b = w->MWallPntB;
        const double t = w->MWallWide1;
        if (vertical(*w)) {
            if ((within(p.y, a.y, b.y) || within(q.y, a.y, b.y)) && within(p.x, a.x - t, a.x + t)
                && within(q.x, a.x - t, a.x + t))
                changed |= applyCut(*this, id, alongY(*w, p.y, q.y, a.x));
        } else if (horizontal(*w)) {
            if ((within(p.x, a.x, b.x) || within(q.x, a.x, b.x)) && within(p.y, a.y - t, a.y + t)
                && within(q.y, a.y - t, a.y + t))
                changed |= applyCut(*this, id, alongX(*w, p.x, q.x, a.y));
        } else {
            double m = 0, c = 0;
            if (!slopeOf(a, b, m, c) || m == 0.0) continue;
            const WallRegion region(w->MWallPntKado);
            if (!region.contains(p) || !region.contains(q)) continue;
            CDbPoint first = p, second = q;
            if (first.x > second.x) std::swap(first, second);
            changed |= applyCut(*this, id, alongXByPoints(*w, FootOfPerpendicular(a, b, first),
                                                          FootOfPerpendicular(a, b, second)));
        }
    }
    if (!changed) return 0;
    rejoinCurrentGroup(*this, plot);
    return 1;
}

int CKovUnit::AddRoomVertex(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& click,
                            DevicePoint clickPx, const DeviceTransform& transform)
{
    CKovGroup* room = selectedRoom(*this, selection);
    if (!room) return 0;
    const int roomId = room->MGrpID;
    int splitId = 0;
    // A click anywhere on the wall's body counts: the line snaps put clicks on the faces, not on the
    // core line, so the point is carried square onto the core.
    CDbPoint at = click;
    for (int id : room->MGrpWallID) {
        const CKovWall* w = std::as_const(*this).FindWall(id);
        if (!w) continue;
        if (nearPixel(w->MWallPntA, w->MWallLayer1, clickPx, transform)) return 0;
        const CDbPoint a = w->MWallPntA, b = w->MWallPntB;
        const double reach = std::max(w->MWallWide1, w->MWallWide2);
        if (a.y == b.y) {
            if (std::fabs(click.y - a.y) <= reach && click.x > std::min(a.x, b.x) && click.x < std::max(a.x, b.x)) {
                splitId = id;
                at = {click.x, a.y};
                break;
            }
        } else if (a.x == b.x) {
            if (std::fabs(click.x - a.x) <= reach && click.y > std::min(a.y, b.y) && click.y < std::max(a.y, b.y)) {
                splitId = id;
                at = {a.x, click.y};
                break;
            }
        }
    }
    if (splitId == 0) return 1;

    const int index = FindWallIndex(splitId);
    const CKovWall old = *std::as_const(*this).m_Walls[index];
    const bool level = old.MWallPntA.y == old.MWallPntB.y;
    const bool aFirst = level ? old.MWallPntA.x <= old.MWallPntB.x : old.MWallPntA.y <= old.MWallPntB.y;
    const CDbPoint lo = aFirst ? old.MWallPntA : old.MWallPntB;
    const CDbPoint hi = aFirst ? old.MWallPntB : old.MWallPntA;

    CDbPoint na = lo, nb = at;
    std::array<CDbPoint, 4> newCorners;
    if (!ComputeWallCorners(newCorners, na, nb, old.MWallWide1, 1)) return 0;
    CDbPoint oa = at, ob = hi;
    std::array<CDbPoint, 4> oldCorners;
    if (!ComputeWallCorners(oldCorners, oa, ob, old.MWallWide1, 1)) return 0;
    const int id = NextWallId();
    if (id == kNoFreeId) return 0;

    m_Walls.InsertAt(index, wallPartOf(old, id, na, nb, newCorners));
    CKovWall* rest = FindWall(splitId);
    rest->MWallPntA = oa;
    rest->MWallPntB = ob;
    rest->MWallPntKado = oldCorners;
    room = FindGroup(roomId);
    room->MGrpWallID.push_back(id);
    ResetWallOutline(id);
    ResetWallOutline(splitId);
    JoinWalls(plot.m_Layer.m_nCurrentGroup);

    room = FindGroup(roomId);
    if (room->MGrpLineID.empty()) return 1;
    CKovLine* polygon = FindLine(room->MGrpLineID.front());
    if (!polygon || polygon->MLineType != CKovLine::POLYGON) return 1;
    CDbPointArray& pts = polygon->MLinePnt;
    const std::size_t n = pts.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CDbPoint& s = pts[i];
        const CDbPoint& e = pts[(i + 1) % n];
        if ((s == lo && e == hi) || (s == hi && e == lo)) {
            pts.insert(pts.begin() + static_cast<std::ptrdiff_t>(i + 1), at);
            // A rectangle room's polygon becomes explicitly closed.
            if (pts.size() == 5) pts.push_back(pts.front());
            break;
        }
    }
    return 1;
}

int CKovUnit::BendRoomWall(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                           CDbPoint& click, DevicePoint clickPx, const DeviceTransform& transform,
                           int separateSegments)
{
    CKovGroup* room = selectedRoom(*this, selection);
    if (!room) return 0;
    const int roomId = room->MGrpID;
    if (points.empty()) {
        for (int id : room->MGrpWallID) {
            const CKovWall* w = std::as_const(*this).FindWall(id);
            if (!w) continue;
            for (const CDbPoint& end : {w->MWallPntA, w->MWallPntB})
                if (nearPixel(end, w->MWallLayer1, clickPx, transform)) {
                    click = end;
                    return 1;
                }
        }
        return 0;
    }
    if (points.size() == 1) {
        const CDbPoint first = points.front();
        for (int id : room->MGrpWallID) {
            const CKovWall* w = std::as_const(*this).FindWall(id);
            if (!w) continue;
            if (first == w->MWallPntB && nearPixel(w->MWallPntA, w->MWallLayer1, clickPx, transform)) {
                click = w->MWallPntA;
                return 2;
            }
            if (first == w->MWallPntA && nearPixel(w->MWallPntB, w->MWallLayer1, clickPx, transform)) {
                click = w->MWallPntB;
                return 2;
            }
        }
        return 0;
    }

    const CDbPoint p0 = points[0], p1 = points[1];
    CDbPointArray inner;
    if (!CircleThroughThreePoints(inner, p0, p1, click, kBendSegments)) return 0;

    // The straight wall goes; the curved band takes its thickness.
    double t = plot.PlotWallWide;
    for (int id : room->MGrpWallID) {
        const CKovWall* w = std::as_const(*this).FindWall(id);
        if (!w) continue;
        if ((w->MWallPntA == p0 && w->MWallPntB == p1) || (w->MWallPntA == p1 && w->MWallPntB == p0)) {
            t = w->MWallWide1;
            auto& ids = room->MGrpWallID;
            ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
            DeleteWall(id);
            break;
        }
    }

    room = FindGroup(roomId);
    CKovLine* polygon = room->MGrpLineID.empty() ? nullptr : FindLine(room->MGrpLineID.front());
    if (polygon && polygon->MLineType == CKovLine::POLYGON) {
        CDbPointArray& pts = polygon->MLinePnt;
        const std::size_t n = pts.size();
        for (std::size_t i = 0; i < n; ++i) {
            const CDbPoint s = pts[i];
            const CDbPoint e = pts[(i + 1) % n];
            if ((s == p0 && e == p1) || (s == p1 && e == p0)) {
                CDbPointArray edgeArc;
                if (CircleThroughThreePoints(edgeArc, s, e, click, kBendSegments))
                    pts.insert(pts.begin() + static_cast<std::ptrdiff_t>(i + 1), edgeArc.begin(), edgeArc.end());
                break;
            }
        }
    }

    // The pattern lines follow the new outline.
    room = FindGroup(roomId);
    if (!room->MGrpLineID.empty()) {
        const int polygonId = room->MGrpLineID.front();
        const std::vector<int> members = room->MGrpLineID;
        int deleted = 0;
        for (int id : members) {
            const CKovLine* f = std::as_const(*this).FindLine(id);
            if (f && f->MLineType == CKovLine::LINE) {
                DeleteLine(id);
                ++deleted;
            }
        }
        room = FindGroup(roomId);
        room->MGrpLineID.resize(1);
        CKovLine* fill = FindLine(polygonId);
        if (deleted > 0 && fill) {
            CPlotInfo settings(plot);
            fill->StoreDefaultStyle(settings);
            settings.m_RoomInfo.Room_bHachColor = 1;
            settings.m_RoomInfo.Room_HachColor = fill->MLineColor;
            settings.m_RoomInfo.Room_HachType = fill->MLineHachT;
            if (fill->MLineParam.size() == 1 && fill->MLineParam[0] != 0)
                settings.m_RoomInfo.Room_HachKankaku = fill->MLineParam[0];
            AddRoomHatchLines(transform, settings, *fill, *room);
        }
    }
    room = FindGroup(roomId);
    UpdateGroupBounds(*room);

    // The curved wall itself: a filled band and, unless the walls are drawn filled only, its faces.
    CPlotInfo settings(plot);
    settings.PlotNakaNuri[2] = 1;
    settings.PlotbHach[2] = 0;
    settings.PlotGradiation[2] = 0;
    settings.PlotAlpha[2] = 100;
    const int mode = plot.PlotWallBlack;
    switch (mode) {
    case 1:
        settings.PlotColor[2] = settings.PlotNakaColor[2] = 0x000000;
        break;
    case 3:
        settings.PlotColor[2] = settings.PlotNakaColor[2] = plot.PlotWallColor;
        break;
    case 4:
        settings.PlotColor[2] = settings.PlotNakaColor[2] = plot.PlotWallColor;
        settings.PlotColor[0] = 0x000000;
        break;
    default:
        settings.PlotColor[2] = settings.PlotNakaColor[2] = 0xFFFFFF;
        settings.PlotColor[0] = 0x000000;
        break;
    }
    CDbPointArray path{p0};
    path.insert(path.end(), inner.begin(), inner.end());
    path.push_back(p1);
    SelectionRecord made;
    AddDoubleLinePolygon(made, settings, path, path.back(), t, t);
    if (mode != 1 && mode != 3)
        AddDoubleLine(made, settings, path, path.back(), t, t, separateSegments);
    return 3;
}
