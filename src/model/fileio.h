#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QString>

namespace kelvary {

// The whole content of a file. A failure keeps the operating system's reason and names the file.
Result<QByteArray> readWholeFile(const QString &path);

} // namespace kelvary
