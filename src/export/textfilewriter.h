#pragma once

#include "model/result.h"

#include <QString>

namespace kelvary {

// Writes `text` as UTF-8 without a byte order mark. The file is replaced only once the new
// contents are complete on disk, so a failed write leaves an earlier file as it was. Errors carry
// the platform's own description and name the file.
Result<void> writeTextFile(const QString &filePath, const QString &text);

} // namespace kelvary
