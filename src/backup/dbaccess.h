#pragma once

#include "host/core/variant.h"
#include "host/db/recordset/recordset.h"

#include <exception>
#include <memory>
#include <string>
#include <string_view>

// The few recordset operations the backup class needs, over the module's application
// connection.
namespace backup {

// Runs a batch through gAppConn; its errors reach the caller.
std::shared_ptr<host::Recordset> execute(std::string_view sql);

host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, long index);
host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, std::string_view name);
void moveNext(const std::shared_ptr<host::Recordset> &rs);
// ADO filter criteria on an open recordset; nothing to narrow on an empty result.
// The description a message shows after its own text.
std::string errorDescription(const std::exception &error);

void setFilter(const std::shared_ptr<host::Recordset> &rs, std::string_view criteria);

} // namespace backup
