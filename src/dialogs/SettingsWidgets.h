#pragma once

// Small helpers the settings dialogs share: controls made with the object names by which the
// dialogs (and tests) find them again, colour samples, and the program's "%d"/"%s" message texts.

#include "platform/Color.h"

#include <QLabel>
#include <QObject>
#include <QPixmap>
#include <QString>

#include <stdexcept>
#include <string>
#include <string_view>

namespace kov::dialogs::ui {

inline QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The widget with its object name set.
template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The control of that object name below `root`; a missing one is a fault of the dialog's making.
template <class W>
W* control(const QObject* root, const char* name)
{
    W* w = root->findChild<W*>(QString::fromLatin1(name));
    if (!w) throw std::logic_error(std::string("no control named ") + name);
    return w;
}

// A colour sample: the control's size filled with the colour (a COLORREF).
inline void paintSample(QLabel* sample, kov::platform::COLORREF colour)
{
    QPixmap pixmap(sample->size().expandedTo(QSize(1, 1)));
    pixmap.fill(kov::platform::toQColor(colour));
    sample->setPixmap(pixmap);
}

// The text with its first "%d" (or "%s", "%ld") replaced by the value.
inline std::string withValue(std::string_view format, std::string_view value)
{
    std::string out(format);
    for (const char* tag : {"%ld", "%d", "%s"})
        if (const auto at = out.find(tag); at != std::string::npos) return out.replace(at, std::string_view(tag).size(), value);
    return out;
}
inline std::string withValue(std::string_view format, long long value) { return withValue(format, std::to_string(value)); }

} // namespace kov::dialogs::ui
