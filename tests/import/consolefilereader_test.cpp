#include "import/consolefilereader.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// "label|name|type|route|colour|+" ("+" when included), as a reader's rows are compared.
QString describe(const TrackChannel &track)
{
    return QStringList{track.channelLabel,
                       track.name,
                       channelTypeText(track.channelType),
                       track.inputRoute,
                       hexString(track.color).value_or(u"?"_s),
                       track.isIncluded ? u"+"_s : u"-"_s}
        .join(u'|');
}

QByteArray utf16(const QString &text)
{
    return "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

struct ReadCase {
    const char *what;
    QString fileName;
    QByteArray bytes;
    QString header;   // session|console|version|saved
    QStringList rows; // the tracks of these labels, as described

    friend void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.what; }
};

class ConsoleFiles : public testing::TestWithParam<ReadCase> {};

const QByteArray sundayScene = fixtureBytes(u"consoles/sunday.scn"_s);
const QByteArray jamesSnapshot = fixtureBytes(u"consoles/james.snap"_s);

} // namespace

TEST_P(ConsoleFiles, ReadEveryRuleOfTheirFormat)
{
    const ReadCase &c = GetParam();
    const Result<ParsedSession> session = readConsoleFile(c.bytes, c.fileName);
    ASSERT_TRUE(session) << session.error().message().toStdString();
    EXPECT_EQ(session->sourceFileName, c.fileName);
    EXPECT_EQ(QStringList({session->sessionName, session->consoleName, session->softwareVersion,
                           session->saveTime})
                  .join(u'|'),
              c.header);
    QHash<QString, QString> byLabel;
    QSet<QUuid> ids;
    for (const TrackChannel &track : session->tracks) {
        byLabel.insert(track.channelLabel, describe(track));
        ids.insert(track.id);
    }
    EXPECT_EQ(ids.size(), session->tracks.size()) << "every track has an id of its own";
    for (const QString &row : c.rows)
        EXPECT_EQ(byLabel.value(row.section(u'|', 0, 0), u"(missing)"_s), row);
}

