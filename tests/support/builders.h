#pragma once

#include "model/audioinputcatalog.h"
#include "model/trackchannel.h"

#include <QStringList>

namespace kelvary {

// A track as the parser makes it from a report row, in its type's default colour.
inline TrackChannel makeTrack(DigicoChannelType type, const QString &label, const QString &name,
                              const QString &route = {}, const QString &extra = {})
{
    TrackChannel track;
    track.channelType = type;
    track.channelLabel = label;
    track.channelNumber = channelNumberFromLabel(label);
    track.name = name;
    track.inputRoute = route;
    track.extraInfo = extra;
    track.color = defaultColor(type);
    return track;
}

// The track recording from the channel, on the device the channel's id names.
inline TrackChannel onChannel(TrackChannel track, const QString &channelID)
{
    track.audioInputDeviceUID = channelID.section(u':', 0, 0);
    track.audioInputChannelID = channelID;
    return track;
}

// One line per device: id, name, first global input and input count.
inline QStringList deviceSummary(const QList<AudioInputDevice> &devices)
{
    QStringList lines;
    for (const AudioInputDevice &device : devices) {
        lines << QStringLiteral("%1 | %2 | %3 | %4")
                     .arg(device.id, device.name)
                     .arg(device.firstGlobalInputIndex)
                     .arg(device.inputChannelCount);
    }
    return lines;
}

} // namespace kelvary
