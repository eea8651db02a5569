#pragma once

// The container of one drawing's objects: groups, figures, texts, walls and pictures, each kind in
// an owning array whose order is the drawing order, with its identifier counter.
//
// The container also carries the operations of the other subsystems as its own members. They are
// declared here, grouped by concern, and defined in the folder of the subsystem they belong to.

#include "model/DbPoint.h"
#include "model/DefFile.h"
#include "model/KovGroup.h"
#include "model/KovImage.h"
#include "model/KovLine.h"
#include "model/KovText.h"
#include "model/KovWall.h"
#include "model/LayerAddress.h"
#include "model/ObjectArray.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CPlotInfo;
class CFontMenu;
class SelectionRecord;
namespace kov::io { struct DxfReadOptions; struct DxfReadResult; } // DXF exchange
struct UnitFileContext;
class DeviceTransform;
class TextBoxMeasurer;
class CGrid;
struct RoomSettings;
struct StairsSettings;
struct AxisLineSettings;
namespace kov::platform { class Questions; }
namespace kov::building { struct FittingFit; struct FittingChoice; struct FittingRules; struct FittingLibraryAccess; class PartFileCache; struct PartPlacement; } // parts and fittings
namespace kov::platform { class Surface; struct Pen; struct DeviceRect; struct DevicePoint; } // drawing members
class CRituInfo;
namespace kov::building { struct ElevationLibrary; struct ElevationSegment; } // elevations
using DevicePoint = kov::platform::DevicePoint;

class CKovUnit : public CDefFile {
public:
    // -- objects and identifiers ---------------------------------------------------------------

    ObjectArray<CKovGroup, &CKovGroup::MGrpID> m_Groups;
    ObjectArray<CKovLine, &CKovLine::MLineID> m_Lines;      // every drawn figure
    ObjectArray<CKovText, &CKovText::MTextID> m_Texts;
    ObjectArray<CKovWall, &CKovWall::MWallID> m_Walls;      // walls and columns
    ObjectArray<CKovImage, &CKovImage::ImageID> m_Images;   // pictures

    // The last identifier handed out of each kind (named after their stored keys).
    int MUnitGrpID = 1;
    int MUnitLineID = 1;
    int MUnitWallID = 1;
    int MUnitTextID = 1;
    int MUnitImageID = 1;

    // Identifier limits: the counter wraps to 1 above the first, the scan past identifiers in use
    // above the second.
    static constexpr int kGroupIdLimit = 64000;
    static constexpr int kLineIdLimit = 64000;
    static constexpr int kWallIdLimit = 64000;
    static constexpr int kTextIdLimit = 62000;
    static constexpr int kTextIdScanLimit = 64000;
    static constexpr int kImageIdLimit = 6200;
    // What an allocator returns when every identifier of its kind is in use (never a valid one).
    static constexpr int kNoFreeId = 0;

    // RemoveAllObjects modes.
    enum { REMOVE_DELETE_PICTURE_FILES = 0, REMOVE_KEEP_PICTURE_FILES = 1, REMOVE_DISCARD_SNAPSHOT = 2 };

    CKovUnit() = default;
    CKovUnit(const CKovUnit&) = delete;
    CKovUnit& operator=(const CKovUnit&) = delete;
    CKovUnit(CKovUnit&&) = default;
    CKovUnit& operator=(CKovUnit&&) = default;
    // Destroys the objects but never touches picture files: owners empty the container with
    // RemoveAllObjects first when the files must go.
    ~CKovUnit() override = default;

    // A free identifier of the kind; it stays in the counter. kNoFreeId when every one is in use.
    // A counter below 1 (from a damaged file) counts as 1.
    int NextGroupId();
    int NextLineId();
    int NextWallId();
    int NextTextId();
    int NextImageId();
    // All five counters to 1.
    void ResetIdCounters();

    // The index of the first object with the identifier, -1 when there is none.
    int FindGroupIndex(int id) const { return m_Groups.FindIndex(id); }
    int FindLineIndex(int id) const { return m_Lines.FindIndex(id); }
    int FindWallIndex(int id) const { return m_Walls.FindIndex(id); }
    int FindTextIndex(int id) const { return m_Texts.FindIndex(id); }
    int FindImageIndex(int id) const { return m_Images.FindIndex(id); }
    int HasGroup(int id) const { return m_Groups.Contains(id) ? 1 : 0; }

    // The first object with the identifier, null when there is none.
    CKovGroup* FindGroup(int id) { return m_Groups.Find(id); }
    CKovLine* FindLine(int id) { return m_Lines.Find(id); }
    CKovWall* FindWall(int id) { return m_Walls.Find(id); }
    CKovText* FindText(int id) { return m_Texts.Find(id); }
    CKovImage* FindImage(int id) { return m_Images.Find(id); }
    const CKovGroup* FindGroup(int id) const { return m_Groups.Find(id); }
    const CKovLine* FindLine(int id) const { return m_Lines.Find(id); }
    const CKovWall* FindWall(int id) const { return m_Walls.Find(id); }
    const CKovText* FindText(int id) const { return m_Texts.Find(id); }
    const CKovImage* FindImage(int id) const { return m_Images.Find(id); }

    // 1 when the object was destroyed and removed, 0 when none has the identifier. Group member
    // lists are not touched; a deleted picture's files stay.
    int DeleteLine(int id);
    int DeleteWall(int id);
    int DeleteText(int id);
    int DeleteImage(int id);
    // Deletes the member figures, then walls, then texts (identifiers naming nothing are passed
    // over), then the group. 0 when there is no such group.
    int DeleteGroup(int id);
    // DeleteGroup for each identifier in turn, done in one pass over each array: deleting many
    // groups at once (a selection of rooms) costs about as much as deleting one. Returns how many
    // groups went.
    int DeleteGroups(const std::vector<int>& ids);
    // The selection's groups (as DeleteGroups), then its walls, figures, texts and pictures, each
    // identifier taking the first object still holding it, as deleting them one by one would: in
    // one pass over each array, so that deleting thousands of selected objects stays quick.
    void DeleteSelection(const SelectionRecord& selection);

    // Makes this container a copy of the source: same identifiers, counters and order. The objects
    // are shared until either container changes one, so the copy costs little (ObjectArray.h).
    // This container's own pictures' files stay (it is emptied as a copy).
    void CopyFrom(const CKovUnit& source);
    // Empties the container and sets the counters to 1. Modes 0 and 2 delete the pictures'
    // temporary files; mode 1 (copies: undo snapshots) keeps them.
    void RemoveAllObjects(int mode);

    // -- undo sharing (begin)
    // True when both containers hold the very same objects (shared since one was copied from the
    // other, none changed on either side) and the same counters: an undo snapshot that still
    // equals the live drawing records no change.
    bool SharesAllWith(const CKovUnit& other) const;
    // Bytes of this container that no other container shares (chunk tables, unshared chunks and
    // the shells of unshared objects; not the objects' own heap data). For the undo benchmark.
    std::size_t UnsharedBytes() const;
    // -- undo sharing (end)

    // Deletes one picture's temporary files when a container is emptied in a discarding mode. The
    // program installs one bound to its temporary picture folder; until then no file is deleted.
    using PictureFileRemover = std::function<void(const CKovImage&)>;
    static void SetPictureFileRemover(PictureFileRemover remover);
    // Installs the remover of the files "temp<id>.bmp/.gif/.png/.jpg" in that folder; an empty path
    // removes the remover.
    static void UseTempImageFolder(const std::filesystem::path& folder);

    // -- wall corners and outline ----------------------------------------------------------------

    // Rule flag 1 (walls): corners of the core A-B with half thickness t in outline order; A and B
    // may be exchanged in place; 0 with nothing written when A equals B exactly. Flag 0 (columns):
    // the square of half side t about A; always 1.
    static int ComputeWallCorners(std::array<CDbPoint, 4>& corners, CDbPoint& a, CDbPoint& b, double t, int flag);
    // Recomputes the wall's corners from its core and MWallWide1; nothing for an unknown wall or a
    // core of no length, so a column (both core ends at its centre) keeps its corners.
    void UpdateWallCorners(int wallId);
    // The outline edges become the four sides c0→c1, c1→c2, c2→c3, c3→c0. 1 done, 0 for a column
    // (unchanged), -1 when no wall has the identifier.
    int ResetWallOutline(int wallId);

    // -- file blocks (begin)
    // The unit block: the five counters, then one block per figure, text, wall, group and picture.
    // 1 done; 0 at the first failing write, or when a picture's file cannot be read (the user is told
    // through ctx.showMessage and the save must not be committed).
    int WriteUnit(CArchive& ar, std::string_view block, UnitFileContext& ctx) const;
    // Reads the inside of the unit block, whose start is read, appending to what the container
    // holds; pictures' bytes go to new temporary files in ctx.pictureFolder. Faults that do not stop
    // reading are added to ctx.warnings. 0 when a nested object's block fails.
    int ReadUnit(CArchive& ar, std::string_view block, UnitFileContext& ctx);

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;

private:
    UnitFileContext* m_pFileContext = nullptr; // set while ReadUnit runs

public:
    // -- file blocks (end)

