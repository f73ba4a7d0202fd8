#include "tracklist/tracktypebadge.h"

#include "tracklist/colorwell.h"

#include <QFontMetricsF>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace kelvary::ui {

QString typeShortName(DigicoChannelType type)
{
    switch (type) {
    case DigicoChannelType::input:
        return u"输入"_s;
    case DigicoChannelType::aux:
        return u"辅助"_s;
    case DigicoChannelType::group:
        return u"编组"_s;
    case DigicoChannelType::matrix:
        return u"矩阵"_s;
    case DigicoChannelType::other:
        return u"其他"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString typeDisplayName(DigicoChannelType type)
{
    switch (type) {
    case DigicoChannelType::input:
        return u"输入 (Input)"_s;
    case DigicoChannelType::aux:
        return u"辅助 (Aux)"_s;
    case DigicoChannelType::group:
        return u"编组 (Group)"_s;
    case DigicoChannelType::matrix:
        return u"矩阵 (Matrix)"_s;
    case DigicoChannelType::other:
        return u"其他"_s;
    }
    Q_UNREACHABLE();
    return {};
}

void paintTypeBadge(QPainter &painter, const QRect &cell, DigicoChannelType type,
                    const QFont &baseFont, const QColor &textColor)
{
    QFont font = baseFont;
    font.setPointSizeF(baseFont.pointSizeF() * 0.78);
    font.setWeight(QFont::DemiBold);
    const QFontMetricsF metrics(font);
    const QString text = channelTypeAbbreviation(type);
    const QSizeF size(metrics.horizontalAdvance(text) + 12, metrics.height() + 6);
    QRectF plate(QPointF(), size);
    plate.moveCenter(QRectF(cell).center());

    QColor fill = toQColor(defaultColor(type));
    fill.setAlphaF(0.35f);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(plate, 4, 4);
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(plate, Qt::AlignCenter, text);
    painter.restore();
}

} // namespace kelvary::ui
