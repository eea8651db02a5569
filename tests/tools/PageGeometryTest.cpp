#include "tools/PageGeometry.h"

#include "model/PaperSizes.h"
#include "model/PlotInfo.h"

#include <gtest/gtest.h>

#include <string>

using kov::platform::DeviceProperties;
using kov::tools::PageGeometry;
using kov::tools::PixelSize;

namespace {

constexpr int kA4Landscape = 0;
constexpr int kA4Portrait = 6;

CPlotInfo paper(int code, int userX = 297, int userY = 210)
{
    CPlotInfo plot;
    plot.PlotPaperSize = code;
    plot.PlotPaperSizeUserX = userX;
    plot.PlotPaperSizeUserY = userY;
    return plot;
}

PageGeometry window(int cx, int cy)
{
    PageGeometry g;
    g.setZoomTolerance(13);
    g.OnSize(cx, cy);
    return g;
}

DeviceProperties screen(int dpi = 96)
{
    DeviceProperties d;
    d.dpiX = d.dpiY = dpi;
    return d;
}

} // namespace

TEST(PaperSizes, CodesUserSizeAndUnknownCodes)
{
    struct Case {
        int code;
        int width;
        int height;
    };
    const Case cases[] = {{0, 297, 210}, {1, 364, 257}, {5, 257, 182}, {8, 100, 148}, {14, 1030, 728},
                          {19, 364, 515}, {22, 148, 100}, {24, 89, 127}, {25, 91, 55}};
    for (const Case& c : cases) {
        int w = 0, h = 0;
        EXPECT_EQ(kov::model::GetPaperSizeMm(c.code, 0, 0, w, h), 1) << c.code;
        EXPECT_EQ(w, c.width) << c.code;
        EXPECT_EQ(h, c.height) << c.code;
    }
    int w = -1, h = -1;
    EXPECT_EQ(kov::model::GetPaperSizeMm(26, 0, 0, w, h), 0);
    EXPECT_EQ(kov::model::GetPaperSizeMm(-1, 0, 0, w, h), 0);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(kov::model::GetPaperSizeMm(11, 500, 300, w, h), 1);
    EXPECT_EQ(w, 500);
    EXPECT_EQ(h, 300);
    // A user paper of 0 mm would divide by zero in every mapping.
    EXPECT_EQ(kov::model::GetPaperSizeMm(11, 0, -5, w, h), 1);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
}

TEST(PageGeometry, PageRectFitsThePaperWithTenPixelMargins)
{
    struct Case {
        std::string name;
        int code;
        int cx, cy;
        DeviceRect expected;
    };
    const Case cases[] = {
        // Full height minus 20, centred horizontally: width truncate(580 / (297 / 210)) = 410.
        {"portrait in a wide window", kA4Portrait, 1000, 600, {295, 10, 705, 590}},
        // Full width minus 20, centred vertically: height truncate(580 × 210 / 297) = 410.
        {"landscape in a tall window", kA4Landscape, 600, 1000, {10, 295, 590, 705}},
        {"landscape in a wide window", kA4Landscape, 1000, 600, {90, 10, 910, 590}},
        {"unknown paper code", 30, 1000, 600, {}},
        {"window too small", kA4Landscape, 20, 600, {}},
        {"minimised", kA4Landscape, 0, 0, {}},
    };
    for (const Case& c : cases) {
        const PageGeometry g = window(c.cx, c.cy);
        EXPECT_EQ(g.CalcPageRect(paper(c.code)), c.expected) << c.name;
    }
}

