#include "viewmodelharness.h"

using namespace kelvary;
using namespace Qt::StringLiterals;

// The limit of steps, an undo without history and that each undo restores the state before its
// step are checked by the random edits.
using Undo = ViewModelTest;

TEST_F(Undo, ARunOfKeystrokesInOneNameIsOneStepUntilAnotherEdit)
{
    importReport();
    const QUuid kick = idOf(u"1"_s);
    for (const QString &name : {u"K"_s, u"Ki"_s, u"Kic"_s, u"Kick"_s, u"Kick!"_s})
        vm.renameTrack(name, kick);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    vm.undo();
    EXPECT_EQ(track(u"1"_s).name, u"Kick"_s);
    EXPECT_FALSE(vm.canUndo());

    // Any other edit ends the run.
    const QUuid snare = idOf(u"2"_s);
    vm.renameTrack(u"A"_s, kick);
    vm.renameTrack(u"B"_s, snare);
    vm.renameTrack(u"AA"_s, kick);
    vm.setTrackColor({1, 0, 0, 1}, kick);
    vm.renameTrack(u"AAA"_s, kick);
    EXPECT_EQ(vm.undoSnapshots().size(), 5);
}

TEST_F(Undo, AGroupIsOneStepAndAnUnmatchedEndIsHarmless)
{
    importReport();
    vm.endGroupedMutation();
    EXPECT_EQ(vm.groupedMutationDepth(), 0);
    vm.beginGroupedMutation();
    vm.beginGroupedMutation();
    vm.deleteTrack(idOf(u"1"_s));
    vm.renameTrack(u"x"_s, idOf(u"2"_s));
    vm.endGroupedMutation();
    vm.endGroupedMutation();
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    vm.undo();
    EXPECT_EQ(labels().first(), u"1"_s);
    EXPECT_EQ(track(u"2"_s).name, u"Snare"_s);
}
