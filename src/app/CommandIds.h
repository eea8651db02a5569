#pragma once

// Command identifiers of menus, toolbars, the tool panel and the layer bar. The numbers are those
// the program has always used (saved bar layouts and the string table key on them).

namespace kov::app::cmd {

// -- file ---------------------------------------------------------------------------------------
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintPreview = 57609;
inline constexpr int AppExit = 57665;
inline constexpr int AppAbout = 57664;
inline constexpr int EditUndo = 57643;
inline constexpr int EditRedo = 57644;
inline constexpr int EditCopy = 57634;
inline constexpr int ViewToolBar = 0xE800;
inline constexpr int ViewStatusBar = 0xE801;

inline constexpr int OpenSample = 32898;
inline constexpr int OpenBackup = 32853;
inline constexpr int RecentList = 33962;
inline constexpr int MergeDrawing = 32826;
inline constexpr int ImportDxf = 32789;
inline constexpr int ExportDxf = 32782;
inline constexpr int ImportJw = 32861;      // JWW, JWC
inline constexpr int ExportJw = 32862;
inline constexpr int ImportJwsJwk = 33918;
inline constexpr int ImportSibling = 32845;
inline constexpr int ExportSibling = 32846;
inline constexpr int ImportXe3 = 33969;
inline constexpr int ExportXe3 = 33971;
inline constexpr int ImportVerda2 = 33970;
inline constexpr int ImportCoordinates = 33914;
inline constexpr int SaveImage = 32787;
inline constexpr int SaveRangeImage = 32806;
inline constexpr int CopyAsPicture = 32807;
inline constexpr int PartialPrint = 32907;
inline constexpr int PrintOffset = 33944;
inline constexpr int PageSetup = 33946;
inline constexpr int InsertPicture = 1087;   // the tool panel's picture button
inline constexpr int PastePicture = 33941;
inline constexpr int SaveSelectionForCopy = 33919;
inline constexpr int PasteFromCopyFile = 33920;

// -- edit ---------------------------------------------------------------------------------------
inline constexpr int Delete = 32777;
inline constexpr int Group = 32778;
inline constexpr int Ungroup = 32779;
inline constexpr int SaveGroup = 32780;
inline constexpr int MirrorLeftRight = 32783;
inline constexpr int MirrorTopBottom = 32784;
inline constexpr int RotateOther = 32785;
inline constexpr int Move = 32786;
inline constexpr int RotateLeft90 = 32792;
inline constexpr int RotateRight90 = 32793;
inline constexpr int ToTop = 32794;
inline constexpr int ToBottom = 32795;
inline constexpr int EditSelectedText = 32797;
inline constexpr int StretchGroup = 32798;
inline constexpr int MeasureLength = 32805;
inline constexpr int ChangeLayerOfSelection = 32819;
inline constexpr int MeasureArea = 32829;
inline constexpr int AllAuxDelete = 32833;
inline constexpr int PolylineToLines = 32834;
inline constexpr int ChamferPolylineCorners = 32904;
inline constexpr int WallsToLines = 32835;
inline constexpr int ColumnsToLines = 32836;
inline constexpr int DetailColumns = 32858;
inline constexpr int LineColour = 32865;
inline constexpr int FillColour = 32866;
inline constexpr int DimensionToLines = 32869;
inline constexpr int AutoDimensions = 32871;
inline constexpr int MakeHatch = 32899;
inline constexpr int CopyNumeric = 32908;
inline constexpr int MeasureRoomArea = 33911;
inline constexpr int GradientDirection = 33928;
inline constexpr int NoFill = 33929;
inline constexpr int Opacity = 33945;
inline constexpr int ColourNoFill = 33956;
inline constexpr int MildGradient = 33957;
inline constexpr int PatternsToLines = 33963;
inline constexpr int ObjectCount = 33961;
inline constexpr int PickAttributes = 32822;
inline constexpr int WallThicknessOfSelection = 32901;
inline constexpr int ColumnThicknessOfSelection = 33922;
inline constexpr int RotateImageLeft = 33916;
inline constexpr int RotateImageRight = 33917;

// -- drawing tools (menu and drawing toolbar) ---------------------------------------------------
inline constexpr int ToolLine = 32887;
inline constexpr int ToolRectangle = 32888;
inline constexpr int ToolPolygon = 32889;
inline constexpr int ToolCircle = 32890;
inline constexpr int ToolArc = 32891;
inline constexpr int ToolDimension = 33909;
inline constexpr int ToolLengthLine = 32831;
inline constexpr int ToolAngleLine = 32842;
inline constexpr int ToolLineErase = 32841;
inline constexpr int ToolThreePointArc = 32851;
inline constexpr int ToolContinuousLine = 32883;
inline constexpr int ToolDoubleLine = 32885;
inline constexpr int ToolEllipse = 32863;
inline constexpr int ToolEllipticArc = 32864;
inline constexpr int ToolSpline = 32867;
inline constexpr int ToolBezier = 32868;
inline constexpr int ToolDivideLine = 32827;
inline constexpr int ToolEnvelope = 32843;
inline constexpr int ToolCorner = 32847;
inline constexpr int ToolChamfer = 32886;
inline constexpr int ToolDrawingCentre = 32824;
inline constexpr int ToolRangeMove = 32860;
inline constexpr int ToolRangeCopy = 32854;
inline constexpr int ToolRangeMirrorLR = 32856;
inline constexpr int ToolRangeMirrorTB = 33921;
inline constexpr int ToolRangeRotateLeft = 32875;
inline constexpr int ToolRangeRotateRight = 32876;
inline constexpr int ToolRangeRotate = 33966;
inline constexpr int ToolRangeStretch = 33931;
inline constexpr int ToolRangeDelete = 32855;
// The stretch tool (60), which the menus of the original reach by no entry.
inline constexpr int ToolPartStretch = 33991;
inline constexpr int ToolMeasureAngle = 32825;
inline constexpr int ToolAreaSum = 32837;
inline constexpr int ToolLengthSum = 32838;
inline constexpr int ToolTwoPointDistance = 32830;
inline constexpr int ToolSizedRectangle = 32870;
inline constexpr int ToolRoof = 32895;
inline constexpr int ToolOuterWallLine = 32896;
inline constexpr int ToolBalcony = 32897;
inline constexpr int ToolFreeCurve = 32905;
inline constexpr int ToolDoubleLinePolygon = 33915;
inline constexpr int ToolRoundedRectangle = 33923;
inline constexpr int ToolDivide = 33925;
inline constexpr int ToolBalloon = 33950;
inline constexpr int ToolPerpendicular = 32879;
inline constexpr int ToolLineCut = 32839;
inline constexpr int ToolLinePartDelete = 32840;
inline constexpr int ToolOffsetLine = 32823;
inline constexpr int ToolTwoLines = 32844;
inline constexpr int ToolLineStretch = 32828;
inline constexpr int ToolJoinLines = 33939;
inline constexpr int ToolWallPartDelete = 32902;
inline constexpr int ToolMirrorMove = 33924;
inline constexpr int ToolCircleTangent = 32832;
inline constexpr int ToolElevation = 32894;
inline constexpr int ToolAutoAxes = 32906;
inline constexpr int ToolSymbols = 33942;

// -- view ---------------------------------------------------------------------------------------
inline constexpr int ZoomIn = 32775;
inline constexpr int ZoomOut = 32776;
inline constexpr int FitAll = 32791;
inline constexpr int RangeZoom = 33951;
inline constexpr int HandTool = 33940;
inline constexpr int GridShown = 32817;
inline constexpr int DimOtherLayers = 32818;
inline constexpr int TraceMode = 33943;
inline constexpr int ToggleIntersectionSnap = 32857;
inline constexpr int GridSpacing = 32872;
inline constexpr int Settings = 32771;
inline constexpr int DrawToolBar = 32893;
inline constexpr int GroupToolBar = 32800;
inline constexpr int LayerMoveMerge = 32820;
inline constexpr int LayerSelectAll = 32821;
inline constexpr int LayerCopyMerge = 32859;
inline constexpr int LayerName = 33990;       // the frame's layer-name command

// -- help ---------------------------------------------------------------------------------------
inline constexpr int Help = 32796;
inline constexpr int Guide1 = 33953;
inline constexpr int Guide2 = 33954;
inline constexpr int Readme = 33974;
inline constexpr int HomePage = 33930;
inline constexpr int CheckForUpdate = 33967;

// -- tool panel ---------------------------------------------------------------------------------
inline constexpr int PanelSelect = 1006;
inline constexpr int PanelWall = 1007;
inline constexpr int PanelText = 1014;
inline constexpr int PanelProperties = 1016;
inline constexpr int PanelGridSnap = 1036;
inline constexpr int PanelLineSnap = 1037;
inline constexpr int PanelParts = 1041;
inline constexpr int PanelImage = 1087;
inline constexpr int PanelDelete = 1088;
inline constexpr int PanelWallCoreSnap = 1099;
inline constexpr int PanelMouseFree = 1100;
inline constexpr int PanelMouseVertical = 1101;
inline constexpr int PanelMouseHorizontal = 1102;
inline constexpr int PanelStretchRotate = 1104;
inline constexpr int PanelDecoratedText = 1132;
inline constexpr int PanelMouseAxisLock = 1144;
inline constexpr int PanelPolygonRoom = 1258;
inline constexpr int PanelRectRoom = 1259;
inline constexpr int PanelCrossSnap = 1305;
inline constexpr int PanelContinuousStretch = 1331;
inline constexpr int PanelScale = 1352;
inline constexpr int PanelFittings = 1487;
inline constexpr int PanelStairs = 1560;
inline constexpr int PanelKeepAspect = 1677;
inline constexpr int PanelGridDivision = 1780;
inline constexpr int PanelRoomLock = 2122;

// -- layer bar ----------------------------------------------------------------------------------
inline constexpr int LayerNumber0 = 1215;
inline constexpr int LayerNumber1 = 1230;
inline constexpr int LayerNumber2 = 1231;
inline constexpr int LayerState0 = 1178;
inline constexpr int LayerState1 = 1179;
inline constexpr int LayerState2 = 1180;
inline constexpr int LayerList = 1863;
inline constexpr int ColourModeColour = 2074;
inline constexpr int ColourModeBlackWhite = 2076;
inline constexpr int ColourModeGradient1 = 2078;
inline constexpr int ColourModeGradient2 = 2080;
inline constexpr int ColourModeChic = 2081;

} // namespace kov::app::cmd
