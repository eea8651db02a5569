#include "platform/PainterSurface.h"

#include "platform/FontSubstitution.h"
#include "platform/TextCaches.h"
#include "platform/TextOutline.h"

#include <QLinearGradient>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <numbers>
#include <string>
#include <unordered_map>

namespace kov::platform {

namespace {

constexpr double kPi = std::numbers::pi;

// The pixel runs of the broken 1-pixel pens, on and off alternately.
QList<qreal> dashPattern(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return {18, 6};
    case PenStyle::Dot: return {3, 3};
    case PenStyle::DashDot: return {9, 6, 3, 6};
    case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

// Qt's own "no pen" and "no brush" are one object for the whole program, counted on every copy:
// threads painting bands at once would queue on that count. Each thread keeps its own instead.
template <class T, class Style>
const T& threadEmpty(Style none)
{
    thread_local const T empty = [&] {
        T made(Qt::black);
        made.setStyle(none);
        return made;
    }();
    return empty;
}

const QPen& noPen() { return threadEmpty<QPen>(Qt::NoPen); }
const QBrush& noBrush() { return threadEmpty<QBrush>(Qt::NoBrush); }

// What a surface has made, looked up by key, or made now: a surface draws with a few pens and
// brushes many times. Bounded: when full it starts again.
template <class Key, class Made, class Make>
const Made& keptOrMade(std::vector<std::pair<Key, Made>>& kept, const Key& key, Make make)
{
    for (const auto& [k, m] : kept)
        if (k == key) return m;
    if (kept.size() >= 64) kept.clear();
    kept.emplace_back(key, make());
    return kept.back().second;
}

bool isThin(const Pen& pen) { return pen.width <= 1; }
bool isBroken(const Pen& pen) { return isThin(pen) && !dashPattern(pen.style).isEmpty(); }

QPen toQPen(const Pen& pen)
{
    if (pen.style == PenStyle::Null) return noPen();
    QPen q(toQColor(pen.color));
    if (isThin(pen)) {
        // A cosmetic 1-pixel pen with flat ends leaves out the last pixel of every line.
        q.setWidth(1);
        q.setCosmetic(true);
        q.setCapStyle(Qt::FlatCap);
        q.setJoinStyle(Qt::MiterJoin);
        const QList<qreal> dashes = dashPattern(pen.style);
        if (!dashes.isEmpty()) q.setDashPattern(dashes);
    } else {
        q.setWidth(pen.width);
        // Round ends of 2 and 3 pixels cover the pixels square ones do, at a quarter of the cost in
        // Qt's stroker; wider pens show the round ends.
        const bool narrow = pen.width < 4;
        q.setCapStyle(narrow ? Qt::SquareCap : Qt::RoundCap);
        q.setJoinStyle(narrow ? Qt::MiterJoin : Qt::RoundJoin);
        q.setMiterLimit(1.5);
    }
    return q;
}

// Rows of the 8x8 hatch cells, bit 7 the leftmost pixel.
const uint8_t* hatchRows(HatchStyle style)
{
    static const uint8_t rows[6][8] = {
        {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // horizontal
        {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // vertical
        {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // forward diagonal, top-left to bottom-right
        {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // backward diagonal, bottom-left to top-right
        {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // cross
        {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // diagonal cross
    };
    const int i = int(style);
    return rows[i >= 0 && i < 6 ? i : 0];
}

QBrush makeQBrush(const Brush& brush, const Background& bk)
{
    switch (brush.style) {
    case BrushStyle::Null: return noBrush();
    case BrushStyle::Solid: return QBrush(toQColor(brush.color, brush.alpha));
    case BrushStyle::Hatch: {
        QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
        const QRgb on = toQColor(brush.color).rgba();
        const QRgb off = bk.opaque ? toQColor(bk.color).rgba() : qRgba(0, 0, 0, 0);
        const uint8_t* rows = hatchRows(brush.hatch);
        for (int y = 0; y < 8; ++y) {
            auto* row = reinterpret_cast<QRgb*>(cell.scanLine(y));
            for (int x = 0; x < 8; ++x) row[x] = (rows[y] & (0x80 >> x)) ? on : off;
        }
        return QBrush(cell);
    }
    case BrushStyle::Pattern:
        if (brush.pattern.isNull()) return noBrush();
        return QBrush(brush.pattern.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    return noBrush();
}

QPoint qp(DevicePoint p) { return {p.x, p.y}; }

// Pixels of our own go only to pictures in memory; printers and PDF files get real lines.
bool isPixelDevice(const QPaintDevice* device)
{
    return device != nullptr && (device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap);
}

// Qt's aliased 1-pixel lines always leave out their right or bottom end pixel, whichever end that
// is, and draw the same pixels whichever way they run; a line must leave out its end point. A
// segment running leftwards or upwards is moved one pixel along itself when that step is whole
// (axis-parallel and 45-degree lines): the same pixels, start drawn, end left out. Other such
// segments are drawn as they are with the end's column (or row) clipped away and the start pixel
// added.
struct ThinSegment {
    QLineF line;
    bool clipEnd = false;  // the steep or shallow case that cannot be moved
};

ThinSegment thinSegment(DevicePoint a, DevicePoint b)
{
    const int dx = b.x - a.x, dy = b.y - a.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const bool reversed = xMajor ? dx < 0 : dy < 0;
    if ((dx == 0 && dy == 0) || !reversed) return {QLineF(a.x, a.y, b.x, b.y)};
    const int major = std::max(std::abs(dx), std::abs(dy));
    const int minor = std::min(std::abs(dx), std::abs(dy));
    if (minor != 0 && minor != major) return {QLineF(a.x, a.y, b.x, b.y), true};
    const int ux = -dx / major, uy = -dy / major;
    return {QLineF(a.x + ux, a.y + uy, b.x + ux, b.y + uy)};
}

bool isThinSolid(const Pen& pen) { return pen.width <= 1 && pen.style == PenStyle::Solid; }

// A Windows ellipse's 1-pixel outline runs on the first and last pixels inside its box; Qt's
// aliased curves land there when the geometry is half a pixel short of the box. Filled without a
// pen, this geometry is one pixel smaller than the box, as Windows fills it.
QRectF outlineBox(const DeviceRect& box)
{
    const DeviceRect r = box.normalized();
    return QRectF(r.left, r.top, std::max(0.0, r.width() - 0.5), std::max(0.0, r.height() - 0.5));
}

// Qt's ellipse angles are parametric; a radial through a point is turned into the parameter
// where it meets the ellipse: t = atan2(a sin(phi), b cos(phi)). Degrees, counter-clockwise.
double parametricAngle(const QRectF& ellipse, DevicePoint p)
{
    const QPointF c = ellipse.center();
    const double a = ellipse.width() / 2, b = ellipse.height() / 2;
    const double phi = std::atan2(-(p.y - c.y()), p.x - c.x());
    return std::atan2(a * std::sin(phi), b * std::cos(phi)) * 180 / kPi;
}

// Counter-clockwise sweep from the start radial to the end radial; equal radials go all round.
double sweepBetween(double startDeg, double endDeg)
{
    double sweep = std::fmod(endDeg - startDeg, 360.0);
    if (sweep < 0) sweep += 360;
    if (sweep < 1e-9) sweep = 360;
    return sweep;
}

enum class ArcKind { Open, Pie, Chord };

QPainterPath arcPath(const QRectF& ellipse, DevicePoint start, DevicePoint end, ArcKind kind)
{
    const double ts = parametricAngle(ellipse, start);
    const double sweep = sweepBetween(ts, parametricAngle(ellipse, end));
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(ellipse.center());
        path.arcTo(ellipse, ts, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(ellipse, ts);
        path.arcTo(ellipse, ts, sweep);
        if (kind == ArcKind::Chord) path.closeSubpath();
    }
    return path;
}

// Beyond this size Qt's curve flattening leaves corners a few pixels off the true outline.
constexpr double kLargeCurve = 4096;

// The points of the ellipse from parameter t0 over `sweep` degrees, bisected until each chord
// keeps within a quarter pixel of the curve wherever it can show; pieces that cannot reach the
// visible rectangle stay coarse.
void fineEllipsePoints(const QRectF& e, double t0, double sweep, const QRectF& visible, QPolygonF& out)
{
    const double cx = e.center().x(), cy = e.center().y(), a = e.width() / 2, b = e.height() / 2;
    const double r = std::max(a, b);
    auto at = [&](double t) {
        const double rad = t * kPi / 180;
        return QPointF(cx + a * std::cos(rad), cy - b * std::sin(rad));
    };
    struct Piece {
        double from, to;
        int depth;
    };
    out << at(t0);
    // Depth-first, in order: split the first piece until it is fine or out of sight, emit its end.
    std::vector<Piece> work{{t0, t0 + sweep, 0}};
    while (!work.empty()) {
        const Piece p = work.back();
        work.pop_back();
        const double half = (p.to - p.from) / 2;
        const double sag = r * (1 - std::cos(half * kPi / 180));
        const QPointF p0 = at(p.from), p1 = at(p.to);
        QRectF reach = QRectF(p0, p1).normalized().adjusted(-sag - 1, -sag - 1, sag + 1, sag + 1);
        const bool fine = sag <= 0.25 || !reach.intersects(visible) || p.depth >= 48;
        if (fine && std::abs(p.to - p.from) <= 45) {
            out << p1;
            continue;
        }
        const double mid = p.from + half;
        work.push_back({mid, p.to, p.depth + 1});
        work.push_back({p.from, mid, p.depth + 1});
    }
}

QPainterPath largeCurvePath(const QRectF& e, double t0, double sweep, ArcKind kind, const QRectF& visible, bool whole)
{
    QPolygonF pts;
    fineEllipsePoints(e, t0, sweep, visible, pts);
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(e.center());
        path.lineTo(pts.front());
    } else {
        path.moveTo(pts.front());
    }
    for (qsizetype i = 1; i < pts.size(); ++i) path.lineTo(pts[i]);
    if (kind != ArcKind::Open || whole) path.closeSubpath();
    return path;
}

// The part of a path a solid pen can paint inside `reach` (the visible area, widened by more than
// the pen reaches past its line): whole segments that come near it, consecutive ones kept in one
// run so their joins stay. A run's new ends lie outside the area, so their caps show nowhere and
// every visible pixel is the same; a band or strip then strokes only what crosses it, not the
// whole of a long outline. A closed outline cut open starts after a segment left out, so that its
// first corner keeps its join.
QPainterPath strokedPart(const QPainterPath& path, const QRectF& reach)
{
    if (reach.contains(path.controlPointRect())) return path;
    struct Segment {
        int first;  // its first element (a line's end, or a curve's three points)
        int count;
        bool near;
    };
    QPainterPath out;
    out.setFillRule(path.fillRule());
    const int n = path.elementCount();
    std::vector<Segment> segments;
    int i = 0;
    while (i < n) {
        // One subpath: its move, then its segments.
        const QPainterPath::Element& start = path.elementAt(i);
        QPointF at(start.x, start.y);
        const int moveAt = i++;
        segments.clear();
        while (i < n && path.elementAt(i).type != QPainterPath::MoveToElement) {
            const bool curve = path.elementAt(i).type == QPainterPath::CurveToElement;
            const int count = curve ? 3 : 1;
            // Its points' extremes by hand: QRectF passes over boxes without area (a level or
            // upright segment's), in uniting as in meeting.
            double left = at.x(), right = at.x(), top = at.y(), bottom = at.y();
            for (int k = 0; k < count && i + k < n; ++k) {
                const QPointF p(path.elementAt(i + k).x, path.elementAt(i + k).y);
                left = std::min(left, p.x());
                right = std::max(right, p.x());
                top = std::min(top, p.y());
                bottom = std::max(bottom, p.y());
                at = p;
            }
            const bool near = right >= reach.left() && left <= reach.right() && bottom >= reach.top() &&
                              top <= reach.bottom();
            segments.push_back({i, count, near});
            i += count;
        }
        const int total = int(segments.size());
        int kept = 0;
        for (const Segment& seg : segments) kept += seg.near;
        auto point = [&](int e) { return QPointF(path.elementAt(e).x, path.elementAt(e).y); };
        auto append = [&](const Segment& seg) {
            if (seg.count == 3) out.cubicTo(point(seg.first), point(seg.first + 1), point(seg.first + 2));
            else out.lineTo(point(seg.first));
        };
        auto startOf = [&](int k) { return k == 0 ? point(moveAt) : point(segments[std::size_t(k - 1)].first + segments[std::size_t(k - 1)].count - 1); };
        if (kept == total) {
            out.moveTo(point(moveAt));
            for (const Segment& seg : segments) append(seg);
            continue;
        }
        if (kept == 0) continue;
        const bool closed = total > 1 && point(moveAt) == at;
        // Runs of kept segments; a closed outline is walked from the first segment left out.
        int from = 0;
        if (closed)
            while (segments[std::size_t(from)].near) ++from;
        bool open = false;
        for (int step = 0; step < total; ++step) {
            const int k = closed ? (from + step) % total : step;
            const Segment& seg = segments[std::size_t(k)];
            if (!seg.near) {
                open = false;
                continue;
            }
            if (!open) out.moveTo(startOf(k));
            open = true;
            append(seg);
        }
    }
    return out;
}

QPainterPath polygonPath(std::span<const DevicePoint> points, FillRule rule)
{
    QPolygonF poly;
    for (const DevicePoint& p : points) poly << QPointF(p.x, p.y);
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    path.setFillRule(rule == FillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    return path;
}

QRectF fillBox(const DeviceRect& box)
{
    const DeviceRect r = box.normalized();
    return QRectF(r.left, r.top, r.width(), r.height());
}

QPainterPath shapePath(const FillShape& shape)
{
    QPainterPath path;
    switch (shape.kind) {
    case FillShape::Kind::Polygon:
        if (shape.points.size() >= 3) path = polygonPath(shape.points, shape.rule);
        break;
    case FillShape::Kind::Ellipse: path.addEllipse(fillBox(shape.box)); break;
    case FillShape::Kind::Pie: path = arcPath(fillBox(shape.box), shape.start, shape.end, ArcKind::Pie); break;
    }
    return path;
}

uint8_t alphaOf(double opacity) { return uint8_t(std::clamp(opacity, 0.0, 1.0) * 255 + 0.5); }

// The path-gradient stops as distances from the centre (0) to the boundary (1), the centre colour
// kept inside the focus scale.
QGradientStops radialStops(const PathGradient& g, uint8_t alpha)
{
    std::vector<GradientStop> blend = g.blend;
    if (blend.empty()) blend = {{0.0, g.surroundColor}, {1.0, g.centerColor}};
    std::sort(blend.begin(), blend.end(),
              [](const GradientStop& a, const GradientStop& b) { return a.position < b.position; });
    const double focus = std::clamp(g.focusScale, 0.0, 0.999);
    QGradientStops stops;
    auto add = [&](double k, COLORREF c) { stops.push_back({std::clamp(k, 0.0, 1.0), toQColor(c, alpha)}); };
    add(0.0, blend.back().color);
    for (auto it = blend.rbegin(); it != blend.rend(); ++it) add(1.0 - it->position * (1.0 - focus), it->color);
    add(1.0, blend.front().color);
    std::stable_sort(stops.begin(), stops.end(),
                     [](const QGradientStop& a, const QGradientStop& b) { return a.first < b.first; });
    return stops;
}

QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// Laid-out lines by font and string. A redraw writes the same labels again and again, and laying
// a string out (shaping it) costs more than drawing it.
struct LaidOutText {
    QStaticText text;
    double ascent = 0;   // from the layout's top to its baseline
    double advance = 0;  // where the next text would start
    int pixelAdvance = 0;  // the same in whole pixels, as text extents report it
};

LaidOutText laidOut(std::string_view utf8, const Font& logical, const QFont& font)
{
    thread_local ThreadTextCache<std::unordered_map<std::string, LaidOutText>> lines;
    std::unordered_map<std::string, LaidOutText>& cache = lines.get();
    thread_local std::string key;
    key.clear();
    auto addInt = [](std::string& k, int32_t v) { k.append(reinterpret_cast<const char*>(&v), sizeof v); };
    addInt(key, logical.height);
    addInt(key, logical.width);
    addInt(key, logical.weight);
    addInt(key, int32_t(logical.italic) | int32_t(logical.underline) << 1 | int32_t(logical.strikeOut) << 2);
    addInt(key, int32_t(font.letterSpacing() * 64));
    addInt(key, int32_t(logical.faceName.size()));
    key += logical.faceName;
    key += utf8;
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    // Bounded: a drawing's worth of labels, then start again.
    if (cache.size() >= 50000) cache.clear();
    LaidOutText entry;
    entry.text.setText(qs(utf8));
    entry.text.setTextFormat(Qt::PlainText);
    entry.text.setPerformanceHint(QStaticText::AggressiveCaching);
    entry.text.prepare(QTransform(), font);
    const QFontMetricsF metrics(font);
    entry.ascent = metrics.ascent();
    // The laid-out line's width is its advance: no second shaping for the metrics.
    entry.advance = entry.text.size().width();
    entry.pixelAdvance = qRound(entry.advance);
    return cache.emplace(key, entry).first->second;
}

// Small texts as painted pictures, by everything that decides their pixels: a redraw then puts
// down a picture instead of laying glyphs or rasterising outlines again. Texts larger than this
// are drawn directly (a close zoom shows few of them).
constexpr double kMaxCachedTextArea = 512.0 * 512.0;
constexpr qsizetype kMaxCachedTextBytes = 64LL * 1024 * 1024;

struct PaintedText {
    QImage image;   // null: too large to keep, drawn directly
    QPoint offset;  // of the picture's top-left from the anchor's whole pixel
};

// The picture cut down to its inked pixels: the box it was painted in is made generous enough for
// any font, and a label's line cell is mostly empty. Putting down the transparent rest changes no
// pixel but costs a blend per pixel at every redraw. A picture without ink stays as it is.
void keepInkOnly(PaintedText& painted)
{
    const QImage& image = painted.image;
    const int width = image.width(), height = image.height();
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x) {
            if (row[x] == 0) continue;  // premultiplied: nothing at all
            if (first < 0) first = x;
            last = x;
        }
        if (first < 0) continue;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0) return;
    const QRect ink(QPoint(left, top), QPoint(right, bottom));
    if (ink == image.rect()) return;
    painted.image = image.copy(ink);
    painted.offset += ink.topLeft();
}

// Text pictures shared by every thread: pixels only, which threads may draw from at once (the
// fonts and layouts that make them stay with each thread). Bounded in bytes: when full it starts
// again, and a new generation of the text caches empties it.
class TextPictures {
public:
    std::optional<PaintedText> find(const std::string& key)
    {
        std::lock_guard lock(m_mutex);
        renew();
        const auto it = m_entries.find(key);
        if (it == m_entries.end()) return std::nullopt;
        return it->second;
    }
    void add(const std::string& key, const PaintedText& painted)
    {
        std::lock_guard lock(m_mutex);
        renew();
        if (m_bytes + painted.image.sizeInBytes() > kMaxCachedTextBytes) {
            m_entries.clear();
            m_bytes = 0;
        }
        if (m_entries.emplace(key, painted).second) m_bytes += painted.image.sizeInBytes();
    }

private:
    void renew()
    {
        const std::uint64_t now = TextCacheGeneration();
        if (now == m_generation) return;
        m_entries.clear();
        m_bytes = 0;
        m_generation = now;
    }

    std::mutex m_mutex;
    std::unordered_map<std::string, PaintedText> m_entries;
    qsizetype m_bytes = 0;
    std::uint64_t m_generation = 0;
};

// Decorated texts (outlines stroked and filled).
TextPictures& decoratedPictures()
{
    static TextPictures cache;
    return cache;
}

// Plain lines of text, apart from the decorated ones: they come and go with the zoom.
TextPictures& linePictures()
{
    static TextPictures cache;
    return cache;
}

// The line pictures this thread has put down, in front of the shared ones: every band of every
// redraw looks up each of its labels, and on all cores at once the shared cache's lock costs more
// than the look-up. The pictures' pixels are shared, so this holds no more than references; it is
// bounded in bytes as the shared cache is.
class ThreadLinePictures {
public:
    // The picture kept under the key, valid until this thread adds one; null when none is.
    // Not copied: a copy counts references on pixels that every thread shares.
    const PaintedText* find(const std::string& key)
    {
        Entries& entries = m_entries.get();
        if (const auto it = entries.map.find(key); it != entries.map.end()) return &it->second;
        const std::optional<PaintedText> shared = linePictures().find(key);
        return shared ? keep(entries, key, *shared) : nullptr;
    }
    void add(const std::string& key, const PaintedText& painted)
    {
        linePictures().add(key, painted);
        keep(m_entries.get(), key, painted);
    }

private:
    struct Entries {
        std::unordered_map<std::string, PaintedText> map;
        qsizetype bytes = 0;
    };
    static const PaintedText* keep(Entries& entries, const std::string& key, const PaintedText& painted)
    {
        if (entries.bytes + painted.image.sizeInBytes() > kMaxCachedTextBytes) entries = Entries{};
        const auto [at, added] = entries.map.emplace(key, painted);
        if (added) entries.bytes += painted.image.sizeInBytes();
        return &at->second;
    }
    ThreadTextCache<Entries> m_entries;
};

ThreadLinePictures& threadLinePictures()
{
    thread_local ThreadLinePictures cache;
    return cache;
}

} // namespace

PainterSurface::PainterSurface(QPaintDevice& device, Options options)
    : m_ownPainter(std::make_unique<QPainter>(&device)), m_painter(m_ownPainter.get()), m_options(options)
{
    if (device.devType() == QInternal::Printer) m_options.isPrinting = m_options.isOutput = true;
    start();
}

PainterSurface::PainterSurface(QPainter& painter, Options options) : m_painter(&painter), m_options(options)
{
    if (painter.device() && painter.device()->devType() == QInternal::Printer)
        m_options.isPrinting = m_options.isOutput = true;
    start();
}

void PainterSurface::start()
{
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    const DevicePoint o = m_options.origin;
    if (o.x != 0 || o.y != 0) m_painter->translate(-o.x, -o.y);
    m_device = DeviceProperties{};
    m_device.isPrinting = m_options.isPrinting;
    m_device.isOutput = m_options.isOutput;
    if (const QPaintDevice* dev = m_painter->device()) {
        m_device.dpiX = dev->logicalDpiX();
        m_device.dpiY = dev->logicalDpiY();
        m_device.area = {o.x, o.y, o.x + dev->width(), o.y + dev->height()};
    }
    m_deviceArea = m_device.area;
    m_pixelTarget = isPixelDevice(m_painter->device());
    // Text pictures for the screen only: a file or paper gets its glyphs drawn.
    m_textPictures = m_pixelTarget && !m_options.isOutput && !m_options.isPrinting;
}

const QBrush& PainterSurface::brushFor(const Brush& brush, const Background& bk)
{
    if (brush.style == BrushStyle::Null) return noBrush();
    BrushKey key;
    key.style = int(brush.style);
    key.hatch = brush.style == BrushStyle::Hatch ? int(brush.hatch) : 0;
    key.color = brush.color;
    key.alpha = brush.style == BrushStyle::Solid ? brush.alpha : 255;
    key.background = brush.style == BrushStyle::Hatch && bk.opaque ? int64_t(bk.color) : -1;
    key.pattern = brush.style == BrushStyle::Pattern ? brush.pattern.cacheKey() : 0;
    if (brush.style == BrushStyle::Pattern) key.color = 0;
    return keptOrMade(m_brushes, key, [&] {
        QBrush made = makeQBrush(brush, bk);
        const DevicePoint o = m_options.patternOrigin;
        if (brush.style != BrushStyle::Solid && (o.x != 0 || o.y != 0))
            made.setTransform(QTransform::fromTranslate(o.x, o.y));
        return made;
    });
}

const QPen& PainterSurface::penFor(const Pen& pen)
{
    if (pen.style == PenStyle::Null) return noPen();
    return keptOrMade(m_pens, PenKey{int(pen.style), pen.width, pen.color, false}, [&] { return toQPen(pen); });
}

// The gaps of a broken pen are painted by a solid pen of the background colour under it.
const QPen& PainterSurface::gapPenFor(const Pen& pen, const Background& bk)
{
    if (!bk.opaque || !isBroken(pen)) return noPen();
    Pen solid = pen;
    solid.style = PenStyle::Solid;
    solid.color = bk.color;
    return penFor(solid);
}

const QPen& PainterSurface::textPen(COLORREF color)
{
    return keptOrMade(m_pens, PenKey{0, 0, color, true}, [&] { return QPen(toQColor(color)); });
}

QRectF PainterSurface::curveVisibleRect(const Pen& pen) const
{
    const std::optional<DeviceRect> v = visibleArea();
    if (!v) return QRectF(-1e9, -1e9, 2e9, 2e9);
    const double m = pen.width + 2;
    return QRectF(v->left - m, v->top - m, v->width() + 2 * m, v->height() + 2 * m);
}

QPainterPath PainterSurface::curvePath(const DeviceRect& box, DevicePoint start, DevicePoint end, int kind,
                                       const Pen& pen) const
{
    const QRectF e = outlineBox(box);
    const ArcKind k = static_cast<ArcKind>(kind);
    if (std::max(e.width(), e.height()) <= kLargeCurve) return arcPath(e, start, end, k);
    const double ts = parametricAngle(e, start);
    const double sweep = sweepBetween(ts, parametricAngle(e, end));
    return largeCurvePath(e, ts, sweep, k, curveVisibleRect(pen), false);
}

PainterSurface::~PainterSurface()
{
    flush();
    if (m_ownPainter) m_ownPainter->end();
}

DeviceProperties PainterSurface::device() const
{
    return m_device;
}

void PainterSurface::line(DevicePoint from, DevicePoint to, const Pen& pen, const Background& bk)
{
    const DevicePoint pts[] = {from, to};
    polyline(pts, pen, bk);
}

void PainterSurface::flush()
{
    if (m_batch.empty() && m_batchPixels.empty() && m_batchRuns.empty()) return;
    if (!m_batch.empty()) {
        // Each wide line is stroked on its own: those beyond the pen's reach of the visible
        // area are left out (a band gets the lines of whole outlines that cross it).
        if (m_pixelTarget) {
            const QRectF v = curveVisibleRect(m_batchPen);
            std::erase_if(m_batch, [&](const QLineF& l) {
                return std::max(l.x1(), l.x2()) < v.left() || std::min(l.x1(), l.x2()) > v.right() ||
                       std::max(l.y1(), l.y2()) < v.top() || std::min(l.y1(), l.y2()) > v.bottom();
            });
        }
        if (!m_batch.empty()) {
            m_painter->setBrush(noBrush());
            m_painter->setPen(penFor(m_batchPen));
            m_painter->drawLines(m_batch.data(), int(m_batch.size()));
            m_batch.clear();
        }
    }
    const QColor c = toQColor(m_batchPen.color);
    if (const DirectPixels direct = directPixels(); direct.bits != nullptr) {
        // The same pixels Qt would set, opaque over whatever lies there, without a call per run.
        const QRgb value = c.rgba() | 0xFF000000u;
        const QRect& clip = direct.clip;
        const int sx = direct.shift.x(), sy = direct.shift.y();
        for (const QRect& r : m_batchRuns) {
            const QRect k = r & clip;
            for (int y = k.top(); y <= k.bottom(); ++y) {
                QRgb* row = reinterpret_cast<QRgb*>(direct.bits + (y + sy) * direct.stride) + sx;
                std::fill(row + k.left(), row + k.left() + k.width(), value);
            }
        }
        const int left = clip.left(), right = clip.right(), top = clip.top(), bottom = clip.bottom();
        for (const QPoint& p : m_batchPixels)
            if (p.x() >= left && p.x() <= right && p.y() >= top && p.y() <= bottom)
                reinterpret_cast<QRgb*>(direct.bits + (p.y() + sy) * direct.stride)[p.x() + sx] = value;
        m_batchRuns.clear();
        m_batchPixels.clear();
        return;
    }
    for (const QRect& r : m_batchRuns) m_painter->fillRect(r, c);
    m_batchRuns.clear();
    if (!m_batchPixels.empty()) {
        QPen dot(c);
        dot.setWidth(1);
        dot.setCosmetic(true);
        m_painter->setPen(dot);
        m_painter->drawPoints(m_batchPixels.data(), int(m_batchPixels.size()));
        m_batchPixels.clear();
    }
}

PainterSurface::DirectPixels PainterSurface::directPixels()
{
    // Only a plain state: no transform but a shift by whole pixels (a band's origin), no opacity,
    // no other composition, a clip of one rectangle at most; anything else goes through Qt.
    if (!m_pixelTarget || m_painter->paintEngine() == nullptr
        || m_painter->paintEngine()->type() != QPaintEngine::Raster)
        return {};
    QPaintDevice* device = m_painter->device();
    if (device == nullptr || device->devType() != QInternal::Image) return {};
    auto* image = static_cast<QImage*>(device);
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied) return {};
    const QTransform& t = m_painter->transform();
    if (t.type() > QTransform::TxTranslate || m_painter->opacity() < 1.0
        || m_painter->compositionMode() != QPainter::CompositionMode_SourceOver)
        return {};
    const QPoint shift(int(t.dx()), int(t.dy()));
    if (shift.x() != t.dx() || shift.y() != t.dy()) return {};
    // The clip and the batch are in device pixels, the picture's rows start at the shift.
    QRect clip = image->rect().translated(-shift);
    if (m_painter->hasClipping()) {
        if (!m_clipKnown) {
            const QRegion region = m_painter->clipRegion();
            m_clipIsRect = region.rectCount() <= 1;
            m_clip = region.boundingRect();
            m_clipKnown = true;
        }
        if (!m_clipIsRect) return {};
        clip &= m_clip;
    }
    // Where the painter itself writes (bits() could detach a shared picture from it).
    return {const_cast<uchar*>(image->constBits()), image->bytesPerLine(), clip, shift};
}

namespace {

// floor(a / n) for n > 0.
long long floorDiv(long long a, long long n)
{
    return a >= 0 ? a / n : -((-a + n - 1) / n);
}

} // namespace

void PainterSurface::rasterizeThin(DevicePoint a, DevicePoint b)
{
    // The pixels from a towards b with b left out, in every direction, as the Windows line does.
    // Along the major axis each step takes the minor coordinate rounded down from the line
    // through the left (top) end, as Qt's own aliased lines and polygon edges do, so that an
    // outline meets its fill. Axis-parallel runs go as rectangles; other lines pixel by pixel,
    // only the steps that can land inside the device.
    const long long dx = static_cast<long long>(b.x) - a.x, dy = static_cast<long long>(b.y) - a.y;
    const long long n = std::max(std::abs(dx), std::abs(dy));
    if (n == 0) return;
    if (dy == 0) {
        const long long left = dx > 0 ? a.x : static_cast<long long>(b.x) + 1;
        m_batchRuns.emplace_back(int(left), a.y, int(n), 1);
        return;
    }
    if (dx == 0) {
        const long long top = dy > 0 ? a.y : static_cast<long long>(b.y) + 1;
        m_batchRuns.emplace_back(a.x, int(top), 1, int(n));
        return;
    }
    double t0 = 0, t1 = 1;
    const DeviceRect area = m_deviceArea;
    auto clipAxis = [&](double p, double d, double lo, double hi) {
        double ta = (lo - p) / d, tb = (hi - p) / d;
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        return t0 <= t1;
    };
    if (!clipAxis(a.x, double(dx), area.left - 2.0, area.right + 2.0)) return;
    if (!clipAxis(a.y, double(dy), area.top - 2.0, area.bottom + 2.0)) return;
    const long long first = std::max(0LL, static_cast<long long>(std::floor(t0 * double(n))) - 1);
    const long long last = std::min(n - 1, static_cast<long long>(std::ceil(t1 * double(n))) + 1);
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    // The end the minor coordinate is measured from, and the major step from a towards b.
    const DevicePoint lo = xMajor ? (dx > 0 ? a : b) : (dy > 0 ? a : b);
    const long long major = xMajor ? std::abs(dx) : std::abs(dy);
    const long long rise = xMajor ? (dx > 0 ? dy : -dy) : (dy > 0 ? dx : -dx);
    const int step = xMajor ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1);
    for (long long i = first; i <= last; ++i) {
        const long long m = (xMajor ? a.x : a.y) + step * i;
        const long long along = m - (xMajor ? lo.x : lo.y);
        const long long minor = (xMajor ? lo.y : lo.x) + floorDiv(along * rise, major);
        if (xMajor) m_batchPixels.emplace_back(int(m), int(minor));
        else m_batchPixels.emplace_back(int(minor), int(m));
    }
}

void PainterSurface::thinSegments(std::span<const DevicePoint> points, bool closed, const Pen& pen)
{
    // Solid segments wait in the batch while the calls that follow keep the same pen: a figure's
    // dashes and edges reach Qt in a call or two. Any other call draws the batch first, so
    // nothing changes order.
    if (m_batchPen.width != pen.width || m_batchPen.color != pen.color || m_batchPen.style != pen.style) {
        flush();
        m_batchPen = pen;
    }
    auto add = [&](DevicePoint a, DevicePoint b) {
        // Wider pens go to Qt's stroker in one call: laying their pixels ourselves measured slower.
        if (pen.width <= 1 && m_pixelTarget) rasterizeThin(a, b);
        else m_batch.emplace_back(a.x, a.y, b.x, b.y);
    };
    for (std::size_t i = 0; i + 1 < points.size(); ++i) add(points[i], points[i + 1]);
    if (closed && points.size() > 2) add(points.back(), points.front());
}

void PainterSurface::drawClippedSegment(DevicePoint a, DevicePoint b, const QPen& pen)
{
    // b is the left or top end: keep its column (row) out, add a's pixel.
    const bool xMajor = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    constexpr int kFar = 1 << 30;
    const QRect keep = xMajor ? QRect(QPoint(b.x + 1, -kFar), QPoint(kFar, kFar))
                              : QRect(QPoint(-kFar, b.y + 1), QPoint(kFar, kFar));
    m_painter->save();
    m_painter->setClipRect(keep, m_painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter->setPen(pen);
    m_painter->drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
    m_painter->restore();
    m_painter->fillRect(QRect(a.x, a.y, 1, 1), pen.color());
}

void PainterSurface::polyline(std::span<const DevicePoint> points, const Pen& pen, const Background& bk)
{
    if (points.size() < 2 || pen.style == PenStyle::Null) return;
    if (pen.style == PenStyle::Solid) {
        thinSegments(points, false, pen);
        return;
    }
    flush();
    if (points.size() == 2 && isBroken(pen)) {
        // One broken segment: its pattern starts at its start point whichever way it runs.
        const ThinSegment t = thinSegment(points[0], points[1]);
        if (t.clipEnd) {
            m_painter->setBrush(noBrush());
            if (const QPen& gaps = gapPenFor(pen, bk); gaps.style() != Qt::NoPen) drawClippedSegment(points[0], points[1], gaps);
            drawClippedSegment(points[0], points[1], penFor(pen));
            return;
        }
        const QLineF l = t.line;
        const bool moved = l.p1() != QPointF(points[0].x, points[0].y);
        m_painter->setBrush(noBrush());
        if (const QPen& gaps = gapPenFor(pen, bk); gaps.style() != Qt::NoPen) {
            m_painter->setPen(gaps);
            m_painter->drawLine(l);
        }
        QPen q = penFor(pen);
        if (moved) q.setDashOffset(1);
        m_painter->setPen(q);
        m_painter->drawLine(l);
        return;
    }
    QPolygon poly;
    for (const DevicePoint& p : points) poly << qp(p);
    m_painter->setBrush(noBrush());
    if (const QPen& gaps = gapPenFor(pen, bk); gaps.style() != Qt::NoPen) {
        m_painter->setPen(gaps);
        m_painter->drawPolyline(poly);
    }
    m_painter->setPen(penFor(pen));
    m_painter->drawPolyline(poly);
}

void PainterSurface::strokeAndFill(const QPainterPath& path, const Pen& pen, const Brush& brush,
                                   const Background& bk)
{
    if (brush.style != BrushStyle::Null) m_painter->fillPath(path, brushFor(brush, bk));
    if (pen.style == PenStyle::Null) return;
    m_painter->setBrush(noBrush());
    if (const QPen& gaps = gapPenFor(pen, bk); gaps.style() != Qt::NoPen) {
        m_painter->setPen(gaps);
        m_painter->drawPath(path);
    }
    m_painter->setPen(penFor(pen));
    // A solid pen's stroke only where it can show (a broken pen's pattern runs along the whole path).
    if (!isBroken(pen) && m_pixelTarget) {
        const QRectF v = curveVisibleRect(pen);
        const double m = pen.width + 2.0;
        const QPainterPath part = strokedPart(path, v.adjusted(-m, -m, m, m));
        m_painter->drawPath(part);
        return;
    }
    m_painter->drawPath(path);
}

void PainterSurface::polygon(std::span<const DevicePoint> points, FillRule rule, const Pen& pen, const Brush& brush,
                             const Background& bk)
{
    flush();
    if (points.size() < 2) return;
    if (brush.style != BrushStyle::Null && points.size() > 2) {
        // Whole-pixel corners straight to Qt's polygon fill: the pixels of the same path's
        // fill, without building the path.
        m_polygon.clear();
        for (const DevicePoint& p : points) m_polygon.emplace_back(p.x, p.y);
        m_painter->setPen(noPen());
        m_painter->setBrush(brushFor(brush, bk));
        m_painter->drawPolygon(m_polygon.data(), int(m_polygon.size()),
                               rule == FillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    }
    if (isThinSolid(pen)) {
        thinSegments(points, true, pen);
        return;
    }
    strokeAndFill(polygonPath(points, rule), pen, Brush::null(), bk);
}

void PainterSurface::rectangle(const DeviceRect& r, const Pen& pen, const Brush& brush, const Background& bk)
{
    flush();
    const DeviceRect n = r.normalized();
    if (n.width() <= 0 || n.height() <= 0) return;
    if (n.width() == 1 || n.height() == 1) {
        // Nothing inside: only the outline's single row or column shows.
        if (pen.style != PenStyle::Null) m_painter->fillRect(QRect(n.left, n.top, n.width(), n.height()), toQColor(pen.color));
        return;
    }
    // The fill covers left..right-2 (what shows with no pen); the 1-pixel outline runs on
    // left..right-1, so right and bottom stay outside.
    if (brush.style != BrushStyle::Null)
        m_painter->fillRect(QRect(n.left, n.top, n.width() - 1, n.height() - 1), brushFor(brush, bk));
    if (pen.style == PenStyle::Null) return;
    if (isThinSolid(pen)) {
        const DevicePoint corners[] = {{n.left, n.top}, {n.right - 1, n.top}, {n.right - 1, n.bottom - 1},
                                       {n.left, n.bottom - 1}};
        thinSegments(corners, true, pen);
        return;
    }
    QPainterPath path;
    path.addRect(QRectF(n.left, n.top, n.width() - 1, n.height() - 1));
    strokeAndFill(path, pen, Brush::null(), bk);
}

void PainterSurface::ellipse(const DeviceRect& box, const Pen& pen, const Brush& brush, const Background& bk)
{
    flush();
    const QRectF e = outlineBox(box);
    if (std::max(e.width(), e.height()) > kLargeCurve) {
        strokeAndFill(largeCurvePath(e, 0, 360, ArcKind::Chord, curveVisibleRect(pen), true), pen, brush, bk);
        return;
    }
    QPainterPath path;
    path.addEllipse(e);
    strokeAndFill(path, pen, brush, bk);
}

void PainterSurface::arc(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                         const Background& bk)
{
    flush();
    strokeAndFill(curvePath(box, start, end, int(ArcKind::Open), pen), pen, Brush::null(), bk);
}

void PainterSurface::pie(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                         const Brush& brush, const Background& bk)
{
    flush();
    strokeAndFill(curvePath(box, start, end, int(ArcKind::Pie), pen), pen, brush, bk);
}

void PainterSurface::chord(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                           const Brush& brush, const Background& bk)
{
    flush();
    strokeAndFill(curvePath(box, start, end, int(ArcKind::Chord), pen), pen, brush, bk);
}

void PainterSurface::fillRect(const DeviceRect& r, const Brush& brush, const Background& bk)
{
    flush();
    const DeviceRect n = r.normalized();
    if (n.width() <= 0 || n.height() <= 0 || brush.style == BrushStyle::Null) return;
    m_painter->fillRect(QRect(n.left, n.top, n.width(), n.height()), brushFor(brush, bk));
}

void PainterSurface::focusRect(const DeviceRect& r)
{
    flush();
    const DeviceRect n = r.normalized();
    if (n.width() <= 0 || n.height() <= 0) return;
    // Every other pixel of the frame, each visited once, so that a second frame restores them.
    QList<QPoint> dots;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0) dots << QPoint(x, y);
    };
    // Only the pixels that can show: a frame dragged far past the device would list millions.
    QRect visible(0, 0, 0, 0);
    if (m_painter->device() != nullptr)
        visible = QRect(m_deviceArea.left, m_deviceArea.top, m_deviceArea.width(), m_deviceArea.height());
    if (m_painter->hasClipping()) visible &= m_painter->clipBoundingRect().toAlignedRect();
    if (visible.isEmpty()) return;
    const int right = n.right - 1, bottom = n.bottom - 1;
    for (int x = std::max(n.left, visible.left()); x <= std::min(right, visible.right()); ++x) {
        dot(x, n.top);
        if (bottom != n.top) dot(x, bottom);
    }
    for (int y = std::max(n.top + 1, visible.top()); y < bottom && y <= visible.bottom(); ++y) {
        dot(n.left, y);
        if (right != n.left) dot(right, y);
    }
    m_painter->save();
    m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setWidth(1);
    pen.setCosmetic(true);
    m_painter->setPen(pen);
    m_painter->drawPoints(dots.constData(), int(dots.size()));
    m_painter->restore();
}

void PainterSurface::setPixel(DevicePoint p, COLORREF color)
{
    flush();
    m_painter->fillRect(QRect(p.x, p.y, 1, 1), toQColor(color));
}

namespace {

// What decides a line picture's pixels about the whole-pixel reference point. The returned key
// lives until this thread's next call.
const std::string& textPictureKey(std::string_view utf8, const TextStyle& style, int top, int x)
{
    thread_local std::string key;
    key.clear();
    auto addInt = [](int64_t v) { key.append(reinterpret_cast<const char*>(&v), sizeof v); };
    const Font& f = style.font;
    for (const int64_t v : {int64_t(f.height), int64_t(f.width), int64_t(f.weight), int64_t(f.escapement),
                            int64_t(f.italic) | int64_t(f.underline) << 1 | int64_t(f.strikeOut) << 2,
                            int64_t(style.charExtra), int64_t(style.color), int64_t(x), int64_t(top),
                            int64_t(f.faceName.size())})
        addInt(v);
    key += f.faceName;
    key += utf8;
    return key;
}

// The glyphs of a line, the painter standing at the reference point and turned to the baseline;
// `x` and `top` place the line's cell.
void drawGlyphs(QPainter& painter, std::string_view utf8, const Font& logical, const ResolvedFont& rf,
                const QFont& font, int x, int top)
{
    painter.setFont(font);
    const int baseline = top + rf.metrics.ascent;
    if (!rf.vertical) {
        const LaidOutText line = laidOut(utf8, logical, font);
        painter.drawStaticText(QPointF(x, baseline - line.ascent), line.text);
        return;
    }
    // Upright characters stand in a square cell along the turned baseline; lying ones run along
    // it as in horizontal text.
    const QTransform base = painter.transform();
    double at = x;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // One character's bytes (a broken sequence is taken byte by byte, as the layout would).
        std::size_t n = 1;
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0) n = 4;
        else if (lead >= 0xE0) n = 3;
        else if (lead >= 0xC0) n = 2;
        n = std::min(n, utf8.size() - i);
        const std::string_view ch = utf8.substr(i, n);
        i += n;
        const LaidOutText glyph = laidOut(ch, logical, font);
        const double advance = glyph.advance;
        const QList<uint> code = qs(ch).toUcs4();
        const VerticalGlyph v = verticalGlyph(code.isEmpty() ? U'?' : char32_t(code.front()));
        if (v.upright) {
            QTransform t = base;
            t.translate(at + advance / 2, top + rf.metrics.height / 2.0);
            t.rotate(-90);
            painter.setTransform(t);
            const double glyphBaseline = rf.metrics.ascent - rf.metrics.height / 2.0 - v.shift * advance;
            painter.drawStaticText(QPointF(-advance / 2 + v.shift * advance, glyphBaseline - glyph.ascent),
                                   glyph.text);
            painter.setTransform(base);
        } else {
            painter.drawStaticText(QPointF(at, baseline - glyph.ascent), glyph.text);
        }
        at += advance;
    }
}

} // namespace

void PainterSurface::textOut(DevicePoint p, std::string_view utf8, const TextStyle& style)
{
    flush();
    const ResolvedFont rf = resolveFont(style.font);
    QFont font = rf.font;
    if (style.charExtra != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, style.charExtra);
    // Measuring shapes the text once more: only when the alignment or the background needs it.
    const bool measure = style.hAlign != TextHAlign::Left || style.background.opaque;
    const TextSize size = measure ? textExtent(utf8, style.font, style.charExtra) : TextSize{};
    const int x = style.hAlign == TextHAlign::Center ? -size.cx / 2 : style.hAlign == TextHAlign::Right ? -size.cx : 0;
    const int top = style.vAlign == TextVAlign::Top        ? 0
                    : style.vAlign == TextVAlign::Baseline ? -rf.metrics.ascent
                                                           : -rf.metrics.height;
    // A line kept as a picture is placed by the picture, with no measuring: a band of a zoomed
    // view passes over many lines that lie off it.
    if (m_textPictures && !style.background.opaque && m_painter->transform().type() <= QTransform::TxTranslate) {
        if (const PaintedText* kept = threadLinePictures().find(textPictureKey(utf8, style, top, x))) {
            if (!kept->image.isNull()) {
                const QRect at(QPoint(p.x, p.y) + kept->offset, kept->image.size());
                const std::optional<DeviceRect> v = visibleArea();
                if (!v || (at.right() >= v->left && at.left() < v->right && at.bottom() >= v->top && at.top() < v->bottom))
                    m_painter->drawImage(at.topLeft(), kept->image);
                return;
            }
        }
    }
    if (lineMissesView(p, utf8, style, font, rf, top, x)) return;
    if (style.background.opaque) {
        m_painter->save();
        m_painter->translate(p.x, p.y);
        m_painter->rotate(-style.font.escapement / 10.0);
        m_painter->fillRect(QRect(x, top, size.cx, rf.metrics.height), toQColor(style.background.color));
        m_painter->restore();
    }
    if (m_textPictures && drawTextPicture(p, utf8, style, font, top, x)) return;
    m_painter->save();
    m_painter->translate(p.x, p.y);
    m_painter->rotate(-style.font.escapement / 10.0);
    m_painter->setPen(textPen(style.color));
    drawGlyphs(*m_painter, utf8, style.font, rf, font, x, top);
    m_painter->restore();
}

bool PainterSurface::lineMissesView(DevicePoint p, std::string_view utf8, const TextStyle& style, const QFont& font,
                                    const ResolvedFont& rf, int top, int x) const
{
    // A text's box in the passes must hold any angle and alignment, so a strip or band of a zoomed
    // view takes in texts far off it; their lines are passed over here, by where they lie, before
    // anything is drawn or kept. Pictures in memory only: paper and files get every text.
    if (!m_pixelTarget || m_painter->transform().type() > QTransform::TxTranslate) return false;
    const std::optional<DeviceRect> v = visibleArea();
    if (!v) return false;
    // The ink about the reference point as the text pictures take it (a column of upright
    // characters included), the spacing counted on every byte.
    const double advance = laidOut(utf8, style.font, font).advance +
                           std::abs(double(style.charExtra)) * double(utf8.size());
    const double margin = rf.metrics.height + 2.0;
    const QRectF ink(x - margin, top - margin, advance + 2 * margin, rf.metrics.height + 2 * margin);
    QTransform turn;
    turn.rotate(-style.font.escapement / 10.0);
    const QRectF box = turn.mapRect(ink).translated(p.x, p.y);
    return !(box.right() >= v->left && box.left() < v->right && box.bottom() >= v->top && box.top() < v->bottom);
}

bool PainterSurface::drawTextPicture(DevicePoint p, std::string_view utf8, const TextStyle& style, const QFont& font,
                                     int top, int x)
{
    // The same labels come back at every redraw; laying their glyphs (shaping is cached already)
    // costs more than putting down a picture of them. Kept by everything that decides the pixels
    // about the whole-pixel reference point.
    if (m_painter->transform().type() > QTransform::TxTranslate) return false;
    const ResolvedFont rf = resolveFont(style.font);
    const Font& f = style.font;
    const std::string& key = textPictureKey(utf8, style, top, x);
    if (const PaintedText* kept = threadLinePictures().find(key)) {
        if (kept->image.isNull()) return false;  // too large to keep
        m_painter->drawImage(QPoint(p.x, p.y) + kept->offset, kept->image);
        return true;
    }
    // Where the glyphs' ink lies about the reference point (a column of upright characters: its
    // cells, widened on every side), turned as the text is, with a pixel to spare all round.
    QRectF ink;
    if (!rf.vertical) {
        const LaidOutText line = laidOut(utf8, f, font);
        ink = QFontMetricsF(font).boundingRect(qs(utf8)).translated(x, top + rf.metrics.ascent);
        ink |= QRectF(x, top, line.advance, rf.metrics.height);
    } else {
        const double advance = laidOut(utf8, f, font).advance + std::abs(double(style.charExtra)) * double(utf8.size());
        const double margin = rf.metrics.height + 2.0;
        ink = QRectF(x - margin, top - margin, advance + 2 * margin, rf.metrics.height + 2 * margin);
    }
    QTransform turn;
    turn.rotate(-f.escapement / 10.0);
    const QRect area = turn.mapRect(ink).toAlignedRect().adjusted(-2, -2, 2, 2);
    PaintedText painted;
    if (double(area.width()) * area.height() <= kMaxCachedTextArea) {
        painted.offset = area.topLeft();
        painted.image = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
        painted.image.fill(Qt::transparent);
        {
            QPainter picture(&painted.image);
            picture.setRenderHint(QPainter::Antialiasing, false);
            picture.translate(-area.left(), -area.top());
            picture.rotate(-f.escapement / 10.0);
            picture.setPen(toQColor(style.color));
            drawGlyphs(picture, utf8, f, rf, font, x, top);
        }
        keepInkOnly(painted);
    }
    threadLinePictures().add(key, painted);
    if (painted.image.isNull()) return false;
    m_painter->drawImage(QPoint(p.x, p.y) + painted.offset, painted.image);
    return true;
}

TextSize PainterSurface::textExtent(std::string_view utf8, const Font& font, int charExtra)
{
    const ResolvedFont rf = resolveFont(font);
    long long characters = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    // In 64 bits: a damaged spacing times a long text must not wrap.
    const long long width = laidOut(utf8, font, rf.font).pixelAdvance + characters * static_cast<long long>(charExtra);
    return {int(std::clamp<long long>(width, 0, std::numeric_limits<int>::max())), rf.metrics.height};
}

TextMetrics PainterSurface::textMetrics(const Font& font)
{
    return resolveFont(font).metrics;
}

void PainterSurface::fillLinearGradient(const FillShape& shape, const LinearGradient& g)
{
    flush();
    const QPainterPath path = shapePath(shape);
    if (path.isEmpty()) return;
    const uint8_t alpha = alphaOf(g.opacity);
    if (g.from == g.to) {
        // One colour (a translucent fill is drawn so): no colour ramp to look up pixel by pixel.
        m_painter->fillPath(path, toQColor(g.from, alpha));
        return;
    }
    // The gradient runs between the box corners that come first and last along its direction.
    const QRectF box = fillBox(g.box);
    const double a = g.angleDegrees * kPi / 180;
    const QPointF dir(std::cos(a), std::sin(a));
    const double half = (std::abs(box.width() * dir.x()) + std::abs(box.height() * dir.y())) / 2;
    const QPointF c = box.center();
    QLinearGradient grad(c - dir * half, c + dir * half);
    if (half < 1e-9) grad.setFinalStop(c + dir);
    grad.setColorAt(0, toQColor(g.from, alpha));
    grad.setColorAt(1, toQColor(g.to, alpha));
    grad.setSpread(QGradient::RepeatSpread);
    m_painter->fillPath(path, QBrush(grad));
}

void PainterSurface::fillPathGradient(const FillShape& shape, const PathGradient& g)
{
    flush();
    const QPainterPath path = shapePath(shape);
    if (path.isEmpty()) return;
    const uint8_t alpha = alphaOf(g.opacity);
    if (g.ellipse) {
        const QRectF box = fillBox(g.ellipseBox);
        if (box.width() <= 0 || box.height() <= 0) return;
        QRadialGradient grad(QPointF(0, 0), 1.0);
        grad.setStops(radialStops(g, alpha));
        QBrush brush(grad);
        brush.setTransform(QTransform::fromTranslate(box.center().x(), box.center().y())
                               .scale(box.width() / 2, box.height() / 2));
        m_painter->fillPath(path, brush);
        return;
    }
    if (g.boundary.size() < 3) return;
    // No path gradient in Qt: every fan triangle from the centre to one edge is a linear gradient
    // from the centre to the edge's line. The fan is laid opaque into a layer so that overlapping
    // triangles replace each other, and the layer is then put down once with the opacity.
    QPointF centre(0, 0);
    QPolygonF boundary;
    for (const DevicePoint& p : g.boundary) {
        boundary << QPointF(p.x, p.y);
        centre += QPointF(p.x, p.y);
    }
    centre /= double(boundary.size());
    // Only what can show: a room zoomed far in reaches well past the device, and a layer of its
    // whole size would not fit in memory.
    QRect visible = boundary.boundingRect().toAlignedRect() & path.boundingRect().toAlignedRect();
    if (m_painter->device() != nullptr)
        visible &= QRect(m_deviceArea.left, m_deviceArea.top, m_deviceArea.width(), m_deviceArea.height());
    if (m_painter->hasClipping()) visible &= m_painter->clipBoundingRect().toAlignedRect();
    const QRect bounds = visible.adjusted(-1, -1, 1, 1);
    if (visible.isEmpty()) return;
    QImage layer(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing, false);
        lp.setCompositionMode(QPainter::CompositionMode_Source);
        lp.translate(-bounds.topLeft());
        lp.setPen(Qt::NoPen);
        const QGradientStops stops = radialStops(g, 255);
        for (qsizetype i = 0; i < boundary.size(); ++i) {
            const QPointF p = boundary[i], q = boundary[(i + 1) % boundary.size()];
            const QPointF e = q - p;
            const double len2 = QPointF::dotProduct(e, e);
            if (len2 <= 0) continue;
            const QPointF foot = p + e * (QPointF::dotProduct(centre - p, e) / len2);
            if (QLineF(centre, foot).length() < 1e-9) continue;
            QLinearGradient grad(centre, foot);
            grad.setStops(stops);
            lp.setBrush(grad);
            lp.drawPolygon(QPolygonF{centre, p, q});
        }
    }
    m_painter->save();
    m_painter->setClipPath(path, Qt::IntersectClip);
    m_painter->setOpacity(alpha / 255.0);
    m_painter->drawImage(bounds.topLeft(), layer);
    m_painter->restore();
}

DeviceRectF PainterSurface::textPathBounds(const TextPath& text)
{
    return textOutlineBounds(text);
}

namespace {

// A decorated text's outline and the area of its stroke, about its anchor. Stroking glyph curves
// with a wide round-joined pen is the costly part of drawing one, and a redraw strokes the same
// texts again.
struct StrokedText {
    QPainterPath outline;
    QPainterPath stroke;
    std::string key;  // what decides both paths
};

StrokedText strokedText(const TextPath& text)
{
    thread_local ThreadTextCache<std::unordered_map<std::string, StrokedText>> strokes;
    std::unordered_map<std::string, StrokedText>& cache = strokes.get();
    const double penWidth = text.penWidth < 0 ? 1.0 : text.penWidth;
    std::string key = text.text;
    auto add = [&key](double v) {
        const auto q = static_cast<int64_t>(std::llround(v * 64));
        key.append(reinterpret_cast<const char*>(&q), sizeof q);
    };
    add(text.font.height);
    add(text.font.width);
    add(text.font.weight);
    add(int(text.font.italic) | int(text.font.underline) << 1 | int(text.font.strikeOut) << 2);
    add(text.stroke ? penWidth : -1);
    if (text.warp)
        for (const DevicePointF& p : *text.warp) {
            add(p.x - text.anchor.x);
            add(p.y - text.anchor.y);
        }
    key += text.font.faceName;
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    TextPath atOrigin = text;
    atOrigin.anchor = {0, 0};
    if (atOrigin.warp)
        for (DevicePointF& p : *atOrigin.warp) p = {p.x - text.anchor.x, p.y - text.anchor.y};
    StrokedText entry;
    entry.key = key;
    entry.outline = drawnTextOutline(atOrigin);
    if (text.stroke && !entry.outline.isEmpty()) {
        QPainterPathStroker stroker;
        stroker.setWidth(penWidth);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCapStyle(Qt::SquareCap);
        entry.stroke = stroker.createStroke(entry.outline);
    }
    if (cache.size() >= 2000) cache.clear();
    return cache.emplace(key, entry).first->second;
}

} // namespace


void PainterSurface::drawTextPath(const TextPath& text)
{
    flush();
    const StrokedText drawn = strokedText(text);
    if (drawn.outline.isEmpty()) return;
    const uint8_t alpha = alphaOf(text.opacity);
    const QColor outline = toQColor(text.outlineColor, alpha), fill = toQColor(text.fillColor, alpha);
    auto paint = [&](QPainter& p) {
        if (text.stroke) p.fillPath(drawn.stroke, outline);
        if (text.fill) p.fillPath(drawn.outline, fill);
    };

    const QRectF bounds = text.stroke ? drawn.stroke.boundingRect() | drawn.outline.boundingRect()
                                      : drawn.outline.boundingRect();
    const bool cacheable = m_painter->transform().type() <= QTransform::TxTranslate &&
                           bounds.width() * bounds.height() <= kMaxCachedTextArea;
    if (!cacheable) {
        m_painter->save();
        m_painter->setRenderHint(QPainter::Antialiasing, true);
        m_painter->translate(text.anchor.x, text.anchor.y);
        paint(*m_painter);
        m_painter->restore();
        return;
    }

    const QPointF whole(std::floor(text.anchor.x), std::floor(text.anchor.y));
    const QPointF fraction = QPointF(text.anchor.x, text.anchor.y) - whole;
    std::string key = drawn.key;
    for (const double v : {double(text.outlineColor), double(text.fillColor), double(alpha), double(text.fill),
                           fraction.x(), fraction.y()}) {
        const auto q = static_cast<int64_t>(std::llround(v * 64));
        key.append(reinterpret_cast<const char*>(&q), sizeof q);
    }
    PaintedText painted = decoratedPictures().find(key).value_or(PaintedText{});
    if (painted.image.isNull()) {
        const QRect area = bounds.translated(fraction).toAlignedRect().adjusted(-1, -1, 1, 1);
        painted.offset = area.topLeft();
        painted.image = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
        painted.image.fill(Qt::transparent);
        {
            QPainter p(&painted.image);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.translate(fraction - QPointF(area.topLeft()));
            paint(p);
        }
        decoratedPictures().add(key, painted);
    }
    m_painter->drawImage(whole.toPoint() + painted.offset, painted.image);
}

void PainterSurface::drawImage(const QImage& image, DevicePointF topLeft, DevicePointF topRight,
                               DevicePointF bottomLeft, const QRectF& source, double opacity)
{
    flush();
    if (image.isNull()) return;
    const QRectF src = source.isEmpty() ? QRectF(image.rect()) : source;
    if (src.width() <= 0 || src.height() <= 0) return;
    const double m11 = (topRight.x - topLeft.x) / src.width(), m12 = (topRight.y - topLeft.y) / src.width();
    const double m21 = (bottomLeft.x - topLeft.x) / src.height(), m22 = (bottomLeft.y - topLeft.y) / src.height();
    const QTransform t(m11, m12, m21, m22, topLeft.x - src.x() * m11 - src.y() * m21,
                       topLeft.y - src.x() * m12 - src.y() * m22);
    m_painter->save();
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter->setOpacity(std::clamp(opacity, 0.0, 1.0));
    m_painter->setTransform(t, true);
    m_painter->drawImage(src, image, src);
    m_painter->restore();
}

void PainterSurface::setClipRect(const DeviceRect& r)
{
    flush();
    const DeviceRect n = r.normalized();
    m_painter->setClipRect(QRect(n.left, n.top, n.width(), n.height()));
    m_clipKnown = false;
}

void PainterSurface::clearClip()
{
    flush();
    m_painter->setClipping(false);
    m_clipKnown = false;
}

std::optional<DeviceRect> PainterSurface::visibleArea() const
{
    std::optional<DeviceRect> area = Surface::visibleArea();
    if (!m_painter->hasClipping()) return area;
    const QRect c = m_painter->clipBoundingRect().toAlignedRect();
    const DeviceRect clip{c.left(), c.top(), c.left() + c.width(), c.top() + c.height()};
    if (!area) return clip;
    return DeviceRect{std::max(area->left, clip.left), std::max(area->top, clip.top),
                      std::min(area->right, clip.right), std::min(area->bottom, clip.bottom)};
}

} // namespace kov::platform
