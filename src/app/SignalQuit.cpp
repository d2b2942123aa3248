#include "app/SignalQuit.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Written by the handler, read by the event loop.
int signalPipe[2] = {-1, -1};
// SIGHUP is a closed terminal or an ended session: no reason to lose the
// clean close.
constexpr int quitSignals[] = {SIGTERM, SIGINT, SIGHUP};
// What the signals did before, put back when the object goes.
struct sigaction previousActions[std::size(quitSignals)];

volatile std::sig_atomic_t quitSignalled = 0;

extern "C" void onQuitSignal(int signalNumber)
{
    const int savedErrno = errno;
    quitSignalled = 1;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Nothing else is safe here; a full pipe already holds a request.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalQuit::SignalQuit(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        qWarning("Zembrak: no clean quit on SIGTERM, SIGINT and SIGHUP: %s", strerror(errno));
        signalPipe[0] = signalPipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalQuit::readSignal);

    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // Once handled, the next one is no longer ours: a stuck close can still
    // be ended with a second Ctrl-C.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (size_t i = 0; i < std::size(quitSignals); ++i)
        ::sigaction(quitSignals[i], &action, &previousActions[i]);
}

SignalQuit::~SignalQuit()
{
    if (signalPipe[0] < 0)
        return;
    for (size_t i = 0; i < std::size(quitSignals); ++i)
        ::sigaction(quitSignals[i], &previousActions[i], nullptr);
    delete m_notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

bool SignalQuit::received()
{
    return quitSignalled != 0;
}

void SignalQuit::readSignal()
{
    unsigned char byte = 0;
    if (::read(signalPipe[0], &byte, 1) != 1)
        return;
    emit quitRequested(byte);
    // The board's own close releases the sound and ends the program; any
    // window not yet shown, or a start screen, goes with the quit.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}
