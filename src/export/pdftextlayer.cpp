#include "export/pdftextlayer.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QMap>
#include <QTextLayout>
#include <QtEndian>

#include <optional>

namespace kelvary {

namespace {

// A font's PostScript name (name ID 6), which Qt's PDF writer gives as the font's BaseFont.
QByteArray postScriptName(const QRawFont &font)
{
    const QByteArray table = font.fontTable("name");
    const auto u16 = [&table](qsizetype at) -> int {
        return at >= 0 && at + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + at)
                                                 : -1;
    };
    const int count = u16(2);
    const int storage = u16(4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * qsizetype(i);
        const int platform = u16(record);
        const int length = u16(record + 8);
        const int offset = u16(record + 10);
        if (u16(record + 6) != 6 || length <= 0 || offset < 0 || storage < 0)
            continue;
        const QByteArray bytes = table.mid(storage + offset, length);
        if (bytes.size() != length)
            continue;
        QByteArray name;
        if (platform == 1) {
            name = bytes;
        } else if ((platform == 0 || platform == 3) && length % 2 == 0) {
            for (qsizetype at = 0; at < length; at += 2)
                name.append(char(qFromBigEndian<quint16>(bytes.constData() + at) & 0x7F));
        } else {
            continue;
        }
        return name.replace(' ', '_');
    }
    return {};
}

// The glyph index `text` shows in `font`, 0 when it is not one glyph there.
quint32 glyphOf(const QRawFont &font, const QString &text)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    return glyphs.size() == 1 ? glyphs.front() : 0;
}

// Reads the parts of a PDF that Qt's writer lays out: its one cross-reference table, its trailer,
// the dictionaries of its objects and its unfiltered streams.
class PdfFile {
public:
    explicit PdfFile(const QByteArray &bytes)
        : m_bytes(bytes)
    {
        const qsizetype startxref = m_bytes.lastIndexOf("startxref");
        if (startxref < 0)
            return;
        bool ok = false;
        m_xrefOffset =
            m_bytes.mid(startxref + 9, 24).trimmed().split('\n').front().trimmed().toLongLong(&ok);
        if (!ok || m_xrefOffset <= 0 || !readCrossReferences())
            m_xrefOffset = -1;
    }

    bool isReadable() const { return m_xrefOffset > 0; }
    qsizetype xrefOffset() const { return m_xrefOffset; }
    const QByteArray &trailer() const { return m_trailer; }
    QList<int> objectNumbers() const { return m_offsets.keys(); }

    // The object's dictionary: its text from "N G obj" to its stream or its end.
    QByteArray dictionary(int number) const
    {
        const qsizetype start = m_offsets.value(number, -1);
        if (start < 0)
            return {};
        const qsizetype end = m_bytes.indexOf("endobj", start);
        if (end < 0)
            return {};
        const qsizetype stream = m_bytes.indexOf("stream", start);
        return m_bytes.mid(start, (stream >= 0 && stream < end ? stream : end) - start);
    }

    // The data of an unfiltered stream object.
    std::optional<QByteArray> streamData(int number) const
    {
        const QByteArray dict = dictionary(number);
        if (dict.isEmpty() || dict.contains("/Filter"))
            return std::nullopt;
        qsizetype start = m_offsets.value(number) + dict.size();
        if (!m_bytes.sliced(start).startsWith("stream"))
            return std::nullopt;
        start += 6;
        if (m_bytes.sliced(start).startsWith("\r\n"))
            start += 2;
        else if (m_bytes.sliced(start).startsWith("\n"))
            start += 1;
        else
            return std::nullopt;
        const qsizetype end = m_bytes.indexOf("endstream", start);
        if (end < 0)
            return std::nullopt;
        return m_bytes.mid(start, end - start);
    }

private:
    bool readCrossReferences()
    {
        qsizetype at = m_xrefOffset;
        if (!m_bytes.sliced(std::min(at, m_bytes.size())).startsWith("xref"))
            return false;
        at = m_bytes.indexOf('\n', at) + 1;
        while (at > 0 && at < m_bytes.size()) {
            const qsizetype lineEnd = m_bytes.indexOf('\n', at);
            if (lineEnd < 0)
                return false;
            const QByteArray line = m_bytes.mid(at, lineEnd - at).trimmed();
            if (line.startsWith("trailer")) {
                const qsizetype open = m_bytes.indexOf("<<", at);
                const qsizetype close = m_bytes.indexOf(">>", open);
                if (open < 0 || close < 0)
                    return false;
                m_trailer = m_bytes.mid(open + 2, close - open - 2);
                return !m_trailer.contains("/Prev") && !m_trailer.contains("/XRefStm");
            }
            const QList<QByteArray> section = line.split(' ');
            bool firstOk = false;
            bool countOk = false;
            const int first = section.value(0).toInt(&firstOk);
            const int count = section.value(1).toInt(&countOk);
            if (section.size() != 2 || !firstOk || !countOk || count < 0)
                return false;
            at = lineEnd + 1;
            constexpr qsizetype entrySize = 20;
            if (at + count * entrySize > m_bytes.size())
                return false;
            for (int i = 0; i < count; ++i, at += entrySize) {
                const QByteArray entry = m_bytes.mid(at, entrySize);
                if (entry.at(17) == 'n')
                    m_offsets.insert(first + i, entry.first(10).toLongLong());
            }
        }
        return false;
    }

