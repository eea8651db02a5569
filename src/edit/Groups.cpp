// Keeping groups consistent: bounds, moves and flips of their members, grouping the selection and
// turning a group.

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace {

// Grows a box point by point; the first point sets it.
struct BoxBuilder {
    CDbPoint min, max;
    bool empty = true;
    void take(const CDbPoint& p)
    {
        if (empty) {
            min = max = p;
            empty = false;
            return;
        }
        min.x = std::min(min.x, p.x);
        min.y = std::min(min.y, p.y);
        max.x = std::max(max.x, p.x);
        max.y = std::max(max.y, p.y);
    }
    // Every point of the figure; a circle or ellipse adds the square of its first parameter.
    void take(const CKovLine& f)
    {
        for (const CDbPoint& p : f.MLinePnt)
            take(p);
        if (f.MLineType == CKovLine::CIRCLE && !f.MLinePnt.empty() && !f.MLineParam.empty()) {
            const CDbPoint& c = f.MLinePnt[0];
            const double r = f.MLineParam[0];
            take({c.x - r, c.y - r});
            take({c.x + r, c.y + r});
        }
    }
};

double wrapDegrees(double a)
{
    if (a >= 360.0)
        a -= 360.0;
    if (a < 0.0)
        a += 360.0;
    return a;
}

// Negates one axis of every member; arcs swap start and end so they stay the mirrored arc, and walls
// get corners from their mirrored core (a column's corners are mirrored with it).
void mirrorMembers(CKovUnit& unit, const CKovGroup& group, bool vertical)
{
    auto flip = [vertical](CDbPoint& p) {
        if (vertical)
            p.y = -p.y;
        else
            p.x = -p.x;
    };
    for (int id : group.MGrpLineID) {
        CKovLine* f = unit.FindLine(id);
        if (!f)
            continue;
        for (CDbPoint& p : f->MLinePnt)
            flip(p);
        if (f->MLineType == CKovLine::ARC && f->MLinePnt.size() >= 3)
            std::swap(f->MLinePnt[1], f->MLinePnt[2]);
    }
    for (int id : group.MGrpWallID) {
        CKovWall* w = unit.FindWall(id);
        if (!w)
            continue;
        flip(w->MWallPntA);
        flip(w->MWallPntB);
        if (w->IsColumn()) {
            auto& c = w->MWallPntKado;
            for (CDbPoint& p : c)
                flip(p);
            // A column's outline is always its four sides; they are never cut.
            w->MWallarPntA = {c[0], c[1], c[2], c[3]};
            w->MWallarPntB = {c[1], c[2], c[3], c[0]};
        } else {
            std::array<CDbPoint, 4> corners;
            if (CKovUnit::ComputeWallCorners(corners, w->MWallPntA, w->MWallPntB, w->MWallWide1, 1))
                w->MWallPntKado = corners;
        }
    }
    for (int id : group.MGrpTextID) {
        if (CKovText* t = unit.FindText(id))
            flip(t->MTextpnt);
    }
}

} // namespace

void CKovUnit::UpdateGroupBounds(CKovGroup& group) const
{
    BoxBuilder box;
    for (int id : group.MGrpWallID) {
        if (const CKovWall* w = std::as_const(*this).FindWall(id)) {
            box.take(w->MWallPntA);
            box.take(w->MWallPntB);
        }
    }
    for (int id : group.MGrpLineID) {
        if (const CKovLine* f = std::as_const(*this).FindLine(id))
            box.take(*f);
    }
    for (int id : group.MGrpTextID) {
        if (const CKovText* t = std::as_const(*this).FindText(id))
            box.take(t->MTextpnt);
    }
    group.MGrpmin = box.empty ? CDbPoint() : box.min;
    group.MGrpmax = box.empty ? CDbPoint() : box.max;
}

