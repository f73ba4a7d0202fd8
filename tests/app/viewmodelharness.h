#pragma once

#include "app/sessionviewmodel.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"
#include "support/scriptedfilepanels.h"

#include <QFile>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kelvary {

// A report with every kind of channel: inputs (two of them stereo), aux, group and matrix.
inline const char *const showReport = "Session: Main Show.ses\nConsole: SD12\n"
                                      "Input Channels\n"
                                      "1\tKick\tMADI 1\n"
                                      "2\tSnare\tMADI 2\n"
                                      "3s\tKeys\tMADI 3\n"
                                      "4\tBass\tMADI 5\n"
                                      "5\tVox\tMADI 6\n"
                                      "6s\tPlayback\tMADI 7\n"
                                      "Aux Outputs\n"
                                      "A1\tWedge\n"
                                      "A2s\tIEM\n"
                                      "A3\tFX\n"
                                      "Group Outputs\n"
                                      "G1\tDrums\n"
                                      "Matrix Outputs\n"
                                      "M1\tPA L\n"
                                      "M2\tPA R\n";

// A view model on two fake interfaces, "madi" (16 inputs) and "usb" (2 inputs), with scripted
// panels and a folder for the files a test writes.
class ViewModelTest : public testing::Test {
protected:
    ViewModelTest()
    {
        hardware->devices = QList<FakeAudioHardware::Device>{
            FakeAudioHardware::device(QStringLiteral("madi"), QStringLiteral("MADI Card"), {16}),
            FakeAudioHardware::device(QStringLiteral("usb"), QStringLiteral("USB Interface"), {2}),
        };
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void importReport(const QByteArray &report = showReport)
    {
        vm.importSessionReportAt(writeFile(QStringLiteral("show.txt"), report));
        ASSERT_FALSE(vm.errorMessage()) << vm.errorMessage()->toStdString();
    }

    const TrackChannel &track(const QString &label) const
    {
        for (const TrackChannel &track : vm.tracks()) {
            if (track.channelLabel == label)
                return track;
        }
        static const TrackChannel none;
        ADD_FAILURE() << "no track labelled " << label.toStdString();
        return none;
    }

    QUuid idOf(const QString &label) const { return track(label).id; }

    QStringList labels() const
    {
        QStringList result;
        for (const TrackChannel &track : vm.tracks())
            result << track.channelLabel;
        return result;
    }

    void select(const QStringList &labels)
    {
        QSet<QUuid> ids;
        for (const QString &label : labels)
            ids.insert(idOf(label));
        vm.setSelectedTrackIDs(ids);
    }

    std::shared_ptr<FakeAudioHardware> hardware = std::make_shared<FakeAudioHardware>();
    std::shared_ptr<ScriptedFilePanels> panels = std::make_shared<ScriptedFilePanels>();
    SessionViewModel vm{AudioInputDeviceEnumerator(hardware), panels};
    QTemporaryDir dir;
};

// Which change signals of the view model fire while it is alive.
class SignalRecorder {
public:
    explicit SignalRecorder(SessionViewModel &vm)
    {
        const QMetaObject *meta = vm.metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Signal)
                m_spies.push_back(std::make_unique<QSignalSpy>(&vm, method));
        }
    }

    QStringList fired() const
    {
        QStringList names;
        for (const auto &spy : m_spies) {
            if (!spy->isEmpty())
                names << QString::fromLatin1(spy->signal().chopped(2));
        }
        names.sort();
        return names;
    }

private:
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
};

} // namespace kelvary
