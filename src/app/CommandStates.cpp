#include "app/CommandStates.h"

#include "app/CommandIds.h"
#include "app/ContextMenu.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"

#include <unordered_map>

namespace kov::app {

namespace {

enum class Kind {
    Always,
    Tool,
    FiguresAndTool,
    WallsAndTool,
    SelectionAndTool,
    OneFigureAndCircleTangent,
    Selection,
    GroupsSelected,
    OneGroup,
    OneFigureOrGroup,
    OneFigure,
    OneRoom,
    FiguresOrGroups,
    FiguresSelected,
    AnythingInLists,
    Text,
    Drawing,
    DrawingWithoutPictures,
    Figures,
    Walls,
    ZoomIn,
    ZoomOut,
    Hand,
    SwitchGrid,
    SwitchDimLayers,
    SwitchTrace,
    SwitchIntersectionSnap,
    SwitchDrawToolBar,
    SwitchGroupToolBar,
    ClipboardPicture,
    Undo,
    Redo,
    Backup,
    SelectMode,
};

struct Rule {
    Kind kind;
    int tool = -1;
};

const std::unordered_map<int, Rule>& rules()
{
    using namespace cmd;
    static const std::unordered_map<int, Rule> table = [] {
        std::unordered_map<int, Rule> t;
        auto add = [&t](Kind k, std::initializer_list<int> ids) {
            for (int id : ids) t[id] = Rule{k};
        };
        auto tool = [&t](Kind k, int id, int number) { t[id] = Rule{k, number}; };

        add(Kind::Always, {PanelSelect, PanelWall, PanelText, PanelProperties, PanelParts, PanelDecoratedText,
                           PanelPolygonRoom, PanelRectRoom, PanelFittings, PanelStairs, Settings, ImportDxf, Help,
                           LayerMoveMerge, LayerSelectAll, PickAttributes, MergeDrawing, LayerCopyMerge, ImportSibling,
                           ImportJw, ExportJw, GridSpacing, ToolElevation, OpenSample, WallThicknessOfSelection,
                           ToolAutoAxes, PartialPrint, ImportCoordinates, ImportJwsJwk, PasteFromCopyFile,
                           ColumnThicknessOfSelection, HomePage, ToolSymbols, PrintOffset, PageSetup, Guide1, Guide2,
                           ObjectCount, RecentList, PatternsToLines, CheckForUpdate, ImportXe3, ImportVerda2, Readme,
                           FileSave, FileSaveAs, FilePrint, FilePrintPreview});

        for (auto [id, n] : std::initializer_list<std::pair<int, int>>{
                 {ToolLine, 3}, {ToolRectangle, 4}, {ToolPolygon, 5}, {ToolCircle, 6}, {ToolArc, 7},
                 {ToolDimension, 9}, {ToolLengthLine, 15}, {ToolAngleLine, 16}, {ToolLineErase, 20},
                 {ToolThreePointArc, 25}, {ToolContinuousLine, 26}, {ToolDoubleLine, 27}, {ToolEllipse, 28},
                 {ToolEllipticArc, 29}, {ToolSpline, 30}, {ToolBezier, 31}, {ToolDivideLine, 33},
                 {ToolEnvelope, 34}, {ToolCorner, 35}, {ToolChamfer, 36}, {ToolDrawingCentre, 37},
                 {ToolRangeMove, 38}, {ToolRangeCopy, 39}, {ToolRangeMirrorLR, 40}, {ToolRangeMirrorTB, 41},
                 {ToolRangeRotateLeft, 42}, {ToolRangeRotateRight, 43}, {ToolRangeRotate, 44},
                 {ToolRangeStretch, 45}, {ToolRangeDelete, 46}, {ToolMeasureAngle, 47}, {ToolAreaSum, 48},
                 {ToolLengthSum, 49}, {ToolTwoPointDistance, 50}, {ToolSizedRectangle, 51}, {ToolRoof, 52},
                 {ToolOuterWallLine, 53}, {ToolBalcony, 54}, {ToolFreeCurve, 58}, {ToolDoubleLinePolygon, 61},
                 {ToolRoundedRectangle, 62}, {ToolDivide, 64}, {ToolBalloon, 68}, {PickAttributes, 14},
                 {ToolPartStretch, 60}, {FitPicture, 71}})
            tool(Kind::Tool, id, n);
        for (auto [id, n] : std::initializer_list<std::pair<int, int>>{
                 {ToolPerpendicular, 17}, {ToolLineCut, 18}, {ToolLinePartDelete, 19}, {ToolOffsetLine, 21},
                 {ToolTwoLines, 22}, {ToolLineStretch, 32}, {ToolJoinLines, 67}})
            tool(Kind::FiguresAndTool, id, n);
        tool(Kind::WallsAndTool, ToolWallPartDelete, 57);
        // The room tools of the context menu act on the one selected room.
        tool(Kind::OneRoom, RoomVertex, 65);
        tool(Kind::OneRoom, RoomCurvedWall, 66);
        tool(Kind::SelectionAndTool, ToolMirrorMove, 63);
        tool(Kind::OneFigureAndCircleTangent, ToolCircleTangent, 23);

        add(Kind::Selection, {Delete, Group, Move, LineColour, FillColour, MakeHatch, CopyNumeric,
                              SaveSelectionForCopy, NoFill, Opacity, ColourNoFill, EditCopy});
        add(Kind::GroupsSelected, {Ungroup});
        add(Kind::OneGroup, {SaveGroup, MirrorLeftRight, MirrorTopBottom, RotateOther, RotateLeft90, RotateRight90,
                             StretchGroup});
        add(Kind::OneFigureOrGroup, {ToTop, ToBottom});
        add(Kind::OneFigure, {MeasureLength, MeasureArea});
        add(Kind::OneRoom, {MeasureRoomArea});
        add(Kind::FiguresOrGroups, {GradientDirection, MildGradient});
        add(Kind::FiguresSelected, {PolylineToLines, DimensionToLines});
        add(Kind::AnythingInLists, {ChangeLayerOfSelection});
        add(Kind::Text, {EditSelectedText});
        add(Kind::Drawing, {SaveImage, SaveRangeImage, CopyAsPicture});
        add(Kind::DrawingWithoutPictures, {ExportDxf, ExportSibling, ExportXe3});
        add(Kind::Figures, {AllAuxDelete});
        add(Kind::Walls, {WallsToLines, ColumnsToLines, DetailColumns, AutoDimensions});
        add(Kind::ZoomIn, {ZoomIn, RangeZoom});
        add(Kind::ZoomOut, {ZoomOut, FitAll});
        add(Kind::Hand, {HandTool});
        add(Kind::SwitchGrid, {GridShown});
        add(Kind::SwitchDimLayers, {DimOtherLayers});
        add(Kind::SwitchTrace, {TraceMode});
        add(Kind::SwitchIntersectionSnap, {ToggleIntersectionSnap});
        add(Kind::SwitchDrawToolBar, {DrawToolBar});
        add(Kind::SwitchGroupToolBar, {GroupToolBar});
        add(Kind::ClipboardPicture, {PastePicture});
        add(Kind::Undo, {EditUndo});
        add(Kind::Redo, {EditRedo});
        add(Kind::Backup, {OpenBackup});
        add(Kind::SelectMode, {PanelImage});
        add(Kind::Selection, {PanelDelete});
        return t;
    }();
    return table;
}

} // namespace

int ToolNumberOfCommand(int command)
{
    const auto& t = rules();
    auto it = t.find(command);
    return it == t.end() ? -1 : it->second.tool;
}

CommandState EvaluateCommand(int command, const CommandContext& c)
{
    CommandState s;
    const auto& t = rules();
    auto it = t.find(command);
    if (it == t.end()) return s;
    s.known = true;

    static const SelectionRecord kNoSelection;
    static const CKovUnit kEmpty;
    const SelectionRecord& sel = c.selection ? *c.selection : kNoSelection;
    const CKovUnit& unit = c.unit ? *c.unit : kEmpty;
    const int count = sel.m_nCount;
    const auto groups = sel.m_Groups.size();
    const auto figures = sel.m_Lines.size();
    const auto texts = sel.m_Texts.size();
    const bool hasFigure = !unit.m_Lines.empty();
    const bool hasWall = !unit.m_Walls.empty();
    const bool hasText = !unit.m_Texts.empty();
    const bool hasPicture = !unit.m_Images.empty();
    const Rule r = it->second;

    switch (r.kind) {
    case Kind::Always: break;
    case Kind::Tool: s.radio = c.toolNumber == r.tool; break;
    case Kind::FiguresAndTool:
        s.enabled = hasFigure;
        s.radio = c.toolNumber == r.tool;
        break;
    case Kind::WallsAndTool:
        s.enabled = hasWall;
        s.radio = c.toolNumber == r.tool;
        break;
    case Kind::SelectionAndTool:
        s.enabled = count != 0;
        s.radio = c.toolNumber == r.tool;
        break;
    case Kind::OneFigureAndCircleTangent:
        s.enabled = count == 1 && figures == 1;
        s.radio = c.toolNumber == 23 || c.toolNumber == 24;
        break;
    case Kind::Selection: s.enabled = count != 0; break;
    case Kind::GroupsSelected: s.enabled = groups > 0; break;
    case Kind::OneGroup: s.enabled = count == 1 && groups == 1; break;
    case Kind::OneFigureOrGroup: s.enabled = count == 1 && (figures > 0 || groups > 0); break;
    case Kind::OneFigure: s.enabled = count == 1 && figures == 1; break;
    case Kind::OneRoom: {
        const CKovGroup* g = (count == 1 && groups == 1) ? unit.FindGroup(sel.m_Groups.front()) : nullptr;
        s.enabled = g && g->MGrpRoom == 1;
        break;
    }
    case Kind::FiguresOrGroups: s.enabled = figures > 0 || groups > 0; break;
    case Kind::FiguresSelected: s.enabled = figures > 0; break;
    case Kind::AnythingInLists:
        s.enabled = groups || sel.m_Walls.size() || figures || texts || sel.m_Images.size();
        break;
    case Kind::Text: s.enabled = (count == 1 && (texts > 0 || groups > 0)) || (count > 1 && texts > 0); break;
    case Kind::Drawing: s.enabled = hasFigure || hasWall || hasText || hasPicture; break;
    case Kind::DrawingWithoutPictures: s.enabled = hasFigure || hasWall || hasText; break;
    case Kind::Figures: s.enabled = hasFigure; break;
    case Kind::Walls: s.enabled = hasWall; break;
    case Kind::ZoomIn: s.enabled = c.zoom <= 18.0; break;
    case Kind::ZoomOut: s.enabled = c.zoom != 1.0; break;
    case Kind::Hand: s.enabled = c.zoom != 1.0 && c.zoomMode == 0; break;
    case Kind::SwitchGrid: s.checked = c.gridShown != 0; break;
    case Kind::SwitchDimLayers: s.checked = c.dimOtherLayers != 0; break;
    case Kind::SwitchTrace: s.checked = c.traceMode != 0; break;
    case Kind::SwitchIntersectionSnap: s.checked = c.intersectionSnap != 0; break;
    case Kind::SwitchDrawToolBar: s.checked = c.drawToolBarShown != 0; break;
    case Kind::SwitchGroupToolBar: s.checked = c.groupToolBarShown != 0; break;
    case Kind::ClipboardPicture: s.enabled = c.clipboardHasPicture != 0; break;
    case Kind::Undo: s.enabled = !c.placing && c.undoSize > 1; break;
    case Kind::Redo: s.enabled = !c.placing && c.redoSize > 0; break;
    case Kind::Backup: s.enabled = c.backupsOn != 0; break;
    case Kind::SelectMode: s.enabled = c.toolNumber == 0; break;
    }
    return s;
}

} // namespace kov::app
