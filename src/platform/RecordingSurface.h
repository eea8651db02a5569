#pragma once

// A surface that paints nothing and records every call, so that drawers can be checked against a
// table of expected calls. Real-valued coordinates are rounded to whole device pixels.
//
// Fake font metrics, the same on every machine: with e = |height| (16 when the height is 0, at
// most 32767), every half-width character (ASCII and half-width katakana, one byte in CP932) is
// e/2 pixels wide and every other character e pixels; the cell is e high, the descent e/8, the
// ascent the rest, the internal leading 0. Extents add charExtra after every character. An
// outline text in a vertical ("@") face stacks its lines in em-wide columns from the anchor
// rightwards, as the drawn outline does.

#include "platform/Surface.h"

#include <string>
#include <vector>

namespace kov::platform {

struct RecordedCall {
    std::string op;                   // the surface function: "line", "rectangle", "textOut", ...
    std::vector<DevicePoint> points;  // in the order the call takes them
    DeviceRect rect;                  // box, rectangle or clip
    Pen pen;
    Brush brush;
    Background background;
    std::string text;                 // textOut, drawTextPath
    Font font;
    std::string dump;                 // one readable line, see RecordingSurface::dump()
};

class RecordingSurface final : public Surface {
public:
    RecordingSurface() = default;
    explicit RecordingSurface(const DeviceProperties& props) : m_props(props) {}

    const std::vector<RecordedCall>& calls() const { return m_calls; }
    // One line per call, e.g. "rectangle [0,0,10,5] pen=solid:1:0x0000FF brush=null".
    std::vector<std::string> dump() const;
    void clear() { m_calls.clear(); }

    static int fakeCharWidth(char32_t ch, const Font& font);

    DeviceProperties device() const override { return m_props; }

    void line(DevicePoint from, DevicePoint to, const Pen& pen, const Background& bk = {}) override;
    void polyline(std::span<const DevicePoint> points, const Pen& pen, const Background& bk = {}) override;
    void polygon(std::span<const DevicePoint> points, FillRule rule, const Pen& pen, const Brush& brush,
                 const Background& bk = {}) override;
    void rectangle(const DeviceRect& r, const Pen& pen, const Brush& brush, const Background& bk = {}) override;
    void ellipse(const DeviceRect& box, const Pen& pen, const Brush& brush, const Background& bk = {}) override;
    void arc(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
             const Background& bk = {}) override;
    void pie(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen, const Brush& brush,
             const Background& bk = {}) override;
    void chord(const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen, const Brush& brush,
               const Background& bk = {}) override;
    void fillRect(const DeviceRect& r, const Brush& brush, const Background& bk = {}) override;
    void focusRect(const DeviceRect& r) override;
    void setPixel(DevicePoint p, COLORREF color) override;

    void textOut(DevicePoint p, std::string_view utf8, const TextStyle& style) override;
    TextSize textExtent(std::string_view utf8, const Font& font, int charExtra = 0) override;
    TextMetrics textMetrics(const Font& font) override;

    void fillLinearGradient(const FillShape& shape, const LinearGradient& gradient) override;
    void fillPathGradient(const FillShape& shape, const PathGradient& gradient) override;

    DeviceRectF textPathBounds(const TextPath& text) override;
    void drawTextPath(const TextPath& text) override;

    void drawImage(const QImage& image, DevicePointF topLeft, DevicePointF topRight, DevicePointF bottomLeft,
                   const QRectF& source = {}, double opacity = 1.0) override;

    void setClipRect(const DeviceRect& r) override;
    void clearClip() override;
    std::optional<DeviceRect> visibleArea() const override;

private:
    RecordedCall& record(std::string op);
    // arc (no brush), pie and chord.
    void recordArc(std::string op, const DeviceRect& box, DevicePoint start, DevicePoint end, const Pen& pen,
                   const Brush* brush, const Background& bk);

    DeviceProperties m_props;
    std::vector<RecordedCall> m_calls;
    std::optional<DeviceRect> m_clip;
};

} // namespace kov::platform