    // -- walls and joining (begin)
    // A wall on the core A-B with both half thicknesses t, on the editing layer; its outline stays
    // empty (the caller resets it and joins the layer group). -1 when A equals B exactly or every
    // wall identifier is in use.
    int AddWall(CDbPoint a, CDbPoint b, double t, const CPlotInfo& plot);
    // A column of half width t about the press point a; b (the release point) only decides which way
    // a thin column is thin. Its outline is its four sides, never cut. -1 when every wall identifier
    // is in use.
    int AddColumn(CDbPoint a, CDbPoint b, double t, const CPlotInfo& plot);
    // Cuts the outline edges of every wall of the layer group where other walls of the group cover
    // them. Columns take no part.
    void JoinWalls(int layerGroup);
    // Cuts edge i of the wall against every other wall of its layer group: 1 when it still stands at
    // i (perhaps shortened), 0 when it was removed. An index beyond the lists gives 1.
    int ClipWallEdge(CKovWall& wall, int edgeIndex);
    // Applies a joint code to edge i (p-q, ordered): 1 with p and q set to the edge as it now stands,
    // 0 when it was removed.
    int UpdateWallOutlineEdge(CDbPoint& p, CDbPoint& q, int code, CKovWall& wall, int edgeIndex,
                              const CDbPoint& out1, const CDbPoint& out2);
    // -- walls and joining (end)

