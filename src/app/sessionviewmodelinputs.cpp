// Input assignment: which audio interface input every track records from.

#include "app/sessionviewmodel.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

QString shortageMessage(qsizetype needed, qsizetype startIndex, qsizetype remaining)
{
    return u"输入通道不足：需要 %1 路，从 Ch %2 起仅剩 %3 路。"_s.arg(needed)
        .arg(startIndex + 1)
        .arg(std::max<qsizetype>(remaining, 0));
}

// The inputs `tracks` take laid side by side: a stereo track takes two.
qsizetype inputsNeeded(const TrackList &tracks)
{
    qsizetype needed = 0;
    for (const TrackChannel &track : tracks)
        needed += track.inputWidth();
    return needed;
}

} // namespace

void SessionViewModel::assignAudioInputDevice(const std::optional<QString> &deviceUID,
                                              const QUuid &trackID)
{
    moveTracksToDevice(deviceUID, {trackID});
}

void SessionViewModel::moveTracksToDevice(const std::optional<QString> &deviceUID,
                                          const QSet<QUuid> &trackIDs)
{
    const auto picked = [&](const TrackChannel &track) { return trackIDs.contains(track.id); };
    if (!deviceUID) {
        changeTracks(picked, [](TrackChannel &track) {
            track.audioInputDeviceUID.reset();
            track.audioInputChannelID.reset();
        });
        return;
    }

    const QList<AudioInputDevice> &devices = m_audioInputCatalog.devices();
    const qsizetype inputCount = m_audioInputCatalog.monoChannels(deviceUID).size();
    QList<bool> taken(inputCount, false);
    const auto take = [&](const AudioInputChannel &channel) {
        const qint64 end = channel.channelIndex + (channel.isStereoPair ? 2 : 1);
        for (qint64 k = channel.channelIndex; k < std::min<qint64>(end, inputCount); ++k)
            taken[k] = true;
    };
    // A place the new interface has too is kept, so Ch 7 stays Ch 7 and a pair the same pair;
    // every input the tracks that stay use is taken.
    QHash<QUuid, std::optional<QString>> placed;
    QList<const TrackChannel *> unplaced;
    for (const TrackChannel &track : m_session.tracks) {
        const bool moving = picked(track);
        if (!moving && track.audioInputDeviceUID != deviceUID)
            continue;
        const std::optional<AudioInputChannel> current =
            channelWithID(track.audioInputChannelID, devices);
        if (!moving) {
            if (current && current->deviceUID == *deviceUID)
                take(*current);
            continue;
        }
        const std::optional<AudioInputChannel> same =
            current ? m_audioInputCatalog.inputAt(*deviceUID, current->channelIndex,
                                                  current->isStereoPair)
                    : std::nullopt;
        if (same) {
            placed.insert(track.id, same->id);
            take(*same);
        } else {
            unplaced.append(&track);
        }
    }
    // The others take the first inputs nobody uses, in list order; none when none is left.
    for (const TrackChannel *track : std::as_const(unplaced)) {
        const qint64 width = track->inputWidth();
        std::optional<QString> channelID;
        for (qint64 k = 0; k + width <= inputCount; ++k) {
            if (std::any_of(taken.cbegin() + k, taken.cbegin() + k + width,
                            [](bool used) { return used; }))
                continue;
            if (const auto input = m_audioInputCatalog.inputAt(*deviceUID, k, width == 2)) {
                channelID = input->id;
                take(*input);
                break;
            }
        }
        placed.insert(track->id, channelID);
    }
    changeTracks(picked, [&](TrackChannel &track) {
        track.audioInputDeviceUID = deviceUID;
        track.audioInputChannelID = placed.value(track.id);
    });
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

void SessionViewModel::patchAudioInput(const QString &channelID, const QUuid &trackID)
{
    const qsizetype index = indexOfTrack(trackID);
    if (index < 0)
        return;
    const std::optional<AudioInputChannel> input =
        channelWithID(channelID, m_audioInputCatalog.devices());
    if (!input || input->isStereoPair || m_session.tracks[index].inputWidth() == 1) {
        assignAudioInputChannel(channelID, trackID);
        return;
    }
    // On a device's last input the pair ends there instead: it is the one that holds it.
    const qint64 inputCount = m_audioInputCatalog.monoChannels(input->deviceUID).size();
    const qint64 first = std::min(input->channelIndex, inputCount - 2);
    const std::optional<AudioInputChannel> pair =
        m_audioInputCatalog.inputAt(input->deviceUID, first, true);
    assignAudioInputChannel(pair ? pair->id : channelID, trackID);
}

void SessionViewModel::setAudioInputDevice(const std::optional<QString> &deviceUID,
                                           const QUuid &trackID)
{
    beginGroupedMutation();
    moveTracksToDevice(deviceUID, editTargetIDs(trackID));
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
    assignSequentialChannels(deviceUID, tracks, 0);
}

void SessionViewModel::assignSequentially(const QString &deviceUID, qsizetype startIndex)
{
    const TrackList tracks = selectedTracks();
    if (tracks.size() < 2)
        return;
    assignSequentialChannels(deviceUID, tracks, startIndex);
}

void SessionViewModel::assignSequentialChannels(const QString &deviceUID, const TrackList &targets,
                                                qsizetype startIndex)
{
    // Checked before anything changes: a layout that does not fit changes nothing.
    const qsizetype needed = inputsNeeded(targets);
    const qsizetype remaining = m_audioInputCatalog.monoChannels(deviceUID).size() - startIndex;
    if (startIndex < 0 || remaining < needed) {
        setErrorMessage(shortageMessage(needed, startIndex, remaining));
        return;
    }
    QHash<QUuid, QString> channelOf;
    qint64 next = startIndex;
    for (const TrackChannel &target : targets) {
        const bool pair = target.inputWidth() == 2;
        if (const auto input = m_audioInputCatalog.inputAt(deviceUID, next, pair))
            channelOf.insert(target.id, input->id);
        next += target.inputWidth();
    }
    beginGroupedMutation();
    changeTracks([&](const TrackChannel &track) { return channelOf.contains(track.id); },
                 [&](TrackChannel &track) {
                     track.audioInputDeviceUID = deviceUID;
                     track.audioInputChannelID = channelOf.value(track.id);
                 });
    showSequentialAssignmentStatus(deviceUID, targets.size(), startIndex, needed);
    endGroupedMutation();
}

void SessionViewModel::showSequentialAssignmentStatus(const QString &deviceUID, qsizetype count,
                                                      qsizetype startIndex, qsizetype inputCount)
{
    const qsizetype end = startIndex + inputCount;
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
                                         const TrackList &tracks) const
{
    const qsizetype inputCount = m_audioInputCatalog.monoChannels(deviceUID).size();
    const qsizetype needed = inputsNeeded(tracks);
    QList<SequentialStartOption> options;
    if (tracks.size() < 2 || inputCount < needed)
        return options;
    for (qsizetype start = 1; start <= inputCount - needed + 1; ++start)
        options.append({start - 1, u"Ch %1\u2013%2"_s.arg(start).arg(start + needed - 1)});
    return options;
}

} // namespace kelvary
