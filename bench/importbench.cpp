// Import speed of a Session Report held in memory, as rich text and as plain text, from a
// console's 256 channels to 10,000, and of a word processor's table of 350 channels.
// Run: build/bin/import_bench

#include "import/digicosessionparser.h"
#include "wordprocessorreport.h"

#include <benchmark/benchmark.h>

using namespace kelvary;

namespace {

QByteArray plainReport(int rows)
{
    QByteArray text = "DiGiCo SD7 Session Report\nSession: D:\\Shows\\Big.ses\nConsole: SD7\n"
                      "Date: 01/12/2026 20:00:00\n\nInput Channels\n"
                      "Channel\tName\tInput Route\tMerge Input\tInsert\tOutputs\n";
    for (int i = 1; i <= rows; ++i)
        text += QByteArray::number(i) + (i % 5 == 0 ? "s" : "") + "\tVocal Mic " +
                QByteArray::number(i) + "\tMADI " + QByteArray::number(i) + "\t-\t\tGrp 1\n";
    return text;
}

QByteArray richReport(int rows)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                     "{\\colortbl;\\red0\\green0\\blue0;}\n\\pard\\f0\\fs20 Session: Big.ses\\par\n"
                     "Console: SD7\\par\nInput Channels\\par\n";
    for (int i = 1; i <= rows; ++i) {
        rtf += "\\trowd\\trgaph108\\cellx1000\\cellx4000\\cellx7000\\cellx9000\n"
               "\\pard\\intbl " +
               QByteArray::number(i) + "\\cell Caf\\'e9 \\u20027?\\u21809? " +
               QByteArray::number(i) + "\\cell MADI " + QByteArray::number(i) +
               "\\cell \\cell \\row\n";
    }
    return rtf + "\\pard\\par}";
}

void importReport(benchmark::State &state, QByteArray (*make)(int))
{
    const int rows = static_cast<int>(state.range(0));
    const QByteArray report = make(rows);
    const DigicoSessionParser parser;
    for (auto _ : state) {
        Result<ParsedSession> session = parser.parseData(report, QStringLiteral("big.rtf"));
        if (!session || session->tracks.size() != rows)
            state.SkipWithError("the report did not parse");
        benchmark::DoNotOptimize(session);
    }
    state.SetComplexityN(rows);
    state.counters["rows/s"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ImportPlainText(benchmark::State &state)
{
    importReport(state, plainReport);
}

void BM_ImportRichText(benchmark::State &state)
{
    importReport(state, richReport);
}

void BM_ImportWordProcessorTable(benchmark::State &state)
{
    importReport(state, wordProcessorReport);
    state.counters["report MiB"] =
        double(wordProcessorReport(static_cast<int>(state.range(0))).size()) / (1024 * 1024);
}

} // namespace

BENCHMARK(BM_ImportPlainText)
    ->Arg(256)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportRichText)
    ->Arg(256)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWordProcessorTable)->Arg(350)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
