#include "modules/modCount.h"

#include <QObject>
#include <QStringList>

namespace modCount {

QString TimeEntryText;
QString TimeEntryOwner;

namespace {

// The value of a run of digits; the caller has already checked that only
// digits are there, and at most eight of them, so this cannot overflow.
qint64 digitsValue(QStringView digits)
{
    qint64 value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

} // namespace

TimeValue TimeEntryKey(QObject *Target, qint16 Code, qint32 Largest)
{
    const QString name = Target ? Target->objectName() : QString();
    if (name != TimeEntryOwner) {
        TimeEntryText.clear();
        TimeEntryOwner = name;
    }

    if ((Code >= 48 && Code <= 57) || Code == 46) {
        TimeEntryText += QChar(Code);
    } else if (Code == 32) {
        TimeEntryText.clear();
    } else if (Code == 13) {
        const TimeValue parsed = ParseTimeEntry(TimeEntryText);
        TimeEntryText.clear();
        if (parsed != NoTime && parsed <= TimeValue::fromSeconds(Largest))
            return parsed;
    }
    return NoTime;
}

TimeValue ParseTimeEntry(const QString &Text)
{
    if (Text.size() > 8)
        return NoTime;
    for (const QChar c : Text) {
        if (!((c >= u'0' && c <= u'9') || c == u'.'))
            return NoTime;
    }
    const QStringList pieces = Text.split(u'.');
    if (pieces.size() > 2)
        return NoTime;

    const qint64 minutes = digitsValue(pieces.at(0));
    qint64 seconds = 0;
    qint64 tenths = 0;
    if (pieces.size() == 2) {
        const QStringView second(pieces.at(1));
        if (second.size() <= 2) {
            seconds = digitsValue(second);
        } else {
            // "1.305" is one minute, 30 seconds and 5 tenths; more digits are ignored.
            seconds = digitsValue(second.first(2));
            tenths = digitsValue(second.mid(2, 1));
        }
    }
    // Two digits of seconds and one of tenths cannot exceed 99 and 9.
    if (minutes > 99)
        return NoTime;

    const qint64 tenthTicks = TimeValue::TicksPerSecond / 10;
    return TimeValue::fromTicks((minutes * 60 + seconds) * TimeValue::TicksPerSecond + tenths * tenthTicks);
}

} // namespace modCount
