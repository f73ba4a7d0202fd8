#include "import/digicosessionparser.h"
#include "support/printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QString reportsDir = QStringLiteral(KELVARY_TEST_DATA "/reports/");

// One track as "label | name | type | route | extra", the way a reader compares rows.
QString describe(const TrackChannel &track)
{
    return QStringList{track.channelLabel, track.name, channelTypeText(track.channelType),
                       track.inputRoute, track.extraInfo}
        .join(u" | ");
}

QStringList describe(const TrackList &tracks)
{
    QStringList rows;
    for (const TrackChannel &track : tracks)
        rows << describe(track);
    return rows;
}

Result<ParsedSession> parseText(const QString &text, const QString &fileName = u"show.txt"_s)
{
    return DigicoSessionParser().parseText(text, fileName);
}

QStringList rowsOf(const QString &text)
{
    const Result<ParsedSession> session = parseText(text);
    return session ? describe(session->tracks) : QStringList{session.error().message()};
}

struct ReportCase {
    const char *file;
    const char *sessionName;
    const char *consoleName;
    const char *saveTime;
    const char *softwareVersion;
    QStringList rows;
};

void PrintTo(const ReportCase &report, std::ostream *os)
{
    *os << report.file;
}

class SampleReports : public testing::TestWithParam<ReportCase> {};

} // namespace

