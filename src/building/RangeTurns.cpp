// Mirroring and turning what lies inside a range, in place: every object keeps its identifier, walls
// are joined again at their new places.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "model/TextBoxMeasurer.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

enum class Turn { MirrorX, MirrorY, Angle, Left, Right };

bool isMirror(Turn t) { return t == Turn::MirrorX || t == Turn::MirrorY; }
bool isQuarter(Turn t) { return t == Turn::Left || t == Turn::Right; }

struct Range {
    double minX, minY, maxX, maxY, cx, cy, sx, sy;
    Range(const CDbPoint& a, const CDbPoint& b)
        : minX(std::min(a.x, b.x)), minY(std::min(a.y, b.y)), maxX(std::max(a.x, b.x)), maxY(std::max(a.y, b.y)),
          cx((maxX - minX) * 0.5 + minX), cy((maxY - minY) * 0.5 + minY), sx(minX + maxX), sy(minY + maxY)
    {
    }
};

struct PointMap {
    Turn turn;
    Range r;
    double cosT = 1, sinT = 0;
    CDbPoint operator()(const CDbPoint& p) const
    {
        switch (turn) {
        case Turn::MirrorX: return {r.sx - p.x, p.y};
        case Turn::MirrorY: return {p.x, r.sy - p.y};
        case Turn::Angle:
            return {r.cx + (p.x - r.cx) * cosT - (p.y - r.cy) * sinT, r.cy + (p.y - r.cy) * cosT + (p.x - r.cx) * sinT};
        case Turn::Left: return {p.y + (r.cx - r.cy), (r.cx + r.cy) - p.x};
        case Turn::Right: return {(r.cx + r.cy) - p.y, p.x + (r.cy - r.cx)};
        }
        return p;
    }
};

int currentGroup(const CPlotInfo& plot) { return std::clamp(plot.m_Layer.m_nCurrentGroup, 0, 15); }

// A text's unrotated box in drawing millimetres at the layer group's scale.
CDbPoint textBoxMm(const TextBoxMeasurer& measurer, const CKovText& text, const DeviceTransform& t, int g, bool whole)
{
    const auto gi = static_cast<std::size_t>(std::clamp(g, 0, DeviceTransform::kLayerGroups - 1));
    const DevicePoint at = ToDevicePoint(text.MTextpnt, t, g);
    const DeviceRect box = measurer.TextBoxSize(at.x, at.y, text.MTextstr, text.MTextFontMenu, t.paperScale);
    double w = (box.right - box.left) / (t.scaleX[gi] != 0 ? t.scaleX[gi] : 1);
    double h = (box.bottom - box.top) / (t.scaleY[gi] != 0 ? t.scaleY[gi] : 1);
    if (whole)
        w = std::trunc(w), h = std::trunc(h);
    return {w, h};
}

class RangeTurner {
public:
    RangeTurner(CKovUnit& unit, const TextBoxMeasurer& measurer, const CPlotInfo& plot, const DeviceTransform& t,
                const CKovUnit::RangeTurnOptions& options, PointMap map)
        : m_unit(unit), m_measurer(measurer), m_plot(plot), m_t(t), m_options(options), m_map(map)
    {
    }

