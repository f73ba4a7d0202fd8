// Input assignment: which audio interface input every track records from.

#include "app/sessionviewmodel.h"

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

QString shortageMessage(qsizetype needed, qsizetype startIndex, qsizetype remaining)
{
    return u"输入通道不足：需要 %1 路，从 Ch %2 起仅剩 %3 路。"_s.arg(needed)
        .arg(startIndex + 1)
        .arg(std::max<qsizetype>(remaining, 0));
}

} // namespace

void SessionViewModel::assignAudioInputDevice(const std::optional<QString> &deviceUID,
                                              const QUuid &trackID)
{
    const qsizetype index = indexOfTrack(trackID);
    if (index < 0)
        return;
    TrackList tracks = m_session.tracks;
    TrackChannel &track = tracks[index];
    track.audioInputDeviceUID = deviceUID;
    track.audioInputChannelID.reset();
    if (deviceUID) {
        const QList<AudioInputChannel> mono = m_audioInputCatalog.monoChannels(deviceUID);
        if (!mono.isEmpty())
            track.audioInputChannelID = mono.front().id;
    }
    setTracks(tracks);
}

void SessionViewModel::assignAudioInputChannel(const std::optional<QString> &channelID,
                                               const QUuid &trackID)
{
    const qsizetype index = indexOfTrack(trackID);
    if (index < 0)
        return;
    TrackList tracks = m_session.tracks;
    TrackChannel &track = tracks[index];
    track.audioInputChannelID = channelID;
    // A channel the catalogue does not know keeps the device; the next refresh clears it.
    if (const auto channel = channelWithID(channelID, m_audioInputCatalog.devices()))
        track.audioInputDeviceUID = channel->deviceUID;
    setTracks(tracks);
}

void SessionViewModel::setAudioInputDevice(const std::optional<QString> &deviceUID,
                                           const QUuid &trackID)
{
    beginGroupedMutation();
    for (const QUuid &id : editTargetIDs(trackID))
        assignAudioInputDevice(deviceUID, id);
    endGroupedMutation();
}

void SessionViewModel::setAudioInputChannel(const std::optional<QString> &channelID,
                                            const QUuid &trackID)
{
    beginGroupedMutation();
    for (const QUuid &id : editTargetIDs(trackID))
        assignAudioInputChannel(channelID, id);
    endGroupedMutation();
}

void SessionViewModel::assignSelectedToDevice(const QString &deviceUID)
{
    const TrackList tracks = selectedTracks();
    if (tracks.isEmpty())
        return;
    beginGroupedMutation();
    for (const TrackChannel &track : tracks)
        assignAudioInputDevice(deviceUID, track.id);
    if (assignSequentialChannels(deviceUID, tracks, 0))
        showSequentialAssignmentStatus(deviceUID, tracks.size(), 0);
    endGroupedMutation();
}

void SessionViewModel::assignSequentially(const QString &deviceUID, qsizetype startIndex)
{
    const TrackList tracks = selectedTracks();
    if (tracks.size() < 2)
        return;
    const qsizetype remaining = m_audioInputCatalog.monoChannels(deviceUID).size() - startIndex;
    if (startIndex < 0 || remaining < tracks.size()) {
        setErrorMessage(shortageMessage(tracks.size(), startIndex, remaining));
        return;
    }
    beginGroupedMutation();
    if (assignSequentialChannels(deviceUID, tracks, startIndex))
        showSequentialAssignmentStatus(deviceUID, tracks.size(), startIndex);
    endGroupedMutation();
}

bool SessionViewModel::assignSequentialChannels(const QString &deviceUID, const TrackList &targets,
                                                qsizetype startIndex)
{
    const QList<AudioInputChannel> mono = m_audioInputCatalog.monoChannels(deviceUID);
    const qsizetype remaining = mono.size() - startIndex;
    if (startIndex < 0 || remaining < targets.size()) {
        setErrorMessage(shortageMessage(targets.size(), startIndex, remaining));
        return false;
    }
    TrackList tracks = m_session.tracks;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        for (TrackChannel &track : tracks) {
            if (track.id != targets[i].id)
                continue;
            track.audioInputDeviceUID = deviceUID;
            track.audioInputChannelID = mono[startIndex + i].id;
            break;
        }
    }
    setTracks(tracks);
    return true;
}

void SessionViewModel::showSequentialAssignmentStatus(const QString &deviceUID, qsizetype count,
                                                      qsizetype startIndex)
{
    const qsizetype end = startIndex + count;
    const auto name = m_audioInputCatalog.deviceNameByUID().constFind(deviceUID);
    if (name != m_audioInputCatalog.deviceNameByUID().cend()) {
        setStatusMessage(u"已为 %1 条轨道分配 %2 \u00B7 Ch %3\u2013%4"_s.arg(count)
                             .arg(*name)
                             .arg(startIndex + 1)
                             .arg(end));
    } else {
        setStatusMessage(
            u"已为 %1 条轨道按顺序分配 Ch %2\u2013%3"_s.arg(count).arg(startIndex + 1).arg(end));
    }
}

TrackList SessionViewModel::selectedTracks() const
{
    TrackList tracks;
    for (const TrackChannel &track : m_session.tracks) {
        if (m_selectedTrackIDs.contains(track.id))
            tracks.append(track);
    }
    return tracks;
}

std::optional<QString> SessionViewModel::sharedAssignedDeviceUID() const
{
    std::optional<QString> shared;
    for (const TrackChannel &track : selectedTracks()) {
        if (!track.audioInputDeviceUID)
            continue;
        if (shared && *shared != *track.audioInputDeviceUID)
            return std::nullopt;
        shared = track.audioInputDeviceUID;
    }
    return shared;
}

QSet<QUuid> SessionViewModel::editTargetIDs(const QUuid &trackID) const
{
    if (m_selectedTrackIDs.size() >= 2 && m_selectedTrackIDs.contains(trackID))
        return m_selectedTrackIDs;
    return {trackID};
}

QList<SequentialStartOption>
SessionViewModel::sequentialStartOptions(const std::optional<QString> &deviceUID,
                                         qsizetype count) const
{
    const qsizetype monoCount = m_audioInputCatalog.monoChannels(deviceUID).size();
    QList<SequentialStartOption> options;
    if (count < 2 || monoCount < count)
        return options;
    for (qsizetype start = 1; start <= monoCount - count + 1; ++start)
        options.append({start - 1, u"Ch %1\u2013%2"_s.arg(start).arg(start + count - 1)});
    return options;
}

} // namespace kelvary
