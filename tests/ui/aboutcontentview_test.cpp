#include "about/aboutcontentview.h"
#include "support/printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

TEST(AboutVersion, ShowsTheBuildOnlyWhenItDiffersFromTheVersion)
{
    EXPECT_EQ(aboutVersionText({u"1.2"_s, u"7"_s}), u"版本 1.2 (7)");
    EXPECT_EQ(aboutVersionText({u"1.2"_s, u"1.2"_s}), u"版本 1.2");
    EXPECT_EQ(aboutVersionText({std::nullopt, std::nullopt}), u"版本 —");
}

} // namespace
} // namespace kelvary::ui
