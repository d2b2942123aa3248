#include "app/MatchFeed.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "scoreboard/frmScoreboard.h"

#include <QAbstractHttpServer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

using Status = QHttpServerResponder::StatusCode;

constexpr char Cors[] = "Access-Control-Allow-Origin";
constexpr char Allowed[] = "GET, HEAD, OPTIONS";
// A push client's kernel buffer is kept small, so that a stalled client
// shows in its Qt buffer, which is the one the limit watches.
constexpr int PushSendBuffer = 64 * 1024;

// Fixed answers for connections that never reach the HTTP server.
QByteArray refusal(int status, const char *reason)
{
    return QByteArray("HTTP/1.1 ") + QByteArray::number(status) + ' ' + reason +
           "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

void refuse(QTcpSocket *socket, const QByteArray &answer)
{
    socket->write(answer);
    socket->disconnectFromHost();
}

// Bytes of a request received since the last one was answered.
constexpr char PendingBytes[] = "zembrakPendingBytes";

} // namespace

// Accepts connections up to the client limit and watches each one's request
// size before Qt's HTTP server reads it.
class FeedListener : public QTcpServer
{
public:
    explicit FeedListener(QObject *parent)
        : QTcpServer(parent)
    { }

    int open = 0;
    int idleTimeoutMs = MatchFeed::DefaultIdleTimeoutMs;

    static QTimer *idleTimer(QTcpSocket *socket) { return socket->findChild<QTimer *>(); }

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(handle)) {
            delete socket;
            return;
        }
        if (open >= MatchFeed::MaxClients) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            refuse(socket, refusal(503, "Service Unavailable"));
            return;
        }
        ++open;
        connect(socket, &QObject::destroyed, this, [this] { --open; });
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, &QTcpSocket::disconnectFromHost);
        idle->start(idleTimeoutMs);
        // Connected before the HTTP server's own handler, so it sees the bytes first.
        connect(socket, &QTcpSocket::readyRead, socket, [socket] { checkSize(socket); });
        addPendingConnection(socket);
    }

private:
    static void checkSize(QTcpSocket *socket)
    {
        if (QTimer *idle = idleTimer(socket))
            idle->start(); // a request is coming
        const qint64 pending = socket->property(PendingBytes).toLongLong() + socket->bytesAvailable();
        socket->setProperty(PendingBytes, pending);
        if (pending <= MatchFeed::MaxRequestBytes)
            return;
        // Headers that end within the limit mean the excess is a body.
        const QByteArray head = socket->peek(MatchFeed::MaxRequestBytes);
        const bool bodyTooLarge = head.contains("\r\n\r\n");
        socket->readAll(); // so that the HTTP server gets nothing of it
        socket->disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        refuse(socket, bodyTooLarge ? refusal(413, "Payload Too Large")
                                    : refusal(431, "Request Header Fields Too Large"));
    }
};

// The three routes; anything else is 404, any method but GET, HEAD and
// OPTIONS is 405.
class FeedServer : public QAbstractHttpServer
{
public:
    explicit FeedServer(MatchFeed &feed)
        : m_feed(feed)
    { }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        socket->setProperty(PendingBytes, 0);
        const QString path = request.url().path();
        const bool known =
            path == QLatin1String("/") || path == QLatin1String("/state") || path == QLatin1String("/events");
        if (!known)
            return false;
        QHttpServerResponder responder = makeResponder(request, socket);
        const auto method = request.method();
        const bool head = method == QHttpServerRequest::Method::Head;
        if (method == QHttpServerRequest::Method::Options) {
            responder.write({{"Allow", Allowed}, {Cors, "*"}, {"Access-Control-Allow-Methods", Allowed},
                                {"Access-Control-Allow-Headers", "*"}},
                Status::NoContent);
        } else if (method != QHttpServerRequest::Method::Get && !head) {
            responder.write({{"Allow", Allowed}}, Status::MethodNotAllowed);
        } else if (path == QLatin1String("/state")) {
            answer(responder, head, m_feed.m_stateJson, "application/json", true);
        } else if (path == QLatin1String("/events")) {
            responder.writeStatusLine(Status::Ok);
            responder.writeHeaders({{"Content-Type", "text/event-stream"}, {"Cache-Control", "no-cache"},
                {Cors, "*"}, {"X-Accel-Buffering", "no"}});
            responder.writeBody(""); // ends the headers; the events follow
            if (head) {
                socket->disconnectFromHost();
            } else {
                if (QTimer *idle = FeedListener::idleTimer(socket))
                    idle->stop(); // it listens, and is dropped only when it stops reading
                m_feed.addPushClient(socket);
            }
        } else {
            QFile page(MatchFeed::overlayPath());
            if (page.open(QIODevice::ReadOnly))
                answer(responder, head, page.readAll(), "text/html; charset=utf-8", false);
            else
                responder.write("The overlay page is not installed beside the program.\n",
                    "text/plain; charset=utf-8", Status::NotFound);
        }
        return true;
    }

    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        makeResponder(request, socket).write("Not found\n", "text/plain; charset=utf-8", Status::NotFound);
    }

