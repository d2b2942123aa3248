// The live match feed as its clients see it: the state after the operator's
// keys, pushed changes, the refusals, the client limit and a stalled client.

#include "support/BoardFixture.h"

#include "app/MatchFeed.h"
#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/PictureBox.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

// A plain TCP client that keeps everything it receives.
struct Client
{
    explicit Client(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        connected =
            QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; }, 2000);
    }

    bool waitFor(const QByteArray &text, int ms = 2000)
    {
        return QTest::qWaitFor([&] { return received.contains(text); }, ms);
    }

    // A whole response: headers, then as many bytes as they announce.
    bool waitForResponse()
    {
        return QTest::qWaitFor(
            [this] {
                const qsizetype end = received.indexOf("\r\n\r\n");
                if (end < 0)
                    return false;
                const QByteArray head = received.left(end).toLower();
                const qsizetype at = head.indexOf("content-length:");
                const qsizetype length =
                    at < 0 ? 0 : head.mid(at + 15, head.indexOf("\r\n", at) - at - 15).trimmed().toLongLong();
                return received.size() >= end + 4 + length;
            },
            2000);
    }

    QByteArray body() const { return received.mid(received.indexOf("\r\n\r\n") + 4); }

    QTcpSocket socket;
    QByteArray received;
    bool connected = false;
};

QByteArray request(const char *method, const char *path, const QByteArray &extra = {})
{
    return QByteArray(method) + ' ' + path + " HTTP/1.1\r\nHost: localhost\r\n" + extra + "\r\n";
}

} // namespace

class MatchFeedTest : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        feed = std::make_unique<MatchFeed>(*board);
        ASSERT_TRUE(feed->listen(QHostAddress::LocalHost, 0)) << feed->errorString().toStdString();
    }

    std::unique_ptr<Client> ask(const char *method, const char *path, const QByteArray &extra = {})
    {
        auto client = std::make_unique<Client>(feed->serverPort());
        client->socket.write(request(method, path, extra));
        if (qstrcmp(method, "HEAD") == 0)
            client->waitFor("\r\n\r\n");
        else
            client->waitForResponse();
        return client;
    }

    QJsonObject state()
    {
        const auto client = ask("GET", "/state");
        EXPECT_TRUE(client->received.startsWith("HTTP/1.1 200")) << client->received.toStdString();
        EXPECT_TRUE(client->received.contains("application/json"));
        EXPECT_TRUE(client->received.contains("Access-Control-Allow-Origin: *"));
        return QJsonDocument::fromJson(client->body()).object();
    }

    std::unique_ptr<MatchFeed> feed;
};

TEST_F(MatchFeedTest, StateFollowsTheOperatorsKeys)
{
    QJsonObject s = state();
    EXPECT_EQ(s.value("title").toString(), Settings::TitleText);
    EXPECT_EQ(s.value("clock").toString(), "2:00");
    EXPECT_FALSE(s.value("clock_running").toBool());
    EXPECT_TRUE(s.value("osaekomi").isNull());
    EXPECT_EQ(s.value("visitor").toObject().value("name").toString(), "Visitor");
    const qint64 firstSeq = s.value("seq").toInteger();

    QTest::keyClick(board->picKHome, Qt::Key_Return); // Home keikoku
    QTest::keyClick(board->nledWVisitor, Qt::Key_1); // Visitor waza-ari 1
    QTest::keyClick(board->nledYVisitor, Qt::Key_Delete); // Visitor yuko cleared
    QTest::keyClick(board->tledPeriod, Qt::Key_S); // clock runs
    QTest::keyClick(board->tledPeriod, Qt::Key_Left); // osaekomi for Home
    tick(3000);

    s = state();
    const QJsonObject home = s.value("home").toObject();
    const QJsonObject visitor = s.value("visitor").toObject();
    EXPECT_TRUE(home.value("keikoku").toBool());
    EXPECT_FALSE(home.value("chui").toBool());
    EXPECT_EQ(visitor.value("waza_ari").toInt(), 1);
    EXPECT_EQ(visitor.value("yuko").toInt(), -1);
    EXPECT_TRUE(s.value("clock_running").toBool());
    EXPECT_EQ(s.value("clock").toString(), "1:57");
    EXPECT_EQ(s.value("osaekomi").toString(), "home");
    EXPECT_EQ(home.value("hold").toInt(), 3);
    EXPECT_GT(s.value("seq").toInteger(), firstSeq);

    // A refresh that shows nothing new is no change.
    const qint64 seq = feed->seq();
    tick(10);
    EXPECT_EQ(feed->seq(), seq);
}

