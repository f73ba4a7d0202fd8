#include "cli/clirunner.h"
#include "cli/devicescommand.h"

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
    return QString::fromUtf8(fileBytes(QStringLiteral(KELVARY_TEST_DATA "/audio/") + name));
}

const QList<FakeAudioHardware::Device> twoInterfaces{
    FakeAudioHardware::device(u"hw:CARD=UMC1820,DEV=0"_s, u"UMC1820"_s, {3}),
    FakeAudioHardware::device(u"hw:CARD=PCH,DEV=0"_s, u"HDA Intel PCH · ALC3246 Analog"_s, {2}),
};

} // namespace

TEST(DevicesCommand, PrintsEachDeviceWithItsChannelsAndRecordInputsOrSaysThereAreNone)
{
    const struct {
        QStringList arguments;
        QList<FakeAudioHardware::Device> devices;
        QString out;
    } cases[] = {
        {{}, twoInterfaces, golden(u"devices.txt"_s)},
        {{u"--json"_s}, twoInterfaces, golden(u"devices.json"_s)},
        {{}, {FakeAudioHardware::device(u"out"_s, u"Speakers"_s, {})}, u"未检测到音频输入\n"_s},
        {{u"--json"_s}, {}, u"{\n    \"devices\": [\n    ]\n}\n"_s},
    };
    for (const auto &c : cases) {
        const CommandRun run = runDevices(c.arguments, c.devices);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, c.out);
    }

    const std::pair<QStringList, QString> wrong[] = {
        {{u"--jsn"_s}, u"未知选项：--jsn"_s},
        {{u"--json"_s, u"--json"_s}, u"选项 --json 只能给出一次。"_s},
        {{u"a.kvp"_s, u"b.kvp"_s}, u"只能给出一个 FILE。"_s},
    };
    for (const auto &[arguments, reason] : wrong) {
        const CommandRun run = runDevices(arguments, twoInterfaces);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err,
                  u"kelvary-cli devices：%1\n详见 kelvary-cli devices --help\n"_s.arg(reason));
    }
}
