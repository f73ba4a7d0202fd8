#pragma once

#include "app/sessionviewmodel.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"
#include "support/scriptedfilepanels.h"
#include "support/testfiles.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kelvary {

// A report with every kind of channel: inputs (1, 2, 3s, 4, 5, 6s), aux (A1, A2s, A3), group
// (G1) and matrix (M1, M2).
inline QByteArray showReport()
{
    return fixtureBytes(QStringLiteral("reports/every-kind.txt"));
}

// A whole show as the console reports it: ten inputs (5s and 9s stereo), auxes, groups, matrices.
inline const QString mainShow = QStringLiteral(KELVARY_TEST_DATA "/reports/main-show-tabs.txt");

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

    QString path(const QString &name) const { return dir.filePath(name); }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        writeBytes(dir.filePath(name), bytes);
        return dir.filePath(name);
    }

    void importReport(const QByteArray &report = showReport())
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

    // Everything an undo step brings back.
    SessionEditSnapshot snapshot() const
    {
        return {vm.session(), vm.selectedTrackIDs(), vm.splitStereoChannels(),
                vm.plannedAudioDevices(), vm.playbackOutputs()};
    }

    // Each track's device and input, "-" for none: "madi madi:3".
    QStringList patchOf(const QStringList &labels) const
    {
        QStringList result;
        for (const QString &label : labels) {
            const TrackChannel &t = track(label);
            result << t.audioInputDeviceUID.value_or(QStringLiteral("-")) + u' ' +
                          t.audioInputChannelID.value_or(QStringLiteral("-"));
        }
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
