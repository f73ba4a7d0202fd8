#include "import/reporttext.h"

#include "import/richtextreader.h"
#include "import/textdecoding.h"

namespace kelvary {

std::optional<QString> reportText(const QByteArray &bytes) {
    // Rich text whose rows keep their cells apart is read by the tokenizer.
    for (auto decode : {decodeUtf8, decodeWindows1252}) {
        const std::optional<QString> source = decode(bytes);
        if (!source || !source->contains(u"{\\rtf"))
            continue;
        QString stripped = stripRichText(*source);
        if (stripped.contains(u'\t'))
            return stripped;
    }

    // Rich text without any tab: the document reader's paragraphs, its spacing made plain.
    if (std::optional<QString> text = readRichText(bytes); text && !text->isEmpty()) {
        text->replace(QChar(0x00A0), u' ');
        text->replace(QChar(0x2028), u'\n');
        return text;
    }

    if (std::optional<QString> text = decodeUtf8(bytes))
        return text;
    return decodeWindows1252(bytes);
}

} // namespace kelvary
