#include "model/audioinputcatalog.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

TrackChannel assignedTo(const QString &deviceUID)
{
    TrackChannel track;
    track.audioInputDeviceUID = deviceUID;
    return track;
}

} // namespace

TEST(AudioInputCatalog, NumbersInputsAcrossDevices)
{
    const AudioInputCatalog catalog(
        {makeAudioInputDevice(u"a"_s, u"A"_s, 8, 0), makeAudioInputDevice(u"b"_s, u"B"_s, 2, 8)});
    const auto single = channelWithID(u"b:1"_s, catalog.devices());
    ASSERT_TRUE(single);
    EXPECT_EQ(single->label, u"Ch 2"_s);
    // The numbers Reaper records from are checked with its template.
    EXPECT_EQ(catalog.channelLabelByID().value(u"a:stereo:6"_s), u"Ch 7\u20138"_s);
    // Every adjacent pair, not only those that start on an odd input.
    EXPECT_EQ(catalog.inputAt(u"a"_s, 1, true)->label, u"Ch 2\u20133"_s);
    EXPECT_EQ(catalog.inputAt(u"a"_s, 7, true), std::nullopt);
    EXPECT_EQ(catalog.channelLabelByID().size(), 8 + 7 + 2 + 1);
    EXPECT_EQ(channelWithID(u"c:0"_s, catalog.devices()), std::nullopt);
    EXPECT_EQ(deviceWithID(u"b"_s, catalog.devices())->name, u"B"_s);
}

TEST(AudioInputCatalog, MonoChannelsLeaveOutPairsAndTwinIdsKeepTheFirst)
{
    const AudioInputCatalog catalog({makeAudioInputDevice(u"a"_s, u"A"_s, 4, 0)});
    QStringList labels;
    for (const AudioInputChannel &channel : catalog.monoChannels(u"a"_s))
        labels << channel.label;
    EXPECT_EQ(labels, (QStringList{u"Ch 1"_s, u"Ch 2"_s, u"Ch 3"_s, u"Ch 4"_s}));
    EXPECT_TRUE(catalog.monoChannels(u"b"_s).isEmpty());

    // Of two devices with one id the first is kept.
    const AudioInputCatalog twins({makeAudioInputDevice(u"a"_s, u"First"_s, 2, 0),
                                   makeAudioInputDevice(u"a"_s, u"Second"_s, 4, 2)});
    ASSERT_EQ(twins.devices().size(), 1);
    EXPECT_EQ(twins.deviceNameByUID().value(u"a"_s), u"First"_s);
}

TEST(DominantDeviceName, CountsTracksPerDevice)
{
    const QList<AudioInputDevice> devices{makeAudioInputDevice(u"a"_s, u"A"_s, 2, 0),
                                          makeAudioInputDevice(u"b"_s, u"B"_s, 2, 2)};
    EXPECT_EQ(
        dominantDeviceName(
            {assignedTo(u"b"_s), assignedTo(u"a"_s), assignedTo(u"b"_s), TrackChannel()}, devices),
        u"B"_s);
    EXPECT_EQ(dominantDeviceName({TrackChannel()}, devices), std::nullopt);
    // A tie goes to the device listed first, whatever the order of the tracks.
    EXPECT_EQ(dominantDeviceName({assignedTo(u"b"_s), assignedTo(u"a"_s)}, devices), u"A"_s);
    // The most used device is gone: nothing, even though another present device is used.
    EXPECT_EQ(dominantDeviceName({assignedTo(u"gone"_s), assignedTo(u"gone"_s), assignedTo(u"a"_s)},
                                 devices),
              std::nullopt);
}
