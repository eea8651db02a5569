// Japanese texts drawn with the installed fonts through the QPainter surface: where their ink lands
// for horizontal, turned and vertical writing, how vertical writing sets each character, and that
// the faces the drawings name have every glyph we draw (no missing-glyph boxes).

#include "DrawerTestSupport.h"

#include "platform/FontSubstitution.h"
#include "platform/PainterSurface.h"
#include "render/ObjectBoxes.h"
#include "render/TextDrawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRawFont>

#include <string>

using namespace kov::test::drawers;

namespace {

constexpr int kSize = 400;

// The text drawn by the text drawer at (200, 200), 10 mm at paper scale 4 (a 40-pixel cell).
QImage drawText(const std::string& str, int escapement, const std::string& face, int hAlign = 0, int vAlign = 0)
{
    CKovText t;
    t.MTextID = 1;
    t.MTextstr = str;
    t.MTextpnt = CDbPoint(200, 200);
    t.MTextFontMenu.lfFaceName = face;
    t.MTextFontMenu.lfEscapement = escapement;
    t.MTextFontMenu.m_size = 10;
    t.MTextFontMenu.m_toko_align = hAlign;
    t.MTextFontMenu.m_tate_align = vAlign;
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        CKovUnit::DrawTextObject(surface, pixelTransform(4.0), t, CPlotInfo(), SelectionRecord(), false, 0, false,
                                 CKovUnit::DrawEnvironment());
    }
    return image;
}

