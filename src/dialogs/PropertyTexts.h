#pragma once

// The texts of the property, layer, selected-text, room and column dialogs, in one table.

#include <array>

namespace kov::dialogs::proptext {

// -- buttons --------------------------------------------------------------------------------------
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kCancelNarrow = "ｷｬﾝｾﾙ";

// -- figure property dialog -----------------------------------------------------------------------
inline constexpr const char* kFigurePanelTitle = "作図図形の設定";
inline constexpr const char* kFigureSelectionTitle = "選択図形のプロパティ";
inline constexpr const char* kLineTypeLabel = "線の種類";
inline constexpr const char* kWidthTypeLabel = "線幅タイプ";
inline constexpr const char* kEndMarksLabel = "線の端点";
inline constexpr const char* kArcShapeLabel = "塗り形状";
inline constexpr const char* kMarkSizeLabel = "端点の大きさ";
inline constexpr const char* kColourGroup = "色選択";
inline constexpr const char* kLineColourRadio = "線の色選択";
inline constexpr const char* kFillColourRadio = "中の色選択";
inline constexpr const char* kSecondColourRadio = "第二色選択";
inline constexpr const char* kFillCheck = "中を塗る";
inline constexpr const char* kGradientGroup = "グラデーション";
inline constexpr const char* kGradientOn = "有効";
inline constexpr const char* kOpacityLabel = "不透明度";
inline constexpr const char* kPercent = "%";
inline constexpr const char* kOtherColour = "他の色を選択...";
inline constexpr const char* kHatchCheck = "模様をつける";
inline constexpr const char* kMm = "mm";
inline constexpr const char* kHatchSpacingRefused = "模様間隔は1mm～29mmです";
inline constexpr std::array<const char*, 6> kLineTypes{"実線", "破線", "点線", "一点鎖線", "二点鎖線", "補助線(印刷無)"};
inline constexpr std::array<const char*, 13> kEndMarks{"なし",   "始点←",   "終点→",   "両方←→", "始点<-",
                                                       "終点->", "両方<->", "始点●-", "終点-●", "両方●-●",
                                                       "始点■-", "終点-■", "両方■-■"};
inline constexpr std::array<const char*, 3> kArcShapes{"扇形", "弦", "Ｒ壁"};
inline constexpr std::array<const char*, 5> kMarkSizes{"小", "普通", "やや大", "大", "極大"};
inline constexpr std::array<const char*, 8> kDirections{"左から右へ", "左上から右下へ", "上から下へ",
                                                        "右上から左下へ", "右から左へ", "右下から左上へ",
                                                        "下から上へ", "左下から右上へ"};

// -- layer change dialog --------------------------------------------------------------------------
inline constexpr const char* kLayerChangeSelection = "選択物のレイヤー変更";
inline constexpr const char* kLayerMoveMerge = "レイヤーを移動合成";
inline constexpr const char* kLayerCopyMerge = "レイヤーをコピー合成";
inline constexpr const char* kLayerSelectAll = "指定レイヤーを全て選択状態";
inline constexpr const char* kSourceLayer = "元のレイヤー";
inline constexpr const char* kArrowDown = "↓";
inline constexpr const char* kChangedLayer = "変更後のレイヤー";
inline constexpr const char* kMergedLayer = "合成後のレイヤー";
inline constexpr const char* kChosenLayer = "指定レイヤー";
inline constexpr const char* kKeepOnSource = "元のレイヤーにも残す";

// -- layer list dialog ----------------------------------------------------------------------------
inline constexpr const char* kLayerListTitle = "レイヤー一覧";
inline constexpr const char* kLayerListCaption = "レイヤーの一覧";
inline constexpr const char* kShowAllToggle = "表示ALL切替";
inline constexpr const char* kMagnificationLabel = "表示倍率";
inline constexpr const char* kTimes = "倍";
inline constexpr std::array<const char*, 11> kMagnifications{"0.2", "0.5", "1",   "1.5", "2", "2.5",
                                                             "3",   "3.5", "4", "4.5", "5"};
inline constexpr std::array<const char*, 3> kLayerStates{"表示吸着", "表示", "非表示"};

// -- layer name dialog ----------------------------------------------------------------------------
inline constexpr const char* kLayerNameTitle = "レイヤー名";
inline constexpr const char* kLayerNamePrompt = "編集中のグループレイヤー%dの名称を設定";
inline constexpr const char* kLayerNameMenu = "レイヤー名の設定(&N)...";

// -- selected text dialog -------------------------------------------------------------------------
inline constexpr const char* kSelectedTextTitle = "選択文字の修正";
inline constexpr const char* kChangeFont = "フォントの変更...";
inline constexpr const char* kTextHeight = "文字高さ(印刷mm)";
inline constexpr const char* kCharSpacing = "文字間隔(印刷mm)";
inline constexpr const char* kLineSpacing = "行間隔(印刷mm)";
inline constexpr const char* kVertical = "縦書き";
inline constexpr const char* kAngle = "角度";
inline constexpr const char* kDegrees = "度";
inline constexpr const char* kTextColour = "文字の色";
inline constexpr const char* kDropDown = "▼";
inline constexpr const char* kBackColour = "文字バックの色";
inline constexpr const char* kBackOff = "無";
inline constexpr const char* kBackOn = "有";
inline constexpr const char* kHorizontalPosition = "水平位置";
inline constexpr const char* kVerticalPosition = "垂直位置";
inline constexpr std::array<const char*, 3> kHorizontalAlignments{"左", "センタ", "右"};
inline constexpr std::array<const char*, 3> kVerticalAlignments{"上付", "中間", "下付"};
inline constexpr const char* kFallbackFace = "ＭＳ ゴシック";

// -- room font and room change dialogs ------------------------------------------------------------
inline constexpr const char* kRoomFontTitle = "部屋文字フォントの設定";
inline constexpr const char* kRoomFontButton = "部屋文字フォント種・色の設定...";
inline constexpr const char* kRoomTextHeight = "部屋文字高さ(印刷mm)";
inline constexpr const char* kRoomTextSpacing = "部屋文字間隔(印刷mm)";
inline constexpr const char* kRoomChangeTitle = "部屋内容の変更";
inline constexpr const char* kRoomPatternCheck = "模様をつける(和室は畳の縁の色設定)";
inline constexpr const char* kRoomPatternSpacing = "模様間隔";
inline constexpr const char* kRoomPatternUnit = "mm(印刷上のｍｍ)";
inline constexpr const char* kRoomWithoutColour = "色、または模様のない部屋は変更できません";

// -- column dialog --------------------------------------------------------------------------------
inline constexpr const char* kColumnTitle = "選択柱の厚さ（片側）";
inline constexpr const char* kColumnWidth = "柱幅（片側）";
inline constexpr const char* kColumnTypeGroup = "柱タイプ";
inline constexpr std::array<const char*, 3> kColumnTypes{"管柱", "間柱", "通し柱"};

} // namespace kov::dialogs::proptext
