#include "platform/KeepAwake.h"

#include "platform/ScreenSaverX11.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QFileInfo>
#include <QWidget>

#include <cstdio>

namespace {

using AwakeChoice::Way;

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString PortalRequest = QStringLiteral("org.freedesktop.portal.Request");
// The portal's flag for "the session must not go idle".
constexpr uint InhibitIdle = 8;

const QString SaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString SaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

const QString Reason = QStringLiteral("A contest is on the board");
// A desktop service that does not answer must not hold up the board. The
// portal is often started by the first call, so it gets longer.
constexpr int CallTimeoutMs = 1000;
constexpr int PortalTimeoutMs = 5000;

// Only a bus that is there: asking for the session bus without one may
// start a bus of its own (D-Bus autolaunch) that outlives the program.
bool sessionBusKnown()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

AwakeChoice::Offer offerOf(QDBusConnection &bus)
{
    AwakeChoice::Offer offer;
    QDBusConnectionInterface *names = bus.isConnected() ? bus.interface() : nullptr;
    if (!names)
        return offer;
    offer.portal = names->isServiceRegistered(PortalService) ||
                   names->activatableServiceNames().value().contains(PortalService);
    offer.screenSaverService = names->isServiceRegistered(SaverService);
    return offer;
}

QDBusMessage inhibitCall(Way way)
{
    if (way == Way::Portal) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(PortalService, PortalPath, PortalInhibit, QStringLiteral("Inhibit"));
        // No parent window: the board is not a portal client window, and
        // an idle inhibition needs none.
        message.setArguments({QString(), InhibitIdle,
            QVariant::fromValue(QVariantMap{{QStringLiteral("reason"), Reason}})});
        return message;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(SaverService, SaverPath, SaverService, QStringLiteral("Inhibit"));
    message.setArguments({QStringLiteral("Zembrak"), Reason});
    return message;
}

} // namespace

KeepAwake::KeepAwake(QWidget &window)
    : QObject(&window)
{
    window.installEventFilter(this);
    // The common end of every clean quit: the board's close, and the
    // signals turned into a quit.
    if (QCoreApplication *application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &KeepAwake::release);
    if (window.isVisible())
        start();
}

KeepAwake::~KeepAwake()
{
    release();
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
    if (m_released)
        return;
    m_x11Suspended = ScreenSaverX11::setSuspended(true);
    if (sessionBusKnown()) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        m_ways = AwakeChoice::desktopWays(offerOf(bus));
    }
    askNext();
}

// Asked without waiting; the answer arrives while the board runs.
void KeepAwake::askNext()
{
    if (m_ways.isEmpty()) {
        warnIfNothingHolds();
        return;
    }
    m_asking = m_ways.takeFirst();
    const QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(
        inhibitCall(m_asking), m_asking == Way::Portal ? PortalTimeoutMs : CallTimeoutMs);
    m_pending = new QDBusPendingCallWatcher(pending, this);
    connect(m_pending, &QDBusPendingCallWatcher::finished, this,
        [this](QDBusPendingCallWatcher *watcher) { answered(watcher, true); });
}

void KeepAwake::answered(QDBusPendingCallWatcher *watcher, bool carryOn)
{
    if (watcher != m_pending)
        return;
    m_pending = nullptr;
    watcher->deleteLater();
    if (m_asking == Way::Portal) {
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isValid())
            m_portalRequest = reply.value().path();
    } else {
        const QDBusPendingReply<quint32> reply = *watcher;
        if (reply.isValid())
            m_cookie = reply.value();
    }
    if (!desktopInhibited() && carryOn)
        askNext();
}

void KeepAwake::warnIfNothingHolds()
{
    if (!AwakeChoice::nothingHolds(m_x11Suspended, desktopInhibited(), m_pending != nullptr))
        return;
    std::fputs("zembrak: nothing here can keep the display awake (no desktop portal, no screen saver "
               "service, no X11 screen saver); turn off the display's blanking and power saving by hand.\n",
        stderr);
    std::fflush(stderr);
}

void KeepAwake::release()
{
    if (m_released)
        return;
    m_released = true;
    m_ways.clear();
    if (m_pending) {
        // Leaving before the answer came: wait for it, briefly, so that
        // the inhibition is not left behind.
        QDBusPendingCallWatcher *pending = m_pending;
        pending->waitForFinished();
        answered(pending, false);
    }
    if (m_portalRequest) {
        QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
                     PortalService, *m_portalRequest, PortalRequest, QStringLiteral("Close")),
            QDBus::Block, CallTimeoutMs);
        m_portalRequest.reset();
    }
    if (m_cookie) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(SaverService, SaverPath, SaverService, QStringLiteral("UnInhibit"));
        message.setArguments({*m_cookie});
        QDBusConnection::sessionBus().call(message, QDBus::Block, CallTimeoutMs);
        m_cookie.reset();
    }
    if (m_x11Suspended) {
        ScreenSaverX11::setSuspended(false);
        m_x11Suspended = false;
    }
}
