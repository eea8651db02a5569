// Dragging the selection in select mode: the room lock, the plain move and the seven grip drags.
// Every step starts again from the snapshot taken at the click and applies the whole offset from the
// press point, so a drag never drifts and a drag back to the press point restores the objects.

#include "edit/PickRules.h"
#include "edit/SnapshotPairs.h"

#include "model/Geometry.h"
#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"

#include <algorithm>
#include <cmath>
#include <utility>

using kov::edit::SnapshotCopy;

namespace {

bool coincide(const CDbPoint& a, const CDbPoint& b)
{
    return std::fabs(a.x - b.x) < kKovAxisTolerance && std::fabs(a.y - b.y) < kKovAxisTolerance;
}

CDbPoint plus(const CDbPoint& p, double dx, double dy) { return {p.x + dx, p.y + dy}; }

int currentGroup(const CPlotInfo& plot)
{
    return std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
}

// Live object and its snapshot copy, or nulls.
template <class Array>
auto livePair(Array& live, const Array& snapshot, int id)
{
    using T = std::remove_pointer_t<decltype(live[0])>;
    struct Pair {
        T* live = nullptr;
        const T* saved = nullptr;
    } pair;
    const int index = live.FindIndex(id);
    if (index < 0)
        return pair;
    pair.saved = SnapshotCopy(snapshot, index, id);
    if (pair.saved)
        pair.live = live[index];
    return pair;
}

// New core ends of a wall: the corners follow from the first half thickness on both sides and the
// outline becomes the four sides again; the joints come back when the drag ends.
void setWallCore(CKovUnit& unit, CKovWall& wall, CDbPoint a, CDbPoint b)
{
    std::array<CDbPoint, 4> corners;
    if (!CKovUnit::ComputeWallCorners(corners, a, b, wall.MWallWide1, 1))
        return;
    wall.MWallPntA = a;
    wall.MWallPntB = b;
    wall.MWallPntKado = corners;
    unit.ResetWallOutline(wall.MWallID);
}

// The turn of a group's rotation: by beta radians about the drawing origin.
CDbPoint turn(const CDbPoint& p, double cosB, double sinB) { return {p.x * cosB - p.y * sinB, p.y * cosB + p.x * sinB}; }

// An arc end placed on the arc's circle: along the ray from the centre, both offsets cut to whole
// millimetres; an end level with (or plumb above) the centre goes on the circle only when the other
// end lies on the far side.
void placeOnCircle(CDbPoint& t, const CDbPoint& c, const CDbPoint& other, double r)
{
    if (std::fabs(c.y - t.y) < kKovAxisTolerance) {
        if (t.x > c.x && c.x > other.x)
            t.x = c.x + r;
        else if (c.x > t.x && other.x > c.x)
            t.x = c.x - r;
        return;
    }
    if (std::fabs(c.x - t.x) < kKovAxisTolerance) {
        if (t.y > c.y && c.y > other.y)
            t.y = c.y + r;
        else if (c.y > t.y && other.y > c.y)
            t.y = c.y - r;
        return;
    }
    const double k = (t.y - c.y) / (t.x - c.x);
    double u = std::sqrt(r * r / (k * k + 1));
    if (t.x < c.x)
        u = -u;
    t = {c.x + std::trunc(u), c.y + std::trunc(u * k)};
}

} // namespace

