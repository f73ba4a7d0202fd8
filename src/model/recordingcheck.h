#pragma once

#include "model/audioinputcatalog.h"
#include "model/trackchannel.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvary {

// One run of inputs of a device that two or more tracks record from.
struct SharedInput {
    QString deviceUID;
    qint64 firstIndex = 0;
    qint64 lastIndex = 0;
    QStringList trackNames;

    bool operator==(const SharedInput &) const = default;
};

// What a recording of these tracks will not capture as the engineer may think: tracks without an
// input (written disarmed), inputs that several tracks share, stereo tracks on a single input.
struct RecordingCheck {
    QStringList unassigned;
    QList<SharedInput> shared;
    QStringList stereoOnOneInput;

    bool operator==(const RecordingCheck &) const = default;
};

RecordingCheck checkRecording(const TrackList &tracks, const QList<AudioInputDevice> &devices);

// One line for each finding, as an export reports them: "Ch 5 由 2 条轨道共用：OH、Keys". Inputs
// are named with their device when the tracks record from more than one.
QStringList recordingCheckLines(const RecordingCheck &check, const TrackList &tracks,
                                const QList<AudioInputDevice> &devices);

// The tracks named as the findings name them, "OH、Keys", and past five "A、B、C、D、E 等 8 条"; a
// track without a name by its channel label.
QString trackNameList(const TrackList &tracks);

} // namespace kelvary
