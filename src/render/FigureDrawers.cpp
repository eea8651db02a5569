#include "render/FigureDrawers.h"

#include "model/DrawTransform.h"
#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "platform/Profile.h"
#include "platform/Surface.h"
#include "render/LineStyles.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>
#include <utility>

namespace pf = kov::platform;
using namespace kov::render;

namespace kov::render {

int StartHalfOfEndMarks(int code)
{
    switch (code) {
    case 1: case 4: case 7: case 10: return code;
    case 3: case 6: case 9: case 12: return code - 2;
    default: return 0;
    }
}

int EndHalfOfEndMarks(int code)
{
    switch (code) {
    case 2: case 5: case 8: case 11: return code;
    case 3: case 6: case 9: case 12: return code - 1;
    default: return 0;
    }
}

double ThickArcBandWidth(const CKovLine& figure, const CPlotInfo& plot)
{
    return figure.MLineParam.size() == 3 ? figure.MLineParam[2] : 2 * plot.PlotWallWide;
}

} // namespace kov::render

namespace {

const pf::Background kTransparent = pf::Background::transparent();

// A thick arc's band is never wider than this many pixels: far more than any screen or page shows.
constexpr int kMaxBandPixels = 1 << 16;

// Everything the closed-figure drawers share: colours after the colour modes, the figure's pen,
// the pen that paints fills of rectangles and polygons, pattern and hatch.
struct ClosedStyle {
    FigureColours colours;
    pf::Pen pen;        // the figure's own pen (none for broken circles and arcs)
    pf::Pen fillPen;    // rectangles and polygons paint fills and hatches with it
    int width = 1;
    bool printing = false;
    std::optional<QImage> pattern;
    std::optional<pf::HatchStyle> hatch;
    bool filled = false;
};

bool isBroken(int lineType) { return lineType >= kDashedLine && lineType <= kDashDotDotLine; }

ClosedStyle closedStyle(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                        const CPlotInfo& plot, bool output, const CKovUnit::DrawEnvironment& env, bool curvedShape)
{
    ClosedStyle s;
    s.printing = dc.device().isPrinting;
    s.colours = FigureColoursOf(figure, plot, output);
    s.width = LinePenWidth(plot, figure.MLineWide, s.printing);
    s.pen = FigurePen(plot, figure.MLineLineT, figure.MLineWide, s.colours.outline, s.printing, output);
    // Broken circles and arcs get their dashes from the arc walk afterwards, not from the shape.
    if (curvedShape && isBroken(figure.MLineLineT)) s.pen = pf::Pen{pf::PenStyle::Null, 0, 0};
    s.fillPen = figure.MLineLineT == kAuxiliaryLine ? s.pen : pf::Pen{pf::PenStyle::Solid, s.width, s.colours.fill};
    if (figure.MLineNoOutline != 0 && figure.MLinebNakanuri != 0) {
        // A fill without an outline (a Jw_cad solid): a one-pixel edge of the fill's own colour
        // keeps a thin solid visible without drawing it larger.
        s.pen = pf::Pen{pf::PenStyle::Null, 0, 0};
        s.fillPen = pf::Pen{pf::PenStyle::Solid, 1, s.colours.fill};
    }
    s.pattern = PatternImage(env, figure.MLinePattern, s.printing, transform.paperScale);
    s.hatch = figure.MLinebHach != 0 ? HatchStyleOf(figure.MLineHachT) : std::nullopt;
    s.filled = figure.MLinebNakanuri != 0;
    return s;
}

pf::Background hatchBackground(const ClosedStyle& s)
{
    return s.filled ? pf::Background::opaqueColor(s.colours.fill) : kTransparent;
}

bool hasPoints(const CKovLine& figure, std::size_t points, std::size_t params = 0)
{
    return figure.MLinePnt.size() >= points && figure.MLineParam.size() >= params;
}

// The box of a circle or ellipse figure in device pixels: centre ± radius, the y radius scaled by
// the ratio when the figure holds exactly two parameters.
pf::DeviceRect circleBox(const CKovLine& figure, const DeviceTransform& transform)
{
    const CDbPoint& c = figure.MLinePnt[0];
    const double r = figure.MLineParam[0];
    const double ry = figure.MLineParam.size() == 2 ? r * figure.MLineParam[1] : r;
    const DevicePoint tl = ToDevicePoint(CDbPoint(c.x - r, c.y - ry), transform, figure.MLineLayer1);
    const DevicePoint br = ToDevicePoint(CDbPoint(c.x + r, c.y + ry), transform, figure.MLineLayer1);
    return {tl.x, tl.y, br.x, br.y};
}

std::vector<DevicePoint> devicePoints(const CKovLine& figure, std::size_t count, const DeviceTransform& transform)
{
    std::vector<DevicePoint> pts;
    pts.reserve(count + 1);
    for (std::size_t i = 0; i < count; ++i) pts.push_back(ToDevicePoint(figure.MLinePnt[i], transform, figure.MLineLayer1));
    pts.push_back(pts.front());
    return pts;
}

// Rectangles and polygons: pattern, or fill then hatch, then the outline edge by edge in the line
// type. `closed` holds the corners and the first corner again. `carryUsed` carries the dash
// pattern's used length across corners (rectangles); polygons restart each edge at its phase.
void drawClosedPolygon(const CKovUnit& unit, pf::Surface& dc, const DeviceTransform& transform,
                       const CKovLine& figure, const CPlotInfo& plot, bool output,
                       const CKovUnit::DrawEnvironment& env, const std::vector<DevicePoint>& closed, bool carryUsed,
                       std::optional<std::uint32_t> outlineOverride = std::nullopt)
{
    if (!FigureDrawnInLineType(figure.MLineType, figure.MLineLineT, output, env.printAuxiliaryFills != 0)) return;
    ClosedStyle s = closedStyle(dc, transform, figure, plot, output, env, false);
    if (outlineOverride) {
        s.colours.outline = *outlineOverride;
        s.pen.color = *outlineOverride;
    }
    const std::vector<pf::DevicePoint>& pts = closed;

    if (s.pattern) {
        dc.polygon(pts, pf::FillRule::Alternate, s.fillPen, pf::Brush::patterned(*s.pattern), kTransparent);
    } else {
        if (s.filled) {
            const FillChoice f = ChooseFill(figure, plot, s.colours, output, env.traceMode);
            if (f.gradient) {
                // Without the closing corner, which would pull a path gradient's centre towards it.
                unit.FillGradientShape(dc, transform, closed.data(), static_cast<int>(closed.size()) - 1,
                                       figure.MLineType == CKovLine::RECTANGLE ? 1 : 2, figure.MLineGrpID, f.first,
                                       f.second, figure.MLineGradiation, f.opacity, plot.PlotGradation);
            } else {
                dc.polygon(pts, pf::FillRule::Alternate, s.fillPen, pf::Brush::solid(f.first), kTransparent);
            }
        }
        if (s.hatch) {
            dc.polygon(pts, pf::FillRule::Alternate, s.fillPen, pf::Brush::hatched(*s.hatch, s.colours.outline),
                       hatchBackground(s));
        }
    }

    if (s.pen.style == pf::PenStyle::Null) return;
    int phaseIndex = 0;
    int used = 0;
    for (std::size_t i = 0; i + 1 < closed.size(); ++i)
        used = CKovUnit::DrawStyledSegment(dc, transform, figure.MLineLineT, closed[i], closed[i + 1], plot, phaseIndex,
                                           carryUsed ? used : 0, s.pen);
}

} // namespace

