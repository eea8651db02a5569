#include "platform/EmfSurface.h"

#include "platform/PainterSurface.h"
#include "platform/TextOutline.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kov::platform {

namespace {

constexpr uint32_t kStockWhiteBrush = 0x80000000;
constexpr uint32_t kStockNullBrush = 0x80000005;
constexpr uint32_t kStockBlackPen = 0x80000007;
constexpr uint32_t kStockNullPen = 0x80000008;
constexpr uint32_t kStockSystemFont = 0x8000000D;
constexpr uint32_t kPenHandle = 1;
constexpr uint32_t kBrushHandle = 2;
constexpr uint32_t kFontHandle = 3;
constexpr uint32_t kHandleCount = 4;  // index 0 is reserved
constexpr int kFine = 16;             // logical units per pixel inside fine-coordinate blocks

// Little-endian record data.
struct Bytes {
    QByteArray b;
    void u8(uint8_t v) { b.append(static_cast<char>(v)); }
    void u16(uint16_t v)
    {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v)
    {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float f)
    {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        u32(u);
    }
    void point(DevicePoint p)
    {
        i32(p.x);
        i32(p.y);
    }
    void rect(int l, int t, int r, int bottom)
    {
        i32(l);
        i32(t);
        i32(r);
        i32(bottom);
    }
    void rect(const DeviceRect& r) { rect(r.left, r.top, r.right, r.bottom); }
    void pad4()
    {
        while (b.size() % 4) u8(0);
    }
    uint32_t size() const { return static_cast<uint32_t>(b.size()); }
};

// A whole number for a record field; a double beyond the 32-bit range (or none at all) has no int
// to convert to, so it is pinned to the range first.
int32_t pinned(double v)
{
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(std::clamp(v, double(INT32_MIN), double(INT32_MAX)));
}

QString fromUtf8(std::string_view s)
{
    return QString::fromUtf8(s);
}

uint32_t penStyleCode(const Pen& pen)
{
    // Wider broken pens draw solid, as they do on the screen.
    return pen.width <= 1 ? static_cast<uint32_t>(pen.style) : 0u;
}

// A 32-bit bottom-up DIB: BITMAPINFOHEADER and the pixel rows, for images and pattern brushes.
struct Dib {
    Bytes header;
    Bytes bits;
};

// A bitmap's size is a 32-bit field of its record; a picture beyond it cannot be written.
bool dibFits(const QSize& size)
{
    return uint64_t(std::max(0, size.width())) * uint64_t(std::max(0, size.height())) * 4 <= 0x7FFF0000u;
}

Dib makeDib(const QImage& source)
{
    QImage img(source.size(), QImage::Format_RGB32);
    img.fill(Qt::white);  // transparent parts land on white: a metafile bitmap has no alpha
    {
        QPainter p(&img);
        p.drawImage(0, 0, source);
    }
    Dib dib;
    Bytes& h = dib.header;
    h.u32(40);
    h.i32(img.width());
    h.i32(img.height());
    h.u16(1);
    h.u16(32);
    h.u32(0);  // BI_RGB
    const uint32_t bytes = static_cast<uint32_t>(uint64_t(img.width()) * uint64_t(img.height()) * 4);
    h.u32(bytes);
    h.i32(0);
    h.i32(0);
    h.u32(0);
    h.u32(0);
    dib.bits.b.reserve(bytes);
    for (int y = img.height() - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            dib.bits.u8(static_cast<uint8_t>(qBlue(row[x])));
            dib.bits.u8(static_cast<uint8_t>(qGreen(row[x])));
            dib.bits.u8(static_cast<uint8_t>(qRed(row[x])));
            dib.bits.u8(0);
        }
    }
    return dib;
}

