#include "audio/audioinputdeviceenumerator.h"
#include "support/builders.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// Each device answers its reads in turn, so a device can change between two reads.
using Device = FakeAudioHardware::Device;
using Buffers = std::optional<QList<qint64>>;

const Buffers stereo = QList<qint64>{2};

QList<AudioInputDevice> enumerate(std::optional<QList<Device>> devices)
{
    auto hardware = std::make_shared<FakeAudioHardware>();
    hardware->devices = std::move(devices);
    return AudioInputDeviceEnumerator(hardware).enumerate();
}

// One line per channel: id, device, index, label and "stereo" for a pair.
QStringList channelLines(const AudioInputDevice &device)
{
    QStringList lines;
    for (const AudioInputChannel &channel : device.channels)
        lines << u"%1 %2 %3 %4%5"_s.arg(channel.id, channel.deviceUID)
                     .arg(channel.channelIndex)
                     .arg(channel.label, channel.isStereoPair ? u" stereo"_s : QString());
    return lines;
}

} // namespace

TEST(AudioInputDeviceEnumerator, LeavesOutOutputOnlyAndAggregateDevices)
{
    EXPECT_TRUE(enumerate(QList<Device>()).isEmpty());
    EXPECT_TRUE(enumerate(std::nullopt).isEmpty()) << "no readable device list";
    const QList<Device> devices{
        FakeAudioHardware::device(u"out"_s, u"Speakers"_s, {}),
        FakeAudioHardware::device(u"zero"_s, u"Zero buffers"_s, {0, 0}),
        Device{{std::nullopt}, {u"unreadable"_s}, {u"Unreadable inputs"_s}},
        FakeAudioHardware::device(u"agg-1"_s, u"Aggregate Device"_s, {4}),
        FakeAudioHardware::device(u"com.example.AGGREGATE:7"_s, u"Studio"_s, {4}),
        FakeAudioHardware::device(u"mic"_s, u"USB Mic"_s, {1}),
    };
    EXPECT_EQ(deviceSummary(enumerate(devices)), QStringList{u"mic | USB Mic | 0 | 1"_s});
}

TEST(AudioInputDeviceEnumerator, MakesSingleInputsThenAdjacentPairs)
{
    const QList<AudioInputDevice> devices =
        enumerate(QList<Device>{FakeAudioHardware::device(u"X"_s, u"Two"_s, {2}),
                                FakeAudioHardware::device(u"Z"_s, u"One"_s, {1}),
                                FakeAudioHardware::device(u"W"_s, u"Two buffers"_s, {2, 2})});
    ASSERT_EQ(devices.size(), 3);
    EXPECT_EQ(channelLines(devices[0]), (QStringList{u"X:0 X 0 Ch 1"_s, u"X:1 X 1 Ch 2"_s,
                                                     u"X:stereo:0 X 0 Ch 1\u20132 stereo"_s}));
    EXPECT_EQ(channelLines(devices[1]), QStringList{u"Z:0 Z 0 Ch 1"_s});
    EXPECT_EQ(
        channelLines(devices[2]),
        (QStringList{u"W:0 W 0 Ch 1"_s, u"W:1 W 1 Ch 2"_s, u"W:2 W 2 Ch 3"_s, u"W:3 W 3 Ch 4"_s,
                     u"W:stereo:0 W 0 Ch 1\u20132 stereo"_s, u"W:stereo:1 W 1 Ch 2\u20133 stereo"_s,
                     u"W:stereo:2 W 2 Ch 3\u20134 stereo"_s}));
    EXPECT_EQ(deviceSummary(devices), (QStringList{u"X | Two | 0 | 2"_s, u"Z | One | 2 | 1"_s,
                                                   u"W | Two buffers | 3 | 4"_s}));
}

TEST(AudioInputDeviceEnumerator, FailedIdOrNameReadsDropOnlyInTheSecondPass)
{
    const QList<Device> devices{
        // A failed first read counts as empty text: no "aggregate" in it, so the device stays.
        Device{{stereo}, {std::nullopt, u"late-id"_s}, {u"Late Id"_s}},
        Device{{stereo}, {u"late-name"_s}, {std::nullopt, u"Late Name"_s}},
        // Unplugged between the two passes: its inputs must not shift the next device's numbers.
        Device{{QList<qint64>{6}, std::nullopt}, {u"gone"_s}, {u"Gone"_s}},
        // The second pass needs both texts.
        Device{{stereo}, {u"no-id"_s, std::nullopt}, {u"No Id"_s}},
        Device{{stereo}, {u"no-name"_s}, {u"No Name"_s, std::nullopt}},
        Device{{stereo}, {u"empty-id"_s, u""_s}, {u"Empty Id"_s}},
        // The aggregate filter is the first pass's: a harmless name later does not bring it back.
        Device{{stereo}, {u"fine"_s}, {u"AgGrEgAtE"_s, u"Fine"_s}},
        FakeAudioHardware::device(u"last"_s, u"Keeps Its Case"_s, {1}),
    };
    EXPECT_EQ(deviceSummary(enumerate(devices)),
              (QStringList{u"late-id | Late Id | 0 | 2"_s, u"late-name | Late Name | 2 | 2"_s,
                           u"last | Keeps Its Case | 4 | 1"_s}));
}
