// The routing matrix on a real view model: its states, the device menu and the mouse gestures.

#include "app/viewmodelharness.h"
#include "routingmatrix/matrixboxpainting.h"
#include "routingmatrix/matrixtracknamerow.h"
#include "routingmatrix/routingmatrixdeviceheader.h"
#include "routingmatrix/routingmatrixgrid.h"
#include "routingmatrix/routingmatrixpaintview.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "tracklist/colorwell.h"
#include "uitestsupport.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

using State = TrackRoutingMatrixView::State;

// The six input tracks of the report (1, 2, 3s, 4, 5, 6s) as rows, on "MADI Card" (16 inputs)
// or "USB Interface" (2).
class RoutingMatrixViewTest : public ViewModelTest {
protected:
    void SetUp() override { importReport(); }

    TrackRoutingMatrixView &show(QSize size = {900, 700})
    {
        view = std::make_unique<TrackRoutingMatrixView>(&vm);
        view->resize(size);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        return *view;
    }

    RoutingMatrixPaintView *cells() const { return view->paintView(); }
    QPoint centre(int row, int column) const { return cells()->cellRect(row, column).center(); }
    QString channelOf(const QString &label) const
    {
        return track(label).audioInputChannelID.value_or(u"none"_s);
    }
    // The channel of each row, left to right as column numbers (-1 for none).
    QList<int> rowColumns() const
    {
        QList<int> result;
        for (const TrackChannel &row : matrixTracks(vm.tracks()))
            result << int(
                cells()->columnIDs().indexOf(row.audioInputChannelID.value_or(QString())));
        return result;
    }

    std::unique_ptr<TrackRoutingMatrixView> view;
};

TEST_F(RoutingMatrixViewTest, ShowsTheGridOfIncludedTracksOnTheFirstDeviceWithItsMeasuredGeometry)
{
    show();
    EXPECT_EQ(view->state(), State::grid);
    EXPECT_EQ(view->selectedDeviceUID(), u"madi");
    ASSERT_TRUE(view->matrixModel());
    EXPECT_EQ(view->matrixModel()->columns.size(), 16);
    EXPECT_EQ(view->matrixModel()->columns.at(2), (RoutingMatrixColumn{u"madi:2"_s, u"Ch 3"_s}));
    EXPECT_EQ(view->deviceHeader()->menuButton()->text(), u"MADI Card");

    const RoutingMatrixLayout layout = view->matrixModel()->layout;
    EXPECT_EQ(cells()->geometry(), QRect(layout.nameColumnWidth + 1, layout.columnHeaderHeight + 1,
                                         16 * layout.cellSize + 15, 6 * layout.cellSize + 5));
    ASSERT_EQ(view->grid()->nameRows().size(), 6);
    EXPECT_EQ(view->grid()->nameRows().at(2)->text(), u"Keys");
    EXPECT_EQ(view->grid()->nameRows().at(2)->geometry(),
              QRect(0, layout.columnHeaderHeight + 1 + 2 * (layout.cellSize + 1),
                    layout.nameColumnWidth, layout.cellSize));

    // A column header's tooltip repeats its turned label.
    const QRect header = view->grid()->columnHeaderRect(4);
    QHelpEvent help(QEvent::ToolTip, header.center(), view->grid()->mapToGlobal(header.center()));
    QCoreApplication::sendEvent(view->grid(), &help);
    EXPECT_EQ(QToolTip::text(), u"Ch 5");

    // Leaving a track out of the export takes its row away.
    vm.setIncluded(false, idOf(u"2"_s));
    EXPECT_EQ(view->grid()->nameRows().size(), 5);
    EXPECT_EQ(cells()->height(), 5 * layout.cellSize + 4);
}

TEST_F(RoutingMatrixViewTest, ExplainsWhenThereAreNoDevicesOrNoIncludedTracks)
{
    hardware->devices = QList<FakeAudioHardware::Device>();
    vm.refreshAudioInputCatalog();
    show();
    EXPECT_EQ(view->state(), State::noDevices);
    EXPECT_EQ(view->panelTitle()->text(), u"无音频输入设备");
    EXPECT_EQ(view->panelDescription()->text(), u"路由矩阵需要本机音频输入设备信息。");
    EXPECT_FALSE(view->deviceHeader()->isVisible());

    hardware->devices = QList{FakeAudioHardware::device(u"usb"_s, u"USB Interface"_s, {2})};
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(view->state(), State::grid);
    vm.setTracksIncluded(false, DigicoChannelType::input);
    EXPECT_EQ(view->state(), State::noTracks);
    EXPECT_EQ(view->panelTitle()->text(), u"无选中通道");
    EXPECT_EQ(view->panelDescription()->text(),
              u"请在通道列表中勾选「选中」，已选中的轨道会显示在路由矩阵中。");
    // The device menu stays, so another device can be chosen.
    EXPECT_TRUE(view->deviceHeader()->isVisible());
    EXPECT_EQ(view->deviceHeader()->menuButton()->text(), u"USB Interface");
}

