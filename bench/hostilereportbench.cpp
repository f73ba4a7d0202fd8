// Reports no console writes, at sizes no console writes either: how long they take and how much
// memory they need on top of the report's own bytes.
// Run: build/bin/hostilereport_bench

#include "import/digicosessionparser.h"

#include <QFile>
#include <QTemporaryDir>

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

// 500 groups deep around the channels, as a report no console writes.
QByteArray fiveHundredGroupsDeep()
{
    return "{\\rtf1 " + QByteArray(500, '{') + "1\\tab Kick\\par" + QByteArray(500, '}') + "}";
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

// The message a refused report gets, or the number of tracks read.
QString outcome(const Result<ParsedSession> &session)
{
    return session ? QString::number(session->tracks.size()) : session.error().message();
}

void parseHostile(benchmark::State &state, QByteArray (*make)(), const QString &expected)
{
    const QByteArray report = make();
    // What earlier runs freed goes back to the system first, or it would hide what this one uses.
    malloc_trim(0);
    const long residentWithReport = residentKiB();
    resetPeakResident();
    const DigicoSessionParser parser;
    for (auto _ : state) {
        const Result<ParsedSession> session = parser.parseData(report, QStringLiteral("big.rtf"));
        if (outcome(session) != expected)
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(session);
    }
    state.counters["report MiB"] = double(report.size()) / (1024.0 * 1024.0);
    state.counters["extra peak MiB"] = double(peakResidentKiB() - residentWithReport) / 1024.0;
    state.SetBytesProcessed(state.iterations() * report.size());
}

void BM_FiftyMegabyteRichReportWithPicture(benchmark::State &state)
{
    parseHostile(state, richReportWithPicture, QStringLiteral("256"));
}

void BM_FiftyMegabytePlainReport(benchmark::State &state)
{
    parseHostile(state, plainReportWithNotes, QStringLiteral("10000"));
}

void BM_FiftyMegabytesOfNestedGroups(benchmark::State &state)
{
    parseHostile(state, nestedGroups, errorMessage(DigicoParseError::richTextNestedTooDeep));
}

void BM_FiveHundredGroupsDeep(benchmark::State &state)
{
    parseHostile(state, fiveHundredGroupsDeep,
                 errorMessage(DigicoParseError::richTextNestedTooDeep));
}

void BM_FiftyMegabyteLine(benchmark::State &state)
{
    parseHostile(state, oneLongLine, QStringLiteral("1"));
}

// A text file of 200 MB given as a report: refused from its size, before any of it is read.
void BM_TwoHundredMegabyteFileRefused(benchmark::State &state)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("huge.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("no temporary file");
        return;
    }
    // Written for real, not sparse, so that reading it would cost what it costs a user.
    const QByteArray block(1024 * 1024, 'x');
    for (int i = 0; i < 200; ++i)
        file.write(block);
    file.close();

    malloc_trim(0);
    const long residentBefore = residentKiB();
    resetPeakResident();
    const DigicoSessionParser parser;
    for (auto _ : state) {
        const Result<ParsedSession> session = parser.parse(path);
        if (session || !session.error().is(DigicoParseError::reportTooLarge))
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(session);
    }
    state.counters["report MiB"] = 200;
    state.counters["extra peak MiB"] = double(peakResidentKiB() - residentBefore) / 1024.0;
}

} // namespace

BENCHMARK(BM_FiftyMegabyteRichReportWithPicture)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FiftyMegabytePlainReport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FiftyMegabytesOfNestedGroups)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FiftyMegabyteLine)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FiveHundredGroupsDeep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoHundredMegabyteFileRefused)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
