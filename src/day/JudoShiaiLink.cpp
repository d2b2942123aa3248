#include "day/JudoShiaiLink.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>

namespace {

const QHostAddress ssdpGroup(QStringLiteral("239.255.255.250"));
constexpr quint16 ssdpPort = 1900;

bool sameMatch(const JudoShiai::NextMatchMessage &next, const JudoShiai::ResultMessage &result)
{
    return next.category == result.category && next.match == result.match;
}

} // namespace

JudoShiaiLink::JudoShiaiLink(QObject *parent)
    : TournamentLink(parent)
    , m_dummyTimer(new QTimer(this))
    , m_reconnectTimer(new QTimer(this))
    , m_resendTimer(new QTimer(this))
    , m_silenceTimer(new QTimer(this))
{
    m_reconnectTimer->setSingleShot(true);
    m_resendTimer->setSingleShot(true);
    m_silenceTimer->setSingleShot(true);
    connect(m_dummyTimer, &QTimer::timeout, this, &JudoShiaiLink::sendDummy);
    connect(m_reconnectTimer, &QTimer::timeout, this, &JudoShiaiLink::connectNow);
    connect(m_resendTimer, &QTimer::timeout, this, &JudoShiaiLink::resendDue);
    connect(m_silenceTimer, &QTimer::timeout, this, [this] {
        if (m_socket)
            m_socket->abort();
    });
}

// The socket goes with the link; what it says on its way out is for nobody.
JudoShiaiLink::~JudoShiaiLink()
{
    if (m_socket)
        m_socket->disconnect(this);
}

void JudoShiaiLink::start(const QString &host, quint16 port, int tatami)
{
    stop();
    m_host = host;
    m_port = port;
    m_tatami = tatami;
    m_running = true;
    m_pause = 0;
    connectNow();
}

void JudoShiaiLink::stop()
{
    m_running = false;
    m_reconnectTimer->stop();
    m_dummyTimer->stop();
    m_silenceTimer->stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    if (m_discovery) {
        m_discovery->deleteLater();
        m_discovery = nullptr;
    }
    if (m_connected) {
        m_connected = false;
        emit connectedChanged(false);
    }
}

QString JudoShiaiLink::server() const
{
    const QString host = m_host == QLatin1String("auto") && !m_found.isEmpty() ? m_found : m_host;
    return QStringLiteral("%1:%2").arg(host).arg(m_port);
}

void JudoShiaiLink::connectNow()
{
    if (!m_running)
        return;
    if (m_host == QLatin1String("auto") && m_found.isEmpty()) {
        search();
        return;
    }
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_socket = new QTcpSocket(this);
    m_deframer = JudoShiai::Deframer();
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_connected = true;
        m_pause = 0;
        sendDummy();
        m_dummyTimer->start(m_timing.dummy);
        m_silenceTimer->start(m_timing.silence);
        emit connectedChanged(true);
        if (m_pending && !m_acknowledged)
            sendPending();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &JudoShiaiLink::readBytes);
    connect(m_socket, &QTcpSocket::disconnected, this, &JudoShiaiLink::lost);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &JudoShiaiLink::lost);
    m_socket->connectToHost(m_host == QLatin1String("auto") ? m_found : m_host, m_port);
}

// Both a refused connection and a dropped one come here, maybe twice for
// one socket: the pause is set once per socket.
void JudoShiaiLink::lost()
{
    if (!m_running || m_reconnectTimer->isActive())
        return;
    m_dummyTimer->stop();
    m_silenceTimer->stop();
    if (m_connected) {
        m_connected = false;
        emit connectedChanged(false);
    }
    // A server found by SSDP may have moved: look again.
    m_found.clear();
    m_pause = m_pause == 0 ? m_timing.firstPause : std::min(m_pause * 2, m_timing.longestPause);
    m_reconnectTimer->start(m_pause);
}

void JudoShiaiLink::readBytes()
{
    if (!m_socket)
        return;
    m_silenceTimer->start(m_timing.silence);
    const QList<QByteArray> messages = m_deframer.feed(m_socket->readAll());
    for (const QByteArray &bytes : messages) {
        if (const std::optional<JudoShiai::Message> message = JudoShiai::decode(bytes))
            handle(*message);
    }
}

