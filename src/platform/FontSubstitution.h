#pragma once

// Drawings name Windows faces; here they become installed faces, and a logical font becomes a
// QFont whose cell has the height the drawing asked for.

#include "platform/Surface.h"

#include <QFont>
#include <QString>

#include <string_view>

namespace kov::platform {

struct FaceChoice {
    QString family;         // the face to ask Qt for
    bool vertical = false;  // the drawing's face began with "@": characters run downwards
};

// "ＭＳ ゴシック" and "MS Gothic" become IPAGothic, and so on for the proportional and Mincho
// faces; any other face is asked for as it is named (fontconfig then finds the nearest).
FaceChoice substituteFace(std::string_view windowsFace);

struct ResolvedFont {
    QFont font;               // pixel-sized, for any paint device
    TextMetrics metrics;      // the cell as Windows reports it for the logical font
    bool vertical = false;
};

// Height as Windows reads it: negative = character (em) height, positive = cell height
// (ascent + descent, the em plus the internal leading), 0 = a 16-pixel cell. Weight 0 is normal;
// a width other than 0 stretches the face to that average character width.
ResolvedFont resolveFont(const Font& font);

} // namespace kov::platform
