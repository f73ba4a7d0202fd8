#include "import/textdecoding.h"

#include <QStringDecoder>

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <memory>

namespace kelvary {

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> windows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Nothing for the five undefined bytes. NOTE: not 0 for them, which is what byte 0 decodes to.
std::optional<char16_t> windows1252Character(uchar byte)
{
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t c = windows1252High[byte - 0x80];
        return c ? std::optional<char16_t>(c) : std::nullopt;
    }
    return byte;
}

QString decodeWindows1252Lenient(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char byte : bytes) {
        *out++ = QChar(windows1252Character(static_cast<uchar>(byte)).value_or(char16_t(0xFFFD)));
    }
    return text;
}

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openCodePageConverter(int codePage)
{
    for (const char *prefix : {"windows-", "cp", "ibm-"}) {
        const QByteArray name = prefix + QByteArray::number(codePage);
        UErrorCode status = U_ZERO_ERROR;
        Converter converter(ucnv_open(name.constData(), &status));
        if (U_SUCCESS(status) && converter)
            return converter;
    }
    return nullptr;
}

} // namespace

std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    // Stateless, so that a sequence cut off at the end is an error rather than left pending.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decodeUtf16(const QByteArray &bytes)
{
    QStringConverter::Encoding encoding;
    if (bytes.startsWith("\xFF\xFE")) {
        encoding = QStringConverter::Utf16LE;
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = QStringConverter::Utf16BE;
    } else {
        // ASCII in UTF-16 has a zero byte in every other place: the second of each pair when
        // little-endian. A zero byte on the other side is rare (U+4E00, U+0100) but not an error.
        // A report begins with its header's ASCII, so text without a zero byte there is not UTF-16.
        if (bytes.size() % 2 != 0 ||
            !bytes.first(std::min<qsizetype>(bytes.size(), 256)).contains('\0'))
            return std::nullopt;
        qsizetype zerosAtEven = 0;
        qsizetype zerosAtOdd = 0;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
            zerosAtEven += bytes[i] == 0;
            zerosAtOdd += bytes[i + 1] == 0;
        }
        const qsizetype units = bytes.size() / 2;
        if (zerosAtOdd * 4 >= units && zerosAtOdd > 2 * zerosAtEven)
            encoding = QStringConverter::Utf16LE;
        else if (zerosAtEven * 4 >= units && zerosAtEven > 2 * zerosAtOdd)
            encoding = QStringConverter::Utf16BE;
        else
            return std::nullopt;
    }
    // Stateless, so that a cut-off character is an error. The mark is decoded as U+FEFF, which
    // the report text leaves out whichever encoding brought it.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decodeWindows1252(const QByteArray &bytes)
{
    for (char byte : bytes) {
        if (!windows1252Character(static_cast<uchar>(byte)))
            return std::nullopt;
    }
    return decodeWindows1252Lenient(bytes);
}

QString decodeCodePage(const QByteArray &bytes, int codePage)
{
    if (codePage == 1252 || bytes.isEmpty())
        return decodeWindows1252Lenient(bytes);
    if (codePage == 65001)
        return QString::fromUtf8(bytes);

    Converter converter = openCodePageConverter(codePage);
    if (!converter)
        return decodeWindows1252Lenient(bytes);

    // A double-byte code page never yields more UTF-16 units than it has bytes.
    QString text(bytes.size() + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(text.data()),
                                         static_cast<int32_t>(text.size()), bytes.constData(),
                                         static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return decodeWindows1252Lenient(bytes);
    text.truncate(length);
    return text;
}

} // namespace kelvary
