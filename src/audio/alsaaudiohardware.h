#pragma once

#include "audio/audiohardware.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace kelvary {

// One ALSA PCM that may record: what to open, and what to call it.
struct AlsaCaptureCandidate {
    // The name snd_pcm_open takes; it is also the device's unique id.
    QString pcmName;
    QString name;
    // The kernel's view of the PCM's running stream, read when another program holds the device;
    // empty for PCMs that are not kernel devices.
    QString hwParamsPath;

    bool operator==(const AlsaCaptureCandidate &) const = default;
};

// Where candidates come from: the kernel's sound cards in the product, a configuration fixture in
// the tests. Nothing when the list cannot be read.
using AlsaCandidateSource = std::function<std::optional<QList<AlsaCaptureCandidate>>()>;

// Opens and probes the candidates of a source; the handles of a call to deviceHandles() are
// indexes into the candidates read by that call.
class AlsaAudioHardware final : public AudioHardware {
public:
    explicit AlsaAudioHardware(AlsaCandidateSource source);

    std::optional<QList<AudioDeviceHandle>> deviceHandles() const override;
    std::optional<QList<qint64>> inputBufferChannels(AudioDeviceHandle device) const override;
    std::optional<QString> uniqueID(AudioDeviceHandle device) const override;
    std::optional<QString> name(AudioDeviceHandle device) const override;

private:
    const AlsaCaptureCandidate *candidate(AudioDeviceHandle device) const;

    AlsaCandidateSource m_source;
    mutable QList<AlsaCaptureCandidate> m_candidates;
};

// The largest number of capture channels the PCM offers at 48 kHz, or at any rate when it refuses
// 48 kHz; nothing when it cannot be opened or probed. Never waits for a busy device.
std::optional<qint64> probeCaptureChannels(const QString &pcmName);

// The channel count of a running stream in the kernel's hw_params text; nothing for "closed" or
// text without a positive count.
std::optional<qint64> channelsFromHwParams(const QByteArray &text);
std::optional<qint64> readHwParamsChannels(const QString &path);

} // namespace kelvary
