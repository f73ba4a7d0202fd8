#pragma once

#include "model/audioinputcatalog.h"
#include "model/trackchannel.h"

#include <QFont>
#include <QHash>
#include <QHashFunctions>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace kelvary::ui {

// One column of the matrix: a mono input of the chosen device, with the pair that starts there
// (none at the last input) and the tracks that share it, when two or more do.
struct RoutingMatrixColumn {
    QString id;
    QString channelLabel;
    QString pairID;
    QStringList sharedBy;

    bool operator==(const RoutingMatrixColumn &) const = default;
};

inline size_t qHash(const RoutingMatrixColumn &column, size_t seed = 0) noexcept
{
    return qHashMulti(seed, column.id, column.channelLabel, column.pairID, column.sharedBy);
}

// The measured geometry of the grid, in logical pixels. Cells are square: `cellSize` is also
// the height of every track row and the width of every column. The user zooms the cells between
// the minimum and the maximum; the default fits 48 inputs beside the sidebar in a 1600-pixel
// window.
struct RoutingMatrixLayout {
    static constexpr int gridSpacing = 1;
    static constexpr int minimumCellSize = 20;
    static constexpr int defaultCellSize = 24;
    static constexpr int maximumCellSize = 48;
    static constexpr int minimumColumnHeaderHeight = 112;
    static constexpr int minimumNameWidth = 64;
    static constexpr int minimumNameColumnWidth = 96;
    // A longer track name is elided: beside the sidebar, this leaves room for 48 default cells.
    static constexpr int maximumNameColumnWidth = 120;
    // The device menu of the top-left cell wraps a long name over this many lines before the
    // name column widens for it.
    static constexpr int deviceNameLines = 3;

    int cellSize = defaultCellSize;
    int columnHeaderHeight = minimumColumnHeaderHeight;
    int nameColumnWidth = minimumNameColumnWidth;

    bool operator==(const RoutingMatrixLayout &) const = default;
};

// What the matrix shows for one device: its mono inputs as columns and the geometry.
struct RoutingMatrixModel {
    QString deviceUID;
    QList<RoutingMatrixColumn> columns;
    RoutingMatrixLayout layout;

    bool operator==(const RoutingMatrixModel &) const = default;
};

// The fonts the layout is measured in: the labels (column headers and track names) and the
// device names of the header menu.
struct RoutingMatrixFonts {
    // Track names already measured in a label font. The matrix is measured again after every
    // edit, and shaping every name each time made most of the cost of a paint stroke's step.
    struct NameWidths {
        QFont font;
        QHash<QString, int> widths;
    };

    QFont label;
    QFont deviceName;
    // Shared by copies; emptied when the label font is not the one it measured in.
    std::shared_ptr<NameWidths> nameWidths = std::make_shared<NameWidths>();

    // The application's font at 12 pixels (less in cells under 24), medium weight, and the
    // application's font as is.
    static RoutingMatrixFonts standard(int cellSize = RoutingMatrixLayout::defaultCellSize);
};

// A device's name as the top-left cell's menu shows it: as menus write it, with the mark of a
// device that is not attached kept whole when the name wraps.
QString deviceMenuLabel(const AudioInputDevice &device);

// The width a device's name needs in the top-left cell's menu, wrapped over at most
// `RoutingMatrixLayout::deviceNameLines` lines: `atLeast`, or more when the name needs it.
int deviceMenuWidth(const QFont &font, const QString &name, int atLeast);

// A zoom the cells can take: `cellSize` brought within the minimum and the maximum.
int clampedMatrixCellSize(int cellSize);

// The rows of the matrix: the included tracks, in session order.
TrackList matrixTracks(const TrackList &tracks);

// Cells of `cellSize`, clamped, and larger when a label needs it; a header and a name column
// that hold every label, every track name and every device's name as its menu shows it.
RoutingMatrixLayout measureRoutingMatrixLayout(const QList<RoutingMatrixColumn> &columns,
                                               const TrackList &tracks,
                                               const QList<AudioInputDevice> &devices,
                                               const RoutingMatrixFonts &fonts,
                                               int cellSize = RoutingMatrixLayout::defaultCellSize);

// The model for `deviceUID` (the first device when none is given) with cells of `cellSize`, or
// nothing when the catalogue has no such device.
std::optional<RoutingMatrixModel>
buildRoutingMatrixModel(const std::optional<QString> &deviceUID, const AudioInputCatalog &catalog,
                        const TrackList &tracks, const RoutingMatrixFonts &fonts,
                        int cellSize = RoutingMatrixLayout::defaultCellSize);

// Where a point of the cell block falls: a row and a column index.
struct RoutingMatrixCell {
    qsizetype row = 0;
    qsizetype column = 0;

    bool operator==(const RoutingMatrixCell &) const = default;
};

// The cell under `point` (origin at the top-left corner of the top-left cell), or nothing for a
// point in a gap between cells or outside the block.
std::optional<RoutingMatrixCell> hitTestRoutingMatrix(QPointF point, qreal columnWidth,
                                                      qreal rowHeight, qreal gridSpacing,
                                                      qsizetype rowCount, qsizetype columnCount);

} // namespace kelvary::ui
