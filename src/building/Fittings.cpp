// Placing fittings: the opening worked out from the clicks, and a library drawing fitted into it.

#include "building/Fittings.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kov::building {

bool FittingKindHasOptions(int kind) { return kind == 1 || kind == 3 || kind == 9 || kind == 10 || kind == 11; }

double FittingHeights::HeightOf(int kind) const
{
    return kind >= 1 && kind <= kFittingKinds ? height[static_cast<std::size_t>(kind - 1)] : 900.0;
}

double FittingHeights::MountingOf(int kind) const
{
    return kind >= 1 && kind <= kFittingKinds ? mounting[static_cast<std::size_t>(kind - 1)] : 900.0;
}

FittingRules FittingRules::FromProfile(const kov::platform::Profile& profile)
{
    constexpr std::string_view u = "KOV_T_UTILITY";
    FittingRules r;
    r.tateg_seti = profile.GetProfileInt(u, "tateg_seti", 0);
    r.tateg_hiraki_nakasiro = profile.GetProfileInt(u, "tateg_hiraki_nakasiro", 0);
    r.tateg_katabiki_wallkuro = profile.GetProfileInt(u, "tateg_katabiki_wallkuro", 1);
    return r;
}

} // namespace kov::building

using kov::building::FittingFit;

namespace {

constexpr double kPi = 3.1415926535;
constexpr std::uint32_t kWhite = 0xFFFFFF;

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

// Coordinates are kept to 0.001 mm after a turn, so that the faces' points compare exactly.
double roundThousandth(double v) { return RoundToInt(v * 1000.0) / 1000.0; }

bool isPocketFitting(int kind, int number)
{
    if (kind == 1) return number == 12 || number == 13 || number == 14 || number == 17 || number == 18 || number == 19;
    return kind == 8 && (number == 11 || number == 12);
}

// Panels of a storm shutter, by the sliding fitting it covers.
int shutterPanels(int kind, int number)
{
    if (kind == 1) {
        if ((number >= 5 && number <= 8) || number == 13 || number == 18) return 3;
        if ((number >= 9 && number <= 11) || number == 14 || number == 16 || number == 19) return 4;
    } else if (kind == 3) {
        if (number == 5 || number == 6) return 3;
        if (number == 7 || number == 8) return 4;
    }
    return 2;
}

} // namespace

const CKovLine* CKovUnit::FittingFrame(const CKovGroup& group) const
{
    for (int id : group.MGrpLineID)
        if (const CKovLine* f = FindLine(id); f && f->MLineType == CKovLine::RECTANGLE) return f;
    return nullptr;
}

CKovLine* CKovUnit::FittingFrame(const CKovGroup& group)
{
    for (int id : group.MGrpLineID)
        if (const CKovLine* f = std::as_const(*this).FindLine(id); f && f->MLineType == CKovLine::RECTANGLE)
            return FindLine(id);
    return nullptr;
}

double CKovUnit::GetFittingWidth(const CKovGroup& group) const
{
    const CKovLine* frame = FittingFrame(group);
    if (!frame || frame->MLinePnt.size() < 4) return std::fabs(group.MGrpmax.x - group.MGrpmin.x);
    return RoundToInt(distance(frame->MLinePnt[0], frame->MLinePnt[3]));
}

double CKovUnit::GetFittingDepth(const CKovGroup& group) const
{
    const CKovLine* frame = FittingFrame(group);
    if (!frame || frame->MLinePnt.size() < 4) return std::fabs(group.MGrpmax.x - group.MGrpmin.x);
    return RoundToInt(distance(frame->MLinePnt[0], frame->MLinePnt[1]));
}

