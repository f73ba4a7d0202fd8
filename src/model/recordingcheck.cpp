#include "model/recordingcheck.h"

#include <QHash>
#include <QMap>
#include <QSet>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

QString shownName(const TrackChannel &track)
{
    return track.name.trimmed().isEmpty() ? track.channelLabel : track.name;
}

// "A、B、C", and past five names "A、B、C、D、E 等 8 条".
QString nameList(const QStringList &names)
{
    constexpr qsizetype shown = 5;
    if (names.size() <= shown)
        return names.join(u'、');
    return names.first(shown).join(u'、') + u" 等 %1 条"_s.arg(names.size());
}

QString inputRange(qint64 first, qint64 last)
{
    if (first == last)
        return u"Ch %1"_s.arg(first + 1);
    return u"Ch %1\u2013%2"_s.arg(first + 1).arg(last + 1);
}

} // namespace

RecordingCheck checkRecording(const TrackList &tracks, const QList<AudioInputDevice> &devices)
{
    RecordingCheck check;
    QHash<QString, QMap<qint64, QStringList>> users;
    for (const TrackChannel &track : tracks) {
        const std::optional<AudioInputChannel> channel =
            channelWithID(track.audioInputChannelID, devices);
        if (!channel) {
            check.unassigned.append(shownName(track));
            continue;
        }
        if (track.inputWidth() == 2 && !channel->isStereoPair)
            check.stereoOnOneInput.append(shownName(track));
        const qint64 width = channel->isStereoPair ? 2 : 1;
        for (qint64 k = channel->channelIndex; k < channel->channelIndex + width; ++k)
            users[channel->deviceUID][k].append(shownName(track));
    }
    // Neighbouring inputs shared by the same tracks, as a stereo pair is, are told as one run.
    for (const AudioInputDevice &device : devices) {
        const auto inputs = users.constFind(device.id);
        if (inputs == users.cend())
            continue;
        for (auto input = inputs->cbegin(); input != inputs->cend(); ++input) {
            if (input.value().size() < 2)
                continue;
            if (!check.shared.isEmpty() && check.shared.last().deviceUID == device.id &&
                check.shared.last().lastIndex + 1 == input.key() &&
                check.shared.last().trackNames == input.value()) {
                check.shared.last().lastIndex = input.key();
                continue;
            }
            check.shared.append({device.id, input.key(), input.key(), input.value()});
        }
    }
    return check;
}

QStringList recordingCheckLines(const RecordingCheck &check, const TrackList &tracks,
                                const QList<AudioInputDevice> &devices)
{
    QSet<QString> devicesInUse;
    for (const TrackChannel &track : tracks) {
        if (track.audioInputDeviceUID)
            devicesInUse.insert(*track.audioInputDeviceUID);
    }
    QStringList lines;
    if (!check.unassigned.isEmpty())
        lines.append(u"%1 条轨道未分配输入，已设为不录音：%2"_s.arg(check.unassigned.size())
                         .arg(nameList(check.unassigned)));
    for (const SharedInput &shared : check.shared) {
        QString input = inputRange(shared.firstIndex, shared.lastIndex);
        if (devicesInUse.size() > 1) {
            if (const auto device = deviceWithID(shared.deviceUID, devices))
                input = device->name + u' ' + input;
        }
        lines.append(u"%1 由 %2 条轨道共用：%3"_s.arg(input)
                         .arg(shared.trackNames.size())
                         .arg(nameList(shared.trackNames)));
    }
    if (!check.stereoOnOneInput.isEmpty())
        lines.append(u"%1 条立体声轨道只分配了单个输入：%2"_s.arg(check.stereoOnOneInput.size())
                         .arg(nameList(check.stereoOnOneInput)));
    return lines;
}

QString trackNameList(const TrackList &tracks)
{
    QStringList names;
    for (const TrackChannel &track : tracks)
        names.append(shownName(track));
    return nameList(names);
}

} // namespace kelvary
