#pragma once

// Measures the box a text takes on a device, for model code that needs text extents without drawing.
// The text drawer provides the real one (font metrics); tests pass a fixed fake.

#include "model/FontMenu.h"
#include "model/KovImage.h" // DeviceRect

#include <string_view>

class TextBoxMeasurer {
public:
    virtual ~TextBoxMeasurer() = default;

    // The text's unrotated box with its left and top at the device point (x, y), before its angle and
    // alignment are applied; paperScale is device pixels per paper millimetre.
    virtual DeviceRect TextBoxSize(int x, int y, std::string_view text, const CFontMenu& font,
                                   double paperScale) const = 0;
};
