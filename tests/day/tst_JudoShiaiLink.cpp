// The link to JudoShiai against a fake JudoShiai played by the test: the
// timer's greeting, a server that vanishes mid-contest, hostile frames,
// other tatamis' matches, and results until they are in.

#include "day/JudoShiaiLink.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <memory>

using namespace JudoShiai;

namespace {

constexpr qint32 serverSender = 0x7fff0000;

// JudoShiai as the test plays it: one timer connection, every message it
// sends kept in order.
class FakeServer
{
public:
    explicit FakeServer(quint16 port = 0)
    {
        listen(port);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            m_client.reset(m_server.nextPendingConnection());
            ++connections;
            QObject::connect(m_client.get(), &QTcpSocket::readyRead, [this] {
                for (const QByteArray &bytes : m_deframer.feed(m_client->readAll()))
                    received.append(bytes);
            });
        });
    }

    void listen(quint16 port, const QHostAddress &address = QHostAddress(QHostAddress::LocalHost))
    {
        EXPECT_TRUE(m_server.listen(address, port));
    }
    quint16 port() const { return m_server.serverPort(); }

    // Gone as a killed program goes: the connection closed, nobody listening.
    void vanish()
    {
        m_server.close();
        if (m_client)
            m_client->abort();
        m_client.reset();
    }

    void send(const QByteArray &bytes)
    {
        ASSERT_TRUE(m_client);
        m_client->write(bytes);
    }
    void offer(const NextMatchMessage &next) { send(frame(encodeNextMatch(next))); }

    int count(int type) const
    {
        int n = 0;
        for (const QByteArray &bytes : received)
            n += bytes.size() > 1 && int(bytes[1]) == type;
        return n;
    }
    bool waitFor(int type, int n) const
    {
        return QTest::qWaitFor([&] { return count(type) >= n; }, 5000);
    }
    bool waitConnected(int n) const
    {
        return QTest::qWaitFor([&] { return connections >= n && m_client; }, 5000);
    }

    QList<QByteArray> received;
    int connections = 0;

private:
    QTcpServer m_server;
    std::unique_ptr<QTcpSocket> m_client;
    Deframer m_deframer;
};

NextMatchMessage match(qint32 tatami, qint32 number)
{
    NextMatchMessage next;
    next.sender = serverSender;
    next.tatami = tatami;
    next.category = 10000;
    next.match = number;
    next.category1 = QStringLiteral("M-73");
    next.blue1 = {QStringLiteral("PERSSON"), QStringLiteral("Elias"), QStringLiteral("SWE"), QString()};
    next.white1 = {QStringLiteral("JENSEN"), QStringLiteral("Aleksander"), QStringLiteral("NOR"), QString()};
    next.round = 0x0101;
    return next;
}

ResultMessage resultOf(qint32 number)
{
    ResultMessage result;
    result.category = 10000;
    result.match = number;
    result.time = 200;
    result.whiteScore = packScore(1, 0, 0, 0);
    return result;
}

struct LinkTest : ::testing::Test
{
    LinkTest()
    {
        JudoShiaiLink::Timing timing;
        timing.dummy = 100;
        timing.firstPause = 20;
        timing.longestPause = 80;
        timing.resend = 150;
        link.setTiming(timing);
    }

    FakeServer server;
    JudoShiaiLink link;
};

} // namespace

TEST_F(LinkTest, GreetsAsATimerOfItsTatamiAtOnceAndThenRegularly)
{
    link.start(QStringLiteral("127.0.0.1"), server.port(), 3);
    ASSERT_TRUE(server.waitFor(Dummy, 3));
    EXPECT_EQ(server.received.first(), encodeDummy(3));
    EXPECT_TRUE(link.isConnected());
    EXPECT_EQ(link.server(), QStringLiteral("127.0.0.1:%1").arg(server.port()));
}

TEST_F(LinkTest, ServerVanishingMidContestCostsNoResult)
{
    QSignalSpy offered(&link, &JudoShiaiLink::matchOffered);
    QSignalSpy delivered(&link, &JudoShiaiLink::resultDelivered);
    QSignalSpy connection(&link, &JudoShiaiLink::connectedChanged);
    link.start(QStringLiteral("127.0.0.1"), server.port(), 1);
    ASSERT_TRUE(server.waitConnected(1));
    server.offer(match(1, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered.size() == 1; }, 5000));

    const quint16 port = server.port();
    server.vanish();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.isConnected(); }, 5000));
    // The contest ends while JudoShiai is away.
    link.sendResult(resultOf(2));
    server.listen(port);
    ASSERT_TRUE(server.waitConnected(2));
    ASSERT_TRUE(server.waitFor(Result, 1));
    ResultMessage expected = resultOf(2);
    expected.tatami = 1;
    EXPECT_TRUE(server.received.contains(encodeResult(expected)));
    ASSERT_TRUE(link.pendingResult());
    server.send(frame(encodeAck(serverSender, 1)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 1; }, 5000));
    EXPECT_GE(connection.size(), 3); // up, down, up again
    // The same match comes again after reconnecting: nothing new to take.
    server.offer(match(1, 2));
    server.offer(match(1, 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered.size() == 2; }, 5000));
    EXPECT_FALSE(link.pendingResult());
}