int CKovUnit::PlaceFitting(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                           const CDbPoint& third, int groupId, const kov::building::FittingChoice& choice,
                           const kov::building::FittingRules& rules)
{
    if (toolPoints.size() < 2 || !std::as_const(*this).FindGroup(groupId)) return 0;
    double t = plot.PlotWallWide;
    double typedThickness = choice.thickness > 0 ? choice.thickness : 100.0;
    if (choice.thicknessMode == 1) t = typedThickness / 2;

    const CDbPoint p0 = toolPoints[0];
    CDbPoint p1 = toolPoints[1];
    const double angleA = VectorAngle(p0.x, p0.y, p1.x, p1.y);
    const double a = -angleA * kPi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const CDbPoint u{c, s}, n{-s, c};
    auto add = [](const CDbPoint& p, const CDbPoint& d, double k) { return CDbPoint{p.x + d.x * k, p.y + d.y * k}; };

    double width = choice.widthMode == 1 ? choice.width : distance(p0, p1);
    if (rules.tateg_seti == 0 && choice.widthMode == 0) width = distance(p0, p1) - 2 * t;
    const double depth = choice.thicknessMode == 1 ? typedThickness : 2 * plot.PlotWallWide;
    // An opening of no width, a negative one, or a wall of no thickness gives no fitting.
    if (!(width > 0) || !(depth > 0) || !std::isfinite(width) || !std::isfinite(depth)) return 0;

    CDbPoint q1, q2, q3, q4;
    if (rules.tateg_seti == 0) {
        if (choice.widthMode == 1) p1 = PointTowards(p0, p1, 2 * t + width);
        q1 = add(add(p0, u, t), n, -t);
        q2 = add(add(p0, u, t), n, t);
        q3 = add(add(p1, u, -t), n, t);
        q4 = add(add(p1, u, -t), n, -t);
    } else {
        const CDbPoint p1w = PointTowards(p0, p1, width);
        q1 = p0;
        q2 = add(p0, n, 2 * t);
        q3 = add(p1w, n, 2 * t);
        q4 = p1w;
    }
    const double d1 = distance(third, q1), d2 = distance(third, q2), d3 = distance(third, q3), d4 = distance(third, q4);
    int b = 0;
    if (d2 < d1 && d2 < d3 && d2 < d4) b = 1;
    else if (d3 < d1 && d3 < d4) b = 2;
    else if (d4 < d1) b = 3;
    // Symmetric fittings choose only the side of the wall.
    if (choice.kind == 3 || choice.kind == 5 || (choice.kind == 1 && choice.number < 12)) {
        if (b == 3) b = 0;
        else if (b == 1) b = 2;
    }

    FittingFit fit;
    if (b == 1 || b == 2) {
        fit.origin = q1;
        fit.angle = angleA;
    } else {
        fit.origin = q3;
        fit.angle = angleA + 180.0;
        if (fit.angle >= 360.0) fit.angle -= 360.0;
    }
    fit.mirror = (b == 1 || b == 3) ? 1 : 0;
    fit.width = width;
    fit.depth = depth;
    fit.kind = choice.kind;
    fit.number = choice.number;
    fit.colour = choice.colour;
    fit.optionCode = choice.optionCode;
    fit.height = choice.heights.HeightOf(choice.kind);
    fit.mounting = choice.heights.MountingOf(choice.kind);
    fit.whiteSwing = rules.tateg_hiraki_nakasiro != 0 ? 1 : 0;
    fit.pocket = rules.tateg_katabiki_wallkuro != 0 ? 1 : 0;
    fit.pocketColour = fit.pocket && (plot.PlotWallBlack == 3 || plot.PlotWallBlack == 4) ? plot.PlotWallColor : 0;
    if (!FitFittingToWall(groupId, fit)) return 0;
    selection.Clear();
    selection.AddGroupId(groupId);
    return 1;
}

void CKovUnit::AddFittingOptionLines(CKovGroup& group, double depth, int kind, int number, int optionCode)
{
    const CKovLine* frame = FittingFrame(group);
    if (!frame || frame->MLinePnt.size() < 4) return;
    const CDbPoint p1 = frame->MLinePnt[1], p2 = frame->MLinePnt[2];
    const double b = depth / 2, h = b - 50, e = h + depth;
    const int units = optionCode % 10, tens = (optionCode / 10) % 10;
    if (tens == 1) {
        AddGroupLine(p1, {p1.x, p1.y + b}, group, 0);
        AddGroupLine(p2, {p2.x, p2.y + b}, group, 0);
        AddGroupLine({p1.x, p1.y + b}, {p2.x, p2.y + b}, group, 2);
    }
    if (units == 1 || units == 4) {
        const double w = distance(p1, p2) / shutterPanels(kind, number);
        const double x = units == 1 ? p1.x : p2.x, y = units == 1 ? p1.y : p2.y;
        const double xo = units == 1 ? x - w : x + w;
        AddGroupLine({xo, y + h}, {xo, y + e}, group, 0);
        AddGroupLine({xo, y + b + h}, {x, y + b + h}, group, 2);
        AddGroupLine({xo, y + e}, {x, y + e}, group, 0);
    } else if (units == 2 || units == 3) {
        AddGroupLine(p1, {p1.x, p1.y + e}, group, 0);
        AddGroupLine(p2, {p2.x, p2.y + e}, group, 0);
        AddGroupLine({p1.x, p1.y + e}, {p2.x, p2.y + e}, group, units == 2 ? 3 : 0);
        if (units == 3) {
            const double g = depth / 5;
            AddGroupLine({p1.x, p1.y + e + g}, {p2.x, p2.y + e + g}, group, 2);
            AddGroupLine({p1.x, p1.y + e - g}, {p2.x, p2.y + e - g}, group, 2);
        }
    }
}

