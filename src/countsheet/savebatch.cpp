#include "countsheet/savebatch.h"

#include "host/core/sqltext.h"

#include <sstream>

namespace SaveBatch {

std::string begin()
{
    std::string sql;
    host::addLines(sql,
                   {"SET NOCOUNT ON", "DECLARE @Unmatched VARCHAR(8000)", "SELECT @Unmatched=''"});
    return sql;
}

std::string markUnmatched(int row)
{
    std::string sql;
    host::addLine(sql, "IF @@ROWCOUNT=0 SELECT @Unmatched=@Unmatched+'", std::to_string(row), ",'");
    return sql;
}

std::string end()
{
    std::string sql;
    host::addLine(sql, "SELECT @Unmatched AS FUnmatched");
    return sql;
}

std::vector<int> unmatchedRows(const std::string &result)
{
    std::vector<int> rows;
    std::istringstream in(result);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty())
            rows.push_back(std::stoi(item));
    return rows;
}

} // namespace SaveBatch
