// Fittings in the elevation views: each fitting that faces the viewer and stands in a wall-face
// span is drawn by its elevation drawing, scaled to its width and elevation height, or by the
// outline of that rectangle.

#include "building/Elevations.h"
#include "building/PartFiles.h"
#include "building/PartLibrary.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/RituInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>

namespace {

double dist(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

bool onSpan(const CDbPoint& r, const CDbPoint& s, const CDbPoint& e)
{
    return PointInSegmentBox(r.x, r.y, s.x, s.y, e.x, e.y) || (r.x == s.x && r.y == s.y) || (r.x == e.x && r.y == e.y);
}

bool within(double x, const CDbPoint& s, const CDbPoint& e) { return s.x <= x && x <= e.x; }

// Scales the members of a freshly inserted drawing about the origin: figures, circle and arc radii,
// texts and their size.
void scaleMembers(CKovUnit& unit, const CKovGroup& group, double fx, double fy)
{
    auto map = [fx, fy](CDbPoint& p) { p = {p.x * fx, p.y * fy}; };
    for (int id : group.MGrpLineID) {
        CKovLine* f = unit.FindLine(id);
        if (!f) continue;
        for (CDbPoint& p : f->MLinePnt) map(p);
        if (f->MLineType == CKovLine::CIRCLE && !f->MLineParam.empty()) {
            f->MLineParam[0] *= fx;
        } else if (f->MLineType == CKovLine::ARC && f->MLinePnt.size() >= 2 && !f->MLineParam.empty()) {
            f->MLineParam[0] = dist(f->MLinePnt[0], f->MLinePnt[1]);
        }
    }
    for (int id : group.MGrpTextID) {
        CKovText* t = unit.FindText(id);
        if (!t) continue;
        map(t->MTextpnt);
        t->MTextFontMenu.lfHeight = truncToInt(t->MTextFontMenu.lfHeight * fx);
        t->MTextFontMenu.m_size *= fx;
        t->MTextFontMenu.m_kankaku *= fx;
    }
    for (int id : group.MGrpWallID) {
        CKovWall* w = unit.FindWall(id);
        if (!w) continue;
        map(w->MWallPntA);
        map(w->MWallPntB);
        for (CDbPoint& p : w->MWallPntKado) map(p);
        for (CDbPoint& p : w->MWallarPntA) map(p);
        for (CDbPoint& p : w->MWallarPntB) map(p);
    }
}

} // namespace

double CKovUnit::GetElevationFittingHeight(const CKovGroup& group) const
{
    const CKovLine* frame = FittingFrame(group);
    if (!frame || frame->MLinePnt.size() < 2) return std::fabs(group.MGrpmax.y - group.MGrpmin.y);
    return RoundToInt(dist(frame->MLinePnt[0], frame->MLinePnt[1]));
}

void CKovUnit::AddElevationShutter(CKovGroup& group, int optionCode, double mirror)
{
    if (std::abs(optionCode) % 10 != 1)
        return;
    const CKovLine* frame = FittingFrame(group);
    if (!frame || frame->MLinePnt.size() < 4)
        return;
    const CDbPointArray p = frame->MLinePnt;
    const double w = dist(p[1], p[2]);
    std::array<CDbPoint, 4> q;
    if (mirror == 0.0)
        q = {CDbPoint{p[0].x - w / 2, p[0].y}, CDbPoint{p[1].x - w / 2, p[1].y}, p[1], p[0]};
    else
        q = {p[3], p[2], CDbPoint{p[2].x + w / 2, p[2].y}, CDbPoint{p[3].x + w / 2, p[3].y}};
    for (std::size_t k = 0; k < 4; ++k) AddGroupLine(q[k], q[(k + 1) % 4], group, 0);
    const double t = dist(q[0], q[1]) / 10.0;
    for (int j = 0; j < 10; ++j)
        AddGroupLine({q[0].x, q[0].y + j * t}, {q[3].x, q[3].y + j * t}, group, 0);
}

int CKovUnit::PlaceElevationFitting(double x, double y, double width, double height, double mirror, int groupId,
                                    int optionCode)
{
    CKovGroup* group = FindGroup(groupId);
    if (!group) return 0;
    CKovLine* frame = FittingFrame(*group);
    if (!frame || frame->MLinePnt.size() < 4) return 0;
    // A frame without width or height would scale to infinity.
    const double w0 = GetFittingWidth(*group), h0 = GetElevationFittingHeight(*group);
    if (w0 == 0.0 || h0 == 0.0 || !std::isfinite(width / w0) || !std::isfinite(height / h0)) return 0;
    if (mirror != 0.0) {
        UpdateGroupBounds(*group);
        FlipGroupHorizontal(groupId);
        group = FindGroup(groupId);
        frame = FittingFrame(*group);
        std::reverse(frame->MLinePnt.begin(), frame->MLinePnt.begin() + 4);
    }
    group->MGrpRoom = CKovGroup::PLAIN;
    if (optionCode != 0) {
        AddElevationShutter(*group, optionCode, mirror);
        group = FindGroup(groupId);
    }
    scaleMembers(*this, *group, width / w0, height / h0);
    UpdateGroupBounds(*group);
    frame = FittingFrame(*group);
    const double dx = x - frame->MLinePnt[0].x, dy = y - frame->MLinePnt[0].y;
    MoveGroup(groupId, dx, dy);
    group->MGrpmin = {group->MGrpmin.x + dx, group->MGrpmin.y + dy};
    group->MGrpmax = {group->MGrpmax.x + dx, group->MGrpmax.y + dy};
    return 1;
}

void CKovUnit::DrawElevationFittings(SelectionRecord& selection, const CKovUnit& turned, const CDbPoint& s,
                                     const CDbPoint& e, double hLow, const CPlotInfo& plot, int layerGroup,
                                     const CRituInfo& ritu, kov::building::ElevationLibrary* library)
{
    const int outGroup = std::clamp(ritu.ritugrp_lay, 0, 15), outLayer = std::clamp(ritu.rituno_lay, 0, 15);
    for (auto g : turned.m_Groups) {
        if (g->MGrpRoom != CKovGroup::FITTING || g->MGrpLayer1 != layerGroup) continue;
        const CKovLine* frame = turned.FittingFrame(*g);
        if (!frame || frame->MLinePnt.size() < 4) continue;
        // Fittings in walls not facing the viewer are not drawn.
        if (g->MGrpKakudo != 0.0 && g->MGrpKakudo != 180.0) continue;
        const CDbPointArray& p = frame->MLinePnt;
        std::array<CDbPoint, 4> r;
        for (std::size_t k = 0; k < 4; ++k) r[k] = {RoundDecimals(p[k].x, 2), RoundDecimals(p[k].y, 2)};
        const std::vector<double>& param = frame->MLineParam;
        auto parameter = [&param](std::size_t k) { return k < param.size() ? param[k] : 0.0; };
        const double mirror = std::trunc(parameter(0));
        double h = 1830.0, b = hLow + 50.0;
        if (param.size() > 5) {
            h = param[4];
            b = hLow + param[5];
        }
        const double wF = dist(p[0], p[3]), dF = dist(p[0], p[1]);

        const CDbPoint* ref = nullptr;
        if (onSpan(r[0], s, e) && onSpan(r[3], s, e))
            ref = &r[0];
        else if (onSpan(r[2], s, e) && onSpan(r[1], s, e))
            ref = &r[2];
        else if (within(r[0].x, s, e) && within(r[3].x, s, e)
                 && (std::fabs(s.y - r[0].y) < dF || std::fabs(s.y - r[3].y) < dF))
            ref = &r[0];
        else if (within(r[2].x, s, e) && within(r[1].x, s, e)
                 && (std::fabs(s.y - r[2].y) < dF || std::fabs(s.y - r[1].y) < dF))
            ref = &r[2];
        if (!ref) continue;
        // A fitting of no width or height has no rectangle to draw.
        if (wF == 0.0 || h == 0.0 || !std::isfinite(wF) || !std::isfinite(h)) continue;

        const double x0 = ref->x - wF, x1 = ref->x;
        const int option = truncToInt(parameter(3));
        int lineType = CKovLine::AUXILIARY_LINE_TYPE;
        if (ritu.btateg && library) {
            const int kind = truncToInt(parameter(1)), number = truncToInt(parameter(2));
            const std::filesystem::path file = kov::building::FindElevationFittingFile(library->folder, kind, number);
            CPlotInfo out = plot;
            out.m_Layer.m_nCurrentGroup = outGroup;
            out.m_Layer.m_nCurrentLayer = outLayer;
            const int id = file.empty() ? 0 : kov::building::InsertPartFile(file, *this, out, library->cache);
            if (id > 0) {
                if (PlaceElevationFitting(x0, -(b + h), wF, h, mirror, id, option)) {
                    selection.AddGroupId(id);
                    continue;
                }
                DeleteGroup(id); // its frame has no size: the outline stands in for it
            }
            // A fitting without a readable elevation drawing does not end the elevation: its
            // outline is drawn in printed lines, with its storm-shutter box.
            ++library->unreadable;
            lineType = 0;
        }
        auto rectangle = [&](double left, double right) {
            const std::array<CDbPoint, 4> c = {CDbPoint{left, -b}, CDbPoint{left, -(b + h)}, CDbPoint{right, -(b + h)},
                                               CDbPoint{right, -b}};
            for (std::size_t k = 0; k < 4; ++k)
                AddSelectedLine(selection, c[k], c[(k + 1) % 4], outGroup, outLayer, lineType, 0);
        };
        rectangle(x0, x1);
        if (lineType == 0 && std::abs(option) % 10 == 1) {
            const double left = mirror == 0.0 ? x0 - wF / 2 : x1, right = left + wF / 2;
            rectangle(left, right);
            for (int j = 1; j < 10; ++j)
                AddSelectedLine(selection, {left, -(b + h) + j * h / 10}, {right, -(b + h) + j * h / 10}, outGroup,
                                outLayer, 0, 0);
        }
    }
}
