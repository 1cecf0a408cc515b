#include "host/db/recordset/recordfilter.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/core/text.h"
#include "host/db/tsql/tsqlfunctions.h"
#include "host/db/tsql/tsqllexer.h"

#include <cctype>

namespace host {

namespace {

constexpr long kBadCriteria = 3001; // arguments of the wrong type, out of range or in conflict

[[noreturn]] void badCriteria(std::string_view criteria)
{
    throw HostError("Arguments are of the wrong type, are out of acceptable range, or are in "
                    "conflict with one another. Filter: " +
                        std::string(criteria),
                    kBadCriteria);
}

int rank(const Variant &v)
{
    switch (v.type()) {
    case VariantType::Empty:
    case VariantType::Null:
        return 0;
    case VariantType::Long:
    case VariantType::Double:
    case VariantType::Boolean:
        return 1;
    case VariantType::Date:
        return 2;
    default:
        return 3;
    }
}

bool isWildcard(char c)
{
    return c == '*' || c == '%';
}

// ADO's LIKE: "*" and "%" stand for any run of characters, every other character for itself,
// case ignored. Read in one pass that, on a mismatch, lets the last wildcard take one more
// character: time grows with text times pattern, however many wildcards the user typed.
bool likeMatch(std::string_view text, std::string_view pattern)
{
    size_t t = 0;
    size_t p = 0;
    size_t afterWildcard = std::string_view::npos;
    size_t wildcardTaken = 0;
    while (t < text.size()) {
        if (p < pattern.size() && isWildcard(pattern[p])) {
            afterWildcard = ++p;
            wildcardTaken = t;
        } else if (p < pattern.size() && lowerAscii(text[t]) == lowerAscii(pattern[p])) {
            ++t;
            ++p;
        } else if (afterWildcard != std::string_view::npos) {
            p = afterWildcard;
            t = ++wildcardTaken;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && isWildcard(pattern[p]))
        ++p;
    return p == pattern.size();
}

// The criterion value made comparable with a field value of another type.
Variant coerce(const Variant &criterion, const Variant &field)
{
    if (criterion.type() != VariantType::String)
        return criterion;
    if (field.type() == VariantType::Date) {
        if (const auto serial = parseDate(criterion.stringValue()))
            return Variant::fromDate(*serial);
    } else if (field.isNumeric()) {
        if (const auto n = parseNumber(criterion.stringValue()))
            return Variant(*n);
    }
    return criterion;
}

} // namespace

int compareValues(const Variant &a, const Variant &b)
{
    const int ra = rank(a);
    const int rb = rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (ra) {
    case 0:
        return 0;
    case 1: {
        const double x = CDbl(a);
        const double y = CDbl(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 2:
        return a.dateValue() < b.dateValue() ? -1 : (a.dateValue() > b.dateValue() ? 1 : 0);
    default: {
        const std::string x = CStr(a);
        const std::string y = CStr(b);
        return tsql::compareText(x.data(), static_cast<int>(x.size()), y.data(),
                                 static_cast<int>(y.size()));
    }
    }
}

struct RecordFilter::Node
{
    using FieldValue = RecordFilter::FieldValue;
    enum class Kind
    {
        And,
        Or,
        Compare
    };
    Kind kind = Kind::Compare;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
    size_t column = 0;
    std::string op;
    Variant value;

    bool test(const FieldValue &fieldValue) const
    {
        switch (kind) {
        case Kind::And:
            return left->test(fieldValue) && right->test(fieldValue);
        case Kind::Or:
            return left->test(fieldValue) || right->test(fieldValue);
        case Kind::Compare:
            break;
        }
        const Variant field = fieldValue(column);
        if (value.isNull()) {
            const bool isNull = field.isNull() || field.isEmpty();
            return op == "=" ? isNull : !isNull;
        }
        if (field.isNull() || field.isEmpty())
            return false;
        if (op == "LIKE")
            return likeMatch(CStr(field), CStr(value));
        const int c = compareValues(field, coerce(value, field));
        if (op == "=")
            return c == 0;
        if (op == "<>")
            return c != 0;
        if (op == "<")
            return c < 0;
        if (op == ">")
            return c > 0;
        if (op == "<=")
            return c <= 0;
        return c >= 0;
    }
};

namespace {

class CriteriaParser
{
public:
    CriteriaParser(std::string_view criteria, const std::vector<std::string> &names)
        : m_criteria(criteria), m_names(names)
    {
        // Dates between # signs become quoted texts before tokenizing.
        std::string text;
        bool inDate = false;
        bool inText = false;
        for (const char c : criteria) {
            if (c == '\'' && !inDate)
                inText = !inText;
            if (c == '#' && !inText) {
                inDate = !inDate;
                text += '\'';
                continue;
            }
            text += c;
        }
        try {
            m_tokens = tsql::tokenize(text);
        } catch (const HostError &) {
            badCriteria(m_criteria);
        }
    }

    std::unique_ptr<RecordFilter::Node> parse()
    {
        auto node = parseOr();
        if (peek().kind != tsql::TokenKind::End)
            badCriteria(m_criteria);
        return node;
    }

private:
    using Node = RecordFilter::Node;

    const tsql::Token &peek() const { return m_tokens[m_pos]; }
    const tsql::Token &advance()
    {
        const tsql::Token &t = m_tokens[m_pos];
        if (t.kind != tsql::TokenKind::End)
            ++m_pos;
        return t;
    }

    std::unique_ptr<Node> combine(Node::Kind kind, std::unique_ptr<Node> left,
                                  std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    std::unique_ptr<Node> parseOr()
    {
        auto left = parseAnd();
        while (peek().is("OR")) {
            advance();
            left = combine(Node::Kind::Or, std::move(left), parseAnd());
        }
        return left;
    }

    std::unique_ptr<Node> parseAnd()
    {
        auto left = parseTerm();
        while (peek().is("AND")) {
            advance();
            left = combine(Node::Kind::And, std::move(left), parseTerm());
        }
        return left;
    }

    std::unique_ptr<Node> parseTerm()
    {
        if (peek().isSymbol("(")) {
            constexpr int kMaxDepth = 100;
            if (++m_depth > kMaxDepth)
                badCriteria(m_criteria);
            advance();
            auto inner = parseOr();
            --m_depth;
            if (!advance().isSymbol(")"))
                badCriteria(m_criteria);
            return inner;
        }
        const tsql::Token &name = advance();
        if (!name.isName())
            badCriteria(m_criteria);
        auto node = std::make_unique<Node>();
        node->column = columnOf(name.text);
        const tsql::Token &op = advance();
        if (op.is("LIKE"))
            node->op = "LIKE";
        else if (op.kind == tsql::TokenKind::Symbol &&
                 (op.text == "=" || op.text == "<>" || op.text == "<" || op.text == ">" ||
                  op.text == "<=" || op.text == ">="))
            node->op = op.text;
        else
            badCriteria(m_criteria);
        bool negative = false;
        if (peek().isSymbol("-")) {
            advance();
            negative = true;
        }
        const tsql::Token &value = advance();
        if (value.kind == tsql::TokenKind::String && !negative) {
            node->value = Variant(value.text);
        } else if (value.kind == tsql::TokenKind::Number) {
            const auto n = parseNumber(value.text);
            if (!n)
                badCriteria(m_criteria);
            node->value = Variant(negative ? -*n : *n);
        } else if (value.is("NULL") && !negative && (node->op == "=" || node->op == "<>")) {
            node->value = Variant::null();
        } else {
            badCriteria(m_criteria);
        }
        return node;
    }

    size_t columnOf(const std::string &name) const
    {
        const std::string wanted = toUpper(name);
        for (size_t i = 0; i < m_names.size(); ++i) {
            if (toUpper(m_names[i]) == wanted)
                return i;
        }
        throw HostError("Item cannot be found in the collection corresponding to the requested "
                        "name or ordinal. Filter field: " +
                            name,
                        3265);
    }

    std::string_view m_criteria;
    const std::vector<std::string> &m_names;
    std::vector<tsql::Token> m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace

RecordFilter::RecordFilter(std::string_view criteria, const std::vector<std::string> &fieldNames)
    : m_root(CriteriaParser(criteria, fieldNames).parse())
{}

RecordFilter::~RecordFilter() = default;

bool RecordFilter::matches(const FieldValue &field) const
{
    return m_root->test(field);
}

} // namespace host
