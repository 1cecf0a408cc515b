#include "sampledata/company.h"

#include <algorithm>
#include <stdexcept>

namespace sampledata {
namespace {

template <typename T> const T &byId(const std::vector<T> &list, int id, const char *what)
{
    // Records are made with rising ids, so a binary search finds them.
    const auto it = std::lower_bound(list.begin(), list.end(), id,
                                     [](const T &record, int key) { return record.id < key; });
    if (it == list.end() || it->id != id)
        throw std::out_of_range(std::string("no ") + what + " with id " + std::to_string(id));
    return *it;
}

} // namespace

const Item &Company::item(int id) const
{
    return byId(items, id, "item");
}

const Unit &Company::unit(int id) const
{
    return byId(units, id, "unit");
}

} // namespace sampledata
