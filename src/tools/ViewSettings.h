#pragma once

// The tool settings the view keeps while it lives, and the values of the tool option panels that
// the previews and the tool machine read, as plain values loaded from and saved to the settings
// store. Numbers with decimals are stored as text (locale-free), integers as integers.

#include "model/FontMenu.h"
#include "model/StairsSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {
class Profile;
}

namespace kov::tools {

// One stored tool setting: its key, whether it is a number stored as text, and its default.
struct ToolSettingKey {
    std::string_view key;
    bool isNumber;          // stored as text and read as a decimal number
    std::string_view defaultText;
};

// The view's tool settings (section KOV_T_UTILITY), read once when the view is made.
struct ViewToolSettings {
    static constexpr int kElevationFittings = 12;

    double tool_nagasa = 50;              // length of the length-based line tools; latest measured value
    double tool_hukusen = 50;             // distance of the parallel-line tool
    double tool_nisen_l = 50;             // left distance of the two-lines tool and its rubber band
    double tool_nisen_r = 50;             // right distance of the same
    double tool_hankeikotei_atai = 1000;  // fixed radius, circle tool
    double tool_hankeikotei_atai_arc = 1000; // the same key, held again for the arc tool
    int tool_hankeikotei_check = 0;       // fixed radius on
    int tool_nijyuusen_rbunkatu = 24;     // pieces of an arc segment (multi-point tools, balloon)
    int tool_tateg_habatype = 0;          // fitting width: 1 by value, 0 by the clicked span
    double tool_tateg_habaedit = 810;     // fitting width value
    int tool_tateg_atumitype = 0;         // fitting thickness mode
    double tool_tateg_atumiedit = 100;    // fitting thickness value
    int tool_tateg_color = 0;             // fitting colour
    double mentori_kakuatai = 300;        // square chamfer
    double mentori_maruatai = 300;        // radius of the rounded chamfer
    double mentori_l1atai = 300;          // chamfer first length
    double mentori_l2atai = 300;          // chamfer second length
    // Height and mounting height of elevation fittings 1-12.
    std::array<double, kElevationFittings> ritutakasa{1830, 2500, 900, 2500, 2500, 900, 900, 900, 900, 900, 900, 900};
    std::array<double, kElevationFittings> ritutoritakasa{50, 0, 900, 0, 0, 900, 900, 900, 900, 900, 900, 900};

    // Every key in the order of the members above, with its default (the elevation keys
    // "tool_tateg_ritutakasaedit_1".."_12", then "tool_tateg_ritutoritakasaedit_1".."_12").
    static const std::vector<ToolSettingKey>& Keys();

    // Reads every setting; a missing key takes its default, text that is no number reads as 0.
    void Load(const kov::platform::Profile& profile);
    // What the view writes back when its window is destroyed: the fitting settings and the
    // elevation heights (numbers as "%.2f"). The other settings belong to the panels that edit them.
    void SaveFittingsAndElevations(kov::platform::Profile& profile) const;
};

// The stairs panel's record (model/StairsSettings.h).
using ::StairsSettings;

// The text settings panel: what the text preview reads.
struct TextPanelValues {
    bool vertical = false;   // "縦書き"; off when the text tool starts
    int mozi_kakudo = 0;     // angle in whole degrees (section KOV_T_PlotMenu)

    void Load(const kov::platform::Profile& profile);
};

// The decorated-text panel in tool mode (section KOV_T_PlotMenu for the stored values).
struct DecoratedTextValues {
    static constexpr int kShapes = 7;
    // 0 is taken, though the message names 0.1: typing 0.5 passes through 0.
    static constexpr double kMinFrame = 0;
    static constexpr double kMaxFrame = 21;

    CFontMenu font;                        // a copy of the document's text font when the tool starts
    std::string text;
    double frameThickness = 1;             // text_huchiatsumi, accepted from 0 to 21
    int shape = 0;                         // one of seven, the first when the tool starts
    int slant = 5;                         // 1-9
    int framesOnly = 1;                    // "文字枠のみ描画": 1 off, 2 on
    std::uint32_t textColour = 0xFFFFFF;   // text_huchicol1
    std::uint32_t frameColour = 0x000000;  // text_huchicol2
    int opacity = 100;
    bool vertical = false;                 // "縦書き"

    // The tool's start: the document font without extra character and line spacing, with the size
    // text_huchisize (default "10"), the stored thickness and colours; shape, slant, frames-only
    // and opacity from their start values.
    void Start(const CFontMenu& documentFont, const kov::platform::Profile& profile);
    // A frame thickness outside 0.1-21 is refused (false, value kept).
    bool SetFrameThickness(double value);
    // Vertical writing puts "@" before the face and the escapement 2700; switching it off takes
    // both back.
    void SetVertical(bool on);
};

// The balloon panel's choices.
struct BalloonValues {
    enum Shape { RECTANGLE = 0, ROUNDED = 1, ELLIPSE = 2 };
    enum Side { TOP = 0, LEFT = 1, BOTTOM = 2, RIGHT = 3 };

    int shape = ROUNDED;   // "四角形", "角丸四角" (set when the panel opens), "楕円"
    int tailSide = BOTTOM; // "上", "左", "下" (set when the panel opens), "右"
    int tailPosition = 1;  // 0-2, 1 when the panel opens

    static std::string_view ShapeLabel(int shape);
    static std::string_view SideLabel(int side);
    // The three position buttons' labels for the tail side.
    static std::array<std::string_view, 3> PositionLabels(int side);
    // The position buttons are disabled for the ellipse.
    bool PositionsEnabled() const { return shape != ELLIPSE; }
};

// The scale dialog: a new scale from 0.01 up to, not including, 10000; anything else keeps the old.
double AcceptedScale(double requested, double current);

// The arc button (control 1859) of the multi-point tools' panel: on switches off; off switches on
// only with two or more collected points, otherwise the message below is shown and it stays off.
// Returns the message to show, empty when none.
inline constexpr std::string_view kArcNeedsTwoPointsMessage = "アール作成には２点以上を指定している必要があります";
std::string_view ToggleArcSegment(int& arcSegment, int collectedPoints);

} // namespace kov::tools
