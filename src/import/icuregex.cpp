#include "import/icuregex.h"

#include <unicode/regex.h>

namespace kelvary {

namespace {

// A read-only ICU string over the QString's own UTF-16 storage.
icu::UnicodeString aliasing(QStringView text) {
    return icu::UnicodeString(false, reinterpret_cast<const UChar *>(text.utf16()),
                              static_cast<int32_t>(text.size()));
}

} // namespace

IcuRegex::IcuRegex(const QString &pattern) {
    UParseError parseError;
    UErrorCode status = U_ZERO_ERROR;
    m_pattern.reset(icu::RegexPattern::compile(aliasing(pattern), 0, parseError, status));
    // NOTE: the patterns are constants of the program; a bad one is a programming error.
    Q_ASSERT_X(U_SUCCESS(status), "IcuRegex", "pattern does not compile");
    if (U_FAILURE(status))
        m_pattern.reset();
}

IcuRegex::~IcuRegex() = default;

bool IcuRegex::matches(QStringView text) const {
    if (!m_pattern)
        return false;
    const icu::UnicodeString input = aliasing(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(m_pattern->matcher(input, status));
    return U_SUCCESS(status) && matcher->matches(status) && U_SUCCESS(status);
}

std::optional<QString> IcuRegex::firstMatch(QStringView text) const {
    if (!m_pattern)
        return std::nullopt;
    const icu::UnicodeString input = aliasing(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(m_pattern->matcher(input, status));
    if (U_FAILURE(status) || !matcher->find(status) || U_FAILURE(status))
        return std::nullopt;
    const int32_t start = matcher->start(status);
    const int32_t end = matcher->end(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return text.sliced(start, end - start).toString();
}

} // namespace kelvary
