// Cost of the undo history: a 1,000-track session, 60 edits of several kinds, then 60 undos.
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

class NoPanels final : public FilePanels {
public:
    std::optional<QString> chooseFileToOpen(const OpenPanelRequest &) override { return {}; }
    std::optional<QString> chooseSaveLocation(const SavePanelRequest &) override { return {}; }
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

void BM_SixtyEditsThenSixtyUndos(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    {
        QByteArray report = "Input Channels\n";
        for (int i = 1; i <= 1000; ++i)
            report += QByteArray::number(i) + (i % 7 == 0 ? "s" : "") + "\tChannel name " +
                      QByteArray::number(i) + "\tMADI " + QByteArray::number(i) + "\tGrp 1\n";
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(report);
    }
    SessionViewModel vm(AudioInputDeviceEnumerator(std::make_shared<NoAudioHardware>()),
                        std::make_shared<NoPanels>());
    vm.importSessionReportAt(path);
    if (vm.tracks().size() != 1000)
        state.SkipWithError("the session did not import");
    const long residentBefore = peakResidentKiB();

    for (auto _ : state) {
        for (int edit = 0; edit < 60; ++edit) {
            const QList<TrackChannel> &tracks = vm.tracks();
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

} // namespace

BENCHMARK(BM_SixtyEditsThenSixtyUndos)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
