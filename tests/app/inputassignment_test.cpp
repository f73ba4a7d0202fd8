#include "viewmodelharness.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

using InputAssignment = ViewModelTest;

TEST_F(InputAssignment, SequentialAssignmentFollowsTheListOrderAndGivesAStereoTrackAPair)
{
    importReport();
    select({u"5"_s, u"1"_s, u"3s"_s, u"2"_s});
    const auto starts = vm.sequentialStartOptions(u"madi"_s, vm.selectedTracks());
    EXPECT_EQ(starts.first().label, u"Ch 1\u20135"_s);
    EXPECT_EQ(starts.last().label, u"Ch 12\u201316"_s);
    vm.assignSequentially(u"madi"_s, 2);
    EXPECT_EQ(patchOf({u"1"_s, u"2"_s, u"3s"_s, u"5"_s}),
              (QStringList{u"madi madi:2"_s, u"madi madi:3"_s, u"madi madi:stereo:4"_s,
                           u"madi madi:6"_s}));
    EXPECT_EQ(vm.statusMessage(), u"已为 4 条轨道分配 MADI Card \u00B7 Ch 3\u20137"_s);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    // Five inputs on the last five fit exactly.
    vm.assignSequentially(u"madi"_s, 11);
    EXPECT_EQ(track(u"5"_s).audioInputChannelID, u"madi:15"_s);
}

TEST_F(InputAssignment, ShortageChangesNothing)
{
    importReport();
    select({u"1"_s, u"2"_s, u"4"_s});
    const ParsedSession before = vm.session();
    vm.assignSequentially(u"madi"_s, 14);
    EXPECT_EQ(vm.errorMessage(), u"输入通道不足：需要 3 路，从 Ch 15 起仅剩 2 路。"_s);
    vm.assignSequentially(u"nowhere"_s, 0);
    EXPECT_EQ(vm.errorMessage(), u"输入通道不足：需要 3 路，从 Ch 1 起仅剩 0 路。"_s);
    vm.assignSelectedToDevice(u"usb"_s);
    EXPECT_EQ(vm.errorMessage(), u"输入通道不足：需要 3 路，从 Ch 1 起仅剩 2 路。"_s);
    EXPECT_EQ(vm.session(), before);
    EXPECT_FALSE(vm.canUndo());

    vm.assignSelectedToDevice(u"madi"_s);
    EXPECT_EQ(track(u"4"_s).audioInputChannelID, u"madi:2"_s);
    EXPECT_EQ(vm.statusMessage(), u"已为 3 条轨道分配 MADI Card \u00B7 Ch 1\u20133"_s);
}

TEST_F(InputAssignment, RowPickersApplyToTheSelectionTheRowBelongsTo)
{
    importReport();
    select({u"1"_s, u"2"_s, u"4"_s});
    vm.setAudioInputDevice(u"madi"_s, idOf(u"5"_s));
    EXPECT_EQ(patchOf({u"5"_s, u"1"_s}), (QStringList{u"madi madi:0"_s, u"- -"_s}));
    vm.setAudioInputChannel(u"madi:stereo:2"_s, idOf(u"1"_s));
    EXPECT_EQ(patchOf({u"4"_s}), QStringList{u"madi madi:stereo:2"_s});
    vm.setAudioInputChannel(std::nullopt, idOf(u"1"_s));
    EXPECT_EQ(patchOf({u"4"_s}), QStringList{u"madi -"_s}) << "no channel keeps the device";
    vm.setAudioInputDevice(std::nullopt, idOf(u"5"_s));
    EXPECT_EQ(patchOf({u"5"_s}), QStringList{u"- -"_s});
    EXPECT_EQ(vm.undoSnapshots().size(), 4);
}

TEST_F(InputAssignment, AnUnknownChannelKeepsTheDeviceUntilTheNextRefresh)
{
    importReport();
    vm.setAudioInputDevice(u"usb"_s, idOf(u"1"_s));
    vm.setAudioInputChannel(u"elsewhere:3"_s, idOf(u"1"_s));
    EXPECT_EQ(patchOf({u"1"_s}), QStringList{u"usb elsewhere:3"_s});
    // Every refresh enumerates the interfaces again and bumps the catalogue's revision.
    EXPECT_EQ(vm.audioInputCatalogRevision(), 1);
    hardware->devices->removeFirst();
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(vm.audioInputCatalogRevision(), 2);
    EXPECT_EQ(vm.audioInputCatalog().devices().size(), 1);
    EXPECT_EQ(patchOf({u"1"_s}), QStringList{u"usb -"_s});
}

TEST_F(InputAssignment, ChangingTheDeviceKeepsEachPlaceTheNewDeviceHas)
{
    importReport();
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Rack"_s, 10));
    vm.assignAudioInputChannel(u"madi:6"_s, idOf(u"1"_s));
    vm.assignAudioInputChannel(u"madi:stereo:2"_s, idOf(u"3s"_s));
    vm.assignAudioInputChannel(u"madi:15"_s, idOf(u"4"_s));
    vm.assignAudioInputChannel(u"planned:Rack:0"_s, idOf(u"5"_s));
    vm.clearUndoHistory();

    select({u"1"_s, u"2"_s, u"3s"_s, u"4"_s, u"6s"_s});
    vm.setAudioInputDevice(u"planned:Rack"_s, idOf(u"2"_s));
    // Ch 7 and Ch 3–4 stay; the others take the first inputs nobody uses, in list order: Ch 1 is
    // track 5's, so 2 takes Ch 2 and 4 (whose Ch 16 the rack lacks) Ch 5; the stereo 6s needs
    // two free neighbours: Ch 8–9.
    const QString rack = u"planned:Rack planned:Rack:"_s;
    EXPECT_EQ(patchOf({u"1"_s, u"2"_s, u"3s"_s, u"4"_s, u"6s"_s}),
              (QStringList{rack + u"6"_s, rack + u"1"_s, rack + u"stereo:2"_s, rack + u"4"_s,
                           rack + u"stereo:7"_s}));
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
}
