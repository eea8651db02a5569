#pragma once

// The texts of the print commands and of the paper and print-position dialogs, in one table.

#include <string_view>

namespace kov::io::printtext {

// Commands of the file menu
inline constexpr std::string_view kPrintMenu = "印刷(&P)...\tCtrl+P";
inline constexpr std::string_view kPreviewMenu = "印刷ﾌﾟﾚﾋﾞｭｰ(&O)...";
inline constexpr std::string_view kPrintPositionMenu = "印刷位置調整...";
inline constexpr std::string_view kPaperMenu = "用紙設定(&Y)...";

// Paper dialog
inline constexpr std::string_view kPageSetCaption = "印刷用紙のサイズと向きの設定";
inline constexpr std::string_view kPaperSizeLabel = "用紙サイズ";
inline constexpr std::string_view kPortrait = "縦";
inline constexpr std::string_view kLandscape = "横";
inline constexpr std::string_view kUserPaperEntry = "ユーザー設定...";
// A user paper must have an extent: the page is laid out by dividing by it.
inline constexpr std::string_view kUserPaperRefused =
    "ユーザー設定の用紙サイズが正しくありません。横幅と縦幅は1mm以上29999mm以下で指定してください。";

// User paper dialog
inline constexpr std::string_view kPaperUserCaption = "用紙サイズのユーザー設定";
inline constexpr std::string_view kWidthLabel = "横幅";
inline constexpr std::string_view kHeightLabel = "縦幅";
inline constexpr std::string_view kRealSizeUnit = "mm（実寸）";

// Print position dialog
inline constexpr std::string_view kPrintmoveCaption = "印刷位置調整";
inline constexpr std::string_view kWholeMmUnitX = "mm(整数)";
inline constexpr std::string_view kWholeMmUnitY = "mm（整数）";
inline constexpr std::string_view kLeft = "←";
inline constexpr std::string_view kRight = "→";
inline constexpr std::string_view kUp = "↑";
inline constexpr std::string_view kDown = "↓";
inline constexpr std::string_view kDirectionSuffix = "の方向へ";
inline constexpr std::string_view kPrintmoveNote =
    "実際に印刷する用紙への位置を調整します。\n用紙のサイズより大きい数値を入れると印刷されません。";

inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "キャンセル";
inline constexpr std::string_view kCancelNarrow = "ｷｬﾝｾﾙ";

} // namespace kov::io::printtext
