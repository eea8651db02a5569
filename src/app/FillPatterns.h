#pragma once

// The eight fill-pattern bitmaps that figure pattern codes 1 to 8 select. Black and white only; they
// tile from the device origin as pattern brushes do.

#include <QImage>

#include <array>

namespace kov::app {

inline constexpr int kFillPatternCount = 8;

// The bitmap of pattern code 1 to 8 (RGB32, black 0xFF000000 and white 0xFFFFFFFF); a null image for
// any other code (0 is "no pattern").
QImage FillPatternBitmap(int code);
// Codes 1 to 8 in index order 0 to 7.
std::array<QImage, kFillPatternCount> LoadFillPatterns();

} // namespace kov::app
