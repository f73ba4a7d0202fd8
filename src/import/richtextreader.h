#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvary {

// The text of a rich text (RTF) source as the report parser reads it: one table row or paragraph
// per line, table cells and tab marks as tabs, each line trimmed, empty lines left out. Never
// fails; what it cannot read is not text.
QString stripRichText(const QString &source);

// The plain text of a rich text document, one paragraph per line and a manual line break as
// U+2028, the way a document reader hands it over. Nothing for data that is not rich text.
std::optional<QString> readRichText(const QByteArray &data);

} // namespace kelvary
