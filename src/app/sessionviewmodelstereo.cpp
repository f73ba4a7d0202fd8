// Stereo split: stereo console channels as left/right track pairs, and back.

#include "app/sessionviewmodel.h"

namespace kelvary {

namespace {

bool isSplittable(const TrackChannel &track)
{
    return track.channelLabel.size() >= 2 && track.channelLabel.endsWith(u's') &&
           !track.stereoSourceLabel;
}

QString withoutSideSuffix(const QString &text)
{
    return text.endsWith(u" L") || text.endsWith(u" R") ? text.chopped(2) : text;
}

bool areSidesOfOneChannel(const TrackChannel &left, const TrackChannel &right)
{
    return left.stereoSourceLabel && right.stereoSourceLabel &&
           *left.stereoSourceLabel == *right.stereoSourceLabel &&
           left.stereoSide == StereoChannelSide::left &&
           right.stereoSide == StereoChannelSide::right;
}

TrackChannel mergedSides(const TrackChannel &left, const TrackChannel &right)
{
    TrackChannel merged = left;
    merged.id = QUuid::createUuid();
    merged.channelLabel = *left.stereoSourceLabel;
    merged.name = withoutSideSuffix(left.name);
    merged.inputRoute = withoutSideSuffix(left.inputRoute);
    merged.isIncluded = left.isIncluded || right.isIncluded;
    merged.audioInputDeviceUID =
        left.audioInputDeviceUID ? left.audioInputDeviceUID : right.audioInputDeviceUID;
    merged.audioInputChannelID =
        left.audioInputChannelID ? left.audioInputChannelID : right.audioInputChannelID;
    merged.stereoSourceLabel.reset();
    merged.stereoSide.reset();
    return merged;
}

} // namespace

TrackList splitStereoTracks(const TrackList &tracks)
{
    TrackList result;
    result.reserve(tracks.size());
    for (const TrackChannel &track : tracks) {
        if (!isSplittable(track)) {
            result.append(track);
            continue;
        }
        const QString base = track.channelLabel.chopped(1);
        result.append(track.stereoSideChannel(base, StereoChannelSide::left));
        result.append(track.stereoSideChannel(base, StereoChannelSide::right));
    }
    return result;
}

TrackList mergeStereoTracks(const TrackList &tracks)
{
    TrackList result;
    result.reserve(tracks.size());
    qsizetype i = 0;
    while (i < tracks.size()) {
        if (i + 1 < tracks.size() && areSidesOfOneChannel(tracks[i], tracks[i + 1])) {
            result.append(mergedSides(tracks[i], tracks[i + 1]));
            i += 2;
        } else {
            result.append(tracks[i]);
            ++i;
        }
    }
    return result;
}

void SessionViewModel::setSplitStereoChannels(bool split)
{
    if (split == m_splitStereoChannels)
        return;
    recordUndoSnapshotIfNeeded();
    setSplitStereoChannelsValue(split);
    setTracks(split ? splitStereoTracks(m_session.tracks) : mergeStereoTracks(m_session.tracks));
    // Tracks that were replaced drop out of the selection.
    setSelectedTrackIDs(m_selectedTrackIDs);
}

bool SessionViewModel::hasStereoCandidates() const
{
    if (m_session.tracks.isEmpty())
        return false;
    if (m_splitStereoChannels)
        return true;
    return std::any_of(m_session.tracks.cbegin(), m_session.tracks.cend(), isSplittable);
}

} // namespace kelvary
