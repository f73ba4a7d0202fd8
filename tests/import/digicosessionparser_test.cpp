#include "import/digicosessionparser.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QString reportsDir = QStringLiteral(KELVARY_TEST_DATA "/reports/");

// One track as "label|name|type|route|extra", the way a reader compares rows.
QStringList describe(const TrackList &tracks)
{
    QStringList rows;
    for (const TrackChannel &track : tracks) {
        rows << QStringList{track.channelLabel, track.name, channelTypeText(track.channelType),
                            track.inputRoute, track.extraInfo}
                    .join(u'|');
    }
    return rows;
}

Result<ParsedSession> parseText(const QString &text, const QString &fileName = u"show.txt"_s,
                                QStringList *unreadLines = nullptr)
{
    return DigicoSessionParser().parseText(text, fileName, unreadLines);
}

QStringList rowsOf(const QString &text, QStringList *unreadLines = nullptr)
{
    const Result<ParsedSession> session = parseText(text, u"show.txt"_s, unreadLines);
    return session ? describe(session->tracks) : QStringList{session.error().message()};
}

class SampleReports : public testing::TestWithParam<const char *> {};

} // namespace

// Each sample report against its golden parse: the header facts, one line per track, then the
// lines left unread.
TEST_P(SampleReports, ParseAsTheirGoldenFiles)
{
    const QString file = QString::fromUtf8(GetParam());
    QStringList unread;
    const Result<ParsedSession> session = DigicoSessionParser().parse(reportsDir + file, &unread);
    ASSERT_TRUE(session) << session.error().message().toStdString();
    EXPECT_EQ(session->sourceFileName, file);
    QStringList parsed =
        QStringList{u"session|"_s + session->sessionName, u"console|"_s + session->consoleName,
                    u"saved|"_s + session->saveTime, u"version|"_s + session->softwareVersion} +
        describe(session->tracks);
    for (const QString &line : unread)
        parsed << u"unread|"_s + line;
    EXPECT_EQ(parsed, QString::fromUtf8(fixtureBytes(u"parsed/%1.parsed"_s.arg(file)))
                          .split(u'\n', Qt::SkipEmptyParts));
    for (const TrackChannel &track : session->tracks) {
        EXPECT_EQ(track.color, defaultColor(track.channelType));
        EXPECT_TRUE(track.isIncluded);
        EXPECT_FALSE(track.audioInputDeviceUID || track.audioInputChannelID ||
                     track.stereoSourceLabel || track.stereoSide);
    }
}

// The LibreOffice files were written by Writer from an HTML table and from a tab-separated text.
INSTANTIATE_TEST_SUITE_P(Reports, SampleReports,
                         testing::Values("main-show-tabs.txt", "spaced.txt",
                                         "fallback-single-space.txt", "cp1252.txt",
                                         "arena-cells.rtf", "club-tabs.rtf", "theatre-notabs.rtf",
                                         "libreoffice-table.rtf", "libreoffice-tabs.rtf"));

TEST(SessionParser, FailsWithTheReasonTheUserCanActOn)
{
    const Result<ParsedSession> missing = DigicoSessionParser().parse(reportsDir + u"nope.rtf"_s);
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.error().message().contains(u"nope.rtf"));
    EXPECT_FALSE(missing.error().code<DigicoParseError>());

    const Result<ParsedSession> undecodable = DigicoSessionParser().parseData("1 \x81\xFF", u"x"_s);
    ASSERT_FALSE(undecodable);
    EXPECT_TRUE(undecodable.error().is(DigicoParseError::unreadableFile));
    EXPECT_EQ(undecodable.error().message(), u"这不是 Session Report 文件。"_s);

    EXPECT_EQ(rowsOf(u" \n\t\r\n \u2028"_s), QStringList{u"Session Report 内容为空。"_s});
    EXPECT_EQ(rowsOf(u"Session: Show\nInput Channels\nCh 1 Kick"_s),
              QStringList{u"未在报告中找到通道列表。请确认导出时勾选了 Channels。"_s});
    EXPECT_EQ(rowsOf(u"GIF89a\u0001 x\nLeaked: yes"_s),
              QStringList{u"这不是 Session Report 文件。"_s});
}

// A report's text, the rows read from it and the lines that start with a label but are no row.
struct RowsCase {
    const char *what;
    QString report;
    QStringList rows;
    QStringList unread = {};
};

