#include "app/MatchFeed.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "day/TournamentLink.h"
#include "day/MatchDay.h"
#include "modules/AudienceCues.h"
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
#include <sys/socket.h>
#include <vector>

namespace {

using Status = QHttpServerResponder::StatusCode;

constexpr char Cors[] = "Access-Control-Allow-Origin";
constexpr char Allowed[] = "GET, HEAD, OPTIONS";
// A push client's kernel buffer is kept small, so that a stalled client
// shows in its Qt buffer, where the feed sees it.
constexpr int PushSendBuffer = 64 * 1024;

// Fixed answers for requests that never reach the HTTP server.
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

constexpr char Full[] = "HTTP/1.1 503 Service Unavailable\r\nRetry-After: 5\r\nContent-Length: 0\r\n"
                        "Connection: close\r\n\r\n";

// Says 503 to a client past the limit so that it can read it: closing with
// its request unread would reset the connection, losing the answer, so the
// feed ends only its own side and lets the client close, for a short while.
void sayFull(QTcpSocket *socket)
{
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
        if (socket->bytesToWrite() == 0)
            ::shutdown(int(socket->socketDescriptor()), SHUT_WR);
    });
    QTimer::singleShot(2000, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    socket->write(Full);
}

// Where the blank line that ends a header ends, from `from` on; -1 while
// there is none. Bare line feeds count, as the HTTP server takes them.
qsizetype headEnd(const QByteArray &data, qsizetype from)
{
    for (qsizetype at = data.indexOf('\n', from); at >= 0; at = data.indexOf('\n', at + 1)) {
        if (at + 1 < data.size() && data.at(at + 1) == '\n')
            return at + 2;
        if (at + 2 < data.size() && data.at(at + 1) == '\r' && data.at(at + 2) == '\n')
            return at + 3;
    }
    return -1;
}

// What a request's header says about its length and its connection.
struct RequestHead
{
    bool ambiguous = false; // lengths that two readers could take differently
    qint64 bodyLength = 0;
    bool chunked = false; // a body whose length the feed does not work out
    bool close = false; // the connection ends after the answer
};

// The HTTP server reads nothing more on a connection that asked to become
// another protocol, so no further request can be answered on it.
bool asksUpgrade(const QByteArray &name, const QByteArray &value)
{
    return name == "upgrade" && !value.isEmpty();
}

bool isDigits(const QByteArray &text)
{
    return !text.isEmpty() &&
           std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; });
}

RequestHead readHead(const QByteArray &head)
{
    RequestHead result;
    const QByteArrayList lines = head.split('\n');
    bool keepAlive = false;
    bool closeAsked = false;
    QList<qint64> lengths;
    // A NUL anywhere is no HTTP, and two readers may cut the header there.
    result.ambiguous = head.contains('\0');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        // A folded line continues the one before it, as one reader sees it
        // and another does not; a line with no name is no header at all.
        if (line.startsWith(' ') || line.startsWith('\t') || (colon < 0 && !line.trimmed().isEmpty())) {
            result.ambiguous = true;
            continue;
        }
        if (colon < 0)
            continue;
        const QByteArray rawName = line.left(colon);
        // "Name :" or a folded line: RFC 9112 has them refused, as a reader
        // that trims would see another header than one that does not.
        if (rawName.isEmpty() || rawName.contains(' ') || rawName.contains('\t')) {
            result.ambiguous = true;
            continue;
        }
        const QByteArray name = rawName.toLower();
        const QByteArray value = line.mid(colon + 1).trimmed().toLower();
        if (name == "content-length") {
            // Digits only: no sign, and no list, even of equal values.
            const bool ok = isDigits(value) && value.size() <= 18;
            result.ambiguous = result.ambiguous || !ok;
            lengths.append(ok ? value.toLongLong() : -1);
        } else if (name == "transfer-encoding") {
            result.chunked = true;
        } else if (asksUpgrade(name, value)) {
            closeAsked = true;
        } else if (name == "connection") {
            for (const QByteArray &token : value.split(',')) {
                closeAsked = closeAsked || token.trimmed() == "close";
                keepAlive = keepAlive || token.trimmed() == "keep-alive";
            }
        }
    }
    const bool http10 = lines.value(0).trimmed().endsWith("HTTP/1.0");
    result.close = closeAsked || (http10 && !keepAlive);
    // Both a length and a transfer coding, or two lengths that differ.
    if (!lengths.isEmpty()) {
        result.ambiguous = result.ambiguous || result.chunked ||
                           std::any_of(lengths.cbegin(), lengths.cend(),
                               [&](qint64 length) { return length != lengths.first(); });
        result.bodyLength = lengths.first();
    }
    return result;
}

} // namespace

