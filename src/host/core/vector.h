#pragma once

#include "host/core/hostobject.h"
#include "host/core/variant.h"

#include <vector>

namespace host {

// The host's list: items numbered from 1.
class Vector : public HostObject
{
public:
    Vector() = default;

    void Add(Variant item);
    // Inserts before position; Count() + 1 appends.
    void Insert(long position, Variant item);
    void Remove(long position);
    void Clear() { m_items.clear(); }
    const Variant &Item(long position) const;
    void SetItem(long position, Variant item);
    long Count() const { return static_cast<long>(m_items.size()); }

private:
    size_t checked(long position, long last) const;
    std::vector<Variant> m_items;
};

} // namespace host
