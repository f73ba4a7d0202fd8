#pragma once

#include "model/audioinputcatalog.h"
#include "model/playbackoutputs.h"
#include "model/result.h"
#include "model/rgbcolor.h"
#include "model/trackchannel.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kelvary {

// Ardour's own ALSA backend and JACK name the recording interface's inputs so; PipeWire's JACK
// layer names them after the device ("<device>:capture_AUX0", counted from 0).
inline const QString defaultArdourCapturePortPattern = QStringLiteral("system:capture_%n");

inline constexpr std::array ardourSampleRates{44100, 48000, 88200, 96000};
inline constexpr qint64 defaultArdourSampleRate = 48000;
// "44.1 kHz", "48 kHz": the rate as Ardour's own dialogs show it.
QString sampleRateText(qint64 rate);

// Why a capture port pattern cannot name ports, as the user is told; nothing when it can: it
// must hold %n (the input counted from 1) or %i (counted from 0).
std::optional<QString> capturePortPatternProblem(const QString &pattern);

// The pattern with every %n replaced by `inputIndex` + 1 and every %i by `inputIndex`.
QString capturePortName(const QString &pattern, qint64 inputIndex);

// Why a folder name cannot be an Ardour session's name; nothing when it can.
std::optional<QString> ardourSessionNameProblem(const QString &name);

// The names the tracks get in Ardour, in order, for the names wanted for them. Ardour takes a
// name as it is only when the name is unique and no port of its own uses it; a session that
// breaks this does not load, or loads with other names. So, in this order:
// - line breaks, tabs and other control characters become spaces;
// - a colon becomes "-", as Ardour makes it in port names (its dialogs warn against colons);
// - a blank name becomes "Audio", Ardour's name for an unnamed track;
// - a name is cut to 128 UTF-8 bytes, so its port names stay within the audio system's limit;
// - a name Ardour keeps for itself ("Master", "Monitor", "Click", ...) or one an earlier track
//   already has gets " 1", " 2", ..., the first number that leaves it unique, as Ardour numbers
//   names itself.
QStringList ardourTrackNames(const QStringList &wanted);

// One recording track of the session: its name (already made acceptable to Ardour), colour and
// the ports its inputs connect to, one entry per input, empty text for an unconnected input.
struct ArdourTrack {
    QString name;
    RGBColor color;
    QStringList inputConnections;
    // Playback ports, one per input, for a virtual soundcheck; empty: the two outputs feed the
    // master bus.
    QStringList outputConnections = {};

    bool operator==(const ArdourTrack &) const = default;
};

enum class ArdourSessionError { folderNotEmpty, badSessionName };
QString errorMessage(ArdourSessionError error);

// Writes a new Ardour 7 session: the folder Ardour makes for a new session, holding
// "<name>.ardour" with a stereo master bus and one audio track per console channel, inputs on
// the recording interface's capture ports and outputs on the master bus.
struct ArdourSessionExporter {
    QString capturePortPattern = defaultArdourCapturePortPattern;
    qint64 sampleRate = defaultArdourSampleRate;
    // When on, a track with an input plays back to the playback ports of the inputs it records
    // from instead of the master bus.
    PlaybackOutputs playbackOutputs = {};

    // Input tracks carry their name; the others their console label and name ("A1 Reverb").
    QString wantedName(const TrackChannel &track) const;

    // The track as Ardour gets it, its name not yet made acceptable: two inputs for a stereo
    // console channel, one otherwise. The inputs take the assigned inputs in turn, the last one
    // feeding any input left over: a stereo pair feeds a stereo track's two inputs, a single
    // input feeds both; a right side records the second input of a pair. Inputs are counted on
    // their own device, as Reaper records them; an unassigned track connects nothing. With
    // playback on, an assigned track gets one output per input, on the playback port of that
    // input's number plus the offset.
    ArdourTrack ardourTrack(const TrackChannel &track,
                            const QList<AudioInputDevice> &devices) const;

    // The session document in UTF-8, tracks in the given order. Performs no input or output.
    QByteArray makeSession(const QString &sessionName, const QList<ArdourTrack> &tracks) const;

    // Writes the session folder `folder`, named after its last component. A folder that exists
    // and is not empty is refused; the session is built in a temporary sibling folder and renamed
    // into place, so a failure leaves nothing behind.
    Result<void> writeSession(const QString &folder, const QList<ArdourTrack> &tracks) const;

    bool operator==(const ArdourSessionExporter &) const = default;
};

} // namespace kelvary
