#include "render/RubberBands.h"

#include "model/PlotInfo.h"
#include "platform/PainterSurface.h"
#include "platform/RecordingSurface.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <string>
#include <vector>

using kov::platform::PenStyle;
using kov::platform::RecordedCall;
using kov::platform::RecordingSurface;
using kov::render::BuildParallelChains;
using kov::render::OffsetSegment;

namespace {

DeviceTransform unitTransform()
{
    DeviceTransform t;
    t.originX = 100;
    t.originY = 100;
    t.scaleX.fill(1.0);
    t.scaleY.fill(1.0);
    return t;
}

RecordingSurface screenSurface()
{
    kov::platform::DeviceProperties d;
    d.area = {0, 0, 400, 400};
    return RecordingSurface(d);
}

std::string str(const CDbPoint& p)
{
    auto n = [](double v) { return std::to_string(std::lround(v * 100) / 100.0).substr(0, 7); };
    return "(" + n(p.x) + "," + n(p.y) + ")";
}

std::vector<std::string> describe(const std::vector<OffsetSegment>& chain)
{
    std::vector<std::string> out;
    for (const OffsetSegment& s : chain) out.push_back(str(s.start) + "-" + str(s.end));
    return out;
}

std::vector<std::string> expect(std::initializer_list<std::pair<CDbPoint, CDbPoint>> segs)
{
    std::vector<std::string> out;
    for (const auto& [a, b] : segs) out.push_back(str(a) + "-" + str(b));
    return out;
}

} // namespace

TEST(RubberBands, FocusRectangleInAnyOrderAndGoneWhenDrawnTwice)
{
    RecordingSurface s;
    kov::render::DrawFocusRectBetween(s, 50, 40, 10, 20);
    kov::render::DrawFocusRectBetween(s, 10, 20, 50, 40);
    ASSERT_EQ(s.calls().size(), 2u);
    EXPECT_EQ(s.calls()[0].rect, (DeviceRect{10, 20, 50, 40}));
    EXPECT_EQ(s.calls()[1].rect, s.calls()[0].rect);

    QImage frame(64, 48, QImage::Format_RGB32);
    frame.fill(qRgb(30, 160, 90));
    const QImage before = frame.copy();
    {
        kov::platform::PainterSurface dc(frame);
        kov::render::DrawFocusRectBetween(dc, 50, 40, 10, 20);
    }
    EXPECT_NE(frame, before);
    {
        kov::platform::PainterSurface dc(frame);
        kov::render::DrawFocusRectBetween(dc, 10, 20, 50, 40);
    }
    EXPECT_EQ(frame, before);
}

TEST(RubberBands, PointChainInThePolygonStyle)
{
    struct Case {
        std::string name;
        int blackAndWhite;
        std::uint32_t colour;
        int lineType;
        std::uint32_t penColour;
        PenStyle style;
        int width;
    };
    const Case cases[] = {
        {"slot colour and screen width", 0, 0x0000FF, 0, 0x0000FF, PenStyle::Solid, 2},
        {"black in black and white mode", 1, 0x0000FF, 0, 0x000000, PenStyle::Solid, 2},
        {"white stays white", 1, 0xFFFFFF, 0, 0xFFFFFF, PenStyle::Solid, 2},
        {"auxiliary line dotted one pixel", 0, 0x00FF00, 5, 0x00FF00, PenStyle::Dot, 1},
    };
    for (const Case& c : cases) {
        CPlotInfo plot;
        plot.PlotSirokuro = c.blackAndWhite;
        plot.PlotColor[2] = c.colour;
        plot.PlotLineType[2] = c.lineType;
        plot.PlotLineWide[2] = 2;  // two screen pixels
        RecordingSurface s = screenSurface();
        kov::render::DrawPolygonChainPreview(s, unitTransform(), {{0, 0}, {50, 0}}, {50, 40}, plot);
        ASSERT_EQ(s.calls().size(), 2u) << c.name;
        EXPECT_EQ(s.calls()[0].points, (std::vector<DevicePoint>{{100, 100}, {150, 100}})) << c.name;
        EXPECT_EQ(s.calls()[1].points, (std::vector<DevicePoint>{{150, 100}, {150, 140}})) << c.name;
        for (const RecordedCall& call : s.calls()) {
            EXPECT_EQ(call.pen.color, c.penColour) << c.name;
            EXPECT_EQ(call.pen.style, c.style) << c.name;
            EXPECT_EQ(call.pen.width, c.width) << c.name;
        }
    }
    RecordingSurface none = screenSurface();
    kov::render::DrawPolygonChainPreview(none, unitTransform(), {}, {50, 40}, CPlotInfo());
    EXPECT_TRUE(none.calls().empty());
}

TEST(RubberBands, ParallelChains)
{
    struct Case {
        std::string name;
        CDbPointArray points;
        CDbPoint pointer;
        std::vector<std::string> left;
        std::vector<std::string> right;
    };
    const double r = 10 / std::sqrt(2.0);
    const Case cases[] = {
        {"L shape mitred", {{0, 0}, {100, 0}}, {100, 100},
         expect({{{0, -10}, {110, -10}}, {{110, -10}, {110, 100}}}),
         expect({{{0, 20}, {80, 20}}, {{80, 20}, {80, 100}}})},
        {"doubling back stays unjoined", {{0, 0}, {100, 0}}, {50, 0},
         expect({{{0, -10}, {100, -10}}, {{100, 10}, {50, 10}}}),
         expect({{{0, 20}, {100, 20}}, {{100, -20}, {50, -20}}})},
        {"pointer on the last point adds nothing", {{0, 0}, {100, 0}}, {100, 0},
         expect({{{0, -10}, {100, -10}}}), expect({{{0, 20}, {100, 20}}})},
        {"sloped segment offset along its normal", {{0, 0}}, {100, 100},
         expect({{{r, -r}, {100 + r, 100 - r}}}), expect({{{-2 * r, 2 * r}, {100 - 2 * r, 100 + 2 * r}}})},
        {"upward segment", {{0, 100}}, {0, 0}, expect({{{-10, 100}, {-10, 0}}}), expect({{{20, 100}, {20, 0}}})},
    };
    for (const Case& c : cases) {
        const auto chains = BuildParallelChains(c.points, c.pointer, 10, 20);
        EXPECT_EQ(describe(chains.left), c.left) << c.name;
        EXPECT_EQ(describe(chains.right), c.right) << c.name;
    }
}

TEST(RubberBands, ParallelPreviewIsRedOnePixel)
{
    RecordingSurface s = screenSurface();
    CPlotInfo plot;
    plot.m_Layer.m_nCurrentGroup = 3;
    DeviceTransform t = unitTransform();
    t.scaleX[3] = t.scaleY[3] = 0.5;
    kov::render::DrawParallelPolylinesPreview(s, t, {{0, 0}, {100, 0}}, {100, 100}, plot, 10, 20);
    ASSERT_EQ(s.calls().size(), 4u);
    for (const RecordedCall& c : s.calls()) {
        EXPECT_EQ(c.pen.color, 0x0000FFu);
        EXPECT_EQ(c.pen.width, 1);
        EXPECT_EQ(c.pen.style, PenStyle::Solid);
    }
    // The current layer group's scale: (110, −10) → (155, 96): −4.99 truncates toward zero.
    EXPECT_EQ(s.calls()[0].points[1], (DevicePoint{155, 96}));
}
