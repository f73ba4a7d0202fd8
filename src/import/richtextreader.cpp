#include "import/richtextreader.h"

#include "import/textdecoding.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

// Groups whose content is never document text: tables of the document, pictures, headers and
// footers, list markers that a reader regenerates, objects.
constexpr std::array<QLatin1StringView, 28> skippedDestinations{"colorschememapping"_L1,
                                                                "colortbl"_L1,
                                                                "datastore"_L1,
                                                                "fldinst"_L1,
                                                                "fonttbl"_L1,
                                                                "footer"_L1,
                                                                "footerf"_L1,
                                                                "footerl"_L1,
                                                                "footerr"_L1,
                                                                "footnote"_L1,
                                                                "header"_L1,
                                                                "headerf"_L1,
                                                                "headerl"_L1,
                                                                "headerr"_L1,
                                                                "info"_L1,
                                                                "latentstyles"_L1,
                                                                "listoverridetable"_L1,
                                                                "listtable"_L1,
                                                                "listtext"_L1,
                                                                "nonshppict"_L1,
                                                                "object"_L1,
                                                                "pict"_L1,
                                                                "pntext"_L1,
                                                                "revtbl"_L1,
                                                                "rsidtbl"_L1,
                                                                "stylesheet"_L1,
                                                                "themedata"_L1,
                                                                "xmlnstbl"_L1};

