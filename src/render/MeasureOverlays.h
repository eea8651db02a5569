#pragma once

// The readouts of the measuring tools and the rubber band of the multi-point tools, drawn over the
// view's copy of its back buffer while points are collected: the angle of the three-point angle
// tool, the running length and area totals, the length and area label of the polygon room, and the
// chain of the polygon, continuous-line, double-line and balcony tools with its arc mode.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"
#include "platform/Surface.h"
#include "render/ToolPreviews.h"

#include <string>

class CPlotInfo;

namespace kov::render {

// Where the overlays sit and how big their value box is.
struct MeasureOverlayFrame {
    DevicePoint pointerPx;       // the pointer on this surface
    int snapTolerance = kDefaultSnapTolerance;
    int dpiAware = 96;           // app_dpiaware
    std::string faceName;        // the face of the surface's current font
};

// The pale box beside the pointer with the text right-aligned in it.
void DrawValueBox(platform::Surface& dc, const MeasureOverlayFrame& frame, const std::string& text);

// Tool 47 with exactly one point: the dashed line and arc and the angle as "%.1f度". Returns the
// angle shown (the view keeps it as its measured value); negative when nothing was drawn.
double DrawAngleReadout(platform::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot,
                        const CDbPointArray& points, const CDbPoint& pointer, const MeasureOverlayFrame& frame,
                        bool clockwise);
// Tool 49: the chain to the pointer and "累計 %.2fmm". Returns the total; nothing without points.
double DrawLengthTotal(platform::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot,
                       const CDbPointArray& points, const CDbPoint& pointer, const MeasureOverlayFrame& frame);
// Tool 48: the hatched polygon closed over the pointer and "累計 %.2f㎡". Returns the area in m².
double DrawAreaTotal(platform::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot,
                     const CDbPointArray& points, const CDbPoint& pointer, const MeasureOverlayFrame& frame);
// Tools 5 and 11: the distance from the last point, and from two points the outline and area in
// m² (squareMetres) or mats of the grid module (one decimal while the grid snap is on).
void DrawRoomAreaLabels(platform::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot,
                        const CDbPointArray& points, const CDbPoint& pointer, const MeasureOverlayFrame& frame,
                        bool squareMetres, double gridModule, bool gridSnap);
// The label text above, for tests and the status line.
std::string RoomAreaLabelText(const CDbPointArray& points, const CDbPoint& pointer, bool squareMetres,
                              double gridModule, bool gridSnap);

// The rubber band of tools 5, 26, 27, 54 and 61. In arc mode the last segment becomes the arc
// through the last two points and the pointer in `arcPieces` pieces; nothing when no arc can be
// formed or with fewer than two points.
void DrawPointsPreview(platform::Surface& dc, const DeviceTransform& t, const CPlotInfo& plot, int tool,
                       const CDbPointArray& points, const CDbPoint& pointer, bool arcMode, int arcPieces,
                       double leftDistance, double rightDistance);
bool HasPointsPreview(int tool);

// What the arc mode and the readouts of the multi-point and measuring tools need beyond the
// preview's inputs.
struct ToolOverlayOptions {
    bool arcMode = false;        // m_bArcSegment
    int arcPieces = 24;          // tool_nijyuusen_rbunkatu
    bool clockwiseAngles = false; // tool_kakudo_tokei
};

// The tool's part of a paint, chosen by the tool number: the multi-point rubber band, the measuring
// readouts, or the tool's preview (CKovUnit::DrawToolPreview). Returns the angle the angle readout
// showed, negative when it showed none (the view keeps it as its measured value).
double DrawToolOverlay(platform::Surface& dc, const DeviceTransform& t, const CKovUnit& unit, int tool,
                       const CKovUnit::PreviewInput& in, const MeasureOverlayFrame& frame,
                       const ToolOverlayOptions& options);

} // namespace kov::render
