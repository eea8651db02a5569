// Moving the selection from a snapshot, copying and moving ranges, and rescaling a group from a
// snapshot.

#include "edit/GroupCopies.h"
#include "edit/PictureCopies.h"
#include "edit/SnapshotPairs.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PictureFiles.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <system_error>
#include <vector>
#include <utility>

using kov::edit::SnapshotCopy;

namespace {

// Restores the live object with the identifier from its snapshot copy and moves it.
template <class Array>
void restoreAndMove(Array& live, const Array& snapshot, int id, double dx, double dy)
{
    const int index = live.FindIndex(id);
    if (index < 0)
        return;
    const auto* saved = SnapshotCopy(snapshot, index, id);
    if (!saved)
        return;
    live[index]->CopyFrom(*saved);
    live[index]->MoveBy(dx, dy);
}

// A sheet displacement as a picture offset (paper millimetres) at the current layer group's scale.
CDbPoint pictureOffset(const CDbPoint& d, const DeviceTransform& transform, const CPlotInfo& plot)
{
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
    const auto s = static_cast<std::size_t>(g);
    const double p = transform.paperScale != 0.0 ? transform.paperScale : 1.0;
    return {d.x * transform.scaleX[s] / p, d.y * transform.scaleY[s] / p};
}

} // namespace

void CKovUnit::MoveSelection(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot)
{
    for (int id : selection.m_Groups) {
        const int index = FindGroupIndex(id);
        const CKovGroup* saved = index < 0 ? nullptr : SnapshotCopy(snapshot.m_Groups, index, id);
        if (index < 0 || !saved)
            continue;
        CKovGroup& group = *m_Groups[index];
        group.CopyFrom(*saved);
        group.MGrpmin.x += dx;
        group.MGrpmax.x += dx;
        group.MGrpmin.y += dy;
        group.MGrpmax.y += dy;
        for (int member : group.MGrpLineID)
            restoreAndMove(m_Lines, snapshot.m_Lines, member, dx, dy);
        for (int member : group.MGrpWallID)
            restoreAndMove(m_Walls, snapshot.m_Walls, member, dx, dy);
        for (int member : group.MGrpTextID)
            restoreAndMove(m_Texts, snapshot.m_Texts, member, dx, dy);
    }
    for (int id : selection.m_Walls)
        restoreAndMove(m_Walls, snapshot.m_Walls, id, dx, dy);
    for (int id : selection.m_Lines) {
        // Only the points come from the snapshot: the figure keeps its present style.
        const int index = FindLineIndex(id);
        const CKovLine* saved = index < 0 ? nullptr : SnapshotCopy(snapshot.m_Lines, index, id);
        if (index < 0 || !saved)
            continue;
        CKovLine& f = *m_Lines[index];
        f.MLinePnt.resize(saved->MLinePnt.size());
        for (std::size_t k = 0; k < saved->MLinePnt.size(); ++k)
            f.MLinePnt[k] = {saved->MLinePnt[k].x + dx, saved->MLinePnt[k].y + dy};
    }
    for (int id : selection.m_Texts)
        restoreAndMove(m_Texts, snapshot.m_Texts, id, dx, dy);
}

