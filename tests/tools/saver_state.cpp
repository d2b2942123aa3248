// Prints the X screen saver's state as the server reports it: "on", "off",
// "cycle" or "disabled". The end-to-end tests ask it whether the screen
// would have blanked. With "hold" it instead stays connected until killed:
// an X server resets its settings, the saver's timeout among them, when its
// last client leaves.

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("no display\n", stderr);
        return 2;
    }
    int event = 0;
    int error = 0;
    if (!XScreenSaverQueryExtension(display, &event, &error)) {
        std::fputs("no MIT-SCREEN-SAVER extension\n", stderr);
        return 2;
    }
    if (argc > 1 && std::strcmp(argv[1], "hold") == 0) {
        for (;;)
            pause();
    }
    XScreenSaverInfo *info = XScreenSaverAllocInfo();
    XScreenSaverQueryInfo(display, DefaultRootWindow(display), info);
    const char *state = info->state == ScreenSaverOn      ? "on"
                        : info->state == ScreenSaverOff   ? "off"
                        : info->state == ScreenSaverCycle ? "cycle"
                                                          : "disabled";
    std::printf("%s idle=%lu\n", state, info->idle);
    XFree(info);
    XCloseDisplay(display);
    return 0;
}
