#pragma once

// The text tools' panels: "文字設定" edits the document's text font and the text tool's direction
// and angle as they are typed; the entry line takes the text for the clicked point (with the
// quotations of "kovtex.txt"); the decorated-text panel edits the text and look of the next
// decorated text. The forms hold the rules; the widgets only show them. The settings panel and the
// decorated-text panel write their keys at the change that sets them, as the tools read them at
// their next start; nothing is written when a panel closes.

#include "model/FontMenu.h"
#include "tools/ViewSettings.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kov::platform {
class Profile;
class Questions;
}

namespace kov::dialogs {

class CEnumFontCombo;
class FontNameList;

// What the frame lends the text panels.
struct TextPanelHooks {
    std::function<int(double mm)> mmToDevice;       // the font height of a size in paper mm
    std::function<bool(CFontMenu& font)> pickFont;   // the frame's font chooser; true on OK
    std::function<void()> redraw;                    // the view, for the preview
    std::function<void()> drawToolSample;            // the tool panel's style sample
};

// The quotation list's first line; the quotations follow it.
inline constexpr const char* kQuotationHead = "-----<引用文>-----";
// The list of a quotation file: the head line, then the file's quotations.
std::vector<std::string> QuotationLines(const std::vector<std::string>& quotations);

// CTextEdDg2 on the document's font and the text tool's values (section KOV_T_PlotMenu).
class TextSettingsForm {
public:
    static constexpr const char* kTitle = "文字設定";

    TextSettingsForm(CFontMenu& font, kov::tools::TextPanelValues& values, kov::platform::Profile& profile,
                     TextPanelHooks hooks);

    // What the controls show.
    struct Shown {
        std::string angleText, sizeText, spacingText, lineSpacingText;
        bool bold = false, italic = false, underline = false, strikeOut = false, backOn = false, vertical = false;
        int hAlign = 0, vAlign = 0;
    };
    Shown shown() const;

    // Fills the panel: vertical off, the angle and alignments from the keys, an old colour number of
    // the background converted, the boxes' rules run on their own texts. The face's line in the
    // list (a face the list lacks becomes "ＭＳ ゴシック", chosen as a selection would be); -1 none.
    int Fill(const FontNameList& list);
    // A face chosen in the list: its font, keeping height, width, escapement, weight and styles.
    void OnFace(const FontNameList& list, const std::string& name);
    // "フォントの設定...": true when the chooser's OK changed the font.
    bool OnPickFont();
    void OnStyle(int which, bool on); // 0 bold, 1 italic, 2 underline, 3 strike-out
    // Height 0.5-100 (else 1), spacings 0-100 (else 0), angle 0-359 (else 0): each as typed.
    void OnHeightTyped(const std::string& text);
    void OnSpacingTyped(const std::string& text);
    void OnLineSpacingTyped(const std::string& text);
    void OnAngleTyped(const std::string& text);
    void OnVertical(bool on);
    void OnHAlign(int line);
    void OnVAlign(int line);
    void OnBack(bool on);

    CFontMenu& font() { return m_font; }
    const kov::tools::TextPanelValues& values() const { return m_values; }

private:
    void changed(bool sample);

    CFontMenu& m_font;
    kov::tools::TextPanelValues& m_values;
    kov::platform::Profile& m_profile;
    TextPanelHooks m_hooks;
};

// CTextEditBDlg on the text tool's pending text.
class TextEntryForm {
public:
    // create: the text of the pending text at the clicked point; clearPoints: the tool's points go.
    TextEntryForm(std::string& pending, std::vector<std::string> quotationLines, std::function<void()> create,
                  std::function<void()> clearPoints, std::function<void()> redraw);

    const std::vector<std::string>& lines() const { return m_lines; }
    // A click of the tool: the pending text emptied for the new point; the edit keeps its text.
    void ResetInput();
    // Every change of the edit (line breaks as LF).
    void OnEdit(const std::string& text);
    // A quotation appended to the edit's text; the edit's new text, or nothing for the head line.
    std::optional<std::string> OnQuotation(const std::string& edit, int line);
    // OK: a text of the pending text when there is one; then the points go. The edit empties.
    void OnOK();
    // "キャンセル", Esc, the close box: the pending text and the points go, nothing is made.
    void OnCancel();

private:
    std::string& m_pending;
    std::vector<std::string> m_lines;
    std::function<void()> m_create;
    std::function<void()> m_clearPoints;
    std::function<void()> m_redraw;
};

// CTextHuchiDg on the decorated-text tool's values (section KOV_T_PlotMenu), or in its edit mode on
// the values of one text (the caller fills them and writes them back on OK). The keys are written in
// both modes, so editing a text also sets what the tool starts with.
class DecoratedTextForm {
public:
    static constexpr const char* kTitle = "修飾文字の作成";
    static constexpr const char* kEditTitle = "修飾文字の修正";
    static constexpr const char* kBadThickness = "枠の太さは0.1から21までです。";

