// Undo: whole-state snapshots taken before each edit, grouped per user gesture.

#include "app/sessionviewmodel.h"

namespace kelvary {

void SessionViewModel::recordUndoSnapshot()
{
    setNameEditUndoTrackIDs({});
    // The history grows in place: copying fifty snapshots for every edit cost more than the edit.
    // The track list is shared with the live session, chunk by chunk, until the edit changes it.
    m_undoSnapshots.append({m_session, m_selectedTrackIDs, m_splitStereoChannels,
                            m_plannedAudioDevices, m_playbackOutputs});
    if (m_undoSnapshots.size() > undoLimit)
        m_undoSnapshots.remove(0, m_undoSnapshots.size() - undoLimit);
    Q_EMIT undoSnapshotsChanged();
}

void SessionViewModel::recordUndoSnapshotIfNeeded()
{
    if (!m_isApplyingUndo && m_groupedMutationDepth == 0)
        recordUndoSnapshot();
}

void SessionViewModel::beginGroupedMutation()
{
    if (m_groupedMutationDepth == 0)
        recordUndoSnapshot();
    setGroupedMutationDepth(m_groupedMutationDepth + 1);
}

void SessionViewModel::endGroupedMutation()
{
    setGroupedMutationDepth(std::max<qint64>(m_groupedMutationDepth - 1, 0));
}

void SessionViewModel::undo()
{
    if (m_undoSnapshots.isEmpty())
        return;
    QList<SessionEditSnapshot> snapshots = m_undoSnapshots;
    const SessionEditSnapshot snapshot = snapshots.takeLast();
    setUndoSnapshots(snapshots);

    setApplyingUndo(true);
    setSession(snapshot.session);
    setSelectedTrackIDs(snapshot.selectedTrackIDs);
    // Written directly: the restored list already has the shape that goes with the switch.
    setSplitStereoChannelsValue(snapshot.splitStereoChannels);
    setPlaybackOutputsValue(snapshot.playbackOutputs);
    // The restored assignments were made over these interfaces: nothing to reconcile.
    if (snapshot.plannedAudioDevices != m_plannedAudioDevices) {
        setPlannedAudioDevices(snapshot.plannedAudioDevices);
        rebuildAudioInputCatalog();
    }
    setApplyingUndo(false);
    setNameEditUndoTrackIDs({});
}

void SessionViewModel::clearUndoHistory()
{
    setUndoSnapshots({});
    setNameEditUndoTrackIDs({});
    setGroupedMutationDepth(0);
}

} // namespace kelvary
