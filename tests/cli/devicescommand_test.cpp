#include "cli/clirunner.h"
#include "cli/devicescommand.h"

#include "audio/audioinputdeviceenumerator.h"
#include "support/fakeaudiohardware.h"
#include "support/printers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

CommandRun runDevices(const QStringList &arguments, QList<FakeAudioHardware::Device> devices)
{
    auto hardware = std::make_shared<FakeAudioHardware>();
    hardware->devices = std::move(devices);
    return runCommand(cli::runDevices, arguments, hardware);
}

QString golden(const QString &name)
{
    QFile file(QStringLiteral(KELVARY_TEST_DATA "/audio/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

const QList<FakeAudioHardware::Device> twoInterfaces{
    FakeAudioHardware::device(u"hw:CARD=UMC1820,DEV=0"_s, u"UMC1820"_s, {3}),
    FakeAudioHardware::device(u"hw:CARD=PCH,DEV=0"_s, u"HDA Intel PCH · ALC3246 Analog"_s, {2}),
};

} // namespace

TEST(DevicesCommand, PrintsEachDeviceWithItsChannelsAndRecordInputs)
{
    const CommandRun text = runDevices({}, twoInterfaces);
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, golden(u"devices.txt"_s));

    const CommandRun json = runDevices({u"--json"_s}, twoInterfaces);
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, golden(u"devices.json"_s));
}

TEST(DevicesCommand, SaysSoWhenThereAreNoInputs)
{
    const CommandRun text =
        runDevices({}, {FakeAudioHardware::device(u"out"_s, u"Speakers"_s, {})});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, u"未检测到音频输入\n"_s);

    const CommandRun json = runDevices({u"--json"_s}, {});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, u"{\n    \"devices\": [\n    ]\n}\n"_s);
}

TEST(DevicesCommand, RejectsUnknownArgumentsWithItsUsage)
{
    const CommandRun run = runDevices({u"--jsn"_s}, twoInterfaces);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith(
        u"kelvary-cli devices：未知参数：--jsn\n\n用法：kelvary-cli devices [--json]"_s))
        << run.err.toStdString();
}

TEST(DevicesCommand, AnswersFromTheCommandLineOnAnyComputer)
{
    // Whatever this computer's inputs are, the answer is a catalogue.
    const CliRun run = runCli({u"devices"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_TRUE(document[u"devices"_s].isArray());
}
