#pragma once

#include "model/chunkedlist.h"
#include "model/rgbcolor.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <array>
#include <optional>

namespace kelvary {

// Which channel list of a Session Report a row came from.
enum class DigicoChannelType { input, aux, group, matrix, other };

inline constexpr std::array allChannelTypes{DigicoChannelType::input, DigicoChannelType::aux,
                                            DigicoChannelType::group, DigicoChannelType::matrix,
                                            DigicoChannelType::other};

// "Input", "Aux", "Group", "Matrix", "Other": the form every file uses.
QString channelTypeText(DigicoChannelType type);
// Exact, case-sensitive match of one of the five texts.
std::optional<DigicoChannelType> channelTypeFromText(const QString &text);
RGBColor defaultColor(DigicoChannelType type);
// "In", "Aux", "Grp", "Mtx", "—": the type in a narrow column (table badge, channel sheet).
QString channelTypeAbbreviation(DigicoChannelType type);

// The side of a split stereo channel.
enum class StereoChannelSide { left, right };

// "L" or "R".
QString stereoSideText(StereoChannelSide side);
std::optional<StereoChannelSide> stereoSideFromText(const QString &text);

// A track a recorder channel carries, named by label (and side for one leg of a stereo track)
// so the name survives the stereo split and a revised file.
struct RecorderTrackRef {
    QString label;
    std::optional<StereoChannelSide> side;

    bool operator==(const RecorderTrackRef &) const = default;
};

// One recorder of a console (the X32's card, the WING's USB, card or module): what each of its
// channels carries, channel k + 1 at index k. A channel carries no track, or the tracks that
// take it (more than one when one input feeds two strips).
struct ConsoleRecorder {
    QString id;   // "card", "usb", "module": as the command line names it
    QString name; // "X32/M32 Card": the planned interface made for it
    QList<QList<RecorderTrackRef>> channels;

    bool operator==(const ConsoleRecorder &) const = default;
};

// The console's recorders as the file routes them; empty for a file that says nothing of them.
using ConsoleRecorderPatch = QList<ConsoleRecorder>;

// One console channel, which becomes one recording track.
struct TrackChannel {
    QUuid id = QUuid::createUuid();
    QString channelLabel;
    qint64 channelNumber = 0;
    QString name;
    DigicoChannelType channelType = DigicoChannelType::input;
    QString inputRoute;
    QString extraInfo;
    RGBColor color = defaultColor(DigicoChannelType::input);
    bool isIncluded = true;
    std::optional<QString> audioInputDeviceUID;
    std::optional<QString> audioInputChannelID;
    std::optional<QString> stereoSourceLabel;
    std::optional<StereoChannelSide> stereoSide;

    bool operator==(const TrackChannel &) const = default;

    // A console channel whose label ends in a lowercase "s" (3s, A4s) is stereo.
    bool isStereoConsoleChannel() const { return channelLabel.endsWith(u's'); }
    // How many adjacent inputs the track records from: a stereo console channel needs two.
    qint64 inputWidth() const { return isStereoConsoleChannel() ? 2 : 1; }

    // One side of this stereo channel, as the stereo split makes it.
    TrackChannel stereoSideChannel(const QString &baseLabel, StereoChannelSide side) const;
};

// The tracks of a session: shared chunk by chunk between copies, so an undo snapshot costs little.
using TrackList = ChunkedList<TrackChannel>;

// The console session: header facts as the report states them, and its channels in report order.
struct ParsedSession {
    QString sessionName;
    QString consoleName;
    QString sourceFileName;
    QString saveTime;
    QString softwareVersion;
    TrackList tracks;
    // The console's recorder routing, from a scene or snapshot; empty for other files.
    ConsoleRecorderPatch recorderPatch = {};

    bool operator==(const ParsedSession &) const = default;
};

// The numeric characters of a label read as a decimal number: "A10s" gives 10; 0 when there are
// none or they are not a valid decimal integer (too large, fractions, superscripts).
qint64 channelNumberFromLabel(const QString &label);

// `text` with the side letter in place of any trailing " L" or " R"; the bare letter for an empty
// text when `bareLetterWhenEmpty` is set.
QString sideSuffixed(const QString &text, StereoChannelSide side, bool bareLetterWhenEmpty);

// A UUID as it leaves memory: 36 characters, uppercase hexadecimal digits, no braces.
QString uuidText(const QUuid &id);

} // namespace kelvary