void CKovUnit::DrawFigureLine(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                              const CPlotInfo& plot, bool output, const DrawEnvironment& env) const
{
    if (!hasPoints(figure, 2)) return;
    if (!FigureDrawnInLineType(CKovLine::LINE, figure.MLineLineT, output, env.printAuxiliaryFills != 0)) return;
    FigureColours colours = FigureColoursOf(figure, plot, output);

    // In black and white a room's hatch lines show only over a room floor of the marked green.
    if (colours.blackAndWhite && env.roomLinesNeedGreenFloor != 0 && figure.MLineGrpID != 0) {
        const CKovGroup* group = std::as_const(*this).FindGroup(figure.MLineGrpID);
        if (group != nullptr && group->MGrpRoom == CKovGroup::ROOM) {
            const CKovLine* first = group->MGrpLineID.empty() ? nullptr : FindLine(group->MGrpLineID.front());
            const bool greenFloor = first != nullptr && first->MLineType == CKovLine::POLYGON
                                    && first->MLinebNakanuri != 0 && first->MLineNakaColor == kRoomFloorColour;
            if (!greenFloor) return;
            if (!colours.greyed) colours.outline = 0;
        }
    }

    const bool printing = dc.device().isPrinting;
    const pf::Pen pen = FigurePen(plot, figure.MLineLineT, figure.MLineWide, colours.outline, printing, output);
    const DevicePoint a = ToDevicePoint(figure.MLinePnt[0], transform, figure.MLineLayer1);
    const DevicePoint b = ToDevicePoint(figure.MLinePnt[1], transform, figure.MLineLayer1);
    DrawStyledLine(dc, transform, figure.MLineLineT, a, b, plot, pen);
    if (figure.MLineTanten != 0) {
        DrawEndMarks(dc, transform, plot, a, b, figure.MLinePnt[0], figure.MLinePnt[1], colours.outline,
                     figure.MLineTanten, figure.MLineYaWide, pen);
    }
}

