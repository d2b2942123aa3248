#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class frmScoreboard;
class QTcpSocket;
class FeedListener;
class FeedServer;

// The live match feed for overlays and other displays, read-only over HTTP:
// GET /state gives the match as JSON, GET /events pushes the same object as
// Server-Sent Events on every change, GET / serves the overlay page shipped
// beside the program. It follows the board's contentChanged signal, so it
// costs nothing while nothing changes.
//
// Qt's HTTP server parses the requests; the listening socket is ours, so
// that the client limit, the framing and size of requests, their deadlines
// and the dropping of stalled push clients can be enforced on each
// connection before Qt reads it.
class MatchFeed : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxClients = 256;
    // Event streams stop short of the limit, so that a room full of them
    // still lets a one-shot reader of /state in.
    static constexpr int MaxPushClients = MaxClients - 16;
    // Clients past the limit told 503 at one time; more are only closed.
    static constexpr int MaxRefusing = 64;
    static constexpr qint64 MaxRequestBytes = 8 * 1024;
    // Answers waiting for a client that sends requests without reading them.
    static constexpr qint64 MaxBufferedBytes = 1024 * 1024;
    // A request must be whole this long after its first byte, and a
    // connection that sends nothing for the idle time between requests is
    // closed, so that neither a trickling nor a silent client holds a place
    // for good. A push client that takes nothing in for the idle time is
    // dropped.
    static constexpr int DefaultRequestTimeoutMs = 10'000;
    static constexpr int DefaultIdleTimeoutMs = 30'000;

    explicit MatchFeed(frmScoreboard &board, QObject *parent = nullptr);
    ~MatchFeed() override;

    // False, with errorString(), when the address cannot be bound.
    bool listen(const QHostAddress &address, quint16 port);
    // Serves on a socket that is already bound and listening; the feed
    // takes the descriptor over.
    bool listen(qintptr boundDescriptor);
    quint16 serverPort() const;
    QString errorString() const;
    // For connections accepted from now on.
    void setIdleTimeout(int ms);
    void setRequestTimeout(int ms);

    // The match as the feed tells it, and its change counter.
    QJsonObject state() const { return m_state; }
    qint64 seq() const { return m_seq; }
    int clientCount() const;
    int pushClientCount() const { return int(m_pushClients.size()); }
    // What the push clients have not yet taken into their kernel buffers.
    qint64 bufferedBytes() const;

    // The match as the board shows it, without seq.
    static QJsonObject stateOf(const frmScoreboard &board);
    // Where the overlay page is looked for: beside the program.
    static QString overlayPath();

signals:
    // The latest change went out to every push client that keeps up; seq is
    // its number.
    void broadcast(qint64 seq);

private:
    friend class FeedServer;
    void boardChanged();
    void broadcastLatest();
    void addPushClient(QTcpSocket *socket);
    void push(QTcpSocket *client);
    QByteArray event() const;

    QPointer<frmScoreboard> m_board;
    FeedListener *m_listener; // the server owns it once bound
    std::unique_ptr<FeedServer> m_server;
    QJsonObject m_state;
    QByteArray m_stateJson;
    QByteArray m_event;
    qint64 m_seq = 0;
    bool m_broadcastQueued = false;
    QList<QTcpSocket *> m_pushClients; // each leaves the list as it goes

};
