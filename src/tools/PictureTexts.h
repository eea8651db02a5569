#pragma once

// What the picture commands say.

namespace kov::tools::picturetext {

inline constexpr const char* kPasteWriteFailed = "クリップボードの画像を作業フォルダに書き込めませんでした。";
inline constexpr const char* kTrimTooSmall = "切り抜く範囲が小さすぎます。枠をもう少し広げてください。";
inline constexpr const char* kTrimUnreadable = "画像ファイルが読み取れないため、トリミングできません。";
inline constexpr const char* kTrimWriteFailed = "切り抜いた画像を作業フォルダに書き込めませんでした。";
inline constexpr const char* kOldFormTurnRefused = "旧形式の保存は回転情報が失われます";
inline constexpr const char* kOnePictureFirst = "画像を一つだけ選択してから実行してください。";
inline constexpr const char* kRangeFailed = "範囲取得に失敗しました。\nもう一度初めからやり直してください";

} // namespace kov::tools::picturetext
