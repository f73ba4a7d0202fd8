// Reports no console writes: damaged, hostile or merely enormous. Each gets a correct result or
// one of the parser's messages, never a crash, a hang or memory in proportion to its nesting.

#include "import/consolefilereader.h"
#include "import/digicosessionparser.h"
#include "import/reporttext.h"
#include "import/richtextreader.h"
#include "support/printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

Result<ParsedSession> parse(const QByteArray &bytes)
{
    return DigicoSessionParser().parseData(bytes, u"hostile.rtf"_s);
}

QStringList namesOf(const Result<ParsedSession> &session)
{
    if (!session)
        return {session.error().message()};
    QStringList names;
    for (const TrackChannel &track : session->tracks)
        names << track.channelLabel + u'|' + track.name;
    return names;
}

} // namespace

TEST(HostileReports, GroupsNestedDeeperThanAnyReportRefuseTheWholeReport)
{
    // The deepest group here is the 256th.
    const QString open(maximumRichTextGroupDepth - 1, u'{');
    const QString close(maximumRichTextGroupDepth - 1, u'}');
    EXPECT_EQ(stripRichText(open + u"kept{\\*\\x hidden}\\u8220?after"_s + close),
              u"kept\u201Cafter"_s);
    EXPECT_EQ(stripRichText(open + u"{{lost}}"_s + close), std::nullopt);

    // Whatever the rest holds, and however few closing braces follow: the reader says why.
    const QString tooDeep =
        u"报告的 RTF 结构嵌套超过 256 层，无法读取。请从调音台重新导出 Session Report。"_s;
    QByteArray bomb = "{\\rtf1 1\\tab Kick\\par ";
    bomb += QByteArray(500, '{') + "2\\tab Lost\\par" + QByteArray(500, '}') + "}";
    EXPECT_EQ(namesOf(parse(bomb)), QStringList{tooDeep});
    EXPECT_EQ(namesOf(parse("{\\rtf1 " + QByteArray(1 << 20, '{'))), QStringList{tooDeep});
}

TEST(HostileReports, FilesFarLargerThanAnyReportAreRefused)
{
    QTemporaryDir folder;
    const QString huge = folder.filePath(u"huge.txt"_s);
    QFile file(huge);
    // Sparse: the size is there without the bytes.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(200 * 1024 * 1024));
    file.close();
    const QString tooLarge = u"报告文件过大（%1 MB），Session Report 通常小于 1 MB。"_s;
    EXPECT_EQ(namesOf(DigicoSessionParser().parse(huge)), QStringList{tooLarge.arg(200)});
    // A device tells no size; the read stops at the limit all the same.
    EXPECT_EQ(namesOf(DigicoSessionParser().parse(u"/dev/zero"_s)), QStringList{tooLarge.arg(64)});
}

TEST(HostileReports, VeryLongLinesKeepTheirMeaning)
{
    // A session value of one long run of name characters: the search for the ".ses" file name
    // must not start again at every character of it.
    const QString run(200000, u'x');
    const QString report = u"Session: "_s + run + u" D:\\Shows\\Main Show.ses\n1\tKick"_s;
    const Result<ParsedSession> named = DigicoSessionParser().parseText(report, u"r.txt"_s);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->sessionName, u"Main Show"_s);

    // A megabyte-long name in a single-spaced row is still one name.
    const QString name(1 << 20, u'n');
    EXPECT_EQ(namesOf(DigicoSessionParser().parseText(u"1 "_s + name + u" MADI 1"_s, u"r"_s)),
              QStringList{u"1|"_s + name});
}

TEST(HostileReports, ControlCharactersNeverReachTheText)
{
    // A NUL byte in plain text, \u0 and a byte escape of 0 in rich text: none cuts a name short.
    EXPECT_EQ(*reportText(QByteArray("1\tKi\0ck\x01\r\n2\tSnare\0", 18)), u"1\tKick\r\n2\tSnare"_s);
    EXPECT_EQ(namesOf(parse("{\\rtf1 1\\tab Ki\\u0?ck\\par 2\\tab Sn\\'00are\\par}")),
              (QStringList{u"1|Kick"_s, u"2|Snare"_s}));
    EXPECT_EQ(namesOf(parse(QByteArray("Input Channels\n1\tCaf\xE9\0\tMADI 1", 29))),
              QStringList{u"1|Café"_s});
}

TEST(HostileReports, BrokenSurrogatesInUnicodeEscapesBecomeReplacementCharacters)
{
    const QChar replacement(QChar::ReplacementCharacter);
    const struct {
        const char *source;
        QString text;
    } cases[] = {
        {R"({\rtf1 a\u-10179?b})", u"a"_s + replacement + u"b"_s}, // high alone
        {R"({\rtf1 \u-10179?\u-10179?\u-8704?})", replacement + u"\U0001F600"_s},
        {R"({\rtf1 {\u-10179?}\u-8704?})", QString(2, replacement)}, // split by a group
    };
    for (const auto &test : cases) {
        const QString text = stripRichText(QString::fromUtf8(test.source)).value_or(QString());
        EXPECT_EQ(text, test.text) << test.source;
        EXPECT_TRUE(text.isValidUtf16()) << test.source;
    }
}

TEST(HostileReports, ScenesSnapshotsAndListsAreHeldToTheSameLimits)
{
    QTemporaryDir folder;
    const QString huge = folder.filePath(u"huge.snap"_s);
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(200 * 1024 * 1024));
    file.close();
    EXPECT_EQ(namesOf(readConsoleFileAt(huge)),
              QStringList{u"报告文件过大（200 MB），Session Report 通常小于 1 MB。"_s});

    // Nesting a hundred thousand deep is refused where it passes the reader's depth.
    QByteArray deep = "{\"type\": \"snapshot.10\", \"ae_data\": ";
    for (int i = 0; i < 100000; ++i)
        deep += "{\"a\": ";
    EXPECT_EQ(
        namesOf(readConsoleFile(deep, u"deep.snap"_s)),
        QStringList{u"无法读取 WING 快照：JSON 在第 3102 个字节处有误（嵌套超过 512 层）。"_s});

    // A quote that never closes takes the rest of the file as one name, and no more.
    const QByteArray open = "label,name\n1,\"" + QByteArray(1 << 20, 'x');
    EXPECT_EQ(namesOf(readConsoleFile(open, u"open.csv"_s)),
              QStringList{u"1|"_s + QString(1 << 20, u'x')});
}
