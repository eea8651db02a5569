#include "platform/FontSubstitution.h"

#include "platform/TextCaches.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <map>
#include <tuple>

namespace kov::platform {

namespace {

struct FaceRow {
    const char* windowsFace;  // compatibility-folded and lower-cased: full-width letters made ASCII
    const char* family;
};

const FaceRow kFaces[] = {
    {"ms ゴシック", "IPAGothic"}, {"ms gothic", "IPAGothic"},   {"ms pゴシック", "IPAPGothic"},
    {"ms pgothic", "IPAPGothic"}, {"ms 明朝", "IPAMincho"},      {"ms mincho", "IPAMincho"},
    {"ms p明朝", "IPAPMincho"},   {"ms pmincho", "IPAPMincho"}, {"ms ui gothic", "IPAPGothic"},
};

// Full-width "ＭＳ", ideographic spaces and case do not tell faces apart.
QString foldFace(const QString& face)
{
    return face.normalized(QString::NormalizationForm_KC).simplified().toLower();
}

// The cell a default-height (0) logical font gets.
constexpr int kDefaultCell = 16;

// Ascent and descent of one em, read at a large size so that rounding does not show.
struct EmShape {
    double ascent = 0.8;
    double descent = 0.2;
};

EmShape emShape(const QFont& font)
{
    QFont big = font;
    big.setPixelSize(1000);
    const QFontMetricsF m(big);
    if (m.ascent() + m.descent() <= 0) return {};
    return {m.ascent() / 1000.0, m.descent() / 1000.0};
}

ResolvedFont build(const Font& lf)
{
    ResolvedFont r;
    const FaceChoice face = substituteFace(lf.faceName);
    r.vertical = face.vertical;
    QFont f(face.family);
    f.setStyleStrategy(QFont::PreferOutline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setWeight(QFont::Weight(std::clamp(lf.weight <= 0 ? 400 : int(lf.weight), 1, 1000)));
    f.setItalic(lf.italic);
    f.setUnderline(lf.underline);
    f.setStrikeOut(lf.strikeOut);
    f.setKerning(false);

    const EmShape shape = emShape(f);
    const double cellPerEm = shape.ascent + shape.descent;
    TextMetrics& m = r.metrics;
    int em = 0;
    const int height = int(std::clamp<int64_t>(lf.height, -kMaxFontHeight, kMaxFontHeight));
    if (height < 0) {
        // Character height: the em is as asked; the cell adds the internal leading.
        em = -height;
        m.height = std::max(1, int(std::lround(em * cellPerEm)));
    } else {
        // Cell height: the em is what is left after the internal leading.
        m.height = height == 0 ? kDefaultCell : height;
        em = std::max(1, int(std::lround(m.height / cellPerEm)));
    }
    m.ascent = std::clamp(int(std::lround(m.height * shape.ascent / cellPerEm)), 0, m.height);
    m.descent = m.height - m.ascent;
    m.internalLeading = std::max(0, m.height - em);
    f.setPixelSize(em);

    const QFontMetricsF metrics(f);
    const int width = std::min<int>(lf.width, kMaxFontHeight);
    if (width > 0) {
        const double natural = metrics.averageCharWidth();
        if (natural > 0) f.setStretch(std::clamp(int(std::lround(100.0 * width / natural)), 1, 4000));
    }
    m.aveCharWidth = width > 0 ? width : int(std::lround(QFontMetricsF(f).averageCharWidth()));
    r.font = f;
    return r;
}

} // namespace

FaceChoice substituteFace(std::string_view windowsFace)
{
    QString face = QString::fromUtf8(windowsFace.data(), qsizetype(windowsFace.size())).trimmed();
    FaceChoice choice;
    if (face.startsWith(QLatin1Char('@')) || face.startsWith(QChar(0xFF20))) {
        choice.vertical = true;
        face.remove(0, 1);
    }
    const QString folded = foldFace(face);
    for (const FaceRow& row : kFaces) {
        if (folded == QString::fromUtf8(row.windowsFace)) {
            choice.family = QString::fromLatin1(row.family);
            return choice;
        }
    }
    choice.family = face.isEmpty() ? QStringLiteral("IPAGothic") : face;
    return choice;
}

ResolvedFont resolveFont(const Font& font)
{
    // Drawers ask for the same few fonts again and again; measuring a face is not cheap. Each
    // thread has its own: copies of one QFont share data that drawing writes to.
    using Key = std::tuple<std::string, int32_t, int32_t, int32_t, bool, bool, bool>;
    thread_local ThreadTextCache<std::map<Key, ResolvedFont>> fonts;
    std::map<Key, ResolvedFont>& cache = fonts.get();
    const Key key{font.faceName, font.height, font.width, font.weight, font.italic, font.underline, font.strikeOut};
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() > 512) cache.clear();
    return cache.emplace(key, build(font)).first->second;
}

} // namespace kov::platform
