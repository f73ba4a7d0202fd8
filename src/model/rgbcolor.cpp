#include "model/rgbcolor.h"

#include <algorithm>
#include <cmath>

namespace kelvary {

namespace {

int componentByte(double c)
{
    if (c >= 1.0)
        return 255;
    // std::round rounds halves away from zero: 0.70 * 255 = 178.5 gives 179.
    return static_cast<int>(std::round(std::max(c, 0.0) * 255.0));
}

} // namespace

std::optional<QString> hexString(const RGBColor &color)
{
    if (!std::isfinite(color.red) || !std::isfinite(color.green) || !std::isfinite(color.blue))
        return std::nullopt;
    return QString::asprintf("#%02X%02X%02X", componentByte(color.red), componentByte(color.green),
                             componentByte(color.blue));
}

RGBColor colorFromHex(const QString &text)
{
    QString digits = text.trimmed();
    digits.remove(QLatin1Char('#'));
    if (digits.size() != 6)
        return neutralGray();
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    // toUInt accepts a leading sign or "0x"; six characters that are all hex digits are required.
    const bool allHexDigits = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    });
    if (!ok || !allHexDigits)
        return neutralGray();
    return RGBColor{((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                    (value & 0xFF) / 255.0, 1.0};
}

RGBColor neutralGray()
{
    // Qt's own gray (#A0A0A4), the platform's standard one.
    return RGBColor{160 / 255.0, 160 / 255.0, 164 / 255.0, 1.0};
}

} // namespace kelvary