TEST_F(RoutingMatrixViewTest, StartsOnTheDeviceTheSelectionSharesAndSwitchesThroughTheMenu)
{
    vm.setAudioInputDevice(u"usb"_s, idOf(u"4"_s));
    select({u"4"_s, u"5"_s});
    show();
    EXPECT_EQ(view->selectedDeviceUID(), u"usb");
    EXPECT_EQ(view->matrixModel()->columns.size(), 2);

    QMenu *menu = view->deviceHeader()->menuButton()->menu();
    Q_EMIT menu->aboutToShow();
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items.at(0)->text(), u"MADI Card");
    EXPECT_EQ(items.at(1)->text(), u"USB Interface");
    items.at(0)->trigger();
    EXPECT_EQ(view->selectedDeviceUID(), u"madi");
    EXPECT_EQ(view->matrixModel()->columns.size(), 16);
    EXPECT_EQ(view->deviceHeader()->menuButton()->text(), u"MADI Card");
}

TEST_F(RoutingMatrixViewTest, RebuildsWhenTheCatalogueChangesAndFallsBackWhenItsDeviceGoesAway)
{
    show();
    view->setSelectedDeviceUID(u"usb"_s);
    hardware->devices = QList{
        FakeAudioHardware::device(u"madi"_s, u"MADI Card"_s, {16}),
        FakeAudioHardware::device(u"usb"_s, u"USB Interface"_s, {4}),
    };
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(view->selectedDeviceUID(), u"usb");
    EXPECT_EQ(view->matrixModel()->columns.size(), 4);

    // The chosen device is unplugged: the first remaining device takes its place instead of a
    // loading indicator that would never end.
    hardware->devices = QList{FakeAudioHardware::device(u"dante"_s, u"Dante VSC"_s, {64})};
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(view->state(), State::grid);
    EXPECT_EQ(view->selectedDeviceUID(), u"dante");
    EXPECT_EQ(view->matrixModel()->columns.size(), 64);
    EXPECT_EQ(view->deviceHeader()->menuButton()->text(), u"Dante VSC");

    hardware->devices = QList<FakeAudioHardware::Device>();
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(view->state(), State::noDevices);
    EXPECT_EQ(view->panelTitle()->text(), u"无音频输入设备");
}

TEST_F(RoutingMatrixViewTest, PaintsFramedCellsGapsAndMarkersForAnyPartOfTheBlock)
{
    vm.assignAudioInputChannel(u"madi:2"_s, idOf(u"3s"_s));
    show();
    const QPalette colors = cells()->palette();
    const QColor window = colors.color(QPalette::Window);
    const QColor base = colors.color(QPalette::Base);
    const QColor border = matrixBorderColor(colors.color(QPalette::WindowText), base);
    const int size = view->matrixModel()->layout.cellSize;
    const int pitch = size + 1;

    // A repaint that starts inside a cell, as after scrolling by a few pixels.
    const QRect part(size / 2 + 7, pitch + 11, 3 * pitch, 3 * pitch);
    const QColor untouched(Qt::magenta);
    QImage image(cells()->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(untouched);
    cells()->render(&image, part.topLeft(), QRegion(part), QWidget::DrawChildren);

    for (int y = part.top() - 1; y <= part.bottom() + 1; ++y) {
        for (int x = part.left() - 1; x <= part.right() + 1; ++x) {
            const int cx = x % pitch;
            const int cy = y % pitch;
            const bool marked = x / pitch == 2 && y / pitch == 2 && cx > 3 && cx < size - 4 &&
                                cy > 3 && cy < size - 4;
            if (marked)
                continue; // the anti-aliased marker has its own check below
            QColor expected = base;
            if (!part.contains(x, y))
                expected = untouched;
            else if (cx == size || cy == size)
                expected = window;
            else if (cx == 0 || cy == 0 || cx == size - 1 || cy == size - 1)
                expected = border;
            ASSERT_EQ(image.pixelColor(x, y).rgb(), expected.rgb()) << "at " << x << ", " << y;
        }
    }
    EXPECT_NE(image.pixelColor(centre(2, 2)).rgb(), base.rgb());
    EXPECT_EQ(image.pixelColor(centre(2, 1)).rgb(), base.rgb());

    // Name rows are filled with the track's colour inside the same border.
    MatrixTrackNameRow *row = view->grid()->nameRows().at(1);
    const QImage name = row->grab().toImage();
    const RGBColor color = track(u"2"_s).color;
    const QColor fill = toQColor(color);
    EXPECT_EQ(name.pixelColor(2, name.height() / 2).rgb(), fill.rgb());
    EXPECT_EQ(name.pixelColor(0, name.height() / 2).rgb(),
              matrixBorderColor(row->palette().color(QPalette::WindowText), fill).rgb());
}

TEST_F(RoutingMatrixViewTest, ClickAssignsTheCellAndClickingTheAssignedCellClearsIt)
{
    show();
    QTest::mouseClick(cells(), Qt::LeftButton, {}, centre(1, 3));
    EXPECT_EQ(channelOf(u"2"_s), u"madi:3");
    EXPECT_EQ(track(u"2"_s).audioInputDeviceUID, u"madi");
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    EXPECT_EQ(vm.groupedMutationDepth(), 0);

    // Judged by the cell under the mouse-down: the release may land elsewhere.
    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(1, 3));
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, centre(4, 9));
    EXPECT_EQ(channelOf(u"2"_s), u"none");
    EXPECT_EQ(track(u"2"_s).audioInputDeviceUID, u"madi");
    EXPECT_EQ(vm.undoSnapshots().size(), 2);

    vm.undo();
    EXPECT_EQ(channelOf(u"2"_s), u"madi:3");
    vm.undo();
    EXPECT_EQ(channelOf(u"2"_s), u"none");
}

