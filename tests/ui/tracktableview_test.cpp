#include "tracklist/tracktableview.h"

#include "shell/commandbroadcaster.h"
#include "tracklist/trackcelldelegate.h"
#include "tracklist/tracklistmodel.h"
#include "tracklist/tracklistview.h"
#include "tracklisttestsupport.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

class TrackTableViewTest : public TrackListTest {
protected:
    TrackTableViewTest()
    {
        view.resize(1100, 520);
        view.show();
    }

    QModelIndex cell(const QString &label, int column) const
    {
        return model().index(model().rowOf(idOf(label)), column);
    }

    // The middle of a cell's control, or of the cell for plain columns.
    QPoint pointOf(const QString &label, int column) const
    {
        const QRect rect = table().visualRect(cell(label, column));
        const QRect control = TrackCellDelegate::controlRect(column, rect);
        return control.isNull() ? rect.center() : control.center();
    }

    void click(const QString &label, int column, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(table().viewport(), Qt::LeftButton, modifiers, pointOf(label, column));
    }

    // As the platform delivers it: a click, then a double-click event in place of the second
    // press, then its release.
    void doubleClick(const QString &label, int column)
    {
        const QPoint point = pointOf(label, column);
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(table().viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(table().viewport(), Qt::LeftButton, {}, point);
    }

    QSet<QString> selectedLabels() const
    {
        QSet<QString> result;
        for (const TrackChannel &track : vm.tracks()) {
            if (vm.selectedTrackIDs().contains(track.id))
                result.insert(track.channelLabel);
        }
        return result;
    }

    QSet<QString> tableSelection() const
    {
        QSet<QString> result;
        for (const QModelIndex &row :
             table().selectionModel()->selectedRows(TrackListModel::ChannelColumn))
            result.insert(row.data().toString());
        return result;
    }

    // Sends one drag step of `text` to the table over a cell; says whether the table accepted.
    bool dragOver(const QString &text, const QString &label, int column, bool drop)
    {
        QMimeData data;
        data.setText(text);
        const QPointF position = table().visualRect(cell(label, column)).center();
        QDragEnterEvent enter(position.toPoint(), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(table().viewport(), &enter);
        QDragMoveEvent move(position.toPoint(), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(table().viewport(), &move);
        if (!drop)
            return move.isAccepted();
        QDropEvent dropEvent(position, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(table().viewport(), &dropEvent);
        return dropEvent.isAccepted();
    }

    TrackTableView &table() const { return *view.table(); }
    TrackListModel &model() const { return *table().trackModel(); }

    TrackListView view{&vm};
};

TEST_F(TrackTableViewTest, SelectionIsTheViewModelsBothWays)
{
    importReport();
    click(u"1"_s, TrackListModel::NameColumn);
    EXPECT_EQ(selectedLabels(), QSet<QString>{u"1"_s});
    click(u"4"_s, TrackListModel::ChannelColumn, Qt::ControlModifier);
    EXPECT_EQ(selectedLabels(), (QSet<QString>{u"1"_s, u"4"_s}));
    click(u"A1"_s, TrackListModel::TypeColumn, Qt::ShiftModifier);
    EXPECT_EQ(selectedLabels(), (QSet<QString>{u"4"_s, u"5"_s, u"6s"_s, u"A1"_s}));

    select({u"G1"_s, u"2"_s});
    EXPECT_EQ(tableSelection(), (QSet<QString>{u"G1"_s, u"2"_s}));
    EXPECT_FALSE(vm.canUndo()) << "selecting is not an edit";

    // The keyboard moves, toggles, deletes and undoes; Delete leaves the next row selected.
    table().setFocus();
    click(u"2"_s, TrackListModel::NameColumn);
    QTest::keyClick(&table(), Qt::Key_Down);
    QTest::keyClick(&table(), Qt::Key_Space);
    EXPECT_FALSE(track(u"3s"_s).isIncluded);
    QTest::keyClick(&table(), Qt::Key_Delete);
    EXPECT_EQ(selectedLabels(), QSet<QString>{u"4"_s});
    QTest::keyClick(&table(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(selectedLabels(), QSet<QString>{u"3s"_s});
}

TEST_F(TrackTableViewTest, ControlsActOnTheirRowAndLeaveTheSelectionAlone)
{
    importReport();
    select({u"1"_s, u"2"_s, u"3s"_s});

    click(u"2"_s, TrackListModel::IncludedColumn);
    EXPECT_FALSE(track(u"2"_s).isIncluded);
    EXPECT_TRUE(track(u"1"_s).isIncluded);
    // Beside the checkbox, in its column, a click neither toggles nor selects.
    const QRect box = table().visualRect(cell(u"4"_s, TrackListModel::IncludedColumn));
    QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, box.topLeft() + QPoint(1, 1));
    EXPECT_TRUE(track(u"4"_s).isIncluded);
    EXPECT_EQ(selectedLabels(), (QSet<QString>{u"1"_s, u"2"_s, u"3s"_s}));

    click(u"2"_s, TrackListModel::DeleteColumn);
    EXPECT_FALSE(labels().contains(u"2"_s));
    EXPECT_EQ(tableSelection(), (QSet<QString>{u"1"_s, u"3s"_s}));

    vm.undo();
    EXPECT_EQ(tableSelection(), (QSet<QString>{u"1"_s, u"2"_s, u"3s"_s}));

    // A double click on delete removes one track, not two.
    doubleClick(u"4"_s, TrackListModel::DeleteColumn);
    EXPECT_EQ(labels().mid(0, 5), (QStringList{u"1"_s, u"2"_s, u"3s"_s, u"5"_s, u"6s"_s}));
}

TEST_F(TrackTableViewTest, ARunOfKeystrokesInANameIsOneUndoStep)
{
    importReport();
    const QModelIndex name = cell(u"1"_s, TrackListModel::NameColumn);
    doubleClick(u"1"_s, TrackListModel::NameColumn);
    auto *field = qobject_cast<QLineEdit *>(table().indexWidget(name));
    ASSERT_NE(field, nullptr);

    QTest::keyClicks(field, u"Kick In"_s);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);

    // Undo in the field is the session's: the name and the field go back together.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(track(u"1"_s).name, u"Kick"_s);
    EXPECT_EQ(field->text(), u"Kick"_s);

    // Closing the field unchanged adds no step.
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(vm.canUndo());
}

TEST_F(TrackTableViewTest, ARowDraggedOntoAnotherNameMovesThere)
{
    importReport();
    select({u"5"_s});
    // Taking hold of the handle does not select the row.
    click(u"1"_s, TrackListModel::ReorderHandleColumn);
    EXPECT_EQ(selectedLabels(), QSet<QString>{u"5"_s});

    const QString kick = uuidText(idOf(u"1"_s));
    EXPECT_TRUE(dragOver(kick, u"4"_s, TrackListModel::NameColumn, false));
    EXPECT_EQ(table().dropTargetIndex(), cell(u"4"_s, TrackListModel::NameColumn));
    EXPECT_FALSE(dragOver(kick, u"4"_s, TrackListModel::ConsoleInputColumn, false));
    EXPECT_FALSE(dragOver(kick, u"1"_s, TrackListModel::NameColumn, true));
    EXPECT_FALSE(vm.canUndo());

    EXPECT_TRUE(dragOver(kick, u"4"_s, TrackListModel::NameColumn, true));
    EXPECT_EQ(labels().mid(0, 5), (QStringList{u"2"_s, u"3s"_s, u"4"_s, u"1"_s, u"5"_s}));
    EXPECT_EQ(tableSelection(), QSet<QString>{u"5"_s});
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
}

TEST_F(TrackTableViewTest, DeviceMenuOpensOnPressAndReachesTheEditTargets)
{
    importReport();
    select({u"1"_s, u"2"_s, u"3s"_s});
    answerNextMenu([&](QMenu &menu) { menuAction(menu, u"Eight In"_s)->trigger(); });
    click(u"2"_s, TrackListModel::AudioDeviceColumn);

    EXPECT_EQ(track(u"3s"_s).audioInputDeviceUID, u"eight"_s);
    EXPECT_EQ(selectedLabels(), (QSet<QString>{u"1"_s, u"2"_s, u"3s"_s}));
}

TEST_F(TrackTableViewTest, ShowsAnInvitationUntilThereAreTracksAndANoticeWithoutInputs)
{
    EXPECT_EQ(view.currentWidget(), view.emptyStateOpenButton()->parentWidget());
    QSignalSpy importRequests(&CommandBroadcaster::instance(),
                              &CommandBroadcaster::kelvaryImportReportRequested);
    QTest::mouseClick(view.emptyStateOpenButton(), Qt::LeftButton);
    EXPECT_EQ(importRequests.size(), 1);
    importReport();
    EXPECT_EQ(view.currentWidget(), table().parentWidget());
    EXPECT_FALSE(view.noInputNotice()->isVisible());

    hardware->devices = QList<FakeAudioHardware::Device>();
    vm.refreshAudioInputCatalog();
    EXPECT_TRUE(view.noInputNotice()->isVisible());
}

} // namespace
} // namespace kelvary::ui
