#include "audio/alsaaudiohardware.h"
#include "audio/alsacards.h"
#include "audio/audioinputdeviceenumerator.h"
#include "support/builders.h"
#include "support/printers.h"

#include <alsa/asoundlib.h>

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

const QString fixtures = QStringLiteral(KELVARY_TEST_DATA "/audio/");

// ALSA reads its configuration on first use: the fixture's PCMs join ALSA's own configuration
// before any test runs.
class AlsaFixtureConfiguration : public testing::Environment {
public:
    void SetUp() override
    {
        const QByteArray path = QByteArray(snd_config_topdir()) +
                                "/alsa.conf:" + (fixtures + u"asound.conf"_s).toLocal8Bit();
        qputenv("ALSA_CONFIG_PATH", path);
    }
};

[[maybe_unused]] const testing::Environment *const alsaConfiguration =
    testing::AddGlobalTestEnvironment(new AlsaFixtureConfiguration);

AlsaCaptureCandidate fixturePcm(const QString &pcmName, const QString &name,
                                const QString &hwParamsFile = QString())
{
    return {pcmName, name, hwParamsFile.isEmpty() ? QString() : fixtures + hwParamsFile};
}

QList<AudioInputDevice> enumerate(const QList<AlsaCaptureCandidate> &candidates)
{
    return AudioInputDeviceEnumerator(std::make_shared<AlsaAudioHardware>(
                                          [candidates] { return std::optional(candidates); }))
        .enumerate();
}

} // namespace

TEST(AlsaAudioHardware, ProbesTheChannelCountsOfCapturePcms)
{
    const QList<AudioInputDevice> devices = enumerate({
        fixturePcm(u"kelvary_madi"_s, u"MADI card"_s),
        fixturePcm(u"kelvary_playback_only"_s, u"Speakers"_s),
        fixturePcm(u"kelvary_sixteen"_s, u"Sixteen inputs"_s),
        fixturePcm(u"kelvary_aggregate"_s, u"Aggregate of two interfaces"_s),
        fixturePcm(u"kelvary_three"_s, u"Three inputs"_s),
        fixturePcm(u"kelvary_no_such_pcm"_s, u"Missing"_s),
        fixturePcm(u"kelvary_stereo"_s, u"Stereo interface"_s),
        fixturePcm(u"kelvary_mono"_s, u"USB microphone"_s),
        // A PCM that cannot be opened stands for one another program holds: a running stream
        // tells its channels, a stopped or missing one nothing.
        fixturePcm(u"kelvary_busy"_s, u"Busy"_s, u"hw_params_running"_s),
        fixturePcm(u"kelvary_stopped"_s, u"Stopped"_s, u"hw_params_closed"_s),
        fixturePcm(u"kelvary_unplugged"_s, u"Unplugged"_s, u"hw_params_missing"_s),
    });
    EXPECT_EQ(deviceSummary(devices), (QStringList{
                                          u"kelvary_madi | MADI card | 0 | 64"_s,
                                          u"kelvary_sixteen | Sixteen inputs | 64 | 16"_s,
                                          u"kelvary_three | Three inputs | 80 | 3"_s,
                                          u"kelvary_stereo | Stereo interface | 83 | 2"_s,
                                          u"kelvary_mono | USB microphone | 85 | 1"_s,
                                          u"kelvary_busy | Busy | 86 | 18"_s,
                                      }));
}

TEST(HwParams, ReadsTheChannelCountOfARunningStreamOnly)
{
    EXPECT_EQ(channelsFromHwParams("format: S24_3LE\n  channels:  2 \nrate: 96000 (96000/1)\n"), 2);
    EXPECT_EQ(channelsFromHwParams("channels: 0\n"), std::nullopt);
    EXPECT_EQ(channelsFromHwParams(""), std::nullopt);
}
