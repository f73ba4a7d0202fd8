// The routing matrix on a real view model: its states, the device menu and the mouse gestures.

#include "routingmatrix/matrixboxpainting.h"
#include "routingmatrix/matrixtracknamerow.h"
#include "routingmatrix/routingmatrixdeviceheader.h"
#include "routingmatrix/routingmatrixgrid.h"
#include "routingmatrix/routingmatrixpaintview.h"
#include "routingmatrix/trackroutingmatrixview.h"
#include "shell/commandbroadcaster.h"
#include "tracklist/colorwell.h"
#include "tracklisttestsupport.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

using State = TrackRoutingMatrixView::State;

// The six input tracks of the report (1, 2, 3s, 4, 5, 6s) as rows, on "MADI Card" (16 inputs)
// or "USB Interface" (2).
class RoutingMatrixViewTest : public ViewModelTest {
protected:
    void SetUp() override
    {
        QSettings().remove(TrackRoutingMatrixView::cellSizeSettingsKey);
        importReport();
    }

    void show(QSize size = {900, 700})
    {
        view = std::make_unique<TrackRoutingMatrixView>(&vm);
        view->resize(size);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    RoutingMatrixPaintView *cells() const { return view->paintView(); }
    QPoint centre(int row, int column) const { return cells()->cellRect(row, column).center(); }
    QString headerText() const { return view->deviceHeader()->menuButton()->text(); }
    // The channel of each row as its (first) column number, -1 for none.
    QList<int> rowColumns() const
    {
        QList<int> result;
        for (const TrackChannel &row : matrixTracks(vm.tracks())) {
            const auto channel =
                channelWithID(row.audioInputChannelID, vm.audioInputCatalog().devices());
            result << (channel ? int(channel->channelIndex) : -1);
        }
        return result;
    }

    std::unique_ptr<TrackRoutingMatrixView> view;
};

TEST_F(RoutingMatrixViewTest, StartsOnTheSelectionsDeviceAndShowsTheIncludedTracksAgainstItsInputs)
{
    vm.setAudioInputDevice(u"usb"_s, idOf(u"4"_s));
    select({u"4"_s, u"5"_s});
    show();
    EXPECT_EQ(view->state(), State::grid);
    EXPECT_EQ(view->matrixModel()->columns.size(), 2);

    QMenu *menu = view->deviceHeader()->menuButton()->menu();
    Q_EMIT menu->aboutToShow();
    ASSERT_EQ(menuTitles(*menu), (QStringList{u"MADI Card"_s, u"USB Interface"_s}));
    menu->actions().at(0)->trigger();
    ASSERT_EQ(view->matrixModel()->columns.size(), 16);
    EXPECT_EQ(view->matrixModel()->columns.at(2),
              (RoutingMatrixColumn{u"madi:2"_s, u"Ch 3"_s, u"madi:stereo:2"_s, {}}));
    EXPECT_EQ(headerText(), u"MADI Card");

    // Each name sits beside its row; leaving a track out of the export takes its row away.
    MatrixTrackNameRow *keys = view->grid()->nameRows().at(2);
    EXPECT_EQ(keys->text(), u"Keys");
    vm.setIncluded(false, idOf(u"2"_s));
    EXPECT_EQ(view->grid()->nameRows().size(), 5);
}

TEST_F(RoutingMatrixViewTest, FollowsTheCatalogueAndSaysWhyThereIsNoGrid)
{
    show();
    view->setSelectedDeviceUID(u"usb"_s);
    hardware->devices = QList{FakeAudioHardware::device(u"madi"_s, u"MADI Card"_s, {16}),
                              FakeAudioHardware::device(u"usb"_s, u"USB Interface"_s, {4})};
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(view->matrixModel()->columns.size(), 4);

    // The chosen device is unplugged: the first remaining one takes its place.
    hardware->devices = QList{FakeAudioHardware::device(u"dante"_s, u"Dante VSC"_s, {64})};
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(view->state(), State::grid);
    EXPECT_EQ(headerText(), u"Dante VSC");

    hardware->devices = QList<FakeAudioHardware::Device>();
    vm.refreshAudioInputCatalog();
    EXPECT_EQ(view->state(), State::noDevices);
    EXPECT_EQ(view->panelTitle()->text(), u"无音频输入设备");
    EXPECT_FALSE(view->deviceHeader()->isVisible());
    // The way out is the 设备 menu's own request, which opens its dialog.
    QSignalSpy addRequests(&CommandBroadcaster::instance(),
                           &CommandBroadcaster::kelvaryAddPlannedDeviceRequested);
    ASSERT_TRUE(view->addPlannedDeviceButton()->isVisible());
    QTest::mouseClick(view->addPlannedDeviceButton(), Qt::LeftButton);
    EXPECT_EQ(addRequests.size(), 1);
}

// Scrolled by (x, y), the point (5, 5) of the viewport lies over `cell`.
struct Scrolled {
    int x;
    int y;
    RoutingMatrixCell cell;
};

TEST_F(RoutingMatrixViewTest, NamesAndHeadersStayFrozenAndInLineWithTheCellsAtAnyScroll)
{
    show({420, 260});
    view->setCellSize(40); // pitch 41
    QScrollArea *area = view->scrollArea();
    const auto inArea = [area](QWidget *w, QPoint p = {}) { return w->mapTo(area, p); };
    for (const Scrolled &s : {Scrolled{0, 0, {0, 0}}, Scrolled{100, 0, {0, 2}},
                              Scrolled{0, 50, {1, 0}}, Scrolled{130, 90, {2, 3}}}) {
        SCOPED_TRACE(testing::Message() << s.x << ", " << s.y);
        area->horizontalScrollBar()->setValue(s.x);
        area->verticalScrollBar()->setValue(s.y);
        ASSERT_EQ(QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()),
                  QPoint(s.x, s.y));
        for (int row = 0; row < 6; ++row) {
            const QPoint name = inArea(view->grid()->nameRows().at(row));
            EXPECT_EQ(name, QPoint(0, inArea(cells(), cells()->cellRect(row, 0).topLeft()).y()));
        }
        for (int column = 0; column < 16; column += 5) {
            const QRect header = view->grid()->columnHeaderRect(column);
            EXPECT_EQ(header.topLeft(),
                      QPoint(inArea(cells(), cells()->cellRect(0, column).topLeft()).x(), 0));
        }
        const QPoint at = cells()->mapFrom(area->viewport(), QPoint(5, 5));
        EXPECT_EQ(cells()->hitTest(at), s.cell);
    }
}