// Keeps the part of a polygon on the side dot(p, dir) >= limit (or <= when `below`).
std::vector<DevicePointF> clipHalfPlane(const std::vector<DevicePointF>& poly, DevicePointF dir, double limit,
                                        bool below)
{
    std::vector<DevicePointF> out;
    if (poly.empty()) return out;
    auto value = [&](const DevicePointF& p) {
        double v = p.x * dir.x + p.y * dir.y - limit;
        return below ? -v : v;
    };
    for (size_t i = 0; i < poly.size(); ++i) {
        const DevicePointF& a = poly[i];
        const DevicePointF& b = poly[(i + 1) % poly.size()];
        double va = value(a);
        double vb = value(b);
        if (va >= 0) out.push_back(a);
        if ((va >= 0) != (vb >= 0)) {
            double t = va / (va - vb);
            out.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    }
    return out;
}

// The outline of a gradient's area as one polygon in device pixels.
std::vector<DevicePointF> shapeOutline(const FillShape& shape)
{
    std::vector<DevicePointF> out;
    if (shape.kind == FillShape::Kind::Polygon) {
        for (const DevicePoint& p : shape.points) out.push_back({double(p.x), double(p.y)});
        return out;
    }
    DeviceRect box = shape.box.normalized();
    double cx = (box.left + box.right) / 2.0;
    double cy = (box.top + box.bottom) / 2.0;
    double a = box.width() / 2.0;
    double b = box.height() / 2.0;
    const int steps = std::clamp(static_cast<int>(std::max(a, b)), 16, 128);
    double t0 = 0;
    double sweep = 2 * std::numbers::pi;
    if (shape.kind == FillShape::Kind::Pie) {
        auto parametric = [&](DevicePoint p) {
            double phi = std::atan2(-(p.y - cy), p.x - cx);
            return std::atan2(a * std::sin(phi), b * std::cos(phi));
        };
        t0 = parametric(shape.start);
        sweep = std::fmod(parametric(shape.end) - t0, 2 * std::numbers::pi);
        if (sweep <= 1e-9) sweep += 2 * std::numbers::pi;
        out.push_back({cx, cy});
    }
    int n = std::max(2, static_cast<int>(std::ceil(steps * sweep / (2 * std::numbers::pi))));
    for (int i = 0; i <= n; ++i) {
        double t = t0 + sweep * i / n;
        out.push_back({cx + a * std::cos(t), cy - b * std::sin(t)});
    }
    return out;
}

COLORREF mix(COLORREF from, COLORREF to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [&](int shift) {
        double a = (from >> shift) & 0xFF;
        double b = (to >> shift) & 0xFF;
        return static_cast<COLORREF>(std::lround(a + (b - a) * t)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

// Colour at a position of a path gradient (0 boundary, 1 centre).
COLORREF pathColor(const PathGradient& g, double s)
{
    std::vector<GradientStop> stops = g.blend;
    if (stops.empty()) stops = {{0.0, g.surroundColor}, {1.0, g.centerColor}};
    std::sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
    double squeeze = 1.0 - std::clamp(g.focusScale, 0.0, 1.0);
    double pos = squeeze > 0 ? std::min(1.0, s / squeeze) : 1.0;
    if (pos <= stops.front().position) return stops.front().color;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (pos <= stops[i].position) {
            double span = stops[i].position - stops[i - 1].position;
            double t = span > 0 ? (pos - stops[i - 1].position) / span : 1.0;
            return mix(stops[i - 1].color, stops[i].color, t);
        }
    }
    return stops.back().color;
}

int bandCount(double lengthPx)
{
    return std::clamp(pinned(std::ceil(lengthPx / 2.0)), 1, 64);
}

QStringList characters(const QString& text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out << text.mid(i, 2);
            ++i;
        } else {
            out << QString(text[i]);
        }
    }
    return out;
}

} // namespace

EmfSurface::EmfSurface(int width, int height, int dpiX, int dpiY)
{
    m_props.isPrinting = false;
    m_props.isOutput = true;
    m_props.dpiX = dpiX > 0 ? dpiX : 96;
    m_props.dpiY = dpiY > 0 ? dpiY : 96;
    m_props.area = {0, 0, std::max(0, width), std::max(0, height)};
    m_frame = {0, 0, static_cast<int>(std::lround(m_props.area.right * 2540.0 / m_props.dpiX)),
               static_cast<int>(std::lround(m_props.area.bottom * 2540.0 / m_props.dpiY))};
}

EmfSurface::~EmfSurface() = default;

void EmfSurface::setFrame(const DeviceRect& frame)
{
    m_frame = frame;
}

void EmfSurface::writeRecord(uint32_t type, const QByteArray& payload)
{
    if (m_finished) return;
    Bytes head;
    head.u32(type);
    uint32_t size = 8 + static_cast<uint32_t>(payload.size());
    size = (size + 3) & ~3u;
    head.u32(size);
    m_body += head.b;
    m_body += payload;
    while (m_body.size() % 4) m_body.append('\0');
    ++m_records;
}

void EmfSurface::writeRecordU32(uint32_t type, uint32_t value)
{
    Bytes b;
    b.u32(value);
    writeRecord(type, b.b);
}

void EmfSurface::include(double x, double y)
{
    if (m_boundsEmpty) {
        m_boundsLeft = m_boundsRight = x;
        m_boundsTop = m_boundsBottom = y;
        m_boundsEmpty = false;
        return;
    }
    m_boundsLeft = std::min(m_boundsLeft, x);
    m_boundsRight = std::max(m_boundsRight, x);
    m_boundsTop = std::min(m_boundsTop, y);
    m_boundsBottom = std::max(m_boundsBottom, y);
}

void EmfSurface::includeRect(const DeviceRect& r, int margin)
{
    DeviceRect n = r.normalized();
    include(n.left - margin, n.top - margin);
    include(n.right + margin, n.bottom + margin);
}

