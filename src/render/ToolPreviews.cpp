// The frame every tool preview shares (named pens, marks, slot style painting), the previews of the
// figure tools, and the choice of preview by tool number.

#include "render/ToolPreviews.h"

#include "model/Geometry.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "render/Fills.h"
#include "render/LineStyles.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace pf = kov::platform;

namespace kov::render {

namespace {

constexpr int kLineSlot = 0;
constexpr int kRectSlot = 1;
constexpr int kCircleSlot = 3;
constexpr int kArcSlot = 4;

pf::PenStyle styleOfLineType(int lineType)
{
    switch (lineType) {
    case kDashedLine: return pf::PenStyle::Dash;
    case kDottedLine: return pf::PenStyle::Dot;
    case kDashDotLine: return pf::PenStyle::DashDot;
    case kDashDotDotLine: return pf::PenStyle::DashDotDot;
    default: return pf::PenStyle::Solid;
    }
}

} // namespace

int PreviewGroup(const CPlotInfo& plot)
{
    return std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
}

bool PreviewWithoutPoints(int tool)
{
    return tool == 37 || tool == 70;
}

pf::Pen SlotPen(const CPlotInfo& plot, int slot, bool solid)
{
    std::uint32_t colour = plot.PlotColor[std::size_t(slot)];
    if (plot.PlotSirokuro && colour != 0xFFFFFF) colour = 0x000000;
    const int lineType = plot.PlotLineType[std::size_t(slot)];
    if (lineType == kAuxiliaryLine) return {pf::PenStyle::Dot, 1, colour};
    const int width = plot.PenWidth(plot.PlotLineWide[std::size_t(slot)], false);
    return {solid ? pf::PenStyle::Solid : styleOfLineType(lineType), width, colour};
}

std::uint32_t SlotFillColour(const CPlotInfo& plot, int slot)
{
    const std::uint32_t c = plot.PlotNakaColor[std::size_t(slot)];
    if (!plot.PlotSirokuro) return c;
    return c == 0x000000 ? 0x000000 : 0xFFFFFF;
}

pf::Pen ConstructionPen(const CPlotInfo& plot)
{
    const std::uint32_t colour = plot.PlotColor[0];
    const int lineType = plot.PlotLineType[0];
    if (lineType == kAuxiliaryLine) return {pf::PenStyle::Dot, 1, colour};
    return {styleOfLineType(lineType), plot.PenWidth(plot.PlotLineWide[0], false), colour};
}

void DrawCentreMark(pf::Surface& dc, DevicePoint p, const pf::Pen& pen)
{
    const int h = g_nPickTolerance / 2;
    dc.line({p.x - h, p.y - h}, {p.x + h, p.y + h}, pen);
    dc.line({p.x - h, p.y + h}, {p.x + h, p.y - h}, pen);
}

void DrawPointMark(pf::Surface& dc, DevicePoint p, const pf::Pen& pen)
{
    const int h = g_nPickTolerance;
    dc.line({p.x - h, p.y - h}, {p.x + h, p.y + h}, pen);
    dc.line({p.x + h, p.y - h}, {p.x - h, p.y + h}, pen);
}

BoxFillet FilletBoxCorner(double x1, double y1, double x2, double y2, int corner, double r)
{
    // Counter-clockwise on the screen runs right → up → left → down; each corner's short arc
    // starts on the edge that comes first in that turn.
    switch (corner) {
    case 0: return {{x1 + r, y1 + r}, {x1 + r, y1}, {x1, y1 + r}};
    case 1: return {{x1 + r, y2 - r}, {x1, y2 - r}, {x1 + r, y2}};
    case 2: return {{x2 - r, y2 - r}, {x2 - r, y2}, {x2, y2 - r}};
    default: return {{x2 - r, y1 + r}, {x2, y1 + r}, {x2 - r, y1}};
    }
}

namespace {

// One closed slot-styled figure: the shape call S with a pen and brush, and for the curved ones
// the plain outline arc.
struct SlotShape {
    enum Kind { Rect, Ellipse, Pie, Chord } kind = Rect;
    pf::DeviceRect box;
    DevicePoint start;
    DevicePoint end;
};

void PaintSlotShape(pf::Surface& dc, const CKovUnit& unit, const DeviceTransform& t, const CPlotInfo& plot,
                    const CKovUnit::DrawEnvironment* env, int slot, const SlotShape& s, bool usePattern,
                    bool gradients, bool sectorRules)
{
    const std::size_t i = std::size_t(slot);
    const bool rect = s.kind == SlotShape::Rect;
    const int lineType = plot.PlotLineType[i];
    const pf::Pen outline = SlotPen(plot, slot, rect);
    const std::uint32_t fill = SlotFillColour(plot, slot);
    // The rectangle fills with a pen of its fill colour so the dashes drawn after stay visible.
    const pf::Pen shapePen = rect && lineType != kAuxiliaryLine
        ? pf::Pen{pf::PenStyle::Solid, plot.PenWidth(plot.PlotLineWide[i], false), fill}
        : outline;
    auto shape = [&](const pf::Pen& pen, const pf::Brush& brush, const pf::Background& bk) {
        switch (s.kind) {
        case SlotShape::Rect: dc.rectangle(s.box, pen, brush, bk); break;
        case SlotShape::Ellipse: dc.ellipse(s.box, pen, brush, bk); break;
        case SlotShape::Pie: dc.pie(s.box, s.start, s.end, pen, brush, bk); break;
        case SlotShape::Chord: dc.chord(s.box, s.start, s.end, pen, brush, bk); break;
        }
    };
    auto outlineArc = [&] {
        if (rect) return;
        dc.arc(s.box, s.start, s.end, outline);
    };
    auto gradientFill = [&](std::uint32_t c1, std::uint32_t c2, int code, int opacity) {
        if (rect) {
            const DevicePoint pts[4] = {{s.box.left, s.box.top}, {s.box.right, s.box.top},
                                        {s.box.right, s.box.bottom}, {s.box.left, s.box.bottom}};
            unit.FillGradientShape(dc, t, pts, 4, 1, 0, c1, c2, code, opacity, plot.PlotGradation);
            return;
        }
        const DevicePoint pts[4] = {{s.box.left, s.box.top}, {s.box.right, s.box.bottom}, s.start, s.end};
        unit.FillGradientShape(dc, t, pts, s.kind == SlotShape::Ellipse ? 2 : 4, s.kind == SlotShape::Ellipse ? 3 : 4, 0, c1, c2, code, opacity,
                               plot.PlotGradation);
        outlineArc();
    };

    bool painted = false;
    std::optional<QImage> pattern;
    if (usePattern && env != nullptr) pattern = PatternImage(*env, plot.PlotPattern[i], false, t.paperScale);
    if (pattern) {
        shape(shapePen, pf::Brush::patterned(*pattern), {});
    } else {
        const bool filled = plot.PlotNakaNuri[i] != 0;
        if (filled) {
            painted = true;
            if (!sectorRules) {
                shape(outline, pf::Brush::solid(fill), {});
            } else if (gradients && plot.PlotGradation != 0 && !plot.PlotSirokuro && plot.PlotGradiation[i] % 100 != 0
                       && fill != 0 && fill != 0xFFFFFF) {
                gradientFill(fill, plot.PlotNakaColor2[i], plot.PlotGradiation[i], plot.PlotAlpha[i]);
            } else if (!gradients || plot.PlotAlpha[i] == 100) {
                shape(shapePen, pf::Brush::solid(fill), {});
            } else {
                gradientFill(plot.PlotNakaColor[i], plot.PlotNakaColor[i], plot.PlotGradiation[i], plot.PlotAlpha[i]);
            }
        }
        if (plot.PlotbHach[i]) {
            if (const auto h = HatchStyleOf(plot.PlotHachT[i])) {
                painted = true;
                const pf::Background bk = !rect && filled ? pf::Background::opaqueColor(fill) : pf::Background{};
                shape(shapePen, pf::Brush::hatched(*h, outline.color), bk);
            }
        }
    }
    if (rect) {
        const pf::DeviceRect& b = s.box;
        const DevicePoint c[5] = {{b.left, b.top}, {b.left, b.bottom}, {b.right, b.bottom}, {b.right, b.top},
                                  {b.left, b.top}};
        for (int k = 0; k < 4; ++k) CKovUnit::DrawStyledLine(dc, t, lineType, c[k], c[k + 1], plot, outline);
    } else if (!painted && !pattern) {
        outlineArc();
    }
}

} // namespace

} // namespace kov::render

