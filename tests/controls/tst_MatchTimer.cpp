// The match timer on a hand-driven monotonic clock.

#include "support/FakeClock.h"

#include "controls/MatchTimer.h"

#include <QVariant>

#include <gtest/gtest.h>

TEST(MatchTimer, CountsInTheChosenDirectionOnlyWhileRunning)
{
    FakeClock clock;
    MatchTimer down;
    MatchTimer up;
    down.setClock(clock.clock());
    up.setClock(clock.clock());
    up.setCountDirection(MatchTimer::Up);
    down.setSeconds(TimeValue::fromSeconds(120));

    clock.advanceMs(5000);
    EXPECT_EQ(down.Seconds(), TimeValue::fromSeconds(120)) << "a stopped timer keeps its time";

    down.setRunning(true);
    up.setRunning(true);
    clock.advanceTicks(12345);
    EXPECT_EQ(down.Seconds().ticks(), 1'200'000 - 12345);
    EXPECT_EQ(up.Seconds().ticks(), 12345);

    down.setRunning(false);
    clock.advanceMs(1000);
    EXPECT_EQ(down.Seconds().ticks(), 1'200'000 - 12345);
    down.setRunning(false); // the same value changes nothing
    EXPECT_EQ(down.Seconds().ticks(), 1'200'000 - 12345);
}

TEST(MatchTimer, WritingTheTimeWhileRunningGoesOnFromTheNewValue)
{
    FakeClock clock;
    MatchTimer timer;
    timer.setClock(clock.clock());
    timer.setRunning(true);
    clock.advanceMs(3000);
    timer.setSeconds(TimeValue::fromSeconds(10));
    EXPECT_TRUE(timer.Running());
    clock.advanceMs(2000);
    EXPECT_EQ(timer.Seconds(), TimeValue::fromSeconds(8));
    timer.setRunning(true); // already running: no restart
    clock.advanceMs(9000);
    EXPECT_EQ(timer.Seconds(), TimeValue::fromSeconds(-1)) << "goes on below zero";
}

TEST(MatchTimer, PropertiesByName)
{
    FakeClock clock;
    MatchTimer timer;
    timer.setClock(clock.clock());
    timer.setProperty("Seconds", qint64(45000));
    timer.setProperty("Running", true);
    clock.advanceMs(500);
    EXPECT_EQ(timer.property("Seconds").toLongLong(), 40000);
    EXPECT_TRUE(timer.property("Running").toBool());
}
