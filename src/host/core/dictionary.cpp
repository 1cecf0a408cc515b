#include "host/core/dictionary.h"
#include "host/core/text.h"

#include "host/core/hosterror.h"

namespace host {

std::string Dictionary::fold(std::string_view key)
{
    return toLower(key);
}

Variant Dictionary::Value(std::string_view key) const
{
    const auto it = m_index.find(fold(key));
    return it == m_index.end() ? Variant() : m_entries[it->second].value;
}

void Dictionary::SetValue(std::string_view key, Variant value)
{
    auto [it, added] = m_index.try_emplace(fold(key), m_entries.size());
    if (added)
        m_entries.push_back({std::string(key), std::move(value)});
    else
        m_entries[it->second].value = std::move(value);
}

Variant Dictionary::GetValue(std::string_view key, const Variant &defaultValue) const
{
    const auto it = m_index.find(fold(key));
    return it == m_index.end() ? defaultValue : m_entries[it->second].value;
}

bool Dictionary::Exists(std::string_view key) const
{
    return m_index.contains(fold(key));
}

bool Dictionary::Remove(std::string_view key)
{
    const auto it = m_index.find(fold(key));
    if (it == m_index.end())
        return false;
    const size_t position = it->second;
    m_index.erase(it);
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto &[folded, index] : m_index) {
        if (index > position)
            --index;
    }
    return true;
}

void Dictionary::RemoveAll()
{
    m_entries.clear();
    m_index.clear();
}

std::vector<std::string> Dictionary::Keys() const
{
    std::vector<std::string> keys;
    keys.reserve(m_entries.size());
    for (const auto &e : m_entries)
        keys.push_back(e.key);
    return keys;
}

const std::string &Dictionary::KeyAt(long index) const
{
    if (index < 0 || index >= Count())
        throw HostError("Subscript out of range", HostError::SubscriptOutOfRange);
    return m_entries[static_cast<size_t>(index)].key;
}

const Variant &Dictionary::ValueAt(long index) const
{
    if (index < 0 || index >= Count())
        throw HostError("Subscript out of range", HostError::SubscriptOutOfRange);
    return m_entries[static_cast<size_t>(index)].value;
}

void Dictionary::SetSizeHint(long count)
{
    if (count > 0) {
        m_entries.reserve(static_cast<size_t>(count));
        m_index.reserve(static_cast<size_t>(count));
    }
}

} // namespace host