// The cell size before, the wheel's turn with Ctrl (or without) and the size after.
struct Zoom {
    int before;
    int angle;
    int after;
    Qt::KeyboardModifiers modifiers = Qt::ControlModifier;
};

TEST_F(RoutingMatrixViewTest, CtrlAndTheWheelZoomTheCellsWithinBoundsAndTheZoomIsKept)
{
    show();
    for (const Zoom &z : {Zoom{24, 120, 26}, Zoom{24, -240, 20}, Zoom{21, -120, 20},
                          Zoom{47, 360, 48}, Zoom{48, 120, 48}, Zoom{30, 120, 30, {}}}) {
        SCOPED_TRACE(testing::Message() << z.before << " by " << z.angle);
        view->setCellSize(z.before);
        QWidget *viewport = view->scrollArea()->viewport();
        QWheelEvent wheel(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), {}, {0, z.angle},
                          Qt::NoButton, z.modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        EXPECT_EQ(view->matrixModel()->layout.cellSize, z.after);
        EXPECT_EQ(cells()->cellRect(1, 1).topLeft(), QPoint(z.after + 1, z.after + 1));
        EXPECT_EQ(view->deviceHeader()->zoomSlider()->value(), z.after);
    }
    // The next matrix, as after a restart, opens at the size last chosen.
    view->deviceHeader()->zoomSlider()->setValue(36);
    show();
    EXPECT_EQ(view->matrixModel()->layout.cellSize, 36);
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
            if (x / pitch == 2 && y / pitch == 2 && cx > 3 && cx < size - 4 && cy > 3 &&
                cy < size - 4)
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

    // A stereo row marks both cells of its pair; a column two rows share is tinted throughout.
    vm.patchAudioInput(u"madi:5"_s, idOf(u"6s"_s));
    vm.assignAudioInputChannel(u"madi:9"_s, idOf(u"1"_s));
    vm.assignAudioInputChannel(u"madi:9"_s, idOf(u"2"_s));
    EXPECT_EQ(view->matrixModel()->columns.at(9).sharedBy, (QStringList{u"Kick"_s, u"Snare"_s}));
    const QImage whole = cells()->grab().toImage();
    for (int column : {5, 6})
        EXPECT_NE(whole.pixelColor(centre(5, column)).rgb(), base.rgb()) << column;
    EXPECT_EQ(whole.pixelColor(centre(5, 7)).rgb(), base.rgb());
    EXPECT_EQ(whole.pixelColor(cells()->cellRect(3, 9).topLeft() + QPoint(2, 2)).rgb(),
              sharedInputTint(base).rgb());

    // Name rows are filled with the track's colour inside the same border.
    MatrixTrackNameRow *row = view->grid()->nameRows().at(1);
    const QImage name = row->grab().toImage();
    const QColor fill = toQColor(track(u"2"_s).color);
    EXPECT_EQ(name.pixelColor(2, name.height() / 2).rgb(), fill.rgb());
    EXPECT_EQ(name.pixelColor(0, name.height() / 2).rgb(),
              matrixBorderColor(row->palette().color(QPalette::WindowText), fill).rgb());
}

// A point of a gesture: the centre of a cell, moved by some pixels.
struct At {
    int row;
    int column;
    QPoint offset{};
    bool inGapAfter = false;
};