    void run(SelectionRecord& selection, const CDbPoint& c1, const CDbPoint& c2, double angle, bool select = true)
    {
        if (select)
            m_unit.SelectInRect(selection, m_plot, c1.x, c1.y, c2.x, c2.y, m_t, RangeLayers::CurrentGroup);
        const CKovUnit& self = m_unit;
        // Members of the selected groups by their group identifier, in array order.
        std::unordered_map<int, std::vector<int>> walls, figures, texts;
        if (!selection.m_Groups.empty()) {
            for (int id : selection.m_Groups) {
                walls.try_emplace(id);
                figures.try_emplace(id);
                texts.try_emplace(id);
            }
            auto gather = [](auto& table, int group, int id) {
                const auto it = table.find(group);
                if (group != 0 && it != table.end())
                    it->second.push_back(id);
            };
            for (const auto& w : self.m_Walls)
                gather(walls, w->MWallGrpID, w->MWallID);
            for (const auto& f : self.m_Lines)
                gather(figures, f->MLineGrpID, f->MLineID);
            for (const auto& x : self.m_Texts)
                gather(texts, x->MTextGrpID, x->MTextID);
        }
        for (int id : selection.m_Groups) {
            if (!self.FindGroup(id))
                continue;
            turnGroup(*m_unit.FindGroup(id), angle);
            for (int w : std::exchange(walls[id], {}))
                turnWall(w);
            for (int f : std::exchange(figures[id], {}))
                turnFigure(f, true);
            for (int x : std::exchange(texts[id], {}))
                turnText(x);
        }
        for (int id : selection.m_Walls)
            turnWall(id);
        for (int id : selection.m_Lines)
            turnFigure(id, false);
        for (int id : selection.m_Texts)
            turnText(id);
        if (isMirror(m_map.turn))
            for (int id : selection.m_Images)
                mirrorPicture(id);

        for (int id : selection.m_Groups) {
            if (!self.FindGroup(id))
                continue;
            const std::vector<int> members = self.FindGroup(id)->MGrpWallID;
            for (int w : members)
                m_unit.ResetWallOutline(w);
            if (m_map.turn == Turn::Angle)
                m_unit.UpdateGroupBounds(*m_unit.FindGroup(id));
        }
        for (int id : selection.m_Walls)
            m_unit.ResetWallOutline(id);
        m_unit.JoinWalls(m_plot.m_Layer.m_nCurrentGroup);

        // A mirrored fitting is rebuilt from its library drawing, turned over end for end. A turn
        // never mirrors: a door keeps the hand it opens with.
        if (isMirror(m_map.turn) && m_options.rebuildFittings && m_options.rebuildFitting)
            for (int& id : selection.m_Groups)
                if (const CKovGroup* g = self.FindGroup(id); g && g->MGrpRoom == CKovGroup::FITTING)
                    if (const int rebuilt = m_options.rebuildFitting(m_unit, id); rebuilt > 0)
                        id = rebuilt; // the selection keeps the range's objects
    }

private:
    void turnGroup(CKovGroup& g, double a)
    {
        const Range& r = m_map.r;
        const CDbPoint mn = g.MGrpmin, mx = g.MGrpmax;
        switch (m_map.turn) {
        case Turn::MirrorX:
            g.MGrpKakudo = -g.MGrpKakudo;
            if (g.MGrpKakudo < 0)
                g.MGrpKakudo += 360;
            g.MGrpmin.x = r.sx - mx.x, g.MGrpmax.x = r.sx - mn.x;
            break;
        case Turn::MirrorY:
            g.MGrpKakudo = 180 - g.MGrpKakudo;
            if (g.MGrpKakudo < 0)
                g.MGrpKakudo += 360;
            g.MGrpmin.y = r.sy - mx.y, g.MGrpmax.y = r.sy - mn.y;
            break;
        case Turn::Angle:
            g.MGrpKakudo += a;
            if (g.MGrpKakudo > 360)
                g.MGrpKakudo -= 360;
            break;
        case Turn::Left:
            g.MGrpKakudo += 90;
            if (g.MGrpKakudo > 360)
                g.MGrpKakudo -= 360;
            g.MGrpmin = {mn.y + (r.cx - r.cy), (r.cx + r.cy) - mx.x};
            g.MGrpmax = {mx.y + (r.cx - r.cy), (r.cx + r.cy) - mn.x};
            break;
        case Turn::Right:
            g.MGrpKakudo -= 90;
            if (g.MGrpKakudo < 0)
                g.MGrpKakudo += 360;
            g.MGrpmin = {(r.cx + r.cy) - mx.y, mn.x + (r.cy - r.cx)};
            g.MGrpmax = {(r.cx + r.cy) - mn.y, mx.x + (r.cy - r.cx)};
            break;
        }
        // A mirrored fitting turns over: its frame's first parameter is the flip flag.
        if (isMirror(m_map.turn) && g.MGrpRoom == CKovGroup::FITTING) {
            for (int id : g.MGrpLineID) {
                const CKovLine* f = std::as_const(m_unit).FindLine(id);
                if (!f || f->MLineType != CKovLine::RECTANGLE || f->MLineParam.empty())
                    continue;
                CKovLine& frame = *m_unit.FindLine(id);
                frame.MLineParam[0] = std::trunc(frame.MLineParam[0]) == 0 ? 1.0 : 0.0;
                break;
            }
        }
    }

