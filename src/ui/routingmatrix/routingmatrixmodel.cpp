#include "routingmatrix/routingmatrixmodel.h"

#include "model/recordingcheck.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace kelvary::ui {

namespace {

// Measures are rounded up to a whole pixel so that text never touches a cell's edge.
int widthOf(const QFontMetricsF &metrics, const QString &text)
{
    return int(std::ceil(metrics.horizontalAdvance(text)));
}

int heightOf(const QFontMetricsF &metrics, const QString &text)
{
    return int(std::ceil(metrics.boundingRect(text).height()));
}

} // namespace

RoutingMatrixFonts RoutingMatrixFonts::standard(int cellSize)
{
    const QFont application = QGuiApplication::font();
    QFont label = application;
    label.setPixelSize(std::clamp(cellSize / 2, 10, 12));
    label.setWeight(QFont::Medium);
    return {label, application};
}

int clampedMatrixCellSize(int cellSize)
{
    return std::clamp(cellSize, RoutingMatrixLayout::minimumCellSize,
                      RoutingMatrixLayout::maximumCellSize);
}

QString deviceMenuLabel(const AudioInputDevice &device)
{
    const QString shown = deviceDisplayName(device);
    const QString mark = shown.mid(device.name.size());
    if (mark.isEmpty())
        return shown;
    // Chinese text may break between any two characters; word joiners keep the mark on one line.
    QString joined;
    for (const QChar c : mark) {
        if (!joined.isEmpty())
            joined += QChar(0x2060);
        joined += c;
    }
    return device.name + joined;
}

int deviceMenuWidth(const QFont &font, const QString &name, int atLeast)
{
    // From `atLeast` up to the name on one line: the first width at which the name wraps over no
    // more lines than the menu has and no word sticks out.
    // NOTE: a line is as tall as the name's own line, not the font's: Chinese text comes from a
    // fallback font with taller lines.
    const QFontMetrics metrics(font);
    constexpr int unbounded = 1 << 24;
    const QRect unwrapped =
        metrics.boundingRect(QRect(0, 0, unbounded, unbounded), Qt::AlignLeft, name);
    const int oneLine = unwrapped.width() + 1;
    const int lines = RoutingMatrixLayout::deviceNameLines;
    for (int width = std::min(oneLine, atLeast); width < oneLine; width += 4) {
        const QRect wrapped = metrics.boundingRect(
            QRect(0, 0, width, 4 * lines * unwrapped.height()), Qt::TextWordWrap, name);
        if (wrapped.width() <= width && wrapped.height() <= lines * unwrapped.height())
            return width;
    }
    return oneLine;
}

TrackList matrixTracks(const TrackList &tracks)
{
    TrackList result;
    result.reserve(tracks.size());
    for (const TrackChannel &track : tracks) {
        if (track.isIncluded)
            result.append(track);
    }
    return result;
}

RoutingMatrixLayout measureRoutingMatrixLayout(const QList<RoutingMatrixColumn> &columns,
                                               const TrackList &tracks,
                                               const QList<AudioInputDevice> &devices,
                                               const RoutingMatrixFonts &fonts, int cellSize)
{
    const QFontMetricsF label(fonts.label);
    RoutingMatrixLayout layout;
    layout.cellSize = clampedMatrixCellSize(cellSize);
    // The labels stand rotated: a label's height sets the column width, its width the header's
    // height.
    for (const RoutingMatrixColumn &column : columns) {
        layout.cellSize = std::max(layout.cellSize, heightOf(label, column.channelLabel) + 6);
        layout.columnHeaderHeight =
            std::max(layout.columnHeaderHeight, widthOf(label, column.channelLabel) + 24);
    }

    RoutingMatrixFonts::NameWidths &known = *fonts.nameWidths;
    if (known.font != fonts.label) {
        known.font = fonts.label;
        known.widths.clear();
    }
    int widestName = RoutingMatrixLayout::minimumNameWidth;
    for (const TrackChannel &track : tracks) {
        auto width = known.widths.constFind(track.name);
        if (width == known.widths.constEnd())
            width = known.widths.insert(track.name, widthOf(label, track.name));
        widestName = std::max(widestName, *width);
    }
    layout.nameColumnWidth =
        std::clamp(widestName + 20, RoutingMatrixLayout::minimumNameColumnWidth,
                   RoutingMatrixLayout::maximumNameColumnWidth);

    // Every device counts, so the column keeps its width when the user picks another one. The
    // name is measured as the menu shows it, with the mark of a device that is not attached.
    for (const AudioInputDevice &device : devices)
        layout.nameColumnWidth = std::max(layout.nameColumnWidth,
                                          deviceMenuWidth(fonts.deviceName, deviceMenuLabel(device),
                                                          layout.nameColumnWidth - 28) +
                                              28);
    return layout;
}

std::optional<RoutingMatrixModel>
buildRoutingMatrixModel(const std::optional<QString> &deviceUID, const AudioInputCatalog &catalog,
                        const TrackList &tracks, const RoutingMatrixFonts &fonts, int cellSize)
{
    const QList<AudioInputDevice> &devices = catalog.devices();
    if (devices.isEmpty())
        return std::nullopt;
    const std::optional<AudioInputDevice> device =
        deviceWithID(deviceUID.value_or(devices.first().id), devices);
    if (!device)
        return std::nullopt;

    RoutingMatrixModel model{device->id, {}, {}};
    for (const AudioInputChannel &channel : device->channels) {
        if (!channel.isStereoPair)
            model.columns.append({channel.id, channel.label, {}, {}});
    }
    for (const AudioInputChannel &channel : device->channels) {
        if (channel.isStereoPair && channel.channelIndex < model.columns.size())
            model.columns[channel.channelIndex].pairID = channel.id;
    }
    for (const SharedInput &shared : checkRecording(tracks, devices).shared) {
        if (shared.deviceUID != device->id)
            continue;
        for (qint64 k = shared.firstIndex; k <= shared.lastIndex && k < model.columns.size(); ++k)
            model.columns[k].sharedBy = shared.trackNames;
    }
    model.layout = measureRoutingMatrixLayout(model.columns, tracks, devices, fonts, cellSize);
    return model;
}

std::optional<RoutingMatrixCell> hitTestRoutingMatrix(QPointF point, qreal columnWidth,
                                                      qreal rowHeight, qreal gridSpacing,
                                                      qsizetype rowCount, qsizetype columnCount)
{
    // Rounded down, not toward zero: a point just above or left of the block is outside it and
    // must not count as the first row or column while a drag passes over the headers.
    const qreal rowPitch = rowHeight + gridSpacing;
    const qreal row = std::floor(point.y() / rowPitch);
    if (row < 0 || row >= qreal(rowCount) || point.y() - row * rowPitch > rowHeight)
        return std::nullopt;
    const qreal columnPitch = columnWidth + gridSpacing;
    const qreal column = std::floor(point.x() / columnPitch);
    if (column < 0 || column >= qreal(columnCount) ||
        point.x() - column * columnPitch > columnWidth)
        return std::nullopt;
    return RoutingMatrixCell{qsizetype(row), qsizetype(column)};
}

} // namespace kelvary::ui