private:
    static void answer(
        QHttpServerResponder &responder, bool head, const QByteArray &body, const char *type, bool cors)
    {
        if (head) {
            // The same headers as GET, and no body.
            responder.writeStatusLine(Status::Ok);
            const QByteArray length = QByteArray::number(body.size());
            if (cors)
                responder.writeHeaders({{"Content-Type", type}, {"Content-Length", length}, {Cors, "*"}});
            else
                responder.writeHeaders({{"Content-Type", type}, {"Content-Length", length}});
            responder.writeBody("");
            return;
        }
        if (cors)
            responder.write(body, {{"Content-Type", type}, {Cors, "*"}, {"Cache-Control", "no-store"}});
        else
            responder.write(body, {{"Content-Type", type}});
    }

    MatchFeed &m_feed;
};

MatchFeed::MatchFeed(frmScoreboard &board, QObject *parent)
    : QObject(parent)
    , m_board(&board)
    , m_listener(new FeedListener(this))
    , m_server(std::make_unique<FeedServer>(*this))
{
    connect(&board, &frmScoreboard::contentChanged, this, &MatchFeed::boardChanged);
    boardChanged();
}

MatchFeed::~MatchFeed()
{
    // The server goes first, with the listener it took over.
    m_server.reset();
}

bool MatchFeed::listen(const QHostAddress &address, quint16 port)
{
    // Clients that come all at once (every overlay reconnecting after a
    // network blip) wait to be taken rather than be turned away.
    m_listener->setMaxPendingConnections(MaxClients);
    if (!m_listener->listen(address, port))
        return false;
    m_server->bind(m_listener);
    return true;
}

quint16 MatchFeed::serverPort() const
{
    return m_listener->serverPort();
}

QString MatchFeed::errorString() const
{
    return m_listener->errorString();
}

void MatchFeed::setIdleTimeout(int ms)
{
    m_listener->idleTimeoutMs = ms;
}

int MatchFeed::clientCount() const
{
    return m_listener->open;
}

QString MatchFeed::overlayPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("overlay.html"));
}

namespace {

QJsonObject side(const QString &name, const DigitDisplay *w, const DigitDisplay *y, const DigitDisplay *k,
    std::initializer_list<VbBoolean> penalties, bool ippon, bool winner, qint16 medical,
    const DigitDisplay *hold)
{
    const auto lit = [](VbBoolean flag) { return flag == VbTrue; };
    const VbBoolean *penalty = penalties.begin();
    return QJsonObject {
        {QStringLiteral("name"), name},
        {QStringLiteral("waza_ari"), w->Caption()},
        {QStringLiteral("yuko"), y->Caption()},
        {QStringLiteral("koka"), k->Caption()},
        {QStringLiteral("keikoku"), lit(penalty[0])},
        {QStringLiteral("chui"), lit(penalty[1])},
        {QStringLiteral("shido"), lit(penalty[2])},
        {QStringLiteral("ippon"), ippon},
        {QStringLiteral("winner"), winner},
        // Counts outside the lamps' range light nothing new; tell what is lit.
        {QStringLiteral("medical"), std::clamp<int>(medical, 0, 2)},
        {QStringLiteral("hold"), hold->Caption()},
    };
}

} // namespace

