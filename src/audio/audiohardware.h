#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kelvary {

// Opaque name of a device for the duration of one enumeration.
using AudioDeviceHandle = quint32;

// The operating system's audio service, reduced to the reads the enumeration needs. Every read can
// fail (nothing), and every call asks the service anew.
class AudioHardware {
public:
    virtual ~AudioHardware() = default;

    // Every device the service knows, in a stable order; nothing when the list cannot be read.
    virtual std::optional<QList<AudioDeviceHandle>> deviceHandles() const = 0;
    // The number of interleaved channels of each input buffer (stream) of the device.
    virtual std::optional<QList<qint64>> inputBufferChannels(AudioDeviceHandle device) const = 0;
    virtual std::optional<QString> uniqueID(AudioDeviceHandle device) const = 0;
    virtual std::optional<QString> name(AudioDeviceHandle device) const = 0;
};

// The audio service of this computer (ALSA's kernel sound cards on Linux).
std::shared_ptr<const AudioHardware> makeSystemAudioHardware();

} // namespace kelvary
