#include "export/sessionpdfexporter.h"

#include "export/pdftextlayer.h"
#include "model/fileio.h"

#include <QBuffer>
#include <QColor>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace kelvary {

namespace {

using namespace Qt::StringLiterals;

const QColor labelColor(0x1C, 0x1C, 0x1E);
const QColor secondaryLabelColor(0x8A, 0x8A, 0x8E);
const QColor separatorColor(0xC6, 0xC6, 0xC8);
const QColor headerFillColor(0xF0, 0xF0, 0xF2);
constexpr double lineWidth = 0.5;

const QString missingValue = u"—"_s;

// Sizes are in points, which are device units at 72 dots per inch.
QFont sheetFont(double pointSize, QFont::Weight weight)
{
    QFont font;
    font.setFamilies({u"Noto Sans CJK SC"_s, u"Noto Sans SC"_s, u"Source Han Sans SC"_s});
    font.setStyleHint(QFont::SansSerif);
    // NOTE: shaping swaps Latin digits for glyphs the font's character map does not reach, and
    // the PDF then has no text for them: search and copy would lose every number on the sheet.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

// The face for typographic quotes and apostrophes: the CJK face draws them a full em wide,
// which reads as a gap in a Latin name ("Drummer’s").
QFont latinQuoteFont(const QFont &sheet)
{
    QFont font = sheet;
    font.setFamilies({u"Noto Sans"_s, u"DejaVu Sans"_s, u"Liberation Sans"_s});
    return font;
}

bool isTypographicQuote(QChar c)
{
    return c == u'\u2018' || c == u'\u2019' || c == u'\u201C' || c == u'\u201D';
}

QString lookedUp(const std::optional<QString> &key, const QHash<QString, QString> &map)
{
    if (!key)
        return missingValue;
    const QString value = map.value(*key);
    return value.isEmpty() ? missingValue : value;
}

// One line from the rectangle's top-left corner, cut with an ellipsis where it would leave it.
void drawCellText(SessionPDFExporter::Canvas &canvas, const QFont &font, const QColor &color,
                  const QRectF &rect, QString text)
{
    text.replace(u"\r\n"_s, u" "_s);
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    QPainter &painter = canvas.painter;
    const QFontMetricsF metrics(font, painter.device());
    const QString drawn = metrics.elidedText(text, Qt::ElideRight, rect.width());
    painter.setPen(color);
    if (std::none_of(drawn.cbegin(), drawn.cend(), isTypographicQuote)) {
        painter.setFont(font);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, drawn);
        canvas.text.record(font, drawn);
        return;
    }
    // Run by run, the quotes in the Latin face; the ellipsis above was measured in the sheet's
    // face, whose quotes are wider, so the line only gets shorter.
    const QFont latin = latinQuoteFont(font);
    QRectF room = rect;
    for (qsizetype start = 0; start < drawn.size();) {
        const bool quotes = isTypographicQuote(drawn[start]);
        qsizetype end = start + 1;
        while (end < drawn.size() && isTypographicQuote(drawn[end]) == quotes)
            ++end;
        const QString run = drawn.sliced(start, end - start);
        const QFont &face = quotes ? latin : font;
        painter.setFont(face);
        painter.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, run);
        canvas.text.record(face, run);
        room.setLeft(room.left() + QFontMetricsF(face, painter.device()).horizontalAdvance(run));
        start = end;
    }
}

