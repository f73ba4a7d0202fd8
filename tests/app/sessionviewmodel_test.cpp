#include "app/projectdocument.h"
#include "support/builders.h"
#include "viewmodelharness.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

using SessionImport = ViewModelTest;

TEST_F(SessionImport, ReplacesTheSessionAndIncludesOnlyInputs)
{
    importReport();
    vm.renameTrack(u"Kick In"_s, idOf(u"1"_s));
    vm.setSplitStereoChannels(true);
    select({u"1"_s, u"2"_s});

    vm.importSessionReportAt(writeFile(u"other.txt"_s,
                                       "Input Channels\n1\tA\n2\t\tMADI 2\nAux Outputs\nA1\tB\n"
                                       "Group Outputs\nG1\tC\nMatrix Outputs\nM1\tD\n"));

    EXPECT_EQ(vm.statusMessage(), u"已加载 4 条通道 · 2 个音频输入设备 · 1 行未能识别"_s);
    EXPECT_EQ(vm.errorMessage(), std::nullopt);
    // Stereo channels come back unsplit even though the switch was on.
    EXPECT_EQ(labels(), (QStringList{u"1"_s, u"A1"_s, u"G1"_s, u"M1"_s}));
    for (const TrackChannel &track : vm.tracks())
        EXPECT_EQ(track.isIncluded, track.channelLabel == u"1"_s);
    EXPECT_TRUE(vm.selectedTrackIDs().isEmpty());
    EXPECT_FALSE(vm.canUndo());
    EXPECT_FALSE(vm.splitStereoChannels());
    EXPECT_EQ(vm.projectFileURL(), std::nullopt);
    EXPECT_EQ(vm.session().sessionName, u"other"_s);
}

TEST_F(SessionImport, FilesComeFromThePanelOrADropByTheirExtension)
{
    vm.showImportPanel();
    ASSERT_EQ(panels->openRequests.size(), 1);
    EXPECT_TRUE(vm.tracks().isEmpty());
    EXPECT_EQ(vm.audioInputCatalogRevision(), 0) << "nothing is enumerated before an import";
    panels->openAnswers = {writeFile(u"show.txt"_s, showReport())};
    vm.showImportPanel();
    EXPECT_EQ(vm.tracks().size(), 12);

    vm.openFile(writeFile(u"Show.RTF"_s, "1  Kick  MADI 1\n"));
    EXPECT_EQ(labels(), QStringList{u"1"_s});
    ProjectDocumentSnapshot document;
    document.session.tracks = {TrackChannel{}};
    vm.openFile(writeFile(u"Show.KVP"_s, writeProjectDocument(document)));
    EXPECT_EQ(vm.statusMessage(), u"已打开工程：Show.KVP"_s);
}

using ProjectOpen = ViewModelTest;

TEST_F(ProjectOpen, RestoresStateAndDropsWhatNoLongerExists)
{
    const TrackChannel onMissingDevice = onChannel({}, u"gone:0"_s);
    const TrackChannel side =
        onChannel({}, u"usb:7"_s).stereoSideChannel(u"3"_s, StereoChannelSide::left);
    TrackChannel onAnotherDevice = onChannel({}, u"madi:3"_s);
    onAnotherDevice.audioInputDeviceUID = u"usb"_s;
    ProjectDocumentSnapshot document;
    document.session.tracks = {onMissingDevice, onChannel({}, u"usb:7"_s), onAnotherDevice, side};
    document.selectedTrackIDs = {uuidText(onMissingDevice.id), u"not a uuid"_s,
                                 uuidText(QUuid::createUuid()), uuidText(side.id).toLower()};

    importReport();
    vm.renameTrack(u"x"_s, idOf(u"1"_s));
    const QString path = writeFile(u"saved.kvp"_s, writeProjectDocument(document));
    vm.openProjectAt(path);

    EXPECT_EQ(vm.statusMessage(), u"已打开工程：saved.kvp"_s);
    EXPECT_FALSE(vm.canUndo());
    EXPECT_EQ(vm.selectedTrackIDs(), (QSet<QUuid>{onMissingDevice.id, side.id}));
    ASSERT_EQ(vm.tracks().size(), 4);
    EXPECT_EQ(vm.tracks()[0].audioInputDeviceUID, std::nullopt);
    EXPECT_EQ(vm.tracks()[0].audioInputChannelID, std::nullopt);
    EXPECT_EQ(vm.tracks()[1].audioInputChannelID, std::nullopt) << "usb has no Ch 8";
    // The channel exists on another device: the search covers every device, so both stay.
    EXPECT_EQ(vm.tracks()[2].audioInputChannelID, u"madi:3"_s);
    EXPECT_EQ(vm.tracks()[3].stereoSide, StereoChannelSide::left);
}

using ChangeSignals = ViewModelTest;

TEST_F(ChangeSignals, AnnounceExactlyTheFieldsThatChange)
{
    importReport();
    const std::pair<std::function<void()>, QStringList> steps[] = {
        {[&] { // nothing changes
             vm.setSelectedTrackIDs(vm.selectedTrackIDs());
             vm.setSplitStereoChannels(false);
             vm.deleteTrack(QUuid::createUuid());
         },
         {}},
        {[&] { vm.renameTrack(u"Kick In"_s, idOf(u"1"_s)); },
         {u"isModifiedChanged"_s, u"nameEditUndoTrackIDsChanged"_s, u"sessionChanged"_s,
          u"undoSnapshotsChanged"_s}},
        {[&] {
             select({u"1"_s, u"2"_s});
             vm.setTrackColor({1, 0, 0, 1}, idOf(u"1"_s));
         },
         {u"groupedMutationDepthChanged"_s, u"nameEditUndoTrackIDsChanged"_s,
          u"selectedTrackIDsChanged"_s, u"sessionChanged"_s, u"undoSnapshotsChanged"_s}},
        {[&] { vm.undo(); },
         {u"isApplyingUndoChanged"_s, u"redoSnapshotsChanged"_s, u"sessionChanged"_s,
          u"undoSnapshotsChanged"_s}},
    };
    for (const auto &[step, expected] : steps) {
        SignalRecorder recorder(vm);
        step();
        EXPECT_EQ(recorder.fired(), expected);
    }
}
