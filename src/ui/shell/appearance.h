#pragma once

#include <QObject>
#include <QPalette>
#include <QString>

#include <optional>

class QStyle;

namespace kelvary::ui {

// The user's choice of colours: follow the desktop, or always light, or always dark.
enum class AppAppearanceStyle { system, light, dark };

enum class ColorScheme { light, dark };

// "system", "light", "dark": the form kept in the settings.
QString appearanceStyleText(AppAppearanceStyle style);
std::optional<AppAppearanceStyle> appearanceStyleFromText(const QString &text);

// The style the appearance button switches to: always the opposite of what is shown, never back
// to following the desktop.
AppAppearanceStyle nextAppearanceStyle(AppAppearanceStyle stored, ColorScheme systemScheme);

// Whether a palette reads as light or dark, by its window and text colours.
ColorScheme colorSchemeOf(const QPalette &palette);

// The whole application's Fusion palette for a scheme.
QPalette fusionPalette(ColorScheme scheme);

// The application's style: Fusion, with the frames of check boxes and radio buttons drawn in a
// colour that stands out from a dark window as well as a light one.
QStyle *createApplicationStyle();

// The stored appearance style, applied to every window of the application. The style lives only in
// the settings under "appAppearanceStyle", so the main window and the About window always agree.
class Appearance : public QObject {
    Q_OBJECT

public:
    static inline const QString settingsKey = QStringLiteral("appAppearanceStyle");

    // The desktop's scheme cannot be read back once a palette of our own is applied, so it is
    // read before and handed in.
    explicit Appearance(ColorScheme systemColorScheme, QObject *parent = nullptr);

    // The stored style; a missing or unknown text reads as system.
    AppAppearanceStyle style() const;
    // Stores the style and applies it.
    void setStyle(AppAppearanceStyle style);

    ColorScheme systemColorScheme() const { return m_systemColorScheme; }
    void setSystemColorScheme(ColorScheme scheme);

    ColorScheme shownColorScheme() const;
    AppAppearanceStyle nextStyle() const
    {
        return nextAppearanceStyle(style(), m_systemColorScheme);
    }

    // Sets the application palette for the shown scheme.
    void apply() const;

Q_SIGNALS:
    void changed();

private:
    ColorScheme m_systemColorScheme;
};

} // namespace kelvary::ui