TEST(SessionParser, ReadsRowsAndSectionsAsTheConsoleWritesThem)
{
    const QString sections = uR"(Aux Outputs
Channel	Name	Outputs
A1	Wedge 1
A2s	IEM
MATRIX INPUTS
Mi1	Matrix In 1
1	Not an input
  Auxiliary Channels  
A3	FX
Matrix Channels
M1	PA)"_s;
    const RowsCase cases[] = {
        {"tabs", u"1\tKick In\tMADI 1\tGrp 1\t-\t\tL1"_s, {u"1|Kick In|Input|MADI 1|Grp 1 · L1"_s}},
        {"an empty name is no row",
         u"Input Channels\n1\t\tKick\n2\tSnare"_s,
         {u"2|Snare|Input||"_s},
         {u"1\t\tKick"_s}},
        // Three spaces leave a leading space that is trimmed; four leave an empty piece, dropped.
        {"runs of spaces", u"1   Kick    MADI 1  x"_s, {u"1|Kick|Input|MADI 1|x"_s}},
        {"single spaces, route word first",
         u"12 Vox\n13 MADI 4\n14 Bassline Synth\n15 Gtr 10:3"_s,
         {u"12|Vox|Input||"_s, u"15|Gtr|Input|10:3|"_s},
         {u"13 MADI 4"_s, u"14 Bassline Synth"_s}},
        {"a label line that is no row is skipped; text ends the section, later lines are not in it",
         u"Input Channels\n1 Kick MADI 1\n3 Line In Local 3\n4 Vox MIC 4\n"
         "Printed by FOH\n5 DANTE 5\n6 Gtr MADI 6"_s,
         {u"1|Kick|Input|MADI 1|"_s, u"4|Vox|Input|MIC 4|"_s},
         {u"3 Line In Local 3"_s}},
        {"console labels only",
         u"1\ta\nA2s\tb\nG3\tc\nMi4\td\nM5\te\n٣\tf\nM1s\tx\na1\tx\n12S\tx\nCh 1\tx"_s,
         {u"1|a|Input||"_s, u"A2s|b|Input||"_s, u"G3|c|Input||"_s, u"Mi4|d|Input||"_s,
          u"M5|e|Input||"_s, u"٣|f|Input||"_s}},
        {"section headers",
         sections,
         {u"A1|Wedge 1|Aux||"_s, u"A2s|IEM|Aux||"_s, u"A3|FX|Aux||"_s, u"M1|PA|Matrix||"_s}},
        {"a section ends at a line that is no row",
         u"Input Channels\n1\tKick\nNotes follow\n2\tSnare"_s,
         {u"1|Kick|Input||"_s}},
        {"a section gives up after six lines without a row",
         u"Group Outputs\na\nb\nc\nd\ne\nf\nG1\tLate\nInput Channels\n1\tKick"_s,
         {u"1|Kick|Input||"_s}},
        // The same lines with nothing else found fall back to reading every line as an input.
        {"nothing but a given-up section",
         u"Group Outputs\nG0 MADI 1\na\nb\nc\nd\ne\nf\nG1\tLate"_s,
         {u"G1|Late|Input||"_s},
         {u"G0 MADI 1"_s}},
        {"five lines and an unread one in, a row is still found",
         u"Group Outputs\nG0 MADI 1\na\nb\nc\nd\ne\nG1\tOn time"_s,
         {u"G1|On time|Group||"_s},
         {u"G0 MADI 1"_s}},
    };
    for (const RowsCase &c : cases) {
        QStringList unread;
        EXPECT_EQ(rowsOf(c.report, &unread), c.rows) << c.what;
        EXPECT_EQ(unread, c.unread) << c.what;
    }
}

TEST(SessionParser, FindsHeaderFacts)
{
    const Result<ParsedSession> session =
        parseText(u"My DiGiCo  SD12 report, saved 1/2/2026  9:05:07 by FOH\n"
                  "SESSION:   C:\\Shows\\Main Show.ses  \nSoftware Version:\n1\tKick"_s,
                  u"fallback.name.rtf"_s);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->consoleName, u"DiGiCo  SD12"_s);
    EXPECT_EQ(session->saveTime, u"1/2/2026  9:05:07"_s);
    EXPECT_EQ(session->sessionName, u"Main Show"_s);
    EXPECT_EQ(session->sourceFileName, u"fallback.name.rtf"_s);

    const auto nameFrom = [](const QString &value) {
        return parseText(u"Session:"_s + value + u"\n1\tKick"_s, u"file.name.txt"_s)->sessionName;
    };
    EXPECT_EQ(nameFrom(u"Show.SES"_s), u"Show.SES"_s) << "the pattern is case-sensitive";
    EXPECT_EQ(nameFrom(u"Backup+Main.ses (old)"_s), u"Main"_s);
    EXPECT_EQ(parseText(u"1\tKick"_s, u"file.name.txt"_s)->sessionName, u"file.name"_s);
}

TEST(SessionParser, LooksForKeysOnlyNearTheTop)
{
    QString report;
    for (int i = 1; i <= 40; ++i)
        report += u"%1\tCh %1\n"_s.arg(i);
    report += u"Session: Too Late.ses\nConsole: SD5\n"_s;
    const Result<ParsedSession> session = parseText(report, u"report.txt"_s);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->tracks.size(), 40);
    EXPECT_EQ(session->sessionName, u"report"_s);
    EXPECT_EQ(session->consoleName, u""_s);
    // Every parse gives every track a fresh id.
    EXPECT_NE(session->tracks[0].id, session->tracks[1].id);
    EXPECT_NE(session->tracks[0].id, parseText(report)->tracks[0].id);
}
