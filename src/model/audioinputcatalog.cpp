#include "model/audioinputcatalog.h"

#include <QSet>

namespace kelvary {

AudioInputCatalog::AudioInputCatalog(QList<AudioInputDevice> devices)
{
    QSet<QString> seen;
    qsizetype channelCount = 0;
    for (AudioInputDevice &device : devices) {
        if (seen.contains(device.id))
            continue;
        seen.insert(device.id);
        channelCount += device.channels.size();
        m_devices.append(std::move(device));
    }

    m_channelLabelByID.reserve(channelCount);
    for (const AudioInputDevice &device : std::as_const(m_devices)) {
        m_channelsByDeviceUID.insert(device.id, device.channels);
        m_deviceNameByUID.insert(device.id, device.name);
        for (const AudioInputChannel &channel : device.channels)
            m_channelLabelByID.insert(channel.id, channel.label);
    }
}

QList<AudioInputChannel>
AudioInputCatalog::monoChannels(const std::optional<QString> &deviceUID) const
{
    QList<AudioInputChannel> mono;
    if (!deviceUID)
        return mono;
    const auto it = m_channelsByDeviceUID.constFind(*deviceUID);
    if (it == m_channelsByDeviceUID.cend())
        return mono;
    for (const AudioInputChannel &channel : *it) {
        if (!channel.isStereoPair)
            mono.append(channel);
    }
    return mono;
}

std::optional<AudioInputChannel> channelWithID(const std::optional<QString> &channelID,
                                               const QList<AudioInputDevice> &devices)
{
    if (!channelID)
        return std::nullopt;
    for (const AudioInputDevice &device : devices) {
        for (const AudioInputChannel &channel : device.channels) {
            if (channel.id == *channelID)
                return channel;
        }
    }
    return std::nullopt;
}

std::optional<AudioInputDevice> deviceWithID(const std::optional<QString> &deviceUID,
                                             const QList<AudioInputDevice> &devices)
{
    if (!deviceUID)
        return std::nullopt;
    for (const AudioInputDevice &device : devices) {
        if (device.id == *deviceUID)
            return device;
    }
    return std::nullopt;
}

qint64 recordInputNumber(const AudioInputChannel &channel, const QList<AudioInputDevice> &devices)
{
    const std::optional<AudioInputDevice> device = deviceWithID(channel.deviceUID, devices);
    const qint64 first = device ? device->firstGlobalInputIndex : 0;
    return first + channel.channelIndex + (channel.isStereoPair ? 1024 : 0);
}

std::optional<QString> dominantDeviceName(const QList<TrackChannel> &tracks,
                                          const QList<AudioInputDevice> &devices)
{
    QHash<QString, qsizetype> counts;
    for (const TrackChannel &track : tracks) {
        if (track.audioInputDeviceUID)
            ++counts[*track.audioInputDeviceUID];
    }
    if (counts.isEmpty())
        return std::nullopt;

    qsizetype largest = 0;
    for (qsizetype count : std::as_const(counts))
        largest = std::max(largest, count);

    // On a tie, a device earlier in the list wins; a most-used id that is not listed gives nothing.
    for (const AudioInputDevice &device : devices) {
        if (counts.value(device.id) == largest)
            return device.name;
    }
    return std::nullopt;
}

} // namespace kelvary
