#pragma once

#include "host/core/hostobject.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace host {

enum class VariantType
{
    Empty,
    Null,
    Long,
    Double,
    String,
    Date,
    Boolean,
    Object
};

// The automation variant the module passes values in: database fields, dictionary entries,
// grid cells. Texts are UTF-8. Integers are held in 64 bits; CLng narrows with an overflow check.
class Variant
{
public:
    Variant() = default;
    Variant(int value) : m_value(static_cast<std::int64_t>(value)) {}
    Variant(long value) : m_value(static_cast<std::int64_t>(value)) {}
    Variant(long long value) : m_value(static_cast<std::int64_t>(value)) {}
    Variant(double value) : m_value(value) {}
    Variant(bool value) : m_value(value) {}
    Variant(const char *text) : m_value(std::string(text)) {}
    Variant(std::string text) : m_value(std::move(text)) {}
    Variant(std::string_view text) : m_value(std::string(text)) {}
    Variant(std::shared_ptr<HostObject> object) : m_value(std::move(object)) {}

    static Variant null();
    static Variant fromDate(double serial);

    VariantType type() const { return static_cast<VariantType>(m_value.index()); }
    bool isEmpty() const { return type() == VariantType::Empty; }
    bool isNull() const { return type() == VariantType::Null; }
    bool isNumeric() const;

    // Raw access; each requires the matching type().
    std::int64_t longValue() const { return std::get<std::int64_t>(m_value); }
    double doubleValue() const { return std::get<double>(m_value); }
    const std::string &stringValue() const { return std::get<std::string>(m_value); }
    double dateValue() const { return std::get<DateValue>(m_value).serial; }
    bool boolValue() const { return std::get<bool>(m_value); }
    const std::shared_ptr<HostObject> &objectValue() const;

    template <typename T> std::shared_ptr<T> as() const
    {
        if (type() != VariantType::Object)
            return nullptr;
        return std::dynamic_pointer_cast<T>(objectValue());
    }

    // Same type and value (texts compared exactly); for tests and containers.
    bool operator==(const Variant &other) const;

private:
    struct NullValue
    {
        bool operator==(const NullValue &) const = default;
    };
    struct DateValue
    {
        double serial;
        bool operator==(const DateValue &) const = default;
    };
    std::variant<std::monostate, NullValue, std::int64_t, double, std::string, DateValue, bool,
                 std::shared_ptr<HostObject>>
        m_value;
};

// The conversions the module relies on, with the host language's meaning.

// Leading number of a text: blanks are skipped anywhere, reading stops at the first character
// that cannot continue a number; "" and "abc" give 0. A number gives itself; Null is an error.
double Val(const Variant &value);
double Val(std::string_view text);
inline double Val(const std::string &text)
{
    return Val(std::string_view(text));
}
inline double Val(const char *text)
{
    return Val(std::string_view(text));
}

// Whole numbers round half to even; out of range is Overflow, a non-numeric text TypeMismatch,
// Null InvalidUseOfNull. Empty converts to 0, "" and False.
std::int32_t CLng(const Variant &value);
std::int16_t CInt(const Variant &value);
double CDbl(const Variant &value);
bool CBool(const Variant &value);
std::string CStr(const Variant &value);
double CDate(const Variant &value);

// Trims blanks (spaces only); Null stays Null.
Variant Trim(const Variant &value);
std::string Trim(std::string_view text);
inline std::string Trim(const std::string &text)
{
    return Trim(std::string_view(text));
}
inline std::string Trim(const char *text)
{
    return Trim(std::string_view(text));
}

bool IsNull(const Variant &value);
bool IsEmpty(const Variant &value);
bool IsNumeric(const Variant &value);
bool IsDate(const Variant &value);

// A number written the host language's way: up to 15 significant digits, no trailing zeros.
std::string numberToText(double value);

// A whole text read as a number (blanks around it allowed), or nothing.
std::optional<double> parseNumber(std::string_view text);

} // namespace host
