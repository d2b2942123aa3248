// The tick sleeps while no match timer runs, and while timers run it skips
// the ticks that would show nothing new. Nothing the operator can see or the
// board can do may differ from a board that refreshes every 50 ms.

#include "support/BoardFixture.h"
#include "support/RandomOperator.h"

#include "settings/SettingsVariables.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

// One board, from a clean start, with the buzzer file present.
struct BoardRun
{
    explicit BoardRun(const QString &buzzerFile)
    {
        resetProgramState();
        Settings::BuzzerFile = buzzerFile;
        board = makeTestBoard(clock, media);
        QObject::connect(board.get(), &frmScoreboard::contentChanged, [this] { ++changes; });
        showBoard(*board);
    }

    // The refresh on every step is the test's to run: the board's own timer,
    // firing on real time between two steps, would add refreshes of its own.
    void alwaysRefresh() { board->tmrClock1->setEnabled(false); }

    // Everything a refresh can touch, and the rest of the match beside it.
    QString observe() const
    {
        const frmScoreboard &b = *board;
        QStringList parts;
        parts << QString::number(b.tledPeriod->Caption()) << b.tledPeriod->GroupBases()
              << QString::number(b.nledHoldHome->Caption()) << QString::number(b.nledHoldVisitor->Caption());
        appendScoresAndTimers(parts, b);
        appendMatchFields(parts, b);
        parts << QString::number(PeriodResetTime.ticks()) << media->calls.join(u',')
              << QString::number(changes)
              << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
        return parts.join(u' ');
    }

    FakeClock clock;
    std::unique_ptr<frmScoreboard> board;
    FakeMediaBackend *media = nullptr;
    int changes = 0; // contentChanged, which the audience window and the live feed follow
};

class IdleTick : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        buzzerFile = dir.filePath(QStringLiteral("buzzer.wav"));
        QFile file(buzzerFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
    }

    QTemporaryDir dir;
    QString buzzerFile;
};

} // namespace

TEST_F(IdleTick, SleepsWhenNothingRunsAndWakesWithTheClock)
{
    BoardRun run(buzzerFile);
    Timer *tick = run.board->tmrClock1;
    EXPECT_FALSE(tick->Sleeping()) << "the first tick still has to run";
    RandomOperator::timerTick(*run.board);
    EXPECT_TRUE(tick->Sleeping());
    EXPECT_TRUE(tick->Enabled()) << "asleep is not disabled";

    run.board->AllKeyCode(83);
    EXPECT_FALSE(tick->Sleeping());
    run.clock.advanceMs(1100);
    RandomOperator::timerTick(*run.board);
    EXPECT_EQ(run.board->tledPeriod->Caption(), 119.0f);
    EXPECT_FALSE(tick->Sleeping());

    // A stop leaves one tick to run, which then finds nothing to do.
    run.board->AllKeyCode(83);
    EXPECT_FALSE(tick->Sleeping());
    RandomOperator::timerTick(*run.board);
    EXPECT_TRUE(tick->Sleeping());

    // Writing a time on a stopped timer wakes it; writing the same time does not.
    run.board->tkPeriod->setSeconds(run.board->tkPeriod->Seconds());
    EXPECT_TRUE(tick->Sleeping());
    run.board->tkHoldVisitor->setSeconds(TimeValue::fromSeconds(7));
    EXPECT_FALSE(tick->Sleeping());
    RandomOperator::timerTick(*run.board);
    EXPECT_EQ(run.board->nledHoldVisitor->Caption(), 7);
}

// The same seeded storm of keys, clicks, ticks and sound endings on a board
// that refreshes on every tick and on one whose tick sleeps: after every
// single event both must look and be the same.
TEST_F(IdleTick, ASleepingTickIsIndistinguishableFromAnAlwaysTickingOne)
{
    constexpr int events = 6000;
    for (quint32 seed : {1u, 2u, 3u}) {
        QStringList always;
        {
            BoardRun run(buzzerFile);
            run.alwaysRefresh();
            RandomOperator storm(*run.board, run.clock, *run.media, seed, RandomOperator::alwaysTick);
            for (int i = 0; i < events; ++i) {
                const char *what = storm.step();
                always << QString::fromLatin1(what) + u' ' + run.observe();
            }
        }
        BoardRun run(buzzerFile);
        RandomOperator storm(*run.board, run.clock, *run.media, seed, RandomOperator::plannedTick);
        int asleep = 0;
        for (int i = 0; i < events; ++i) {
            const char *what = storm.step();
            const QString seen = QString::fromLatin1(what) + u' ' + run.observe();
            ASSERT_EQ(seen, always.at(i)) << "seed " << seed << ", event " << i;
            asleep += run.board->tmrClock1->Sleeping();
        }
        // A storm that never let the tick sleep would prove nothing.
        EXPECT_GT(asleep, events / 10) << "seed " << seed;
    }
}