void CKovUnit::DragSelection(const TextBoxMeasurer& measurer, const DeviceTransform& transform, const CPlotInfo& plot,
                             const CGrid& grid, const SelectionRecord& selection, double dx, double dy,
                             const CKovUnit& snapshot, int pixelDx, const DragOptions& options)
{
    SelectionRecord copy = selection;
    const bool locked = options.roomLock == 1 ||
                        (options.roomLock == 2 && (grid.kyutyaku == 0 || plot.PlotLinePita != 0));
    if (locked) {
        // Rooms, fittings and walls stay where they are; groups that cannot be found stay listed.
        std::erase_if(copy.m_Groups, [&](int id) {
            const CKovGroup* g = std::as_const(*this).FindGroup(id);
            if (!g || (g->MGrpRoom != CKovGroup::ROOM && g->MGrpRoom != CKovGroup::FITTING))
                return false;
            --copy.m_nCount;
            return true;
        });
        copy.m_nCount -= static_cast<int>(copy.m_Walls.size());
        copy.m_Walls.clear();
    }
    const bool oneGroup = copy.m_Groups.size() == 1;
    switch (copy.m_nGripKind) {
    case SelectionRecord::GRIP_GROUP_ROTATION:
        if (oneGroup)
            return DragGroupRotation(copy, dx, dy, snapshot);
        break;
    case SelectionRecord::GRIP_GROUP_CORNER:
        if (oneGroup)
            return DragGroupCorner(copy, dx, dy, snapshot, options.keepAspect);
        break;
    case SelectionRecord::GRIP_ROOM_VERTEX:
        if (oneGroup)
            return DragRoomVertex(copy, dx, dy, snapshot);
        break;
    case SelectionRecord::GRIP_WALL_END:
        if (copy.m_Walls.size() == 1)
            return DragWallEnd(copy, dx, dy, snapshot);
        break;
    case SelectionRecord::GRIP_FIGURE_VERTEX:
        if (copy.m_Lines.size() == 1)
            return DragFigureVertex(copy, dx, dy, snapshot);
        break;
    case SelectionRecord::GRIP_TEXT_ROTATION:
        if (copy.m_Texts.size() == 1)
            return DragTextRotation(measurer, transform, plot, copy, dx, dy, snapshot);
        break;
    case SelectionRecord::GRIP_TEXT_CORNER:
        if (copy.m_Texts.size() == 1)
            return DragTextSize(measurer, transform, plot, copy, snapshot, pixelDx);
        break;
    default:
        break;
    }
    MoveSelection(copy, dx, dy, snapshot);
}

void CKovUnit::DragGroupCorner(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot,
                               int keepAspect)
{
    if (selection.m_Groups.empty())
        return;
    const int id = selection.m_Groups.front();
    auto [group, saved] = livePair(m_Groups, snapshot.m_Groups, id);
    if (!group)
        return;
    const double w0 = std::fabs(saved->MGrpmax.x - saved->MGrpmin.x);
    const double h0 = std::fabs(saved->MGrpmax.y - saved->MGrpmin.y);
    if (w0 == 0 || h0 == 0)
        return;
    // The box never collapses or turns over: such a step is refused and the group keeps the shape of
    // the step before, box and members alike.
    CKovGroup box = *saved;
    double w = 0, h = 0;
    switch (selection.m_nGripIndex) {
    case 1:
        if (!(dx < w0 && dy < h0))
            return;
        box.MGrpmin = plus(box.MGrpmin, dx, dy);
        w = w0 - dx, h = h0 - dy;
        break;
    case 2:
        if (!(dx < w0 && dy > -h0))
            return;
        box.MGrpmin.x += dx, box.MGrpmax.y += dy;
        w = w0 - dx, h = h0 + dy;
        break;
    case 3:
        if (!(dx > -w0 && dy > -h0))
            return;
        box.MGrpmax = plus(box.MGrpmax, dx, dy);
        w = w0 + dx, h = h0 + dy;
        break;
    case 4:
        if (!(dx > -w0 && dy < h0))
            return;
        box.MGrpmax.x += dx, box.MGrpmin.y += dy;
        w = w0 + dx, h = h0 - dy;
        break;
    default:
        return;
    }
    const CDbPoint oMin = saved->MGrpmin, oMax = saved->MGrpmax;
    double sx = w / w0, sy = h / h0;
    if (keepAspect)
        sx = sy = std::min(sx, sy);
    group->CopyFrom(box);
    ScaleGroupFromSnapshot(*group, snapshot, sx, sy, oMin);
    if (!keepAspect) {
        MoveGroup(id, group->MGrpmin.x - oMin.x, group->MGrpmin.y - oMin.y);
        return;
    }
    // The corner opposite to the dragged one stays where it was.
    UpdateGroupBounds(*group);
    switch (selection.m_nGripIndex) {
    case 1: MoveGroup(id, oMax.x - group->MGrpmax.x, oMax.y - group->MGrpmax.y); break;
    case 2: MoveGroup(id, oMax.x - group->MGrpmax.x, oMin.y - group->MGrpmin.y); break;
    case 4: MoveGroup(id, oMin.x - group->MGrpmin.x, oMax.y - group->MGrpmax.y); break;
    default: break;
    }
    UpdateGroupBounds(*group);
}