    // -- figure creation (begin)
    // New figures take a new identifier, the editing layer and the default style of their kind.
    // Those returning an identifier give 0 (or -1 where noted) when nothing was made and leave the
    // selection alone; the others select what they make. `separateSegments` is the application
    // setting that makes curves and continuous lines as separate two-point figures.
    int AddStraightLine(const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q);
    int AddRectFromCorners(const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q);
    void AddRectFromCenter(SelectionRecord& selection, const CPlotInfo& plot, double x, double y, double left,
                           double right, double up, double down);
    int AddPolygonFromPoints(const CPlotInfo& plot, const CDbPointArray& points);
    int AddCircle(const CPlotInfo& plot, const CDbPoint& c, const CDbPoint& p, double fixedRadius, int fixedRadiusFlag);
    // toolPoints: centre, width point.
    void AddEllipse(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                    const CDbPoint& heightPoint);
    // toolPoints: centre, start. The end is moved onto the circle.
    int AddArc(const CPlotInfo& plot, const CDbPointArray& toolPoints, CDbPoint end, double fixedRadius,
               int fixedRadiusFlag);
    // toolPoints: centre, width point, height point, start.
    void AddEllipticArc(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                        const CDbPoint& end);
    // toolPoints: the two ends; the third click decides on which side of them the arc runs.
    void AddArcThrough3Points(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                              const CDbPoint& k);
    void AddLineByAngle(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q,
                        double angle, double length, int fixedLength);
    void AddLineToward(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q,
                       double length);
    void AddPerpendicularLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& p, const CDbPoint& q);
    // The two sides a (from toolPoints[0]) and b (from p1) over the base toolPoints[0]-p1.
    void MakeTriangle(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                      const CDbPoint& p1, int a, int b);
    // toolPoints: the measured points; p places the dimension line and its text.
    int AddDimensionLine(const CPlotInfo& plot, const CDbPointArray& toolPoints, const CDbPoint& p);
    void AddBezierCurve(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                        const CDbPoint& finish, int separateSegments);
    void AddSplineCurve(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                        const CDbPoint& finish, int separateSegments);
    void AddFreehandCurve(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                          const CDbPoint& finish, int separateSegments);
    void AddSegmentsOrPolyline(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                               const CDbPoint& last, int separateSegments);
    // Figures of generated drawings, in the style given, selected.
    void AddSelectedLine(SelectionRecord& selection, const CDbPoint& a, const CDbPoint& b, int layerGroup, int layer,
                         int lineType, std::uint32_t colour);
    void AddSelectedPolygon(SelectionRecord& selection, const CDbPointArray& points, int count, int layerGroup,
                            int layer, int lineType, int hatch, int fillColourUnset, int fill, std::uint32_t colour,
                            std::uint32_t fillColour);
    // -- figure creation (end)

    // -- curves and measures (begin)
    // Replaces a circle, ellipse or arc figure by a polygon (closed outlines, filled arcs, thick arcs
    // as a band) or a continuous line (open arcs) under a new identifier, which it returns; -1 with
    // nothing changed for another kind, a missing figure or fewer than 2 points.
    int CircleToPolyline(int figureId, const CPlotInfo& plot, int segments);
    // Appends the 20 segments of the Bezier curve over every point of controlList but its last, running
    // from the last of them to the first.
    static void BezierPoints(const CDbPointArray& controlList, CDbPointArray& outStarts, CDbPointArray& outEnds);
    // Appends the segments of the smooth curve through the points, steps per span, from the first point
    // to the third-from-last (callers pass the last point twice more).
    static void SplinePoints(const CDbPointArray& pointList, CDbPointArray& outStarts, CDbPointArray& outEnds,
                             int steps);
    // 1 with the area (mm²) and its label; 0 for a missing figure, or with a message for kinds without area.
    int MeasureArea(int figureId, double& outArea, std::string& outLabel, kov::platform::Questions& questions) const;
    // 1 with the length (mm) and its label; 0 for a missing figure, ellipses and dimensions.
    int MeasureLength(int figureId, double& outLength, std::string& outLabel) const;
    // The two points where the tangents through (x, y) touch the first selected figure's circle; 0 when
    // the point lies on or inside it.
    int TangentPoints(const SelectionRecord& selection, CDbPoint outPoints[2], double x, double y) const;
    // Phase 0: the circle point under the pointer becomes tool points 0 and 1; otherwise tool point 1
    // becomes the foot of the perpendicular from the pointer onto the tangent at tool point 0.
    int TangentToolPoint(const SelectionRecord& selection, const CPlotInfo& plot, const DeviceTransform& transform,
                         CDbPointArray& toolPoints, double pointerX, double pointerY, int phase) const;
    // The device-pixel rectangle of every object, widened by margin on each side.
    void DrawingPixelExtent(const TextBoxMeasurer& measurer, const DeviceTransform& transform, const CPlotInfo& plot,
                            int& outX, int& outY, int& outWidth, int& outHeight, int margin) const;
    // Moves A-B by gap toward the pointer and reports the side code (1-6), |AB|, the pointer's distance
    // from the line and the dimension text's middle point.
    static void OffsetSegment(CDbPoint& a, CDbPoint& b, double pointerX, double pointerY, CDbPoint& outMid,
                              int& outSide, double& outLength, double& outDistance, double gap);
    // -- curves and measures (end)

    // -- picking (begin)
    // Click picks, tested in device pixels of the screen with the pick radius (edit/PickRules.h holds
    // the windows and the tie rule), on the layers the filter names (PickLayers, model/LayerAddress.h).
    // Members of groups are picked as their group
    // (dimension lines excepted). Each pick appends at most one identifier and returns 1 when it did.
    //
    // The click of select mode: replaces the selection (adds with mouseFlags exactly 9, Ctrl, on a
    // single click) with the first object found in the order groups, texts, figures, walls,
    // pictures, on the current layer. cycle (the double click) steps past the object selected before.
    void PickAtPoint(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot, double x,
                     double y, const DeviceTransform& transform, int mouseFlags, int cycle);
    int PickGroup(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, int devX, int devY,
                  const DeviceTransform& transform, int cycle, int previousGroup);
    // 1 with the corner code 1-4 when a corner of the group's box lies in the inclusive square window.
    int HitGroupCorner(int groupId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                       int& corner) const;
    int PickText(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter,
                 int devX, int devY, const DeviceTransform& transform, int cycle, int previousText,
                 int previousGroup);
    // Outlines, then circles and ellipses, then arcs, then dimension lines.
    int PickFigure(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y, int devX,
                   int devY, const DeviceTransform& transform, int cycle, int previousFigure, int previousGroup);
    int PickOutline(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y, int devX,
                    int devY, const DeviceTransform& transform, int cycle, int previousFigure, int previousGroup);
    int PickCircle(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y, int devX,
                   int devY, const DeviceTransform& transform, int cycle, int previousFigure, int previousGroup);
    int PickArc(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y, int devX,
                int devY, const DeviceTransform& transform, int cycle, int previousFigure, int previousGroup);
    int PickDimension(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y,
                      int devX, int devY, const DeviceTransform& transform, int cycle, int previousFigure,
                      int previousGroup);
    int PickWall(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, double x, double y, int devX,
                 int devY, const DeviceTransform& transform, int cycle, int previousWall, int previousGroup);
    // Against the rectangle the picture's last drawing recorded (m_rcDrawn), widened by the radius.
    int PickImage(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, int devX, int devY, int cycle,
                  int previousPicture);
    // Straight lines only (the line edits); rooms' lines are never taken.
    int PickLine(SelectionRecord& selection, const CPlotInfo& plot, PickLayers layerFilter, int devX, int devY,
                 const DeviceTransform& transform, int cycle, int previousFigure, int previousGroup);
    // Takes the segment P-Q as the best when the click's distance from it is strictly below
    // bestDistance, which is also the reach beyond the segment's ends.
    static void UpdateNearestSegment(int& bestIndex, int candidateIndex, const DevicePoint& p, const DevicePoint& q,
                                     int& bestDistance, const DevicePoint& click);
    // -- picking (end)

    // -- grips and drags (begin)
    // The first test of a select-mode click, before any pick. With gripsOn (the stretch-and-rotate
    // switch) and exactly one object selected, a grip of that object under the click is recorded as
    // the selection's grip kind and index (SelectionRecord::GripKind). Otherwise a click on an object
    // already selected keeps the selection, so that a drag moves all of it; Ctrl (mouseFlags exactly 9)
    // takes that object out instead. 1 when either happened, 0 to go on with the click pick.
    int HitTestGrips(const TextBoxMeasurer& measurer, const CPlotInfo& plot, SelectionRecord& selection, double x,
                     double y, const DeviceTransform& transform, int mouseFlags, int gripsOn);
    // The grip tests of one object; each gives 1 with the grip's index, 0 when nothing is hit or the
    // object does not exist. Positions use the current layer group's scale; windows are inclusive.
    int HitGroupRotationHandle(int groupId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                               int& index) const;
    // Rooms only: a vertex of the room's polygon, or without one the ends of its walls (the wall's
    // array position, + 10000 for end B). A room laid out as a rectangle by the rectangle-room tool has none.
    int HitRoomVertex(int groupId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                      int& index) const;
    int HitImageCorner(int pictureId, int devX, int devY, int& corner) const;
    // A circle or ellipse is grabbed by its rim (index 1), and the grabbed point (x, y) becomes its
    // point 1, from which the drag measures the new radius; other figures by their last vertex under the click.
    int HitFigureVertex(int figureId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                        int& index, double x, double y);
    int HitTextCorner(const TextBoxMeasurer& measurer, const CPlotInfo& plot, int textId, int devX, int devY,
                      const DeviceTransform& transform, int& corner) const;
    // Beyond the end of the text's top edge; decorated texts have none.
    int HitTextRotationHandle(const TextBoxMeasurer& measurer, const CPlotInfo& plot, int textId, int devX, int devY,
                              const DeviceTransform& transform, int& index) const;
    int HitWallEnd(int wallId, const CPlotInfo& plot, int devX, int devY, const DeviceTransform& transform,
                   int& end) const;

    // What a select-mode drag reads of the settings at every step.
    struct DragOptions {
        int roomLock = 2;   // app_room_lock: 1 rooms, fittings and walls never move; 2 not while the grid
                            // snap is off or the line-end snap on; other values always move
        int keepAspect = 0; // app_strecheven: a group corner keeps the group's aspect
    };
    // One step of a select-mode drag: every object concerned is restored from the snapshot taken at
    // the click and then moved, or reshaped by the grabbed grip, by the whole offset (dx, dy) from the
    // press point (pixelDx: the same along x in device pixels). The selection itself is not changed.
    void DragSelection(const TextBoxMeasurer& measurer, const DeviceTransform& transform, const CPlotInfo& plot,
                       const CGrid& grid, const SelectionRecord& selection, double dx, double dy,
                       const CKovUnit& snapshot, int pixelDx, const DragOptions& options);
    // The grip drags; each acts on the first entry of its list in the selection and the grip index.
    void DragGroupCorner(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot,
                         int keepAspect);
    void DragGroupRotation(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot);
    void DragRoomVertex(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot);
    void DragFigureVertex(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot);
    // A step whose factor would make the text 0 or less high is refused: the text stays as it was.
    void DragTextSize(const TextBoxMeasurer& measurer, const DeviceTransform& transform, const CPlotInfo& plot,
                      const SelectionRecord& selection, const CKovUnit& snapshot, int pixelDx);
    void DragTextRotation(const TextBoxMeasurer& measurer, const DeviceTransform& transform, const CPlotInfo& plot,
                          const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot);
    void DragWallEnd(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot);
    // -- grips and drags (end)

    // -- snap queries (begin)
    // The nearest crossing of lines, outlines and circles (arcs as whole circles) within the near
    // distance of the device point, on layers that can be seen at the current drawing scale. 1 with
    // both points moved onto it, else 0.
    int SnapToIntersection(DevicePoint& devicePoint, CDbPoint& point, const DeviceTransform& transform,
                           const CPlotInfo& plot) const;
    // The nearest figure vertex, group box corner (groupCorners set), wall outline corner, point on a
    // wall outline edge or text anchor. 1 with both points moved, else 0.
    int SnapToVertex(DevicePoint& devicePoint, CDbPoint& point, const DeviceTransform& transform, int groupCorners,
                     const CPlotInfo& plot) const;
    // -- snap queries (end)

    // -- attribute pick-up (begin)
    // What the pick-up writes besides the plot settings: the text tool's writing direction and angle.
    struct TextToolSettings {
        int mozi_tategaki = 0; // 1 vertical writing
        int mozi_kakudo = 0;   // angle, whole degrees
    };
    // Picks the object under the click on any layer (groups by their corners on the snappable
    // layers) into the given record, makes its layer current and its style the current style of its
    // kind: a wall's thickness, a figure's style slot, a text's font. 1 when one object was taken.
    int PickUpAttributes(const TextBoxMeasurer& measurer, SelectionRecord& selection, CPlotInfo& plot,
                         CFontMenu& currentFont, double x, double y, const DeviceTransform& transform,
                         TextToolSettings& textTool);
    // -- attribute pick-up (end)

    // -- range and layer selection (begin)
    // Replaces the selection with the objects wholly and strictly inside the rectangle, on the layers
    // the filter names (RangeLayers). Members of existing groups
    // come through their group; a group identifier that names no group is cleared to 0 on the way.
    void SelectInRect(SelectionRecord& selection, const CPlotInfo& plot, double x1, double y1, double x2, double y2,
                      const DeviceTransform& transform, RangeLayers filter);
    void SelectInRectOnLayer(SelectionRecord& selection, const CPlotInfo& plot, double x1, double y1, double x2,
                             double y2, const DeviceTransform& transform);
    void SelectLayer(SelectionRecord& selection, int layerGroup, int layer);
    // Drops the selected objects that exist and lie off the current layer.
    void DeselectOffLayer(SelectionRecord& selection, const CPlotInfo& plot) const;
    // -- range and layer selection (end)

    // -- groups: bounds, moves, flips, grouping and rotation (begin)
    // The box of the member walls' core points, figure points (a circle's square too) and text anchors;
    // (0, 0)-(0, 0) without members.
    void UpdateGroupBounds(CKovGroup& group) const;
    // Moves every existing member; the box is left to the caller. -1 when there is no such group.
    int MoveGroup(int groupId, double dx, double dy);
    // Mirrors the members inside the box (upside-down / left-right) and turns the angle by 180.
    void FlipGroupVertical(int groupId);
    void FlipGroupHorizontal(int groupId);
    // This (scratch) container becomes the selection's first group of the source with its members,
    // identifiers kept, moved so that the box starts at (0, 0).
    void ExtractSelectedGroup(const SelectionRecord& selection, const CKovUnit& source);
    // One new plain group of the selected figures (dimension lines left out), walls and texts on the
    // editing layer; it becomes the only selected object.
    void GroupSelection(SelectionRecord& selection, const CPlotInfo& plot);
    // This container becomes the source (no copy when the source is this container itself), then the
    // group is turned by a degrees about the origin and moved so that its box starts at (0, 0). -1
    // when there is no such group.
    int RotateGroup(const CKovUnit& source, double a, int groupId);
    // -- groups: bounds, moves, flips, grouping and rotation (end)

    // -- drawing order and ungrouping (begin)
    // The first selected figure, else the first selected group's figures in their list order, go to
    // the end (drawn last) or the start of the figure array; a group also moves in the group array.
    void BringToFront(const SelectionRecord& selection);
    void SendToBack(const SelectionRecord& selection);
    // The selected groups dissolve: their members stay where they are with no group; the selection
    // is cleared.
    void UngroupSelection(SelectionRecord& selection);
    // -- drawing order and ungrouping (end)

    // -- style changes of the selection (begin)
    // code 0 line and text colour, 1 fill colour of filled figures (white fills only with
    // recolourWhiteFills; a room's second gradient colour follows when mildRoomGradient), 2 fill
    // unfilled figures, any other code: fill off.
    void SetSelectionColor(int code, const SelectionRecord& selection, std::uint32_t colour, int recolourWhiteFills,
                           int mildRoomGradient);
    void SetSelectionOpacity(const SelectionRecord& selection, int opacity);
    // code 0 keep the direction, 1 gradient off, 2 off for rooms only, 3-10 the eight directions from
    // 0 to 315 degrees; groupSize switches the members of the one selected group to the group's box.
    void SetGradientDirection(const SelectionRecord& selection, int code, int groupSize);
    void MakeGradientMild(const SelectionRecord& selection);
    // The second colour when it is not white, else the first lightened halfway to white.
    static std::uint32_t MildGradientColor(std::uint32_t first, std::uint32_t second);
    // Deletes the ungrouped auxiliary lines of the editing layer after the user agreed; the undo
    // snapshot is taken once the answer is OK and before anything goes. The number deleted.
    int DeleteAuxLines(const CPlotInfo& plot, kov::platform::Questions& questions,
                       const std::function<void()>& takeUndoSnapshot);
    // -- style changes of the selection (end)

    // -- moving, copying, deleting and scaling ranges (begin)
    // Restores the selected groups (with members), walls, figures' points and texts from the snapshot
    // (same array positions) and moves them by (dx, dy); pictures stay.
    void MoveSelection(const SelectionRecord& selection, double dx, double dy, const CKovUnit& snapshot);
    // The range is toolPoints[0]-toolPoints[1] on the current layer group; the displacement runs from
    // toolPoints[2] to the target. Copies take new identifiers and appear on top; a picture's file is
    // copied under its new identifier into pictureFolder. The selection ends empty. 1 when copied; 0
    // when identifiers ran out, with nothing copied.
    int CopyRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                  const CDbPoint& target, const DeviceTransform& transform,
                  const std::filesystem::path& pictureFolder);
    void MoveRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                   const CDbPoint& target, const DeviceTransform& transform);
    // Deletes the range toolPoints[0]-corner2, then resets and joins the walls of the current layer
    // group. pictureWasSelected: 1 when the range held a picture.
    void DeleteRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                     const CDbPoint& corner2, const DeviceTransform& transform, int& pictureWasSelected);
    // Scales the range about its centre by fx, fy (both wall halves, radii and text sizes by fx), then
    // resets and joins the walls. 0 with nothing done for a factor of zero or below, else 1.
    int ScaleRange(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                   const CDbPoint& corner2, const DeviceTransform& transform, double fx, double fy);
    // Rescales the group's members from the snapshot about r; repeated calls do not accumulate.
    int ScaleGroupFromSnapshot(const CKovGroup& group, const CKovUnit& snapshot, double fx, double fy,
                               const CDbPoint& r);
    // -- moving, copying, deleting and scaling ranges (end)

    // -- range mirroring, turning and stretching (begin)
    // The range (toolPoints[0] and corner2) is selected on the current layer group as the range copy
    // does; its objects are mirrored about the range's centre line or turned about its centre in place,
    // walls joined again. The selection keeps the objects of the range.
    struct RangeTurnOptions {
        int rebuildFittings = 1;  // tateg_allrev_notrev: mirrored fittings turn over end for end
        int uprightTexts = 0;     // app_mozinokaiten: quarter turns switch horizontal and vertical writing
        // Rebuilds a fitting group from its library drawing after a mirror and answers the new
        // group's identifier (0: left as it was); none: the fitting stays as mirrored point by point,
        // its flip flag turned over.
        std::function<int(CKovUnit& unit, int groupId)> rebuildFitting;
    };
    void MirrorRangeHorizontal(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                               const CDbPointArray& toolPoints, const CDbPoint& corner2,
                               const DeviceTransform& transform, const RangeTurnOptions& options);
    void MirrorRangeVertical(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                             const CDbPointArray& toolPoints, const CDbPoint& corner2, const DeviceTransform& transform,
                             const RangeTurnOptions& options);
    // By a degrees, counter-clockwise on the screen; texts keep their angle, pictures stay.
    void RotateRange(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                     const CDbPointArray& toolPoints, const CDbPoint& corner2, const DeviceTransform& transform,
                     double a, const RangeTurnOptions& options);
    void RotateRangeLeft90(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                           const CDbPointArray& toolPoints, const CDbPoint& corner2, const DeviceTransform& transform,
                           const RangeTurnOptions& options);
    void RotateRangeRight90(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                            const CDbPointArray& toolPoints, const CDbPoint& corner2, const DeviceTransform& transform,
                            const RangeTurnOptions& options);
    // Two right quarter turns of the objects the range held at first: the second turn does not select
    // again, so nothing that the first turn brought into the range's rectangle is turned with them.
    void RotateRange180(const TextBoxMeasurer& measurer, SelectionRecord& selection, const CPlotInfo& plot,
                        const CDbPointArray& toolPoints, const CDbPoint& corner2, const DeviceTransform& transform,
                        const RangeTurnOptions& options);
    // Everything of the current layer inside the rectangle c1-c2 (border included) moves by (dx, dy),
    // vertex by vertex: what crosses the border is stretched. Groups' boxes only grow. Pictures stay.
    void StretchRange(const CPlotInfo& plot, const CDbPoint& c1, const CDbPoint& c2, double dx, double dy);
    // Reflects the selection across the ungrouped straight line under the click (any layer). 0 with
    // nothing changed when no such line is there.
    int MirrorSelection(const SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& click,
                        const DeviceTransform& transform);
    // -- range mirroring, turning and stretching (end)

    // -- layers, duplicates and pictures (begin)
    // Layer group `source` (layer `sourceLayer` unless wholeGroup) onto `target`: the objects move, or
    // copies are added under new identifiers with their groups' member lists following the copies.
    // A copy never keeps a group identifier whose group was not copied with it. Picture copies take a
    // number without a temporary file of any type in pictureFolder, and a copy of the file. The copies
    // return 1, or 0 with nothing copied when identifiers ran out.
    void MoveLayerObjects(int sourceLayer, int sourceGroup, int targetLayer, int targetGroup, int wholeGroup);
    int CopyLayerObjects(int sourceLayer, int sourceGroup, int targetLayer, int targetGroup, int wholeGroup,
                          const std::filesystem::path& pictureFolder = {});
    // keep: copies go to the target and the selection stays where it is.
    int ChangeSelectionLayer(const SelectionRecord& selection, int targetGroup, int targetLayer, int keep,
                              const std::filesystem::path& pictureFolder = {});
    int CopySelectionToLayer(const SelectionRecord& selection, int targetLayer, int targetGroup,
                              const std::filesystem::path& pictureFolder = {});
    // Moves the groups and ungrouped figures, walls and texts of the layer group by (-x, -y) from the
    // snapshot, so that (x, y) becomes its origin. Pictures are the caller's.
    void MoveLayerGroupCentre(double x, double y, const CKovUnit& snapshot, int layerGroup);
    // Copies of the selected objects under new identifiers, moved by (-dx, -dy), replace them in the
    // selection; walls, texts and groups go to the editing layer. Picture copies are moved by half
    // their size up and left and get their own file. 1 when copied; 0 when identifiers ran out, with
    // nothing copied and the selection as it was.
    int DuplicateSelection(SelectionRecord& selection, double dx, double dy, const CPlotInfo& plot,
                           const std::filesystem::path& pictureFolder = {});
    // The selected picture scaled so that the picture points toolPoints[0], [1] land on the drawing
    // points toolPoints[2] and d2; outCentre is where its centre must go (drawing mm). 0 with nothing
    // changed; when the points lie too close for a measure, outMessage gets the message for the user.
    int CalibrateImage(const SelectionRecord& selection, const DeviceTransform& transform, const CPlotInfo& plot,
                       const CDbPointArray& toolPoints, const CDbPoint& d2, CDbPoint& outCentre,
                       std::string* outMessage = nullptr);
    // -- layers, duplicates and pictures (end)

    // -- line edits: trims, corners, chamfers, divisions, cuts, joins, parallels (begin)
    // Defined in src/edit (Trimming, Corners, ArcLineFillet, Division, LineCuts, ParallelLines,
    // Explode, Envelope). They take no undo snapshot and redraw nothing. A message for the user goes
    // to `tell` before the operation returns; the tool step shows it. Clicks come in sheet
    // millimetres and device pixels of the transform; toolPoints are the tool's collected points,
    // whose count is the step. Results as each tool's step reads them (1 done or accepted, 2 and 3
    // waiting or done by the tool's table, 0 or -1 refused).
    using MessageSink = std::function<void(std::string_view)>;

    // Trim and extend: step 0 picks the reference (line, circle or arc of any layer), step 1 a
    // target line or arc of the current layer (3 done at once, 2 when the crossing is to be chosen),
    // step 2 the crossing nearer the click (3).
    int TrimExtendLine(SelectionRecord& selection, const CPlotInfo& plot, int devX, int devY,
                       CDbPointArray& toolPoints, const CDbPoint& click, const DeviceTransform& transform,
                       const MessageSink& tell);
    // Moves one end of a straight line to n; r, a point on or near the line, tells which part stays.
    static void ReplaceLineEnd(CKovLine& line, const CDbPoint& n, const CDbPoint& r);

    // Corner: two lines, or a line and an arc, extended or cut to meet. arcEnd keeps, between clicks,
    // which end of a picked arc moves (1 start, 2 end, 0 for a line).
    int CornerLines(SelectionRecord& selection, const CPlotInfo& plot, CDbPointArray& toolPoints,
                    const CDbPoint& click, int devX, int devY, const DeviceTransform& transform, double& arcEnd);
    // With one tool point: stores p and the crossings of the line with the arc's circle as tool
    // points 1-3; with four: joins both at the candidate nearer p. 0 when they do not meet.
    int CornerArcLine(CKovLine& arc, CKovLine& line, const CDbPoint& p, double arcEnd, CDbPointArray& toolPoints);
    // Chamfer sizes: 0 face or edge length, 1 fillet radius, 2 and 3 the L-notch's lengths.
    // Modes: 0 straight by face length, 1 straight by edge length, 2 fillet, 3 L-shaped notch.
    using ChamferSizes = std::array<double, 4>;
    int ChamferLines(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                     const CDbPoint& click, int devX, int devY, const DeviceTransform& transform,
                     const ChamferSizes& sizes, int mode, const MessageSink& tell);
    // The chamfer of two figures already chosen, clicked at the two points: 2 made, 0 refused.
    int ChamferPair(int firstId, int secondId, const CDbPoint& firstClick, const CDbPoint& secondClick,
                    const CPlotInfo& plot, const ChamferSizes& sizes, int mode, const MessageSink& tell);
    // The fillet of radius r between segments A0-A1 and B0-B1: out holds its centre, start and end
    // (counter-clockwise, the shorter way) and the segments are cut back to the tangent points
    // (A0, B0 the tangent points, A1, B1 the far ends). -1 with nothing changed when none exists.
    static int FilletCorner(CDbPoint out[3], CDbPoint& a0, CDbPoint& a1, CDbPoint& b0, CDbPoint& b1, double r);
    // The rounded corner of radius r between an arc and a line, clicked at pa and pl: 1 made (both
    // changed, a new arc added), 0 no fillet possible, 2 no position matches the clicks.
    int FilletArcLine(CKovLine& arc, CKovLine& line, const CPlotInfo& plot, const CDbPoint& pa, const CDbPoint& pl,
                      double r);

    // Division by count or length. The dialog answers mode (0 count, 1 length), count and length;
    // false when cancelled.
    using DivisionAsk = std::function<bool(int& mode, int& count, double& length)>;
    int DivideFigure(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                     const CDbPoint& click, int devX, int devY, const DeviceTransform& transform,
                     double& segmentLength, const DivisionAsk& ask, const MessageSink& tell);
    // Lines across the segment toolPoints[0]-[1] at its n - 1 division points, from the parallel
    // through toolPoints[2] to the parallel through `end`; they become the selection.
    void DivideBetweenPoints(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                             const CDbPoint& end, int n);

    // Partial cut: step 0 picks the line (the click becomes its foot on it), step 1 removes the part
    // between the two clicks. 1 done, 0 not.
    int CutLinePart(SelectionRecord& selection, const CPlotInfo& plot, const DeviceTransform& transform, int devX,
                    int devY, const CDbPointArray& toolPoints, CDbPoint& click);
    // Cuts every line, continuous line, circle and arc of the current layer under the click there.
    // 1 when one was cut (the click becomes a straight line's cut point).
    int SplitLineAtPoint(const CPlotInfo& plot, const DeviceTransform& transform, int devX, int devY, CDbPoint& click);
    // Deletes the ungrouped figure of the current layer under the click.
    void EraseLineAtPoint(const CPlotInfo& plot, const DeviceTransform& transform, int devX, int devY,
                          const CDbPoint& click);
    // The lines continuing the clicked one end to end become one continuous line or closed polygon,
    // selected: 1; 0 no line at the click; -1 nothing to join or a branch.
    int JoinLines(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& click, int devX, int devY,
                  const DeviceTransform& transform);

    // Parallel line at distance d on the clicked side: 1 reference taken, 2 drawn, 0 no line, -1 gone.
    int MakeParallelLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints, double x,
                         double y, int devX, int devY, const DeviceTransform& transform, double d);
    // Two lines along a reference, left and right of the way from the start to the end click:
    // 1 reference, 2 start (the click becomes its foot on the reference), 3 drawn, 0 no line, -1 refused.
    int MakeDoubleLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                       CDbPoint& click, int devX, int devY, const DeviceTransform& transform,
                       const std::array<double, 2>& leftRight);

    // Every selected rectangle, polygon and continuous line becomes the straight lines of its sides,
    // which become the selection.
    void ExplodePolylines(SelectionRecord& selection, const CPlotInfo& plot);

    // Envelope processing of the ungrouped straight lines of the editing layer in the rectangle
    // p1 (min x, min y), p2 (min x, max y), p3 (max x, max y), p4 (max x, min y), line type by line type.
    void EnvelopeRange(const CPlotInfo& plot, const CDbPoint& p1, const CDbPoint& p2, const CDbPoint& p3,
                       const CDbPoint& p4);
    void EnvelopeInRect(const CPlotInfo& plot, const CDbPoint& p1, const CDbPoint& p2, const CDbPoint& p3,
                        const CDbPoint& p4, int lineType);
    // -- line edits (end)

    // -- hatch lines and rooms (begin)
    // Parallel lines clipped to the outline (edge i from starts[i] to ends[i]), appended to the
    // selection. angle in degrees; pitch d inside a group of linesPerGroup lines, spacing e between
    // groups, offsets f (x) and g (y); kind 4 brick joints, 5 floor joints between the lines the
    // selection held before, other values plain lines.
    void MakeHatchLines(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& starts,
                        const CDbPointArray& ends, int layerGroup, int layer, double angle, double d, double e,
                        double f, double g, int linesPerGroup, int kind);
    void AddRoomHatchLines(const DeviceTransform& transform, const CPlotInfo& plot, CKovLine& polygon,
                           CKovGroup& group);
    // The figure's hatch becomes a new group of lines in its colour; the group's identifier or -1.
    int HatchToLines(int figureId, SelectionRecord& selection, const DeviceTransform& transform, double spacing,
                     const CPlotInfo& defaults);
    void AllHatchesToLines(SelectionRecord& selection, const DeviceTransform& transform, double spacing,
                           const CPlotInfo& defaults);
    // Rooms: walls on every edge, joined, gathered into a room group with the floor polygon, its
    // hatch or tatami lines and a label. The group and the label become the selection. 1 made, 0 not.
    int CreatePolygonRoom(const DeviceTransform& transform, const CDbPointArray& vertices, const CDbPoint& closing,
                          const CPlotInfo& plot, const CFontMenu& font, SelectionRecord& selection,
                          const CGrid& grid, const RoomSettings& settings);
    int CreateRectRoom(const DeviceTransform& transform, double x1, double y1, double x2, double y2,
                       const CPlotInfo& plot, const CFontMenu& font, SelectionRecord& selection, const CGrid& grid,
                       const RoomSettings& settings);
    // A two-point line of the given line type on the group's layer, made a member of it.
    void AddGroupLine(const CDbPoint& p1, const CDbPoint& p2, CKovGroup& group, int lineType);
    // -- hatch lines and rooms (end)

    // -- text creation (begin)
    // Texts on the editing layer with their own copy of the font, drawn above the older texts.
    int AddResultText(const CFontMenu& font, const CDbPoint& position, std::string_view text, const CPlotInfo& plot);
    // vertical: "@" face and escapement 2700; angle in whole degrees is added to the escapement. The
    // new text becomes the selection.
    void AddText(const CFontMenu& font, const CDbPoint& position, std::string_view text, const CPlotInfo& plot,
                 SelectionRecord& selection, int vertical, int angle);
    void AddDecoratedText(const CFontMenu& font, const CDbPoint& position, std::string_view text,
                          const CPlotInfo& plot, SelectionRecord& selection, std::uint32_t textColour,
                          std::uint32_t frameColour, int decoration, double frameThickness, int frameType,
                          int frameShape, int opacity);
    // -- text creation (end)

    // -- wall edits, dimensions, double lines, balloons, stairs and axis lines (begin)
    // Erase the part of every wall (columns never) of the current layer group between P and Q: on
    // a wall's core line, or inside its body. A wall cut in its middle becomes two walls of its
    // group. 1 when any wall changed (the layer group's walls are then reset and joined again), 0
    // when no wall lies between the points.
    int EraseWallPartOnCore(const CPlotInfo& plot, CDbPoint p, CDbPoint q);
    int EraseWallPartInside(const CPlotInfo& plot, CDbPoint p, CDbPoint q);
    // With one room group selected, its axis-parallel wall through the click is split there and the
    // room's polygon gets the click as a vertex. 0 refused (no single room, a click on a vertex),
    // 1 otherwise (also when no wall passes through the click).
    int AddRoomVertex(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& click, DevicePoint clickPx,
                      const DeviceTransform& transform);
    // The three clicks that bend a room wall: one end (1), its other end (2), the bulge point (3,
    // the wall replaced by a curved band); 0 refused with nothing changed. The click is moved onto
    // the chosen vertex. separateSegments as for double lines.
    int BendRoomWall(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points, CDbPoint& click,
                     DevicePoint clickPx, const DeviceTransform& transform, int separateSegments);

    // Dimensions around the walls of the scope (0 every wall, 2 the walls of sourceLayer): a chain
    // between consecutive wall-end coordinates on each side and an overall dimension one row
    // further out, on targetLayer, appended to the selection. height and distance in drawing mm.
    void CreateAutoDimensions(int height, int distance, int scope, std::array<int, 2> sourceLayer,
                              std::array<int, 2> targetLayer, SelectionRecord& selection, const CPlotInfo& plot);
    // Every selected dimension becomes its value text, its extension lines and a plain line in
    // its place; the selection then holds what was made. defaultFont: the user's font for texts.
    void DimensionsToText(SelectionRecord& selection, const CPlotInfo& plot, const CFontMenu& defaultFont);
    // The value text of a dimension of that length by the plot settings' unit, decimals and grouping.
    static std::string FormatDimensionValue(double length, const CPlotInfo& plot);

    // Two lines at dl left and dr right of the path (points, then finish), or the closed band
    // between them. Both clear the selection and select what they make; the band returns its
    // identifier, -1 when nothing was made.
    void AddDoubleLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                       const CDbPoint& finish, double dl, double dr, int separateSegments);
    int AddDoubleLinePolygon(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                             const CDbPoint& finish, double dl, double dr);
    // The left and right outlines of such a path; false when every segment has equal ends.
    static bool DoubleLineOutlines(const CDbPointArray& points, const CDbPoint& finish, double dl, double dr,
                                   CDbPointArray& left, CDbPointArray& right);

    // Balloon (shape 0 rectangle, 1 rounded, 2 ellipse; direction 0 up, 1 left, 2 down, 3 right;
    // position 0-2 along the side) and rounded rectangle: one closed polygon made a group of its own,
    // which becomes the selection. arcSteps: arc pieces per rounded corner.
    void CreateBalloon(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& corners,
                       const CDbPoint& tip, const DeviceTransform& transform, int arcSteps, int direction,
                       int position, int shape);
    void CreateRoundedRect(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& corners,
                           const CDbPoint& radiusPoint, int arcSteps);
    // The outlines the two make (the previews draw the same); empty when nothing would be made.
    static CDbPointArray BalloonOutline(const CDbPoint& corner1, const CDbPoint& corner2, const CDbPoint& tip,
                                        double paperScale, int arcSteps, int direction, int position, int shape);
    static CDbPointArray RoundedRectOutline(const CDbPoint& corner1, const CDbPoint& corner2,
                                            const CDbPoint& radiusPoint, int arcSteps);
    // The tail on the side A-B: its base a quarter of the side at the start (0), the end (2) or the
    // middle (any other code), and the tip between.
    static void AddBalloonTailPoints(CDbPointArray& list, const CDbPoint& a, const CDbPoint& b, int position,
                                     const CDbPoint& tip);

    // Stairs from the two width points and the third click: the four-corner outline and treads of a
    // straight flight, the six-corner outline and lines of a turning section or of the end of a
    // flight, and the turning section's pivot. 1 when made; 0 when the run, the width, the number of
    // steps or the tread depth gives no flight.
    static int ComputeStairsGeometry(const CPlotInfo& plot, const CDbPointArray& widthPoints, const CDbPoint& click,
                                     const StairsSettings& settings, std::array<CDbPoint, 4>& outline4,
                                     std::array<CDbPoint, 6>& outline6, CDbPointArray& treadStarts,
                                     CDbPointArray& treadEnds, CDbPointArray& turnStarts, CDbPointArray& turnEnds,
                                     CDbPoint& pivot);
    // The stairs as one selected group (the direction arrow as one selected line, on the finishing
    // double click only). false when the geometry gave nothing: the tool keeps its points.
    bool CreateStairs(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                      const CDbPoint& click, const StairsSettings& settings, int finish);

    // The axis-line grid from the spacings xs and ys (sheet mm) and the settings (read from the
    // profile by the caller, model/AxisValueFile.h): lines, numbered circles and dimensions on
    // the layer, each appended to the selection.
    void CreateGridLines(SelectionRecord& selection, const CPlotInfo& plot, const DeviceTransform& transform,
                         int layerGroup, int layer, const std::vector<double>& xs, const std::vector<double>& ys,
                         const AxisLineSettings& settings);
    // -- wall edits, dimensions, double lines, balloons, stairs and axis lines (end)

    // -- drawing: line styles, dimensions, end marks (begin)
    // Stateless drawers; they paint only through the surface and set every pen, brush and background
    // mode they use on each call.
    //
    // A segment between device points in a line type, with `pen`. Broken types 1-4 walk the dash
    // table from the segment's left end (top end when vertical); phaseIndex (the pattern element) and
    // usedLength (pixels of it already drawn) carry the pattern from one segment of a figure to the
    // next, and the used length for the next segment is returned. Solid types return 0 and keep
    // phaseIndex.
    static int DrawStyledSegment(kov::platform::Surface& dc, const DeviceTransform& transform, int lineType,
                                 const DevicePoint& start, const DevicePoint& end, const CPlotInfo& plot,
                                 int& phaseIndex, int usedLength, const kov::platform::Pen& pen);
    // DrawStyledSegment with a fresh pattern (lines, printed grid lines, previews).
    static void DrawStyledLine(kov::platform::Surface& dc, const DeviceTransform& transform, int lineType,
                               const DevicePoint& start, const DevicePoint& end, const CPlotInfo& plot,
                               const kov::platform::Pen& pen);
    // The outline of a circle, ellipse or arc figure in line type 1-4, with its own solid pen of the
    // width and colour. Box in device pixels; centre, start and end in drawing millimetres; equal start
    // and end mean the whole outline. The figure gives the radius (and ratio) and the layer group.
    static void DrawDashedArc(kov::platform::Surface& dc, const DeviceTransform& transform, int lineType,
                              const kov::platform::DeviceRect& box, const CDbPoint& centre, const CDbPoint& start,
                              const CDbPoint& end, const CKovLine& figure, const CPlotInfo& plot, int penWidth,
                              std::uint32_t colour);
    // A kind-5 figure: the two extension lines, the dimension line, the value and the end marks.
    static void DrawFigureDimension(kov::platform::Surface& dc, const DeviceTransform& transform,
                                    const CKovLine& figure, const CPlotInfo& plot, bool output);
    // Line-end marks, code 0-12 and size index 0-4 (others clamped), placed on the device points; the
    // real points give the direction. Open arrows and the outlines of filled marks use `pen`; filled
    // marks are filled with `colour`.
    static void DrawEndMarks(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                             const DevicePoint& start, const DevicePoint& end, const CDbPoint& startReal,
                             const CDbPoint& endReal, std::uint32_t colour, int code, int sizeIndex,
                             const kov::platform::Pen& pen);
    // -- drawing: line styles, dimensions, end marks (end)

    // -- drawing: figures, fills, walls and columns (begin)
    // What the drawers take from the application: fill-pattern bitmaps, the tracing switch and the
    // drawing settings of the application (defined in render/DrawEnvironment.h).
    struct DrawEnvironment;

    // Figure drawers by kind (0 line, 1 rectangle, 2 polygon, 3 circle or ellipse, 4 arc, 6 continuous
    // line). `output` is set for paper, print preview, pictures and the clipboard and turns the
    // screen-only effects (greying, tracing, the dotted auxiliary line) off; pen widths follow the
    // surface's printing flag. A figure with too few points or parameters draws nothing.
    void DrawFigureLine(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                        const CPlotInfo& plot, bool output, const DrawEnvironment& env) const;
    void DrawFigureRectangle(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                             const CPlotInfo& plot, bool output, const DrawEnvironment& env) const;
    void DrawFigurePolygon(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                           const CPlotInfo& plot, bool output, const DrawEnvironment& env) const;
    void DrawFigureCircle(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                          const CPlotInfo& plot, bool output, const DrawEnvironment& env) const;
    void DrawFigureArc(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                       const CPlotInfo& plot, bool output, const DrawEnvironment& env) const;
    void DrawFigureCurve(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                         const CPlotInfo& plot, bool output, const DrawEnvironment& env) const;
    // The drawer of the figure's kind (dimension lines included); other kinds draw nothing.
    void DrawFigure(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovLine& figure,
                    const CPlotInfo& plot, bool output, const DrawEnvironment& env) const;

    // Lays a gradient or translucent colour. Shape kinds 1 and 2: the polygon of the points; 3: the
    // ellipse of the box points[0] (top-left) .. points[1] (bottom-right); 4: the sector of that box
    // from the radial through points[2] to the one through points[3]; other kinds draw nothing.
    // gradientCode is angle × 100 + mode (2: over the box of the plain group `groupId`);
    // displayMode is PlotGradation (2 and 3 lay towards the surroundings, 3 in the chic greys).
    void FillGradientShape(kov::platform::Surface& dc, const DeviceTransform& transform, const DevicePoint* points,
                           int count, int shapeKind, int groupId, std::uint32_t colour1, std::uint32_t colour2,
                           int gradientCode, int opacityPercent, int displayMode) const;

    // Walls and columns. filter 0 draws, 1 leaves out selected walls, 2 draws only selected ones
    // (a wall is selected by its own identifier or its group's). While placing, the walls of the
    // group being placed (the selection's first group) are left out by DrawWallPolygon with
    // filter 1 and by the others always.
    void DrawWallPolygon(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovWall& wall,
                         const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter,
                         bool output, const DrawEnvironment& env) const;
    void DrawColumn(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovWall& wall,
                    const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter, bool output,
                    const DrawEnvironment& env) const;
    // The circle of a through column (column type 2); nothing for other columns.
    void DrawRoundColumn(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovWall& wall,
                         const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter,
                         bool output, const DrawEnvironment& env) const;
    // Every wall (shape kind 0) of the container in one style, for the part previews.
    void DrawAllWalls(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                      const SelectionRecord& selection, bool placing, int filter, bool output,
                      const DrawEnvironment& env) const;
    // -- drawing: figures, fills, walls and columns (end)

    // -- draw passes (begin)
    // The passes decide which objects are drawn and in which order: layer group by layer group,
    // layer by layer (hidden ones left out), and on each layer pictures below, rooms, walls,
    // columns, figures, through columns, texts, pictures on top, then the selection marks. Objects
    // whose device box misses the surface's visible area are skipped before anything is made for
    // them. `placing` is set while a group read from another file is being placed (the last group
    // of the container); `output` for paper, pictures and the clipboard (no screen-only effects).
    //
    // The full pass; it refreshes the pictures-below setting of the environment from the profile.
    // Pictures drawn remember their device rectangle.
    void DrawAllByLayer(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                        const SelectionRecord& selection, bool placing, bool output, DrawEnvironment& env);
    // The full pass without anything selected: the back buffer while a drag is in progress.
    void DrawUnselectedByLayer(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                               const SelectionRecord& selection, bool placing, bool output,
                               const DrawEnvironment& env);
    // Only the selection, over the back buffer while dragging or placing, with its marks.
    void DrawSelected(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                      const SelectionRecord& selection, bool placing, bool output, const DrawEnvironment& env);
    // The pictures of layer 0 of every shown layer group, when pictures lie below everything;
    // includeSelected is false while dragging (the selection pass draws those).
    void DrawBackgroundImages(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                              const SelectionRecord& selection, bool placing, bool output,
                              const DrawEnvironment& env, bool includeSelected);
    // A part's container in the parts palette and dialogs: no layers, no pictures.
    void DrawPartPreview(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                         const SelectionRecord& selection, bool placing, bool output,
                         const DrawEnvironment& env) const;
    // -- draw passes (end)
    // -- drawing: texts and selection marks (begin)
    // Selection filters of the text drawers: 0 every text, 1 only texts not selected, 2 only
    // selected ones. A text is selected by its own identifier or by its group's.
    //
    // One text: plain (decoration 0) through the surface's text output, line by line, with its
    // font, angle, spacing, line gap, alignment and background; decorated (1 filled, 2 hollow)
    // through DrawTextPath. Black-and-white mode and the chic display change its colours; on the
    // screen (output false) with app_printrealmode on, each line of a fixed-pitch face gets its
    // dotted printed-extent frame. While placing, the texts of the group being placed (the
    // selection's first group) are left out.
    static void DrawTextObject(kov::platform::Surface& dc, const DeviceTransform& transform, const CKovText& text,
                               const CPlotInfo& plot, const SelectionRecord& selection, bool placing, int filter,
                               bool output, const DrawEnvironment& env);
    // Every text in array order as DrawTextObject draws it, without the colour modes and without
    // the extent frame; the placing check applies with filter 1 only.
    void DrawTexts(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                   const SelectionRecord& selection, bool placing, int filter, const DrawEnvironment& env) const;
    // A decorated text as glyph outlines at the device point of `position` in `layerGroup`: stroked
    // with the outline colour (width paperScale × frameThickness, 1 when negative), then filled
    // (decoration 1) or left hollow (2); shapes 1-6 warp it by `slant` twentieths of its bounds.
    // Opacity in per cent. Texts of any length.
    static void DrawTextPath(kov::platform::Surface& dc, const DeviceTransform& transform, const CFontMenu& font,
                             std::string_view text, double frameThickness, int shape, int slant, int decoration,
                             const CDbPoint& position, std::uint32_t fillColour, std::uint32_t outlineColour,
                             int opacity, int layerGroup);
    // The unrotated box of a text drawn with its top-left at (x, y): the longest line by CP932 bytes
    // measured in the text's font, times the number of lines with the line gap.
    static void TextBoxSize(kov::platform::DeviceRect& out, kov::platform::Surface& dc, int x, int y,
                            std::string_view text, const CFontMenu& font, double paperScale);

    // Grips of every selected object (identifiers not found are skipped), with the rotation and
    // anchor handles when exactly one object is selected. Pictures use their last drawn rectangle.
    void DrawSelectionMarks(kov::platform::Surface& dc, const DeviceTransform& transform, const CPlotInfo& plot,
                            const SelectionRecord& selection) const;
    // The grip square of g_nPickTolerance pixels about the point, filled with the colour.
    static void DrawGripSquare(kov::platform::Surface& dc, const DevicePoint& point, std::uint32_t colour);
    // -- drawing: texts and selection marks (end)

    // -- drawing: tool previews (begin)
    // What the tool in use would make, drawn over the view's copy of its back buffer from the tool's
    // points, the pointer and the settings in PreviewInput (render/ToolPreviews.h). They keep nothing;
    // input that gives no figure draws less or nothing.
    struct PreviewInput;
    // The preview of the tool number; nothing for tools without one, or without points except for
    // the tools that follow the pointer from the start.
    void DrawToolPreview(kov::platform::Surface& dc, const DeviceTransform& transform, int tool,
                         const PreviewInput& in) const;
