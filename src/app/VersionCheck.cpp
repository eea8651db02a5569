#include "app/VersionCheck.h"

#include "platform/Questions.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <cctype>

namespace kov::app {

using kov::platform::Answer;
using kov::platform::Buttons;
using kov::platform::MessageIcon;

VersionAnswer ParseVersionAnswer(const QByteArray& raw)
{
    const QByteArray answer = raw.left(kVersionAnswerLimit);
    VersionAnswer out;
    // The number: leading blanks and a sign allowed within the first six characters.
    const QByteArray head = answer.left(6);
    int i = 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t')) ++i;
    bool negative = false;
    if (i < head.size() && (head[i] == '+' || head[i] == '-')) negative = head[i++] == '-';
    long value = 0;
    while (i < head.size() && std::isdigit(static_cast<unsigned char>(head[i]))) value = value * 10 + (head[i++] - '0');
    out.published = static_cast<int>(negative ? -value : value);
    if (answer.size() > 7) out.address = answer.mid(7).trimmed().toStdString();
    return out;
}

bool IsWebAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
           && !url.host().isEmpty();
}

void ConcludeVersionCheck(bool fetched, const QByteArray& answer, int ownVersion,
                          kov::platform::Questions& q, const std::function<bool(const QUrl&)>& openAddress)
{
    if (!fetched) {
        q.message(kVersionFetchFailed);
        return;
    }
    if (answer.isEmpty()) {
        q.message(kVersionEmpty);
        return;
    }
    const VersionAnswer v = ParseVersionAnswer(answer);
    if (v.published >= kVersionSuccessorFrom) q.message(kVersionSuccessor);
    if (ownVersion >= v.published) {
        q.message(kVersionLatest);
        return;
    }
    if (q.messageBox(kVersionAskUpdate, {}, MessageIcon::Question, Buttons::OkCancel) != Answer::Ok) {
        q.message(kVersionDeclined);
        return;
    }
    const QString address = QString::fromStdString(v.address);
    // Only a web page is opened; anything else the server names counts as a failed opening.
    const bool opened = IsWebAddress(address) && (openAddress(QUrl(address)) || openAddress(QUrl(address)));
    if (!opened) q.message(kHomePageFailed);
}

VersionFetch::VersionFetch(QObject* parent)
    : QObject(parent), m_net(new QNetworkAccessManager(this)), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_reply) m_reply->abort();
    });
}

VersionFetch::~VersionFetch() = default;

void VersionFetch::start(const QUrl& address, int timeoutMs, std::function<void(bool, QByteArray)> done)
{
    m_done = std::move(done);
    if (!IsWebAddress(address.toString())) {
        // Deferred, so that the caller always hears back from the event loop.
        QTimer::singleShot(0, this, [this] { finish(false, {}); });
        return;
    }
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("test-program"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_net->get(request);
    connect(m_reply, &QNetworkReply::finished, this, [this] {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        m_timer->stop();
        const bool ok = reply->error() == QNetworkReply::NoError;
        QByteArray bytes = ok ? reply->read(kVersionAnswerLimit) : QByteArray();
        reply->deleteLater();
        finish(ok, bytes);
    });
    m_timer->start(timeoutMs);
}

void VersionFetch::finish(bool ok, QByteArray bytes)
{
    auto done = std::move(m_done);
    m_done = nullptr;
    if (done) done(ok, std::move(bytes));
}

} // namespace kov::app
