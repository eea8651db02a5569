#include "tools/PageGeometry.h"

#include "model/Geometry.h"
#include "model/PaperSizes.h"
#include "model/PlotInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kov::tools {

namespace {

// Truncation toward zero into an int, kept within the range of window pixels.
int truncInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    constexpr double kLimit = 1 << 30;
    return static_cast<int>(std::clamp(std::trunc(v), -kLimit, kLimit));
}

} // namespace

// -- the scrolling window -------------------------------------------------------------------------

void PageGeometry::ScrollToPosition(DevicePoint p)
{
    const int maxX = std::max(0, m_total.cx - m_client.cx);
    const int maxY = std::max(0, m_total.cy - m_client.cy);
    m_scroll.x = hasScrollSize() ? std::clamp(p.x, 0, maxX) : 0;
    m_scroll.y = hasScrollSize() ? std::clamp(p.y, 0, maxY) : 0;
}

bool PageGeometry::OnScrollBy(int dx, int dy)
{
    const DevicePoint before = m_scroll;
    ScrollToPosition({m_scroll.x + dx, m_scroll.y + dy});
    return !(before == m_scroll);
}

void PageGeometry::setNoScrollSize()
{
    m_total = {};
    m_scroll = {};
    // Without scroll sizes the page fits the window as it is now, also after a resize while zoomed.
    m_szPageAtZoom1 = m_client;
}

void PageGeometry::setTotal(PixelSize total)
{
    m_total = total;
    ScrollToPosition(m_scroll);
}

// -- geometry -------------------------------------------------------------------------------------

DeviceRect PageGeometry::GetTotalRect() const
{
    if (m_total.cx == 0 && m_total.cy == 0)
        return {0, 0, m_client.cx, m_client.cy};
    return {0, 0, m_total.cx, m_total.cy};
}

DeviceRect PageGeometry::CalcPageRect(const CPlotInfo& plot) const
{
    int w = 0;
    int h = 0;
    if (!model::GetPaperSizeMm(plot, w, h))
        return {};
    return CalcPageRect(w, h);
}

DeviceRect PageGeometry::CalcPageRect(int paperWidth, int paperHeight) const
{
    const DeviceRect r = GetTotalRect();
    const DeviceRect c{0, 0, m_client.cx, m_client.cy};
    if (paperWidth <= 0 || paperHeight <= 0 || r.width() <= 2 * kPageMargin || r.height() <= 2 * kPageMargin)
        return {};
    const int shiftX = (c.width() - r.width()) / 2;
    const int shiftY = (c.height() - r.height()) / 2;

    DeviceRect page{r.left + kPageMargin, r.top + kPageMargin, r.right - kPageMargin, r.bottom - kPageMargin};
    const double aw = r.width() - 2 * kPageMargin;
    const double ah = r.height() - 2 * kPageMargin;
    const double a = static_cast<double>(paperHeight) / paperWidth;
    if (ah / aw > a) {
        // Taller than the paper: full width, centred vertically.
        const int ph = truncInt(a * aw);
        page.top = r.top + kPageMargin + truncInt(ah - ph) / 2;
        page.bottom = page.top + ph;
    } else {
        const int pw = truncInt(ah / a);
        page.left = r.left + kPageMargin + truncInt(aw - pw) / 2;
        page.right = page.left + pw;
    }
    if (shiftX > 0) {
        page.left += shiftX;
        page.right += shiftX;
    }
    if (shiftY > 0) {
        page.top += shiftY;
        page.bottom += shiftY;
    }
    if (page.width() <= 0 || page.height() <= 0)
        return {};
    return page;
}

DeviceRect PageGeometry::GetPageRect(const platform::DeviceProperties& dev) const
{
    return dev.isPrinting ? dev.area : m_rcPage;
}

render::PageFrame PageGeometry::PageFrameFor(const platform::DeviceProperties& dev, const CPlotInfo& plot) const
{
    render::PageFrame frame;
    frame.area = GetPageRect(dev);
    if (!model::GetPaperSizeMm(plot, frame.paperWidth, frame.paperHeight))
        frame = {};
    return frame;
}

bool PageGeometry::IsPageEmpty(const CPlotInfo& plot) const
{
    return PageFrameFor(platform::DeviceProperties{}, plot).empty();
}

