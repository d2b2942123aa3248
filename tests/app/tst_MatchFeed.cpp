// The live match feed as its clients see it: the state after the operator's
// keys, pushed changes, the refusals, the client limit and a stalled client.

#include "support/BoardFixture.h"

#include "app/MatchFeed.h"
#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/PictureBox.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

#include <netinet/in.h>
#include <netinet/tcp.h>
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

TEST_F(MatchFeedTest, APushClientSeesAPenaltyAsItIsGiven)
{
    Client client(feed->serverPort());
    client.socket.write(request("GET", "/events"));
    ASSERT_TRUE(client.waitFor("\n\n", 2000));
    ASSERT_TRUE(client.waitFor("\r\n\r\nid: 1\ndata: {")) << client.received.toStdString();
    EXPECT_TRUE(client.received.contains("Content-Type: text/event-stream"));
    EXPECT_TRUE(client.received.contains("Access-Control-Allow-Origin: *"));

    // Sent on the event loop's next pass, with no timer between.
    QSignalSpy sent(feed.get(), &MatchFeed::broadcast);
    QTest::keyClick(board->picSVisitor, Qt::Key_Return);
    EXPECT_EQ(feed->state().value("visitor").toObject().value("shido").toBool(), true);
    QCoreApplication::processEvents();
    EXPECT_EQ(sent.count(), 1);
    ASSERT_TRUE(client.waitFor("\"shido\":true", 1000));
    EXPECT_EQ(feed->pushClientCount(), 1);

    // A burst of keys handled together goes out as one event, the last state.
    for (int i = 0; i < 51; ++i)
        QTest::keyClick(board->picKHome, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(sent.count(), 2);
    EXPECT_EQ(sent.last().value(0).toLongLong(), feed->seq());
    ASSERT_TRUE(client.waitFor("\"seq\":" + QByteArray::number(feed->seq()) + ","));
    EXPECT_EQ(client.received.count("data: "), 3);
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

TEST_F(MatchFeedTest, ServesTheOverlayPageBesideTheProgram)
{
    ASSERT_TRUE(QFile::exists(MatchFeed::overlayPath())) << "the build puts it beside the tests";
    const auto page = ask("GET", "/");
    EXPECT_TRUE(page->received.startsWith("HTTP/1.1 200"));
    EXPECT_TRUE(page->received.contains("text/html"));
    EXPECT_TRUE(page->body().contains("new EventSource(\"/events\")"));
}

namespace {

// The header lines of a response, without the status line, sorted, so that
// two answers can be compared whatever order their headers came in.
std::string headerLines(const QByteArray &response)
{
    QByteArrayList lines = response.left(response.indexOf("\r\n\r\n")).split('\n');
    lines.removeFirst();
    for (QByteArray &line : lines)
        line = line.trimmed();
    std::sort(lines.begin(), lines.end());
    return lines.join('\n').toStdString();
}

bool closes(Client &client)
{
    return QTest::qWaitFor([&] { return client.socket.state() == QAbstractSocket::UnconnectedState; }, 3000);
}

} // namespace

TEST_F(MatchFeedTest, AmbiguousRequestLengthsAre400)
{
    const QByteArray refusedWith400 =
        "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    const auto both =
        ask("POST", "/state", "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n");
    EXPECT_TRUE(both->received.startsWith("HTTP/1.1 400")) << both->received.toStdString();
    EXPECT_TRUE(closes(*both));
    const auto twice = ask("GET", "/state", "Content-Length: 0\r\nContent-Length: 5\r\n");
    EXPECT_TRUE(twice->received.startsWith("HTTP/1.1 400")) << twice->received.toStdString();
    EXPECT_TRUE(closes(*twice));

    // The same value twice is one length; and a bad request behind a good one
    // on the same connection is caught too.
    Client pipelined(feed->serverPort());
    pipelined.socket.write(request("GET", "/state", "Content-Length: 0\r\ncontent-length: 0\r\n") +
                           request("HEAD", "/state") +
                           request("GET", "/state", "Transfer-Encoding: chunked\r\nContent-Length: 9\r\n"));
    ASSERT_TRUE(closes(pipelined));
    EXPECT_TRUE(pipelined.received.startsWith("HTTP/1.1 200")) << pipelined.received.toStdString();
    EXPECT_EQ(pipelined.received.count("HTTP/1.1 200"), 2) << pipelined.received.toStdString();
    EXPECT_TRUE(pipelined.received.endsWith(refusedWith400)) << pipelined.received.toStdString();
}

TEST_F(MatchFeedTest, HeaderLinesTwoReadersCouldTakeDifferentlyAre400)
{
    const QByteArray cases[] = {
        "Content-Length : 0\r\n",
        "Content-Length: +5\r\n",
        "Content-Length: 5, 5\r\n",
        "Content-Length: 0x5\r\n",
        QByteArray("X-Note: a\0b\r\n", 13),
        "X-Note: a\r\n folded\r\n",
    };
    for (const QByteArray &extra : cases) {
        const auto client = ask("GET", "/state", extra);
        EXPECT_TRUE(client->received.startsWith("HTTP/1.1 400"))
            << extra.toStdString() << client->received.toStdString();
    }
    EXPECT_TRUE(ask("GET", "/state", "Content-Length:  0 \r\n")->received.startsWith("HTTP/1.1 200"));
}

TEST_F(MatchFeedTest, AFullRoomSays503WithRetryAfterAndKeepsPlacesForState)
{
    std::vector<std::unique_ptr<Client>> streams;
    for (int i = 0; i < MatchFeed::MaxPushClients; ++i) {
        streams.push_back(std::make_unique<Client>(feed->serverPort()));
        streams.back()->socket.write(request("GET", "/events"));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->pushClientCount() == MatchFeed::MaxPushClients; }, 10000));
    const auto oneStreamMore = ask("GET", "/events");
    EXPECT_TRUE(oneStreamMore->received.startsWith("HTTP/1.1 503")) << oneStreamMore->received.toStdString();
    EXPECT_TRUE(oneStreamMore->received.contains("Retry-After: 5"));
    EXPECT_TRUE(ask("GET", "/state")->received.startsWith("HTTP/1.1 200")) << "a place is kept for /state";

    // Every place taken: a client that has sent its request still reads the 503.
    std::vector<std::unique_ptr<Client>> idle;
    while (feed->clientCount() < MatchFeed::MaxClients) {
        idle.push_back(std::make_unique<Client>(feed->serverPort()));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return feed->clientCount() >= int(streams.size() + idle.size()); }, 5000));
    }
    Client extra(feed->serverPort());
    extra.socket.write(request("GET", "/state"));
    ASSERT_TRUE(extra.waitFor("\r\n\r\n")) << "reset before the answer";
    EXPECT_TRUE(extra.received.startsWith("HTTP/1.1 503"));
    EXPECT_TRUE(extra.received.contains("Retry-After: 5"));
    EXPECT_TRUE(closes(extra));
}

