#include "platform/FontSubstitution.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include <cstdint>

using namespace kov::platform;

namespace {

Font face(const char* name, int height)
{
    Font f;
    f.faceName = name;
    f.height = height;
    return f;
}

} // namespace

TEST(FontSubstitution, WindowsFacesBecomeInstalledJapaneseFaces)
{
    struct Case {
        const char* windowsFace;
        const char* family;
        bool vertical;
    };
    const Case cases[] = {
        {"ＭＳ ゴシック", "IPAGothic", false},
        {"ＭＳ Ｐゴシック", "IPAPGothic", false},
        {"ＭＳ 明朝", "IPAMincho", false},
        {"ＭＳ Ｐ明朝", "IPAPMincho", false},
        {"MS Gothic", "IPAGothic", false},
        {"ms pgothic", "IPAPGothic", false},
        {"MS Mincho", "IPAMincho", false},
        {"MS PMincho", "IPAPMincho", false},
        {"@ＭＳ ゴシック", "IPAGothic", true},
        {"@ＭＳ Ｐ明朝", "IPAPMincho", true},
        {"IPAMincho", "IPAMincho", false},
        {"@Some Face", "Some Face", true},
    };
    for (const Case& c : cases) {
        const FaceChoice choice = substituteFace(c.windowsFace);
        EXPECT_EQ(choice.family.toStdString(), c.family) << c.windowsFace;
        EXPECT_EQ(choice.vertical, c.vertical) << c.windowsFace;
    }
}

TEST(FontSubstitution, SubstitutedFacesAreInstalled)
{
    for (const char* name : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"}) {
        const ResolvedFont rf = resolveFont(face(name, -16));
        EXPECT_EQ(QFontInfo(rf.font).family(), substituteFace(name).family) << name;
    }
}

TEST(FontSubstitution, PositiveHeightIsTheCellHeight)
{
    for (int height : {2, 9, 10, 16, 24, 33, 100}) {
        const ResolvedFont rf = resolveFont(face("ＭＳ ゴシック", height));
        EXPECT_EQ(rf.metrics.height, height);
        EXPECT_EQ(rf.metrics.ascent + rf.metrics.descent, height);
        // The rendered face agrees within a pixel of rounding.
        const QFontMetricsF m(rf.font);
        EXPECT_NEAR(m.ascent() + m.descent(), height, 1.0) << height;
        EXPECT_LE(rf.font.pixelSize(), height);
    }
}

TEST(FontSubstitution, NegativeHeightIsTheCharacterHeight)
{
    for (int em : {10, 16, 33, 100}) {
        const ResolvedFont rf = resolveFont(face("ＭＳ 明朝", -em));
        EXPECT_EQ(rf.font.pixelSize(), em);
        EXPECT_EQ(rf.metrics.height - rf.metrics.internalLeading, em);
        EXPECT_GE(rf.metrics.height, em);
    }
    // The same number both ways: the cell of the negative one is the larger.
    EXPECT_GT(resolveFont(face("ＭＳ 明朝", -40)).metrics.height, resolveFont(face("ＭＳ 明朝", 40)).metrics.height);
}

TEST(FontSubstitution, LogicalFontFieldsReachTheQFont)
{
    Font f = face("ＭＳ ゴシック", -20);
    f.weight = 700;
    f.italic = true;
    f.underline = true;
    f.strikeOut = true;
    const ResolvedFont rf = resolveFont(f);
    EXPECT_EQ(rf.font.weight(), QFont::Bold);
    EXPECT_TRUE(rf.font.italic());
    EXPECT_TRUE(rf.font.underline());
    EXPECT_TRUE(rf.font.strikeOut());

    EXPECT_EQ(resolveFont(face("ＭＳ ゴシック", 0)).metrics.height, 16);  // the default cell

    // Damaged records: heights past any real use are bounded instead of overflowing.
    for (int32_t height : {INT32_MIN, INT32_MAX}) {
        const ResolvedFont huge = resolveFont(face("ＭＳ ゴシック", height));
        EXPECT_GT(huge.metrics.height, 0);
        EXPECT_LE(huge.font.pixelSize(), 32767);
    }

    // A narrower average character width squeezes the face.
    Font narrow = face("ＭＳ ゴシック", -20);
    narrow.width = 5;
    const ResolvedFont squeezed = resolveFont(narrow);
    EXPECT_LT(QFontMetrics(squeezed.font).horizontalAdvance(QStringLiteral("漢")),
              QFontMetrics(resolveFont(face("ＭＳ ゴシック", -20)).font).horizontalAdvance(QStringLiteral("漢")));
}
