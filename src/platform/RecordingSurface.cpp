#include "platform/RecordingSurface.h"

#include "platform/NumberText.h"
#include "platform/TextOutline.h"

#include <QString>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace kov::platform {

namespace {

std::string roundNum(double v)
{
    return formatInt(std::llround(v));
}

std::string hexColor(COLORREF c)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "0x";
    for (int shift = 20; shift >= 0; shift -= 4) out += digits[(c >> shift) & 0xF];
    return out;
}

std::string point(DevicePoint p)
{
    return "(" + formatInt(p.x) + "," + formatInt(p.y) + ")";
}

std::string point(DevicePointF p)
{
    return "(" + roundNum(p.x) + "," + roundNum(p.y) + ")";
}

std::string rect(const DeviceRect& r)
{
    return "[" + formatInt(r.left) + "," + formatInt(r.top) + "," + formatInt(r.right) + "," + formatInt(r.bottom) +
           "]";
}

std::string points(std::span<const DevicePoint> pts)
{
    std::string out;
    for (const DevicePoint& p : pts) {
        if (!out.empty()) out += ' ';
        out += point(p);
    }
    return out;
}

// A name from a table indexed by an enum; a value read from a damaged record shows as its number.
template <size_t N, typename Enum>
std::string nameOf(const char* const (&names)[N], Enum value)
{
    const auto i = static_cast<long long>(value);
    return i >= 0 && i < static_cast<long long>(N) ? names[i] : "#" + formatInt(i);
}

std::string penText(const Pen& pen)
{
    static const char* const names[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "null"};
    if (pen.style == PenStyle::Null) return "pen=null";
    return "pen=" + nameOf(names, pen.style) + ":" + formatInt(pen.width) + ":" + hexColor(pen.color);
}

std::string brushText(const Brush& brush)
{
    switch (brush.style) {
    case BrushStyle::Null: return "brush=null";
    case BrushStyle::Solid:
        return "brush=solid:" + hexColor(brush.color) + (brush.alpha != 255 ? "@" + formatInt(brush.alpha) : "");
    case BrushStyle::Hatch:
        return "brush=hatch" + formatInt(static_cast<int>(brush.hatch)) + ":" + hexColor(brush.color);
    case BrushStyle::Pattern:
        return "brush=pattern" + formatInt(brush.pattern.width()) + "x" + formatInt(brush.pattern.height());
    }
    return {};
}

std::string bkText(const Background& bk)
{
    return bk.opaque ? " bk=" + hexColor(bk.color) : std::string();
}

std::string percent(double opacity)
{
    return formatInt(std::llround(opacity * 100)) + "%";
}

std::string fontText(const Font& f)
{
    std::string out = "font=\"" + f.faceName + "\":" + formatInt(f.height);
    if (f.escapement != 0) out += " esc=" + formatInt(f.escapement);
    if (f.weight != 400 && f.weight != 0) out += " weight=" + formatInt(f.weight);
    if (f.italic) out += " italic";
    if (f.underline) out += " underline";
    if (f.strikeOut) out += " strikeout";
    return out;
}

std::string shapeText(const FillShape& s)
{
    switch (s.kind) {
    case FillShape::Kind::Polygon:
        return std::string("polygon ") + (s.rule == FillRule::Winding ? "winding " : "alternate ") + points(s.points);
    case FillShape::Kind::Ellipse: return "ellipse " + rect(s.box);
    case FillShape::Kind::Pie: return "pie " + rect(s.box) + " " + point(s.start) + " " + point(s.end);
    }
    return {};
}

int emOf(const Font& font)
{
    if (font.height == 0) return 16;
    return static_cast<int>(std::min<long long>(std::llabs(font.height), kMaxFontHeight));
}

std::u32string codePoints(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU32String();
}

} // namespace

std::vector<std::string> RecordingSurface::dump() const
{
    std::vector<std::string> out;
    out.reserve(m_calls.size());
    for (const RecordedCall& c : m_calls) out.push_back(c.dump);
    return out;
}

int RecordingSurface::fakeCharWidth(char32_t ch, const Font& font)
{
    const int em = emOf(font);
    return isFullWidth(ch) ? em : em / 2;
}

RecordedCall& RecordingSurface::record(std::string op)
{
    RecordedCall& c = m_calls.emplace_back();
    c.op = std::move(op);
    return c;
}

void RecordingSurface::line(DevicePoint from, DevicePoint to, const Pen& pen, const Background& bk)
{
    RecordedCall& c = record("line");
    c.points = {from, to};
    c.pen = pen;
    c.background = bk;
    c.dump = "line " + point(from) + "-" + point(to) + " " + penText(pen) + bkText(bk);
}

