#include "platform/KeyboardLock.h"

#include <QGuiApplication>

#ifdef ZEMBRAK_HAVE_X11
// Last, because Xlib #defines names such as KeyPress, None and Bool.
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace {

#ifdef ZEMBRAK_HAVE_X11
// The X connection Qt already holds, only while running on X11.
Display *x11Display()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// The modifier bit NumLock is mapped to on this keyboard; 0 if none.
unsigned int numLockMask(Display *display)
{
    return XkbKeysymToModifiers(display, XK_Num_Lock);
}
#endif

} // namespace

namespace KeyboardLock {

bool numLockOn()
{
#ifdef ZEMBRAK_HAVE_X11
    Display *display = x11Display();
    if (!display)
        return false;
    const unsigned int mask = numLockMask(display);
    XkbStateRec state;
    if (mask == 0 || XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return false;
    return (state.locked_mods & mask) != 0;
#else
    return false;
#endif
}

bool canSetNumLock()
{
#ifdef ZEMBRAK_HAVE_X11
    return x11Display() != nullptr;
#else
    return false;
#endif
}

void setNumLock(bool on)
{
#ifdef ZEMBRAK_HAVE_X11
    Display *display = x11Display();
    if (!display)
        return;
    const unsigned int mask = numLockMask(display);
    if (mask == 0 || numLockOn() == on)
        return;
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XFlush(display);
#else
    Q_UNUSED(on);
#endif
}

} // namespace KeyboardLock
