// What one tick of the board's 50 ms timer costs inside the program, when it
// changes nothing: the timer's trip through the event loop and the refresh.
// The rest of a real tick is the kernel waking the process, which only a
// sleeping tick saves; bench/perf.sh measures that from outside.

#include "support/BenchMain.h"
#include "support/FakeClock.h"

#include "controls/Timer.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsVariables.h"

namespace {

// The clock runs but the injected time stands still, so every tick finds the
// same captions; with a 0 ms interval the timer fires on every pass of the loop.
void BM_UnchangedTickThroughEventLoop(benchmark::State &state)
{
    Settings::resetToDefaults();
    FakeClock clock;
    frmScoreboard board;
    board.setClock(clock.clock());
    board.show();
    board.AllKeyCode(Settings::StartStopPeriodClockKey);
    QCoreApplication::processEvents();

    int ticks = 0;
    QObject::connect(board.tmrClock1, &Timer::Tick, [&ticks] { ++ticks; });
    board.tmrClock1->setInterval(0);
    board.tmrClock1->setEnabled(true);
    for (auto _ : state)
        QCoreApplication::processEvents();
    state.counters["ticks_per_pass"] = benchmark::Counter(ticks, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UnchangedTickThroughEventLoop)->Unit(benchmark::kMicrosecond);

// An idle board: after its first tick nothing is left for the loop to do.
void BM_IdleEventLoopPass(benchmark::State &state)
{
    Settings::resetToDefaults();
    frmScoreboard board;
    board.show();
    int ticks = 0;
    QObject::connect(board.tmrClock1, &Timer::Tick, [&ticks] { ++ticks; });
    board.tmrClock1->setInterval(0);
    QCoreApplication::processEvents();
    ticks = 0;
    for (auto _ : state)
        QCoreApplication::processEvents();
    state.counters["ticks"] = ticks;
}
BENCHMARK(BM_IdleEventLoopPass)->Unit(benchmark::kMicrosecond);

} // namespace

ZEMBRAK_BENCHMARK_MAIN()
