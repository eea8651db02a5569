#pragma once

// Outline texts as glyph paths, laid out the same way for every backend that draws them, and the
// placement of characters in vertical writing that plain text output shares.

#include "platform/Surface.h"

#include <QPainterPath>

namespace kov::platform {

// Every character but ASCII and the half-width katakana (the ones of one byte in CP932).
bool isFullWidth(char32_t c);

// How a character sits in vertical writing: upright in its square cell, or lying along the
// column as in horizontal text turned with it; the shift moves an upright glyph towards the
// upper right of its cell (commas and stops, small kana), in ems.
struct VerticalGlyph {
    bool upright = true;
    double shift = 0;
};
VerticalGlyph verticalGlyph(char32_t c);

// The glyph outlines of the text, the first line's cell top-left at its anchor, before any warp.
// Vertical text runs each line down a column one cell wide, the next line to its right.
QPainterPath textOutline(const TextPath& text);

// The bounds of textOutline(), widened by half the pen when the text is stroked.
DeviceRectF textOutlineBounds(const TextPath& text);

// The outline as it is drawn: mapped from textOutlineBounds() onto the warp's corners when a warp
// is given (flattened, since the map is a perspective one).
QPainterPath drawnTextOutline(const TextPath& text);

} // namespace kov::platform
