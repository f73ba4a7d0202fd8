#include "viewmodelharness.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

using TrackEditing = ViewModelTest;

TEST_F(TrackEditing, MovingATrackPutsItInTheTargetsPlace)
{
    importReport("1\tA\n2\tB\n3\tC\n4\tD\n");
    vm.moveTrack(idOf(u"1"_s), idOf(u"3"_s));
    EXPECT_EQ(labels(), (QStringList{u"2"_s, u"3"_s, u"1"_s, u"4"_s}));
    vm.moveTrack(idOf(u"4"_s), idOf(u"3"_s));
    EXPECT_EQ(labels(), (QStringList{u"2"_s, u"4"_s, u"3"_s, u"1"_s}));
    EXPECT_EQ(vm.undoSnapshots().size(), 2);

    vm.moveTrack(idOf(u"2"_s), idOf(u"2"_s));
    EXPECT_EQ(vm.undoSnapshots().size(), 2) << "no move, no undo step";
    vm.undo();
    vm.undo();
    EXPECT_EQ(labels(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
}

TEST_F(TrackEditing, RowEditsApplyToTheSelectionOnlyForColour)
{
    importReport();
    select({u"1"_s, u"2"_s, u"4"_s});
    vm.setIncluded(false, idOf(u"2"_s));
    EXPECT_FALSE(track(u"2"_s).isIncluded);
    EXPECT_TRUE(track(u"1"_s).isIncluded && track(u"4"_s).isIncluded);

    vm.renameTrack(QString(), idOf(u"1"_s));
    EXPECT_EQ(track(u"2"_s).name, u"Snare"_s);

    const RGBColor red{1, 0, 0, 1};
    vm.setTrackColor(red, idOf(u"5"_s)); // not part of the selection
    EXPECT_EQ(track(u"5"_s).color, red);
    EXPECT_NE(track(u"1"_s).color, red);
    vm.setTrackColor(red, idOf(u"4"_s));
    EXPECT_EQ(track(u"1"_s).color, red);
    EXPECT_EQ(track(u"2"_s).color, red);
}

TEST_F(TrackEditing, TypeColourIsTheCommonColourOrTheDefault)
{
    importReport("G1\tA\nG2\tB\nG3\tC\n1\tKick\n");
    const RGBColor red{1, 0, 0, 1};
    const RGBColor blue{0, 0, 1, 1};
    EXPECT_EQ(vm.colorForType(DigicoChannelType::aux), defaultColor(DigicoChannelType::aux));
    vm.setColorForType(red, DigicoChannelType::input); // the fallback reads every row as input
    EXPECT_EQ(vm.colorForType(DigicoChannelType::input), red);
    vm.setTrackColor(blue, idOf(u"G2"_s));
    EXPECT_EQ(vm.colorForType(DigicoChannelType::input), defaultColor(DigicoChannelType::input));

    vm.restoreDefaultColors();
    for (const TrackChannel &track : vm.tracks())
        EXPECT_EQ(track.color, defaultColor(track.channelType));
    vm.undo();
    EXPECT_EQ(track(u"G2"_s).color, blue);
    EXPECT_EQ(track(u"G1"_s).color, red);
}
