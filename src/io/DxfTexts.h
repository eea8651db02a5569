#pragma once

// The texts the DXF commands show, in one table.

#include <string>
#include <string_view>

namespace kov::io::dxftext {

// Commands
inline constexpr std::string_view kExportMenu = "DXF出力(&D)...";
inline constexpr std::string_view kExportPrompt = "図面をＤＸＦで出力する\nＤＸＦ出力";
inline constexpr std::string_view kExportTitle = "DXF形式で保存";
inline constexpr std::string_view kImportMenu = "DXF読み込み(&X)...";
inline constexpr std::string_view kImportPrompt = "図面にDXFファイルを読み込む\nDXF読み込み";
inline constexpr std::string_view kImportTitle = "DXFファイル取り込み";
inline constexpr std::string_view kFileFilter = "DXFﾌｧｲﾙ(*.dxf)"; // in the choosers' form
inline constexpr std::string_view kDefaultExtension = ".dxf";

// Import options dialog
inline constexpr std::string_view kOptionsCaption = "DXF読み取り設定";
inline constexpr std::string_view kKeepPaperLabel = "用紙サイズを変更しない";
inline constexpr std::string_view kKeepScaleLabel =
    "縮尺を変更しない（変更しないにすると文字の大きさがうまく読み取れない場合があります）";
// Every entity goes to the layer of its DXF layer (the first 256 layers of the file, in order).
inline constexpr std::string_view kLayerZeroNote = "要素はDXFの画層ごとのレイヤーに読み込みます。";
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "キャンセル";

// Export failures ("%1" the file, "%2" the system's reason)
inline constexpr std::string_view kWriteFailed = "DXFファイル「%1」を保存できませんでした。（%2）";

// Import failures: one message, "%1" the file, "%2" why. The open drawing stays as it was.
inline constexpr std::string_view kOpenFailed = "DXFファイル「%1」を開けませんでした。";
inline constexpr std::string_view kReadFailed = "DXFファイル「%1」を読み込めませんでした。%2";
inline constexpr std::string_view kBinaryDxf = "バイナリ形式のDXFファイルは読み込めません。";
inline constexpr std::string_view kReasonEmpty = "ファイルが空です。";
inline constexpr std::string_view kReasonBadStart = "DXF形式のファイルではありません。";
inline constexpr std::string_view kReasonNoSection = "DXFのセクションがありません。";
// A file that reads but makes nothing to draw: the open drawing stays.
inline constexpr std::string_view kNothingRead =
    "DXFファイル「%1」には読み込める図形も文字もありませんでした。開いている図面はそのままです。";

// Import warnings; "%1" a line number, a name or a count. What was read before stays.
inline constexpr std::string_view kTruncated =
    "DXFファイルが%1行目で途中で終わっています。そこまでに読み取れた要素を読み込みました。";
inline constexpr std::string_view kBadGroupCode =
    "DXFファイルの%1行目のグループコードが正しくありません。そこまでに読み取れた要素を読み込みました。";
inline constexpr std::string_view kSelfInsert =
    "ブロック「%1」は自分自身を挿入しているため、その挿入は読み込みませんでした。";
inline constexpr std::string_view kTooDeep =
    "ブロック「%1」の入れ子が深すぎるため、その挿入は読み込みませんでした。";
inline constexpr std::string_view kMissingBlock = "ブロック「%1」が見つからないため、その挿入は読み込みませんでした。";
inline constexpr std::string_view kTooMany =
    "要素が多すぎるため、%1個を超える分は読み込みませんでした。";
// "%1": the kinds with their counts, e.g. "HATCH 3 個、点(POINT) 12 個".
inline constexpr std::string_view kNotRead = "次の要素は読み込みませんでした：%1";
inline constexpr std::string_view kTilted = "図面の面に対して傾いた要素 %1 個は読み込みませんでした。";
inline constexpr std::string_view kCentred = "図面が用紙からはみ出すため、図面を用紙の中央に移しました。";
// "%1": the paper and the scale chosen.
inline constexpr std::string_view kFitted =
    "図面が用紙からはみ出すため、用紙と縮尺を図面の大きさから選び（%1）、図面を用紙の中央に置きました。";

// A message of the table with its "%1" (and "%2") filled in.
inline std::string withArgument(std::string_view pattern, std::string_view arg, std::string_view arg2 = {})
{
    std::string s(pattern);
    const auto at = s.find("%1");
    if (at != std::string::npos) s.replace(at, 2, arg);
    const auto at2 = s.find("%2");
    if (at2 != std::string::npos) s.replace(at2, 2, arg2);
    return s;
}

} // namespace kov::io::dxftext
