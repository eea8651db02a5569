#pragma once

// The system clipboard's pictures. Nothing above this layer talks to QClipboard: the commands ask
// here whether a picture is offered, take it and put one there.

#include <QImage>

#include <optional>

namespace kov::platform {

// A picture (any image format the clipboard offers, a device-independent bitmap among them) is on
// the clipboard. False without a running graphical application.
bool ClipboardHasImage();
// The clipboard's picture; nothing when it offers none or it cannot be read.
std::optional<QImage> ClipboardImage();
// Puts the picture on the clipboard; false when there is no clipboard to put it on.
bool SetClipboardImage(const QImage& image);

} // namespace kov::platform
