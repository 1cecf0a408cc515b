#include "sampledata/movements.h"

#include "sampledata/catalog.h"
#include "sampledata/positions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace sampledata {
namespace {

bool isReceipt(int tranType)
{
    return tranType == 1 || tranType == 2 || tranType == 5 || tranType == 10 || tranType == 40;
}

// Transaction types with their weights among the bills made.
const std::vector<std::pair<int, int>> kTypeWeights{{1, 20}, {2, 10},  {5, 4},   {10, 6},
                                                    {40, 2}, {21, 15}, {24, 15}, {28, 4},
                                                    {29, 6}, {43, 2},  {41, 10}};

int drawType(Random &random)
{
    int total = 0;
    for (const auto &[type, weight] : kTypeWeights)
        total += weight;
    int roll = random.range(1, total);
    for (const auto &[type, weight] : kTypeWeights) {
        roll -= weight;
        if (roll <= 0)
            return type;
    }
    return kTypeWeights.front().first;
}

std::string billNumber(const std::string &prefix, int serial)
{
    char text[32];
    std::snprintf(text, sizeof text, "%06d", serial);
    return prefix + text;
}

class MovementBuilder
{
public:
    MovementBuilder(Company &company, Random &random)
        : m_company(company), m_random(random), m_net(company.positions.size()),
          m_secNet(company.positions.size())
    {
        for (const auto &user : company.users) {
            if (user.mayChangeCounts)
                m_clerks.push_back(user.id);
        }
        for (std::size_t p = 0; p < company.positions.size(); ++p) {
            const auto &position = company.positions[p];
            const int index = static_cast<int>(p);
            m_byStock[position.stockId].push_back(index);
            m_sameGoods[goodsKey(position)].push_back(index);
            m_samePlace[placeKey(position)].push_back(index);
        }
        for (const auto &[key, list] : m_sameGoods) {
            if (list.size() < 2)
                continue;
            for (const int p : list) {
                if (partnerFor(p) >= 0)
                    m_transferable.push_back(p);
            }
        }
        for (const auto &[key, list] : m_samePlace) {
            if (list.size() >= 2)
                m_changeable.push_back(list.front());
        }
        std::sort(m_transferable.begin(), m_transferable.end());
        // The last two stocks hold no unaudited bill, so that a current-stock count of them
        // can be made; the others show why a backup is refused.
        if (company.stocks.size() >= 3) {
            for (auto s = company.stocks.end() - 2; s != company.stocks.end(); ++s)
                m_cleanStocks.insert(s->id);
        }
        for (std::size_t p = 0; p < company.positions.size(); ++p) {
            if (!isClean(company.positions[p].stockId))
                m_pending.push_back(static_cast<int>(p));
        }
        for (const int p : m_transferable) {
            const auto &from = company.positions[static_cast<std::size_t>(p)];
            const int partner = partnerFor(p);
            if (!isClean(from.stockId) &&
                !isClean(company.positions[static_cast<std::size_t>(partner)].stockId))
                m_pendingTransferable.push_back(p);
        }
    }

    void addBills(int count);
    void addChanges(int count);
    void setOpeningBalances();

private:
    using GoodsKey = std::tuple<int, std::string, std::string, int, double>;
    using PlaceKey = std::tuple<int, int, int, std::string, int, double>;

    static GoodsKey goodsKey(const Position &p)
    {
        return {p.itemId, p.batchNo, p.mtoNo, p.auxPropId, p.kfDate.value_or(0)};
    }
    static PlaceKey placeKey(const Position &p)
    {
        return {p.itemId, p.stockId, p.placeId, p.batchNo, p.auxPropId, p.kfDate.value_or(0)};
    }

    // The same goods in another stock, or -1.
    int partnerFor(int p) const
    {
        const auto &position = m_company.positions[static_cast<std::size_t>(p)];
        for (const int q : m_sameGoods.at(goodsKey(position))) {
            if (m_company.positions[static_cast<std::size_t>(q)].stockId != position.stockId)
                return q;
        }
        return -1;
    }

