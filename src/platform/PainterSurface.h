#pragma once

// The drawing surface over a QPainter: a QImage back buffer, a picture, a printer page. Shapes are
// drawn without antialiasing so that pixels land where the Windows drawing calls put them.

#include "platform/Surface.h"

#include <QPainter>

#include <QLineF>

#include <memory>
#include <utility>
#include <vector>

class QPaintDevice;

namespace kov::platform {
struct ResolvedFont;
}

namespace kov::platform {

struct PainterSurfaceOptions {
    bool isPrinting = false;  // a printer page or its preview (set by itself on a QPrinter)
    bool isOutput = false;    // paper or a picture file rather than the screen
    // The device point that the paint device's pixel (0, 0) shows: a band or a rectangle cut out
    // of a larger picture gets the very pixels the whole picture has there.
    DevicePoint origin;
    // Where hatch and pattern cells are anchored, in device pixels. The view anchors them at the
    // page's corner, so that a strip drawn after a scroll meets the pixels kept from before.
    DevicePoint patternOrigin;
};

class PainterSurface final : public Surface {
public:
    using Options = PainterSurfaceOptions;

    // Paints on the device for the surface's lifetime.
    explicit PainterSurface(QPaintDevice& device, Options options = {});
    // Paints through a painter already active on its device (a printer between pages).
    explicit PainterSurface(QPainter& painter, Options options = {});
    ~PainterSurface() override;

    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    // For what the surface does not offer. Leave its transform (the origin's shift) and its clip
    // as they were on return: the surface works in device pixels and anchors hatches at the
    // pattern origin. A clip set here before the first drawing call is honoured; clip through
    // setClipRect() after that (the surface keeps the clip it writes pixels within).
    QPainter& painter()
    {
        flush();
        m_clipKnown = false;
        return *m_painter;
    }

    DeviceProperties device() const override;

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
    void start();
    void strokeAndFill(const QPainterPath& path, const Pen& pen, const Brush& brush, const Background& bk);
    // The segments of a solid outline, batched; 1-pixel ones each leave out their end point.
    void thinSegments(std::span<const DevicePoint> points, bool closed, const Pen& pen);
    // Pens and brushes are made once per surface, not per figure: each made one costs an
    // allocation and a count on Qt's shared empty brush, which the bands' threads all reach.
    const QBrush& brushFor(const Brush& brush, const Background& bk);
    const QPen& penFor(const Pen& pen);
    const QPen& gapPenFor(const Pen& pen, const Background& bk);  // no pen when nothing shows
    const QPen& textPen(COLORREF color);
    // (The references hold until the next of these calls: a full cache is emptied.)
    // The outline of an arc, pie or chord; curves larger than Qt flattens finely are laid as
    // polylines fine where they can show.
    QPainterPath curvePath(const DeviceRect& box, DevicePoint start, DevicePoint end, int kind, const Pen& pen) const;
    QRectF curveVisibleRect(const Pen& pen) const;
    // A 1-pixel segment running leftwards or upwards that no whole step moves.
    void drawClippedSegment(DevicePoint from, DevicePoint to, const QPen& pen);

    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_painter = nullptr;
    Options m_options;
    // Solid lines of one pen waiting to be drawn in one call.
    void flush();
    void rasterizeThin(DevicePoint from, DevicePoint to);
    std::vector<QLineF> m_batch;   // wider pens
    std::vector<QPoint> m_batchPixels;  // 1-pixel pens
    std::vector<QRect> m_batchRuns;
    std::vector<QPoint> m_polygon;  // corners of the polygon being filled
    Pen m_batchPen;
    // The picture's own pixels when the batch may be written straight into them (a picture in
    // memory of 32-bit pixels, plain painter state), else null. `clip` is what may be written.
    struct DirectPixels {
        uchar* bits = nullptr;
        qsizetype stride = 0;
        QRect clip;     // device pixels
        QPoint shift;   // from device pixels to the picture's own
    };
    DirectPixels directPixels();
    bool m_clipKnown = false;  // m_clip holds the painter's clip as one rectangle, or empty
    QRect m_clip;
    bool m_clipIsRect = true;
    DeviceRect m_deviceArea;
    DeviceProperties m_device;  // asked for by every drawer: the painter's device is fixed
    bool m_pixelTarget = true;  // a picture in memory: 1-pixel lines laid pixel by pixel
    struct BrushKey {
        int style = 0;
        int hatch = 0;
        COLORREF color = 0;
        int alpha = 255;
        int64_t background = -1;  // opaque background colour, -1 transparent
        qint64 pattern = 0;       // the pattern image's cache key
        friend bool operator==(const BrushKey&, const BrushKey&) = default;
    };
    std::vector<std::pair<BrushKey, QBrush>> m_brushes;
    struct PenKey {
        int style = 0;
        int width = 0;
        COLORREF color = 0;
        bool text = false;
        friend bool operator==(const PenKey&, const PenKey&) = default;
    };
    std::vector<std::pair<PenKey, QPen>> m_pens;
    // Plain lines of text kept as pictures (screen pictures only; paper and files get glyphs).
    bool m_textPictures = false;
    bool drawTextPicture(DevicePoint p, std::string_view utf8, const TextStyle& style, const QFont& font,
                         int top, int x);
    bool lineMissesView(DevicePoint p, std::string_view utf8, const TextStyle& style, const QFont& font,
                        const ResolvedFont& rf, int top, int x) const;
};

// Every thread keeps its own fonts, laid-out lines and outlines (Qt's text objects must not be
// drawn from two threads at once); the pictures of texts, mere pixels, are shared. This empties
// them all, each thread's at its next text: the view calls it when the zoom changes, since no text
// of the old size comes back soon.
void ClearTextCaches();

} // namespace kov::platform
