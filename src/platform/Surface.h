#pragma once

// The drawing surface: what the drawers paint on, in device pixels, with the meanings of the
// Windows drawing calls (rectangles without their right and bottom edge, arcs from radial points,
// 1-pixel dash patterns, hatch brushes fixed to the device origin). Every call takes its pen,
// brush, font and background as values; nothing stays selected between calls except the clip.

#include "platform/Color.h"

#include <QImage>
#include <QRectF>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {

struct DevicePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

struct DevicePointF {
    double x = 0;
    double y = 0;
    friend bool operator==(const DevicePointF&, const DevicePointF&) = default;
};

// A Windows RECT: left and top inside, right and bottom just outside.
struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // Corners given in any order, as the drawing calls accept them.
    DeviceRect normalized() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    friend bool operator==(const DeviceRect&, const DeviceRect&) = default;
};

struct DeviceRectF {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

struct TextSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TextSize&, const TextSize&) = default;
};

// Numbered as the Windows pen styles (PS_SOLID .. PS_NULL).
enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };

// Width 0 or 1 is the 1-pixel pen: broken styles keep their pixel pattern and a line leaves out
// its last pixel. Wider pens are solid whatever the style and have round ends and joins.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    COLORREF color = 0;
};

enum class BrushStyle { Null, Solid, Hatch, Pattern };

// The six Windows hatch styles, numbered as stored.
enum class HatchStyle { Horizontal = 0, Vertical = 1, ForwardDiagonal = 2, BackwardDiagonal = 3, Cross = 4,
                        DiagonalCross = 5 };

// Hatch and pattern brushes are tiled from device (0, 0) whatever is drawn where.
struct Brush {
    BrushStyle style = BrushStyle::Null;
    COLORREF color = 0;
    HatchStyle hatch = HatchStyle::Horizontal;
    QImage pattern;       // BrushStyle::Pattern
    uint8_t alpha = 255;  // translucent solid fills

    static Brush null() { return {}; }
    static Brush solid(COLORREF c, uint8_t alpha = 255)
    {
        Brush b;
        b.style = BrushStyle::Solid;
        b.color = c;
        b.alpha = alpha;
        return b;
    }
    static Brush hatched(HatchStyle h, COLORREF c)
    {
        Brush b;
        b.style = BrushStyle::Hatch;
        b.hatch = h;
        b.color = c;
        return b;
    }
    static Brush patterned(QImage image)
    {
        Brush b;
        b.style = BrushStyle::Pattern;
        b.pattern = std::move(image);
        return b;
    }
};

// The fields of a Windows logical font. Heights are device pixels: negative is the character
// (em) height, positive the cell height (ascent + descent), 0 a default size. Angles are tenths of
// a degree counter-clockwise on the screen.
struct Font {
    std::string faceName;  // UTF-8; a leading "@" asks for vertical writing
    int32_t height = 0;
    int32_t width = 0;     // average character width; 0 keeps the face's proportions
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 1;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
};

// Font heights and widths beyond this come only from damaged records; fonts are measured and drawn
// clamped to it, so that sums of extents do not overflow and no glyph takes gigabytes.
inline constexpr int kMaxFontHeight = 32767;

struct TextMetrics {
    int height = 0;           // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;  // height minus the em size
    int aveCharWidth = 0;
};

// Opaque mode fills the gaps of broken pens and hatch brushes and the cell behind text.
struct Background {
    bool opaque = false;
    COLORREF color = 0xFFFFFF;
    static Background transparent() { return {}; }
    static Background opaqueColor(COLORREF c) { return {true, c}; }
};

enum class FillRule { Alternate, Winding };

enum class TextHAlign { Left, Center, Right };
enum class TextVAlign { Top, Baseline, Bottom };

struct TextStyle {
    Font font;
    COLORREF color = 0;
    TextHAlign hAlign = TextHAlign::Left;
    TextVAlign vAlign = TextVAlign::Top;
    int charExtra = 0;  // extra pixels after every character
    Background background;
};

// The area a gradient fills.
struct FillShape {
    enum class Kind { Polygon, Ellipse, Pie };
    Kind kind = Kind::Polygon;
    std::vector<DevicePoint> points;  // Polygon
    FillRule rule = FillRule::Winding;
    DeviceRect box;                   // Ellipse, Pie: as for ellipse() and pie()
    DevicePoint start;                // Pie
    DevicePoint end;