int CKovUnit::CopyRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                        const CDbPoint& target, const DeviceTransform& transform,
                        const std::filesystem::path& pictureFolder)
{
    if (toolPoints.size() < 3)
        return 1;
    SelectInRect(selection, plot, toolPoints[0].x, toolPoints[0].y, toolPoints[1].x, toolPoints[1].y, transform, RangeLayers::CurrentGroup);
    const CDbPoint d{target.x - toolPoints[2].x, target.y - toolPoints[2].y};
    const kov::edit::CopyMark mark(*this);
    // Out of identifiers half-way: nothing is copied.
    auto refuse = [&] {
        mark.RollBack(*this);
        selection.Clear();
        return 0;
    };

    kov::edit::FigureCopies figures(*this);
    for (int sourceId : selection.m_Groups) {
        const CKovGroup* source = std::as_const(*this).FindGroup(sourceId);
        if (!source)
            continue;
        if (kov::edit::CopyGroupWithMembers(*this, *source, d.x, d.y, std::nullopt, figures) == kNoFreeId)
            return refuse();
    }
    for (int id : selection.m_Lines)
        kov::edit::MarkFigure(*this, id, figures);
    // Copies keep the drawing order of their sources, above everything that existed.
    if (!kov::edit::CopyMarkedFigures(*this, figures, d.x, d.y))
        return refuse();

    for (int sourceId : selection.m_Walls) {
        const CKovWall* wall = std::as_const(*this).FindWall(sourceId);
        if (!wall)
            continue;
        const int id = NextWallId();
        if (id == kNoFreeId)
            return refuse();
        auto copy = std::make_unique<CKovWall>(*wall);
        copy->MWallID = id;
        copy->MoveBy(d.x, d.y);
        m_Walls.Add(std::move(copy));
    }
    for (int sourceId : selection.m_Texts) {
        const CKovText* text = std::as_const(*this).FindText(sourceId);
        if (!text)
            continue;
        const int id = NextTextId();
        if (id == kNoFreeId)
            return refuse();
        auto copy = std::make_unique<CKovText>(*text);
        copy->MTextID = id;
        copy->MoveBy(d.x, d.y);
        m_Texts.Add(std::move(copy));
    }
    const CDbPoint shift = pictureOffset(d, transform, plot);
    for (int sourceId : selection.m_Images) {
        const CKovImage* picture = std::as_const(*this).FindImage(sourceId);
        if (!picture)
            continue;
        auto copy = kov::edit::CopyPicture(*this, *picture, pictureFolder);
        if (!copy)
            return refuse();
        copy->MoveBy(shift.x, shift.y);
        m_Images.Add(std::move(copy));
    }
    selection.Clear();
    return 1;
}

void CKovUnit::MoveRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                         const CDbPoint& target, const DeviceTransform& transform)
{
    if (toolPoints.size() < 3)
        return;
    SelectInRect(selection, plot, toolPoints[0].x, toolPoints[0].y, toolPoints[1].x, toolPoints[1].y, transform, RangeLayers::CurrentGroup);
    const CDbPoint d{target.x - toolPoints[2].x, target.y - toolPoints[2].y};
    for (int id : selection.m_Lines)
        if (CKovLine* f = FindLine(id))
            f->MoveBy(d.x, d.y);
    for (int id : selection.m_Walls)
        if (CKovWall* w = FindWall(id))
            w->MoveBy(d.x, d.y);
    for (int id : selection.m_Texts)
        if (CKovText* t = FindText(id))
            t->MoveBy(d.x, d.y);
    for (int id : selection.m_Groups) {
        CKovGroup* group = FindGroup(id);
        if (!group)
            continue;
        MoveGroup(id, d.x, d.y);
        group->MGrpmin.x += d.x;
        group->MGrpmin.y += d.y;
        group->MGrpmax.x += d.x;
        group->MGrpmax.y += d.y;
    }
    const CDbPoint shift = pictureOffset(d, transform, plot);
    for (int id : selection.m_Images)
        if (CKovImage* picture = FindImage(id))
            picture->MoveBy(shift.x, shift.y);
    selection.Clear();
}

