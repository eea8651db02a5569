#include "platform/EmfSurface.h"
#include "platform/PainterSurface.h"
#include "platform/TextOutline.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace kov::platform {
namespace {

using E = EmfSurface;

struct Rec {
    uint32_t type = 0;
    QByteArray data;  // the whole record, header included
    uint32_t u32(int offset) const
    {
        uint32_t v;
        std::memcpy(&v, data.constData() + offset, 4);
        return v;
    }
    int32_t i32(int offset) const { return static_cast<int32_t>(u32(offset)); }
    uint16_t u16(int offset) const
    {
        uint16_t v;
        std::memcpy(&v, data.constData() + offset, 2);
        return v;
    }
    std::u16string utf16(int offset, int units) const
    {
        std::u16string s;
        for (int i = 0; i < units; ++i) s += static_cast<char16_t>(u16(offset + 2 * i));
        return s;
    }
};

// Splits a metafile into its records, checking the framing every reader relies on.
std::vector<Rec> records(const QByteArray& file)
{
    std::vector<Rec> out;
    qsizetype pos = 0;
    while (pos + 8 <= file.size()) {
        Rec r;
        std::memcpy(&r.type, file.constData() + pos, 4);
        uint32_t size;
        std::memcpy(&size, file.constData() + pos + 4, 4);
        EXPECT_EQ(size % 4, 0u) << "record " << r.type;
        EXPECT_GE(size, 8u);
        if (size < 8 || pos + size > file.size()) {
            ADD_FAILURE() << "record " << r.type << " overruns the file";
            break;
        }
        r.data = file.mid(pos, size);
        out.push_back(r);
        pos += size;
    }
    EXPECT_EQ(pos, file.size());
    return out;
}

std::vector<Rec> body(const std::vector<Rec>& all)
{
    return std::vector<Rec>(all.begin() + 1, all.end() - 1);
}

std::vector<Rec> ofType(const std::vector<Rec>& all, uint32_t type)
{
    std::vector<Rec> out;
    for (const Rec& r : all)
        if (r.type == type) out.push_back(r);
    return out;
}

std::vector<uint32_t> types(const std::vector<Rec>& all)
{
    std::vector<uint32_t> out;
    for (const Rec& r : all) out.push_back(r.type);
    return out;
}

TEST(EmfSurface, FileHasHeaderRecordsAndEnd)
{
    EmfSurface s(960, 480);
    s.rectangle({10, 20, 110, 70}, Pen{}, Brush::null());
    QByteArray file = s.finish();
    std::vector<Rec> all = records(file);
    ASSERT_GE(all.size(), 3u);

    const Rec& h = all.front();
    EXPECT_EQ(h.type, E::EMR_HEADER);
    EXPECT_EQ(h.u32(40), 0x464D4520u);  // signature
    EXPECT_EQ(h.u32(48), static_cast<uint32_t>(file.size()));
    EXPECT_EQ(h.u32(52), static_cast<uint32_t>(all.size()));
    EXPECT_EQ(h.u16(56), 4);
    // Frame in 0.01 mm from 96 dpi: 960 px are 254 mm.
    EXPECT_EQ(h.i32(24), 0);
    EXPECT_EQ(h.i32(32), 25400);
    EXPECT_EQ(h.i32(36), 12700);
    // Bounds: the rectangle.
    EXPECT_EQ(h.i32(8), 10);
    EXPECT_EQ(h.i32(12), 20);
    EXPECT_EQ(h.i32(16), 110);
    EXPECT_EQ(h.i32(20), 70);

    EXPECT_EQ(all.back().type, E::EMR_EOF);
    EXPECT_EQ(all.back().u32(16), 20u);

    EXPECT_TRUE(s.finish().isEmpty());  // finished once
}

TEST(EmfSurface, EmptyPictureHasEmptyBoundsAndNoText)
{
    EmfSurface s(100, 100);
    s.focusRect({0, 0, 50, 50});  // a screen-only frame leaves nothing
    std::vector<Rec> all = records(s.finish());
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].i32(16), -1);
    EXPECT_FALSE(s.hasText());
}

