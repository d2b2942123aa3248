// A slow disk for the end-to-end tests, loaded with LD_PRELOAD: every
// fsync and fdatasync waits SLOW_SYNC_MS milliseconds (1000 unless set)
// before it does its work.

#include <cstdlib>
#include <ctime>
#include <dlfcn.h>

namespace {

void delay()
{
    const char *text = std::getenv("SLOW_SYNC_MS");
    const long ms = text ? std::atol(text) : 1000;
    timespec wait = {ms / 1000, (ms % 1000) * 1000000};
    while (nanosleep(&wait, &wait) != 0) { }
}

template<typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd)
{
    delay();
    static const auto real = next<int (*)(int)>("fsync");
    return real(fd);
}

extern "C" int fdatasync(int fd)
{
    delay();
    static const auto real = next<int (*)(int)>("fdatasync");
    return real(fd);
}