TEST_F(MatchFeedTest, APushClientSeesAPenaltyWithin100ms)
{
    Client client(feed->serverPort());
    client.socket.write(request("GET", "/events"));
    ASSERT_TRUE(client.waitFor("\n\n", 2000));
    ASSERT_TRUE(client.waitFor("\r\n\r\nid: 1\ndata: {")) << client.received.toStdString();
    EXPECT_TRUE(client.received.contains("Content-Type: text/event-stream"));
    EXPECT_TRUE(client.received.contains("Access-Control-Allow-Origin: *"));

    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(board->picSVisitor, Qt::Key_Return);
    ASSERT_TRUE(client.waitFor("\"shido\":true", 1000));
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_EQ(feed->pushClientCount(), 1);
}

TEST_F(MatchFeedTest, RefusesWhatItDoesNotServe)
{
    const auto post = ask("POST", "/state", "Content-Length: 2\r\n\r\n{}");
    EXPECT_TRUE(post->received.startsWith("HTTP/1.1 405")) << post->received.toStdString();
    EXPECT_TRUE(post->received.contains("Allow: GET, HEAD, OPTIONS"));
    EXPECT_TRUE(ask("DELETE", "/events")->received.startsWith("HTTP/1.1 405"));
    EXPECT_TRUE(ask("GET", "/admin")->received.startsWith("HTTP/1.1 404"));
    EXPECT_TRUE(ask("GET", "/state/../etc")->received.startsWith("HTTP/1.1 404"));

    const auto options = ask("OPTIONS", "/state");
    EXPECT_TRUE(options->received.startsWith("HTTP/1.1 204")) << options->received.toStdString();
    EXPECT_TRUE(options->received.contains("Access-Control-Allow-Origin: *"));

    const auto head = ask("HEAD", "/state");
    EXPECT_TRUE(head->received.startsWith("HTTP/1.1 200")) << head->received.toStdString();
    EXPECT_TRUE(head->received.contains("Content-Length: "));
    EXPECT_TRUE(head->body().isEmpty()) << head->received.toStdString();

    // Headers past 8 KB, and a body past it: refused, and the connection closed.
    const QByteArray bigHeader = "X-Filler: " + QByteArray(9000, 'a') + "\r\n";
    auto oversized = std::make_unique<Client>(feed->serverPort());
    oversized->socket.write(request("GET", "/state", bigHeader));
    ASSERT_TRUE(oversized->waitFor("\r\n\r\n"));
    EXPECT_TRUE(oversized->received.startsWith("HTTP/1.1 431"))
        << oversized->received.left(100).toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return oversized->socket.state() == QAbstractSocket::UnconnectedState; }, 2000));

    auto body = std::make_unique<Client>(feed->serverPort());
    body->socket.write(request("POST", "/state", "Content-Length: 20000\r\n\r\n" + QByteArray(20000, 'x')));
    ASSERT_TRUE(body->waitFor("\r\n\r\n"));
    EXPECT_TRUE(body->received.startsWith("HTTP/1.1 413")) << body->received.left(100).toStdString();

    // The feed still answers afterwards.
    EXPECT_EQ(state().value("clock").toString(), "2:00");
}

TEST_F(MatchFeedTest, TheClientPastTheLimitGets503)
{
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < MatchFeed::MaxClients; ++i) {
        clients.push_back(std::make_unique<Client>(feed->serverPort()));
        ASSERT_TRUE(clients.back()->connected);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->clientCount() == MatchFeed::MaxClients; }, 5000));
    Client extra(feed->serverPort());
    ASSERT_TRUE(extra.waitFor("\r\n\r\n"));
    EXPECT_TRUE(extra.received.startsWith("HTTP/1.1 503"));

    // One leaves, and the next one is served.
    clients.pop_back();
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->clientCount() < MatchFeed::MaxClients; }, 5000));
    EXPECT_TRUE(ask("GET", "/state")->received.startsWith("HTTP/1.1 200"));
}