void EmfSurface::setBackground(const Background& bk)
{
    int mode = bk.opaque ? 2 : 1;
    if (mode != m_dc.bkMode) {
        writeRecordU32(EMR_SETBKMODE, static_cast<uint32_t>(mode));
        m_dc.bkMode = mode;
    }
    if (bk.opaque && bk.color != m_dc.bkColor) {
        writeRecordU32(EMR_SETBKCOLOR, bk.color);
        m_dc.bkColor = bk.color;
    }
}

void EmfSurface::setPolyFillMode(FillRule rule)
{
    int mode = rule == FillRule::Winding ? 2 : 1;
    if (mode != m_dc.polyFillMode) {
        writeRecordU32(EMR_SETPOLYFILLMODE, static_cast<uint32_t>(mode));
        m_dc.polyFillMode = mode;
    }
}

void EmfSurface::selectPen(const Pen& pen)
{
    if (pen.style == PenStyle::Null) {
        writeRecordU32(EMR_SELECTOBJECT, kStockNullPen);
        return;
    }
    Bytes b;
    b.u32(kPenHandle);
    b.u32(penStyleCode(pen));
    b.i32(std::max(1, pen.width));
    b.i32(0);
    b.u32(pen.color);
    writeRecord(EMR_CREATEPEN, b.b);
    writeRecordU32(EMR_SELECTOBJECT, kPenHandle);
    m_penMade = true;
}

void EmfSurface::selectBrush(const Brush& brush)
{
    if (brush.style == BrushStyle::Null ||
        (brush.style == BrushStyle::Pattern && (brush.pattern.isNull() || !dibFits(brush.pattern.size())))) {
        writeRecordU32(EMR_SELECTOBJECT, kStockNullBrush);
        return;
    }
    if (brush.style == BrushStyle::Pattern) {
        Dib dib = makeDib(brush.pattern);
        Bytes b;
        const uint32_t offBmi = 8 + 24;
        b.u32(kBrushHandle);
        b.u32(0);  // DIB_RGB_COLORS
        b.u32(offBmi);
        b.u32(dib.header.size());
        b.u32(offBmi + dib.header.size());
        b.u32(dib.bits.size());
        b.b += dib.header.b;
        b.b += dib.bits.b;
        writeRecord(EMR_CREATEDIBPATTERNBRUSHPT, b.b);
    } else {
        Bytes b;
        b.u32(kBrushHandle);
        b.u32(brush.style == BrushStyle::Hatch ? 2u : 0u);  // BS_HATCHED, BS_SOLID
        b.u32(brush.color);
        b.u32(brush.style == BrushStyle::Hatch ? static_cast<uint32_t>(brush.hatch) : 0u);
        writeRecord(EMR_CREATEBRUSHINDIRECT, b.b);
    }
    writeRecordU32(EMR_SELECTOBJECT, kBrushHandle);
    m_brushMade = true;
}

void EmfSurface::releaseObjects()
{
    if (m_penMade) {
        writeRecordU32(EMR_SELECTOBJECT, kStockBlackPen);
        writeRecordU32(EMR_DELETEOBJECT, kPenHandle);
        m_penMade = false;
    }
    if (m_brushMade) {
        writeRecordU32(EMR_SELECTOBJECT, kStockWhiteBrush);
        writeRecordU32(EMR_DELETEOBJECT, kBrushHandle);
        m_brushMade = false;
    }
    if (m_fontMade) {
        writeRecordU32(EMR_SELECTOBJECT, kStockSystemFont);
        writeRecordU32(EMR_DELETEOBJECT, kFontHandle);
        m_fontMade = false;
    }
}

void EmfSurface::boxRecord(uint32_t type, const DeviceRect& box)
{
    Bytes b;
    b.rect(box);
    writeRecord(type, b.b);
}

void EmfSurface::arcRecord(uint32_t type, const DeviceRect& box, DevicePoint start, DevicePoint end)
{
    Bytes b;
    b.rect(box);
    b.point(start);
    b.point(end);
    writeRecord(type, b.b);
}

void EmfSurface::pointsRecord(uint32_t type, std::span<const DevicePoint> points, int margin, int unitsPerPixel)
{
    int l = points.front().x, r = l, t = points.front().y, bt = t;
    for (const DevicePoint& p : points) {
        l = std::min(l, p.x);
        r = std::max(r, p.x);
        t = std::min(t, p.y);
        bt = std::max(bt, p.y);
    }
    // Record bounds are device pixels whatever the mapping.
    auto px = [&](int v, bool up) {
        return static_cast<int>(up ? std::ceil(double(v) / unitsPerPixel) : std::floor(double(v) / unitsPerPixel));
    };
    Bytes b;
    b.rect(px(l, false) - margin, px(t, false) - margin, px(r, true) + margin, px(bt, true) + margin);
    b.u32(static_cast<uint32_t>(points.size()));
    for (const DevicePoint& p : points) b.point(p);
    writeRecord(type, b.b);
}

