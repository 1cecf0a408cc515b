#include "data/demodatabase.h"

#include "sampledata/sampledata.h"
#include "sampledata/schema.h"

std::unique_ptr<host::AppConnection> openMemoryDatabase()
{
    auto connection = std::make_unique<host::AppConnection>();
    connection->openDatabase(":memory:");
    return connection;
}

std::unique_ptr<host::AppConnection> openDemoDatabase(double today)
{
    auto connection = openMemoryDatabase();
    sampledata::createSchema(*connection);
    sampledata::SampleOptions options;
    options.today = today;
    sampledata::generateSampleData(*connection, options);
    return connection;
}

host::Variant scalar(host::AppConnection &connection, const std::string &sql)
{
    const auto recordset = connection.Execute(sql);
    if (!recordset || recordset->State() == host::Recordset::adStateClosed || recordset->EOF())
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