double PageGeometry::PixelsPerMm(const platform::DeviceProperties& dev, const CPlotInfo& plot, int axis) const
{
    return render::PixelsPerMm(dev, PageFrameFor(dev, plot), axis);
}

double PageGeometry::PixelsToPaperMm(double pixels, const CPlotInfo& plot, int axis) const
{
    const double perMm = render::PixelsPerMm(platform::DeviceProperties{}, PageFrameFor({}, plot), axis);
    return perMm > 0.0 ? pixels / perMm : 0.0;
}

double PageGeometry::EffectiveScale(const platform::DeviceProperties& dev, const CPlotInfo& plot,
                                    double groupScale) const
{
    return render::EffectiveScale(dev, PageFrameFor(dev, plot), groupScale);
}

std::optional<DeviceTransform> PageGeometry::MakeTransform(const platform::DeviceProperties& dev,
                                                           const CPlotInfo& plot) const
{
    DeviceTransform t;
    if (!render::MakePageTransform(t, dev, PageFrameFor(dev, plot), plot, m_dZoom))
        return std::nullopt;
    return t;
}

int PageGeometry::MmToScreenPixels(double mm, int screenDpiY)
{
    return truncInt(RoundDecimals(mm * screenDpiY / 25.4, 1));
}

double PageGeometry::ScreenPixelsToMm(int pixels, int screenDpiY)
{
    return screenDpiY > 0 ? pixels * 25.4 / screenDpiY : 0.0;
}

// -- window and zoom ------------------------------------------------------------------------------

void PageGeometry::OnSize(int cx, int cy)
{
    m_bPageChanged = true;
    m_client = {std::max(cx, 0), std::max(cy, 0)};
    ScrollToPosition(m_scroll);
    if (!hasScrollSize())
        m_szPageAtZoom1 = m_client;
}

void PageGeometry::ResetZoom()
{
    m_dZoom = 1.0;
    m_dZoomAtPress = 1.0;
    setNoScrollSize();
}

void PageGeometry::BeginZoomGesture(DevicePoint clientPress, int mode)
{
    m_pxPress = clientPress;
    m_pxPressScroll = mode == ZOOM_RANGE ? ClientToLogical(clientPress.x, clientPress.y) : m_scroll;
    m_dZoomAtPress = m_dZoom;
}

bool PageGeometry::UpdateScrollSizes()
{
    if (!zoomable())
        return false;
    const int cx1 = m_szPageAtZoom1.cx;
    const int cy1 = m_szPageAtZoom1.cy;
    const PixelSize total{truncInt(cx1 * m_dZoom), truncInt(cy1 * m_dZoom)};
    if (m_dZoom <= 1.0) {
        setNoScrollSize();
        return true;
    }
    if (hasScrollSize()) {
        const PixelSize old = m_total;
        const double halfW = m_client.cx / 2;
        const double halfH = m_client.cy / 2;
        const double x = static_cast<double>(total.cx) / old.cx * truncInt(m_scroll.x + halfW) - halfW;
        const double y = static_cast<double>(total.cy) / old.cy * truncInt(m_scroll.y + halfH) - halfH;
        setTotal(total);
        ScrollToPosition({truncInt(x), truncInt(y)});
    } else {
        setTotal(total);
        ScrollToPosition({(total.cx - cx1) / 2, (total.cy - cy1) / 2});
    }
    return true;
}

void PageGeometry::capZoom(double& zoom, PixelSize& total, int maxPixels) const
{
    const int cx1 = m_szPageAtZoom1.cx;
    const int cy1 = m_szPageAtZoom1.cy;
    total = {truncInt(zoom * cx1), truncInt(zoom * cy1)};
    // The cap holds on both axes: a tall window reaches it through its height.
    const int longer = std::max(cx1, cy1);
    if (total.cx > maxPixels || total.cy > maxPixels) {
        zoom = std::max(1.0, std::trunc(static_cast<double>(maxPixels) / longer));
        total = {truncInt(zoom * cx1), truncInt(zoom * cy1)};
    }
}