TEST_F(MatchFeedTest, ConnectionCloseAndHttp10EndTheConnectionAfterTheAnswer)
{
    const auto close = ask("GET", "/state", "Connection: close\r\n");
    EXPECT_TRUE(close->received.startsWith("HTTP/1.1 200")) << close->received.toStdString();
    EXPECT_TRUE(closes(*close));

    Client old(feed->serverPort());
    old.socket.write("GET /state HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(closes(old));
    EXPECT_TRUE(old.received.contains("\"clock\":\"2:00\"")) << old.received.toStdString();

    // HTTP/1.1 keeps the connection for the next request.
    Client kept(feed->serverPort());
    kept.socket.write(request("GET", "/state"));
    ASSERT_TRUE(kept.waitForResponse());
    kept.received.clear();
    kept.socket.write(request("HEAD", "/state"));
    EXPECT_TRUE(kept.waitFor("\r\n\r\n")) << "the second request on one connection went unanswered";
    EXPECT_EQ(kept.socket.state(), QAbstractSocket::ConnectedState);
}

TEST_F(MatchFeedTest, AnUpgradeRequestGetsItsAnswerAndNothingAfter)
{
    // No other protocol is spoken here: the answer is plain HTTP, and the
    // connection ends with it, as the HTTP server reads nothing more on it.
    for (const char *path : {"/events", "/state"}) {
        Client client(feed->serverPort());
        client.socket.write(request("GET", path, "Connection: Upgrade\r\nUpgrade: websocket\r\n"));
        ASSERT_TRUE(closes(client)) << path;
        EXPECT_TRUE(client.received.startsWith("HTTP/1.1 200")) << client.received.toStdString();
        EXPECT_EQ(client.received.count("HTTP/1.1"), 1) << client.received.toStdString();
        EXPECT_TRUE(client.received.contains("Connection: close")) << client.received.toStdString();
        if (qstrcmp(path, "/events") == 0) {
            for (const QByteArray &line : client.body().split('\n'))
                EXPECT_TRUE(line.isEmpty() || line.startsWith("id: ") || line.startsWith("data: {"))
                    << line.toStdString();
        }
    }
}

TEST_F(MatchFeedTest, HeadHasTheHeadersOfGet)
{
    for (const char *path : {"/", "/state", "/events", "/nothing"}) {
        Client get(feed->serverPort());
        get.socket.write(request("GET", path));
        ASSERT_TRUE(get.waitFor("\r\n\r\n")) << path;
        const auto head = ask("HEAD", path);
        EXPECT_EQ(headerLines(head->received), headerLines(get.received)) << path;
        QTest::qWait(50);
        EXPECT_TRUE(head->body().isEmpty()) << path << ": " << head->received.toStdString();
    }
}

namespace {

// A push client with a tiny receive window that reads only when told to.
struct StalledClient
{
    explicit StalledClient(quint16 port)
    {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        const int window = 2048;
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
        // Loopback's segments are larger than this window, and a receiver
        // announces no window smaller than a segment: the sender would then
        // learn of the room made by reading only from its backing-off probes.
        const int segment = 536;
        ::setsockopt(fd, IPPROTO_TCP, TCP_MAXSEG, &segment, sizeof segment);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        sent = QTest::qWaitFor(
            [&] {
                const QByteArray get = request("GET", "/events");
                return ::write(fd, get.constData(), size_t(get.size())) == get.size();
            },
            2000);
    }
    ~StalledClient() { ::close(fd); }

    // Reads what has come, until `text` has.
    bool readUntil(const QByteArray &text)
    {
        return QTest::qWaitFor(
            [&] {
                char buffer[65536];
                for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                    received.append(buffer, n);
                return received.contains(text);
            },
            5000);
    }

    int fd;
    bool sent = false;
    QByteArray received;
};

} // namespace

TEST_F(MatchFeedTest, AStalledClientHoldsOnlyTheLatestStateAndTheBoardNeverWaits)
{
    StalledClient stalled(feed->serverPort());
    ASSERT_TRUE(stalled.sent);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->pushClientCount() == 1; }, 2000));
    // A reading client beside it keeps up throughout.
    Client reader(feed->serverPort());
    reader.socket.write(request("GET", "/events"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->pushClientCount() == 2; }, 2000));

    // Far more than the kernel's buffers hold. Every change is broadcast as
    // it happens, and what waits for the stalled client stays one event.
    const qint64 event = QJsonDocument(feed->state()).toJson(QJsonDocument::Compact).size() + 32;
    qint64 mostBuffered = 0;
    for (int change = 0; change < 2000; ++change) {
        const qint64 seq = feed->seq();
        board->PenaltyHK = board->PenaltyHK == VbTrue ? VbFalse : VbTrue;
        board->UpdateOtherColors();
        tick();
        ASSERT_EQ(feed->seq(), seq + 1) << "a change was held back";
        QCoreApplication::processEvents();
        mostBuffered = std::max(mostBuffered, feed->bufferedBytes());
    }
    EXPECT_GT(mostBuffered, 0) << "the stalled client never fell behind";
    EXPECT_LE(mostBuffered, event);
    EXPECT_EQ(feed->pushClientCount(), 2);
    const QByteArray last = "\"seq\":" + QByteArray::number(feed->seq()) + ",";
    EXPECT_TRUE(reader.waitFor(last, 5000));

    // Once it reads again, the latest state reaches it, past the ones between.
    ASSERT_TRUE(stalled.readUntil(last)) << stalled.received.right(200).toStdString();
    EXPECT_LT(stalled.received.count("data: "), 1000);
}

