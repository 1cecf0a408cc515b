#include "countsheet/savebatch.h"

#include "countsheet/checkbillsql.h"

#include <sstream>

namespace SaveBatch {

std::string begin()
{
    return std::string("SET NOCOUNT ON") + kCrLf + "DECLARE @Unmatched VARCHAR(8000)" + kCrLf +
           "SELECT @Unmatched=''" + kCrLf;
}

std::string markUnmatched(int row)
{
    return "IF @@ROWCOUNT=0 SELECT @Unmatched=@Unmatched+'" + std::to_string(row) + ",'" + kCrLf;
}

std::string end()
{
    return std::string("SELECT @Unmatched AS FUnmatched") + kCrLf;
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
