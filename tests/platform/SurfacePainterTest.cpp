#include "platform/PainterSurface.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QPainterPath>
#include <QPrinter>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

using namespace kov::platform;

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kBlue = 0xFF0000;

QImage paint(int w, int h, const std::function<void(PainterSurface&)>& body, QRgb background = 0xFFFFFFFF)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(background);
    PainterSurface s(img);
    body(s);
    return img;
}

COLORREF at(const QImage& img, int x, int y)
{
    return fromQColor(img.pixelColor(x, y));
}

bool near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(redOf(a) - redOf(b)) <= tolerance && std::abs(greenOf(a) - greenOf(b)) <= tolerance &&
           std::abs(blueOf(a) - blueOf(b)) <= tolerance;
}

// The row y from x0 as runs of "drawn" (not white) and "blank", e.g. "18+6-18+".
std::string runs(const QImage& img, int y, int x0, int x1)
{
    std::string out;
    int len = 0;
    bool drawn = at(img, x0, y) != kWhite;
    for (int x = x0; x <= x1; ++x) {
        const bool d = at(img, x, y) != kWhite;
        if (d != drawn) {
            out += std::to_string(len) + (drawn ? "+" : "-");
            drawn = d;
            len = 0;
        }
        ++len;
    }
    return out + std::to_string(len) + (drawn ? "+" : "-");
}

Pen pen(PenStyle style, int width, COLORREF c = kBlack) { return Pen{style, width, c}; }

Font gothic(int height)
{
    Font f;
    f.faceName = "ＭＳ ゴシック";
    f.height = height;
    return f;
}