INSTANTIATE_TEST_SUITE_P(
    Readers, ConsoleFiles,
    testing::Values(
        ReadCase{"x32",
                 u"sunday.scn"_s,
                 sundayScene,
                 u"Sunday Service|X32/M32|4.0|"_s,
                 {u"1|Kick|Input|Local 1|#E53935|+"_s,
                  u"2||Input|Local 2|#8CBFF2|-"_s,
                  u"3|Snare Top|Input|AES50-A 10|#43A047|+"_s,
                  u"4| |Input||#8CBFF2|-"_s,
                  u"5|Bass|Input|Local 5|#1E88E5|+"_s,
                  u"6|Gtr|Input|AES50-A 8|#FDD835|+"_s,
                  u"7|Keys L|Input|AES50-B 10|#D81B60|+"_s,
                  u"8|Keys R|Input|Card 12|#00ACC1|+"_s,
                  u"9|Piano|Input|Aux In 3|#ECEFF1|+"_s,
                  u"10|TB|Input|Talkback Int|#ECEFF1|+"_s,
                  u"11|TB Ext|Input|Talkback Ext|#8CBFF2|+"_s,
                  u"12|Choir|Input|AES50-B 34|#E53935|+"_s,
                  u"13|iPod|Input|Aux In 1|#43A047|+"_s,
                  u"14|USB L|Input|USB L|#43A047|+"_s,
                  u"15|USB R|Input|USB R|#43A047|+"_s,
                  u"16|Verb L|Input|FX 1L|#43A047|+"_s,
                  u"17|Dly R|Input|FX 2R|#43A047|+"_s,
                  u"18|FX4 R|Input|FX 4R|#43A047|+"_s,
                  u"19|Mon 1|Input|Bus 1|#43A047|+"_s,
                  u"20|Mon 16|Input|Bus 16|#43A047|+"_s,
                  u"21||Input||#8CBFF2|-"_s,
                  u"Aux1|CD|Input|Aux In 5|#43A047|+"_s,
                  u"Aux8|Laptop|Input|Local 5|#FDD835|+"_s,
                  u"Bus1|Wedge 1|Aux||#00ACC1|-"_s,
                  u"Bus2||Aux||#B38CE6|-"_s,
                  u"Bus16|Fx 4|Aux||#D81B60|-"_s,
                  u"Mtx6|Fill|Matrix||#ECEFF1|-"_s,
                  u"Mains|MAINS|Other||#ECEFF1|-"_s,
                  u"M/C||Other||#BFBFBF|-"_s}},
        // Windows line ends, a blank scene name, blocks of another width, short user routing.
        ReadCase{"x32_unknown_routing",
                 u"old desk.scn"_s,
                 "#2.7#   \"  \" \"\" %000000000 1   \r\n"
                 "/config/routing/IN CARD9-16 AN1-6 UIN1-8\r\n"
                 "/config/userrout/in 0 0 0 200\r\n"
                 "/ch/01/config \"Vox\" 1 YE 3\r\n"
                 "/ch/09/config \"Gtr\" 1 YE 9\r\n"
                 "/ch/20/config \"A\" 1 YE 20\r\n"
                 "/ch/22/config \"B\" 1 YE 22\r\n"
                 "/ch/25/config \"C\" 1 YE 25\r\n",
                 u"old desk|X32/M32|2.7|"_s,
                 {u"1|Vox|Input|Card 11|#FDD835|+"_s, u"9|Gtr|Input|In 09|#FDD835|+"_s,
                  u"20|A|Input|In 20|#FDD835|+"_s, u"22|B|Input|In 22|#FDD835|+"_s,
                  u"25|C|Input|In 25|#FDD835|+"_s}},
        ReadCase{"x32_no_user_routing",
                 u"s.scn"_s,
                 "#4.0# \"S\"\n/config/routing/IN UIN1-8\n/ch/01/config \"Vox\" 1 YE 3\n",
                 u"S|X32/M32|4.0|"_s,
                 {u"1|Vox|Input|In 03|#FDD835|+"_s}},
        ReadCase{"wing",
                 u"james.snap"_s,
                 jamesSnapshot,
                 u"James|WING|3.0.5|2025-11-16 12:03:13"_s,
                 {u"1|Vox Src|Input|Local 1|#E74C3C|+"_s, u"2|Kick|Input||#B784A7|-"_s,
                  u"3|Flute|Input|AES50-A 3|#8CBFF2|+"_s, u"4||Input|Local 2|#8CBFF2|-"_s,
                  u"5s|Keys|Input|Local 5\u20136|#6C7A89|+"_s, u"6|Talk|Input|XYZ 4|#8CBFF2|+"_s,
                  u"7|Spare|Input|Local 7|#8CBFF2|+"_s, u"40||Input||#8CBFF2|-"_s,
                  u"Aux1s|USB 1/2|Input|USB 1\u20132|#F39C12|+"_s, u"Aux2||Input||#8CBFF2|-"_s,
                  u"Bus1|Drums|Aux||#3D6FD6|-"_s, u"Bus2s|Vox|Aux||#B38CE6|-"_s,
                  u"Bus16s||Aux||#B38CE6|-"_s, u"Main1s|HOUSE|Other||#243B8C|-"_s,
                  u"Main4s||Other||#BFBFBF|-"_s, u"Mtx1s||Matrix||#8CE699|-"_s,
                  u"Mtx2|Fill|Matrix||#8CE699|-"_s}},
        ReadCase{"wing_edit",
                 u"Init.snap"_s,
                 "\xEF\xBB\xBF{\"type\":\"snapshot.11\",\"creator\":\"WING Edit\",\"creator_vers\":"
                 "\"3.3.1\",\"active_scene\":\"\",\"ae_data\":{\"ch\":{}}}",
                 u"Init|WING|WING Edit 3.3.1|"_s,
                 {u"1||Input||#8CBFF2|-"_s}},
        ReadCase{"csv",
                 u"band.csv"_s,
                 "\n"
                 "Name,LABEL,Type,Colour,Route,Notes\n"
                 "\"Kick, In\",1,,#ff0000,Local 1,x\n"
                 "Snare , 2 ,input,,\"Local 2\",\n"
                 "\"Vox \"\"Lead\"\"\",3s,AUX,#00FF00,,\n"
                 ",,,,,\n"
                 "Drums,G1,Group,,,\n"
                 "\"Two\nlines\",M1,Matrix,,,\n"
                 "Talk,9,Other,,,",
                 u"band|||"_s,
                 {u"1|Kick, In|Input|Local 1|#FF0000|+"_s, u"2|Snare|Input|Local 2|#8CBFF2|+"_s,
                  u"3s|Vox \"Lead\"|Aux||#00FF00|-"_s, u"G1|Drums|Group||#F27373|-"_s,
                  u"M1|Two lines|Matrix||#8CE699|-"_s, u"9|Talk|Other||#BFBFBF|-"_s}},
        ReadCase{"chinese_semicolons",
                 u"乐队.csv"_s,
                 "\xEF\xBB\xBF通道;名称;类型;输入;颜色\r\n1;底鼓;输入;MADI "
                 "1;\r\nA1;混响;辅助;;#8040C0\r\n",
                 u"乐队|||"_s,
                 {u"1|底鼓|Input|MADI 1|#8CBFF2|+"_s, u"A1|混响|Aux||#8040C0|-"_s}},
        ReadCase{"tsv_utf16",
                 u"list.tsv"_s,
                 utf16(u"label\tname\tcolor\n5\tBass Amp\t8cbff2\n"_s),
                 u"list|||"_s,
                 {u"5|Bass Amp|Input||#8CBFF2|+"_s}},
        ReadCase{"csv_windows1252",
                 u"cafe.csv"_s,
                 "label,name\n1,Caf\xE9\n",
                 u"cafe|||"_s,
                 {u"1|Caf\u00E9|Input||#8CBFF2|+"_s}},
        ReadCase{"session_report",
                 u"show.txt"_s,
                 "Session: D:\\Main.ses\nInput Channels\n1\tKick\tMADI 1\nAux Outputs\nA1s\tVerb\n",
                 u"Main|||"_s,
                 {u"1|Kick|Input|MADI 1|#8CBFF2|+"_s, u"A1s|Verb|Aux||#B38CE6|+"_s}}),
    [](const testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.what); });