int CKovUnit::MoveGroup(int groupId, double dx, double dy)
{
    const CKovGroup* group = std::as_const(*this).FindGroup(groupId);
    if (!group)
        return -1;
    for (int id : group->MGrpLineID)
        if (CKovLine* f = FindLine(id))
            f->MoveBy(dx, dy);
    for (int id : group->MGrpWallID)
        if (CKovWall* w = FindWall(id))
            w->MoveBy(dx, dy);
    for (int id : group->MGrpTextID)
        if (CKovText* t = FindText(id))
            t->MoveBy(dx, dy);
    return 0;
}

void CKovUnit::FlipGroupVertical(int groupId)
{
    CKovGroup* group = FindGroup(groupId);
    if (!group)
        return;
    const double minY = group->MGrpmin.y, maxY = group->MGrpmax.y;
    group->MGrpKakudo = wrapDegrees(group->MGrpKakudo + 180.0);
    mirrorMembers(*this, *group, true);
    MoveGroup(groupId, 0.0, minY + maxY);
}

void CKovUnit::FlipGroupHorizontal(int groupId)
{
    CKovGroup* group = FindGroup(groupId);
    if (!group)
        return;
    const double minX = group->MGrpmin.x, maxX = group->MGrpmax.x;
    group->MGrpKakudo = wrapDegrees(group->MGrpKakudo + 180.0);
    mirrorMembers(*this, *group, false);
    MoveGroup(groupId, minX + maxX, 0.0);
}

void CKovUnit::ExtractSelectedGroup(const SelectionRecord& selection, const CKovUnit& source)
{
    RemoveAllObjects(REMOVE_DELETE_PICTURE_FILES);
    if (selection.m_Groups.empty())
        return;
    const CKovGroup* from = std::as_const(source).FindGroup(selection.m_Groups.front());
    if (!from)
        return;
    auto copy = std::make_unique<CKovGroup>(*from);
    const CDbPoint origin = from->MGrpmin;
    copy->MGrpmin = {0.0, 0.0};
    copy->MGrpmax = {from->MGrpmax.x - origin.x, from->MGrpmax.y - origin.y};
    const int id = copy->MGrpID;
    m_Groups.Add(std::move(copy));
    for (int member : from->MGrpLineID)
        if (const CKovLine* f = std::as_const(source).FindLine(member))
            m_Lines.Add(std::make_unique<CKovLine>(*f));
    for (int member : from->MGrpWallID)
        if (const CKovWall* w = std::as_const(source).FindWall(member))
            m_Walls.Add(std::make_unique<CKovWall>(*w));
    for (int member : from->MGrpTextID)
        if (const CKovText* t = std::as_const(source).FindText(member))
            m_Texts.Add(std::make_unique<CKovText>(*t));
    MoveGroup(id, -origin.x, -origin.y);
}

void CKovUnit::GroupSelection(SelectionRecord& selection, const CPlotInfo& plot)
{
    if (!selection.m_Lines.empty() && selection.m_Walls.empty() && selection.m_Texts.empty()) {
        const bool onlyDimensions = std::all_of(selection.m_Lines.begin(), selection.m_Lines.end(), [this](int id) {
            const CKovLine* f = std::as_const(*this).FindLine(id);
            return !f || f->MLineType == CKovLine::DIMENSION;
        });
        if (onlyDimensions)
            return;
    }
    const int groupId = NextGroupId();
    if (groupId == kNoFreeId)
        return;
    auto group = std::make_unique<CKovGroup>();
    group->MGrpID = groupId;
    BoxBuilder box;
    for (int id : selection.m_Lines) {
        CKovLine* f = FindLine(id);
        if (!f || f->MLineType == CKovLine::DIMENSION)
            continue;
        f->MLineGrpID = groupId;
        group->MGrpLineID.push_back(id);
        box.take(*f);
    }
    for (int id : selection.m_Walls) {
        CKovWall* w = FindWall(id);
        if (!w)
            continue;
        w->MWallGrpID = groupId;
        group->MGrpWallID.push_back(id);
        box.take(w->MWallPntA);
        box.take(w->MWallPntB);
    }
    for (int id : selection.m_Texts) {
        CKovText* t = FindText(id);
        if (!t)
            continue;
        t->MTextGrpID = groupId;
        group->MGrpTextID.push_back(id);
        box.take(t->MTextpnt);
    }
    if (!box.empty) {
        group->MGrpmin = box.min;
        group->MGrpmax = box.max;
    }
    group->MGrpKakudo = 0.0;
    group->MGrpLayer1 = plot.m_Layer.m_nCurrentGroup;
    group->MGrpLayer2 = plot.m_Layer.m_nCurrentLayer;
    m_Groups.Add(std::move(group));
    selection.Clear();
    selection.AddGroupId(groupId);
}

