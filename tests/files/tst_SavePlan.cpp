// When the contest is written: every change but a running time at once,
// a running time every few seconds, a stopped board never again.

#include "files/SavePlan.h"

#include <gtest/gtest.h>

TEST(SavePlan, WritesChangesAtOnceAndARunningClockEveryFewSeconds)
{
    SavedContest stopped;
    stopped.period = TimeValue::fromSeconds(120);
    SavedContest running = stopped;
    running.periodRunning = true;
    SavedContest later = running;
    later.period = TimeValue::fromSeconds(117);
    SavedContest marked = later;
    marked.marks.scores[0] = 1;
    SavedContest renamed = stopped;
    renamed.home = QStringLiteral("Ono");
    SavedContest typed = stopped;
    typed.period = TimeValue::fromSeconds(240);
    SavedContest halted = later;
    halted.periodRunning = false;
    SavedContest next = stopped;
    next.matchIndex = 2;

    const qint64 soon = 100;
    const qint64 late = SavePlan::RunningIntervalMs;
    struct Row
    {
        const char *what;
        std::optional<SavedContest> written;
        SavedContest now;
        qint64 since;
        bool due;
    };
    const Row rows[] = {
        {"nothing written yet", std::nullopt, stopped, soon, true},
        {"nothing changed", stopped, stopped, late * 10, false},
        {"the clock started", stopped, running, soon, true},
        {"the clock ran on", running, later, soon, false},
        {"the clock ran on a while", running, later, late, true},
        {"a mark while it runs", later, marked, soon, true},
        {"the clock stopped", later, halted, soon, true},
        {"a name", stopped, renamed, soon, true},
        {"a time typed", stopped, typed, soon, true},
        {"the list position", stopped, next, soon, true},
    };
    for (const Row &row : rows)
        EXPECT_EQ(SavePlan::due(row.written, row.now, row.since), row.due) << row.what;
}
