#include "import/channellistreader.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>

#include <csv.h>

using namespace Qt::StringLiterals;

namespace kelvary {

QString errorMessage(ChannelListError error)
{
    switch (error) {
    case ChannelListError::missingColumn:
        return u"通道列表的标题行缺少必需的列。"_s;
    case ChannelListError::unreadableType:
        return u"通道列表中有无法识别的通道类型。"_s;
    case ChannelListError::unreadableColour:
        return u"通道列表中有无法识别的颜色。"_s;
    case ChannelListError::noChannels:
        return u"通道列表中没有通道：标题行下没有填写了通道（label）的行。"_s;
    }
    Q_UNREACHABLE();
    return {};
}

namespace {

enum class Column { label, name, type, route, colour };
constexpr int columnCount = 5;

struct ColumnName {
    QStringView text;
    Column column;
};

constexpr std::array columnNames{
    ColumnName{u"label", Column::label},   ColumnName{u"通道", Column::label},
    ColumnName{u"name", Column::name},     ColumnName{u"名称", Column::name},
    ColumnName{u"type", Column::type},     ColumnName{u"类型", Column::type},
    ColumnName{u"route", Column::route},   ColumnName{u"输入", Column::route},
    ColumnName{u"colour", Column::colour}, ColumnName{u"color", Column::colour},
    ColumnName{u"颜色", Column::colour},
};

struct TypeName {
    QStringView text;
    DigicoChannelType type;
};

constexpr std::array typeNames{
    TypeName{u"Input", DigicoChannelType::input},   TypeName{u"输入", DigicoChannelType::input},
    TypeName{u"Aux", DigicoChannelType::aux},       TypeName{u"辅助", DigicoChannelType::aux},
    TypeName{u"Group", DigicoChannelType::group},   TypeName{u"编组", DigicoChannelType::group},
    TypeName{u"Matrix", DigicoChannelType::matrix}, TypeName{u"矩阵", DigicoChannelType::matrix},
    TypeName{u"Other", DigicoChannelType::other},   TypeName{u"其他", DigicoChannelType::other},
};

// A header row is a handful of column names; a longer first line is something else.
constexpr qsizetype maximumHeaderLength = 4096;

std::optional<Column> columnNamed(QStringView text)
{
    for (const ColumnName &known : columnNames) {
        if (text.compare(known.text, Qt::CaseInsensitive) == 0)
            return known.column;
    }
    return std::nullopt;
}

std::optional<DigicoChannelType> typeNamed(QStringView text)
{
    if (text.isEmpty())
        return DigicoChannelType::input;
    for (const TypeName &known : typeNames) {
        if (text.compare(known.text, Qt::CaseInsensitive) == 0)
            return known.type;
    }
    return std::nullopt;
}

// "#RRGGBB", the "#" optional.
std::optional<RGBColor> colourNamed(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.sliced(1);
    if (text.size() != 6)
        return std::nullopt;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return std::nullopt;
    }
    return colorFromHex(text.toString());
}

struct Record {
    qsizetype line = 0; // where the record starts, counted from 1 as a spreadsheet counts rows
    QStringList cells;
};

// A quoted cell may hold line breaks; a track's texts are one line, each run of breaks a space.
QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (QChar c : text) {
        if (c >= u' ')
            line += c;
        else if (!line.endsWith(u' '))
            line += u' ';
    }
    return line.trimmed();
}

bool isBlank(QByteArrayView line)
{
    return line.trimmed().isEmpty();
}

// The records of CSV text with the given separator, at most `limit`, each with the line it
// starts on. libcsv does the quoting; the text goes in one line at a time so that each record
// knows its line.
QList<Record> csvRecords(const QByteArray &text, char separator, qsizetype limit)
{
    struct Reading {
        QList<Record> records;
        Record current;
    } reading;

    csv_parser parser;
    if (csv_init(&parser, 0) != 0)
        return {};
    const std::unique_ptr<csv_parser, void (*)(csv_parser *)> freeing(&parser, csv_free);
    csv_set_delim(&parser, static_cast<unsigned char>(separator));
    // Only spaces pad a field: a tab is a separator or part of the text.
    csv_set_space_func(&parser, [](unsigned char c) { return c == ' ' ? 1 : 0; });

    const auto endField = [](void *data, size_t size, void *context) {
        static_cast<Reading *>(context)->current.cells.append(
            QString::fromUtf8(static_cast<const char *>(data), qsizetype(size)));
    };
    const auto endRecord = [](int, void *context) {
        auto *reading = static_cast<Reading *>(context);
        reading->records.append(std::move(reading->current));
        reading->current = {};
    };

    bool betweenRecords = true;
    qsizetype lineNumber = 0;
    qsizetype at = 0;
    while (at < text.size() && reading.records.size() < limit) {
        // A line ends at LF, CR LF or a lone CR, and keeps its end so that libcsv sees it.
        qsizetype end = at;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        if (end < text.size())
            end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        const QByteArrayView line(text.constData() + at, end - at);
        at = end;
        ++lineNumber;
        if (betweenRecords && isBlank(line))
            continue;
        if (betweenRecords)
            reading.current.line = lineNumber;
        const qsizetype before = reading.records.size();
        if (csv_parse(&parser, line.data(), size_t(line.size()), endField, endRecord, &reading) !=
            size_t(line.size()))
            return {};
        // A quoted field may hold line breaks: the record then goes on over the next line.
        betweenRecords = reading.records.size() > before;
    }
    if (reading.records.size() < limit)
        csv_fini(&parser, endField, endRecord, &reading);
    return reading.records;
}

