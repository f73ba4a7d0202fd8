#include "viewmodelharness.h"

#include "app/projectdocument.h"
#include "support/builders.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

class PlannedDevices : public ViewModelTest {
protected:
    QStringList deviceIDs() const
    {
        QStringList ids;
        for (const AudioInputDevice &device : vm.audioInputCatalog().devices())
            ids << device.id + (device.isAttached ? u""_s : u"(planned)"_s);
        return ids;
    }
};

} // namespace

TEST_F(PlannedDevices, JoinTheCatalogueAfterTheAttachedOnesAndUndoLikeAnyEdit)
{
    importReport();
    EXPECT_FALSE(vm.addPlannedAudioDevice(u"Rack"_s, 513));
    EXPECT_EQ(vm.errorMessage(), u"输入数应为 1 到 512 之间的整数。"_s);
    EXPECT_FALSE(vm.canUndo());

    ASSERT_TRUE(vm.addPlannedAudioDevice(u" Stage Rack "_s, 32));
    EXPECT_FALSE(vm.addPlannedAudioDevice(u"Stage Rack"_s, 8));
    EXPECT_EQ(vm.errorMessage(), u"已有名为“Stage Rack”的计划设备。"_s);
    EXPECT_EQ(deviceIDs(), (QStringList{u"madi"_s, u"usb"_s, u"planned:Stage Rack(planned)"_s}));
    EXPECT_EQ(deviceSummary(vm.audioInputCatalog().devices()).last(),
              u"planned:Stage Rack | Stage Rack | 18 | 32"_s);

    select({u"1"_s, u"2"_s, u"4"_s});
    vm.assignSequentially(u"planned:Stage Rack"_s, 4);
    EXPECT_EQ(track(u"4"_s).audioInputChannelID, u"planned:Stage Rack:6"_s);
    const ParsedSession patched = vm.session();

    // Removing it clears its assignments in the same step; undo brings both back.
    vm.removePlannedAudioDevice(u"planned:Stage Rack"_s);
    EXPECT_EQ(deviceIDs(), (QStringList{u"madi"_s, u"usb"_s}));
    EXPECT_EQ(track(u"4"_s).audioInputDeviceUID, std::nullopt);
    vm.undo();
    EXPECT_EQ(vm.session(), patched);
    EXPECT_EQ(deviceIDs().size(), 3);
    vm.undo();
    vm.undo();
    EXPECT_TRUE(vm.plannedAudioDevices().isEmpty());
    EXPECT_EQ(deviceIDs().size(), 2);

    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Stage Rack"_s, 32));
    importReport();
    EXPECT_TRUE(vm.plannedAudioDevices().isEmpty());
}

TEST_F(PlannedDevices, KeepThePatchOfAProjectOpenedAwayFromTheRig)
{
    importReport();
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Stage Rack"_s, 16));
    vm.setAudioInputChannel(u"planned:Stage Rack:stereo:2"_s, idOf(u"3s"_s));
    vm.setAudioInputChannel(u"usb:1"_s, idOf(u"1"_s));
    vm.setAudioInputChannel(u"madi:5"_s, idOf(u"2"_s));
    vm.removePlannedAudioDevice(u"nothing"_s);
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(0);
    const QByteArray data = vm.makeProjectData(moment);
    const QString path = writeFile(u"show.kvp"_s, data);
    // The planned interface, then the attached ones tracks use, as this computer names them.
    ASSERT_EQ(vm.projectAudioDevices(),
              (QList<PlannedAudioDevice>{{u"planned:Stage Rack"_s, u"Stage Rack"_s, 16},
                                         {u"madi"_s, u"MADI Card"_s, 16},
                                         {u"usb"_s, u"USB Interface"_s, 2}}));

    // On a laptop with only the USB interface, the MADI card is remembered, not attached.
    hardware->devices = QList<FakeAudioHardware::Device>{
        FakeAudioHardware::device(u"usb"_s, u"USB Interface"_s, {2})};
    vm.openProjectAt(path);
    EXPECT_EQ(deviceIDs(),
              (QStringList{u"usb"_s, u"planned:Stage Rack(planned)"_s, u"madi(planned)"_s}));
    EXPECT_EQ(vm.statusMessage(), u"已打开工程：show.kvp"_s);
    // Saved again there, nothing of the patch or of the interfaces is lost.
    EXPECT_EQ(vm.makeProjectData(moment), data);
}

