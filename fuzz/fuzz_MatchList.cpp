// The match list reader on any bytes: it never crashes, every contest it
// keeps has both names and a time in range, every line it drops is told
// once, and only a kept contest is told that a text was cut.

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
    qsizetype skipped = 0;
    qsizetype cut = 0;
    for (const QString &message : read.messages) {
        if (message.contains(QLatin1String(" was skipped: ")))
            ++skipped;
        else if (message.contains(QLatin1String(" was cut to ")))
            ++cut;
        else
            std::abort();
    }
    if (cut > read.contests.size())
        std::abort();
    // Each record begins on a line of its own; a lone CR ends a line too.
    if (read.contests.size() + skipped > bytes.count('\n') + bytes.count('\r') + 1)
        std::abort();
    return 0;
}
