// SIGTERM, SIGINT and SIGHUP close the windows through the event loop, as an
// operator's close would, once each; the handlers go with the object.

#include "app/SignalQuit.h"

#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class ClosingWindow : public QWidget
{
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closes;
        event->accept();
    }
};

// Runs the event loop until the spy has seen a signal, for at most 5 s.
bool waitFor(QSignalSpy &spy)
{
    const QDeadlineTimer deadline(5000);
    while (spy.isEmpty() && !deadline.hasExpired())
        spy.wait(50);
    return !spy.isEmpty();
}

} // namespace

TEST(SignalQuit, EachQuitSignalClosesTheWindowsOnTheEventLoop)
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ClosingWindow window;
        window.show();
        const SignalQuit quit;
        QSignalSpy requested(&quit, &SignalQuit::quitRequested);

        ASSERT_EQ(std::raise(signalNumber), 0);
        EXPECT_EQ(window.closes, 0) << "nothing is done inside the handler";
        ASSERT_TRUE(waitFor(requested)) << signalNumber;
        EXPECT_EQ(requested.first().first().toInt(), signalNumber);
        EXPECT_EQ(window.closes, 1);
        EXPECT_FALSE(window.isVisible());
    }
}

TEST(SignalQuit, PutsThePreviousHandlersBack)
{
    {
        const SignalQuit quit;
        struct sigaction current = {};
        ASSERT_EQ(sigaction(SIGTERM, nullptr, &current), 0);
        EXPECT_NE(current.sa_handler, SIG_DFL);
    }
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current = {};
        ASSERT_EQ(sigaction(signalNumber, nullptr, &current), 0);
        EXPECT_EQ(current.sa_handler, SIG_DFL) << signalNumber;
    }
}
