#include "import/digicosessionparser.h"

#include "import/icuregex.h"
#include "import/reporttext.h"
#include "import/richtextreader.h"
#include "model/fileio.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <array>

#include <unicode/uchar.h>

using namespace Qt::StringLiterals;

namespace kelvary {

QString errorMessage(DigicoParseError error)
{
    switch (error) {
    case DigicoParseError::unreadableFile:
        // No text encoding reads it: a picture or a program, not a report.
        return u"这不是 Session Report 文件。"_s;
    case DigicoParseError::emptyReport:
        return u"Session Report 内容为空。"_s;
    case DigicoParseError::notAReport:
        return u"这不是 Session Report 文件。"_s;
    case DigicoParseError::noChannelsFound:
        return u"未在报告中找到通道列表。请确认导出时勾选了 Channels。"_s;
    case DigicoParseError::reportTooLarge:
        return u"报告文件过大，Session Report 通常小于 1 MB。"_s;
    case DigicoParseError::richTextNestedTooDeep:
        return u"报告的 RTF 结构嵌套超过 %1 层，无法读取。请从调音台重新导出 Session Report。"_s
            .arg(maximumRichTextGroupDepth);
    }
    Q_UNREACHABLE();
    return {};
}

namespace {

struct SectionHeader {
    QLatin1StringView text;
    DigicoChannelType type;
};

// Searched in this order; the whole trimmed, lowercased line must match.
constexpr std::array sectionHeaders{
    SectionHeader{"input channels"_L1, DigicoChannelType::input},
    SectionHeader{"aux outputs"_L1, DigicoChannelType::aux},
    SectionHeader{"aux channels"_L1, DigicoChannelType::aux},
    SectionHeader{"auxiliary channels"_L1, DigicoChannelType::aux},
    SectionHeader{"group outputs"_L1, DigicoChannelType::group},
    SectionHeader{"group channels"_L1, DigicoChannelType::group},
    SectionHeader{"matrix outputs"_L1, DigicoChannelType::matrix},
    SectionHeader{"matrix channels"_L1, DigicoChannelType::matrix},
};

// Matrix inputs are sources of the console, not channels to record.
constexpr QLatin1StringView skipHeader = "matrix inputs"_L1;

constexpr std::array columnHeaderKeywords{"name"_L1,   "input route"_L1, "merge input"_L1,
                                          "insert"_L1, "outputs"_L1,     "layer/bank"_L1,
                                          "preset"_L1};

constexpr std::array inputRouteWords{"MADI"_L1,  "RACK"_L1,  "LOCAL"_L1, "AES"_L1, "WAVES"_L1,
                                     "DANTE"_L1, "GROUP"_L1, "BUS"_L1,   "BTX"_L1, "SLOT"_L1,
                                     "OMNI"_L1,  "MIC"_L1,   "LINE"_L1};

constexpr qsizetype keyLookupLines = 40;
constexpr qsizetype consoleSearchLines = 15;
constexpr qsizetype dateSearchLines = 20;
// A section that has looked at this many lines without finding a row gives up, so a header in
// the notes takes no rows from far below it. Unread lines are channels: they do not count.
constexpr qsizetype sectionGiveUpDistance = 6;

const IcuRegex &consolePattern()
{
    static const IcuRegex pattern(uR"(DiGiCo\s+SD[\w\d]+)"_s);
    return pattern;
}

const IcuRegex &dateTimePattern()
{
    static const IcuRegex pattern(uR"(\d{1,2}/\d{1,2}/\d{4}\s+\d{1,2}:\d{2}:\d{2})"_s);
    return pattern;
}

// The code point at `at`, and how many code units it takes.
std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype at)
{
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[at + 1]), 2};
    return {c.unicode(), 1};
}

// ICU's \w: letters of every script, marks, decimal digits and connector punctuation.
bool isWordCharacter(char32_t c)
{
    const auto u = static_cast<UChar32>(c);
    return u_hasBinaryProperty(u, UCHAR_ALPHABETIC) ||
           (U_GET_GC_MASK(u) & (U_GC_M_MASK | U_GC_ND_MASK | U_GC_PC_MASK)) != 0 || c == 0x200C ||
           c == 0x200D;
}