void RecordingSurface::polyline(std::span<const DevicePoint> pts, const Pen& pen, const Background& bk)
{
    RecordedCall& c = record("polyline");
    c.points.assign(pts.begin(), pts.end());
    c.pen = pen;
    c.background = bk;
    c.dump = "polyline " + points(pts) + " " + penText(pen) + bkText(bk);
}

void RecordingSurface::polygon(std::span<const DevicePoint> pts, FillRule rule, const Pen& pen, const Brush& brush,
                               const Background& bk)
{
    RecordedCall& c = record("polygon");
    c.points.assign(pts.begin(), pts.end());
    c.pen = pen;
    c.brush = brush;
    c.background = bk;
    c.dump = std::string("polygon ") + (rule == FillRule::Winding ? "winding " : "alternate ") + points(pts) + " " +
             penText(pen) + " " + brushText(brush) + bkText(bk);
}

void RecordingSurface::rectangle(const DeviceRect& r, const Pen& pen, const Brush& brush, const Background& bk)
{
    RecordedCall& c = record("rectangle");
    c.rect = r;
    c.pen = pen;
    c.brush = brush;
    c.background = bk;
    c.dump = "rectangle " + rect(r) + " " + penText(pen) + " " + brushText(brush) + bkText(bk);
}

void RecordingSurface::ellipse(const DeviceRect& box, const Pen& pen, const Brush& brush, const Background& bk)
{
    RecordedCall& c = record("ellipse");
    c.rect = box;
    c.pen = pen;
    c.brush = brush;
    c.background = bk;
    c.dump = "ellipse " + rect(box) + " " + penText(pen) + " " + brushText(brush) + bkText(bk);
}

void RecordingSurface::recordArc(std::string op, const DeviceRect& box, DevicePoint start, DevicePoint end,
                                 const Pen& pen, const Brush* brush, const Background& bk)
{
    RecordedCall& c = record(op);
    c.rect = box;
    c.points = {start, end};
    c.pen = pen;
    if (brush) c.brush = *brush;
    c.background = bk;
    c.dump = op + " " + rect(box) + " " + point(start) + " " + point(end) + " " + penText(pen) +
             (brush ? " " + brushText(*brush) : std::string()) + bkText(bk);
}

void RecordingSurface::arc(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                           const Background& bk)
{
    recordArc("arc", box, start, end, pen, nullptr, bk);
}

void RecordingSurface::pie(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                           const Brush& brush, const Background& bk)
{
    recordArc("pie", box, start, end, pen, &brush, bk);
}

void RecordingSurface::chord(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                             const Brush& brush, const Background& bk)
{
    recordArc("chord", box, start, end, pen, &brush, bk);
}

void RecordingSurface::fillRect(const DeviceRect& r, const Brush& brush, const Background& bk)
{
    RecordedCall& c = record("fillRect");
    c.rect = r;
    c.brush = brush;
    c.background = bk;
    c.dump = "fillRect " + rect(r) + " " + brushText(brush) + bkText(bk);
}

void RecordingSurface::focusRect(const DeviceRect& r)
{
    RecordedCall& c = record("focusRect");
    c.rect = r;
    c.dump = "focusRect " + rect(r);
}

void RecordingSurface::setPixel(DevicePoint p, COLORREF color)
{
    RecordedCall& c = record("setPixel");
    c.points = {p};
    c.dump = "setPixel " + point(p) + " " + hexColor(color);
}

void RecordingSurface::textOut(DevicePoint p, std::string_view utf8, const TextStyle& style)
{
    static const char* const hNames[] = {"left", "center", "right"};
    static const char* const vNames[] = {"top", "baseline", "bottom"};
    RecordedCall& c = record("textOut");
    c.points = {p};
    c.text = std::string(utf8);
    c.font = style.font;
    c.background = style.background;
    c.dump = "textOut " + point(p) + " \"" + c.text + "\" " + fontText(style.font) + " color=" +
             hexColor(style.color) + " align=" + nameOf(hNames, style.hAlign) + "," +
             nameOf(vNames, style.vAlign) + (style.charExtra != 0 ? " extra=" + formatInt(style.charExtra) : "") +
             bkText(style.background);
}

TextSize RecordingSurface::textExtent(std::string_view utf8, const Font& font, int charExtra)
{
    long long width = 0;
    for (char32_t ch : codePoints(utf8)) width += fakeCharWidth(ch, font) + static_cast<long long>(charExtra);
    return {static_cast<int>(std::clamp<long long>(width, INT_MIN, INT_MAX)), emOf(font)};
}

TextMetrics RecordingSurface::textMetrics(const Font& font)
{
    int em = emOf(font);
    TextMetrics m;
    m.height = em;
    m.descent = em / 8;
    m.ascent = em - m.descent;
    m.internalLeading = 0;
    m.aveCharWidth = em / 2;
    return m;
}

