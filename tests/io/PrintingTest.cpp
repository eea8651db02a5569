#include "io/Printing.h"

#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "platform/PainterSurface.h"
#include "platform/RecordingSurface.h"
#include "render/DrawEnvironment.h"
#include "render/DrawerTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <climits>
#include <string>

using kov::io::PrintOptions;
using kov::io::PrintPasses;
using kov::platform::DeviceProperties;
using kov::platform::RecordedCall;
using kov::platform::RecordingSurface;

namespace {

constexpr int kA4Portrait = 6;

// A wall along x or y through the sheet centre whose outline is 1000 × 100 mm (the outline runs
// past the core ends by the half thickness), in layer group 0 at 1:100.
struct Drawing {
    CKovUnit unit;
    CPlotInfo plot;
    CGrid grid;
    SelectionRecord selection;
    CKovUnit::DrawEnvironment env;

    explicit Drawing(bool alongY = false)
    {
        plot.PlotPaperSize = kA4Portrait;
        plot.m_Layer.m_dScale.fill(100);
        plot.PlotWallBlack = 1;
        if (alongY)
            kov::test::drawers::addWall(unit, {0, -450}, {0, 450}, 50);
        else
            kov::test::drawers::addWall(unit, {-450, 0}, {450, 0}, 50);
    }

    PrintPasses passes() { return kov::io::DrawingPrintPasses(unit, plot, selection, false, env); }
};

DeviceProperties printerDevice(int dpiX, int dpiY)
{
    DeviceProperties d;
    d.isPrinting = d.isOutput = true;
    d.dpiX = dpiX;
    d.dpiY = dpiY;
    d.area = {0, 0, 210 * dpiX * 10 / 254, 297 * dpiY * 10 / 254};
    return d;
}

// The device box of everything filled.
DeviceRect paintedBox(const RecordingSurface& s)
{
    DeviceRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const RecordedCall& c : s.calls())
        if (c.op == "polygon")
            for (const DevicePoint& p : c.points) {
                box.left = std::min(box.left, p.x);
                box.top = std::min(box.top, p.y);
                box.right = std::max(box.right, p.x);
                box.bottom = std::max(box.bottom, p.y);
            }
    return box;
}

} // namespace

TEST(Printing, WallPrintsToScaleOnEachAxisOfA300By600DpiDevice)
{
    // 1000 mm at 1:100 is 10 mm: 118.1 dots across at 300 dpi, 236.2 down at 600 dpi.
    for (bool alongY : {false, true}) {
        Drawing d(alongY);
        RecordingSurface s(printerDevice(300, 600));
        ASSERT_TRUE(kov::io::PrintPage(s, d.plot, d.grid, PrintOptions{}, d.passes()));
        const DeviceRect box = paintedBox(s);
        // Within the two dots that truncating both corners toward zero may lose.
        const double dotX = 25.4 / 300;
        const double dotY = 25.4 / 600;
        const double lengthMm = alongY ? box.height() * dotY : box.width() * dotX;
        const double thickMm = alongY ? box.width() * dotX : box.height() * dotY;
        EXPECT_NEAR(lengthMm, 10.0, 2 * (alongY ? dotY : dotX)) << alongY;
        EXPECT_NEAR(thickMm, 1.0, 2 * (alongY ? dotX : dotY)) << alongY;
        // Centred on the printable area.
        EXPECT_NEAR((box.left + box.right) / 2.0, 1240, 1.0);
        EXPECT_NEAR((box.top + box.bottom) / 2.0, 3507, 1.0);
    }
}

TEST(Printing, WallMeasuresTenMillimetresInThePixelsOfA300By600DpiPage)
{
    // A 60 × 30 mm page at 300 × 600 dpi, painted as the printer would.
    QImage page(60 * 300 * 10 / 254, 30 * 600 * 10 / 254, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(300 / 0.0254));
    page.setDotsPerMeterY(qRound(600 / 0.0254));
    for (bool alongY : {false, true}) {
        page.fill(Qt::white);
        Drawing d(alongY);
        {
            kov::platform::PainterSurface dc(page, {.isPrinting = true, .isOutput = true});
            ASSERT_EQ(dc.device().dpiY, 600);
            ASSERT_TRUE(kov::io::PrintPage(dc, d.plot, d.grid, PrintOptions{}, d.passes()));
        }
        QRect ink;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
        const double lengthMm = alongY ? ink.height() * 25.4 / 600 : ink.width() * 25.4 / 300;
        // The 3-dot outline pen adds up to three dots beyond the truncated corners.
        EXPECT_NEAR(lengthMm, 10.0, 0.3) << alongY;
    }
}

