#pragma once

// Fittings: doors, windows and openings taken from the fittings library and fitted into a wall by
// three clicks. A placed fitting is a group of kind 2 whose first rectangle member, the frame,
// holds six parameters: mirror flag, kind, number, option code, elevation height and mounting
// height. It is linked to no wall. Every change rebuilds it from its library drawing.

#include "model/DbPoint.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kov::platform {
class Profile;
}

namespace kov::building {

class PartFileCache;

inline constexpr int kFittingKinds = 12;

// The palette's category names, kind 1 first.
inline constexpr std::array<std::string_view, kFittingKinds> kFittingKindNames = {
    "引き違い*", "開き戸", "窓*", "玄関ドア", "玄関引き戸", "折戸", "開口", "出窓", "FIX窓*", "上下窓*", "開き窓", "その他"};

// Kinds that offer the storm shutter, roller shutter, lattice and insect screen.
bool FittingKindHasOptions(int kind);

// The elevation height and mounting height a new fitting of each kind stores (the fitting tool's
// settings "tool_tateg_ritutakasaedit_N" and "tool_tateg_ritutoritakasaedit_N").
struct FittingHeights {
    std::array<double, kFittingKinds> height{1830, 2500, 900, 2500, 2500, 900, 900, 900, 900, 900, 900, 900};
    std::array<double, kFittingKinds> mounting{50, 0, 900, 0, 0, 900, 900, 900, 900, 900, 900, 900};

    double HeightOf(int kind) const;
    double MountingOf(int kind) const;
};

// How fittings are made (section KOV_T_UTILITY), read at each placement.
struct FittingRules {
    int tateg_seti = 0;               // 0 the clicks are on wall cores, 1 at the opening's corners
    int tateg_hiraki_nakasiro = 0;    // door swings (and casement windows) filled white
    int tateg_katabiki_wallkuro = 1;  // the wall pockets of sliding fittings filled

    static FittingRules FromProfile(const kov::platform::Profile& profile);
};

// What the fitting tool places: the palette's choice and the tool's own settings.
struct FittingChoice {
    int kind = 0;                  // 1-12, 0 none
    int number = 0;                // 1 and up, 0 none
    int optionCode = 0;            // units 1 storm shutter, 2 roller shutter, 3 lattice; +10 insect screen
    int widthMode = 0;             // 0 by the clicks, 1 the typed width
    double width = 810;
    int thicknessMode = 0;         // 0 the wall thickness of the settings, 1 the typed thickness
    double thickness = 100;
    std::uint32_t colour = 0;      // line colour of new fittings
    FittingHeights heights;
};

// Everything FitFittingToWall needs to turn an inserted library drawing into a fitting.
struct FittingFit {
    CDbPoint origin;               // where the frame's P0 goes
    double width = 0;              // along the wall
    double depth = 0;              // across it
    double mirror = 0;             // 1: the drawing mirrored end for end
    int kind = 0;
    int number = 0;
    double angle = 0;              // degrees, counter-clockwise on the screen
    std::uint32_t colour = 0;
    int optionCode = 0;
    double height = 900;           // elevation height and mounting height to store
    double mounting = 900;
    int whiteSwing = 0;
    int pocket = 1;
    std::uint32_t pocketColour = 0;
};

// Where the rebuilds find the library drawings, and what they say when one is missing.
struct FittingLibraryAccess {
    std::filesystem::path library;   // the "tateg" folder
    PartFileCache* cache = nullptr;  // files read once per command
    FittingHeights defaults;         // heights of fittings stored without them
    std::string error;               // set when a rebuild could not read its drawing
};

// The message of a fitting whose library drawing is missing or broken: the old fitting stays.
inline constexpr std::string_view kFittingDrawingMissing = "建具の図面ファイルが見つからないか壊れています。";
// The fitting tool's message for a fitting that was not chosen or has no drawing.
inline constexpr std::string_view kChooseFitting = "建具を選んで下さい";
// A width or thickness that gives no fitting.
inline constexpr std::string_view kBadFittingSize = "建具の幅または厚みが不正です。";

} // namespace kov::building
