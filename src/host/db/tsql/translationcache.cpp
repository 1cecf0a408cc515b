#include "host/db/tsql/translationcache.h"

#include "host/core/hosterror.h"
#include "host/db/tsql/tsqlparser.h"

#include <algorithm>

namespace host::tsql {

namespace {

// Where a literal was taken out of the key; a text holding either character is not kept.
constexpr char kStringMark = '\x01';
constexpr char kNumberMark = '\x02';
constexpr size_t kMaxKeyText = 16384;
constexpr size_t kFormsPerKey = 8;

bool isLiteral(const Token &t)
{
    return t.kind == TokenKind::String || t.kind == TokenKind::Number;
}

// The values of the bound literals of the statement at begin, when their shapes admit them.
std::optional<std::vector<Variant>> boundValues(const std::vector<BoundLiteral> &literals,
                                                const std::vector<Token> &tokens, size_t begin)
{
    std::vector<Variant> values(literals.size());
    for (const auto &literal : literals) {
        std::optional<Literal> read;
        try {
            read = readLiteral(tokens[begin + literal.token]);
        } catch (const HostError &) {
            return std::nullopt; // the fresh translation tells what is wrong with it
        }
        if (!literal.shape.admits(read->type))
            return std::nullopt;
        values[static_cast<size_t>(literal.param - 1)] = std::move(read->value);
    }
    return values;
}

} // namespace

void TranslationCache::follow(std::uint64_t schemaGeneration, int dateFirst)
{
    if (schemaGeneration == m_schemaGeneration && dateFirst == m_dateFirst)
        return;
    m_entries.clear();
    m_schemaGeneration = schemaGeneration;
    m_dateFirst = dateFirst;
}

std::optional<std::string> TranslationCache::keyOf(std::string_view sql,
                                                   const std::vector<Token> &tokens, size_t begin,
                                                   size_t end)
{
    if (begin >= end)
        return std::nullopt;
    const size_t from = tokens[begin].offset;
    const size_t to = tokens[end - 1].offset + tokens[end - 1].size;
    if (to - from > kMaxKeyText)
        return std::nullopt;
    std::string key;
    key.reserve(to - from);
    size_t copied = from;
    ptrdiff_t marks = 0;
    for (size_t i = begin; i < end; ++i) {
        const Token &t = tokens[i];
        if (t.kind == TokenKind::Variable)
            return std::nullopt;
        if (!isLiteral(t))
            continue;
        key.append(sql.substr(copied, t.offset - copied));
        key += t.kind == TokenKind::String ? kStringMark : kNumberMark;
        ++marks;
        copied = t.offset + t.size;
    }
    key.append(sql.substr(copied, to - copied));
    const auto isMark = [](char c) { return c == kStringMark || c == kNumberMark; };
    if (std::count_if(key.begin(), key.end(), isMark) != marks)
        return std::nullopt;
    return key;
}

std::optional<Translation> TranslationCache::find(const std::string &key,
                                                  const std::vector<Token> &tokens, size_t begin)
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return std::nullopt;
    for (auto form = it->second.forms.rbegin(); form != it->second.forms.rend(); ++form) {
        const bool samePinned =
            std::all_of(form->pinned.begin(), form->pinned.end(),
                        [&](const Pinned &p) { return tokens[begin + p.token].text == p.text; });
        if (!samePinned)
            continue;
        auto values = boundValues(form->translation.literals, tokens, begin);
        if (!values)
            continue;
        it->second.lastUse = ++m_uses;
        const Query &query = form->translation.steps.front();
        Translation found;
        found.steps.push_back({query.sql, std::move(*values), query.columns});
        found.resultStep = form->translation.resultStep;
        return found;
    }
    return std::nullopt;
}

void TranslationCache::keep(std::string key, const std::vector<Token> &tokens, size_t begin,
                            size_t end, const Translation &translation)
{
    if (translation.steps.size() != 1 || translation.changesSchema ||
        !translation.assignTargets.empty() ||
        translation.steps.front().params.size() != translation.literals.size())
        return;
    Form form{translation, {}};
    std::vector<bool> bound(end - begin, false);
    for (const auto &literal : translation.literals)
        bound[literal.token] = true;
    for (size_t i = begin; i < end; ++i) {
        if (isLiteral(tokens[i]) && !bound[i - begin])
            form.pinned.push_back({i - begin, tokens[i].text});
    }
    if (!m_entries.contains(key) && m_entries.size() >= m_capacity) {
        const auto oldest =
            std::min_element(m_entries.begin(), m_entries.end(), [](const auto &a, const auto &b) {
                return a.second.lastUse < b.second.lastUse;
            });
        m_entries.erase(oldest);
    }
    Entry &entry = m_entries[std::move(key)];
    if (entry.forms.size() >= kFormsPerKey)
        entry.forms.erase(entry.forms.begin());
    entry.forms.push_back(std::move(form));
    entry.lastUse = ++m_uses;
}

} // namespace host::tsql