TEST(Printing, OffsetsMoveTheDrawingByTheirMillimetres)
{
    Drawing d;
    const DeviceProperties dev = printerDevice(300, 600);
    RecordingSurface still(dev);
    kov::io::PrintPage(still, d.plot, d.grid, PrintOptions{}, d.passes());
    PrintOptions moved;
    moved.moveX = 5;
    moved.moveY = -3;
    RecordingSurface shifted(dev);
    kov::io::PrintPage(shifted, d.plot, d.grid, moved, d.passes());
    const DeviceRect a = paintedBox(still);
    const DeviceRect b = paintedBox(shifted);
    // Truncated to whole dots.
    EXPECT_EQ(b.left - a.left, 59);  // 5 mm × 300 / 25.4 = 59.06
    EXPECT_EQ(b.top - a.top, -70);   // −3 mm × 600 / 25.4 = −70.87
    // Whatever the layer group's scale.
    d.plot.m_Layer.m_dScale.fill(50);
    RecordingSurface half(dev);
    RecordingSurface halfMoved(dev);
    kov::io::PrintPage(half, d.plot, d.grid, PrintOptions{}, d.passes());
    kov::io::PrintPage(halfMoved, d.plot, d.grid, moved, d.passes());
    EXPECT_NEAR(paintedBox(half).width() * 25.4 / 300, 20.0, 2 * 25.4 / 300);
    EXPECT_EQ(paintedBox(halfMoved).left - paintedBox(half).left, b.left - a.left);
}

TEST(Printing, RangePrintCentresTheRangeWithWhiteAround)
{
    Drawing d;
    PrintOptions range;
    range.printRange = true;
    range.rangeFirst = {0, -100};
    range.rangeSecond = {1000, 100};
    const DeviceProperties dev = printerDevice(300, 600);
    RecordingSurface s(dev);
    kov::io::PrintPage(s, d.plot, d.grid, range, d.passes());
    DeviceTransform t;
    ASSERT_TRUE(kov::io::MakePrintTransform(t, dev, d.plot, range));
    // The range centre (500, 0) falls on the page centre (1240, 3507).
    EXPECT_EQ(ToDevicePoint(CDbPoint(500, 0), t, 0), (DevicePoint{1240, 3507}));
    std::vector<DeviceRect> white;
    for (const RecordedCall& c : s.calls())
        if (c.op == "fillRect") white.push_back(c.rect);
    const DevicePoint p1 = ToDevicePoint(range.rangeFirst, t, 0);
    const DevicePoint p2 = ToDevicePoint(range.rangeSecond, t, 0);
    EXPECT_EQ(white, (std::vector<DeviceRect>{{0, 0, 2480, p1.y},
                                               {0, 0, p1.x, 7015},
                                               {p2.x, 0, 2480, 7015},
                                               {0, p2.y, 2480, 7015}}));
    // Nothing is drawn outside the printable area.
    const auto& calls = s.calls();
    EXPECT_EQ(calls.front().op, "setClipRect");
    EXPECT_EQ(calls.front().rect, dev.area);
    // The drawing is painted first, the white over it.
    const auto firstWhite = std::find_if(calls.begin(), calls.end(), [](const RecordedCall& c) { return c.op == "fillRect"; });
    EXPECT_TRUE(std::none_of(firstWhite, calls.end(), [](const RecordedCall& c) { return c.op == "polygon"; }));
    EXPECT_TRUE(std::any_of(calls.begin(), firstWhite, [](const RecordedCall& c) { return c.op == "polygon"; }));
}

TEST(Printing, GridOnlyWhenAsked)
{
    Drawing d;
    d.grid.colorp = 0x00FF00;
    const DeviceProperties dev = printerDevice(300, 300);
    auto gridCalls = [&](bool print) {
        PrintOptions o;
        o.printGrid = print;
        RecordingSurface s(dev);
        kov::io::PrintPage(s, d.plot, d.grid, o, PrintPasses{});
        return std::count_if(s.calls().begin(), s.calls().end(),
                             [](const RecordedCall& c) { return c.op == "line" && c.pen.color == 0x00FF00; });
    };
    EXPECT_EQ(gridCalls(false), 0);
    EXPECT_GT(gridCalls(true), 0);
}

