#include "model/trackchannel.h"
#include "support/builders.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace kelvary;
using namespace Qt::StringLiterals;

TEST(ChannelNumber, CollectsTheDigitsOfALabel)
{
    EXPECT_EQ(channelNumberFromLabel(u"12"_s), 12);
    EXPECT_EQ(channelNumberFromLabel(u"3s"_s), 3);
    EXPECT_EQ(channelNumberFromLabel(u"A10s"_s), 10);
    EXPECT_EQ(channelNumberFromLabel(u"1a2"_s), 12);
    EXPECT_EQ(channelNumberFromLabel(u"s"_s), 0);
    // Zero when the digits are not a decimal integer.
    EXPECT_EQ(channelNumberFromLabel(u"9223372036854775807"_s), 9223372036854775807LL);
    EXPECT_EQ(channelNumberFromLabel(u"9223372036854775808"_s), 0);
    EXPECT_EQ(channelNumberFromLabel(u"2²"_s), 0);
    // Arabic-Indic three is a decimal digit, but not one a decimal integer is read from.
    EXPECT_EQ(channelNumberFromLabel(u"\u0663"_s), 0);
}

TEST(SideSuffixed, ReplacesAnExistingSideLetter)
{
    EXPECT_EQ(sideSuffixed(u"Keys"_s, StereoChannelSide::right, true), u"Keys R"_s);
    EXPECT_EQ(sideSuffixed(u"Keys L"_s, StereoChannelSide::right, true), u"Keys R"_s);
    EXPECT_EQ(sideSuffixed(u" L"_s, StereoChannelSide::right, true), u"R"_s);
    EXPECT_EQ(sideSuffixed(u""_s, StereoChannelSide::left, true), u"L"_s);
    EXPECT_EQ(sideSuffixed(u""_s, StereoChannelSide::left, false), u""_s);
}

TEST(TrackChannel, StereoSideCopiesTheChannelWithItsSide)
{
    TrackChannel stereo = onChannel(
        makeTrack(DigicoChannelType::aux, u"3s"_s, u"Keys"_s, u"MADI 5"_s), u"hw:CARD=X,DEV=0:4"_s);
    stereo.isIncluded = false;

    const TrackChannel right = stereo.stereoSideChannel(u"3"_s, StereoChannelSide::right);
    EXPECT_NE(right.id, stereo.id);
    TrackChannel expected = stereo;
    expected.id = right.id;
    expected.channelLabel = u"3 R"_s;
    expected.name = u"Keys R"_s;
    expected.inputRoute = u"MADI 5 R"_s;
    expected.stereoSourceLabel = u"3s"_s;
    expected.stereoSide = StereoChannelSide::right;
    EXPECT_EQ(right, expected);
}

// Other spellings of types and sides are refused where projects are read.
TEST(ChannelTypeText, RoundTripsEveryType)
{
    for (DigicoChannelType type : allChannelTypes)
        EXPECT_EQ(channelTypeFromText(channelTypeText(type)), type);
}
