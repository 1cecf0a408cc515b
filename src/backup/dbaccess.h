#pragma once

#include "host/core/variant.h"

#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace host {
class Recordset;
}

// The few recordset operations the backup class needs, over the module's application
// connection.
namespace backup {

// Runs a batch through gAppConn; its errors reach the caller.
std::shared_ptr<host::Recordset> execute(std::string_view sql);

// Runs the statements as one transaction: on any failure none of them stays done. The server
// is asked to abort the batch on the first error, as the embedded database does anyway.
void executeInTransaction(std::string_view statements);

// True when the result holds no row to read: nothing, a closed recordset, or at its end.
bool atEnd(const std::shared_ptr<host::Recordset> &rs);
host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, long index);
host::Variant fieldValue(const std::shared_ptr<host::Recordset> &rs, std::string_view name);
void moveNext(const std::shared_ptr<host::Recordset> &rs);
// ADO filter criteria on an open recordset; nothing to narrow on an empty result.
// The description a message shows after its own text.
std::string errorDescription(const std::exception &error);

void setFilter(const std::shared_ptr<host::Recordset> &rs, std::string_view criteria);

} // namespace backup