TEST(EmfSurface, ShapesSelectTheirPenAndBrushAndFreeThem)
{
    EmfSurface s(200, 200);
    s.rectangle({0, 0, 10, 5}, Pen{PenStyle::Dash, 1, 0x0000FF}, Brush::hatched(HatchStyle::Cross, 0x00FF00),
                Background::opaqueColor(0x00FFFF));
    std::vector<Rec> recs = body(records(s.finish()));
    EXPECT_EQ(types(recs), (std::vector<uint32_t>{E::EMR_SETBKCOLOR, E::EMR_CREATEPEN, E::EMR_SELECTOBJECT,
                                                  E::EMR_CREATEBRUSHINDIRECT, E::EMR_SELECTOBJECT, E::EMR_RECTANGLE,
                                                  E::EMR_SELECTOBJECT, E::EMR_DELETEOBJECT, E::EMR_SELECTOBJECT,
                                                  E::EMR_DELETEOBJECT}));
    EXPECT_EQ(recs[0].u32(8), 0x00FFFFu);
    const Rec& pen = recs[1];
    EXPECT_EQ(pen.u32(12), 1u);  // PS_DASH
    EXPECT_EQ(pen.i32(16), 1);
    EXPECT_EQ(pen.u32(24), 0x0000FFu);
    const Rec& brush = recs[3];
    EXPECT_EQ(brush.u32(12), 2u);  // BS_HATCHED
    EXPECT_EQ(brush.u32(16), 0x00FF00u);
    EXPECT_EQ(brush.u32(20), 4u);  // HS_CROSS
    const Rec& rect = recs[5];
    EXPECT_EQ(rect.i32(8), 0);
    EXPECT_EQ(rect.i32(16), 10);
    EXPECT_EQ(rect.i32(20), 5);
}

TEST(EmfSurface, PensAndBackgroundsFollowTheScreenRules)
{
    struct Case {
        const char* name;
        Pen pen;
        uint32_t style;
        int32_t width;
    };
    const Case cases[] = {
        {"thin dash keeps its style", {PenStyle::DashDotDot, 1, 0}, 4, 1},
        {"wide dash draws solid", {PenStyle::Dash, 3, 0}, 0, 3},
        {"width 0 is one pixel", {PenStyle::Dot, 0, 0}, 2, 1},
    };
    for (const Case& c : cases) {
        EmfSurface s(50, 50);
        s.line({0, 0}, {10, 0}, c.pen);
        std::vector<Rec> pens = ofType(records(s.finish()), E::EMR_CREATEPEN);
        ASSERT_EQ(pens.size(), 1u) << c.name;
        EXPECT_EQ(pens[0].u32(12), c.style) << c.name;
        EXPECT_EQ(pens[0].i32(16), c.width) << c.name;
    }

    // A device context starts opaque on white: transparency is written once, then on change.
    EmfSurface s(50, 50);
    s.line({0, 0}, {10, 0}, Pen{});
    s.line({0, 1}, {10, 1}, Pen{});
    s.line({0, 2}, {10, 2}, Pen{PenStyle::Dot}, Background::opaqueColor(0x808080));
    std::vector<Rec> all = records(s.finish());
    std::vector<Rec> modes = ofType(all, E::EMR_SETBKMODE);
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0].u32(8), 1u);
    EXPECT_EQ(modes[1].u32(8), 2u);
    ASSERT_EQ(ofType(all, E::EMR_SETBKCOLOR).size(), 1u);
    EXPECT_EQ(ofType(all, E::EMR_SETBKCOLOR)[0].u32(8), 0x808080u);
    EXPECT_EQ(ofType(all, E::EMR_LINETO).size(), 3u);
}

TEST(EmfSurface, EveryObjectMadeIsDeleted)
{
    EmfSurface s(300, 300);
    s.polygon(std::vector<DevicePoint>{{0, 0}, {50, 0}, {25, 40}}, FillRule::Winding, Pen{}, Brush::solid(0xFF));
    s.ellipse({0, 0, 40, 20}, Pen{PenStyle::Null}, Brush::patterned(QImage(8, 8, QImage::Format_RGB32)));
    s.pie({0, 0, 40, 20}, {40, 10}, {20, 0}, Pen{PenStyle::Solid, 2, 0}, Brush::solid(0xFFFFFF));
    s.fillLinearGradient(FillShape::rect({0, 0, 20, 20}), {{0, 0, 20, 20}, 0x0000FF, 0xFF0000, 30, 1.0});
    TextStyle t;
    t.font.faceName = "ＭＳ 明朝";
    t.font.height = -12;
    s.textOut({5, 5}, "文字", t);
    std::vector<Rec> all = records(s.finish());
    size_t made = ofType(all, E::EMR_CREATEPEN).size() + ofType(all, E::EMR_CREATEBRUSHINDIRECT).size() +
                  ofType(all, E::EMR_CREATEDIBPATTERNBRUSHPT).size() + ofType(all, E::EMR_EXTCREATEFONTINDIRECTW).size();
    EXPECT_EQ(made, ofType(all, E::EMR_DELETEOBJECT).size());
    EXPECT_EQ(ofType(all, E::EMR_SAVEDC).size(), ofType(all, E::EMR_RESTOREDC).size());
    EXPECT_EQ(ofType(all, E::EMR_SETPOLYFILLMODE).front().u32(8), 2u);  // winding
}

