#include "host/core/vector.h"

#include "host/core/hosterror.h"

namespace host {

size_t Vector::checked(long position, long last) const
{
    if (position < 1 || position > last)
        throw HostError("Subscript out of range", HostError::SubscriptOutOfRange);
    return static_cast<size_t>(position - 1);
}

void Vector::Add(Variant item)
{
    m_items.push_back(std::move(item));
}

void Vector::Insert(long position, Variant item)
{
    const size_t index = checked(position, Count() + 1);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
}

void Vector::Remove(long position)
{
    const size_t index = checked(position, Count());
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
}

const Variant &Vector::Item(long position) const
{
    return m_items[checked(position, Count())];
}

void Vector::SetItem(long position, Variant item)
{
    m_items[checked(position, Count())] = std::move(item);
}

} // namespace host
