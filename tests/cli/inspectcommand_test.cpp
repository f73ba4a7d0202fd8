#include "cli/clirunner.h"
#include "support/printers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString reports = QStringLiteral(KELVARY_TEST_DATA "/reports/");

} // namespace

TEST(InspectCommand, PrintsTheSessionAsSortedJson) {
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

TEST(InspectCommand, WritesChineseTextAsUtf8) {
    const CliRun run = runCli({u"inspect"_s, reports + u"libreoffice-table.rtf"_s});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("\"name\": \"主唱\""));
}

TEST(InspectCommand, ReportsFailuresOnStandardError) {
    const CliRun missing = runCli({u"inspect"_s, reports + u"missing.rtf"_s});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("missing.rtf"));

    QTemporaryFile empty;
    ASSERT_TRUE(empty.open());
    const CliRun emptyRun = runCli({u"inspect"_s, empty.fileName()});
    EXPECT_EQ(emptyRun.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(emptyRun.err).trimmed(), u"Session Report 内容为空。"_s);
}

TEST(InspectCommand, RejectsBadUsage) {
    EXPECT_EQ(runCli({}).exitCode, 2);
    EXPECT_EQ(runCli({u"inspect"_s}).exitCode, 2);
    EXPECT_EQ(runCli({u"inspect"_s, u"a"_s, u"b"_s}).exitCode, 2);
    EXPECT_EQ(runCli({u"frobnicate"_s}).exitCode, 2);
    const CliRun help = runCli({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("inspect FILE"));
}
