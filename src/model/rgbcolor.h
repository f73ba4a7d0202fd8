#pragma once

#include <QString>

#include <optional>

namespace kelvary {

// A colour as sRGB red, green, blue and opacity in 0..1. Kept as exact doubles, because the hex
// text of a colour depends on how each component rounds.
struct RGBColor {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 1.0;

    bool operator==(const RGBColor &) const = default;
};

// "#RRGGBB" with uppercase digits; nothing when a component is not a finite number.
std::optional<QString> hexString(const RGBColor &color);

// Reads "#RRGGBB" (case-insensitive, surrounding white space and any "#" ignored); any other text
// gives neutralGray().
RGBColor colorFromHex(const QString &text);

// The gray that stands in for colour text that cannot be read.
RGBColor neutralGray();

} // namespace kelvary
