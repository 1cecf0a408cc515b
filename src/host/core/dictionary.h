#pragma once

#include "host/core/hostobject.h"
#include "host/core/variant.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace host {

// The host's key/value container: text keys (compared without regard to ASCII case, the first
// spelling kept) to Variant values, in insertion order.
class Dictionary : public HostObject
{
public:
    Dictionary() = default;

    // Empty when the key is missing; reading never adds the key.
    Variant Value(std::string_view key) const;
    // Adds the key, or replaces its value in place.
    void SetValue(std::string_view key, Variant value);
    // Read with default.
    Variant GetValue(std::string_view key, const Variant &defaultValue) const;

    bool Exists(std::string_view key) const;
    // False when the key was not there.
    bool Remove(std::string_view key);
    void RemoveAll();
    long Count() const { return static_cast<long>(m_entries.size()); }

    std::vector<std::string> Keys() const;
    const std::string &KeyAt(long index) const; // 0-based, insertion order
    const Variant &ValueAt(long index) const;

    // A loader marks the dictionary while it fills it; the hint reserves room for that many keys.
    bool Loading() const { return m_loading; }
    void SetLoading(bool loading) { m_loading = loading; }
    void SetSizeHint(long count);

private:
    struct Entry
    {
        std::string key;
        Variant value;
    };
    static std::string fold(std::string_view key);

    std::vector<Entry> m_entries;
    std::unordered_map<std::string, size_t> m_index; // folded key -> position
    bool m_loading = false;
};

} // namespace host
