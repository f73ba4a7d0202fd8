// Undo and redo: whole-state snapshots taken before each edit, grouped per user gesture.

#include "app/sessionviewmodel.h"

namespace kelvary {

void SessionViewModel::recordUndoSnapshot()
{
    setNameEditUndoTrackIDs({});
    // The history grows in place: copying fifty snapshots for every edit cost more than the edit.
    // The track list is shared with the live session, chunk by chunk, until the edit changes it.
    m_undoSnapshots.append(currentSnapshot());
    if (m_undoSnapshots.size() > undoLimit)
        m_undoSnapshots.remove(0, m_undoSnapshots.size() - undoLimit);
    Q_EMIT undoSnapshotsChanged();
    // A new edit branches off: what undo took back no longer leads anywhere.
    if (!m_redoSnapshots.isEmpty()) {
        m_redoSnapshots.clear();
        Q_EMIT redoSnapshotsChanged();
    }
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

// NOTE: undo moves a step to the redo list and redo moves it back, so the two lists together
// never hold more than undoLimit steps and neither needs trimming here.
void SessionViewModel::undo()
{
    if (m_undoSnapshots.isEmpty())
        return;
    const SessionEditSnapshot snapshot = m_undoSnapshots.takeLast();
    Q_EMIT undoSnapshotsChanged();
    m_redoSnapshots.append(currentSnapshot());
    Q_EMIT redoSnapshotsChanged();
    applySnapshot(snapshot);
}

void SessionViewModel::redo()
{
    if (m_redoSnapshots.isEmpty())
        return;
    const SessionEditSnapshot snapshot = m_redoSnapshots.takeLast();
    Q_EMIT redoSnapshotsChanged();
    m_undoSnapshots.append(currentSnapshot());
    Q_EMIT undoSnapshotsChanged();
    applySnapshot(snapshot);
}

SessionEditSnapshot SessionViewModel::currentSnapshot() const
{
    return {m_session, m_selectedTrackIDs, m_splitStereoChannels, m_plannedAudioDevices,
            m_playbackOutputs};
}

void SessionViewModel::applySnapshot(const SessionEditSnapshot &snapshot)
{
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
    if (!m_redoSnapshots.isEmpty()) {
        m_redoSnapshots.clear();
        Q_EMIT redoSnapshotsChanged();
    }
    setNameEditUndoTrackIDs({});
    setGroupedMutationDepth(0);
}

} // namespace kelvary
