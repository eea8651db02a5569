// Hatch patterns as real lines: the scan-line generator and its users (room hatching, a figure's
// pattern turned into a group of lines).

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>
#include <utility>

namespace {

constexpr int kMaxScanLines = 1024;  // the loop goes on while the count is at most this
constexpr int kObliqueBackSteps = 64;
constexpr double kMinJointLength = 0.001;
constexpr double kJointLengthTolerance = 0.1;

enum ScanKind { SCAN_VERTICAL = 0, SCAN_HORIZONTAL = 1, SCAN_OBLIQUE = 2 };

struct ScanLine {
    int kind;
    double x = 0.0, y = 0.0, m = 0.0, k = 0.0;

    // The crossings with the edges, sorted along the line; empty when none remain.
    CDbPointArray cross(const CDbPointArray& starts, const CDbPointArray& ends) const
    {
        CDbPointArray out;
        if (!ClipLinesToPolygon(starts, ends, out, x, y, m, k, kind))
            out.clear();
        return out;
    }
    // Where the line's distances are measured from.
    CDbPoint reference(double minX, double minY) const
    {
        if (kind == SCAN_VERTICAL)
            return {x, minY};
        if (kind == SCAN_HORIZONTAL)
            return {minX, y};
        return {x, y};
    }
};

double dist(const CDbPoint& a, const CDbPoint& b) { return PointDistance(a.x, a.y, b.x, b.y); }

void outlineOf(const CDbPointArray& points, CDbPointArray& starts, CDbPointArray& ends)
{
    starts.clear();
    ends.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
        starts.push_back(points[i]);
        ends.push_back(points[(i + 1) % points.size()]);
    }
}

struct Pass {
    double angle;
    int kind;
};

// The passes of a hatch type: 0-5 the stripes and grids, 100 and 101 floor joints (rooms only).
std::vector<Pass> passesOf(int hatchType, bool joints)
{
    switch (hatchType) {
    case 0: return {{0.0, 0}};
    case 1: return {{90.0, 0}};
    case 2: return {{135.0, 0}};
    case 3: return {{45.0, 0}};
    case 4: return {{0.0, 0}, {90.0, 0}};
    case 5: return {{45.0, 0}, {135.0, 0}};
    case 100: return joints ? std::vector<Pass>{{0.0, 0}, {90.0, 5}} : std::vector<Pass>{};
    case 101: return joints ? std::vector<Pass>{{90.0, 0}, {0.0, 5}} : std::vector<Pass>{};
    default: return {};
    }
}

} // namespace

