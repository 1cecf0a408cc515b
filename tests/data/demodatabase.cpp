#include "data/demodatabase.h"

std::unique_ptr<host::AppConnection> openMemoryDatabase()
{
    auto connection = std::make_unique<host::AppConnection>();
    connection->openDatabase(":memory:");
    return connection;
}

host::Variant scalar(host::AppConnection &connection, const std::string &sql)
{
    const auto recordset = connection.Execute(sql);
    if (!host::hasRows(recordset))
        return {};
    return recordset->Fields(0L).Value();
}

std::vector<std::vector<std::string>> rowsAsText(host::AppConnection &connection,
                                                 const std::string &sql)
{
    std::vector<std::vector<std::string>> rows;
    const auto recordset = connection.Execute(sql);
    for (; !recordset->EOF(); recordset->MoveNext()) {
        std::vector<std::string> row;
        for (long f = 0; f < recordset->FieldCount(); ++f) {
            const auto &value = recordset->Fields(f).Value();
            row.push_back(value.isNull() ? "<null>" : host::CStr(value));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
