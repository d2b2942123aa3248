#pragma once

#include "modules/TimeValue.h"

#include <QString>

class QObject;

// Typing a contest duration: minutes, optionally a full stop and seconds,
// optionally a third digit for tenths ("4.30" is 4:30, "1.305" is 1:30.5),
// confirmed with Enter.
namespace modCount {

// The result that means "nothing to apply".
inline constexpr TimeValue NoTime = TimeValue::fromSeconds(-1);

// The text typed so far and the name of the control it belongs to.
extern QString TimeEntryText;
extern QString TimeEntryOwner;

// Takes one character code (see KeyCodeToAsci) typed on Target; returns the
// accepted time on Enter when it is at most Largest seconds, else NoTime.
TimeValue TimeEntryKey(QObject *Target, qint16 Code, qint32 Largest);

// Reads a typed text as a time, or NoTime when it is malformed.
TimeValue ParseTimeEntry(const QString &Text);

} // namespace modCount
