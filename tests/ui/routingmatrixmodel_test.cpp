// The matrix's geometry and hit test, computed without a window.

#include "routingmatrix/routingmatrixmodel.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>


using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

AudioInputDevice device(const QString &id, const QString &name, QList<AudioInputChannel> channels)
{
    const qint64 count = channels.size();
    return {id, name, std::move(channels), 0, count};
}

AudioInputChannel mono(const QString &device, int index, const QString &label)
{
    return {device + u':' + QString::number(index), device, index, label, false};
}

AudioInputChannel pair(const QString &device, int index)
{
    return {device + u":stereo:"_s + QString::number(index), device, index, u"Ch 1–2"_s, true};
}

TrackChannel track(const QString &name, bool included = true)
{
    TrackChannel result;
    result.name = name;
    result.isIncluded = included;
    return result;
}

TEST(RoutingMatrixLayout, ShortTextsGiveTheMinimumsAndLongOnesGrowWhatHoldsThem)
{
    const RoutingMatrixLayout minimum{48, 140, 96};
    const RoutingMatrixFonts fonts = RoutingMatrixFonts::standard();
    EXPECT_EQ(measureRoutingMatrixLayout({{u"a:0"_s, u"Ch 1"_s}}, {track(u"Kick"_s)},
                                         {device(u"a"_s, u"A"_s, {})}, fonts),
              minimum);

    // A label too tall for a 48-pixel cell, a long track name, and a long name of the device
    // that is not shown: each grows what holds it.
    RoutingMatrixFonts large = fonts;
    large.label.setPixelSize(40);
    const QString wide = u"Stage box A · Input 12 · Lead vocal spare"_s;
    const QString deviceName = u"RME MADIface USB (23762817) · 外置声卡"_s;
    const RoutingMatrixLayout layout = measureRoutingMatrixLayout(
        {{u"a:0"_s, u"1"_s}, {u"a:1"_s, wide}}, {track(u"Kick"_s), track(wide)},
        {device(u"a"_s, u"A"_s, {}), device(u"b"_s, deviceName, {})}, large);
    const QFontMetricsF metrics(large.label);
    EXPECT_GT(layout.cellSize, metrics.boundingRect(wide).height());
    EXPECT_GT(layout.columnHeaderHeight, metrics.horizontalAdvance(wide));
    EXPECT_GT(layout.nameColumnWidth, metrics.horizontalAdvance(wide));
    const RoutingMatrixLayout devices = measureRoutingMatrixLayout(
        {}, {track(u"Kick"_s)}, {device(u"a"_s, u"A"_s, {}), device(u"b"_s, deviceName, {})},
        fonts);
    EXPECT_GT(devices.nameColumnWidth,
              QFontMetricsF(fonts.deviceName).horizontalAdvance(deviceName));
}

TEST(RoutingMatrixModel, TakesTheMonoInputsOfTheChosenDeviceOrTheFirst)
{
    const RoutingMatrixFonts fonts = RoutingMatrixFonts::standard();
    const AudioInputCatalog catalog({
        device(u"a"_s, u"A"_s,
               {mono(u"a"_s, 0, u"Ch 1"_s), mono(u"a"_s, 1, u"Ch 2"_s), pair(u"a"_s, 0)}),
        device(u"b"_s, u"B"_s, {pair(u"b"_s, 0)}),
    });
    const TrackList tracks{track(u"Kick"_s)};

    const std::optional<RoutingMatrixModel> first =
        buildRoutingMatrixModel(std::nullopt, catalog, tracks, fonts);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->deviceUID, u"a");
    EXPECT_EQ(first->columns,
              (QList<RoutingMatrixColumn>{{u"a:0"_s, u"Ch 1"_s}, {u"a:1"_s, u"Ch 2"_s}}));

    // A device of stereo pairs alone has no columns; one that is gone has no model at all.
    const std::optional<RoutingMatrixModel> pairsOnly =
        buildRoutingMatrixModel(u"b"_s, catalog, tracks, fonts);
    ASSERT_TRUE(pairsOnly);
    EXPECT_TRUE(pairsOnly->columns.isEmpty());
    EXPECT_EQ(pairsOnly->layout.cellSize, 48);
    EXPECT_FALSE(buildRoutingMatrixModel(u"gone"_s, catalog, tracks, fonts));
    EXPECT_FALSE(buildRoutingMatrixModel(std::nullopt, AudioInputCatalog(), tracks, fonts));
}

TEST(RoutingMatrixHitTest, GapsBetweenCellsAndPointsOutsideHitNothing)
{
    const auto hit = [](qreal x, qreal y) { return hitTestRoutingMatrix({x, y}, 48, 48, 1, 3, 4); };
    EXPECT_EQ(hit(0, 0), (RoutingMatrixCell{0, 0}));
    EXPECT_EQ(hit(48, 48), (RoutingMatrixCell{0, 0}));
    EXPECT_FALSE(hit(48.5, 10));
    EXPECT_EQ(hit(49, 10), (RoutingMatrixCell{0, 1}));
    EXPECT_FALSE(hit(10, 48.5));
    EXPECT_EQ(hit(10, 49), (RoutingMatrixCell{1, 0}));
    EXPECT_EQ(hit(3 * 49 + 10, 2 * 49 + 10), (RoutingMatrixCell{2, 3}));
    // Past the last row or column, and just above or left of the block.
    EXPECT_FALSE(hit(10, 3 * 49 + 10));
    EXPECT_FALSE(hit(4 * 49 + 10, 10));
    EXPECT_FALSE(hit(10, -0.5));
    EXPECT_FALSE(hit(-0.5, 10));
    EXPECT_FALSE(hit(10, -30));
}

} // namespace
} // namespace kelvary::ui
