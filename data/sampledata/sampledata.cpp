#include "sampledata/sampledata.h"

#include "sampledata/basedata.h"
#include "sampledata/columntemplates.h"
#include "sampledata/movements.h"
#include "sampledata/positions.h"
#include "sampledata/users.h"
#include "sampledata/writer.h"

#include "host/core/datetime.h"
#include "host/db/commandscope.h"

#include <algorithm>
#include <cmath>

namespace sampledata {
namespace {

Company buildCompany(const SampleOptions &options)
{
    Random random(options.seed);
    Company company;
    company.today = options.today != 0 ? options.today : host::now();
    const auto today = host::splitDate(company.today);
    company.currentYear = today.year;
    company.currentPeriod = today.month;

    BaseDataBuilder builder(company, random);
    builder.addUnitsAndAuxItems();
    if (options.rows <= 0) {
        builder.addStocks(random.range(3, 5));
        for (int count = random.range(40, 80); count > 0; --count)
            addPositions(company, random, builder.addItem());
    } else {
        builder.addStocks(static_cast<int>(std::clamp(options.rows / 10000L, 5L, 20L)));
        while (static_cast<long>(company.positions.size()) < options.rows)
            addPositions(company, random, builder.addItem());
    }
    addUsers(company);
    const auto rows = static_cast<int>(company.positions.size());
    const int bills = options.rows <= 0 ? 60 : std::max(60, rows / 4);
    const int changes = options.rows <= 0 ? 8 : std::max(8, rows / 200);
    addMovements(company, random, bills, changes);
    return company;
}

} // namespace

SampleSummary generateSampleData(host::AppConnection &connection, const SampleOptions &options)
{
    // One command: the company reaches the file once, when all of it is written.
    const host::CommandScope writing(connection);
    const Company company = buildCompany(options);
    writeBaseData(connection, company);
    writeStock(connection, company);
    writeSystem(connection, company);
    writeColumnTemplates(connection);
    return {company.stocks.size(), company.items.size(), company.positions.size(),
            company.bills.size()};
}

} // namespace sampledata
