#include "platform/TextOutline.h"

#include "platform/FontSubstitution.h"
#include "platform/TextCaches.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <tuple>

namespace kov::platform {

bool isFullWidth(char32_t c)
{
    return !(c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F));
}

// The installed faces have no vertical presentation forms that Qt could pick, so punctuation,
// brackets and the long-vowel mark are placed here.
VerticalGlyph verticalGlyph(char32_t c)
{
    if (!isFullWidth(c)) return {false, 0};
    static constexpr char32_t lying[] = {
        0x30FC, 0xFF0D, 0xFF5E, 0x301C, 0x2500, 0x2015, 0x2014, 0x2026, 0x2025, 0xFF08, 0xFF09, 0x300C,
        0x300D, 0x300E, 0x300F, 0x3010, 0x3011, 0xFF3B, 0xFF3D, 0xFF5B, 0xFF5D, 0x3008, 0x3009, 0x300A,
        0x300B, 0x3014, 0x3015, 0xFF1D, 0xFF1A, 0xFF1B,
    };
    if (std::find(std::begin(lying), std::end(lying), c) != std::end(lying)) return {false, 0};
    static constexpr char32_t stops[] = {0x3001, 0x3002, 0xFF0C, 0xFF0E};
    if (std::find(std::begin(stops), std::end(stops), c) != std::end(stops)) return {true, 0.55};
    static constexpr char32_t small[] = {0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083, 0x3085,
                                         0x3087, 0x308E, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30C3,
                                         0x30E3, 0x30E5, 0x30E7, 0x30EE, 0x30F5, 0x30F6};
    if (std::find(std::begin(small), std::end(small), c) != std::end(small)) return {true, 0.1};
    return {true, 0};
}

namespace {

// The outline of the text with the first line's cell top-left at (0, 0).
QPainterPath outlineAtOrigin(const TextPath& text)
{
    const ResolvedFont rf = resolveFont(text.font);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    const QFontMetricsF fm(rf.font);
    const double cell = rf.metrics.height;
    const QStringList lines = QString::fromUtf8(text.text.data(), qsizetype(text.text.size()))
                                  .remove(QLatin1Char('\r'))
                                  .split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!rf.vertical) {
            path.addText(QPointF(0.0, rf.metrics.ascent + double(i) * cell), rf.font, lines[i]);
            continue;
        }
        const double x = double(i) * cell;
        double y = 0.0;
        for (const char32_t c : lines[i].toUcs4()) {
            const QString ch = QString::fromUcs4(&c, 1);
            const double advance = fm.horizontalAdvance(ch);
            const VerticalGlyph v = verticalGlyph(c);
            QPainterPath glyph;
            glyph.addText(QPointF(0, rf.metrics.ascent), rf.font, ch);
            QTransform t;
            if (v.upright) {
                t.translate(x + v.shift * advance, y - v.shift * advance);
            } else {
                // A quarter turn clockwise lays the glyph's top against the column's right side.
                t.translate(x + cell, y);
                t.rotate(90);
            }
            path.addPath(t.map(glyph));
            y += advance;
        }
    }
    return path;
}

} // namespace

QPainterPath textOutline(const TextPath& text)
{
    // Outlines by font and text: a redraw makes the same decorated texts again, and turning glyphs
    // into paths costs far more than moving a path.
    // Per thread: copies of one path share data that reading its bounds writes to.
    using Key = std::tuple<std::string, std::string, int32_t, int32_t, int32_t, int>;
    thread_local ThreadTextCache<std::map<Key, QPainterPath>> outlines;
    std::map<Key, QPainterPath>& cache = outlines.get();
    const Key key = std::make_tuple(text.text, text.font.faceName, text.font.height, text.font.width,
                                    text.font.weight,
                                    int(text.font.italic) | int(text.font.underline) << 1 |
                                        int(text.font.strikeOut) << 2);
    QPainterPath path;
    if (auto it = cache.find(key); it != cache.end()) path = it->second;
    if (path.isEmpty()) {
        path = outlineAtOrigin(text);
        if (cache.size() >= 2000) cache.clear();
        cache.emplace(key, path);
    }
    path.translate(text.anchor.x, text.anchor.y);
    return path;
}

namespace {

DeviceRectF boundsWithPen(const QPainterPath& outline, const TextPath& text)
{
    const QRectF r = outline.boundingRect();
    const double pad = text.stroke ? std::max(0.0, text.penWidth) / 2 : 0.0;
    return {r.x() - pad, r.y() - pad, r.width() + 2 * pad, r.height() + 2 * pad};
}

} // namespace

DeviceRectF textOutlineBounds(const TextPath& text)
{
    return boundsWithPen(textOutline(text), text);
}

QPainterPath drawnTextOutline(const TextPath& text)
{
    QPainterPath path = textOutline(text);
    if (!text.warp || path.isEmpty()) return path;
    // Bounds of the outline already made: laying the text out is the costly part.
    const DeviceRectF b = boundsWithPen(path, text);
    const auto& q = *text.warp;
    const QPolygonF from{QPointF(b.x, b.y), QPointF(b.x + b.width, b.y), QPointF(b.x + b.width, b.y + b.height),
                         QPointF(b.x, b.y + b.height)};
    const QPolygonF to{QPointF(q[0].x, q[0].y), QPointF(q[1].x, q[1].y), QPointF(q[3].x, q[3].y),
                       QPointF(q[2].x, q[2].y)};
    QTransform t;
    if (!QTransform::quadToQuad(from, to, t)) return path;
    QPainterPath warped;
    warped.setFillRule(Qt::OddEvenFill);
    for (const QPolygonF& sub : path.toSubpathPolygons()) warped.addPolygon(t.map(sub));
    return warped;
}

} // namespace kov::platform
