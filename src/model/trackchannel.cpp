#include "model/trackchannel.h"

#include <QChar>

namespace kelvary {

QString channelTypeText(DigicoChannelType type)
{
    switch (type) {
    case DigicoChannelType::input:
        return QStringLiteral("Input");
    case DigicoChannelType::aux:
        return QStringLiteral("Aux");
    case DigicoChannelType::group:
        return QStringLiteral("Group");
    case DigicoChannelType::matrix:
        return QStringLiteral("Matrix");
    case DigicoChannelType::other:
        return QStringLiteral("Other");
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<DigicoChannelType> channelTypeFromText(const QString &text)
{
    for (DigicoChannelType type : allChannelTypes) {
        if (channelTypeText(type) == text)
            return type;
    }
    return std::nullopt;
}

QString channelTypeAbbreviation(DigicoChannelType type)
{
    switch (type) {
    case DigicoChannelType::input:
        return QStringLiteral("In");
    case DigicoChannelType::aux:
        return QStringLiteral("Aux");
    case DigicoChannelType::group:
        return QStringLiteral("Grp");
    case DigicoChannelType::matrix:
        return QStringLiteral("Mtx");
    case DigicoChannelType::other:
        return QStringLiteral("\u2014");
    }
    Q_UNREACHABLE();
    return {};
}

RGBColor defaultColor(DigicoChannelType type)
{
    switch (type) {
    case DigicoChannelType::input:
        return {0.55, 0.75, 0.95, 1.0};
    case DigicoChannelType::aux:
        return {0.70, 0.55, 0.90, 1.0};
    case DigicoChannelType::group:
        return {0.95, 0.45, 0.45, 1.0};
    case DigicoChannelType::matrix:
        return {0.55, 0.90, 0.60, 1.0};
    case DigicoChannelType::other:
        return {0.75, 0.75, 0.75, 1.0};
    }
    Q_UNREACHABLE();
    return {};
}

QString stereoSideText(StereoChannelSide side)
{
    return side == StereoChannelSide::left ? QStringLiteral("L") : QStringLiteral("R");
}

std::optional<StereoChannelSide> stereoSideFromText(const QString &text)
{
    if (text == u"L")
        return StereoChannelSide::left;
    if (text == u"R")
        return StereoChannelSide::right;
    return std::nullopt;
}

qint64 channelNumberFromLabel(const QString &label)
{
    QString digits;
    for (char32_t c : label.toUcs4()) {
        if (!QChar::isNumber(c))
            continue;
        // Only 0-9 read as a decimal integer; any other numeric character spoils the number.
        if (c < U'0' || c > U'9')
            return 0;
        digits.append(QChar(c));
    }
    if (digits.isEmpty())
        return 0;
    bool ok = false;
    const qint64 number = digits.toLongLong(&ok);
    return ok ? number : 0;
}

QString sideSuffixed(const QString &text, StereoChannelSide side, bool bareLetterWhenEmpty)
{
    const QString letter = stereoSideText(side);
    if (text.isEmpty())
        return bareLetterWhenEmpty ? letter : QString();
    QString base = text;
    if (base.endsWith(u" L") || base.endsWith(u" R"))
        base.chop(2);
    return base.isEmpty() ? letter : base + u' ' + letter;
}

TrackChannel TrackChannel::stereoSideChannel(const QString &baseLabel, StereoChannelSide side) const
{
    TrackChannel sideChannel = *this;
    sideChannel.id = QUuid::createUuid();
    sideChannel.channelLabel = baseLabel + u' ' + stereoSideText(side);
    sideChannel.channelNumber = channelNumberFromLabel(baseLabel);
    sideChannel.name = sideSuffixed(name, side, true);
    sideChannel.inputRoute = sideSuffixed(inputRoute, side, false);
    sideChannel.stereoSourceLabel = channelLabel;
    sideChannel.stereoSide = side;
    return sideChannel;
}

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

} // namespace kelvary