TEST(EmfSurface, TextKeepsTheWindowsFontAndAdvances)
{
    EmfSurface s(400, 200);
    TextStyle t;
    t.font.faceName = "ＭＳ ゴシック";
    t.font.height = -20;
    t.font.escapement = 900;
    t.font.charSet = 128;
    t.color = 0x0000FF;
    t.hAlign = TextHAlign::Center;
    t.vAlign = TextVAlign::Bottom;
    t.charExtra = 3;
    s.textOut({100, 150}, "壁A", t);
    const TextSize wall = s.textExtent("壁", t.font);
    const TextSize a = s.textExtent("A", t.font);
    std::vector<Rec> all = records(s.finish());
    EXPECT_TRUE(s.hasText());

    std::vector<Rec> fonts = ofType(all, E::EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].i32(12), -20);
    EXPECT_EQ(fonts[0].i32(20), 900);
    EXPECT_EQ(fonts[0].data.at(35), static_cast<char>(128));
    EXPECT_EQ(fonts[0].utf16(40, 7), u"ＭＳ ゴシック");
    EXPECT_EQ(fonts[0].u16(40 + 14), 0);

    ASSERT_EQ(ofType(all, E::EMR_SETTEXTALIGN).size(), 1u);
    EXPECT_EQ(ofType(all, E::EMR_SETTEXTALIGN)[0].u32(8), 6u | 8u);
    EXPECT_EQ(ofType(all, E::EMR_SETTEXTCOLOR)[0].u32(8), 0x0000FFu);

    std::vector<Rec> texts = ofType(all, E::EMR_EXTTEXTOUTW);
    ASSERT_EQ(texts.size(), 1u);
    const Rec& r = texts[0];
    EXPECT_EQ(r.i32(36), 100);
    EXPECT_EQ(r.i32(40), 150);
    ASSERT_EQ(r.u32(44), 2u);
    EXPECT_EQ(r.utf16(static_cast<int>(r.u32(48)), 2), u"壁A");
    int offDx = static_cast<int>(r.u32(72));
    EXPECT_EQ(r.i32(offDx), wall.cx + 3);
    EXPECT_EQ(r.i32(offDx + 4), a.cx + 3);
    EXPECT_GT(wall.cx, a.cx);

    // A spacing from a damaged record is written at the field's limit rather than wrapping round.
    EmfSurface damaged(400, 200);
    t.charExtra = INT32_MAX;
    damaged.textOut({0, 0}, "AB", t);
    const std::vector<Rec> wide = ofType(records(damaged.finish()), E::EMR_EXTTEXTOUTW);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].i32(static_cast<int>(wide[0].u32(72)) + 4), INT32_MAX);
}

TEST(EmfSurface, SingleSpaceTextAtOrigin)
{
    EmfSurface s(100, 100);
    TextStyle t;
    t.font.faceName = "ＭＳ ゴシック";
    t.font.height = 16;
    s.textOut({0, 0}, " ", t);
    std::vector<Rec> texts = ofType(records(s.finish()), E::EMR_EXTTEXTOUTW);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].i32(36), 0);
    EXPECT_EQ(texts[0].i32(40), 0);
    EXPECT_EQ(texts[0].utf16(static_cast<int>(texts[0].u32(48)), 1), u" ");
}

// Colour of each solid band in fine-coordinate blocks, with the centre x of its polygon in pixels.
struct Band {
    COLORREF color;
    double centreX;
    double centreY;
};

std::vector<Band> bands(const std::vector<Rec>& all)
{
    std::vector<Band> out;
    COLORREF current = 0;
    for (const Rec& r : all) {
        if (r.type == E::EMR_CREATEBRUSHINDIRECT) current = r.u32(16);
        if (r.type != E::EMR_POLYGON) continue;
        uint32_t n = r.u32(24);
        double x = 0, y = 0;
        for (uint32_t i = 0; i < n; ++i) {
            x += r.i32(28 + 8 * static_cast<int>(i));
            y += r.i32(32 + 8 * static_cast<int>(i));
        }
        out.push_back({current, x / n / 16.0, y / n / 16.0});
    }
    return out;
}

int red(COLORREF c) { return static_cast<int>(c & 0xFF); }
int blue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