TEST(Printing, PaperCodesChooseThePrinterPaper)
{
    struct Case {
        int code;
        QPageSize::PageSizeId id;
        QPageLayout::Orientation orientation;
    };
    const Case cases[] = {
        {0, QPageSize::A4, QPageLayout::Landscape},     {6, QPageSize::A4, QPageLayout::Portrait},
        {1, QPageSize::JisB4, QPageLayout::Landscape},  {7, QPageSize::JisB5, QPageLayout::Portrait},
        {14, QPageSize::JisB1, QPageLayout::Landscape}, {19, QPageSize::JisB3, QPageLayout::Portrait},
        {8, QPageSize::Postcard, QPageLayout::Portrait}, {22, QPageSize::Postcard, QPageLayout::Landscape},
        {20, QPageSize::A1, QPageLayout::Portrait},     {12, QPageSize::A5, QPageLayout::Landscape},
        {9, QPageSize::A3, QPageLayout::Portrait},      {16, QPageSize::JisB2, QPageLayout::Landscape},
        // Codes outside the table print on A4 landscape.
        {26, QPageSize::A4, QPageLayout::Landscape},    {-1, QPageSize::A4, QPageLayout::Landscape},
    };
    for (const Case& c : cases) {
        CPlotInfo plot;
        plot.PlotPaperSize = c.code;
        EXPECT_EQ(kov::io::PageSizeForPaper(plot).id(), c.id) << c.code;
        EXPECT_EQ(kov::io::OrientationForPaper(plot), c.orientation) << c.code;
    }
    // Postcard is the Japanese one; photo L, card and the user size are exact custom sizes.
    EXPECT_EQ(QPageSize(QPageSize::Postcard).size(QPageSize::Millimeter), QSizeF(100, 148));
    struct Custom {
        int code;
        int userX, userY;
        QSizeF size;
        QPageLayout::Orientation orientation;
    };
    const Custom customs[] = {{23, 0, 0, {89, 127}, QPageLayout::Landscape},
                              {24, 0, 0, {89, 127}, QPageLayout::Portrait},
                              {25, 0, 0, {55, 91}, QPageLayout::Landscape},
                              {11, 500, 300, {300, 500}, QPageLayout::Landscape}};
    for (const Custom& c : customs) {
        CPlotInfo plot;
        plot.PlotPaperSize = c.code;
        plot.PlotPaperSizeUserX = c.userX;
        plot.PlotPaperSizeUserY = c.userY;
        EXPECT_EQ(kov::io::PageSizeForPaper(plot).size(QPageSize::Millimeter), c.size) << c.code;
        EXPECT_EQ(kov::io::OrientationForPaper(plot), c.orientation) << c.code;
    }
}

TEST(Printing, PdfAtOneToHundredOnA4Measures10mm)
{
    kov::test::TempFolder folder;
    Drawing d;
    const auto plain = folder.file("wall.pdf");
    ASSERT_TRUE(kov::io::PrintToPdf(plain, d.plot, d.grid, PrintOptions{}, d.passes()));
    const QRect ink = kov::test::inkOfPdf(plain).ink;
    ASSERT_FALSE(ink.isEmpty()) << "pdftoppm (poppler-utils) could not rasterise the page";
    // 10 pixels per millimetre on A4 portrait: 2100 × 2970, the wall at the centre.
    // The outline pen adds a little on each side.
    EXPECT_NEAR(ink.width(), 100, 3);
    EXPECT_NEAR(ink.height(), 10, 3);
    EXPECT_NEAR(ink.center().x(), 1050, 2);
    EXPECT_NEAR(ink.center().y(), 1485, 2);

    PrintOptions moved;
    moved.moveX = 5;
    moved.moveY = 12;
    const auto shifted = folder.file("moved.pdf");
    ASSERT_TRUE(kov::io::PrintToPdf(shifted, d.plot, d.grid, moved, d.passes()));
    const QRect inkMoved = kov::test::inkOfPdf(shifted).ink;
    EXPECT_NEAR(inkMoved.left() - ink.left(), 50, 1);
    EXPECT_NEAR(inkMoved.top() - ink.top(), 120, 1);
}