#define KOV_PREVIEW(name) void name(kov::platform::Surface& dc, const DeviceTransform& transform, const PreviewInput& in) const
    // Figure tools, in the default style of their slot.
    KOV_PREVIEW(DrawLinePreview);
    KOV_PREVIEW(DrawRectanglePreview);
    KOV_PREVIEW(DrawCirclePreview);
    KOV_PREVIEW(DrawEllipsePreview);
    KOV_PREVIEW(DrawArcPreview);
    KOV_PREVIEW(DrawEllipticArcPreview);
    KOV_PREVIEW(DrawThreePointArcPreview);
    // Walls, rooms, fittings and stairs.
    KOV_PREVIEW(DrawWallPreview);
    KOV_PREVIEW(DrawRectRoomPreview);
    KOV_PREVIEW(DrawPolygonRoomPreview);
    KOV_PREVIEW(DrawWallCutPreview);
    KOV_PREVIEW(DrawBendWallPreview);
    KOV_PREVIEW(DrawFittingPreview);
    KOV_PREVIEW(DrawStairsPreview);
    KOV_PREVIEW(DrawRoofPreview);
    // Dimensions, texts, balloons and notation symbols.
    KOV_PREVIEW(DrawDimensionPreview);
    KOV_PREVIEW(DrawTextPreview);
    KOV_PREVIEW(DrawDecoratedTextPreview);
    KOV_PREVIEW(DrawBalloonPreview);
    KOV_PREVIEW(DrawNotationSymbolPreview);
    // Construction tools.
    KOV_PREVIEW(DrawLengthLinePreview);
    KOV_PREVIEW(DrawAngleLinePreview);
    KOV_PREVIEW(DrawPerpendicularPreview);
    KOV_PREVIEW(DrawDoubleLinePreview);
    KOV_PREVIEW(DrawTangentPreview);
    KOV_PREVIEW(DrawTangentSecondPreview);
    KOV_PREVIEW(DrawTrianglePreview);
    KOV_PREVIEW(DrawRoundedRectPreview);
    KOV_PREVIEW(DrawImageFitPreview);
    // Editing tools.
    KOV_PREVIEW(DrawCutLinePreview);
    KOV_PREVIEW(DrawPartialDeletePreview);
    KOV_PREVIEW(DrawParallelLinePreview);
    KOV_PREVIEW(DrawTrimExtendPreview);
    KOV_PREVIEW(DrawEqualDivisionPreview);
    KOV_PREVIEW(DrawEnvelopePreview);
    KOV_PREVIEW(DrawCornerPreview);
    KOV_PREVIEW(DrawPaperFramePreview);
    KOV_PREVIEW(DrawRangeMovePreview);
    KOV_PREVIEW(DrawRangeTransformPreview);
    KOV_PREVIEW(DrawRangeDeletePreview);
    KOV_PREVIEW(DrawDividePreview);
