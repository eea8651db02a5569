#pragma once

// The drawing surface that writes a Windows enhanced metafile (EMF), for pictures handed to word
// processors and spreadsheets. Pens, brushes, fonts, shapes and text become the GDI records of the
// same calls, so the file scales as vectors. What GDI cannot record is approximated in vectors:
// gradients become bands of solid polygons, outline texts their flattened glyph outlines. A
// metafile holds no transparency: translucent fills and images are written opaque.
//
// Coordinates are device pixels of a reference device of the given resolution (MM_TEXT).

#include "platform/Surface.h"

#include <QByteArray>

#include <cstdint>
#include <memory>

namespace kov::platform {

class EmfSurface final : public Surface {
public:
    // A picture of width x height pixels; its frame (in 0.01 mm) follows from the resolution
    // unless setFrame gives another.
    EmfSurface(int width, int height, int dpiX = 96, int dpiY = 96);
    ~EmfSurface() override;

    EmfSurface(const EmfSurface&) = delete;
    EmfSurface& operator=(const EmfSurface&) = delete;

    // Left, top, right, bottom in 0.01 mm, inclusive, as the header stores it.
    void setFrame(const DeviceRect& frame);

    // The whole file: header, the records in call order, end record. Later calls are ignored.
    QByteArray finish();

    // A text or outline text has been written (an empty picture is given one space text).
    bool hasText() const { return m_hasText; }

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
    // An inverting screen frame has no place in a picture: not recorded.
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

    // Record types written, as the metafile format numbers them.
    enum Record : uint32_t {
        EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYPOLYGON = 8, EMR_EOF = 14,
        EMR_SETPIXELV = 15, EMR_SETWINDOWEXTEX = 9, EMR_SETVIEWPORTEXTEX = 11, EMR_SETMAPMODE = 17,
        EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24,
        EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_INTERSECTCLIPRECT = 30, EMR_SAVEDC = 33,
        EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
        EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ARC = 45, EMR_CHORD = 46,
        EMR_PIE = 47, EMR_LINETO = 54, EMR_EXTSELECTCLIPRGN = 75, EMR_PLGBLT = 79, EMR_STRETCHDIBITS = 81,
        EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84, EMR_CREATEDIBPATTERNBRUSHPT = 94,
    };

private:
    struct DcState {
        int bkMode = 2;  // OPAQUE, as a new device context starts
        COLORREF bkColor = 0xFFFFFF;
        COLORREF textColor = 0;
        uint32_t textAlign = 0;
        int polyFillMode = 1;  // ALTERNATE
        int mapMode = 1;       // MM_TEXT
    };

    bool open() const { return !m_finished; }
    void writeRecord(uint32_t type, const QByteArray& payload);
    void writeRecordU32(uint32_t type, uint32_t value);
    void include(double x, double y);
    void includeRect(const DeviceRect& r, int margin = 0);
    void setBackground(const Background& bk);
    void setPolyFillMode(FillRule rule);
    void selectPen(const Pen& pen);
    void selectBrush(const Brush& brush);
    void releaseObjects();
    void boxRecord(uint32_t type, const DeviceRect& box);
    void arcRecord(uint32_t type, const DeviceRect& box, DevicePoint start, DevicePoint end);
    void pointsRecord(uint32_t type, std::span<const DevicePoint> points, int margin, int unitsPerPixel = 1);
    void polyPolygonRecord(const std::vector<std::vector<DevicePoint>>& polygons);  // fine units
    // Blocks of records in sixteenths of a pixel, for gradients and glyph outlines.
    void beginFine();
    void endFine();
    void fillFine(const std::vector<DevicePointF>& polygon, COLORREF color);
    Surface& measurer();

    DeviceProperties m_props;
    DeviceRect m_frame;
    QByteArray m_body;
    uint32_t m_records = 0;
    bool m_finished = false;
    bool m_hasText = false;
    bool m_penMade = false;
    bool m_brushMade = false;
    bool m_fontMade = false;
    DcState m_dc;
    DcState m_savedDc;
    double m_boundsLeft = 0;
    double m_boundsTop = 0;
    double m_boundsRight = -1;
    double m_boundsBottom = -1;
    bool m_boundsEmpty = true;
    QImage m_measureImage;
    std::unique_ptr<Surface> m_measurer;  // fonts are measured as the screen draws them
};

} // namespace kov::platform