void JudoShiaiLink::handle(const JudoShiai::Message &message)
{
    // A timer's sender is its tatami; JudoShiai's is large.
    if (message.sender < JudoShiai::lowestServerSender)
        return;
    if (message.ackTatami && *message.ackTatami == m_tatami) {
        if (m_pending && !m_acknowledged) {
            m_acknowledged = true;
            emit resultDelivered(*m_pending);
        }
        return;
    }
    if (!message.nextMatch)
        return;
    const JudoShiai::NextMatchMessage &next = *message.nextMatch;
    if (next.tatami != m_tatami || next.category < JudoShiai::firstCategory)
        return;
    if (next.match >= JudoShiai::noMatch || next.match <= 0) {
        m_offered.reset();
        return;
    }
    const bool changed = !m_offered || m_offered->category != next.category || m_offered->match != next.match;
    m_offered = next;
    // JudoShiai has moved on from the result's match: it holds the result.
    if (m_pending && m_acknowledged && !sameMatch(next, *m_pending)) {
        m_pending.reset();
        m_resendTimer->stop();
    }
    if (changed)
        emit matchOffered(next);
}

void JudoShiaiLink::sendDummy()
{
    if (m_socket && m_connected)
        m_socket->write(JudoShiai::frame(JudoShiai::encodeDummy(m_tatami)));
}

void JudoShiaiLink::sendResult(const JudoShiai::ResultMessage &result)
{
    m_pending = result;
    m_pending->tatami = m_tatami;
    m_acknowledged = false;
    sendPending();
}

void JudoShiaiLink::sendPending()
{
    if (!m_pending)
        return;
    m_resendTimer->start(m_timing.resend);
    if (!m_socket || !m_connected)
        return;
    m_socket->write(JudoShiai::frame(JudoShiai::encodeResult(*m_pending)));
    ++m_resultsSent;
}

// Without its ACK, or with the same match still offered, the result may
// not be in: JudoShiai's own timer sends it again then.
void JudoShiaiLink::resendDue()
{
    if (!m_pending)
        return;
    if (!m_acknowledged || (m_offered && sameMatch(*m_offered, *m_pending)))
        sendPending();
    else
        m_pending.reset();
}

void JudoShiaiLink::search()
{
    if (!m_discovery) {
        m_discovery = new QUdpSocket(this);
        // NOTIFYs come to the group's port; answers to the search come to
        // whichever port it was sent from.
        m_discovery->bind(
            QHostAddress::AnyIPv4, ssdpPort, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
        m_discovery->joinMulticastGroup(ssdpGroup);
        connect(m_discovery, &QUdpSocket::readyRead, this, &JudoShiaiLink::readDiscovery);
    }
    const QByteArray request = "M-SEARCH * HTTP/1.1\r\n"
                               "HOST: 239.255.255.250:1900\r\n"
                               "MAN: \"ssdp:discover\"\r\n"
                               "MX: 2\r\n"
                               "ST: urn:judoshiai:service:all:1\r\n\r\n";
    m_discovery->writeDatagram(request, ssdpGroup, ssdpPort);
    m_pause = m_pause == 0 ? m_timing.firstPause : std::min(m_pause * 2, m_timing.longestPause);
    m_reconnectTimer->start(m_pause);
}

void JudoShiaiLink::readDiscovery()
{
    while (m_discovery && m_discovery->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_discovery->receiveDatagram(2048);
        const QByteArray text = datagram.data().toLower();
        if (!text.contains("judoshiai") || text.startsWith("m-search") || !m_found.isEmpty())
            continue;
        m_found = datagram.senderAddress().toString();
        std::fprintf(stderr, "zembrak: JudoShiai found at %s\n", qPrintable(m_found));
        m_discovery->deleteLater();
        m_discovery = nullptr;
        m_reconnectTimer->stop();
        m_pause = 0;
        connectNow();
        return;
    }
}