void EmfSurface::line(DevicePoint from, DevicePoint to, const Pen& pen, const Background& bk)
{
    if (!open() || pen.style == PenStyle::Null) return;
    setBackground(bk);
    selectPen(pen);
    Bytes move;
    move.point(from);
    writeRecord(EMR_MOVETOEX, move.b);
    Bytes lineTo;
    lineTo.point(to);
    writeRecord(EMR_LINETO, lineTo.b);
    releaseObjects();
    int m = std::max(1, pen.width) / 2;
    includeRect({std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x), std::max(from.y, to.y)}, m);
}

void EmfSurface::polyline(std::span<const DevicePoint> points, const Pen& pen, const Background& bk)
{
    if (!open() || points.size() < 2 || pen.style == PenStyle::Null) return;
    setBackground(bk);
    selectPen(pen);
    int m = std::max(1, pen.width) / 2;
    pointsRecord(EMR_POLYLINE, points, m);
    releaseObjects();
    for (const DevicePoint& p : points) includeRect({p.x, p.y, p.x, p.y}, m);
}

void EmfSurface::polygon(std::span<const DevicePoint> points, FillRule rule, const Pen& pen, const Brush& brush,
                         const Background& bk)
{
    if (!open() || points.size() < 2) return;
    setBackground(bk);
    setPolyFillMode(rule);
    selectPen(pen);
    selectBrush(brush);
    int m = std::max(1, pen.width) / 2;
    pointsRecord(EMR_POLYGON, points, m);
    releaseObjects();
    for (const DevicePoint& p : points) includeRect({p.x, p.y, p.x, p.y}, m);
}

void EmfSurface::rectangle(const DeviceRect& r, const Pen& pen, const Brush& brush, const Background& bk)
{
    if (!open()) return;
    setBackground(bk);
    selectPen(pen);
    selectBrush(brush);
    boxRecord(EMR_RECTANGLE, r);
    releaseObjects();
    includeRect(r, std::max(1, pen.width) / 2);
}

void EmfSurface::ellipse(const DeviceRect& box, const Pen& pen, const Brush& brush, const Background& bk)
{
    if (!open()) return;
    setBackground(bk);
    selectPen(pen);
    selectBrush(brush);
    boxRecord(EMR_ELLIPSE, box);
    releaseObjects();
    includeRect(box, std::max(1, pen.width) / 2);
}

void EmfSurface::arc(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen, const Background& bk)
{
    if (!open() || pen.style == PenStyle::Null) return;
    setBackground(bk);
    selectPen(pen);
    arcRecord(EMR_ARC, box, start, end);
    releaseObjects();
    includeRect(box, std::max(1, pen.width) / 2);
}

void EmfSurface::pie(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen, const Brush& brush,
                     const Background& bk)
{
    if (!open()) return;
    setBackground(bk);
    selectPen(pen);
    selectBrush(brush);
    arcRecord(EMR_PIE, box, start, end);
    releaseObjects();
    includeRect(box, std::max(1, pen.width) / 2);
}

void EmfSurface::chord(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen, const Brush& brush,
                       const Background& bk)
{
    if (!open()) return;
    setBackground(bk);
    selectPen(pen);
    selectBrush(brush);
    arcRecord(EMR_CHORD, box, start, end);
    releaseObjects();
    includeRect(box, std::max(1, pen.width) / 2);
}

void EmfSurface::fillRect(const DeviceRect& r, const Brush& brush, const Background& bk)
{
    DeviceRect n = r.normalized();
    if (!open() || brush.style == BrushStyle::Null || n.width() <= 0 || n.height() <= 0) return;
    setBackground(bk);
    selectPen(Pen{PenStyle::Null});
    selectBrush(brush);
    // Without an outline a rectangle fills one pixel less each way: widen it to cover the whole.
    boxRecord(EMR_RECTANGLE, {n.left, n.top, n.right + 1, n.bottom + 1});
    releaseObjects();
    includeRect({n.left, n.top, n.right - 1, n.bottom - 1});
}

void EmfSurface::focusRect(const DeviceRect&)
{
}

void EmfSurface::setPixel(DevicePoint p, COLORREF color)
{
    if (!open()) return;
    Bytes b;
    b.point(p);
    b.u32(color);
    writeRecord(EMR_SETPIXELV, b.b);
    includeRect({p.x, p.y, p.x, p.y});
}

Surface& EmfSurface::measurer()
{
    if (!m_measurer) {
        m_measureImage = QImage(1, 1, QImage::Format_RGB32);
        m_measureImage.setDotsPerMeterX(static_cast<int>(std::lround(m_props.dpiX / 0.0254)));
        m_measureImage.setDotsPerMeterY(static_cast<int>(std::lround(m_props.dpiY / 0.0254)));
        m_measurer = std::make_unique<PainterSurface>(m_measureImage);
    }
    return *m_measurer;
}