// The label pattern "^(\d+s?|A\d+s?|G\d+s?|Mi\d+|M\d+)$", with ICU's \d (a decimal digit of any
// script), written out: it decides every line of a report, where a prefix and a run of digits do.
bool isChannelLabel(QStringView text)
{
    qsizetype at = 0;
    bool stereoAllowed = true;
    if (text.startsWith(u"Mi")) {
        at = 2;
        stereoAllowed = false;
    } else if (text.startsWith(u'M')) {
        at = 1;
        stereoAllowed = false;
    } else if (text.startsWith(u'A') || text.startsWith(u'G')) {
        at = 1;
    }
    const qsizetype digitsStart = at;
    while (at < text.size()) {
        const auto [c, length] = codePointAt(text, at);
        if (!u_isdigit(static_cast<UChar32>(c)))
            break;
        at += length;
    }
    if (at == digitsStart)
        return false;
    if (stereoAllowed && at < text.size() && text[at] == u's')
        ++at;
    return at == text.size();
}

// The first match of "[\w\-. ]+\.ses" (ICU's \w, case-sensitive). A match starts where a run of
// these name characters starts, or it would start there too, and runs to the last ".ses" of the
// run that has a character before it.
std::optional<QString> sessionFileMatch(QStringView value)
{
    const auto isNameCharacter = [](char32_t c) {
        return c == u'-' || c == u'.' || c == u' ' || isWordCharacter(c);
    };
    qsizetype at = 0;
    while (at < value.size()) {
        const qsizetype runStart = at;
        while (at < value.size()) {
            const auto [c, length] = codePointAt(value, at);
            if (!isNameCharacter(c))
                break;
            at += length;
        }
        const qsizetype extension = value.sliced(runStart, at - runStart).lastIndexOf(u".ses");
        if (extension >= 1)
            return value.sliced(runStart, extension + 4).toString();
        if (at == runStart)
            at += codePointAt(value, at).second;
    }
    return std::nullopt;
}

bool isHorizontalSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

QStringView trimmedHorizontally(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isHorizontalSpace(text[begin]))
        ++begin;
    while (end > begin && isHorizontalSpace(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QString trimHorizontal(QStringView text)
{
    return trimmedHorizontally(text).toString();
}

// Non-empty lines, each trimmed of horizontal white space.
QStringList reportLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isLineBreak(text[i]))
            continue;
        const QStringView line = trimmedHorizontally(QStringView(text).sliced(start, i - start));
        if (!line.isEmpty())
            lines.append(line.toString());
        start = i + 1;
    }
    return lines;
}

// The line lowercased and trimmed, when it is short enough to be a section or skip header.
// Lowercasing never shortens a text, so a longer line is no header; it is not lowercased, which
// on a report with megabyte-long lines cost more than everything else.
std::optional<QString> headerKey(const QString &line)
{
    constexpr qsizetype longestHeader = 18; // "auxiliary channels"
    const QString trimmed = line.trimmed();
    if (trimmed.size() > longestHeader)
        return std::nullopt;
    return trimmed.toLower();
}

std::optional<DigicoChannelType> sectionHeaderType(const QString &line)
{
    const std::optional<QString> key = headerKey(line);
    if (!key)
        return std::nullopt;
    for (const SectionHeader &header : sectionHeaders) {
        if (*key == header.text)
            return header.type;
    }
    return std::nullopt;
}

bool isSkipHeader(const QString &line)
{
    return headerKey(line) == skipHeader;
}

bool isSectionOrSkipHeader(const QString &line)
{
    return sectionHeaderType(line) || isSkipHeader(line);
}

bool isColumnHeaderLine(const QString &line)
{
    if (line.isEmpty() || line.front().isDigit())
        return false;
    const QString lower = line.toLower();
    if (lower.startsWith(u"name\t") || lower == u"name")
        return true;
    int keywords = 0;
    for (QLatin1StringView keyword : columnHeaderKeywords) {
        if (lower.contains(keyword))
            ++keywords;
    }
    return keywords >= 2;
}

bool isInputRouteWord(const QString &word)
{
    if (word.contains(u':'))
        return true;
    const QString upper = word.toUpper();
    for (QLatin1StringView routeWord : inputRouteWords) {
        if (upper.contains(routeWord))
            return true;
    }
    return false;
}

QStringList splitColumns(const QString &line)
{
    QStringList columns;
    if (line.contains(u'\t')) {
        for (QStringView column : QStringView(line).split(u'\t'))
            columns.append(trimHorizontal(column));
        return columns;
    }

    if (line.contains(u"  ")) {
        for (QStringView piece : QStringView(line).split(u"  ", Qt::SkipEmptyParts))
            columns.append(trimHorizontal(piece));
        return columns;
    }

    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2 || !isChannelLabel(words.front()))
        return words;

    // "12 Lead Vox MIC 3": the label, then the name up to the first word of an input route.
    qsizetype route = 1;
    while (route < words.size() && !isInputRouteWord(words[route]))
        ++route;
    if (route == 1)
        return {words.front()};
    columns = {words.front(), words.mid(1, route - 1).join(u' ')};
    if (route < words.size())
        columns.append(words.mid(route).join(u' '));
    return columns;
}