// The feed's watch over one connection. It reads the requests' framing
// before Qt's HTTP server reads the bytes, so that a request whose length is
// ambiguous or too large never reaches the server, and it keeps one deadline:
// for the request coming in (from its first byte, however slowly the rest
// comes), for the silence between requests, or, on a push client, for taking
// in what was sent.
class FeedConnection : public QObject
{
public:
    FeedConnection(QTcpSocket *socket, int requestMs, int idleMs)
        : QObject(socket)
        , m_socket(socket)
        , m_requestMs(requestMs)
        , m_idleMs(idleMs)
    {
        setObjectName(QLatin1String(Name));
        m_deadline.setSingleShot(true);
        connect(&m_deadline, &QTimer::timeout, this, &FeedConnection::expired);
        m_deadline.start(m_idleMs);
        // Connected before the HTTP server's own handler, so it sees the bytes first.
        connect(socket, &QTcpSocket::readyRead, this, &FeedConnection::received);
    }

    // Found by name, as the class has no meta-object of its own.
    static FeedConnection *of(QTcpSocket *socket)
    {
        return static_cast<FeedConnection *>(
            socket->findChild<QObject *>(QLatin1String(Name), Qt::FindDirectChildrenOnly));
    }

    // The connection is being closed: no further answers go out on it.
    bool ending() const { return m_ending; }

    // Taken as the HTTP server answers a request: whether the connection
    // ends after the answer.
    bool closeAfterAnswer()
    {
        const bool close = m_closeAfter.isEmpty() || m_closeAfter.takeFirst();
        m_ending = m_ending || close;
        return close;
    }

    // The connection is an event stream from now on: what the client sends
    // is no longer read as requests, and the deadline watches its taking in.
    void becomePush()
    {
        m_push = true;
        m_deadline.stop();
        m_socket->readAll();
    }

    // A push client took in some of what waits for it, or was sent more.
    void progressed(bool restart)
    {
        if (m_socket->bytesToWrite() == 0)
            m_deadline.stop();
        else if (restart || !m_deadline.isActive())
            m_deadline.start(m_idleMs);
    }

    qint64 sentSeq = 0;

private:
    static constexpr char Name[] = "zembrakFeedConnection";

    void received()
    {
        if (m_push || m_ending) {
            m_socket->readAll(); // nobody answers it
            return;
        }
        const QByteArray data = m_socket->peek(m_socket->bytesAvailable());
        if (m_unframed) {
            // The rest of a chunked body, which the server reads up to its end.
            m_unframedBytes += data.size();
            if (m_unframedBytes > MatchFeed::MaxRequestBytes)
                refuseFrom(0, refusal(413, "Payload Too Large"));
            return;
        }
        qsizetype at = 0;
        while (at < data.size() && !m_unframed) {
            if (m_bodyLeft > 0) {
                const qint64 taken = std::min<qint64>(m_bodyLeft, data.size() - at);
                m_bodyLeft -= taken;
                at += taken;
                if (m_bodyLeft == 0)
                    m_deadline.start(m_idleMs);
                continue;
            }
            if (m_head.isEmpty()) {
                // Blank lines before a request are allowed, and are no request.
                if (data.at(at) == '\r' || data.at(at) == '\n') {
                    ++at;
                    continue;
                }
                m_requestStart = at;
                m_deadline.start(m_requestMs); // not restarted by the bytes that follow
            }
            const qsizetype before = m_head.size();
            m_head += data.mid(at, MatchFeed::MaxRequestBytes + 1 - before);
            const qsizetype end = headEnd(m_head, std::max<qsizetype>(0, before - 2));
            if (end < 0) {
                if (m_head.size() > MatchFeed::MaxRequestBytes)
                    return refuseFrom(m_requestStart, refusal(431, "Request Header Fields Too Large"));
                at += m_head.size() - before;
                continue;
            }
            at += end - before;
            m_head.truncate(end);
            const RequestHead head = readHead(m_head);
            if (head.ambiguous)
                return refuseFrom(m_requestStart, refusal(400, "Bad Request"));
            if (head.bodyLength > MatchFeed::MaxRequestBytes - m_head.size())
                return refuseFrom(m_requestStart, refusal(413, "Payload Too Large"));
            m_head.clear();
            m_requestStart = 0;
            // After a body of unknown length the connection carries no more requests.
            m_closeAfter.append(head.close || head.chunked);
            m_unframed = head.chunked;
            m_unframedBytes = data.size() - at;
            m_bodyLeft = head.bodyLength;
            if (m_bodyLeft == 0)
                m_deadline.start(m_idleMs);
        }
    }

