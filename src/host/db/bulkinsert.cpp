#include "host/db/bulkinsert.h"

#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/core/text.h"
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/tsql/tsqlschema.h"

#include <algorithm>

namespace host {

BulkInsert::BulkInsert(AppConnection &connection, std::string table,
                       const std::vector<std::string> &columns)
    : m_db(connection.embedded() ? connection.embedded()->handle() : nullptr),
      m_table(std::move(table))
{
    EmbeddedDatabase *db = connection.embedded();
    if (!db)
        throw HostError("BulkInsert needs the embedded database.");
    const auto *tableColumns = db->columns(m_table);
    if (!tableColumns)
        throw HostError("Invalid object name '" + m_table + "'.");
    std::string names;
    std::string marks;
    for (const auto &column : columns) {
        const auto it = std::find_if(
            tableColumns->begin(), tableColumns->end(),
            [&](const tsql::ColumnInfo &info) { return equalsNoCase(info.name, column); });
        if (it == tableColumns->end())
            throw HostError("Invalid column name '" + column + "'.");
        m_columns.push_back(it->name);
        m_types.push_back(it->type);
        names += (names.empty() ? "" : ",") + sqlName(it->name);
        marks += marks.empty() ? "?" : ",?";
    }
    m_stored.resize(m_types.size());
    m_lastDate.resize(m_types.size());
    m_storedDate.resize(m_types.size());
    m_insert =
        std::make_unique<sqlite::Statement>(db->handle(), "INSERT INTO " + sqlName(m_table) + " (" +
                                                              names + ") VALUES (" + marks + ")");
}

BulkInsert::~BulkInsert() = default;

void BulkInsert::add(const std::vector<Variant> &row)
{
    if (row.size() != m_types.size())
        throw HostError("The row has " + std::to_string(row.size()) + " values for " +
                        std::to_string(m_types.size()) + " columns.");
    if (!m_transaction)
        m_transaction = std::make_unique<sqlite::Transaction>(m_db);
    for (size_t i = 0; i < row.size(); ++i) {
        // A date comes as a text to read and write again; rows loaded together mostly share it.
        if (m_types[i].type == SqlType::DateTime) {
            if (!(row[i] == m_lastDate[i]) || m_storedDate[i].isEmpty()) {
                m_storedDate[i] = toStored(row[i], m_types[i], {m_table, m_columns[i]});
                m_lastDate[i] = row[i];
            }
            m_insert->bindKept(static_cast<int>(i) + 1, m_storedDate[i]);
        } else {
            // Kept until the row is stored, so that SQLite reads each text where it is.
            m_stored[i] = toStored(row[i], m_types[i], {m_table, m_columns[i]});
            m_insert->bindKept(static_cast<int>(i) + 1, m_stored[i]);
        }
    }
    m_insert->step();
    m_insert->reset();
}

void BulkInsert::commit()
{
    if (m_transaction)
        m_transaction->commit();
    m_transaction.reset();
}

} // namespace host
