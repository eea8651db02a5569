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
inline constexpr std::string_view kLayerZeroNote = "全ての要素がレイヤー０になります。";
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "キャンセル";

// Export failures ("%1" the file, "%2" the system's reason)
inline constexpr std::string_view kWriteFailed = "DXFファイル「%1」を保存できませんでした。（%2）";

// Import failures and warnings; "%1" a line number or a name. What was read before stays.
inline constexpr std::string_view kOpenFailed = "DXFファイル「%1」を開けませんでした。";
inline constexpr std::string_view kBinaryDxf = "バイナリ形式のDXFファイルは読み込めません。";
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

// A message of the table with its "%1" filled in.
inline std::string withArgument(std::string_view pattern, std::string_view arg)
{
    std::string s(pattern);
    const auto at = s.find("%1");
    if (at != std::string::npos) s.replace(at, 2, arg);
    return s;
}

} // namespace kov::io::dxftext
