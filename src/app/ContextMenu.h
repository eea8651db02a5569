#pragma once

// The view's context menu: which commands fit the selection, as a plain list the view shows.

#include <string_view>
#include <vector>

class CKovUnit;
class SelectionRecord;

namespace kov::app {

namespace cmd {
// Commands of the context menu only.
inline constexpr int ContextStretchRotate = 32808;
inline constexpr int ContextGridSnap = 32809;
inline constexpr int ContextLineSnap = 32810;
inline constexpr int ContextWallCoreSnap = 32811;
inline constexpr int ContextProperties = 32812;
inline constexpr int ToDecoratedText = 33965;
inline constexpr int ToPlainText = 33968;
inline constexpr int LineTypeOfSelection = 32903;
inline constexpr int PolygonToLines = 32834;
inline constexpr int CurveToPolyline = 33926;
inline constexpr int FitPicture = 33972;
inline constexpr int TrimPicture = 33958;
inline constexpr int TurnPicture = 33960;
inline constexpr int RotateOtherAngle = 32900;
inline constexpr int RoomVertex = 33932;
inline constexpr int RoomCurvedWall = 33952;
inline constexpr int Rotate180 = 32880;
inline constexpr int DoorDirection = 32881;
inline constexpr int ShutterDirection = 33955;
inline constexpr int FittingSize = 32884;
} // namespace cmd

struct ContextMenuState {
    int tool = 0;            // the current tool; 0 select mode
    bool zooming = false;    // a zoom mode is active
    bool placing = false;    // imported figures follow the pointer
    bool collecting = false; // the tool holds points
    bool lineSnap = false, wallCoreSnap = false, stretchRotate = false, gridSnap = false;
    bool offerWallCoreSnap = false; // the setting that shows wall-core snap in this menu
};

struct ContextItem {
    int command = 0; // 0: a separator
    std::string_view text;
    bool enabled = true;
    bool checked = false;
};

// The items to show, in order; empty when no menu opens.
std::vector<ContextItem> ContextMenuItems(const CKovUnit& unit, const SelectionRecord& selection,
                                          const ContextMenuState& state);

} // namespace kov::app
