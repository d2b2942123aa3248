// The board's tick: a grid of intervals it may skip over, sleep through, or
// be woken from.

#include "support/FakeClock.h"

#include "controls/Timer.h"

#include <gtest/gtest.h>

namespace {

class TimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        timer.setClock(clock.clock());
        timer.setInterval(50);
        QObject::connect(&timer, &Timer::Tick, [this] { ++ticks; });
        timer.setEnabled(true);
    }

    // The clock moves on in steps of `ms`; returns the ticks seen.
    int run(qint64 ms, int steps = 1)
    {
        const int before = ticks;
        for (int i = 0; i < steps; ++i) {
            clock.advanceMs(ms);
            timer.tickIfDue();
        }
        return ticks - before;
    }

    FakeClock clock;
    Timer timer;
    int ticks = 0;
};

} // namespace

TEST_F(TimerTest, SkipsGridPointsAndWakesOnTheGrid)
{
    EXPECT_EQ(run(49), 0);
    EXPECT_EQ(run(1), 1);
    EXPECT_EQ(timer.TicksToNext(), 1);

    timer.setTicksToNext(5);
    EXPECT_EQ(timer.TicksToNext(), 5);
    EXPECT_EQ(run(50, 4), 0);
    EXPECT_EQ(run(50), 1);

    // A wake 120 ms after the last tick: the next one is still on the grid, at 150 ms.
    timer.setTicksToNext(10);
    EXPECT_EQ(run(120), 0);
    timer.wake();
    EXPECT_EQ(run(29), 0);
    EXPECT_EQ(run(1), 1);
    // A wake never puts the next tick off.
    timer.wake();
    EXPECT_EQ(run(50), 1);
}

TEST_F(TimerTest, ALateWakeUpTicksOnceAndKeepsThePhase)
{
    EXPECT_EQ(run(50), 1);
    EXPECT_EQ(run(275), 1);
    EXPECT_EQ(run(24), 0);
    EXPECT_EQ(run(1), 1);
}

TEST_F(TimerTest, SleepsUntilWokenThenStartsAFreshGrid)
{
    EXPECT_EQ(run(50), 1);
    timer.setSleeping(true);
    EXPECT_EQ(run(50, 10), 0);
    EXPECT_TRUE(timer.Enabled());
    clock.advanceMs(13);
    timer.wake();
    EXPECT_FALSE(timer.Sleeping());
    EXPECT_EQ(run(49), 0);
    EXPECT_EQ(run(1), 1);

    timer.setEnabled(false);
    timer.wake();
    EXPECT_EQ(run(50, 4), 0);
}