bool isSkippedDestination(QStringView word)
{
    return std::any_of(skippedDestinations.begin(), skippedDestinations.end(),
                       [word](QLatin1StringView destination) { return word == destination; });
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexValue(QChar c)
{
    if (isAsciiDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// A single pass over the source that follows the group structure of the document: skipped
// destinations, the fallback characters of Unicode escapes and the table state are all scoped.
class RichTextScanner {
public:
    RichTextScanner(QStringView source, QChar lineBreak)
        : m_source(source)
        , m_lineBreak(lineBreak)
    {
    }

    // Nothing once groups nest deeper than maximumRichTextGroupDepth: the scan stops there.
    std::optional<QString> run();

private:
    struct GroupState {
        int unicodeFallbackLength = 1;
        bool skipped = false;
        bool inTable = false;
    };

    void scanControl();
    void controlWord(QStringView word, std::optional<qint64> parameter);
    void controlSymbol(QChar symbol);
    void escapedByte(uchar byte);

    void append(QChar c);
    void appendCodeUnit(char16_t unit);
    void flushPending();
    void endParagraph();

    QStringView m_source;
    QChar m_lineBreak;
    qsizetype m_pos = 0;

    QString m_out;
    QByteArray m_pendingBytes;
    char16_t m_pendingHighSurrogate = 0;

    GroupState m_state;
    QList<GroupState> m_stack;
    bool m_atGroupStart = false;
    int m_fallbackToSkip = 0;
    int m_codePage = 1252;
};

std::optional<QString> RichTextScanner::run()
{
    m_out.reserve(m_source.size() / 2);
    while (m_pos < m_source.size()) {
        const QChar c = m_source[m_pos];
        if (c == u'{') {
            flushPending();
            if (m_stack.size() == maximumRichTextGroupDepth)
                return std::nullopt;
            m_stack.append(m_state);
            m_atGroupStart = true;
            m_fallbackToSkip = 0;
            ++m_pos;
        } else if (c == u'}') {
            flushPending();
            if (!m_stack.isEmpty())
                m_state = m_stack.takeLast();
            m_atGroupStart = false;
            m_fallbackToSkip = 0;
            ++m_pos;
        } else if (c == u'\\') {
            scanControl();
        } else {
            ++m_pos;
            // Line breaks of the source only wrap it; other control characters are not text.
            if (m_state.skipped || (c < u' ' && c != u'\t'))
                continue;
            m_atGroupStart = false;
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                continue;
            }
            append(c);
        }
    }
    flushPending();
    return m_out;
}

void RichTextScanner::scanControl()
{
    const qsizetype start = m_pos + 1;
    if (start >= m_source.size()) {
        m_pos = start;
        return;
    }
    const QChar next = m_source[start];

    if (isAsciiLetter(next)) {
        qsizetype end = start;
        while (end < m_source.size() && isAsciiLetter(m_source[end]))
            ++end;
        const QStringView word = m_source.sliced(start, end - start);

        std::optional<qint64> parameter;
        qsizetype digits = end;
        if (digits < m_source.size() && m_source[digits] == u'-')
            ++digits;
        const qsizetype firstDigit = digits;
        while (digits < m_source.size() && isAsciiDigit(m_source[digits]))
            ++digits;
        if (digits > firstDigit) {
            // Parameters are 16 or 32 bit in practice; a longer run of digits is clamped.
            const QStringView text = m_source.sliced(end, std::min<qsizetype>(digits - end, 12));
            parameter = text.toLongLong();
            end = digits;
        }
        if (end < m_source.size() && m_source[end] == u' ')
            ++end;
        m_pos = end;
        controlWord(word, parameter);
        m_atGroupStart = false;
        return;
    }

    if (next == u'\'') {
        const int high = start + 1 < m_source.size() ? hexValue(m_source[start + 1]) : -1;
        const int low = start + 2 < m_source.size() ? hexValue(m_source[start + 2]) : -1;
        m_pos = std::min(start + 3, m_source.size());
        m_atGroupStart = false;
        if (high >= 0 && low >= 0)
            escapedByte(static_cast<uchar>(high * 16 + low));
        return;
    }

    m_pos = start + 1;
    controlSymbol(next);
}

void RichTextScanner::controlWord(QStringView word, std::optional<qint64> parameter)
{
    if (word == u"bin") {
        // Binary data follows; it is never text, and may contain braces.
        m_pos = std::min(m_pos + std::max<qint64>(parameter.value_or(0), 0), m_source.size());
        return;
    }
    if (m_atGroupStart && isSkippedDestination(word))
        m_state.skipped = true;
    if (m_state.skipped)
        return;
    m_fallbackToSkip = 0;

    if (word == u"par") {
        endParagraph();
    } else if (word == u"row" || word == u"nestrow" || word == u"sect" || word == u"page") {
        append(u'\n');
    } else if (word == u"line") {
        append(m_lineBreak);
    } else if (word == u"tab" || word == u"cell" || word == u"nestcell") {
        append(u'\t');
    } else if (word == u"pard") {
        m_state.inTable = false;
    } else if (word == u"intbl") {
        m_state.inTable = parameter.value_or(1) != 0;
    } else if (word == u"uc") {
        m_state.unicodeFallbackLength =
            static_cast<int>(std::clamp<qint64>(parameter.value_or(1), 0, 16));
    } else if (word == u"u") {
        if (!parameter)
            return;
        qint64 unit = *parameter;
        if (unit < 0)
            unit += 65536;
        if (unit >= 0 && unit <= 0xFFFF)
            appendCodeUnit(static_cast<char16_t>(unit));
        m_fallbackToSkip = m_state.unicodeFallbackLength;
    } else if (word == u"ansicpg") {
        m_codePage = static_cast<int>(parameter.value_or(1252));
    } else if (word == u"emdash") {
        append(QChar(0x2014));
    } else if (word == u"endash") {
        append(QChar(0x2013));
    } else if (word == u"lquote") {
        append(QChar(0x2018));
    } else if (word == u"rquote") {
        append(QChar(0x2019));
    } else if (word == u"ldblquote") {
        append(QChar(0x201C));
    } else if (word == u"rdblquote") {
        append(QChar(0x201D));
    } else if (word == u"bullet") {
        append(QChar(0x2022));
    } else if (word == u"emspace") {
        append(QChar(0x2003));
    } else if (word == u"enspace") {
        append(QChar(0x2002));
    }
}

void RichTextScanner::controlSymbol(QChar symbol)
{
    if (symbol == u'*') {
        // {\* ...} marks a destination a reader may ignore; this one ignores them all.
        if (m_atGroupStart)
            m_state.skipped = true;
        return;
    }
    m_atGroupStart = false;
    if (m_state.skipped)
        return;
    m_fallbackToSkip = 0;

    if (symbol == u'\\' || symbol == u'{' || symbol == u'}')
        append(symbol);
    else if (symbol == u'~')
        append(QChar(0x00A0));
    else if (symbol == u'_')
        append(QChar(0x2011));
    else if (symbol == u'\n' || symbol == u'\r')
        endParagraph(); // a backslash before a line break of the source is a paragraph mark
}

void RichTextScanner::escapedByte(uchar byte)
{
    if (m_state.skipped)
        return;
    if (m_fallbackToSkip > 0) {
        --m_fallbackToSkip;
        return;
    }
    if (m_pendingHighSurrogate)
        flushPending();
    // Consecutive escapes are decoded together: a double-byte code page needs both bytes.
    m_pendingBytes.append(static_cast<char>(byte));
}

void RichTextScanner::append(QChar c)
{
    flushPending();
    m_out.append(c);
}

void RichTextScanner::appendCodeUnit(char16_t unit)
{
    if (QChar::isLowSurrogate(unit) && m_pendingHighSurrogate) {
        m_out.append(QChar(m_pendingHighSurrogate));
        m_out.append(QChar(unit));
        m_pendingHighSurrogate = 0;
        return;
    }
    flushPending();
    if (QChar::isHighSurrogate(unit))
        m_pendingHighSurrogate = unit;
    else
        m_out.append(QChar::isLowSurrogate(unit) ? QChar(QChar::ReplacementCharacter)
                                                 : QChar(unit));
}

void RichTextScanner::flushPending()
{
    if (m_pendingHighSurrogate) {
        m_out.append(QChar(QChar::ReplacementCharacter));
        m_pendingHighSurrogate = 0;
    }
    if (!m_pendingBytes.isEmpty()) {
        m_out.append(decodeCodePage(m_pendingBytes, m_codePage));
        m_pendingBytes.clear();
    }
}

void RichTextScanner::endParagraph()
{
    if (!m_state.inTable) {
        append(u'\n');
        return;
    }
    // Paragraphs inside a table cell: the row goes on to its end, so they only need a space.
    flushPending();
    if (!m_out.isEmpty() && !m_out.back().isSpace())
        m_out.append(u' ');
}

} // namespace

std::optional<QString> stripRichText(const QString &source)
{
    const std::optional<QString> text = RichTextScanner(source, u'\n').run();
    if (!text)
        return std::nullopt;
    QStringList lines;
    for (QStringView line : QStringView(*text).split(u'\n')) {
        line = line.trimmed();
        if (!line.isEmpty())
            lines.append(line.toString());
    }
    return lines.join(u'\n');
}

std::optional<QString> readRichText(const QByteArray &data)
{
    std::optional<QString> source = decodeUtf8(data);
    if (!source)
        source = decodeCodePage(data, 1252);
    if (!source->startsWith(u"{\\rtf"))
        return std::nullopt;
    return RichTextScanner(*source, QChar(0x2028)).run();
}

} // namespace kelvary
