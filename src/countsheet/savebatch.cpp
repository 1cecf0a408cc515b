#include "countsheet/savebatch.h"

#include "countsheet/checkbillsql.h"
#include "host/core/sqltext.h"

#include <sstream>

namespace SaveBatch {

std::string begin()
{
    return std::string("SET NOCOUNT ON") + host::kCrLf + "DECLARE @Unmatched VARCHAR(8000)" +
           host::kCrLf + "SELECT @Unmatched=''" + host::kCrLf;
}

std::string markUnmatched(int row)
{
    return "IF @@ROWCOUNT=0 SELECT @Unmatched=@Unmatched+'" + std::to_string(row) + ",'" +
           host::kCrLf;
}

std::string end()
{
    return std::string("SELECT @Unmatched AS FUnmatched") + host::kCrLf;
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
