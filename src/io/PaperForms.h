#pragma once

// The values and rules of the paper dialog, the user paper dialog and the print position dialog;
// the Qt dialogs only show them and forward the user's input. The opener sets the public values,
// runs the dialog and reads them back after OK.

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace kov::io {

// One entry of the paper list and the paper codes its two orientations give.
struct PaperEntry {
    std::string_view label;
    int landscape;
    int portrait;
};

inline constexpr std::array<PaperEntry, 13> kPaperEntries{{
    {"A1", 4, 20},
    {"A2", 3, 21},
    {"A3", 2, 9},
    {"A4", 0, 6},
    {"A5", 12, 13},
    {"B1", 14, 15},
    {"B2", 16, 17},
    {"B3", 18, 19},
    {"B4", 1, 10},
    {"B5", 5, 7},
    {"ハガキ", 22, 8},
    {"写真Ｌ判", 23, 24},
    {"ユーザー設定...", 11, 11},
}};
inline constexpr int kUserPaperEntry = 12;
inline constexpr int kA4Entry = 3;
// User papers run from 1 mm up to this on each side.
inline constexpr int kMaxUserPaperMm = 29999;

// A user paper the page can be laid out on: a whole millimetre or more on each side, below 30000.
bool IsUsableUserPaper(int width, int height);

// The paper dialog: list entry and orientation for the document's paper code.
class PageSetForm {
public:
    // Asks for a user size (the user paper dialog) starting from the values given; true after OK.
    using UserSizeAsker = std::function<bool(int& width, int& height)>;

    int paperCode = 0;
    int userWidth = 297;
    int userHeight = 210;

    int selection = -1;      // list entry, -1 for none
    bool portrait = false;   // "縦" on, "横" off
    std::string refusal;     // why OK kept the dialog open

    // Selects the entry and the orientation whose table cell holds the code; codes the list does
    // not offer (the card, codes outside the table) show "A4" with "横".
    void OnInitDialog();
    // A new entry chosen in the list. Choosing the user entry asks for the size; the answer is
    // taken only when both sides are usable.
    void OnSelChange(int index, const UserSizeAsker& askUserSize);
    void OnPortrait() { portrait = true; }
    void OnLandscape() { portrait = false; }
    // Takes the code from the entry and the orientation (none selected: the code stays). A user
    // paper without a usable size is refused: false, `refusal` says why, nothing changes; the
    // user paper the dialog opened on is no choice and closes the dialog as it was.
    bool OnOK();

private:
    int m_openedCode = -1;
};

// The user paper dialog: width and height in whole millimetres.
class PaperUserForm {
public:
    int width = 0;
    int height = 0;
    std::string widthText;
    std::string heightText;

    // Shows both values as decimal integers.
    void OnInitDialog();
    // Each text read as a decimal integer; a positive result replaces its value, anything else
    // (0, empty, no number, a negative size) keeps the old one. The dialog then closes.
    void OnOK();
};

// The print position dialog: the print offsets in whole millimetres on the paper, negative to the
// left and up.
class PrintmoveForm {
public:
    static constexpr int kLimit = 32000;

    int moveX = 0;
    int moveY = 0;
    std::string xText;
    std::string yText;
    bool left = false;   // "←" on, else "→"
    bool up = false;     // "↑" on, else "↓"

    // Each offset as its direction and its size.
    void OnInitDialog();
    // Both texts read as decimal integers; within ±32000 each, signed by its direction; beyond
    // that, both offsets become 0. The dialog then closes.
    void OnOK();
};

} // namespace kov::io