    const QByteArray &m_bytes;
    qsizetype m_xrefOffset = -1;
    QByteArray m_trailer;
    QMap<int, qsizetype> m_offsets;
};

bool isPdfDelimiter(char c)
{
    return QByteArrayView("()<>[]{}/%").contains(c);
}

// The first words of the value after `key` in a dictionary: "/BaseFont /Name" gives "/Name",
// "/ToUnicode 14 0 R" gives "14", "0" and "R".
QList<QByteArray> valueOf(const QByteArray &dict, const QByteArray &key, int words)
{
    QList<QByteArray> value;
    qsizetype at = dict.indexOf(key);
    if (at < 0)
        return value;
    at += key.size();
    // The key itself must end here, not run on into a longer name.
    if (at < dict.size() && !isPdfDelimiter(dict[at]) && !QChar::isSpace(uchar(dict[at])))
        return value;
    while (value.size() < words && at < dict.size()) {
        while (at < dict.size() && QChar::isSpace(uchar(dict[at])))
            ++at;
        qsizetype end = at;
        if (end < dict.size() && dict[end] == '/')
            ++end;
        while (end < dict.size() && !isPdfDelimiter(dict[end]) && !QChar::isSpace(uchar(dict[end])))
            ++end;
        if (end == at)
            break;
        value.append(dict.mid(at, end - at));
        at = end;
    }
    return value;
}

QString fromHex(const QByteArray &hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(qFromBigEndian<quint16>(bytes.constData() + i)));
    return text;
}

