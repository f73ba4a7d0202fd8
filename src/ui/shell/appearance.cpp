#include "shell/appearance.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <memory>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

QString appearanceStyleText(AppAppearanceStyle style)
{
    switch (style) {
    case AppAppearanceStyle::system:
        return u"system"_s;
    case AppAppearanceStyle::light:
        return u"light"_s;
    case AppAppearanceStyle::dark:
        return u"dark"_s;
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<AppAppearanceStyle> appearanceStyleFromText(const QString &text)
{
    for (AppAppearanceStyle style :
         {AppAppearanceStyle::system, AppAppearanceStyle::light, AppAppearanceStyle::dark}) {
        if (appearanceStyleText(style) == text)
            return style;
    }
    return std::nullopt;
}

AppAppearanceStyle nextAppearanceStyle(AppAppearanceStyle stored, ColorScheme systemScheme)
{
    switch (stored) {
    case AppAppearanceStyle::system:
        return systemScheme == ColorScheme::dark ? AppAppearanceStyle::light
                                                 : AppAppearanceStyle::dark;
    case AppAppearanceStyle::light:
        return AppAppearanceStyle::dark;
    case AppAppearanceStyle::dark:
        return AppAppearanceStyle::light;
    }
    Q_UNREACHABLE();
    return AppAppearanceStyle::system;
}

ColorScheme colorSchemeOf(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() <
                   palette.color(QPalette::WindowText).lightness()
               ? ColorScheme::dark
               : ColorScheme::light;
}

QPalette fusionPalette(ColorScheme scheme)
{
    const QColor accent(0x2F, 0x7B, 0xE0);
    if (scheme == ColorScheme::light) {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
        QPalette palette = fusion->standardPalette();
        palette.setColor(QPalette::Highlight, accent);
        palette.setColor(QPalette::Link, accent);
        palette.setColor(QPalette::PlaceholderText, QColor(0x6E, 0x6E, 0x73));
        palette.setColor(QPalette::AlternateBase, QColor(0xF2, 0xF2, 0xF4));
        return palette;
    }

    const QColor window(0x2A, 0x2B, 0x2F);
    const QColor base(0x1F, 0x20, 0x23);
    const QColor text(0xE8, 0xE8, 0xEA);
    const QColor dimmed(0x80, 0x81, 0x86);
    QPalette palette(text, window, window.lighter(150), window.darker(160), window.darker(120),
                     text, Qt::white, base, window);
    palette.setColor(QPalette::Button, QColor(0x36, 0x37, 0x3C));
    palette.setColor(QPalette::AlternateBase, QColor(0x25, 0x26, 0x2A));
    palette.setColor(QPalette::ToolTipBase, QColor(0x3A, 0x3B, 0x40));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Highlight, QColor(0x3D, 0x8B, 0xF0));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x6A, 0xA8, 0xFF));
    palette.setColor(QPalette::PlaceholderText, QColor(0x9A, 0x9B, 0xA0));
    palette.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x12));
    for (QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        palette.setColor(QPalette::Disabled, role, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::Button, window);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x4A, 0x4B, 0x50));
    return palette;
}

namespace {

// Fusion frames an indicator a shade darker than the window, which reads on light grey and all
// but vanishes on dark grey; the dark palette's frame gets a line of the placeholder colour on top.
class ApplicationStyle final : public QProxyStyle {
public:
    ApplicationStyle()
        : QProxyStyle(QStyleFactory::create(u"Fusion"_s))
    {
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const bool indicator =
            element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton;
        if (!indicator || colorSchemeOf(option->palette) != ColorScheme::dark ||
            option->state & State_HasFocus)
            return;
        painter->save();
        painter->setBrush(Qt::NoBrush);
        painter->setPen(option->palette.color(QPalette::PlaceholderText));
        if (element == PE_IndicatorCheckBox) {
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        } else {
            painter->setRenderHint(QPainter::Antialiasing);
            painter->drawEllipse(QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5));
        }
        painter->restore();
    }
};

} // namespace

QStyle *createApplicationStyle()
{
    return new ApplicationStyle;
}

Appearance::Appearance(ColorScheme systemColorScheme, QObject *parent)
    : QObject(parent)
    , m_systemColorScheme(systemColorScheme)
{
}

AppAppearanceStyle Appearance::style() const
{
    return appearanceStyleFromText(QSettings().value(settingsKey).toString())
        .value_or(AppAppearanceStyle::system);
}

void Appearance::setStyle(AppAppearanceStyle style)
{
    if (style == this->style())
        return;
    QSettings().setValue(settingsKey, appearanceStyleText(style));
    apply();
    Q_EMIT changed();
}

void Appearance::setSystemColorScheme(ColorScheme scheme)
{
    if (scheme == m_systemColorScheme)
        return;
    m_systemColorScheme = scheme;
    apply();
    Q_EMIT changed();
}

ColorScheme Appearance::shownColorScheme() const
{
    switch (style()) {
    case AppAppearanceStyle::system:
        return m_systemColorScheme;
    case AppAppearanceStyle::light:
        return ColorScheme::light;
    case AppAppearanceStyle::dark:
        return ColorScheme::dark;
    }
    Q_UNREACHABLE();
    return ColorScheme::light;
}

void Appearance::apply() const
{
    QApplication::setPalette(fusionPalette(shownColorScheme()));
}

} // namespace kelvary::ui
