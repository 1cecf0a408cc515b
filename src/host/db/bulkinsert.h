#pragma once

#include "host/core/variant.h"
#include "host/db/sqlite/sqlitedb.h"
#include "host/db/sqlite/storage.h"

#include <memory>
#include <string>
#include <vector>

namespace host {

class AppConnection;

// Fast loading of many rows into one table of the embedded database: one prepared INSERT, its
// rows in a transaction until commit(). Values are stored by the same conventions as the T-SQL
// layer's INSERT for the columns' declared types. Rows added since the last commit() are not
// kept.
class BulkInsert
{
public:
    BulkInsert(AppConnection &connection, std::string table,
               const std::vector<std::string> &columns);
    ~BulkInsert();
    BulkInsert(const BulkInsert &) = delete;
    BulkInsert &operator=(const BulkInsert &) = delete;

    // One value per column, in the order given to the constructor. The first row after a
    // commit begins a new transaction.
    void add(const std::vector<Variant> &row);
    // Keeps the rows added so far and ends their transaction, so that other connections may
    // write until the next add().
    void commit();

private:
    sqlite3 *m_db;
    std::string m_table;
    std::vector<std::string> m_columns; // as the table declares them
    std::vector<ColumnType> m_types;
    std::vector<Variant> m_stored;     // by column: the value of the row being stored
    std::vector<Variant> m_lastDate;   // by column: the last date given
    std::vector<Variant> m_storedDate; // and what was stored for it
    std::unique_ptr<sqlite::Transaction> m_transaction;
    std::unique_ptr<sqlite::Statement> m_insert;
};

} // namespace host
