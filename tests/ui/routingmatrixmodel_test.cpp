// The matrix's geometry and hit test, computed without a window.

#include "routingmatrix/matrixboxpainting.h"
#include "routingmatrix/routingmatrixmodel.h"
#include "tracklist/colorwell.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

AudioInputDevice device(const QString &id, const QString &name, QList<AudioInputChannel> channels)
{
    const qint64 count = channels.size();
    return {id, name, std::move(channels), 0, count};
}

AudioInputChannel channel(const QString &device, int index, bool stereo = false)
{
    return {device + (stereo ? u":stereo:"_s : u":"_s) + QString::number(index), device, index,
            u"Ch %1"_s.arg(index + 1), stereo};
}

TEST(RoutingMatrixModel, TakesTheMonoInputsOfTheChosenDeviceAndGrowsToFitLongTexts)
{
    const RoutingMatrixFonts fonts = RoutingMatrixFonts::standard();
    const AudioInputCatalog catalog({
        device(u"a"_s, u"A"_s, {channel(u"a"_s, 0), channel(u"a"_s, 1), channel(u"a"_s, 0, true)}),
        device(u"b"_s, u"RME MADIface USB (23762817) · 外置声卡"_s, {channel(u"b"_s, 0, true)}),
    });
    TrackChannel kick;
    kick.name = u"Kick"_s;
    const TrackList tracks{kick};
    const std::optional<RoutingMatrixModel> first =
        buildRoutingMatrixModel(std::nullopt, catalog, tracks, fonts);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->deviceUID, u"a");
    EXPECT_EQ(first->columns,
              (QList<RoutingMatrixColumn>{{u"a:0"_s, u"Ch 1"_s, u"a:stereo:0"_s, {}},
                                          {u"a:1"_s, u"Ch 2"_s, {}, {}}}));
    // The device that is not shown widens the name column as much as the one that is.
    EXPECT_GT(first->layout.nameColumnWidth, 96);

    // A device of stereo pairs alone has no columns; one that is gone has no model at all.
    const std::optional<RoutingMatrixModel> pairsOnly =
        buildRoutingMatrixModel(u"b"_s, catalog, tracks, fonts);
    ASSERT_TRUE(pairsOnly);
    EXPECT_TRUE(pairsOnly->columns.isEmpty());
    EXPECT_FALSE(buildRoutingMatrixModel(u"gone"_s, catalog, tracks, fonts));

    RoutingMatrixFonts large = fonts;
    large.label.setPixelSize(40);
    const QString wide = u"Stage box A · Input 12 · Lead vocal spare"_s;
    const RoutingMatrixLayout layout =
        measureRoutingMatrixLayout({{u"a:0"_s, wide, {}, {}}}, {}, {}, large);
    EXPECT_GT(layout.cellSize, 48);
    EXPECT_GT(layout.columnHeaderHeight, QFontMetricsF(large.label).horizontalAdvance(wide));
}

// A device's name as the menu shows it, with the mark of one not attached, always finds room in
// the top-left cell; the zoom stays within its bounds.
struct Fit {
    QString name;
    bool attached;
    int cellSize;
    int expectedCellSize;
};

TEST(RoutingMatrixModel, TheWholeDeviceNameFitsItsCellAndTheZoomIsClamped)
{
    const RoutingMatrixFonts fonts = RoutingMatrixFonts::standard();
    const QFontMetrics metrics(fonts.deviceName);
    for (const Fit &f :
         {Fit{u"USB"_s, true, 10, 20}, Fit{u"Behringer X32 Rack 48"_s, false, 24, 24},
          Fit{u"Focusrite Scarlett 18i20 3rd Gen"_s, false, 60, 48},
          Fit{u"RME MADIface USB (23762817) · 外置声卡"_s, false, 30, 30}}) {
        SCOPED_TRACE(f.name.toStdString());
        AudioInputDevice shown = device(u"b"_s, f.name, {channel(u"b"_s, 0)});
        shown.isAttached = f.attached;
        const QString text = deviceMenuLabel(shown);
        const RoutingMatrixLayout layout =
            measureRoutingMatrixLayout({}, {}, {shown}, fonts, f.cellSize);
        const int room = layout.nameColumnWidth - 28;
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, room, 1000), Qt::TextWordWrap, text);
        const QRect oneLine = metrics.boundingRect(QRect(0, 0, 1000, 1000), 0, text);
        EXPECT_LE(wrapped.width(), room);
        EXPECT_LE(wrapped.height(), RoutingMatrixLayout::deviceNameLines * oneLine.height());
        EXPECT_EQ(layout.cellSize, f.expectedCellSize);
    }
}

TEST(RoutingMatrixHitTest, GapsBetweenCellsAndPointsOutsideHitNothing)
{
    const auto hit = [](qreal x, qreal y) { return hitTestRoutingMatrix({x, y}, 48, 48, 1, 3, 4); };
    EXPECT_EQ(hit(0, 0), (RoutingMatrixCell{0, 0}));
    EXPECT_EQ(hit(48, 48), (RoutingMatrixCell{0, 0}));
    EXPECT_FALSE(hit(48.5, 10));
    EXPECT_EQ(hit(49, 10), (RoutingMatrixCell{0, 1}));
    EXPECT_FALSE(hit(10, 48.5));
    EXPECT_EQ(hit(3 * 49 + 10, 2 * 49 + 10), (RoutingMatrixCell{2, 3}));
    // Past the last row or column, and just above or left of the block.
    EXPECT_FALSE(hit(10, 3 * 49 + 10));
    EXPECT_FALSE(hit(4 * 49 + 10, 10));
    EXPECT_FALSE(hit(10, -0.5));
    EXPECT_FALSE(hit(-0.5, 10));
}

// Names are written on the track's own colour: the pastel defaults want dark text, strong colours
// white, whatever the appearance.
TEST(RoutingMatrixNames, TakeDarkTextOnLightColoursAndWhiteOnDarkOnes)
{
    const struct {
        RGBColor fill;
        bool darkText;
    } cases[] = {
        {defaultColor(DigicoChannelType::input), true},
        {defaultColor(DigicoChannelType::aux), true},
        {defaultColor(DigicoChannelType::group), true},
        {defaultColor(DigicoChannelType::matrix), true},
        {defaultColor(DigicoChannelType::other), true},
        {{1.0, 0.85, 0.2, 1.0}, true},
        {{0.12, 0.23, 0.37, 1.0}, false},
        {{0.9, 0.22, 0.21, 1.0}, false},
        {{0.0, 0.0, 0.0, 1.0}, false},
    };
    for (const auto &c : cases) {
        const QColor fill = toQColor(c.fill);
        SCOPED_TRACE(fill.name().toStdString());
        EXPECT_EQ(matrixTextColor(fill).lightness() < 128, c.darkText);
    }
}

} // namespace
} // namespace kelvary::ui