int CKovUnit::FitFittingToWall(int groupId, const FittingFit& fit)
{
    if (!(fit.width > 0) || !(fit.depth > 0)) return 0;
    {
        const CKovGroup* group = std::as_const(*this).FindGroup(groupId);
        if (!group) return 0;
        const CKovLine* frame = FittingFrame(*group);
        if (!frame || frame->MLinePnt.size() < 4) return 0;
        // A library frame of no width cannot be scaled to any width.
        if (!(GetFittingWidth(*group) > 0)) return 0;
    }
    // 1. Option lines against the library drawing's own frame.
    if (fit.optionCode != 0) AddFittingOptionLines(*FindGroup(groupId), fit.depth, fit.kind, fit.number, fit.optionCode);

    // 3. Mirror end for end about the box; P0 becomes the top-left corner again.
    if (fit.mirror != 0) {
        FlipGroupHorizontal(groupId);
        CKovLine* frame = FittingFrame(*std::as_const(*this).FindGroup(groupId));
        std::reverse(frame->MLinePnt.begin(), frame->MLinePnt.begin() + 4);
    }
    CKovGroup& group = *FindGroup(groupId);
    group.MGrpRoom = CKovGroup::FITTING;
    const std::vector<int> members = group.MGrpLineID;
    const int frameId = FittingFrame(group)->MLineID;

    // 5-6. The 100 mm frame becomes the depth about its middle, and holds the fitting's parameters.
    const double h = fit.depth / 2 - 50;
    {
        CKovLine& frame = *FindLine(frameId);
        auto& p = frame.MLinePnt;
        p[0].y -= h;
        p[1].y += h;
        p[2].y += h;
        p[3].y -= h;
        frame.MLineParam = {fit.mirror, double(fit.kind), double(fit.number), double(fit.optionCode), fit.height,
                            fit.mounting};
    }
    const CDbPoint top = std::as_const(*this).FindLine(frameId)->MLinePnt[0];

    // 7. Jamb lines of sliding and fixed fittings run through the whole depth.
    if (fit.kind == 1 || fit.kind == 3 || fit.kind == 5 || fit.kind == 9) {
        const double core = top.y + fit.depth / 2;
        for (int id : members) {
            const CKovLine* f = std::as_const(*this).FindLine(id);
            if (!f || id == frameId || f->MLineType != CKovLine::LINE || f->MLinePnt.size() < 2) continue;
            const CDbPoint a = f->MLinePnt[0], b = f->MLinePnt[1];
            // The library drawing's own depth, 100 mm; a hair less for the rounding of h.
            if (std::fabs(a.x - b.x) > 0.01 || std::fabs(a.y - b.y) < fit.depth - 2 * h - 1e-6) continue;
            if ((a.y < core && b.y < core) || (a.y > core && b.y > core)) continue;
            CKovLine& line = *FindLine(id);
            line.MLinePnt[0].y = std::min(a.y, b.y) - h;
            line.MLinePnt[1].y = std::max(a.y, b.y) + h;
        }
    }
    // 8. White door swings.
    if (fit.whiteSwing && (fit.kind == 2 || fit.kind == 4 || fit.kind == 11)) {
        for (int id : members) {
            const CKovLine* f = std::as_const(*this).FindLine(id);
            if (!f || (fit.kind != 11 && f->MLineType != CKovLine::ARC)) continue;
            CKovLine& g = *FindLine(id);
            g.MLinebNakanuri = 1;
            g.MLineNakaColor = kWhite;
        }
    }
    // 9. Wall pockets: the rectangles after the frame.
    if (fit.pocket && isPocketFitting(fit.kind, fit.number)) {
        for (int id : members) {
            const CKovLine* f = std::as_const(*this).FindLine(id);
            if (!f || id == frameId || f->MLineType != CKovLine::RECTANGLE) continue;
            CKovLine& g = *FindLine(id);
            g.MLinebNakanuri = 1;
            g.MLineNakaColor = fit.pocketColour;
            g.MLineGradiation = 0;
            g.MLineAlpha = 100;
        }
    }
    // 10. Along the wall to the width, about the origin of the drawing's coordinates.
    {
        const CKovGroup& g = *std::as_const(*this).FindGroup(groupId);
        const bool keepsWidth = fit.kind == 12 && (fit.number == 1 || fit.number == 2);
        const double f = keepsWidth ? 1.0 : fit.width / GetFittingWidth(g);
        if (f != 1.0) {
            CKovUnit snapshot;
            snapshot.CopyFrom(*this);
            ScaleGroupFromSnapshot(g, snapshot, f, 1.0, {0, 0});
            snapshot.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
        }
    }
    // 11. Turned to the wall, coordinates kept to 0.001 mm.
    const double a = -fit.angle * kPi / 180.0, c = std::cos(a), s = std::sin(a);
    const bool quarter = fit.angle == 90.0 || fit.angle == 270.0;
    for (int id : members) {
        if (!std::as_const(*this).FindLine(id)) continue;
        CKovLine& f = *FindLine(id);
        for (CDbPoint& p : f.MLinePnt) {
            const double x = p.x * c - p.y * s, y = p.y * c + p.x * s;
            p = {roundThousandth(x), roundThousandth(y)};
        }
        if (quarter && f.MLineType == CKovLine::CIRCLE && f.MLineParam.size() == 2) {
            const double p0 = f.MLineParam[0], ratio = f.MLineParam[1];
            if (p0 * ratio != 0) {
                f.MLineParam[0] = p0 * ratio;
                f.MLineParam[1] = p0 / (p0 * ratio);
            }
        }
    }
    // 12. Points on the library drawing's faces follow the wall's faces.
    if (h != 0) {
        const CKovLine& frame = *std::as_const(*this).FindLine(frameId);
        const CDbPoint f0 = frame.MLinePnt[0], f1 = frame.MLinePnt[1];
        const bool all = fit.kind == 2 || fit.kind == 4 || fit.kind == 6 || fit.kind == 8 || fit.kind == 11;
        const double along = VectorAngle(f0.x, f0.y, f1.x, f1.y);
        for (int id : members) {
            if (id == frameId || !std::as_const(*this).FindLine(id)) continue;
            CKovLine& f = *FindLine(id);
            for (CDbPoint& p : f.MLinePnt) {
                if (fit.angle == 0.0) {
                    if (p.y == f0.y + h) p.y -= h;
                    else if (p.y == f1.y - h || all) p.y += h;
                } else if (fit.angle == 90.0) {
                    if (p.x == f0.x + h) p.x -= h;
                    else if (p.x == f1.x - h || all) p.x += h;
                } else if (fit.angle == 180.0) {
                    if (p.y == f0.y - h) p.y += h;
                    else if (p.y == f1.y + h || all) p.y -= h;
                } else if (fit.angle == 270.0) {
                    if (p.x == f0.x - h) p.x += h;
                    else if (p.x == f1.x + h || all) p.x -= h;
                } else if (all) {
                    p = PointAtAngle(p.x, p.y, along, h);
                }
            }
        }
    }
    // 13-14. The box from the figures' points, then everything onto the origin in the line colour.
    CKovGroup& g = *FindGroup(groupId);
    bool any = false;
    CDbPoint lo, hi;
    for (int id : members)
        if (const CKovLine* f = std::as_const(*this).FindLine(id))
            for (const CDbPoint& p : f->MLinePnt) {
                if (!any) lo = hi = p;
                lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
                hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
                any = true;
            }
    const CDbPoint p0 = std::as_const(*this).FindLine(frameId)->MLinePnt[0];
    const double dx = fit.origin.x - p0.x, dy = fit.origin.y - p0.y;
    for (int id : members) {
        if (!std::as_const(*this).FindLine(id)) continue;
        CKovLine& f = *FindLine(id);
        f.MoveBy(dx, dy);
        if (f.MLineColor != kWhite) f.MLineColor = fit.colour;
    }
    g.MGrpmin = any ? CDbPoint{lo.x + dx, lo.y + dy} : CDbPoint{};
    g.MGrpmax = any ? CDbPoint{hi.x + dx, hi.y + dy} : CDbPoint{};
    g.MGrpKakudo = fit.angle;
    return 1;
}
