#include "support/baresave.h"

#include "host/db/sqlite/sqlitedb.h"
#include "host/db/tsql/tsqlfunctions.h"
#include "support/barequery.h"

#include <algorithm>
#include <stdexcept>

std::vector<LineValues> sheetLines(sqlite3 *db)
{
    sqlite3_stmt *query = nullptr;
    sqlite3_prepare_v2(
        db,
        "SELECT t1.FCheckQty,t1.FQtyAct,t1.FAuxQty,t1.FQty,t1.FAuxCheckQty,t1.FAuxQtyAct,"
        "t1.FAdjQty,t1.FSecQty,t1.FSecQtyAct,t1.FSecCheckQty,t1.FSecAdjQty,ifnull(t1.FNote,''),"
        "t4.FCoefficient,t1.FStockID,t1.FItemID,t1.FStockPlaceID,t1.FKFPeriod,t1.FAuxPropID,"
        "t1.FUnitID,t1.FKFDate,t1.FBatchNo,t1.FMtoNo FROM ICInvBackup t1 JOIN t_ICItem t2 ON "
        "t1.FItemID=t2.FItemID LEFT JOIN t_MeasureUnit t4 ON t1.FUnitID=t4.FItemID WHERE "
        "t2.FDeleted<>1 AND t1.FInterID=1",
        -1, &query, nullptr);
    std::vector<LineValues> lines;
    auto text = [&](int c) {
        return std::string(reinterpret_cast<const char *>(sqlite3_column_text(query, c)));
    };
    while (sqlite3_step(query) == SQLITE_ROW) {
        LineValues v;
        for (int c = 0; c < 11; ++c)
            v.set.push_back(sqlite3_column_double(query, c));
        v.note = text(11);
        v.coefficient = sqlite3_column_double(query, 12);
        for (int c = 13; c < 19; ++c)
            v.key.push_back(sqlite3_column_int64(query, c));
        v.kfDate = text(19);
        v.batchNo = text(20);
        v.mtoNo = text(21);
        lines.push_back(std::move(v));
    }
    sqlite3_finalize(query);
    return lines;
}

