#include "uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QSettings>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kelvary::ui {
namespace {

struct AppearanceCase {
    std::optional<QString> stored;
    ColorScheme systemScheme;
    ColorScheme shown;
    QString label;
};

void PrintTo(const AppearanceCase &c, std::ostream *os)
{
    *os << (c.stored ? c.stored->toStdString() : "unset") << " on a "
        << (c.systemScheme == ColorScheme::dark ? "dark" : "light") << " desktop";
}

class AppearanceButton : public testing::TestWithParam<AppearanceCase> {
protected:
    void SetUp() override
    {
        if (GetParam().stored)
            QSettings().setValue(Appearance::settingsKey, *GetParam().stored);
        else
            QSettings().remove(Appearance::settingsKey);
    }
    void TearDown() override { QSettings().remove(Appearance::settingsKey); }
};

// The button names the style it switches to, which is always the opposite of what is shown.
TEST_P(AppearanceButton, NamesTheOppositeOfWhatIsShown)
{
    const AppearanceCase &c = GetParam();
    MainWindowFixture f;
    f.appearance.setSystemColorScheme(c.systemScheme);
    f.appearance.apply();
    EXPECT_EQ(f.appearance.shownColorScheme(), c.shown);
    EXPECT_EQ(colorSchemeOf(QApplication::palette()), c.shown);

    QAction *button = f.window.appearanceAction();
    EXPECT_EQ(button->text(), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    FromEachStoredStyle, AppearanceButton,
    testing::Values(AppearanceCase{std::nullopt, ColorScheme::light, ColorScheme::light, u"深色"_s},
                    AppearanceCase{std::nullopt, ColorScheme::dark, ColorScheme::dark, u"浅色"_s},
                    AppearanceCase{u"system"_s, ColorScheme::dark, ColorScheme::dark, u"浅色"_s},
                    AppearanceCase{u"system"_s, ColorScheme::light, ColorScheme::light, u"深色"_s},
                    AppearanceCase{u"light"_s, ColorScheme::light, ColorScheme::light, u"深色"_s},
                    AppearanceCase{u"light"_s, ColorScheme::dark, ColorScheme::light, u"深色"_s},
                    AppearanceCase{u"dark"_s, ColorScheme::light, ColorScheme::dark, u"浅色"_s},
                    AppearanceCase{u"dark"_s, ColorScheme::dark, ColorScheme::dark, u"浅色"_s},
                    // A text from a newer or damaged settings file reads as following the desktop.
                    AppearanceCase{u"sepia"_s, ColorScheme::dark, ColorScheme::dark, u"浅色"_s}),
    [](const testing::TestParamInfo<AppearanceCase> &info) {
        const AppearanceCase &c = info.param;
        const QString stored = c.stored ? c.stored->toLower() : u"unset"_s;
        const QString desktop = c.systemScheme == ColorScheme::dark ? u"Dark"_s : u"Light"_s;
        return (u"Stored_"_s + stored + u"_Desktop"_s + desktop).toStdString();
    });

TEST(Appearance, PressingTheButtonStoresTheNextStyleAndNeverReturnsToSystem)
{
    QSettings().remove(Appearance::settingsKey);
    MainWindowFixture f;
    f.appearance.setSystemColorScheme(ColorScheme::dark);
    QAction *button = f.window.appearanceAction();

    QStringList stored;
    QStringList labels;
    for (int press = 0; press < 3; ++press) {
        button->trigger();
        stored.append(QSettings().value(Appearance::settingsKey).toString());
        labels.append(button->text());
    }
    EXPECT_EQ(stored, (QStringList{u"light"_s, u"dark"_s, u"light"_s}));
    EXPECT_EQ(labels, (QStringList{u"深色"_s, u"浅色"_s, u"深色"_s}));
    EXPECT_EQ(colorSchemeOf(QApplication::palette()), ColorScheme::light);

    // A stored style no longer follows the desktop.
    f.appearance.setSystemColorScheme(ColorScheme::light);
    EXPECT_EQ(colorSchemeOf(QApplication::palette()), ColorScheme::light);
    EXPECT_EQ(button->text(), u"深色");
    QSettings().remove(Appearance::settingsKey);
}

TEST(Appearance, FusionPalettesReadAsTheirScheme)
{
    EXPECT_EQ(colorSchemeOf(fusionPalette(ColorScheme::light)), ColorScheme::light);
    EXPECT_EQ(colorSchemeOf(fusionPalette(ColorScheme::dark)), ColorScheme::dark);
}

} // namespace
} // namespace kelvary::ui