void CKovUnit::DragGroupRotation(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot)
{
    if (selection.m_Groups.empty())
        return;
    const int id = selection.m_Groups.front();
    auto [group, saved] = livePair(m_Groups, snapshot.m_Groups, id);
    if (!group)
        return;
    if (saved->MGrpmax.x - saved->MGrpmin.x == 0 || saved->MGrpmax.y - saved->MGrpmin.y == 0)
        return;
    group->CopyFrom(*saved);
    const CDbPoint pivot = saved->MGrpmin;
    const double r = std::fabs(saved->MGrpmax.x - saved->MGrpmin.x) * 0.5;
    const double a = saved->MGrpKakudo * kKovPi / 180.0;
    const CDbPoint pointer{pivot.x + std::cos(a) * r + dx, pivot.y - std::sin(a) * r + dy};
    const double theta = VectorAngle(pivot.x, pivot.y, pointer.x, pointer.y);
    // The stored angle moves in whole degrees; the members turn by the exact difference.
    group->MGrpKakudo = std::trunc(theta);
    double delta = theta - saved->MGrpKakudo;
    if (delta >= 360)
        delta -= 360;
    if (delta < 0)
        delta += 360;
    const double beta = -delta * kKovPi / 180.0;
    const double cosB = std::cos(beta), sinB = std::sin(beta);
    const bool quarter = delta == 90 || delta == 270;

    for (int member : group->MGrpWallID) {
        auto [wall, savedWall] = livePair(m_Walls, snapshot.m_Walls, member);
        if (!wall)
            continue;
        wall->CopyFrom(*savedWall);
        const bool vertical = std::fabs(wall->MWallPntA.x - wall->MWallPntB.x) < kKovAxisTolerance;
        const bool horizontal = !vertical && std::fabs(wall->MWallPntA.y - wall->MWallPntB.y) < kKovAxisTolerance;
        wall->MWallPntA = turn(wall->MWallPntA, cosB, sinB);
        wall->MWallPntB = turn(wall->MWallPntB, cosB, sinB);
        for (CDbPoint& c : wall->MWallPntKado)
            c = turn(c, cosB, sinB);
        // Axis-parallel walls stay exactly axis-parallel through quarter and half turns.
        if (quarter) {
            if (vertical)
                wall->MWallPntB.y = wall->MWallPntA.y;
            else if (horizontal)
                wall->MWallPntB.x = wall->MWallPntA.x;
        } else if (delta == 180) {
            if (vertical)
                wall->MWallPntB.x = wall->MWallPntA.x;
            else if (horizontal)
                wall->MWallPntB.y = wall->MWallPntA.y;
        }
        const auto& c = wall->MWallPntKado;
        wall->MWallarPntA = {c[0], c[1], c[2], c[3]};
        wall->MWallarPntB = {c[1], c[2], c[3], c[0]};
    }
    for (int member : group->MGrpLineID) {
        auto [f, savedFigure] = livePair(m_Lines, snapshot.m_Lines, member);
        if (!f)
            continue;
        f->CopyFrom(*savedFigure);
        for (CDbPoint& p : f->MLinePnt)
            p = turn(p, cosB, sinB);
        if (quarter && f->MLineType == CKovLine::CIRCLE && f->MLineParam.size() == 2 && f->MLineParam[1] != 0) {
            f->MLineParam[0] *= f->MLineParam[1];
            f->MLineParam[1] = 1 / f->MLineParam[1];
        }
    }
    for (int member : group->MGrpTextID) {
        auto [text, savedText] = livePair(m_Texts, snapshot.m_Texts, member);
        if (!text)
            continue;
        text->CopyFrom(*savedText);
        text->MTextpnt = turn(text->MTextpnt, cosB, sinB);
        int angle = savedText->MTextFontMenu.lfEscapement + static_cast<int>(std::floor(10 * delta));
        if (angle > 3600)
            angle -= 3600;
        text->MTextFontMenu.lfEscapement = angle;
    }
    // The box's minimum corner stays where it was.
    UpdateGroupBounds(*group);
    const double mx = pivot.x - group->MGrpmin.x, my = pivot.y - group->MGrpmin.y;
    MoveGroup(id, mx, my);
    group->MGrpmin = plus(group->MGrpmin, mx, my);
    group->MGrpmax = plus(group->MGrpmax, mx, my);
}

