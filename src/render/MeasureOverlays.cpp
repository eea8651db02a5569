#include "render/MeasureOverlays.h"

#include "model/Geometry.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"
#include "render/RubberBands.h"
#include "render/ToolPreviews.h"

#include <cmath>
#include <vector>

namespace kov::render {

namespace pf = kov::platform;

namespace {

constexpr std::uint32_t kBoxColour = 0xEFE3FD;

DevicePoint dev(const CDbPoint& p, const DeviceTransform& t, const CPlotInfo& plot)
{
    return ToDevicePoint(p, t, PreviewGroup(plot));
}

std::vector<DevicePoint> devChain(const CDbPointArray& points, const CDbPoint& pointer, bool close,
                                  const DeviceTransform& t, const CPlotInfo& plot)
{
    std::vector<DevicePoint> out;
    out.reserve(points.size() + 2);
    for (const CDbPoint& p : points) out.push_back(dev(p, t, plot));
    out.push_back(dev(pointer, t, plot));
    if (close) out.push_back(out.front());
    return out;
}

double areaWithPointer(const CDbPointArray& points, const CDbPoint& pointer)
{
    CDbPointArray poly = points;
    poly.push_back(pointer);
    return PolygonArea(poly);
}

} // namespace

void DrawValueBox(pf::Surface& dc, const MeasureOverlayFrame& frame, const std::string& text)
{
    pf::TextStyle style;
    style.font.faceName = frame.faceName;
    style.font.height = frame.dpiAware > 144 ? 16 * frame.dpiAware / 96 : 16;
    style.font.weight = 400;
    style.font.charSet = 1;
    style.font.outPrecision = 3;
    style.font.clipPrecision = 2;
    style.font.quality = 1;
    style.font.pitchAndFamily = 0x31;
    style.hAlign = pf::TextHAlign::Right;
    const pf::TextSize size = dc.textExtent(text, style.font);
    const int n = frame.snapTolerance;
    const int left = frame.pointerPx.x + n;
    const int bottom = frame.pointerPx.y - size.cy - n;
    const pf::DeviceRect box{left, bottom - size.cy, left + size.cx, bottom};
    dc.fillRect(box, pf::Brush::solid(kBoxColour));
    dc.textOut({box.right, box.top}, text, style);
}

double DrawAngleReadout(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const CDbPointArray& points,
                        const CDbPoint& pointer, const MeasureOverlayFrame& frame, bool clockwise)
{
    if (points.size() != 1) return -1;
    const pf::Pen pen{pf::PenStyle::Dash, 1, kPreviewRed};
    const DevicePoint a = dev(points[0], t, plot);
    const int n = frame.snapTolerance;
    dc.line(a, frame.pointerPx, pen);
    dc.arc({a.x - n, a.y - n, a.x + n, a.y + n}, {a.x + n, a.y}, frame.pointerPx, pen);
    double angle = VectorAngle(points[0].x, points[0].y, pointer.x, pointer.y);
    if (clockwise) angle = 360 - angle;
    DrawValueBox(dc, frame, pf::formatFixed(angle, 1) + "度");
    return angle;
}

double DrawLengthTotal(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const CDbPointArray& points,
                       const CDbPoint& pointer, const MeasureOverlayFrame& frame)
{
    if (points.empty()) return 0;
    double total = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        total += PointDistance(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    total += PointDistance(points.back().x, points.back().y, pointer.x, pointer.y);
    dc.polyline(devChain(points, pointer, false, t, plot), {pf::PenStyle::Dash, 1, kPreviewRed});
    DrawValueBox(dc, frame, "累計 " + pf::formatFixed(total, 2) + "mm");
    return total;
}

double DrawAreaTotal(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const CDbPointArray& points,
                     const CDbPoint& pointer, const MeasureOverlayFrame& frame)
{
    if (points.empty()) return 0;
    const pf::Pen pen{pf::PenStyle::Dash, 1, kPreviewRed};
    if (points.size() == 1) {
        dc.line(dev(points[0], t, plot), dev(pointer, t, plot), pen);
        return 0;
    }
    // As many corners as the user clicked: the polygon has no fixed limit.
    const std::vector<DevicePoint> poly = devChain(points, pointer, true, t, plot);
    dc.polygon(poly, pf::FillRule::Alternate, pen, pf::Brush::hatched(pf::HatchStyle::BackwardDiagonal, kPreviewRed));
    const double area = areaWithPointer(points, pointer) / 1000000.0;
    DrawValueBox(dc, frame, "累計 " + pf::formatFixed(area, 2) + "㎡");
    return area;
}

std::string RoomAreaLabelText(const CDbPointArray& points, const CDbPoint& pointer, bool squareMetres,
                              double gridModule, bool gridSnap)
{
    if (points.empty()) return {};
    const double d = PointDistance(points.back().x, points.back().y, pointer.x, pointer.y);
    if (points.size() == 1) return pf::formatFixed(d, 2);
    const double area = areaWithPointer(points, pointer);
    if (squareMetres) return pf::formatFixed(d, 2) + " :" + pf::formatFixed(area / 1000000.0, 2) + "㎡";
    const double mats = gridModule != 0 ? RoundDecimals(area / (2 * gridModule * gridModule), 2) : 0;
    return pf::formatFixed(d, 2) + " :" + pf::formatFixed(mats, gridSnap ? 1 : 2) + "帖";
}

void DrawRoomAreaLabels(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, const CDbPointArray& points,
                        const CDbPoint& pointer, const MeasureOverlayFrame& frame, bool squareMetres,
                        double gridModule, bool gridSnap)
{
    if (points.empty()) return;
    if (points.size() >= 2)
        dc.polyline(devChain(points, pointer, true, t, plot), {pf::PenStyle::Dot, 1, kPreviewRed});
    DrawValueBox(dc, frame, RoomAreaLabelText(points, pointer, squareMetres, gridModule, gridSnap));
}

bool HasPointsPreview(int tool)
{
    return tool == 5 || tool == 26 || tool == 27 || tool == 54 || tool == 61;
}

void DrawPointsPreview(pf::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, int tool,
                       const CDbPointArray& points, const CDbPoint& pointer, bool arcMode, int arcPieces,
                       double leftDistance, double rightDistance)
{
    if (!HasPointsPreview(tool)) return;
    const CDbPointArray* list = &points;
    CDbPoint freeEnd = pointer;
    CDbPointArray withArc;
    if (arcMode) {
        // No pieces: no arc to lay (the setting is free text).
        if (points.size() < 2 || arcPieces <= 0) return;
        CDbPointArray inner;
        const std::size_t n = points.size();
        if (CircleThroughThreePoints(inner, points[n - 2], points[n - 1], pointer, arcPieces) == 0) return;
        withArc.assign(points.begin(), points.end() - 1);
        withArc.insert(withArc.end(), inner.begin(), inner.end());
        list = &withArc;
        freeEnd = points[n - 1];
    }
    if (tool == 5) DrawPolygonChainPreview(dc, t, *list, freeEnd, plot);
    else if (tool == 26) CKovUnit::DrawPointChainPreview(dc, t, *list, freeEnd, plot);
    else DrawParallelPolylinesPreview(dc, t, *list, freeEnd, plot, leftDistance, rightDistance);
}

double DrawToolOverlay(pf::Surface& dc, const DeviceTransform& t, const CKovUnit& unit, int tool,
                       const CKovUnit::PreviewInput& in, const MeasureOverlayFrame& frame,
                       const ToolOverlayOptions& options)
{
    if (in.plot == nullptr) return -1;
    const CPlotInfo& plot = *in.plot;
    if (HasPointsPreview(tool)) {
        DrawPointsPreview(dc, t, plot, tool, in.points, in.pointer, options.arcMode, options.arcPieces, in.doubleLeft,
                          in.doubleRight);
        return -1;
    }
    switch (tool) {
    case 47: return DrawAngleReadout(dc, t, plot, in.points, in.pointer, frame, options.clockwiseAngles);
    case 48: DrawAreaTotal(dc, t, plot, in.points, in.pointer, frame); return -1;
    case 49: DrawLengthTotal(dc, t, plot, in.points, in.pointer, frame); return -1;
    default: break;
    }
    unit.DrawToolPreview(dc, t, tool, in);
    return -1;
}

} // namespace kov::render