namespace {

class Prepared
{
public:
    Prepared(sqlite3 *db, const std::string &sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Prepared() { sqlite3_finalize(m_stmt); }
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;
    sqlite3_stmt *operator*() const { return m_stmt; }
    // Runs it once with the values bound; the rows it changed.
    long long run()
    {
        if (sqlite3_step(m_stmt) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        sqlite3_reset(m_stmt);
        return sqlite3_changes64(m_db);
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace

PlainConnection openPlain(const std::string &path)
{
    sqlite3 *opened = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &opened,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    PlainConnection db(opened, sqlite3_close);
    if (rc != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(opened));
    // Its statements run as the module's do, without the optimisations its collation forbids.
    host::sqlite::guardConnection(db.get());
    runBare(db.get(), "PRAGMA synchronous=NORMAL");
    sqlite3_create_collation_v2(
        db.get(), "TSQL", SQLITE_UTF8, nullptr,
        [](void *, int lengthA, const void *a, int lengthB, const void *b) {
            return host::tsql::compareText(static_cast<const char *>(a), lengthA,
                                           static_cast<const char *>(b), lengthB);
        },
        nullptr);
    return db;
}

namespace {

constexpr const char *kKey = " WHERE FInterID=1 AND FStockID=? AND FItemID=? AND FStockPlaceID=? "
                             "AND FKFPeriod=? AND FAuxPropID=? AND FUnitID=? AND FKFDate=? AND "
                             "FBatchNo=? AND FMtoNo=?";

void bindKey(sqlite3_stmt *stmt, int first, const LineValues &v)
{
    for (std::size_t i = 0; i < v.key.size(); ++i)
        sqlite3_bind_int64(stmt, first + static_cast<int>(i), v.key[i]);
    const int texts = first + static_cast<int>(v.key.size());
    sqlite3_bind_text(stmt, texts, v.kfDate.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(stmt, texts + 1, v.batchNo.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(stmt, texts + 2, v.mtoNo.c_str(), -1, SQLITE_STATIC);
}

int compareTexts(const std::string &a, const std::string &b)
{
    return host::tsql::compareText(a.data(), static_cast<int>(a.size()), b.data(),
                                   static_cast<int>(b.size()));
}

// The lines in the order of the count lines' key index (process, item, auxiliary property,
// unit, batch, plan-tracking number, shelf life, stock, place, date).
std::vector<const LineValues *> inKeyOrder(const std::vector<LineValues> &lines)
{
    std::vector<const LineValues *> ordered;
    ordered.reserve(lines.size());
    for (const LineValues &v : lines)
        ordered.push_back(&v);
    enum
    {
        Stock,
        Item,
        Place,
        Period,
        Aux,
        Unit
    };
    std::sort(ordered.begin(), ordered.end(), [](const LineValues *a, const LineValues *b) {
        for (const int k : {Item, Aux, Unit})
            if (a->key[k] != b->key[k])
                return a->key[k] < b->key[k];
        if (const int c = compareTexts(a->batchNo, b->batchNo); c != 0)
            return c < 0;
        if (const int c = compareTexts(a->mtoNo, b->mtoNo); c != 0)
            return c < 0;
        for (const int k : {Period, Stock, Place})
            if (a->key[k] != b->key[k])
                return a->key[k] < b->key[k];
        return compareTexts(a->kfDate, b->kfDate) < 0;
    });
    return ordered;
}

} // namespace

std::string asBackedUp(const std::string &table)
{
    std::string held;
    for (const char *column :
         {"FQty", "FAdjQty", "FCheckQty", "FQtyAct", "FAuxCheckQty", "FAuxQtyAct", "FAuxQty",
          "FSecQty", "FSecQtyAct", "FSecCheckQty", "FSecAdjQty", "FBal"})
        held += std::string(",") + column + "=tsql_decimal(" + column + ",10)";
    return "UPDATE " + table + " SET FChecker=NULL,FNote=NULL,FMinus=NULL,FSecMinus=0" + held;
}

long bareSave(const std::string &path, const std::vector<LineValues> &lines)
{
    const PlainConnection db = openPlain(path);
    Prepared quantities(db.get(),
                        std::string("UPDATE ICInvBackup SET FCheckQty=?,FQtyAct=?,FAuxQty=?,"
                                    "FQty=?,FAuxCheckQty=?,FAuxQtyAct=?,FAdjQty=?,FSecQty=?,"
                                    "FSecQtyAct=?,FSecCheckQty=?,FSecAdjQty=?,FNote=?,"
                                    "FChecker=16") +
                            kKey);
    Prepared differences(db.get(),
                         std::string("UPDATE ICInvBackup SET FMinus=FQtyAct-FQty-"
                                     "FAdjQty*?,FSecMinus=FSecQtyAct-FSecQty-FSecAdjQty") +
                             kKey);
    const std::vector<const LineValues *> ordered = inKeyOrder(lines);
    long unmatched = 0;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        if (i % 100 == 0)
            runBare(db.get(), "BEGIN IMMEDIATE");
        const LineValues &v = *ordered[i];
        for (std::size_t c = 0; c < v.set.size(); ++c)
            sqlite3_bind_double(*quantities, static_cast<int>(c) + 1, v.set[c]);
        sqlite3_bind_text(*quantities, 12, v.note.c_str(), -1, SQLITE_STATIC);
        bindKey(*quantities, 13, v);
        if (quantities.run() == 0)
            ++unmatched;
        sqlite3_bind_double(*differences, 1, v.coefficient);
        bindKey(*differences, 2, v);
        differences.run();
        if (i % 100 == 99 || i + 1 == ordered.size())
            runBare(db.get(), "COMMIT");
    }
    // What was saved is in the file itself, as after the module's save.
    runBare(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)");
    return unmatched;
}