bool PageGeometry::DragZoom(int x, int y, int mode)
{
    if (!zoomable())
        return false;
    const int n = zoomTolerance();
    const int cx1 = m_szPageAtZoom1.cx;
    const int cy1 = m_szPageAtZoom1.cy;
    const double halfW = m_client.cx / 2;
    const double halfH = m_client.cy / 2;

    if (mode == ZOOM_RANGE) {
        const int dx = std::abs(x - m_pxPress.x);
        const int dy = std::abs(y - m_pxPress.y);
        if (dx < n && dy < n)
            return false;
        const double shown = shownZoom();
        double zoom = std::min(dx > 0 ? cx1 / (dx / shown) : kMaxZoom, dy > 0 ? cy1 / (dy / shown) : kMaxZoom);
        zoom = std::min(zoom, kMaxZoom);
        applyRangeZoom(zoom, {(m_pxPress.x + x) / 2, (m_pxPress.y + y) / 2}, kMaxTotalPixels);
        return true;
    }

    const double d = std::hypot(static_cast<double>(x - m_pxPress.x), static_cast<double>(y - m_pxPress.y));
    double zoom = std::min(d / (10.0 * n) + std::max(m_dZoomAtPress, 1.0), kMaxZoom);
    PixelSize total;
    capZoom(zoom, total, kMaxTotalPixels);
    m_dZoom = zoom;
    if (zoom <= 1.0) {
        setNoScrollSize();
        return true;
    }
    // From the whole page (a zoom at or below 1 shows the page fitted, as 1 does).
    if (m_dZoomAtPress <= 1.0) {
        setTotal(total);
        ScrollToPosition({truncInt((m_pxPress.x - cx1 / 2) * zoom) + (total.cx - cx1) / 2,
                          truncInt((m_pxPress.y - cy1 / 2) * zoom) + (total.cy - cy1) / 2});
        return true;
    }
    // From a zoomed view: the press point, where it lay at the press, goes to the window centre.
    const double px = truncInt(m_pxPressScroll.x + halfW) - cx1 / 2 + m_pxPress.x;
    const double py = truncInt(m_pxPressScroll.y + halfH) - cy1 / 2 + m_pxPress.y;
    const double ratio = zoom / m_dZoomAtPress;
    setTotal(total);
    ScrollToPosition({truncInt(px * ratio - halfW), truncInt(py * ratio - halfH)});
    return true;
}

bool PageGeometry::RangeZoom(int x, int y)
{
    if (!zoomable())
        return false;
    const int n = zoomTolerance();
    const int dx = std::abs(x - m_pxPress.x);
    const int dy = std::abs(y - m_pxPress.y);
    double zoom = 0;
    DevicePoint centre;
    if (dx < n && dy < n) {
        zoom = std::min(shownZoom() + 1.0, kMaxClassicZoom);
        centre = {x, y};
    } else {
        const int cx1 = m_szPageAtZoom1.cx;
        const int cy1 = m_szPageAtZoom1.cy;
        const double shown = shownZoom();
        zoom = std::min(dx > 0 ? cx1 / (dx / shown) : kMaxClassicZoom,
                        dy > 0 ? cy1 / (dy / shown) : kMaxClassicZoom);
        zoom = std::min(zoom, kMaxClassicZoom);
        centre = {(m_pxPress.x + x) / 2, (m_pxPress.y + y) / 2};
    }
    applyRangeZoom(zoom, centre, kMaxClassicTotalPixels);
    return true;
}

void PageGeometry::applyRangeZoom(double zoom, DevicePoint c, int maxPixels)
{
    const int cx1 = m_szPageAtZoom1.cx;
    const int cy1 = m_szPageAtZoom1.cy;
    PixelSize total;
    capZoom(zoom, total, maxPixels);
    m_dZoom = zoom;
    if (zoom <= 1.0) {
        setNoScrollSize();
        return;
    }
    if (!hasScrollSize()) {
        setTotal(total);
        ScrollToPosition({truncInt((c.x - cx1 / 2) * zoom) + (total.cx - cx1) / 2,
                          truncInt((c.y - cy1 / 2) * zoom) + (total.cy - cy1) / 2});
        return;
    }
    const double halfW = m_client.cx / 2;
    const double halfH = m_client.cy / 2;
    const PixelSize old = m_total;
    const double px = truncInt(m_scroll.x + halfW) - cx1 / 2 + c.x;
    const double py = truncInt(m_scroll.y + halfH) - cy1 / 2 + c.y;
    const double nx = old.cx > 0 ? px * total.cx / old.cx - halfW : 0.0;
    const double ny = old.cy > 0 ? py * total.cy / old.cy - halfH : 0.0;
    setTotal(total);
    ScrollToPosition({truncInt(nx), truncInt(ny)});
}

} // namespace kov::tools
