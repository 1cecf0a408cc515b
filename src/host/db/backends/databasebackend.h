#pragma once

#include "host/core/hosterror.h"
#include "host/db/recordset/recordset.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace host {

// What running one batch gives: the rows of each statement that yields rows, in order, and the
// error the batch raised itself with RAISERROR, if any.
struct BatchResult
{
    std::vector<std::shared_ptr<Recordset>> sets;
    std::optional<HostError> raised;
};

// One way of reaching the database behind an AppConnection.
class DatabaseBackend
{
public:
    virtual ~DatabaseBackend() = default;
    // Runs a batch; a failing statement throws HostError with the database's message.
    virtual BatchResult execute(std::string_view sql) = 0;
};

} // namespace host
