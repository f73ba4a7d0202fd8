#include "cli/clirunner.h"
#include "cli/sessioncommands.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

class ConvertCommand : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        hardware->devices = {FakeAudioHardware::device(u"ufx"_s, u"UFX"_s, {24})};
    }

    CommandRun convert(const QStringList &arguments)
    {
        return runCommand(cli::runConvert, arguments, hardware);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QJsonObject project(const QString &name) const
    {
        return QJsonDocument::fromJson(fileBytes(path(name))).object();
    }

    QTemporaryDir dir;
    std::shared_ptr<FakeAudioHardware> hardware = std::make_shared<FakeAudioHardware>();
};

} // namespace

TEST_F(ConvertCommand, ShapesTheSessionAndWritesEveryOutputWithItsStatus)
{
    const CommandRun run = convert({reports + u"main-show-tabs.txt"_s, u"--types"_s, u"Input,aux"_s,
                                    u"--split-stereo"_s, u"--device"_s, u"ufx"_s, u"--start"_s,
                                    u"3"_s, u"--reaper"_s, path(u"a.RTrackTemplate"_s), u"--pdf"_s,
                                    path(u"a.pdf"_s), u"--project"_s, path(u"a.kvp"_s)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    // Ten inputs and three auxes, of which 5s, 9s and A2s split into two tracks each.
    EXPECT_EQ(run.out,
              u"已加载 18 条通道 · 1 个音频输入设备\n"
              "已为 16 条轨道分配 UFX · Ch 3–18\n"
              "已导出至 a.RTrackTemplate\n"
              "模版已写入录音设备：UFX\n"
              "各轨道 REC 为录音设备上的输入序号；在 Reaper 中选用该设备并插入模版即可应用。\n"
              "已导出 PDF 至 a.pdf\n"
              "工程已保存：a.kvp\n"_s);

    EXPECT_EQ(QString::fromUtf8(fileBytes(path(u"a.RTrackTemplate"_s))).count(u"<TRACK"_s), 16);
    EXPECT_TRUE(fileBytes(path(u"a.pdf"_s)).startsWith("%PDF-"));
    const QJsonObject document = project(u"a.kvp"_s);
    EXPECT_TRUE(document[u"splitStereoChannels"_s].toBool());
    const QJsonArray tracks = document[u"tracks"_s].toArray();
    ASSERT_EQ(tracks.size(), 22);
    EXPECT_EQ(tracks[0].toObject()[u"audioInputChannelID"_s].toString(), u"ufx:2"_s);
    for (const QJsonValue &track : tracks) {
        const QString type = track[u"channelType"_s].toString();
        EXPECT_EQ(track[u"isIncluded"_s].toBool(), type == u"Input" || type == u"Aux")
            << type.toStdString();
    }
}

// A scene and a snapshot come out as a report does: their named inputs, in desk order.
TEST_F(ConvertCommand, WritesConsoleScenesAndSnapshotsLikeReports)
{
    const struct {
        QString file;
        QString loaded;
        QStringList firstNames;
    } cases[] = {
        {u"sunday.scn"_s, u"已加载 64 条通道"_s, {u"Kick"_s, u"Snare Top"_s, u"Bass"_s}},
        {u"james.snap"_s, u"已加载 76 条通道"_s, {u"Vox Src"_s, u"Flute"_s, u"Keys"_s}},
    };
    for (const auto &c : cases) {
        const QString folder = path(c.file.section(u'.', 0, 0));
        const CommandRun run = convert({QStringLiteral(KELVARY_TEST_DATA "/consoles/") + c.file,
                                        u"--device"_s, u"ufx"_s, u"--reaper"_s,
                                        folder + u".RTrackTemplate"_s, u"--ardour"_s, folder});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(c.loaded)) << run.out.toStdString();
        const QString reaper = QString::fromUtf8(fileBytes(folder + u".RTrackTemplate"_s));
        QStringList names;
        for (const QRegularExpressionMatch &name :
             QRegularExpression(u"NAME \"(.*)\""_s).globalMatch(reaper))
            names << name.captured(1);
        EXPECT_EQ(names.first(3), c.firstNames);
        const QString ardour =
            QString::fromUtf8(fileBytes(folder + u'/' + c.file.section(u'.', 0, 0) + u".ardour"_s));
        EXPECT_EQ(ardour.count(u"<Route "_s), names.size() + 1) << "the tracks and the master bus";
        EXPECT_TRUE(ardour.contains(u"name=\"Kick\""_s) || ardour.contains(u"name=\"Vox Src\""_s));
    }
}

TEST_F(ConvertCommand, SavesAnOpenedProjectElsewhereWithoutTouchingIt)
{
    ASSERT_EQ(
        convert({reports + u"main-show-tabs.txt"_s, u"--project"_s, path(u"a.kvp"_s)}).exitCode, 0);
    const QByteArray original = fileBytes(path(u"a.kvp"_s));

    const CommandRun run = convert({path(u"a.kvp"_s), u"--types"_s, u"Group"_s, u"--device"_s,
                                    u"ufx"_s, u"--project"_s, path(u"b.kvp"_s)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"已打开工程：a.kvp\n已为 2 条轨道分配 UFX · Ch 1–3\n工程已保存：b.kvp\n"_s);
    EXPECT_EQ(fileBytes(path(u"a.kvp"_s)), original);
    const QJsonArray tracks = project(u"b.kvp"_s)[u"tracks"_s].toArray();
    EXPECT_FALSE(tracks[0].toObject()[u"isIncluded"_s].toBool());
    // The stereo group after the mono one takes the next pair.
    EXPECT_EQ(tracks[14].toObject()[u"audioInputChannelID"_s].toString(), u"ufx:stereo:1"_s);
}

TEST_F(ConvertCommand, StartsALoneTrackAtTheNamedInputAndReportsWhatCannotBeDone)
{
    const QString report = reports + u"main-show-tabs.txt"_s;
    // The club has one group: it simply takes the named input.
    const QStringList clubGroup{reports + u"club-tabs.rtf"_s,
                                u"--types"_s,
                                u"Group"_s,
                                u"--device"_s,
                                u"ufx"_s,
                                u"--start"_s};
    const CommandRun lone =
        convert(clubGroup + QStringList{u"5"_s, u"--project"_s, path(u"c.kvp"_s)});
    ASSERT_EQ(lone.exitCode, 0) << lone.err.toStdString();
    const QJsonArray tracks = project(u"c.kvp"_s)[u"tracks"_s].toArray();
    EXPECT_EQ(tracks[3].toObject()[u"audioInputChannelID"_s].toString(), u"ufx:4"_s);

    const std::pair<QStringList, QString> cases[] = {
        {{report, u"--device"_s, u"hw:CARD=Gone,DEV=0"_s, u"--pdf"_s, path(u"a.pdf"_s)},
         u"找不到音频输入设备“hw:CARD=Gone,DEV=0”；kelvary-cli devices 列出本机的设备，"
         "--plan-device 可添加计划设备。\n"_s},
        {{report, u"--types"_s, u"Other"_s, u"--device"_s, u"ufx"_s, u"--pdf"_s, path(u"a.pdf"_s)},
         u"没有包含的轨道可以分配输入。\n"_s},
        {clubGroup + QStringList{u"25"_s, u"--pdf"_s, path(u"a.pdf"_s)},
         u"设备“ufx”没有 Ch 25。\n"_s},
    };
    for (const auto &[arguments, message] : cases) {
        const CommandRun run = convert(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err, message);
    }
}

TEST_F(ConvertCommand, RejectsWrongCommandLinesWithTheReasonAndItsHelp)
{
    const QString report = reports + u"main-show-tabs.txt"_s;
    const std::pair<QStringList, QString> cases[] = {
        {{}, u"缺少 FILE。"_s},
        {{report, u"--bogus"_s}, u"未知选项：--bogus"_s},
        {{report, u"--start"_s, u"2"_s}, u"--start 只能与 --device 一起使用。"_s},
        {{report, u"--device"_s, u"ufx"_s, u"--start"_s, u"0"_s},
         u"--start 应为从 1 起的输入通道号，而不是“0”。"_s},
        {{report, u"--types"_s, u"Input,Bus"_s},
         u"未知的通道类型“Bus”；可用的类型：Input、Aux、Group、Matrix、Other。"_s},
        {{report, u"--plan-device=Rack:513"_s},
         u"--plan-device 的输入数应为 1 到 512 之间的整数，而不是“513”。"_s},
        {{report, u"--plan-device"_s, u"Rack:8"_s, u"--plan-device"_s, u"Rack:16"_s},
         u"计划设备“Rack”给出了两次。"_s},
        {{report, u"--pdf=a.pdf"_s, u"--pdf"_s, u"b.pdf"_s}, u"选项 --pdf 只能给出一次。"_s},
        {{report}, u"未写出任何文件：请给出 --reaper、--ardour、--pdf 或 --project。"_s},
        {{report, u"--playback-outputs=offset:x"_s},
         u"--playback-outputs 应为 same、offset:K（K 为不小于 0 的整数）或 none，而不是“offset:x”。"_s},
    };
    for (const auto &[arguments, reason] : cases) {
        const CommandRun run = convert(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err,
                  u"kelvary-cli convert：%1\n详见 kelvary-cli convert --help\n"_s.arg(reason));
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(ConvertCommand, PatchesAPlannedInterfaceThatSurvivesTheProjectAwayFromTheRig)
{
    const auto recordInputs = [&](const QString &name) {
        QStringList lines;
        for (const QString &line : QString::fromUtf8(fileBytes(path(name))).split(u'\n')) {
            if (line.trimmed().startsWith(u"REC "_s))
                lines.append(line.trimmed());
        }
        return lines;
    };
    hardware->devices = QList<FakeAudioHardware::Device>();
    const CommandRun planned =
        convert({reports + u"main-show-tabs.txt"_s, u"--plan-device"_s, u"Stage Rack:32"_s,
                 u"--device"_s, u"Stage Rack"_s, u"--start"_s, u"5"_s, u"--reaper"_s,
                 path(u"a.RTrackTemplate"_s), u"--project"_s, path(u"a.kvp"_s)});
    ASSERT_EQ(planned.exitCode, 0) << planned.err.toStdString();
    EXPECT_TRUE(planned.out.startsWith(u"已加载 18 条通道 · 0 个音频输入设备\n"
                                       "已为 10 条轨道分配 Stage Rack · Ch 5–16\n"_s))
        << planned.out.toStdString();
    EXPECT_EQ(recordInputs(u"a.RTrackTemplate"_s).size(), 10);

    // Reopened with another interface attached: the patch and its record inputs stay.
    hardware->devices = {FakeAudioHardware::device(u"ufx"_s, u"UFX"_s, {24})};
    const CommandRun reopened =
        convert({path(u"a.kvp"_s), u"--reaper"_s, path(u"b.RTrackTemplate"_s), u"--project"_s,
                 path(u"b.kvp"_s)});
    ASSERT_EQ(reopened.exitCode, 0) << reopened.err.toStdString();
    EXPECT_EQ(recordInputs(u"b.RTrackTemplate"_s), recordInputs(u"a.RTrackTemplate"_s));
    EXPECT_EQ(recordInputs(u"b.RTrackTemplate"_s).first(), u"REC 1 4 0 0 0 0 0 0"_s);
    // Counted over every device, the planned interface's inputs follow the UFX's 24.
    ASSERT_EQ(convert({path(u"a.kvp"_s), u"--input-numbering=global"_s, u"--reaper"_s,
                       path(u"c.RTrackTemplate"_s)})
                  .exitCode,
              0);
    EXPECT_EQ(recordInputs(u"c.RTrackTemplate"_s).first(), u"REC 1 28 0 0 0 0 0 0"_s);
    const QJsonArray tracks = project(u"b.kvp"_s)[u"tracks"_s].toArray();
    EXPECT_EQ(tracks[0].toObject()[u"audioInputChannelID"_s].toString(), u"planned:Stage Rack:4"_s);
}

TEST_F(ConvertCommand, UpdatesFromARevisedReportBeforeAnythingElseAndPrintsTheChanges)
{
    QString revised = QString::fromUtf8(fileBytes(reports + u"main-show-tabs.txt"_s));
    revised.replace(u"2\tKick Out\tRack 1 Mic 2"_s, u"2\tKick Sub\tRack 1 Mic 12"_s);
    revised.remove(QRegularExpression(u"7\tBass DI[^\n]*\n"_s));
    revised.replace(u"12\tGtr\\Amp"_s, u"13\tAcoustic Gtr\tMADI 13\n14\t\tMADI 14\n12\tGtr\\Amp"_s);
    writeBytes(path(u"revised.txt"_s), revised.toUtf8());

    const CommandRun run =
        convert({reports + u"main-show-tabs.txt"_s, u"--update-from"_s, path(u"revised.txt"_s),
                 u"--device"_s, u"ufx"_s, u"--project"_s, path(u"a.kvp"_s)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"已加载 18 条通道 · 1 个音频输入设备\n"
                       "新增 13 Acoustic Gtr\n"
                       "删除 7 Bass DI\n"
                       "改名 2 Kick Out → Kick Sub\n"
                       "改输入 2 Rack 1 Mic 2 → Rack 1 Mic 12\n"
                       "已更新：新增 1 · 删除 1 · 改名 1 · 改输入 1 · 保留 17 · 1 行未能识别\n"
                       "已为 10 条轨道分配 UFX · Ch 1–12\n"
                       "工程已保存：a.kvp\n"_s);
    EXPECT_EQ(run.err, u"未能识别为通道：14\t\tMADI 14\n"_s);
}

TEST(KelvaryCli, BothProgramsTellTheirVersionAndExplainEachCommand)
{
    for (const QString &program : {QStringLiteral(KELVARY_CLI), QStringLiteral(KELVARY_APP)}) {
        const QString name = QFileInfo(program).fileName();
        for (const QString &option : {u"--version"_s, u"-V"_s}) {
            const CliRun run = runCli({option}, program);
            EXPECT_EQ(run.exitCode, 0) << name.toStdString();
            EXPECT_TRUE(run.out.startsWith((name + u" " KELVARY_VERSION_TEXT "\n"_s).toUtf8()))
                << run.out.toStdString();
        }
    }

    // Each command explains itself in Chinese.
    const std::pair<QStringList, QByteArray> helps[] = {
        {{u"--help"_s}, "用法：kelvary-cli 命令 [参数]"},
        {{u"convert"_s, u"--help"_s}, "用法：kelvary-cli convert"},
        {{u"devices"_s, u"--help"_s}, "用法：kelvary-cli devices"},
    };
    for (const auto &[arguments, usage] : helps) {
        const CliRun help = runCli(arguments);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.startsWith(usage)) << help.out.toStdString();
    }
    EXPECT_TRUE(runCli({u"--help"_s}, QStringLiteral(KELVARY_APP)).out.startsWith("用法：kelvary"));
}

// The card records the mains, bus 1 and the inputs on Local 1, 2 and 9, two strips on Local 9.
TEST_F(ConvertCommand, AssignsWhatTheConsoleSendsItsRecorderAndKeepsThePatchInTheProject)
{
    const auto recordInputs = [&](const QString &name) {
        QStringList rows;
        for (const QString &line : QString::fromUtf8(fileBytes(path(name))).split(u'\n')) {
            const QStringList fields = line.trimmed().split(u' ');
            if (fields.front() == u"NAME")
                rows.append(line.trimmed().sliced(5));
            else if (fields.front() == u"REC" && !rows.isEmpty())
                rows.last() += u' ' + fields.value(1) + u' ' + fields.value(2);
        }
        return rows;
    };
    writeBytes(path(u"rec.scn"_s), "#4.0# \"Rec\" \"\" %000000000 1\n"
                                   "/config/routing/IN AN1-8 AN9-16 A1-8 B1-8\n"
                                   "/config/routing/CARD OUT1-8 AN1-8 AN9-16 OFF\n"
                                   "/outputs/main/01 1 POST OFF\n/outputs/main/02 2 POST OFF\n"
                                   "/outputs/main/03 4 POST OFF\n"
                                   "/ch/01/config \"Kick\" 1 RD 1\n"
                                   "/ch/02/config \"Snare\" 1 RD 2\n"
                                   "/ch/03/config \"Vox\" 1 RD 9\n"
                                   "/ch/04/config \"Vox 2\" 1 RD 9\n"
                                   "/ch/05/config \"Spare\" 1 RD 20\n"
                                   "/main/st/config \"LR\" 1 WH\n");
    const CommandRun run = convert({path(u"rec.scn"_s), u"--assign-from-console"_s, u"--reaper"_s,
                                    path(u"a.RTrackTemplate"_s), u"--project"_s, path(u"a.kvp"_s)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"已按调音台路由为 6 条轨道分配 X32/M32 Card · 1 条轨道未送往录音"
                                 "设备 · Ch 17 由 2 条轨道共用：Vox、Vox 2\n"_s))
        << run.out.toStdString();
    const QStringList expected{u"\"Kick\" 1 8"_s, u"\"Snare\" 1 9"_s, u"\"Vox\" 1 16"_s,
                               u"\"Vox 2\" 1 16"_s, u"\"Spare\" 0 0"_s};
    EXPECT_EQ(recordInputs(u"a.RTrackTemplate"_s), expected);

    // Reopened, with the mains and bus 1 now included: their inputs and the patch were kept.
    const CommandRun reopened =
        convert({path(u"a.kvp"_s), u"--types"_s, u"Input,Aux,Other"_s, u"--reaper"_s,
                 path(u"b.RTrackTemplate"_s), u"--project"_s, path(u"b.kvp"_s)});
    ASSERT_EQ(reopened.exitCode, 0) << reopened.err.toStdString();
    const QStringList rows = recordInputs(u"b.RTrackTemplate"_s);
    EXPECT_TRUE(rows.contains(u"\"Bus1 \" 1 2"_s) && rows.contains(u"\"Mains LR\" 1 1024"_s))
        << rows.join(u", "_s).toStdString();
    EXPECT_EQ(project(u"b.kvp"_s)[u"recorderPatch"_s][0][u"channels"_s][16],
              QJsonArray({QJsonObject{{u"label"_s, u"3"_s}}, QJsonObject{{u"label"_s, u"4"_s}}}));
    // A report has no recorder at all.
    EXPECT_EQ(convert({reports + u"main-show-tabs.txt"_s, u"--assign-from-console"_s, u"--reaper"_s,
                       path(u"c.RTrackTemplate"_s)})
                  .exitCode,
              1);
    EXPECT_FALSE(QFileInfo::exists(path(u"c.RTrackTemplate"_s)));
}