    double drawDate()
    {
        const double first = periodStart(m_company);
        const int days = static_cast<int>(std::floor(m_company.today) - first);
        return first + m_random.range(0, std::max(days, 0));
    }

    double drawQty(const Item &item)
    {
        if (item.qtyDecimal == 0 || item.serialManaged)
            return m_random.range(1, 20);
        return std::round(m_random.real(0.5, 50.0) * 100) / 100;
    }

    double secondQty(const Item &item, double qty) const
    {
        return item.secUnitId ? std::round(qty * item.secCoefficient * 10000) / 10000 : 0;
    }

    int user() { return m_random.pick(m_clerks); }
    bool isClean(std::optional<int> stockId) const
    {
        return stockId && m_cleanStocks.contains(*stockId);
    }
    bool touchesCleanStock(const StockBill &bill) const
    {
        return std::any_of(bill.entries.begin(), bill.entries.end(), [this](const BillEntry &e) {
            return isClean(e.dcStockId) || isClean(e.scStockId);
        });
    }
    int firstPosition(const StockBill &bill)
    {
        const bool pending = bill.checkerId == 0 && !bill.cancelled;
        if (bill.tranType == 41)
            return m_random.pick(pending ? m_pendingTransferable : m_transferable);
        if (pending && !m_pending.empty())
            return m_random.pick(m_pending);
        return m_random.range(0, static_cast<int>(m_company.positions.size()) - 1);
    }
    void move(int p, double qty, double secQty)
    {
        m_net[static_cast<std::size_t>(p)] += qty;
        m_secNet[static_cast<std::size_t>(p)] += secQty;
    }
    BillEntry makeEntry(int tranType, int p, int rob);

