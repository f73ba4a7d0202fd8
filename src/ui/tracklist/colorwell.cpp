#include "tracklist/colorwell.h"

#include <QColorDialog>
#include <QPainter>
#include <QPainterPath>

namespace kelvary::ui {

ColorPicker colorDialogPicker()
{
    return [](const QColor &initial, QWidget *parent) -> std::optional<QColor> {
        const QColor picked = QColorDialog::getColor(initial, parent, QStringLiteral("颜色"));
        if (!picked.isValid())
            return std::nullopt;
        return picked;
    };
}

QColor toQColor(const RGBColor &color)
{
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue),
                            float(color.alpha));
}

RGBColor toRGBColor(const QColor &color)
{
    // The dialog may answer in another colour model; the session stores sRGB. Its 8 bits per
    // component give exact fractions of 255, which the hex text of the colour writes back as
    // picked.
    const QColor rgb = color.toRgb();
    return {rgb.red() / 255.0, rgb.green() / 255.0, rgb.blue() / 255.0, 1.0};
}

void paintColorWell(QPainter &painter, const QRectF &rect, const QColor &color,
                    const QColor &frameColor, bool pressed)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bezel = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QColor bezelFill = frameColor;
    bezelFill.setAlphaF(pressed ? 0.22f : 0.08f);
    painter.setPen(QPen(frameColor, 1.0));
    painter.setBrush(bezelFill);
    painter.drawRoundedRect(bezel, 5, 5);

    const QRectF swatch = rect.adjusted(3.5, 3.5, -3.5, -3.5);
    QColor swatchEdge = frameColor;
    swatchEdge.setAlphaF(0.35f);
    painter.setPen(QPen(swatchEdge, 1.0));
    painter.setBrush(color);
    painter.drawRoundedRect(swatch, 3, 3);
    painter.restore();
}

} // namespace kelvary::ui
