#pragma once

#include <QObject>

#include <optional>

class QDBusPendingCallWatcher;
class QWidget;

// Keeps the display from blanking while a window is shown: from its first
// showing until this object goes, it suspends the X11 screen saver and asks
// the desktop's org.freedesktop.ScreenSaver service for an inhibition, each
// only where it is there. Missing either is no error.
class KeepAwake : public QObject
{
    Q_OBJECT

public:
    // Watches the window and goes with it.
    explicit KeepAwake(QWidget &window);
    ~KeepAwake() override;

    bool x11Suspended() const { return m_x11Suspended; }
    bool desktopInhibited() const { return m_cookie.has_value(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start();
    void inhibitDesktop();
    void releaseDesktop();

    bool m_started = false;
    bool m_x11Suspended = false;
    std::optional<quint32> m_cookie;
    QDBusPendingCallWatcher *m_pending = nullptr;
};
