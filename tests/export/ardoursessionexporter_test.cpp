#include "export/ardoursessionexporter.h"
#include "support/builders.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

TEST(ArdourSessionExporter, NamesTracksSoArdourKeepsEveryName)
{
    const QString drums = QString(200, u'鼓');
    const QString emoji = QString(u"🥁"_s).repeated(40);
    const struct {
        QStringList wanted;
        QStringList names;
    } cases[] = {
        {{u"Kick \"In\""_s, u"主唱"_s, u" Pad "_s}, {u"Kick \"In\""_s, u"主唱"_s, u" Pad "_s}},
        {{u"Talk:Back"_s, u"Line\r\nTwo\tThree"_s}, {u"Talk-Back"_s, u"Line Two Three"_s}},
        {{QString(), u"  "_s}, {u"Audio"_s, u"Audio 1"_s}},
        {{u"Master"_s, u"Click"_s, u"Monitor"_s, u"master"_s},
         {u"Master 1"_s, u"Click 1"_s, u"Monitor 1"_s, u"master"_s}},
        // A number is never one a later track has as its own name.
        {{u"Gtr"_s, u"Gtr"_s, u"Gtr 1"_s, u"A:1"_s, u"A-1"_s},
         {u"Gtr"_s, u"Gtr 2"_s, u"Gtr 1"_s, u"A-1"_s, u"A-1 1"_s}},
        // Cut to 128 UTF-8 bytes, a character never halved.
        {{drums, emoji}, {drums.left(42), emoji.left(64)}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ardourTrackNames(c.wanted), c.names) << c.wanted.join(u'|').toStdString();
}

TEST(ArdourSessionExporter, CapturePortPatternsNeedAnInputNumber)
{
    EXPECT_EQ(capturePortName(u"system:capture_%n"_s, 0), u"system:capture_1"_s);
    EXPECT_EQ(capturePortName(u"UFX:capture_AUX%i"_s, 0), u"UFX:capture_AUX0"_s);
    EXPECT_EQ(capturePortPatternProblem(u"x:in_%i"_s), std::nullopt);
    for (const QString &bad : {QString(), u"system:capture_"_s, u"system:capture_%N"_s})
        EXPECT_TRUE(capturePortPatternProblem(bad)) << bad.toStdString();
}

TEST(ArdourSessionExporter, PlaybackTakesOneOutputPerInputOnThePlaybackPorts)
{
    const QList<AudioInputDevice> devices{makeAudioInputDevice(u"ufx"_s, u"UFX"_s, 24)};
    ArdourSessionExporter exporter;
    exporter.playbackOutputs = {true, 10};
    TrackChannel keys =
        onChannel(makeTrack(DigicoChannelType::input, u"3s"_s, u"Keys"_s), u"ufx:stereo:12"_s);
    TrackChannel right = keys.stereoSideChannel(u"3"_s, StereoChannelSide::right);
    TrackChannel spare = makeTrack(DigicoChannelType::input, u"4"_s, u"Spare"_s);
    EXPECT_EQ(exporter.ardourTrack(keys, devices).outputConnections,
              (QStringList{u"system:playback_23"_s, u"system:playback_24"_s}));
    EXPECT_EQ(exporter.ardourTrack(right, devices).outputConnections,
              QStringList{u"system:playback_24"_s});
    EXPECT_EQ(exporter.ardourTrack(spare, devices).outputConnections, QStringList())
        << "no input: to the master bus as before";
    exporter.capturePortPattern = u"UFX:in_%i"_s;
    EXPECT_EQ(exporter.ardourTrack(keys, devices).outputConnections,
              (QStringList{QString(), QString()}))
        << "a pattern without capture names no playback port";
}