// What a line of a channel list holds: a row; a label without a name, as in "5 DANTE 5" where
// the route comes first or a tab-separated line with an empty name column, which is unread and
// the user is told about; or other text.
struct ChannelLine {
    std::optional<TrackChannel> row;
    bool unread = false;
};

ChannelLine readChannelLine(const QString &line, DigicoChannelType type)
{
    const QStringList columns = splitColumns(line);
    if (columns.isEmpty() || !isChannelLabel(trimmedHorizontally(columns[0])))
        return {};
    if (columns.size() < 2 || columns[1].isEmpty())
        return {.row = std::nullopt, .unread = true};
    // A column header line whose first column looks like a label.
    if (columns[1].compare(u"name", Qt::CaseInsensitive) == 0)
        return {};

    QStringList extra;
    for (qsizetype i = 3; i < columns.size(); ++i) {
        if (!columns[i].isEmpty() && columns[i] != u"-")
            extra.append(columns[i]);
    }

    TrackChannel track;
    track.channelLabel = columns[0];
    track.channelNumber = channelNumberFromLabel(columns[0]);
    track.name = columns[1];
    track.channelType = type;
    track.inputRoute = columns.size() > 2 ? columns[2] : QString();
    track.extraInfo = extra.join(u" \u00B7 ");
    track.color = defaultColor(type);
    track.isIncluded = true;
    return {.row = std::move(track)};
}

// The rows of the section whose first line is `start`, and the line where the main walk goes on.
// Its unread lines are appended to `unread`: they are skipped and keep the section going, so a
// channel the parser cannot read does not take the rows after it along.
std::pair<TrackList, qsizetype> parseSection(const QStringList &lines, qsizetype start,
                                             DigicoChannelType type, QStringList &unread)
{
    TrackList rows;
    bool columnHeaderSeen = false;
    qsizetype unreadCount = 0;
    qsizetype j = start;
    while (j < lines.size()) {
        const QString &line = lines[j];
        if (j > start && sectionHeaderType(line))
            return {rows, j};
        if (!columnHeaderSeen && isColumnHeaderLine(line)) {
            columnHeaderSeen = true;
            ++j;
            continue;
        }
        ChannelLine read = readChannelLine(line, type);
        if (read.row) {
            rows.append(std::move(*read.row));
            ++j;
            continue;
        }
        if (read.unread) {
            unread.append(line);
            ++unreadCount;
            ++j;
            continue;
        }
        if (!rows.isEmpty())
            return {rows, j};
        ++j;
        if (j - start - unreadCount >= sectionGiveUpDistance)
            return {rows, j};
    }
    return {rows, lines.size()};
}

TrackList parseSections(const QStringList &lines, QStringList &unread)
{
    TrackList tracks;
    qsizetype i = 0;
    while (i < lines.size()) {
        if (isSkipHeader(lines[i])) {
            ++i;
            while (i < lines.size() && !isSectionOrSkipHeader(lines[i]))
                ++i;
            continue;
        }
        const std::optional<DigicoChannelType> type = sectionHeaderType(lines[i]);
        ++i;
        if (type) {
            auto [rows, next] = parseSection(lines, i, *type, unread);
            tracks.append(std::move(rows));
            i = next;
        }
    }
    return tracks;
}

std::optional<QString> keyValue(const QStringList &lines, const QString &key)
{
    const QString prefix = key.toLower() + u':';
    for (const QString &line : lines.first(std::min(lines.size(), keyLookupLines))) {
        // The start of the lowercased line comes from as many characters at the start of the
        // line, or fewer: lowercasing the whole of a long line would only be thrown away.
        if (line.first(std::min(line.size(), prefix.size())).toLower().startsWith(prefix))
            return trimHorizontal(QStringView(line).sliced(std::min(prefix.size(), line.size())));
    }
    return std::nullopt;
}

// `required` is text every match contains: lines without it are not searched, which is far
// quicker than the regular expression's own search on a long line. The pattern is compiled only
// once a line needs it: compiling takes longer than reading a whole report.
std::optional<QString> firstMatchInLines(const QStringList &lines, qsizetype count,
                                         const IcuRegex &(*pattern)(), QStringView required)
{
    for (const QString &line : lines.first(std::min(lines.size(), count))) {
        if (!line.contains(required))
            continue;
        if (std::optional<QString> match = pattern().firstMatch(line))
            return match;
    }
    return std::nullopt;
}

