#include "import/reporttext.h"

#include "import/richtextreader.h"
#include "import/textdecoding.h"

namespace kelvary {

namespace {

// Control characters other than tabs and line breaks are never report text: a NUL from a damaged
// file or a \u0 escape would otherwise end up inside a track name, where the Reaper template and
// every C string consumer cut the name short at it.
QString withoutControlCharacters(QString text)
{
    text.removeIf([](QChar c) {
        return c < u' ' && c != u'\t' && c != u'\n' && c != u'\v' && c != u'\f' && c != u'\r';
    });
    return text;
}

Result<QString> extractedText(const QByteArray &data)
{
    // A report saved as "Unicode" by a Windows editor: plain text, or rich text in wide form.
    if (std::optional<QString> wide = decodeUtf16(data)) {
        if (wide->contains(u"{\\rtf")) {
            std::optional<QString> stripped = stripRichText(*wide);
            if (!stripped)
                return DigicoParseError::richTextNestedTooDeep;
            if (stripped->contains(u'\t'))
                return std::move(*stripped);
        }
        return std::move(*wide);
    }

    // A byte order mark says UTF-8 and is never text, whichever decoding ends up reading the rest.
    const QByteArray bytes = data.startsWith("\xEF\xBB\xBF") ? data.sliced(3) : data;

    // Rich text whose rows keep their cells apart is read by the tokenizer.
    for (auto decode : {decodeUtf8, decodeWindows1252}) {
        const std::optional<QString> source = decode(bytes);
        if (!source || !source->contains(u"{\\rtf"))
            continue;
        std::optional<QString> stripped = stripRichText(*source);
        if (!stripped)
            return DigicoParseError::richTextNestedTooDeep;
        if (stripped->contains(u'\t'))
            return std::move(*stripped);
    }

    // Rich text without any tab: the document reader's paragraphs, its spacing made plain.
    if (std::optional<QString> text = readRichText(bytes); text && !text->isEmpty()) {
        text->replace(QChar(0x00A0), u' ');
        text->replace(QChar(0x2028), u'\n');
        return std::move(*text);
    }

    if (std::optional<QString> text = decodeUtf8(bytes))
        return std::move(*text);
    if (std::optional<QString> text = decodeWindows1252(bytes))
        return std::move(*text);
    return DigicoParseError::unreadableFile;
}

} // namespace

Result<QString> reportText(const QByteArray &data)
{
    Result<QString> text = extractedText(data);
    if (!text)
        return text.error();
    QString plain = std::move(text).value();
    // The mark is no text in any encoding: a header on the first line must be seen as one.
    if (plain.startsWith(QChar(0xFEFF)))
        plain.remove(0, 1);
    return withoutControlCharacters(std::move(plain));
}

} // namespace kelvary