    static FillShape polygon(std::vector<DevicePoint> pts, FillRule rule = FillRule::Winding)
    {
        FillShape s;
        s.points = std::move(pts);
        s.rule = rule;
        return s;
    }
    static FillShape rect(const DeviceRect& r)
    {
        return polygon({{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
    }
    static FillShape ellipse(const DeviceRect& box)
    {
        FillShape s;
        s.kind = Kind::Ellipse;
        s.box = box;
        return s;
    }
    static FillShape pie(const DeviceRect& box, DevicePoint start, DevicePoint end)
    {
        FillShape s;
        s.kind = Kind::Pie;
        s.box = box;
        s.start = start;
        s.end = end;
        return s;
    }
};

// From `from` to `to` across `box` in the direction `angleDegrees` (clockwise on the screen from
// the x axis), repeating beyond the box.
struct LinearGradient {
    DeviceRect box;
    COLORREF from = 0;
    COLORREF to = 0xFFFFFF;
    double angleDegrees = 0;
    double opacity = 1.0;
};

// Position 0 is the boundary, 1 the centre.
struct GradientStop {
    double position = 0;
    COLORREF color = 0;
};

// From the surround colour on a boundary (a polygon, or the ellipse of a box) to the centre
// colour at its centre. The blend, when given, replaces the two colours. A focus scale above 0
// keeps the centre colour over that share of the shape around the centre.
struct PathGradient {
    bool ellipse = false;
    std::vector<DevicePoint> boundary;  // polygon boundary; its centre is the points' mean
    DeviceRect ellipseBox;
    COLORREF centerColor = 0xFFFFFF;
    COLORREF surroundColor = 0;
    std::vector<GradientStop> blend;
    double focusScale = 0;
    double opacity = 1.0;
};

// An outline text: its glyph outlines, optionally mapped from their bounds (with the pen) onto
// a quadrilateral, stroked and then filled.
struct TextPath {
    DevicePointF anchor;  // top-left of the first line's cell
    std::string text;     // UTF-8; LF breaks lines
    Font font;            // em size |height|; a face with "@" stacks the characters downwards
    COLORREF fillColor = 0;
    COLORREF outlineColor = 0;
    double opacity = 1.0;
    double penWidth = 1.0;
    bool stroke = true;
    bool fill = true;
    // Upper-left, upper-right, lower-left, lower-right corners the bounds are warped onto.
    std::optional<std::array<DevicePointF, 4>> warp;
};

struct DeviceProperties {
    bool isPrinting = false;  // a printer page or its preview
    bool isOutput = false;    // drawing for paper or a picture file rather than the screen
    int dpiX = 96;
    int dpiY = 96;
    DeviceRect area;          // the drawable device pixels
};

class Surface {
public:
    virtual ~Surface() = default;

    virtual DeviceProperties device() const = 0;

    // From `from` up to, not including, `to` for 1-pixel pens.
    virtual void line(DevicePoint from, DevicePoint to, const Pen& pen, const Background& bk = {}) = 0;
    virtual void polyline(std::span<const DevicePoint> points, const Pen& pen, const Background& bk = {}) = 0;
    virtual void polygon(std::span<const DevicePoint> points, FillRule rule, const Pen& pen, const Brush& brush,
                         const Background& bk = {}) = 0;
    // The outline runs on left..right-1 and top..bottom-1.
    virtual void rectangle(const DeviceRect& r, const Pen& pen, const Brush& brush, const Background& bk = {}) = 0;
    virtual void ellipse(const DeviceRect& box, const Pen& pen, const Brush& brush, const Background& bk = {}) = 0;
    // Counter-clockwise on the screen from the radial through `start` to the radial through `end`;
    // equal radials give the whole ellipse.
    virtual void arc(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                     const Background& bk = {}) = 0;
    virtual void pie(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen, const Brush& brush,
                     const Background& bk = {}) = 0;
    virtual void chord(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen, const Brush& brush,
                       const Background& bk = {}) = 0;
    // Fills left..right-1 by top..bottom-1 without an outline.
    virtual void fillRect(const DeviceRect& r, const Brush& brush, const Background& bk = {}) = 0;
    // The dotted frame that inverts the pixels under it: drawn twice, it is gone.
    virtual void focusRect(const DeviceRect& r) = 0;
    virtual void setPixel(DevicePoint p, COLORREF color) = 0;

    // The font's escapement turns the text about the reference point.
    virtual void textOut(DevicePoint p, std::string_view utf8, const TextStyle& style) = 0;
    // Width including charExtra after every character; height the font's cell height.
    virtual TextSize textExtent(std::string_view utf8, const Font& font, int charExtra = 0) = 0;
    virtual TextMetrics textMetrics(const Font& font) = 0;

    virtual void fillLinearGradient(const FillShape& shape, const LinearGradient& gradient) = 0;
    virtual void fillPathGradient(const FillShape& shape, const PathGradient& gradient) = 0;

    // The bounds of the unwarped outline, widened by half the pen.
    virtual DeviceRectF textPathBounds(const TextPath& text) = 0;
    virtual void drawTextPath(const TextPath& text) = 0;

    // The image's source rectangle (all of it when empty) mapped onto the parallelogram with the
    // given top-left, top-right and bottom-left corners.
    virtual void drawImage(const QImage& image, DevicePointF topLeft, DevicePointF topRight, DevicePointF bottomLeft,
                           const QRectF& source = {}, double opacity = 1.0) = 0;

    virtual void setClipRect(const DeviceRect& r) = 0;
    virtual void clearClip() = 0;

    // The device pixels a call can still change: the area within the clip. Passes skip objects
    // whose box misses it. Empty when the surface has no bounds (a recording without an area).
    virtual std::optional<DeviceRect> visibleArea() const
    {
        const DeviceRect a = device().area;
        if (a.width() <= 0 || a.height() <= 0) return std::nullopt;
        return a;
    }
};

} // namespace kov::platform
