#include "export/reapertemplateexporter.h"
#include "export/textfilewriter.h"
#include "support/builders.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QList<AudioInputDevice> twoDevices = {
    makeAudioInputDevice(u"dvs"_s, u"Dante Virtual Soundcard"_s, 8, 0),
    makeAudioInputDevice(u"usb"_s, u"USB 声卡"_s, 2, 8),
};

TrackChannel input(const QString &label, const QString &name)
{
    return makeTrack(DigicoChannelType::input, label, name);
}

// GUIDs differ on every export; golden files hold this placeholder instead.
QString maskedGuids(QString text)
{
    static const QRegularExpression guid(
        u"\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}"_s);
    return text.replace(guid, u"{GUID}"_s);
}

} // namespace

TEST(ReaperTemplate, MatchesTheGoldenTemplateOfAMixedSession)
{
    TrackChannel keys = onChannel(input(u"3s"_s, u"Keys"_s), u"dvs:stereo:2"_s);
    TrackChannel talkback =
        onChannel(makeTrack(DigicoChannelType::other, u"O1"_s, u"Talkback"_s), u"gone:3"_s);
    talkback.color.red = std::numeric_limits<double>::quiet_NaN();
    TrackChannel guitar = onChannel(input(u"5 L"_s, u"Gtr L"_s), u"dvs:4"_s);
    guitar.color = colorFromHex(u"#FF8000"_s);
    const TrackList tracks = {
        onChannel(input(u"1"_s, u"Kick"_s), u"dvs:0"_s),
        onChannel(input(u"2"_s, u"Snare \"Top\""_s), u"dvs:1"_s),
        keys,
        onChannel(makeTrack(DigicoChannelType::aux, u"A1"_s, u"Reverb"_s), u"usb:1"_s),
        onChannel(makeTrack(DigicoChannelType::group, u"G2s"_s, u"Drums"_s), u"usb:stereo:0"_s),
        makeTrack(DigicoChannelType::matrix, u"M1"_s, u"PA \\ Fill"_s),
        talkback,
        guitar,
        input(u"6"_s, u"主唱"_s),
    };
    const QString text =
        ReaperTemplateExporter().makeTemplate(tracks, twoDevices, ReaperColorOrder::blueInLowByte);

    // Through the file writer, so the golden bytes are what lands on disk.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Show.RTrackTemplate"_s);
    ASSERT_TRUE(writeTextFile(path, text).ok());
    EXPECT_EQ(maskedGuids(QString::fromUtf8(fileBytes(path))).toUtf8(),
              fixtureBytes(u"export/mixed-session.RTrackTemplate"_s));
}

TEST(ReaperTemplate, GivesEveryTrackAFreshGuidOnBothOfItsLines)
{
    const TrackList tracks = {input(u"1"_s, u"A"_s), input(u"2"_s, u"B"_s)};
    static const QRegularExpression block(
        u"<TRACK \\{([0-9A-F-]{36})\\}\\n(?:.*\\n)*?  TRACKID \\{([0-9A-F-]{36})\\}\\n>"_s);
    QStringList guids;
    for (int run = 0; run < 2; ++run) {
        const QString text = ReaperTemplateExporter().makeTemplate(tracks, {});
        for (const QRegularExpressionMatch &match : block.globalMatch(text)) {
            EXPECT_EQ(match.captured(1), match.captured(2));
            guids.append(match.captured(1));
        }
    }
    guids.removeDuplicates();
    EXPECT_EQ(guids.size(), 4) << "two tracks exported twice, four GUIDs";
}

TEST(ReaperTemplate, QuotesNamesTheWayReaperReadsThem)
{
    const std::pair<QString, QString> cases[] = {
        {u"Kick"_s, u"\"Kick\""_s},
        {u"C:\\Mics\\"_s, u"\"C:\\Mics\\\""_s},
        {u"Snare \"Top\""_s, u"'Snare \"Top\"'"_s},
        {u"Tom's \"Rack\""_s, u"`Tom's \"Rack\"`"_s},
        {u"'\"`"_s, u"`'\"'`"_s},
        {u"Line\nTwo\r\nThree\rFour"_s, u"\"Line Two Three Four\""_s},
    };
    // Reaper reads a quoted string up to the next occurrence of its opening quote character.
    for (const auto &[name, quoted] : cases)
        EXPECT_EQ(reaperQuoted(name), quoted) << name.toStdString();
}

TEST(ReaperTemplate, WritesPeakColourInTheByteOrderOfTheLocalReaper)
{
    const ReaperTemplateExporter exporter;
    const RGBColor blue = defaultColor(DigicoChannelType::input); // #8CBFF2
    EXPECT_EQ(exporter.peakColorValue(blue, ReaperColorOrder::blueInLowByte), 26001394);
    EXPECT_EQ(exporter.peakColorValue(blue, ReaperColorOrder::redInLowByte),
              0x1000000 | 0xF2 << 16 | 0xBF << 8 | 0x8C);
    // Aux rounds 178.5 up to 179 (0xB3) before it is packed.
    EXPECT_EQ(exporter.peakColorValue(defaultColor(DigicoChannelType::aux),
                                      ReaperColorOrder::blueInLowByte),
              0x1B38CE6);

    RGBColor broken = blue;
    broken.blue = std::numeric_limits<double>::infinity();
    EXPECT_EQ(exporter.peakColorValue(broken, ReaperColorOrder::redInLowByte), std::nullopt);
}

