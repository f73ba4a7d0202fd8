#pragma once

#include "audio/audiohardware.h"
#include "model/audioinputcatalog.h"

#include <QList>

#include <memory>

namespace kelvary {

// Lists the physical audio input devices with their single inputs and stereo pairs, numbered
// across all devices. Holds no state of its own: every call asks the hardware again.
class AudioInputDeviceEnumerator {
public:
    // On this computer's audio service.
    AudioInputDeviceEnumerator();
    explicit AudioInputDeviceEnumerator(std::shared_ptr<const AudioHardware> hardware);

    // Never fails: a failed read leaves out the device it concerns, or every device when the
    // device list itself cannot be read.
    QList<AudioInputDevice> enumerate() const;

private:
    std::shared_ptr<const AudioHardware> m_hardware;
};

} // namespace kelvary