QJsonObject MatchFeed::stateOf(const frmScoreboard &board)
{
    QJsonValue osaekomi = QJsonValue::Null;
    if (board.tkHoldHome->Running())
        osaekomi = QStringLiteral("home");
    else if (board.tkHoldVisitor->Running())
        osaekomi = QStringLiteral("visitor");
    // Shidos are counted only under a set that counts them.
    const auto penalties = [&board](QJsonObject side, qint16 shidos, qint16 number) {
        side.insert(QStringLiteral("shidos"), board.rules().countsShidos() ? shidos : 0);
        side.insert(QStringLiteral("hansoku_make"), board.hansokuMake(number));
        return side;
    };
    return QJsonObject {
        {QStringLiteral("rules"), Rules::idText(board.rules().id)},
        {QStringLiteral("golden_score"), board.GoldenScore},
        {QStringLiteral("title"), board.lblTitle->Caption()},
        // Where the day's list stands; 0 of 0 without one.
        {QStringLiteral("match"), QJsonObject {{QStringLiteral("index"), board.matchIndex()},
                                      {QStringLiteral("count"), board.matchCount()}}},
        {QStringLiteral("clock"), board.tledPeriod->groupTexts().join(QLatin1Char(':')).trimmed()},
        {QStringLiteral("clock_running"), board.tkPeriod->Running()},
        {QStringLiteral("osaekomi"), osaekomi},
        {QStringLiteral("home"),
            penalties(side(board.lblHomeName->Caption(), board.nledWHome, board.nledYHome, board.nledKHome,
                          {board.PenaltyHK, board.PenaltyHC, board.PenaltyHS}, board.Ippon == 1,
                          board.Winner == 1, board.MedHome, board.nledHoldHome),
                board.ShidoHome, 1)},
        {QStringLiteral("visitor"),
            penalties(side(board.lblVisitorName->Caption(), board.nledWVisitor, board.nledYVisitor,
                          board.nledKVisitor, {board.PenaltyVK, board.PenaltyVC, board.PenaltyVS},
                          board.Ippon == 2, board.Winner == 2, board.MedVisitor, board.nledHoldVisitor),
                board.ShidoVisitor, 2)},
    };
}

void MatchFeed::boardChanged()
{
    if (!m_board)
        return;
    QJsonObject state = stateOf(*m_board);
    QJsonObject previous = m_state;
    previous.remove(QStringLiteral("seq"));
    if (!m_stateJson.isEmpty() && state == previous)
        return;
    state.insert(QStringLiteral("seq"), ++m_seq);
    m_state = state;
    m_stateJson = QJsonDocument(m_state).toJson(QJsonDocument::Compact);

    const QByteArray message = event();
    for (const QPointer<QTcpSocket> &client : std::as_const(m_pushClients)) {
        if (!client)
            continue;
        // A client that has stopped reading is dropped rather than let its
        // backlog grow; the write itself never waits.
        if (client->bytesToWrite() + message.size() > MaxBufferedBytes) {
            client->abort();
        } else {
            client->write(message);
            // Straight to the kernel, without blocking: a client that keeps up
            // then costs one write, not a round of the event loop.
            client->flush();
        }
    }
    m_pushClients.removeIf([](const QPointer<QTcpSocket> &client) {
        return !client || client->state() != QAbstractSocket::ConnectedState;
    });
    emit broadcast(m_seq);
}

QByteArray MatchFeed::event() const
{
    return "id: " + QByteArray::number(m_seq) + "\ndata: " + m_stateJson + "\n\n";
}

void MatchFeed::addPushClient(QTcpSocket *socket)
{
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, PushSendBuffer);
    socket->write(event());
    m_pushClients.append(socket);
}