TEST_P(SampleReports, ParseExactly)
{
    const ReportCase &expected = GetParam();
    const Result<ParsedSession> session =
        DigicoSessionParser().parse(reportsDir + QString::fromUtf8(expected.file));
    ASSERT_TRUE(session) << session.error().message().toStdString();
    EXPECT_EQ(session->sessionName, QString::fromUtf8(expected.sessionName));
    EXPECT_EQ(session->consoleName, QString::fromUtf8(expected.consoleName));
    EXPECT_EQ(session->saveTime, QString::fromUtf8(expected.saveTime));
    EXPECT_EQ(session->softwareVersion, QString::fromUtf8(expected.softwareVersion));
    EXPECT_EQ(session->sourceFileName, QString::fromUtf8(expected.file));
    EXPECT_EQ(describe(session->tracks), expected.rows);
    for (const TrackChannel &track : session->tracks) {
        EXPECT_EQ(track.color, defaultColor(track.channelType));
        EXPECT_TRUE(track.isIncluded);
        EXPECT_FALSE(track.audioInputDeviceUID || track.audioInputChannelID ||
                     track.stereoSourceLabel || track.stereoSide);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SampleReports,
    testing::Values(
        ReportCase{"main-show-tabs.txt",
                   "Main Show",
                   "SD12",
                   "14/11/2026 19:42:07",
                   "V1702",
                   {u"1 | Kick In | Input | Rack 1 Mic 1 | Grp 1 · L1 B1"_s,
                    u"2 | Kick Out | Input | Rack 1 Mic 2 | Grp 1 · L1 B1"_s,
                    u"3 | Snare Top | Input | Rack 1 Mic 3 | Waves 1 · Grp 1 · L1 B1"_s,
                    u"4 | Snare Bot | Input | Rack 1 Mic 4 | Grp 1"_s,
                    u"5s | OH | Input | Rack 1 Mic 5 | Grp 1 · L1 B1"_s,
                    u"7 | Bass DI | Input | MADI 7 | "_s,
                    u"8 | Bassline Synth | Input | Local 1 | "_s,
                    u"9s | Keys | Input | MADI 9 | L1 B2"_s,
                    u"11 | Lead \"Vox\" | Input | Rack 2 Mic 1 | Aux 1"_s,
                    u"12 | Gtr\\Amp | Input | Rack 2 Mic 2 | "_s, u"A1 | Wedge 1 | Aux |  | "_s,
                    u"A2s | IEM Drums | Aux |  | "_s, u"A4 | Reverb | Aux |  | "_s,
                    u"G1 | Drums | Group |  | "_s, u"G2s | Band | Group |  | "_s,
                    u"M1 | PA Left | Matrix |  | "_s, u"M2 | PA Right | Matrix |  | "_s,
                    u"M3 | Delay | Matrix |  | "_s}},
        ReportCase{"spaced.txt",
                   "Main Show",
                   "SD12",
                   "14/11/2026 19:42:07",
                   "V1702",
                   {u"1 | Kick In | Input | Rack 1 Mic 1 | "_s,
                    u"2 | Kick Out | Input | Rack 1 Mic 2 | "_s,
                    u"3 | Snare Top | Input | Rack 1 Mic 3 | "_s,
                    u"4 | Snare Bot | Input | Rack 1 Mic 4 | "_s,
                    u"5s | OH | Input | Rack 1 Mic 5 | "_s, u"7 | Bass DI | Input | MADI 7 | "_s,
                    u"A1 | Wedge 1 | Aux | - | "_s, u"A2s | IEM Drums | Aux | - | "_s,
                    u"A4 | Reverb | Aux | - | "_s}},
        ReportCase{"fallback-single-space.txt",
                   "fallback-single-space",
                   "",
                   "",
                   "",
                   {u"1 | Kick In | Input | MADI 1 | "_s, u"2 | Snare Top | Input | MADI 2 | "_s,
                    u"3s | OH | Input | LOCAL 3 | "_s, u"4 | Vox | Input |  | "_s}},
        ReportCase{"cp1252.txt",
                   "Café Tour",
                   "SD10",
                   "",
                   "",
                   {u"1 | Café Vox | Input | MADI 1 | "_s,
                    u"2 | \u201CQuoted\u201D Gtr | Input | MADI 2 | "_s}},
        ReportCase{
            "arena-cells.rtf",
            "Arena Tour 2026",
            "SD7 Quantum",
            "03/11/2026 18:05:44",
            "V1702 \u2013 Build 3",
            {u"1 | Kick | Input | MADI 1 | "_s, u"2 | Café Vox | Input | MADI 2 | Waves {SG}"_s,
             u"3s | Piano 你别 | Input | Local 3 | "_s,
             u"4 | \u201CGtr\u201D L | Input | MADI 4 | "_s,
             u"A1 | Wedge 1 | Aux | Local Out 1 | "_s, u"A2s | IEM Band | Aux | MADI Out 3 | "_s,
             u"M1 | PA L | Matrix |  | "_s, u"M2 | PA R | Matrix |  | "_s}},
        ReportCase{"club-tabs.rtf",
                   "Club Night",
                   "SD9",
                   "",
                   "",
                   {u"1 | Kick | Input | MADI 1 | Grp 1"_s, u"2 | Snare | Input | MADI 2 | "_s,
                    u"3s | Keys | Input | Local 3 | "_s, u"G1 | Drums | Group |  | "_s}},
        ReportCase{"theatre-notabs.rtf",
                   "Theatre",
                   "",
                   "",
                   "",
                   {u"1 | Kick | Input | MADI 1 | "_s, u"2 | Snare Top | Input | MADI 2 | "_s,
                    u"3s | Keys Stage | Input | Local 3 | "_s,
                    u"4 | Vox | Input | Rack 1 Mic 4 | "_s}},
        // Written by LibreOffice Writer from an HTML channel list with tables.
        ReportCase{"libreoffice-table.rtf",
                   "Festival Main",
                   "SD12",
                   "21/11/2026 20:15:03",
                   "V1702",
                   {u"1 | 主唱 | Input | MADI 1 | Grp 1"_s,
                    u"2 | Café Vox | Input | MADI 2 | Waves {SG}"_s,
                    u"3s | \u201CKeys\u201D Ñandú | Input | Rack 1 Mic 3 | Grp 2"_s,
                    u"4 | Bass\\DI | Input | Local 4 | "_s,
                    u"5 | 鼓 Kick \u2014 In | Input | Dante 5 | "_s,
                    u"A1 | 监听 1 | Aux | Local Out 1 | "_s,
                    u"A2s | IEM \u2018Band\u2019 | Aux | MADI Out 3 | "_s}},
        // Written by LibreOffice Writer from a tab-separated UTF-8 text.
        ReportCase{"libreoffice-tabs.rtf",
                   "Arena",
                   "SD7 Quantum",
                   "2/12/2026 9:05:00",
                   "",
                   {u"1 | 底鼓 In | Input | MADI 1 | {Waves}"_s,
                    u"2 | Snare \u201CTop\u201D | Input | MADI 2 | "_s,
                    u"3s | Gitarre Ü | Input | Local 3 | "_s, u"G1 | 鼓组 | Group |  | "_s}}));

TEST(SessionParser, FailsWithTheReasonTheUserCanActOn)
{
    const Result<ParsedSession> missing = DigicoSessionParser().parse(reportsDir + u"nope.rtf"_s);
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.error().message().contains(u"nope.rtf"));
    EXPECT_FALSE(missing.error().code<DigicoParseError>());

    const Result<ParsedSession> directory = DigicoSessionParser().parse(reportsDir);
    ASSERT_FALSE(directory);
    EXPECT_FALSE(directory.error().code<DigicoParseError>());

    const Result<ParsedSession> undecodable = DigicoSessionParser().parseData("1 \x81\xFF", u"x"_s);
    ASSERT_FALSE(undecodable);
    EXPECT_TRUE(undecodable.error().is(DigicoParseError::unreadableFile));
    EXPECT_EQ(undecodable.error().message(), u"无法读取 Session Report 文件。"_s);

    EXPECT_EQ(rowsOf(u" \n\t\r\n \u2028"_s), QStringList{u"Session Report 内容为空。"_s});
    EXPECT_EQ(rowsOf(u"Session: Show\nInput Channels\nCh 1 Kick"_s),
              QStringList{u"未在报告中找到通道列表。请确认导出时勾选了 Channels。"_s});
}

