#include "shell/symbolicon.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

namespace {

// The freedesktop icon naming of each symbol the window uses.
QString themeName(const QString &symbol)
{
    static const QHash<QString, QString> names{
        {u"doc.text"_s, u"document-open"_s},
        {u"mic.slash"_s, u"microphone-sensitivity-muted"_s},
        {u"arrow.uturn.backward"_s, u"edit-undo"_s},
        {u"arrow.uturn.forward"_s, u"edit-redo"_s},
        {u"paintpalette"_s, u"format-fill-color"_s},
        {u"square.grid.3x3"_s, u"view-grid"_s},
        {u"list.bullet"_s, u"view-list"_s},
        {u"doc.richtext"_s, u"application-pdf"_s},
        {u"square.and.arrow.up"_s, u"document-export"_s},
        {u"sun.max"_s, u"weather-clear"_s},
        {u"moon"_s, u"weather-clear-night"_s},
    };
    return names.value(symbol);
}

// Draws a bundled line drawing whose strokes say "currentColor" in the colour the palette has
// for the icon's mode at the moment of painting, so a palette change needs no new icons.
class SymbolIconEngine final : public QIconEngine {
public:
    SymbolIconEngine(QString symbol, QIcon themeIcon)
        : m_symbol(std::move(symbol))
        , m_themeIcon(std::move(themeIcon))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        if (!m_themeIcon.isNull()) {
            m_themeIcon.paint(painter, rect, Qt::AlignCenter, mode, state);
            return;
        }
        const QPalette palette = QApplication::palette();
        const QColor color = palette.color(
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active, QPalette::WindowText);
        QSvgRenderer renderer(tintedDrawing(color));
        renderer.render(painter, rect);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        pixmap.setDevicePixelRatio(scale);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new SymbolIconEngine(m_symbol, m_themeIcon); }
    QString iconName() override { return m_symbol; }
    QString key() const override { return u"kelvary-symbol"_s; }

private:
    QByteArray tintedDrawing(const QColor &color) const
    {
        QFile file(u":/icons/%1.svg"_s.arg(m_symbol));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll().replace("currentColor", color.name().toLatin1());
    }

    QString m_symbol;
    QIcon m_themeIcon;
};

} // namespace

QIcon symbolIcon(const QString &symbol, bool preferTheme)
{
    QIcon themeIcon;
    const QString name = themeName(symbol);
    if (preferTheme && !name.isEmpty() && QIcon::hasThemeIcon(name))
        themeIcon = QIcon::fromTheme(name);
    return QIcon(new SymbolIconEngine(symbol, themeIcon));
}

} // namespace kelvary::ui
