#include "export/exportmanifest.h"
#include "support/builders.h"
#include "support/printers.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kelvary;
using namespace Qt::StringLiterals;

namespace {

// Every kind of track a report yields, one of them excluded and one without colour text: the
// golden manifests hold only the included tracks, in order, and no colour key for the last.
TrackList mixedSession()
{
    TrackChannel kick = makeTrack(DigicoChannelType::input, u"12"_s, u"Kick In"_s, u"MADI 1"_s);
    TrackChannel keys = makeTrack(DigicoChannelType::input, u"3s"_s, u"Keys \"Nord\""_s,
                                  u"Rack 1 Mic 3"_s, u"Grp 1 · L1 B1"_s);
    TrackChannel talkback = makeTrack(DigicoChannelType::input, u"40"_s, u"Talkback"_s);
    talkback.isIncluded = false;
    TrackChannel reverb = makeTrack(DigicoChannelType::aux, u"A1s"_s, u"混响"_s);
    TrackChannel drums = makeTrack(DigicoChannelType::group, u"G2"_s, u"Drums"_s);
    drums.color.red = std::numeric_limits<double>::quiet_NaN();
    TrackChannel wedge = makeTrack(DigicoChannelType::matrix, u"M3"_s, u"Wedge/Side"_s);
    return {kick, keys, talkback, reverb, drums, wedge};
}

} // namespace

TEST(ExportManifest, ProToolsAndLogicManifestsMatchTheirGoldenFiles)
{
    EXPECT_EQ(ProToolsExportManifest::makeManifest(mixedSession(), u"Main Show"_s,
                                                   u"/Users/me/Gigs"_s, u"SD12"_s)
                  .encoded(),
              fixtureBytes(u"export/protools-manifest.json"_s));
    EXPECT_EQ(LogicExportManifest::makeManifest(mixedSession(), u"Main Show"_s,
                                                u"/Users/me/Gigs/Main Show.logicx"_s, {})
                  .encoded(),
              fixtureBytes(u"export/logic-manifest.json"_s));
}

TEST(SanitizedSessionName, TurnsEveryPathSeparatorIntoAHyphen)
{
    EXPECT_EQ(sanitizedSessionName(u"Live/Show: 2"_s, u"/tmp/x.ptx"_s), u"Live-Show- 2"_s);
    // Without a name, the destination file's stands in.
    EXPECT_EQ(sanitizedSessionName({}, u"/Users/me/Gig.2026.ptx"_s), u"Gig.2026"_s);
    EXPECT_EQ(sanitizedSessionName({}, u"/Users/me/Show"_s), u"Show"_s);
    // A destination that names nothing still gives the workstation a name to create.
    EXPECT_EQ(sanitizedSessionName({}, u"/Users/me/.ptx"_s), u"Kelvary"_s);
}
