#include "cli/clirunner.h"
#include "cli/sessioncommands.h"

#include "audio/audioinputdeviceenumerator.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QString reports = QStringLiteral(KELVARY_TEST_DATA "/reports/");

struct CommandRun {
    int exitCode = 0;
    QString out;
    QString err;
};

CommandRun inspect(const QString &file, std::shared_ptr<FakeAudioHardware> hardware)
{
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    cli::CommandContext context{{file}, out, err};
    run.exitCode = cli::runInspect(context, AudioInputDeviceEnumerator(std::move(hardware)));
    out.flush();
    err.flush();
    return run;
}

QString withoutGeneratedAt(QString document)
{
    return document.remove(QRegularExpression(uR"(\n *"generatedAt": "[^"]*",)"_s));
}

} // namespace

TEST(InspectCommand, PrintsTheSessionAsSortedJson)
{
    const CliRun run = runCli({u"inspect"_s, reports + u"club-tabs.rtf"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);

    const QJsonObject session = document[u"session"_s].toObject();
    EXPECT_EQ(session.keys(), (QStringList{u"consoleName"_s, u"saveTime"_s, u"sessionName"_s,
                                           u"softwareVersion"_s, u"sourceFileName"_s}));
    EXPECT_EQ(session[u"sessionName"_s].toString(), u"Club Night"_s);

    const QJsonArray tracks = document[u"tracks"_s].toArray();
    ASSERT_EQ(tracks.size(), 4);
    const QJsonObject first = tracks[0].toObject();
    EXPECT_EQ(first.keys(),
              (QStringList{u"channelLabel"_s, u"channelNumber"_s, u"channelType"_s, u"colorHex"_s,
                           u"extraInfo"_s, u"id"_s, u"inputRoute"_s, u"isIncluded"_s, u"name"_s}));
    EXPECT_EQ(first[u"colorHex"_s].toString(), u"#8CBFF2"_s);
    EXPECT_EQ(first[u"extraInfo"_s].toString(), u"Grp 1"_s);
    const QString id = first[u"id"_s].toString();
    EXPECT_EQ(id.size(), 36);
    EXPECT_EQ(id, id.toUpper());
    EXPECT_EQ(tracks[3].toObject()[u"channelType"_s].toString(), u"Group"_s);
    // Pretty-printed, with the text itself in UTF-8 rather than escaped.
    EXPECT_TRUE(run.out.contains("\n    \"session\": {"));
}

TEST(InspectCommand, WritesChineseTextAsUtf8)
{
    const CliRun run = runCli({u"inspect"_s, reports + u"libreoffice-table.rtf"_s});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("\"name\": \"主唱\""));
}

TEST(InspectCommand, ReportsFailuresOnStandardError)
{
    const CliRun missing = runCli({u"inspect"_s, reports + u"missing.rtf"_s});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("missing.rtf"));

    QTemporaryFile empty(QDir::tempPath() + u"/XXXXXX.txt"_s);
    ASSERT_TRUE(empty.open());
    const CliRun emptyRun = runCli({u"inspect"_s, empty.fileName()});
    EXPECT_EQ(emptyRun.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(emptyRun.err).trimmed(), u"Session Report 内容为空。"_s);
}

TEST(InspectCommand, RejectsBadUsage)
{
    EXPECT_EQ(runCli({}).exitCode, 2);
    EXPECT_EQ(runCli({u"inspect"_s}).exitCode, 2);
    EXPECT_EQ(runCli({u"inspect"_s, u"a"_s, u"b"_s}).exitCode, 2);
    EXPECT_EQ(runCli({u"frobnicate"_s}).exitCode, 2);
    EXPECT_EQ(runCli({u"inspect"_s, u"--json"_s}).exitCode, 2);
}

TEST(InspectCommand, PrintsAnOpenedProjectAsTheAppWouldSaveIt)
{
    auto hardware = std::make_shared<FakeAudioHardware>();
    hardware->devices = {FakeAudioHardware::device(u"ufx"_s, u"UFX"_s, {8})};
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    const CommandRun report = inspect(reports + u"club-tabs.rtf"_s, hardware);
    ASSERT_EQ(report.exitCode, 0) << report.err.toStdString();
    const QString project = dir.filePath(u"club.kvp"_s);
    {
        QFile file(project);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(report.out.toUtf8());
    }
    const CommandRun opened = inspect(project, hardware);
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(withoutGeneratedAt(opened.out), withoutGeneratedAt(report.out));

    // Opening checks the assignments against the devices attached now.
    QJsonObject document = QJsonDocument::fromJson(report.out.toUtf8()).object();
    QJsonArray tracks = document[u"tracks"_s].toArray();
    QJsonObject gone = tracks[0].toObject();
    gone[u"audioInputDeviceUID"_s] = u"gone"_s;
    gone[u"audioInputChannelID"_s] = u"gone:0"_s;
    tracks[0] = gone;
    QJsonObject kept = tracks[1].toObject();
    kept[u"audioInputDeviceUID"_s] = u"ufx"_s;
    kept[u"audioInputChannelID"_s] = u"ufx:3"_s;
    tracks[1] = kept;
    document[u"tracks"_s] = tracks;
    {
        QFile file(project);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(document).toJson());
    }
    const CommandRun reconciled = inspect(project, hardware);
    ASSERT_EQ(reconciled.exitCode, 0) << reconciled.err.toStdString();
    const QJsonArray printed =
        QJsonDocument::fromJson(reconciled.out.toUtf8())[u"tracks"_s].toArray();
    EXPECT_FALSE(printed[0].toObject().contains(u"audioInputDeviceUID"_s));
    EXPECT_FALSE(printed[0].toObject().contains(u"audioInputChannelID"_s));
    EXPECT_EQ(printed[1].toObject()[u"audioInputChannelID"_s].toString(), u"ufx:3"_s);

    const CommandRun other = inspect(dir.filePath(u"club.json"_s), hardware);
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_EQ(other.err,
              u"请打开 Kelvary 工程文件（.kvp）或 DiGiCo Session Report（.rtf/.txt）。\n"_s);
    EXPECT_TRUE(other.out.isEmpty());
}
