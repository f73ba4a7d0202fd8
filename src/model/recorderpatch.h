#pragma once

#include "model/trackchannel.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvary {

// What a track wants a recorder channel to carry: any of `mono` on one channel, or the left and
// right signal of one of `pairs` on two adjacent channels. Signals are the reader's own keys.
struct RecorderWanted {
    QString label;
    QStringList mono;
    QList<std::pair<QString, QString>> pairs;
};

// Gives every wanted track the lowest channel (or pair) of `carried` that carries it.
QList<QList<RecorderTrackRef>> deriveRecorderChannels(const QList<QStringList> &carried,
                                                      const QList<RecorderWanted> &tracks);

// The input (from 0) a track records from on the recorder, and whether it is the pair there:
// a stereo track named with its left leg takes the pair, a side of a split stereo track the leg
// of its side, any other track the one channel. Nothing when the recorder does not carry it.
struct RecorderInput {
    qint64 index = 0;
    bool pair = false;

    bool operator==(const RecorderInput &) const = default;
};
std::optional<RecorderInput> recorderInput(const ConsoleRecorder &recorder,
                                           const TrackChannel &track);

} // namespace kelvary