using namespace kov::render;
using PreviewInput = CKovUnit::PreviewInput;

namespace {

DevicePoint dev(const CDbPoint& p, const DeviceTransform& t, const CPlotInfo& plot)
{
    return ToDevicePoint(p, t, PreviewGroup(plot));
}

pf::DeviceRect boxAbout(const CDbPoint& c, double a, double b, const DeviceTransform& t, const CPlotInfo& plot)
{
    const DevicePoint tl = dev({c.x - a, c.y - b}, t, plot);
    const DevicePoint br = dev({c.x + a, c.y + b}, t, plot);
    return {tl.x, tl.y, br.x, br.y};
}

// The thick arc's band: as wide as a wall at the current layer group's scale.
void thickArcBand(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const pf::DeviceRect& box,
                  DevicePoint start, DevicePoint end)
{
    const double scale = plot.m_Layer.m_dScale[std::size_t(PreviewGroup(plot))];
    const double denom = scale > 0 ? scale : 100;
    const int width = truncToInt(plot.PlotWallWide * 2 / denom * t.paperScale) + 1;
    dc.arc(box, start, end, {pf::PenStyle::Solid, width, SlotPen(plot, 4, false).color});
}

} // namespace

void CKovUnit::DrawLinePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    const pf::Pen pen = SlotPen(plot, 0, true);
    const DevicePoint a = dev(in.last, t, plot);
    const DevicePoint b = dev(in.pointer, t, plot);
    DrawStyledLine(dc, t, plot.PlotLineType[0], a, b, plot, pen);
    if (plot.PlotLineTanten[0] != 0)
        DrawEndMarks(dc, t, plot, a, b, in.last, in.pointer, pen.color, plot.PlotLineTanten[0], plot.PlotLineYaWide,
                     pen);
}

