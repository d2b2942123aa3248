// The match list reader on any bytes: it never crashes, every contest it
// keeps has both names and a time in range, and every line it drops is
// told once.

#include "modules/MatchList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const MatchList::Read read = MatchList::read(bytes);
    for (const MatchList::Contest &contest : read.contests) {
        if (contest.home.isEmpty() || contest.visitor.isEmpty() || contest.seconds < 0 ||
            contest.seconds > 599)
            std::abort();
    }
    // Each record begins on a line of its own; a lone CR ends a line too.
    if (read.contests.size() + read.messages.size() > bytes.count('\n') + bytes.count('\r') + 1)
        std::abort();
    return 0;
}
