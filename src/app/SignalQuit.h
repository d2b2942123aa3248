#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a normal close of the program's
// windows, so that a service stop, a Ctrl-C or a closed terminal closes the
// sound and releases the display as closing the board does. The handler
// only writes the signal number to a pipe; the event loop reads it and
// closes the windows. A second signal while closing ends the program the
// default way. One per program.
class SignalQuit : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignalQuit)

public:
    explicit SignalQuit(QObject *parent = nullptr);
    ~SignalQuit() override;

    // A quit signal has arrived: whatever waits for the operator (a
    // question, a warning) is to be passed over and nothing decided by it.
    static bool received();

signals:
    // Raised on the event loop, just before the windows are closed.
    void quitRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
