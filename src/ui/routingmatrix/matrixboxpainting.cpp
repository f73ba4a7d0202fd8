#include "routingmatrix/matrixboxpainting.h"

#include <QPainter>
#include <QRect>

#include <cmath>

namespace kelvary::ui {

namespace {

constexpr float borderOpacity = 0.22f;

// The relative luminance of an sRGB colour, 0 for black to 1 for white.
double relativeLuminance(const QColor &color)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
           0.0722 * linear(color.blueF());
}

} // namespace

QColor matrixBorderColor(const QColor &text, const QColor &fill)
{
    const auto mix = [](float over, float under) {
        return over * borderOpacity + under * (1 - borderOpacity);
    };
    return QColor::fromRgbF(mix(text.redF(), fill.redF()), mix(text.greenF(), fill.greenF()),
                            mix(text.blueF(), fill.blueF()), fill.alphaF());
}

void paintMatrixBox(QPainter &painter, const QRect &box, const QColor &fill, const QColor &text)
{
    // Edge by edge, so that a translucent fill never lies over the border colour.
    const QColor border = matrixBorderColor(text, fill);
    const QRect inside = box.adjusted(1, 1, -1, -1);
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), border);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), border);
    painter.fillRect(QRect(box.left(), inside.top(), 1, inside.height()), border);
    painter.fillRect(QRect(box.right(), inside.top(), 1, inside.height()), border);
    painter.fillRect(inside, fill);
}

QColor sharedInputTint(const QColor &fill)
{
    const QColor amber(0xF5, 0xA6, 0x23);
    constexpr float strength = 0.35f;
    const auto mix = [](float over, float under) {
        return over * strength + under * (1 - strength);
    };
    return QColor::fromRgbF(mix(amber.redF(), fill.redF()), mix(amber.greenF(), fill.greenF()),
                            mix(amber.blueF(), fill.blueF()), fill.alphaF());
}

QColor matrixTextColor(const QColor &fill)
{
    const QColor dark(0x1C, 0x1C, 0x1E);
    const double luminance = relativeLuminance(fill);
    const double againstWhite = 1.05 / (luminance + 0.05);
    const double againstDark = (luminance + 0.05) / (relativeLuminance(dark) + 0.05);
    return againstDark > againstWhite ? dark : QColor(Qt::white);
}

} // namespace kelvary::ui
