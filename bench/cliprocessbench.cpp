// `kelvary-cli inspect` of a word processor's 350-channel report as a whole process, beside
// `kelvary-cli --help`, which starts the same program and reads nothing: the difference is what
// the import costs the user.
// Run: build/bin/cliprocess_bench
// `build/bin/cliprocess_bench --write-report FILE` writes the report, to time it with other tools.

#include "wordprocessorreport.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

bool writeReport(const QString &path)
{
    const QByteArray report = wordProcessorReport(350);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(report) == report.size();
}

// Seconds from spawning the program to its exit, its output thrown away; negative on failure.
double runCli(const QList<QByteArray> &arguments)
{
    QList<QByteArray> storage = {QByteArrayLiteral(KELVARY_CLI)};
    storage += arguments;
    std::vector<char *> argv;
    for (QByteArray &argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// Both commands in turn, so that a busy moment of the machine weighs on both alike. The time
// is the import's; "inspect/help" compares the two processes' mean times.
void BM_InspectBesideHelp(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString report = dir.filePath(QStringLiteral("festival.rtf"));
    if (!writeReport(report)) {
        state.SkipWithError("cannot write the report");
        return;
    }
    double inspectTotal = 0;
    double helpTotal = 0;
    for (auto _ : state) {
        const double help = runCli({"--help"});
        const double inspect = runCli({"inspect", report.toUtf8()});
        if (help < 0 || inspect < 0) {
            state.SkipWithError("kelvary-cli failed");
            return;
        }
        helpTotal += help;
        inspectTotal += inspect;
        state.SetIterationTime(inspect);
    }
    const double runs = double(state.iterations());
    state.counters["help ms"] = helpTotal / runs * 1e3;
    state.counters["inspect/help"] = inspectTotal / helpTotal;
}

} // namespace

BENCHMARK(BM_InspectBesideHelp)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-report") == 0)
        return writeReport(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
