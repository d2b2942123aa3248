#pragma once

#include "platform/AwakeChoice.h"

#include <QObject>

#include <optional>

class QDBusPendingCallWatcher;
class QWidget;

// Keeps the display from blanking while a window is shown: from its first
// showing until the program quits (or this object goes), it suspends the X11
// screen saver where the board runs on X11, and asks the desktop for an
// inhibition: through the desktop portal first, through the
// org.freedesktop.ScreenSaver service where the portal is missing or
// refuses. Missing any of them is no error; missing all of them is said
// once on stderr.
class KeepAwake : public QObject
{
    Q_OBJECT

public:
    // Watches the window and goes with it.
    explicit KeepAwake(QWidget &window);
    ~KeepAwake() override;

    bool x11Suspended() const { return m_x11Suspended; }
    bool desktopInhibited() const { return m_portalRequest.has_value() || m_cookie.has_value(); }
    bool portalInhibited() const { return m_portalRequest.has_value(); }

    // Lets go of everything held; run when the program quits, by any path.
    void release();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start();
    void askNext();
    void answered(QDBusPendingCallWatcher *watcher, bool carryOn);
    void warnIfNothingHolds();

    bool m_started = false;
    bool m_released = false;
    bool m_x11Suspended = false;
    QList<AwakeChoice::Way> m_ways;
    AwakeChoice::Way m_asking = AwakeChoice::Way::Portal;
    std::optional<QString> m_portalRequest; // the request object's path
    std::optional<quint32> m_cookie;
    QDBusPendingCallWatcher *m_pending = nullptr;
};
