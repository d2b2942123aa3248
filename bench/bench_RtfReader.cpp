#include "app/frmHelp.h"
#include "modules/RtfReader.h"

#include "support/BenchMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

QByteArray manual()
{
    QFile file(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zembrakhelpfile.rtf")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A document of about the given size, built from the manual's own body, so
// that formatting, symbols and paragraphs come in a realistic mix.
QByteArray document(qsizetype bytes)
{
    const QByteArray body = manual();
    QByteArray rtf = "{\\rtf1\\ansi ";
    while (rtf.size() < bytes)
        rtf += body;
    rtf += '}';
    return rtf;
}

void BM_ReadManual(benchmark::State &state)
{
    const QByteArray rtf = manual();
    for (auto _ : state)
        benchmark::DoNotOptimize(RtfReader::parse(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadManual)->Unit(benchmark::kMicrosecond);

// Time per byte stays flat as the input grows: the reader is linear.
void BM_ReadLargeDocument(benchmark::State &state)
{
    const QByteArray rtf = document(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(RtfReader::parse(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.SetComplexityN(rtf.size());
}
BENCHMARK(BM_ReadLargeDocument)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 4 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_ReadDeepNesting(benchmark::State &state)
{
    const qsizetype depth = state.range(0);
    const QByteArray rtf = "{\\rtf1 " + QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "}";
    for (auto _ : state)
        benchmark::DoNotOptimize(RtfReader::parse(rtf));
    state.SetComplexityN(depth);
}
BENCHMARK(BM_ReadDeepNesting)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// What F1 costs: a help window built, the manual read and laid out.
void BM_OpenHelpWindow(benchmark::State &state)
{
    for (auto _ : state) {
        frmHelp help;
        benchmark::DoNotOptimize(help.rtbHelp);
    }
}
BENCHMARK(BM_OpenHelpWindow)->Unit(benchmark::kMillisecond);

} // namespace

ZEMBRAK_BENCHMARK_MAIN();
