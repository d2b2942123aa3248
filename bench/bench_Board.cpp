// The board's hot paths: the 50 ms refresh, a key press up to the repainted
// lamp, the repaints while the clock runs, and rescaling to a 4K screen.

#include "support/BenchMain.h"
#include "support/FakeClock.h"
#include "support/PaintCounter.h"

#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "controls/Timer.h"
#include "modules/modStretch.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsVariables.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

struct Board
{
    FakeClock clock;
    frmScoreboard board;
    PaintCounter counter {qApp};

    Board()
    {
        Settings::resetToDefaults();
        board.setClock(clock.clock());
        board.tmrClock1->setEnabled(false); // the benchmark drives the refresh itself
        board.show();
        QCoreApplication::processEvents();
    }
};

// A refresh where no displayed value changes: the clock is stopped.
void BM_RefreshTimeUnchanged(benchmark::State &state)
{
    Board b;
    b.counter.paints = 0;
    for (auto _ : state)
        b.board.RefreshTime();
    QCoreApplication::processEvents();
    state.counters["repaints"] = b.counter.paints;
}
BENCHMARK(BM_RefreshTimeUnchanged)->Unit(benchmark::kMicrosecond);

// Enter on a penalty box until the lamp has been repainted on screen.
void BM_KeyToRepaintedLamp(benchmark::State &state)
{
    Board b;
    b.board.picKHome->setFocus();
    QCoreApplication::processEvents();
    b.counter.paints = 0;
    for (auto _ : state) {
        QTest::keyClick(b.board.picKHome, Qt::Key_Return);
        QCoreApplication::processEvents(); // the lamp's paint happens here
    }
    state.counters["paints_per_press"] =
        benchmark::Counter(b.counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_KeyToRepaintedLamp)->Unit(benchmark::kMicrosecond);

// One second of a running contest with an osaekomi: 20 ticks.
void BM_RepaintsPerRunningSecond(benchmark::State &state)
{
    Board b;
    b.board.AllKeyCode(83);
    b.board.AllKeyCode(37);
    QCoreApplication::processEvents();
    int seconds = 0;
    b.counter.paints = 0;
    for (auto _ : state) {
        for (int tick = 0; tick < 20; ++tick) {
            b.clock.advanceMs(50);
            b.board.RefreshTime();
            QCoreApplication::processEvents();
        }
        ++seconds;
        if (seconds == 100) { // keep inside the two minutes of contest time
            b.board.AllKeyCode(82);
            b.board.AllKeyCode(83);
            b.board.AllKeyCode(37);
            seconds = 0;
        }
    }
    state.counters["repaints_per_s"] =
        benchmark::Counter(b.counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintsPerRunningSecond)->Unit(benchmark::kMillisecond);

// Rescaling the whole board to a 3840 x 2160 window and painting it once.
void BM_StretchAndRepaint4K(benchmark::State &state)
{
    Board b;
    b.board.resize(3200, 1800);
    QCoreApplication::processEvents();
    bool large = false;
    for (auto _ : state) {
        large = !large;
        b.board.resize(large ? QSize(3840, 2160) : QSize(3200, 1800)); // runs StretchLayout
        b.board.repaint();
    }
    state.SetLabel(large ? "alternating 3840x2160 and 3200x1800" : "");
}
BENCHMARK(BM_StretchAndRepaint4K)->Unit(benchmark::kMillisecond);

} // namespace

ZEMBRAK_BENCHMARK_MAIN()
