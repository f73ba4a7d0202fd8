#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvary {

// Strict UTF-8: malformed input gives nothing. A byte order mark at the start is not text.
std::optional<QString> decodeUtf8(const QByteArray &bytes);

// UTF-16 as a byte order mark announces it, little- or big-endian, or without the mark as the
// zero bytes of its ASCII characters (every report is mostly labels, digits and tabs) give it
// away. Nothing for text in another encoding, or UTF-16 cut off in the middle of a character.
// A mark is kept, as U+FEFF.
std::optional<QString> decodeUtf16(const QByteArray &bytes);

// Strict Windows-1252: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) give nothing.
std::optional<QString> decodeWindows1252(const QByteArray &bytes);

// Bytes in a Windows code page as rich text names it (\ansicpgN), for the byte escapes of rich
// text. Never fails: undefined bytes become U+FFFD, and an unknown code page is read as 1252.
QString decodeCodePage(const QByteArray &bytes, int codePage);

} // namespace kelvary
