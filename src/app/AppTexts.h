#pragma once

// The texts the application shell shows: window and dialog captions, file choosers, messages and
// questions, in one table. They are the program's own and are used exactly as written here.

#include <string>
#include <string_view>
#include <vector>

namespace kov::app {

// -- the program and its document type ------------------------------------------------------------
inline constexpr std::string_view kAppWindowTitle = "コビラ６";
inline constexpr std::string_view kAboutVersionLine = "Version 6.0.6";
inline constexpr std::string_view kDocumentTypeId = "Kovira.Document";
inline constexpr std::string_view kDocumentTypeName = "Kovira登録ﾌｧｲﾙ";
inline constexpr std::string_view kUntitledTitle = "Kovira"; // title of a drawing without a file

// -- file choosers -----------------------------------------------------------------------------------
inline constexpr std::string_view kOpenTitle = "開く";
inline constexpr std::string_view kOpenFilter = "コビラファイル (*.kvr)";
inline constexpr std::string_view kSaveAsTitle = "名前を付けて保存";
inline constexpr std::string_view kSaveFilter = "Kovira登録ﾌｧｲﾙ(*.kvr)";

// -- opening, saving and merging ---------------------------------------------------------------------
inline constexpr std::string_view kReadFailedMessage = "ファイル読み取り失敗";
inline constexpr std::string_view kOldPackedNotice =
    "このファイルはコビラ３以前の圧縮された形式です。上書き保存して現行形式にしてください。";
// After the drawing's title.
inline constexpr std::string_view kAskSaveChanges = " への変更を保存しますか？";
// A file read only in part: the head, one line per place that could not be read, and for a document
// opened so the tail.
inline constexpr std::string_view kDamagedOpenHead =
    "ファイルの一部が壊れていたため、読み取れた部分だけを開きました。\n読み取れなかった箇所:";
inline constexpr std::string_view kDamagedOpenTail =
    "元のファイルを上書きしないよう、この図面は名前を付けて保存してください。";
inline constexpr std::string_view kMergeDamagedMessage =
    "ファイルの一部が壊れていたため、読み取れた部分だけを合成しました。\n読み取れなかった箇所:";
// One line of such a report: the document block ended before its close.
inline constexpr std::string_view kReadStoppedMessage = "図面ブロックの途中で読み取りが止まりました";

// -- foreign files and the sorting into layers --------------------------------------------------------
inline constexpr std::string_view kAllOnLayerZeroMessage = "全てのオブジェクトはレイヤー０になります。";
inline constexpr std::string_view kSplitLayersQuestion = "壁、線、部品、文字をレイヤー番号で分けますか？";
// Names the sorting gives to layers 0-5 of the layer groups 0, 1 and 2.
inline constexpr std::string_view kSplitLayerNames[6] = {"壁、部屋", "建具", "線、部品", "補助線", "寸法線", "文字"};

// -- the list dialogs -------------------------------------------------------------------------------------
inline constexpr std::string_view kOpenButton = "開く";
inline constexpr std::string_view kCancelButton = "キャンセル";
inline constexpr std::string_view kBackupListTitle = "バックアップを開く";
inline constexpr std::string_view kBackupListPrompt = "開くバックアップデータを選ぶ";
inline constexpr std::string_view kNoSamplesMessage = "sampleファイルがみつかりませんでした。";
inline constexpr std::string_view kNoRecentMessage = "最近使ったファイルがありません。";

// A report of what could not be read: the head, then each problem on a line of its own, then the
// tail when there is one.
inline std::string ReadProblemsReport(std::string_view head, const std::vector<std::string>& problems,
                                      std::string_view tail = {})
{
    std::string text(head);
    for (const std::string& problem : problems) text += "\n・" + problem;
    if (!tail.empty()) {
        text += "\n";
        text += tail;
    }
    return text;
}

} // namespace kov::app
