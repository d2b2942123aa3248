#include "platform/ScreenSaverX11.h"

#include <QGuiApplication>

#ifdef ZEMBRAK_HAVE_XSS
// Last, because Xlib #defines names such as KeyPress, None and Bool.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#endif

namespace ScreenSaverX11 {

bool setSuspended(bool suspended)
{
#ifdef ZEMBRAK_HAVE_XSS
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    // Suspending came with version 1.1 of the extension.
    if (!XScreenSaverQueryExtension(display, &event, &error) ||
        !XScreenSaverQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 1))
        return false;
    XScreenSaverSuspend(display, suspended ? True : False);
    XFlush(display);
    return true;
#else
    Q_UNUSED(suspended);
    return false;
#endif
}

} // namespace ScreenSaverX11