TEST(PageGeometry, ScreenTransformMapsThePage)
{
    PageGeometry g = window(1000, 600);
    CPlotInfo plot = paper(kA4Portrait);
    plot.m_Layer.m_dScale[0] = 100;
    plot.m_Layer.m_dScale[1] = 50;
    g.StorePageRect(plot);
    const auto t = g.MakeTransform(screen(), plot);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->originX, 500);
    EXPECT_EQ(t->originY, 300);
    // A paper millimetre is 410 / 210 pixels across; 1:100 makes 100 sheet millimetres of it.
    EXPECT_NEAR(t->scaleX[0], 410.0 / 210 / 100, 1e-12);
    EXPECT_NEAR(t->scaleY[0], t->scaleX[0], 1e-15);
    EXPECT_NEAR(t->scaleX[1], 2 * t->scaleX[0], 1e-12);
    EXPECT_NEAR(t->paperScale, 580.0 / 297, 1e-12);
    EXPECT_EQ(t->zoom, 1.0);
    // The page rectangle alone decides: the screen's resolution cancels out.
    const auto hiDpi = g.MakeTransform(screen(192), plot);
    ASSERT_TRUE(hiDpi);
    EXPECT_NEAR(hiDpi->scaleX[0], t->scaleX[0], 1e-12);
    // 1000 mm right of the centre: 19.52 pixels.
    EXPECT_EQ(ToDevicePoint(CDbPoint(1000, 0), *t, 0).x, 519);
    EXPECT_NEAR(g.PixelsToPaperMm(410, plot, 1), 210.0, 1e-9);
}

TEST(PageGeometry, PrinterTransformKeepsEachAxisResolution)
{
    PageGeometry g = window(1000, 600);
    CPlotInfo plot = paper(kA4Portrait);
    DeviceProperties printer;
    printer.isPrinting = true;
    printer.dpiX = 300;
    printer.dpiY = 600;
    printer.area = {0, 0, 2400, 6800};
    const auto t = g.MakeTransform(printer, plot);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->originX, 1200);
    EXPECT_EQ(t->originY, 3400);
    EXPECT_NEAR(t->scaleX[0], 300 / 25.4 / 100, 1e-12);
    EXPECT_NEAR(t->scaleY[0], 600 / 25.4 / 100, 1e-12);
    EXPECT_NEAR(t->paperScale, 600 / 25.4, 1e-12);
    EXPECT_EQ(g.GetPageRect(printer), printer.area);
}

TEST(PageGeometry, NothingToMapWhileThePageIsEmpty)
{
    PageGeometry g;  // no size yet
    const CPlotInfo plot = paper(kA4Landscape);
    g.StorePageRect(plot);
    EXPECT_TRUE(g.IsPageEmpty(plot));
    EXPECT_FALSE(g.MakeTransform(screen(), plot));
    EXPECT_FALSE(g.DragZoom(300, 300, PageGeometry::ZOOM_COMMAND));
    EXPECT_FALSE(g.RangeZoom(300, 300));
    EXPECT_FALSE(g.UpdateScrollSizes());
    EXPECT_EQ(g.PixelsToPaperMm(100, plot, 1), 0.0);
    g.OnSize(0, 0);  // minimised
    EXPECT_FALSE(g.MakeTransform(screen(), plot));
    // A user paper of 0 mm still gives a page.
    g.OnSize(800, 600);
    const CPlotInfo user = paper(11, 0, 0);
    g.StorePageRect(user);
    EXPECT_EQ(g.m_rcPage, (DeviceRect{110, 10, 690, 590}));
    EXPECT_TRUE(g.MakeTransform(screen(), user));
}

TEST(PageGeometry, DragZoomOf130PixelsDoublesAndCentresThePress)
{
    PageGeometry g = window(1200, 800);
    g.BeginZoomGesture({400, 300});
    EXPECT_TRUE(g.DragZoom(400 + 50, 300 + 120, PageGeometry::ZOOM_COMMAND));  // 130 pixels away
    EXPECT_DOUBLE_EQ(g.m_dZoom, 2.0);
    EXPECT_EQ(g.totalSize(), (PixelSize{2400, 1600}));
    // (400 − 600) × 2 + 600 = 200: the press point at logical 800 sits at the window centre.
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{200, 200}));
    g.EndZoomGesture();
    EXPECT_EQ(g.m_dZoomAtPress, 1.0);
    EXPECT_EQ(g.m_szPageAtZoom1, (PixelSize{1200, 800}));
}

