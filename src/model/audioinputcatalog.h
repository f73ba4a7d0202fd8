#pragma once

#include "model/trackchannel.h"

#include <QHash>
#include <QHashFunctions>
#include <QList>
#include <QString>

#include <optional>

namespace kelvary {

// One selectable input of a device: a single input, or an adjacent pair used as stereo.
struct AudioInputChannel {
    QString id;
    QString deviceUID;
    qint64 channelIndex = 0;
    QString label;
    bool isStereoPair = false;

    bool operator==(const AudioInputChannel &) const = default;
};

inline size_t qHash(const AudioInputChannel &channel, size_t seed = 0) noexcept
{
    return qHashMulti(seed, channel.id, channel.deviceUID, channel.channelIndex, channel.label,
                      channel.isStereoPair);
}

// One audio input device with its single inputs followed by its adjacent pairs.
struct AudioInputDevice {
    QString id;
    QString name;
    QList<AudioInputChannel> channels;
    // Inputs of all devices listed before this one: input k is global input first + k.
    qint64 firstGlobalInputIndex = 0;
    qint64 inputChannelCount = 0;
    // False for an interface the project knows of but this computer does not have now: one the
    // user planned by hand, or one a saved project remembers.
    bool isAttached = true;

    bool operator==(const AudioInputDevice &) const = default;
};

inline size_t qHash(const AudioInputDevice &device, size_t seed = 0) noexcept
{
    return qHashMulti(seed, device.id, device.name, device.channels, device.firstGlobalInputIndex,
                      device.inputChannelCount, device.isAttached);
}

// The device with its single inputs in index order followed by every adjacent pair (Ch 1–2,
// Ch 2–3, …), labelled "Ch n" and "Ch n–m", as every device of the catalogue is made.
AudioInputDevice makeAudioInputDevice(const QString &id, const QString &name,
                                      qint64 inputChannelCount, qint64 firstGlobalInputIndex = 0);

// An interface that need not be attached: planned by hand for a show prepared away from the rig,
// or remembered by a project from the computer it was saved on. The project file keeps these.
struct PlannedAudioDevice {
    QString id;
    QString name;
    qint64 inputChannelCount = 0;

    bool operator==(const PlannedAudioDevice &) const = default;
};

inline constexpr qint64 maximumPlannedInputCount = 512;

// "planned:" and the name: an id that no audio service gives a real device.
QString plannedDeviceID(const QString &name);
// The id a new planned interface of this name gets: plannedDeviceID(name), or when a renamed
// interface still holds that id, the same with " #2", " #3", ... added.
QString unusedPlannedDeviceID(const QString &name, const QList<PlannedAudioDevice> &existing);
// Why a planned interface of this (trimmed) name and input count cannot join `existing`, or
// replace the one of `editedID` there, as the user is told; nothing when it can.
std::optional<QString> plannedDeviceProblem(const QString &name, qint64 inputChannelCount,
                                            const QList<PlannedAudioDevice> &existing,
                                            const QString &editedID = {});

// A snapshot of the input devices tracks can be assigned to, with lookup tables: the attached
// ones in enumeration order, then the planned and remembered ones that are not attached. Never
// changes once built.
class AudioInputCatalog {
public:
    AudioInputCatalog() = default;
    // Devices with an id seen earlier in the list are left out: ids are keys everywhere. So an
    // attached device wins over a planned or remembered one with its id.
    explicit AudioInputCatalog(QList<AudioInputDevice> attached,
                               const QList<PlannedAudioDevice> &planned = {});

    const QList<AudioInputDevice> &devices() const { return m_devices; }
    const QHash<QString, QList<AudioInputChannel>> &channelsByDeviceUID() const
    {
        return m_channelsByDeviceUID;
    }
    const QHash<QString, QString> &deviceNameByUID() const { return m_deviceNameByUID; }
    const QHash<QString, QString> &channelLabelByID() const { return m_channelLabelByID; }

    qsizetype attachedDeviceCount() const;

    // The device's single inputs in order; empty for an absent or unknown id.
    QList<AudioInputChannel> monoChannels(const std::optional<QString> &deviceUID) const;
    // The single input `index` (from 0) of the device, or the pair that starts there.
    std::optional<AudioInputChannel> inputAt(const QString &deviceUID, qint64 index,
                                             bool pair) const;

    bool operator==(const AudioInputCatalog &other) const { return m_devices == other.m_devices; }

private:
    QList<AudioInputDevice> m_devices;
    QHash<QString, QList<AudioInputChannel>> m_channelsByDeviceUID;
    QHash<QString, QString> m_deviceNameByUID;
    QHash<QString, QString> m_channelLabelByID;
};

std::optional<AudioInputChannel> channelWithID(const std::optional<QString> &channelID,
                                               const QList<AudioInputDevice> &devices);
std::optional<AudioInputDevice> deviceWithID(const std::optional<QString> &deviceUID,
                                             const QList<AudioInputDevice> &devices);
// The device with this id, or else the first one with exactly this name.
std::optional<AudioInputDevice> deviceWithIDOrName(const QString &idOrName,
                                                   const QList<AudioInputDevice> &devices);
// The name as menus show it: a device that is not attached is marked "（未连接）".
QString deviceDisplayName(const AudioInputDevice &device);

// How a recording track names its hardware input. Reaper records from the one device chosen in
// its audio settings and counts that device's inputs from 0, so a track's input is counted on its
// own device. Counting over every device in catalogue order only suits a Reaper whose device
// combines all interfaces in that order.
enum class InputNumbering { recordingDevice, global };

// The hardware input a recording track uses: the index of its (first) input, on its own device or
// over all of them, plus 1024 for a stereo pair.
qint64 recordInputNumber(const AudioInputChannel &channel, const QList<AudioInputDevice> &devices,
                         InputNumbering numbering = InputNumbering::recordingDevice);

// The device most tracks are assigned to, the one a template records from; on a tie, the one
// listed first. Nothing when no track has a device, or the most used device is not in the list.
std::optional<AudioInputDevice> dominantDevice(const TrackList &tracks,
                                               const QList<AudioInputDevice> &devices);
std::optional<QString> dominantDeviceName(const TrackList &tracks,
                                          const QList<AudioInputDevice> &devices);
// Tracks assigned to another device than the dominant one: Reaper does not record them.
qsizetype tracksBesideDominantDevice(const TrackList &tracks,
                                     const QList<AudioInputDevice> &devices);

} // namespace kelvary