void CKovUnit::DragRoomVertex(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot)
{
    if (selection.m_Groups.empty())
        return;
    const int id = selection.m_Groups.front();
    auto [group, saved] = livePair(m_Groups, snapshot.m_Groups, id);
    if (!group)
        return;
    if (saved->MGrpmax.x - saved->MGrpmin.x == 0 || saved->MGrpmax.y - saved->MGrpmin.y == 0)
        return;
    group->CopyFrom(*saved);
    const int index = selection.m_nGripIndex;
    CDbPoint vertex;
    if (!group->MGrpLineID.empty()) {
        auto [polygon, savedPolygon] = livePair(m_Lines, snapshot.m_Lines, group->MGrpLineID.front());
        if (!polygon || index < 0 || index >= static_cast<int>(savedPolygon->MLinePnt.size()) ||
            index >= static_cast<int>(polygon->MLinePnt.size()))
            return;
        const CDbPointArray& before = savedPolygon->MLinePnt;
        vertex = before[static_cast<std::size_t>(index)];
        const CDbPoint moved = plus(vertex, dx, dy);
        polygon->MLinePnt[static_cast<std::size_t>(index)] = moved;
        const std::size_t last = before.size() - 1;
        // A closed outline that repeats its first point moves both copies of it.
        if ((index == 0 || static_cast<std::size_t>(index) == last) && coincide(before.front(), before.back()) &&
            polygon->MLinePnt.size() == before.size()) {
            polygon->MLinePnt.front() = moved;
            polygon->MLinePnt.back() = moved;
        }
    } else {
        if (index < 0)
            return;
        const bool endB = index >= SelectionRecord::kRoomWallEndB;
        const int position = endB ? index - SelectionRecord::kRoomWallEndB : index;
        if (position >= snapshot.m_Walls.GetSize())
            return;
        const CKovWall& w = *snapshot.m_Walls[position];
        vertex = endB ? w.MWallPntB : w.MWallPntA;
    }
    for (int member : group->MGrpWallID) {
        auto [wall, savedWall] = livePair(m_Walls, snapshot.m_Walls, member);
        if (!wall)
            continue;
        CDbPoint a = savedWall->MWallPntA, b = savedWall->MWallPntB;
        if (coincide(a, vertex))
            a = plus(a, dx, dy);
        else if (coincide(b, vertex))
            b = plus(b, dx, dy);
        else
            continue;
        // A wall pulled onto its other end keeps its previous step.
        if (coincide(a, b))
            continue;
        setWallCore(*this, *wall, a, b);
    }
    // The box only grows to hold the walls' new ends.
    for (int member : group->MGrpWallID) {
        const CKovWall* wall = std::as_const(*this).FindWall(member);
        if (!wall)
            continue;
        for (const CDbPoint& p : {wall->MWallPntA, wall->MWallPntB}) {
            group->MGrpmin = {std::min(group->MGrpmin.x, p.x), std::min(group->MGrpmin.y, p.y)};
            group->MGrpmax = {std::max(group->MGrpmax.x, p.x), std::max(group->MGrpmax.y, p.y)};
        }
    }
}

void CKovUnit::DragFigureVertex(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot)
{
    if (selection.m_Lines.empty())
        return;
    auto [f, saved] = livePair(m_Lines, snapshot.m_Lines, selection.m_Lines.front());
    if (!f)
        return;
    const int c = selection.m_nGripIndex;
    if (c < 0 || c >= static_cast<int>(saved->MLinePnt.size()))
        return;
    if (f->MLinePnt.size() < saved->MLinePnt.size())
        f->MLinePnt.resize(saved->MLinePnt.size());
    CDbPointArray& p = f->MLinePnt;
    const auto ci = static_cast<std::size_t>(c);
    const CDbPoint n = plus(saved->MLinePnt[ci], dx, dy);
    // A vertex may not land on another vertex of the same figure.
    for (std::size_t k = 0; k < p.size(); ++k)
        if (k != ci && coincide(p[k], n))
            return;
    p[ci] = n;
    switch (f->MLineType) {
    case CKovLine::RECTANGLE:
        if (p.size() >= 4) {
            // The rectangle stays axis-aligned: the two neighbours of the moved corner follow it.
            switch (c) {
            case 0: p[3].y = p[0].y, p[1].x = p[0].x; break;
            case 1: p[2].y = p[1].y, p[0].x = p[1].x; break;
            case 2: p[1].y = p[2].y, p[3].x = p[2].x; break;
            case 3: p[0].y = p[3].y, p[2].x = p[3].x; break;
            default: break;
            }
        }
        break;
    case CKovLine::CIRCLE:
        // The rim grip stored the grabbed point as point 1: the circle passes through the pointer.
        if (f->MLineParam.size() == 1 && p.size() >= 2)
            f->MLineParam[0] = PointDistance(p[0].x, p[0].y, p[1].x, p[1].y);
        break;
    case CKovLine::ARC:
        if (p.size() >= 3 && !f->MLineParam.empty()) {
            if (c == 0)
                f->MLineParam[0] = PointDistance(p[0].x, p[0].y, p[1].x, p[1].y);
            const double r = f->MLineParam[0];
            if (c == 1)
                placeOnCircle(p[1], p[0], p[2], r);
            placeOnCircle(p[2], p[0], p[1], r);
        }
        break;
    default:
        break;
    }
}

