#pragma once

// The prompts and messages of the line editing and construction tools that edit or copy lines.

#include <string_view>

namespace kov::tools {

// Divide (tool 64).
inline constexpr std::string_view kPromptDividePick = "分割する直線（円、円弧）をクリック";
inline constexpr std::string_view kPromptDivideStart = "選択した図形の分割を開始する点をクリック";
inline constexpr std::string_view kDividePickFailed = "分割する線（円弧）の取得に失敗しました";
inline constexpr std::string_view kDivideAtAnEnd = "分割を開始する端でクリックしてください。";
// Corner (tool 35) and chamfer (tool 36).
inline constexpr std::string_view kPromptCornerFirst = "コーナー処理する線上をクリック";
inline constexpr std::string_view kPromptCornerSecond = "コーナー処理する対象線上をクリック";
inline constexpr std::string_view kPromptCornerCrossing = "Ｒと直線との交点近くをクリック";
inline constexpr std::string_view kPromptChamferFirst = "面取りする二つの線上をクリック";
inline constexpr std::string_view kPromptChamferSecond = "もう一つの対象線上をクリック";
inline constexpr std::string_view kTargetPickFailed = "対象線の取得に失敗しました";
// Trim and extend (tool 32).
inline constexpr std::string_view kPromptTrimReference = "基準線(または円、円弧)上をクリック";
inline constexpr std::string_view kPromptTrimTarget = "対象線(または円弧)をクリック";
inline constexpr std::string_view kPromptTrimPoint = "伸縮点をクリック";
inline constexpr std::string_view kReferencePickFailed = "基準線の取得に失敗しました";
// Partial cut (tool 19).
inline constexpr std::string_view kPromptPartialEnd = "部分切断終了位置をクリック";
inline constexpr std::string_view kPromptPartialStart = "線部分切断開始点をクリック";
// Join (tool 67).
inline constexpr std::string_view kNoLineAtClick = "クリックした場所に直線はありません。";
inline constexpr std::string_view kNothingToJoin = "指定した線に結合する線がないか、分岐しています。";
// Parallel line (tool 21) and two lines (tool 22).
inline constexpr std::string_view kPromptReferenceLine = "基準線上をクリック";
inline constexpr std::string_view kPromptParallelSide = "複線を引く方向をクリック";
inline constexpr std::string_view kPromptTwoLinesStart = "２線開始位置をクリック";
inline constexpr std::string_view kPromptTwoLinesEnd = "２線終了位置をクリック";
// Equally divided lines (tool 33).
inline constexpr std::string_view kPromptDivisionFirst = "分割一点目をクリック";
inline constexpr std::string_view kPromptDivisionSecond = "分割二点目をクリック";
inline constexpr std::string_view kPromptDivisionFrom = "開始点をクリック";
inline constexpr std::string_view kPromptDivisionTo = "終了点をクリック";
// Envelope (tool 34).
inline constexpr std::string_view kPromptFirstPoint = "一点目をクリック";
inline constexpr std::string_view kPromptSecondPoint = "二点目をクリック";

} // namespace kov::tools
