#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QSettings>

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

} // namespace
} // namespace kelvary::ui
