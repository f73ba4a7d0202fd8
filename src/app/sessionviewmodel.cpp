#include "app/sessionviewmodel.h"

#include "app/filetypes.h"
#include "app/projectdocument.h"
#include "import/consolefilereader.h"
#include "import/digicosessionparser.h"
#include "import/textdecoding.h"
#include "model/fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

template<typename T> bool assign(T &member, const T &value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

enum class FileContent { project, consoleFile, unknown };

// What a file of no known extension holds: a Kelvary project, something a console file reader
// may take, or bytes that are not text at all (a NUL outside UTF-16 text).
FileContent fileContent(const QString &location)
{
    const Result<QByteArray> bytes = readReportFile(location);
    if (!bytes)
        return FileContent::consoleFile; // the import says why it cannot be read
    const QJsonObject object = QJsonDocument::fromJson(*bytes).object();
    if (object.contains(u"formatVersion") && object.contains(u"tracks"))
        return FileContent::project;
    if (bytes->contains('\0') && !decodeUtf16(*bytes))
        return FileContent::unknown;
    return FileContent::consoleFile;
}

} // namespace

SessionViewModel::SessionViewModel(AudioInputDeviceEnumerator audioInputEnumerator,
                                   std::shared_ptr<FilePanels> filePanels, QObject *parent)
    : QObject(parent)
    , m_audioInputEnumerator(std::move(audioInputEnumerator))
    , m_filePanels(std::move(filePanels))
{
    // Whatever changes what the project keeps passes one of these, an undo step or not: the
    // modified mark follows the state itself rather than the history, so an edit that changed
    // nothing leaves it off and an undo back to the saved state clears it.
    for (const auto changed :
         {&SessionViewModel::sessionChanged, &SessionViewModel::splitStereoChannelsChanged,
          &SessionViewModel::plannedAudioDevicesChanged, &SessionViewModel::playbackOutputsChanged})
        connect(this, changed, this, &SessionViewModel::updateModified);
}

SessionViewModel::~SessionViewModel() = default;

// Setters ------------------------------------------------------------------------------------

void SessionViewModel::setSession(const ParsedSession &session)
{
    if (assign(m_session, session))
        Q_EMIT sessionChanged();
}

void SessionViewModel::setTracks(const TrackList &tracks)
{
    if (assign(m_session.tracks, tracks))
        Q_EMIT sessionChanged();
}

void SessionViewModel::setSelectedTrackIDs(const QSet<QUuid> &ids)
{
    // Only tracks that exist can be selected: every edit of the selection relies on it.
    QSet<QUuid> selection;
    for (const TrackChannel &track : std::as_const(m_session.tracks)) {
        if (ids.contains(track.id))
            selection.insert(track.id);
    }
    if (assign(m_selectedTrackIDs, selection))
        Q_EMIT selectedTrackIDsChanged();
}

void SessionViewModel::setStatusMessage(const std::optional<QString> &message)
{
    if (assign(m_statusMessage, message))
        Q_EMIT statusMessageChanged();
}

void SessionViewModel::setErrorMessage(const std::optional<QString> &message)
{
    if (assign(m_errorMessage, message))
        Q_EMIT errorMessageChanged();
}

void SessionViewModel::setLoading(bool loading)
{
    if (assign(m_isLoading, loading))
        Q_EMIT isLoadingChanged();
}

void SessionViewModel::setAudioInputCatalog(const AudioInputCatalog &catalog)
{
    if (assign(m_audioInputCatalog, catalog))
        Q_EMIT audioInputCatalogChanged();
}

void SessionViewModel::setSplitStereoChannelsValue(bool split)
{
    if (assign(m_splitStereoChannels, split))
        Q_EMIT splitStereoChannelsChanged();
}

void SessionViewModel::setPlaybackOutputsValue(const PlaybackOutputs &playback)
{
    if (assign(m_playbackOutputs, playback))
        Q_EMIT playbackOutputsChanged();
}

void SessionViewModel::setPlannedAudioDevices(const QList<PlannedAudioDevice> &devices)
{
    if (assign(m_plannedAudioDevices, devices))
        Q_EMIT plannedAudioDevicesChanged();
}

