#include "model/audioinputcatalog.h"

#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary {

AudioInputDevice makeAudioInputDevice(const QString &id, const QString &name,
                                      qint64 inputChannelCount, qint64 firstGlobalInputIndex)
{
    const qint64 count = inputChannelCount;
    AudioInputDevice device{id, name, {}, firstGlobalInputIndex, count};
    device.channels.reserve(2 * count);
    for (qint64 k = 0; k < count; ++k)
        device.channels.append(
            {id + u':' + QString::number(k), id, k, u"Ch "_s + QString::number(k + 1), false});
    // Every adjacent pair, Ch 2–3 as well as Ch 1–2: Reaper and Ardour record from any of them,
    // and a stereo source patched on the desk rarely starts on an odd input.
    for (qint64 k = 0; k + 1 < count; ++k)
        device.channels.append(
            {id + u":stereo:"_s + QString::number(k), id, k,
             u"Ch "_s + QString::number(k + 1) + u'\u2013' + QString::number(k + 2), true});
    return device;
}

QString plannedDeviceID(const QString &name)
{
    return u"planned:"_s + name;
}

QString unusedPlannedDeviceID(const QString &name, const QList<PlannedAudioDevice> &existing)
{
    const auto taken = [&](const QString &id) {
        return std::any_of(existing.cbegin(), existing.cend(),
                           [&](const PlannedAudioDevice &device) { return device.id == id; });
    };
    QString id = plannedDeviceID(name);
    for (int n = 2; taken(id); ++n)
        id = plannedDeviceID(name) + u" #"_s + QString::number(n);
    return id;
}

std::optional<QString> plannedDeviceProblem(const QString &name, qint64 inputChannelCount,
                                            const QList<PlannedAudioDevice> &existing,
                                            const QString &editedID)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return u"请输入设备名称。"_s;
    if (inputChannelCount < 1 || inputChannelCount > maximumPlannedInputCount)
        return u"输入数应为 1 到 %1 之间的整数。"_s.arg(maximumPlannedInputCount);
    // Names, not ids: a renamed interface keeps the id of its first name.
    for (const PlannedAudioDevice &device : existing) {
        if (device.id != editedID && device.name == trimmed)
            return u"已有名为“%1”的计划设备。"_s.arg(trimmed);
    }
    return std::nullopt;
}

AudioInputCatalog::AudioInputCatalog(QList<AudioInputDevice> attached,
                                     const QList<PlannedAudioDevice> &planned)
{
    QSet<QString> seen;
    qsizetype channelCount = 0;
    qint64 inputCount = 0;
    const auto keep = [&](AudioInputDevice &&device) {
        if (seen.contains(device.id))
            return;
        seen.insert(device.id);
        channelCount += device.channels.size();
        inputCount = device.firstGlobalInputIndex + device.inputChannelCount;
        m_devices.append(std::move(device));
    };
    for (AudioInputDevice &device : attached)
        keep(std::move(device));
    // They follow the attached inputs in the global numbering.
    for (const PlannedAudioDevice &plan : planned) {
        AudioInputDevice device =
            makeAudioInputDevice(plan.id, plan.name, plan.inputChannelCount, inputCount);
        device.isAttached = false;
        keep(std::move(device));
    }

    m_channelLabelByID.reserve(channelCount);
    for (const AudioInputDevice &device : std::as_const(m_devices)) {
        m_channelsByDeviceUID.insert(device.id, device.channels);
        m_deviceNameByUID.insert(device.id, device.name);
        for (const AudioInputChannel &channel : device.channels)
            m_channelLabelByID.insert(channel.id, channel.label);
    }
}

qsizetype AudioInputCatalog::attachedDeviceCount() const
{
    return std::count_if(m_devices.cbegin(), m_devices.cend(),
                         [](const AudioInputDevice &device) { return device.isAttached; });
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

std::optional<AudioInputChannel> AudioInputCatalog::inputAt(const QString &deviceUID, qint64 index,
                                                            bool pair) const
{
    for (const AudioInputChannel &channel : m_channelsByDeviceUID.value(deviceUID)) {
        if (channel.channelIndex == index && channel.isStereoPair == pair)
            return channel;
    }
    return std::nullopt;
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

std::optional<AudioInputDevice> deviceWithIDOrName(const QString &idOrName,
                                                   const QList<AudioInputDevice> &devices)
{
    if (std::optional<AudioInputDevice> device = deviceWithID(idOrName, devices))
        return device;
    for (const AudioInputDevice &device : devices) {
        if (device.name == idOrName)
            return device;
    }
    return std::nullopt;
}

QString deviceDisplayName(const AudioInputDevice &device)
{
    return device.isAttached ? device.name : device.name + u"（未连接）"_s;
}

qint64 recordInputNumber(const AudioInputChannel &channel, const QList<AudioInputDevice> &devices,
                         InputNumbering numbering)
{
    qint64 first = 0;
    if (numbering == InputNumbering::global) {
        if (const std::optional<AudioInputDevice> device = deviceWithID(channel.deviceUID, devices))
            first = device->firstGlobalInputIndex;
    }
    return first + channel.channelIndex + (channel.isStereoPair ? 1024 : 0);
}

std::optional<AudioInputDevice> dominantDevice(const TrackList &tracks,
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
            return device;
    }
    return std::nullopt;
}

std::optional<QString> dominantDeviceName(const TrackList &tracks,
                                          const QList<AudioInputDevice> &devices)
{
    if (std::optional<AudioInputDevice> device = dominantDevice(tracks, devices))
        return device->name;
    return std::nullopt;
}

qsizetype tracksBesideDominantDevice(const TrackList &tracks,
                                     const QList<AudioInputDevice> &devices)
{
    const std::optional<AudioInputDevice> dominant = dominantDevice(tracks, devices);
    if (!dominant)
        return 0;
    return std::count_if(tracks.begin(), tracks.end(), [&](const TrackChannel &track) {
        return track.audioInputDeviceUID && *track.audioInputDeviceUID != dominant->id;
    });
}

} // namespace kelvary
