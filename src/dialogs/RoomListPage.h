#pragma once

// The page "部屋情報の編集" of the settings sheet: the room list of the file "kovroom.txt" (read when
// the page is first shown, written by its OK), the room-name font of the sheet's copy and three
// room-label keys.

#include "model/RoomInfo.h"
#include "model/RoomList.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QLabel;

namespace kov::dialogs {

struct SettingsServices;

class RoomPageForm {
public:
    struct HatchEntry {
        const char* label;
        int type;
    };
    // The pattern list in its order, with the hatch type of each entry.
    static constexpr HatchEntry kHatchEntries[9] = {
        {"右斜め上縞", 3}, {"格子", 4},         {"斜め格子", 5},        {"右斜め下縞", 2}, {"水平縞", 0},
        {"垂直縞", 1},     {"床目地(横)", 100}, {"床目地(縦)", 101}, {"畳", 300}};
    // The palette of both colour grids, 13 columns by 2 rows, top row first.
    static constexpr int kPaletteColumns = 13;
    static constexpr int kPaletteRows = 2;
    static const std::array<std::uint32_t, kPaletteColumns * kPaletteRows>& Palette();
    // The palette entry under a point of a palette of that size: a hit lies strictly inside its cell
    // (cells of width ÷ 13 by height ÷ 2 pixels); a border, or a point beyond the cells, is -1.
    static int PaletteEntryAt(int x, int y, int width, int height);

    explicit RoomPageForm(const SettingsServices& services) : m_services(services) {}

    std::vector<kov::model::RoomListEntry> rooms;
    int selected = -1;
    CRoomInfo buffer;            // the room being edited; its font is the sheet's copy
    std::string nameEdit;
    std::string spacingText;
    int patternChoice = 0;       // entry of the pattern list, -1 none
    int areaInSquareMetres = 0;  // room_heibei
    int matWordTatami = 0;       // room_heyack_jyou_name
    int mildGradient = 1;        // room_grad_mild

    std::filesystem::path file() const;
    void OnInitDialog();
    void ShowRoom(int index);
    // A line of the list chosen.
    void Select(int index);
    void FillChecked(bool on);
    void HatchChecked(bool on);
    void PatternChosen(int entry);
    // A click at (x, y) in the fill or the hatch palette of that size; true when it took a colour.
    bool PaletteClick(bool hatchPalette, int x, int y, int width, int height);
    // "他の色を選択...": the colour chooser on the fill or hatch colour.
    bool OtherColour(bool hatchPalette);
    // Every change of "模様間隔": numbers from 1 to 1000 are taken, anything else is passed over.
    void SpacingEdited(const std::string& text);
    // "部屋追加", "部屋挿入", "部屋内容変更", "部屋削除": false when nothing changed; a missing or
    // unstorable name is said.
    bool Add();
    bool Insert();
    bool Change();
    bool Delete();
    // "部屋文字の変更...": the room-name font dialog on a copy of the font.
    bool ChangeFont();
    bool canChangeFont() const;
    // The three keys, then the file; a failed write is said.
    void OnOK() const;
    // app_tatamiheri, which the preview of a tatami room follows.
    int tatamiBorders() const;

private:
    // The room the buttons store: the edit's name with the buffer's style; nothing when the name
    // is missing or the file cannot hold it (said).
    std::optional<kov::model::RoomListEntry> built() const;
    const SettingsServices& m_services;
};

class RoomSettingsPage : public QWidget {
public:
    RoomSettingsPage(RoomPageForm& form, QWidget* parent = nullptr);
    // Controls from the form; the preview and the palettes painted again.
    void sync();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintSamples();
    RoomPageForm& m_form;
    bool m_syncing = false;
};

} // namespace kov::dialogs