TEST_F(MatchFeedTest, IdleConnectionsGiveTheirPlaceBackButPushClientsStay)
{
    feed->setIdleTimeout(200);
    Client idle(feed->serverPort());
    Client listener(feed->serverPort());
    listener.socket.write(request("GET", "/events"));
    ASSERT_TRUE(listener.waitFor("data: "));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return idle.socket.state() == QAbstractSocket::UnconnectedState; }, 3000));
    QTest::qWait(300);
    EXPECT_EQ(listener.socket.state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(feed->clientCount(), 1);
}

TEST_F(MatchFeedTest, AClientThatStopsReadingIsDroppedWhileTheBoardKeepsTime)
{
    // A client with a tiny receive window that never reads.
    const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(stalled, 0);
    const int window = 2048;
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(feed->serverPort());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(stalled, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const QByteArray get = request("GET", "/events");
    ASSERT_EQ(::write(stalled, get.constData(), size_t(get.size())), get.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->pushClientCount() == 1; }, 2000));

    // A reading client beside it keeps up throughout.
    Client reader(feed->serverPort());
    reader.socket.write(request("GET", "/events"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->pushClientCount() == 2; }, 2000));

    qint64 slowest = 0;
    int changes = 0;
    QElapsedTimer timer;
    for (; changes < 20000 && feed->pushClientCount() == 2; ++changes) {
        timer.start();
        board->PenaltyHK = board->PenaltyHK == VbTrue ? VbFalse : VbTrue;
        board->UpdateOtherColors();
        tick();
        slowest = std::max(slowest, timer.elapsed());
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(feed->pushClientCount(), 1) << "after " << changes << " changes";
    // A write that waited for the client would hold a change for seconds; the
    // bound leaves room for a loaded machine and the sanitizers.
    EXPECT_LT(slowest, 250) << "a change waited for the stalled client";
    const QByteArray last = "\"seq\":" + QByteArray::number(feed->seq()) + ",";
    EXPECT_TRUE(reader.waitFor(last, 5000));
    ::close(stalled);
}

TEST_F(MatchFeedTest, ServesTheOverlayPageBesideTheProgram)
{
    ASSERT_TRUE(QFile::exists(MatchFeed::overlayPath())) << "the build puts it beside the tests";
    const auto page = ask("GET", "/");
    EXPECT_TRUE(page->received.startsWith("HTTP/1.1 200"));
    EXPECT_TRUE(page->received.contains("text/html"));
    EXPECT_TRUE(page->body().contains("new EventSource(\"/events\")"));
}

TEST_F(MatchFeedTest, StateTellsTheRuleSetGoldenScoreAndShidos)
{
    QJsonObject s = state();
    EXPECT_EQ(s.value("rules").toString(), "design");
    EXPECT_FALSE(s.value("golden_score").toBool());
    QTest::keyClick(board->picKHome, Qt::Key_Return);
    EXPECT_EQ(state().value("home").toObject().value("shidos").toInt(), 0) << "the design's lamps count nothing";

    board->setRules(Rules::preset(Rules::SetId::Ijf2018));
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(1));
    QTest::keyClick(board->picKVisitor, Qt::Key_Return);
    QTest::keyClick(board->picKVisitor, Qt::Key_Return);
    QTest::keyClick(board->tledPeriod, Qt::Key_S);
    tick(1000);
    s = state();
    EXPECT_EQ(s.value("rules").toString(), "ijf2018");
    EXPECT_TRUE(s.value("golden_score").toBool()) << "level scores; shidos do not decide";
    EXPECT_EQ(s.value("visitor").toObject().value("shidos").toInt(), 2);
    EXPECT_FALSE(s.value("visitor").toObject().value("hansoku_make").toBool());
    QTest::keyClick(board->picSVisitor, Qt::Key_Return);
    const QJsonObject visitor = state().value("visitor").toObject();
    EXPECT_EQ(visitor.value("shidos").toInt(), 3);
    EXPECT_TRUE(visitor.value("hansoku_make").toBool());
    EXPECT_TRUE(state().value("home").toObject().value("winner").toBool());
}
