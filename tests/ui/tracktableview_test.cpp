#include "tracklist/tracktableview.h"

#include "shell/commandbroadcaster.h"
#include "tracklist/trackcelldelegate.h"
#include "tracklist/tracklistmodel.h"
#include "tracklist/tracklistview.h"
#include "tracklisttestsupport.h"

#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

class TrackTableViewTest : public TrackListTest {
public:
    using TrackListTest::track;

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

    // Presses a row's handle, moves it in two steps onto a cell of another row and lets go.
    void dragHandle(const QString &from, const QString &to, int column)
    {
        QWidget *viewport = table().viewport();
        const QPoint start = pointOf(from, TrackListModel::ReorderHandleColumn);
        const QPoint end = table().visualRect(cell(to, column)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(0, QApplication::startDragDistance()));
        QTest::mouseMove(viewport, end);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
    }

    bool nameFieldIsOpen() const
    {
        return table().indexWidget(cell(u"1"_s, TrackListModel::NameColumn)) != nullptr;
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

// One gesture of the keyboard or the mouse, started from a selection of rows 1 and 2.
struct TableGesture {
    const char *what;
    std::function<void(TrackTableViewTest &)> act;
    QStringList firstLabels;
    QString nameOfKick;
    qsizetype undoSteps;
    QSet<QString> selection = {QStringLiteral("1"), QStringLiteral("2")};
};

TEST_F(TrackTableViewTest, KeysAndMouseEditWhatTheUserMeans)
{
    const QStringList order{u"1"_s, u"2"_s, u"3s"_s, u"4"_s, u"5"_s};
    const auto renameKick = [](TrackTableViewTest &t, const QString &typed, int key) {
        t.doubleClick(u"1"_s, TrackListModel::NameColumn);
        auto *field = qobject_cast<QLineEdit *>(
            t.table().indexWidget(t.cell(u"1"_s, TrackListModel::NameColumn)));
        ASSERT_NE(field, nullptr);
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key(key),
                        key == Qt::Key_Z ? Qt::ControlModifier : Qt::NoModifier);
        if (key == Qt::Key_Z)
            QTest::keyClick(field, Qt::Key_Return);
        QApplication::processEvents(); // Return closes the field from the event loop
        EXPECT_FALSE(t.nameFieldIsOpen());
    };
    const auto keys = [](int key, Qt::KeyboardModifiers modifiers) {
        return [=](TrackTableViewTest &t) { QTest::keyClick(&t.table(), Qt::Key(key), modifiers); };
    };
    const Qt::KeyboardModifiers move = Qt::ControlModifier | Qt::ShiftModifier;
    const std::vector<TableGesture> gestures{
        {"Escape puts back the name the field opened with",
         [&](TrackTableViewTest &t) { renameKick(t, u"Snare"_s, Qt::Key_Escape); },
         order,
         u"Kick"_s,
         0,
         {u"1"_s}},
        {"Return keeps the run of keystrokes as one step",
         [&](TrackTableViewTest &t) { renameKick(t, u"Kick In"_s, Qt::Key_Return); },
         order,
         u"Kick In"_s,
         1,
         {u"1"_s}},
        {"undo in the field is the session's, and closing unchanged adds no step",
         [&](TrackTableViewTest &t) { renameKick(t, u"Kick In"_s, Qt::Key_Z); },
         order,
         u"Kick"_s,
         0,
         {u"1"_s}},
        {"a click on a selected row opens no field, so Space toggles it",
         [](TrackTableViewTest &t) {
             t.click(u"1"_s, TrackListModel::NameColumn);
             EXPECT_FALSE(t.nameFieldIsOpen());
             QTest::keyClick(&t.table(), Qt::Key_Space);
             EXPECT_FALSE(t.track(u"1"_s).isIncluded);
         },
         order,
         u"Kick"_s,
         1,
         {u"1"_s}},
        {"Ctrl+Shift+Down moves the selected rows one place",
         keys(Qt::Key_Down, move),
         {u"3s"_s, u"1"_s, u"2"_s, u"4"_s, u"5"_s},
         u"Kick"_s,
         1},
        {"Ctrl+Shift+Up at the top moves nothing", keys(Qt::Key_Up, move), order, u"Kick"_s, 0},
        {"a row dragged by its handle down its column lands on the row there, unselected",
         [](TrackTableViewTest &t) {
             t.dragHandle(u"4"_s, u"1"_s, TrackListModel::ReorderHandleColumn);
         },
         {u"4"_s, u"1"_s, u"2"_s, u"3s"_s, u"5"_s},
         u"Kick"_s,
         1},
        {"a row dropped on itself stays, and the table does not offer that drop",
         [](TrackTableViewTest &t) {
             const TrackListModel &model = *t.table().trackModel();
             const QModelIndex kick = model.index(0, TrackListModel::NameColumn);
             const std::unique_ptr<QMimeData> data(model.mimeData({kick}));
             EXPECT_FALSE(model.canDropMimeData(data.get(), Qt::MoveAction, -1, -1, kick));
             t.dragHandle(u"1"_s, u"1"_s, TrackListModel::NameColumn);
         },
         order, u"Kick"_s, 0},
    };
    for (const TableGesture &gesture : gestures) {
        SCOPED_TRACE(gesture.what);
        importReport();
        select({u"1"_s, u"2"_s});
        table().setFocus();
        gesture.act(*this);
        EXPECT_EQ(labels().mid(0, 5), gesture.firstLabels);
        EXPECT_EQ(track(u"1"_s).name, gesture.nameOfKick);
        EXPECT_EQ(vm.undoSnapshots().size(), gesture.undoSteps);
        EXPECT_EQ(selectedLabels(), gesture.selection);
    }
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
