#include "controls/ClockDisplay.h"

#include "support/BenchMain.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

// The board's design client area is 632 x 453 pixels; full screen on a
// 1920 x 1080 display scales every LED metric by the height ratio.
constexpr double FullScreen = 1080.0 / 453.0;

struct Setup
{
    ClockDisplay clock;
    QImage image;

    Setup(int style, qreal dpr)
    {
        clock.setPaddingH(180 * FullScreen);
        clock.setPaddingV(80 * FullScreen);
        clock.setPaddingI(180 * FullScreen);
        clock.setPaddingD(180 * FullScreen);
        clock.setSize(65 * FullScreen);
        clock.setGroupLengths(QStringLiteral("1,2"));
        clock.setCaption(120);
        clock.setLitColor(rgbColor(255, 128, 0));
        clock.setLedType(style);
        image = QImage(clock.size() * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        clock.render(&image);
    }
};

// Args: style (0 lines, 1 dots), device pixel ratio.
void label(benchmark::State &state, const Setup &s)
{
    state.SetLabel(QStringLiteral("%1 %2x%3 px")
                       .arg(state.range(0) == 1 ? QStringLiteral("dots") : QStringLiteral("lines"))
                       .arg(s.image.width())
                       .arg(s.image.height())
                       .toStdString());
}

// A new second on the clock: the digits come from the glyph cache.
void BM_ClockPaintWarm(benchmark::State &state)
{
    Setup s(int(state.range(0)), qreal(state.range(1)));
    float seconds = 599;
    for (auto _ : state) {
        s.clock.setCaption(seconds);
        seconds = seconds > 0 ? seconds - 1 : 599;
        s.clock.render(&s.image);
        benchmark::DoNotOptimize(s.image.constBits());
    }
    label(state, s);
}

// A new colour every time: each digit and the colon are drawn afresh.
void BM_ClockPaintCold(benchmark::State &state)
{
    Setup s(int(state.range(0)), qreal(state.range(1)));
    int shade = 0;
    for (auto _ : state) {
        s.clock.setLitColor(rgbColor(255, shade++ & 0xff, 0));
        s.clock.render(&s.image);
        benchmark::DoNotOptimize(s.image.constBits());
    }
    label(state, s);
}

BENCHMARK(BM_ClockPaintWarm)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClockPaintCold)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMicrosecond);

} // namespace

ZEMBRAK_BENCHMARK_MAIN()
