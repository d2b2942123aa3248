#include "modules/TickPlan.h"

#include "modules/Rounding.h"

#include <algorithm>

namespace TickPlan {

qint64 clockSeconds(TimeValue value)
{
    return Rounding::halfEvenSeconds(value + TimeValue::fromTicks(4999));
}

qint16 holdSeconds(TimeValue value)
{
    constexpr qint64 holdDisplayLimit = 99;
    return qint16(std::clamp<qint64>(Rounding::halfEvenSeconds(value), -32768, holdDisplayLimit));
}

qint16 holdSecondsElapsed(TimeValue value)
{
    constexpr qint64 holdDisplayLimit = 99;
    const qint64 whole = value.ticks() >= 0 ? value.ticks() / TimeValue::TicksPerSecond : -1;
    return qint16(std::clamp<qint64>(whole, -32768, holdDisplayLimit));
}

qint64 clockSecondsElapsed(TimeValue value)
{
    return value.ticks() >= 0 ? value.ticks() / TimeValue::TicksPerSecond : 0;
}

// The first tick in 1..limit at which `reached` holds; `limit` if it is not
// met by then. Every caption here is monotonic in the time, so a condition
// on it, once it changes as the timer moves on, never changes back.
template<typename Reached>
static qint64 firstTick(const Course &course, qint64 limit, Reached reached)
{
    if (reached(course.after(1)))
        return 1;
    if (!reached(course.after(limit)))
        return limit;
    qint64 notYet = 0;
    qint64 met = limit;
    while (met - notYet > 1) {
        const qint64 middle = notYet + (met - notYet) / 2;
        if (reached(course.after(middle)))
            met = middle;
        else
            notYet = middle;
    }
    return met;
}

qint64 ticksUntilVisibleChange(const Timers &timers, qint64 limit)
{
    const Course &period = timers.period;
    const auto clock = timers.elapsed && period.step > 0 ? clockSecondsElapsed : clockSeconds;
    const auto holdShown = timers.elapsed ? holdSecondsElapsed : holdSeconds;
    const qint64 clockNow = clock(period.now);
    limit = firstTick(period, limit, [clockNow, clock](TimeValue t) { return clock(t) != clockNow; });
    if (period.step != 0)
        limit = firstTick(period, limit, [](TimeValue t) { return t <= TimeValue(); });
    if (timers.timeUpBuzzed)
        limit = firstTick(period, limit, [](TimeValue t) { return t > TimeValue(); });
    for (const Course *hold : {&timers.holdHome, &timers.holdVisitor}) {
        const qint16 holdNow = holdShown(hold->now);
        limit =
            firstTick(*hold, limit, [holdNow, holdShown](TimeValue t) { return holdShown(t) != holdNow; });
    }
    return limit;
}

} // namespace TickPlan