// The first line with anything on it.
QByteArrayView firstRow(const QByteArray &text)
{
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            end = text.size();
        const QByteArrayView line(text.constData() + at, end - at);
        if (!isBlank(line))
            return line.trimmed();
        at = end + 1;
    }
    return {};
}

// The separator a header row uses the most, outside quotes; nothing when it uses none.
std::optional<char> separatorOf(QByteArrayView header)
{
    std::array<qsizetype, 3> counts{};
    constexpr std::array<char, 3> separators{'\t', ';', ','};
    bool quoted = false;
    for (char c : header) {
        if (c == '"')
            quoted = !quoted;
        for (size_t i = 0; i < separators.size() && !quoted; ++i)
            counts[i] += c == separators[i];
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    if (*most == 0)
        return std::nullopt;
    return separators[size_t(most - counts.begin())];
}

struct Header {
    char separator = ',';
    std::array<qsizetype, columnCount> columns; // index of each column's cell, -1 when absent
    int named = 0;
};

std::optional<Header> headerOf(QByteArrayView row)
{
    if (row.size() > maximumHeaderLength)
        return std::nullopt;
    const std::optional<char> separator = separatorOf(row);
    if (!separator)
        return std::nullopt;
    const QList<Record> records = csvRecords(row.toByteArray(), *separator, 1);
    if (records.isEmpty())
        return std::nullopt;
    Header header;
    header.separator = *separator;
    header.columns.fill(-1);
    const QStringList &cells = records.front().cells;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const std::optional<Column> column = columnNamed(cells[i].trimmed());
        if (column && header.columns[size_t(*column)] < 0) {
            header.columns[size_t(*column)] = i;
            ++header.named;
        }
    }
    if (header.named < 2)
        return std::nullopt;
    return header;
}

} // namespace

bool isChannelList(const QString &text)
{
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.trimmed().isEmpty())
            continue;
        return line.size() <= maximumHeaderLength && headerOf(line.trimmed().toUtf8());
    }
    return false;
}

Result<ParsedSession> readChannelList(const QString &text, const QString &fileName)
{
    const QByteArray bytes = text.toUtf8();
    const std::optional<Header> header = headerOf(firstRow(bytes));
    if (!header)
        return ChannelListError::missingColumn;
    for (const auto &[column, names] : {std::pair{Column::label, u"label（通道）"_s},
                                        std::pair{Column::name, u"name（名称）"_s}}) {
        if (header->columns[size_t(column)] < 0)
            return Error(ChannelListError::missingColumn,
                         u"通道列表的标题行缺少“%1”列。"_s.arg(names));
    }
    const auto cell = [&](const Record &record, Column column) {
        const qsizetype index = header->columns[size_t(column)];
        return index < 0 ? QString() : oneLine(record.cells.value(index));
    };

    ParsedSession session;
    session.sessionName = QFileInfo(fileName).completeBaseName();
    session.sourceFileName = fileName;
    const QList<Record> records =
        csvRecords(bytes, header->separator, std::numeric_limits<qsizetype>::max());
    for (qsizetype i = 1; i < records.size(); ++i) {
        const Record &record = records[i];
        TrackChannel track;
        track.channelLabel = cell(record, Column::label);
        if (track.channelLabel.isEmpty())
            continue;
        const QString typeText = cell(record, Column::type);
        const std::optional<DigicoChannelType> type = typeNamed(typeText);
        if (!type) {
            return Error(ChannelListError::unreadableType,
                         u"通道列表第 %1 行的类型“%2”无法识别：应为 Input、Aux、Group、Matrix、"
                         "Other 或 输入、辅助、编组、矩阵、其他。"_s.arg(record.line)
                             .arg(typeText));
        }
        const QString colourText = cell(record, Column::colour);
        const std::optional<RGBColor> colour =
            colourText.isEmpty() ? defaultColor(*type) : colourNamed(colourText);
        if (!colour) {
            return Error(ChannelListError::unreadableColour,
                         u"通道列表第 %1 行的颜色“%2”无法识别：应为 #RRGGBB。"_s.arg(record.line)
                             .arg(colourText));
        }
        track.channelNumber = channelNumberFromLabel(track.channelLabel);
        track.name = cell(record, Column::name);
        track.channelType = *type;
        track.inputRoute = cell(record, Column::route);
        track.color = *colour;
        track.isIncluded = *type == DigicoChannelType::input;
        session.tracks.append(std::move(track));
    }
    if (session.tracks.isEmpty())
        return ChannelListError::noChannels;
    return session;
}

} // namespace kelvary