TEST(EmfSurface, LinearGradientBandsRunFromFirstToSecondColour)
{
    EmfSurface s(200, 100);
    s.fillLinearGradient(FillShape::rect({0, 0, 100, 40}), {{0, 0, 100, 40}, 0x0000FF, 0xFF0000, 0, 1.0});
    std::vector<Band> b = bands(records(s.finish()));
    ASSERT_GE(b.size(), 8u);
    EXPECT_LT(b.front().centreX, 5);
    EXPECT_GT(red(b.front().color), 240);
    EXPECT_GT(b.back().centreX, 95);
    EXPECT_GT(blue(b.back().color), 240);
    for (size_t i = 1; i < b.size(); ++i) EXPECT_GE(blue(b[i].color), blue(b[i - 1].color));
}

// Polygons of a horizontal gradient: their x extents in device pixels, in drawing order.
std::vector<std::pair<double, double>> polygonSpans(const std::vector<Rec>& all)
{
    std::vector<std::pair<double, double>> out;
    for (const Rec& r : all) {
        if (r.type != E::EMR_POLYGON) continue;
        double lo = 1e300, hi = -1e300;
        for (uint32_t i = 0; i < r.u32(24); ++i) {
            lo = std::min(lo, r.i32(28 + 8 * static_cast<int>(i)) / 16.0);
            hi = std::max(hi, r.i32(28 + 8 * static_cast<int>(i)) / 16.0);
        }
        out.emplace_back(lo, hi);
    }
    return out;
}

TEST(EmfSurface, GradientBandsOverlapAndOneColourIsOnePolygon)
{
    EmfSurface ramp(200, 100);
    ramp.fillLinearGradient(FillShape::rect({0, 0, 100, 40}), {{0, 0, 100, 40}, 0x0000FF, 0xFF0000, 0, 1.0});
    const auto spans = polygonSpans(records(ramp.finish()));
    ASSERT_GE(spans.size(), 8u);
    // Each band runs under the next: no edge where two bands only touch.
    for (size_t i = 1; i < spans.size(); ++i) EXPECT_GT(spans[i - 1].second, spans[i].first + 0.01) << i;

    EmfSurface flat(200, 100);
    flat.fillLinearGradient(FillShape::rect({0, 0, 100, 40}), {{0, 0, 100, 40}, 0x00FF00, 0x00FF00, 0, 0.5});
    EXPECT_EQ(polygonSpans(records(flat.finish())).size(), 1u);

    EmfSurface flatPath(200, 200);
    PathGradient g;
    g.boundary = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    g.centerColor = g.surroundColor = 0x00FF00;
    flatPath.fillPathGradient(FillShape::polygon(g.boundary), g);
    EXPECT_EQ(polygonSpans(records(flatPath.finish())).size(), 1u);
}

TEST(EmfSurface, PathGradientRunsFromSurroundToCentre)
{
    EmfSurface s(200, 200);
    std::vector<DevicePoint> square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    PathGradient g;
    g.boundary = square;
    g.centerColor = 0x0000FF;
    g.surroundColor = 0xFF0000;
    s.fillPathGradient(FillShape::polygon(square), g);
    std::vector<Band> b = bands(records(s.finish()));
    ASSERT_FALSE(b.empty());
    auto distanceToCentre = [](const Band& band) { return std::hypot(band.centreX - 50, band.centreY - 50); };
    const Band* outer = &b.front();
    const Band* inner = &b.front();
    for (const Band& band : b) {
        if (distanceToCentre(band) > distanceToCentre(*outer)) outer = &band;
        if (distanceToCentre(band) < distanceToCentre(*inner)) inner = &band;
    }
    EXPECT_GT(blue(outer->color), 230);
    EXPECT_GT(red(inner->color), 230);
}

TEST(EmfSurface, ImagesUseStretchOrParallelogramTransfer)
{
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(0, 1, qRgb(255, 0, 0));  // bottom-left pixel red

    EmfSurface straight(100, 100);
    straight.drawImage(img, {10, 20}, {50, 20}, {10, 40});
    std::vector<Rec> st = ofType(records(straight.finish()), E::EMR_STRETCHDIBITS);
    ASSERT_EQ(st.size(), 1u);
    const Rec& r = st[0];
    EXPECT_EQ(r.i32(24), 10);  // destination
    EXPECT_EQ(r.i32(28), 20);
    EXPECT_EQ(r.i32(72), 40);  // destination extent
    EXPECT_EQ(r.i32(76), 20);
    EXPECT_EQ(r.i32(40), 4);   // source extent
    EXPECT_EQ(r.i32(44), 2);
    int offBits = static_cast<int>(r.u32(56));
    // Bottom-up rows: the first pixel stored is the bottom-left one, blue-green-red.
    EXPECT_EQ(static_cast<uint8_t>(r.data.at(offBits)), 0);
    EXPECT_EQ(static_cast<uint8_t>(r.data.at(offBits + 2)), 255);

    EmfSurface turned(100, 100);
    turned.drawImage(img, {50, 10}, {90, 50}, {30, 30});
    std::vector<Rec> pl = ofType(records(turned.finish()), E::EMR_PLGBLT);
    ASSERT_EQ(pl.size(), 1u);
    std::vector<int32_t> corners;
    for (int i = 0; i < 6; ++i) corners.push_back(pl[0].i32(24 + 4 * i));
    EXPECT_EQ(corners, (std::vector<int32_t>{50, 10, 90, 50, 30, 30}));
}

