#pragma once

// The texts the editing operations show the user.

#include <string_view>

namespace kov::edit::texts {

inline constexpr std::string_view kDeleteAuxLinesQuestion = "編集中レイヤーの補助線を全て削除してよろしいですか？";
inline constexpr std::string_view kGroupHoldsGroups =
    "選択物の中にグループがあるとグループ化できません。\nグループ化解除を行ってから選択しなおしてください";
inline constexpr std::string_view kGroupHoldsPictures = "選択物の中に画像があるとグループ化できません。";
// A copy that would need more identifiers than the drawing has free: nothing was copied.
inline constexpr std::string_view kCopyDrawingFull = "図形の数が上限に達したため、複写できません。";
inline constexpr std::string_view kMonochromeColourQuestion =
    "現在、白黒モードです。色の変更は表示上影響しませんが、実行しますか？";
inline constexpr std::string_view kMonochromeOpacityQuestion =
    "現在、白黒モードです。不透明度の変更は表示上影響しませんが、実行しますか？";

} // namespace kov::edit::texts
