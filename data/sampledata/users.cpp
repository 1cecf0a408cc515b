#include "sampledata/users.h"

namespace sampledata {

void addUsers(Company &company)
{
    std::vector<int> firstStocks;
    for (std::size_t s = 0; s < company.stocks.size() && s < 2; ++s)
        firstStocks.push_back(company.stocks[s].id);
    company.users = {{16, "王建国", "仓库主管", true, true, {}},
                     {17, "李红", "保管员", true, true, firstStocks},
                     {18, "张伟", "财务会计", false, true, {}},
                     {19, "陈静", "统计员", false, false, {}}};
}

} // namespace sampledata
