// Rooms: walls on the outline, joined, gathered into a room group with the floor polygon, its hatch or
// tatami lines and a label with the name and the area.

#include "building/RoomSettings.h"

#include "model/Geometry.h"
#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr double kTatamiTolerance = 0.1;

bool near(double a, double b) { return std::fabs(a - b) < kTatamiTolerance; }

// A Japanese room by its name or its hatch type takes the tatami treatment when it is on.
int tatamiFlag(const CRoomInfo& room, const RoomSettings& settings)
{
    const std::string& name = room.Room_Name;
    const bool japanese = room.Room_HachType == CRoomInfo::HACH_TATAMI || name == "和室" || name == "和 室" ||
                          name == "和　室";
    return japanese ? settings.app_tatamiheri : 0;
}

// The floor polygon with the room's colours and pattern, before its points and hatch lines.
std::unique_ptr<CKovLine> floorPolygon(int id, int groupId, const CRoomInfo& room, const RoomSettings& settings,
                                       int tatami, bool keepTatamiUnderHatch)
{
    auto f = std::make_unique<CKovLine>();
    f->MLineID = id;
    f->MLineGrpID = groupId;
    f->MLineType = CKovLine::POLYGON;
    f->MLineLineT = 0;
    if (room.Room_bRoomColor) {
        f->MLinebNakanuri = 1;
        f->MLineNakaColor = room.Room_RoomColor;
        f->MLineColor = room.Room_RoomColor;
        if (settings.room_grad_mild != 0)
            f->MLineNakaColor2 = CKovUnit::MildGradientColor(f->MLineNakaColor, f->MLineNakaColor2);
    }
    if (tatami)
        f->MLineHachT = CRoomInfo::HACH_TATAMI;
    if (room.Room_bHachColor) {
        f->MLineColor = room.Room_HachColor;
        if (room.Room_HachType == CRoomInfo::HACH_BOARD1 || room.Room_HachType == CRoomInfo::HACH_BOARD2) {
            f->MLineHachT = room.Room_HachType;
        } else if (tatami) {
            if (!keepTatamiUnderHatch) {
                f->MLinebHach = 0;
                f->MLineHachT = 0;
            }
        } else {
            f->MLineHachT = room.Room_HachType;
        }
    }
    return f;
}

std::string labelText(const std::string& name, double area, int module, const RoomSettings& settings)
{
    if (settings.room_heyack_jyou == 0)
        return name;
    using kov::platform::formatFixed;
    using kov::platform::formatInt;
    if (settings.room_heibei == 1) {
        const double v = area / 1000000.0;
        if (v == std::floor(v))
            return name + "\n" + formatInt(static_cast<long long>(v)) + "㎡";
        return name + "\n" + formatFixed(v, 2) + "㎡";
    }
    const double m = module;
    const double v = RoundDecimals(area / (2.0 * m * m), 2);
    const std::string unit = settings.room_heyack_jyou_name == 1 ? "畳" : "帖";
    if (v == std::floor(v))
        return name + "\n" + formatInt(static_cast<long long>(v)) + unit;
    return name + "\n" + formatFixed(v, 1) + unit;
}

// One tatami line: at x (or y) = c modules, from a to b modules along the other axis.
struct MatLine {
    char axis; // 'x': x constant, 'y': y constant
    double c, a, b;
};

