// A seeded storm of key presses, releases, clicks and ticks on the real
// board: after every event the match stays within its rules, and memory
// stays flat. ZEMBRAK_STORM_EVENTS sets the count (CI runs a small one; a
// million is the full storm) and ZEMBRAK_STORM_SEED the seed.

#include "support/BoardFixture.h"
#include "support/ProcessMemory.h"
#include "support/RandomOperator.h"

#include <QApplication>

namespace {

qint64 environmentNumber(const char *name, qint64 fallback)
{
    bool ok = false;
    const qint64 value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok && value > 0 ? value : fallback;
}

bool isBoolean(VbBoolean value)
{
    return value == VbTrue || value == VbFalse;
}

// What the match must hold after any event; empty when it does.
std::string brokenRule(
    const frmScoreboard &b, bool clockWasRunning, TimeValue homeBefore, TimeValue visitorBefore)
{
    for (qint16 count : {b.MedHome, b.MedVisitor}) {
        if (count < 0 || count > 2)
            return "medical count " + std::to_string(count);
    }
    for (DigitDisplay *score :
        {b.nledWHome, b.nledYHome, b.nledKHome, b.nledWVisitor, b.nledYVisitor, b.nledKVisitor}) {
        if (score->Caption() < -1 || score->Caption() > 9)
            return "score " + std::to_string(score->Caption());
    }
    // One field each, so one side at most holds the mark.
    if (b.Ippon < 0 || b.Ippon > 2 || b.Winner < 0 || b.Winner > 2)
        return "ippon " + std::to_string(b.Ippon) + ", winner " + std::to_string(b.Winner);
    for (VbBoolean flag : {b.PenaltyHK, b.PenaltyHC, b.PenaltyHS, b.PenaltyVK, b.PenaltyVC, b.PenaltyVS,
             b.BuzzerPlaying, b.TimeUpBuzzed}) {
        if (!isBoolean(flag))
            return "a flag holds " + std::to_string(flag);
    }
    if (b.tkHoldHome->Running() && b.tkHoldVisitor->Running())
        return "both osaekomi counters run";
    if (!b.tkPeriod->Running() && (b.tkHoldHome->Running() || b.tkHoldVisitor->Running()))
        return "an osaekomi counter runs on a stopped clock";
    // A stopped clock freezes the holds; only the reset clears them.
    if (!clockWasRunning && !b.tkPeriod->Running()) {
        for (auto [before, now] : {std::pair {homeBefore, b.tkHoldHome->Seconds()},
                 std::pair {visitorBefore, b.tkHoldVisitor->Seconds()}}) {
            if (now != before && now != TimeValue())
                return "an osaekomi time moved on a stopped clock";
        }
    }
    if (b.tledPeriod->Caption() < 0 || b.tledPeriod->Caption() > 599)
        return "the clock shows " + std::to_string(b.tledPeriod->Caption());
    if (b.nledHoldHome->Caption() < 0 || b.nledHoldVisitor->Caption() < 0)
        return "a negative osaekomi";
    return {};
}

} // namespace

class KeyStorm : public BoardFixture
{
};

TEST_F(KeyStorm, TheMatchKeepsItsRulesAndMemoryStaysFlat)
{
    const qint64 events = environmentNumber("ZEMBRAK_STORM_EVENTS", 20'000);
    const auto seed = quint32(environmentNumber("ZEMBRAK_STORM_SEED", 9));
    showBoard(*board);
    RandomOperator storm(*board, clock, *media, seed, RandomOperator::timerTick);

    // Memory is compared from a point where every cache has had its chance.
    const qint64 warmUp = events / 5;
    qint64 residentAfterWarmUp = 0;
    for (qint64 i = 0; i < events; ++i) {
        const bool wasRunning = board->tkPeriod->Running();
        const TimeValue home = board->tkHoldHome->Seconds();
        const TimeValue visitor = board->tkHoldVisitor->Seconds();
        const char *what = storm.step();
        const std::string broken = brokenRule(*board, wasRunning, home, visitor);
        ASSERT_EQ(broken, "") << "event " << i << " (" << what << "), seed " << seed;
        // Paints and other posted work happen as in the running program.
        if (i % 64 == 0)
            QApplication::processEvents();
        if (i == warmUp)
            residentAfterWarmUp = residentBytes();
    }
    QApplication::processEvents();

    if (residentSizeMeaningful) {
        const qint64 growth = residentBytes() - residentAfterWarmUp;
        RecordProperty("ResidentGrowthBytes", std::to_string(growth));
        EXPECT_LT(growth, 2 * 1024 * 1024) << "after " << events << " events";
    }
}
