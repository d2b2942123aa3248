// Measures the real board from outside, on an X display, for bench/perf.sh:
//
//   perf_probe startup PROGRAM [ARGS...]
//       starts the program and prints "mapped MS painted MS cpu MS": the time
//       until its first top-level window is mapped, until that window shows
//       pixels of its own, and the CPU time all its threads had used by the
//       map (which other work on the machine does not inflate as much). The
//       program is then asked to quit with SIGTERM.
//   perf_probe latency WINDOW COUNT
//       presses Enter COUNT times through XTest on the window, which has the
//       keyboard, each time polling screenshots of the window until they
//       change; prints the milliseconds of each press, one per line. With a
//       penalty lamp selected, every Enter toggles it.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct ImageDeleter
{
    void operator()(XImage *image) const
    {
        if (image)
            XDestroyImage(image);
    }
};
using Image = std::unique_ptr<XImage, ImageDeleter>;

Image grab(Display *display, Window window, int x, int y, unsigned width, unsigned height)
{
    return Image(XGetImage(display, window, x, y, width, height, ~0UL, ZPixmap));
}

bool sameImage(const XImage *a, const XImage *b)
{
    if (!a || !b || a->bytes_per_line != b->bytes_per_line || a->height != b->height)
        return false;
    return std::memcmp(a->data, b->data, size_t(a->bytes_per_line) * size_t(a->height)) == 0;
}

// CPU milliseconds used so far by every thread of a process.
double cpuMs(pid_t pid)
{
    double ns = 0;
    std::error_code error;
    for (const auto &task :
        std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu)
            ns += onCpu;
    }
    return ns / 1e6;
}

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

int startup(Display *display, char **argv)
{
    const Window root = XDefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }

    // The first top-level window that is mapped.
    Window window = 0;
    double mapped = -1;
    double cpu = -1;
    while (window == 0) {
        if (msSince(start) > 20000) {
            kill(child, SIGKILL);
            std::fprintf(stderr, "no window within 20 s\n");
            return 1;
        }
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect) {
                window = event.xmap.window;
                mapped = msSince(start);
                cpu = cpuMs(child);
            }
        }
        if (window == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }

    // Painted: the screen under the window differs from an empty screen.
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    const unsigned width = unsigned(attributes.width);
    const unsigned height = unsigned(attributes.height);
    Window unused;
    int x = 0, y = 0;
    XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &unused);
    double painted = -1;
    while (painted < 0 && msSince(start) < 20000) {
        const Image shown = grab(display, root, x, y, width, height);
        bool blank = true;
        if (shown) {
            const unsigned long first = XGetPixel(shown.get(), 0, 0);
            for (int row = 0; row < shown->height && blank; row += 4) {
                for (int column = 0; column < shown->width && blank; column += 4)
                    blank = XGetPixel(shown.get(), column, row) == first;
            }
        }
        if (!blank)
            painted = msSince(start);
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::printf("mapped %.1f painted %.1f cpu %.1f\n", mapped, painted, cpu);

    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "the program did not quit cleanly on SIGTERM (status %d)\n", status);
    return 0;
}

int latency(Display *display, Window window, int count)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return 1;
    const unsigned width = unsigned(attributes.width);
    const unsigned height = unsigned(attributes.height);
    const KeyCode enter = XKeysymToKeycode(display, XK_Return);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    for (int press = 0; press < count; ++press) {
        const Image before = grab(display, window, 0, 0, width, height);
        const Clock::time_point start = Clock::now();
        XTestFakeKeyEvent(display, enter, True, CurrentTime);
        XTestFakeKeyEvent(display, enter, False, CurrentTime);
        XFlush(display);
        double seen = -1;
        while (seen < 0 && msSince(start) < 5000) {
            const Image now = grab(display, window, 0, 0, width, height);
            if (!sameImage(before.get(), now.get()))
                seen = msSince(start);
            else
                std::this_thread::sleep_for(std::chrono::microseconds(250));
        }
        std::printf("%.2f\n", seen);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    // A window that goes away while it is looked at is no reason to stop.
    XSetErrorHandler(ignoreErrors);
    int result = 2;
    if (argc >= 3 && std::string(argv[1]) == "startup")
        result = startup(display, argv + 2);
    else if (argc == 4 && std::string(argv[1]) == "latency")
        result = latency(display, Window(std::strtoul(argv[2], nullptr, 0)), std::atoi(argv[3]));
    else
        std::fprintf(stderr, "usage: perf_probe startup PROGRAM [ARGS...] | latency WINDOW COUNT\n");
    XCloseDisplay(display);
    return result;
}