// Pressed at the first point, moved through the others and released at the last, or at
// `release`. Columns are numbers on "MADI Card", -1 for none.
struct Gesture {
    const char *name;
    QList<int> before;
    QList<At> path;
    QList<int> after;
    QList<int> painted; // the cells asked for, in order
    int clears = 0;
    std::optional<At> release = std::nullopt;
};

const QList<int> none{-1, -1, -1, -1, -1, -1};

const Gesture gestures[] = {
    // clang-format off
    {"a click assigns", {}, {{1, 3}}, {-1, 3, -1, -1, -1, -1}, {3}},
    // Row 2 is the stereo 3s: it takes the pair from the cell clicked, and either cell clears.
    {"a click on a stereo row", {}, {{2, 7}}, {-1, -1, 7, -1, -1, -1}, {7}},
    {"a click on a pair's second cell", {-1, -1, 7}, {{2, 8}}, none, {}, 1},
    // Judged by the cell under the mouse-down: the release may land elsewhere.
    {"a click on the assigned cell clears", {-1, 3}, {{1, 3}}, none, {}, 1, At{4, 9}},
    {"a click in a gap changes nothing", {}, {{1, 1, {}, true}}, none, {}},
    // Over the track's own channel too: a drag never clears.
    {"a drag along a row", {1}, {{0, 0}, {0, 1}, {0, 2}}, {2, -1, -1, -1, -1, -1}, {0, 1, 2}},
    // Many events inside one cell, then out and back in twice: a cell once per entry.
    {"back and forth", {}, {{2, 4}, {2, 4, {3, 1}}, {2, 4, {9, 4}}, {2, 5}, {2, 4}, {2, 4, {3, 3}},
     {2, 5}}, {-1, -1, 5, -1, -1, -1}, {4, 5, 4, 5}},
    // One mouse event apart, every cell crossed is painted.
    {"a quick diagonal", {}, {{0, 0}, {5, 5}}, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
    {"over the header above the block", {}, {{0, 0}, {0, 0, {0, -63}}, {0, 6, {0, -63}}},
     {0, -1, -1, -1, -1, -1}, {0}},
    // clang-format on
};

TEST_F(RoutingMatrixViewTest, EachGestureSetsTheCellsItMeansAsOneUndoStep)
{
    for (const Gesture &g : gestures) {
        SCOPED_TRACE(g.name);
        importReport();
        for (qsizetype row = 0; row < g.before.size(); ++row) {
            if (g.before.at(row) >= 0)
                vm.patchAudioInput(u"madi:%1"_s.arg(g.before.at(row)),
                                   matrixTracks(vm.tracks()).at(row).id);
        }
        vm.clearUndoHistory();
        show();
        const ParsedSession original = vm.session();
        QSignalSpy painted(cells(), &RoutingMatrixPaintView::paintRequested);
        QSignalSpy cleared(cells(), &RoutingMatrixPaintView::clearRequested);
        QSignalSpy depth(&vm, &SessionViewModel::groupedMutationDepthChanged);
        const auto point = [this](const At &at) {
            if (at.inGapAfter)
                return cells()->cellRect(at.row, at.column).bottomRight() + QPoint(1, 1);
            return centre(at.row, at.column) + at.offset;
        };

        QTest::mousePress(cells(), Qt::LeftButton, {}, point(g.path.first()));
        for (const At &at : g.path.mid(1))
            QTest::mouseMove(cells(), point(at));
        QTest::mouseRelease(cells(), Qt::LeftButton, {}, point(g.release.value_or(g.path.last())));

        EXPECT_EQ(rowColumns(), g.after);
        QList<int> paintedColumns;
        for (const QList<QVariant> &call : painted)
            paintedColumns << int(cells()->columnIDs().indexOf(call.at(1).toString()));
        EXPECT_EQ(paintedColumns, g.painted);
        EXPECT_EQ(cleared.size(), g.clears);
        EXPECT_EQ(depth.size(), 2) << "one group, opened and closed";
        EXPECT_EQ(vm.undoSnapshots().size(), 1);
        vm.undo();
        EXPECT_EQ(vm.session(), original);
    }
}

TEST_F(RoutingMatrixViewTest, NameTypingAndADragCutShortByTheViewGoingAwayAreEachOneUndoStep)
{
    show();
    MatrixTrackNameRow *row = view->grid()->nameRows().at(1);
    row->setFocus();
    row->selectAll();
    QTest::keyClicks(row, u"Snare top"_s);
    EXPECT_EQ(vm.undoSnapshots().size(), 1);
    vm.undo();
    EXPECT_EQ(view->grid()->nameRows().at(1)->text(), u"Snare");

    QTest::mousePress(cells(), Qt::LeftButton, {}, centre(0, 0));
    QTest::mouseMove(cells(), centre(0, 1));
    EXPECT_EQ(vm.groupedMutationDepth(), 1);
    view.reset();
    EXPECT_EQ(vm.groupedMutationDepth(), 0);
    vm.renameTrack(u"Kick in"_s, idOf(u"1"_s));
    EXPECT_EQ(vm.undoSnapshots().size(), 2);
}

} // namespace
} // namespace kelvary::ui