void strokeRect(QPainter &painter, const QRectF &rect)
{
    painter.setPen(QPen(separatorColor, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

} // namespace

QString errorMessage(SessionPDFExportError error)
{
    switch (error) {
    case SessionPDFExportError::noTracks:
        return u"没有选中的通道可导出。"_s;
    case SessionPDFExportError::writeFailed:
        return u"无法写入 PDF 文件。"_s;
    }
    Q_UNREACHABLE();
    return {};
}

void SessionPDFExporter::addPlaybackColumn(QHash<QUuid, QString> outputByTrackID)
{
    if (showsPlayback)
        return;
    constexpr double narrowedBy = 14;
    columns[3].width -= narrowedBy;
    columns[4].width -= narrowedBy;
    columns.append({u"回放"_s, 2 * narrowedBy + 26});
    playbackOutputByTrackID = std::move(outputByTrackID);
    showsPlayback = true;
}

SessionPDFExporter::Row
SessionPDFExporter::makeRow(const TrackChannel &track,
                            const QHash<QString, QString> &deviceNameByUID,
                            const QHash<QString, QString> &channelLabelByID) const
{
    Row row{{
        channelTypeAbbreviation(track.channelType),
        track.channelLabel,
        track.name,
        track.inputRoute.isEmpty() ? missingValue : track.inputRoute,
        lookedUp(track.audioInputDeviceUID, deviceNameByUID),
        lookedUp(track.audioInputChannelID, channelLabelByID),
    }};
    if (showsPlayback)
        row.cells.append(playbackOutputByTrackID.value(track.id, missingValue));
    return row;
}

qsizetype SessionPDFExporter::rowsPerPage() const
{
    const double room = pageSize.height() - 2 * margin - titleBlockHeight - headerRowHeight;
    return std::max<qsizetype>(1, static_cast<qsizetype>(std::floor(room / bodyRowHeight)));
}

Result<void> SessionPDFExporter::exportPDF(const ParsedSession &session, const TrackList &tracks,
                                           const QHash<QString, QString> &deviceNameByUID,
                                           const QHash<QString, QString> &channelLabelByID,
                                           const QString &filePath) const
{
    if (tracks.isEmpty())
        return SessionPDFExportError::noTracks;

    QList<Row> rows;
    rows.reserve(tracks.size());
    for (const TrackChannel &track : tracks)
        rows.append(makeRow(track, deviceNameByUID, channelLabelByID));

    const qsizetype perPage = rowsPerPage();
    const int pageCount = static_cast<int>((rows.size() + perPage - 1) / perPage);

    // Drawn in memory first: the text layer is mended before anything is written.
    QByteArray pdf;
    QBuffer drawing(&pdf);
    drawing.open(QIODevice::WriteOnly);
    QPdfWriter writer(&drawing);
    writer.setResolution(72);
    writer.setPageLayout(
        QPageLayout(QPageSize(pageSize, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
    writer.setCreator(QString());
    writer.setTitle(session.sessionName);

    QPainter painter;
    if (!painter.begin(&writer))
        return SessionPDFExportError::writeFailed;

    double tableWidth = 0;
    for (const Column &column : columns)
        tableWidth += column.width;

    PdfTextLayer text;
    Canvas canvas{painter, text};
    int pageNumber = 1;
    for (qsizetype first = 0; first < rows.size(); first += perPage, ++pageNumber) {
        if (pageNumber > 1)
            writer.newPage();
        drawPage(canvas, session, rows, first, perPage, pageNumber, pageCount, margin, tableWidth);
    }
    painter.end();
    drawing.close();

    // The sheet replaces an earlier one only once it is whole on disk.
    if (const Result<void> written = writeWholeFile(filePath, text.mended(pdf)); !written)
        return Error(SessionPDFExportError::writeFailed, written.error().message());
    return {};
}

void SessionPDFExporter::drawPage(Canvas &canvas, const ParsedSession &session,
                                  const QList<Row> &rows, qsizetype firstRow, qsizetype rowsPerPage,
                                  int pageNumber, int pageCount, double tableLeft,
                                  double tableWidth) const
{
    const QFont titleFont = sheetFont(16, QFont::DemiBold);
    const QFont detailsFont = sheetFont(10, QFont::Normal);
    const QFont headerFont = sheetFont(10, QFont::DemiBold);
    const QFont cellFont = sheetFont(9, QFont::Normal);
    QPainter &painter = canvas.painter;

    const double contentWidth = pageSize.width() - 2 * margin;
    const double pageNumberLeft = pageSize.width() - margin - 72;

    // A long session name stops short of the page number instead of running under it.
    const QString title = session.sessionName.isEmpty() ? u"通道列表"_s : session.sessionName;
    drawCellText(canvas, titleFont, labelColor,
                 QRectF(margin, margin, pageNumberLeft - margin - 8, 24), title);

    QStringList details;
    if (!session.consoleName.isEmpty())
        details.append(session.consoleName);
    if (!session.saveTime.isEmpty())
        details.append(session.saveTime);
    if (!session.softwareVersion.isEmpty()) {
        // Consoles write "V1702" themselves; other reports give the bare number.
        const bool marked = session.softwareVersion.startsWith(u'v', Qt::CaseInsensitive);
        details.append(marked ? session.softwareVersion : u"v"_s + session.softwareVersion);
    }
    if (!details.isEmpty()) {
        drawCellText(canvas, detailsFont, secondaryLabelColor,
                     QRectF(margin, margin + 20, contentWidth, 16), details.join(u" · "_s));
    }

    drawCellText(canvas, detailsFont, secondaryLabelColor, QRectF(pageNumberLeft, margin, 72, 16),
                 u"第 %1 / %2 页"_s.arg(pageNumber).arg(pageCount));

    const double headerTop = margin + titleBlockHeight;
    drawHeaderRow(headerFont, canvas, headerTop, tableLeft);

    const qsizetype lastRow = std::min(rows.size(), firstRow + rowsPerPage);
    double top = headerTop + headerRowHeight;
    for (qsizetype i = firstRow; i < lastRow; ++i, top += bodyRowHeight) {
        painter.fillRect(QRectF(tableLeft, top, tableWidth, bodyRowHeight), Qt::white);
        double left = tableLeft;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const double width = columns[c].width;
            drawCellText(
                canvas, cellFont, labelColor,
                QRectF(left + cellPaddingX, top + 5, width - 2 * cellPaddingX, bodyRowHeight - 8),
                rows[i].cells.value(c));
            strokeRect(painter, QRectF(left, top, width, bodyRowHeight));
            left += width;
        }
    }

    strokeRect(painter, QRectF(tableLeft, headerTop, tableWidth, top - headerTop));
}

void SessionPDFExporter::drawHeaderRow(const QFont &font, Canvas &canvas, double top,
                                       double left) const
{
    QPainter &painter = canvas.painter;
    for (const Column &column : columns) {
        const QRectF cell(left, top, column.width, headerRowHeight);
        painter.fillRect(cell, headerFillColor);
        drawCellText(canvas, font, labelColor,
                     QRectF(left + cellPaddingX, top + 6, column.width - 2 * cellPaddingX,
                            headerRowHeight - 8),
                     column.title);
        strokeRect(painter, cell);
        left += column.width;
    }
}

} // namespace kelvary
