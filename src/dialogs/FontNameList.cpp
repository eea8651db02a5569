#include "dialogs/FontNameList.h"

#include "dialogs/PropertyTexts.h"

#include <QFontDatabase>

namespace kov::dialogs {

namespace {

constexpr std::uint8_t kShiftJisCharset = 128;
constexpr std::uint8_t kAnsiCharset = 0;

EnumeratedFace face(const std::string& name, std::uint8_t charset, std::uint8_t pitchAndFamily)
{
    EnumeratedFace f;
    f.logFont.lfFaceName = name;
    f.logFont.lfCharSet = charset;
    f.logFont.lfOutPrecision = 3;
    f.logFont.lfClipPrecision = 2;
    f.logFont.lfQuality = 1;
    f.logFont.lfPitchAndFamily = pitchAndFamily;
    f.logFont.lfWeight = 400;
    return f;
}

} // namespace

std::string FoldFaceCase(const std::string& name)
{
    std::string out = name;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xEF && i + 2 < out.size() && static_cast<unsigned char>(out[i + 1]) == 0xBC) {
            // Ａ-Ｚ (U+FF21-FF3A) to ａ-ｚ (U+FF41-FF5A).
            const auto d = static_cast<unsigned char>(out[i + 2]);
            if (d >= 0xA1 && d <= 0xBA) {
                out[i + 1] = static_cast<char>(0xBD);
                out[i + 2] = static_cast<char>(d - 0x20);
            }
            i += 2;
        }
    }
    return out;
}

void FontNameList::Fill(const std::vector<EnumeratedFace>& faces, bool empty)
{
    if (empty) {
        m_lines.clear();
        m_fonts.clear();
    }
    for (const EnumeratedFace& f : faces) {
        const std::string& name = f.logFont.lfFaceName;
        if (f.fontType != EnumeratedFace::kTrueType || name.empty() || name[0] == '@') continue;
        m_lines.push_back(name);
        m_fonts.push_back(f.logFont);
    }
    RemoveRepeats();
}

void FontNameList::RemoveRepeats()
{
    for (std::size_t i = 1; i < m_lines.size();) {
        if (m_lines[i - 1] == m_lines[i]) m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
        else ++i;
    }
}

int FontNameList::FindLine(const std::string& name) const
{
    const std::string wanted = FoldFaceCase(name);
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (FoldFaceCase(m_lines[i]) == wanted) return static_cast<int>(i);
    return -1;
}

bool FontNameList::GetLogFont(const std::string& name, LogFont& out) const
{
    for (const LogFont& f : m_fonts)
        if (f.lfFaceName == name) {
            out = f;
            return true;
        }
    return false;
}

std::vector<EnumeratedFace> FontNameList::SystemFaces()
{
    // The faces the drawings name, which the program draws with the installed Japanese faces.
    std::vector<EnumeratedFace> faces{face("ＭＳ ゴシック", kShiftJisCharset, 0x31),
                                      face("ＭＳ Ｐゴシック", kShiftJisCharset, 0x32),
                                      face("ＭＳ 明朝", kShiftJisCharset, 0x11),
                                      face("ＭＳ Ｐ明朝", kShiftJisCharset, 0x12)};
    for (const QString& family : QFontDatabase::families()) {
        EnumeratedFace f = face(family.toStdString(),
                                QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)
                                    ? kShiftJisCharset : kAnsiCharset,
                                QFontDatabase::isFixedPitch(family) ? 0x01 : 0x02);
        if (!QFontDatabase::isScalable(family)) f.fontType = 0;
        faces.push_back(std::move(f));
    }
    return faces;
}

CEnumFontCombo::CEnumFontCombo(QWidget* parent) : QComboBox(parent) {}

void CEnumFontCombo::FillFontList(bool empty) { FillFontList(FontNameList::SystemFaces(), empty); }

void CEnumFontCombo::FillFontList(const std::vector<EnumeratedFace>& faces, bool empty)
{
    m_fonts.Fill(faces, empty);
    clear();
    for (const std::string& line : m_fonts.lines()) addItem(QString::fromStdString(line));
}

bool CEnumFontCombo::SelectFace(const std::string& name)
{
    const int line = m_fonts.FindLine(name);
    setCurrentIndex(line);
    return line >= 0;
}

bool CEnumFontCombo::GetSelectedLogFont(LogFont& out) const
{
    if (currentIndex() < 0) return false;
    return m_fonts.GetLogFont(currentText().toStdString(), out);
}

} // namespace kov::dialogs
