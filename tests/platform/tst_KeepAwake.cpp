// Keeping the display awake through the desktop: a mock portal and a mock
// org.freedesktop.ScreenSaver on a private session bus record what the
// board asks of them.

#include "support/BoardFixture.h"

#include "app/Venue.h"
#include "platform/KeepAwake.h"

#include <QDBusObjectPath>
#include <QTimer>

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
    void record(const QString &call)
    {
        QMutexLocker lock(&m_mutex);
        m_calls.append(call);
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

// The portal's Inhibit and the request object it hands out, recording into
// the same list as the screen saver so that the order of the asking shows.
class MockPortalRequest : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    explicit MockPortalRequest(MockScreenSaver &log)
        : m_log(log)
    {
    }

public slots:
    void Close() { m_log.record(QStringLiteral("Close")); }

private:
    MockScreenSaver &m_log;
};

class MockPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
    explicit MockPortal(MockScreenSaver &log)
        : m_log(log)
    {
    }

public slots:
    QDBusObjectPath Inhibit(const QString &window, uint flags, const QVariantMap &options)
    {
        m_log.record(QStringLiteral("Portal %1 flags %2 (%3)")
                         .arg(window.isEmpty() ? "-" : window)
                         .arg(flags)
                         .arg(options.value("reason").toString().isEmpty() ? "-" : "reason"));
        return QDBusObjectPath(RequestPath);
    }

public:
    static constexpr const char *RequestPath = "/org/freedesktop/portal/desktop/request/mock/zembrak";

private:
    MockScreenSaver &m_log;
};

// A portal without the Inhibit interface, as a desktop whose portal back end
// has none answers.
class MockPortalWithoutInhibit : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public slots:
    uint version() { return 1; }
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
        portal.moveToThread(&mockThread);
        request.moveToThread(&mockThread);
        portalWithoutInhibit.moveToThread(&mockThread);
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

    bool offerPortal(bool withInhibit = true)
    {
        const bool exported = withInhibit
                                  ? mockBus->registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                        QDBusConnection::ExportAllSlots) &&
                                        mockBus->registerObject(QString::fromLatin1(MockPortal::RequestPath),
                                            &request, QDBusConnection::ExportAllSlots)
                                  : mockBus->registerObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                                        &portalWithoutInhibit, QDBusConnection::ExportAllSlots);
        return exported && mockBus->registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }

    // The board shown with the venue options, as the program opens it.
    KeepAwake *showBoard()
    {
        applyVenueOptions(*board, VenueOptions());
        board->show();
        return board->findChild<KeepAwake *>();
    }

    QProcess daemon;
    QThread mockThread;
    MockScreenSaver mock;
    MockPortal portal{mock};
    MockPortalRequest request{mock};
    MockPortalWithoutInhibit portalWithoutInhibit;
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

TEST_F(KeepAwakeTest, ThePortalFirstAndItsRequestClosedWhenTheProgramQuits)
{
    ASSERT_TRUE(offerService());
    ASSERT_TRUE(offerPortal());
    KeepAwake *keep = showBoard();
    ASSERT_NE(keep, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([keep] { return keep->portalInhibited(); }, 3000));
    // Held through the portal, the screen saver service is not asked as well.
    EXPECT_EQ(mock.calls(), QStringList({"Portal - flags 8 (reason)"}));

    // Every clean quit (the board's close, a signal) ends the event loop;
    // the request is closed there, while the board still stands.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    EXPECT_EQ(mock.calls(), QStringList({"Portal - flags 8 (reason)", "Close"}));
    EXPECT_FALSE(keep->desktopInhibited());
    board.reset();
    EXPECT_EQ(mock.calls().size(), 2) << "released twice";
}

TEST_F(KeepAwakeTest, APortalWithoutInhibitFallsBackToTheScreenSaverService)
{
    ASSERT_TRUE(offerService());
    ASSERT_TRUE(offerPortal(false));
    KeepAwake *keep = showBoard();
    ASSERT_NE(keep, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([keep] { return keep->desktopInhibited(); }, 3000));
    EXPECT_FALSE(keep->portalInhibited());
    board.reset();
    EXPECT_EQ(mock.calls(), QStringList({"Inhibit Zembrak (reason)", "UnInhibit 7"}));
}

TEST_F(KeepAwakeTest, NothingToHoldTheDisplayIsSaidOnce)
{
    testing::internal::CaptureStderr();
    KeepAwake *keep = showBoard();
    QCoreApplication::processEvents();
    board->hide();
    board->show();
    QCoreApplication::processEvents();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(keep->desktopInhibited());
    const std::string warning = "nothing here can keep the display awake";
    const size_t first = said.find(warning);
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(warning, first + 1), std::string::npos) << said;
}

#include "tst_KeepAwake.moc"
