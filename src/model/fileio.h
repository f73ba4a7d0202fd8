#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QString>

namespace kelvary {

// The whole content of a file. A failure keeps the operating system's reason and names the file.
Result<QByteArray> readWholeFile(const QString &path);

// Replaces the file at `path` with `bytes` only once they are completely on disk, so a failed
// write leaves an earlier file as it was. A failure names the file and keeps the system's reason.
Result<void> writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace kelvary