    // Refuses the request that starts at `start` of the bytes at hand; the
    // whole requests before it are still answered, first.
    void refuseFrom(qsizetype start, const QByteArray &answer)
    {
        const QByteArray data = m_socket->readAll();
        for (qsizetype i = std::min(start, data.size()) - 1; i >= 0; --i)
            m_socket->ungetChar(data.at(i));
        m_unframed = true;
        refuseAfterAnswers(answer, 100);
    }

    // After the server has answered the requests before it, which it may
    // do over several passes of the event loop; a few passes at most.
    void refuseAfterAnswers(const QByteArray &answer, int passes)
    {
        QMetaObject::invokeMethod(
            this,
            [this, answer, passes] {
                if (m_ending)
                    return; // an answer before it closed the connection
                if (!m_closeAfter.isEmpty() && passes > 0)
                    return refuseAfterAnswers(answer, passes - 1);
                m_ending = true;
                m_socket->readAll();
                refuse(m_socket, answer);
                m_deadline.start(m_idleMs);
            },
            Qt::QueuedConnection);
    }

    void expired()
    {
        if (m_push || m_ending || m_socket->bytesToWrite() > 0) {
            // Taking in nothing of what it was sent, or of its last answer.
            m_socket->abort();
        } else if (!m_head.isEmpty() || m_bodyLeft > 0) {
            m_ending = true;
            refuse(m_socket, refusal(408, "Request Timeout"));
            m_deadline.start(m_idleMs);
        } else {
            m_socket->disconnectFromHost();
        }
    }

    QTcpSocket *m_socket;
    int m_requestMs;
    int m_idleMs;
    QTimer m_deadline;
    QByteArray m_head; // of the request coming in
    qsizetype m_requestStart = 0; // where it starts in the bytes at hand
    qint64 m_bodyLeft = 0;
    bool m_unframed = false;
    qint64 m_unframedBytes = 0;
    QList<bool> m_closeAfter; // of each request framed and not yet answered
    bool m_push = false;
    bool m_ending = false;
};

// Accepts connections up to the client limit and puts each under the
// feed's watch.
class FeedListener : public QTcpServer
{
public:
    explicit FeedListener(QObject *parent)
        : QTcpServer(parent)
    { }

    int open = 0;
    int refusing = 0; // past the limit, being told so
    int requestTimeoutMs = MatchFeed::DefaultRequestTimeoutMs;
    int idleTimeoutMs = MatchFeed::DefaultIdleTimeoutMs;

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(handle)) {
            delete socket;
            return;
        }
        if (open >= MatchFeed::MaxClients) {
            // Past the room to say it, the connection is only closed.
            if (refusing >= MatchFeed::MaxRefusing) {
                delete socket;
                return;
            }
            ++refusing;
            connect(socket, &QObject::destroyed, this, [this] { --refusing; });
            sayFull(socket);
            return;
        }
        ++open;
        connect(socket, &QObject::destroyed, this, [this] { --open; });
        new FeedConnection(socket, requestTimeoutMs, idleTimeoutMs);
        addPendingConnection(socket);
    }
};