std::vector<MatLine> tatamiLayout(double w, double h, double mod, bool middleHalf)
{
    const double mats = w * h / (2.0 * mod * mod);
    const bool tall = h > w;
    auto widthIs = [&](double modules) { return near(w, modules * mod); };
    if (near(mats, 3.0) && (widthIs(2) || widthIs(3))) {
        if (tall)
            return {{'y', 1, 0, 2}, {'x', 1, 1, 3}};
        return {{'x', 1, 0, 2}, {'y', 1, 1, 3}};
    }
    if (near(mats, 4.5) && widthIs(3)) {
        if (middleHalf)
            return {{'x', 1, 0, 2}, {'y', 2, 0, 2}, {'y', 1, 1, 3}, {'x', 2, 1, 3}};
        return {{'x', 1, 0, 3}, {'y', 2, 0, 1}, {'y', 1, 1, 3}, {'x', 2, 1, 3}};
    }
    if (near(mats, 6.0) && (widthIs(3) || widthIs(4))) {
        if (tall)
            return {{'x', 1, 0, 4}, {'y', 2, 0, 1}, {'y', 1, 1, 3}, {'y', 3, 1, 3}, {'x', 2, 1, 3}};
        return {{'y', 1, 0, 4}, {'x', 2, 0, 1}, {'x', 1, 1, 3}, {'x', 3, 1, 3}, {'y', 2, 1, 3}};
    }
    if (near(mats, 8.0) && widthIs(4))
        return {{'x', 2, 0, 1}, {'y', 1, 0, 4}, {'x', 1, 1, 3}, {'x', 3, 1, 3},
                {'y', 2, 1, 3}, {'y', 3, 0, 4}, {'x', 2, 3, 4}};
    if (near(mats, 10.0) && (widthIs(4) || widthIs(5))) {
        if (tall)
            return {{'x', 1, 0, 4}, {'y', 2, 0, 1}, {'x', 3, 0, 4}, {'y', 2, 3, 4}, {'y', 1, 1, 3},
                    {'x', 2, 1, 3}, {'y', 3, 1, 3}, {'x', 2, 4, 5}, {'y', 4, 0, 4}};
        return {{'x', 2, 0, 1}, {'y', 1, 0, 4}, {'x', 1, 1, 3}, {'x', 3, 1, 3}, {'y', 2, 1, 3},
                {'y', 3, 0, 4}, {'x', 2, 3, 4}, {'x', 4, 0, 4}, {'y', 2, 4, 5}};
    }
    return {};
}

} // namespace

void CKovUnit::AddGroupLine(const CDbPoint& p1, const CDbPoint& p2, CKovGroup& group, int lineType)
{
    const int id = NextLineId();
    if (id == kNoFreeId)
        return;
    auto f = std::make_unique<CKovLine>();
    f->MLineID = id;
    f->MLinePnt = {p1, p2};
    f->MLineType = CKovLine::LINE;
    f->MLineWide = 1;
    f->MLineLineT = lineType;
    f->MLineLayer1 = group.MGrpLayer1;
    f->MLineLayer2 = group.MGrpLayer2;
    f->MLineGrpID = group.MGrpID;
    m_Lines.Add(std::move(f));
    group.MGrpLineID.push_back(id);
}

namespace {

// A wall of the layer group whose core already runs along the whole edge: the room takes no second
// wall there (a room drawn inside existing walls would double them).
bool edgeHasWall(const CKovUnit& unit, const CDbPoint& a, const CDbPoint& b, int layerGroup)
{
    constexpr double kOnCore = 0.01; // millimetres
    auto onCore = [](const CKovWall& w, const CDbPoint& p) {
        const double dx = w.MWallPntB.x - w.MWallPntA.x, dy = w.MWallPntB.y - w.MWallPntA.y;
        const double len2 = dx * dx + dy * dy;
        if (len2 == 0.0) return false;
        const double t = std::clamp(((p.x - w.MWallPntA.x) * dx + (p.y - w.MWallPntA.y) * dy) / len2, 0.0, 1.0);
        return std::hypot(w.MWallPntA.x + t * dx - p.x, w.MWallPntA.y + t * dy - p.y) <= kOnCore;
    };
    for (const auto& w : unit.m_Walls)
        if (w->MWall_Type == CKovWall::WALL && w->MWallLayer1 == layerGroup && onCore(*w, a) && onCore(*w, b))
            return true;
    return false;
}

// What the two room operations share once the walls are made: the group, the polygon and its lines,
// the box and the label, and the selection.
struct RoomBuild {
    CKovUnit& unit;
    const DeviceTransform& transform;
    const CPlotInfo& plot;
    const CFontMenu& font;
    SelectionRecord& selection;
    const CGrid& grid;
    const RoomSettings& settings;