void CKovUnit::DrawRectanglePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    const DevicePoint a = dev(in.last, t, plot);
    const DevicePoint b = dev(in.pointer, t, plot);
    if (a.x == b.x || a.y == b.y) return;
    SlotShape s;
    s.box = pf::DeviceRect{a.x, a.y, b.x, b.y}.normalized();
    PaintSlotShape(dc, *this, t, plot, in.env, 1, s, true, true, true);
}

void CKovUnit::DrawCirclePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    const CPlotInfo& plot = *in.plot;
    const CDbPoint radiusPoint = in.fixedRadiusOn ? PointTowards(in.last, in.pointer, in.fixedRadius) : in.pointer;
    const DevicePoint c = dev(in.last, t, plot);
    const DevicePoint p = dev(radiusPoint, t, plot);
    const double dx = double(p.x) - c.x;
    const double dy = double(p.y) - c.y;
    const int r = std::abs(truncToInt(std::sqrt(dx * dx + dy * dy)));
    SlotShape s;
    s.kind = SlotShape::Ellipse;
    s.box = {c.x - r, c.y - r, c.x + r, c.y + r};
    s.start = s.end = {c.x, c.y - r};  // the whole circle
    PaintSlotShape(dc, *this, t, plot, in.env, 3, s, true, true, true);
}

void CKovUnit::DrawEllipsePreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.size() < 2) return;
    const CPlotInfo& plot = *in.plot;
    const CDbPoint& c = in.points[0];
    SlotShape s;
    s.kind = SlotShape::Ellipse;
    s.box = boxAbout(c, std::fabs(c.x - in.points[1].x), std::fabs(c.y - in.pointer.y), t, plot);
    s.start = s.end = {s.box.left, s.box.top};  // the whole ellipse
    PaintSlotShape(dc, *this, t, plot, in.env, 3, s, false, true, true);
}

