#include "app/filetypes.h"
#include "app/projectdocument.h"
#include "support/builders.h"
#include "support/testfiles.h"
#include "viewmodelharness.h"

#include <QDir>
#include <QFileInfo>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

class ExportActions : public ViewModelTest {
protected:
    // Opens a project holding one input track under the given session name.
    void openSessionNamed(const QString &sessionName)
    {
        ProjectDocumentSnapshot document;
        document.session.sessionName = sessionName;
        document.session.tracks = {makeTrack(DigicoChannelType::input, u"1"_s, u"Kick"_s)};
        vm.openProjectAt(writeFile(u"named.kvp"_s, writeProjectDocument(document)));
        ASSERT_EQ(vm.errorMessage(), std::nullopt);
    }

    void assignIncludedTo(const QString &device)
    {
        QSet<QUuid> included;
        for (const TrackChannel &track : vm.includedTracks())
            included.insert(track.id);
        vm.setSelectedTrackIDs(included);
        vm.assignSelectedToDevice(device);
    }
};

} // namespace

TEST_F(ExportActions, RefusalsComeBeforeAnyPanel)
{
    vm.importSessionReportAt(mainShow);
    vm.setExportFormat(TemplateExportFormat::reaperTrackTemplate);
    vm.setTracksIncluded(false, DigicoChannelType::input);
    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    vm.exportTemplate();
    EXPECT_EQ(vm.errorMessage(), u"请至少选择一条要导出的轨道。"_s);
    EXPECT_TRUE(panels->saveRequests.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(ExportActions, PanelsSuggestTheSessionNameAsAFileName)
{
    openSessionNamed(u"FOH/Main"_s);
    vm.exportTemplate();
    openSessionNamed(QString());
    vm.exportPDF();
    ASSERT_EQ(panels->saveRequests.size(), 2);
    EXPECT_EQ(panels->saveRequests[0].suggestedName, u"FOH-Main.RTrackTemplate"_s);
    EXPECT_EQ(panels->saveRequests[1].suggestedName, u"Kelvary.pdf"_s);
}

TEST_F(ExportActions, TemplateHoldsTheIncludedTracksWhateverTheSelection)
{
    vm.importSessionReportAt(mainShow);
    // A selected but excluded aux stays out; the unselected inputs go in.
    select({u"A1"_s});
    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    vm.exportTemplate();

    ASSERT_EQ(vm.errorMessage(), std::nullopt);
    const QString text = QString::fromUtf8(fileBytes(path(u"Show.RTrackTemplate"_s)));
    EXPECT_EQ(text.count(u"<TRACK"_s), 10);
    EXPECT_FALSE(text.contains(u"Wedge 1"_s));
    EXPECT_EQ(vm.statusMessage(),
              u"已导出至 Show.RTrackTemplate\n10 条轨道未分配输入，已设为不录音："
              "Kick In、Kick Out、Snare Top、Snare Bot、OH 等 10 条"_s);

    // With the tracks on one device, the status names it and the template records from it.
    assignIncludedTo(u"madi"_s);
    vm.exportTemplate();
    const QString onDevice =
        u"已导出至 Show.RTrackTemplate\n模版已写入录音设备：MADI Card\n"
        "各轨道 REC 为录音设备上的输入序号；在 Reaper 中选用该设备并插入模版即可应用。"_s;
    EXPECT_EQ(vm.statusMessage(), onDevice);
    EXPECT_TRUE(fileBytes(path(u"Show.RTrackTemplate"_s))
                    .startsWith("; Kelvary recording_device=\"MADI Card\"\n"));
}

TEST_F(ExportActions, SayWhatWillNotRecordAsTheEngineerMayThink)
{
    importReport();
    vm.assignAudioInputChannel(u"madi:4"_s, idOf(u"1"_s));
    vm.assignAudioInputChannel(u"madi:4"_s, idOf(u"2"_s));
    vm.assignAudioInputChannel(u"madi:stereo:4"_s, idOf(u"3s"_s));
    vm.assignAudioInputChannel(u"madi:8"_s, idOf(u"6s"_s));
    const QString problems = u"2 条轨道未分配输入，已设为不录音：Bass、Vox\n"
                             "Ch 5 由 3 条轨道共用：Kick、Snare、Keys\n"
                             "1 条立体声轨道只分配了单个输入：Playback"_s;
    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    vm.exportTemplate();
    ASSERT_TRUE(vm.statusMessage());
    EXPECT_TRUE(vm.statusMessage()->endsWith(u"\n"_s + problems))
        << vm.statusMessage()->toStdString();
}

TEST_F(ExportActions, PlaybackIsAShowSettingThatUndoAndTheProjectKeep)
{
    importReport();
    vm.assignAudioInputChannel(u"madi:stereo:4"_s, idOf(u"3s"_s));
    vm.setPlaybackOutputs({true, -1});
    EXPECT_EQ(vm.errorMessage(), u"回放输出的偏移量不能为负数。"_s);
    EXPECT_FALSE(vm.canUndo());
    vm.setPlaybackOutputs({true, 4});
    vm.undo();
    EXPECT_EQ(vm.playbackOutputs(), PlaybackOutputs{});
    vm.setPlaybackOutputs({true, 4});

    panels->saveLocation = path(u"Show.kvp"_s);
    vm.saveProjectAs();
    importReport();
    EXPECT_EQ(vm.playbackOutputs(), PlaybackOutputs{}) << "a new show starts without playback";
    vm.openProjectAt(path(u"Show.kvp"_s));
    EXPECT_EQ(vm.playbackOutputs(), (PlaybackOutputs{true, 4}));
    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    vm.exportTemplate();
    EXPECT_TRUE(
        fileBytes(path(u"Show.RTrackTemplate"_s)).contains("  HWOUT 8 3 1 0 0 0 0 -1:U -1\n"));
}

TEST_F(ExportActions, ExportChangesNothingButTheTexts)
{
    vm.importSessionReportAt(mainShow);
    vm.renameTrack(u"Kick"_s, vm.tracks().first().id);
    vm.setSelectedTrackIDs({vm.tracks()[1].id, vm.tracks()[12].id});
    const ParsedSession session = vm.session();
    const QSet<QUuid> selection = vm.selectedTrackIDs();
    const qsizetype undoCount = vm.undoSnapshots().size();

    SignalRecorder recorder(vm);

    panels->saveLocation = path(u"Show.RTrackTemplate"_s);
    vm.exportTemplate();
    panels->saveLocation = path(u"Show.pdf"_s);
    vm.exportPDF();

    EXPECT_EQ(vm.errorMessage(), std::nullopt);
    EXPECT_EQ(vm.statusMessage(), u"已导出 PDF 至 Show.pdf"_s);
    EXPECT_TRUE(fileBytes(path(u"Show.pdf"_s)).startsWith("%PDF-"));
    EXPECT_EQ(vm.session(), session);
    EXPECT_EQ(vm.selectedTrackIDs(), selection);
    EXPECT_EQ(vm.undoSnapshots().size(), undoCount);
    EXPECT_EQ(recorder.fired(), QStringList{u"statusMessageChanged"_s});
}

TEST_F(ExportActions, ArdourSessionAsksForItsFolderAndCapturePorts)
{
    vm.importSessionReportAt(mainShow);
    vm.setExportFormat(TemplateExportFormat::ardourSession);
    panels->saveLocation = path(u"Show"_s);

    // A pattern without an input number writes nothing and is not kept.
    panels->optionText = u"system:capture"_s;
    vm.exportTemplate();
    ASSERT_TRUE(vm.errorMessage());
    EXPECT_TRUE(vm.errorMessage()->contains(u"缺少输入序号"_s));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(vm.ardourCapturePortPattern(), u"system:capture_%n"_s);

    panels->optionText = std::nullopt;
    vm.exportTemplate();
    EXPECT_TRUE(vm.statusMessage()->startsWith(u"已导出 Ardour 会话至 Show · 10 条轨道\n"
                                               "10 条轨道未分配输入，已设为不录音："_s));

    assignIncludedTo(u"madi"_s);
    panels->saveLocation = path(u"Show 2"_s);
    panels->optionText = u"MADI Card:capture_AUX%i"_s;
    panels->listIndex = 3;
    vm.exportTemplate();
    EXPECT_EQ(vm.statusMessage(),
              u"已导出 Ardour 会话至 Show 2 · 10 条轨道\n"
              "输入已连接到录音设备 MADI Card 的采集端口 MADI Card:capture_AUX%i"_s);
    EXPECT_EQ(vm.ardourCapturePortPattern(), u"MADI Card:capture_AUX%i"_s);
    EXPECT_EQ(panels->saveRequests.last().suggestedName, u"Main Show"_s);
    EXPECT_EQ(panels->optionRequests.last().suggestions,
              (QStringList{u"system:capture_%n"_s, u"MADI Card:capture_AUX%i"_s}));
    EXPECT_TRUE(fileBytes(path(u"Show 2/Show 2.ardour"_s)).contains("sample-rate=\"96000\""));
    // The rate picked last is the one the next panel starts on.
    EXPECT_EQ(panels->listRequests.first(),
              (SavePanelListOption{
                  u"采样率："_s, {u"44.1 kHz"_s, u"48 kHz"_s, u"88.2 kHz"_s, u"96 kHz"_s}, 1}));
    vm.exportTemplate();
    EXPECT_EQ(panels->listRequests.last().current, 3);
    EXPECT_EQ(panels->saveRequests.last().types, QList<FileType>{ardourSessionFolderType});
}

// The writers themselves keep an earlier file on failure; here the reason reaches the user.
TEST_F(ExportActions, FailedWriteShowsTheReasonAndKeepsTheStatus)
{
    vm.importSessionReportAt(mainShow);
    const std::optional<QString> loaded = vm.statusMessage();

    writeBytes(path(u"plain"_s), "not a folder");
    panels->saveLocation = path(u"plain/Show.RTrackTemplate"_s);
    vm.exportTemplate();
    ASSERT_TRUE(vm.errorMessage());
    EXPECT_EQ(vm.errorMessage(),
              u"无法写入文件“%1/Show.RTrackTemplate”：“%1”不是文件夹。"_s.arg(path(u"plain"_s)));
    EXPECT_EQ(vm.statusMessage(), loaded);
}
