#pragma once

#include "backup/icbackupinv.h"
#include "host/core/dictionary.h"
#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/ui/modal/scriptedmodals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using Row = std::vector<host::Variant>;

// A fresh database with the host schema and a small company for every test: three stocks,
// stock places 0 (none), 10 and 11, units with coefficients 1 and 12, items with and without
// a second unit, the operator 16394, the periods of 2025 and 2026 and the numbering row.
class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // The database the test starts from, with the host schema and no rows.
    virtual std::shared_ptr<host::AppConnection> openDatabase();

    std::shared_ptr<host::Recordset> exec(const std::string &sql);
    std::vector<Row> rows(const std::string &sql);
    host::Variant scalar(const std::string &sql);
    long count(const std::string &table, const std::string &where = "1=1");

    // One book-stock row.
    struct StockRow
    {
        StockRow(long item_, long stock_, long place_, std::string batch_, double qty_,
                 double secQty_ = 0, std::string mto_ = {}, long aux_ = 0, std::string kfDate_ = {},
                 long kfPeriod_ = 0)
            : item(item_), stock(stock_), place(place_), batch(std::move(batch_)), qty(qty_),
              secQty(secQty_), mto(std::move(mto_)), aux(aux_), kfDate(std::move(kfDate_)),
              kfPeriod(kfPeriod_)
        {}
        long item;
        long stock;
        long place;
        std::string batch;
        double qty;
        double secQty;
        std::string mto;
        long aux;
        std::string kfDate;
        long kfPeriod;
    };
    void addStock(const StockRow &row);
    // An audited stock bill of one line; the receiving or sending stock is 0 when not used.
    void addBill(long interId, long tranType, const std::string &date, long item, double qty,
                 long dcStock, long dcPlace, long scStock, long scPlace, bool audited = true);
    void addProcess(long id, const std::string &number, const std::string &date, long status = 0,
                    long operatorId = 16394);

    // Backup parameters as the backup window builds them.
    static host::Dictionary params(const std::string &stock, const std::string &filter = {},
                                   const std::string &date = today());
    static std::string today();        // yyyy-mm-dd
    static std::string todayCompact(); // yyyymmdd

    // The snapshot maxima as the callers take them before a backup.
    bool backUp(ICBackupInv &backup, const host::Dictionary &p, bool cutDate = false,
                const std::string &cutOff = {});

    // The texts of the messages shown so far, and whether the last one was the standard box
    // with the information icon.
    std::vector<std::string> messages() const;
    bool lastMessageIsInformation() const;

    std::shared_ptr<host::AppConnection> m_conn;
    std::unique_ptr<host::ui::ScriptedModals> m_modals;

    static constexpr long kOperator = 16394;
    static constexpr long kItemBox = 101;   // stock unit BOX (12 PCS), second unit KG
    static constexpr long kItemPiece = 102; // stock unit PCS, no second unit
    static constexpr long kItemOther = 103; // stock unit PCS
};