void CKovUnit::DrawFigureRectangle(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                                   const CPlotInfo& plot, bool output, const DrawEnvironment& env) const
{
    if (!hasPoints(figure, 4)) return;
    drawClosedPolygon(*this, dc, transform, figure, plot, output, env, devicePoints(figure, 4, transform), true);
}

void CKovUnit::DrawFigurePolygon(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                                 const CPlotInfo& plot, bool output, const DrawEnvironment& env) const
{
    if (!hasPoints(figure, 1)) return;
    // A lone unhatched room floor may lose its outline in black and white, so the room's walls
    // alone bound it on paper.
    bool whiteOutline = false;
    if (plot.PlotSirokuro != 0 && figure.MLinebHach == 0 && figure.MLineGrpID != 0 && RoomOutlinesWhite(env)) {
        const CKovGroup* group = std::as_const(*this).FindGroup(figure.MLineGrpID);
        whiteOutline = group != nullptr && group->MGrpRoom == CKovGroup::ROOM && group->MGrpLineID.size() == 1
                       && group->MGrpLineID.front() == figure.MLineID;
    }
    const bool greyed = IsGreyedOut(plot, figure.MLineLayer1, figure.MLineLayer2, output);
    drawClosedPolygon(*this, dc, transform, figure, plot, output, env,
                      devicePoints(figure, figure.MLinePnt.size(), transform), false,
                      whiteOutline && !greyed ? std::optional<std::uint32_t>(0xFFFFFF) : std::nullopt);
}

