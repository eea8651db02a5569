#pragma once

// The view's tool machine: the tool state, pointer conversion with snapping and the axis lock, the
// click, release, double-click, right-button, pointer-move and key handlers, the seventy-one tool
// starts and the steps of the wall, room and figure tools, zoom and view commands, undo and redo.
// Plain C++: the Qt view turns its events into these calls (client pixels, Windows-style key
// flags) and shows what the machine asks for through the host.

#include "building/Fittings.h"
#include "building/RoomSettings.h"
#include "model/DbPoint.h"
#include "model/DrawTransform.h"
#include "tools/PageGeometry.h"
#include "tools/ToolHost.h"
#include "tools/ViewSettings.h"

#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace kov::tools {

// Mouse flags as the window messages carry them.
enum : unsigned { MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8 };

enum class ToolKey { Enter, Escape, Left, Up, Right, Down, Delete, S, Pad4, Pad6, Pad8, Pad2, PadMultiply, PadAdd,
                     PadSubtract, Other };

// What the right button does to a tool with points (and whether the tool stays).
enum class RightRule { All, Last, Ends };

// One row of the tool table.
struct ToolInfo {
    int number = 0;
    int command = 0;               // the command that starts it; 0 for none
    std::string_view menuText;
    std::string_view prompt;       // the first prompt
    std::string_view starts;       // start letters: U snapshot, R palette reset, P points emptied, S selection cleared
    RightRule right = RightRule::Ends;
    bool built = false;            // its steps exist; others start and say they are not ready
};

// The table of tools 1-71 (index = tool number; row 0 is select mode).
const std::array<ToolInfo, 72>& ToolTable();

// Cursors by the program's resource numbers; 0 is the window's own cursor. System cursors:
enum : int { CURSOR_SIZEALL = -1, CURSOR_SIZENS = -2, CURSOR_SIZEWE = -3, CURSOR_SIZENWSE = -4,
             CURSOR_SIZENESW = -5 };

// One axis of the grid stage: the grid point toward the origin, moved one spacing on when the
// remainder is more than half a spacing (exactly half stays).
double GridSnapCoord(double p, double origin, double spacing);

// The part file of a notation symbol kind (1-11, others the first) in the symbols folder.
std::string_view NotationSymbolFile(int kind);

class ToolMachine {
public:
    // The page geometry is the view's when it gives one; otherwise the machine keeps its own.
    ToolMachine(ToolHost& host, ToolSettings settings, PageGeometry* page = nullptr);

    // -- state (the names the tools use) -----------------------------------------------------------
    CDbPointArray m_ToolPoints;
    CDbPoint m_ptLast, m_ptCurrent;
    DevicePoint m_pxLast, m_pxCurrent;
    int m_bDragging = 0;
    int m_bPlacing = 0;
    int m_bStretchRotate = 0;
    int m_bIntersectionSnap = 0;  // clicks snap to the crossings of figures first
    int m_nAxisLock = 0;          // 0 free, 1 keep x, 2 keep y, 3 orthogonal
    int m_nZoomMode = 0;          // 1 click zoom, 2 both-button drag zoom, 3 range zoom
    int m_bHandTool = 0;
    int m_bBothButtons = 0;
    int m_nFirstMove = 1;
    int m_bPrintRange = 0;
    // Tool values and the option panels' values.
    double m_dFixedRadius = 1000;
    int m_bFixedRadius = 0;
    int m_bArcInsert = 0;
    int m_nArcDivisions = 24;
    double m_dParallelDistance = 50;
    // The line editing tools: the value kept between clicks (the division length of tool 64, the
    // arc end of tool 35), the chamfer panel's sizes and mode, the two-line tool's distances.
    double m_dToolValue = 50;
    std::array<double, 4> m_ChamferSizes{300, 300, 300, 300};
    int m_nChamferMode = 0;
    double m_dOffsetLeft = 50;    // tool_nisen_l: left of the direction of travel (two and double lines)
    double m_dOffsetRight = 50;   // tool_nisen_r
    StairsSettings m_Stairs;      // the stairs panel's record
    BalloonValues m_Balloon;      // the balloon panel's choices
    // The room-choice panel: rectangle (0) or polygon (1) mode, the fixed size switch and index.
    int m_nRoomPanelMode = -1;    // -1: the panel is closed
    int m_bRoomFixedSize = 0;
    int m_nRoomSizeIndex = 2;
    RoomSettings m_roomSettings;  // how new rooms are labelled (application settings)
    kov::building::FittingChoice m_Fitting; // the fittings palette's choice and the fitting tool's settings
    // The line tools' panels: the length of tools 15 and 16 ("tool_nagasa"), the angle panel's
    // angle in degrees and its "線の長さ指定". Kept apart from m_dToolValue, which the measuring
    // tools and the line edits overwrite with values of their own.
    double m_dToolLength = 50;
    double m_dLineAngle = 0;
    int m_bLineLengthGiven = 0;
    // The text tools: the settings panel's writing direction and angle, the text typed in the
    // entry line for the clicked point, and the decorated-text panel's text and look.
    TextPanelValues m_TextPanel;
    std::string m_strText;
    DecoratedTextValues m_DecoratedText;

private:
    PageGeometry m_ownPage;
public:
    PageGeometry& m_Page;         // page, zoom and scroll of the view window
    platform::DeviceProperties m_Screen; // the screen's resolution

