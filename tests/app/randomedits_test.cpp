// Hundreds of random edits of every kind with undos and redos among them, the invariants checked
// after each and every undo and redo checked against the state it must restore.

#include "viewmodelharness.h"

#include <QRandomGenerator>

#include <functional>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

constexpr quint32 seed = 20261206;
constexpr int editCount = 400;

} // namespace

class RandomEdits : public ViewModelTest {
protected:
    enum class Move { edit, undo, redo };

    QUuid anyTrack()
    {
        // Now and then an id that names no track.
        if (vm.tracks().isEmpty() || random.bounded(20) == 0)
            return QUuid::createUuid();
        return vm.tracks()[random.bounded(int(vm.tracks().size()))].id;
    }

    DigicoChannelType anyType()
    {
        return allChannelTypes[random.bounded(int(allChannelTypes.size()))];
    }

    std::optional<QString> anyDevice()
    {
        static const QStringList devices{u"madi"_s, u"usb"_s, u"unplugged"_s, u"planned:Stage 0"_s};
        if (random.bounded(5) == 0)
            return std::nullopt;
        return devices[random.bounded(int(devices.size()))];
    }

    std::optional<QString> anyChannel()
    {
        const std::optional<QString> device = anyDevice();
        if (!device)
            return std::nullopt;
        return random.bounded(4) == 0 ? *device + u":stereo:0"_s
                                      : *device + u':' + QString::number(random.bounded(18));
    }

    RGBColor anyColor() { return {random.generateDouble(), random.generateDouble(), 0.5, 1.0}; }

    void randomSelection()
    {
        QSet<QUuid> ids;
        for (const TrackChannel &track : vm.tracks()) {
            if (random.bounded(3) == 0)
                ids.insert(track.id);
        }
        vm.setSelectedTrackIDs(ids);
    }

    Move randomEdit()
    {
        const std::function<void()> edits[] = {
            [&] { vm.renameTrack(u"name %1"_s.arg(random.bounded(100)), anyTrack()); },
            [&] { vm.setIncluded(random.bounded(2), anyTrack()); },
            [&] { vm.setTrackColor(anyColor(), anyTrack()); },
            [&] { vm.moveTrack(anyTrack(), anyTrack()); },
            [&] { vm.deleteTrack(anyTrack()); },
            [&] { vm.setTracksIncluded(random.bounded(2), anyType()); },
            [&] { vm.toggleTypeIncluded(anyType()); },
            [&] { vm.includeOnlyType(anyType()); },
            [&] { vm.setColorForType(anyColor(), anyType()); },
            [&] { vm.restoreDefaultColors(); },
            [&] { vm.setSplitStereoChannels(!vm.splitStereoChannels()); },
            [&] { vm.setAudioInputDevice(anyDevice(), anyTrack()); },
            [&] { vm.setAudioInputChannel(anyChannel(), anyTrack()); },
            [&] { vm.assignSelectedToDevice(anyDevice().value_or(u"madi"_s)); },
            [&] { vm.assignSequentially(anyDevice().value_or(u"usb"_s), random.bounded(-1, 16)); },
            [&] { randomSelection(); },
            [&] { // a routing matrix drag across a few cells
                vm.beginGroupedMutation();
                for (int cell = random.bounded(1, 6); cell > 0; --cell)
                    vm.assignAudioInputChannel(anyChannel(), anyTrack());
                vm.endGroupedMutation();
            },
            [&] { // one painted cell
                vm.recordUndoSnapshotIfNeeded();
                vm.assignAudioInputChannel(anyChannel(), anyTrack());
            },
            [&] { // adds, refuses a name already taken, or removes
                if (random.bounded(2) || vm.plannedAudioDevices().isEmpty())
                    vm.addPlannedAudioDevice(u"Stage %1"_s.arg(random.bounded(2)), 8);
                else
                    vm.removePlannedAudioDevice(vm.plannedAudioDevices().constFirst().id);
            },
        };
        const int editKinds = int(std::size(edits));
        // Two of every 23 moves redo and two undo.
        const int pick = random.bounded(editKinds + 4);
        if (pick < editKinds) {
            edits[pick]();
            return Move::edit;
        }
        if (pick < editKinds + 2) {
            vm.redo();
            return Move::redo;
        }
        vm.undo();
        return Move::undo;
    }