void CKovUnit::DrawFigureCircle(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                                const CPlotInfo& plot, bool output, const DrawEnvironment& env) const
{
    if (!hasPoints(figure, 1, 1)) return;
    if (!FigureDrawnInLineType(CKovLine::CIRCLE, figure.MLineLineT, output, env.printAuxiliaryFills != 0)) return;
    const ClosedStyle s = closedStyle(dc, transform, figure, plot, output, env, true);
    const pf::DeviceRect box = circleBox(figure, transform);

    if (s.pattern) {
        dc.ellipse(box, s.pen, pf::Brush::patterned(*s.pattern), kTransparent);
    } else {
        if (s.filled) {
            const FillChoice f = ChooseFill(figure, plot, s.colours, output, env.traceMode);
            if (f.gradient) {
                const DevicePoint corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
                FillGradientShape(dc, transform, corners, 2, 3, figure.MLineGrpID, f.first, f.second,
                                  figure.MLineGradiation, f.opacity, plot.PlotGradation);
                dc.ellipse(box, s.pen, pf::Brush::null(), kTransparent);
            } else {
                dc.ellipse(box, s.pen, pf::Brush::solid(f.first), kTransparent);
            }
        }
        if (s.hatch) dc.ellipse(box, s.pen, pf::Brush::hatched(*s.hatch, s.colours.outline), hatchBackground(s));
        if (!s.filled && !s.hatch) dc.ellipse(box, s.pen, pf::Brush::null(), kTransparent);
    }

    if (isBroken(figure.MLineLineT)) {
        const CDbPoint& c = figure.MLinePnt[0];
        const CDbPoint right(c.x + figure.MLineParam[0], c.y);
        DrawDashedArc(dc, transform, figure.MLineLineT, box, c, right, right, figure, plot, s.width, s.colours.outline);
    }
}

void CKovUnit::DrawFigureArc(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                             const CPlotInfo& plot, bool output, const DrawEnvironment& env) const
{
    if (!hasPoints(figure, 3, 1)) return;
    if (!FigureDrawnInLineType(CKovLine::ARC, figure.MLineLineT, output, env.printAuxiliaryFills != 0)) return;
    const CDbPoint& startReal = figure.MLinePnt[1];
    const CDbPoint& endReal = figure.MLinePnt[2];
    const pf::DeviceRect box = circleBox(figure, transform);
    const pf::DevicePoint start = ToDevicePoint(startReal, transform, figure.MLineLayer1);
    const pf::DevicePoint end = ToDevicePoint(endReal, transform, figure.MLineLayer1);
    // Ends that differ in both x and y yet meet on the device would read as a whole ellipse: such a
    // tiny arc draws nothing.
    if (start == end && startReal.x != endReal.x && startReal.y != endReal.y) return;

    ClosedStyle s = closedStyle(dc, transform, figure, plot, output, env, true);
    const int arcType = figure.MLineTanten;
    if (figure.MLineLineT != kAuxiliaryLine && arcType == kThickArc) s.pen = pf::Pen{pf::PenStyle::Solid, 1, s.colours.fill};

    auto shape = [&](const pf::Brush& brush, const pf::Background& bk) {
        if (arcType == kSectorArc) dc.pie(box, start, end, s.pen, brush, bk);
        else dc.chord(box, start, end, s.pen, brush, bk);
    };

    if (s.pattern) {
        shape(pf::Brush::patterned(*s.pattern), kTransparent);
    } else {
        bool filledShown = false;
        if (s.filled && arcType == kSectorArc) {
            const FillChoice f = ChooseFill(figure, plot, s.colours, output, env.traceMode);
            if (f.gradient) {
                const DevicePoint pts[4] = {{box.left, box.top}, {box.right, box.bottom}, {start.x, start.y},
                                            {end.x, end.y}};
                FillGradientShape(dc, transform, pts, 4, 4, figure.MLineGrpID, f.first, f.second,
                                  figure.MLineGradiation, f.opacity, plot.PlotGradation);
                dc.arc(box, start, end, s.pen, kTransparent);
            } else {
                dc.pie(box, start, end, s.pen, pf::Brush::solid(f.first), kTransparent);
            }
            filledShown = true;
        } else if (s.filled && (arcType == kChordArc || arcType == kThickArc)) {
            // Chords lay their fill plainly: no tracing, gradient or opacity.
            dc.chord(box, start, end, s.pen, pf::Brush::solid(s.colours.fill), kTransparent);
            filledShown = true;
        }
        if (s.hatch) shape(pf::Brush::hatched(*s.hatch, s.colours.outline), hatchBackground(s));
        if (!filledShown && !s.hatch) dc.arc(box, start, end, s.pen, kTransparent);
    }

    if (arcType == kThickArc) {
        // The band's width is drawing millimetres at the layer group's scale, shown on paper.
        const int lg = std::clamp(figure.MLineLayer1, 0, CLayer::kRecords - 1);
        double denominator = plot.m_Layer.m_dScale[static_cast<std::size_t>(lg)];
        if (!(denominator > 0)) denominator = 1;
        // A damaged band width (negative, huge, NaN) gives a 1-pixel band or the widest sane pen,
        // never an overflowing width.
        const int band = std::clamp(truncToInt(ThickArcBandWidth(figure, plot) / denominator * transform.paperScale),
                                    0, kMaxBandPixels);
        const int width = band + 1;
        dc.arc(box, start, end, pf::Pen{pf::PenStyle::Solid, width, s.colours.outline}, kTransparent);
    } else if (isBroken(figure.MLineLineT)) {
        DrawDashedArc(dc, transform, figure.MLineLineT, box, figure.MLinePnt[0], startReal, endReal, figure, plot,
                      s.width, s.colours.outline);
    }
}

