#pragma once

// The font-name list of every dialog that offers fonts: the installed scalable faces (with the
// Windows faces the drawings name, which the program substitutes), each line keeping the whole
// logical font it was enumerated with, so that choosing a name gives a complete font. Vertical
// faces ("@…") are never listed: vertical writing is a separate choice. Repeated adjacent names
// are removed, names are matched without regard to letter case, and "ＭＳ ゴシック" stands in for a
// face the system lacks.

#include "model/FontMenu.h"

#include <QComboBox>

#include <string>
#include <vector>

namespace kov::dialogs {

// One font as the system enumerates it.
struct EnumeratedFace {
    static constexpr int kTrueType = 4;
    LogFont logFont;
    int fontType = kTrueType;
};

class FontNameList {
public:
    // Adds the enumerated fonts (emptying the list first when asked), then removes repeated
    // adjacent names; only scalable faces whose name does not begin with "@" are taken.
    void Fill(const std::vector<EnumeratedFace>& faces, bool empty = true);
    // The installed faces, in the order the system gives them.
    static std::vector<EnumeratedFace> SystemFaces();

    const std::vector<std::string>& lines() const { return m_lines; }
    // The line equal to the name apart from letter case (ASCII and full-width Latin); -1 for none.
    int FindLine(const std::string& name) const;
    // The logical font of the first entry whose face is exactly the name; false when none is.
    bool GetLogFont(const std::string& name, LogFont& out) const;

    // Lines equal to the one before them go, so a face the system lists once per character set is
    // offered once; its font is that of its first enumeration.
    void RemoveRepeats();

private:
    std::vector<std::string> m_lines;
    std::vector<LogFont> m_fonts; // one per line added, never shortened with the lines
};

// Letter case folded as the name lookups compare (ASCII and full-width Latin letters).
std::string FoldFaceCase(const std::string& name);

// The list as a drop-down control (CEnumFontCombo).
class CEnumFontCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CEnumFontCombo(QWidget* parent = nullptr);
    // Fills from the system's faces (or the given ones, for tests).
    void FillFontList(bool empty = true);
    void FillFontList(const std::vector<EnumeratedFace>& faces, bool empty = true);
    const FontNameList& fonts() const { return m_fonts; }
    // Selects the line equal to the name apart from letter case; false (and no selection) when none.
    bool SelectFace(const std::string& name);
    // The current line's font; false without a line or an entry.
    bool GetSelectedLogFont(LogFont& out) const;

private:
    FontNameList m_fonts;
};

} // namespace kov::dialogs
