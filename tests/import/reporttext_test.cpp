#include "import/digicosessionparser.h"
#include "import/reporttext.h"
#include "import/textdecoding.h"
#include "support/printers.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// The text, or nothing for a report no decoding reads.
std::optional<QString> textOf(const QByteArray &data)
{
    const Result<QString> text = reportText(data);
    if (!text) {
        EXPECT_TRUE(text.error().is(DigicoParseError::unreadableFile));
        return std::nullopt;
    }
    return *text;
}

} // namespace

TEST(TextDecoding, Windows1252AndUtf8AreStrictAboutWhatTheyDoNotDefine)
{
    EXPECT_EQ(decodeWindows1252("Caf\xE9 \x93Vox\x94 \x80"), u"Café \u201CVox\u201D €"_s);
    for (char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'})
        EXPECT_EQ(decodeWindows1252(QByteArray("ok ") + undefined), std::nullopt);
    // Byte 0 is defined: a NUL in a Windows-1252 file does not make the whole file unreadable.
    EXPECT_EQ(decodeWindows1252(QByteArray("Caf\xE9\0", 5)), u"Café"_s + QChar(0));
    EXPECT_EQ(decodeUtf8("Caf\xE9"), std::nullopt);
    EXPECT_EQ(decodeUtf8("\xC0\xAF"), std::nullopt) << "overlong encoding";
    EXPECT_EQ(decodeUtf8("\xED\xA0\x80"), std::nullopt) << "encoded surrogate";
}

// Plain text as decoded; rich text with tabs by the tokenizer, without them through the document
// reader.
TEST(ReportText, IsThePlainTextOrTheTextOfTheRichText)
{
    EXPECT_EQ(textOf("1\tKick\r\n2\tSnare"), u"1\tKick\r\n2\tSnare"_s);
    EXPECT_EQ(textOf("1  Caf\xE9"), u"1  Café"_s);
    EXPECT_EQ(textOf("\xEF\xBB\xBFSession: Caf\xE9"), u"Session: Café"_s);
    // Neither UTF-8 nor Windows-1252.
    EXPECT_EQ(textOf("1 \x81 \xE9"), std::nullopt);
    EXPECT_EQ(textOf("{\\rtf1\\ansi 1\\tab Kick\\par 2\\tab Caf\\'e9\\par}"),
              u"1\tKick\n2\tCafé"_s);
    // Windows-1252 bytes in the source itself still decode.
    EXPECT_EQ(textOf("{\\rtf1 1\\tab Caf\xE9\\par}"), u"1\tCafé"_s);
    EXPECT_EQ(textOf("{\\rtf1 1  Keys\\~Stage  Local 3\\line 2  Vox\\par}"),
              u"1  Keys Stage  Local 3\n2  Vox\n"_s);
}

TEST(ReportText, AByteOrderMarkIsNotTextInAnyEncoding)
{
    const QString report = u"Session: Winter Gala\nInput Channels\n1\t底鼓 Kick\n"_s;
    struct Case {
        QStringConverter::Encoding encoding;
        QByteArray mark;
    };
    for (const Case &c :
         {Case{QStringConverter::Utf8, "\xEF\xBB\xBF"}, Case{QStringConverter::Utf8, ""},
          Case{QStringConverter::Utf16LE, "\xFF\xFE"}, Case{QStringConverter::Utf16LE, ""},
          Case{QStringConverter::Utf16BE, "\xFE\xFF"}, Case{QStringConverter::Utf16BE, ""}}) {
        SCOPED_TRACE(std::string(QStringConverter::nameForEncoding(c.encoding)) +
                     (c.mark.isEmpty() ? " without" : " with") + " the mark");
        const QByteArray bytes = c.mark + QStringEncoder(c.encoding).encode(report);
        EXPECT_EQ(textOf(bytes), report);
    }
}
