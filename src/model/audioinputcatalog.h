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

// One audio input device with its single inputs followed by its stereo pairs.
struct AudioInputDevice {
    QString id;
    QString name;
    QList<AudioInputChannel> channels;
    // Inputs of all devices listed before this one: input k is global input first + k.
    qint64 firstGlobalInputIndex = 0;
    qint64 inputChannelCount = 0;

    bool operator==(const AudioInputDevice &) const = default;
};

inline size_t qHash(const AudioInputDevice &device, size_t seed = 0) noexcept
{
    return qHashMulti(seed, device.id, device.name, device.channels, device.firstGlobalInputIndex,
                      device.inputChannelCount);
}

// A snapshot of the attached input devices with lookup tables; never changes once built.
class AudioInputCatalog {
public:
    AudioInputCatalog() = default;
    // Devices with an id seen earlier in the list are left out: ids are keys everywhere.
    explicit AudioInputCatalog(QList<AudioInputDevice> devices);

    const QList<AudioInputDevice> &devices() const { return m_devices; }
    const QHash<QString, QList<AudioInputChannel>> &channelsByDeviceUID() const
    {
        return m_channelsByDeviceUID;
    }
    const QHash<QString, QString> &deviceNameByUID() const { return m_deviceNameByUID; }
    const QHash<QString, QString> &channelLabelByID() const { return m_channelLabelByID; }

    // The device's single inputs in order; empty for an absent or unknown id.
    QList<AudioInputChannel> monoChannels(const std::optional<QString> &deviceUID) const;

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

// The hardware input a recording track uses: global index of the (first) input, plus 1024 for a
// stereo pair.
qint64 recordInputNumber(const AudioInputChannel &channel, const QList<AudioInputDevice> &devices);

// Name of the device most tracks are assigned to; on a tie, the one listed first. Nothing when no
// track has a device, or the most used device is not in the list.
std::optional<QString> dominantDeviceName(const QList<TrackChannel> &tracks,
                                          const QList<AudioInputDevice> &devices);

} // namespace kelvary
