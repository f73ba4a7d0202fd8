#include "audio/alsacards.h"

#include <alsa/asoundlib.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

// snd-aloop and snd-dummy make cards that only echo other programs or nothing at all; like
// aggregate devices they would offer inputs that are no microphone.
bool isVirtualCard(const AlsaCard &card)
{
    return card.driver == u"Loopback"_s || card.driver == u"Dummy"_s;
}

std::optional<AlsaCard> readCard(int number)
{
    snd_ctl_t *opened = nullptr;
    if (snd_ctl_open(&opened, ("hw:" + QByteArray::number(number)).constData(), SND_CTL_NONBLOCK) <
        0)
        return std::nullopt;
    const std::unique_ptr<snd_ctl_t, decltype(&snd_ctl_close)> ctl(opened, &snd_ctl_close);

    snd_ctl_card_info_t *cardInfo = nullptr;
    snd_ctl_card_info_alloca(&cardInfo);
    if (snd_ctl_card_info(ctl.get(), cardInfo) < 0)
        return std::nullopt;
    AlsaCard card{number,
                  QString::fromUtf8(snd_ctl_card_info_get_id(cardInfo)),
                  QString::fromUtf8(snd_ctl_card_info_get_driver(cardInfo)),
                  QString::fromUtf8(snd_ctl_card_info_get_name(cardInfo)),
                  {}};

    snd_pcm_info_t *pcmInfo = nullptr;
    snd_pcm_info_alloca(&pcmInfo);
    int device = -1;
    while (snd_ctl_pcm_next_device(ctl.get(), &device) >= 0 && device >= 0) {
        snd_pcm_info_set_device(pcmInfo, static_cast<unsigned int>(device));
        snd_pcm_info_set_subdevice(pcmInfo, 0);
        snd_pcm_info_set_stream(pcmInfo, SND_PCM_STREAM_CAPTURE);
        // Fails for a device without a capture stream.
        if (snd_ctl_pcm_info(ctl.get(), pcmInfo) < 0)
            continue;
        card.capturePcms.append({device, QString::fromUtf8(snd_pcm_info_get_name(pcmInfo))});
    }
    return card;
}

} // namespace

QList<AlsaCaptureCandidate> captureCandidates(const QList<AlsaCard> &cards)
{
    QList<AlsaCaptureCandidate> candidates;
    for (const AlsaCard &card : cards) {
        if (isVirtualCard(card))
            continue;
        for (const AlsaCapturePcm &pcm : card.capturePcms) {
            // The name a user also types into a recorder's ALSA settings.
            const QString pcmName = u"hw:CARD=%1,DEV=%2"_s.arg(card.id).arg(pcm.device);
            const QString name =
                card.capturePcms.size() > 1 ? card.name + u" · "_s + pcm.name : card.name;
            const QString hwParamsPath =
                u"/proc/asound/card%1/pcm%2c/sub0/hw_params"_s.arg(card.number).arg(pcm.device);
            candidates.append({pcmName, name, hwParamsPath});
        }
    }
    return candidates;
}

std::optional<QList<AlsaCard>> kernelSoundCards()
{
    QList<AlsaCard> cards;
    int number = -1;
    if (snd_card_next(&number) < 0)
        return std::nullopt;
    while (number >= 0) {
        // A card that cannot be read now (being removed, no permission) is left out.
        if (std::optional<AlsaCard> card = readCard(number))
            cards.append(std::move(*card));
        if (snd_card_next(&number) < 0)
            break;
    }
    return cards;
}

std::optional<QList<AlsaCaptureCandidate>> kernelCaptureCandidates()
{
    const std::optional<QList<AlsaCard>> cards = kernelSoundCards();
    if (!cards)
        return std::nullopt;
    return captureCandidates(*cards);
}

} // namespace kelvary