TEST(ReaperTemplate, RecordsFromTheInputOnTheRecordingDeviceOrOverAllDevices)
{
    // A laptop lists its built-in microphone first; the show's interface comes second.
    const QList<AudioInputDevice> laptop = {
        makeAudioInputDevice(u"mic"_s, u"Built-in Audio"_s, 2, 0),
        makeAudioInputDevice(u"usb"_s, u"Stage Box"_s, 32, 2),
    };
    AudioInputDevice orphanHolder = makeAudioInputDevice(u"dvs"_s, u"Dante"_s, 8, 0);
    orphanHolder.channels.append({u"lost:stereo:4"_s, u"lost"_s, 4, u"Ch 5\u20136"_s, true});
    struct Case {
        QList<AudioInputDevice> devices;
        QString channel;
        std::optional<qint64> onItsDevice;
        std::optional<qint64> overAllDevices;
    };
    for (const Case &c : {
             Case{laptop, u"usb:0"_s, 0, 2},
             Case{laptop, u"usb:stereo:4"_s, 1028, 1030},
             Case{laptop, u"mic:1"_s, 1, 1},
             Case{twoDevices, u"dvs:stereo:6"_s, 1030, 1030},
             // A channel whose device is not listed counts from 0 either way.
             Case{{orphanHolder}, u"lost:stereo:4"_s, 1028, 1028},
             // Nothing to record from: the track is written disarmed.
             Case{laptop, u"gone:3"_s, std::nullopt, std::nullopt},
         }) {
        SCOPED_TRACE(c.channel.toStdString());
        // The channel's own device counts, not the one the track names.
        TrackChannel track = onChannel(input(u"1"_s, u"x"_s), c.channel);
        track.audioInputDeviceUID = u"mic"_s;
        EXPECT_EQ(ReaperTemplateExporter().recordInput(track, c.devices), c.onItsDevice);
        EXPECT_EQ(ReaperTemplateExporter{.inputNumbering = InputNumbering::global}.recordInput(
                      track, c.devices),
                  c.overAllDevices);
    }
}

TEST(ReaperTemplate, NamesTheMostUsedDeviceInTheCommentLine)
{
    const QList<AudioInputDevice> devices = {
        makeAudioInputDevice(u"a"_s, u"Stage \"A\" \\ Rack\nLeft"_s, 4, 0),
        makeAudioInputDevice(u"b"_s, u"Booth"_s, 2, 4),
    };
    const TrackList tracks = {
        onChannel(input(u"1"_s, u"One"_s), u"a:0"_s),
        onChannel(input(u"2"_s, u"Two"_s), u"b:0"_s),
        onChannel(input(u"3"_s, u"Three"_s), u"a:1"_s),
    };
    EXPECT_TRUE(
        ReaperTemplateExporter()
            .makeTemplate(tracks, devices)
            .startsWith(u"; Kelvary recording_device=\"Stage 'A' \\\\ Rack Left\"\n<TRACK {"_s));
}

TEST(ReaperTemplate, PlaysEachTrackBackToTheOutputOfTheInputItRecordsFrom)
{
    const auto side = [](const QString &channel, StereoChannelSide s) {
        TrackChannel track = onChannel(input(u"3 L"_s, u"Keys"_s), channel);
        track.stereoSide = s;
        return track;
    };
    const struct {
        const char *name;
        TrackChannel track;
        qint64 offset;
        InputNumbering numbering;
        QString line; // empty: none
    } cases[] = {
        {"mono", onChannel(input(u"1"_s, u"Kick"_s), u"dvs:4"_s), 0,
         InputNumbering::recordingDevice, u"  HWOUT 1028 3 1 0 0 0 1024 -1:U -1"_s},
        {"stereo", onChannel(input(u"3s"_s, u"Keys"_s), u"dvs:stereo:5"_s), 0,
         InputNumbering::recordingDevice, u"  HWOUT 5 3 1 0 0 0 0 -1:U -1"_s},
        {"left side of a pair", side(u"dvs:stereo:2"_s, StereoChannelSide::left), 0,
         InputNumbering::recordingDevice, u"  HWOUT 1026 3 1 0 0 0 1024 -1:U -1"_s},
        {"right side of a pair", side(u"dvs:stereo:2"_s, StereoChannelSide::right), 0,
         InputNumbering::recordingDevice, u"  HWOUT 1027 3 1 0 0 0 1024 -1:U -1"_s},
        {"offset", onChannel(input(u"3s"_s, u"Keys"_s), u"dvs:stereo:2"_s), 8,
         InputNumbering::recordingDevice, u"  HWOUT 10 3 1 0 0 0 0 -1:U -1"_s},
        {"global numbering", onChannel(input(u"1"_s, u"Kick"_s), u"usb:1"_s), 2,
         InputNumbering::global, u"  HWOUT 1035 3 1 0 0 0 1024 -1:U -1"_s},
        {"unassigned", input(u"2"_s, u"Snare"_s), 0, InputNumbering::recordingDevice, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ReaperTemplateExporter exporter{c.numbering, {true, c.offset}};
        const QString text = maskedGuids(exporter.makeTemplate({c.track}, twoDevices));
        // Where Reaper writes its hardware outputs: after TRACKID, last in the block.
        const QString line = c.line.isEmpty() ? QString() : c.line + u'\n';
        EXPECT_TRUE(text.endsWith(u"  TRACKID {GUID}\n"_s + line + u">\n"_s)) << text.toStdString();
        EXPECT_EQ(text.count(u"HWOUT"_s), line.isEmpty() ? 0 : 1);

        exporter.playbackOutputs.enabled = false;
        EXPECT_FALSE(exporter.makeTemplate({c.track}, twoDevices).contains(u"HWOUT"_s));
    }
}