TEST(ConsoleFiles, ListEveryStripOfTheDeskInItsOrder)
{
    const auto labels = [](const QByteArray &bytes, const QString &fileName) {
        const Result<ParsedSession> session = readConsoleFile(bytes, fileName);
        QStringList result;
        for (const TrackChannel &track : session->tracks)
            result << track.channelLabel;
        return result.join(u' ');
    };
    // "Bus2s Bus3s …": labels numbered from `first` to `last`.
    const auto run = [](const QString &prefix, int first, int last, const QString &stereo = {}) {
        QStringList result;
        for (int i = first; i <= last; ++i)
            result << prefix + QString::number(i) + stereo;
        return result.join(u' ');
    };
    EXPECT_EQ(labels(sundayScene, u"s.scn"_s), run({}, 1, 32) + u' ' + run(u"Aux"_s, 1, 8) + u' ' +
                                                   run(u"Bus"_s, 1, 16) + u' ' +
                                                   run(u"Mtx"_s, 1, 6) + u" Mains M/C"_s);
    EXPECT_EQ(labels(jamesSnapshot, u"j.snap"_s),
              u"1 2 3 4 5s "_s + run({}, 6, 40) + u" Aux1s "_s + run(u"Aux"_s, 2, 8) + u" Bus1 "_s +
                  run(u"Bus"_s, 2, 16, u"s"_s) + u' ' + run(u"Main"_s, 1, 4, u"s"_s) +
                  u" Mtx1s Mtx2 "_s + run(u"Mtx"_s, 3, 8, u"s"_s));
}

TEST(ConsoleFiles, RefuseWhatTheyCannotReadSayingWhy)
{
    const struct {
        QString fileName;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {u"a.scn"_s, "#4.0# \"S\" \"\" %000000000 1\n/bus/01/config \"A\" 1 RD\n",
         u"未在 X32/M32 场景文件中找到通道列表。"_s},
        {u"a.snap"_s, "{\"type\": \"snapshot.10\",\n \"ae_data\": {",
         u"无法读取 WING 快照：JSON 在第 38 个字节处有误（文档不完整）。"_s},
        {u"a.snap"_s, "{\"type\": \"show.1\", \"ae_data\": {\"ch\": {}}}",
         u"这个 JSON 文件不是 WING 快照：“type”应以“snapshot.”开头。"_s},
        {u"a.snap"_s, "{\"type\": \"snapshot.8\", \"ae_data\": {\"ch\": []}}",
         u"WING 快照中没有通道列表（ae_data.ch）。"_s},
        {u"a.csv"_s, "label,type\n1,Input\n", u"通道列表的标题行缺少“name（名称）”列。"_s},
        {u"a.csv"_s, "名称;类型\n", u"通道列表的标题行缺少“label（通道）”列。"_s},
        {u"a.csv"_s, "label,name,type\n1,Kick,\n\n2,Snare,Drum\n",
         u"通道列表第 4 行的类型“Drum”无法识别：应为 Input、Aux、Group、Matrix、Other 或 输入、"
         "辅助、编组、矩阵、其他。"_s},
        {u"a.csv"_s, "label,name,colour\n1,\"a\nb\",#123456\n2,c,red\n",
         u"通道列表第 4 行的颜色“red”无法识别：应为 #RRGGBB。"_s},
        {u"a.csv"_s, "label,name,colour\n1,Kick,#12345\n",
         u"通道列表第 2 行的颜色“#12345”无法识别：应为 #RRGGBB。"_s},
        {u"a.csv"_s, "label,name\n,Kick\n",
         u"通道列表中没有通道：标题行下没有填写了通道（label）的行。"_s},
        {u"a.csv"_s, "hello, world\n", u"这不是 Session Report 文件。"_s},
    };
    for (const auto &c : cases) {
        const Result<ParsedSession> session = readConsoleFile(c.bytes, c.fileName);
        ASSERT_FALSE(session) << c.bytes.toStdString();
        EXPECT_EQ(session.error().message(), c.message) << c.bytes.toStdString();
    }
}