void CKovUnit::DrawFigureCurve(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                               const CPlotInfo& plot, bool output, const DrawEnvironment& env) const
{
    if (!hasPoints(figure, 2)) return;
    if (!FigureDrawnInLineType(CKovLine::CONTINUOUS, figure.MLineLineT, output, env.printAuxiliaryFills != 0)) return;
    const FigureColours colours = FigureColoursOf(figure, plot, output);
    const pf::Pen pen =
        FigurePen(plot, figure.MLineLineT, figure.MLineWide, colours.outline, dc.device().isPrinting, output);

    const std::size_t n = figure.MLinePnt.size();
    std::vector<DevicePoint> pts;
    pts.reserve(n);
    for (const CDbPoint& p : figure.MLinePnt) pts.push_back(ToDevicePoint(p, transform, figure.MLineLayer1));

    int phaseIndex = 0;
    int used = 0;
    for (std::size_t i = 0; i + 1 < n; ++i)
        used = DrawStyledSegment(dc, transform, figure.MLineLineT, pts[i], pts[i + 1], plot, phaseIndex, used, pen);

    if (figure.MLineTanten == 0) return;
    if (const int code = StartHalfOfEndMarks(figure.MLineTanten); code != 0) {
        DrawEndMarks(dc, transform, plot, pts[0], pts[1], figure.MLinePnt[0], figure.MLinePnt[1], colours.outline, code,
                     figure.MLineYaWide, pen);
    }
    if (const int code = EndHalfOfEndMarks(figure.MLineTanten); code != 0) {
        DrawEndMarks(dc, transform, plot, pts[n - 2], pts[n - 1], figure.MLinePnt[n - 2], figure.MLinePnt[n - 1],
                     colours.outline, code, figure.MLineYaWide, pen);
    }
}

void CKovUnit::DrawFigure(pf::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                          const CPlotInfo& plot, bool output, const DrawEnvironment& env) const
{
    switch (figure.MLineType) {
    case CKovLine::LINE: DrawFigureLine(dc, transform, figure, plot, output, env); break;
    case CKovLine::RECTANGLE: DrawFigureRectangle(dc, transform, figure, plot, output, env); break;
    case CKovLine::POLYGON: DrawFigurePolygon(dc, transform, figure, plot, output, env); break;
    case CKovLine::CIRCLE: DrawFigureCircle(dc, transform, figure, plot, output, env); break;
    case CKovLine::ARC: DrawFigureArc(dc, transform, figure, plot, output, env); break;
    case CKovLine::DIMENSION: DrawFigureDimension(dc, transform, figure, plot, output); break;
    case CKovLine::CONTINUOUS: DrawFigureCurve(dc, transform, figure, plot, output, env); break;
    default: break;
    }
}
