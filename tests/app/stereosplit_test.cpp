#include "viewmodelharness.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

using StereoSplit = ViewModelTest;

TEST_F(StereoSplit, SplitsStereoChannelsAndJoinsThemBack)
{
    importReport("1\tKick\tMADI 1\n2s\tKeys\tMADI 2\n3\tVox\n4s\tPad\n");
    const QUuid stereoID = idOf(u"2s"_s);
    vm.setSplitStereoChannels(true);
    EXPECT_EQ(labels(), (QStringList{u"1"_s, u"2 L"_s, u"2 R"_s, u"3"_s, u"4 L"_s, u"4 R"_s}));

    vm.setIncluded(false, idOf(u"2 L"_s));
    vm.renameTrack(u"Piano"_s, idOf(u"2 L"_s));
    vm.assignAudioInputChannel(u"madi:4"_s, idOf(u"2 R"_s));
    vm.moveTrack(idOf(u"4 R"_s), idOf(u"4 L"_s));
    vm.setSplitStereoChannels(false);
    // Sides merge only in left-right order.
    EXPECT_EQ(labels(), (QStringList{u"1"_s, u"2s"_s, u"3"_s, u"4 R"_s, u"4 L"_s}));
    const TrackChannel &merged = track(u"2s"_s);
    EXPECT_NE(merged.id, stereoID);
    EXPECT_EQ(merged.inputRoute, u"MADI 2"_s);
    EXPECT_TRUE(merged.isIncluded) << "the right side was still included";
    // The left name, and the right side's input for want of the left's.
    EXPECT_EQ(merged.name, u"Piano"_s);
    EXPECT_EQ(merged.audioInputChannelID, u"madi:4"_s);
    EXPECT_FALSE(merged.stereoSourceLabel || merged.stereoSide);
}

TEST_F(StereoSplit, OnlyLowercaseStereoLabelsOfTwoCharactersOrMoreSplit)
{
    TrackChannel lone;
    lone.channelLabel = u"s"_s;
    TrackChannel capital;
    capital.channelLabel = u"3S"_s;
    TrackChannel side = capital.stereoSideChannel(u"4"_s, StereoChannelSide::left);
    side.channelLabel = u"4s"_s; // a side keeps its source label and is never split again
    const TrackList tracks{lone, capital, side};
    EXPECT_EQ(splitStereoTracks(tracks), tracks);
}

TEST_F(StereoSplit, SelectionKeepsOnlyTracksThatSurviveAndUndoBringsThemBack)
{
    importReport();
    select({u"1"_s, u"3s"_s});
    vm.setSplitStereoChannels(true);
    EXPECT_EQ(vm.selectedTrackIDs(), QSet<QUuid>{idOf(u"1"_s)});
    vm.undo();
    EXPECT_EQ(vm.selectedTrackIDs(), (QSet<QUuid>{idOf(u"1"_s), idOf(u"3s"_s)}));
}
