#pragma once

// The colour modes of figures and the brushes of their fills: which outline and fill colour a
// figure shows in black-and-white, chic, grey-other-layers and tracing mode, which of the fill
// routes a filled figure takes, and the pattern and hatch brushes.

#include "model/KovUnit.h"
#include "platform/Surface.h"
#include "render/DrawEnvironment.h"

#include <cstdint>
#include <optional>

class CPlotInfo;

namespace kov::render {

constexpr std::uint32_t kGreyedColour = 0xC8C8C8;          // objects off the current layer
constexpr std::uint32_t kChicFirstColour = 0xF0F0F0;        // chic display gradients
constexpr std::uint32_t kChicSecondColour = 0x646464;
constexpr std::uint32_t kRoomFloorColour = 0xC0FFC0;        // a room floor whose lines stay in black and white
constexpr int kTracingOpacity = 50;

// Shown greyed: grey other layers is on, the drawing is for the screen and (group, layer) is not
// the current layer of the plot settings.
bool IsGreyedOut(const CPlotInfo& plot, int layerGroup, int layer, bool output);

// The colour a white-or-not rule leaves: white stays white, everything else turns black.
std::uint32_t BlackUnlessWhite(std::uint32_t colour);

struct FigureColours {
    std::uint32_t outline = 0;  // also hatch lines and end marks
    std::uint32_t fill = 0xFFFFFF;
    bool blackAndWhite = false; // PlotSirokuro
    bool greyed = false;
};

// The outline and fill colours of a figure after the colour modes, by its kind.
FigureColours FigureColoursOf(const CKovLine& figure, const CPlotInfo& plot, bool output);

// How a filled closed figure is filled.
struct FillChoice {
    bool gradient = false;        // through FillGradientShape; else a solid brush of `first`
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    int opacity = 100;
};
FillChoice ChooseFill(const CKovLine& figure, const CPlotInfo& plot, const FigureColours& colours, bool output,
                      bool traceMode);

// The pattern bitmap of a pattern code 1-8, stretched on printer pages when the application asks
// for it; nullopt for any other code or a missing bitmap (the figure then has no pattern).
std::optional<QImage> PatternImage(const CKovUnit::DrawEnvironment& env, int patternCode, bool printing,
                                   double paperScale);

// The hatch style of a stored hatch code 0-5; nullopt for any other (room hatch kinds, tatami).
std::optional<platform::HatchStyle> HatchStyleOf(int code);

} // namespace kov::render
