#pragma once

#include <QColor>

class QPainter;
class QRect;

namespace kelvary::ui {

// Every box of the matrix (cell, column header, track name, device header) is a fill with a
// one-pixel border of the text colour at 22 % over it.
//
// NOTE: the border is mixed into the fill beforehand and the box drawn as opaque rectangles,
// never as a translucent outline. Qt 6 hands any fill of more than about a hundred scan-line
// spans (a 48-pixel outline is one) to its thread pool and waits for it; on a window full of
// boxes those hand-overs cost more time than the pixels.
QColor matrixBorderColor(const QColor &text, const QColor &fill);

void paintMatrixBox(QPainter &painter, const QRect &box, const QColor &fill, const QColor &text);

// The fill of a box whose input two or more tracks share: amber mixed into the usual fill, so it
// reads as a warning on a light and on a dark palette alike.
QColor sharedInputTint(const QColor &fill);

// The text colour for a name written on a track's colour: near-black or white, whichever
// stands out more from `fill` by the contrast ratio of the web's accessibility guidelines.
QColor matrixTextColor(const QColor &fill);

} // namespace kelvary::ui
