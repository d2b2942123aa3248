#pragma once

#include "modules/TimeValue.h"

#include <QtGlobal>

// How long the board's tick may pass by. A refresh shows the contest clock
// and the two osaekomi counts in whole seconds and notices the time running
// out; the timers move by the same step from one tick to the next, so the
// first tick whose refresh would show or do anything new is known in
// advance, and the ticks before it can be skipped.
namespace TickPlan {

// The whole seconds the contest clock shows: rounded up (0.4999 added, then
// halves to even), so that it reads 0:00 only when the time is really out.
qint64 clockSeconds(TimeValue value);

// The whole seconds an osaekomi box shows, halves to even. The box has two
// digits, so past 99 s it stays at 99 rather than wrap round.
qint16 holdSeconds(TimeValue value);

// Under a set that scores holds, whole seconds elapsed: a hold shows 10 only
// once 10 s have passed, when its score comes, and a clock counting up
// shows 0:00 through its first second.
qint16 holdSecondsElapsed(TimeValue value);
qint64 clockSecondsElapsed(TimeValue value);

// A timer as the tick sees it: its time at this tick, and how far it moves
// from one tick to the next (negative counting down, zero when stopped).
struct Course
{
    TimeValue now;
    qint64 step = 0;

    TimeValue after(qint64 ticks) const { return TimeValue::fromTicks(now.ticks() + step * ticks); }
};

// Everything a refresh reads.
struct Timers
{
    Course period;
    Course holdHome;
    Course holdVisitor;
    bool timeUpBuzzed = false;
    bool elapsed = false; // the holds, and a clock counting up, show seconds elapsed
};

// The number of ticks from this one to the first whose refresh would show a
// different caption, find the contest time out, or clear the time-up mark;
// `limit` if none comes sooner.
qint64 ticksUntilVisibleChange(const Timers &timers, qint64 limit);

} // namespace TickPlan
