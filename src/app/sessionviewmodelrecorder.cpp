// Assignment from the console's recorder routing: every track records what the console sends
// it on the recorder, so a scene exports a template that records as the desk is patched.

#include "app/sessionviewmodel.h"
#include "model/recorderpatch.h"
#include "model/recordingcheck.h"

using namespace Qt::StringLiterals;

namespace kelvary {

const ConsoleRecorder *SessionViewModel::consoleRecorder(const QString &recorderID) const
{
    const ConsoleRecorderPatch &patch = m_session.recorderPatch;
    const auto found = std::find_if(patch.cbegin(), patch.cend(),
                                    [&](const ConsoleRecorder &r) { return r.id == recorderID; });
    return found == patch.cend() ? nullptr : &*found;
}

std::optional<QString> SessionViewModel::recorderDeviceUID(const QString &recorderID) const
{
    const ConsoleRecorder *recorder = consoleRecorder(recorderID);
    if (!recorder)
        return std::nullopt;
    for (const AudioInputDevice &device : m_audioInputCatalog.devices()) {
        if (device.name == recorder->name)
            return device.id;
    }
    return std::nullopt;
}

bool SessionViewModel::assignFromConsoleRecorder(const QString &recorderID,
                                                 const std::optional<QString> &deviceUID)
{
    const ConsoleRecorderPatch &patch = m_session.recorderPatch;
    if (patch.isEmpty()) {
        setErrorMessage(u"这个文件没有调音台的录音路由：只有 X32/M32 场景和 WING 快照带有。"_s);
        return false;
    }
    const ConsoleRecorder *found = consoleRecorder(recorderID);
    if (!found) {
        QStringList known;
        for (const ConsoleRecorder &recorder : patch)
            known.append(recorder.id);
        setErrorMessage(u"%1 没有录音设备“%2”；可用的有：%3。"_s.arg(
            m_session.consoleName, recorderID, known.join(u"、"_s)));
        return false;
    }
    if (deviceUID && !m_audioInputCatalog.deviceNameByUID().contains(*deviceUID)) {
        setErrorMessage(u"找不到音频输入设备“%1”。"_s.arg(*deviceUID));
        return false;
    }
    // A copy: adding the planned interface below leaves the session as it is, but stays safe.
    const ConsoleRecorder recorder = *found;

    beginGroupedMutation();
    std::optional<QString> device = deviceUID ? deviceUID : recorderDeviceUID(recorderID);
    if (!device && addPlannedAudioDevice(recorder.name, recorder.channels.size()))
        device = m_plannedAudioDevices.constLast().id;
    if (!device) {
        endGroupedMutation();
        return false;
    }

    QHash<QUuid, QString> channelOf;
    qsizetype notSent = 0;
    for (const TrackChannel &track : m_session.tracks) {
        const std::optional<RecorderInput> input = recorderInput(recorder, track);
        if (!input) {
            notSent += track.isIncluded ? 1 : 0;
            continue;
        }
        if (const auto channel = m_audioInputCatalog.inputAt(*device, input->index, input->pair))
            channelOf.insert(track.id, channel->id);
    }
    changeTracks([&](const TrackChannel &track) { return channelOf.contains(track.id); },
                 [&](TrackChannel &track) {
                     track.audioInputDeviceUID = device;
                     track.audioInputChannelID = channelOf.value(track.id);
                 });

    QString status =
        u"已按调音台路由为 %1 条轨道分配 %2 \u00B7 %3 条轨道未送往录音设备"_s.arg(channelOf.size())
            .arg(m_audioInputCatalog.deviceNameByUID().value(*device))
            .arg(notSent);
    // One input on two strips: both tracks record it, as the console sends it.
    TrackList assigned;
    for (const TrackChannel &track : m_session.tracks) {
        if (channelOf.contains(track.id))
            assigned.append(track);
    }
    const QList<AudioInputDevice> &devices = m_audioInputCatalog.devices();
    RecordingCheck check = checkRecording(assigned, devices);
    check.unassigned.clear();
    check.stereoOnOneInput.clear();
    for (const QString &line : recordingCheckLines(check, assigned, devices))
        status += u" \u00B7 "_s + line;
    setStatusMessage(status);
    endGroupedMutation();
    return true;
}

} // namespace kelvary
