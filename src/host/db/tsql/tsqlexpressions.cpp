#include "host/db/tsql/tsqlparser.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/text.h"

#include <array>
#include <optional>

namespace host::tsql {

namespace {

ColumnType resolveColumn(const Scope *scope, std::string_view qualifier, std::string_view name)
{
    for (const Scope *s = scope; s; s = s->outer) {
        for (const auto &t : s->tables) {
            if (!qualifier.empty() && !equalsNoCase(t.alias, qualifier) &&
                !equalsNoCase(t.table, qualifier))
                continue;
            for (const auto &c : t.columns) {
                if (equalsNoCase(c.name, name))
                    return c.type;
            }
        }
    }
    return {};
}

// A text constant compared with a number is read as a number of that type.
void numberForText(const Expr &number, Expr &text)
{
    if (!isNumericType(number.type.type) || text.type.type != SqlType::Text || !text.constant)
        return;
    const ColumnType target =
        number.type.type == SqlType::Decimal ? typeOf(SqlType::Real) : number.type;
    text.sql = convertAs(text, target);
    text.type = target;
}

void alignForComparison(Expr &left, Expr &right)
{
    const bool leftDate = left.type.type == SqlType::DateTime;
    const bool rightDate = right.type.type == SqlType::DateTime;
    if (leftDate && !rightDate)
        right.sql = "tsql_datetime(" + right.sql + ")";
    else if (rightDate && !leftDate)
        left.sql = "tsql_datetime(" + left.sql + ")";
    numberForText(left, right);
    numberForText(right, left);
}

bool comparesAsText(const Expr &left, const Expr &right)
{
    const auto textish = [](SqlType t) { return t == SqlType::Text || t == SqlType::Unknown; };
    return (left.type.type == SqlType::Text || right.type.type == SqlType::Text) &&
           textish(left.type.type) && textish(right.type.type);
}

} // namespace

Expr Translator::Impl::parseExpression(const Scope *scope)
{
    const Nesting nesting(m_depth);
    return parseOr(scope);
}

Expr Translator::Impl::parseNot(const Scope *scope)
{
    std::string prefix;
    while (acceptWord("NOT"))
        prefix += "NOT ";
    Expr e = parseComparison(scope);
    if (prefix.empty())
        return e;
    return {prefix + e.sql, typeOf(SqlType::Int), {}};
}

// A binary collation (a name ending in _BIN or _BIN2) compares the bytes of texts padded with
// blanks to one length, which SQLite's RTRIM collation does; no other collation is known here.
std::string Translator::Impl::binaryCollation()
{
    const std::string name = nameToken();
    const auto endsWith = [&name](std::string_view suffix) {
        return name.size() > suffix.size() &&
               equalsNoCase(std::string_view(name).substr(name.size() - suffix.size()), suffix);
    };
    if (!endsWith("_BIN") && !endsWith("_BIN2"))
        throw HostError("The embedded database compares texts only in their own collation or "
                        "in a binary one, not in '" +
                        name + "'.");
    return " COLLATE RTRIM";
}

Expr Translator::Impl::parseComparison(const Scope *scope)
{
    Expr left = parseAdditive(scope);
    const Token &t = peek();
    if (t.kind == TokenKind::Symbol) {
        static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> ops = {
            {{"=", "="},
             {"<>", "<>"},
             {"!=", "<>"},
             {"<", "<"},
             {">", ">"},
             {"<=", "<="},
             {">=", ">="},
             {"!<", ">="},
             {"!>", "<="}}};
        for (const auto &[written, sqlite] : ops) {
            if (t.text != written)
                continue;
            advance();
            Expr right = parseAdditive(scope);
            if (auto range = dayRange(left, sqlite, right)) {
                relax(right, LiteralShape::Use::Compared);
                return {std::move(*range), typeOf(SqlType::Int), {}};
            }
            if (auto match = storedDateMatch(left, sqlite, right)) {
                relax(left, LiteralShape::Use::Compared);
                relax(right, LiteralShape::Use::Compared);
                return {std::move(*match), typeOf(SqlType::Int), {}};
            }
            alignForComparison(left, right);
            relax(left, LiteralShape::Use::Compared);
            relax(right, LiteralShape::Use::Compared);
            const std::string collate = acceptWord("COLLATE")         ? binaryCollation()
                                        : comparesAsText(left, right) ? " COLLATE TSQL"
                                                                      : "";
            return {left.sql + " " + std::string(sqlite) + " " + right.sql + collate,
                    typeOf(SqlType::Int),
                    {}};
        }
        return left;
    }
    if (t.is("IS")) {
        advance();
        const bool negated = acceptWord("NOT");
        expectWord("NULL");
        return {left.sql + (negated ? " IS NOT NULL" : " IS NULL"), typeOf(SqlType::Int), {}};
    }
    const bool negated =
        peek().is("NOT") && (peek(1).is("IN") || peek(1).is("LIKE") || peek(1).is("BETWEEN"));
    if (negated)
        advance();
    const std::string notText = negated ? " NOT" : "";
    if (acceptWord("IN")) {
        expect("(");
        std::string list;
        if (peek().is("SELECT")) {
            list = parseSelect(scope, nullptr).sql;
        } else {
            for (;;) {
                Expr item = parseExpression(scope);
                alignForComparison(left, item);
                relax(item, LiteralShape::Use::Compared);
                list += (list.empty() ? "" : ",") + item.sql;
                if (!accept(","))
                    break;
            }
        }
        expect(")");
        relax(left, LiteralShape::Use::Compared);
        const std::string target =
            left.type.type == SqlType::Text ? left.sql + " COLLATE TSQL" : left.sql;
        return {target + notText + " IN (" + list + ")", typeOf(SqlType::Int), {}};
    }
    if (acceptWord("LIKE")) {
        const Expr pattern = parseAdditive(scope);
        std::string sql = left.sql + notText + " LIKE " + pattern.sql;
        if (acceptWord("ESCAPE"))
            sql += " ESCAPE " + parseAdditive(scope).sql;
        return {sql, typeOf(SqlType::Int), {}};
    }
    if (acceptWord("BETWEEN")) {
        Expr low = parseAdditive(scope);
        expectWord("AND");
        Expr high = parseAdditive(scope);
        alignForComparison(left, low);
        alignForComparison(left, high);
        for (const Expr *compared : {&left, &low, &high})
            relax(*compared, LiteralShape::Use::Compared);
        const std::string collate = comparesAsText(left, low) ? " COLLATE TSQL" : "";
        return {left.sql + collate + notText + " BETWEEN " + low.sql + " AND " + high.sql,
                typeOf(SqlType::Int),
                {}};
    }
    if (negated)
        syntaxError();
    return left;
}

Expr Translator::Impl::parseUnary(const Scope *scope)
{
    std::vector<std::string> ops;
    for (;;) {
        if (accept("-"))
            ops.emplace_back("-");
        else if (accept("~"))
            ops.emplace_back("~");
        else if (!accept("+"))
            break;
    }
    if (ops.size() > kMaxNesting)
        Nesting::tooDeep();
    Expr e = parsePrimary(scope);
    if (ops.empty())
        return e;
    const int negatedLiteral = ops.size() == 1 && ops.front() == "-" ? e.literal : -1;
    if (negatedLiteral >= 0 && negatesExactly(e.type)) {
        // Taken from zero, which gives a zero without a sign as the rounding to the scale does;
        // no scale in the SQL, so that a kept translation serves the literal's every scale.
        m_literals[static_cast<size_t>(negatedLiteral)].shape.negated = true;
        return {"(0.0-" + e.sql + ")", e.type, {}, false, negatedLiteral};
    }
    for (auto op = ops.rbegin(); op != ops.rend(); ++op) {
        if (*op == "~")
            e = {"(~" + e.sql + ")", typeOf(SqlType::Int), {}};
        else
            e = numericResult("(-" + e.sql + ")", e.type);
    }
    if (negatedLiteral >= 0)
        m_literals[static_cast<size_t>(negatedLiteral)].shape.negated = true;
    e.literal = negatedLiteral;
    return e;
}

Expr Translator::Impl::variable(const Token &t)
{
    const std::string key = toUpper(t.text);
    if (key == "@@ROWCOUNT")
        return {
            "?" + std::to_string(newParam(Variant(m_session.rowCount))), typeOf(SqlType::Int), {}};
    if (key == "@@TRANCOUNT")
        return {
            "?" + std::to_string(newParam(Variant(m_session.tranCount))), typeOf(SqlType::Int), {}};
    if (key == "@@ERROR")
        return {"0", typeOf(SqlType::Int), {}};
    if (key == "@@IDENTITY")
        return {"last_insert_rowid()", typeOf(SqlType::Int), {}};
    const auto it = m_session.variables.find(key);
    if (it == m_session.variables.end())
        throw HostError("Must declare the scalar variable \"" + t.text + "\".");
    return {"?" + std::to_string(newParam(it->second.value)), it->second.type, {}};
}

Expr Translator::Impl::parsePrimary(const Scope *scope)
{
    const Token &t = peek();
    switch (t.kind) {
    case TokenKind::Number:
    case TokenKind::String:
        advance();
        return literal(m_pos - 1);
    case TokenKind::Variable: {
        advance();
        Expr e = variable(t);
        e.constant = true;
        return e;
    }
    case TokenKind::Symbol:
        if (t.isSymbol("(")) {
            advance();
            if (peek().is("SELECT")) {
                const SelectInfo sub = parseSelect(scope, nullptr);
                expect(")");
                ColumnType type = sub.columns.empty() ? ColumnType{} : sub.columns[0].type;
                return {"(" + sub.sql + ")", type, {}};
            }
            Expr inner = parseExpression(scope);
            expect(")");
            return {"(" + inner.sql + ")", inner.type, inner.name};
        }
        syntaxError();
    case TokenKind::Word:
    case TokenKind::QuotedId:
        break;
    case TokenKind::End:
        syntaxError();
    }
    if (t.kind == TokenKind::Word) {
        if (t.is("NULL")) {
            advance();
            return {"NULL", {}, {}};
        }
        if (t.is("CASE"))
            return parseCase(scope);
        if (t.is("EXISTS")) {
            advance();
            expect("(");
            const SelectInfo sub = parseSelect(scope, nullptr);
            expect(")");
            return {"EXISTS (" + sub.sql + ")", typeOf(SqlType::Int), {}};
        }
        if (t.is("CURRENT_TIMESTAMP")) {
            advance();
            return {"tsql_getdate()", typeOf(SqlType::DateTime), {}};
        }
        if (peek(1).isSymbol("(") && (t.is("LEFT") || t.is("RIGHT") || !isReserved(t)))
            return parseFunction(scope);
        if (isReserved(t))
            syntaxError();
    }
    // Column reference: [qualifier.]name, database and schema parts dropped.
    std::vector<std::string> parts{nameToken()};
    while (peek().isSymbol(".") && peek(1).isName()) {
        advance();
        parts.push_back(nameToken());
    }
    const std::string &column = parts.back();
    const std::string qualifier = parts.size() >= 2 ? parts[parts.size() - 2] : "";
    Expr e;
    e.name = column;
    e.type = resolveColumn(scope, qualifier, column);
    e.sql = qualifier.empty() ? sqlName(column) : sqlName(qualifier) + "." + sqlName(column);
    return e;
}

Expr Translator::Impl::parseCase(const Scope *scope)
{
    advance(); // CASE
    std::string sql = "CASE";
    std::optional<Expr> input;
    if (!peek().is("WHEN")) {
        input = parseExpression(scope);
        sql += " " + input->sql;
    }
    // Each result with the text before it; written once the type of the whole is known.
    std::vector<std::pair<std::string, Expr>> results;
    ColumnType type;
    const auto result = [&](std::string before) {
        Expr e = parseExpression(scope);
        type = commonType(type, e.type);
        results.emplace_back(std::move(before), std::move(e));
    };
    if (!peek().is("WHEN"))
        syntaxError();
    while (acceptWord("WHEN")) {
        Expr when = parseExpression(scope);
        if (input) {
            Expr in = *input;
            alignForComparison(in, when);
            if (comparesAsText(in, when))
                when.sql += " COLLATE TSQL";
        }
        expectWord("THEN");
        result(" WHEN " + when.sql + " THEN ");
    }
    if (acceptWord("ELSE"))
        result(" ELSE ");
    expectWord("END");
    for (const auto &[before, e] : results)
        sql += before + branchAs(e, type).sql;
    return {sql + " END", type, {}};
}

std::vector<Expr> Translator::Impl::arguments(const Scope *scope)
{
    std::vector<Expr> args;
    if (accept(")"))
        return args;
    for (;;) {
        args.push_back(parseExpression(scope));
        if (accept(")"))
            return args;
        expect(",");
    }
}

} // namespace host::tsql
