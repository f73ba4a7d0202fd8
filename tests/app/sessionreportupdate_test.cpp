#include "viewmodelharness.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

using SessionReportUpdateTest = ViewModelTest;

TEST_F(SessionReportUpdateTest, KeepsTheEngineersWorkAndTakesTheConsolesChanges)
{
    importReport();
    vm.setSplitStereoChannels(true);
    vm.setIncluded(false, idOf(u"1"_s));
    vm.setTrackColor({1, 0, 0, 1}, idOf(u"3 R"_s));
    vm.setAudioInputChannel(u"madi:3"_s, idOf(u"3 L"_s));
    ASSERT_TRUE(vm.addPlannedAudioDevice(u"Rack"_s, 8));
    vm.setAudioInputChannel(u"planned:Rack:1"_s, idOf(u"2"_s));
    const TrackChannel keysRight = track(u"3 R"_s);
    const QUuid kick = idOf(u"1"_s);
    select({u"1"_s, u"5"_s});
    const SessionEditSnapshot before = snapshot();
    const qsizetype undoSteps = vm.undoSnapshots().size();

    // The report after a rehearsal: 0 and 7 are new, 4 became stereo, 5 is gone, 2 and 3s were
    // renamed and 1 re-patched.
    const std::optional<SessionReportUpdate> update = vm.previewSessionReportUpdate(
        QStringLiteral(KELVARY_TEST_DATA "/reports/every-kind-revised.txt"));
    ASSERT_TRUE(update);
    EXPECT_EQ(vm.session(), before.session);
    EXPECT_EQ(update->changeLines(),
              (QStringList{u"新增 0 Talkback"_s, u"新增 4 L Bass L"_s, u"新增 4 R Bass R"_s,
                           u"新增 7 Acoustic"_s, u"删除 4 Bass"_s, u"删除 5 Vox"_s,
                           u"改名 2 Snare → Snare Top"_s, u"改名 3 L Keys L → Keys Rhodes L"_s,
                           u"改名 3 R Keys R → Keys Rhodes R"_s, u"改输入 1 MADI 1 → MADI 11"_s}));
    vm.applySessionReportUpdate(*update);

    EXPECT_EQ(vm.statusMessage(), u"已更新：新增 4 · 删除 2 · 改名 3 · 改输入 1 · 保留 13"_s);
    EXPECT_EQ(labels(), (QStringList{u"0"_s, u"1"_s, u"2"_s, u"3 L"_s, u"3 R"_s, u"4 L"_s, u"4 R"_s,
                                     u"6 L"_s, u"6 R"_s, u"7"_s, u"A1"_s, u"A2 L"_s, u"A2 R"_s,
                                     u"A3"_s, u"G1"_s, u"M1"_s, u"M2"_s}));
    TrackChannel renamedRight = keysRight;
    renamedRight.name = u"Keys Rhodes R"_s;
    EXPECT_EQ(track(u"3 R"_s), renamedRight);
    EXPECT_EQ(track(u"3 L"_s).audioInputChannelID, u"madi:3"_s);
    EXPECT_EQ(track(u"2"_s).audioInputChannelID, u"planned:Rack:1"_s);
    EXPECT_EQ(track(u"1"_s).id, kick);
    EXPECT_FALSE(track(u"1"_s).isIncluded);
    EXPECT_TRUE(track(u"7"_s).isIncluded);
    EXPECT_EQ(track(u"7"_s).audioInputDeviceUID, std::nullopt);
    EXPECT_EQ(track(u"4 R"_s).stereoSourceLabel, u"4s"_s);
    EXPECT_EQ(vm.selectedTrackIDs(), QSet<QUuid>{kick});
    EXPECT_EQ(vm.session().sessionName, u"Main Show v2"_s);

    // One step back to exactly where the engineer was.
    EXPECT_EQ(vm.undoSnapshots().size(), undoSteps + 1);
    vm.undo();
    EXPECT_EQ(snapshot(), before);
}

// Neither an update nor an import from a report that cannot be read changes anything.
TEST_F(SessionReportUpdateTest, ChangesNothingForTheSameReportOrOneThatCannotBeRead)
{
    importReport();
    const ParsedSession session = vm.session();
    vm.updateFromSessionReportAt(writeFile(u"show.txt"_s, showReport()));
    EXPECT_EQ(vm.statusMessage(), u"新报告与当前工程一致，无需更新。"_s);
    EXPECT_FALSE(vm.canUndo());

    const QString empty = writeFile(u"empty.txt"_s, "  \n");
    vm.updateFromSessionReportAt(empty);
    EXPECT_EQ(vm.errorMessage(), u"Session Report 内容为空。"_s);
    vm.renameTrack(u"Kick In"_s, idOf(u"1"_s));
    const ParsedSession renamed = vm.session();
    vm.setErrorMessage(std::nullopt);
    vm.importSessionReportAt(empty);
    EXPECT_EQ(vm.errorMessage(), u"Session Report 内容为空。"_s);
    EXPECT_FALSE(vm.isLoading());
    EXPECT_EQ(vm.session(), renamed);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
}

TEST_F(SessionReportUpdateTest, ARenamedSceneKeepsThePatch)
{
    const QByteArray scene = fixtureBytes(u"consoles/sunday.scn"_s);
    vm.importSessionReportAt(writeFile(u"sunday.scn"_s, scene));
    vm.setAudioInputChannel(u"madi:0"_s, idOf(u"1"_s));
    vm.setIncluded(true, idOf(u"2"_s));

    // Re-saved by the desk: channel 1 renamed and moved to input 9, channel 2 named.
    QByteArray resaved = scene;
    resaved.replace("\"Kick\" 1 RD 1", "\"Kick In\" 1 RD 9")
        .replace("\"\" 1 OFF 2", "\"Snare\" 1 OFF 2");
    vm.updateFromSessionReportAt(writeFile(u"sunday-2.scn"_s, resaved));
    EXPECT_EQ(vm.statusMessage(), u"已更新：新增 0 · 删除 0 · 改名 2 · 改输入 1 · 保留 64"_s);
    EXPECT_EQ(track(u"1"_s).name, u"Kick In"_s);
    EXPECT_EQ(track(u"1"_s).inputRoute, u"AES50-A 9"_s);
    EXPECT_EQ(track(u"1"_s).audioInputChannelID, u"madi:0"_s);
    EXPECT_TRUE(track(u"2"_s).isIncluded);
}
