#include "audio/audioinputdeviceenumerator.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

qint64 inputChannelCount(const AudioHardware &hardware, AudioDeviceHandle device)
{
    const std::optional<QList<qint64>> buffers = hardware.inputBufferChannels(device);
    qint64 count = 0;
    if (buffers) {
        for (qint64 channels : *buffers)
            count += channels;
    }
    return count;
}

// Aggregate devices combine other devices' inputs; listing them would offer an input twice.
bool isAggregate(const AudioHardware &hardware, AudioDeviceHandle device)
{
    const QString id = hardware.uniqueID(device).value_or(QString()).toLower();
    const QString name = hardware.name(device).value_or(QString()).toLower();
    return id.contains(u"aggregate"_s) || name.contains(u"aggregate"_s);
}

} // namespace

AudioInputDeviceEnumerator::AudioInputDeviceEnumerator()
    : AudioInputDeviceEnumerator(makeSystemAudioHardware())
{
}

AudioInputDeviceEnumerator::AudioInputDeviceEnumerator(
    std::shared_ptr<const AudioHardware> hardware)
    : m_hardware(std::move(hardware))
{
}

QList<AudioInputDevice> AudioInputDeviceEnumerator::enumerate() const
{
    const AudioHardware &hardware = *m_hardware;
    const std::optional<QList<AudioDeviceHandle>> handles = hardware.deviceHandles();
    if (!handles)
        return {};

    QList<AudioDeviceHandle> inputDevices;
    for (AudioDeviceHandle device : *handles) {
        if (inputChannelCount(hardware, device) >= 1 && !isAggregate(hardware, device))
            inputDevices.append(device);
    }

    // NOTE: the second pass reads everything again, because a device may change or vanish
    // between the reads; one dropped here must not leave a gap in the global input numbers.
    QList<AudioInputDevice> devices;
    qint64 firstGlobalInputIndex = 0;
    for (AudioDeviceHandle device : std::as_const(inputDevices)) {
        const std::optional<QString> id = hardware.uniqueID(device);
        if (!id || id->isEmpty())
            continue;
        const std::optional<QString> name = hardware.name(device);
        if (!name || name->isEmpty())
            continue;
        const qint64 count = inputChannelCount(hardware, device);
        if (count < 1)
            continue;
        devices.append(makeAudioInputDevice(*id, *name, count, firstGlobalInputIndex));
        firstGlobalInputIndex += count;
    }
    return devices;
}

} // namespace kelvary