QByteArray toHex(const QString &text)
{
    QByteArray hex;
    for (QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex;
}

// The glyph-to-text entries of a ToUnicode CMap, in the bfrange and bfchar forms.
QMap<quint32, QString> cmapEntries(const QByteArray &cmap)
{
    // Tokens: hex strings, "[" and "]", and the keywords that open and close sections.
    QList<QByteArray> tokens;
    for (qsizetype i = 0; i < cmap.size();) {
        const char c = cmap[i];
        if (c == '<') {
            const qsizetype end = cmap.indexOf('>', i);
            if (end < 0)
                break;
            tokens.append(cmap.mid(i, end - i + 1));
            i = end + 1;
        } else if (c == '[' || c == ']') {
            tokens.append(QByteArray(1, c));
            ++i;
        } else if (QByteArrayView(cmap).sliced(i).startsWith("beginbf") ||
                   QByteArrayView(cmap).sliced(i).startsWith("endbf")) {
            qsizetype end = i;
            while (end < cmap.size() && cmap[end] > ' ')
                ++end;
            tokens.append(cmap.mid(i, end - i));
            i = end;
        } else {
            ++i;
        }
    }

    const auto number = [](const QByteArray &token) {
        return token.mid(1, token.size() - 2).toUInt(nullptr, 16);
    };
    const auto text = [](const QByteArray &token) {
        return fromHex(token.mid(1, token.size() - 2));
    };

    QMap<quint32, QString> entries;
    QByteArray section;
    for (qsizetype i = 0; i < tokens.size();) {
        const QByteArray &token = tokens[i];
        if (token.startsWith("begin") || token.startsWith("end")) {
            section = token.startsWith("begin") ? token : QByteArray();
            ++i;
        } else if (section == "beginbfchar" && i + 1 < tokens.size()) {
            entries.insert(number(token), text(tokens[i + 1]));
            i += 2;
        } else if (section == "beginbfrange" && i + 2 < tokens.size()) {
            const quint32 low = number(token);
            const quint32 high = number(tokens[i + 1]);
            i += 2;
            if (tokens[i] == "[") {
                ++i;
                for (quint32 code = low; i < tokens.size() && tokens[i] != "]"; ++i, ++code)
                    entries.insert(code, text(tokens[i]));
                ++i;
            } else {
                QString first = text(tokens[i++]);
                for (quint32 code = low; code <= high && !first.isEmpty(); ++code) {
                    entries.insert(code, first);
                    first.back() = QChar(first.back().unicode() + 1);
                }
            }
        } else {
            ++i;
        }
    }
    return entries;
}

QByteArray cmapWith(const QByteArray &original, const QMap<quint32, QString> &entries)
{
    constexpr QByteArrayView spaceEnd = "endcodespacerange\n";
    const qsizetype header = original.indexOf(spaceEnd);
    QByteArray cmap = original.first(header + spaceEnd.size());
    // A CMap section holds at most 100 entries.
    for (auto it = entries.cbegin(); it != entries.cend();) {
        QByteArray section;
        int count = 0;
        for (; it != entries.cend() && count < 100; ++it, ++count) {
            section += '<' + QByteArray::number(it.key(), 16).rightJustified(4, '0').toUpper() +
                       "> <" + toHex(it.value()) + ">\n";
        }
        cmap += QByteArray::number(count) + " beginbfchar\n" + section + "endbfchar\n";
    }
    return cmap + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

} // namespace

void PdfTextLayer::record(const QFont &font, const QString &text)
{
    QSet<char32_t> &seen = m_recorded[font.key()];
    for (const char32_t c : text.toUcs4()) {
        if (seen.contains(c))
            continue;
        seen.insert(c);
        const QString character = QString::fromUcs4(&c, 1);
        // Laid out alone, the character finds the face that shows it the way the drawn text
        // did: Qt falls back from face to face character by character.
        QTextLayout layout(character, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.size() != 1 || runs.front().glyphIndexes().size() != 1)
            continue;
        const QRawFont raw = runs.front().rawFont();
        const QByteArray name = postScriptName(raw);
        if (name.isEmpty())
            continue;
        Face &face = m_faces[name];
        if (!face.font.isValid())
            face.font = raw;
        face.characters.insert(character);
        QString &drawn = face.characterByGlyph[runs.front().glyphIndexes().front()];
        if (drawn.isEmpty())
            drawn = character;
    }
}

QByteArray PdfTextLayer::mended(const QByteArray &pdf) const
{
    const PdfFile file(pdf);
    if (!file.isReadable() || m_faces.isEmpty())
        return pdf;

    // The update starts on a line of its own, after the file as written.
    const QByteArray start = pdf.endsWith('\n') ? pdf : pdf + '\n';
    QByteArray update;
    QMap<int, QByteArray> xrefEntries;
    for (const int number : file.objectNumbers()) {
        const QByteArray dict = file.dictionary(number);
        if (!dict.contains("/ToUnicode") || !dict.contains("/Type /Font"))
            continue;
        const QByteArray baseFont = valueOf(dict, "/BaseFont", 1).value(0);
        const QList<QByteArray> reference = valueOf(dict, "/ToUnicode", 3);
        const auto face = m_faces.constFind(baseFont.mid(1));
        if (face == m_faces.cend() || reference.size() != 3 || reference[2] != "R")
            continue;
        bool ok = false;
        const int mapNumber = reference[0].toInt(&ok);
        if (!ok || xrefEntries.contains(mapNumber))
            continue;
        const std::optional<QByteArray> cmap = file.streamData(mapNumber);
        if (!cmap || !cmap->contains("endcodespacerange\n"))
            continue;

        QMap<quint32, QString> entries = cmapEntries(*cmap);
        bool changed = false;
        for (QString &text : entries) {
            const quint32 glyph = glyphOf(face->font, text);
            const QString drawn = glyph ? face->characterByGlyph.value(glyph) : QString();
            if (!drawn.isEmpty() && !face->characters.contains(text)) {
                text = drawn;
                changed = true;
            }
        }
        if (!changed)
            continue;

        const QByteArray stream = cmapWith(*cmap, entries);
        const qsizetype offset = start.size() + update.size();
        update += reference[0] + ' ' + reference[1] + " obj\n<< /Length " +
                  QByteArray::number(stream.size()) + " >>\nstream\n" + stream +
                  "\nendstream\nendobj\n";
        xrefEntries.insert(mapNumber, reference[0] + " 1\n" +
                                          QByteArray::number(offset).rightJustified(10, '0') + ' ' +
                                          reference[1].rightJustified(5, '0') + " n \n");
    }
    if (update.isEmpty())
        return pdf;
    QByteArray xref = "xref\n0 1\n0000000000 65535 f \n";
    for (const QByteArray &entry : std::as_const(xrefEntries))
        xref += entry;

    // An incremental update: the new maps replace the old ones by their object numbers, and not
    // a byte of the file as written moves.
    return start + update + xref + "trailer\n<< " + file.trailer().simplified() + " /Prev " +
           QByteArray::number(file.xrefOffset()) + " >>\nstartxref\n" +
           QByteArray::number(start.size() + update.size()) + "\n%%EOF\n";
}

} // namespace kelvary
