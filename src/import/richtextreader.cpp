#include "import/richtextreader.h"

#include "import/textdecoding.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <array>
#include <string_view>

using namespace Qt::StringLiterals;

namespace kelvary {

namespace {

// The control words the reader acts on. Every other word only formats, and is skipped.
enum class Keyword : quint8 {
    none,
    bin,
    par,
    row,
    line,
    tab,
    pard,
    intbl,
    uc,
    u,
    ansicpg,
    emdash,
    endash,
    lquote,
    rquote,
    ldblquote,
    rdblquote,
    bullet,
    emspace,
    enspace,
    // A group that starts with it holds no document text: tables of the document, pictures,
    // headers and footers, list markers that a reader regenerates, objects.
    skippedDestination,
};

struct KeywordEntry {
    std::string_view word;
    Keyword keyword;
};

constexpr std::array keywordEntries{
    KeywordEntry{"bin", Keyword::bin},
    KeywordEntry{"par", Keyword::par},
    KeywordEntry{"row", Keyword::row},
    KeywordEntry{"nestrow", Keyword::row},
    KeywordEntry{"sect", Keyword::row},
    KeywordEntry{"page", Keyword::row},
    KeywordEntry{"line", Keyword::line},
    KeywordEntry{"tab", Keyword::tab},
    KeywordEntry{"cell", Keyword::tab},
    KeywordEntry{"nestcell", Keyword::tab},
    KeywordEntry{"pard", Keyword::pard},
    KeywordEntry{"intbl", Keyword::intbl},
    KeywordEntry{"uc", Keyword::uc},
    KeywordEntry{"u", Keyword::u},
    KeywordEntry{"ansicpg", Keyword::ansicpg},
    KeywordEntry{"emdash", Keyword::emdash},
    KeywordEntry{"endash", Keyword::endash},
    KeywordEntry{"lquote", Keyword::lquote},
    KeywordEntry{"rquote", Keyword::rquote},
    KeywordEntry{"ldblquote", Keyword::ldblquote},
    KeywordEntry{"rdblquote", Keyword::rdblquote},
    KeywordEntry{"bullet", Keyword::bullet},
    KeywordEntry{"emspace", Keyword::emspace},
    KeywordEntry{"enspace", Keyword::enspace},
    KeywordEntry{"colorschememapping", Keyword::skippedDestination},
    KeywordEntry{"colortbl", Keyword::skippedDestination},
    KeywordEntry{"datastore", Keyword::skippedDestination},
    KeywordEntry{"fldinst", Keyword::skippedDestination},
    KeywordEntry{"fonttbl", Keyword::skippedDestination},
    KeywordEntry{"footer", Keyword::skippedDestination},
    KeywordEntry{"footerf", Keyword::skippedDestination},
    KeywordEntry{"footerl", Keyword::skippedDestination},
    KeywordEntry{"footerr", Keyword::skippedDestination},
    KeywordEntry{"footnote", Keyword::skippedDestination},
    KeywordEntry{"header", Keyword::skippedDestination},
    KeywordEntry{"headerf", Keyword::skippedDestination},
    KeywordEntry{"headerl", Keyword::skippedDestination},
    KeywordEntry{"headerr", Keyword::skippedDestination},
    KeywordEntry{"info", Keyword::skippedDestination},
    KeywordEntry{"latentstyles", Keyword::skippedDestination},
    KeywordEntry{"listoverridetable", Keyword::skippedDestination},
    KeywordEntry{"listtable", Keyword::skippedDestination},
    KeywordEntry{"listtext", Keyword::skippedDestination},
    KeywordEntry{"nonshppict", Keyword::skippedDestination},
    KeywordEntry{"object", Keyword::skippedDestination},
    KeywordEntry{"pict", Keyword::skippedDestination},
    KeywordEntry{"pntext", Keyword::skippedDestination},
    KeywordEntry{"revtbl", Keyword::skippedDestination},
    KeywordEntry{"rsidtbl", Keyword::skippedDestination},
    KeywordEntry{"stylesheet", Keyword::skippedDestination},
    KeywordEntry{"themedata", Keyword::skippedDestination},
    KeywordEntry{"xmlnstbl", Keyword::skippedDestination},
};

// Word processors write a dozen formatting words for every character of text, so a word is
// found by its hash in one probe or two rather than by comparing it with every keyword.
constexpr quint32 codeOf(char c)
{
    return static_cast<uchar>(c);
}

constexpr quint32 codeOf(QChar c)
{
    return c.unicode();
}

template<typename Text> constexpr quint32 wordHash(const Text &word)
{
    quint32 hash = 2166136261u;
    for (auto c : word) {
        hash ^= codeOf(c);
        hash *= 16777619u;
    }
    return hash;
}

constexpr std::size_t keywordSlots = 256;

constexpr auto keywordTable = [] {
    std::array<qint8, keywordSlots> table{};
    table.fill(-1);
    for (std::size_t i = 0; i < keywordEntries.size(); ++i) {
        std::size_t slot = wordHash(keywordEntries[i].word) % keywordSlots;
        while (table[slot] >= 0)
            slot = (slot + 1) % keywordSlots;
        table[slot] = static_cast<qint8>(i);
    }
    return table;
}();

Keyword keywordOf(QStringView word)
{
    for (std::size_t slot = wordHash(word) % keywordSlots; keywordTable[slot] >= 0;
         slot = (slot + 1) % keywordSlots) {
        const KeywordEntry &entry = keywordEntries[std::size_t(keywordTable[slot])];
        if (qsizetype(entry.word.size()) == word.size() &&
            std::equal(entry.word.begin(), entry.word.end(), word.begin(),
                       [](char a, QChar b) { return char16_t(a) == b.unicode(); }))
            return entry.keyword;
    }
    return Keyword::none;
}


bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isGroupOrControl(QChar c)
{
    return c == u'{' || c == u'}' || c == u'\\';
}

// A character that goes into the text as it stands.
bool isPlainText(QChar c)
{
    return (c >= u' ' || c == u'\t') && !isGroupOrControl(c);
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
        } else if (m_state.skipped) {
            while (m_pos < m_source.size() && !isGroupOrControl(m_source[m_pos]))
                ++m_pos;
        } else {
            ++m_pos;
            // Line breaks of the source only wrap it; other control characters are not text.
            if (c < u' ' && c != u'\t')
                continue;
            m_atGroupStart = false;
            if (m_fallbackToSkip > 0) {
                --m_fallbackToSkip;
                continue;
            }
            // The text up to the next group, control or control character goes in as one.
            const qsizetype start = m_pos - 1;
            while (m_pos < m_source.size() && isPlainText(m_source[m_pos]))
                ++m_pos;
            flushPending();
            m_out.append(m_source.sliced(start, m_pos - start));
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
        const bool negative = digits < m_source.size() && m_source[digits] == u'-';
        if (negative)
            ++digits;
        const qsizetype firstDigit = digits;
        // Parameters are 16 or 32 bit in practice; only the first twelve characters of a longer
        // one count.
        const qsizetype lastCounted = end + 12;
        qint64 value = 0;
        while (digits < m_source.size() && isAsciiDigit(m_source[digits])) {
            if (digits < lastCounted)
                value = value * 10 + (m_source[digits].unicode() - u'0');
            ++digits;
        }
        if (digits > firstDigit) {
            parameter = negative ? -value : value;
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
    const Keyword keyword = keywordOf(word);
    if (keyword == Keyword::bin) {
        // Binary data follows; it is never text, and may contain braces.
        m_pos = std::min(m_pos + std::max<qint64>(parameter.value_or(0), 0), m_source.size());
        return;
    }
    if (m_atGroupStart && keyword == Keyword::skippedDestination)
        m_state.skipped = true;
    if (m_state.skipped)
        return;
    m_fallbackToSkip = 0;

    switch (keyword) {
    case Keyword::none:
    case Keyword::bin:
    case Keyword::skippedDestination:
        break;
    case Keyword::par:
        endParagraph();
        break;
    case Keyword::row:
        append(u'\n');
        break;
    case Keyword::line:
        append(m_lineBreak);
        break;
    case Keyword::tab:
        append(u'\t');
        break;
    case Keyword::pard:
        m_state.inTable = false;
        break;
    case Keyword::intbl:
        m_state.inTable = parameter.value_or(1) != 0;
        break;
    case Keyword::uc:
        m_state.unicodeFallbackLength =
            static_cast<int>(std::clamp<qint64>(parameter.value_or(1), 0, 16));
        break;
    case Keyword::u: {
        if (!parameter)
            return;
        qint64 unit = *parameter;
        if (unit < 0)
            unit += 65536;
        if (unit >= 0 && unit <= 0xFFFF)
            appendCodeUnit(static_cast<char16_t>(unit));
        m_fallbackToSkip = m_state.unicodeFallbackLength;
        break;
    }
    case Keyword::ansicpg:
        m_codePage = static_cast<int>(parameter.value_or(1252));
        break;
    case Keyword::emdash:
        append(QChar(0x2014));
        break;
    case Keyword::endash:
        append(QChar(0x2013));
        break;
    case Keyword::lquote:
        append(QChar(0x2018));
        break;
    case Keyword::rquote:
        append(QChar(0x2019));
        break;
    case Keyword::ldblquote:
        append(QChar(0x201C));
        break;
    case Keyword::rdblquote:
        append(QChar(0x201D));
        break;
    case Keyword::bullet:
        append(QChar(0x2022));
        break;
    case Keyword::emspace:
        append(QChar(0x2003));
        break;
    case Keyword::enspace:
        append(QChar(0x2002));
        break;
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
