#include "model/playbackoutputs.h"

using namespace Qt::StringLiterals;

namespace kelvary {

std::optional<TrackInputs> trackInputs(const TrackChannel &track,
                                       const QList<AudioInputDevice> &devices)
{
    const std::optional<AudioInputChannel> channel =
        channelWithID(track.audioInputChannelID, devices);
    if (!channel)
        return std::nullopt;
    if (!channel->isStereoPair)
        return TrackInputs{*channel, channel->channelIndex, 1};
    if (!track.stereoSide)
        return TrackInputs{*channel, channel->channelIndex, 2};
    const qint64 side = track.stereoSide == StereoChannelSide::right ? 1 : 0;
    return TrackInputs{*channel, channel->channelIndex + side, 1};
}

QString playbackOutputLabel(const TrackChannel &track, const QList<AudioInputDevice> &devices,
                            const PlaybackOutputs &playback)
{
    const std::optional<TrackInputs> inputs = trackInputs(track, devices);
    if (!inputs)
        return {};
    const qint64 first = inputs->firstIndex + 1 + playback.offset;
    if (inputs->count == 1)
        return u"Out %1"_s.arg(first);
    return u"Out %1\u2013%2"_s.arg(first).arg(first + inputs->count - 1);
}

} // namespace kelvary
