#include "app/sessionreportupdate.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

// A console channel as the update tells it apart: labels are unique within one type's list, and
// a split side is its stereo channel's label with the side.
struct ChannelKey {
    DigicoChannelType type = DigicoChannelType::input;
    QString label;
    int side = -1; // -1 for a whole channel, else the StereoChannelSide

    bool operator==(const ChannelKey &) const = default;
};

size_t qHash(const ChannelKey &key, size_t seed = 0) noexcept
{
    return qHashMulti(seed, int(key.type), key.label, key.side);
}

ChannelKey keyOf(const TrackChannel &track)
{
    if (track.stereoSourceLabel && track.stereoSide)
        return {track.channelType, *track.stereoSourceLabel, int(*track.stereoSide)};
    return {track.channelType, track.channelLabel, -1};
}

bool isSplittable(const TrackChannel &channel)
{
    return channel.channelLabel.size() >= 2 && channel.isStereoConsoleChannel();
}

// The tracks an import would make of the channel.
TrackList newTracks(const TrackChannel &channel, bool splitStereo)
{
    TrackChannel track = channel;
    track.isIncluded = channel.isIncluded && channel.channelType == DigicoChannelType::input;
    if (!splitStereo || !isSplittable(track))
        return {track};
    const QString base = track.channelLabel.chopped(1);
    return {track.stereoSideChannel(base, StereoChannelSide::left),
            track.stereoSideChannel(base, StereoChannelSide::right)};
}

QString routeText(const QString &route)
{
    return route.isEmpty() ? u"—"_s : route;
}

} // namespace

QString SessionReportUpdate::summary() const
{
    return u"已更新：新增 %1 · 删除 %2 · 改名 %3 · 改输入 %4 · 保留 %5"_s.arg(added.size())
        .arg(removed.size())
        .arg(renamed.size())
        .arg(rerouted.size())
        .arg(keptCount);
}

QStringList SessionReportUpdate::changeLines() const
{
    QStringList lines;
    for (const SessionReportChange &change : added)
        lines << u"新增 %1 %2"_s.arg(change.channelLabel, change.after);
    for (const SessionReportChange &change : removed)
        lines << u"删除 %1 %2"_s.arg(change.channelLabel, change.before);
    for (const SessionReportChange &change : renamed)
        lines << u"改名 %1 %2 → %3"_s.arg(change.channelLabel, change.before, change.after);
    for (const SessionReportChange &change : rerouted)
        lines << u"改输入 %1 %2 → %3"_s.arg(change.channelLabel, routeText(change.before),
                                            routeText(change.after));
    return lines;
}

SessionReportUpdate updateSession(const ParsedSession &current, const ParsedSession &revised,
                                  bool splitStereo)
{
    SessionReportUpdate update;

    // What each channel of the revised report makes of a track, by the key that finds the track.
    QHash<ChannelKey, TrackChannel> revisedByKey;
    for (const TrackChannel &channel : revised.tracks) {
        revisedByKey.insert(keyOf(channel), channel);
        if (isSplittable(channel)) {
            const QString base = channel.channelLabel.chopped(1);
            for (StereoChannelSide side : {StereoChannelSide::left, StereoChannelSide::right})
                revisedByKey.insert({channel.channelType, channel.channelLabel, int(side)},
                                    channel.stereoSideChannel(base, side));
        }
    }

    TrackList tracks;
    tracks.reserve(current.tracks.size() + revised.tracks.size());
    QSet<ChannelKey> keptChannels; // whole channels, by their unsided key
    for (const TrackChannel &track : current.tracks) {
        const ChannelKey key = keyOf(track);
        const auto found = revisedByKey.constFind(key);
        if (found == revisedByKey.cend()) {
            update.removed.append({track.channelLabel, track.name, {}});
            continue;
        }
        TrackChannel kept = track;
        kept.name = found->name;
        kept.inputRoute = found->inputRoute;
        kept.extraInfo = found->extraInfo;
        kept.channelNumber = found->channelNumber;
        if (kept.name != track.name)
            update.renamed.append({track.channelLabel, track.name, kept.name});
        if (kept.inputRoute != track.inputRoute)
            update.rerouted.append({track.channelLabel, track.inputRoute, kept.inputRoute});
        keptChannels.insert({key.type, key.label, -1});
        tracks.append(kept);
        ++update.keptCount;
    }

    // New channels follow the last track of the nearest kept channel before them, or one another.
    QHash<ChannelKey, QUuid> lastTrackOfChannel;
    for (const TrackChannel &track : std::as_const(tracks)) {
        const ChannelKey key = keyOf(track);
        lastTrackOfChannel.insert({key.type, key.label, -1}, track.id);
    }
    const auto indexOf = [&](const QUuid &id) {
        for (qsizetype i = 0; i < tracks.size(); ++i) {
            if (tracks[i].id == id)
                return i;
        }
        return qsizetype(-1);
    };
    std::optional<QUuid> anchor;
    for (const TrackChannel &channel : revised.tracks) {
        const ChannelKey key = keyOf(channel);
        if (keptChannels.contains(key)) {
            anchor = lastTrackOfChannel.value(key);
            continue;
        }
        qsizetype at = anchor ? indexOf(*anchor) + 1 : 0;
        for (const TrackChannel &track : newTracks(channel, splitStereo)) {
            tracks.insert(at++, track);
            update.added.append({track.channelLabel, {}, track.name});
            update.addedTrackIDs.append(track.id);
            anchor = track.id;
        }
    }

    update.session = revised;
    update.session.tracks = std::move(tracks);
    return update;
}

} // namespace kelvary