TEST(PageGeometry, ZoomCaps)
{
    struct Case {
        std::string name;
        int cx, cy;
        bool classic;
        double zoom;
    };
    const Case cases[] = {
        {"drag never passes 32", 800, 600, false, 32.0},
        {"a page 1200 wide stops at 26", 1200, 800, false, 26.0},
        {"a tall window is capped by its height", 600, 1200, false, 26.0},
        {"classic steps stop at 24", 600, 400, true, 24.0},
        {"classic total stops at 24000 pixels", 1200, 800, true, 20.0},
    };
    for (const Case& c : cases) {
        PageGeometry g = window(c.cx, c.cy);
        for (int step = 0; step < 40; ++step) {
            g.BeginZoomGesture({c.cx / 2, c.cy / 2});
            if (c.classic)
                g.RangeZoom(c.cx / 2, c.cy / 2);
            else
                g.DragZoom(c.cx / 2 + 5000, c.cy / 2, PageGeometry::ZOOM_BOTH_BUTTONS);
            g.EndZoomGesture();
        }
        EXPECT_DOUBLE_EQ(g.m_dZoom, c.zoom) << c.name;
        EXPECT_LE(g.totalSize().cx, c.classic ? 24000 : 32000) << c.name;
        EXPECT_LE(g.totalSize().cy, c.classic ? 24000 : 32000) << c.name;
    }
}

TEST(PageGeometry, RangeZoom)
{
    // A release within the snap tolerance changes nothing.
    PageGeometry g = window(1200, 800);
    g.BeginZoomGesture({500, 400}, PageGeometry::ZOOM_RANGE);
    EXPECT_FALSE(g.DragZoom(512, 412, PageGeometry::ZOOM_RANGE));
    EXPECT_EQ(g.m_dZoom, 1.0);
    EXPECT_FALSE(g.hasScrollSize());

    // A rectangle a quarter of the window wide zooms 4 times onto its centre.
    g.BeginZoomGesture({100, 100}, PageGeometry::ZOOM_RANGE);
    EXPECT_TRUE(g.DragZoom(400, 250, PageGeometry::ZOOM_RANGE));
    EXPECT_DOUBLE_EQ(g.m_dZoom, 4.0);  // min(1200 / 300, 800 / 150)
    EXPECT_EQ(g.totalSize(), (PixelSize{4800, 3200}));
    // Centre (250, 175): (250 − 600) × 4 + 1800 = 400 and (175 − 400) × 4 + 1200 = 300.
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{400, 300}));

    // Again from the zoomed view: the rectangle's centre stays at the window centre.
    g.BeginZoomGesture({500, 300}, PageGeometry::ZOOM_RANGE);
    EXPECT_EQ(g.m_pxPressScroll, (DevicePoint{900, 600}));  // the focus rectangle's logical corner
    EXPECT_TRUE(g.DragZoom(700, 500, PageGeometry::ZOOM_RANGE));
    EXPECT_DOUBLE_EQ(g.m_dZoom, 16.0);  // min(1200 / (200 / 4), 800 / (200 / 4))
    // X = 400 + 600 − 600 + 600 = 1000 → 1000 × 4 − 600; Y = 700 → 700 × 4 − 400.
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{3400, 2400}));

    // A rectangle beyond the window leaves a zoom below 1 and no scroll size.
    PageGeometry out = window(1200, 800);
    out.BeginZoomGesture({-100, -100}, PageGeometry::ZOOM_RANGE);
    EXPECT_TRUE(out.DragZoom(1300, 900, PageGeometry::ZOOM_RANGE));
    EXPECT_DOUBLE_EQ(out.m_dZoom, 0.8);
    EXPECT_FALSE(out.hasScrollSize());
    EXPECT_EQ(out.CalcPageRect(paper(kA4Landscape)).top, 10);
    out.EndZoomGesture();
    // The fitted page shows as at zoom 1, so gestures from there measure from 1.
    out.BeginZoomGesture({400, 300});
    out.DragZoom(400, 430, PageGeometry::ZOOM_COMMAND);
    EXPECT_DOUBLE_EQ(out.m_dZoom, 2.0);
    EXPECT_EQ(out.scrollPosition(), (DevicePoint{200, 200}));
}