int CKovUnit::ScaleGroupFromSnapshot(const CKovGroup& group, const CKovUnit& snapshot, double fx, double fy,
                                     const CDbPoint& r)
{
    auto map = [&](CDbPoint& p) { p = {(p.x - r.x) * fx + r.x, (p.y - r.y) * fy + r.y}; };
    // The live object restored from its snapshot copy; null when either is missing.
    auto restore = [](auto& live, const auto& saved, int id) -> decltype(live[0]) {
        const int index = live.FindIndex(id);
        const auto* copy = index < 0 ? nullptr : SnapshotCopy(saved, index, id);
        if (!copy)
            return nullptr;
        live[index]->CopyFrom(*copy);
        return live[index];
    };

    for (int id : group.MGrpLineID) {
        CKovLine* f = restore(m_Lines, snapshot.m_Lines, id);
        if (!f)
            continue;
        for (CDbPoint& p : f->MLinePnt)
            map(p);
        if (f->MLineType == CKovLine::ARC && f->MLinePnt.size() >= 3 && !f->MLineParam.empty()) {
            const CKovLine& s = *snapshot.FindLine(id);
            const auto dist = [](const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); };
            const double d1 = dist(f->MLinePnt[0], f->MLinePnt[1]), d2 = dist(f->MLinePnt[0], f->MLinePnt[2]);
            const double s1 = dist(s.MLinePnt[0], s.MLinePnt[1]), s2 = dist(s.MLinePnt[0], s.MLinePnt[2]);
            // The end whose distance changed more gives the radius; on a tie the start point's.
            f->MLineParam[0] = std::fabs(s1 - d1) < std::fabs(s2 - d2) ? d2 : d1;
        } else if (f->MLineType == CKovLine::CIRCLE && !f->MLineParam.empty()) {
            const double scaled = f->MLineParam[0] * fx;
            if (scaled != 0.0)
                f->MLineParam[0] = scaled;
        }
    }
    for (int id : group.MGrpWallID) {
        CKovWall* w = restore(m_Walls, snapshot.m_Walls, id);
        if (!w)
            continue;
        const CDbPoint a0 = w->MWallPntA;
        map(w->MWallPntA);
        map(w->MWallPntB);
        if (w->MWall_Type == CKovWall::WALL) {
            std::array<CDbPoint, 4> corners;
            if (ComputeWallCorners(corners, w->MWallPntA, w->MWallPntB, w->MWallWide1, 1))
                w->MWallPntKado = corners;
            ResetWallOutline(w->MWallID);
        } else {
            const double dx = w->MWallPntA.x - a0.x, dy = w->MWallPntA.y - a0.y;
            auto& c = w->MWallPntKado;
            for (CDbPoint& p : c)
                p = {p.x + dx, p.y + dy};
            // A column's outline is always its four sides; they are never cut.
            w->MWallarPntA = {c[0], c[1], c[2], c[3]};
            w->MWallarPntB = {c[1], c[2], c[3], c[0]};
        }
    }
    for (int id : group.MGrpTextID) {
        CKovText* t = restore(m_Texts, snapshot.m_Texts, id);
        if (!t)
            continue;
        map(t->MTextpnt);
        t->MTextpnt = {std::trunc(t->MTextpnt.x), std::trunc(t->MTextpnt.y)};
        t->MTextFontMenu.lfHeight = truncToInt(t->MTextFontMenu.lfHeight * fx);
        t->MTextFontMenu.m_size *= fx;
        t->MTextFontMenu.m_kankaku *= fx;
    }

    if (group.MGrpRoom != CKovGroup::FITTING)
        return 0;
    CKovLine* frame = nullptr;
    std::vector<CKovLine*> members;
    for (int id : group.MGrpLineID) {
        CKovLine* f = FindLine(id);
        if (!f)
            continue;
        members.push_back(f);
        if (!frame && f->MLineType == CKovLine::RECTANGLE)
            frame = f;
    }
    if (!frame || frame->MLineParam.size() < 3)
        return 0;
    const int kind = truncToInt(frame->MLineParam[1]);
    const int number = truncToInt(frame->MLineParam[2]);
    if (kind == 2 || kind == 4) {
        // Door leaves: each leaf line ends on its swing arc again.
        std::vector<CKovLine*> lines, arcs;
        for (CKovLine* f : members) {
            if (f->MLineType == CKovLine::LINE)
                lines.push_back(f);
            else if (f->MLineType == CKovLine::ARC)
                arcs.push_back(f);
        }
        for (std::size_t i = 0; i < lines.size() && i < arcs.size(); ++i) {
            CKovLine& leaf = *lines[i];
            if (leaf.MLinePnt.size() < 2 || arcs[i]->MLineParam.empty())
                continue;
            const double radius = arcs[i]->MLinebNakanuri == 0 ? arcs[i]->MLineParam[0] : 2.0;
            leaf.MLinePnt[1] = PointTowards(leaf.MLinePnt[0], leaf.MLinePnt[1], radius);
        }
    } else if (kind == 11 && (number == 1 || number == 3)) {
        for (CKovLine* f : members) {
            if (f == frame || f->MLinePnt.empty())
                continue;
            const CDbPoint before = f->MLinePnt[0];
            for (CDbPoint& p : f->MLinePnt)
                p = {(p.x - r.x) * fy + r.x, (p.y - r.y) * fx + r.y};
            const double ex = f->MLinePnt[0].x - before.x, ey = f->MLinePnt[0].y - before.y;
            if (fx != 1.0 && fy == 1.0)
                for (CDbPoint& p : f->MLinePnt)
                    p.y -= ey;
            else if (fx == 1.0 && fy != 1.0)
                for (CDbPoint& p : f->MLinePnt)
                    p.x -= ex;
        }
    }
    return 0;
}
