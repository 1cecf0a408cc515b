#pragma once

#include "host/core/hosterror.h"
#include "host/db/recordset/recordset.h"

#include <memory>
#include <utility>
#include <vector>

namespace host {

// The failure of a batch whose statements before the failing one yielded rows: those rows,
// for a caller that shows each statement's rows as a server's command-line client does.
class BatchFailure : public HostError
{
public:
    BatchFailure(const HostError &error, std::vector<std::shared_ptr<Recordset>> sets)
        : HostError(error), m_sets(std::move(sets))
    {}

    const std::vector<std::shared_ptr<Recordset>> &sets() const { return m_sets; }

private:
    std::vector<std::shared_ptr<Recordset>> m_sets;
};

} // namespace host
