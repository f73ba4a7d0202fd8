// Planned and remembered interfaces: assignment to an interface that is not attached, so a show
// can be prepared away from the rig and reopened there without losing its patch.

#include "app/sessionviewmodel.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary {

bool SessionViewModel::addPlannedAudioDevice(const QString &name, qint64 inputChannelCount)
{
    if (const std::optional<QString> problem =
            plannedDeviceProblem(name, inputChannelCount, m_plannedAudioDevices)) {
        setErrorMessage(problem);
        return false;
    }
    recordUndoSnapshotIfNeeded();
    QList<PlannedAudioDevice> devices = m_plannedAudioDevices;
    devices.append(
        {unusedPlannedDeviceID(name.trimmed(), devices), name.trimmed(), inputChannelCount});
    setPlannedAudioDevices(devices);
    rebuildAudioInputCatalog();
    return true;
}

void SessionViewModel::removePlannedAudioDevice(const QString &deviceUID)
{
    QList<PlannedAudioDevice> devices = m_plannedAudioDevices;
    const auto removed = std::remove_if(devices.begin(), devices.end(),
                                        [&](const auto &device) { return device.id == deviceUID; });
    if (removed == devices.end())
        return;
    devices.erase(removed, devices.end());

    recordUndoSnapshotIfNeeded();
    setPlannedAudioDevices(devices);
    rebuildAudioInputCatalog();
    // Clears the assignments to it in the same undo step, unless the device is attached.
    reconcileAudioAssignments();
}

bool SessionViewModel::editPlannedAudioDevice(const QString &deviceUID, const QString &name,
                                              qint64 inputChannelCount)
{
    const qsizetype index = indexOfPlannedDevice(deviceUID);
    if (index < 0) {
        setErrorMessage(u"没有计划设备“%1”。"_s.arg(deviceUID));
        return false;
    }
    if (const std::optional<QString> problem =
            plannedDeviceProblem(name, inputChannelCount, m_plannedAudioDevices, deviceUID)) {
        setErrorMessage(problem);
        return false;
    }
    const PlannedAudioDevice edited{deviceUID, name.trimmed(), inputChannelCount};
    if (m_plannedAudioDevices[index] == edited)
        return true;

    recordUndoSnapshotIfNeeded();
    QList<PlannedAudioDevice> devices = m_plannedAudioDevices;
    devices[index] = edited;
    setPlannedAudioDevices(devices);
    rebuildAudioInputCatalog();
    // Inputs past the new count are gone from the catalogue: their tracks lose them here.
    reconcileAudioAssignments();
    return true;
}

TrackList SessionViewModel::tracksLosingInput(const QString &deviceUID,
                                              qint64 inputChannelCount) const
{
    TrackList losing;
    const qsizetype index = indexOfPlannedDevice(deviceUID);
    if (index < 0)
        return losing;
    // The catalogue the edit would make, so the rule is the one reconciliation applies.
    QList<PlannedAudioDevice> devices = m_plannedAudioDevices;
    devices[index].inputChannelCount = inputChannelCount;
    const AudioInputCatalog edited(m_attachedAudioDevices, devices);
    const QHash<QString, QString> &remaining = edited.channelLabelByID();
    for (const TrackChannel &track : m_session.tracks) {
        if (track.audioInputDeviceUID == deviceUID && track.audioInputChannelID &&
            !remaining.contains(*track.audioInputChannelID))
            losing.append(track);
    }
    return losing;
}

qsizetype SessionViewModel::indexOfPlannedDevice(const QString &deviceUID) const
{
    for (qsizetype i = 0; i < m_plannedAudioDevices.size(); ++i) {
        if (m_plannedAudioDevices[i].id == deviceUID)
            return i;
    }
    return -1;
}

qsizetype SessionViewModel::tracksAssignedToDevice(const QString &deviceUID) const
{
    return std::count_if(
        m_session.tracks.cbegin(), m_session.tracks.cend(),
        [&](const TrackChannel &track) { return track.audioInputDeviceUID == deviceUID; });
}

QList<PlannedAudioDevice> SessionViewModel::projectAudioDevices() const
{
    const QList<AudioInputDevice> &catalogue = m_audioInputCatalog.devices();
    const auto attached = [&](const QString &id) -> const AudioInputDevice * {
        const auto it = std::find_if(catalogue.cbegin(), catalogue.cend(),
                                     [&](const auto &d) { return d.isAttached && d.id == id; });
        return it == catalogue.cend() ? nullptr : &*it;
    };

    QList<PlannedAudioDevice> devices;
    QSet<QString> listed;
    for (const PlannedAudioDevice &planned : m_plannedAudioDevices) {
        const AudioInputDevice *device = attached(planned.id);
        devices.append(device
                           ? PlannedAudioDevice{device->id, device->name, device->inputChannelCount}
                           : planned);
        listed.insert(planned.id);
    }
    for (const AudioInputDevice &device : catalogue) {
        if (device.isAttached && !listed.contains(device.id) && tracksAssignedToDevice(device.id))
            devices.append({device.id, device.name, device.inputChannelCount});
    }
    return devices;
}

} // namespace kelvary
