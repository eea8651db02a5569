#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kov::platform {

namespace {

QClipboard* systemClipboard()
{
    // Headless tools run without an application object: they have no clipboard.
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

bool ClipboardHasImage()
{
    const QClipboard* clipboard = systemClipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    return mime && mime->hasImage();
}

std::optional<QImage> ClipboardImage()
{
    if (!ClipboardHasImage())
        return std::nullopt;
    QImage image = systemClipboard()->image();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return std::nullopt;
    return image;
}

bool SetClipboardImage(const QImage& image)
{
    QClipboard* clipboard = systemClipboard();
    if (!clipboard)
        return false;
    clipboard->setImage(image);
    return true;
}

} // namespace kov::platform
