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

TEST_F(SessionImport, ConsoleFilesOpenByTheirExtensionOrTheirContent)
{
    const QByteArray scene = fixtureBytes(u"consoles/sunday.scn"_s);
    const QByteArray snapshot = fixtureBytes(u"consoles/james.snap"_s);
    const struct {
        QString fileName;
        QByteArray bytes;
        qsizetype tracks;
        QStringList included;
    } cases[] = {
        // Of a scene or a snapshot only the named inputs; of a list every input row.
        {u"Desk.SCN"_s, scene, 64, {u"1"_s, u"3"_s, u"5"_s}},
        {u"desk.snap"_s, snapshot, 76, {u"1"_s, u"3"_s, u"5s"_s}},
        {u"band.tsv"_s, "label\tname\ttype\n1\tKick\n2\t\nA1\tVerb\tAux\n", 3, {u"1"_s, u"2"_s}},
        {u"scene.backup"_s, scene, 64, {u"1"_s, u"3"_s, u"5"_s}},
    };
    for (const auto &c : cases) {
        vm.openFile(writeFile(c.fileName, c.bytes));
        EXPECT_EQ(vm.session().sourceFileName, c.fileName);
        EXPECT_EQ(vm.statusMessage(), u"已加载 %1 条通道 · 2 个音频输入设备"_s.arg(c.tracks));
        QStringList included;
        for (const TrackChannel &track : vm.tracks()) {
            if (track.isIncluded)
                included << track.channelLabel;
        }
        EXPECT_EQ(included.first(std::min(included.size(), qsizetype(3))), c.included);
    }

    // A project under another name opens as one; bytes that are no text are not imported.
    ProjectDocumentSnapshot document;
    document.session.tracks = {TrackChannel{}};
    vm.openFile(writeFile(u"show.backup"_s, writeProjectDocument(document)));
    EXPECT_EQ(vm.statusMessage(), u"已打开工程：show.backup"_s);
    const ParsedSession opened = vm.session();
    vm.openFile(writeFile(u"logo.png"_s, QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
    EXPECT_EQ(vm.errorMessage(),
              u"请打开 Kelvary 工程文件（.kvp）或调音台文件（.rtf/.txt/.scn/.snap/.csv/.tsv）。"_s);
    vm.openFile(writeFile(u"broken.scn"_s, "#4.0# \"S\"\n/bus/01/config \"A\" 1 RD\n"));
    EXPECT_EQ(vm.errorMessage(), u"未在 X32/M32 场景文件中找到通道列表。"_s);
    EXPECT_EQ(vm.session(), opened);
}

TEST_F(SessionImport, ThePanelOffersEveryConsoleFile)
{
    panels->openAnswers = {writeFile(u"james.snap"_s, fixtureBytes(u"consoles/james.snap"_s))};
    vm.showImportPanel();
    ASSERT_EQ(panels->openRequests.size(), 1);
    EXPECT_EQ(panels->openRequests[0].types,
              (QList<FileType>{{u"调音台文件"_s,
                                {u"rtf"_s, u"txt"_s, u"scn"_s, u"snap"_s, u"csv"_s, u"tsv"_s}}}));
    EXPECT_EQ(vm.session().sessionName, u"James"_s);
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
