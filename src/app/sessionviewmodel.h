#pragma once

#include "app/filepanels.h"
#include "app/sessionreportupdate.h"
#include "audio/audioinputdeviceenumerator.h"
#include "export/templateexporter.h"
#include "export/templateexportformat.h"
#include "model/audioinputcatalog.h"
#include "model/playbackoutputs.h"
#include "model/trackchannel.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QUuid>

#include <memory>
#include <optional>

namespace kelvary {

// What undo and redo put back: the session with every track, the selection, the stereo switch,
// the planned interfaces and the playback setting.
struct SessionEditSnapshot {
    ParsedSession session;
    QSet<QUuid> selectedTrackIDs;
    bool splitStereoChannels = false;
    QList<PlannedAudioDevice> plannedAudioDevices;
    PlaybackOutputs playbackOutputs = {};

    bool operator==(const SessionEditSnapshot &) const = default;
};

// One choice of where a sequential assignment may start: "Ch 3–6" starts at index 2.
struct SequentialStartOption {
    qsizetype startIndex = 0;
    QString label;

    bool operator==(const SequentialStartOption &) const = default;
};

// The one owner of everything the user edits: the session, the selection, the audio inputs, the
// status texts and the undo and redo history. Views read its properties and call its operations;
// it never shows a dialog itself.
class SessionViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(kelvary::ParsedSession session READ session NOTIFY sessionChanged)
    Q_PROPERTY(QSet<QUuid> selectedTrackIDs READ selectedTrackIDs WRITE setSelectedTrackIDs NOTIFY
                   selectedTrackIDsChanged)
    Q_PROPERTY(kelvary::TemplateExportFormat exportFormat READ exportFormat WRITE setExportFormat
                   NOTIFY exportFormatChanged)
    Q_PROPERTY(std::optional<QString> statusMessage READ statusMessage NOTIFY statusMessageChanged)
    Q_PROPERTY(std::optional<QString> errorMessage READ errorMessage WRITE setErrorMessage NOTIFY
                   errorMessageChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(kelvary::AudioInputCatalog audioInputCatalog READ audioInputCatalog NOTIFY
                   audioInputCatalogChanged)
    Q_PROPERTY(qint64 audioInputCatalogRevision READ audioInputCatalogRevision NOTIFY
                   audioInputCatalogRevisionChanged)
    Q_PROPERTY(QList<kelvary::PlannedAudioDevice> plannedAudioDevices READ plannedAudioDevices
                   NOTIFY plannedAudioDevicesChanged)
    Q_PROPERTY(kelvary::PlaybackOutputs playbackOutputs READ playbackOutputs WRITE
                   setPlaybackOutputs NOTIFY playbackOutputsChanged)
    Q_PROPERTY(bool splitStereoChannels READ splitStereoChannels WRITE setSplitStereoChannels NOTIFY
                   splitStereoChannelsChanged)
    Q_PROPERTY(
        std::optional<QString> projectFileURL READ projectFileURL NOTIFY projectFileURLChanged)
    Q_PROPERTY(QList<kelvary::SessionEditSnapshot> undoSnapshots READ undoSnapshots NOTIFY
                   undoSnapshotsChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY undoSnapshotsChanged)
    Q_PROPERTY(QList<kelvary::SessionEditSnapshot> redoSnapshots READ redoSnapshots NOTIFY
                   redoSnapshotsChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY redoSnapshotsChanged)
    Q_PROPERTY(bool isModified READ isModified NOTIFY isModifiedChanged)
    Q_PROPERTY(bool isApplyingUndo READ isApplyingUndo NOTIFY isApplyingUndoChanged)
    Q_PROPERTY(
        qint64 groupedMutationDepth READ groupedMutationDepth NOTIFY groupedMutationDepthChanged)
    Q_PROPERTY(QSet<QUuid> nameEditUndoTrackIDs READ nameEditUndoTrackIDs NOTIFY
                   nameEditUndoTrackIDsChanged)

public:
    static constexpr qsizetype undoLimit = 50;

    SessionViewModel(AudioInputDeviceEnumerator audioInputEnumerator,
                     std::shared_ptr<FilePanels> filePanels, QObject *parent = nullptr);
    ~SessionViewModel() override;

    const ParsedSession &session() const { return m_session; }
    const TrackList &tracks() const { return m_session.tracks; }
    const QSet<QUuid> &selectedTrackIDs() const { return m_selectedTrackIDs; }
    TemplateExportFormat exportFormat() const { return m_exportFormat; }
    const std::optional<QString> &statusMessage() const { return m_statusMessage; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    bool isLoading() const { return m_isLoading; }
    const AudioInputCatalog &audioInputCatalog() const { return m_audioInputCatalog; }
    qint64 audioInputCatalogRevision() const { return m_audioInputCatalogRevision; }
    bool splitStereoChannels() const { return m_splitStereoChannels; }
    const PlaybackOutputs &playbackOutputs() const { return m_playbackOutputs; }
    const QList<PlannedAudioDevice> &plannedAudioDevices() const { return m_plannedAudioDevices; }
    const std::optional<QString> &projectFileURL() const { return m_projectFileURL; }
    const QList<SessionEditSnapshot> &undoSnapshots() const { return m_undoSnapshots; }
    bool canUndo() const { return !m_undoSnapshots.isEmpty(); }
    // The steps undo took back, the next one to redo last; a new edit empties it.
    const QList<SessionEditSnapshot> &redoSnapshots() const { return m_redoSnapshots; }
    bool canRedo() const { return !m_redoSnapshots.isEmpty(); }
    // Whether the session, the stereo switch or the planned interfaces differ from what was last
    // imported, opened or saved. The selection is kept in the project but is no edit.
    bool isModified() const { return m_isModified; }
    // The show's name for the window title and the question before it is closed: the project's
    // file name, or before the first save the session name, or "Kelvary".
    QString displayName() const;
    // True while an undo or a redo writes a step back.
    bool isApplyingUndo() const { return m_isApplyingUndo; }
    qint64 groupedMutationDepth() const { return m_groupedMutationDepth; }
    const QSet<QUuid> &nameEditUndoTrackIDs() const { return m_nameEditUndoTrackIDs; }
    const TemplateExporter &exporter() const { return m_exporter; }
    // The lines of the last imported report that start with a channel label but were not read as
    // channels; the import's status counts them. Empty after a project is opened.
    const QStringList &unreadReportLines() const { return m_unreadReportLines; }

    // The views set the selection directly; it records no undo snapshot.
    void setSelectedTrackIDs(const QSet<QUuid> &ids);
    void setErrorMessage(const std::optional<QString> &message);
    void setExportFormat(TemplateExportFormat format);
    // Virtual soundcheck playback belongs to the show: an edit with an undo step, kept in the
    // project. A negative offset is refused with `errorMessage` and changes nothing.
    void setPlaybackOutputs(const PlaybackOutputs &playback);
    // How the Reaper template numbers record inputs; an export setting, not part of the project.
    void setInputNumbering(InputNumbering numbering)
    {
        m_exporter.reaper.inputNumbering = numbering;
    }
    // The Ardour capture port pattern, an app setting: a pattern without an input number is
    // refused with `errorMessage` and changes nothing.
    const QString &ardourCapturePortPattern() const { return m_exporter.ardour.capturePortPattern; }
    bool setArdourCapturePortPattern(const QString &pattern);
    // The Ardour session's sample rate, an export setting the save panel offers beside the ports.
    qint64 ardourSampleRate() const { return m_exporter.ardour.sampleRate; }
    // One of ardourSampleRates; any other rate is refused and changes nothing.
    bool setArdourSampleRate(qint64 rate);

    // Import and open
    void showImportPanel();
    void importSessionReportAt(const QString &location);
    void showOpenPanel();
    void openProjectAt(const QString &location);
    // A file dropped onto the window or named on a command line: a project by its extension, a
    // console file by its extension or, for any other name, by its content.
    void openFile(const QString &location);
    void refreshAudioInputCatalog();

    // A revised report of the loaded show, taken in as one undo step that keeps the engineer's
    // colours, inclusion, order and patch. The preview changes nothing; a report that cannot be
    // read sets `errorMessage` as the import would. The selection keeps what still exists.
    std::optional<QString> chooseRevisedReport();
    std::optional<SessionReportUpdate> previewSessionReportUpdate(const QString &location);
    void applySessionReportUpdate(const SessionReportUpdate &update);
    void updateFromSessionReportAt(const QString &location);

    // Planned interfaces: edits with an undo snapshot each. Adding refuses a bad name or count
    // with `errorMessage`, a name another planned or remembered interface has included; removing
    // one that is not attached clears the assignments to it.
    bool addPlannedAudioDevice(const QString &name, qint64 inputChannelCount);
    void removePlannedAudioDevice(const QString &deviceUID);
    // A new name or input count, refused as adding refuses them. The interface keeps its id, so
    // its tracks and saved projects keep their patch; the tracks `tracksLosingInput` names lose
    // their input in the same undo step.
    bool editPlannedAudioDevice(const QString &deviceUID, const QString &name,
                                qint64 inputChannelCount);
    // The tracks whose input the interface would no longer have with this many inputs, a stereo
    // pair counting as lost when its second input is, in list order.
    TrackList tracksLosingInput(const QString &deviceUID, qint64 inputChannelCount) const;
    qsizetype tracksAssignedToDevice(const QString &deviceUID) const;
    // What the project file keeps: the planned and remembered interfaces, then every attached
    // device a track is assigned to, each attached one as this computer reports it.
    QList<PlannedAudioDevice> projectAudioDevices() const;

    // Assignment as the console routes its recorder (`session().recorderPatch`), one undo step:
    // every track the recorder `recorderID` carries, included or not, records from the input of
    // `deviceUID` with the recorder channel's number; the others are left as they are. Without
    // a device, the interface named after the recorder is used, planned when there is none. A
    // session without the recorder sets `errorMessage` and changes nothing.
    bool assignFromConsoleRecorder(const QString &recorderID,
                                   const std::optional<QString> &deviceUID = std::nullopt);
    const ConsoleRecorder *consoleRecorder(const QString &recorderID) const;
    // The device named after the recorder, which the assignment uses when given none.
    std::optional<QString> recorderDeviceUID(const QString &recorderID) const;

    // Undo and redo
    void recordUndoSnapshot();
    void recordUndoSnapshotIfNeeded();
    void beginGroupedMutation();
    void endGroupedMutation();
    void undo();
    void redo();
    void clearUndoHistory();

    // Track editing
    void renameTrack(const QString &name, const QUuid &trackID);
    // An abandoned rename (Escape in the name field): the track gets `originalName` back, and the
    // undo step its run of keystrokes opened is dropped, so the history reads as if nothing was
    // typed.
    void cancelRename(const QString &originalName, const QUuid &trackID);
    void setIncluded(bool included, const QUuid &trackID);
    void setTrackColor(const RGBColor &color, const QUuid &trackID);
    void moveTrack(const QUuid &draggedID, const QUuid &targetID);
    // Each selected track one place up (negative) or down, past the unselected neighbour; tracks
    // already against the end stay. One undo step; nothing when nothing can move.
    void moveSelectedTracks(int direction);
    void deleteTrack(const QUuid &trackID);
    void setTracksIncluded(bool included, DigicoChannelType type);
    void toggleTypeIncluded(DigicoChannelType type);
    void includeOnlyType(DigicoChannelType type);
    void setColorForType(const RGBColor &color, DigicoChannelType type);
    void restoreDefaultColors();

    qsizetype includedCount() const;
    qsizetype trackCount(DigicoChannelType type) const;
    qsizetype includedCount(DigicoChannelType type) const;
    QSet<QUuid> trackIDs(DigicoChannelType type) const;
    RGBColor colorForType(DigicoChannelType type) const;

    // Stereo split
    void setSplitStereoChannels(bool split);
    bool hasStereoCandidates() const;

    // Input assignment: the three single-track cores record no undo snapshot themselves. A track
    // given a device keeps its place there when the device has it, else takes the first free
    // input (a pair for a stereo track).
    void assignAudioInputDevice(const std::optional<QString> &deviceUID, const QUuid &trackID);
    void assignAudioInputChannel(const std::optional<QString> &channelID, const QUuid &trackID);
    // A single input as a routing grid patches it: a stereo track takes the pair starting there.
    void patchAudioInput(const QString &channelID, const QUuid &trackID);
    void setAudioInputDevice(const std::optional<QString> &deviceUID, const QUuid &trackID);
    void setAudioInputChannel(const std::optional<QString> &channelID, const QUuid &trackID);
    // Both lay the selected tracks over consecutive inputs in list order, a stereo track over
    // two; a layout that does not fit changes nothing and says so in `errorMessage`.
    void assignSelectedToDevice(const QString &deviceUID);
    void assignSequentially(const QString &deviceUID, qsizetype startIndex);

    TrackList selectedTracks() const;
    std::optional<QString> sharedAssignedDeviceUID() const;
    QSet<QUuid> editTargetIDs(const QUuid &trackID) const;
    QList<SequentialStartOption> sequentialStartOptions(const std::optional<QString> &deviceUID,
                                                        const TrackList &tracks) const;

    // Export: always of the included tracks in list order; changes nothing but the two texts.
    void exportTemplate();
    // Asks for the new session's folder, with the capture port pattern and the sample rate beside
    // it, and writes the Ardour session there.
    void exportArdourSession();
    void exportPDF();
    TrackList includedTracks() const;
    QString defaultExportFileName() const;
    QString reaperExportSummary(const QString &location, const TrackList &tracks) const;

    // Project file
    QByteArray makeProjectData() const;
    QByteArray makeProjectData(const QDateTime &moment) const;
    void saveProject();
    void saveProjectAs();

Q_SIGNALS:
    void sessionChanged();
    void selectedTrackIDsChanged();
    void exportFormatChanged();
    void statusMessageChanged();
    void errorMessageChanged();
    void isLoadingChanged();
    void audioInputCatalogChanged();
    void audioInputCatalogRevisionChanged();
    void splitStereoChannelsChanged();
    void playbackOutputsChanged();
    void plannedAudioDevicesChanged();
    void projectFileURLChanged();
    void undoSnapshotsChanged();
    void redoSnapshotsChanged();
    void isModifiedChanged();
    void isApplyingUndoChanged();
    void groupedMutationDepthChanged();
    void nameEditUndoTrackIDsChanged();
    void ardourCapturePortPatternChanged();
    void ardourSampleRateChanged();

private:
    // Setters that announce a change only when the value really changes.
    void setSession(const ParsedSession &session);
    void setTracks(const TrackList &tracks);
    void setStatusMessage(const std::optional<QString> &message);
    void setLoading(bool loading);
    void setAudioInputCatalog(const AudioInputCatalog &catalog);
    void setSplitStereoChannelsValue(bool split);
    void setPlaybackOutputsValue(const PlaybackOutputs &playback);
    void setPlannedAudioDevices(const QList<PlannedAudioDevice> &devices);
    // The attached devices of the last enumeration with the planned ones; no reconciliation.
    void rebuildAudioInputCatalog();
    void setProjectFileURL(const std::optional<QString> &location);
    void setUndoSnapshots(const QList<SessionEditSnapshot> &snapshots);
    void setApplyingUndo(bool applying);
    void setGroupedMutationDepth(qint64 depth);
    void setNameEditUndoTrackIDs(const QSet<QUuid> &ids);

    SessionEditSnapshot currentSnapshot() const;
    // Writes an undo or redo step back: the history lists are the caller's to move.
    void applySnapshot(const SessionEditSnapshot &snapshot);
    // Takes the current state as the one on disk.
    void markSaved();
    void updateModified();

    qsizetype indexOfTrack(const QUuid &trackID) const;
    qsizetype indexOfPlannedDevice(const QString &deviceUID) const;
    // Changes the tracks the predicate picks, in list order, and announces the result once.
    template<typename Predicate, typename Change> void changeTracks(Predicate picks, Change change);
    void reconcileAudioAssignments();
    void includeOnlyInputTracks();
    void moveTracksToDevice(const std::optional<QString> &deviceUID, const QSet<QUuid> &trackIDs);
    void assignSequentialChannels(const QString &deviceUID, const TrackList &tracks,
                                  qsizetype startIndex);
    void showSequentialAssignmentStatus(const QString &deviceUID, qsizetype count,
                                        qsizetype startIndex, qsizetype inputCount);
    // " · N 行未能识别" after a status, when a report left N lines unread.
    static QString unreadLinesNote(const QStringList &unreadLines);
    // The session name made safe for a file name, or "Kelvary", with the extension.
    QString suggestedFileName(const QString &extension) const;
    // The session name, or "Kelvary", made safe for an Ardour session folder's name.
    QString suggestedBaseName() const;
    // Asks where to save the project and writes it there; a failed write is reported after
    // `failurePrefix`.
    void saveProjectThroughPanel(const QByteArray &data, const QString &failurePrefix);

    TemplateExporter m_exporter;
    AudioInputDeviceEnumerator m_audioInputEnumerator;
    std::shared_ptr<FilePanels> m_filePanels;

    ParsedSession m_session;
    QSet<QUuid> m_selectedTrackIDs;
    TemplateExportFormat m_exportFormat = TemplateExportFormat::reaperTrackTemplate;
    std::optional<QString> m_statusMessage;
    std::optional<QString> m_errorMessage;
    bool m_isLoading = false;
    AudioInputCatalog m_audioInputCatalog;
    QList<AudioInputDevice> m_attachedAudioDevices;
    QList<PlannedAudioDevice> m_plannedAudioDevices;
    qint64 m_audioInputCatalogRevision = 0;
    bool m_splitStereoChannels = false;
    PlaybackOutputs m_playbackOutputs;
    std::optional<QString> m_projectFileURL;
    QList<SessionEditSnapshot> m_undoSnapshots;
    QList<SessionEditSnapshot> m_redoSnapshots;
    // The state last imported, opened or saved, without a selection.
    SessionEditSnapshot m_savedState;
    bool m_isModified = false;
    bool m_isApplyingUndo = false;
    qint64 m_groupedMutationDepth = 0;
    QSet<QUuid> m_nameEditUndoTrackIDs;
    QStringList m_unreadReportLines;
};

// Every stereo console channel (label ending in a lowercase "s") as a left and a right track.
TrackList splitStereoTracks(const TrackList &tracks);
// Adjacent left and right sides of one stereo channel joined back into one track.
TrackList mergeStereoTracks(const TrackList &tracks);

} // namespace kelvary

namespace kelvary {

template<typename Predicate, typename Change>
void SessionViewModel::changeTracks(Predicate picks, Change change)
{
    // NOTE: only the changed tracks are compared. Comparing the whole list afterwards, as
    // setTracks() does, cost more than the edit itself on a session of a thousand tracks.
    TrackList tracks = m_session.tracks;
    bool changed = false;
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const TrackChannel &track = std::as_const(tracks)[i];
        if (!picks(track))
            continue;
        TrackChannel edited = track;
        change(edited);
        if (edited == track)
            continue;
        tracks[i] = std::move(edited);
        changed = true;
    }
    if (changed) {
        m_session.tracks = std::move(tracks);
        Q_EMIT sessionChanged();
    }
}

} // namespace kelvary