namespace {

// Contests as they run at a venue, but with long stretches of running clock:
// osaekomi from both sides, held past 99 s, contest times set to odd
// ten-thousandths so that every rounding edge comes round, times typed in,
// and short times that run out. The board is looked at after every tick.
class ContestOperator
{
public:
    ContestOperator(BoardRun &run, quint32 seed, RandomOperator::TickRunner tick)
        : m_run(run)
        , m_rng(seed)
        , m_tick(std::move(tick))
    { }

    // One event, then the board as seen after it and after each tick it took.
    QStringList step()
    {
        frmScoreboard &b = *m_run.board;
        QWidget *keys = b.picContainerHoldHome;
        const int kind = pick(100);
        if (kind < 12)
            QTest::keyClick(keys, Qt::Key_S);
        else if (kind < 20)
            QTest::keyClick(keys, pick(2) ? Qt::Key_Left : Qt::Key_Right);
        else if (kind < 23)
            QTest::keyClick(keys, Qt::Key_Up);
        else if (kind < 25)
            QTest::keyClick(keys, Qt::Key_R);
        else if (kind < 27)
            QTest::keyClick(keys, Qt::Key_B);
        else if (kind < 30) {
            m_run.media->finish();
            QCoreApplication::processEvents();
        } else if (kind < 36)
            b.tkPeriod->setSeconds(TimeValue::fromTicks(pick(4) ? edge(600) : pick(30000) - 2000));
        else if (kind < 39)
            (pick(2) ? b.tkHoldHome : b.tkHoldVisitor)->setSeconds(TimeValue::fromTicks(950000 + edge(120)));
        else if (kind < 40)
            b.tkPeriod->setCountDirection(1 - b.tkPeriod->CountDirection());
        else if (kind < 43) {
            for (Qt::Key key : {Qt::Key(Qt::Key_0 + pick(10)), Qt::Key_Period, Qt::Key(Qt::Key_0 + pick(10)),
                     Qt::Key_Return})
                QTest::keyClick(b.tledPeriod, key);
        } else {
            // Mostly long: a contest runs for minutes between two key presses.
            const int length = pick(10) < 3 ? 1 + pick(10) : pick(10) < 7 ? 20 + pick(400) : 400 + pick(2600);
            QStringList seen;
            for (int i = 0; i < length; ++i) {
                m_run.clock.advanceMs(50);
                m_tick(b);
                running += b.tkPeriod->Running();
                seen << m_run.observe();
            }
            return seen;
        }
        return {m_run.observe()};
    }

    int running = 0; // ticks on which the contest clock ran

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_rng); }
    // Ten-thousandths below `ticks` 50 ms ticks, often one off a tick: a
    // clock set to 0.0001 past it shows 0 one tick before it runs out, and a
    // hold reaches the halves of a second exactly.
    int edge(int ticks) { return pick(2) ? pick(ticks * 500) : pick(ticks) * 500 + pick(3) - 1; }

    BoardRun &m_run;
    std::mt19937 m_rng;
    RandomOperator::TickRunner m_tick;
};

} // namespace

TEST_F(IdleTick, SkippingTicksWhileTimersRunShowsTheSameAtEveryTick)
{
    constexpr int events = 300;
    for (quint32 seed : {11u, 12u, 13u}) {
        QList<QStringList> always;
        {
            BoardRun run(buzzerFile);
            run.alwaysRefresh();
            ContestOperator contests(run, seed, RandomOperator::alwaysTick);
            for (int i = 0; i < events; ++i)
                always << contests.step();
        }
        BoardRun run(buzzerFile);
        ContestOperator contests(run, seed, RandomOperator::plannedTick);
        int ticks = 0;
        QObject::connect(run.board->tmrClock1, &Timer::Tick, [&ticks] { ++ticks; });
        for (int i = 0; i < events; ++i) {
            const QStringList seen = contests.step();
            ASSERT_EQ(seen.size(), always.at(i).size());
            for (qsizetype t = 0; t < seen.size(); ++t)
                ASSERT_EQ(seen.at(t).toStdString(), always.at(i).at(t).toStdString())
                    << "seed " << seed << ", event " << i << ", tick " << t;
        }
        // The clock ran long enough to prove something, and most ticks were skipped.
        EXPECT_GT(contests.running, 20 * 60 * 5) << "seed " << seed;
        EXPECT_LT(ticks, contests.running / 5) << "seed " << seed;
    }
}
