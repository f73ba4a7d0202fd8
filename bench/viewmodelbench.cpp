// The view model on large sessions: one edit with its undo snapshot, a run of edits and undos,
// saving and opening a project, importing a report.
// Run: build/bin/viewmodel_bench

#include "app/sessionviewmodel.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

using namespace kelvary;

namespace {

class NoAudioHardware final : public AudioHardware {
public:
    std::optional<QList<AudioDeviceHandle>> deviceHandles() const override
    {
        return QList<AudioDeviceHandle>();
    }
    std::optional<QList<qint64>> inputBufferChannels(AudioDeviceHandle) const override
    {
        return std::nullopt;
    }
    std::optional<QString> uniqueID(AudioDeviceHandle) const override { return std::nullopt; }
    std::optional<QString> name(AudioDeviceHandle) const override { return std::nullopt; }
};

// Answers every save panel with one fixed path.
class FixedPanels final : public FilePanels {
public:
    explicit FixedPanels(QString path)
        : m_path(std::move(path))
    {
    }
    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &) override { return m_path; }
    std::optional<QString> chooseSaveLocation(const SavePanelRequest &) override { return m_path; }

private:
    QString m_path;
};

// Peak resident memory of this process so far, in KiB.
long peakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

// A plain text report of `rows` input channels, every seventh one stereo.
QString writeReport(const QTemporaryDir &dir, int rows)
{
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    QByteArray report = "Input Channels\n";
    for (int i = 1; i <= rows; ++i)
        report += QByteArray::number(i) + (i % 7 == 0 ? "s" : "") + "\tChannel name " +
                  QByteArray::number(i) + "\tMADI " + QByteArray::number(i) + "\tGrp 1\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(report) != report.size())
        return {};
    return path;
}

// A view model holding a freshly imported session of `rows` tracks.
struct LoadedSession {
    explicit LoadedSession(int rows)
        : projectPath(dir.filePath(QStringLiteral("big.kvp")))
        , model(AudioInputDeviceEnumerator(std::make_shared<NoAudioHardware>()),
                std::make_shared<FixedPanels>(projectPath))
    {
        model.importSessionReportAt(writeReport(dir, rows));
    }

    QTemporaryDir dir;
    QString projectPath;
    SessionViewModel model;
};

void BM_SixtyEditsThenSixtyUndos(benchmark::State &state)
{
    LoadedSession session(1000);
    SessionViewModel &vm = session.model;
    if (vm.tracks().size() != 1000)
        state.SkipWithError("the session did not import");
    const long residentBefore = peakResidentKiB();

    for (auto _ : state) {
        for (int edit = 0; edit < 60; ++edit) {
            const TrackList &tracks = vm.tracks();
            switch (edit % 4) {
            case 0:
                vm.renameTrack(QStringLiteral("Edit %1").arg(edit), tracks[edit * 13].id);
                break;
            case 1:
                vm.setTrackColor({0.2, 0.4, edit / 60.0, 1.0}, tracks[edit * 7].id);
                break;
            case 2:
                vm.moveTrack(tracks[edit].id, tracks[999 - edit].id);
                break;
            default:
                vm.setTracksIncluded(edit % 8 == 3, DigicoChannelType::input);
                break;
            }
        }
        for (int undo = 0; undo < 60; ++undo)
            vm.undo();
    }
    state.counters["peak RSS growth KiB"] = double(peakResidentKiB() - residentBefore);
    state.counters["peak RSS KiB"] = double(peakResidentKiB());
}

// One colour change in the middle of the session, with the undo snapshot it records.
void BM_EditWithUndoSnapshot(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    LoadedSession session(rows);
    SessionViewModel &vm = session.model;
    if (vm.tracks().size() != rows)
        state.SkipWithError("the session did not import");
    const QUuid id = vm.tracks()[rows / 2].id;
    const qsizetype undoBefore = vm.undoSnapshots().size();
    int edit = 0;
    for (auto _ : state) {
        ++edit;
        vm.setTrackColor({0.2, 0.4, (edit % 2) ? 0.9 : 0.1, 1.0}, id);
    }
    if (vm.undoSnapshots().size() == undoBefore)
        state.SkipWithError("no undo snapshot was recorded");
}

void BM_SaveProject(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    LoadedSession session(rows);
    SessionViewModel &vm = session.model;
    vm.saveProjectAs();
    if (!vm.projectFileURL())
        state.SkipWithError("the project was not saved");
    for (auto _ : state)
        vm.saveProject();
    state.counters["file KiB"] = double(QFile(session.projectPath).size()) / 1024.0;
}

void BM_OpenProject(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    LoadedSession session(rows);
    SessionViewModel &vm = session.model;
    vm.saveProjectAs();
    for (auto _ : state) {
        vm.openProjectAt(session.projectPath);
        if (vm.tracks().size() != rows)
            state.SkipWithError("the project did not open");
    }
}

// A whole import as the user does it: file, parser, session, inclusion, device catalogue.
void BM_ImportThroughViewModel(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    LoadedSession session(1);
    const QString report = writeReport(session.dir, rows);
    for (auto _ : state) {
        session.model.importSessionReportAt(report);
        if (session.model.tracks().size() != rows)
            state.SkipWithError("the report did not import");
    }
}

} // namespace

BENCHMARK(BM_SixtyEditsThenSixtyUndos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditWithUndoSnapshot)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveProject)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProject)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportThroughViewModel)->Arg(256)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
