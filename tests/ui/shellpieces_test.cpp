#include "about/aboutcontentview.h"
#include "shell/dialogfilepanels.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

// File names on Linux are case-sensitive: a report saved as SHOW.RTF must still be offered.
TEST(DialogFilePanels, FiltersOfferBothCasesOfEachExtension)
{
    EXPECT_EQ(nameFilters({{u"DiGiCo Session Report"_s, {u"rtf"_s, u"txt"_s}}}),
              QStringList{u"DiGiCo Session Report (*.rtf *.RTF *.txt *.TXT)"_s});
    EXPECT_EQ(nameFilters({{u"Reaper"_s, {u"RTrackTemplate"_s}}}),
              QStringList{u"Reaper (*.rtracktemplate *.RTRACKTEMPLATE)"_s});
}

TEST(AboutVersion, ShowsTheBuildOnlyWhenItDiffersFromTheVersion)
{
    EXPECT_EQ(aboutVersionText({u"1.2"_s, u"7"_s}), u"版本 1.2 (7)");
    EXPECT_EQ(aboutVersionText({u"1.2"_s, u"1.2"_s}), u"版本 1.2");
    EXPECT_EQ(aboutVersionText({std::nullopt, std::nullopt}), u"版本 —");
}

} // namespace
} // namespace kelvary::ui