void SessionViewModel::setProjectFileURL(const std::optional<QString> &location)
{
    if (assign(m_projectFileURL, location))
        Q_EMIT projectFileURLChanged();
}

void SessionViewModel::setUndoSnapshots(const QList<SessionEditSnapshot> &snapshots)
{
    // Snapshots are compared by identity of their storage: equal lists of different histories
    // still differ for the user, and a deep comparison of 50 sessions would be wasted work.
    if (m_undoSnapshots.size() == snapshots.size() &&
        m_undoSnapshots.constData() == snapshots.constData())
        return;
    m_undoSnapshots = snapshots;
    Q_EMIT undoSnapshotsChanged();
}

void SessionViewModel::setApplyingUndo(bool applying)
{
    if (assign(m_isApplyingUndo, applying))
        Q_EMIT isApplyingUndoChanged();
}

void SessionViewModel::setGroupedMutationDepth(qint64 depth)
{
    if (assign(m_groupedMutationDepth, depth))
        Q_EMIT groupedMutationDepthChanged();
}

void SessionViewModel::setNameEditUndoTrackIDs(const QSet<QUuid> &ids)
{
    if (assign(m_nameEditUndoTrackIDs, ids))
        Q_EMIT nameEditUndoTrackIDsChanged();
}

void SessionViewModel::markSaved()
{
    m_savedState = {m_session, {}, m_splitStereoChannels, m_plannedAudioDevices, m_playbackOutputs};
    updateModified();
}

void SessionViewModel::updateModified()
{
    // Cheap while little has changed: track chunks still shared with the saved state compare
    // equal without looking inside.
    const bool modified = m_session != m_savedState.session ||
                          m_splitStereoChannels != m_savedState.splitStereoChannels ||
                          m_plannedAudioDevices != m_savedState.plannedAudioDevices ||
                          m_playbackOutputs != m_savedState.playbackOutputs;
    if (assign(m_isModified, modified))
        Q_EMIT isModifiedChanged();
}

QString SessionViewModel::displayName() const
{
    if (m_projectFileURL)
        return QFileInfo(*m_projectFileURL).fileName();
    return m_session.sessionName.isEmpty() ? u"Kelvary"_s : m_session.sessionName;
}

qsizetype SessionViewModel::indexOfTrack(const QUuid &trackID) const
{
    for (qsizetype i = 0; i < m_session.tracks.size(); ++i) {
        if (m_session.tracks[i].id == trackID)
            return i;
    }
    return -1;
}

// Import and open ----------------------------------------------------------------------------

void SessionViewModel::showImportPanel()
{
    const std::optional<QString> location =
        m_filePanels->chooseFileToOpen({u"导入调音台文件"_s, {consoleFileType}});
    if (location)
        importSessionReportAt(*location);
}

void SessionViewModel::importSessionReportAt(const QString &location)
{
    setLoading(true);
    setErrorMessage(std::nullopt);
    setStatusMessage(std::nullopt);

    QStringList unreadLines;
    Result<ParsedSession> parsed = readConsoleFileAt(location, &unreadLines);
    if (!parsed) {
        setErrorMessage(parsed.error().message());
        setLoading(false);
        return;
    }
    const qsizetype trackCount = parsed->tracks.size();
    m_unreadReportLines = unreadLines;

    clearUndoHistory();
    setProjectFileURL(std::nullopt);
    setSplitStereoChannelsValue(false);
    setPlaybackOutputsValue({});
    // A new report is a new show: the interfaces planned for the last one do not carry over.
    setPlannedAudioDevices({});
    // The new session and its inclusion rule are announced as one change: input channels, and of
    // those only the ones the reader includes (a scene's unnamed strips start left out).
    ParsedSession session = std::move(parsed).value();
    for (TrackChannel &track : session.tracks)
        track.isIncluded = track.isIncluded && track.channelType == DigicoChannelType::input;
    setSession(session);
    setSelectedTrackIDs({});
    // The inclusion rule and the reconciliation are part of reading the report, not edits.
    refreshAudioInputCatalog();
    markSaved();

    setStatusMessage(u"已加载 %1 条通道 \u00B7 %2 个音频输入设备"_s.arg(trackCount)
                         .arg(m_audioInputCatalog.attachedDeviceCount()) +
                     unreadLinesNote(unreadLines));
    setLoading(false);
}

