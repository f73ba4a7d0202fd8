#include "audio/alsaaudiohardware.h"

#include "audio/alsacards.h"

#include <QFile>

#include <alsa/asoundlib.h>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

void ignoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

// ALSA prints to stderr whenever a probed PCM is busy, absent or playback-only; all of those are
// answers here, not faults, so its messages are held back while probing.
class QuietAlsaErrors {
public:
    QuietAlsaErrors()
        : m_previous(snd_lib_error)
    {
        snd_lib_error_set_handler(&ignoreAlsaError);
    }
    ~QuietAlsaErrors() { snd_lib_error_set_handler(m_previous); }
    QuietAlsaErrors(const QuietAlsaErrors &) = delete;
    QuietAlsaErrors &operator=(const QuietAlsaErrors &) = delete;

private:
    snd_lib_error_handler_t m_previous;
};

constexpr unsigned int preferredRate = 48000;

} // namespace

AlsaAudioHardware::AlsaAudioHardware(AlsaCandidateSource source)
    : m_source(std::move(source))
{
}

std::optional<QList<AudioDeviceHandle>> AlsaAudioHardware::deviceHandles() const
{
    std::optional<QList<AlsaCaptureCandidate>> candidates = m_source();
    if (!candidates) {
        m_candidates.clear();
        return std::nullopt;
    }
    m_candidates = std::move(*candidates);
    QList<AudioDeviceHandle> handles;
    handles.reserve(m_candidates.size());
    for (qsizetype i = 0; i < m_candidates.size(); ++i)
        handles.append(static_cast<AudioDeviceHandle>(i));
    return handles;
}

const AlsaCaptureCandidate *AlsaAudioHardware::candidate(AudioDeviceHandle device) const
{
    if (device >= static_cast<quint64>(m_candidates.size()))
        return nullptr;
    return &m_candidates.at(device);
}

std::optional<QList<qint64>> AlsaAudioHardware::inputBufferChannels(AudioDeviceHandle device) const
{
    const AlsaCaptureCandidate *pcm = candidate(device);
    if (!pcm)
        return std::nullopt;
    std::optional<qint64> channels = probeCaptureChannels(pcm->pcmName);
    // A device another program records from cannot be opened, but it is still there.
    if (!channels && !pcm->hwParamsPath.isEmpty())
        channels = readHwParamsChannels(pcm->hwParamsPath);
    if (!channels)
        return std::nullopt;
    // ALSA hands over all channels of a PCM interleaved in one buffer.
    return QList<qint64>{*channels};
}

std::optional<QString> AlsaAudioHardware::uniqueID(AudioDeviceHandle device) const
{
    const AlsaCaptureCandidate *pcm = candidate(device);
    return pcm ? std::optional(pcm->pcmName) : std::nullopt;
}

std::optional<QString> AlsaAudioHardware::name(AudioDeviceHandle device) const
{
    const AlsaCaptureCandidate *pcm = candidate(device);
    return pcm ? std::optional(pcm->name) : std::nullopt;
}

std::optional<qint64> probeCaptureChannels(const QString &pcmName)
{
    const QuietAlsaErrors quiet;
    snd_pcm_t *opened = nullptr;
    // NOTE: without SND_PCM_NONBLOCK, opening a device in use waits until it is released.
    if (snd_pcm_open(&opened, pcmName.toUtf8().constData(), SND_PCM_STREAM_CAPTURE,
                     SND_PCM_NONBLOCK) < 0)
        return std::nullopt;
    const std::unique_ptr<snd_pcm_t, decltype(&snd_pcm_close)> pcm(opened, &snd_pcm_close);

    snd_pcm_hw_params_t *allocated = nullptr;
    if (snd_pcm_hw_params_malloc(&allocated) < 0)
        return std::nullopt;
    const std::unique_ptr<snd_pcm_hw_params_t, decltype(&snd_pcm_hw_params_free)> params(
        allocated, &snd_pcm_hw_params_free);
    if (snd_pcm_hw_params_any(pcm.get(), params.get()) < 0)
        return std::nullopt;

    // Interfaces with many channels offer fewer of them at higher rates (a MADI card has 64 at
    // 48 kHz, 32 at 96 kHz); a recording is made at 48 kHz unless the device cannot do it.
    if (snd_pcm_hw_params_test_rate(pcm.get(), params.get(), preferredRate, 0) == 0)
        snd_pcm_hw_params_set_rate(pcm.get(), params.get(), preferredRate, 0);

    unsigned int channels = 0;
    if (snd_pcm_hw_params_get_channels_max(params.get(), &channels) < 0 || channels == 0)
        return std::nullopt;
    return static_cast<qint64>(channels);
}

std::optional<qint64> channelsFromHwParams(const QByteArray &text)
{
    // A running stream reads "access: …", "format: …", "channels: 18", …; a stopped one "closed".
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.startsWith("channels:"))
            continue;
        bool ok = false;
        const qint64 channels =
            trimmed.mid(qsizetype(sizeof("channels:") - 1)).trimmed().toLongLong(&ok);
        return ok && channels > 0 ? std::optional(channels) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<qint64> readHwParamsChannels(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return channelsFromHwParams(file.readAll());
}

std::shared_ptr<const AudioHardware> makeSystemAudioHardware()
{
    return std::make_shared<AlsaAudioHardware>(&kernelCaptureCandidates);
}

} // namespace kelvary
