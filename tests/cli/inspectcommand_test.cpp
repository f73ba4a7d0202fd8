#include "cli/clirunner.h"
#include "cli/sessioncommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

CommandRun inspect(const QString &file, std::shared_ptr<FakeAudioHardware> hardware)
{
    return runCommand(cli::runInspect, {file}, std::move(hardware));
}

QString withoutGeneratedAt(QString document)
{
    return document.remove(QRegularExpression(uR"(\n *"generatedAt": "[^"]*",)"_s));
}

} // namespace

// The document's layout is the project file's; here, that the command prints it.
TEST(InspectCommand, PrintsTheSessionAsPrettyUtf8Json)
{
    const CliRun run = runCli({u"inspect"_s, reports + u"libreoffice-table.rtf"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);

    EXPECT_EQ(document[u"session"_s][u"sessionName"_s].toString(), u"Festival Main"_s);
    EXPECT_EQ(document[u"tracks"_s].toArray().size(), 7);
    // Pretty-printed, with the text itself in UTF-8 rather than escaped.
    EXPECT_TRUE(run.out.contains("\n    \"session\": {"));
    EXPECT_TRUE(run.out.contains("\"name\": \"主唱\""));
}

TEST(InspectCommand, ReportsFailuresOnStandardErrorAndBadUsageWithExitCodeTwo)
{
    const CliRun missing = runCli({u"inspect"_s, reports + u"missing.rtf"_s});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("missing.rtf"));

    const QStringList wrong[] = {{},
                                 {u"inspect"_s},
                                 {u"inspect"_s, u"a"_s, u"b"_s},
                                 {u"frobnicate"_s},
                                 {u"inspect"_s, u"--json"_s}};
    for (const QStringList &arguments : wrong)
        EXPECT_EQ(runCli(arguments).exitCode, 2) << arguments.join(u' ').toStdString();
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
    writeBytes(project, report.out.toUtf8());
    const CommandRun opened = inspect(project, hardware);
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(withoutGeneratedAt(opened.out), withoutGeneratedAt(report.out));

    const CommandRun other = inspect(dir.filePath(u"club.json"_s), hardware);
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.err.startsWith(u"请打开"_s));
    EXPECT_TRUE(other.out.isEmpty());
}