    void checkInvariants(int step)
    {
        SCOPED_TRACE(testing::Message() << "after edit " << step << " (seed " << seed << ")");
        QSet<QUuid> ids;
        for (const TrackChannel &track : vm.tracks())
            ids.insert(track.id);
        ASSERT_EQ(ids.size(), vm.tracks().size()) << "track ids are unique";
        ASSERT_TRUE(ids.contains(vm.selectedTrackIDs())) << "only existing tracks are selected";
        ASSERT_EQ(vm.groupedMutationDepth(), 0);
        ASSERT_LE(vm.undoSnapshots().size() + vm.redoSnapshots().size(),
                  SessionViewModel::undoLimit);
        ASSERT_FALSE(vm.isApplyingUndo());
    }

    QRandomGenerator random{seed};
};

TEST_F(RandomEdits, KeepTheInvariantsAndUndoAndRedoRestoreEachState)
{
    QByteArray report = "Input Channels\n";
    for (int i = 1; i <= 30; ++i)
        report += QByteArray::number(i) + (i % 4 == 0 ? "s" : "") + "\tInput " +
                  QByteArray::number(i) + "\tMADI " + QByteArray::number(i) + "\n";
    report += "Aux Outputs\nA1\tWedge\nA2s\tIEM\nA3\tFX\nGroup Outputs\nG1\tDrums\nG2s\tBand\n"
              "Matrix Outputs\nM1\tL\nM2\tR\nM3\tSub\nM4\tFill\nM5\tDelay\n";
    importReport(report);
    ASSERT_EQ(vm.tracks().size(), 40);

    // The states undo and redo must give back, the next one last.
    QList<SessionEditSnapshot> expected;
    QList<SessionEditSnapshot> redoable;
    bool reachedLimit = false;
    for (int step = 1; step <= editCount; ++step) {
        SCOPED_TRACE(testing::Message() << "edit " << step << ", seed " << seed);
        const SessionEditSnapshot before = snapshot();
        QSignalSpy recorded(&vm, &SessionViewModel::undoSnapshotsChanged);
        const Move move = randomEdit();
        checkInvariants(step);
        if (HasFatalFailure())
            return;

        // The lists matched the view model's before the move, so they tell whether it could.
        if (move == Move::undo && !expected.isEmpty()) {
            ASSERT_EQ(snapshot(), expected.takeLast()) << "undo";
            redoable.append(before);
        } else if (move == Move::redo && !redoable.isEmpty()) {
            ASSERT_EQ(snapshot(), redoable.takeLast()) << "redo";
            expected.append(before);
        } else if (move == Move::edit && !recorded.isEmpty()) {
            ASSERT_EQ(recorded.size(), 1) << "one undo step per edit";
            expected.append(before);
            if (expected.size() > SessionViewModel::undoLimit)
                expected.removeFirst();
            redoable.clear();
        } else {
            ASSERT_TRUE(recorded.isEmpty());
            ASSERT_TRUE(move == Move::edit || snapshot() == before) << "nothing to undo or redo";
        }
        reachedLimit = reachedLimit || vm.undoSnapshots().size() == SessionViewModel::undoLimit;
        ASSERT_EQ(expected.size(), vm.undoSnapshots().size());
        ASSERT_EQ(redoable.size(), vm.redoSnapshots().size());
    }

    while (vm.canUndo()) {
        redoable.append(snapshot());
        vm.undo();
        ASSERT_EQ(snapshot(), expected.takeLast()) << "final undo, seed " << seed;
    }
    while (vm.canRedo()) {
        vm.redo();
        ASSERT_EQ(snapshot(), redoable.takeLast()) << "final redo, seed " << seed;
    }
    EXPECT_TRUE(expected.isEmpty() && redoable.isEmpty());
    EXPECT_TRUE(reachedLimit) << "the run never filled the history, so no oldest step was dropped";
}