TEST(SessionParser, SplitsRowsAtTabsOrRunsOfSpaces)
{
    EXPECT_EQ(rowsOf(u"1\tKick In\tMADI 1\tGrp 1\t-\t\tL1"_s),
              QStringList{u"1 | Kick In | Input | MADI 1 | Grp 1 · L1"_s});
    // An empty name column is no row.
    EXPECT_EQ(rowsOf(u"Input Channels\n1\t\tKick\n2\tSnare"_s),
              QStringList{u"2 | Snare | Input |  | "_s});
    // Three spaces leave a leading space that is trimmed; four leave an empty piece, dropped.
    EXPECT_EQ(rowsOf(u"1   Kick    MADI 1  x"_s), QStringList{u"1 | Kick | Input | MADI 1 | x"_s});
}

TEST(SessionParser, SplitsSingleSpacedRowsAtTheFirstRouteWord)
{
    EXPECT_EQ(rowsOf(u"12 Lead Vox MIC 3"_s), QStringList{u"12 | Lead Vox | Input | MIC 3 | "_s});
    EXPECT_EQ(rowsOf(u"12 Vox\n13 MADI 4\n14 Bassline Synth\n15 Gtr 10:3"_s),
              (QStringList{u"12 | Vox | Input |  | "_s, u"15 | Gtr | Input | 10:3 | "_s}));
}

TEST(SessionParser, NeverReadsANameColumnHeaderAsARow)
{
    EXPECT_EQ(rowsOf(u"1\tName\tRoute\n2\tNAME\n3\tKick"_s),
              QStringList{u"3 | Kick | Input |  | "_s});
}

TEST(SessionParser, AcceptsOnlyConsoleChannelLabels)
{
    EXPECT_EQ(rowsOf(u"1\ta\nA2s\tb\nG3\tc\nMi4\td\nM5\te\n٣\tf\nM1s\tx\na1\tx\n12S\tx\nCh 1\tx"_s),
              (QStringList{u"1 | a | Input |  | "_s, u"A2s | b | Input |  | "_s,
                           u"G3 | c | Input |  | "_s, u"Mi4 | d | Input |  | "_s,
                           u"M5 | e | Input |  | "_s, u"٣ | f | Input |  | "_s}));
}

TEST(SessionParser, ReadsSectionsByTheirHeaders)
{
    const QString report = uR"(Aux Outputs
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
    const Result<ParsedSession> session = parseText(report);
    ASSERT_TRUE(session);
    EXPECT_EQ(describe(session->tracks),
              (QStringList{u"A1 | Wedge 1 | Aux |  | "_s, u"A2s | IEM | Aux |  | "_s,
                           u"A3 | FX | Aux |  | "_s, u"M1 | PA | Matrix |  | "_s}));
    EXPECT_EQ(session->tracks[1].channelNumber, 2);
}

TEST(SessionParser, SectionGivesUpAfterSixLinesWithoutARow)
{
    const QString report = u"Group Outputs\na\nb\nc\nd\ne\nf\nG1\tLate\nInput Channels\n1\tKick"_s;
    EXPECT_EQ(rowsOf(report), QStringList{u"1 | Kick | Input |  | "_s});
    // The same lines with nothing else found fall back to reading every line as an input.
    EXPECT_EQ(rowsOf(u"Group Outputs\na\nb\nc\nd\ne\nf\nG1\tLate"_s),
              QStringList{u"G1 | Late | Input |  | "_s});
    // Five lines in, a row is still found.
    EXPECT_EQ(rowsOf(u"Group Outputs\na\nb\nc\nd\ne\nG1\tOn time"_s),
              QStringList{u"G1 | On time | Group |  | "_s});
}

TEST(SessionParser, SectionEndsAtTheFirstLineThatIsNotARow)
{
    EXPECT_EQ(rowsOf(u"Input Channels\n1\tKick\nNotes follow\n2\tSnare"_s),
              QStringList{u"1 | Kick | Input |  | "_s});
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
    EXPECT_EQ(session->softwareVersion, u""_s);
    EXPECT_EQ(session->sourceFileName, u"fallback.name.rtf"_s);

    const auto nameFrom = [](const QString &value) {
        return parseText(u"Session:"_s + value + u"\n1\tKick"_s, u"file.name.txt"_s)->sessionName;
    };
    EXPECT_EQ(nameFrom(u" Plain Name "_s), u"Plain Name"_s);
    EXPECT_EQ(nameFrom(u"Show.SES"_s), u"Show.SES"_s) << "the pattern is case-sensitive";
    EXPECT_EQ(nameFrom(u"/Users/foh/Tour.ses"_s), u"Tour"_s);
    EXPECT_EQ(nameFrom(u"D:\\Shows\\冬季 Gala_2.ses"_s), u"冬季 Gala_2"_s);
    EXPECT_EQ(nameFrom(u"Backup+Main.ses (old)"_s), u"Main"_s);
    EXPECT_EQ(nameFrom(u".ses"_s), u".ses"_s);
    EXPECT_EQ(nameFrom(u""_s), u""_s);
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
}

TEST(SessionParser, GivesEveryTrackAFreshId)
{
    const Result<ParsedSession> first = parseText(u"1\tKick\n2\tSnare"_s);
    const Result<ParsedSession> second = parseText(u"1\tKick\n2\tSnare"_s);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->tracks[0].id, first->tracks[1].id);
    EXPECT_NE(first->tracks[0].id, second->tracks[0].id);
}
