#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvary {

// The plain text of a Session Report file, rich or plain, UTF-8 or Windows-1252: one report row
// per line, table cells separated by tabs. Nothing when no decoding applies to the bytes.
std::optional<QString> reportText(const QByteArray &bytes);

} // namespace kelvary