TEST_F(MatchFeedTest, APushClientThatTakesNothingInForTheIdleTimeIsDropped)
{
    feed->setIdleTimeout(300);
    StalledClient stalled(feed->serverPort());
    ASSERT_TRUE(stalled.sent);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->pushClientCount() == 1; }, 2000));
    for (int change = 0; change < 1000 && feed->bufferedBytes() == 0; ++change) {
        board->PenaltyHK = board->PenaltyHK == VbTrue ? VbFalse : VbTrue;
        board->UpdateOtherColors();
        tick();
        QCoreApplication::processEvents();
    }
    ASSERT_GT(feed->bufferedBytes(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return feed->pushClientCount() == 0; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return feed->clientCount() == 0; }, 2000));
}

TEST_F(MatchFeedTest, PushClientsThatComeAndGoLeaveNothingBehind)
{
    for (int i = 0; i < 100; ++i) {
        Client client(feed->serverPort());
        client.socket.write(request("GET", "/events"));
        ASSERT_TRUE(client.waitFor("data: "));
    }
    // While the board shows nothing new.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return feed->clientCount() == 0 && feed->pushClientCount() == 0; }, 5000))
        << feed->clientCount() << " connections and " << feed->pushClientCount() << " push clients remain";
}

TEST_F(MatchFeedTest, ATricklingRequestLosesItsPlaceAtItsDeadline)
{
    // One byte at a time, each well within the silence allowed between requests.
    feed->setRequestTimeout(300);
    feed->setIdleTimeout(60'000);
    Client slow(feed->serverPort());
    const QByteArray text = request("GET", "/state", "X-Slow: " + QByteArray(500, 'a') + "\r\n");
    for (qsizetype i = 0; i < text.size() && slow.socket.state() == QAbstractSocket::ConnectedState; ++i) {
        slow.socket.write(text.mid(i, 1));
        QTest::qWait(20);
    }
    EXPECT_EQ(slow.socket.state(), QAbstractSocket::UnconnectedState);
    EXPECT_TRUE(slow.received.startsWith("HTTP/1.1 408")) << slow.received.toStdString();

    // A client that asks in time keeps its connection until it falls silent.
    feed->setRequestTimeout(60'000);
    feed->setIdleTimeout(300);
    Client kept(feed->serverPort());
    for (int i = 0; i < 3; ++i) {
        kept.socket.write(request("HEAD", "/state"));
        ASSERT_TRUE(kept.waitFor("\r\n\r\n"));
        kept.received.clear();
        QTest::qWait(150);
    }
    EXPECT_EQ(kept.socket.state(), QAbstractSocket::ConnectedState);
    EXPECT_TRUE(closes(kept));
}

TEST_F(MatchFeedTest, StateTellsTheRuleSetGoldenScoreAndShidos)
{
    QJsonObject s = state();
    EXPECT_EQ(s.value("rules").toString(), "design");
    EXPECT_FALSE(s.value("golden_score").toBool());
    EXPECT_FALSE(s.value("automatic").toBool());
    QTest::keyClick(board->picKHome, Qt::Key_Return);
    EXPECT_EQ(state().value("home").toObject().value("shidos").toInt(), 0) << "the design's lamps count nothing";
    QTest::keyClick(board->picIpponHome, Qt::Key_Return);
    ASSERT_TRUE(state().value("home").toObject().value("ippon").toBool());
    EXPECT_EQ(state().value("banner").toString(), "") << "the design set ends nothing";
    QTest::keyClick(board->picIpponHome, Qt::Key_Return);
    ASSERT_FALSE(state().value("home").toObject().value("ippon").toBool());

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
    s = state();
    EXPECT_TRUE(s.value("home").toObject().value("winner").toBool());
    EXPECT_TRUE(s.value("automatic").toBool());
    EXPECT_EQ(s.value("banner").toString(), QStringLiteral("HANSOKU-MAKE \u2014 HOME (golden score)"));
    // Until the clock starts again.
    QTest::keyClick(board->tledPeriod, Qt::Key_S);
    EXPECT_EQ(state().value("banner").toString(), "");
}

TEST_F(MatchFeedTest, StateTellsOfAFrozenHold)
{
    board->setRules(Rules::preset(Rules::SetId::Ijf2025));
    QTest::keyClick(board->tledPeriod, Qt::Key_S);
    QTest::keyClick(board->tledPeriod, Qt::Key_Right);
    tick(2000);
    EXPECT_FALSE(state().value("osaekomi_frozen").toBool());
    QTest::keyClick(board->tledPeriod, Qt::Key_Down);
    EXPECT_TRUE(state().value("osaekomi_frozen").toBool());
    EXPECT_EQ(state().value("visitor").toObject().value("hold").toInt(), 2) << "frozen, not ended";
    QTest::keyClick(board->tledPeriod, Qt::Key_Down);
    EXPECT_FALSE(state().value("osaekomi_frozen").toBool());
    EXPECT_EQ(state().value("osaekomi").toString(), "visitor");
}
