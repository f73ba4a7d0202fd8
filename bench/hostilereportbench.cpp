// Reports no console writes, at sizes no console writes either: how long they take and how much
// memory they need on top of the report's own bytes.
// Run: build/bin/hostilereport_bench

#include "import/digicosessionparser.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <fstream>
#include <string>

using namespace kelvary;

namespace {

constexpr qsizetype fiftyMegabytes = 50 * 1024 * 1024;

// Peak resident memory since the last reset, in KiB.
long peakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

// Lets the next peakResidentKiB() start from the memory in use now.
void resetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// 256 channels and then a picture, as a report with a large logo embedded would be.
QByteArray richReportWithPicture()
{
    QByteArray rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}Session: Big.ses\\par Input Channels\\par\n";
    for (int i = 1; i <= 256; ++i)
        rtf += QByteArray::number(i) + "\\tab Vocal " + QByteArray::number(i) + "\\tab MADI " +
               QByteArray::number(i) + "\\par\n";
    rtf += "{\\pict\\pngblip ";
    while (rtf.size() < fiftyMegabytes)
        rtf += "89504e470d0a1a0a0000000d4948445200000100000001000806000000\n";
    return rtf + "}}";
}

// 10,000 channels followed by pages of notes.
QByteArray plainReportWithNotes()
{
    QByteArray text = "Session: Big.ses\nInput Channels\n";
    for (int i = 1; i <= 10000; ++i)
        text += QByteArray::number(i) + "\tVocal " + QByteArray::number(i) + "\tMADI 1\n";
    text += "\nNotes\n";
    while (text.size() < fiftyMegabytes)
        text += "Stage left wedge mix checked at soundcheck, nothing further to report today.\n";
    return text;
}

QByteArray nestedGroups()
{
    return "{\\rtf1 1\\tab Kick\\par" + QByteArray(fiftyMegabytes / 2, '{') +
           QByteArray(fiftyMegabytes / 2, '}') + "}";
}

QByteArray oneLongLine()
{
    QByteArray line = "Session: ";
    line += QByteArray(fiftyMegabytes, 'x');
    return line + "\n1\tKick\n";
}

void parseHostile(benchmark::State &state, QByteArray (*make)(), qsizetype expectedTracks)
{
    const QByteArray report = make();
    // What earlier runs freed goes back to the system first, or it would hide what this one uses.
    malloc_trim(0);
    const long residentWithReport = residentKiB();
    resetPeakResident();
    const DigicoSessionParser parser;
    for (auto _ : state) {
        const Result<ParsedSession> session = parser.parseData(report, QStringLiteral("big.rtf"));
        const qsizetype tracks = session ? session->tracks.size() : 0;
        if (tracks != expectedTracks)
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(tracks);
    }
    state.counters["report MiB"] = double(report.size()) / (1024.0 * 1024.0);
    state.counters["extra peak MiB"] = double(peakResidentKiB() - residentWithReport) / 1024.0;
    state.SetBytesProcessed(state.iterations() * report.size());
}

void BM_FiftyMegabyteRichReportWithPicture(benchmark::State &state)
{
    parseHostile(state, richReportWithPicture, 256);
}

void BM_FiftyMegabytePlainReport(benchmark::State &state)
{
    parseHostile(state, plainReportWithNotes, 10000);
}

void BM_FiftyMegabytesOfNestedGroups(benchmark::State &state)
{
    parseHostile(state, nestedGroups, 1);
}

void BM_FiftyMegabyteLine(benchmark::State &state)
{
    parseHostile(state, oneLongLine, 1);
}

} // namespace

BENCHMARK(BM_FiftyMegabyteRichReportWithPicture)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FiftyMegabytePlainReport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FiftyMegabytesOfNestedGroups)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FiftyMegabyteLine)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
