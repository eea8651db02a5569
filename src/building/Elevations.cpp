// Elevation views: the plan turned so that the side seen faces the bottom of the sheet, the wall
// faces of each floor as the visible spans of the walls' outline edges, the foundation band and the
// direction label. Fittings, roofs and balconies are drawn in ElevationFittings.cpp and
// ElevationRoofs.cpp.

#include "building/Elevations.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

CDbPoint turnPoint(const CDbPoint& p, int d)
{
    switch (d) {
    case 2: return {-p.x, -p.y};
    case 3: return {-p.y, p.x};
    case 4: return {p.y, -p.x};
    default: return p;
    }
}

int clampLayer(int v) { return std::clamp(v, 0, 15); }

// The roof outline of a group: its first auxiliary rectangle or closed polygon.
const CKovLine* roofOutlineOf(const CKovUnit& unit, const CKovGroup& g)
{
    for (int id : g.MGrpLineID)
        if (const CKovLine* f = unit.FindLine(id);
            f && f->MLineLineT == CKovLine::AUXILIARY_LINE_TYPE
            && (f->MLineType == CKovLine::RECTANGLE || f->MLineType == CKovLine::POLYGON))
            return f;
    return nullptr;
}

// Erases entry j of the four lists; i follows its span.
void eraseSpan(CDbPointArray& s, CDbPointArray& e, CDbPointArray& s2, CDbPointArray& e2, std::size_t j, std::size_t& i)
{
    const auto at = static_cast<std::ptrdiff_t>(j);
    s.erase(s.begin() + at);
    e.erase(e.begin() + at);
    s2.erase(s2.begin() + at);
    e2.erase(e2.begin() + at);
    if (j < i) --i;
}

} // namespace

void CKovUnit::TurnForElevation(int direction)
{
    if (direction < 2 || direction > 4)
        return;
    const int d = direction;
    m_Walls.ForEachMutable([d](CKovWall& w) {
        if (w.MWall_Type != CKovWall::WALL)
            return;
        w.MWallPntA = turnPoint(w.MWallPntA, d);
        w.MWallPntB = turnPoint(w.MWallPntB, d);
        for (CDbPoint& p : w.MWallarPntA) p = turnPoint(p, d);
        for (CDbPoint& p : w.MWallarPntB) p = turnPoint(p, d);
    });
    m_Lines.ForEachMutable([d](CKovLine& f) {
        for (CDbPoint& p : f.MLinePnt) p = turnPoint(p, d);
    });
    const double turn = d == 2 ? 180.0 : d == 3 ? 270.0 : 90.0;
    // The code keeps its meaning in the turned frame: by old code, the new one for d = 2, 3, 4.
    static constexpr std::array<std::array<int, 4>, 6> kCodes = {{{0, 0, 1, 1}, {1, 1, 0, 0}, {2, 9, 4, 3},
                                                                  {3, 4, 2, 9}, {4, 3, 9, 2}, {9, 2, 3, 4}}};
    static constexpr std::array<std::array<std::size_t, 4>, 3> kOrder = {{{2, 3, 0, 1}, {1, 2, 3, 0}, {3, 0, 1, 2}}};
    for (int gi = 0; gi < m_Groups.GetSize(); ++gi) {
        CKovGroup& g = *m_Groups[gi];
        g.MGrpKakudo += turn;
        if (g.MGrpKakudo >= 360.0) g.MGrpKakudo -= 360.0;
        // Only roof outlines carry an orientation code: a fitting's parameter 0 is its mirror flag.
        if (g.MGrpRoom != CKovGroup::ROOF_OUTLINE)
            continue;
        const CKovLine* found = roofOutlineOf(*this, g);
        if (!found || found->MLineParam.empty() || found->MLinePnt.size() < 4)
            continue;
        CKovLine& f = *FindLine(found->MLineID);
        const int code = truncToInt(f.MLineParam[0]);
        for (const auto& row : kCodes)
            if (row[0] == code) {
                f.MLineParam[0] = row[static_cast<std::size_t>(d - 1)];
                break;
            }
        const auto& order = kOrder[static_cast<std::size_t>(d - 2)];
        const CDbPointArray old(f.MLinePnt.begin(), f.MLinePnt.begin() + 4);
        for (std::size_t k = 0; k < 4; ++k) f.MLinePnt[k] = old[order[k]];
    }
}

