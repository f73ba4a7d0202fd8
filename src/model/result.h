#pragma once

#include <QString>

#include <concepts>
#include <optional>
#include <typeindex>
#include <utility>
#include <variant>

namespace kelvary {

// Every component's error enumeration provides `QString errorMessage(E)` next to it, so that an
// Error made from one carries the fixed user-facing text.
template<typename E>
concept ComponentError = std::is_enum_v<E> && requires(E e)
{
    {
        errorMessage(e)
        } -> std::convertible_to<QString>;
};

// Why an operation failed: the text the user sees, and which component error it was (none for
// errors of the platform, such as a file that cannot be read, which keep their own description).
class Error {
public:
    Error() = default;
    explicit Error(QString message)
        : m_message(std::move(message))
    {
    }

    template<ComponentError E>
    Error(E code)
        : m_message(errorMessage(code))
        , m_domain(typeid(E))
        , m_code(static_cast<int>(code))
    {
    }

    // A component error whose case carries a message of its own.
    template<ComponentError E>
    Error(E code, QString message)
        : m_message(std::move(message))
        , m_domain(typeid(E))
        , m_code(static_cast<int>(code))
    {
    }

    const QString &message() const { return m_message; }

    template<ComponentError E> bool is(E code) const
    {
        return m_domain == std::type_index(typeid(E)) && m_code == static_cast<int>(code);
    }

    template<ComponentError E> std::optional<E> code() const
    {
        if (m_domain != std::type_index(typeid(E)))
            return std::nullopt;
        return static_cast<E>(m_code);
    }

private:
    QString m_message;
    std::type_index m_domain = typeid(void);
    int m_code = 0;
};

// The value of an operation that can fail, or its Error.
template<typename T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_data(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Error error)
        : m_data(std::in_place_index<1>, std::move(error))
    {
    }
    template<ComponentError E>
    Result(E code)
        : m_data(std::in_place_index<1>, Error(code))
    {
    }

    bool ok() const { return m_data.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<0>(m_data); }
    T &value() & { return std::get<0>(m_data); }
    T &&value() && { return std::get<0>(std::move(m_data)); }
    const T &operator*() const & { return value(); }
    const T *operator->() const { return &value(); }

    const Error &error() const { return std::get<1>(m_data); }

private:
    std::variant<T, Error> m_data;
};

// Success, or the Error of an operation that returns nothing.
template<> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error)
        : m_error(std::move(error))
    {
    }
    template<ComponentError E>
    Result(E code)
        : m_error(Error(code))
    {
    }

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error &error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

} // namespace kelvary