TEST_F(RoutingMatrixViewTest, DragAlongARowAssignsEachCellInTurnAsOneUndoStep)
{
    vm.setAudioInputChannel(u"madi:1"_s, idOf(u"1"_s));
    show();
    QSignalSpy painted(cells(), &RoutingMatrixPaintView::paintRequested);
    const qsizetype snapshots = vm.undoSnapshots().size();
    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(0, 0));
    QTest::mouseMove(cells(), centre(0, 1));
    QTest::mouseMove(cells(), centre(0, 2));
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, centre(0, 2));

    // Over the track's own channel too: a drag never clears.
    ASSERT_EQ(painted.size(), 3);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(painted.at(column).at(1).toString(), u"madi:%1"_s.arg(column));
    EXPECT_EQ(channelOf(u"1"_s), u"madi:2");
    EXPECT_EQ(vm.undoSnapshots().size(), snapshots + 1);
    vm.undo();
    EXPECT_EQ(channelOf(u"1"_s), u"madi:1");
}

TEST_F(RoutingMatrixViewTest, BackAndForthPaintsACellOncePerEntry)
{
    show();
    QSignalSpy painted(cells(), &RoutingMatrixPaintView::paintRequested);
    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(2, 4));
    // Many events inside one cell, then out and back in twice.
    for (int dx = 0; dx < 10; ++dx)
        QTest::mouseMove(cells(), centre(2, 4) + QPoint(dx, dx / 2));
    QTest::mouseMove(cells(), centre(2, 5));
    QTest::mouseMove(cells(), centre(2, 4));
    QTest::mouseMove(cells(), centre(2, 4) + QPoint(3, 3));
    QTest::mouseMove(cells(), centre(2, 5));
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, centre(2, 5));

    QStringList columns;
    for (const QList<QVariant> &call : painted)
        columns << call.at(1).toString();
    EXPECT_EQ(columns, (QStringList{u"madi:4"_s, u"madi:5"_s, u"madi:4"_s, u"madi:5"_s}));
}

TEST_F(RoutingMatrixViewTest, MouseDownInAGapChangesNothingButOpensOneGroup)
{
    show();
    const TrackList before = vm.tracks();
    QSignalSpy depth(&vm, &SessionViewModel::groupedMutationDepthChanged);
    const QPoint gap = cells()->cellRect(1, 1).bottomRight() + QPoint(1, 1);
    ASSERT_FALSE(cells()->hitTest(QPointF(gap) + QPointF(0.5, 0.5)));
    QTest::mouseClick(cells(), Qt::LeftButton, {}, gap);
    EXPECT_EQ(vm.tracks(), before);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    EXPECT_EQ(depth.size(), 2);
    EXPECT_EQ(vm.groupedMutationDepth(), 0);
}

TEST_F(RoutingMatrixViewTest, DiagonalDragPatchesEachTrackOnceInOneUndoStep)
{
    show();
    QSignalSpy painted(cells(), &RoutingMatrixPaintView::paintRequested);
    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(0, 2));
    // A hand-drawn diagonal: each step first strays a few pixels into the next column while
    // still in the same row, then drops into the next row.
    for (int row = 0; row < 5; ++row) {
        const QRect cell = cells()->cellRect(row, 2 + row);
        QTest::mouseMove(cells(), QPoint(cell.right() + 6, cell.bottom() - 4));
        QTest::mouseMove(cells(), centre(row + 1, 3 + row));
    }
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, centre(5, 7));

    EXPECT_EQ(rowColumns(), (QList<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(painted.size(), 6);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    vm.undo();
    EXPECT_EQ(rowColumns(), (QList<int>{-1, -1, -1, -1, -1, -1}));
}

TEST_F(RoutingMatrixViewTest, QuickDragPaintsEveryCellItCrossesButNothingAboveTheBlock)
{
    show();
    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(0, 0));
    QTest::mouseMove(cells(), centre(5, 5));
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, centre(5, 5));
    EXPECT_EQ(rowColumns(), (QList<int>{0, 1, 2, 3, 4, 5}));
    vm.undo();

    // Over the header above the block, nothing is painted.
    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(0, 0));
    QTest::mouseMove(cells(), centre(0, 0) + QPoint(0, -40));
    QTest::mouseMove(cells(), QPoint(centre(0, 6).x(), -40));
    QTest::mouseRelease(cells(), Qt::LeftButton, {}, QPoint(centre(0, 6).x(), -40));
    EXPECT_EQ(rowColumns(), (QList<int>{0, -1, -1, -1, -1, -1}));
}

