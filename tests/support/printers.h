#pragma once

// Readable GoogleTest failure output for the Qt and Kelvary types the tests compare.

#include "model/rgbcolor.h"
#include "model/trackchannel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>
#include <ostream>

void PrintTo(const QString &text, std::ostream *os);
void PrintTo(const QByteArray &bytes, std::ostream *os);
void PrintTo(const QStringList &list, std::ostream *os);
void PrintTo(const QUuid &id, std::ostream *os);

namespace kelvary {
void PrintTo(const RGBColor &color, std::ostream *os);
void PrintTo(const TrackChannel &track, std::ostream *os);
} // namespace kelvary
