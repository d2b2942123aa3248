#include "platform/KeepAwake.h"

#include "platform/ScreenSaverX11.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QFileInfo>
#include <QWidget>

namespace {

const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Path = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString Interface = QStringLiteral("org.freedesktop.ScreenSaver");
// A desktop service that does not answer must not hold up the board.
constexpr int CallTimeoutMs = 1000;

QDBusMessage call(const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Interface, method);
    message.setArguments(arguments);
    return message;
}

} // namespace

KeepAwake::KeepAwake(QWidget &window)
    : QObject(&window)
{
    window.installEventFilter(this);
    if (window.isVisible())
        start();
}

KeepAwake::~KeepAwake()
{
    releaseDesktop();
    if (m_x11Suspended)
        ScreenSaverX11::setSuspended(false);
}

bool KeepAwake::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && !m_started)
        start();
    return QObject::eventFilter(watched, event);
}

void KeepAwake::start()
{
    m_started = true;
    m_x11Suspended = ScreenSaverX11::setSuspended(true);
    inhibitDesktop();
}

// Only a bus that is there: asking for the session bus without one may
// start a bus of its own (D-Bus autolaunch) that outlives the program.
static bool sessionBusKnown()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

void KeepAwake::inhibitDesktop()
{
    if (!sessionBusKnown())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(Service))
        return;
    // Asked without waiting; the cookie arrives while the board runs.
    const QDBusPendingCall pending =
        bus.asyncCall(call(QStringLiteral("Inhibit"),
                          {QStringLiteral("Zembrak"), QStringLiteral("A contest is on the board")}),
            CallTimeoutMs);
    m_pending = new QDBusPendingCallWatcher(pending, this);
    connect(m_pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *watcher) {
        const QDBusPendingReply<quint32> reply = *watcher;
        if (reply.isValid())
            m_cookie = reply.value();
        watcher->deleteLater();
        if (watcher == m_pending)
            m_pending = nullptr;
    });
}

void KeepAwake::releaseDesktop()
{
    if (m_pending) {
        // Leaving before the answer came: wait for it, briefly, so that
        // the inhibition is not left behind.
        m_pending->waitForFinished();
        const QDBusPendingReply<quint32> reply = *m_pending;
        if (reply.isValid())
            m_cookie = reply.value();
        delete m_pending;
        m_pending = nullptr;
    }
    if (!m_cookie)
        return;
    QDBusConnection::sessionBus().call(
        call(QStringLiteral("UnInhibit"), {*m_cookie}), QDBus::Block, CallTimeoutMs);
    m_cookie.reset();
}
