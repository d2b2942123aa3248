// The live feed under load: 200 push clients (in a child process, so that
// their reading is not counted) follow a board whose contest clock runs on
// its real 50 ms tick. Prints the board process's share of a core with and
// without the clients, and how long each change took to reach the last of
// them.

#include "app/MatchFeed.h"
#include "controls/PictureBox.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsVariables.h"

#include <QApplication>
#include <QEventLoop>
#include <QHash>
#include <QProcess>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Clients = 200;
constexpr int RunMs = 10'000;

qint64 monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double cpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The child: opens the push clients, and for every event id notes when the
// last client got it. Prints "id nanoseconds" lines when its input closes.
int runClients(quint16 port)
{
    QHash<qint64, std::pair<int, qint64>> arrivals; // id -> (clients, last arrival)
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    std::vector<QByteArray> buffers(Clients);
    for (int i = 0; i < Clients; ++i) {
        auto socket = std::make_unique<QTcpSocket>();
        QTcpSocket *s = socket.get();
        QObject::connect(s, &QTcpSocket::connected, s, [s] {
            s->write("GET /events HTTP/1.1\r\nHost: localhost\r\nAccept: text/event-stream\r\n\r\n");
        });
        QObject::connect(s, &QTcpSocket::readyRead, s, [s, &arrivals, &buffer = buffers[size_t(i)]] {
            const qint64 now = monotonicNs();
            buffer += s->readAll();
            for (qsizetype at = buffer.indexOf("id: "); at >= 0; at = buffer.indexOf("id: ")) {
                const qsizetype end = buffer.indexOf('\n', at);
                if (end < 0)
                    break;
                auto &[count, last] = arrivals[buffer.mid(at + 4, end - at - 4).toLongLong()];
                ++count;
                last = std::max(last, now);
                buffer.remove(0, end + 1);
            }
        });
        s->connectToHost(QHostAddress::LocalHost, port);
        sockets.push_back(std::move(socket));
    }
    std::printf("ready\n");
    std::fflush(stdout);
    // The parent closes our input when it is done.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, qApp, [] {
        char byte;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            QCoreApplication::quit();
    });
    QCoreApplication::exec();
    for (auto it = arrivals.cbegin(); it != arrivals.cend(); ++it)
        std::printf("%lld %d %lld\n", it.key(), it.value().first, it.value().second);
    return 0;
}

struct Run
{
    double cpuShare = 0; // of one core
    QHash<qint64, qint64> sent; // seq -> when the change happened
};

Run runBoard(frmScoreboard &board, MatchFeed *feed)
{
    Run run;
    qint64 changedAt = 0;
    QObject::connect(&board, &frmScoreboard::contentChanged, [&] { changedAt = monotonicNs(); });
    if (feed)
        QObject::connect(feed, &MatchFeed::broadcast, [&](qint64 seq) { run.sent[seq] = changedAt; });
    board.AllKeyCode(82); // reset
    board.AllKeyCode(83); // start the clock
    board.AllKeyCode(37); // osaekomi for Home
    const double cpuStart = cpuMs();
    const qint64 start = monotonicNs();
    QEventLoop loop;
    QTimer::singleShot(RunMs, &loop, &QEventLoop::quit);
    loop.exec();
    run.cpuShare = (cpuMs() - cpuStart) / (double(monotonicNs() - start) / 1e6);
    board.AllKeyCode(83);
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && qstrcmp(argv[1], "--clients") == 0) {
        QCoreApplication app(argc, argv);
        return runClients(quint16(QByteArray(argv[2]).toUInt()));
    }
    QApplication app(argc, argv);
    Settings::resetToDefaults();
    frmScoreboard board; // on its own 50 ms tick and the real clock
    board.show();

    const Run alone = runBoard(board, nullptr);

    MatchFeed feed(board);
    if (!feed.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(feed.errorString()));
        return 1;
    }
    QProcess clients;
    clients.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    clients.start(QCoreApplication::applicationFilePath(), {"--clients", QString::number(feed.serverPort())});
    QEventLoop wait;
    QTimer::singleShot(10'000, &wait, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
        if (feed.pushClientCount() == Clients)
            wait.quit();
    });
    poll.start(10);
    wait.exec();
    poll.stop();
    if (feed.pushClientCount() != Clients) {
        std::fprintf(stderr, "only %d of %d clients connected (%d open)\n", feed.pushClientCount(), Clients,
            feed.clientCount());
        return 1;
    }

    const Run withClients = runBoard(board, &feed);
    clients.closeWriteChannel();
    clients.waitForFinished(10'000);

    qint64 worst = 0;
    qint64 total = 0;
    int changes = 0;
    int incomplete = 0;
    const QList<QByteArray> lines = clients.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 3 || !withClients.sent.contains(fields[0].toLongLong()))
            continue;
        if (fields[1].toInt() != Clients) {
            ++incomplete;
            continue;
        }
        const qint64 latency = fields[2].toLongLong() - withClients.sent.value(fields[0].toLongLong());
        worst = std::max(worst, latency);
        total += latency;
        ++changes;
    }
    std::printf("Board process while the clock runs, over %d s each:\n", RunMs / 1000);
    std::printf("  without the feed:           %.3f %% of a core\n", alone.cpuShare * 100);
    std::printf("  feed with %d push clients: %.3f %% of a core (the feed's share: %.3f %%)\n", Clients,
        withClients.cpuShare * 100, (withClients.cpuShare - alone.cpuShare) * 100);
    std::printf("  changes pushed: %d; to the last client: mean %.2f ms, worst %.2f ms; "
                "changes some client missed: %d\n",
        changes, changes ? double(total) / changes / 1e6 : 0.0, double(worst) / 1e6, incomplete);
    return 0;
}
