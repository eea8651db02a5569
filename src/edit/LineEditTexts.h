#pragma once

// The messages of the line edits: trims, corners and chamfers, and division.

#include <string_view>

namespace kov::edit::texts {

// Trim and extend.
inline constexpr std::string_view kEllipseNoReference = "楕円は基準線にできません";
inline constexpr std::string_view kReferenceKinds = "基準線は直線、円、円弧のみです";
inline constexpr std::string_view kTargetNotFound = "対象線取得失敗";
inline constexpr std::string_view kTargetKinds = "対象線は直線または円弧のみです";
inline constexpr std::string_view kTrimFailed = "線伸縮失敗";
inline constexpr std::string_view kNoCrossing = "交点がありません";

// Chamfers and fillets.
inline constexpr std::string_view kEllipseNoChamfer = "楕円は面取りはできません";
inline constexpr std::string_view kChamferKinds = "線と線、もしくは線と円弧でないと面取りはできません";
inline constexpr std::string_view kArcsRoundOnly = "円弧は丸面取りのみ行えます";
inline constexpr std::string_view kNoCornerPoint = "二線の交点がとれません";
inline constexpr std::string_view kNoChamfer = "面取りできません";

// Division.
inline constexpr std::string_view kBadDivisionLength = "分割する数値が不正です。";
inline constexpr std::string_view kEllipseNoLengthDivision = "円弧楕円は数値分割できません。";

} // namespace kov::edit::texts
