// What the audience window costs while the contest clock runs: one second
// of a running contest with an osaekomi (20 ticks), the board alone and the
// board with a 1920 x 1080 audience window beside it. The difference
// between the two cpu_ms_per_s figures is the audience window's share of a
// core (1 ms per second is 0.1 %).

#include "support/BenchMain.h"
#include "support/FakeClock.h"
#include "support/PaintCounter.h"

#include "controls/Timer.h"
#include "scoreboard/AudienceWindow.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsVariables.h"

#include <ctime>
#include <memory>

namespace {

double cpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void BM_RunningSecond(benchmark::State &state)
{
    Settings::resetToDefaults();
    FakeClock clock;
    frmScoreboard board;
    board.setClock(clock.clock());
    board.tmrClock1->setEnabled(false); // the benchmark drives the refresh itself
    std::unique_ptr<AudienceWindow> audience;
    if (state.range(0) == 1) {
        audience = std::make_unique<AudienceWindow>(board);
        audience->setGeometry(0, 0, 1920, 1080);
    }
    board.show();
    PaintCounter counter(qApp);
    QCoreApplication::processEvents();
    board.AllKeyCode(83);
    board.AllKeyCode(37);
    QCoreApplication::processEvents();

    int seconds = 0;
    double cpu = 0;
    counter.paints = 0;
    for (auto _ : state) {
        const double start = cpuMs();
        for (int tick = 0; tick < 20; ++tick) {
            clock.advanceMs(50);
            board.RefreshTime();
            QCoreApplication::processEvents();
        }
        cpu += cpuMs() - start;
        if (++seconds == 100) { // keep inside the two minutes of contest time
            state.PauseTiming();
            board.AllKeyCode(82);
            board.AllKeyCode(83);
            board.AllKeyCode(37);
            QCoreApplication::processEvents();
            seconds = 0;
            state.ResumeTiming();
        }
    }
    state.counters["cpu_ms_per_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
    state.counters["paints_per_s"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
    state.SetLabel(audience ? "with a 1920x1080 audience window" : "board alone");
}
BENCHMARK(BM_RunningSecond)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);

// One full redraw of the audience window at 1920 x 1080: the cost of any
// change the audience sees.
void BM_AudienceRedraw(benchmark::State &state)
{
    Settings::resetToDefaults();
    frmScoreboard board;
    board.tmrClock1->setEnabled(false);
    AudienceWindow audience(board);
    audience.setGeometry(0, 0, 1920, 1080);
    board.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        audience.repaint();
}
BENCHMARK(BM_AudienceRedraw)->Unit(benchmark::kMillisecond);

} // namespace

ZEMBRAK_BENCHMARK_MAIN()
