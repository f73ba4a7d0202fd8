#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace kelvary {

// A regular expression with ICU's syntax and semantics (\d, \w and \s over all of Unicode),
// compiled once and matched against QString text without copying it.
class IcuRegex {
public:
    explicit IcuRegex(const QString &pattern);
    ~IcuRegex();
    IcuRegex(const IcuRegex &) = delete;
    IcuRegex &operator=(const IcuRegex &) = delete;

    // True when the pattern matches the whole text.
    bool matches(QStringView text) const;
    // The text of the first match, if any.
    std::optional<QString> firstMatch(QStringView text) const;

private:
    std::unique_ptr<icu::RegexPattern> m_pattern;
};

} // namespace kelvary