TEST_F(LinkTest, GarbageAndOversizedFramesAreSkipped)
{
    QSignalSpy offered(&link, &JudoShiaiLink::matchOffered);
    link.start(QStringLiteral("127.0.0.1"), server.port(), 1);
    ASSERT_TRUE(server.waitConnected(1));
    QByteArray noise = QByteArray::fromHex("fffd0401ff00") + QByteArray(2000, '\xff') + "plain garbage";
    noise += QByteArray::fromHex("fffd") + QByteArray(100000, 'A') + QByteArray::fromHex("fffc");
    noise += frame(encodeNextMatch(match(1, 1)).left(200)); // a NEXT_MATCH cut short
    server.send(noise);
    server.offer(match(1, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered.size() == 1; }, 5000));
    EXPECT_EQ(offered.first().first().value<NextMatchMessage>().white1.displayName(),
        QStringLiteral("JENSEN Aleksander"));
    EXPECT_GE(link.framesDropped(), 2);
    EXPECT_TRUE(link.isConnected());
}

TEST_F(LinkTest, TakesOnlyJudoShiaisMatchesForItsOwnTatami)
{
    QSignalSpy offered(&link, &JudoShiaiLink::matchOffered);
    QSignalSpy delivered(&link, &JudoShiaiLink::resultDelivered);
    link.start(QStringLiteral("127.0.0.1"), server.port(), 2);
    ASSERT_TRUE(server.waitConnected(1));
    link.sendResult(resultOf(4));
    NextMatchMessage fromTimer = match(2, 5);
    fromTimer.sender = 3;
    NextMatchMessage badCategory = match(2, 5);
    badCategory.category = 9999;
    server.offer(match(1, 5));
    server.offer(fromTimer);
    server.offer(badCategory);
    server.offer(match(2, noMatch));
    server.send(frame(encodeAck(serverSender, 1))); // another tatami's ACK
    server.send(frame(encodeAck(4, 2))); // an ACK from a timer
    server.offer(match(2, 6));
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered.size() == 1; }, 5000));
    EXPECT_EQ(offered.first().first().value<NextMatchMessage>().match, 6);
    EXPECT_TRUE(delivered.isEmpty());
}

TEST_F(LinkTest, ResultIsSentAgainUntilAckedAndWhileTheSameMatchIsOffered)
{
    link.start(QStringLiteral("127.0.0.1"), server.port(), 1);
    ASSERT_TRUE(server.waitConnected(1));
    server.offer(match(1, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.offered().has_value(); }, 5000));
    link.sendResult(resultOf(1));
    ASSERT_TRUE(server.waitFor(Result, 3)); // no ACK: again and again
    server.send(frame(encodeAck(serverSender, 1)));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return link.resultsSent() > 0 && server.count(Result) == link.resultsSent(); }, 5000));
    // Acknowledged, yet the same match is still offered: once more.
    const int before = server.count(Result);
    ASSERT_TRUE(server.waitFor(Result, before + 1));
    // Moved on: the result is in, and no more is sent.
    server.offer(match(1, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.pendingResult(); }, 5000));
    const int settled = server.count(Result);
    ASSERT_TRUE(server.waitFor(Dummy, server.count(Dummy) + 4)); // longer than the resend pause
    EXPECT_EQ(server.count(Result), settled);
}

// "auto": JudoShiai answers the link's SSDP search, and the link connects to
// the address the answer came from.
TEST(JudoShiaiDiscovery, AutoFindsTheServerThatAnswersTheSearch)
{
    FakeServer server;
    server.vanish();
    server.listen(0, QHostAddress::AnyIPv4);
    QUdpSocket ssdp;
    if (!ssdp.bind(QHostAddress::AnyIPv4, 1900, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint) ||
        !ssdp.joinMulticastGroup(QHostAddress(QStringLiteral("239.255.255.250"))))
        GTEST_SKIP() << "no multicast here: " << ssdp.errorString().toStdString();
    QByteArray search;
    QObject::connect(&ssdp, &QUdpSocket::readyRead, [&] {
        while (ssdp.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = ssdp.receiveDatagram();
            if (!datagram.data().startsWith("M-SEARCH"))
                continue;
            search = datagram.data();
            ssdp.writeDatagram("HTTP/1.1 200 OK\r\nST: urn:judoshiai:service:all:1\r\n"
                               "SERVER: Linux/6 UPnP/1.0 JudoShiai/2.6\r\n\r\n",
                datagram.senderAddress(), quint16(datagram.senderPort()));
        }
    });
    JudoShiaiLink link;
    JudoShiaiLink::Timing timing;
    timing.firstPause = 50;
    timing.longestPause = 200;
    link.setTiming(timing);
    link.start(QStringLiteral("auto"), server.port(), 1);
    if (!QTest::qWaitFor([&] { return !search.isEmpty(); }, 3000))
        GTEST_SKIP() << "multicast does not loop back here";
    EXPECT_TRUE(search.contains("ST: urn:judoshiai:service:all:"));
    ASSERT_TRUE(server.waitFor(Dummy, 1));
    EXPECT_TRUE(link.isConnected());
    EXPECT_FALSE(link.server().startsWith(QLatin1String("auto")));
}
