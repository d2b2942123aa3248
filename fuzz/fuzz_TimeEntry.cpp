// The contest time typed on the clock: any text, and any run of keys.
// A time is accepted only when the text is at most eight digits and full
// stops with one stop at most and at most 99 minutes, and an accepted time
// is never negative nor beyond what the board allows.

#include "modules/modCount.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool wellFormed(const QString &text)
{
    if (text.size() > 8 || text.count(u'.') > 1)
        return false;
    for (const QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || c == u'.'))
            return false;
    }
    return text.section(u'.', 0, 0).toInt() <= 99;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using modCount::NoTime;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const TimeValue parsed = modCount::ParseTimeEntry(text);
    check((parsed != NoTime) == wellFormed(text));
    check(parsed == NoTime ||
          (parsed >= TimeValue() && parsed <= TimeValue::fromTicks((99 * 60 + 99) * 10000 + 9000)));

    // The same bytes as keys on the clock, whose largest time is 9:59.
    static QObject clock;
    clock.setObjectName(QStringLiteral("tledPeriod"));
    modCount::TimeEntryText.clear();
    modCount::TimeEntryOwner.clear();
    for (size_t i = 0; i < size; ++i) {
        const TimeValue entered = modCount::TimeEntryKey(&clock, qint16(qint8(data[i])), 599);
        check(entered == NoTime || (entered >= TimeValue() && entered <= TimeValue::fromSeconds(599)));
        check(modCount::TimeEntryText.size() <= qsizetype(size));
    }
    return 0;
}