    int finish(const std::vector<int>& walls, const CDbPointArray& polygonPoints, bool rectangle, double area,
               const CDbPoint* labelAt, double w, double h, const CDbPoint& topLeft);
};

int RoomBuild::finish(const std::vector<int>& walls, const CDbPointArray& polygonPoints, bool rectangle, double area,
                      const CDbPoint* labelAt, double w, double h, const CDbPoint& topLeft)
{
    const CRoomInfo& room = plot.m_RoomInfo;
    const int cg = plot.m_Layer.m_nCurrentGroup, cl = plot.m_Layer.m_nCurrentLayer;
    unit.JoinWalls(cg);
    selection.Clear();

    const int groupId = unit.NextGroupId();
    if (groupId == CKovUnit::kNoFreeId)
        return 0;
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = groupId;
    group->MGrpWallID = walls;
    group->MGrpRoom = CKovGroup::ROOM;
    group->MGrpLayer1 = cg;
    group->MGrpLayer2 = cl;

    const int tatami = tatamiFlag(room, settings);
    CKovLine* polygon = nullptr;
    if (!room.Room_Name.empty()) {
        const int id = unit.NextLineId();
        if (id != CKovUnit::kNoFreeId) {
            auto f = floorPolygon(id, groupId, room, settings, tatami, rectangle);
            f->MLinePnt = polygonPoints;
            f->MLineLayer1 = cg;
            f->MLineLayer2 = cl;
            group->MGrpLineID.push_back(id);
            polygon = unit.m_Lines[unit.m_Lines.Add(std::move(f))];
            if (tatami == 0 && room.Room_bHachColor)
                unit.AddRoomHatchLines(transform, plot, *polygon, *group);
        }
    }
    if (rectangle && tatami != 0) {
        const std::uint32_t colour = room.Room_bHachColor ? room.Room_HachColor : 0;
        const double mod = grid.GridModule;
        const std::vector<MatLine> layout = tatamiLayout(w, h, mod, settings.room_wasitu45_nakarect != 0);
        for (const MatLine& l : layout) {
            const double c = l.c * mod, a = l.a * mod, b = l.b * mod;
            CDbPoint p = l.axis == 'x' ? CDbPoint(topLeft.x + c, topLeft.y + a) : CDbPoint(topLeft.x + a, topLeft.y + c);
            CDbPoint q = l.axis == 'x' ? CDbPoint(topLeft.x + c, topLeft.y + b) : CDbPoint(topLeft.x + b, topLeft.y + c);
            unit.AddGroupLine(p, q, *group, 0);
            CKovLine* line = unit.FindLine(group->MGrpLineID.back());
            line->MLineColor = colour;
        }
        // No layout fits: the polygon does not pretend to be laid with mats either.
        if (layout.empty() && polygon && group->MGrpLineID.size() == 1) {
            polygon->MLinebHach = 0;
            polygon->MLineHachT = 0;
        }
    }

    // The box covers the outline too: edges that kept an existing wall add none of their own.
    bool first = true;
    for (const CDbPoint& p : polygonPoints) {
        if (first) {
            group->MGrpmin = group->MGrpmax = p;
            first = false;
        }
        group->MGrpmin = {std::min(group->MGrpmin.x, p.x), std::min(group->MGrpmin.y, p.y)};
        group->MGrpmax = {std::max(group->MGrpmax.x, p.x), std::max(group->MGrpmax.y, p.y)};
    }
    for (int id : walls) {
        CKovWall* wall = unit.FindWall(id);
        if (!wall)
            continue;
        wall->MWallGrpID = groupId;
        for (const CDbPoint& p : {wall->MWallPntA, wall->MWallPntB}) {
            if (first) {
                group->MGrpmin = group->MGrpmax = p;
                first = false;
            }
            group->MGrpmin = {std::min(group->MGrpmin.x, p.x), std::min(group->MGrpmin.y, p.y)};
            group->MGrpmax = {std::max(group->MGrpmax.x, p.x), std::max(group->MGrpmax.y, p.y)};
        }
    }

    if (settings.room_heyack != 0 && !room.Room_Name.empty()) {
        const int id = unit.NextTextId();
        if (id != CKovUnit::kNoFreeId) {
            auto text = std::make_unique<CKovText>();
            text->MTextID = id;
            text->MTextstr = labelText(room.Room_Name, area, grid.GridModule, settings);
            text->MTextFontMenu = font;
            text->MTextFontMenu.m_toko_align = 1;
            text->MTextFontMenu.m_tate_align = 1;
            if (settings.app_roomtextsiro != 0) {
                text->MTextFontMenu.m_bBack = 1;
                text->MTextFontMenu.m_BackColor = kWhite;
            }
            text->MTextpnt = labelAt ? *labelAt
                                     : CDbPoint((group->MGrpmin.x + group->MGrpmax.x) / 2.0,
                                                (group->MGrpmin.y + group->MGrpmax.y) / 2.0);
            text->MTextLayer1 = cg;
            text->MTextLayer2 = cl;
            unit.m_Texts.Add(std::move(text));
            selection.AddTextId(id);
        }
    }
    unit.m_Groups.Add(std::move(group));
    selection.AddGroupId(groupId);
    return 1;
}

} // namespace

