#pragma once

#include "model/result.h"
#include "model/trackchannel.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QUuid>

class QPainter;

namespace kelvary {

class PdfTextLayer;

enum class SessionPDFExportError { noTracks, writeFailed };

QString errorMessage(SessionPDFExportError error);

// Writes the printable A4 channel sheet: a title block, then one table row per track with its
// type, console channel, name, console input, and the audio device and input it records from.
// Lengths are PDF points, measured from the top-left corner of the page.
struct SessionPDFExporter {
    struct Column {
        QString title;
        double width = 0.0;

        bool operator==(const Column &) const = default;
    };

    // What a page is drawn on: the painter, and the record of every text it draws, which the
    // PDF's text layer is mended from.
    struct Canvas {
        QPainter &painter;
        PdfTextLayer &text;
    };

    struct Row {
        QStringList cells;

        bool operator==(const Row &) const = default;
    };

    QList<Column> columns = {
        {QStringLiteral("类型"), 42},      {QStringLiteral("通道"), 46},
        {QStringLiteral("名称"), 110},     {QStringLiteral("调音台输入"), 100},
        {QStringLiteral("输入设备"), 115}, {QStringLiteral("输入通道"), 76},
    };
    // For a show that plays back to its inputs (virtual soundcheck): the outputs of each track,
    // shown in a column after the device input; see addPlaybackColumn().
    QHash<QUuid, QString> playbackOutputByTrackID;
    bool showsPlayback = false;
    QSizeF pageSize{595, 842};
    double margin = 36;
    double titleBlockHeight = 54;
    double headerRowHeight = 26;
    double bodyRowHeight = 22;
    double cellPaddingX = 6;

    // Writes the sheet to `filePath`. An existing file is replaced only once the new one is
    // complete; with no tracks nothing is created.
    Result<void> exportPDF(const ParsedSession &session, const TrackList &tracks,
                           const QHash<QString, QString> &deviceNameByUID,
                           const QHash<QString, QString> &channelLabelByID,
                           const QString &filePath) const;

    // Adds the column "回放" after the device input, narrowing the console input and device
    // columns to make room, with the outputs each track plays back to.
    void addPlaybackColumn(QHash<QUuid, QString> outputByTrackID);

    Row makeRow(const TrackChannel &track, const QHash<QString, QString> &deviceNameByUID,
                const QHash<QString, QString> &channelLabelByID) const;

    // Body rows that fit below the title block and header row; at least one.
    qsizetype rowsPerPage() const;

    void drawPage(Canvas &canvas, const ParsedSession &session, const QList<Row> &rows,
                  qsizetype firstRow, qsizetype rowsPerPage, int pageNumber, int pageCount,
                  double tableLeft, double tableWidth) const;

    void drawHeaderRow(const QFont &font, Canvas &canvas, double top, double left) const;

    bool operator==(const SessionPDFExporter &) const = default;
};

} // namespace kelvary
