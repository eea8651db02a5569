#pragma once

// What the main frame, the tool panel, the layer bar and the status bar decide, as plain functions
// of the document and the settings: the widgets only show the results and forward the clicks.

#include <QByteArray>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CKovUnit;
class CPlotInfo;
class CGrid;
class CFontMenu;

namespace kov::platform {
class Profile;
}

namespace kov::app {

class CKoviraDoc;
struct AppSettingsCache;

inline constexpr std::string_view kSectionUtility = "KOV_T_UTILITY";

// -- status bar -----------------------------------------------------------------------------------
// y is printed negated so that it reads upwards; a zero y prints as -0.00.
std::string FormatAbsolutePosition(double x, double y);
std::string FormatRelativePosition(double dx, double dy);

// -- window rectangle and bar layout --------------------------------------------------------------
struct WindowRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const WindowRect&) const = default;
};
// The saved rectangle, clamped to the screen; an off-screen one is replaced and written back.
WindowRect RestoreWindowRect(kov::platform::Profile& profile, int screenWidth, int screenHeight);
// At close: the rectangle unless minimised; maximised writes only `maximize` 1.
void SaveWindowRect(kov::platform::Profile& profile, const WindowRect& r, bool maximised, bool minimised);

// The saved bar layout, when the last close was orderly (`barstate` 2). The mark is cleared at once,
// so a start that crashes is followed by one with the default layout.
std::optional<QByteArray> TakeSavedBarLayout(kov::platform::Profile& profile);
void SaveBarLayout(kov::platform::Profile& profile, const QByteArray& state);

// Toolbar size: 0 automatic, 1 small, 2 large; automatic is large above 144 dpi.
bool LargeToolBars(int toolButtonSize, int dpi);
// The pick and near tolerances scaled for the screen resolution.
std::pair<int, int> ScaledTolerances(int dpi);

// -- layer bar ----------------------------------------------------------------------------------
// "表吸", "表", "非表", or empty for other values; "編集" appended for the current group.
std::string LayerStateText(int state, bool current);
// Whether the drawing holds an object on the layer group.
bool LayerGroupHasObject(const CKovUnit& unit, int group);
struct LayerBarView {
    std::array<std::string, 3> numberCaptions;  // "0" or "0." when the group holds objects
    std::array<std::string, 3> stateCaptions;
    // The group's name and the layers of it that are hidden, as an imported drawing brings them.
    std::array<std::string, 3> stateTips;
    int checkedNumber = -1;                     // row of the current group, or -1
    int colourButton = 0;                       // command of the ticked colour button
    std::string scaleText;                      // for the tool panel's scale button
};
// The refresh: reads the document and normalises an unknown gradient mode to 1.
LayerBarView RefreshLayerBarView(CKovUnit const& unit, CPlotInfo& plot);
// Number button of row j: edit that group and make it visible and snappable.
void ChooseLayerGroup(CPlotInfo& plot, int row);
// State button of row j: cycles unless it is the current group. False when nothing changed.
bool CycleLayerGroupState(CPlotInfo& plot, int row);
// Colour button: sets black-and-white and the gradient mode.
void SetColourMode(CPlotInfo& plot, int command);

// "%.2f" with a fractional part, else the whole number.
std::string ScaleText(double scale);

// -- tool panel -----------------------------------------------------------------------------------
// Grid snap division list: item index of a division, and division of an item.
inline constexpr int kGridDivisionItems = 13;
const std::array<std::string_view, kGridDivisionItems>& GridDivisionItems();
int GridDivisionItemOf(int division);
int GridDivisionOfItem(int item, kov::platform::Profile& profile);
// Room-move lock list: stored value of an item (-1 for none) and item of a stored value.
int RoomLockValueOfItem(int item);
int RoomLockItemOf(int value);

// What a tool command does to the snaps (the application's automatic switches).
struct SnapEffect {
    bool lineOffCoreOn = false;   // with app_autopita
    bool fromFittingSetting = false; // stairs and fittings: tateg_seti decides
    bool coreOff = false;         // picture: wall-core snap off (with app_autopita)
    int grid = 0;                 // 1 grid on, -1 grid snap off (with app_autogridpita)
};

// One row of the frame's tool commands.
struct ToolCommandEffect {
    int command = 0;
    int toolNumber = -1;          // -1: unchanged
    bool clearsSelection = false;
    SnapEffect snaps;
    bool axisLock = false;        // with app_walltyoku the both-axes lock runs
    std::string_view prompt;      // what status pane 0 says after the command
    bool setsPrompt = true;
};
const std::vector<ToolCommandEffect>& ToolCommandEffects();
const ToolCommandEffect* FindToolCommand(int command);

// The document-side effect of a tool command: tool number, selection, snaps. Returns the axis lock
// to apply (3 both axes) or 0.
int ApplyToolCommand(CKoviraDoc& doc, const AppSettingsCache& settings, kov::platform::Profile& profile,
                     const ToolCommandEffect& effect);

// Snap switches; each returns the status text (empty when nothing was said).
std::string ToggleGridSnapFlag(CGrid& grid);
std::string ToggleLineSnapFlag(CPlotInfo& plot, bool autoSnap);
std::string ToggleWallCoreSnapFlag(CPlotInfo& plot, bool autoSnap);

// The scale change of the current layer group, applied to every group: texts of each group rescale
// by its old scale over the new one when `rescaleTexts`. False when the scale is refused.
bool ChangeScale(CPlotInfo& plot, CKovUnit& unit, double newScale, bool rescaleTexts);

} // namespace kov::app

namespace kov::platform {
class Questions;
}

namespace kov::app {

// -- properties and fonts ---------------------------------------------------------------------------
// The screen pixel height of a length in paper millimetres, rounded to a whole pixel.
int MmToPixels(double mm, double pixelsPerInchY);
// The font chooser on a text record: vertical faces ("@" with escapement 2700) are offered without
// the "@" and stay vertical after OK. An unchanged pixel size keeps the millimetre height exactly.
// True when the user chose OK.
bool PickFontRecord(CFontMenu& font, kov::platform::Questions& questions, double pixelsPerInchY);

// The selected wall's thickness (core to one face) and core display, with an undo snapshot first;
// the walls of its layer group are joined again. False for no such wall.
bool ApplyWallThickness(CKoviraDoc& doc, int wallId, double thickness, int wallType);
// The selected column's half thickness and column type, with an undo snapshot first. A thin column
// stays thin across the axis it was thin across before.
bool ApplyColumnThickness(CKoviraDoc& doc, int wallId, double half, int columnType);
// The same on the container alone, without the snapshot (several columns at once).
bool ResizeColumn(CKovUnit& unit, int wallId, double half, int columnType);

} // namespace kov::app
