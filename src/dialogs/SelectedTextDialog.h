#pragma once

// "選択文字の修正": the text, font, angle, writing direction, alignment, height, spacings, colours
// and background of the selected text, or of several selected texts at once (then without the
// text, the direction and the alignment). SelectedTextForm holds the values and rules; the opener
// fills it from the first selected text and applies it after OK; CFontsyuseidlg only shows it.

#include "model/FontMenu.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace kov::platform {
class Questions;
}

namespace kov::dialogs {

class CEnumFontCombo;
class FontNameList;

class SelectedTextForm {
public:
    // Set by the opener.
    CFontMenu font;        // its face never begins with "@" while the dialog runs
    std::string text;
    int angle = 0;         // tenths of a degree
    int vertical = 0;
    int several = 0;
    int hAlign = 0;
    int vAlign = 0;

    // What the controls show when the dialog opens.
    struct Shown {
        std::string angleText, sizeText, spacingText, lineSpacingText;
        bool bold = false, italic = false, underline = false, strikeOut = false;
        bool backOn = false;
    };
    Shown shown() const;

    // Selects the font's face in the list (apart from letter case); a face the list lacks becomes
    // "ＭＳ ゴシック", chosen as a new selection would be. The line selected, -1 for none.
    int SelectFace(const FontNameList& list);
    // A new selection of the font list: the list's font for the name, keeping the font's height,
    // width, escapement, weight, italic, underline and strike-out.
    void ApplyChosenFace(const FontNameList& list, const std::string& name);

    // What the controls hold at OK.
    struct Entered {
        std::string text, angleText, sizeText, spacingText, lineSpacingText;
        bool vertical = false;
        int hAlign = -1, vAlign = -1;
        bool backOff = true;
        bool bold = false, italic = false, underline = false, strikeOut = false;
    };
    // OK: reads the controls back by the rules (an angle outside 0-359 keeps the old one; a
    // height outside 0.5-100 becomes 1, spacings outside 0-100 become 0).
    void Accept(const Entered& entered);
};

class CFontsyuseidlg : public QDialog {
    Q_OBJECT
public:
    // pickFont: the frame's font chooser on a font record (true on OK).
    using FontPicker = std::function<bool(CFontMenu&)>;
    CFontsyuseidlg(const SelectedTextForm& values, kov::platform::Questions& questions, FontPicker pickFont,
                   QWidget* parent = nullptr);
    SelectedTextForm& form() { return m_form; }
    CEnumFontCombo& fontList() { return *m_faces; }
    void accept() override;

private:
    void showStyle();
    void paintSamples();

    SelectedTextForm m_form;
    kov::platform::Questions& m_questions;
    FontPicker m_pickFont;
    QPlainTextEdit* m_text = nullptr;
    CEnumFontCombo* m_faces = nullptr;
    QCheckBox* m_style[4] = {};
    QLineEdit* m_size = nullptr;
    QLineEdit* m_spacing = nullptr;
    QLineEdit* m_lineSpacing = nullptr;
    QCheckBox* m_vertical = nullptr;
    QLineEdit* m_angle = nullptr;
    QLabel* m_colourSample = nullptr;
    QLabel* m_backSample = nullptr;
    QRadioButton* m_backOff = nullptr;
    QRadioButton* m_backOn = nullptr;
    QComboBox* m_hAlign = nullptr;
    QComboBox* m_vAlign = nullptr;
};

} // namespace kov::dialogs
