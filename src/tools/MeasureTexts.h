#pragma once

// The prompts, messages and dialog captions of the construction line tools, the measuring tools
// and commands, and the text tools.

#include <string_view>

namespace kov::tools {

// Construction lines.
inline constexpr std::string_view kPromptSecondByDirection = "方向を決めて二点目をクリック";
inline constexpr std::string_view kPromptFirstPoint = "一点目をクリック";
inline constexpr std::string_view kPromptSecondPoint = "二点目をクリック";
inline constexpr std::string_view kPromptPerpendicularStart = "垂直線の始点をクリック";
inline constexpr std::string_view kPromptPerpendicularEnd = "垂直線の終点をクリック";
inline constexpr std::string_view kPromptReferenceLine = "基準線上をクリック";
inline constexpr std::string_view kPromptTangentFromCirclePoint = "円周点に接線を引く始点をクリック";
inline constexpr std::string_view kPromptTangentDirection = "円接線を引く方向をクリック";
inline constexpr std::string_view kBadLength = "長さが不正です";
inline constexpr std::string_view kNoReferenceLine = "基準線の取得に失敗しました";
inline constexpr std::string_view kBadPoint = "指定点の位置が不正です";
inline constexpr std::string_view kCaptionPerpendicular = "垂直線の長さ";
inline constexpr std::string_view kCaptionTangentFromPoint = "指定点から円接線への距離";
inline constexpr std::string_view kCaptionTangentFromCircle = "円周点から指定点への距離";

// Measuring.
inline constexpr std::string_view kPromptAreaTotal = "ｸﾘｯｸしていき面積累計する（ﾀﾞﾌﾞﾙｸﾘｯｸで終了）";
inline constexpr std::string_view kPromptLengthTotal = "ｸﾘｯｸしていき長さ累計する（ﾀﾞﾌﾞﾙｸﾘｯｸで終了）";
inline constexpr std::string_view kLabelAngle = "測定角度";
inline constexpr std::string_view kLabelRoomArea = "選択部屋の面積";
inline constexpr std::string_view kSelectFigureToMeasure = "測定する図形を選択してください";
inline constexpr std::string_view kNoLengthMessage = "選択物の長さは測定できません";
inline constexpr std::string_view kSelectRoomToMeasure = "測定する部屋（壁が３つ以上のグループ）を選択してください";

} // namespace kov::tools