    void turnWall(int id)
    {
        if (!std::as_const(m_unit).FindWall(id))
            return;
        CKovWall& w = *m_unit.FindWall(id);
        w.MWallPntA = m_map(w.MWallPntA);
        w.MWallPntB = m_map(w.MWallPntB);
        std::array<CDbPoint, 4> corners;
        if (w.MWall_Type == CKovWall::WALL && m_map.turn != Turn::Angle &&
            CKovUnit::ComputeWallCorners(corners, w.MWallPntA, w.MWallPntB, w.MWallWide1, 1)) {
            w.MWallPntKado = corners;
            return;
        }
        for (CDbPoint& c : w.MWallPntKado)
            c = m_map(c);
        if (w.MWall_Type == CKovWall::WALL)
            return;
        // A column keeps its size and its outline stays its four sides, never cut; after a mirror or
        // a quarter turn its corners go back into their usual order.
        if (m_map.turn != Turn::Angle) {
            std::array<CDbPoint, 4> c = w.MWallPntKado;
            std::sort(c.begin(), c.end(), [](const CDbPoint& p, const CDbPoint& q) {
                return p.x != q.x ? p.x < q.x : p.y < q.y;
            });
            w.MWallPntKado = {c[0], c[1], c[3], c[2]};
        }
        const auto& k = w.MWallPntKado;
        w.MWallarPntA = {k[0], k[1], k[2], k[3]};
        w.MWallarPntB = {k[1], k[2], k[3], k[0]};
    }

    void turnFigure(int id, bool member)
    {
        if (!std::as_const(m_unit).FindLine(id))
            return;
        CKovLine& f = *m_unit.FindLine(id);
        for (CDbPoint& p : f.MLinePnt)
            p = m_map(p);
        CDbPointArray& p = f.MLinePnt;
        if (isMirror(m_map.turn)) {
            // Arcs still run counter-clockwise from their start to their end.
            if (f.MLineType == CKovLine::ARC && p.size() >= 3)
                std::swap(p[1], p[2]);
            if (member && f.MLineType == CKovLine::RECTANGLE && p.size() >= 4)
                std::reverse(p.begin(), p.begin() + 4);
            if (!member && f.MLineType == CKovLine::DIMENSION && !f.MLineParam.empty()) {
                const int code = static_cast<int>(f.MLineParam[0]);
                const int a = m_map.turn == Turn::MirrorX ? 2 : 1, b = a + 2;
                if (code == a || code == b)
                    f.MLineParam[0] = code == a ? b : a;
            }
        }
        // A quarter turn turns a dimension's side with it: the line drawn above its points comes to
        // their left after a left turn, to their right after a right turn.
        if (isQuarter(m_map.turn) && f.MLineType == CKovLine::DIMENSION && !f.MLineParam.empty()) {
            const int code = static_cast<int>(f.MLineParam[0]);
            if (code >= 1 && code <= 4 && code == f.MLineParam[0])
                f.MLineParam[0] = m_map.turn == Turn::Left ? code % 4 + 1 : (code + 2) % 4 + 1;
        }
        // A quarter turn turns an ellipse's axes too: its width becomes its height.
        if (isQuarter(m_map.turn) && (f.MLineType == CKovLine::CIRCLE || f.MLineType == CKovLine::ARC) &&
            f.MLineParam.size() == 2 && f.MLineParam[1] != 0) {
            f.MLineParam[0] *= f.MLineParam[1];
            f.MLineParam[1] = 1 / f.MLineParam[1];
        }
    }

    void turnText(int id)
    {
        if (!std::as_const(m_unit).FindText(id))
            return;
        CKovText& t = *m_unit.FindText(id);
        t.MTextpnt = m_map(t.MTextpnt);
        CFontMenu& font = t.MTextFontMenu;
        if (isMirror(m_map.turn)) {
            const int esc = font.lfEscapement;
            if (esc != 0 && esc != 900 && esc != 1800 && esc != 2700)
                return;
            const int align = esc == 0 || esc == 1800 ? font.m_toko_align : font.m_tate_align;
            if (align != 0 && align != 2)
                return;
            const CDbPoint box = textBoxMm(m_measurer, t, m_t, currentGroup(m_plot), true);
            // +1: the shift goes to larger coordinates for this row and value.
            int sign = 0;
            if (m_map.turn == Turn::MirrorX)
                sign = (esc == 0 || esc == 900) ? (align == 0 ? -1 : 1) : (align == 0 ? 1 : -1);
            else
                sign = (esc == 0 || esc == 2700) ? (align == 0 ? -1 : 1) : (align == 0 ? 1 : -1);
            if (m_map.turn == Turn::MirrorX)
                t.MTextpnt.x += sign * box.x;
            else
                t.MTextpnt.y += sign * box.y;
            return;
        }
        if (!isQuarter(m_map.turn))
            return;
        int esc = font.lfEscapement + (m_map.turn == Turn::Left ? 900 : -900);
        if (esc >= 3600)
            esc -= 3600;
        if (esc < 0)
            esc += 3600;
        font.lfEscapement = esc;
        if (!m_options.uprightTexts)
            return;
        // The characters stay upright: horizontal writing becomes vertical writing and back.
        const CDbPoint box = textBoxMm(m_measurer, t, m_t, t.MTextLayer1, false);
        const bool vertical = !font.lfFaceName.empty() && font.lfFaceName.front() == '@';
        if (esc == 900 || esc == 2700) {
            font.lfEscapement = 2700;
            if (!vertical)
                font.lfFaceName.insert(0, "@");
            if (m_map.turn == Turn::Left)
                t.MTextpnt = {t.MTextpnt.x + box.x, t.MTextpnt.y - box.y};
        } else if (esc == 0 || esc == 1800) {
            font.lfEscapement = 0;
            if (vertical)
                font.lfFaceName.erase(0, 1);
            if (m_map.turn == Turn::Right)
                t.MTextpnt = {t.MTextpnt.x - box.x, t.MTextpnt.y - box.y};
        }
    }

