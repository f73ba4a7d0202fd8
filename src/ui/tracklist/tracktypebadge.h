#pragma once

#include "model/trackchannel.h"

#include <QString>

class QPainter;
class QRect;
class QFont;
class QColor;

namespace kelvary::ui {

// "输入 (Input)" and so on: how a type is named to the user.
// The type's name in the interface's language alone: "输入", "辅助", "编组", "矩阵", "其他".
QString typeShortName(DigicoChannelType type);
QString typeDisplayName(DigicoChannelType type);

// The badge of a channel type, centred in `cell`: the short text on a rounded plate of the type's
// default colour.
void paintTypeBadge(QPainter &painter, const QRect &cell, DigicoChannelType type,
                    const QFont &baseFont, const QColor &textColor);

} // namespace kelvary::ui
