#pragma once

#include "day/TournamentLink.h"
#include <QString>

#include <optional>

class QTcpSocket;
class QTimer;
class QUdpSocket;

// The board's link to JudoShiai, the tournament program: it keeps a TCP
// connection up (reconnecting with a growing pause), announces this tatami's
// timer, keeps the match JudoShiai offers for this tatami, and delivers the
// result of a contest until JudoShiai has it. It acts on nothing else.
class JudoShiaiLink : public TournamentLink
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JudoShiaiLink)

public:
    // Intervals in ms; tests shorten them.
    struct Timing
    {
        int dummy = 4000;
        int firstPause = 1000;
        int longestPause = 30000;
        int resend = 14000;
        int silence = 15000; // a connection that says nothing this long is dropped
    };

    explicit JudoShiaiLink(QObject *parent = nullptr);
    ~JudoShiaiLink() override;

    void setTiming(const Timing &timing) { m_timing = timing; }
    // host "auto" looks for JudoShiai by SSDP on the local network.
    void start(const QString &host, quint16 port, int tatami);
    void stop();

    QString server() const override; // "host:port" as connected or asked for
    int tatami() const override { return m_tatami; }
    bool isConnected() const override { return m_connected; }
    // The newest match JudoShiai offers this tatami (match < 1000).
    const std::optional<JudoShiai::NextMatchMessage> &offered() const override { return m_offered; }

    // Sends a contest's result and keeps sending it until JudoShiai has it.
    void sendResult(const JudoShiai::ResultMessage &result) override;
    // The result not yet known to be in, for the saved contest.
    const std::optional<JudoShiai::ResultMessage> &pendingResult() const override { return m_pending; }
    int resultsSent() const { return m_resultsSent; }
    int framesDropped() const { return m_deframer.dropped(); }

private:
    void connectNow();
    void lost();
    void readBytes();
    void handle(const JudoShiai::Message &message);
    void sendDummy();
    void sendPending();
    void resendDue();
    void search();
    void readDiscovery();

    Timing m_timing;
    QString m_host;
    QString m_found; // the address SSDP gave, for "auto"
    quint16 m_port = JudoShiai::defaultPort;
    int m_tatami = 1;
    bool m_running = false;
    bool m_connected = false;
    int m_pause = 0;
    QTcpSocket *m_socket = nullptr;
    QUdpSocket *m_discovery = nullptr;
    QTimer *m_dummyTimer = nullptr;
    QTimer *m_reconnectTimer = nullptr;
    QTimer *m_resendTimer = nullptr;
    QTimer *m_silenceTimer = nullptr;
    JudoShiai::Deframer m_deframer;
    std::optional<JudoShiai::NextMatchMessage> m_offered;
    std::optional<JudoShiai::ResultMessage> m_pending;
    bool m_acknowledged = false;
    int m_resultsSent = 0;
};
