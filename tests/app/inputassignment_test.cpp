#include "viewmodelharness.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

using InputAssignment = ViewModelTest;

TEST_F(InputAssignment, SequentialAssignmentFollowsTheListOrder)
{
    importReport();
    select({u"5"_s, u"1"_s, u"4"_s, u"2"_s});
    vm.assignSequentially(u"madi"_s, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(track(u"1245"_s.mid(i, 1)).audioInputChannelID, u"madi:%1"_s.arg(i + 2));
    EXPECT_EQ(track(u"5"_s).audioInputDeviceUID, u"madi"_s);
    EXPECT_EQ(vm.statusMessage(), u"已为 4 条轨道分配 MADI Card \u00B7 Ch 3\u20136"_s);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    // Four tracks on the last four inputs fit exactly.
    vm.assignSequentially(u"madi"_s, 12);
    EXPECT_EQ(track(u"5"_s).audioInputChannelID, u"madi:15"_s);
}

TEST_F(InputAssignment, ShortageChangesNothing)
{
    importReport();
    select({u"1"_s, u"2"_s, u"4"_s, u"5"_s});
    const ParsedSession before = vm.session();
    vm.assignSequentially(u"madi"_s, 14);
    EXPECT_EQ(vm.errorMessage(), u"输入通道不足：需要 4 路，从 Ch 15 起仅剩 2 路。"_s);
    vm.assignSequentially(u"nowhere"_s, 0);
    EXPECT_EQ(vm.errorMessage(), u"输入通道不足：需要 4 路，从 Ch 1 起仅剩 0 路。"_s);
    EXPECT_EQ(vm.session(), before);
    EXPECT_FALSE(vm.canUndo());
}

TEST_F(InputAssignment, RowPickersApplyToTheSelectionTheRowBelongsTo)
{
    importReport();
    select({u"1"_s, u"2"_s, u"4"_s});
    vm.setAudioInputDevice(u"madi"_s, idOf(u"5"_s));
    EXPECT_EQ(track(u"5"_s).audioInputChannelID, u"madi:0"_s);
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, std::nullopt);

    vm.setAudioInputChannel(u"madi:stereo:2"_s, idOf(u"1"_s));
    EXPECT_EQ(track(u"4"_s).audioInputDeviceUID, u"madi"_s);
    EXPECT_EQ(track(u"4"_s).audioInputChannelID, u"madi:stereo:2"_s);
    vm.setAudioInputChannel(std::nullopt, idOf(u"1"_s));
    EXPECT_EQ(track(u"4"_s).audioInputDeviceUID, u"madi"_s) << "no channel keeps the device";
    EXPECT_EQ(track(u"4"_s).audioInputChannelID, std::nullopt);
    vm.setAudioInputDevice(std::nullopt, idOf(u"5"_s));
    EXPECT_EQ(track(u"5"_s).audioInputDeviceUID, std::nullopt);
    EXPECT_EQ(track(u"5"_s).audioInputChannelID, std::nullopt);
    EXPECT_EQ(vm.undoSnapshots().size(), 4);
}

TEST_F(InputAssignment, AnUnknownChannelKeepsTheDeviceUntilTheNextRefresh)
{
    importReport();
    vm.setAudioInputDevice(u"usb"_s, idOf(u"1"_s));
    vm.setAudioInputChannel(u"elsewhere:3"_s, idOf(u"1"_s));
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, u"usb"_s);
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, u"elsewhere:3"_s);
    // Every refresh enumerates the interfaces again and bumps the catalogue's revision.
    EXPECT_EQ(vm.audioInputCatalogRevision(), 1);
    hardware->devices->removeFirst();
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(vm.audioInputCatalogRevision(), 2);
    EXPECT_EQ(vm.audioInputCatalog().devices().size(), 1);
    EXPECT_EQ(track(u"1"_s).audioInputDeviceUID, u"usb"_s);
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, std::nullopt);
}

TEST_F(InputAssignment, DeviceForTheSelectionStopsAtAShortageAsOneStep)
{
    importReport();
    select({u"1"_s, u"2"_s, u"4"_s});
    vm.assignSelectedToDevice(u"usb"_s);
    EXPECT_EQ(vm.errorMessage(), u"输入通道不足：需要 3 路，从 Ch 1 起仅剩 2 路。"_s);
    for (const QString &label : {u"1"_s, u"2"_s, u"4"_s})
        EXPECT_EQ(track(label).audioInputChannelID, u"usb:0"_s);
    vm.undo();
    EXPECT_EQ(track(u"4"_s).audioInputDeviceUID, std::nullopt);

    vm.assignSelectedToDevice(u"madi"_s);
    EXPECT_EQ(track(u"4"_s).audioInputChannelID, u"madi:2"_s);
    EXPECT_EQ(vm.statusMessage(), u"已为 3 条轨道分配 MADI Card \u00B7 Ch 1\u20133"_s);
}