void CKovUnit::MergeElevationSpans(CDbPointArray& s, CDbPointArray& e)
{
    const std::size_t n0 = std::min(s.size(), e.size());
    s.resize(n0);
    e.resize(n0);
    for (CDbPointArray* list : {&s, &e})
        for (CDbPoint& p : *list) p = {RoundDecimals(p.x, 2), RoundDecimals(p.y, 2)};

    // Far to near, equal depths in their order.
    {
        std::vector<std::size_t> order(n0);
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&s](std::size_t a, std::size_t b) { return s[a].y < s[b].y; });
        CDbPointArray s1, e1;
        s1.reserve(n0);
        e1.reserve(n0);
        for (std::size_t k : order) {
            s1.push_back(s[k]);
            e1.push_back(e[k]);
        }
        s.swap(s1);
        e.swap(e1);
    }

    // Split every span where a span at least as near starts or ends inside it. The two lists and
    // their copies change alike here, so one pair serves for both.
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (std::size_t j = 0; j < s.size(); ++j) {
            if (j == i) continue;
            if (!(s[i].y >= s[j].y && e[i].y >= e[j].y)) continue;
            if (s[j].x < s[i].x && s[i].x < e[j].x) {
                const CDbPoint ns{s[i].x, e[j].y}, ne = e[j];
                s.push_back(ns);
                e.push_back(ne);
                e[j].x = s[i].x;
            }
            if (s[j].x < e[i].x && e[i].x < e[j].x) {
                const CDbPoint ns = s[j], ne{e[i].x, s[j].y};
                s.push_back(ns);
                e.push_back(ne);
                s[j].x = e[i].x;
            }
        }
    }

    // Spans covered by a nearer (or equally near) one are hidden.
    CDbPointArray s2 = s, e2 = e;
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (std::size_t j = 0; j < s.size();) {
            if (j != i && s[i].y >= s2[j].y && e[i].y >= e2[j].y && s2[j].x >= s[i].x && e[i].x >= e2[j].x) {
                eraseSpan(s, e, s2, e2, j, i);
                continue;
            }
            ++j;
        }
    }

    // Spans of one depth that meet or overlap become one.
    s2 = s;
    e2 = e;
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (std::size_t j = 0; j < s.size();) {
            if (j == i || s[i].y != s2[j].y || e[i].y != e2[j].y) {
                ++j;
                continue;
            }
            if (s2[j].x >= s[i].x && e[i].x >= e2[j].x) {
                eraseSpan(s, e, s2, e2, j, i);
                continue;
            }
            if (s[i].x >= s2[j].x && e2[j].x >= e[i].x) {
                s[i] = s2[j];
                e[i] = e2[j];
            } else if (std::fabs(s[i].x - e2[j].x) < 0.0001) {
                s[i] = s2[j];
            } else if (std::fabs(e[i].x - s2[j].x) < 0.0001) {
                e[i] = e2[j];
            } else {
                ++j;
                continue;
            }
            eraseSpan(s, e, s2, e2, j, i);
            j = 0;
        }
    }
}

void CKovUnit::AddElevationLabel(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& position,
                                 const CRituInfo& ritu, int direction)
{
    if (direction < 1 || direction > 4)
        return;
    const int id = NextTextId();
    if (id == kNoFreeId)
        return;
    auto t = std::make_unique<CKovText>();
    t->MTextID = id;
    t->MTextstr = std::string(kov::building::kElevationLabels[static_cast<std::size_t>(direction - 1)]);
    t->MTextFontMenu = plot.m_RoomInfo.m_Font;
    t->MTextpnt = position;
    t->MTextLayer1 = clampLayer(ritu.ritugrp_lay);
    t->MTextLayer2 = clampLayer(ritu.rituno_lay);
    m_Texts.Add(std::move(t));
    selection.AddTextId(id);
}

