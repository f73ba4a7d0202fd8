#include "tracklist/tracklistmodel.h"

#include "tracklisttestsupport.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

class TrackListModelTest : public TrackListTest {
protected:
    QVariant data(const QString &label, int column, int role = Qt::DisplayRole) const
    {
        return model.index(model.rowOf(idOf(label)), column).data(role);
    }
    QString text(const QString &label, int column, int role = Qt::DisplayRole) const
    {
        return data(label, column, role).toString();
    }
    bool set(const QString &label, int column, const QVariant &value, int role = Qt::EditRole)
    {
        return model.setData(model.index(model.rowOf(idOf(label)), column), value, role);
    }

    QStringList rowLabels() const
    {
        QStringList labels;
        for (int row = 0; row < model.rowCount(); ++row)
            labels << model.index(row, TrackListModel::ChannelColumn).data().toString();
        return labels;
    }

    TrackListModel model{&vm};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(TrackListModelTest, ShowsTheTracksInSessionOrderWithTheTableTexts)
{
    importReport();
    EXPECT_EQ(rowLabels(), labels());
    EXPECT_EQ(text(u"1"_s, TrackListModel::AudioChannelColumn), u"未设置"_s);
    EXPECT_EQ(data(u"1"_s, TrackListModel::IncludedColumn, Qt::CheckStateRole), Qt::Checked);
    EXPECT_EQ(data(u"A1"_s, TrackListModel::IncludedColumn, Qt::CheckStateRole), Qt::Unchecked);
    // An aux output has no console input: a lighter dash, and no tooltip.
    EXPECT_EQ(text(u"1"_s, TrackListModel::ConsoleInputColumn), u"MADI 1"_s);
    EXPECT_FALSE(
        data(u"1"_s, TrackListModel::ConsoleInputColumn, TrackListModel::PlaceholderRole).toBool());
    EXPECT_EQ(text(u"A1"_s, TrackListModel::ConsoleInputColumn), u"—"_s);
    EXPECT_TRUE(data(u"A1"_s, TrackListModel::ConsoleInputColumn, TrackListModel::PlaceholderRole)
                    .toBool());
    EXPECT_FALSE(data(u"A1"_s, TrackListModel::ConsoleInputColumn, Qt::ToolTipRole).isValid());
}

TEST_F(TrackListModelTest, EditsAreViewModelOperationsOnTheRowsTrack)
{
    importReport();
    EXPECT_TRUE(set(u"A1"_s, TrackListModel::IncludedColumn, Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(track(u"A1"_s).isIncluded);
    EXPECT_TRUE(set(u"2"_s, TrackListModel::NameColumn, u"Snare Top"_s));
    EXPECT_EQ(track(u"2"_s).name, u"Snare Top"_s);
    // A translucent pick still stores an opaque colour.
    EXPECT_TRUE(set(u"2"_s, TrackListModel::ColorColumn, QColor(255, 128, 0, 40)));
    EXPECT_EQ(track(u"2"_s).color, (RGBColor{1.0, 128 / 255.0, 0.0, 1.0}));
    EXPECT_EQ(text(u"2"_s, TrackListModel::ColorColumn, Qt::ToolTipRole), u"#FF8000"_s);

    EXPECT_TRUE(set(u"2"_s, TrackListModel::AudioDeviceColumn, u"eight"_s));
    EXPECT_EQ(text(u"2"_s, TrackListModel::AudioDeviceColumn), u"Eight In"_s);
    EXPECT_TRUE(set(u"2"_s, TrackListModel::AudioChannelColumn, u"eight:5"_s));
    EXPECT_EQ(text(u"2"_s, TrackListModel::AudioChannelColumn), u"Ch 6"_s);
    set(u"2"_s, TrackListModel::AudioChannelColumn, QVariant());
    EXPECT_EQ(track(u"2"_s).audioInputChannelID, std::nullopt);
    EXPECT_EQ(track(u"2"_s).audioInputDeviceUID, u"eight"_s);
    EXPECT_EQ(vm.undoSnapshots().size(), 6);

    // Cells without an edit refuse one and leave the session alone.
    const ParsedSession before = vm.session();
    EXPECT_FALSE(set(u"2"_s, TrackListModel::ChannelColumn, u"9"_s));
    EXPECT_FALSE(set(u"2"_s, TrackListModel::ColorColumn, QColor()));
    EXPECT_EQ(vm.session(), before);
}

TEST_F(TrackListModelTest, TellsEachEditAsTheFinestChangeThatExplainsIt)
{
    importReport();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy relaid(&model, &QAbstractItemModel::layoutChanged);

    vm.renameTrack(u"Lead Vox"_s, idOf(u"5"_s));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 4);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 4);
    // A run of changed rows is one change over the whole run.
    vm.setTracksIncluded(true, DigicoChannelType::aux);
    ASSERT_EQ(changed.size(), 2);
    EXPECT_EQ(changed[1][0].toModelIndex().row(), 6);
    EXPECT_EQ(changed[1][1].toModelIndex().row(), 8);
    const QPersistentModelIndex vox = model.index(4, TrackListModel::NameColumn);
    vm.deleteTrack(idOf(u"2"_s));
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(vox.row(), 3);
    vm.moveTrack(idOf(u"1"_s), idOf(u"5"_s));
    EXPECT_EQ(moved.size(), 1);
    EXPECT_EQ(vox.row(), 2);
    vm.undo(); // the move
    vm.undo(); // the delete
    EXPECT_EQ(moved.size(), 2);
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(vox.row(), 4);

    // The stereo split replaces each stereo channel by its two sides, in place.
    vm.setSplitStereoChannels(true);
    EXPECT_EQ(removed.size(), 4);
    EXPECT_EQ(inserted.size(), 4);
    EXPECT_EQ(rowLabels(), labels());
    EXPECT_EQ(vox.row(), 5);
    EXPECT_EQ(reset.size() + relaid.size(), 0);

    // Only another session altogether starts the table afresh.
    importReport();
    EXPECT_EQ(reset.size(), 1);
    EXPECT_EQ(rowLabels(), labels());
}

} // namespace
} // namespace kelvary::ui
