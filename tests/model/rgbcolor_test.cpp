#include "model/rgbcolor.h"
#include "support/printers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kelvary;
using namespace Qt::StringLiterals;

TEST(RGBColor, HexTextClampsAndNeedsFiniteComponents)
{
    EXPECT_EQ(hexString({1.0, 1.7, -0.2, 0.3}), u"#FFFF00"_s);
    EXPECT_EQ(hexString({0.0, 0.5, 0.999, 1.0}), u"#0080FF"_s);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const RGBColor &color :
         {RGBColor{nan, 0, 0, 1}, RGBColor{0, inf, 0, 1}, RGBColor{0, 0, -inf, 1}})
        EXPECT_EQ(hexString(color), std::nullopt);
    for (int v = 0; v < 256; ++v) {
        const QString text = QString::asprintf("#%02X%02X%02X", v, 255 - v, (v * 7) % 256);
        EXPECT_EQ(hexString(colorFromHex(text)), text);
    }
}

TEST(RGBColor, ReadsHexTextLenientlyAndGivesGrayForTheUnreadable)
{
    const RGBColor expected = colorFromHex(u"#8CBFF2"_s);
    EXPECT_EQ(expected, (RGBColor{0x8C / 255.0, 0xBF / 255.0, 0xF2 / 255.0, 1.0}));
    for (const QString &text : {u"#8cbff2"_s, u"8CBFF2"_s, u"  #8CBFF2 \n"_s, u"##8CBFF2"_s})
        EXPECT_EQ(colorFromHex(text), expected) << text.toStdString();
    for (const QString &text :
         {u"#8CBFF"_s, u"#8CBFF2A"_s, u""_s, u"#8CBFG2"_s, u"+8CBFF"_s, u"0x8CBF"_s, u"#8C BF2"_s})
        EXPECT_EQ(colorFromHex(text), neutralGray()) << text.toStdString();
}
