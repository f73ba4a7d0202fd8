#include "audio/alsacards.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

TEST(AlsaCards, AddressesCapturePcmsByCardIdAndDevice)
{
    const QList<AlsaCard> cards{
        {0,
         u"PCH"_s,
         u"HDA-Intel"_s,
         u"HDA Intel PCH"_s,
         {{0, u"ALC3246 Analog"_s}, {2, u"ALC3246 Alt Analog"_s}}},
        {1, u"Loopback"_s, u"Loopback"_s, u"Loopback"_s, {{0, u"Loopback PCM"_s}}},
        {2, u"UMC1820"_s, u"USB-Audio"_s, u"UMC1820"_s, {{0, u"USB Audio"_s}}},
        {3, u"Dummy"_s, u"Dummy"_s, u"Dummy"_s, {{0, u"Dummy PCM"_s}}},
        {4, u"HDMI"_s, u"HDA-Intel"_s, u"HDA ATI HDMI"_s, {}},
    };
    EXPECT_EQ(captureCandidates(cards),
              (QList<AlsaCaptureCandidate>{
                  {u"hw:CARD=PCH,DEV=0"_s, u"HDA Intel PCH · ALC3246 Analog"_s,
                   u"/proc/asound/card0/pcm0c/sub0/hw_params"_s},
                  {u"hw:CARD=PCH,DEV=2"_s, u"HDA Intel PCH · ALC3246 Alt Analog"_s,
                   u"/proc/asound/card0/pcm2c/sub0/hw_params"_s},
                  {u"hw:CARD=UMC1820,DEV=0"_s, u"UMC1820"_s,
                   u"/proc/asound/card2/pcm0c/sub0/hw_params"_s},
              }));
}