#undef KOV_PREVIEW
    // A red line through the points and on to the pointer; nothing without points. The multi-point
    // rubber band draws its chains with it too.
    static void DrawPointChainPreview(kov::platform::Surface& dc, const DeviceTransform& transform,
                                      const CDbPointArray& points, const CDbPoint& pointer, const CPlotInfo& plot);
    // -- drawing: tool previews (end)

    // -- parts, fittings and notation symbols (begin)
    // Defined in src/building (PartFiles.cpp, Fittings.cpp, FittingRebuilds.cpp, NotationSymbols.cpp,
    // PartPlacement.cpp); the option types are in building/Fittings.h and building/PartPlacement.h.
    //
    // The part's first group with its member figures, walls and texts (identifiers naming nothing
    // passed over), copied in under new identifiers as the last group, on the editing layer; texts
    // drawn for 1:100 keep their size against the part at the layer group's scale. The new group's
    // identifier; 0 with nothing added when the part has no group or identifiers ran out.
    int InsertPartGroup(const CKovUnit& part, const CPlotInfo& plot);
    // A fitting's frame: the first rectangle of its figure list that exists; null without one.
    const CKovLine* FittingFrame(const CKovGroup& group) const;
    CKovLine* FittingFrame(const CKovGroup& group);
    // The frame's P0-P3 (width) and P0-P1 (depth) in whole millimetres; without a frame the width of
    // the group's box.
    double GetFittingWidth(const CKovGroup& group) const;
    double GetFittingDepth(const CKovGroup& group) const;
    // Works out the opening from the two clicks, the side and end from the third, and fits the
    // inserted library group there (FitFittingToWall); the group becomes the only selection. 0 with
    // nothing changed when the width or thickness gives no fitting, else 1.
    int PlaceFitting(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                     const CDbPoint& third, int groupId, const kov::building::FittingChoice& choice,
                     const kov::building::FittingRules& rules);
    // Turns the inserted library drawing into a fitting group: option lines, mirror, stretch to the
    // depth, scale to the width, turn and move onto the origin. 0 with nothing changed when the group
    // or its frame is missing or a size is not above 0, else 1.
    int FitFittingToWall(int groupId, const kov::building::FittingFit& fit);
    // The storm shutter's box, the roller shutter, the lattice and the insect screen as lines of the
    // group, drawn against the library drawing's frame before it is stretched.
    void AddFittingOptionLines(CKovGroup& group, double depth, int kind, int number, int optionCode);
    // Rebuilds of a placed fitting from its library drawing: a new width and depth (centred on the
    // wall when the depth changes), turned to the other face of its wall, mirrored end for end
    // (mode 0) or with its storm-shutter box at the other end (mode 1). The new fitting is the only
    // selection. 1 done; 0 when the group is no fitting; -1 when its drawing cannot be read
    // (library.error says so; the old fitting stays as it was).
    int RefitFitting(int groupId, double width, double depth, SelectionRecord& selection, const CPlotInfo& plot,
                     kov::building::FittingLibraryAccess& library);
    int FlipFittingAcrossWall(int groupId, SelectionRecord& selection, const CPlotInfo& plot,
                              kov::building::FittingLibraryAccess& library);
    int RebuildFitting(int groupId, SelectionRecord& selection, const CPlotInfo& plot, int mode,
                       kov::building::FittingLibraryAccess& library);
    // A row of notation symbols from the symbol file over the range A-B (toolPoints) at height h, on
    // the side of the third click, as one new selected group. 1 made; 0 when the file gives no
    // group, more than 500 copies would be needed or identifiers ran out (nothing is left behind).
    int CreateNotationSymbols(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& toolPoints,
                              const CDbPoint& third, double length, double height,
                              const std::filesystem::path& symbolFile, kov::building::PartFileCache* cache = nullptr);
    // The placement options on the selected group just inserted from the parts palette: black and
    // white, size, direction. 1 done, 0 when the selection is not one group or a size gives nothing.
    int PlacePart(SelectionRecord& selection, const CPlotInfo& plot, const kov::building::PartPlacement& options);
    // -- parts, fittings and notation symbols (end)

    // -- elevations (begin)
    // Defined in src/building (Elevations.cpp, ElevationFittings.cpp, ElevationRoofs.cpp,
    // ElevationOutlines.cpp); the library access and segment types are in building/Elevations.h.
    //
    // One elevation view (direction 1 south, 2 north, 3 east, 4 west) of the floors' walls, outer-wall
    // lines, fittings, roofs and balconies as new figures, texts and groups on the output layer, moved
    // by (offsetX, offsetY); the selection ends empty. Without a library (or with btateg off) fittings
    // are drawn as outlines; a drawing that cannot be read is drawn as its outline too.
    void CreateElevations(double offsetX, double offsetY, SelectionRecord& selection, const CPlotInfo& plot,
                          const CRituInfo& ritu, int direction, kov::building::ElevationLibrary* library = nullptr);
    // This container (a scratch copy) turned so that the side seen lies at the bottom of the sheet.
    void TurnForElevation(int direction);
    void DrawElevationFloor(SelectionRecord& selection, const CKovUnit& turned, double hLow, double hHigh,
                            int layerGroup, const CRituInfo& ritu, int floor, const CPlotInfo& plot, int roofs,
                            kov::building::ElevationLibrary* library);
    // The visible wall-face spans S[i]-E[i] (S.x <= E.x, larger y nearer), far to near.
    static void MergeElevationSpans(CDbPointArray& s, CDbPointArray& e);
    void AddElevationLabel(SelectionRecord& selection, const CPlotInfo& plot, const CDbPoint& position,
                           const CRituInfo& ritu, int direction);
    void DrawElevationFittings(SelectionRecord& selection, const CKovUnit& turned, const CDbPoint& s,
                               const CDbPoint& e, double hLow, const CPlotInfo& plot, int layerGroup,
                               const CRituInfo& ritu, kov::building::ElevationLibrary* library);
    // Fits an inserted elevation drawing with its frame's top-left at (x, y): 0 without the group or
    // its frame, or when the frame has no width or height (nothing is changed), else 1.
    int PlaceElevationFitting(double x, double y, double width, double height, double mirror, int groupId,
                              int optionCode);
    void AddElevationShutter(CKovGroup& group, int optionCode, double mirror);
    double GetElevationFittingHeight(const CKovGroup& group) const;
    static void CollectElevationRoofs(const CKovUnit& turned, std::vector<const CKovLine*>& roofs, int layerGroup);
    static void CollectElevationBalconies(const CKovUnit& turned,
                                          std::vector<kov::building::ElevationSegment>& balconies, int layerGroup);
    void DrawElevationRoofs(SelectionRecord& selection, const std::vector<const CKovLine*>& roofs,
                            std::vector<int>& drawn, double a, double h, int layerGroup, int layer, bool last);
    void DrawElevationBalconies(SelectionRecord& selection,
                                const std::vector<kov::building::ElevationSegment>& balconies,
                                std::vector<int>& drawn, double hLow, const CDbPoint& s, const CDbPoint& e,
                                int layerGroup, int layer, bool last);
    // The outlines the elevations read, drawn with their tools on the editing layer. CreateRoof: the
    // two corners and the ridge-direction click (points), the eaves click (x, y); the group's
    // identifier. CreateOuterWallLine selects its group; CreateBalcony groups the double line when it
    // gives exactly two figures.
    int CreateRoof(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points, double x, double y,
                   const CRituInfo& ritu);
    void CreateOuterWallLine(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points);
    void CreateBalcony(SelectionRecord& selection, const CPlotInfo& plot, const CDbPointArray& points,
                       const CDbPoint& finish, double dl, double dr, double height, double mounting,
                       int separateSegments);
    // -- elevations (end)

    // -- Jw_cad exchange (begin)
    // Replaces a circle, ellipse or arc figure by a polygon (closed) or continuous line (arcs) under a
    // new identifier, appended last; returns it. Fewer points than baseCount where the outline is
    // short. -1 with nothing changed for a missing figure or another kind.
    int CircleToPolylineForImport(int figureId, int baseCount);
    // -- Jw_cad exchange (end)

    // -- DXF exchange (begin)
    // Defined in src/io (DxfWriter.cpp, DxfReader.cpp); the option and result types are in
    // io/DxfReader.h.
    //
    // The whole drawing as a DXF R12 file (code page 932, CR LF): walls, figures and texts on the
    // layers of the plot settings. Nothing in the drawing changes.
    void WriteDxf(std::string& out, const CPlotInfo& plot) const;
    // The same into a file, written whole beside it and renamed over it. Empty when written, else
    // the message for the user (the file, if any, left as it was).
    std::string WriteDxfFile(const std::filesystem::path& path, const CPlotInfo& plot) const;
    // Reads a DXF file's lines, polylines, circles, arcs and texts (blocks expanded where inserted)
    // into this container, which the caller has emptied, all on layer 0 of layer group 0; the
    // layer names, paper and scales of the plot settings follow the file unless the options keep
    // them. The selection is cleared.
    kov::io::DxfReadResult ReadDxf(std::string_view fileBytes, SelectionRecord& selection, CPlotInfo& plot,
                                   const CFontMenu& currentFont, const kov::io::DxfReadOptions& options);
    kov::io::DxfReadResult ReadDxfFile(const std::filesystem::path& path, SelectionRecord& selection,
                                       CPlotInfo& plot, const CFontMenu& currentFont,
                                       const kov::io::DxfReadOptions& options);
    // -- DXF exchange (end)

private:
    int nextId(int& counter, int wrapLimit, int scanLimit, bool (CKovUnit::*inUse)(int) const);
    bool groupIdInUse(int id) const { return m_Groups.Contains(id); }
    bool lineIdInUse(int id) const { return m_Lines.Contains(id); }
    bool wallIdInUse(int id) const { return m_Walls.Contains(id); }
    bool textIdInUse(int id) const { return m_Texts.Contains(id); }
    bool imageIdInUse(int id) const { return m_Images.Contains(id); }
    int deleteSelected(const SelectionRecord& selection); // groups deleted
};