void CKovUnit::MakeHatchLines(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& starts,
                              const CDbPointArray& ends, int layerGroup, int layer, double angle, double d, double e,
                              double f, double g, int linesPerGroup, int kind)
{
    if (starts.empty() || ends.empty() || e == 0.0 || !std::isfinite(e))
        return;
    ScanLine line{SCAN_OBLIQUE};
    if (angle == 0.0 || angle == 180.0)
        line.kind = SCAN_HORIZONTAL;
    else if (angle == 90.0 || angle == 270.0)
        line.kind = SCAN_VERTICAL;
    if (line.kind == SCAN_OBLIQUE) {
        const double rad = angle * kKovPi / 180.0;
        const double c = std::cos(rad);
        e = std::fabs(c * e);
        d = std::fabs(c * d);
        line.m = -std::sin(rad) / c;
        if (e == 0.0)
            return;
    }

    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (const CDbPointArray* list : {&starts, &ends})
        for (const CDbPoint& p : *list) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }

    line.x = minX;
    line.y = minY;
    if (line.kind == SCAN_VERTICAL) {
        line.x = minX + f - e;
    } else if (line.kind == SCAN_HORIZONTAL) {
        line.y = minY + g - e;
    } else {
        const double width = maxX - minX;
        line.k = minY - line.m * line.x;
        for (int step = 0; step < kObliqueBackSteps && !line.cross(starts, ends).empty(); ++step) {
            line.x -= width;
            line.k = minY - line.m * line.x;
        }
        line.x = line.x + f - e;
        line.y = minY + g - e;
    }

    // The cutters of the joint patterns: the lines the selection held before this pass.
    CDbPointArray cutStarts, cutEnds;
    if (kind == 4 || kind == 5) {
        for (int id : selection.m_Lines) {
            const CKovLine* cutter = std::as_const(*this).FindLine(id);
            if (cutter && cutter->MLinePnt.size() >= 2) {
                cutStarts.push_back(cutter->MLinePnt[0]);
                cutEnds.push_back(cutter->MLinePnt[1]);
            }
        }
    }
    const int lineType = plot.PlotLineType[0];
    const std::uint32_t colour = plot.PlotColor[0];
    auto addSegment = [&](const CDbPoint& a, const CDbPoint& b) {
        AddSelectedLine(selection, a, b, layerGroup, layer, lineType, colour);
    };
    auto addPairs = [&](const CDbPointArray& points) {
        for (std::size_t i = 0; i + 1 < points.size(); i += 2)
            addSegment(points[i], points[i + 1]);
    };
    auto crossEven = [&](const ScanLine& l) {
        CDbPointArray points = l.cross(starts, ends);
        if (points.size() % 2 != 0)
            points.pop_back();
        return points;
    };

    int n = 0;
    do {
        if (line.kind == SCAN_VERTICAL && line.x > maxX)
            break;
        if (line.kind == SCAN_HORIZONTAL && line.y > maxY)
            break;
        const CDbPointArray points = crossEven(line);
        if (points.size() >= 2) {
            if (kind == 4 || kind == 5) {
                // Joints: the pieces of the scan line between the cutters, in alternate cells.
                CDbPointArray merged = ScanLine(line).cross(cutStarts, cutEnds);
                // A spacing of zero or less has no cells to walk: no joints, rather than no end.
                if (!merged.empty() && e > 0.0) {
                    const CDbPoint& x0 = points.front();
                    merged.insert(merged.begin(), x0);
                    for (std::size_t j = 1; j < points.size(); ++j) {
                        const double dj = dist(x0, points[j]);
                        auto at = std::find_if(merged.begin(), merged.end(),
                                               [&](const CDbPoint& p) { return dist(x0, p) > dj; });
                        merged.insert(at, points[j]);
                    }
                    const CDbPoint r = line.reference(minX, minY);
                    const double reach = dist(r, points.back());
                    const double first = g - e;
                    std::vector<char> taken(merged.size(), 0);
                    for (int cell = 1; first + (cell - 1) * e <= reach; ++cell) {
                        bool used = false;
                        if (kind == 4) {
                            used = (cell % 2) == (n % 2);
                        } else {
                            const int a = cell % 4, b = n % 7;
                            used = (a == 0 && b == 1) || (a == 1 && b == 3) || (a == 2 && b == 4) || (a == 3 && b == 2);
                        }
                        if (!used)
                            continue;
                        const double lo = first + (cell - 1) * e, hi = first + cell * e;
                        for (std::size_t j = 0; j + 1 < merged.size(); ++j) {
                            const double mean = (dist(r, merged[j]) + dist(r, merged[j + 1])) / 2.0;
                            if (taken[j] || mean < lo || mean > hi)
                                continue;
                            taken[j] = 1;
                            const double length = dist(merged[j], merged[j + 1]);
                            if (length < kMinJointLength)
                                continue;
                            bool spansOutline = false;
                            for (std::size_t k = 1; k + 1 < points.size(); ++k)
                                spansOutline = spansOutline ||
                                               std::fabs(length - dist(points[k], points[k + 1])) <= kJointLengthTolerance;
                            if (!spansOutline)
                                addSegment(merged[j], merged[j + 1]);
                        }
                    }
                }
            } else {
                addPairs(points);
            }
        }
        if (points.empty() && line.kind == SCAN_OBLIQUE && line.x > maxX)
            break;
        ++n;
        for (int extra = 1; extra < linesPerGroup; ++extra) {
            if (line.kind == SCAN_VERTICAL) {
                line.x += d;
            } else if (line.kind == SCAN_HORIZONTAL) {
                line.y += d;
            } else {
                line.x += d;
                line.k = line.y - line.m * line.x;
            }
            addPairs(crossEven(line));
            ++n;
        }
        if (line.kind == SCAN_VERTICAL) {
            line.x += e;
        } else if (line.kind == SCAN_HORIZONTAL) {
            line.y += e;
        } else {
            line.x += e;
            line.k = line.y - line.m * line.x;
        }
    } while (n <= kMaxScanLines);
}

