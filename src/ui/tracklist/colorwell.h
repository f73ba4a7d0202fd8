#pragma once

#include "model/rgbcolor.h"

#include <QColor>

#include <functional>
#include <optional>

class QPainter;
class QRectF;
class QWidget;

namespace kelvary::ui {

// Asks the user for a colour, starting from `initial`; nothing when the user cancels. The table
// and the type bar take one so that tests can answer in place of the modal dialog.
using ColorPicker = std::function<std::optional<QColor>(const QColor &initial, QWidget *parent)>;

// The platform colour dialog, without an opacity control: track colours are always opaque.
ColorPicker colorDialogPicker();

QColor toQColor(const RGBColor &color);
// The picked colour as sRGB components, opaque whatever the picker returned.
RGBColor toRGBColor(const QColor &color);

// A colour well: a small bezel with the colour as an inset swatch.
void paintColorWell(QPainter &painter, const QRectF &rect, const QColor &color,
                    const QColor &frameColor, bool pressed);

} // namespace kelvary::ui
