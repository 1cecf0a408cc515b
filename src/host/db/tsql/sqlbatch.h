#pragma once

#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace host {

// A T-SQL batch written as statements of fixed text with values in it. Its text is the batch
// with each value written as a literal: a number in plain decimals (sqlNumber), a whole number
// in digits, a text between quotes with its quotes doubled (sqlString). A server receives that
// text; the embedded database runs a statement whose fixed text it has translated before as
// that translation's prepared statement with the values bound, without reading the text again.
class SqlBatch
{
public:
    struct Value
    {
        enum class Kind
        {
            Number,
            Whole,
            Text
        };
        Kind kind = Kind::Number;
        double number = 0;
        long long whole = 0;
        std::string text;

        // As the value stands in the statement's text.
        std::string literal() const;
        // Written with a minus, which is a token of its own before the literal.
        bool negative() const
        {
            return (kind == Kind::Number && std::signbit(number) && number != 0) ||
                   (kind == Kind::Whole && whole < 0);
        }
    };

    // The fixed text marks where each value stands with kValueMark.
    struct Statement
    {
        std::string shape;
        std::vector<Value> values;

        std::string text() const;
        // Where each value's literal starts in text().
        std::string text(std::vector<size_t> &valueOffsets) const;
        // The text without the blanks and line ends after it, as a failure quotes it.
        std::string failureText() const;
    };

    static constexpr char kValueMark = '\x1F';

    // Fixed text written in the program, which the build finds free of kValueMark.
    class Fixed
    {
    public:
        template <std::size_t N> consteval Fixed(const char (&text)[N]) : m_text(text, N - 1)
        {
            if (m_text.find(kValueMark) != std::string_view::npos)
                throw "A statement's text holds a control character.";
        }
        std::string_view text() const { return m_text; }

    private:
        std::string_view m_text;
    };
    SqlBatch &operator<<(Fixed fixed)
    {
        current().shape += fixed.text();
        return *this;
    }
    // Fixed text made while the program runs; one that holds kValueMark is refused.
    template <typename Text>
    requires(!std::is_array_v<Text> &&
             std::is_convertible_v<const Text &, std::string_view>) SqlBatch &
    operator<<(const Text &fixed)
    {
        return appendMade(fixed);
    }
    SqlBatch &number(double value);
    SqlBatch &whole(long long value)
    {
        addValue(Value::Kind::Whole).whole = value;
        return *this;
    }
    SqlBatch &quoted(std::string_view value)
    {
        addValue(Value::Kind::Text).text = value;
        return *this;
    }
    // Ends the current statement: what follows starts another.
    void endStatement();
    // Appends a statement of another batch.
    void append(const Statement &statement);

    bool empty() const { return m_count == 0; }
    std::span<const Statement> statements() const { return {m_statements.data(), m_count}; }
    std::string text() const;
    // Empties the batch; the room its statements took is kept for the next ones.
    void clear();

private:
    Statement &current()
    {
        if (!m_open)
            open();
        return m_statements[m_count - 1];
    }
    void open();
    Value &addValue(Value::Kind kind)
    {
        Statement &s = current();
        s.shape += kValueMark;
        Value &value = s.values.emplace_back();
        value.kind = kind;
        return value;
    }
    SqlBatch &appendMade(std::string_view fixed);

    // The first m_count are the batch's; those after are room kept from before.
    std::vector<Statement> m_statements;
    size_t m_count = 0;
    bool m_open = false;
    size_t m_largestShape = 0;
    size_t m_mostValues = 0;
};

} // namespace host
