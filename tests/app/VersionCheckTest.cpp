// The version check against a small web server on a loopback port.

#include "app/VersionCheck.h"

#include "platform/Questions.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <optional>
#include <vector>

namespace {

using namespace kov::app;
using kov::platform::Answer;
using kov::platform::ScriptedQuestions;

// Answers every request with the body once the request's head has arrived.
class OneAnswerServer {
public:
    explicit OneAnswerServer(QByteArray body) : m_body(std::move(body))
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = m_server.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                m_request += s->readAll();
                if (!m_request.contains("\r\n\r\n")) return;
                s->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                         QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
                s->disconnectFromHost();
            });
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/version.txt").arg(m_server.serverPort())); }
    const QByteArray& request() const { return m_request; }

private:
    QTcpServer m_server;
    QByteArray m_body;
    QByteArray m_request;
};

struct Fetched {
    bool ok = false;
    QByteArray bytes;
};

Fetched fetch(const QUrl& url)
{
    VersionFetch f;
    QEventLoop loop;
    Fetched out;
    bool heard = false;
    f.start(url, 5000, [&](bool ok, QByteArray bytes) {
        out = {ok, bytes};
        heard = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!heard) loop.exec();
    EXPECT_TRUE(heard);
    return out;
}

TEST(VersionCheck, AnswersFromALoopbackServer)
{
    struct Case {
        const char* name;
        QByteArray body;
        std::vector<std::string> messages; // in order; "?" marks the question
        Answer answer = Answer::Ok;
        std::vector<QString> opened;
    };
    const QByteArray longAnswer = "606500 http://127.0.0.1/" + QByteArray(176, 'a'); // 200 bytes
    const Case cases[] = {
        {"newer, opened", "606001 https://kovira.example.org/update", {"?"}, Answer::Ok,
         {QStringLiteral("https://kovira.example.org/update")}},
        {"newer, declined", "606001 https://kovira.example.org/update", {"?", std::string(kVersionDeclined)},
         Answer::Cancel, {}},
        {"same", "606000 https://kovira.example.org/", {std::string(kVersionLatest)}},
        {"garbage", "abc", {std::string(kVersionLatest)}},
        {"successor", "700001 https://kovira.example.org/7", {std::string(kVersionSuccessor), "?"}, Answer::Ok,
         {QStringLiteral("https://kovira.example.org/7")}},
        {"file address refused", "606001 file:///etc/passwd", {"?", std::string(kHomePageFailed)}, Answer::Ok, {}},
        {"200 bytes read as 127", longAnswer, {"?"}, Answer::Ok,
         {QString::fromLatin1(longAnswer.mid(7, 120))}},
        {"empty", "", {std::string(kVersionEmpty)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OneAnswerServer server(c.body);
        const Fetched f = fetch(server.url());
        ASSERT_TRUE(f.ok);
        EXPECT_LE(f.bytes.size(), kVersionAnswerLimit);
        EXPECT_TRUE(server.request().contains("User-Agent: test-program"));

        ScriptedQuestions q;
        for (const std::string& m : c.messages) {
            if (m == "?") q.reply(c.answer, kVersionAskUpdate);
            else q.acknowledge(m);
        }
        std::vector<QString> opened;
        ConcludeVersionCheck(f.ok, f.bytes, 606000, q, [&opened](const QUrl& u) {
            opened.push_back(u.toString());
            return true;
        });
        EXPECT_EQ(opened, c.opened);
    }
}

TEST(VersionCheck, OnlyWebAddressesAreFetchedOrOpened)
{
    EXPECT_TRUE(IsWebAddress(QStringLiteral("https://kovira.example.org/x")));
    EXPECT_TRUE(IsWebAddress(QStringLiteral("http://127.0.0.1:8080/")));
    for (const char* bad : {"file:///etc/passwd", "ftp://example.org/", "javascript:alert(1)", "/usr/bin/xterm", ""})
        EXPECT_FALSE(IsWebAddress(QString::fromLatin1(bad))) << bad;
    const Fetched f = fetch(QUrl(QStringLiteral("file:///etc/hostname")));
    EXPECT_FALSE(f.ok);
    ScriptedQuestions q;
    q.acknowledge(kVersionFetchFailed);
    ConcludeVersionCheck(false, {}, 606000, q, [](const QUrl&) { return true; });
}

TEST(VersionCheck, ServerThatNeverAnswersIsAFailedConnectionAtTheTimeLimit)
{
    // Takes the connection and the request, and says nothing.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    std::vector<QTcpSocket*> held;
    QObject::connect(&silent, &QTcpServer::newConnection, [&] { held.push_back(silent.nextPendingConnection()); });
    VersionFetch f;
    QEventLoop loop;
    std::optional<bool> answer;
    int answers = 0;
    f.start(QUrl(QStringLiteral("http://127.0.0.1:%1/v").arg(silent.serverPort())), 300, [&](bool ok, QByteArray) {
        answer = ok;
        ++answers;
        loop.quit();
    });
    // Far beyond the limit: without it the window would wait for the server for ever.
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    if (!answer) loop.exec();
    ASSERT_TRUE(answer.has_value()) << "no answer by the time limit";
    EXPECT_FALSE(*answer);
    EXPECT_EQ(held.size(), 1u);
    // Answered once: nothing more comes when the connection closes later.
    QEventLoop after;
    QTimer::singleShot(200, &after, &QEventLoop::quit);
    for (QTcpSocket* s : held) s->close();
    after.exec();
    EXPECT_EQ(answers, 1);
}

TEST(VersionCheck, ClosedPortIsAFailedConnection)
{
    QTcpServer s;
    ASSERT_TRUE(s.listen(QHostAddress::LocalHost, 0));
    const quint16 port = s.serverPort();
    s.close();
    EXPECT_FALSE(fetch(QUrl(QStringLiteral("http://127.0.0.1:%1/v").arg(port))).ok);
}

TEST(VersionCheck, ParsesTheNumberAndAddress)
{
    EXPECT_EQ(ParseVersionAnswer("  +606100 x").published, 606); // six characters only
    EXPECT_EQ(ParseVersionAnswer("606100|https://a/").address, "https://a/");
    EXPECT_EQ(ParseVersionAnswer("12ab56").published, 12);
}

} // namespace