    ToolSettings& settings() { return m_settings; }
    ToolHost& host() { return m_host; }
    int ToolMode() const { return m_host.ToolMode(); }

    // -- input (client pixels) ---------------------------------------------------------------------
    void OnLButtonDown(unsigned flags, DevicePoint client);
    void OnLButtonUp(unsigned flags, DevicePoint client);
    void OnLButtonDblClk(unsigned flags, DevicePoint client);
    void OnRButtonDown(unsigned flags, DevicePoint client);
    // True when the context menu is to open (the release was not swallowed).
    bool OnRButtonUp(unsigned flags, DevicePoint client);
    void OnMouseMove(unsigned flags, DevicePoint client);
    void OnKeyDown(ToolKey key, DevicePoint pointerClient = {});
    // The cursor for the current state: a resource number, a system cursor (negative) or 0.
    int CursorId() const;

    // -- conversion and snapping ---------------------------------------------------------------------
    std::optional<DeviceTransform> MakeTransform();
    // Client point to device point and sheet point, snapped and axis-locked.
    void ClientToDrawingPoint(int cx, int cy, DevicePoint& device, CDbPoint& point, DeviceTransform& transform,
                              unsigned flags, int clickFlag);
    CDbPoint SnapPoint(const DeviceTransform& t, DevicePoint& device, int clickFlag);
    void ApplyAxisLock(const DeviceTransform& t, DevicePoint& device, CDbPoint& point, unsigned flags);
    CDbPoint SnapPresetRoomCorner(const CDbPoint& first, const CDbPoint& pointer) const;
    int CurrentGroup() const;

    // -- dispatch ----------------------------------------------------------------------------------
    void DispatchToolAction(DevicePoint& device, CDbPoint& point, const DeviceTransform& t, unsigned flags);
    void DispatchButtonUp(DevicePoint device, const DeviceTransform& t, unsigned flags);
    void SetToolPrompt(std::string_view text) { m_host.SetStatusText(text); }
    void PanByDrag(DevicePoint client);
    int CancelPlacement();
    // The click that puts a placed group down: its walls joined, then the placement ends, or with
    // continuous placement (buhin_renzoku) goes on with a copy (PlacementSteps.cpp).
    void FinishPlacement();
    void CallDelete();
    void CallSelectTool();
    void ResetToolPalette();

    // -- tool starts -------------------------------------------------------------------------------
    // Starts the tool (1-71) as its command does; false when the start refused (its message shown).
    bool StartTool(int tool);
    // The command id of a tool start, a zoom or view command, undo or redo; false when not one.
    bool OnCommand(int command);