QString valueOrFirstMatch(const QStringList &lines, const QString &key, qsizetype count,
                          const IcuRegex &(*pattern)(), QStringView required)
{
    if (std::optional<QString> value = keyValue(lines, key); value && !value->isEmpty())
        return *value;
    return firstMatchInLines(lines, count, pattern, required).value_or(QString());
}

QString sessionName(const QStringList &lines, const QString &fileBaseName)
{
    const std::optional<QString> value = keyValue(lines, u"session"_s);
    if (!value)
        return fileBaseName;
    // "D:\Shows\Main Show.ses" names the session "Main Show".
    if (std::optional<QString> match = sessionFileMatch(*value)) {
        QString name = match->remove(u".ses"_s, Qt::CaseInsensitive);
        name = name.sliced(name.lastIndexOf(u'\\') + 1);
        name = name.sliced(name.lastIndexOf(u'/') + 1);
        name = trimHorizontal(name);
        if (!name.isEmpty())
            return name;
    }
    return trimHorizontal(*value);
}

} // namespace

Result<QByteArray> readReportFile(const QString &path)
{
    constexpr qint64 limit = DigicoSessionParser::maximumReportSize;
    Result<QByteArray> bytes = readWholeFile(path, limit);
    if (!bytes && bytes.error().is(FileReadError::tooLarge)) {
        // A device or a pipe tells no size: it is at least as large as what was read of it.
        const qint64 size = std::max(QFileInfo(path).size(), limit);
        return Error(DigicoParseError::reportTooLarge,
                     u"报告文件过大（%1 MB），Session Report 通常小于 1 MB。"_s.arg(
                         QString::number(double(size) / (1024 * 1024), 'f', 0)));
    }
    return bytes;
}

Result<ParsedSession> DigicoSessionParser::parse(const QString &path,
                                                 QStringList *unreadLines) const
{
    const Result<QByteArray> bytes = readReportFile(path);
    if (!bytes)
        return bytes.error();
    return parseData(*bytes, QFileInfo(path).fileName(), unreadLines);
}

Result<ParsedSession> DigicoSessionParser::parseData(const QByteArray &bytes,
                                                     const QString &fileName,
                                                     QStringList *unreadLines) const
{
    const Result<QString> text = reportText(bytes);
    if (!text)
        return text.error();
    return parseText(*text, fileName, unreadLines);
}

Result<ParsedSession> DigicoSessionParser::parseText(const QString &text, const QString &fileName,
                                                     QStringList *unreadLines) const
{
    if (text.trimmed().isEmpty())
        return DigicoParseError::emptyReport;

    const QStringList lines = reportLines(text);

    ParsedSession session;
    session.sessionName = sessionName(lines, QFileInfo(fileName).completeBaseName());
    session.consoleName =
        valueOrFirstMatch(lines, u"console"_s, consoleSearchLines, consolePattern, u"DiGiCo");
    session.saveTime = valueOrFirstMatch(lines, u"date"_s, dateSearchLines, dateTimePattern, u"/");
    session.softwareVersion = keyValue(lines, u"software version"_s).value_or(QString());
    session.sourceFileName = fileName;

    QStringList unread;
    session.tracks = parseSections(lines, unread);
    if (session.tracks.isEmpty()) {
        // No section header found a row: every line that looks like an input channel counts.
        unread.clear();
        for (const QString &line : lines) {
            ChannelLine read = readChannelLine(line, DigicoChannelType::input);
            if (read.row)
                session.tracks.append(std::move(*read.row));
            else if (read.unread)
                unread.append(line);
        }
    }
    if (session.tracks.isEmpty()) {
        // A report exported without its channel list still has its header facts or sections;
        // text with neither is some other file, and advice about the export would mislead.
        const bool hasReportMarks =
            !session.softwareVersion.isEmpty() || keyValue(lines, u"session"_s) ||
            keyValue(lines, u"console"_s) ||
            std::any_of(lines.cbegin(), lines.cend(),
                        [](const QString &line) { return isSectionOrSkipHeader(line); });
        return hasReportMarks ? DigicoParseError::noChannelsFound : DigicoParseError::notAReport;
    }
    if (unreadLines)
        *unreadLines = std::move(unread);
    return session;
}

} // namespace kelvary