    DecoratedTextForm(kov::tools::DecoratedTextValues& values, kov::platform::Profile& profile,
                      kov::platform::Questions& questions, TextPanelHooks hooks);

    struct Shown {
        std::string text, sizeText, thicknessText, opacityText;
        bool vertical = false, framesOnly = false;
        int shape = 0, slantLine = 4;
    };
    Shown shown() const;

    // The tool's start as the values hold it: the font height from the size, and the size and
    // thickness boxes' rules run on their one-decimal texts (which writes their keys).
    void Fill();
    void OnText(const std::string& text);
    std::optional<std::string> OnQuotation(const std::vector<std::string>& lines, const std::string& edit, int line);
    // "フォントの設定...": the chosen font, written horizontally; true on OK.
    bool OnPickFont();
    void OnHeightTyped(const std::string& text);
    void OnVertical(bool on);
    // "文字の色" (0) and "文字枠の色" (1): true when a colour was chosen.
    bool OnColour(int which);
    void OnOpacityTyped(const std::string& text);
    // A thickness outside 0-21 is said and refused (false).
    bool OnThicknessTyped(const std::string& text);
    void OnFramesOnly(bool on);
    void OnShape(int shape);
    void OnSlant(int line);
    // A placed text empties the text.
    void ClearText();

    const kov::tools::DecoratedTextValues& values() const { return m_values; }

private:
    kov::tools::DecoratedTextValues& m_values;
    kov::platform::Profile& m_profile;
    kov::platform::Questions& m_questions;
    TextPanelHooks m_hooks;
};

// The text settings panel.
class TextSettingsPanel : public QDialog {
    Q_OBJECT
public:
    TextSettingsPanel(CFontMenu& font, kov::tools::TextPanelValues& values, kov::platform::Profile& profile,
                      kov::platform::Questions& questions, TextPanelHooks hooks, QWidget* parent = nullptr);
    TextSettingsForm& form() { return m_form; }
    CEnumFontCombo& fontList() { return *m_faces; }

private:
    void showStyle();
    void paintSamples();

    TextSettingsForm m_form;
    kov::platform::Questions& m_questions;
    CEnumFontCombo* m_faces = nullptr;
    std::array<QPushButton*, 4> m_style{};
    QLineEdit* m_size = nullptr;
    QLabel* m_colourSample = nullptr;
    QLabel* m_backSample = nullptr;
    QPushButton* m_backButton = nullptr;
};

// The entry line, hidden until the tool's click.
class TextEntryLine : public QDialog {
    Q_OBJECT
public:
    TextEntryLine(std::string& pending, std::vector<std::string> quotationLines, std::function<void()> create,
                  std::function<void()> clearPoints, std::function<void()> redraw, QWidget* parent = nullptr);
    TextEntryForm& form() { return m_form; }
    // The tool's click: the pending text emptied, the line shown with the focus in the edit.
    void ShowForPoint();
    void accept() override;
    void reject() override;

private:
    TextEntryForm m_form;
    QPlainTextEdit* m_edit = nullptr;
    QComboBox* m_quotations = nullptr;
};

// The decorated-text panel with its sample: in tool mode a panel without caption, OK or Cancel; in
// edit mode a modal dialog with both.
class DecoratedTextPanel : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Tool, Edit };

    DecoratedTextPanel(kov::tools::DecoratedTextValues& values, kov::platform::Profile& profile,
                       kov::platform::Questions& questions, std::vector<std::string> quotationLines,
                       TextPanelHooks hooks, QWidget* parent = nullptr, Mode mode = Mode::Tool);
    DecoratedTextForm& form() { return m_form; }
    // After a placed text: the edit emptied, with the focus.
    void ClearText();
    // Enter places nothing in tool mode; in edit mode OK ends the dialog.
    void accept() override;

private:
    void drawSample();

    Mode m_mode;
    DecoratedTextForm m_form;
    std::vector<std::string> m_lines;
    QPlainTextEdit* m_edit = nullptr;
    QLabel* m_sample = nullptr;
    QLabel* m_innerSample = nullptr;
    QLabel* m_frameSample = nullptr;
};

} // namespace kov::dialogs
