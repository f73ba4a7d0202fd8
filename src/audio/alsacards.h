#pragma once

#include "audio/alsaaudiohardware.h"

#include <QList>
#include <QString>

#include <optional>

namespace kelvary {

// A capture PCM device of a sound card.
struct AlsaCapturePcm {
    int device = 0;
    QString name;

    bool operator==(const AlsaCapturePcm &) const = default;
};

// A kernel sound card as its control interface describes it.
struct AlsaCard {
    int number = 0;
    QString id;
    QString driver;
    QString name;
    QList<AlsaCapturePcm> capturePcms;

    bool operator==(const AlsaCard &) const = default;
};

// One candidate per capture PCM of the physical cards, addressed by the card's id, which unlike
// its number stays the same across boots.
QList<AlsaCaptureCandidate> captureCandidates(const QList<AlsaCard> &cards);

// The kernel's sound cards with their capture PCM devices; nothing when they cannot be listed.
std::optional<QList<AlsaCard>> kernelSoundCards();

// The candidates of the kernel's sound cards: the product's candidate source.
std::optional<QList<AlsaCaptureCandidate>> kernelCaptureCandidates();

} // namespace kelvary
