#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

// The button names the style it switches to, which is always the opposite of what is shown.
TEST(Appearance, EachStoredStyleOnEachDesktopShowsAStyleAndNamesTheOpposite)
{
    using enum ColorScheme;
    const struct {
        std::optional<QString> stored;
        ColorScheme desktop;
        ColorScheme shown;
    } cases[] = {
        {std::nullopt, dark, dark},
        {u"light"_s, dark, light},
        {u"dark"_s, light, dark},
        // A text from a newer or damaged settings file reads as following the desktop.
        {u"sepia"_s, dark, dark},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored.value_or(u"unset"_s).toStdString());
        if (c.stored)
            QSettings().setValue(Appearance::settingsKey, *c.stored);
        else
            QSettings().remove(Appearance::settingsKey);
        MainWindowFixture f;
        f.appearance.setSystemColorScheme(c.desktop);
        f.appearance.apply();
        EXPECT_EQ(f.appearance.shownColorScheme(), c.shown);
        EXPECT_EQ(colorSchemeOf(QApplication::palette()), c.shown);
        EXPECT_EQ(f.window.appearanceAction()->text(), c.shown == light ? u"深色"_s : u"浅色"_s);
    }
    QSettings().remove(Appearance::settingsKey);
}

TEST(Appearance, PressingTheButtonStoresTheNextStyleAndNeverReturnsToSystem)
{
    QSettings().remove(Appearance::settingsKey);
    MainWindowFixture f;
    f.appearance.setSystemColorScheme(ColorScheme::dark);
    QAction *button = f.window.appearanceAction();

    QStringList stored;
    for (int press = 0; press < 3; ++press) {
        button->trigger();
        stored << QSettings().value(Appearance::settingsKey).toString() << button->text();
    }
    EXPECT_EQ(stored,
              (QStringList{u"light"_s, u"深色"_s, u"dark"_s, u"浅色"_s, u"light"_s, u"深色"_s}));
    QSettings().remove(Appearance::settingsKey);
}

// The stereo switch and its kind sit straight on the window: their frames must show in both
// schemes, not only in the light one Fusion was drawn for.
TEST(Appearance, CheckBoxAndRadioFramesStandOutFromTheWindowInBothSchemes)
{
    const std::unique_ptr<QStyle> style(createApplicationStyle());
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        for (const bool radio : {false, true}) {
            SCOPED_TRACE(testing::Message() << (scheme == ColorScheme::dark ? "dark " : "light ")
                                            << (radio ? "radio" : "check box"));
            QCheckBox checkBox(u"立体声通道分离"_s);
            QRadioButton radioButton(u"USB"_s);
            QAbstractButton &button = radio ? static_cast<QAbstractButton &>(radioButton)
                                            : static_cast<QAbstractButton &>(checkBox);
            button.setStyle(style.get());
            button.setPalette(fusionPalette(scheme));
            button.resize(button.sizeHint());
            const QImage image = button.grab().toImage();

            QStyleOptionButton option;
            option.initFrom(&button);
            const QRect indicator = style->subElementRect(radio ? QStyle::SE_RadioButtonIndicator
                                                                : QStyle::SE_CheckBoxIndicator,
                                                          &option, &button);
            // The brightest or darkest pixel across the indicator's middle row, whichever is
            // further from the window.
            const int window = fusionPalette(scheme).color(QPalette::Window).lightness();
            int contrast = 0;
            for (int x = indicator.left(); x <= indicator.right(); ++x) {
                const int lightness = image.pixelColor(x, indicator.center().y()).lightness();
                contrast = std::max(contrast, std::abs(lightness - window));
            }
            EXPECT_GE(contrast, 45);
        }
    }
}

} // namespace
} // namespace kelvary::ui
