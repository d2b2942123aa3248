// Three simulated hours of back-to-back contests on the injected clock:
// start, matte, osaekomi, scores, buzzer, time-out and reset, as the tick
// runs them. Every contest must end on exactly its time, and memory must
// stay flat from the first hour to the last.

#include "support/BoardFixture.h"
#include "support/ProcessMemory.h"
#include "support/RandomOperator.h"

#include <QApplication>
#include <QTest>

#include <random>

class Soak : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        showBoard(*board);
    }

    // The clock moves on by one timer interval, a little early or late as
    // real timers are, and the tick runs if it is awake.
    void wait(qint64 ms)
    {
        clock.advanceMs(ms);
        elapsedMs += ms;
        if (board->tkPeriod->Running())
            runningMs += ms;
        if (board->tkHoldHome->Running() || board->tkHoldVisitor->Running())
            holdMs += ms;
        RandomOperator::timerTick(*board);
    }
    void key(QWidget *target, Qt::Key key) { QTest::keyClick(target, key); }

    std::mt19937 rng {2024};
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); }

    qint64 elapsedMs = 0; // simulated time since the start
    qint64 runningMs = 0; // contest time run in this contest
    qint64 holdMs = 0; // of the current osaekomi
};

TEST_F(Soak, ThreeHoursOfContestsEndOnTime)
{
    constexpr qint64 hourMs = 3'600'000;
    constexpr qint64 contestMs = 120'000;
    qint64 residentAfterFirstHour = 0;
    int contests = 0;
    int buzzes = 0;
    QWidget *hold = board->picContainerHoldHome;
    const QList<QWidget *> scores = {board->nledWHome, board->nledYHome, board->nledKHome,
        board->nledWVisitor, board->nledYVisitor, board->nledKVisitor};

    while (elapsedMs < 3 * hourMs) {
        key(hold, Qt::Key_R);
        ASSERT_EQ(board->tledPeriod->Caption(), 120.0f);
        runningMs = 0;
        holdMs = 0;
        key(hold, Qt::Key_S);

        while (board->tkPeriod->Running()) {
            wait(45 + pick(11));
            if (!board->tkPeriod->Running())
                break;
            switch (pick(400)) {
            case 0: // osaekomi for one side, from zero
            case 1:
                key(hold, pick(2) ? Qt::Key_Left : Qt::Key_Right);
                holdMs = 0;
                break;
            case 2: key(hold, Qt::Key_Up); break;
            case 3: // matte: the clock stops for a while, the hold with it
                key(hold, Qt::Key_S);
                for (int i = 0, n = 20 + pick(200); i < n; ++i)
                    wait(50);
                key(hold, Qt::Key_S);
                break;
            case 4: {
                QWidget *score = scores.at(pick(scores.size()));
                score->setFocus();
                key(score, Qt::Key(Qt::Key_0 + pick(10)));
                break;
            }
            case 5: key(hold, Qt::Key_B); break;
            default: break;
            }
            // The sound ends a second or two after it started.
            if (board->BuzzerPlaying && pick(30) == 0) {
                media->finish();
                QApplication::processEvents();
            }
        }
        ++contests;

        // Time-out: noticed on the first tick at or past the contest time,
        // and every timer holds exactly what ran.
        ASSERT_GE(runningMs, contestMs) << "contest " << contests;
        ASSERT_LT(runningMs, contestMs + 56) << "contest " << contests;
        EXPECT_EQ(
            board->tkPeriod->Seconds(), TimeValue::fromSeconds(120) - TimeValue::fromTicks(runningMs * 10));
        EXPECT_EQ(board->tledPeriod->Caption(), 0.0f);
        const TimeValue held = board->tkHoldHome->Seconds() + board->tkHoldVisitor->Seconds();
        if (held != TimeValue()) {
            EXPECT_EQ(held, TimeValue::fromTicks(holdMs * 10)) << "contest " << contests;
        }
        EXPECT_FALSE(board->tkHoldHome->Running() || board->tkHoldVisitor->Running());
        EXPECT_EQ(board->TimeUpBuzzed, VbTrue);
        buzzes = plays();

        // The buzzer plays out and the board idles until the next contest.
        media->finish();
        QApplication::processEvents();
        for (int i = 0, n = 200 + pick(600); i < n; ++i)
            wait(50);
        EXPECT_EQ(plays(), buzzes) << "no second buzz for one time-out";

        if (residentAfterFirstHour == 0 && elapsedMs >= hourMs)
            residentAfterFirstHour = residentBytes();
    }

    RecordProperty("Contests", contests);
    EXPECT_GT(contests, 50);
    if (residentSizeMeaningful) {
        const qint64 growth = residentBytes() - residentAfterFirstHour;
        RecordProperty("ResidentGrowthBytes", std::to_string(growth));
        EXPECT_LT(growth, 1024 * 1024);
    }
}
