// Notation symbols: a row of copies of one small drawing along a base line, the last one cut at the
// range's end, turned to the base line and moved into place as one group.

#include "building/PartFiles.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.1415926535;
constexpr int kMostCopies = 500;

double distance(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }
double roundThousandth(double v) { return RoundToInt(v * 1000.0) / 1000.0; }

// Cuts a figure of the last copy at x = limit: false when it goes.
bool cutAt(CKovLine& f, double limit)
{
    if (f.MLineType == CKovLine::CIRCLE) {
        return f.MLinePnt.empty() || f.MLineParam.empty() || !(f.MLinePnt[0].x + f.MLineParam[0] > limit);
    }
    if (f.MLinePnt.size() < 2) return true;
    CDbPoint& a = f.MLinePnt[0];
    CDbPoint& b = f.MLinePnt[1];
    const bool aBeyond = a.x > limit, bBeyond = b.x > limit;
    if (aBeyond && bBeyond) return false;
    if (!aBeyond && !bBeyond) return true;
    CDbPoint& moved = aBeyond ? a : b;
    if (std::fabs(a.y - b.y) < 0.0001) {
        moved.x = limit;
    } else {
        double m = 0, c = 0;
        LineSlopeIntercept(m, c, a.x, a.y, b.x, b.y);
        moved = {limit, m * limit + c};
    }
    return true;
}

} // namespace

int CKovUnit::CreateNotationSymbols(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                                    const CDbPoint& third, double length, double height,
                                    const std::filesystem::path& symbolFile, kov::building::PartFileCache* cache)
{
    selection.Clear();
    if (toolPoints.size() < 2 || !(height > 0) || !(length >= 0)) return 0;
    const CDbPoint a = toolPoints[0], b = toolPoints[1];

    // The row runs so that the third click lies to its right on the screen.
    const double theta = VectorAngle(a.x, a.y, b.x, b.y);
    const CDbPoint& end = distance(third, a) < distance(third, b) ? a : b;
    const CDbPoint left = PointAtAngle(end.x, end.y, theta + 90, height);
    const CDbPoint right = PointAtAngle(end.x, end.y, theta + 270, height);
    const bool reversed = distance(third, left) < distance(third, right);
    const CDbPoint start = reversed ? b : a, finish = reversed ? a : b;

    // The symbol once, scaled to the height about its box's minimum corner; every copy comes from it.
    kov::building::PartFileCache ownCache;
    const CKovUnit* file = (cache ? *cache : ownCache).Get(symbolFile);
    if (!file || file->m_Groups.empty()) return 0;
    CKovUnit symbol;
    symbol.CopyFrom(*file);
    {
        const CKovGroup& g = *std::as_const(symbol).m_Groups[0];
        const double extent = std::fabs(g.MGrpmax.y - g.MGrpmin.y);
        if (!(extent > 0)) return 0;
        const double s = height / extent;
        if (s != 1.0) {
            CKovUnit snapshot;
            snapshot.CopyFrom(symbol);
            const CDbPoint lo = g.MGrpmin, hi = g.MGrpmax;
            symbol.ScaleGroupFromSnapshot(g, snapshot, s, s, lo);
            CKovGroup& scaled = *symbol.m_Groups[0];
            scaled.MGrpmax = {lo.x + (hi.x - lo.x) * s, lo.y + (hi.y - lo.y) * s};
            snapshot.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
        }
        symbol.UpdateGroupBounds(*symbol.m_Groups[0]);
    }
    const CKovGroup& unitGroup = *std::as_const(symbol).m_Groups[0];
    const double w = std::fabs(unitGroup.MGrpmax.x - unitGroup.MGrpmin.x);
    const double count = w > 0 ? std::trunc(length / w) : 0;
    if (!(w > 0) || count > kMostCopies) {
        symbol.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
        return 0;
    }
    const int n = static_cast<int>(count);

    // A failure takes back everything the row put in.
    std::vector<int> strayWalls, strayTexts;
    const int first = InsertPartGroup(symbol, plot);
    auto fail = [&](int copy) {
        if (copy) DeleteGroup(copy);
        if (first) DeleteGroup(first);
        for (int id : strayWalls) DeleteWall(id);
        for (int id : strayTexts) DeleteText(id);
        symbol.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);
        return 0;
    };
    if (!first) return fail(0);
    for (int j = 0; j < n; ++j) {
        const int copy = InsertPartGroup(symbol, plot);
        if (!copy) return fail(0);
        MoveGroup(copy, (j + 1) * w, 0);
        const CKovGroup members = *std::as_const(*this).FindGroup(copy);
        for (int id : members.MGrpLineID) {
            if (!std::as_const(*this).FindLine(id)) continue;
            CKovLine& f = *FindLine(id);
            if (j == n - 1 && !cutAt(f, length)) {
                DeleteLine(id);
                continue;
            }
            f.MLineGrpID = first;
            FindGroup(first)->MGrpLineID.push_back(id);
        }
        strayWalls.insert(strayWalls.end(), members.MGrpWallID.begin(), members.MGrpWallID.end());
        strayTexts.insert(strayTexts.end(), members.MGrpTextID.begin(), members.MGrpTextID.end());
        m_Groups.DeleteAt(FindGroupIndex(copy));
    }
    symbol.RemoveAllObjects(REMOVE_KEEP_PICTURE_FILES);

    // Turned to the base line about the row's start, coordinates kept to 0.001 mm.
    UpdateGroupBounds(*FindGroup(first));
    const double phi = VectorAngle(start.x, start.y, finish.x, finish.y);
    const double angle = -phi * kPi / 180.0, c = std::cos(angle), s = std::sin(angle);
    const bool quarter = phi == 90.0 || phi == 270.0;
    for (int id : std::as_const(*this).FindGroup(first)->MGrpLineID) {
        if (!std::as_const(*this).FindLine(id)) continue;
        CKovLine& f = *FindLine(id);
        for (CDbPoint& p : f.MLinePnt)
            p = {roundThousandth(p.x * c - p.y * s), roundThousandth(p.x * s + p.y * c)};
        if (quarter && f.MLineType == CKovLine::CIRCLE && f.MLineParam.size() == 2) {
            const double rx = f.MLineParam[0], turned = rx * f.MLineParam[1];
            if (turned != 0) {
                f.MLineParam[0] = turned;
                f.MLineParam[1] = rx / turned;
            }
        }
    }
    UpdateGroupBounds(*FindGroup(first));
    MoveGroup(first, start.x, start.y);
    UpdateGroupBounds(*FindGroup(first));
    selection.AddGroupId(first);
    return 1;
}
