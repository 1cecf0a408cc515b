#pragma once

#include "host/core/variant.h"

#include <memory>
#include <string_view>

namespace host {
class Recordset;
}

// The few recordset operations the backup class needs, over the module's application
// connection.
namespace backup {

// Runs a batch through gAppConn; its errors reach the caller.
std::shared_ptr<host::Recordset> execute(std::string_view sql);

// True when the result holds no row to read: nothing, a closed recordset, or at its end.
bool atEnd(const std::shared_ptr<host::Recordset> &rs);
host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, long index);
host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, std::string_view name);
void moveNext(const std::shared_ptr<host::Recordset> &rs);
// ADO filter criteria on an open recordset; nothing to narrow on an empty result.
void setFilter(const std::shared_ptr<host::Recordset> &rs, std::string_view criteria);

} // namespace backup
