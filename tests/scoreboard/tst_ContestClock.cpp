// The contest clock and the osaekomi counters on the displays: rounding,
// the end of the contest time, and the buzzer requested exactly once.

#include "support/BoardFixture.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"

using namespace Settings;

class ContestClock : public BoardFixture
{
protected:
    float clockShows(qint64 ticks)
    {
        board->tkPeriod->setSeconds(TimeValue::fromTicks(ticks));
        board->RefreshTime();
        return board->tledPeriod->Caption();
    }
    qint32 holdShows(qint64 ticks)
    {
        board->tkHoldHome->setSeconds(TimeValue::fromTicks(ticks));
        board->RefreshTime();
        return board->nledHoldHome->Caption();
    }
};

TEST_F(ContestClock, LoadsAtTwoMinutesWithHoldsAtZero)
{
    EXPECT_EQ(board->tledPeriod->Caption(), 120.0f);
    EXPECT_EQ(board->tledPeriod->GroupBases(), QStringLiteral("60,1"));
    EXPECT_EQ(board->nledHoldHome->Caption(), 0);
    EXPECT_EQ(board->nledHoldVisitor->Caption(), 0);
    EXPECT_EQ(PeriodResetTime, TimeValue::fromSeconds(120));
    EXPECT_FALSE(board->tkPeriod->Running());
}

TEST_F(ContestClock, ShowsTheRemainingTimeRoundedUpWithEvenTies)
{
    const QList<QPair<qint64, float>> table = {
        {50000, 5}, {40002, 5}, {49999, 5}, {0, 0}, {40001, 4}, {50001, 6}, {1, 0}, {2, 1}, {-500, 0}};
    for (const auto &[ticks, shown] : table)
        EXPECT_EQ(clockShows(ticks), shown) << ticks << " ten-thousandths";
}

TEST_F(ContestClock, HoldSecondsRoundHalfToEven)
{
    const QList<QPair<qint64, qint32>> table = {{94999, 9}, {95000, 10}, {105000, 10}, {115000, 12}, {0, 0}};
    for (const auto &[ticks, shown] : table)
        EXPECT_EQ(holdShows(ticks), shown) << ticks << " ten-thousandths";
}

TEST_F(ContestClock, HoldDisplayStaysAt99WhileTheHoldCountsOn)
{
    const QList<QPair<qint64, qint32>> table = {{994999, 99}, {995000, 99}, {1000000, 99}, {3010000, 99}};
    for (const auto &[ticks, shown] : table)
        EXPECT_EQ(holdShows(ticks), shown) << ticks << " ten-thousandths";

    // A contest long enough for a hold to pass 99 s: the timer keeps counting.
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(600));
    board->AllKeyCode(83);
    board->AllKeyCode(39);
    tick(301'000);
    EXPECT_EQ(board->nledHoldVisitor->Caption(), 99);
    EXPECT_EQ(board->nledHoldVisitor->digitText(), QStringLiteral("99"));
    EXPECT_EQ(board->tkHoldVisitor->Seconds(), TimeValue::fromSeconds(301));
    EXPECT_TRUE(board->tkHoldVisitor->Running());
}

TEST_F(ContestClock, CountsDownOnTheTick)
{
    board->AllKeyCode(83);
    tick(500);
    EXPECT_EQ(board->tledPeriod->Caption(), 120.0f);
    tick(600);
    EXPECT_EQ(board->tledPeriod->Caption(), 119.0f);
}

TEST_F(ContestClock, TimeUpStopsEverythingAndBuzzesOnce)
{
    board->AllKeyCode(83);
    board->AllKeyCode(37);
    tick(119'990);
    EXPECT_TRUE(board->tkPeriod->Running());
    EXPECT_EQ(board->tledPeriod->Caption(), 1.0f);
    tick(50); // 0.04 s past the end
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_FALSE(board->tkHoldHome->Running());
    EXPECT_FALSE(board->tkHoldVisitor->Running());
    EXPECT_EQ(board->tledPeriod->Caption(), 0.0f);
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(board->TimeUpBuzzed, VbTrue);

    // Later ticks, and start/stop at 0:00, stop again within the press but never buzz again.
    tick();
    board->BuzzerPlaying = VbFalse; // as if the sound had ended
    board->AllKeyCode(83);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(plays(), 1);

    // After a reset the next time-out buzzes again.
    board->AllKeyCode(82);
    EXPECT_EQ(board->tledPeriod->Caption(), 120.0f);
    EXPECT_EQ(board->TimeUpBuzzed, VbFalse);
    board->AllKeyCode(83);
    tick(121'000);
    EXPECT_EQ(plays(), 2);
}

TEST_F(ContestClock, StartAfterAZeroEntryStopsAndBuzzesOnce)
{
    board->tledPeriod->setFocus();
    board->tkPeriod->setSeconds(TimeValue());
    PeriodResetTime = TimeValue();
    board->RefreshTime();
    EXPECT_EQ(plays(), 0) << "a stopped clock at zero does not buzz";
    board->AllKeyCode(83);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(plays(), 1);
}

TEST_F(ContestClock, TimeOutWhileAManualBuzzPlaysIsDropped)
{
    board->AllKeyCode(83);
    board->AllKeyCode(66);
    EXPECT_EQ(plays(), 1);
    tick(121'000);
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(board->TimeUpBuzzed, VbTrue) << "the end-of-time buzz counts as done";
}

TEST_F(ContestClock, StartStopOnAnArrowRunsOsaekomiOnTimeOut)
{
    StartStopPeriodClockKey = 39;
    board->AllKeyCode(39); // starts the clock (the pin came first, with the clock stopped)
    board->AllKeyCode(37);
    tick(5000);
    board->tkPeriod->setSeconds(TimeValue::fromTicks(100));
    tick(50);
    EXPECT_EQ(board->TimePin, 39);
    EXPECT_EQ(board->tkHoldHome->Seconds(), TimeValue()) << "hold times cleared while the clock still ran";
    EXPECT_FALSE(board->tkHoldVisitor->Running());
    EXPECT_FALSE(board->tkPeriod->Running());
}

TEST_F(ContestClock, NoBuzzerFileMeansASilentTimeOut)
{
    BuzzerFile.clear();
    board->AllKeyCode(83);
    tick(121'000);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(plays(), 0);
}