TEST_F(RoutingMatrixViewTest, ScrollingIsSwitchedOffWhilePaintingAndFollowsADragToTheEdge)
{
    show({420, 360});
    QScrollBar *vertical = view->scrollArea()->verticalScrollBar();
    ASSERT_GT(vertical->maximum(), 0);
    const auto wheel = [this] {
        QWidget *viewport = view->scrollArea()->viewport();
        QWheelEvent event(QPointF(200, 200), viewport->mapToGlobal(QPointF(200, 200)), {},
                          QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &event);
    };

    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(0, 0));
    EXPECT_TRUE(view->isPaintingRoutes());
    wheel();
    EXPECT_EQ(vertical->value(), 0);

    // Held below the visible part, the drag scrolls the grid and paints the rows it brings in.
    QWidget *viewport = view->scrollArea()->viewport();
    const QPoint belowViewport = cells()->mapFrom(
        viewport, QPoint(cells()->mapTo(viewport, centre(0, 0)).x(), viewport->height() + 10));
    QTest::mouseMove(cells(), belowViewport);
    EXPECT_TRUE(QTest::qWaitFor([&] { return vertical->value() == vertical->maximum(); }, 3000));
    QTest::mouseRelease(cells(), Qt::LeftButton, {},
                        cells()->mapFromGlobal(cells()->pointerGlobalPosition()).toPoint());
    EXPECT_FALSE(view->isPaintingRoutes());
    EXPECT_EQ(rowColumns(), (QList<int>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(vm.undoSnapshots().size(), 1);

    vertical->setValue(0);
    wheel();
    EXPECT_GT(vertical->value(), 0);
}

TEST_F(RoutingMatrixViewTest, TypingInANameRowRenamesTheTrackAsOneUndoStep)
{
    show();
    MatrixTrackNameRow *row = view->grid()->nameRows().at(1);
    row->setFocus();
    row->selectAll();
    QTest::keyClicks(row, u"Snare top"_s);
    EXPECT_EQ(track(u"2"_s).name, u"Snare top");
    EXPECT_EQ(vm.undoSnapshots().size(), 1);

    vm.undo();
    EXPECT_EQ(track(u"2"_s).name, u"Snare");
    EXPECT_EQ(view->grid()->nameRows().at(1)->text(), u"Snare");
}

TEST_F(RoutingMatrixViewTest, ADragCutShortByTheViewGoingAwayStillClosesItsUndoGroup)
{
    show();
    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(0, 0));
    QTest::mouseMove(cells(), centre(0, 1));
    EXPECT_EQ(vm.groupedMutationDepth(), 1);
    view.reset();
    EXPECT_EQ(vm.groupedMutationDepth(), 0);
    vm.renameTrack(u"Kick in"_s, idOf(u"1"_s));
    EXPECT_EQ(vm.undoSnapshots().size(), 2);
}

TEST(RoutingMatrixInWindow, RoutingModeShowsAFreshMatrixEachTime)
{
    MainWindowFixture f;
    f.window.viewModel()->importSessionReportAt(fixture(u"main-show-tabs.txt"_s));
    TrackListView *list = f.window.trackListView();
    EXPECT_FALSE(list->routingMatrix());

    f.window.displayModeAction()->trigger();
    ASSERT_TRUE(list->routingMatrix());
    EXPECT_EQ(list->currentWidget(), list->routingMatrix());
    EXPECT_EQ(list->routingMatrix()->state(), TrackRoutingMatrixView::State::grid);
    list->routingMatrix()->setSelectedDeviceUID(u"missing"_s);

    f.window.displayModeAction()->trigger();
    EXPECT_FALSE(list->routingMatrix());
    f.window.displayModeAction()->trigger();
    ASSERT_TRUE(list->routingMatrix());
    EXPECT_EQ(list->routingMatrix()->selectedDeviceUID(), u"hw:CARD=UMC,DEV=0");
}

} // namespace
} // namespace kelvary::ui
