#pragma once

#include "import/digicosessionparser.h"

#include <QByteArray>
#include <QString>

namespace kelvary {

// The plain text of a Session Report file, rich or plain, UTF-8 or Windows-1252: one report row
// per line, table cells separated by tabs. unreadableFile when no decoding applies to the bytes,
// richTextNestedTooDeep for rich text the reader does not follow.
Result<QString> reportText(const QByteArray &data);

} // namespace kelvary