void SessionViewModel::showOpenPanel()
{
    const std::optional<QString> location =
        m_filePanels->chooseFileToOpen({u"打开 Kelvary 工程"_s, {projectFileType}});
    if (location)
        openProjectAt(*location);
}

void SessionViewModel::openProjectAt(const QString &location)
{
    setLoading(true);
    setErrorMessage(std::nullopt);
    setStatusMessage(std::nullopt);

    Result<ProjectDocumentSnapshot> document = [&]() -> Result<ProjectDocumentSnapshot> {
        const Result<QByteArray> bytes = readWholeFile(location);
        if (!bytes)
            return bytes.error();
        return readProjectDocument(*bytes);
    }();
    if (!document) {
        setErrorMessage(u"打开失败："_s + document.error().message());
        setLoading(false);
        return;
    }

    clearUndoHistory();
    m_unreadReportLines.clear();
    setProjectFileURL(location);
    setSession(document->session);
    setSplitStereoChannelsValue(document->splitStereoChannels);
    setPlannedAudioDevices(document->plannedAudioDevices);
    setPlaybackOutputsValue(document->playbackOutputs);

    // Texts that are not UUIDs are skipped; ids of no track are dropped by the setter.
    QSet<QUuid> selection;
    for (const QString &text : document->selectedTrackIDs)
        selection.insert(QUuid::fromString(text));
    setSelectedTrackIDs(selection);
    // NOTE: the reconciliation may drop assignments of the file to interfaces it does not list
    // and this computer does not have. Only a file written by hand holds those; dropping them is
    // part of reading it, not an unsaved change.
    refreshAudioInputCatalog();
    markSaved();

    setStatusMessage(u"已打开工程："_s + QFileInfo(location).fileName());
    setLoading(false);
}

QString SessionViewModel::unreadLinesNote(const QStringList &unreadLines)
{
    if (unreadLines.isEmpty())
        return {};
    return u" \u00B7 %1 行未能识别"_s.arg(unreadLines.size());
}

void SessionViewModel::openFile(const QString &location)
{
    const QString extension = QFileInfo(location).suffix().toLower();
    const FileContent content = extension == u"kvp" ? FileContent::project
                                : consoleFileType.extensions.contains(extension)
                                    ? FileContent::consoleFile
                                    : fileContent(location);
    switch (content) {
    case FileContent::project:
        openProjectAt(location);
        break;
    case FileContent::consoleFile:
        importSessionReportAt(location);
        break;
    case FileContent::unknown:
        setErrorMessage(u"请打开 Kelvary 工程文件（.kvp）或调音台文件"
                        "（.rtf/.txt/.scn/.snap/.csv/.tsv）。"_s);
        break;
    }
}

void SessionViewModel::refreshAudioInputCatalog()
{
    m_attachedAudioDevices = m_audioInputEnumerator.enumerate();
    rebuildAudioInputCatalog();
    reconcileAudioAssignments();
}

void SessionViewModel::rebuildAudioInputCatalog()
{
    setAudioInputCatalog(AudioInputCatalog(m_attachedAudioDevices, m_plannedAudioDevices));
    ++m_audioInputCatalogRevision;
    Q_EMIT audioInputCatalogRevisionChanged();
}

// Only assignments to devices and channels that are neither attached nor planned are cleared, so
// a project opened away from the rig keeps its patch.
void SessionViewModel::reconcileAudioAssignments()
{
    const QList<AudioInputDevice> &devices = m_audioInputCatalog.devices();
    TrackList tracks = m_session.tracks;
    for (TrackChannel &track : tracks) {
        if (track.audioInputDeviceUID && !deviceWithID(track.audioInputDeviceUID, devices)) {
            track.audioInputDeviceUID.reset();
            track.audioInputChannelID.reset();
        } else if (track.audioInputChannelID &&
                   !channelWithID(track.audioInputChannelID, devices)) {
            track.audioInputChannelID.reset();
        }
    }
    setTracks(tracks);
}

} // namespace kelvary