// The box of the pixels darker than light grey; left, top inside, right, bottom just outside.
QRect inkBox(const QImage& image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

std::string describe(const QRect& r)
{
    return "[" + std::to_string(r.left()) + "," + std::to_string(r.top()) + " .. " + std::to_string(r.right()) + "," +
           std::to_string(r.bottom()) + "]";
}

const std::string kSample = "日本語のテキスト";  // 8 full-width characters: about 320 px long

TEST(TextInk, HorizontalTurnedAndVerticalTextsLieWhereTheirLinesGo)
{
    struct Case {
        const char* name;
        int escapement;
        std::string face;
        QRect region;  // where the ink must lie: the 40-pixel cell along 8 × 40 pixels
    };
    const Case cases[] = {
        {"horizontalRightAndDownFromTheAnchor", 0, "ＭＳ ゴシック", QRect(200, 200, 320, 40)},
        {"quarterTurnUpAndRight", 900, "ＭＳ ゴシック", QRect(200, -120, 40, 320)},
        {"halfTurnLeftAndUp", 1800, "ＭＳ 明朝", QRect(-120, 160, 320, 40)},
        {"verticalDownAndLeft", 2700, "@ＭＳ ゴシック", QRect(160, 200, 40, 320)},
    };
    for (const Case& c : cases) {
        const QRect ink = inkBox(drawText(kSample, c.escapement, c.face));
        ASSERT_FALSE(ink.isNull()) << c.name << ": nothing drawn";
        const QRect allowed = c.region.adjusted(-2, -2, 2, 2) & QRect(0, 0, kSize, kSize);
        EXPECT_TRUE(allowed.contains(ink)) << c.name << ": ink " << describe(ink) << " outside " << describe(allowed);
        // The ink starts near the anchor's corner of the region rather than anywhere inside it.
        const QPoint anchor(200, 200);
        EXPECT_LT(std::min({std::abs(ink.left() - anchor.x()), std::abs(ink.right() - anchor.x())}), 10) << c.name;
        EXPECT_LT(std::min({std::abs(ink.top() - anchor.y()), std::abs(ink.bottom() - anchor.y())}), 10) << c.name;
    }
}

TEST(TextInk, CentredAndBottomAlignedLinesAroundTheAnchor)
{
    const QRect centred = inkBox(drawText("日本", 0, "ＭＳ ゴシック", 1, 2));
    EXPECT_NEAR(centred.center().x(), 200, 3) << describe(centred);
    EXPECT_LE(centred.bottom(), 200) << "bottom alignment: the cell ends at the anchor";
    EXPECT_GE(centred.top(), 160);
}

// The ink of one character drawn alone, cut to its ink box.
QImage inkOf(const std::string& ch, int escapement, const std::string& face)
{
    const QImage image = drawText(ch, escapement, face);
    return image.copy(inkBox(image));
}

TEST(TextInk, VerticalWritingSetsEachCharacterByItsKind)
{
    // Full-width characters stand upright: the same ink as in horizontal writing (to a pixel of
    // antialiasing at another sub-pixel position).
    for (const std::string ch : {"日", "あ", "ア"}) {
        const QImage flat = inkOf(ch, 0, "ＭＳ ゴシック"), upright = inkOf(ch, 2700, "@ＭＳ ゴシック");
        EXPECT_NEAR(flat.width(), upright.width(), 1) << ch;
        EXPECT_NEAR(flat.height(), upright.height(), 1) << ch;
    }
    // Half-width characters and the long-vowel mark and brackets lie turned with the column: a
    // wide horizontal glyph becomes a tall one.
    for (const std::string ch : {"ー", "（", "「", "A"}) {
        const QImage flat = inkOf(ch, 0, "ＭＳ ゴシック"), turned = inkOf(ch, 2700, "@ＭＳ ゴシック");
        EXPECT_NEAR(flat.width(), turned.height(), 1) << ch;
        EXPECT_NEAR(flat.height(), turned.width(), 1) << ch;
    }
    // The comma and the full stop sit in the upper right of their cell (in horizontal writing the
    // lower left): column x 160..200, cell y 200..240.
    for (const std::string ch : {"、", "。"}) {
        const QRect ink = inkBox(drawText(ch, 2700, "@ＭＳ ゴシック"));
        EXPECT_GT(ink.center().x(), 180) << ch << " " << describe(ink);
        EXPECT_LT(ink.center().y(), 220) << ch << " " << describe(ink);
    }
}

// The box that picking and the selection grips use, measured with the real fonts and laid out as
// the grips lay it, holds the ink of the text and is not much larger.
TEST(TextInk, TextBoxWithTheRealFontsHoldsTheInk)
{
    struct Case {
        const char* name;
        std::string str;
        int escapement;
        std::string face;
        int hAlign, vAlign;
    };
    const Case cases[] = {
        {"twoLines", "平面図\r\n1/100 ｽｹｰﾙ", 0, "ＭＳ ゴシック", 0, 0},
        {"proportionalCentredBottom", "居間・食堂", 0, "ＭＳ Ｐ明朝", 1, 2},
        {"turned", "回転した文字", 450, "ＭＳ ゴシック", 0, 0},
        {"verticalColumns", "縦書き\r\nテスト", 2700, "@ＭＳ ゴシック", 0, 0},
    };
    for (const Case& c : cases) {
        const QImage image = drawText(c.str, c.escapement, c.face, c.hAlign, c.vAlign);
        const QRect ink = inkBox(image);
        ASSERT_FALSE(ink.isNull()) << c.name;

        CKovUnit unit;
        auto t = std::make_unique<CKovText>();
        t->MTextID = 1;
        t->MTextstr = c.str;
        t->MTextpnt = CDbPoint(200, 200);
        t->MTextFontMenu.lfFaceName = c.face;
        t->MTextFontMenu.lfEscapement = c.escapement;
        t->MTextFontMenu.m_size = 10;
        t->MTextFontMenu.m_toko_align = c.hAlign;
        t->MTextFontMenu.m_tate_align = c.vAlign;
        unit.m_Texts.Add(std::move(t));
        SelectionRecord sel;
        sel.AddTextId(1);
        sel.AddTextId(1);  // two entries: corner grips only
        // The corner grips drawn alone (two entries: no handles), the same fonts measuring.
        ResetPickTolerances();
        QImage marks(kSize, kSize, QImage::Format_RGB32);
        marks.fill(Qt::white);
        {
            kov::platform::PainterSurface surface(marks);
            unit.DrawSelectionMarks(surface, pixelTransform(4.0), CPlotInfo(), sel);
        }
        const int h = g_nPickTolerance / 2;
        const QRect grips = inkBox(marks).adjusted(h, h, -h + 1, -h + 1);
        EXPECT_TRUE(grips.adjusted(-3, -3, 3, 3).contains(ink))
            << c.name << ": ink " << describe(ink) << " beyond the box " << describe(grips);
        EXPECT_GT(double(ink.width()) * ink.height(), 0.5 * grips.width() * grips.height())
            << c.name << ": ink " << describe(ink) << " box " << describe(grips);
    }
}

// The box by which the passes leave a text out of a band or strip holds the text's ink, at every
// angle, alignment, spacing and face; a plain horizontal line's box stays about its line.
TEST(TextInk, TheCullingBoxHoldsTheInk)
{
    struct Case {
        const char* name;
        std::string str;
        int escapement;
        std::string face;
        int hAlign, vAlign;
        double spacing, leading;
    };
    const Case cases[] = {
        {"horizontal", "日本語", 0, "ＭＳ ゴシック", 0, 0, 0, 0},
        {"wideLatinRightAligned", "WWMM@", 0, "ＭＳ Ｐゴシック", 2, 0, 0, 0},
        {"twoLinesCentredMiddle", "洋室\r\n6.0畳", 0, "ＭＳ 明朝", 1, 1, 0, 0},
        {"spacedAndLedBottom", "寸法\r\n12", 0, "ＭＳ ゴシック", 0, 2, 3, 4},
        {"negativeSpacing", "ABCDEF", 0, "ＭＳ ゴシック", 1, 0, -2, 0},
        {"slight", "回転文字", 300, "ＭＳ ゴシック", 0, 0, 0, 0},
        {"diagonalTwoLines", "回転\r\nWW", 450, "ＭＳ Ｐ明朝", 1, 1, 1, 1},
        {"quarterTurn", "日本語", 900, "ＭＳ ゴシック", 2, 2, 0, 0},
        {"steep", "文字列", 1350, "ＭＳ ゴシック", 0, 0, 0, 0},
        {"upsideDown", "ＡＢＣ", 1800, "ＭＳ 明朝", 0, 0, 0, 0},
        {"verticalColumns", "縦書き\r\nA。ー", 2700, "@ＭＳ ゴシック", 1, 2, 1, 0},
        {"backTurn", "ijWW", 3300, "ＭＳ Ｐゴシック", 2, 1, 0, 0},
    };
    const DeviceTransform t = pixelTransform(4.0);
    const kov::render::ObjectCulling culling(DeviceRect{0, 0, kSize, kSize}, t, CPlotInfo(), false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovText text;
        text.MTextID = 1;
        text.MTextstr = c.str;
        text.MTextpnt = CDbPoint(200, 200);
        text.MTextFontMenu.lfFaceName = c.face;
        text.MTextFontMenu.lfEscapement = c.escapement;
        text.MTextFontMenu.m_size = 10;
        text.MTextFontMenu.m_toko_align = c.hAlign;
        text.MTextFontMenu.m_tate_align = c.vAlign;
        text.MTextFontMenu.m_kankaku = c.spacing;
        text.MTextFontMenu.m_gyoukan = c.leading;
        QImage image(kSize, kSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            kov::platform::PainterSurface surface(image);
            CKovUnit::DrawTextObject(surface, t, text, CPlotInfo(), SelectionRecord(), false, 0, false,
                                     CKovUnit::DrawEnvironment());
        }
        const QRect ink = inkBox(image);
        ASSERT_FALSE(ink.isNull());
        ASSERT_TRUE(ink.adjusted(-1, -1, 1, 1).intersects(QRect(1, 1, kSize - 2, kSize - 2)));
        const std::optional<DeviceRect> box = culling.textBox(text);
        ASSERT_TRUE(box);
        const QRect culled(QPoint(box->left, box->top), QPoint(box->right - 1, box->bottom - 1));
        EXPECT_TRUE(culled.contains(ink)) << "ink " << describe(ink) << " beyond the box " << describe(culled);
        if (c.escapement == 0 && c.str.find('\n') == std::string::npos) {
            EXPECT_LT(culled.height(), 6 * 40) << describe(culled);
        }
    }
}

TEST(TextInk, TheFacesOfDrawingsHaveEveryGlyphWeDraw)
{
    const QString text = QString::fromUtf8("日本語のテキスト、。ー（）「」ｱｲｳ寸法和室ＡＢ１２3.5");
    for (const char* face : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝", "@ＭＳ ゴシック"}) {
        kov::platform::Font f;
        f.faceName = face;
        f.height = 40;
        const kov::platform::ResolvedFont rf = kov::platform::resolveFont(f);
        const QRawFont raw = QRawFont::fromFont(rf.font);
        ASSERT_TRUE(raw.isValid()) << face;
        EXPECT_TRUE(raw.familyName().startsWith("IPA")) << face << " became " << raw.familyName().toStdString();
        for (const char32_t c : text.toUcs4())
            EXPECT_TRUE(raw.supportsCharacter(c)) << face << ": U+" << std::hex << unsigned(c);
    }
}

} // namespace