// The three routes; anything else is 404, any method but GET, HEAD and
// OPTIONS is 405. HEAD gets the headers GET would get.
class FeedServer : public QAbstractHttpServer
{
public:
    explicit FeedServer(MatchFeed &feed)
        : m_feed(feed)
    { }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        FeedConnection *connection = FeedConnection::of(socket);
        if (!connection || connection->ending())
            return true;
        if (socket->bytesToWrite() > MatchFeed::MaxBufferedBytes) {
            // Asks and asks, and reads none of the answers.
            socket->abort();
            return true;
        }
        const bool close = connection->closeAfterAnswer();
        QHttpServerResponder responder = makeResponder(request, socket);
        const QString path = request.url().path();
        const auto method = request.method();
        const bool head = method == QHttpServerRequest::Method::Head;
        Headers headers;
        if (close)
            headers.emplace_back("Connection", "close");
        bool stream = false;
        bool full = false;
        if (path != QLatin1String("/") && path != QLatin1String("/state") && path != QLatin1String("/events")) {
            headers.emplace_back("Content-Type", "text/plain; charset=utf-8");
            answer(responder, head, Status::NotFound, headers, "Not found\n");
        } else if (method == QHttpServerRequest::Method::Options) {
            headers.insert(
                headers.end(), {{"Allow", Allowed}, {Cors, "*"}, {"Access-Control-Allow-Methods", Allowed},
                                   {"Access-Control-Allow-Headers", "*"}});
            answer(responder, true, Status::NoContent, headers, {});
        } else if (method != QHttpServerRequest::Method::Get && !head) {
            headers.emplace_back("Allow", Allowed);
            answer(responder, false, Status::MethodNotAllowed, headers, {});
        } else if (path == QLatin1String("/state")) {
            headers.insert(headers.end(),
                {{"Content-Type", "application/json"}, {Cors, "*"}, {"Cache-Control", "no-store"}});
            answer(responder, head, Status::Ok, headers, m_feed.m_stateJson);
        } else if (path == QLatin1String("/events") &&
                   m_feed.pushClientCount() >= MatchFeed::MaxPushClients) {
            // The last places are kept for one-shot readers of /state.
            if (!close)
                headers.emplace_back("Connection", "close");
            headers.emplace_back("Retry-After", "5");
            answer(responder, head, Status::ServiceUnavailable, headers, {});
            full = true;
        } else if (path == QLatin1String("/events")) {
            headers.insert(
                headers.end(), {{"Content-Type", "text/event-stream"}, {"Cache-Control", "no-cache"},
                                   {Cors, "*"}, {"X-Accel-Buffering", "no"}});
            responder.writeStatusLine(Status::Ok);
            for (const auto &[name, value] : std::as_const(headers))
                responder.writeHeader(name, value);
            responder.writeBody(""); // ends the headers; the events follow
            stream = !head;
        } else {
            QFile page(MatchFeed::overlayPath());
            if (page.open(QIODevice::ReadOnly)) {
                headers.emplace_back("Content-Type", "text/html; charset=utf-8");
                answer(responder, head, Status::Ok, headers, page.readAll());
            } else {
                headers.emplace_back("Content-Type", "text/plain; charset=utf-8");
                answer(responder, head, Status::NotFound, headers,
                    "The overlay page is not installed beside the program.\n");
            }
        }
        if (stream)
            m_feed.addPushClient(socket); // until the client goes; Connection: close changes nothing
        else if (close || full)
            socket->disconnectFromHost();
        return true;
    }

    void missingHandler(const QHttpServerRequest &, QTcpSocket *) override
    {
        // Every request was answered above. The server also calls this after
        // a request that asked to upgrade the connection, and anything
        // written now would break into that answer or the event stream.
    }

