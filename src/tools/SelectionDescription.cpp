#include "tools/SelectionDescription.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/SelectionRecord.h"
#include "platform/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace kov::tools {

namespace {

std::string fixed(double v, int decimals)
{
    return kov::platform::formatFixed(v, decimals);
}

double distance(const CDbPoint& a, const CDbPoint& b)
{
    return PointDistance(a.x, a.y, b.x, b.y);
}

bool sameEnd(const CDbPoint& a, const CDbPoint& b)
{
    return std::fabs(a.x - b.x) < 0.01 && std::fabs(a.y - b.y) < 0.01;
}

double matsOf(double area, int module)
{
    const double m = double(module);
    return area / (2.0 * m * m);
}

// The outline of a room of five or more walls from their core lines in list order. False when a
// wall is missing.
bool roomOutline(const CKovUnit& unit, const CKovGroup& room, CDbPointArray& out)
{
    const auto& walls = room.MGrpWallID;
    const CKovWall* first = unit.FindWall(walls[0]);
    const CKovWall* second = unit.FindWall(walls[1]);
    if (first == nullptr || second == nullptr) return false;
    CDbPoint a = first->MWallPntA;
    CDbPoint b = first->MWallPntB;
    // The first wall's second point is the end the second wall touches.
    if (sameEnd(a, second->MWallPntA) || sameEnd(a, second->MWallPntB)) std::swap(a, b);
    out = {a, b};
    for (std::size_t i = 1; i < walls.size(); ++i) {
        const CKovWall* w = unit.FindWall(walls[i]);
        if (w == nullptr) return false;
        out.push_back(sameEnd(w->MWallPntA, out.back()) ? w->MWallPntB : w->MWallPntA);
    }
    return true;
}

std::string describeGroup(const CKovUnit& unit, const CKovGroup& g, int module, bool squareMetres)
{
    const double w = g.MGrpmax.x - g.MGrpmin.x;
    const double h = g.MGrpmax.y - g.MGrpmin.y;
    switch (g.MGrpRoom) {
    case CKovGroup::PLAIN:
        return "部品 横" + fixed(w, 2) + " 縦" + fixed(h, 2);
    case CKovGroup::ROOM: {
        const std::size_t walls = g.MGrpWallID.size();
        if (walls == 4) {
            if (squareMetres) return "部屋   " + fixed(w * h / 1000000.0, 2) + "㎡";
            return "部屋 横" + fixed(w, 0) + " 縦" + fixed(h, 0) + "  " + fixed(matsOf(w * h, module), 2) + "帖";
        }
        if (walls >= 5) {
            CDbPointArray outline;
            if (!roomOutline(unit, g, outline)) return {};
            const double area = PolygonArea(outline);
            if (squareMetres) return "部屋   " + fixed(area / 1000000.0, 2) + "㎡";
            return "部屋   " + fixed(matsOf(area, module), 2) + "帖";
        }
        return {};
    }
    case CKovGroup::FITTING:
        return "建具 幅" + fixed(FittingWidth(unit, g.MGrpID), 2);
    default:
        return {};
    }
}

} // namespace

double FittingWidth(const CKovUnit& unit, int groupId)
{
    const CKovGroup* g = unit.FindGroup(groupId);
    if (g == nullptr) return 0.0;
    for (int id : g->MGrpLineID) {
        const CKovLine* f = unit.FindLine(id);
        if (f != nullptr && f->MLineType == CKovLine::RECTANGLE && f->MLinePnt.size() >= 4)
            return double(RoundToInt(distance(f->MLinePnt[0], f->MLinePnt[3])));
    }
    return std::fabs(g->MGrpmax.x - g->MGrpmin.x);
}

std::string DescribeSelection(const CKovUnit& unit, const SelectionRecord& selection, int gridModule,
                              bool squareMetres)
{
    if (selection.m_nCount != 1) return {};
    if (!selection.m_Walls.empty()) {
        const CKovWall* w = unit.FindWall(selection.m_Walls.front());
        if (w == nullptr) return {};
        if (w->MWall_Type == CKovWall::WALL)
            return "壁 壁芯" + fixed(distance(w->MWallPntA, w->MWallPntB), 2) + " 片側壁厚" + fixed(w->MWallWide1, 2);
        return "柱 片側柱厚" + fixed(w->MWallWide1, 2);
    }
    if (!selection.m_Lines.empty()) {
        const CKovLine* f = unit.FindLine(selection.m_Lines.front());
        if (f == nullptr) return {};
        const CDbPointArray& p = f->MLinePnt;
        if (f->MLineType == CKovLine::LINE && p.size() >= 2) return "直線 " + fixed(distance(p[0], p[1]), 2);
        if (f->MLineType == CKovLine::RECTANGLE && p.size() >= 3)
            return "四角形 横" + fixed(distance(p[1], p[2]), 2) + " 縦" + fixed(distance(p[0], p[1]), 2);
        return {};
    }
    if (!selection.m_Texts.empty()) {
        const CKovText* t = unit.FindText(selection.m_Texts.front());
        if (t == nullptr) return {};
        const CFontMenu& font = t->MTextFontMenu;
        return "文字 高" + fixed(font.m_size, 1) + " 間隔" + fixed(font.m_kankaku, 1) + " 行間"
            + fixed(font.m_gyoukan, 1);
    }
    if (!selection.m_Images.empty()) {
        const CKovImage* i = unit.FindImage(selection.m_Images.front());
        if (i == nullptr) return {};
        return "画像 幅" + fixed(i->ImageWidth, 1) + "mm 高さ" + fixed(i->ImageHeight, 1) + "mm";
    }
    if (!selection.m_Groups.empty()) {
        const CKovGroup* g = unit.FindGroup(selection.m_Groups.front());
        if (g == nullptr) return {};
        return describeGroup(unit, *g, gridModule, squareMetres);
    }
    return {};
}

bool RotateSelectedImage90(CKovUnit& unit, const SelectionRecord& selection, QuarterTurn direction)
{
    if (selection.m_Images.size() != 1) return false;
    const CKovUnit& reader = unit;
    if (reader.FindImage(selection.m_Images.front()) == nullptr) return false;
    CKovImage& picture = *unit.FindImage(selection.m_Images.front());
    double angle = picture.BLKImagekakudo + (direction == QuarterTurn::Left ? 270.0 : 90.0);
    if (angle >= 360.0) angle -= 360.0;
    picture.BLKImagekakudo = angle;
    // Exactly: sizes are paper millimetres with decimals, and four turns must give them back.
    std::swap(picture.ImageWidth, picture.ImageHeight);
    return true;
}

} // namespace kov::tools
