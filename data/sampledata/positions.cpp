#include "sampledata/positions.h"

#include "host/core/datetime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>

namespace sampledata {
namespace {

struct Batch
{
    std::string number;
    std::optional<double> kfDate;
};

std::vector<Batch> makeBatches(const Company &company, Random &random, const Item &item)
{
    std::vector<Batch> batches;
    if (!item.batchManaged)
        return {Batch{}};
    const int count = random.range(1, 3);
    for (int i = 0; i < count; ++i) {
        Batch batch;
        const double made = std::floor(company.today) - random.range(5, 300);
        char number[32];
        std::snprintf(number, sizeof number, "B%s-%02d", host::formatDate(made, "YYMMDD").c_str(),
                      i + 1);
        batch.number = number;
        if (item.shelfLife)
            batch.kfDate = made;
        batches.push_back(std::move(batch));
    }
    return batches;
}

std::vector<std::string> makeMtoNumbers(const Company &company, const Item &item)
{
    if (!item.mtoTracked)
        return {""};
    char first[32];
    char second[32];
    std::snprintf(first, sizeof first, "MTO%d-%04d", company.currentYear, item.id % 10000);
    std::snprintf(second, sizeof second, "MTO%d-%04d", company.currentYear, item.id % 10000 + 1);
    return {first, second};
}

double drawQuantity(Random &random, const Item &item)
{
    const double roll = random.real(0.0, 1.0);
    if (roll < 0.06)
        return 0;
    const bool whole = item.qtyDecimal == 0 || item.serialManaged;
    if (roll < 0.10)
        return -random.range(1, 20);
    if (whole)
        return random.range(1, 600);
    return std::round(random.real(0.5, 800.0) * 100) / 100;
}

} // namespace

double periodStart(const Company &company)
{
    return host::makeDate(company.currentYear, company.currentPeriod, 1);
}

void addPositions(Company &company, Random &random, const Item &item)
{
    if (item.erpClsId == 6)
        return; // a virtual item is never in stock
    const auto batches = makeBatches(company, random, item);
    const auto mtoNumbers = makeMtoNumbers(company, item);
    std::vector<const AuxItem *> auxValues;
    for (const auto &aux : company.auxItems) {
        if (aux.classId == item.auxClassId)
            auxValues.push_back(&aux);
    }

    const int stockCount = static_cast<int>(company.stocks.size());
    std::vector<int> stockOrder(company.stocks.size());
    for (int i = 0; i < stockCount; ++i)
        stockOrder[static_cast<std::size_t>(i)] = i;
    const int inStocks = random.range(1, std::min(3, stockCount));
    std::set<std::tuple<int, int, std::string, std::string, int>> taken;
    for (int s = 0; s < inStocks; ++s) {
        std::swap(stockOrder[static_cast<std::size_t>(s)],
                  stockOrder[static_cast<std::size_t>(random.range(s, stockCount - 1))]);
        const auto &stock =
            company.stocks[static_cast<std::size_t>(stockOrder[static_cast<std::size_t>(s)])];
        const int rows = random.range(1, 3);
        for (int r = 0; r < rows; ++r) {
            Position position;
            position.itemId = item.id;
            position.stockId = stock.id;
            position.placeId = stock.placeIds.empty() ? 0 : random.pick(stock.placeIds);
            const auto &batch = random.pick(batches);
            position.batchNo = batch.number;
            position.kfDate = batch.kfDate;
            position.kfPeriod = item.shelfLife ? item.kfPeriod : 0;
            position.auxPropId = auxValues.empty() ? 0 : random.pick(auxValues)->id;
            position.mtoNo = random.pick(mtoNumbers);
            if (!taken
                     .emplace(position.stockId, position.placeId, position.batchNo, position.mtoNo,
                              position.auxPropId)
                     .second)
                continue;
            position.qty = drawQuantity(random, item);
            position.secQty =
                item.secUnitId ? std::round(position.qty * item.secCoefficient * 10000) / 10000 : 0;
            position.stockInDate = periodStart(company) - random.range(1, 200);
            company.positions.push_back(position);
            // A plan-tracked item mostly sits under both of its numbers, so changes can move it.
            if (item.mtoTracked && random.chance(0.7)) {
                position.mtoNo = position.mtoNo == mtoNumbers[0] ? mtoNumbers[1] : mtoNumbers[0];
                if (taken
                        .emplace(position.stockId, position.placeId, position.batchNo,
                                 position.mtoNo, position.auxPropId)
                        .second)
                    company.positions.push_back(position);
            }
        }
    }
}

} // namespace sampledata
