#include "app/frmHelp.h"
#include "modules/RtfReader.h"

#include "support/BenchMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>

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

// A help file of one paragraph of short words at one font size, as a damaged
// or hostile file may hold: "\\fs1000" with 40 000 words, "\\fs100" with
// 200 000.
QByteArray bigWords(int halfPoints, int words)
{
    QByteArray rtf = "{\\rtf1\\ansi\\fs" + QByteArray::number(halfPoints) + ' ';
    for (int i = 0; i < words; ++i)
        rtf += (i % 2 ? "b " : "a ");
    return rtf + '}';
}

// F1 with such a file: the window built, shown, and its whole document laid
// out (as scrolling to its end does). All of it runs on the board's thread,
// so this is how long the clock and the feed wait.
void BM_OpenLargeHelp(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zembrakhelpfile.rtf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return state.SkipWithError("no file");
    file.write(bigWords(int(state.range(0)), int(state.range(1))));
    file.close();
    frmHelp::setHelpFilePath(path);
    for (auto _ : state) {
        frmHelp help;
        help.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(help.rtbHelp->document()->pageCount());
    }
    frmHelp::setHelpFilePath(QString());
}
BENCHMARK(BM_OpenLargeHelp)->Args({1000, 40000})->Args({100, 200000})->Args({24, 4000000})->Unit(benchmark::kMillisecond);

} // namespace

ZEMBRAK_BENCHMARK_MAIN();