void CKovUnit::DragTextSize(const TextBoxMeasurer& measurer, const DeviceTransform& transform, const CPlotInfo& plot,
                            const SelectionRecord& selection, const CKovUnit& snapshot, int pixelDx)
{
    if (selection.m_Texts.empty())
        return;
    auto [text, saved] = livePair(m_Texts, snapshot.m_Texts, selection.m_Texts.front());
    if (!text)
        return;
    const DevicePoint anchor = ToDevicePoint(saved->MTextpnt, transform, currentGroup(plot));
    const DeviceRect box =
        measurer.TextBoxSize(anchor.x, anchor.y, saved->MTextstr, saved->MTextFontMenu, transform.paperScale);
    int w = box.right - box.left;
    if (w == 0)
        w = 1;
    const double f = double(pixelDx + w) / w;
    const CFontMenu& font = saved->MTextFontMenu;
    const int height = truncToInt(font.lfHeight * f);
    // A step that would make the text 0 high or turn it over is refused: it keeps the step before.
    if (!(f > 0) || !(font.m_size * f > 0) || (font.lfHeight != 0 && height == 0))
        return;
    text->CopyFrom(*saved);
    text->MTextFontMenu.m_size = font.m_size * f;
    text->MTextFontMenu.m_kankaku = font.m_kankaku * f;
    text->MTextFontMenu.lfHeight = height;
}

void CKovUnit::DragTextRotation(const TextBoxMeasurer& measurer, const DeviceTransform& transform,
                                const CPlotInfo& plot, const SelectionRecord& selection, double dx, double dy,
                                const CKovUnit& snapshot)
{
    if (selection.m_Texts.empty())
        return;
    auto [text, saved] = livePair(m_Texts, snapshot.m_Texts, selection.m_Texts.front());
    if (!text)
        return;
    text->CopyFrom(*saved);
    const int g = currentGroup(plot);
    const DevicePoint anchor = ToDevicePoint(saved->MTextpnt, transform, g);
    const DeviceRect box =
        measurer.TextBoxSize(anchor.x, anchor.y, saved->MTextstr, saved->MTextFontMenu, transform.paperScale);
    int w = box.right - box.left;
    if (w == 0)
        w = 1;
    const double a = saved->MTextFontMenu.lfEscapement / 10.0 * kKovPi / 180.0;
    const double s = transform.scaleX[static_cast<std::size_t>(g)];
    const double nx = anchor.x + std::cos(a) * w + dx * s;
    const double ny = anchor.y - std::sin(a) * w + dy * s;
    const double theta = VectorAngle(anchor.x, anchor.y, nx, ny);
    text->MTextFontMenu.lfEscapement = static_cast<int>(std::trunc(theta)) * 10;
}

void CKovUnit::DragWallEnd(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot)
{
    if (selection.m_Walls.empty())
        return;
    auto [wall, saved] = livePair(m_Walls, snapshot.m_Walls, selection.m_Walls.front());
    if (!wall || wall->MWall_Type != CKovWall::WALL)
        return;
    // From the snapshot's ends: the corner rule may have exchanged the live ones at an earlier step.
    CDbPoint a = saved->MWallPntA, b = saved->MWallPntB;
    if (selection.m_nGripIndex == 1)
        a = plus(a, dx, dy);
    else if (selection.m_nGripIndex == 2)
        b = plus(b, dx, dy);
    else
        return;
    if (coincide(a, b))
        return;
    wall->MWallWide1 = saved->MWallWide1;
    setWallCore(*this, *wall, a, b);
}
