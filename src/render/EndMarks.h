#pragma once

// Line-end marks (CKovUnit::DrawEndMarks): codes 0-12, an open arrow, filled triangle, filled dot
// or filled square at the start, the end or both ends.

#include "platform/Surface.h"

#include <array>

namespace kov::render {

enum EndMarkShape { kNoMark = 0, kOpenArrow = 1, kFilledTriangle = 2, kFilledDot = 3, kFilledSquare = 4 };

struct EndMarkCode {
    EndMarkShape shape = kNoMark;
    bool atStart = false;
    bool atEnd = false;
};

// The shape and ends of a code; any code outside 1-12 is no mark.
EndMarkCode DecodeEndMark(int code);

// The two wing points of an arrow whose tip is `tip` and whose line leaves it at `directionDegrees`
// (counter-clockwise on the screen), `length` pixels long at 30 degrees on either side.
std::array<platform::DevicePoint, 2> ArrowWings(platform::DevicePoint tip, double directionDegrees, int length);

} // namespace kov::render