void CKovUnit::AddRoomHatchLines(const DeviceTransform& transform, const CPlotInfo& plot, CKovLine& polygon,
                                 CKovGroup& group)
{
    CDbPointArray starts, ends;
    outlineOf(polygon.MLinePnt, starts, ends);
    const CRoomInfo& room = plot.m_RoomInfo;
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
    const double scale = transform.scaleX[static_cast<std::size_t>(g)];
    if (scale == 0.0)
        return;
    const double e = std::max(0.1, room.Room_HachKankaku) * transform.paperScale / scale;
    polygon.MLineParam = {room.Room_HachKankaku};

    SelectionRecord made;
    for (const Pass& pass : passesOf(polygon.MLineHachT, true))
        MakeHatchLines(made, plot, starts, ends, polygon.MLineLayer1, polygon.MLineLayer2, pass.angle, 0.0, e, 0.0,
                       0.0, 1, pass.kind);
    for (int id : made.m_Lines) {
        CKovLine* line = FindLine(id);
        if (!line)
            continue;
        line->MLineLineT = 0;
        line->MLineColor = room.Room_HachColor;
        line->MLineGrpID = group.MGrpID;
        group.MGrpLineID.push_back(id);
    }
}

int CKovUnit::HatchToLines(int figureId, SelectionRecord& selection, const DeviceTransform& transform,
                           double spacing, const CPlotInfo& defaults)
{
    CKovLine* figure = FindLine(figureId);
    if (!figure)
        return -1;
    figure->MLinePattern = 0;
    const bool closed = figure->MLineType == CKovLine::RECTANGLE || figure->MLineType == CKovLine::POLYGON;
    if (!closed || figure->MLinebHach != 1) {
        figure->MLinebHach = 0;
        return -1;
    }
    figure->MLinebHach = 0;
    CDbPointArray starts, ends;
    outlineOf(figure->MLinePnt, starts, ends);
    if (starts.size() < 3)
        return -1;

    CPlotInfo settings(defaults);
    settings.m_Layer.m_nCurrentGroup = figure->MLineLayer1;
    settings.m_Layer.m_nCurrentLayer = figure->MLineLayer2;
    settings.PlotColor[0] = figure->MLineColor;

    const int g = std::clamp(figure->MLineLayer1, 0, DeviceTransform::kLayerGroups - 1);
    const double scale = transform.scaleX[static_cast<std::size_t>(g)];
    if (scale == 0.0)
        return -1;
    const double e = spacing * transform.paperScale / scale;
    const std::vector<Pass> passes = passesOf(figure->MLineHachT, false);
    if (passes.empty())
        return -1;
    const int layerGroup = figure->MLineLayer1, layer = figure->MLineLayer2;
    SelectionRecord made;
    for (const Pass& pass : passes)
        MakeHatchLines(made, settings, starts, ends, layerGroup, layer, pass.angle, 0.0, e, 0.0, 0.0, 1, 0);
    GroupSelection(made, settings);
    selection.m_nCount += made.m_nCount;
    selection.m_Groups.insert(selection.m_Groups.end(), made.m_Groups.begin(), made.m_Groups.end());
    return made.m_Groups.size() == 1 ? made.m_Groups.front() : -1;
}

void CKovUnit::AllHatchesToLines(SelectionRecord& selection, const DeviceTransform& transform, double spacing,
                                 const CPlotInfo& defaults)
{
    selection.Clear();
    // The lines made on the way are visited too; they carry no hatch and pass at once.
    for (int i = 0; i < m_Lines.GetSize(); ++i)
        HatchToLines(std::as_const(m_Lines)[i]->MLineID, selection, transform, spacing, defaults);
}
