#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvary {

// Reports nest groups a handful deep. A document whose groups nest deeper is not read at all: its
// text would come out with gaps, and following it would take memory in proportion to its size.
constexpr qsizetype maximumRichTextGroupDepth = 256;

// The text of a rich text (RTF) source as the report parser reads it: one table row or paragraph
// per line, table cells and tab marks as tabs, each line trimmed, empty lines left out. What it
// cannot read is not text; nothing only for groups nested deeper than the reader follows.
std::optional<QString> stripRichText(const QString &source);

// The plain text of a rich text document, one paragraph per line and a manual line break as
// U+2028, the way a document reader hands it over. Nothing for data that is not rich text, or
// nests its groups deeper than the reader follows.
std::optional<QString> readRichText(const QByteArray &data);

} // namespace kelvary
