#include "model/recorderpatch.h"

#include <algorithm>

namespace kelvary {

QList<QList<RecorderTrackRef>> deriveRecorderChannels(const QList<QStringList> &carried,
                                                      const QList<RecorderWanted> &tracks)
{
    QList<QList<RecorderTrackRef>> channels(carried.size());
    for (const RecorderWanted &track : tracks) {
        for (qsizetype k = 0; k < carried.size(); ++k) {
            const bool mono = std::any_of(track.mono.cbegin(), track.mono.cend(),
                                          [&](const QString &s) { return carried[k].contains(s); });
            if (mono) {
                channels[k].append({track.label, std::nullopt});
                break;
            }
            const bool pair =
                k + 1 < carried.size() &&
                std::any_of(track.pairs.cbegin(), track.pairs.cend(), [&](const auto &p) {
                    return carried[k].contains(p.first) && carried[k + 1].contains(p.second);
                });
            if (pair) {
                channels[k].append({track.label, StereoChannelSide::left});
                channels[k + 1].append({track.label, StereoChannelSide::right});
                break;
            }
        }
    }
    return channels;
}

std::optional<RecorderInput> recorderInput(const ConsoleRecorder &recorder,
                                           const TrackChannel &track)
{
    for (qsizetype k = 0; k < recorder.channels.size(); ++k) {
        for (const RecorderTrackRef &ref : recorder.channels[k]) {
            if (track.stereoSide) {
                if (track.stereoSourceLabel == ref.label && track.stereoSide == ref.side)
                    return RecorderInput{k, false};
                continue;
            }
            if (track.channelLabel != ref.label)
                continue;
            if (!ref.side)
                return RecorderInput{k, false};
            if (ref.side == StereoChannelSide::left)
                return RecorderInput{k, track.inputWidth() == 2};
        }
    }
    return std::nullopt;
}

} // namespace kelvary
