#pragma once

// What a tool shows under the pointer before its last click. The view's paint copies its back
// buffer and then hands one of these previews the tool's state as plain values; the preview draws
// a few lines and shapes over the copy and keeps nothing, so the next pointer move simply paints
// it again. None of them ever renders the drawing.

#include "model/DbPoint.h"
#include "model/DrawTransform.h"
#include "model/FontMenu.h"
#include "model/KovUnit.h"
#include "model/StairsSettings.h"
#include "platform/Surface.h"
#include "render/DrawEnvironment.h"

#include <cstdint>
#include <string>

class CPlotInfo;
class SelectionRecord;

// Everything a preview draws from, besides the surface and the transform. The view fills it from
// the tool machine (points, pointer, last click), its tool settings and the open tool panels.
struct CKovUnit::PreviewInput {
    const CPlotInfo* plot = nullptr;          // required
    CDbPointArray points;                     // the tool's points, sheet mm, click order
    CDbPoint pointer;                         // after snapping and the axis lock
    CDbPoint last;                            // the last click
    const SelectionRecord* selection = nullptr;
    const DrawEnvironment* env = nullptr;     // fill-pattern bitmaps of the slot styles

    // View tool settings.
    int fixedRadiusOn = 0;                    // tool_hankeikotei_check
    double fixedRadius = 1000;                // tool_hankeikotei_atai
    double measured = 50;                     // tool_nagasa: length, division length, kept arc end
    double angle = 0;                         // tool 16, degrees (already turned for clockwise angles)
    double doubleLeft = 50;                   // tool_nisen_l
    double doubleRight = 50;                  // tool_nisen_r
    double parallelDistance = 50;             // tool_hukusen
    int divisions = 2;                        // tool_bunkatu

    // Fitting (tool 55).
    int fittingKind = 0;
    int fittingNumber = 0;
    int fixedWidthOn = 0;                     // tool_tateg_habatype
    double fixedWidth = 810;                  // tool_tateg_habaedit
    int ownThicknessOn = 0;                   // tool_tateg_atumitype
    double ownThickness = 100;                // tool_tateg_atumiedit
    int fittingOnRight = 0;                   // tateg_seti

    // Stairs (tool 56): the stairs panel's record.
    StairsSettings stairs;

    // Balloon (tool 68): shape 0 rectangle, 1 rounded, 2 ellipse; side 0 up, 1 left, 2 down, 3 right.
    int balloonShape = 1;
    int balloonSide = 2;
    int balloonPosition = 1;
    int arcSteps = 24;                        // arc pieces of a rounded corner (tool_nijyuusen_rbunkatu)

    // Text (tool 8).
    std::string text;
    const CFontMenu* textFont = nullptr;      // the document's font for new texts
    bool textVertical = false;
    int textAngle = 0;                        // whole degrees

    // Decorated text (tool 70): the open panel's values.
    bool decoratedPanelOpen = false;
    CFontMenu decoratedFont;
    std::string decoratedText;
    double frameThickness = 1;
    int frameShape = 0;
    int frameSlant = 5;
    int framesOnly = 1;
    std::uint32_t decoratedTextColour = 0xFFFFFF;
    std::uint32_t decoratedFrameColour = 0x000000;
    int decoratedOpacity = 100;

    // Drawing centre (tool 37): the drawing area in device pixels.
    kov::platform::DeviceRect drawingArea;
};

namespace kov::render {

// Whether the view calls the preview of the tool while the tool has no point yet (the drawing
// centre and the decorated text follow the pointer from the start).
bool PreviewWithoutPoints(int tool);

// The layer group every preview maps its points with: the current one of the plot settings.
int PreviewGroup(const CPlotInfo& plot);

// The named pens of the previews.
inline constexpr std::uint32_t kPreviewRed = 0x0000FF;
inline constexpr std::uint32_t kPreviewOrange = 0x2582F3;
inline constexpr std::uint32_t kPreviewWallGrey = 0x7D7D7D;
inline constexpr std::uint32_t kPreviewGrey = 0x7F7F7F;

// The pen of a figure slot: black in black-and-white mode unless white; the auxiliary line type a
// 1-pixel dotted pen; otherwise the slot's screen width, solid when `solid` (figures that lay
// their own dashes) or in the slot's line type as pen style.
platform::Pen SlotPen(const CPlotInfo& plot, int slot, bool solid);
// The fill colour of a slot: in black-and-white mode black stays black, all else turns white.
std::uint32_t SlotFillColour(const CPlotInfo& plot, int slot);
// The construction pen: slot 0's colour as it stands and its line type as pen style.
platform::Pen ConstructionPen(const CPlotInfo& plot);

// The diagonal cross of half size g_nPickTolerance / 2 (centre mark) or g_nPickTolerance (point mark).
void DrawCentreMark(platform::Surface& dc, DevicePoint p, const platform::Pen& pen);
void DrawPointMark(platform::Surface& dc, DevicePoint p, const platform::Pen& pen);

// One corner of an axis-parallel box rounded with radius r: the arc's centre and its two tangent
// points, ordered so that the counter-clockwise arc (on the screen) from `first` to `second` is the
// short one. Corner 0 top-left, 1 bottom-left, 2 bottom-right, 3 top-right (y down).
struct BoxFillet {
    CDbPoint centre;
    CDbPoint first;
    CDbPoint second;
};
BoxFillet FilletBoxCorner(double x1, double y1, double x2, double y2, int corner, double r);

} // namespace kov::render
