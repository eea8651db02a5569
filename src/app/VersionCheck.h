#pragma once

// Whether a newer version has been published: a short text fetched from the maker's server
// (six digits, a separator, the download page's address), read without blocking the window.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <string>
#include <string_view>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace kov::platform {
class Questions;
}

namespace kov::app {

inline constexpr std::string_view kVersionFetchFailed =
    "バージョン情報の取得に失敗しました。ネット接続ができませんでした";
inline constexpr std::string_view kVersionEmpty = "バージョン情報の取得に失敗しました";
inline constexpr std::string_view kVersionSuccessor =
    "コビラ６より後継の製品が発売されています。ホームページをご確認ください。";
inline constexpr std::string_view kVersionLatest = "お使いのバージョンは最新です。";
inline constexpr std::string_view kVersionAskUpdate =
    "お使いのバージョンより最新版があります。\nコビラ６を終了して更新してください。\n更新ページを表示しますか?";
inline constexpr std::string_view kVersionDeclined = "ホームページよりコビラ６最新バージョンでお使いください。";
inline constexpr std::string_view kHomePageFailed = "ネットに接続できないか、ホームページが見つかりませんでした。";
inline constexpr std::string_view kHelpMissing = "ヘルプが見つからないかメモリ不足です";
inline constexpr std::string_view kHelpViewerMissing = "ヘルプを表示するプログラムが見つかりませんでした";

// Where the version text and the home page live; a setting may point them elsewhere (tests).
inline constexpr std::string_view kVersionAddress = "https://kovira.example.org/version.txt";
inline constexpr std::string_view kHomePageAddress = "https://kovira.example.org/";

inline constexpr int kVersionAnswerLimit = 127;
inline constexpr int kVersionSuccessorFrom = 700000;

struct VersionAnswer {
    int published = 0;        // 0 when the answer starts with no number
    std::string address;      // from the eighth character on
};
// Reads at most the first 127 bytes of the answer.
VersionAnswer ParseVersionAnswer(const QByteArray& answer);

// Only web addresses are opened: the server says what to open, so nothing else is trusted.
bool IsWebAddress(const QString& address);

// The dialogue after the answer arrived (or did not): messages, the question, and the opener for the
// download page. `fetched` false for a failed connection. The opener returns false when it fails.
void ConcludeVersionCheck(bool fetched, const QByteArray& answer, int ownVersion,
                          kov::platform::Questions& questions,
                          const std::function<bool(const QUrl&)>& openAddress);

// The fetch: one GET with a time limit, answered once through `done` (fetched, bytes).
class VersionFetch : public QObject {
    Q_OBJECT
public:
    explicit VersionFetch(QObject* parent = nullptr);
    ~VersionFetch() override;
    void start(const QUrl& address, int timeoutMs, std::function<void(bool, QByteArray)> done);

private:
    void finish(bool ok, QByteArray bytes);
    QNetworkAccessManager* m_net;
    QNetworkReply* m_reply = nullptr;
    QTimer* m_timer;
    std::function<void(bool, QByteArray)> m_done;
};

} // namespace kov::app
