// How many ticks the board may skip while its timers run.

#include "modules/TickPlan.h"

#include <QList>

#include <random>

#include <gtest/gtest.h>

using TickPlan::Course;
using TickPlan::Timers;

namespace {

constexpr qint64 Limit = 1200;
constexpr qint64 Down = -500; // one 50 ms tick, counting down
constexpr qint64 Up = 500;

Course at(qint64 ticks, qint64 step = 0)
{
    return Course {TimeValue::fromTicks(ticks), step};
}

} // namespace

TEST(TickPlan, CaptionsRoundAsTheBoardShowsThem)
{
    // The clock rounds up but for the halves that 0.4999 makes: 0.0001 s reads 0.
    const QList<QPair<qint64, qint64>> clock = {{0, 0}, {1, 0}, {2, 1}, {10001, 2}, {20001, 2}, {20002, 3},
        {1200000, 120}, {1190001, 120}, {-4999, 0}, {-5000, 0}, {-5001, 0}, {-10000, -1}};
    for (const auto &[ticks, shown] : clock)
        EXPECT_EQ(TickPlan::clockSeconds(TimeValue::fromTicks(ticks)), shown) << ticks;

    const QList<QPair<qint64, qint16>> hold = {{5000, 0}, {5001, 1}, {15000, 2}, {985000, 98}, {985001, 99},
        {995000, 99}, {3010000, 99}, {-15000, -2}};
    for (const auto &[ticks, shown] : hold)
        EXPECT_EQ(TickPlan::holdSeconds(TimeValue::fromTicks(ticks)), shown) << ticks;

    // Seconds elapsed, where a hold scores: 10 shows only once 10 s have passed.
    const QList<QPair<qint64, qint16>> elapsed = {
        {0, 0}, {9999, 0}, {10000, 1}, {99999, 9}, {100000, 10}, {995000, 99}, {3010000, 99}};
    for (const auto &[ticks, shown] : elapsed) {
        EXPECT_EQ(TickPlan::holdSecondsElapsed(TimeValue::fromTicks(ticks)), shown) << ticks;
        EXPECT_EQ(TickPlan::clockSecondsElapsed(TimeValue::fromTicks(ticks)), ticks / 10000) << ticks;
    }
}

TEST(TickPlan, WakesAtTheFirstTickThatShowsOrDoesSomething)
{
    struct Case
    {
        const char *what;
        Timers timers;
        qint64 ticks;
    };
    const QList<Case> cases = {
        {"nothing runs", {at(1200000), at(0), at(0), false}, Limit},
        {"the clock leaves 2:00 at 1:59.0", {at(1200000, Down), at(0), at(0), false}, 20},
        {"and leaves 1:59 a second later", {at(1190000, Down), at(0), at(0), false}, 20},
        {"the hold passes 0.5 s, which rounds to 0", {at(1200000), at(0, Up), at(0), false}, 11},
        {"1.5 s rounds to 2", {at(1200000), at(0), at(10000, Up), false}, 10},
        {"the earlier of clock and hold", {at(1199000, Down), at(0, Up), at(0), false}, 11},
        {"the earlier of clock and hold, the other way", {at(1193000, Down), at(0, Up), at(0), false}, 6},
        {"time out on 0.0000", {at(1000, Down), at(0), at(0), false}, 2},
        {"time out though 0 shows already", {at(1, Down), at(0), at(0), false}, 1},
        {"a clock counting up from below zero is out at once", {at(-10000, Up), at(0), at(0), false}, 1},
        {"a stopped clock is never out", {at(0), at(0), at(0), false}, Limit},
        {"time-up mark cleared once time is set", {at(50000), at(0), at(0), true}, 1},
        {"time-up mark kept while time is out", {at(-500), at(0), at(0), true}, Limit},
        {"the hold box reaches 99", {at(1200000), at(980000, Up), at(0), false}, 11},
        {"and stays there", {at(1200000), at(985500, Up), at(0), false}, Limit},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TickPlan::ticksUntilVisibleChange(c.timers, Limit), c.ticks) << c.what;
}

// Against a plain scan, tick by tick, on random times near every edge.
TEST(TickPlan, AgreesWithAScanOfEveryTick)
{
    std::mt19937 rng(7);
    const auto pick = [&rng](qint64 low, qint64 high) {
        return std::uniform_int_distribution<qint64>(low, high)(rng);
    };
    const qint64 steps[] = {Down, 0, Up};
    const auto course = [&] { return at(pick(-20000, 1020000), steps[pick(0, 2)]); };
    for (int i = 0; i < 20000; ++i) {
        const Timers timers {course(), course(), course(), pick(0, 1) == 1, pick(0, 1) == 1};
        const auto clock =
            timers.elapsed && timers.period.step > 0 ? TickPlan::clockSecondsElapsed : TickPlan::clockSeconds;
        const auto hold = timers.elapsed ? TickPlan::holdSecondsElapsed : TickPlan::holdSeconds;
        const qint64 limit = pick(1, 60);
        qint64 scanned = limit;
        for (qint64 k = 1; k < limit; ++k) {
            const Course &p = timers.period;
            const bool shows = clock(p.after(k)) != clock(p.now) ||
                               hold(timers.holdHome.after(k)) != hold(timers.holdHome.now) ||
                               hold(timers.holdVisitor.after(k)) != hold(timers.holdVisitor.now);
            const bool out = p.step != 0 && p.after(k) <= TimeValue();
            const bool clears = timers.timeUpBuzzed && p.after(k) > TimeValue();
            if (shows || out || clears) {
                scanned = k;
                break;
            }
        }
        ASSERT_EQ(TickPlan::ticksUntilVisibleChange(timers, limit), scanned) << "case " << i;
    }
}