private:
    using Headers = std::vector<std::pair<QByteArray, QByteArray>>;

    static void answer(QHttpServerResponder &responder, bool head, Status status, const Headers &headers,
        const QByteArray &body)
    {
        responder.writeStatusLine(status);
        for (const auto &[name, value] : headers)
            responder.writeHeader(name, value);
        if (status != Status::NoContent)
            responder.writeHeader("Content-Length", QByteArray::number(body.size()));
        responder.writeBody(head ? QByteArray() : body);
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
    // The server goes first, with the listener it took over and its
    // connections; none is left to be told of.
    for (QTcpSocket *client : std::as_const(m_pushClients))
        client->disconnect(this);
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

bool MatchFeed::listen(qintptr boundDescriptor)
{
    m_listener->setMaxPendingConnections(MaxClients);
    if (!m_listener->setSocketDescriptor(boundDescriptor))
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

void MatchFeed::setRequestTimeout(int ms)
{
    m_listener->requestTimeoutMs = ms;
}

int MatchFeed::clientCount() const
{
    return m_listener->open;
}

qint64 MatchFeed::bufferedBytes() const
{
    qint64 bytes = 0;
    for (const QTcpSocket *client : m_pushClients)
        bytes += client->bytesToWrite();
    return bytes;
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
    // What a spectator reads from afar is shown only under a set with automatics.
    const bool automatic = board.rules().automatic();
    QJsonObject state {
        {QStringLiteral("rules"), Rules::idText(board.rules().id)},
        {QStringLiteral("automatic"), automatic},
        {QStringLiteral("banner"),
            automatic && board.contestEnded() ? AudienceCues::banner(board.endedContest()) : QString()},
        {QStringLiteral("golden_score"), board.goldenScore()},
        {QStringLiteral("title"), board.lblTitle->Caption()},
        // The mat this board runs; empty without one.
        {QStringLiteral("mat"), board.day().mat()},
        // Where the day's list stands; 0 of 0 without one.
        {QStringLiteral("match"), QJsonObject {{QStringLiteral("index"), board.day().matchIndex()},
                                      {QStringLiteral("count"), board.day().matchCount()}}},
        {QStringLiteral("clock"), board.tledPeriod->groupTexts().join(QLatin1Char(':')).trimmed()},
        {QStringLiteral("clock_running"), board.tkPeriod->Running()},
        {QStringLiteral("osaekomi"), osaekomi},
        {QStringLiteral("osaekomi_frozen"), board.referee().frozen()},
        {QStringLiteral("home"),
            penalties(side(board.lblHomeName->Caption(), board.nledWHome, board.nledYHome, board.nledKHome,
                          {board.PenaltyHK, board.PenaltyHC, board.PenaltyHS}, board.Ippon == 1,
                          board.Winner == 1, board.MedHome, board.nledHoldHome),
                board.shidos(1), 1)},
        {QStringLiteral("visitor"),
            penalties(side(board.lblVisitorName->Caption(), board.nledWVisitor, board.nledYVisitor,
                          board.nledKVisitor, {board.PenaltyVK, board.PenaltyVC, board.PenaltyVS},
                          board.Ippon == 2, board.Winner == 2, board.MedVisitor, board.nledHoldVisitor),
                board.shidos(2), 2)},
    };
    // The link to JudoShiai, when there is one, and the country and club
    // of its match's competitors.
    if (const TournamentLink *link = board.day().tournamentLink()) {
        state.insert(QStringLiteral("tournament"),
            QJsonObject {{QStringLiteral("server"), link->server()},
                {QStringLiteral("tatami"), link->tatami()},
                {QStringLiteral("connected"), link->isConnected()},
                {QStringLiteral("category"), board.day().tournamentCategory()},
                {QStringLiteral("match"), board.day().tournamentMatch()},
                {QStringLiteral("home_details"), board.day().tournamentDetails(1)},
                {QStringLiteral("visitor_details"), board.day().tournamentDetails(2)},
                {QStringLiteral("result_pending"), link->pendingResult().has_value()}});
    }
    return state;
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
    // Sent once the keys at hand are handled: a burst of them costs the
    // push clients one event, not one each.
    if (!m_broadcastQueued) {
        m_broadcastQueued = true;
        QMetaObject::invokeMethod(this, &MatchFeed::broadcastLatest, Qt::QueuedConnection);
    }
}

void MatchFeed::broadcastLatest()
{
    m_broadcastQueued = false;
    m_event = event();
    // Each client gets the latest state as soon as it has taken the last
    // one in; one that lags skips the states between, so its buffer holds
    // one event at most and no write waits for it.
    const QList<QTcpSocket *> clients = m_pushClients;
    for (QTcpSocket *client : clients)
        push(client);
    emit broadcast(m_seq);
}

QByteArray MatchFeed::event() const
{
    return "id: " + QByteArray::number(m_seq) + "\ndata: " + m_stateJson + "\n\n";
}

void MatchFeed::addPushClient(QTcpSocket *socket)
{
    FeedConnection *connection = FeedConnection::of(socket);
    connection->becomePush();
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, PushSendBuffer);
    m_pushClients.append(socket);
    connect(socket, &QObject::destroyed, this, [this, socket] { m_pushClients.removeOne(socket); });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket, connection] {
        connection->progressed(true);
        push(socket);
    });
    push(socket);
}

void MatchFeed::push(QTcpSocket *client)
{
    FeedConnection *connection = FeedConnection::of(client);
    // The first event follows its headers at once.
    const bool waiting = connection->sentSeq != 0 && client->bytesToWrite() > 0;
    if (client->state() != QAbstractSocket::ConnectedState || waiting || connection->sentSeq == m_seq)
        return;
    if (m_broadcastQueued || m_event.isEmpty())
        m_event = event(); // a client that comes or drains before the broadcast
    connection->sentSeq = m_seq;
    client->write(m_event);
    // Straight to the kernel, without blocking: a client that keeps up then
    // costs one write, not a round of the event loop.
    client->flush();
    connection->progressed(false);
}
