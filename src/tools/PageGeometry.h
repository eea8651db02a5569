#pragma once

// The view's page geometry: the paper sheet fitted into the window with a 10-pixel margin, the zoom
// that enlarges it beyond the window, and the scroll sizes and position that follow. Plain values
// in window pixels: the Qt view feeds it the client size and pointer points and shows what it says.
//
// Coordinates: "client" pixels are the window's own; "logical" pixels are client pixels plus the
// scroll position, the coordinates every render and overlay draws in.

#include "model/DrawTransform.h"
#include "platform/Surface.h"
#include "render/PageMapping.h"

#include <algorithm>
#include <optional>

class CPlotInfo;

namespace kov::tools {

struct PixelSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

class PageGeometry {
public:
    // Zoom caps of the drag and range zoom, and of the classic zoom.
    static constexpr double kMaxZoom = 32.0;
    static constexpr int kMaxTotalPixels = 32000;
    static constexpr double kMaxClassicZoom = 24.0;
    static constexpr int kMaxClassicTotalPixels = 24000;
    static constexpr int kPageMargin = 10;

    // Zoom gestures (the view's zoom modes).
    enum { ZOOM_COMMAND = 1, ZOOM_BOTH_BUTTONS = 2, ZOOM_RANGE = 3 };

    double m_dZoom = 1.0;          // 1.0 shows the whole page; 1.0 or less sets no scroll size
    double m_dZoomAtPress = 1.0;   // zoom when a zoom drag began; 1.0 after every completed zoom
    PixelSize m_szPageAtZoom1;     // client size while no scroll size is set
    DeviceRect m_rcPage;           // the page rectangle, logical pixels (StorePageRect)
    bool m_bPageChanged = false;   // set by every resize; the next render consumes it
    DevicePoint m_pxPress;         // client point of the zoom or pan press
    DevicePoint m_pxPressScroll;   // scroll position at that press; the logical press for mode 3

    // -- the scrolling window's state ----------------------------------------------------------
    PixelSize clientSize() const { return m_client; }
    PixelSize totalSize() const { return m_total; }      // 0 × 0 while no scroll size is set
    DevicePoint scrollPosition() const { return m_scroll; }
    bool hasScrollSize() const { return m_total.cx > 0 || m_total.cy > 0; }
    // Scrolls to the position, kept within 0 .. total − client on each axis (as a scroll bar does).
    void ScrollToPosition(DevicePoint p);
    // Moves the scroll position by (dx, dy) within the bounds; true when it moved (the view then
    // redraws everything).
    bool OnScrollBy(int dx, int dy);

    // -- geometry -------------------------------------------------------------------------------
    // (0, 0, total width, total height); while no scroll size is set the client rectangle.
    DeviceRect GetTotalRect() const;
    // The page rectangle in logical pixels for the paper of the plot settings; empty (all zero)
    // for an unknown paper code or a window too small to hold a page.
    DeviceRect CalcPageRect(const CPlotInfo& plot) const;
    DeviceRect CalcPageRect(int paperWidth, int paperHeight) const;
    // m_rcPage := CalcPageRect(plot); what every render does first.
    void StorePageRect(const CPlotInfo& plot) { m_rcPage = CalcPageRect(plot); }
    // The drawing area: on a printing device its whole area, on the screen m_rcPage.
    DeviceRect GetPageRect(const platform::DeviceProperties& dev) const;
    render::PageFrame PageFrameFor(const platform::DeviceProperties& dev, const CPlotInfo& plot) const;
    // Nothing to draw and nothing to zoom while the page has no extent.
    bool IsPageEmpty(const CPlotInfo& plot) const;

    double PixelsPerMm(const platform::DeviceProperties& dev, const CPlotInfo& plot, int axis) const;
    // Screen pixels to paper millimetres through the page rectangle; 0 while the page is empty.
    double PixelsToPaperMm(double pixels, const CPlotInfo& plot, int axis) const;
    double EffectiveScale(const platform::DeviceProperties& dev, const CPlotInfo& plot, double groupScale) const;
    // The drawing transform for the device (screen: m_rcPage; printer: its whole area), zoom m_dZoom;
    // nothing while the page is empty.
    std::optional<DeviceTransform> MakeTransform(const platform::DeviceProperties& dev, const CPlotInfo& plot) const;

    DevicePoint ClientToLogical(int dx, int dy) const { return {m_scroll.x + dx, m_scroll.y + dy}; }

    // Font heights: millimetres to screen pixels (rounded at one decimal, then truncated) and back.
    static int MmToScreenPixels(double mm, int screenDpiY);
    static double ScreenPixelsToMm(int pixels, int screenDpiY);

    // -- window and zoom ------------------------------------------------------------------------
    // The window's new client size: marks the page changed, keeps the scroll position within
    // bounds and, while no scroll size is set, takes the size as the page extent at zoom 1.
    void OnSize(int cx, int cy);
    // After a zoom command changed m_dZoom (whole page, zoom out, picture matching): new scroll
    // sizes keeping the window centre. The caller redraws. False when nothing could be done (no
    // page extent yet).
    bool UpdateScrollSizes();
    // The whole page: zoom 1, no scroll size (the first update of a document too).
    void ResetZoom();
    // The press of a zoom gesture at a client point: remembers it, the zoom, and in m_pxPressScroll
    // the scroll position (modes 1 and 2) or the press in logical pixels (mode 3, the corner of the
    // range's focus rectangle).
    void BeginZoomGesture(DevicePoint clientPress, int mode = ZOOM_COMMAND);
    // The release of any zoom gesture: m_dZoomAtPress back to 1.0.
    void EndZoomGesture() { m_dZoomAtPress = 1.0; }
    // Modes 1 and 2: every pointer move of the zoom drag (client point); mode 3: the release of a
    // range zoom. True when the zoom or scroll changed (the caller redraws).
    bool DragZoom(int x, int y, int mode);
    // The classic zoom at the release (setting zoomupold): a click zooms in one step about it, a
    // drag zooms onto its rectangle. True when it changed anything.
    bool RangeZoom(int x, int y);

    // Drag zoom distance per 1.0 of zoom is 10 × this tolerance; also the click radius of the range
    // zooms. The snap tolerance unless set (tests).
    int zoomTolerance() const { return m_zoomTolerance > 0 ? m_zoomTolerance : g_nSnapTolerance; }
    void setZoomTolerance(int n) { m_zoomTolerance = n; }

private:
    // total from zoom, with the pixel cap: zoom then becomes a whole number.
    void capZoom(double& zoom, PixelSize& total, int maxPixels) const;
    // Sets the total and the scroll position that centres the logical point `centre` (client point
    // of the press or rectangle) as the range zoom does.
    void applyRangeZoom(double zoom, DevicePoint centre, int maxPixels);
    void setNoScrollSize();
    void setTotal(PixelSize total);
    // The zoom the window shows: below 1 the page is fitted as at 1, so gestures measure from 1.
    double shownZoom() const { return std::max(m_dZoom, 1.0); }
    bool zoomable() const { return m_szPageAtZoom1.cx > 0 && m_szPageAtZoom1.cy > 0; }

    PixelSize m_client;
    PixelSize m_total;
    DevicePoint m_scroll;
    int m_zoomTolerance = 0;
};

} // namespace kov::tools