int CKovUnit::CreatePolygonRoom(const DeviceTransform& transform, const CDbPointArray& vertices,
                                const CDbPoint& closing, const CPlotInfo& plot, const CFontMenu& font,
                                SelectionRecord& selection, const CGrid& grid, const RoomSettings& settings)
{
    std::vector<int> walls;
    int edges = 0;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const CDbPoint& to = i + 1 < vertices.size() ? vertices[i + 1] : closing;
        // An edge of no length makes no wall and is left out.
        if (vertices[i].x == to.x && vertices[i].y == to.y)
            continue;
        ++edges;
        if (edgeHasWall(*this, vertices[i], to, plot.m_Layer.m_nCurrentGroup))
            continue;
        const int id = AddWall(vertices[i], to, plot.PlotWallWide, plot);
        if (id > 0) {
            ResetWallOutline(id);
            walls.push_back(id);
        }
    }
    // Nothing to build a room from.
    if (edges == 0)
        return 0;
    CDbPointArray points = vertices;
    points.push_back(closing);
    RoomBuild build{*this, transform, plot, font, selection, grid, settings};
    return build.finish(walls, points, false, PolygonArea(vertices), nullptr, 0.0, 0.0, {});
}

int CKovUnit::CreateRectRoom(const DeviceTransform& transform, double x1, double y1, double x2, double y2,
                             const CPlotInfo& plot, const CFontMenu& font, SelectionRecord& selection,
                             const CGrid& grid, const RoomSettings& settings)
{
    const double xmin = std::min(x1, x2), xmax = std::max(x1, x2);
    const double ymin = std::min(y1, y2), ymax = std::max(y1, y2);
    const CDbPointArray p = {{xmin, ymin}, {xmin, ymax}, {xmax, ymax}, {xmax, ymin}};
    std::vector<int> walls;
    for (std::size_t i = 0; i < 4; ++i) {
        if (edgeHasWall(*this, p[i], p[(i + 1) % 4], plot.m_Layer.m_nCurrentGroup))
            continue;
        const int id = AddWall(p[i], p[(i + 1) % 4], plot.PlotWallWide, plot);
        if (id <= 0)
            return 0;
        ResetWallOutline(id);
        walls.push_back(id);
    }
    const double w = xmax - xmin, h = ymax - ymin;
    const CDbPoint centre{(xmin + xmax) / 2.0, (ymin + ymax) / 2.0};
    RoomBuild build{*this, transform, plot, font, selection, grid, settings};
    return build.finish(walls, p, true, w * h, &centre, w, h, p[0]);
}
