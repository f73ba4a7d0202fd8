#pragma once

#include "model/audioinputcatalog.h"
#include "model/playbackoutputs.h"
#include "model/rgbcolor.h"
#include "model/trackchannel.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace kelvary {

// Where Reaper keeps red in a custom track colour. Reaper stores the operating system's native
// colour value: a COLORREF on Windows (red in the lowest byte), while its macOS and Linux builds
// put red in bits 16-23 and blue in the lowest byte.
enum class ReaperColorOrder { redInLowByte, blueInLowByte };

// The order of the Reaper that runs beside this build: templates are made for the local machine.
inline constexpr ReaperColorOrder nativeReaperColorOrder =
#ifdef Q_OS_WIN
    ReaperColorOrder::redInLowByte;
#else
    ReaperColorOrder::blueInLowByte;
#endif

// Makes the GUID of each track; tests pass a fixed sequence.
using GuidSource = std::function<QUuid()>;

// Writes a Reaper track template (.RTrackTemplate): one track per console channel with its name,
// colour, width and hardware record input. Performs no input or output.
struct ReaperTemplateExporter {
    InputNumbering inputNumbering = InputNumbering::recordingDevice;
    // When on, each track with an input sends it to the hardware output of that number.
    PlaybackOutputs playbackOutputs = {};

    // The whole template: the recording-device comment when a device is known, then one block per
    // track in the given order. LF line ends, ending with one line feed.
    QString makeTemplate(const TrackList &tracks, const QList<AudioInputDevice> &devices,
                         ReaperColorOrder order = nativeReaperColorOrder,
                         const GuidSource &newGuid = &QUuid::createUuid) const;

    // One track block, from "<TRACK" to ">" without a final line feed.
    QString trackBlock(const TrackChannel &track, const QList<AudioInputDevice> &devices,
                       const QUuid &guid, ReaperColorOrder order = nativeReaperColorOrder) const;

    // The PEAKCOL number; nothing when the colour has no RGB form.
    std::optional<qint64> peakColorValue(const RGBColor &color,
                                         ReaperColorOrder order = nativeReaperColorOrder) const;

    // Input tracks carry their name; the others their console label and name ("A1 Reverb").
    QString trackName(const TrackChannel &track) const;

    // The hardware input the track records from, counted as `inputNumbering` says; nothing when
    // unassigned or the assigned channel is gone.
    std::optional<qint64> recordInput(const TrackChannel &track,
                                      const QList<AudioInputDevice> &devices) const;

    // The hardware output line of a track that plays back to the input it records from, as
    // Reaper writes it; nothing when the setting is off or the track has no input.
    std::optional<QString> hardwareOutputLine(const TrackChannel &track,
                                              const QList<AudioInputDevice> &devices) const;

    bool operator==(const ReaperTemplateExporter &) const = default;
};

// `text` as one Reaper string token. Reaper has no escape character: it picks a quote the text
// does not contain ("", then '', then ``), and when all three occur it stores the text between
// backquotes with its own backquotes turned into apostrophes. Line breaks become spaces.
QString reaperQuoted(const QString &text);

} // namespace kelvary
