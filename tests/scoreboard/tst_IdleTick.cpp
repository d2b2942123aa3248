// The tick sleeps while no match timer runs. Nothing the operator can see or
// the board can do may differ from a board that refreshes every 50 ms.

#include "support/RandomOperator.h"

#include "modules/modCount.h"
#include "modules/modShowDigits.h"
#include "settings/SettingsVariables.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// One board, from a clean start, with the buzzer file present.
struct BoardRun
{
    explicit BoardRun(const QString &buzzerFile)
    {
        Settings::resetToDefaults();
        Settings::BuzzerFile = buzzerFile;
        modShowDigits::DigitBuffer.clear();
        modShowDigits::DigitTarget.clear();
        modCount::TimeEntryText.clear();
        modCount::TimeEntryOwner.clear();
        board = std::make_unique<frmScoreboard>();
        board->setClock(clock.clock());
        auto backend = std::make_unique<FakeMediaBackend>();
        media = backend.get();
        board->mmcBuzzer->setBackend(std::move(backend));
        board->show();
        board->activateWindow();
        QApplication::processEvents();
    }

    // Everything a refresh can touch, and the rest of the match beside it.
    QString observe() const
    {
        const frmScoreboard &b = *board;
        QStringList parts;
        parts << QString::number(b.tledPeriod->Caption()) << b.tledPeriod->GroupBases()
              << QString::number(b.nledHoldHome->Caption()) << QString::number(b.nledHoldVisitor->Caption());
        for (DigitDisplay *score :
            {b.nledWHome, b.nledYHome, b.nledKHome, b.nledWVisitor, b.nledYVisitor, b.nledKVisitor})
            parts << QString::number(score->Caption());
        for (const MatchTimer *timer : {b.tkPeriod, b.tkHoldHome, b.tkHoldVisitor})
            parts << QString::number(timer->Running()) << QString::number(timer->Seconds().ticks());
        for (qint32 field :
            {qint32(b.TimeUpBuzzed), qint32(b.BuzzerPlaying), qint32(b.PenaltyHK), qint32(b.PenaltyHC),
                qint32(b.PenaltyHS), qint32(b.PenaltyVK), qint32(b.PenaltyVC), qint32(b.PenaltyVS),
                qint32(b.Ippon), qint32(b.MedHome), qint32(b.MedVisitor), qint32(b.Winner), b.TimePin})
            parts << QString::number(field);
        parts << QString::number(PeriodResetTime.ticks()) << media->calls.join(u',')
              << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
        return parts.join(u' ');
    }

    FakeClock clock;
    std::unique_ptr<frmScoreboard> board;
    FakeMediaBackend *media = nullptr;
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
            RandomOperator storm(*run.board, run.clock, *run.media, seed, RandomOperator::alwaysTick);
            for (int i = 0; i < events; ++i) {
                const char *what = storm.step();
                always << QString::fromLatin1(what) + u' ' + run.observe();
            }
        }
        BoardRun run(buzzerFile);
        RandomOperator storm(*run.board, run.clock, *run.media, seed, RandomOperator::timerTick);
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
