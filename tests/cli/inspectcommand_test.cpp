#include "cli/clirunner.h"
#include "cli/sessioncommands.h"

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

TEST(InspectCommand, ReportsFailuresAndUnreadLinesOnStandardErrorAndBadUsageWithExitCodeTwo)
{
    const CliRun missing = runCli({u"inspect"_s, reports + u"missing.rtf"_s});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("missing.rtf"));

    const CliRun unread = runCli({u"inspect"_s, reports + u"fallback-single-space.txt"_s});
    EXPECT_EQ(unread.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(unread.err),
              u"未能识别为通道：5 DANTE 5\n未能识别为通道：6 Bassline Synth\n"_s);

    // The first line says what is wrong; an option is named even after a FILE.
    const std::pair<QStringList, QString> wrong[] = {
        {{}, QString()},
        {{u"frobnicate"_s}, QString()},
        {{u"inspect"_s, u"a"_s, u"b"_s}, u"kelvary-cli inspect：只能给出一个 FILE。"_s},
        {{u"inspect"_s, u"a"_s, u"--json"_s}, u"kelvary-cli inspect：未知选项：--json"_s},
    };
    for (const auto &[arguments, reason] : wrong) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        if (!reason.isEmpty())
            EXPECT_EQ(QString::fromUtf8(run.err).section(u'\n', 0, 0), reason);
    }
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
}
