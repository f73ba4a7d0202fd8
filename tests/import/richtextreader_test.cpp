#include "import/richtextreader.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

QString strip(const char *source)
{
    return stripRichText(QString::fromUtf8(source)).value_or(u"(nested too deep)"_s);
}

} // namespace

// Paragraph, line and row marks become line breaks, tab marks tabs; control words are read whole
// and the source's own line breaks are not text.
TEST(RichText, MarksBecomeLinesAndTabsAndControlWordsAreReadWhole)
{
    EXPECT_EQ(strip(R"({\rtf1\ansi 1\tab Kick\tab MADI 1\par 2\tab Snare\par})"),
              u"1\tKick\tMADI 1\n2\tSnare"_s);
    EXPECT_EQ(strip(R"({\rtf1 a\line b\row c})"), u"a\nb\nc"_s);
    // \pard is not \par followed by "d", and \cellx1000 is no cell mark.
    EXPECT_EQ(strip(R"({\rtf1\pard\plain\fs24 Kick\par\trowd\cellx1000\cellx2000 x})"),
              u"Kick\nx"_s);
    EXPECT_EQ(strip("{\\rtf1 1\\cell Kick\r\n Drum\\cell\r\nMADI\n 1\\cell\\row}"),
              u"1\tKick Drum\tMADI 1"_s);
    // A backslash before a line break of the source is a paragraph mark.
    EXPECT_EQ(strip("{\\rtf1 one\\\ntwo}"), u"one\ntwo"_s);
}

TEST(RichText, EscapesBecomeTheCharactersTheyStandFor)
{
    EXPECT_EQ(strip(R"({\rtf1 \u20027?\u21809?\par})"), u"主唱"_s);
    // \uc2 with byte escapes as the fallback, scoped to its group.
    EXPECT_EQ(strip(R"({\rtf1 {\uc2 \u20027\'d6\'f7}\u21809?})"), u"主唱"_s);
    // A character outside the basic plane comes as a surrogate pair.
    EXPECT_EQ(strip(R"({\rtf1 \u-10179?\u-8704?!})"), u"\U0001F600!"_s);
    EXPECT_EQ(strip(R"({\rtf1\ansi Caf\'e9 \'93Vox\'94 \'zzend})"), u"Café \u201CVox\u201D end"_s);
    // Two escapes form one character of a double-byte code page.
    EXPECT_EQ(strip(R"({\rtf1\ansi\ansicpg936 \'d6\'f7\'b3\'aa\par})"), u"主唱"_s);
    EXPECT_EQ(
        strip(
            R"({\rtf1 Gtr\\Amp \{SG\} a\~b\emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet})"),
        u"Gtr\\Amp {SG} a\u00A0b\u2014\u2013\u2018\u2019\u201C\u201D\u2022"_s);
}

TEST(RichText, TableRowsAreLinesOfTabSeparatedCells)
{
    const char *table = R"({\rtf1\ansi
\trowd\cellx1000\cellx4000
\pard\intbl 1\cell Kick\par In\cell MADI 1\cell\row
\trowd\cellx1000\cellx4000
\pard\intbl 2\cell Snare\cell MADI 2\cell\row
\pard\par
Aux Outputs\par})";
    EXPECT_EQ(strip(table), u"1\tKick In\tMADI 1\n2\tSnare\tMADI 2\nAux Outputs"_s);
}

TEST(RichText, SkipsGroupsThatAreNotText)
{
    const char *source = R"({\rtf1{\fonttbl{\f0\fswiss{\*\panose 0}Arial;}{\f1 Courier;}}
{\colortbl;\red0\green0\blue0;}{\stylesheet{\s1 Normal;}}{\info{\title Report}{\author FOH}}
{\*\generator LibreOffice}{\header Page header\par}{\footer Page footer\par}
{\pict\pngblip 89504e47}{\*\unknowndestination {nested} text}
Session: Show\par})";
    EXPECT_EQ(strip(source), u"Session: Show"_s);
    // Binary data may hold braces; it is skipped by its length.
    EXPECT_EQ(strip("{\\rtf1 {\\pict\\bin4 }{{x}after\\par}"), u"after"_s);
}

TEST(RichText, DocumentReaderAcceptsOnlyRichText)
{
    EXPECT_EQ(readRichText("Session: Show\n1  Kick"), std::nullopt);
    EXPECT_EQ(readRichText("{\\rtf1 a\\~b\\line c\\par d}"), u"a\u00A0b\u2028c\nd"_s);
}
