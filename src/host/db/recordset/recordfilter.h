#pragma once

#include "host/core/variant.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Compares two field values for sorting and filtering: Null first, numbers by value, dates by
// date, texts as the database collation does (case-insensitive, trailing blanks ignored).
int compareValues(const Variant &a, const Variant &b);

// A recordset filter in ADO's criteria syntax, parsed once and tested per row.
class RecordFilter
{
public:
    // Throws HostError when the criteria do not parse or name an unknown field.
    RecordFilter(std::string_view criteria, const std::vector<std::string> &fieldNames);
    ~RecordFilter();
    RecordFilter(const RecordFilter &) = delete;
    RecordFilter &operator=(const RecordFilter &) = delete;

    // The value of a row's field, by its position.
    using FieldValue = std::function<Variant(size_t column)>;
    bool matches(const FieldValue &field) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

} // namespace host
