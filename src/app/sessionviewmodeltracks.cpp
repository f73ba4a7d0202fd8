// Track editing: rename, include, colour, reorder, delete, and the per-type operations.

#include "app/sessionviewmodel.h"

namespace kelvary {

void SessionViewModel::renameTrack(const QString &name, const QUuid &trackID)
{
    const qsizetype index = indexOfTrack(trackID);
    if (index < 0)
        return;
    // One undo step per run of keystrokes in one track's name.
    if (!m_nameEditUndoTrackIDs.contains(trackID)) {
        recordUndoSnapshotIfNeeded();
        setNameEditUndoTrackIDs(m_nameEditUndoTrackIDs + QSet<QUuid>{trackID});
    }
    TrackList tracks = m_session.tracks;
    tracks[index].name = name;
    setTracks(tracks);
}

void SessionViewModel::cancelRename(const QString &originalName, const QUuid &trackID)
{
    const qsizetype index = indexOfTrack(trackID);
    if (index < 0)
        return;
    if (m_nameEditUndoTrackIDs.contains(trackID) && !m_undoSnapshots.isEmpty()) {
        // The run's step is the last one: any other edit since would have closed the run.
        m_undoSnapshots.removeLast();
        Q_EMIT undoSnapshotsChanged();
        setNameEditUndoTrackIDs({});
    } else if (m_session.tracks.at(index).name != originalName) {
        // The typed name came back by a redo: putting the old one back is an edit of its own.
        renameTrack(originalName, trackID);
        setNameEditUndoTrackIDs({});
        return;
    }
    TrackList tracks = m_session.tracks;
    tracks[index].name = originalName;
    setTracks(tracks);
}

void SessionViewModel::setIncluded(bool included, const QUuid &trackID)
{
    const qsizetype index = indexOfTrack(trackID);
    if (index < 0)
        return;
    recordUndoSnapshotIfNeeded();
    TrackList tracks = m_session.tracks;
    tracks[index].isIncluded = included;
    setTracks(tracks);
}

void SessionViewModel::setTrackColor(const RGBColor &color, const QUuid &trackID)
{
    beginGroupedMutation();
    const QSet<QUuid> targets = editTargetIDs(trackID);
    // One track is told by its id alone: hashing every id of a long session cost more than the
    // edit.
    const bool onlyOne = targets.size() == 1;
    changeTracks(
        [&](const TrackChannel &track) {
            return onlyOne ? track.id == trackID : targets.contains(track.id);
        },
        [&](TrackChannel &track) { track.color = color; });
    endGroupedMutation();
}

void SessionViewModel::moveTrack(const QUuid &draggedID, const QUuid &targetID)
{
    if (draggedID == targetID)
        return;
    const qsizetype from = indexOfTrack(draggedID);
    const qsizetype to = indexOfTrack(targetID);
    if (from < 0 || to < 0)
        return;
    recordUndoSnapshotIfNeeded();
    // The dragged track takes the target's place; the tracks between shift towards its old one.
    TrackList tracks = m_session.tracks;
    tracks.move(from, to);
    setTracks(tracks);
}

void SessionViewModel::moveSelectedTracks(int direction)
{
    if (direction == 0 || m_selectedTrackIDs.isEmpty())
        return;
    TrackList tracks = m_session.tracks;
    const qsizetype count = tracks.size();
    const int step = direction < 0 ? -1 : 1;
    bool moved = false;
    // Walking from the end the tracks move towards, each selected track swaps with an unselected
    // neighbour; a block of selected tracks pressed against that end stays where it is.
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype i = step < 0 ? k : count - 1 - k;
        const qsizetype neighbour = i + step;
        if (neighbour < 0 || neighbour >= count)
            continue;
        if (m_selectedTrackIDs.contains(tracks.at(i).id) &&
            !m_selectedTrackIDs.contains(tracks.at(neighbour).id)) {
            tracks.move(i, neighbour);
            moved = true;
        }
    }
    if (!moved)
        return;
    recordUndoSnapshotIfNeeded();
    setTracks(tracks);
}

void SessionViewModel::deleteTrack(const QUuid &trackID)
{
    if (indexOfTrack(trackID) < 0)
        return;
    recordUndoSnapshotIfNeeded();
    TrackList tracks = m_session.tracks;
    tracks.removeIf([&](const TrackChannel &track) { return track.id == trackID; });
    setTracks(tracks);
    QSet<QUuid> selection = m_selectedTrackIDs;
    selection.remove(trackID);
    setSelectedTrackIDs(selection);
}

void SessionViewModel::setTracksIncluded(bool included, DigicoChannelType type)
{
    recordUndoSnapshotIfNeeded();
    changeTracks([type](const TrackChannel &track) { return track.channelType == type; },
                 [included](TrackChannel &track) { track.isIncluded = included; });
}

void SessionViewModel::toggleTypeIncluded(DigicoChannelType type)
{
    const qsizetype count = trackCount(type);
    setTracksIncluded(count == 0 || includedCount(type) < count, type);
}

void SessionViewModel::includeOnlyType(DigicoChannelType type)
{
    recordUndoSnapshotIfNeeded();
    changeTracks([](const TrackChannel &) { return true; },
                 [type](TrackChannel &track) { track.isIncluded = track.channelType == type; });
}

void SessionViewModel::setColorForType(const RGBColor &color, DigicoChannelType type)
{
    recordUndoSnapshotIfNeeded();
    changeTracks([type](const TrackChannel &track) { return track.channelType == type; },
                 [&color](TrackChannel &track) { track.color = color; });
}

void SessionViewModel::restoreDefaultColors()
{
    recordUndoSnapshotIfNeeded();
    changeTracks([](const TrackChannel &) { return true; },
                 [](TrackChannel &track) { track.color = defaultColor(track.channelType); });
}

qsizetype SessionViewModel::includedCount() const
{
    return std::count_if(m_session.tracks.cbegin(), m_session.tracks.cend(),
                         [](const TrackChannel &track) { return track.isIncluded; });
}

qsizetype SessionViewModel::trackCount(DigicoChannelType type) const
{
    return std::count_if(m_session.tracks.cbegin(), m_session.tracks.cend(),
                         [type](const TrackChannel &track) { return track.channelType == type; });
}

qsizetype SessionViewModel::includedCount(DigicoChannelType type) const
{
    return std::count_if(m_session.tracks.cbegin(), m_session.tracks.cend(),
                         [type](const TrackChannel &track) {
                             return track.channelType == type && track.isIncluded;
                         });
}

QSet<QUuid> SessionViewModel::trackIDs(DigicoChannelType type) const
{
    QSet<QUuid> ids;
    for (const TrackChannel &track : m_session.tracks) {
        if (track.channelType == type)
            ids.insert(track.id);
    }
    return ids;
}

RGBColor SessionViewModel::colorForType(DigicoChannelType type) const
{
    std::optional<RGBColor> common;
    for (const TrackChannel &track : m_session.tracks) {
        if (track.channelType != type)
            continue;
        if (!common)
            common = track.color;
        else if (track.color != *common)
            return defaultColor(type);
    }
    return common.value_or(defaultColor(type));
}

} // namespace kelvary