// Channel 1 on the stereo Local 1–2, channel 2 on Local 5: USB 1–2 and 3, card 12.
TEST_F(PlannedDevices, TakeWhatTheConsoleRecordsInOneStepAndARevisedFilesRouting)
{
    const auto snap = [](const char *usb3) {
        return QByteArray(R"({"type": "snapshot.4", "ae_data": {"io": {
            "in": {"LCL": {"1": {"mode": "ST"}, "2": {"mode": "ST"}}},
            "out": {"USB": {"1": {"grp": "LCL", "in": 1}, "2": {"grp": "LCL", "in": 2},
                            "3": {"grp": "LCL", "in": )") +
               usb3 + R"(}}, "CRD": {"12": {"grp": "LCL", "in": 5}}}},
            "ch": {"1": {"name": "Keys", "in": {"conn": {"grp": "LCL", "in": 1}}},
                   "2": {"name": "Vox", "in": {"conn": {"grp": "LCL", "in": 5}}}}}})";
    };
    vm.importSessionReportAt(writeFile(u"show.snap"_s, snap("5")));
    const auto input = [&](const QString &device, qint64 index, bool pair) {
        return vm.audioInputCatalog().inputAt(device, index, pair).value_or(AudioInputChannel()).id;
    };
    const ParsedSession imported = vm.session();
    EXPECT_FALSE(vm.assignFromConsoleRecorder(u"usb"_s, u"nowhere"_s));
    EXPECT_FALSE(vm.assignFromConsoleRecorder(u"moon"_s));
    EXPECT_EQ(vm.session(), imported);
    EXPECT_FALSE(vm.canUndo());

    ASSERT_TRUE(vm.assignFromConsoleRecorder(u"card"_s));
    EXPECT_EQ(deviceIDs(), (QStringList{u"madi"_s, u"usb"_s, u"planned:WING Card(planned)"_s}));
    EXPECT_EQ(track(u"2"_s).audioInputChannelID, input(u"planned:WING Card"_s, 11, false));
    EXPECT_EQ(track(u"1s"_s).audioInputChannelID, std::nullopt);
    vm.undo();
    EXPECT_EQ(vm.session(), imported);
    EXPECT_EQ(deviceIDs(), (QStringList{u"madi"_s, u"usb"_s}));

    ASSERT_TRUE(vm.assignFromConsoleRecorder(u"usb"_s, u"madi"_s));
    EXPECT_EQ(track(u"1s"_s).audioInputChannelID, input(u"madi"_s, 0, true));
    EXPECT_EQ(track(u"2"_s).audioInputChannelID, input(u"madi"_s, 2, false));
    vm.setSplitStereoChannels(true);
    ASSERT_TRUE(vm.assignFromConsoleRecorder(u"usb"_s, u"madi"_s));
    EXPECT_EQ(track(u"1 R"_s).audioInputChannelID, input(u"madi"_s, 1, false));

    vm.updateFromSessionReportAt(writeFile(u"revised.snap"_s, snap("3")));
    EXPECT_EQ(vm.session().recorderPatch[0].channels[2], QList<RecorderTrackRef>());
}

// Inputs 2, 5 and the pairs 3–4 and 4–5 on an eight-input rack cut to four: the pair that needs
// input 5 goes with it, the one that ends on input 4 stays.
TEST_F(PlannedDevices, EditKeepsTheIDSoARenameKeepsThePatchAndAShrinkIsOneStep)
{
    importReport();
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Rack"_s, 8));
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Spare"_s, 4));
    vm.setAudioInputChannel(u"planned:Rack:1"_s, idOf(u"1"_s));
    vm.setAudioInputChannel(u"planned:Rack:4"_s, idOf(u"2"_s));
    vm.setAudioInputChannel(u"planned:Rack:stereo:2"_s, idOf(u"6s"_s));
    vm.setAudioInputChannel(u"planned:Rack:stereo:3"_s, idOf(u"3s"_s));
    const SessionEditSnapshot before = snapshot();
    const qsizetype steps = vm.undoSnapshots().size();

    EXPECT_FALSE(vm.editPlannedAudioDevice(u"planned:Rack"_s, u" Spare "_s, 8));
    EXPECT_EQ(vm.errorMessage(), u"已有名为“Spare”的计划设备。"_s);
    EXPECT_FALSE(vm.editPlannedAudioDevice(u"planned:Rack"_s, u"Rack"_s, 0));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(vm.undoSnapshots().size(), steps);

    QStringList losing;
    for (const TrackChannel &t : vm.tracksLosingInput(u"planned:Rack"_s, 4))
        losing << t.channelLabel;
    EXPECT_EQ(losing, (QStringList{u"2"_s, u"3s"_s}));
    ASSERT_TRUE(vm.editPlannedAudioDevice(u"planned:Rack"_s, u"Stage Rack"_s, 4));
    const QStringList patched{u"planned:Rack planned:Rack:1"_s, u"planned:Rack -"_s,
                              u"planned:Rack planned:Rack:stereo:2"_s, u"planned:Rack -"_s};
    EXPECT_EQ(patchOf({u"1"_s, u"2"_s, u"6s"_s, u"3s"_s}), patched);
    const SessionEditSnapshot after = snapshot();
    vm.undo();
    EXPECT_EQ(snapshot(), before);
    vm.redo();
    EXPECT_EQ(snapshot(), after);

    vm.openProjectAt(writeFile(u"show.kvp"_s, vm.makeProjectData()));
    EXPECT_EQ(patchOf({u"1"_s, u"2"_s, u"6s"_s, u"3s"_s}), patched);
    EXPECT_EQ(vm.audioInputCatalog().deviceNameByUID().value(u"planned:Rack"_s), u"Stage Rack"_s);
    // The old name is free again; its id is not.
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Rack"_s, 2));
    EXPECT_EQ(vm.plannedAudioDevices().last().id, u"planned:Rack #2"_s);
}