    // -- steps -----------------------------------------------------------------------------------
    void StepWall(const CDbPoint& p);
    void FinishColumnDrag(const CDbPoint& p);
    void StepRectRoom(const CDbPoint& p);
    int StepPolygonRoom(const CDbPoint& p);
    int CompleteBasicShape(const CDbPoint& p, const DeviceTransform& t);
    void StepPolygon(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepMultiPoint(int tool, const DeviceTransform& t, DevicePoint d, CDbPoint p, int finish);
    void StepFreeCurve(const DeviceTransform& t, DevicePoint d, CDbPoint p, int flag);
    void StepEllipse(int tool, const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepThreePointArc(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepTriangle(DevicePoint d, CDbPoint p);
    void StepRoundedRectangle(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepDimensionedRectangle(CDbPoint p);
    // Select mode: the click (grips, the selection, then the click pick), and the end of a drag.
    void SelectClick(const CDbPoint& p, const DeviceTransform& t, unsigned flags);
    void FinishSelectionDrag(const DeviceTransform& t);
    // The range tools 38-46 and the stretch tool 60.
    void StepRange(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    // Mirror about a line (63), attribute pick-up (14) and fitting a picture to drawing points (71).
    void StepMirrorSelection(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepPickUpAttributes(unsigned flags, const DeviceTransform& t, CDbPoint p);
    void StepMatchImage(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    // The drawing centre (37): the clicked point becomes the origin of the editing layer group.
    void StepDrawingCentre(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    // Fittings and notation symbols (FittingSteps.cpp). StepFitting: 1 when a fitting was placed.
    int StepFitting(DevicePoint d, CDbPoint p);
    void StepNotationSymbols(DevicePoint d, CDbPoint p);
    // Commands on the first selected fitting: the door's direction (the drawing mirrored end for end),
    // the storm shutter's box to the other end, turned to the other face of its wall, a new width and
    // thickness from the size dialog.
    void OnFlipDoor();
    // What the range mirrors call for each fitting they mirror: the fitting rebuilt from its library
    // drawing, turned end for end; a missing drawing is said once per command.
    std::function<int(CKovUnit&, int)> RangeFittingRebuilder();
    void OnFlipShutter();
    void OnTurnFitting();
    void OnChangeFittingSize();
    // Line editing (tools/LineEditSteps.cpp).
    void StepDivideFigure(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepCorner(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepChamfer(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepTrimExtend(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepCutLine(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepPartialCut(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepEraseLine(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepJoinLines(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepParallelLine(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepTwoLines(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepDivideBetweenPoints(DevicePoint d, CDbPoint p);
    void StepEnvelope(DevicePoint d, CDbPoint p);
    // The range print's release (tools/PrintRangeStep.cpp).
    void FinishPrintRange();
    // Construction lines (tools/ConstructionSteps.cpp).
    void StepLineByLength(DevicePoint d, CDbPoint p);
    void StepLineByAngle(DevicePoint d, CDbPoint p);
    void StepPerpendicular(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepCircleTangent(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    // Measuring (tools/MeasureSteps.cpp): the tools, their double-click finishers and the commands.
    void StepMeasureAngle(DevicePoint d, CDbPoint p);
    void StepAreaTotal(DevicePoint d, CDbPoint p);
    void FinishAreaTotal(CDbPoint p);
    void StepLengthTotal(DevicePoint d, CDbPoint p);
    void FinishLengthTotal(CDbPoint p);
    void OnMeasureSelectionArea();
    void OnMeasureSelectionLength();
    void OnMeasureRoomArea();
    void OnCountObjects();
    // Texts (tools/TextSteps.cpp): the panels' values set for a start of tool 8 or 70, the click
    // of the text tool, the entry line's OK, the click of the decorated-text tool.
    void StartTextPanels(int tool);
    void StepText(CDbPoint p);
    void CreateTextFromDialog();
    void StepDecoratedText(CDbPoint p);
    // Wall edits, stairs, balloons, double lines and the dimension's follow-up.
    void StepWallPartialDelete(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepAddRoomVertex(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepCurveRoomWall(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    int StepStairs(DevicePoint d, CDbPoint p, int finish);
    void StepBalloon(const DeviceTransform& t, DevicePoint d, CDbPoint p);
    void StepDoubleLine(int tool, const DeviceTransform& t, DevicePoint d, CDbPoint p, int finish);
    void AdjustDoubleLineEnds();
    // The double-line panel's "作図終了": finishes the chain as a double click at the last point.
    void ApplyDoubleLineDialog();
    // The elevation outlines (tools/ElevationSteps.cpp): the roof's four clicks, the outer-wall
    // line and the balcony (finish 1: a double click or the double-line panel's create button).
    void StepRoof(DevicePoint d, CDbPoint p);
    void StepOuterWallLine(DevicePoint d, CDbPoint p, int finish);
    void StepBalcony(DevicePoint d, CDbPoint p, int finish);
    // The new dimension becomes lines and a text, and its value can be typed ("寸法値").
    int FinishDimension(int id);

    // -- zoom and view commands ----------------------------------------------------------------------
    void FitAll();
    void ZoomIn();
    void ZoomOut();
    void StartRangeZoom();
    void OnHandTool();
    void OnToggleGrid();
    bool m_bTracing = false;

    // -- undo and redo -------------------------------------------------------------------------------
    void OnUndo();
    void OnRedo();
    void PushUndo() { m_host.PushUndo(); }

private:
    void collect(const DevicePoint& d, const CDbPoint& p);
    void selectNewFigure(int id, const DeviceTransform& t, bool figureFirst);
    void patternLinesIntoSelectedGroup(const DeviceTransform& t);
    bool insertArc(const CDbPoint& c);
    void notReady();
    void rejoinWalls();
    void dragSelection(const DeviceTransform& t);
    void dragPictures(const DeviceTransform& t, double dx, double dy, const CKovUnit& snapshot);
    void rangeDone(bool toSelectMode);
    int settingInt(std::string_view section, std::string_view key, int fallback);

    ToolHost& m_host;
    ToolSettings m_settings;
    int m_bMoved = 0; // the selection was dragged off its place since the press
};

} // namespace kov::tools
