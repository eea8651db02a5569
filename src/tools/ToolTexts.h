#pragma once

// The tool machine's texts and the command numbers it answers to.

#include <string_view>

namespace kov::tools {

inline constexpr std::string_view kSelectMode = "選択モード";
inline constexpr std::string_view kNotACircle = "選択物が円ではありません";
inline constexpr std::string_view kNoEllipseTangent = "楕円接線はできません";
inline constexpr std::string_view kMatchPictureHelp =
    "画像上の2点を左クリックで指定し、続けて図面上の合わせたい位置の2点を左クリックしてください。\n"
    "画像の２点間を決めている時は、マウス縦横固定モードになっています。斜めの場合はFreeにしてください。";
inline constexpr std::string_view kZoomInClick = "左クリックで拡大";
inline constexpr std::string_view kZoomInDrag = "左ドラッグで徐々に拡大";
inline constexpr std::string_view kRangeZoom = "左ドラッグで囲んだ部分を拡大";
inline constexpr std::string_view kHandTool = "左ドラッグで拡大箇所移動";
// Figure step prompts.
inline constexpr std::string_view kPromptWidth = "幅の位置をクリック";
inline constexpr std::string_view kPromptHeight = "高さ位置をクリック";
inline constexpr std::string_view kPromptArcStart = "円弧開始点をクリック";
inline constexpr std::string_view kPromptArcEnd = "円弧終了点をクリック";
inline constexpr std::string_view kPromptCentre = "中心点をクリック";
inline constexpr std::string_view kPromptArcThrough = "円弧決定点をクリック";
inline constexpr std::string_view kPromptBaseSecond = "底辺二点目をクリック";
inline constexpr std::string_view kPromptFreeEnd = "左クリックで終了";

// Commands of the view handled by the machine (tool starts come from the tool table).
enum : int {
    kCmdFitAll = 32791,
    kCmdZoomIn = 32775,
    kCmdZoomOut = 32776,
    kCmdRangeZoom = 33951,
    kCmdHandTool = 33940,
    kCmdToggleGrid = 32817,
    kCmdTraceMode = 33943,
    kCmdUndo = 57643,
    kCmdRedo = 57644,
};

} // namespace kov::tools