TEST(EmfSurface, ClipRectangleReplacesTheClip)
{
    EmfSurface s(100, 100);
    s.setClipRect({5, 6, 50, 60});
    s.clearClip();
    std::vector<Rec> recs = body(records(s.finish()));
    EXPECT_EQ(types(recs), (std::vector<uint32_t>{E::EMR_EXTSELECTCLIPRGN, E::EMR_INTERSECTCLIPRECT,
                                                  E::EMR_EXTSELECTCLIPRGN}));
    EXPECT_EQ(recs[0].u32(12), 5u);  // RGN_COPY of no region
    EXPECT_EQ(recs[1].i32(8), 5);
    EXPECT_EQ(recs[1].i32(20), 60);
}

TEST(EmfSurface, OutlineTextIsWrittenAsPolygons)
{
    EmfSurface s(300, 100);
    TextPath t;
    t.anchor = {10, 10};
    t.text = "A";
    t.font.faceName = "ＭＳ ゴシック";
    t.font.height = -40;
    t.fillColor = 0xFFFFFF;
    t.outlineColor = 0;
    t.penWidth = 2;
    DeviceRectF bounds = s.textPathBounds(t);
    s.drawTextPath(t);
    std::vector<Rec> all = records(s.finish());
    EXPECT_TRUE(s.hasText());
    EXPECT_EQ(ofType(all, E::EMR_POLYPOLYGON).size(), 2u);  // stroke, then fill
    EXPECT_GT(bounds.width, 10);
    EXPECT_GT(bounds.height, 10);
    // Header bounds cover the glyph.
    EXPECT_LE(all[0].i32(8), static_cast<int>(bounds.x + bounds.width));
    EXPECT_GE(all[0].i32(16), static_cast<int>(bounds.x + 1));
}

TEST(EmfSurface, OutlineTextIsLaidOutAsOnTheScreen)
{
    // Horizontal lines downwards; vertical faces in columns, upright and lying characters mixed.
    for (const char* face : {"ＭＳ ゴシック", "@ＭＳ ゴシック", "@ＭＳ Ｐ明朝"}) {
        SCOPED_TRACE(face);
        TextPath t;
        t.anchor = {40, 30};
        t.text = "漢字ー「A」\n。ッ";
        t.font.faceName = face;
        t.font.height = -24;
        t.penWidth = 3;
        QImage probe(1, 1, QImage::Format_RGB32);
        const DeviceRectF screen = PainterSurface(probe).textPathBounds(t);
        EmfSurface s(300, 300);
        const DeviceRectF picture = s.textPathBounds(t);
        EXPECT_DOUBLE_EQ(picture.x, screen.x);
        EXPECT_DOUBLE_EQ(picture.y, screen.y);
        EXPECT_DOUBLE_EQ(picture.width, screen.width);
        EXPECT_DOUBLE_EQ(picture.height, screen.height);

        // The written outline covers what the screen fills, in sixteenths of a pixel.
        s.drawTextPath(t);
        const std::vector<Rec> polys = ofType(records(s.finish()), E::EMR_POLYPOLYGON);
        ASSERT_FALSE(polys.empty());
        const Rec& fill = polys.back();
        const QRectF drawn = drawnTextOutline(t).boundingRect();
        const uint32_t count = fill.u32(28);
        const int pointsAt = 32 + 4 * static_cast<int>(fill.u32(24));
        double minX = 1e9, maxX = -1e9;
        for (uint32_t i = 0; i < count; ++i) {
            minX = std::min(minX, fill.i32(pointsAt + 8 * static_cast<int>(i)) / 16.0);
            maxX = std::max(maxX, fill.i32(pointsAt + 8 * static_cast<int>(i)) / 16.0);
        }
        EXPECT_NEAR(minX, drawn.left(), 0.2);
        EXPECT_NEAR(maxX, drawn.right(), 0.2);
    }
}

} // namespace
} // namespace kov::platform
