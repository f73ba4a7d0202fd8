#include "support/printers.h"

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}

void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '[';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *os << ']';
}

void PrintTo(const QUuid &id, std::ostream *os)
{
    *os << id.toString().toStdString();
}

namespace kelvary {

void PrintTo(const RGBColor &color, std::ostream *os)
{
    *os << "RGBColor(" << color.red << ", " << color.green << ", " << color.blue << ", "
        << color.alpha << ')';
}

void PrintTo(const TrackChannel &track, std::ostream *os)
{
    *os << "TrackChannel{" << track.channelLabel.toStdString() << " \"" << track.name.toStdString()
        << "\" " << channelTypeText(track.channelType).toStdString() << " route=\""
        << track.inputRoute.toStdString() << "\" extra=\"" << track.extraInfo.toStdString()
        << "\"}";
}

} // namespace kelvary
