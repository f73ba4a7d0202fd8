// The desktop app from process start to its first painted window, empty and with a 256-track
// report, and its resident memory idle with that session. Needs a display: run it under
// xvfb-run (scripts/bench does).
// Run: xvfb-run -a build/bin/appstart_bench

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

QString writeReport(const QTemporaryDir &dir, int rows)
{
    const QString path = dir.filePath(QStringLiteral("show.txt"));
    QByteArray report = "Session: D:\\Shows\\Show.ses\nConsole: SD7\nInput Channels\n"
                        "Channel\tName\tInput Route\n";
    for (int i = 1; i <= rows; ++i)
        report += QByteArray::number(i) + (i % 9 == 0 ? "s" : "") + "\tVocal " +
                  QByteArray::number(i) + "\tMADI " + QByteArray::number(i) + "\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(report) != report.size())
        return {};
    return path;
}

struct ProbeRun {
    bool ok = false;
    long long paintedAt = 0;
    double residentMiB = 0;
};

ProbeRun runProbe(const QStringList &arguments)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(KELVARY_APPSTART_PROBE), arguments);
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return {};
    ProbeRun run;
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
        if (line.startsWith("painted ")) {
            run.paintedAt = line.mid(8).toLongLong();
            run.ok = true;
        } else if (line.startsWith("VmRSS: ")) {
            run.residentMiB = line.mid(7).split(' ').front().toDouble() / 1024.0;
        }
    }
    return run;
}

bool haveDisplay(benchmark::State &state)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        state.SkipWithError("no display: run under xvfb-run");
        return false;
    }
    return true;
}

void BM_StartToFirstPaint(benchmark::State &state)
{
    if (!haveDisplay(state))
        return;
    QTemporaryDir dir;
    const int rows = static_cast<int>(state.range(0));
    const QStringList arguments = rows > 0 ? QStringList{writeReport(dir, rows)} : QStringList{};
    for (auto _ : state) {
        const long long started = monotonicNanoseconds();
        const ProbeRun run = runProbe(arguments);
        if (!run.ok) {
            state.SkipWithError("the app did not paint");
            return;
        }
        state.SetIterationTime(double(run.paintedAt - started) / 1e9);
    }
}

void BM_IdleResidentMemory(benchmark::State &state)
{
    if (!haveDisplay(state))
        return;
    QTemporaryDir dir;
    const QString report = writeReport(dir, static_cast<int>(state.range(0)));
    double resident = 0;
    for (auto _ : state) {
        const ProbeRun run =
            runProbe({QStringLiteral("--idle-ms"), QStringLiteral("2000"), report});
        if (!run.ok || run.residentMiB <= 0) {
            state.SkipWithError("the app did not report its memory");
            return;
        }
        resident = run.residentMiB;
    }
    state.counters["RSS MiB"] = resident;
}

} // namespace

BENCHMARK(BM_StartToFirstPaint)
    ->Arg(0)
    ->Arg(256)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleResidentMemory)->Arg(256)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
