#pragma once

#include "model/audioinputcatalog.h"
#include "model/trackchannel.h"

#include <QList>
#include <QString>

#include <optional>

namespace kelvary {

// Virtual soundcheck: every track with an input plays back to the interface output with the
// number of the input it records from, moved on by `offset` for an interface whose playback
// outputs start elsewhere. Off, the templates send every track to the master as before.
struct PlaybackOutputs {
    bool enabled = false;
    qint64 offset = 0;

    bool operator==(const PlaybackOutputs &) const = default;
};

// The inputs of its device a track records from, as its playback mirrors them: both of a pair
// for a track on a pair, else one; a side of a split stereo channel on a pair records the pair's
// input of its side.
struct TrackInputs {
    AudioInputChannel channel;
    qint64 firstIndex = 0;
    qint64 count = 1;

    bool operator==(const TrackInputs &) const = default;
};

std::optional<TrackInputs> trackInputs(const TrackChannel &track,
                                       const QList<AudioInputDevice> &devices);

// The outputs the track plays back to as a channel sheet names them, "Out 5" or "Out 5–6";
// empty when it has no input.
QString playbackOutputLabel(const TrackChannel &track, const QList<AudioInputDevice> &devices,
                            const PlaybackOutputs &playback);

} // namespace kelvary