TEST(PageGeometry, ClassicZoomClickStepsAboutTheClick)
{
    PageGeometry g = window(1200, 800);
    g.BeginZoomGesture({300, 200});
    EXPECT_TRUE(g.RangeZoom(312, 212));
    EXPECT_DOUBLE_EQ(g.m_dZoom, 2.0);
    // Centre (312, 212): (312 − 600) × 2 + 600 = 24, (212 − 400) × 2 + 400 = 24.
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{24, 24}));
}

TEST(PageGeometry, DragFromAZoomedViewKeepsThePressInView)
{
    PageGeometry g = window(1200, 800);
    g.m_dZoom = 2.0;
    g.UpdateScrollSizes();
    const DevicePoint before = g.scrollPosition();
    g.BeginZoomGesture({300, 200});
    const double pressX = before.x + 300;
    EXPECT_TRUE(g.DragZoom(300, 330, PageGeometry::ZOOM_COMMAND));
    EXPECT_DOUBLE_EQ(g.m_dZoom, 3.0);
    const double pressNow = pressX * 3.0 / 2.0;
    EXPECT_GE(pressNow, g.scrollPosition().x);
    EXPECT_LT(pressNow, g.scrollPosition().x + 1200);
}

TEST(PageGeometry, ZoomCommandsKeepTheWindowCentre)
{
    PageGeometry g = window(1200, 800);
    g.m_dZoom = 2.0;
    EXPECT_TRUE(g.UpdateScrollSizes());
    EXPECT_EQ(g.totalSize(), (PixelSize{2400, 1600}));
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{600, 400}));  // the page centred
    g.m_dZoom = 3.0;
    g.UpdateScrollSizes();
    // Window centre 1200 → 1800.
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{1200, 800}));
    g.m_dZoom = 1.0;
    g.UpdateScrollSizes();
    EXPECT_FALSE(g.hasScrollSize());
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{0, 0}));
}

TEST(PageGeometry, ResizeWhileZoomedKeepsThePageExtent)
{
    PageGeometry g = window(1000, 600);
    const CPlotInfo plot = paper(kA4Landscape);
    g.m_dZoom = 2.0;
    g.UpdateScrollSizes();
    const DeviceRect zoomed = g.CalcPageRect(plot);
    g.m_bPageChanged = false;
    g.OnSize(800, 500);
    EXPECT_TRUE(g.m_bPageChanged);
    EXPECT_EQ(g.m_szPageAtZoom1, (PixelSize{1000, 600}));
    EXPECT_EQ(g.CalcPageRect(plot), zoomed);
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{500, 300}));
    // Back to the whole page: the page fits the window as it is now.
    g.m_dZoom = 1.0;
    g.UpdateScrollSizes();
    EXPECT_EQ(g.m_szPageAtZoom1, (PixelSize{800, 500}));
    const DeviceRect fitted = g.CalcPageRect(plot);
    EXPECT_EQ(fitted.top, 10);
    EXPECT_EQ(fitted.bottom, 490);
}

TEST(PageGeometry, ScrollingStaysWithinTheTotal)
{
    PageGeometry g = window(1200, 800);
    g.m_dZoom = 2.0;
    g.UpdateScrollSizes();
    EXPECT_TRUE(g.OnScrollBy(5000, -5000));
    EXPECT_EQ(g.scrollPosition(), (DevicePoint{1200, 0}));
    EXPECT_FALSE(g.OnScrollBy(10, 0));
    EXPECT_EQ(g.ClientToLogical(10, 20), (DevicePoint{1210, 20}));
}

TEST(PageGeometry, FontMillimetresAndScreenPixels)
{
    EXPECT_EQ(PageGeometry::MmToScreenPixels(10, 96), 38);   // 37.795 rounded
    EXPECT_EQ(PageGeometry::MmToScreenPixels(3.99, 96), 15); // 15.08
    EXPECT_NEAR(PageGeometry::ScreenPixelsToMm(96, 96), 25.4, 1e-12);
    EXPECT_EQ(PageGeometry::ScreenPixelsToMm(10, 0), 0.0);
}