void CKovUnit::DrawArcPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.empty()) return;
    const CPlotInfo& plot = *in.plot;
    const CDbPoint& c = in.points[0];
    DrawCentreMark(dc, dev(c, t, plot), {pf::PenStyle::Solid, 1, kPreviewRed});
    if (in.points.size() < 2) return;
    const int arcType = plot.PlotLineTanten[4];
    double r = PointDistance(c.x, c.y, in.points[1].x, in.points[1].y);
    CDbPoint start = in.points[1];
    CDbPoint end = in.pointer;
    if (in.fixedRadiusOn && arcType != CKovLine::THICK_ARC) {
        r = in.fixedRadius;
        start = PointTowards(c, in.points[1], r);
        end = PointTowards(c, in.pointer, r);
    }
    SlotShape s;
    s.kind = arcType == CKovLine::CHORD_ARC || arcType == CKovLine::THICK_ARC ? SlotShape::Chord : SlotShape::Pie;
    s.box = boxAbout(c, r, r, t, plot);
    s.start = dev(start, t, plot);
    s.end = dev(end, t, plot);
    PaintSlotShape(dc, *this, t, plot, in.env, 4, s, true, true, arcType == CKovLine::SECTOR_ARC);
    if (arcType == CKovLine::THICK_ARC) thickArcBand(dc, t, plot, s.box, s.start, s.end);
}

void CKovUnit::DrawEllipticArcPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.size() < 2) return;
    const CPlotInfo& plot = *in.plot;
    const CDbPoint& c = in.points[0];
    const double h = in.points.size() == 2 ? in.pointer.y : in.points[2].y;
    SlotShape s;
    s.kind = plot.PlotLineTanten[4] == CKovLine::CHORD_ARC ? SlotShape::Chord : SlotShape::Pie;
    s.box = boxAbout(c, std::fabs(c.x - in.points[1].x), std::fabs(c.y - h), t, plot);
    s.start = s.end = {s.box.left, s.box.top};
    if (in.points.size() >= 4) {
        // The surface puts the ends on the radials through these points, as the arc tool does.
        s.start = dev(in.points[3], t, plot);
        s.end = dev(in.pointer, t, plot);
    }
    PaintSlotShape(dc, *this, t, plot, in.env, 4, s, false, false, false);
    if (in.points.size() == 3)
        dc.line(dev(c, t, plot), dev(in.pointer, t, plot), {pf::PenStyle::Dot, 1, 0x000000});
}

void CKovUnit::DrawThreePointArcPreview(pf::Surface& dc, const DeviceTransform& t, const PreviewInput& in) const
{
    if (in.points.empty()) return;
    const CPlotInfo& plot = *in.plot;
    if (in.points.size() == 1) {
        DrawCentreMark(dc, dev(in.points[0], t, plot), {pf::PenStyle::Solid, 1, kPreviewRed});
        return;
    }
    const double x1 = in.points[0].x, y1 = in.points[0].y;
    const double x2 = in.points[1].x, y2 = in.points[1].y;
    const double x3 = in.pointer.x, y3 = in.pointer.y;
    const double a1 = 2 * (x2 - x1), b1 = 2 * (y2 - y1), c1 = x2 * x2 - x1 * x1 + y2 * y2 - y1 * y1;
    const double a2 = 2 * (x3 - x1), b2 = 2 * (y3 - y1), c2 = x3 * x3 - x1 * x1 + y3 * y3 - y1 * y1;
    const double det = a1 * b2 - a2 * b1;
    if (det == 0) return;
    const CDbPoint centre{(c1 * b2 - c2 * b1) / det, (a1 * c2 - a2 * c1) / det};
    const double r = PointDistance(centre.x, centre.y, x3, y3);
    bool exchange = false;
    if (x1 == x2) {
        exchange = y1 < y2 ? x1 < x3 : x3 < x1;
    } else if (y1 == y2) {
        exchange = x1 < x2 ? y3 < y1 : y1 < y3;
    } else {
        double m = 0, k = 0;
        LineSlopeIntercept(m, k, x1, y1, x2, y2);
        exchange = k < y3 - m * x3 ? x2 < x1 : x1 < x2;
    }
    CDbPoint start = in.points[0];
    CDbPoint end = in.points[1];
    if (exchange) std::swap(start, end);
    const int arcType = plot.PlotLineTanten[4];
    SlotShape s;
    s.kind = arcType == CKovLine::CHORD_ARC || arcType == CKovLine::THICK_ARC ? SlotShape::Chord : SlotShape::Pie;
    s.box = boxAbout(centre, r, r, t, plot);
    s.start = dev(start, t, plot);
    s.end = dev(end, t, plot);
    PaintSlotShape(dc, *this, t, plot, in.env, 4, s, false, true, arcType == CKovLine::SECTOR_ARC);
    if (arcType == CKovLine::THICK_ARC) thickArcBand(dc, t, plot, s.box, s.start, s.end);
}

