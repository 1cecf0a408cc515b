#pragma once

#include "host/core/variant.h"
#include "host/db/sqlitedb.h"
#include "host/db/storage.h"

#include <memory>
#include <string>
#include <vector>

namespace host {

class AppConnection;

// Fast loading of many rows into one table of the embedded database: one prepared INSERT in
// one transaction. Values are stored by the same conventions as the T-SQL layer's INSERT for
// the columns' declared types. Nothing is kept unless commit() is called.
class BulkInsert
{
public:
    BulkInsert(AppConnection &connection, std::string table,
               const std::vector<std::string> &columns);
    ~BulkInsert();
    BulkInsert(const BulkInsert &) = delete;
    BulkInsert &operator=(const BulkInsert &) = delete;

    // One value per column, in the order given to the constructor.
    void add(const std::vector<Variant> &row);
    void commit();

private:
    std::string m_table;
    std::vector<std::string> m_columns; // as the table declares them
    std::vector<ColumnType> m_types;
    std::unique_ptr<sqlite::Transaction> m_transaction;
    std::unique_ptr<sqlite::Statement> m_insert;
};

} // namespace host
