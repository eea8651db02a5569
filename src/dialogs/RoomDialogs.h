#pragma once

// The two dialogs that edit the look of rooms:
// - CRoomFontDg ("部屋文字フォントの設定"): the font of the room-name labels, its face and colour
//   through the font chooser, its height and character spacing in paper millimetres;
// - CRoomHenkouDlg ("部屋内容の変更"): the fill and pattern of one selected room.
// The forms hold the values and rules; the dialogs only show them.

#include "model/RoomInfo.h"
#include "render/Swatches.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kov::platform {
class Profile;
class Questions;
class Surface;
}

namespace kov::dialogs {

class RoomFontForm {
public:
    // mmToDevice: the frame's conversion of a height in paper millimetres to screen pixels.
    RoomFontForm(const CFontMenu& font, std::function<int(double)> mmToDevice)
        : font(font), m_mmToDevice(std::move(mmToDevice))
    {
    }
    CFontMenu font;

    std::string heightText() const;
    std::string spacingText() const;
    // Every change of the height edit: a height outside 0.5-100 mm is 1; the logical height follows.
    void OnHeightEdited(const std::string& text);
    // Every change of the spacing edit: a spacing outside 0-100 mm is 0.
    void OnSpacingEdited(const std::string& text);
    // OK reads both edits again by the same rules; the logical height keeps its last change.
    void Accept(const std::string& height, const std::string& spacing);

    static double HeightOf(const std::string& text);
    static double SpacingOf(const std::string& text);

private:
    std::function<int(double)> m_mmToDevice;
};

class CRoomFontDg : public QDialog {
    Q_OBJECT
public:
    using FontPicker = std::function<bool(CFontMenu&)>;
    CRoomFontDg(const CFontMenu& font, std::function<int(double)> mmToDevice, FontPicker pickFont,
                QWidget* parent = nullptr);
    RoomFontForm& form() { return m_form; }
    const CFontMenu& font() const { return m_form.font; }
    void accept() override;

private:
    RoomFontForm m_form;
    FontPicker m_pickFont;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_spacing = nullptr;
};

class RoomChangeForm {
public:
    static constexpr int kCells = 26;
    static const std::array<std::uint32_t, kCells> kColours;
    struct Pattern {
        const char* name;
        int type;
    };
    static const std::array<Pattern, 9> kPatterns;

    // room: the values the opener took from the room (the rest keep the room defaults).
    RoomChangeForm(const CRoomInfo& room, kov::platform::Profile& profile);

    CRoomInfo room;
    // The pattern list's entries (without "畳" unless the room is a tatami room) and its selection.
    std::vector<Pattern> entries;
    int entry = 0;
    bool patternListEnabled = true;
    bool spacingEnabled = true;
    std::string spacingText;

    void OnFillChecked(bool on);
    void OnPatternChecked(bool on);
    void OnPatternChosen(int index);
    // Every change: a spacing from 1 to 1000 mm is taken, anything else keeps the last one.
    void OnSpacingEdited(const std::string& text);
    // A palette click: cell of the fill palette or of the pattern palette (-1 hits nothing).
    void ClickFillCell(int cell);
    void ClickPatternCell(int cell);
    // "他の色を選択..." of the fill or the pattern colour; false when cancelled.
    bool PickFillColour(kov::platform::Questions& questions);
    bool PickPatternColour(kov::platform::Questions& questions);

    void DrawSample(kov::platform::Surface& dc, int width, int height, const SwatchEnvironment& env) const;
    static void DrawPalette(kov::platform::Surface& dc, int width, int height);
};

class CRoomHenkouDlg : public QDialog {
    Q_OBJECT
public:
    CRoomHenkouDlg(const CRoomInfo& room, kov::platform::Profile& profile, kov::platform::Questions& questions,
                   SwatchEnvironment env = {}, QWidget* parent = nullptr);
    RoomChangeForm& form() { return m_form; }
    const CRoomInfo& room() const { return m_form.room; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void redraw();

    RoomChangeForm m_form;
    kov::platform::Questions& m_questions;
    SwatchEnvironment m_env;
    QLabel* m_sample = nullptr;
    QLabel* m_fillPalette = nullptr;
    QLabel* m_patternPalette = nullptr;
    QCheckBox* m_fill = nullptr;
    QCheckBox* m_pattern = nullptr;
    QComboBox* m_patterns = nullptr;
    QLineEdit* m_spacing = nullptr;
};

} // namespace kov::dialogs