    void mirrorPicture(int id)
    {
        if (!std::as_const(m_unit).FindImage(id))
            return;
        CKovImage& picture = *m_unit.FindImage(id);
        const auto gi = static_cast<std::size_t>(currentGroup(m_plot));
        const double p = m_t.paperScale != 0 ? m_t.paperScale : 1;
        if (m_map.turn == Turn::MirrorX)
            picture.OffsetX = m_map.r.sx * m_t.scaleX[gi] / p - picture.OffsetX;
        else
            picture.OffsetY = m_map.r.sy * m_t.scaleY[gi] / p - picture.OffsetY;
    }

    CKovUnit& m_unit;
    const TextBoxMeasurer& m_measurer;
    const CPlotInfo& m_plot;
    const DeviceTransform& m_t;
    const CKovUnit::RangeTurnOptions& m_options;
    PointMap m_map;
};

void turnRange(CKovUnit& unit, Turn turn, const TextBoxMeasurer& measurer, SelectionRecord& selection,
               const CPlotInfo& plot, const CDbPointArray& toolPoints, const CDbPoint& corner2,
               const DeviceTransform& transform, double angle, const CKovUnit::RangeTurnOptions& options,
               bool select = true)
{
    if (toolPoints.empty())
        return;
    PointMap map{turn, Range(toolPoints[0], corner2)};
    if (turn == Turn::Angle) {
        const double theta = -angle * kKovPi / 180.0;
        map.cosT = std::cos(theta);
        map.sinT = std::sin(theta);
    }
    RangeTurner(unit, measurer, plot, transform, options, map).run(selection, toolPoints[0], corner2, angle, select);
}

} // namespace

void CKovUnit::MirrorRangeHorizontal(const TextBoxMeasurer& measurer, SelectionRecord& selection,
                                     const CPlotInfo& plot, const CDbPointArray& toolPoints, const CDbPoint& corner2,
                                     const DeviceTransform& transform, const RangeTurnOptions& options)
{
    turnRange(*this, Turn::MirrorX, measurer, selection, plot, toolPoints, corner2, transform, 0, options);
}

void CKovUnit::MirrorRangeVertical(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                                   const CDbPointArray& toolPoints, const CDbPoint& corner2,
                                   const DeviceTransform& transform, const RangeTurnOptions& options)
{
    turnRange(*this, Turn::MirrorY, measurer, selection, plot, toolPoints, corner2, transform, 0, options);
}

void CKovUnit::RotateRange(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                           const CDbPointArray& toolPoints, const CDbPoint& corner2, const DeviceTransform& transform,
                           double a, const RangeTurnOptions& options)
{
    turnRange(*this, Turn::Angle, measurer, selection, plot, toolPoints, corner2, transform, a, options);
}

void CKovUnit::RotateRangeLeft90(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                                 const CDbPointArray& toolPoints, const CDbPoint& corner2,
                                 const DeviceTransform& transform, const RangeTurnOptions& options)
{
    turnRange(*this, Turn::Left, measurer, selection, plot, toolPoints, corner2, transform, 90, options);
}

void CKovUnit::RotateRangeRight90(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                                  const CDbPointArray& toolPoints, const CDbPoint& corner2,
                                  const DeviceTransform& transform, const RangeTurnOptions& options)
{
    turnRange(*this, Turn::Right, measurer, selection, plot, toolPoints, corner2, transform, -90, options);
}

void CKovUnit::RotateRange180(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                              const CDbPointArray& toolPoints, const CDbPoint& corner2,
                              const DeviceTransform& transform, const RangeTurnOptions& options)
{
    turnRange(*this, Turn::Right, measurer, selection, plot, toolPoints, corner2, transform, -90, options);
    turnRange(*this, Turn::Right, measurer, selection, plot, toolPoints, corner2, transform, -90, options, false);
}