TextSize EmfSurface::textExtent(std::string_view utf8, const Font& font, int charExtra)
{
    return measurer().textExtent(utf8, font, charExtra);
}

TextMetrics EmfSurface::textMetrics(const Font& font)
{
    return measurer().textMetrics(font);
}

void EmfSurface::textOut(DevicePoint p, std::string_view utf8, const TextStyle& style)
{
    if (!open()) return;
    const QString text = fromUtf8(utf8);
    if (text.isEmpty()) return;

    // The logical font as drawn on Windows: the face keeps its Windows name.
    const Font& f = style.font;
    Bytes font;
    font.u32(kFontHandle);
    font.i32(f.height);
    font.i32(f.width);
    font.i32(f.escapement);
    font.i32(f.orientation);
    font.i32(f.weight);
    font.u8(f.italic ? 1 : 0);
    font.u8(f.underline ? 1 : 0);
    font.u8(f.strikeOut ? 1 : 0);
    font.u8(f.charSet);
    font.u8(f.outPrecision);
    font.u8(f.clipPrecision);
    font.u8(f.quality);
    font.u8(f.pitchAndFamily);
    std::u16string face = fromUtf8(f.faceName).left(31).toStdU16String();
    face.resize(32, u'\0');
    for (char16_t c : face) font.u16(c);
    writeRecord(EMR_EXTCREATEFONTINDIRECTW, font.b);
    writeRecordU32(EMR_SELECTOBJECT, kFontHandle);
    m_fontMade = true;

    if (style.color != m_dc.textColor) {
        writeRecordU32(EMR_SETTEXTCOLOR, style.color);
        m_dc.textColor = style.color;
    }
    uint32_t align = 0;
    if (style.hAlign == TextHAlign::Right) align |= 2;       // TA_RIGHT
    else if (style.hAlign == TextHAlign::Center) align |= 6; // TA_CENTER
    if (style.vAlign == TextVAlign::Bottom) align |= 8;      // TA_BOTTOM
    else if (style.vAlign == TextVAlign::Baseline) align |= 24; // TA_BASELINE
    if (align != m_dc.textAlign) {
        writeRecordU32(EMR_SETTEXTALIGN, align);
        m_dc.textAlign = align;
    }
    setBackground(style.background);

    // Advances per UTF-16 unit, the character spacing included, as Windows records them.
    std::vector<int32_t> dx;
    double total = 0;
    for (const QString& ch : characters(text)) {
        // Widened first: a damaged spacing must not wrap round.
        const auto w = static_cast<int32_t>(std::clamp<long long>(
            measurer().textExtent(ch.toStdString(), f, 0).cx + static_cast<long long>(style.charExtra), INT32_MIN,
            INT32_MAX));
        dx.push_back(w);
        if (ch.size() == 2) dx.push_back(0);
        total += w;
    }
    TextMetrics tm = textMetrics(f);

    // Bounds: the text box turned by the escapement about the reference point.
    double x0 = style.hAlign == TextHAlign::Center ? -total / 2.0 : style.hAlign == TextHAlign::Right ? -total : 0.0;
    double y0 = style.vAlign == TextVAlign::Top ? 0.0 : style.vAlign == TextVAlign::Bottom ? -tm.height : -tm.ascent;
    double angle = f.escapement / 10.0 * std::numbers::pi / 180.0;
    double c = std::cos(angle);
    double s = std::sin(angle);
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (auto [u, v] : {std::pair{x0, y0}, {x0 + total, y0}, {x0, y0 + tm.height}, {x0 + total, y0 + tm.height}}) {
        double x = p.x + u * c + v * s;
        double y = p.y - u * s + v * c;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    DeviceRect bounds{pinned(std::floor(minX)), pinned(std::floor(minY)), pinned(std::ceil(maxX)),
                      pinned(std::ceil(maxY))};

    const std::u16string units = text.toStdU16String();
    const uint32_t headerSize = 8 + 16 + 12 + 40;
    const uint32_t stringBytes = static_cast<uint32_t>(units.size() * 2);
    const uint32_t offDx = headerSize + ((stringBytes + 3) & ~3u);
    const double scaleX = 2540.0 / m_props.dpiX;
    const double scaleY = 2540.0 / m_props.dpiY;
    Bytes b;
    b.rect(bounds);
    b.u32(1);  // GM_COMPATIBLE
    b.f32(static_cast<float>(scaleX));
    b.f32(static_cast<float>(scaleY));
    b.point(p);
    b.u32(static_cast<uint32_t>(units.size()));
    b.u32(headerSize);
    b.u32(0);                // no clipping or opaquing rectangle
    b.rect(0, 0, -1, -1);
    b.u32(offDx);
    for (char16_t u : units) b.u16(u);
    b.pad4();
    for (int32_t w : dx) b.i32(w);
    writeRecord(EMR_EXTTEXTOUTW, b.b);
    releaseObjects();
    includeRect(bounds);
    m_hasText = true;
}

void EmfSurface::beginFine()
{
    m_savedDc = m_dc;
    writeRecord(EMR_SAVEDC, {});
    writeRecordU32(EMR_SETMAPMODE, 8);  // MM_ANISOTROPIC
    Bytes window;
    window.i32(kFine);
    window.i32(kFine);
    writeRecord(EMR_SETWINDOWEXTEX, window.b);
    Bytes viewport;
    viewport.i32(1);
    viewport.i32(1);
    writeRecord(EMR_SETVIEWPORTEXTEX, viewport.b);
}

void EmfSurface::endFine()
{
    releaseObjects();
    writeRecordU32(EMR_RESTOREDC, static_cast<uint32_t>(-1));
    m_dc = m_savedDc;
}

void EmfSurface::fillFine(const std::vector<DevicePointF>& polygon, COLORREF color)
{
    if (polygon.size() < 3) return;
    std::vector<DevicePoint> pts;
    pts.reserve(polygon.size());
    for (const DevicePointF& p : polygon) {
        pts.push_back({static_cast<int>(std::lround(p.x * kFine)), static_cast<int>(std::lround(p.y * kFine))});
        include(p.x, p.y);
    }
    selectBrush(Brush::solid(color));
    pointsRecord(EMR_POLYGON, pts, 0, kFine);
    releaseObjects();
}

void EmfSurface::fillLinearGradient(const FillShape& shape, const LinearGradient& gradient)
{
    std::vector<DevicePointF> outline = shapeOutline(shape);
    if (!open() || outline.size() < 3) return;
    DeviceRect box = gradient.box.normalized();
    double rad = gradient.angleDegrees * std::numbers::pi / 180.0;
    DevicePointF dir{std::cos(rad), std::sin(rad)};
    auto along = [&](double x, double y) { return x * dir.x + y * dir.y; };
    double lo = 1e300, hi = -1e300;
    for (auto [x, y] : {std::pair{box.left, box.top}, {box.right, box.top}, {box.left, box.bottom},
                        {box.right, box.bottom}}) {
        lo = std::min(lo, along(x, y));
        hi = std::max(hi, along(x, y));
    }
    if (hi - lo < 1e-9) hi = lo + 1;
    double shapeLo = 1e300, shapeHi = -1e300;
    for (const DevicePointF& p : outline) {
        shapeLo = std::min(shapeLo, along(p.x, p.y));
        shapeHi = std::max(shapeHi, along(p.x, p.y));
    }

    // Bands across the direction, each a solid slice of the shape; the ramp repeats outside the box.
    const double period = hi - lo;
    const int perPeriod = bandCount(period);
    // At most a few thousand bands, however small the box against the shape.
    const double step = std::max(period / perPeriod, (shapeHi - shapeLo) / 4096.0);
    double first = lo + std::floor((shapeLo - lo) / step) * step;
    setPolyFillMode(shape.rule);
    beginFine();
    selectPen(Pen{PenStyle::Null});
    auto colourAt = [&](double a) {
        double middle = std::fmod((a + step / 2 - lo) / period, 1.0);
        if (middle < 0) middle += 1.0;
        return mix(gradient.from, gradient.to, middle);
    };
    if (gradient.from == gradient.to) {
        fillFine(outline, gradient.from);  // one colour: one polygon
        endFine();
        return;
    }
    // Bands of one colour are merged, and each band reaches a step into the next, which is laid
    // over it: no hairline seams between bands in viewers that antialias polygon edges.
    for (double a = first; a < shapeHi;) {
        const COLORREF colour = colourAt(a);
        double end = a + step;
        while (end < shapeHi && colourAt(end) == colour) end += step;
        std::vector<DevicePointF> band = clipHalfPlane(outline, dir, a, false);
        band = clipHalfPlane(band, dir, end + step, true);
        fillFine(band, colour);
        a = end;
    }
    endFine();
}

void EmfSurface::fillPathGradient(const FillShape& shape, const PathGradient& gradient)
{
    std::vector<DevicePointF> outline = shapeOutline(shape);
    if (!open() || outline.size() < 3) return;
    setPolyFillMode(shape.rule);
    beginFine();
    selectPen(Pen{PenStyle::Null});
    if (gradient.blend.empty() && gradient.centerColor == gradient.surroundColor) {
        fillFine(outline, gradient.centerColor);  // one colour: one polygon
    } else if (gradient.ellipse) {
        // The shape shrunk towards the ellipse's centre, outside in, one colour per ring.
        DeviceRect box = gradient.ellipseBox.normalized();
        double cx = (box.left + box.right) / 2.0;
        double cy = (box.top + box.bottom) / 2.0;
        int n = bandCount(std::max(box.width(), box.height()) / 2.0);
        for (int k = 0; k < n; ++k) {
            double scale = 1.0 - double(k) / n;
            std::vector<DevicePointF> ring;
            for (const DevicePointF& p : outline) ring.push_back({cx + (p.x - cx) * scale, cy + (p.y - cy) * scale});
            fillFine(ring, pathColor(gradient, (k + 0.5) / n));
        }
    } else if (gradient.boundary.size() >= 3) {
        // Fan triangles from the centre, each cut into strips parallel to its boundary edge.
        const std::vector<DevicePoint>& pts = gradient.boundary;
        DevicePointF c{0, 0};
        for (const DevicePoint& p : pts) {
            c.x += p.x;
            c.y += p.y;
        }
        c.x /= double(pts.size());
        c.y /= double(pts.size());
        for (size_t i = 0; i < pts.size(); ++i) {
            DevicePointF a{double(pts[i].x), double(pts[i].y)};
            DevicePointF b{double(pts[(i + 1) % pts.size()].x), double(pts[(i + 1) % pts.size()].y)};
            double reach = std::max(std::hypot(a.x - c.x, a.y - c.y), std::hypot(b.x - c.x, b.y - c.y));
            int n = bandCount(reach);
            auto at = [&](const DevicePointF& p, double s) {
                return DevicePointF{p.x + (c.x - p.x) * s, p.y + (c.y - p.y) * s};
            };
            // Outside in, each strip reaching into the next one, which is laid over it.
            for (int k = 0; k < n; ++k) {
                double s0 = double(k) / n;
                double s1 = std::min(1.0, double(k + 2) / n);
                fillFine({at(a, s0), at(b, s0), at(b, s1), at(a, s1)}, pathColor(gradient, (2 * k + 1) / (2.0 * n)));
            }
        }
    }
    endFine();
}

DeviceRectF EmfSurface::textPathBounds(const TextPath& text)
{
    return textOutlineBounds(text);
}

void EmfSurface::polyPolygonRecord(const std::vector<std::vector<DevicePoint>>& polygons)
{
    int l = 0, t = 0, r = -1, bt = -1;
    uint32_t count = 0;
    bool first = true;
    for (const auto& poly : polygons) {
        for (const DevicePoint& p : poly) {
            if (first) {
                l = r = p.x;
                t = bt = p.y;
                first = false;
            }
            l = std::min(l, p.x);
            r = std::max(r, p.x);
            t = std::min(t, p.y);
            bt = std::max(bt, p.y);
        }
        count += static_cast<uint32_t>(poly.size());
    }
    Bytes b;
    b.rect(l / kFine - 1, t / kFine - 1, r / kFine + 1, bt / kFine + 1);  // device pixels
    b.u32(static_cast<uint32_t>(polygons.size()));
    b.u32(count);
    for (const auto& poly : polygons) b.u32(static_cast<uint32_t>(poly.size()));
    for (const auto& poly : polygons)
        for (const DevicePoint& p : poly) b.point(p);
    writeRecord(EMR_POLYPOLYGON, b.b);
}

void EmfSurface::drawTextPath(const TextPath& text)
{
    if (!open()) return;
    // Laid out and warped as the screen draws it, so the picture matches the view.
    std::vector<std::vector<DevicePoint>> polygons;
    for (const QPolygonF& poly : drawnTextOutline(text).toSubpathPolygons()) {
        std::vector<DevicePoint> pts;
        for (const QPointF& p : poly) {
            pts.push_back({static_cast<int>(std::lround(p.x() * kFine)), static_cast<int>(std::lround(p.y() * kFine))});
            include(p.x(), p.y());
        }
        if (pts.size() >= 3) polygons.push_back(std::move(pts));
    }
    if (polygons.empty()) return;

    setPolyFillMode(FillRule::Alternate);
    beginFine();
    if (text.stroke) {
        // A wide solid pen has round ends and joins, as the outline wants.
        selectPen(Pen{PenStyle::Solid,
                      std::max(2, static_cast<int>(std::lround((text.penWidth < 0 ? 1.0 : text.penWidth) * kFine))),
                      text.outlineColor});
        selectBrush(Brush::null());
        polyPolygonRecord(polygons);
        releaseObjects();
    }
    if (text.fill) {
        selectPen(Pen{PenStyle::Null});
        selectBrush(Brush::solid(text.fillColor));
        polyPolygonRecord(polygons);
        releaseObjects();
    }
    endFine();
    m_hasText = true;
}

void EmfSurface::drawImage(const QImage& image, DevicePointF topLeft, DevicePointF topRight, DevicePointF bottomLeft,
                           const QRectF& source, double)
{
    if (!open() || image.isNull()) return;
    QRect src = source.isEmpty() ? image.rect() : source.toAlignedRect().intersected(image.rect());
    if (src.isEmpty() || !dibFits(src.size())) return;
    Dib dib = makeDib(image.copy(src));
    auto rounded = [](DevicePointF p) {
        return DevicePoint{static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
    };
    DevicePoint tl = rounded(topLeft);
    DevicePoint tr = rounded(topRight);
    DevicePoint bl = rounded(bottomLeft);
    DevicePoint br{tr.x + bl.x - tl.x, tr.y + bl.y - tl.y};
    int l = std::min({tl.x, tr.x, bl.x, br.x});
    int t = std::min({tl.y, tr.y, bl.y, br.y});
    int r = std::max({tl.x, tr.x, bl.x, br.x});
    int bt = std::max({tl.y, tr.y, bl.y, br.y});

    Bytes b;
    b.rect(l, t, r - 1, bt - 1);
    if (tl.y == tr.y && tl.x == bl.x) {
        const uint32_t offBmi = 80;
        b.i32(tl.x);
        b.i32(tl.y);
        b.i32(0);
        b.i32(0);
        b.i32(src.width());
        b.i32(src.height());
        b.u32(offBmi);
        b.u32(dib.header.size());
        b.u32(offBmi + dib.header.size());
        b.u32(dib.bits.size());
        b.u32(0);           // DIB_RGB_COLORS
        b.u32(0x00CC0020);  // SRCCOPY
        b.i32(tr.x - tl.x);
        b.i32(bl.y - tl.y);
        b.b += dib.header.b;
        b.b += dib.bits.b;
        writeRecord(EMR_STRETCHDIBITS, b.b);
    } else {
        // Turned pictures: the parallelogram transfer of the three corners.
        const uint32_t offBmi = 140;
        b.point(tl);
        b.point(tr);
        b.point(bl);
        b.i32(0);
        b.i32(0);
        b.i32(src.width());
        b.i32(src.height());
        for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) b.f32(v);
        b.u32(0xFFFFFF);
        b.u32(0);
        b.u32(offBmi);
        b.u32(dib.header.size());
        b.u32(offBmi + dib.header.size());
        b.u32(dib.bits.size());
        for (int i = 0; i < 7; ++i) b.u32(0);  // no mask
        b.b += dib.header.b;
        b.b += dib.bits.b;
        writeRecord(EMR_PLGBLT, b.b);
    }
    include(l, t);
    include(r - 1, bt - 1);
}

void EmfSurface::setClipRect(const DeviceRect& r)
{
    if (!open()) return;
    clearClip();
    Bytes b;
    b.rect(r.normalized());
    writeRecord(EMR_INTERSECTCLIPRECT, b.b);
}

void EmfSurface::clearClip()
{
    if (!open()) return;
    Bytes b;
    b.u32(0);
    b.u32(5);  // RGN_COPY with no region: back to no clipping
    writeRecord(EMR_EXTSELECTCLIPRGN, b.b);
}

QByteArray EmfSurface::finish()
{
    if (m_finished) return {};
    Bytes eof;
    eof.u32(0);
    eof.u32(16);
    eof.u32(20);
    writeRecord(EMR_EOF, eof.b);
    m_finished = true;

    const uint32_t headerSize = 108;
    Bytes h;
    h.u32(EMR_HEADER);
    h.u32(headerSize);
    if (m_boundsEmpty) h.rect(0, 0, -1, -1);
    else
        h.rect(pinned(std::floor(m_boundsLeft)), pinned(std::floor(m_boundsTop)), pinned(std::ceil(m_boundsRight)),
               pinned(std::ceil(m_boundsBottom)));
    h.rect(m_frame);
    h.u32(0x464D4520);  // " EMF"
    h.u32(0x00010000);
    h.u32(headerSize + static_cast<uint32_t>(m_body.size()));
    h.u32(m_records + 1);
    h.u16(kHandleCount);
    h.u16(0);
    h.u32(0);  // no description
    h.u32(0);
    h.u32(0);  // no palette
    // The reference device: as many pixels as the picture, at the picture's resolution.
    int w = std::max(1, m_props.area.width());
    int ht = std::max(1, m_props.area.height());
    h.i32(w);
    h.i32(ht);
    h.i32(std::max(1, static_cast<int>(std::lround(w * 25.4 / m_props.dpiX))));
    h.i32(std::max(1, static_cast<int>(std::lround(ht * 25.4 / m_props.dpiY))));
    h.u32(0);  // no pixel format
    h.u32(0);
    h.u32(0);  // no OpenGL
    h.i32(static_cast<int>(std::lround(w * 25400.0 / m_props.dpiX)));
    h.i32(static_cast<int>(std::lround(ht * 25400.0 / m_props.dpiY)));
    return h.b + m_body;
}

} // namespace kov::platform
