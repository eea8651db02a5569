// Grips and clicks on the selection: the first test of a select-mode click, before any pick.

#include "edit/PickRules.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

using namespace kov::edit;

namespace {

constexpr int kCtrlClick = 9; // left button with Ctrl, nothing else
constexpr int kWallEndB = SelectionRecord::kRoomWallEndB;

int currentGroup(const CPlotInfo& plot) { return plot.m_Layer.m_nCurrentGroup; }

bool inGrip(const DevicePoint& p, int devX, int devY) { return InGripWindow(devX - p.x, devY - p.y); }

// The box of a text laid out as the pick lays it out; the height turned over for a decorated text
// at 270 degrees when `pickRule` (the rotation handle keeps it).
DeviceCorners textCorners(const TextBoxMeasurer& measurer, const CKovText& text, const DevicePoint& anchor,
                          const DeviceTransform& transform, bool pickRule)
{
    const CFontMenu& font = text.MTextFontMenu;
    const DeviceRect box = measurer.TextBoxSize(anchor.x, anchor.y, text.MTextstr, font, transform.paperScale);
    int w = box.right - box.left;
    if (w == 0)
        w = 1;
    int h = box.bottom - box.top;
    const int angle = font.lfEscapement;
    if (pickRule && text.MTextHuchiFlg != 0 && angle == 2700)
        h = -h;
    const int perpendicular = angle + 2700 < 3600 ? angle + 2700 : angle - 900;
    const double toRad = kKovPi / 180.0;
    return RotatedBoxCorners(anchor.x, anchor.y, w, h, angle / 10.0 * toRad, perpendicular / 10.0 * toRad,
                             font.m_toko_align, font.m_tate_align);
}

// Whether the click lies near the figure as the selection stage judges it: within the pick radius
// of a segment's line and up to the near distance beyond its ends, or near one of its points.
bool nearFigure(const CKovLine& f, const DevicePoint& click, const DeviceTransform& transform, int g)
{
    const int n = static_cast<int>(f.MLinePnt.size());
    auto dev = [&](int k) { return ToDevicePoint(f.MLinePnt[static_cast<std::size_t>(k)], transform, g); };
    auto segment = [&](int a, int b) {
        int best = NearDistance();
        int index = -1;
        CKovUnit::UpdateNearestSegment(index, 0, dev(a), dev(b), best, click);
        return index == 0;
    };
    switch (f.MLineType) {
    case CKovLine::LINE:
        return n >= 2 && segment(0, 1);
    case CKovLine::CONTINUOUS:
        for (int k = 0; k + 1 < n; ++k)
            if (segment(k, k + 1))
                return true;
        return false;
    case CKovLine::RECTANGLE:
    case CKovLine::POLYGON:
        for (int k = 0; k < n; ++k)
            if (segment(k, (k + 1) % n))
                return true;
        return false;
    default:
        for (int k = 0; k < n; ++k) {
            const DevicePoint p = dev(k);
            if (InNearWindow(p.x - click.x, p.y - click.y))
                return true;
        }
        return false;
    }
}

bool listed(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

// Takes the first entry of the identifier out of the list (Ctrl+click on a selected object).
void takeOut(SelectionRecord& selection, std::vector<int>& ids, int id)
{
    const auto it = std::find(ids.begin(), ids.end(), id);
    if (it == ids.end())
        return;
    ids.erase(it);
    --selection.m_nCount;
}

} // namespace

int CKovUnit::HitTestGrips(const TextBoxMeasurer& measurer, const CPlotInfo& plot, SelectionRecord& selection,
                           double x, double y, const DeviceTransform& transform, int mouseFlags, int gripsOn)
{
    if (selection.IsEmpty())
        return 0;
    const int g = currentGroup(plot);
    const DevicePoint click = ClickDevicePoint(x, y, transform, g);
    const CKovUnit& self = *this;

    if (gripsOn != 0 && selection.m_nCount == 1) {
        int index = 0;
        auto grab = [&](int kind) {
            selection.m_nGripKind = kind;
            selection.m_nGripIndex = index;
            return 1;
        };
        if (!selection.m_Groups.empty()) {
            const int id = selection.m_Groups.front();
            if (!self.FindGroup(id))
                return 0;
            if (HitRoomVertex(id, plot, click.x, click.y, transform, index))
                return grab(SelectionRecord::GRIP_ROOM_VERTEX);
            if (HitGroupRotationHandle(id, plot, click.x, click.y, transform, index))
                return grab(SelectionRecord::GRIP_GROUP_ROTATION);
            if (HitGroupCorner(id, plot, click.x, click.y, transform, index))
                return grab(SelectionRecord::GRIP_GROUP_CORNER);
        } else if (!selection.m_Walls.empty()) {
            const int id = selection.m_Walls.front();
            if (!self.FindWall(id))
                return 0;
            if (HitWallEnd(id, plot, click.x, click.y, transform, index))
                return grab(SelectionRecord::GRIP_WALL_END);
        } else if (!selection.m_Lines.empty()) {
            const int id = selection.m_Lines.front();
            if (!self.FindLine(id))
                return 0;
            if (HitFigureVertex(id, plot, click.x, click.y, transform, index, x, y))
                return grab(SelectionRecord::GRIP_FIGURE_VERTEX);
        } else if (!selection.m_Texts.empty()) {
            const int id = selection.m_Texts.front();
            if (!self.FindText(id))
                return 0;
            if (HitTextRotationHandle(measurer, plot, id, click.x, click.y, transform, index))
                return grab(SelectionRecord::GRIP_TEXT_ROTATION);
            if (HitTextCorner(measurer, plot, id, click.x, click.y, transform, index))
                return grab(SelectionRecord::GRIP_TEXT_CORNER);
        } else if (!selection.m_Images.empty()) {
            const int id = selection.m_Images.front();
            if (!self.FindImage(id))
                return 0;
            if (HitImageCorner(id, click.x, click.y, index))
                return grab(SelectionRecord::GRIP_PICTURE_CORNER);
        }
    }

    // On a selected object: the selection stays (Ctrl takes that object out).
    const bool ctrl = mouseFlags == kCtrlClick;
    auto matched = [&](std::vector<int>& list, int id) {
        if (ctrl)
            takeOut(selection, list, id);
        return 1;
    };
    const bool groups = !selection.m_Groups.empty();
    if (groups) {
        for (const auto& f : self.m_Lines)
            if (f->MLineGrpID != 0 && listed(selection.m_Groups, f->MLineGrpID) && nearFigure(*f, click, transform, g))
                return matched(selection.m_Groups, f->MLineGrpID);
    }
    if (groups || !selection.m_Lines.empty()) {
        for (const auto& f : self.m_Lines)
            if (listed(selection.m_Lines, f->MLineID) && nearFigure(*f, click, transform, g))
                return matched(selection.m_Lines, f->MLineID);
    }
    if (groups || !selection.m_Walls.empty()) {
        const DevicePoint clickMm = RoundPoint(x, y);
        for (const auto& wall : self.m_Walls) {
            const bool grouped = wall->MWallGrpID != 0;
            if (grouped ? !listed(selection.m_Groups, wall->MWallGrpID) : !listed(selection.m_Walls, wall->MWallID))
                continue;
            DevicePoint outline[4];
            for (std::size_t k = 0; k < 4; ++k)
                outline[k] = RoundPoint(wall->MWallPntKado[k].x, wall->MWallPntKado[k].y);
            if (PointInWindingPolygon(outline, 4, clickMm.x, clickMm.y))
                return grouped ? matched(selection.m_Groups, wall->MWallGrpID) : matched(selection.m_Walls, wall->MWallID);
        }
    }
    if (groups || !selection.m_Texts.empty()) {
        for (const auto& text : self.m_Texts) {
            const bool grouped = text->MTextGrpID != 0;
            if (grouped ? !listed(selection.m_Groups, text->MTextGrpID) : !listed(selection.m_Texts, text->MTextID))
                continue;
            const DevicePoint anchor = ToDevicePoint(text->MTextpnt, transform, g);
            const DeviceCorners c = textCorners(measurer, *text, anchor, transform, true);
            if (PointInWindingPolygon(c.data(), 4, click.x, click.y))
                return grouped ? matched(selection.m_Groups, text->MTextGrpID) : matched(selection.m_Texts, text->MTextID);
        }
    }
    if (!selection.m_Images.empty()) {
        for (const auto& picture : self.m_Images) {
            const DeviceRect& r = picture->m_rcDrawn;
            if (listed(selection.m_Images, picture->ImageID) && r.left <= click.x && click.x <= r.right &&
                r.top <= click.y && click.y <= r.bottom)
                return matched(selection.m_Images, picture->ImageID);
        }
    }
    return 0;
}

int CKovUnit::HitGroupRotationHandle(int groupId, const CPlotInfo& plot, int devX, int devY,
                                     const DeviceTransform& transform, int& index) const
{
    const CKovGroup* group = FindGroup(groupId);
    if (!group)
        return 0;
    const int g = currentGroup(plot);
    const DevicePoint p0 = ToDevicePoint(group->MGrpmin, transform, g);
    const double h = std::abs(group->MGrpmax.x - group->MGrpmin.x) * 0.5 *
                     transform.scaleX[static_cast<std::size_t>(std::clamp(g, 0, DeviceTransform::kLayerGroups - 1))];
    const double a = group->MGrpKakudo * kKovPi / 180.0;
    const DevicePoint handle{p0.x + truncToInt(std::cos(a) * h), p0.y - truncToInt(std::sin(a) * h)};
    if (!inGrip(handle, devX, devY))
        return 0;
    index = 1;
    return 1;
}

int CKovUnit::HitRoomVertex(int groupId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                            int& index) const
{
    const CKovGroup* group = FindGroup(groupId);
    if (!group || group->MGrpRoom != CKovGroup::ROOM)
        return 0;
    const int g = currentGroup(plot);
    const std::vector<int>& walls = group->MGrpWallID;
    if (walls.size() == 4) {
        const CKovWall* w[4];
        for (std::size_t k = 0; k < 4; ++k) {
            w[k] = FindWall(walls[k]);
            if (!w[k])
                return 0;
        }
        // The layout the rectangle-room tool makes: its corners are not dragged one by one.
        if (w[0]->MWallPntA.x == w[1]->MWallPntA.x && w[2]->MWallPntB.x == w[3]->MWallPntB.x &&
            w[0]->MWallPntA.y == w[3]->MWallPntB.y && w[1]->MWallPntA.y == w[2]->MWallPntB.y)
            return 0;
    }
    if (!group->MGrpLineID.empty()) {
        for (int id : group->MGrpLineID) {
            const CKovLine* f = FindLine(id);
            if (!f || f->MLineType != CKovLine::POLYGON)
                continue;
            for (std::size_t k = 0; k < f->MLinePnt.size(); ++k) {
                if (inGrip(ToDevicePoint(f->MLinePnt[k], transform, g), devX, devY)) {
                    index = static_cast<int>(k);
                    return 1;
                }
            }
        }
        return 0;
    }
    for (int id : walls) {
        const int position = FindWallIndex(id);
        if (position < 0)
            continue;
        const CKovWall& wall = *m_Walls[position];
        if (inGrip(ToDevicePoint(wall.MWallPntA, transform, g), devX, devY)) {
            index = position;
            return 1;
        }
        if (inGrip(ToDevicePoint(wall.MWallPntB, transform, g), devX, devY)) {
            index = position + kWallEndB;
            return 1;
        }
    }
    return 0;
}

int CKovUnit::HitImageCorner(int pictureId, int devX, int devY, int& corner) const
{
    corner = -1;
    const CKovImage* picture = FindImage(pictureId);
    if (!picture)
        return 0;
    const DeviceRect& r = picture->m_rcDrawn;
    const DevicePoint corners[4] = {{r.left, r.top}, {r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}};
    for (int k = 0; k < 4; ++k) {
        if (inGrip(corners[k], devX, devY)) {
            corner = k + 1;
            return 1;
        }
    }
    return 0;
}

int CKovUnit::HitFigureVertex(int figureId, const CPlotInfo& plot, int devX, int devY,
                              const DeviceTransform& transform, int& index, double x, double y)
{
    const CKovLine* f = std::as_const(*this).FindLine(figureId);
    if (!f || f->MLineType == CKovLine::DIMENSION)
        return 0;
    const int g = currentGroup(plot);
    if (f->MLineType == CKovLine::CIRCLE) {
        if (f->MLinePnt.empty() || f->MLineParam.empty())
            return 0;
        const CDbPoint& c = f->MLinePnt[0];
        const DevicePoint cd = ToDevicePoint(c, transform, g);
        const DevicePoint rd = ToDevicePoint({c.x + f->MLineParam[0], c.y}, transform, g);
        const double rx = rd.x - cd.x;
        const double dx = devX - cd.x, dy = devY - cd.y;
        const double distance = std::hypot(dx, dy);
        // The rim is where the click lies at the radius from the centre, in every direction; an
        // ellipse's radius follows its direction.
        double radius = rx;
        if (f->MLineParam.size() == 2 && distance > 0) {
            const double ry = rx * f->MLineParam[1];
            radius = rx * ry / std::hypot(ry * dx / distance, rx * dy / distance);
        }
        if (!(std::abs(distance - std::abs(radius)) <= PickRadius()))
            return 0;
        CKovLine& live = *FindLine(figureId);
        if (live.MLinePnt.size() < 2)
            live.MLinePnt.resize(2);
        live.MLinePnt[1] = {x, y};
        index = 1;
        return 1;
    }
    bool hit = false;
    for (std::size_t k = 0; k < f->MLinePnt.size(); ++k) {
        if (inGrip(ToDevicePoint(f->MLinePnt[k], transform, g), devX, devY)) {
            index = static_cast<int>(k);
            hit = true;
        }
    }
    return hit ? 1 : 0;
}

int CKovUnit::HitTextCorner(const TextBoxMeasurer& measurer, const CPlotInfo& plot, int textId, int devX, int devY,
                            const DeviceTransform& transform, int& corner) const
{
    const CKovText* text = FindText(textId);
    if (!text)
        return 0;
    const DevicePoint anchor = ToDevicePoint(text->MTextpnt, transform, currentGroup(plot));
    const DeviceCorners c = textCorners(measurer, *text, anchor, transform, true);
    for (int k = 0; k < 4; ++k) {
        if (inGrip(c[static_cast<std::size_t>(k)], devX, devY)) {
            corner = k + 1;
            return 1;
        }
    }
    return 0;
}

int CKovUnit::HitTextRotationHandle(const TextBoxMeasurer& measurer, const CPlotInfo& plot, int textId, int devX,
                                    int devY, const DeviceTransform& transform, int& index) const
{
    const CKovText* text = FindText(textId);
    if (!text || text->MTextHuchiFlg != 0)
        return 0;
    const DevicePoint anchor = ToDevicePoint(text->MTextpnt, transform, currentGroup(plot));
    const DeviceCorners c = textCorners(measurer, *text, anchor, transform, false);
    const double a = text->MTextFontMenu.lfEscapement / 10.0 * kKovPi / 180.0;
    const int reach = 2 * NearDistance();
    const DevicePoint handle{c[3].x + truncToInt(std::cos(a) * reach), c[3].y - truncToInt(std::sin(a) * reach)};
    if (!inGrip(handle, devX, devY))
        return 0;
    index = 1;
    return 1;
}

int CKovUnit::HitWallEnd(int wallId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                         int& end) const
{
    const CKovWall* wall = FindWall(wallId);
    if (!wall)
        return 0;
    const int g = currentGroup(plot);
    if (inGrip(ToDevicePoint(wall->MWallPntA, transform, g), devX, devY)) {
        end = 1;
        return 1;
    }
    if (inGrip(ToDevicePoint(wall->MWallPntB, transform, g), devX, devY)) {
        end = 2;
        return 1;
    }
    return 0;
}