void CKovUnit::DrawToolPreview(pf::Surface& dc, const DeviceTransform& t, int tool, const PreviewInput& in) const
{
    if (in.plot == nullptr) return;
    if (in.points.empty() && !PreviewWithoutPoints(tool)) return;
    switch (tool) {
    case 1: DrawWallPreview(dc, t, in); break;
    case 3: DrawLinePreview(dc, t, in); break;
    case 4: DrawRectanglePreview(dc, t, in); break;
    case 6: DrawCirclePreview(dc, t, in); break;
    case 7: DrawArcPreview(dc, t, in); break;
    case 8: DrawTextPreview(dc, t, in); break;
    case 9: DrawDimensionPreview(dc, t, in); break;
    case 10: DrawRectRoomPreview(dc, t, in); break;
    case 11: DrawPolygonRoomPreview(dc, t, in); break;
    case 15: DrawLengthLinePreview(dc, t, in); break;
    case 16: DrawAngleLinePreview(dc, t, in); break;
    case 17: DrawPerpendicularPreview(dc, t, in); break;
    case 18: DrawCutLinePreview(dc, t, in); break;
    case 19: DrawPartialDeletePreview(dc, t, in); break;
    case 21: DrawParallelLinePreview(dc, t, in); break;
    case 22: DrawDoubleLinePreview(dc, t, in); break;
    case 23: DrawTangentPreview(dc, t, in); break;
    case 24: DrawTangentSecondPreview(dc, t, in); break;
    case 25: DrawThreePointArcPreview(dc, t, in); break;
    case 28: DrawEllipsePreview(dc, t, in); break;
    case 29: DrawEllipticArcPreview(dc, t, in); break;
    case 30: case 31: case 53: case 54: case 58: DrawPointChainPreview(dc, t, in.points, in.pointer, *in.plot); break;
    case 52: DrawRoofPreview(dc, t, in); break;
    case 32: DrawTrimExtendPreview(dc, t, in); break;
    case 33: DrawEqualDivisionPreview(dc, t, in); break;
    case 34: DrawEnvelopePreview(dc, t, in); break;
    case 35: DrawCornerPreview(dc, t, in); break;
    case 37:
        // The paper follows the pointer only until the tool has its point.
        if (in.points.empty()) DrawPaperFramePreview(dc, t, in);
        break;
    case 38: case 39: case 60: DrawRangeMovePreview(dc, t, in); break;
    case 40: case 41: case 42: case 43: case 44: case 45: DrawRangeTransformPreview(dc, t, in); break;
    case 46: DrawRangeDeletePreview(dc, t, in); break;
    case 50: DrawTrianglePreview(dc, t, in); break;
    case 55: DrawFittingPreview(dc, t, in); break;
    case 56: DrawStairsPreview(dc, t, in); break;
    case 57: DrawWallCutPreview(dc, t, in); break;
    case 62: DrawRoundedRectPreview(dc, t, in); break;
    case 64: DrawDividePreview(dc, t, in); break;
    case 66: DrawBendWallPreview(dc, t, in); break;
    case 68: DrawBalloonPreview(dc, t, in); break;
    case 69: DrawNotationSymbolPreview(dc, t, in); break;
    case 70: DrawDecoratedTextPreview(dc, t, in); break;
    case 71: DrawImageFitPreview(dc, t, in); break;
    default: break;
    }
}
