// The live feed against hostile clients, on a board whose contest clock runs
// on its real 50 ms tick. Prints, for each:
//  - stalled: 250 push clients that never read, and bursts of key presses:
//    how late a 50 ms timer beside the board's tick fired at worst, and the
//    process's memory;
//  - churn: push clients that connect and close, many thousands of them:
//    memory and the feed's live connections before and after;
//  - trickle: 260 connections sending one byte every 5 s, holding every
//    place they can: how long a fresh client waits for /state.
// All clients are on the loopback address, and every loop is bounded.

#include "app/MatchFeed.h"
#include "controls/PictureBox.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsVariables.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A field of /proc/self/status, in kB.
long statusKb(const char *field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// A raw loopback connection, not read unless asked; SO_RCVBUF small as a
// stalled phone's would be.
int rawClient(quint16 port, const QByteArray &send)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int window = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        (!send.isEmpty() && ::write(fd, send.constData(), size_t(send.size())) != send.size())) {
        ::close(fd);
        return -1;
    }
    // Taken before the next one comes, so that the listen queue never fills.
    QCoreApplication::processEvents();
    return fd;
}

// Waits until `done`, or for `ms` at most; the figures then tell which.
template <typename Done>
void settle(Done done, int ms)
{
    static_cast<void>(QTest::qWaitFor(done, ms));
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The worst lateness of a 50 ms precise timer while `work` runs for `ms`.
qint64 worstLatenessMs(int ms, const std::function<void()> &work)
{
    QElapsedTimer since;
    qint64 worst = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        worst = std::max(worst, since.restart() - 50);
    });
    since.start();
    probe.start(50);
    QElapsedTimer run;
    run.start();
    while (run.elapsed() < ms) {
        work();
        runFor(50);
    }
    return worst;
}

// A burst of 100 key presses every second, on a running clock, for 10 s:
// the worst lateness of a 50 ms timer beside the board's tick.
qint64 bursts(frmScoreboard &board, int &presses)
{
    int round = 0;
    return worstLatenessMs(10'000, [&] {
        if (++round % 20 != 0)
            return;
        // Queued as a keyboard would deliver them, each handled on its own.
        for (int i = 0; i < 100; ++i, ++presses) {
            QTimer::singleShot(0, &board, [&board] { QTest::keyClick(board.picKHome, Qt::Key_Return); });
        }
    });
}

void stalled(frmScoreboard &board, MatchFeed &feed)
{
    constexpr int Clients = 250;
    int alonePresses = 0;
    const qint64 alone = bursts(board, alonePresses);
    std::vector<int> fds;
    for (int i = 0; i < Clients; ++i)
        fds.push_back(rawClient(feed.serverPort(), "GET /events HTTP/1.1\r\nHost: localhost\r\n\r\n"));
    settle([&] { return feed.pushClientCount() == Clients; }, 10'000);
    const long rssBefore = statusKb("VmRSS:");
    int presses = 0;
    const qint64 worst = bursts(board, presses);
    std::printf("stalled: %d push clients that never read, %d key presses in bursts of 100 over 10 s\n",
        feed.pushClientCount(), presses);
    std::printf("  worst lateness of a 50 ms timer: %lld ms (%lld ms with no client); memory %ld -> %ld kB "
                "(peak %ld kB)\n",
        static_cast<long long>(worst), static_cast<long long>(alone), rssBefore, statusKb("VmRSS:"),
        statusKb("VmHWM:"));
    for (int fd : fds)
        ::close(fd);
    settle([&] { return feed.clientCount() == 0; }, 10'000);
}

void churn(MatchFeed &feed)
{
    const QByteArray get = "GET /events HTTP/1.1\r\nHost: localhost\r\n\r\n";
    const auto round = [&](int connections) {
        for (int i = 0; i < connections; ++i) {
            const int fd = rawClient(feed.serverPort(), get);
            // Taken and answered, then gone.
            settle([&] { return feed.pushClientCount() > 0; }, 2000);
            ::close(fd);
            settle([&] { return feed.clientCount() == 0; }, 2000);
        }
    };
    round(2000); // the allocator settles
    const long before = statusKb("VmRSS:");
    const int pushBefore = feed.pushClientCount();
    round(20'000);
    std::printf("churn: 20000 push clients connected and closed on an idle board\n");
    std::printf("  memory %ld -> %ld kB; push clients kept %d -> %d; connections open %d\n", before,
        statusKb("VmRSS:"), pushBefore, feed.pushClientCount(), feed.clientCount());
}

void trickle(MatchFeed &feed)
{
    constexpr int Attackers = 260;
    std::vector<int> fds;
    for (int i = 0; i < Attackers; ++i)
        fds.push_back(rawClient(feed.serverPort(), "G"));
    settle([&] { return feed.clientCount() == MatchFeed::MaxClients; }, 10'000);
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, [&] {
        for (int fd : fds)
            if (fd >= 0)
                (void)::write(fd, "E", 1);
    });
    drip.start(5000);

    // A fresh client asks every half second until it is answered.
    QElapsedTimer waited;
    waited.start();
    bool answered = false;
    while (!answered && waited.elapsed() < 40'000) {
        QTcpSocket fresh;
        fresh.connectToHost(QHostAddress::LocalHost, feed.serverPort());
        fresh.write("GET /state HTTP/1.1\r\nHost: localhost\r\n\r\n");
        QByteArray reply;
        settle(
            [&] {
                reply += fresh.readAll();
                return reply.contains("\r\n\r\n") || fresh.state() == QAbstractSocket::UnconnectedState;
            },
            500);
        answered = reply.startsWith("HTTP/1.1 200");
        if (!answered)
            runFor(500);
    }
    std::printf("trickle: %d connections sending a byte every 5 s\n", Attackers);
    std::printf("  a fresh client got /state %s after %.1f s\n", answered ? "answered" : "NOT answered",
        double(waited.elapsed()) / 1000);
    for (int fd : fds)
        ::close(fd);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Settings::resetToDefaults();
    frmScoreboard board; // on its own 50 ms tick and the real clock
    board.show();
    board.activateWindow();
    MatchFeed feed(board);
    if (!feed.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(feed.errorString()));
        return 1;
    }
    board.AllKeyCode(82); // reset
    board.AllKeyCode(83); // start the clock
    const QStringList only = app.arguments().mid(1);
    if (only.isEmpty() || only.contains(QStringLiteral("stalled")))
        stalled(board, feed);
    if (only.isEmpty() || only.contains(QStringLiteral("churn")))
        churn(feed);
    if (only.isEmpty() || only.contains(QStringLiteral("trickle")))
        trickle(feed);
    return 0;
}
