#pragma once

// The texts of the settings sheet and its pages, the line-width, dash-pitch and line-end dialogs,
// the dimension style and work-screen colour dialogs, the folder settings and the data transfer.

namespace kov::dialogs::texts {

// -- the sheet -------------------------------------------------------------------------------------
inline constexpr const char* kSheetTitle = "設定";
inline constexpr const char* kTabGeneral = "全般";
inline constexpr const char* kTabGrid = "グリッド";
inline constexpr const char* kTabDisplay = "表示設定";
inline constexpr const char* kTabOperation = "動作設定";
inline constexpr const char* kTabQuotations = "引用文の編集";
inline constexpr const char* kTabRooms = "部屋情報の編集";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kCancelNarrow = "ｷｬﾝｾﾙ";
inline constexpr const char* kDefaultsNote = "()カッコ内はデフォルト初期設定値";

// -- 全般 ------------------------------------------------------------------------------------------
inline constexpr const char* kKeyboardMove = "キーボードカーソル移動量";
inline constexpr const char* kMoveX = "←→";
inline constexpr const char* kMoveY = "↑\n↓";
inline constexpr const char* kMm = "mm";
inline constexpr const char* kDimensionGroup = "寸法線";
inline constexpr const char* kDimensionButton = "寸法線設定";
inline constexpr const char* kPictureSizeGroup = "呼び出す画像の大きさ";
inline constexpr const char* kPictureOriginal = "画像のオリジナルの大きさで読み込む";
inline constexpr const char* kPictureGiven = "下記の大きさで読み込む";
inline constexpr const char* kPictureToScale = "下絵の縮尺どおりに取り込む(dpi入力必要)";
inline constexpr const char* kWidth = "幅";
inline constexpr const char* kHeight = "高さ";
inline constexpr const char* kMmPrinted = "mm（印刷）";
inline constexpr const char* kFormatGroup = "フォーマット";
inline constexpr const char* kFormatUse = "使用";
inline constexpr const char* kBrowse = "参照...";
inline constexpr const char* kWallColourGroup = "壁の色";
inline constexpr const char* kWallBlack = "壁黒く";
inline constexpr const char* kWallWhite = "壁白く";
inline constexpr const char* kWallColoured = "壁に色";
inline constexpr const char* kWallColouredEdge = "壁色縁黒";
inline constexpr const char* kColourButton = "▼";
inline constexpr const char* kScreenGroup = "作業画面の色・部品配置表示順";
inline constexpr const char* kScreenColour = "作業画面色の設定";
inline constexpr const char* kPartsOrder = "部品配置表示順";
inline constexpr const char* kPictureOutputGroup = "画像出力設定";
inline constexpr const char* kJpegQuality = "出力JPEG圧縮率";
inline constexpr const char* kPercent = "%";
inline constexpr const char* kOutputSizeGroup = "画像出力サイズ指定";
inline constexpr const char* kSizeGiven = "サイズ指定する";
inline constexpr const char* kTimes = "×";
inline constexpr const char* kHigh = "高";
inline constexpr const char* kPixels = "ピクセル";
inline constexpr const char* kExactSize = "指定サイズピッタリに出力";
inline constexpr const char* kDoubleSize = "画像出力のサイズを倍にする";
inline constexpr const char* kTransparentPng = "PNG出力時、透過PNGにする";
inline constexpr const char* kAutoSave = "ファイル保存時に画像自動保存";
inline constexpr const char* kAutoSaveDetails = "自動詳細...";
inline constexpr const char* kFittingsGroup = "建具配置表示数（アプリ再起動で適用）";
inline constexpr const char* kFittingsLabel = "建具配置画面";
inline constexpr const char* kFittings2x4 = "2×4";
inline constexpr const char* kFittings3x5 = "3×5";
inline constexpr const char* kLineGroup = "線幅タイプ、線種・端点ピッチ";
inline constexpr const char* kLineTypes = "線種";
inline constexpr const char* kLineEnds = "端点の形状";
inline constexpr const char* kLineWidths = "線幅タイプ";
inline constexpr const char* kCarefulGroup = "要注意変更";
inline constexpr const char* kResetAll = "全設定初期化";
inline constexpr const char* kFolderSettings = "設定ファイル場所変更";
inline constexpr const char* kTransferImport = "データ移行";
inline constexpr const char* kTransferExport = "データ移行フォルダ作成";
inline constexpr const char* kPurgeTempPictures = "画像取り込み一時ファイルの削除";
inline constexpr const char* kAskResetAll =
    "コビラ６の全設定を初期化します。\n設定、グリッド、動作設定、表示設定が初期化されます。\n本当によろしいですか？";
inline constexpr const char* kAskFolderSettings =
    "正常に部品データの保存や部屋情報の編集ができている場合、もしくはそれらを編集しない場合はキャンセルを押してください。";
inline constexpr const char* kAskPurge = "画像取り込み時に削除できずに残ってしまった一時ファイルを全て削除します。"
                                         "図面を編集中の場合は保存してください。\nよろしいですか？";
inline constexpr const char* kPurged = "一時画像ファイルを削除しました";
inline constexpr const char* kNothingToPurge = "一時画像ファイルはありませんでした";
// What the deletion adds when some files stayed (mended: every attempt used to count as deleted).
inline constexpr const char* kPurgeFailed = "%d個の一時画像ファイルは削除できませんでした。";
inline constexpr const char* kFormatFileTitle = "フォ－マットファイル設定";
inline constexpr const char* kFormatFileFilter = "コビラファイル (*.kvr)";

// -- グリッド --------------------------------------------------------------------------------------
inline constexpr const char* kGridDots = "グリッド吸着間隔をドット線で表示する";
inline constexpr const char* kGridMarks = "グリッドの目盛りの表示";
inline constexpr const char* kGridMarksReal = "実寸を目盛表示";
inline constexpr const char* kGridMarksCount = "目盛の数を表示";
inline constexpr const char* kGridPrint = "グリッドを印刷する（ドット）(off)";
inline constexpr const char* kGridThick = "グリッド線を太くする(本線のみ)";
inline constexpr const char* kGridColour[5] = {"グリッドの色1", "グリッドの色2", "グリッドの色3", "グリッドの色4",
                                              "グリッドの色5"};
inline constexpr const char* kGridPrintColour = "グリッドの印刷時の色";
inline constexpr const char* kGridStandardColours = "全て標準の色にする";
inline constexpr const char* kGridSpacingNote = "*グリッド間隔の設定は「ツール」→「グリッド間隔の設定」";

// -- 動作設定 --------------------------------------------------------------------------------------
inline constexpr const char* kUndoCount = "元に戻すの回数";
inline constexpr const char* kUndoUnit = "回";
inline constexpr const char* kMoveThreshold = "「選択」での移動時に始点より";
inline constexpr const char* kMoveThresholdUnit = "ピクセル以内では移動しない";
inline constexpr const char* kToolbarSize = "ツールバーボタンの大きさ";
inline constexpr const char* kToolbarSizes[3] = {"自動", "標準", "大きく"};

// -- 引用文の編集 ----------------------------------------------------------------------------------
inline constexpr const char* kAdd = "追加";
inline constexpr const char* kInsert = "挿入";
inline constexpr const char* kDelete = "削除";
inline constexpr const char* kQuotationNotCp932 = "この文字はファイルに保存できません。";
inline constexpr const char* kQuotationFileFailed = "引用文ファイルを保存できませんでした。";

// -- 部屋情報の編集 --------------------------------------------------------------------------------
inline constexpr const char* kCommonGroup = "共通設定";
inline constexpr const char* kRoomFont = "部屋文字の変更...";
inline constexpr const char* kAreaInMats = "帖数で表示";
inline constexpr const char* kAreaInSquareMetres = "㎡（壁芯）で表示";
inline constexpr const char* kMatWordLabel = "帖の文字";
inline constexpr const char* kMatWordJou = "帖";
inline constexpr const char* kMatWordTatami = "畳";
inline constexpr const char* kMildGradient = "グラデーション変化をマイルドにする";
inline constexpr const char* kRoomGroup = "部屋の情報";
inline constexpr const char* kRoomChange = "部屋内容変更";
inline constexpr const char* kRoomAdd = "部屋追加";
inline constexpr const char* kRoomInsert = "部屋挿入";
inline constexpr const char* kRoomDelete = "部屋削除";
inline constexpr const char* kRoomName = "部屋名";
inline constexpr const char* kRoomFill = "中を塗る";
inline constexpr const char* kRoomHatch = "模様をつける(和室は畳の縁の色設定)";
inline constexpr const char* kOtherColour = "他の色を選択...";
inline constexpr const char* kHatchSpacing = "模様間隔";
inline constexpr const char* kHatchSpacingUnit = "mm(印刷上のｍｍ)";
inline constexpr const char* kRoomNameMissing = "部屋名が抜けています";
// Names the room file cannot hold (mended: they used to shift the file's fields).
inline constexpr const char* kRoomNameComma = "部屋名に「,」（カンマ）は使えません";
inline constexpr const char* kRoomNameBreak = "部屋名に改行は使えません";
inline constexpr const char* kRoomNameNotCp932 = "部屋名にファイルに保存できない文字があります";
inline constexpr const char* kRoomNameTooLong = "部屋名が長すぎます";
inline constexpr const char* kRoomFileFailed = "部屋情報ファイルを保存できませんでした。";

// -- 線幅タイプのピッチ設定 ------------------------------------------------------------------------
inline constexpr const char* kLineWidthTitle = "線幅タイプのピッチ設定";
inline constexpr const char* kLineWidthScreen = "画面上の太さ";
inline constexpr const char* kLineWidthPrinter = "プリンタ出力時の太さ";
inline constexpr const char* kLineWidthNote = "*太さはmmではありません\n画面、プリンタの解像度によって太さが決定します。";

// -- 線種のピッチ変更 ------------------------------------------------------------------------------
inline constexpr const char* kDashTitle = "線種のピッチ変更";
inline constexpr const char* kDashUnitNote = "単位は印刷上のmm";
inline constexpr const char* kDashDrawn = "描画";
inline constexpr const char* kDashBlank = "空白";
inline constexpr const char* kDashTypes[4] = {"破線", "点線", "一点鎖線", "二点鎖線"};
inline constexpr const char* kDashReset = "初期化リセット";

// -- 端点の印刷時の大きさ --------------------------------------------------------------------------
inline constexpr const char* kLineEndTitle = "端点の印刷時の大きさ";
inline constexpr const char* kLineEndHeading = "印刷時の線や寸法線の端形状(矢印など)の大きさ(直径)";
inline constexpr const char* kLineEndClasses[5] = {"小", "普通", "やや大", "大", "極大"};

// -- 寸法詳細設定 ----------------------------------------------------------------------------------
inline constexpr const char* kDimensionTitle = "寸法詳細設定";
inline constexpr const char* kDimensionTextHeight = "文字の高さ（印刷上のmm）";
inline constexpr const char* kDimensionDecimalsBefore = "表示桁　　小数点第";
inline constexpr const char* kDimensionDecimalsAfter = "位";
inline constexpr const char* kDimensionMark = "端点の形状";
inline constexpr const char* kDimensionMarks[5] = {"なし", "←→", "<-->", "●--●", "■--■"};
inline constexpr const char* kDimensionMarkSize = "端点の大きさ";
inline constexpr const char* kDimensionUnit = "単位";
inline constexpr const char* kDimensionUnits[3] = {"mm", "cm", "m"};
inline constexpr const char* kDimensionGrouping = "桁区切り";
inline constexpr const char* kDimensionGroupings[4] = {"なし", ",（ｶﾝﾏ）", " （ｽﾍﾟｰｽ）", "_（ｱﾝﾀﾞｰﾊﾞｰ）"};
inline constexpr const char* kDimensionShown = "寸法文字表示";
inline constexpr const char* kDimensionShow = "表示する";
inline constexpr const char* kDimensionHide = "表示しない";
inline constexpr const char* kDimensionFont = "寸法文字フォント名";
inline constexpr const char* kDimensionValue = "寸法値";
inline constexpr const char* kDimensionMeasured = "自動計測";
inline constexpr const char* kDimensionTyped = "手動入力";
inline constexpr const char* kDimensionOffset = "補助線開始位置（印刷上のmm）";

// -- 作業画面の色設定 ------------------------------------------------------------------------------
inline constexpr const char* kBackgroundTitle = "作業画面の色設定";
inline constexpr const char* kBackgroundDefault = "規定色（通常は白）";
inline constexpr const char* kBackgroundOwn = "下記の色";

// -- 設定ファイルの場所 ----------------------------------------------------------------------------
inline constexpr const char* kFolderTitle = "設定ファイルの場所";
// The default place named in the explanation is the user's own data folder here.
inline constexpr const char* kFolderExplanation =
    "dataや各設定ファイルの場所を任意に定めることができます。デフォルトの場所（%s）で機能しない場合に設定してください。"
    "それ以外の場合はいらわないようにしてください。チェックを付けた項目は参照で決めたフォルダの中に、デフォルトの場所から"
    "コピーしておいてください。";
inline constexpr const char* kFolderLabel = "設定フォルダ";
inline constexpr const char* kFolderSwitches[6] = {
    "dataフォルダ(data)",
    "引用文ファイル（kovtex.txt）",
    "部屋情報ファイル(kovroom.txt)",
    "バックアップファイル(kovbkfl.dat)",
    "コピー用ファイル(kovitizi.txt)及び画像取り込み一時作成ファイル",
    "ファイル圧縮保存一時保管（圧縮ファイルが開かない（保存できない場合）",
};
inline constexpr const char* kBrowseFolderTitle = "部品を保管するフォルダを選択してください。";

// -- 部屋情報、部品データコンバート ----------------------------------------------------------------
inline constexpr const char* kTransferTitle = "部屋情報、部品データコンバート";
inline constexpr const char* kTransferLabel = "移行前の部屋情報(kovroom)、部品(data)のあるフォルダ(kov6_conv)";
inline constexpr const char* kTransferStart = "データコンバート開始";
inline constexpr const char* kClose = "閉じる";
inline constexpr const char* kTransferNoFolder = "部屋情報(kovroom)、部品(data)があるフォルダ(kov6_conv)をご指定ください。";
inline constexpr const char* kTransferAskImport = "コビラ６（５）をお持ちの方でデータを作成している方のコンバート用です。"
                                                  "新規のお客様はキャンセルを押してください\n処理には数分かかる場合があります";
inline constexpr const char* kTransferAskExport =
    "ﾊﾟｿｺﾝ入れ替え、グレードアップの際のデータ（部屋情報、引用文、作成した部品）移行のためのフォルダを作成します。\n"
    "kov6_convというフォルダで作成されます。作成しますか？";
inline constexpr const char* kTransferChoosePlace = "kov6_convを作成する場所をお選びください。";
inline constexpr const char* kTransferDone = "データコンバート完了しました。";
inline constexpr const char* kTransferNoData = "データが見当たりません。";
// Mended: an existing folder and failed copies used to pass without a word, or as success.
inline constexpr const char* kTransferExists = "%sは既にあります。別の場所を選んでください。";
inline constexpr const char* kTransferFolderFailed = "kov6_convを作成できませんでした。";
inline constexpr const char* kTransferFailures = "%d個のファイルまたはフォルダをコピーできませんでした。";

} // namespace kov::dialogs::texts