    Company &m_company;
    Random &m_random;
    std::vector<double> m_net;
    std::vector<double> m_secNet;
    std::map<int, std::vector<int>> m_byStock;
    std::map<GoodsKey, std::vector<int>> m_sameGoods;
    std::map<PlaceKey, std::vector<int>> m_samePlace;
    std::vector<int> m_transferable;
    std::vector<int> m_changeable;
    std::vector<int> m_clerks; // the users who enter and audit bills
    std::set<int> m_cleanStocks;
    std::vector<int> m_pending; // positions outside the clean stocks, for unaudited bills
    std::vector<int> m_pendingTransferable;
};

BillEntry MovementBuilder::makeEntry(int tranType, int p, int rob)
{
    const auto &position = m_company.positions[static_cast<std::size_t>(p)];
    const auto &item = m_company.item(position.itemId);
    BillEntry entry;
    entry.position = p;
    entry.qty = rob * drawQty(item);
    entry.secQty = secondQty(item, entry.qty);
    if (tranType == 24) {
        // A material issue names the issuing stock on the sending side but its place on the
        // receiving side.
        entry.scStockId = position.stockId;
        entry.dcPlaceId = position.placeId;
    } else if (tranType == 41) {
        const auto &to = m_company.positions[static_cast<std::size_t>(partnerFor(p))];
        entry.scStockId = position.stockId;
        entry.scPlaceId = position.placeId;
        entry.dcStockId = to.stockId;
        entry.dcPlaceId = to.placeId;
    } else {
        entry.dcStockId = position.stockId;
        entry.dcPlaceId = position.placeId;
    }
    return entry;
}

void MovementBuilder::addBills(int count)
{
    std::map<int, int> serials;
    for (int b = 0; b < count; ++b) {
        StockBill bill;
        // The first bills go through every type and every state once, so each is there.
        const auto covering = static_cast<std::size_t>(b);
        bill.tranType =
            covering < kTypeWeights.size() ? kTypeWeights[covering].first : drawType(m_random);
        bill.date = drawDate();
        bill.rob = m_random.chance(0.05) ? -1 : 1;
        bill.billerId = user();
        constexpr double kStateShares[] = {0.0, 0.72, 0.82, 0.94};
        const double state = b < 4 ? kStateShares[b] : m_random.real(0.0, 1.0);
        if (state < 0.72) {
            bill.checkerId = user();
        } else if (state < 0.82) {
            bill.upStockWhenSave = true;
        } else if (state >= 0.94) {
            bill.checkerId = user();
            bill.cancelled = true;
        }
        const bool pending = bill.checkerId == 0 && !bill.cancelled;
        if (bill.tranType == 41 && (pending ? m_pendingTransferable : m_transferable).empty())
            bill.tranType = 10;
        const int first = firstPosition(bill);
        bill.entries.push_back(makeEntry(bill.tranType, first, bill.rob));
        const auto &sameStock =
            m_byStock[m_company.positions[static_cast<std::size_t>(first)].stockId];
        for (int extra = m_random.range(0, 2); extra > 0; --extra) {
            const int p = m_random.pick(sameStock);
            const bool used = std::any_of(bill.entries.begin(), bill.entries.end(),
                                          [p](const BillEntry &e) { return e.position == p; });
            if (!used && (bill.tranType != 41 || partnerFor(p) >= 0))
                bill.entries.push_back(makeEntry(bill.tranType, p, bill.rob));
        }
        if (pending && touchesCleanStock(bill))
            bill.checkerId = user();
        bill.billNo = billNumber(catalog::billPrefix(bill.tranType), ++serials[bill.tranType]);
        m_company.bills.push_back(std::move(bill));
    }
    // Internal ids rise with the bill date, as they do when bills are entered day by day.
    std::stable_sort(m_company.bills.begin(), m_company.bills.end(),
                     [](const StockBill &a, const StockBill &b) { return a.date < b.date; });
    int interId = 0;
    for (auto &bill : m_company.bills) {
        bill.interId = ++interId;
        if (!bill.effective())
            continue;
        for (const auto &entry : bill.entries) {
            if (bill.tranType == 41) {
                move(entry.position, -entry.qty, -entry.secQty);
                move(partnerFor(entry.position), entry.qty, entry.secQty);
            } else {
                const double sign = isReceipt(bill.tranType) ? 1 : -1;
                move(entry.position, sign * entry.qty, sign * entry.secQty);
            }
        }
    }
}

void MovementBuilder::addChanges(int count)
{
    if (m_changeable.empty())
        return;
    for (int c = 0; c < count; ++c) {
        MtoChange change;
        change.date = drawDate();
        change.billerId = user();
        if (m_random.chance(0.8))
            change.checkerId = user();
        const int from = m_random.pick(m_changeable);
        if (isClean(m_company.positions[static_cast<std::size_t>(from)].stockId))
            change.checkerId = user();
        const auto &list =
            m_samePlace.at(placeKey(m_company.positions[static_cast<std::size_t>(from)]));
        const int to = list[1];
        const auto &item =
            m_company.item(m_company.positions[static_cast<std::size_t>(from)].itemId);
        MtoChangeEntry entry{from, to, drawQty(item), 0};
        entry.secQty = secondQty(item, entry.qty);
        change.entries.push_back(entry);
        m_company.mtoChanges.push_back(std::move(change));
    }
    std::stable_sort(m_company.mtoChanges.begin(), m_company.mtoChanges.end(),
                     [](const MtoChange &a, const MtoChange &b) { return a.date < b.date; });
    int id = 0;
    for (auto &change : m_company.mtoChanges) {
        change.id = ++id;
        change.billNo = billNumber("MTO", id);
        if (!change.effective())
            continue;
        for (const auto &entry : change.entries) {
            move(entry.from, -entry.qty, -entry.secQty);
            move(entry.to, entry.qty, entry.secQty);
        }
    }
}

void MovementBuilder::setOpeningBalances()
{
    for (std::size_t p = 0; p < m_company.positions.size(); ++p) {
        auto &position = m_company.positions[p];
        position.begQty = std::round((position.qty - m_net[p]) * 1e6) / 1e6;
        position.begSecQty = std::round((position.secQty - m_secNet[p]) * 1e6) / 1e6;
    }
}

} // namespace

void addMovements(Company &company, Random &random, int billCount, int changeCount)
{
    if (company.positions.empty() || company.users.empty())
        return;
    MovementBuilder builder(company, random);
    builder.addBills(billCount);
    builder.addChanges(changeCount);
    builder.setOpeningBalances();
}

} // namespace sampledata
