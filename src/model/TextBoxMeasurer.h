#pragma once

// Measures the box a text takes on a device, for model code that needs text extents without drawing.
// The text drawer provides the real one (font metrics); tests pass a fixed fake.

#include "model/FontMenu.h"
#include "model/DrawTransform.h"

#include <string_view>

namespace kov::platform {
class Surface;
}

class TextBoxMeasurer {
public:
    virtual ~TextBoxMeasurer() = default;

    // The text's unrotated box with its left and top at the device point (x, y), before its angle and
    // alignment are applied; paperScale is device pixels per paper millimetre.
    virtual DeviceRect TextBoxSize(int x, int y, std::string_view text, const CFontMenu& font,
                                   double paperScale) const = 0;
};

// The measure of the text drawer, on a drawing surface (Qt's font metrics on the painter backends):
// the text cut into lines at LF (CR ignored), the line with the most code-page-932 bytes (the first of
// equals) measured in the text's font at the height trunc(size × paperScale), at least 2, with the
// character spacing trunc(spacing × paperScale); the box is that line's width and, per line, the cell
// height plus trunc(line gap × paperScale). The text's angle does not enter.
class SurfaceTextBoxMeasurer final : public TextBoxMeasurer {
public:
    explicit SurfaceTextBoxMeasurer(kov::platform::Surface& surface) : m_surface(&surface) {}

    DeviceRect TextBoxSize(int x, int y, std::string_view text, const CFontMenu& font,
                           double paperScale) const override;

private:
    kov::platform::Surface* m_surface;
};
