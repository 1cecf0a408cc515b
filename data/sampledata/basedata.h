#pragma once

#include "sampledata/company.h"
#include "sampledata/random.h"

#include <map>
#include <utility>

namespace sampledata {

// Makes the base data of the sample company: units, stocks with their places, auxiliary
// properties and items. Ids of base-data records come from one sequence, as in the host.
class BaseDataBuilder
{
public:
    BaseDataBuilder(Company &company, Random &random) : m_company(company), m_random(random) {}

    void addUnitsAndAuxItems();
    void addStocks(int count);
    // The first items cover every kind of item in turn, the rest are drawn at random.
    Item &addItem();

private:
    int nextId() { return m_nextId++; }
    int unitId(const std::string &name) const;
    void drawTraits(Item &item, std::size_t familyIndex);
    void giveKind(Item &item, int kind);
    void setCycle(Item &item, CycleUnit unit);
    void addPlaces(Stock &stock, int groupNumber);

    Company &m_company;
    Random &m_random;
    int m_nextId = 100;
    int m_nextPlaceId = 1;
    std::map<std::pair<std::size_t, std::size_t>, int> m_productSerials;
    std::map<std::size_t, int> m_familySerials;
};

} // namespace sampledata
