// Keeping the display awake through a desktop's screen saver service: a
// mock org.freedesktop.ScreenSaver on a private session bus records what
// the board asks of it.

#include "support/BoardFixture.h"

#include "app/Venue.h"
#include "platform/KeepAwake.h"

#include <QDBusConnection>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace {

// Answers on a thread of its own, so that the board's blocking calls get through.
class MockScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

public slots:
    uint Inhibit(const QString &application, const QString &reason)
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append(QStringLiteral("Inhibit %1 (%2)").arg(application, reason.isEmpty() ? "-" : "reason"));
        return 7;
    }
    void UnInhibit(uint cookie)
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append(QStringLiteral("UnInhibit %1").arg(cookie));
    }

private:
    mutable QMutex m_mutex;
    QStringList m_calls;
};

} // namespace

class KeepAwakeTest : public BoardFixture
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/install-deps.sh installs it)";
        daemon.start(QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([this] { return daemon.canReadLine(); }, 5000));
        const QByteArray address = daemon.readLine().trimmed();
        // Before the first use of the session bus in this process.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        BoardFixture::SetUp();

        mockThread.start();
        mock.moveToThread(&mockThread);
        mockBus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("mock")));
        ASSERT_TRUE(mockBus->isConnected());
    }

    void TearDown() override
    {
        board.reset();
        if (mockBus)
            QDBusConnection::disconnectFromBus(QStringLiteral("mock"));
        mockThread.quit();
        mockThread.wait();
        daemon.kill();
        daemon.waitForFinished();
    }

    bool offerService()
    {
        return mockBus->registerObject(
                   QStringLiteral("/org/freedesktop/ScreenSaver"), &mock, QDBusConnection::ExportAllSlots) &&
               mockBus->registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
    }

    QProcess daemon;
    QThread mockThread;
    MockScreenSaver mock;
    std::unique_ptr<QDBusConnection> mockBus;
};

TEST_F(KeepAwakeTest, InhibitsWhileTheBoardShowsAndReleasesAtExit)
{
    // No service on the bus: nothing to ask, and nothing fails.
    {
        QWidget window;
        KeepAwake keep(window);
        window.show();
        QCoreApplication::processEvents();
        EXPECT_FALSE(keep.desktopInhibited());
    }

    ASSERT_TRUE(offerService());
    applyVenueOptions(*board, VenueOptions());
    QCoreApplication::processEvents();
    EXPECT_TRUE(mock.calls().isEmpty()) << "the board is not shown yet";

    board->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mock.calls().size() == 1; }, 3000));
    EXPECT_EQ(mock.calls().constFirst(), "Inhibit Zembrak (reason)");
    auto *keep = board->findChild<KeepAwake *>();
    ASSERT_NE(keep, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([keep] { return keep->desktopInhibited(); }, 3000));

    // Showing again asks nothing more; the board going releases it.
    board->hide();
    board->show();
    board.reset();
    EXPECT_EQ(mock.calls(), QStringList({"Inhibit Zembrak (reason)", "UnInhibit 7"}));
}

#include "tst_KeepAwake.moc"