void RecordingSurface::fillLinearGradient(const FillShape& shape, const LinearGradient& g)
{
    RecordedCall& c = record("fillLinearGradient");
    c.points = shape.points;
    c.rect = g.box;
    c.dump = "fillLinearGradient " + shapeText(shape) + " box=" + rect(g.box) + " " + hexColor(g.from) + "->" +
             hexColor(g.to) + " angle=" + roundNum(g.angleDegrees) + " opacity=" + percent(g.opacity);
}

void RecordingSurface::fillPathGradient(const FillShape& shape, const PathGradient& g)
{
    RecordedCall& c = record("fillPathGradient");
    c.points = shape.points;
    std::string over = g.ellipse ? "ellipse " + rect(g.ellipseBox) : "boundary " + points(g.boundary);
    std::string blend;
    for (const GradientStop& s : g.blend) blend += " " + percent(s.position) + ":" + hexColor(s.color);
    c.dump = "fillPathGradient " + shapeText(shape) + " over " + over + " centre=" + hexColor(g.centerColor) +
             " surround=" + hexColor(g.surroundColor) + (blend.empty() ? "" : " blend" + blend) +
             (g.focusScale > 0 ? " focus=" + percent(g.focusScale) : "") + " opacity=" + percent(g.opacity);
}

DeviceRectF RecordingSurface::textPathBounds(const TextPath& t)
{
    QString text = QString::fromUtf8(t.text);
    text.remove(u'\r');
    int longest = 0;
    const QStringList lines = text.split(u'\n');
    for (const QString& line : lines) {
        int width = 0;
        for (char32_t ch : line.toStdU32String()) width += fakeCharWidth(ch, t.font);
        longest = std::max(longest, width);
    }
    double em = emOf(t.font);
    double across = em * static_cast<double>(lines.size());
    double half = t.stroke ? std::max(t.penWidth, 0.0) / 2 : 0.0;
    DeviceRectF r;
    if (!t.font.faceName.empty() && t.font.faceName[0] == '@') {
        // Columns of em width, the first at the anchor and the next ones to its right, as the
        // outline text lays them out.
        r = {t.anchor.x, t.anchor.y, across, static_cast<double>(longest)};
    } else {
        r = {t.anchor.x, t.anchor.y, static_cast<double>(longest), across};
    }
    return {r.x - half, r.y - half, r.width + 2 * half, r.height + 2 * half};
}

void RecordingSurface::drawTextPath(const TextPath& t)
{
    RecordedCall& c = record("drawTextPath");
    c.points = {{static_cast<int>(std::lround(t.anchor.x)), static_cast<int>(std::lround(t.anchor.y))}};
    c.text = t.text;
    c.font = t.font;
    std::string warp;
    if (t.warp) {
        warp = " warp=";
        for (const DevicePointF& p : *t.warp) warp += point(p);
    }
    c.dump = "drawTextPath " + point(t.anchor) + " \"" + t.text + "\" " + fontText(t.font) +
             (t.fill ? " fill=" + hexColor(t.fillColor) : "") +
             (t.stroke ? " outline=" + hexColor(t.outlineColor) + ":" + roundNum(t.penWidth) : "") +
             " opacity=" + percent(t.opacity) + warp;
}

void RecordingSurface::drawImage(const QImage& image, DevicePointF topLeft, DevicePointF topRight,
                                 DevicePointF bottomLeft, const QRectF& source, double opacity)
{
    RecordedCall& c = record("drawImage");
    auto round = [](DevicePointF p) {
        return DevicePoint{static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
    };
    c.points = {round(topLeft), round(topRight), round(bottomLeft)};
    std::string src;
    if (!source.isEmpty())
        src = " source=[" + roundNum(source.x()) + "," + roundNum(source.y()) + "," + roundNum(source.right()) + "," +
              roundNum(source.bottom()) + "]";
    c.dump = "drawImage " + formatInt(image.width()) + "x" + formatInt(image.height()) + " " + point(topLeft) + " " +
             point(topRight) + " " + point(bottomLeft) + src + " opacity=" + percent(opacity);
}

void RecordingSurface::setClipRect(const DeviceRect& r)
{
    RecordedCall& c = record("setClipRect");
    c.rect = r;
    c.dump = "setClipRect " + rect(r);
    m_clip = r.normalized();
}

void RecordingSurface::clearClip()
{
    record("clearClip").dump = "clearClip";
    m_clip.reset();
}

std::optional<DeviceRect> RecordingSurface::visibleArea() const
{
    std::optional<DeviceRect> area = Surface::visibleArea();
    if (!m_clip) return area;
    if (!area) return m_clip;
    return DeviceRect{std::max(area->left, m_clip->left), std::max(area->top, m_clip->top),
                      std::min(area->right, m_clip->right), std::min(area->bottom, m_clip->bottom)};
}

} // namespace kov::platform