int CKovUnit::RotateGroup(const CKovUnit& source, double a, int groupId)
{
    // Turning a group in its own container needs no copy: only the members are read, and they are
    // read before they are written.
    if (&source != this)
        CopyFrom(source);
    CKovGroup* group = FindGroup(groupId);
    if (!group)
        return -1;

    group->MGrpKakudo = wrapDegrees(group->MGrpKakudo + a);
    const double theta = -a * kKovPi / 180.0;
    const double cs = std::cos(theta), sn = std::sin(theta);
    auto turn = [cs, sn](CDbPoint& p) {
        const double x = p.x * cs - p.y * sn;
        const double y = p.y * cs + p.x * sn;
        p = {x, y};
    };
    const bool quarter = a == 90.0 || a == 270.0;

    for (int id : group->MGrpLineID) {
        CKovLine* f = FindLine(id);
        if (!f)
            continue;
        for (CDbPoint& p : f->MLinePnt)
            turn(p);
        if (quarter && f->MLineType == CKovLine::CIRCLE && f->MLineParam.size() == 2) {
            const double rx = f->MLineParam[0], k = f->MLineParam[1];
            f->MLineParam[0] = rx * k;
            f->MLineParam[1] = rx / (rx * k);
        }
    }
    for (int id : group->MGrpWallID) {
        CKovWall* w = FindWall(id);
        if (!w)
            continue;
        const bool wasVertical = std::fabs(w->MWallPntA.x - w->MWallPntB.x) < 1e-4;
        const bool wasHorizontal = !wasVertical && std::fabs(w->MWallPntA.y - w->MWallPntB.y) < 1e-4;
        turn(w->MWallPntA);
        turn(w->MWallPntB);
        // Walls parallel to an axis stay exactly parallel to one.
        if (quarter) {
            if (wasVertical)
                w->MWallPntB.y = w->MWallPntA.y;
            else if (wasHorizontal)
                w->MWallPntB.x = w->MWallPntA.x;
        } else if (a == 180.0) {
            if (wasVertical)
                w->MWallPntB.x = w->MWallPntA.x;
            else if (wasHorizontal)
                w->MWallPntB.y = w->MWallPntA.y;
        }
        if (w->MWall_Type == CKovWall::COLUMN) {
            auto& c = w->MWallPntKado;
            for (CDbPoint& p : c)
                turn(p);
            w->MWallarPntA = {c[0], c[1], c[2], c[3]};
            w->MWallarPntB = {c[1], c[2], c[3], c[0]};
        } else {
            std::array<CDbPoint, 4> corners;
            if (ComputeWallCorners(corners, w->MWallPntA, w->MWallPntB, w->MWallWide1, 1))
                w->MWallPntKado = corners;
        }
    }
    for (int id : group->MGrpTextID) {
        CKovText* t = FindText(id);
        if (!t)
            continue;
        turn(t->MTextpnt);
        t->MTextpnt = {std::trunc(t->MTextpnt.x), std::trunc(t->MTextpnt.y)};
        int esc = t->MTextFontMenu.lfEscapement + truncToInt(a * 10.0);
        if (esc >= 3600)
            esc -= 3600;
        t->MTextFontMenu.lfEscapement = esc;
    }
    UpdateGroupBounds(*group);
    const CDbPoint min = group->MGrpmin;
    const int result = MoveGroup(groupId, -min.x, -min.y);
    group->MGrpmin = {0.0, 0.0};
    group->MGrpmax = {group->MGrpmax.x - min.x, group->MGrpmax.y - min.y};
    return result;
}