void CKovUnit::DrawElevationFloor(SelectionRecord& selection, const CKovUnit& turned, double hLow, double hHigh,
                                  int layerGroup, const CRituInfo& ritu, int floor, const CPlotInfo& plot, int roofs,
                                  kov::building::ElevationLibrary* library)
{
    const int outGroup = clampLayer(ritu.ritugrp_lay), outLayer = clampLayer(ritu.rituno_lay);
    CDbPointArray s, e;
    auto addSpan = [&s, &e](const CDbPoint& a, const CDbPoint& b) {
        if (std::fabs(a.x - b.x) < 0.1) return; // along the line of sight: no face
        s.push_back(a.x < b.x ? a : b);
        e.push_back(a.x < b.x ? b : a);
    };
    if (ritu.bgaiheki1) {
        for (auto w : turned.m_Walls) {
            if (w->MWallLayer1 != layerGroup || w->MWall_Type != CKovWall::WALL) continue;
            const std::size_t n = std::min(w->MWallarPntA.size(), w->MWallarPntB.size());
            for (std::size_t k = 0; k < n; ++k) addSpan(w->MWallarPntA[k], w->MWallarPntB[k]);
        }
    }
    if (ritu.bgaiheki2) {
        for (auto g : turned.m_Groups) {
            if (g->MGrpRoom != CKovGroup::OUTER_WALL_LINE || g->MGrpLayer1 != layerGroup) continue;
            for (int id : g->MGrpLineID) {
                const CKovLine* f = turned.FindLine(id);
                if (!f || f->MLineType != CKovLine::CONTINUOUS) continue;
                for (std::size_t k = 1; k < f->MLinePnt.size(); ++k) addSpan(f->MLinePnt[k - 1], f->MLinePnt[k]);
                break;
            }
        }
    }
    MergeElevationSpans(s, e);
    const double yLow = floor == 1 ? 0.0 : hLow;

    std::vector<const CKovLine*> roofList;
    std::vector<int> roofsDrawn;
    if (roofs) CollectElevationRoofs(turned, roofList, layerGroup);
    std::vector<kov::building::ElevationSegment> balconies;
    std::vector<int> balconiesDrawn;
    CollectElevationBalconies(turned, balconies, layerGroup);

    for (std::size_t i = 0; i < s.size(); ++i) {
        DrawElevationBalconies(selection, balconies, balconiesDrawn, hLow, s[i], e[i], outGroup, outLayer, false);
        AddSelectedPolygon(selection, {{s[i].x, -yLow}, {s[i].x, -hHigh}, {e[i].x, -hHigh}, {e[i].x, -yLow}}, 4,
                           outGroup, outLayer, 0, 0, 0, 1, kWhite, kWhite);
        AddSelectedLine(selection, {s[i].x, -yLow}, {s[i].x, -hHigh}, outGroup, outLayer, 0, 0);
        AddSelectedLine(selection, {e[i].x, -hHigh}, {e[i].x, -yLow}, outGroup, outLayer, 0, 0);
        DrawElevationFittings(selection, turned, s[i], e[i], hLow, plot, layerGroup, ritu, library);
        if (i + 1 == s.size())
            DrawElevationBalconies(selection, balconies, balconiesDrawn, hLow, s[i], e[i], outGroup, outLayer, true);
        if (roofs)
            DrawElevationRoofs(selection, roofList, roofsDrawn, s[i].y, hHigh, outGroup, outLayer, false);
    }
    // A floor without faces still shows its balconies.
    if (s.empty())
        DrawElevationBalconies(selection, balconies, balconiesDrawn, hLow, {}, {}, outGroup, outLayer, true);
    if (roofs)
        DrawElevationRoofs(selection, roofList, roofsDrawn, 0.0, hHigh, outGroup, outLayer, true);

    if (floor == 1 && ritu.kisodaka != 0.0)
        for (std::size_t i = 0; i < s.size(); ++i)
            AddSelectedPolygon(selection, {{s[i].x, 0.0}, {e[i].x, 0.0}, {e[i].x, -hLow}, {s[i].x, -hLow}}, 4,
                               outGroup, outLayer, 0, 0, 0, 1, 0, kWhite);
}

void CKovUnit::CreateElevations(double offsetX, double offsetY, SelectionRecord& selection, const CPlotInfo& plot,
                                const CRituInfo& ritu, int direction, kov::building::ElevationLibrary* library)
{
    if (direction < 1 || direction > 4)
        return;
    // The turned copy holds only what the floors read: walls, and the fittings, roofs, outer-wall
    // lines and balconies with their figures. The objects are shared until turned (CopyFrom).
    CKovUnit turned;
    for (auto w : m_Walls)
        if (w->MWall_Type == CKovWall::WALL) turned.m_Walls.Add(std::make_unique<CKovWall>(*w));
    for (auto g : m_Groups) {
        if (g->MGrpRoom < CKovGroup::FITTING || g->MGrpRoom > CKovGroup::BALCONY) continue;
        turned.m_Groups.Add(std::make_unique<CKovGroup>(*g));
        for (int id : g->MGrpLineID)
            if (const CKovLine* f = std::as_const(*this).FindLine(id); f && !turned.m_Lines.Contains(id))
                turned.m_Lines.Add(std::make_unique<CKovLine>(*f));
    }
    turned.TurnForElevation(direction);

    DrawElevationFloor(selection, turned, ritu.kisodaka, ritu.nokidaka1, ritu.lay_1, ritu, 1, plot, ritu.byane,
                       library);
    if (ritu.kai > 1)
        DrawElevationFloor(selection, turned, ritu.nokidaka1, ritu.nokidaka2, ritu.lay_2, ritu, 2, plot, ritu.byane,
                           library);
    if (ritu.kai > 2)
        DrawElevationFloor(selection, turned, ritu.nokidaka2, ritu.nokidaka3, ritu.lay_3, ritu, 3, plot, ritu.byane,
                           library);
    if (ritu.btext)
        AddElevationLabel(selection, plot, {0.0, ritu.kisodaka}, ritu, direction);

    // Everything made moves by the offset; a group takes its members and its box along.
    if (offsetX != 0.0 || offsetY != 0.0) {
        for (int id : selection.m_Lines)
            if (CKovLine* f = FindLine(id)) f->MoveBy(offsetX, offsetY);
        for (int id : selection.m_Texts)
            if (CKovText* t = FindText(id)) t->MoveBy(offsetX, offsetY);
        for (int id : selection.m_Groups)
            if (MoveGroup(id, offsetX, offsetY) >= 0)
                if (CKovGroup* g = FindGroup(id)) {
                    g->MGrpmin = {g->MGrpmin.x + offsetX, g->MGrpmin.y + offsetY};
                    g->MGrpmax = {g->MGrpmax.x + offsetX, g->MGrpmax.y + offsetY};
                }
    }
    turned.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
    selection.Clear();
}