// The box around the pixels that are not white.
QRect ink(const QImage& img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (at(img, x, y) != kWhite) r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

TEST(SurfacePainter, ColorRefLowByteIsRed)
{
    const QImage img = paint(4, 4, [](PainterSurface& s) { s.fillRect({0, 0, 4, 4}, Brush::solid(0x0000FF)); });
    EXPECT_EQ(img.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(fromQColor(QColor(0, 0, 255)), 0xFF0000u);
}

TEST(SurfacePainter, RectangleLeavesOutRightAndBottomEdges)
{
    const QImage outlined = paint(12, 10, [](PainterSurface& s) {
        s.rectangle({2, 2, 8, 6}, pen(PenStyle::Solid, 1), Brush::solid(kRed));
    });
    EXPECT_EQ(at(outlined, 2, 2), kBlack);
    EXPECT_EQ(at(outlined, 7, 5), kBlack);  // right-1, bottom-1 carry the outline
    EXPECT_EQ(at(outlined, 8, 5), kWhite);
    EXPECT_EQ(at(outlined, 7, 6), kWhite);
    EXPECT_EQ(at(outlined, 4, 3), kRed);

    // Without a pen the fill is one pixel smaller still, as Windows draws it.
    const QImage bare = paint(12, 10, [](PainterSurface& s) {
        s.rectangle({2, 2, 8, 6}, pen(PenStyle::Null, 1), Brush::solid(kRed));
    });
    EXPECT_EQ(ink(bare), QRect(QPoint(2, 2), QPoint(6, 4)));

    const QImage filled = paint(12, 10, [](PainterSurface& s) { s.fillRect({2, 2, 8, 6}, Brush::solid(kRed)); });
    EXPECT_EQ(ink(filled), QRect(QPoint(2, 2), QPoint(7, 5)));

    // Corners in any order; a one-pixel-wide rectangle is just its outline's column.
    const QImage swapped = paint(12, 10, [](PainterSurface& s) {
        s.rectangle({8, 6, 2, 2}, pen(PenStyle::Solid, 1), Brush::null());
        s.rectangle({10, 1, 11, 9}, pen(PenStyle::Solid, 1), Brush::solid(kRed));
    });
    EXPECT_EQ(at(swapped, 7, 5), kBlack);
    EXPECT_EQ(at(swapped, 8, 6), kWhite);
    EXPECT_EQ(ink(swapped), QRect(QPoint(2, 1), QPoint(10, 8)));
}

TEST(SurfacePainter, CurvedShapesStayInsideTheirBox)
{
    const DeviceRect box{3, 4, 23, 14};
    const Pen thin = pen(PenStyle::Solid, 1);
    const std::vector<std::function<void(PainterSurface&)>> shapes = {
        [&](PainterSurface& s) { s.ellipse(box, thin, Brush::solid(kRed)); },
        [&](PainterSurface& s) { s.pie(box, {23, 9}, {23, 9}, thin, Brush::solid(kRed)); },
        [&](PainterSurface& s) { s.chord(box, {3, 0}, {3, 0}, thin, Brush::solid(kRed)); },
        [&](PainterSurface& s) { s.arc(box, {0, 9}, {0, 9}, thin); },
    };
    for (size_t i = 0; i < shapes.size(); ++i) {
        const QImage img = paint(30, 20, shapes[i]);
        EXPECT_EQ(ink(img), QRect(QPoint(3, 4), QPoint(22, 13))) << i;
    }
}

TEST(SurfacePainter, PolygonFillRules)
{
    const std::vector<DevicePoint> star = {{20, 2}, {32, 36}, {2, 14}, {38, 14}, {8, 36}};
    const QImage alternate = paint(40, 40, [&](PainterSurface& s) {
        s.polygon(star, FillRule::Alternate, pen(PenStyle::Null, 1), Brush::solid(kRed));
    });
    const QImage winding = paint(40, 40, [&](PainterSurface& s) {
        s.polygon(star, FillRule::Winding, pen(PenStyle::Null, 1), Brush::solid(kRed));
    });
    EXPECT_EQ(at(alternate, 20, 20), kWhite);  // the pentagon in the middle is crossed twice
    EXPECT_EQ(at(winding, 20, 20), kRed);
    EXPECT_EQ(at(alternate, 20, 8), kRed);
}

TEST(SurfacePainter, ThinLinesLeaveOutTheLastPixelWideOnesHaveRoundEnds)
{
    const QImage thin = paint(20, 10, [](PainterSurface& s) { s.line({1, 4}, {9, 4}, pen(PenStyle::Solid, 1)); });
    EXPECT_EQ(ink(thin), QRect(QPoint(1, 4), QPoint(8, 4)));

    const QImage wide = paint(45, 25, [](PainterSurface& s) { s.line({10, 10}, {30, 10}, pen(PenStyle::Solid, 15)); });
    EXPECT_EQ(at(wide, 4, 10), kBlack);  // the round cap reaches past the end points
    EXPECT_EQ(at(wide, 36, 10), kBlack);
    EXPECT_EQ(at(wide, 3, 3), kWhite);  // but not into the corners a square cap would fill
    EXPECT_EQ(at(wide, 37, 17), kWhite);
}

TEST(SurfacePainter, ThinBrokenPensUseWindowsPixelPatterns)
{
    struct Case {
        PenStyle style;
        const char* runs;
    };
    const Case cases[] = {
        {PenStyle::Solid, "59+1-"},
        {PenStyle::Dash, "18+6-18+6-11+1-"},
        {PenStyle::Dot, "3+3-3+3-3+3-3+3-3+3-3+3-3+3-3+3-3+3-3+3-"},
        {PenStyle::DashDot, "9+6-3+6-9+6-3+6-9+3-"},
        {PenStyle::DashDotDot, "9+3-3+3-3+3-9+3-3+3-3+3-9+3-"},
    };
    for (const Case& c : cases) {
        const QImage img = paint(60, 3, [&](PainterSurface& s) { s.line({0, 1}, {59, 1}, pen(c.style, 1)); });
        EXPECT_EQ(runs(img, 1, 0, 59), c.runs) << int(c.style);
    }
    // A wider pen draws solid whatever its style.
    const QImage wide = paint(60, 9, [](PainterSurface& s) { s.line({5, 4}, {50, 4}, pen(PenStyle::Dash, 3)); });
    EXPECT_EQ(runs(wide, 4, 10, 45), "36+");
}

TEST(SurfacePainter, OpaqueBackgroundFillsDashAndHatchGaps)
{
    const QImage dash = paint(40, 3, [](PainterSurface& s) {
        s.line({0, 1}, {39, 1}, pen(PenStyle::Dash, 1), Background::opaqueColor(kGreen));
    });
    EXPECT_EQ(at(dash, 5, 1), kBlack);
    EXPECT_EQ(at(dash, 20, 1), kGreen);  // in the 6-pixel gap
    EXPECT_EQ(at(dash, 39, 1), kWhite);  // the last pixel stays out for the gap pen too

    const Brush hatch = Brush::hatched(HatchStyle::Horizontal, kBlue);
    const QImage opaque = paint(16, 16, [&](PainterSurface& s) {
        s.fillRect({0, 0, 16, 16}, hatch, Background::opaqueColor(kGreen));
    });
    const QImage clear = paint(16, 16, [&](PainterSurface& s) { s.fillRect({0, 0, 16, 16}, hatch); });
    EXPECT_EQ(at(opaque, 5, 3), kBlue);
    EXPECT_EQ(at(opaque, 5, 4), kGreen);
    EXPECT_EQ(at(clear, 5, 3), kBlue);
    EXPECT_EQ(at(clear, 5, 4), kWhite);
}

TEST(SurfacePainter, PensAndBrushesKeptForASurfaceAreTheOnesAskedFor)
{
    // A surface keeps the pens and brushes it has made: one differing only in alpha, width or
    // background from one made before must not be taken for it.
    using Draw = std::function<void(PainterSurface&, int)>;  // draws at x offset
    struct Case {
        const char* name;
        Draw first, second;
    } cases[] = {
        {"translucent then opaque fill",
         [](PainterSurface& s, int x) { s.fillRect({x, 0, x + 16, 16}, Brush::solid(kRed, 128)); },
         [](PainterSurface& s, int x) { s.fillRect({x, 0, x + 16, 16}, Brush::solid(kRed)); }},
        {"hatch on an opaque then a clear background",
         [](PainterSurface& s, int x) {
             s.fillRect({x, 0, x + 16, 16}, Brush::hatched(HatchStyle::Cross, kBlue), Background::opaqueColor(kGreen));
         },
         [](PainterSurface& s, int x) { s.fillRect({x, 0, x + 16, 16}, Brush::hatched(HatchStyle::Cross, kBlue)); }},
        {"thin then wide pen",
         [](PainterSurface& s, int x) { s.line({x + 2, 8}, {x + 14, 8}, pen(PenStyle::Solid, 1, kRed)); },
         [](PainterSurface& s, int x) { s.line({x + 2, 8}, {x + 14, 8}, pen(PenStyle::Solid, 3, kRed)); }},
        {"dashes with then without gaps painted",
         [](PainterSurface& s, int x) {
             s.line({x, 8}, {x + 15, 8}, pen(PenStyle::Dot, 1, kRed), Background::opaqueColor(kGreen));
         },
         [](PainterSurface& s, int x) { s.line({x, 8}, {x + 15, 8}, pen(PenStyle::Dot, 1, kRed)); }},
        {"outline pen then none",
         [](PainterSurface& s, int x) { s.rectangle({x + 2, 2, x + 14, 14}, pen(PenStyle::Solid, 2, kBlue), Brush::solid(kGreen)); },
         [](PainterSurface& s, int x) { s.rectangle({x + 2, 2, x + 14, 14}, Pen{PenStyle::Null, 1, 0}, Brush::solid(kGreen)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage both = paint(32, 16, [&](PainterSurface& s) {
            c.first(s, 0);
            c.second(s, 16);
        });
        const QImage alone = paint(32, 16, [&](PainterSurface& s) { c.second(s, 16); });
        EXPECT_EQ(both.copy(16, 0, 16, 16), alone.copy(16, 0, 16, 16));
    }
}

TEST(SurfacePainter, HatchAndPatternCellsAreAnchoredAtTheDeviceOrigin)
{
    QImage cell(8, 8, QImage::Format_RGB32);
    cell.fill(Qt::white);
    cell.setPixelColor(1, 2, Qt::black);
    cell.setPixelColor(6, 5, Qt::black);
    std::vector<Brush> brushes;
    for (int style = 0; style < 6; ++style) brushes.push_back(Brush::hatched(HatchStyle(style), kBlack));
    brushes.push_back(Brush::patterned(cell));
    for (size_t style = 0; style < brushes.size(); ++style) {
        const Brush& hatch = brushes[style];
        const QImage whole = paint(24, 24, [&](PainterSurface& s) { s.fillRect({0, 0, 24, 24}, hatch); });
        const QImage offset = paint(24, 24, [&](PainterSurface& s) { s.fillRect({3, 5, 24, 24}, hatch); });
        int drawn = 0;
        for (int y = 5; y < 24; ++y)
            for (int x = 3; x < 24; ++x) {
                ASSERT_EQ(at(offset, x, y), at(whole, x, y)) << "style " << style << " at " << x << "," << y;
                drawn += at(whole, x, y) == kBlack;
                // One 8x8 cell repeats.
                ASSERT_EQ(at(whole, x, y), at(whole, x % 8, y % 8));
            }
        EXPECT_GT(drawn, 0) << style;
    }
}

TEST(SurfacePainter, HatchStylesRunTheirWay)
{
    struct Case {
        HatchStyle style;
        std::function<bool(int x, int y)> drawn;  // within one 8x8 cell
    };
    auto row = [](int x, int y) { return y == 3; };
    auto column = [](int x, int y) { return x == 4; };
    auto down = [](int x, int y) { return x == y; };  // top left to bottom right
    auto up = [](int x, int y) { return x + y == 7; };
    const Case cases[] = {
        {HatchStyle::Horizontal, row},
        {HatchStyle::Vertical, column},
        {HatchStyle::ForwardDiagonal, down},
        {HatchStyle::BackwardDiagonal, up},
        {HatchStyle::Cross, [&](int x, int y) { return row(x, y) || column(x, y); }},
        {HatchStyle::DiagonalCross, [&](int x, int y) { return down(x, y) || up(x, y); }},
    };
    for (const Case& c : cases) {
        const QImage img = paint(8, 8, [&](PainterSurface& s) { s.fillRect({0, 0, 8, 8}, Brush::hatched(c.style, kBlack)); });
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(at(img, x, y) == kBlack, c.drawn(x, y)) << int(c.style) << " at " << x << "," << y;
    }
}

TEST(SurfacePainter, FocusRectDrawnTwiceRestoresTheImage)
{
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(0xFF336699);
    {
        PainterSurface s(img);
        s.fillRect({5, 5, 20, 15}, Brush::hatched(HatchStyle::DiagonalCross, kRed));
    }
    const QImage before = img;
    {
        PainterSurface s(img);
        s.focusRect({4, 3, 26, 18});
    }
    EXPECT_NE(img, before);
    EXPECT_EQ(img.pixel(4, 4) & 0xFFFFFF, ~before.pixel(4, 4) & 0xFFFFFF);  // inverted
    EXPECT_EQ(img.pixel(26, 4), before.pixel(26, 4));                      // right edge outside
    {
        PainterSurface s(img);
        s.focusRect({26, 18, 4, 3});  // corners in any order
    }
    EXPECT_EQ(img, before);

    // A frame reaching far past the image shows its two rows across it.
    const DeviceRect wide{-1000000000, 5, 1000000000, 15};
    {
        PainterSurface s(img);
        s.focusRect(wide);
    }
    EXPECT_EQ(img.pixel(1, 5) & 0xFFFFFF, ~before.pixel(1, 5) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(0, 14) & 0xFFFFFF, ~before.pixel(0, 14) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(0, 10), before.pixel(0, 10));
    {
        PainterSurface s(img);
        s.focusRect(wide);
    }
    EXPECT_EQ(img, before);
}

TEST(SurfacePainter, ArcEndsOnTheRadialsOfAWideEllipse)
{
    // A 2:1 ellipse; radials at 45 and 135 degrees meet it well away from where the parametric
    // angles 45 and 135 would.
    const DeviceRect box{10, 10, 90, 50};
    const double cx = 49.5, cy = 29.5, a = 39.5, b = 19.5;
    const double r45 = a * b / std::sqrt((a * a + b * b) / 2);
    const QImage img = paint(100, 60, [&](PainterSurface& s) {
        s.arc(box, {int(cx) + 100, int(cy) - 100}, {int(cx) - 100, int(cy) - 100}, pen(PenStyle::Solid, 1));
    });
    auto drawnNear = [&](double x, double y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (at(img, int(std::lround(x)) + dx, int(std::lround(y)) + dy) == kBlack) return true;
        return false;
    };
    auto onEllipse = [&](double deg) {
        const double t = deg * std::numbers::pi / 180;
        const double r = a * b / std::hypot(b * std::cos(t), a * std::sin(t));
        return QPointF(cx + r * std::cos(t), cy - r * std::sin(t));
    };
    EXPECT_TRUE(drawnNear(cx + r45 / std::sqrt(2), cy - r45 / std::sqrt(2)));  // start
    EXPECT_TRUE(drawnNear(cx - r45 / std::sqrt(2), cy - r45 / std::sqrt(2)));  // end
    EXPECT_TRUE(drawnNear(cx, cy - b));                                      // top, counter-clockwise between
    for (double deg : {35.0, 145.0, 0.0, 270.0}) {
        const QPointF p = onEllipse(deg);
        EXPECT_FALSE(drawnNear(p.x(), p.y())) << deg;
    }
}

TEST(SurfacePainter, PieAndChordFillTheirSide)
{
    const DeviceRect box{0, 0, 41, 41};
    const QImage pie = paint(41, 41, [&](PainterSurface& s) {
        s.pie(box, {40, 20}, {20, 0}, pen(PenStyle::Null, 1), Brush::solid(kRed));  // the upper right quarter
    });
    EXPECT_EQ(at(pie, 28, 12), kRed);
    EXPECT_EQ(at(pie, 12, 12), kWhite);
    EXPECT_EQ(at(pie, 28, 28), kWhite);

    const QImage chord = paint(41, 41, [&](PainterSurface& s) {
        s.chord(box, {40, 20}, {20, 0}, pen(PenStyle::Null, 1), Brush::solid(kRed));
    });
    EXPECT_EQ(at(chord, 31, 9), kRed);
    EXPECT_EQ(at(chord, 24, 16), kWhite);  // between the chord and the centre
}

TEST(SurfacePainter, ClipRectangleCutsUntilCleared)
{
    const QImage img = paint(20, 20, [](PainterSurface& s) {
        s.setClipRect({0, 0, 10, 10});
        s.fillRect({0, 0, 20, 20}, Brush::solid(kRed));
        s.clearClip();
        s.fillRect({15, 15, 20, 20}, Brush::solid(kBlue));
    });
    EXPECT_EQ(at(img, 9, 9), kRed);
    EXPECT_EQ(at(img, 10, 9), kWhite);
    EXPECT_EQ(at(img, 9, 10), kWhite);
    EXPECT_EQ(at(img, 16, 16), kBlue);
}

TEST(SurfacePainter, LinearGradientEndsHaveTheTwoColours)
{
    struct Case {
        double angle;
        QPoint first, last;
    };
    const Case cases[] = {
        {0, {0, 10}, {99, 10}},
        {90, {50, 0}, {50, 19}},
        {180, {99, 10}, {0, 10}},
    };
    for (const Case& c : cases) {
        LinearGradient g;
        g.box = {0, 0, 100, 20};
        g.from = kRed;
        g.to = kBlue;
        g.angleDegrees = c.angle;
        const QImage img = paint(100, 20, [&](PainterSurface& s) {
            s.fillLinearGradient(FillShape::rect({0, 0, 100, 20}), g);
        });
        EXPECT_TRUE(near(at(img, c.first.x(), c.first.y()), kRed, 16)) << c.angle;
        EXPECT_TRUE(near(at(img, c.last.x(), c.last.y()), kBlue, 16)) << c.angle;
    }
}

TEST(SurfacePainter, PathGradientRunsFromTheCentreToTheBoundary)
{
    PathGradient g;
    g.centerColor = kWhite;
    g.surroundColor = kBlue;

    g.boundary = {{0, 0}, {60, 0}, {60, 40}, {0, 40}};
    const QImage poly = paint(60, 40, [&](PainterSurface& s) {
        s.fillPathGradient(FillShape::polygon(g.boundary), g);
    }, 0xFF000000);
    EXPECT_TRUE(near(at(poly, 30, 20), kWhite, 16));
    EXPECT_TRUE(near(at(poly, 30, 0), kBlue, 16));
    EXPECT_TRUE(near(at(poly, 0, 20), kBlue, 16));

    g.ellipse = true;
    g.ellipseBox = {0, 0, 60, 40};
    g.focusScale = 0.5;
    const QImage oval = paint(60, 40, [&](PainterSurface& s) {
        s.fillPathGradient(FillShape::ellipse(g.ellipseBox), g);
    }, 0xFF000000);
    EXPECT_TRUE(near(at(oval, 30, 20), kWhite, 8));
    EXPECT_TRUE(near(at(oval, 38, 20), kWhite, 8));  // inside the focus the centre colour holds
    EXPECT_TRUE(near(at(oval, 0, 20), kBlue, 24));
    EXPECT_EQ(at(oval, 1, 1), kBlack);  // outside the ellipse

    // Half opacity over black halves the colour once, also where fan triangles meet.
    g.ellipse = false;
    g.opacity = 0.5;
    g.surroundColor = kWhite;
    const QImage faint = paint(60, 40, [&](PainterSurface& s) {
        s.fillPathGradient(FillShape::polygon(g.boundary), g);
    }, 0xFF000000);
    for (QPoint p : {QPoint(30, 20), QPoint(20, 10), QPoint(45, 30)})
        EXPECT_TRUE(near(at(faint, p.x(), p.y()), 0x808080, 2)) << p.x() << "," << p.y();

    // A shape zoomed far past the device still shows its middle, inside the clip only.
    g.opacity = 1;
    g.surroundColor = kBlue;
    g.boundary = {{-99970, -99980}, {100030, -99980}, {100030, 100020}, {-99970, 100020}};
    const QImage huge = paint(60, 40, [&](PainterSurface& s) {
        s.setClipRect({0, 0, 40, 40});
        s.fillPathGradient(FillShape::polygon(g.boundary), g);
    }, 0xFF000000);
    EXPECT_TRUE(near(at(huge, 30, 20), kWhite, 8));
    EXPECT_EQ(at(huge, 50, 20), kBlack);
}

TEST(SurfacePainter, ImageByThreePointsLandsWhereAsked)
{
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QImage straight = paint(60, 60, [&](PainterSurface& s) {
        s.drawImage(red, {20, 20}, {40, 20}, {20, 30});
    });
    EXPECT_EQ(ink(straight), QRect(20, 20, 20, 10));
    EXPECT_EQ(at(straight, 30, 25), kRed);

    // A quarter turn clockwise: the top edge runs down the screen.
    const QImage turned = paint(60, 60, [&](PainterSurface& s) {
        s.drawImage(red, {50, 10}, {50, 30}, {40, 10});
    });
    EXPECT_EQ(ink(turned), QRect(40, 10, 10, 20));

    // Half the picture by its source rectangle.
    QImage halves(10, 10, QImage::Format_RGB32);
    halves.fill(Qt::blue);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 5; ++x) halves.setPixelColor(x, y, Qt::red);
    const QImage part = paint(60, 60, [&](PainterSurface& s) {
        s.drawImage(halves, {0, 0}, {20, 0}, {0, 20}, QRectF(0, 0, 5, 10));
    });
    EXPECT_EQ(at(part, 18, 10), kRed);
    EXPECT_EQ(ink(part), QRect(0, 0, 20, 20));
}

TEST(SurfacePainter, TextExtentGrowsWithCharacterSpacing)
{
    QImage img(10, 10, QImage::Format_RGB32);
    PainterSurface s(img);
    const Font f = gothic(-20);
    const TextSize plain = s.textExtent("AB漢字", f);
    const TextSize spaced = s.textExtent("AB漢字", f, 3);
    EXPECT_EQ(spaced.cx, plain.cx + 4 * 3);
    EXPECT_EQ(spaced.cy, plain.cy);
    EXPECT_EQ(s.textExtent("漢字", f).cx, 40);  // full-width characters are one em wide
    EXPECT_EQ(s.textExtent("", f).cx, 0);
    // A damaged spacing is bounded rather than wrapping round.
    EXPECT_EQ(s.textExtent("AB", f, std::numeric_limits<int>::max()).cx, std::numeric_limits<int>::max());
}

TEST(SurfacePainter, TextAlignsOnItsReferencePoint)
{
    struct Case {
        TextHAlign h;
        TextVAlign v;
        bool inkLeft, inkAbove;
    };
    const Case cases[] = {
        {TextHAlign::Left, TextVAlign::Top, false, false},
        {TextHAlign::Right, TextVAlign::Bottom, true, true},
        {TextHAlign::Right, TextVAlign::Top, true, false},
        {TextHAlign::Left, TextVAlign::Bottom, false, true},
    };
    const QPoint ref(60, 40);
    for (const Case& c : cases) {
        TextStyle style;
        style.font = gothic(-20);
        style.hAlign = c.h;
        style.vAlign = c.v;
        const QImage img = paint(120, 80, [&](PainterSurface& s) { s.textOut({ref.x(), ref.y()}, "漢字", style); });
        const QRect box = ink(img);
        ASSERT_FALSE(box.isEmpty());
        EXPECT_EQ(box.right() < ref.x() + 1, c.inkLeft) << box.x() << "," << box.y();
        EXPECT_EQ(box.left() >= ref.x() - 1, !c.inkLeft);
        EXPECT_EQ(box.bottom() < ref.y() + 1, c.inkAbove);
        EXPECT_EQ(box.top() >= ref.y() - 1, !c.inkAbove);
    }

    // Centred and turned a quarter counter-clockwise: the text runs upwards through the point.
    TextStyle up;
    up.font = gothic(-20);
    up.font.escapement = 900;
    up.hAlign = TextHAlign::Center;
    up.vAlign = TextVAlign::Baseline;
    const QImage img = paint(120, 80, [&](PainterSurface& s) { s.textOut({60, 40}, "漢字", up); });
    const QRect box = ink(img);
    EXPECT_GT(box.height(), box.width());
    EXPECT_LT(box.top(), 40 - 10);
    EXPECT_GT(box.bottom(), 40 + 10);
    EXPECT_LT(box.right(), 60 + 2);
}

TEST(SurfacePainter, AtFaceWritesDownwardsWithUprightCharacters)
{
    // Turned to 270 degrees, the cell lies left of the baseline that runs down from the point.
    TextStyle style;
    style.font = gothic(-20);
    style.font.faceName = "@ＭＳ ゴシック";
    style.font.escapement = 2700;
    const QImage img = paint(60, 120, [&](PainterSurface& s) { s.textOut({40, 10}, "縦書き", style); });
    const QRect box = ink(img);
    EXPECT_GT(box.height(), 2 * box.width());
    EXPECT_LE(box.right(), 40);
    EXPECT_GE(box.left(), 40 - 22);
    EXPECT_GE(box.top(), 10);
    EXPECT_LE(box.bottom(), 10 + 60 + 1);

    // The same characters upright in a plain face come out as a row turned on its side: a
    // character's ink differs between the two.
    style.font.faceName = "ＭＳ ゴシック";
    const QImage plain = paint(60, 120, [&](PainterSurface& s) { s.textOut({40, 10}, "縦書き", style); });
    EXPECT_NE(img, plain);

    TextPath text;
    text.text = "縦書き";
    text.font = style.font;
    text.font.faceName = "@ＭＳ ゴシック";
    QImage probe(1, 1, QImage::Format_RGB32);
    const DeviceRectF b = PainterSurface(probe).textPathBounds(text);
    EXPECT_GT(b.height, 2 * b.width);
}

TEST(SurfacePainter, OpaqueTextBackgroundFillsTheCell)
{
    TextStyle style;
    style.font = gothic(20);
    style.background = Background::opaqueColor(kGreen);
    style.charExtra = 2;
    QImage probe(1, 1, QImage::Format_RGB32);
    const TextSize size = PainterSurface(probe).textExtent("  ", style.font, 2);
    const QImage img = paint(80, 40, [&](PainterSurface& s) { s.textOut({10, 5}, "  ", style); });
    EXPECT_EQ(ink(img), QRect(10, 5, size.cx, size.cy));
    EXPECT_EQ(size.cy, 20);
    EXPECT_EQ(at(img, 10, 5), kGreen);
}

TEST(SurfacePainter, TextPathIsFilledAndWarpedOntoItsQuadrilateral)
{
    QImage probe(1, 1, QImage::Format_RGB32);
    TextPath text;
    text.anchor = {10, 10};
    text.text = "漢字";
    text.font = gothic(-30);
    text.fillColor = kRed;
    text.outlineColor = kBlue;
    text.penWidth = 2;
    const DeviceRectF b = PainterSurface(probe).textPathBounds(text);
    EXPECT_GT(b.width, 40);
    EXPECT_GT(b.height, 20);

    const QImage flat = paint(100, 60, [&](PainterSurface& s) { s.drawTextPath(text); });
    const QRect flatInk = ink(flat);
    EXPECT_TRUE(QRectF(b.x - 1, b.y - 1, b.width + 2, b.height + 2).contains(QRectF(flatInk)));

    // The upper edge pulled in to a quarter of the width: nothing stays in the top corners.
    text.warp = std::array<DevicePointF, 4>{
        DevicePointF{b.x + b.width * 3 / 8, b.y}, DevicePointF{b.x + b.width * 5 / 8, b.y},
        DevicePointF{b.x, b.y + b.height}, DevicePointF{b.x + b.width, b.y + b.height}};
    const QImage warped = paint(100, 60, [&](PainterSurface& s) { s.drawTextPath(text); });
    for (int y = int(b.y); y < int(b.y + b.height / 4); ++y)
        for (int x = int(b.x); x < int(b.x + b.width / 5); ++x) ASSERT_EQ(at(warped, x, y), kWhite) << x << "," << y;
    EXPECT_FALSE(ink(warped).isEmpty());
}

TEST(SurfacePainter, DeviceTellsScreenFromPrinter)
{
    QImage img(64, 32, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);  // 96 dpi
    img.setDotsPerMeterY(7559);
    {
        PainterSurface s(img);
        const DeviceProperties d = s.device();
        EXPECT_FALSE(d.isPrinting);
        EXPECT_FALSE(d.isOutput);
        EXPECT_EQ(d.dpiX, 96);
        EXPECT_EQ(d.dpiY, 192);
        EXPECT_EQ(d.area, (DeviceRect{0, 0, 64, 32}));
    }
    {
        PainterSurface s(img, {.isPrinting = false, .isOutput = true});
        EXPECT_TRUE(s.device().isOutput);
    }
    kov::test::TempFolder folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(folder.file("page.pdf").string()));
    PainterSurface page(printer);
    EXPECT_TRUE(page.device().isPrinting);
    EXPECT_TRUE(page.device().isOutput);
    EXPECT_EQ(page.device().dpiX, printer.resolution());
}

TEST(SurfacePainter, OnePixelLinesLeaveOutTheirEndWhicheverWayTheyRun)
{
    struct Row {
        const char* name;
        DevicePoint from, to;
        int pixels;  // the end point left out
    };
    const Row rows[] = {
        {"rightwards", {2, 5}, {10, 5}, 8}, {"leftwards", {10, 5}, {2, 5}, 8},
        {"downwards", {5, 2}, {5, 10}, 8},  {"upwards", {5, 10}, {5, 2}, 8},
        {"down right", {1, 1}, {11, 5}, 10}, {"up left", {11, 5}, {1, 1}, 10},
        {"up right", {1, 9}, {11, 3}, 10},  {"down left", {11, 3}, {1, 9}, 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (PenStyle style : {PenStyle::Solid, PenStyle::Dot}) {
            const QImage img = paint(14, 14, [&](PainterSurface& s) { s.line(row.from, row.to, {style, 1, 0}); });
            EXPECT_EQ(at(img, row.from.x, row.from.y), 0x000000u);
            EXPECT_EQ(at(img, row.to.x, row.to.y), kWhite);
            if (style != PenStyle::Solid) continue;
            int drawn = 0;
            for (int y = 0; y < 14; ++y)
                for (int x = 0; x < 14; ++x) drawn += at(img, x, y) != kWhite ? 1 : 0;
            EXPECT_EQ(drawn, row.pixels);
        }
    }
    // Closed outlines draw every corner, the bottom-right one too.
    const QImage rect = paint(12, 12, [](PainterSurface& s) { s.rectangle({1, 1, 9, 7}, {PenStyle::Solid, 1, 0}, Brush::null()); });
    const QImage poly = paint(12, 12, [](PainterSurface& s) {
        const DevicePoint pts[] = {{1, 1}, {8, 1}, {8, 6}, {1, 6}};
        s.polygon(pts, FillRule::Alternate, {PenStyle::Solid, 1, 0}, Brush::solid(kGreen));
    });
    for (const QImage* img : {&rect, &poly}) {
        for (DevicePoint c : {DevicePoint{1, 1}, DevicePoint{8, 1}, DevicePoint{8, 6}, DevicePoint{1, 6}})
            EXPECT_EQ(at(*img, c.x, c.y), 0x000000u) << c.x << "," << c.y;
        EXPECT_EQ(at(*img, 9, 6), kWhite);
        EXPECT_EQ(at(*img, 8, 7), kWhite);
    }
}

TEST(SurfacePainter, HugeCirclesStayOnTheirOutlineWhereTheyShow)
{
    // A circle of radius 20,000 pixels passing through the picture at 30 degrees from its top,
    // where Qt's own flattening strays furthest: the first drawn pixel of each column lies within
    // a pixel of the true curve, for the outline, the filled circle and an arc through there.
    const double r = 20000, angle = 30 * std::numbers::pi / 180;
    const double cx = 50 - r * std::sin(angle), cy = 30 + r * std::cos(angle);
    const DeviceRect box{int(std::floor(cx - r)), int(std::floor(cy - r)), int(std::floor(cx + r)) + 1,
                         int(std::floor(cy + r)) + 1};
    const double ex = (box.left + box.right - 0.5) / 2, ey = (box.top + box.bottom - 0.5) / 2;
    const double er = (box.right - box.left - 0.5) / 2;
    const DevicePoint far{int(cx + 3 * r * std::sin(angle + 0.01)), int(cy - 3 * r * std::cos(angle + 0.01))};
    const DevicePoint near{int(cx + 3 * r * std::sin(angle - 0.01)), int(cy - 3 * r * std::cos(angle - 0.01))};
    const std::vector<std::pair<const char*, std::function<void(PainterSurface&)>>> shapes = {
        {"outline", [&](PainterSurface& s) { s.ellipse(box, {PenStyle::Solid, 1, 0}, Brush::null()); }},
        {"filled", [&](PainterSurface& s) { s.ellipse(box, {PenStyle::Null, 0, 0}, Brush::solid(kGreen)); }},
        {"arc", [&](PainterSurface& s) { s.arc(box, far, near, {PenStyle::Solid, 1, 0}); }},
    };
    for (const auto& [name, draw] : shapes) {
        SCOPED_TRACE(name);
        const QImage img = paint(100, 60, draw);
        for (int x = 5; x < 100; x += 9) {
            const double curveY = ey - std::sqrt(er * er - (x + 0.5 - ex) * (x + 0.5 - ex));
            int top = -1;
            for (int y = 0; y < 60 && top < 0; ++y)
                if (at(img, x, y) != kWhite) top = y;
            ASSERT_GE(top, 0) << x;
            EXPECT_NEAR(top + 0.5, curveY, 1.25) << x;
        }
    }
}

TEST(SurfacePainter, TwoAndThreePixelLinesCoverTheirBand)
{
    // Narrow lines are square-ended bands: against Qt's stroke of the same band at most a pixel in
    // ten differs.
    const std::vector<std::pair<DevicePoint, DevicePoint>> lines = {
        {{5, 20}, {35, 20}}, {{20, 5}, {20, 35}}, {{5, 5}, {35, 35}}, {{35, 8}, {6, 30}}, {{10, 36}, {18, 4}}};
    for (int width : {2, 3}) {
        for (const auto& [a, b] : lines) {
            SCOPED_TRACE(std::to_string(width) + " px from " + std::to_string(a.x) + "," + std::to_string(a.y));
            const QImage ours = paint(40, 40, [&](PainterSurface& s) { s.line(a, b, {PenStyle::Solid, width, 0}); });
            const QImage qt = paint(40, 40, [&](PainterSurface& s) {
                QPen pen(Qt::black, width, Qt::SolidLine, Qt::SquareCap);
                s.painter().setPen(pen);
                s.painter().drawLine(a.x, a.y, b.x, b.y);
            });
            int inked = 0, differ = 0;
            for (int y = 0; y < 40; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const bool o = at(ours, x, y) != kWhite, q = at(qt, x, y) != kWhite;
                    inked += q ? 1 : 0;
                    differ += o != q ? 1 : 0;
                }
            }
            EXPECT_LE(differ * 10, inked);
        }
    }
}

TEST(SurfacePainter, LinesWrittenStraightIntoThePictureMatchQtsOwn)
{
    // A 32-bit picture takes the batched 1-pixel lines straight into its memory; a 24-bit one
    // goes through Qt. Both must show the same pixels, clipped or moved by the painter alike.
    auto body = [](PainterSurface& s) {
        const Pen red{PenStyle::Solid, 1, kRed}, blue{PenStyle::Solid, 1, kBlue};
        s.line({2, 3}, {57, 41}, red);
        s.line({50, 2}, {-20, 30}, blue);
        s.line({30, 45}, {30, -5}, red);
        s.line({-10, 20}, {70, 20}, blue);
        const DevicePoint star[] = {{10, 10}, {50, 15}, {20, 40}, {30, 2}, {45, 38}};
        s.polygon(star, FillRule::Alternate, red, Brush::solid(kGreen));
        s.rectangle({8, 30, 40, 44}, blue, Brush::null());
    };
    struct Case {
        const char* name;
        std::function<void(PainterSurface&)> setUp;
    } cases[] = {
        {"plain", [](PainterSurface&) {}},
        {"clipped", [](PainterSurface& s) { s.setClipRect({6, 5, 41, 33}); }},
        {"clipped then free", [](PainterSurface& s) {
             s.setClipRect({6, 5, 41, 33});
             s.line({0, 0}, {59, 44}, {PenStyle::Solid, 1, kGreen});
             s.clearClip();
         }},
        {"moved", [](PainterSurface& s) { s.painter().translate(3, -2); }},
        {"clipped to a path", [](PainterSurface& s) {
             QPainterPath round;
             round.addEllipse(QRectF(5, 5, 40, 30));
             s.painter().setClipPath(round);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto draw = [&](QImage::Format format) {
            QImage img(60, 45, format);
            img.fill(Qt::white);
            {
                PainterSurface s(img);
                c.setUp(s);
                body(s);
            }
            return img.convertToFormat(QImage::Format_RGB32);
        };
        const QImage direct = draw(QImage::Format_RGB32), throughQt = draw(QImage::Format_RGB888);
        int differ = 0;
        for (int y = 0; y < direct.height(); ++y)
            for (int x = 0; x < direct.width(); ++x) differ += direct.pixel(x, y) != throughQt.pixel(x, y) ? 1 : 0;
        EXPECT_EQ(differ, 0);
    }
}

TEST(SurfacePainter, OutlinesDrawnThroughAWindowAreThoseOfTheWholePicture)
{
    // A band of the view strokes only the part of an outline that can show in it; what shows
    // is what the whole picture has there, whichever corner or curve the band cuts through.
    const DevicePoint star[] = {{20, 30}, {150, 10}, {60, 110}, {90, 2}, {140, 100}};
    const DevicePoint square[] = {{5, 20}, {150, 20}, {150, 100}, {10, 100}, {10, 30}};
    const std::vector<std::pair<const char*, std::function<void(Surface&, int)>>> shapes = {
        {"circle", [](Surface& s, int w) { s.ellipse({30, 15, 130, 105}, pen(PenStyle::Solid, w), Brush::null()); }},
        {"filled ellipse", [](Surface& s, int w) { s.ellipse({10, 40, 150, 90}, pen(PenStyle::Solid, w, kRed), Brush::solid(kGreen)); }},
        {"arc", [](Surface& s, int w) { s.arc({20, 10, 140, 110}, {150, 20}, {10, 100}, pen(PenStyle::Solid, w)); }},
        {"pie", [](Surface& s, int w) { s.pie({20, 10, 140, 110}, {150, 60}, {80, 0}, pen(PenStyle::Solid, w), Brush::solid(kBlue)); }},
        {"chord", [](Surface& s, int w) { s.chord({20, 10, 140, 110}, {10, 30}, {150, 90}, pen(PenStyle::Solid, w), Brush::null()); }},
        {"star", [&](Surface& s, int w) { s.polygon(star, FillRule::Winding, pen(PenStyle::Solid, w), Brush::null()); }},
        {"rectangle", [](Surface& s, int w) { s.rectangle({25, 25, 135, 95}, pen(PenStyle::Solid, w, kRed), Brush::null()); }},
        // Each line of a wide polyline is its own stroke; slanted ones start their edges afresh
        // at a window's top, so only level and upright ones are asked to match to the pixel.
        {"level and upright lines", [&](Surface& s, int w) { s.polyline(square, pen(PenStyle::Solid, w)); }},
    };
    const DeviceRect windows[] = {{0, 0, 160, 40}, {0, 40, 80, 120}, {80, 40, 160, 120}, {48, 24, 72, 56}, {0, 96, 160, 120}};
    for (const auto& [name, draw] : shapes) {
        for (int width : {1, 2, 3, 6}) {
            SCOPED_TRACE(std::string(name) + ", " + std::to_string(width) + " px");
            const QImage whole = paint(160, 120, [&](PainterSurface& s) { draw(s, width); });
            for (const DeviceRect& w : windows) {
                QImage part(w.width(), w.height(), QImage::Format_RGB32);
                part.fill(Qt::white);
                {
                    PainterSurfaceOptions options;
                    options.origin = {w.left, w.top};
                    PainterSurface s(part, options);
                    draw(s, width);
                }
                int differ = 0;
                for (int y = 0; y < w.height(); ++y)
                    for (int x = 0; x < w.width(); ++x) differ += part.pixel(x, y) != whole.pixel(x + w.left, y + w.top);
                EXPECT_EQ(differ, 0) << "window " << w.left << "," << w.top;
            }
        }
    }
}
