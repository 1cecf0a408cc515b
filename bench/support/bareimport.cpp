#include "support/bareimport.h"

#include "host/core/datetime.h"
#include "host/core/text.h"
#include "host/core/variant.h"
#include "host/db/recordset/recordset.h"
#include "host/db/sqlite/storage.h"
#include "support/barequery.h"

#include <expat.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

void writeWorkbook(const std::filesystem::path &file, host::Recordset &sheet)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(file.c_str(), &options);
    lxw_worksheet *worksheet = workbook_add_worksheet(workbook, nullptr);
    for (long c = 0; c < sheet.FieldCount(); ++c) {
        const std::string name = sheet.Fields(c).Name();
        worksheet_write_string(worksheet, 0, static_cast<lxw_col_t>(c),
                               name == "KFDate" ? "生产/采购日期" : name.c_str(), nullptr);
    }
    lxw_row_t row = 1;
    for (sheet.MoveFirst(); !sheet.EOF(); sheet.MoveNext(), ++row) {
        for (long c = 0; c < sheet.FieldCount(); ++c) {
            const host::Variant value = sheet.Fields(c).Value();
            const auto col = static_cast<lxw_col_t>(c);
            if (value.isNull())
                continue;
            if (value.isNumeric())
                worksheet_write_number(worksheet, row, col, host::CDbl(value), nullptr);
            else
                worksheet_write_string(worksheet, row, col, host::CStr(value).c_str(), nullptr);
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        throw std::runtime_error("cannot write " + file.string());
}

std::string sheetQuery(long long interId, long sheetLines)
{
    return "select top " + std::to_string(sheetLines) +
           " s.FNumber as StockNumber,s.FName as StockName,p.FNumber as SPNumber,"
           "p.FName as SPName,i.FNumber as ItemNumber,i.FName as ItemName,i.FModel as Model,"
           "a.FNumber as AuxPropNumber,a.FName as AuxPropName,t1.FBatchNo as BatchNo,"
           "case when t1.FKFDate='' then null else t1.FKFDate end as KFDate,"
           "case when t1.FKFPeriod=0 then null else t1.FKFPeriod end as KFPeriod,"
           "u.FNumber as FUnitNumber,u.FName as FUnitName,t1.FQty as FBaseUnitQtyAct,"
           "t1.FQty as FBaseUnitQty,t1.FQty as FBaseUnitQtyChk,cu.FNumber as FCCUnitNumber,"
           "cu.FName as FCCUnitName,t1.FAuxQty as FQtyAct,t1.FAuxQty as FQty,"
           "t1.FAuxQty+1 as CheckQty,0 as AdjQty,su.FNumber as FSecUnitNumber,"
           "su.FName as FSecUnitName,null as Coefficient,t1.FSecQty as FSecUnitQty,"
           "t1.FSecQty as FSecQtyAct,"
           "case when t1.FSecQty=0 then null else t1.FSecQty+1 end as FSecCheckQty,"
           "0 as FSecAdjQty,'counted' as FNote "
           "from ICInvBackup t1 inner join t_Stock s on t1.FStockID=s.FItemID "
           "inner join t_StockPlace p on t1.FStockPlaceID=p.FSPID "
           "inner join t_ICItem i on t1.FItemID=i.FItemID "
           "inner join t_MeasureUnit u on i.FUnitID=u.FMeasureUnitID "
           "inner join t_MeasureUnit cu on t1.FUnitID=cu.FMeasureUnitID "
           "left join t_MeasureUnit su on t1.FSecUnitID=su.FMeasureUnitID "
           "left join t_AuxItem a on t1.FAuxPropID=a.FItemID "
           "where t1.FMtoNo='' and t1.FInterID=" +
           std::to_string(interId) +
           " and ((i.FBatchManager=1 and t1.FBatchNo<>'') or (i.FBatchManager<>1 and "
           "t1.FBatchNo='')) and ((i.FAuxClassID>0 and t1.FAuxPropID<>0) or (i.FAuxClassID<=0 "
           "and t1.FAuxPropID=0)) and ((i.FIsKFPeriod>0 and t1.FKFDate<>'' and t1.FKFPeriod<>0) "
           "or (i.FIsKFPeriod<=0 and t1.FKFDate='' and t1.FKFPeriod=0))";
}

namespace {

// Key "number|name[|...]" to the first column, from a query whose other columns make the key;
// a later row with the same key replaces an earlier one.
using Lookup = std::unordered_map<std::string, long long>;
Lookup lookup(sqlite3 *db, const char *sql)
{
    Lookup map;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string key;
        for (int i = 1; i < columns; ++i) {
            const auto *t = sqlite3_column_text(stmt, i);
            if (i > 1)
                key += '|';
            if (t)
                key += reinterpret_cast<const char *>(t);
        }
        map[key] = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    return map;
}

// The base data the import reads before the sheet, each as its own lookup.
struct BareBaseData
{
    explicit BareBaseData(sqlite3 *db)
        : items(lookup(db, "select FItemID,trim(FNumber),trim(FName) from t_ICItem")),
          secUnits(lookup(db, "select FSecUnitID,trim(FNumber),trim(FName) from t_ICItem "
                              "where FSecUnitID>0")),
          auxClasses(lookup(db, "select FAuxClassID,trim(FNumber),trim(FName) from t_ICItem "
                                "where FAuxClassID>0")),
          periods(lookup(db, "select FSecUnitID,trim(FNumber),trim(FName) from t_ICItem "
                             "where FIsKFPeriod>0")),
          stocks(lookup(db, "select FItemID,trim(FNumber),trim(FName) from t_Stock")),
          places(lookup(db, "select FSPID,trim(FNumber),trim(FName) from t_StockPlace")),
          placesInStocks(lookup(db, "select p.FSPID,trim(p.FNumber),trim(p.FName),"
                                    "trim(s.FNumber),trim(s.FName) from t_StockPlace p "
                                    "join t_Stock s on p.FSPGroupID=s.FSPGroupID")),
          auxItems(lookup(db, "select FItemID,trim(FNumber),trim(FName) from t_AuxItem")),
          units(lookup(db, "select FMeasureUnitID,trim(FNumber),trim(FName) from t_MeasureUnit")),
          batches(lookup(db, "select FBatchManager,trim(FNumber),trim(FName) from t_ICItem "
                             "where FBatchManager=1")),
          serials(lookup(db, "select ifnull(FSerialClassID,0),trim(FNumber),trim(FName) from "
                             "t_ICItem where FISSNManage=1")),
          auxItemClasses(lookup(db, "select FItemClassID,trim(FNumber),FName,FItemClassID from "
                                    "t_AuxItem where FItemClassID>0"))
    {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, "select FMeasureUnitID,FCoefficient from t_MeasureUnit", -1, &stmt,
                           nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            coefficients.emplace(sqlite3_column_int64(stmt, 0), sqlite3_column_double(stmt, 1));
        sqlite3_finalize(stmt);
    }

    Lookup items, secUnits, auxClasses, periods, stocks, places, placesInStocks, auxItems, units,
        batches, serials, auxItemClasses;
    std::unordered_map<long long, double> coefficients;
};

// The first worksheet's lines as they come out of the archive: the cells of each line as
// trimmed texts by column, numbers as written.
class BareSheetReader
{
public:
    using Line = std::vector<std::string>;

    // Calls onLine for every line after the header.
    template <typename OnLine> static void read(const std::filesystem::path &file, OnLine onLine)
    {
        int error = 0;
        zip_t *archive = zip_open(file.c_str(), ZIP_RDONLY, &error);
        if (!archive)
            throw std::runtime_error("cannot open " + file.string());
        BareSheetReader reader;
        reader.readPart(archive, "xl/sharedStrings.xml", true);
        zip_file_t *part = zip_fopen(archive, "xl/worksheets/sheet1.xml", 0);
        XML_Parser parser = reader.parser(false);
        std::vector<char> chunk(64 * 1024);
        for (;;) {
            const zip_int64_t got = zip_fread(part, chunk.data(), chunk.size());
            if (got < 0 ||
                XML_Parse(parser, chunk.data(), static_cast<int>(got), got == 0) != XML_STATUS_OK)
                throw std::runtime_error("cannot read the worksheet");
            for (Line &line : reader.m_lines)
                onLine(line);
            reader.m_lines.clear();
            if (got == 0)
                break;
        }
        XML_ParserFree(parser);
        zip_fclose(part);
        zip_discard(archive);
    }

private:
    XML_Parser parser(bool strings)
    {
        XML_Parser p = XML_ParserCreate(nullptr);
        XML_SetUserData(p, this);
        XML_SetElementHandler(p, strings ? startString : startCell, strings ? endString : endCell);
        XML_SetCharacterDataHandler(p, text);
        return p;
    }

    void readPart(zip_t *archive, const char *name, bool strings)
    {
        zip_file_t *part = zip_fopen(archive, name, 0);
        if (!part)
            return;
        XML_Parser p = parser(strings);
        std::vector<char> chunk(64 * 1024);
        zip_int64_t got = 0;
        do {
            got = zip_fread(part, chunk.data(), chunk.size());
            XML_Parse(p, chunk.data(), static_cast<int>(got), got <= 0);
        } while (got > 0);
        XML_ParserFree(p);
        zip_fclose(part);
    }

    static std::string_view local(const char *name)
    {
        const std::string_view n(name);
        const size_t colon = n.rfind(':');
        return colon == std::string_view::npos ? n : n.substr(colon + 1);
    }

    static void startString(void *data, const char *name, const char **)
    {
        auto *r = static_cast<BareSheetReader *>(data);
        const auto n = local(name);
        if (n == "si")
            r->m_text.clear();
        r->m_inText = n == "t";
    }

    static void endString(void *data, const char *name)
    {
        auto *r = static_cast<BareSheetReader *>(data);
        r->m_inText = false;
        if (local(name) == "si")
            r->m_strings.push_back(r->m_text);
    }

    static void startCell(void *data, const char *name, const char **attributes)
    {
        auto *r = static_cast<BareSheetReader *>(data);
        const auto n = local(name);
        if (n == "row") {
            r->m_line.assign(32, std::string());
            r->m_column = 0;
        } else if (n == "c") {
            r->m_shared = false;
            r->m_text.clear();
            for (const char **a = attributes; *a; a += 2) {
                const std::string_view attribute(a[0]);
                if (attribute == "r") {
                    size_t column = 0;
                    for (const char *c = a[1]; *c >= 'A' && *c <= 'Z'; ++c)
                        column = column * 26 + static_cast<size_t>(*c - 'A' + 1);
                    r->m_column = column - 1;
                } else if (attribute == "t") {
                    r->m_shared = std::string_view(a[1]) == "s";
                }
            }
        } else {
            r->m_inText = n == "v" || n == "t";
        }
    }

    static void endCell(void *data, const char *name)
    {
        auto *r = static_cast<BareSheetReader *>(data);
        const auto n = local(name);
        r->m_inText = false;
        if (n == "c") {
            std::string value = r->m_shared ? r->m_strings.at(std::stoul(r->m_text)) : r->m_text;
            if (r->m_column < r->m_line.size())
                r->m_line[r->m_column] = host::Trim(value);
            ++r->m_column;
        } else if (n == "row") {
            if (r->m_header)
                r->m_header = false;
            else
                r->m_lines.push_back(std::move(r->m_line));
        }
    }

    static void text(void *data, const char *s, int length)
    {
        auto *r = static_cast<BareSheetReader *>(data);
        if (r->m_inText)
            r->m_text.append(s, static_cast<size_t>(length));
    }

    std::vector<std::string> m_strings;
    std::vector<Line> m_lines;
    Line m_line;
    std::string m_text;
    size_t m_column = 0;
    bool m_inText = false;
    bool m_shared = false;
    bool m_header = true;
};

std::string key(const std::string &number, const std::string &name)
{
    return number + "|" + name;
}

long long idOf(const Lookup &map, const std::string &k)
{
    const auto it = map.find(k);
    return it == map.end() ? 0LL : it->second;
}

// The row checks of the import: the base data the row names exists, and batch, auxiliary
// property and shelf life are given exactly where the item is managed by them.
bool acceptable(const BareBaseData &d, const std::vector<std::string> &cells)
{
    const std::string item = key(cells[4], cells[5]);
    if (!d.items.contains(item) || !d.units.contains(key(cells[12], cells[13])) ||
        !d.units.contains(key(cells[17], cells[18])) ||
        !d.stocks.contains(key(cells[0], cells[1])) || !d.places.contains(key(cells[2], cells[3])))
        return false;
    if (d.batches.contains(item) == cells[9].empty())
        return false;
    const auto aux = d.auxClasses.find(item);
    if ((aux != d.auxClasses.end()) == cells[8].empty())
        return false;
    if (aux != d.auxClasses.end() &&
        !d.auxItemClasses.contains(key(cells[7], cells[8]) + "|" + std::to_string(aux->second)))
        return false;
    const bool period = d.periods.contains(item);
    if (period == cells[10].empty() || (period && cells[11].empty()))
        return false;
    return period || cells[11].empty() || host::Val(cells[11]) == 0;
}

constexpr const char *kBareStaging =
    "CREATE TABLE bare_staging (FInterID int not null, FBrNo text not null, "
    "FItemID int not null, FAuxPropID int not null, FUnitID int not null, "
    "FBatchNo text COLLATE TSQL not null, FMtoNo text COLLATE TSQL not null, FStockID int not null, "
    "FQty real, FSelect int not null, FAdj int not null, FAdjQty real not null, FDateBackup text, "
    "FMaxBillInterID int, FCheckQty real, FQtyAct real, FAuxCheckQty real, FAuxQtyAct real, "
    "FAuxQty real, FMinus real, FNote text, FStockPlaceID int not null, "
    "FKFDate text COLLATE TSQL not null default '', FKFPeriod int not null default 0, "
    "FSecUnitID int not null default 0, FSecQty real not null default 0, "
    "FSecQtyAct real not null default 0, FSecCheckQty real not null default 0, "
    "FSecAdjQty real not null default 0, FSecMinus real not null default 0, "
    "FRowNum int not null default 0, FChecker int)";

// A staging row's key equals a count line's.
constexpr const char *kSameLine =
    "t.FItemID=b.FItemID AND t.FInterID=b.FInterID AND t.FAuxPropID=b.FAuxPropID AND "
    "t.FUnitID=b.FUnitID AND t.FBatchNo=b.FBatchNo AND t.FMtoNo=b.FMtoNo AND "
    "t.FKFDate=b.FKFDate AND t.FKFPeriod=b.FKFPeriod AND t.FStockID=b.FStockID AND "
    "t.FStockPlaceID=b.FStockPlaceID";

constexpr const char *kConflict = "(FMinus=0 AND FSecMinus<>0) OR (FMinus>0 AND FSecMinus<0) OR "
                                  "(FMinus<0 AND FSecMinus>0)";

// The count's quantities are decimals of 10 places; arithmetic on them keeps the places the
// server's decimal arithmetic keeps, so a plain program rounds where the server would.
double decimal10(double value)
{
    return host::roundDecimal(value, 10);
}

void roundedTo(sqlite3_context *context, int, sqlite3_value **args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL)
        sqlite3_result_null(context);
    else
        sqlite3_result_double(
            context, host::roundDecimal(sqlite3_value_double(args[0]), sqlite3_value_int(args[1])));
}

// Stages the sheet's acceptable lines as the module does, as they are read: one prepared
// statement, committed after the 101st record and then every 100 records as the module's
// batches are; the refused lines' numbers go to refused.
void stageSheet(const BareImport &ic, const BareBaseData &d, std::vector<std::string> &refused)
{
    sqlite3 *db = ic.db;
    long long maxBillInterID = 0;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT FMaxBillInterID FROM ICStockCheckProcess WHERE FID=?", -1, &stmt,
                       nullptr);
    sqlite3_bind_int64(stmt, 1, ic.interId);
    if (sqlite3_step(stmt) == SQLITE_ROW)
        maxBillInterID = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    const std::string backupTime = host::formatDate(host::now(), "YYYY-MM-DD HH:NN:SS");
    sqlite3_prepare_v2(db,
                       "INSERT INTO bare_staging VALUES (?,'0',?,?,?,?,'',?,0,0,0,?,?,?,?,?,?,?,0,"
                       "0,?,?,?,?,?,0,?,?,?,0,?,?)",
                       -1, &stmt, nullptr);
    long recordNo = 0;
    runBare(db, "BEGIN");
    BareSheetReader::read(ic.workbook, [&](const std::vector<std::string> &cells) {
        ++recordNo;
        if (recordNo % 100 == 1 && recordNo > 101)
            runBare(db, "COMMIT;BEGIN");
        if (!acceptable(d, cells)) {
            refused.push_back(std::to_string(recordNo));
            return;
        }
        const long long unitId = idOf(d.units, key(cells[17], cells[18]));
        const double coefficient = d.coefficients.at(unitId);
        const std::string place = key(cells[2], cells[3]);
        const auto inStock = d.placesInStocks.find(place + "|" + key(cells[0], cells[1]));
        const double checkQty = host::Val(cells[21]);
        const double adjQty = host::Val(cells[22]);
        const double secCheckQty = host::Val(cells[28]);
        const double rate = secCheckQty != 0 ? checkQty * coefficient / secCheckQty : 0.0;
        int p = 0;
        sqlite3_bind_int64(stmt, ++p, ic.interId);
        sqlite3_bind_int64(stmt, ++p, idOf(d.items, key(cells[4], cells[5])));
        sqlite3_bind_int64(stmt, ++p, idOf(d.auxItems, key(cells[7], cells[8])));
        sqlite3_bind_int64(stmt, ++p, unitId);
        sqlite3_bind_text(stmt, ++p, cells[9].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, ++p, idOf(d.stocks, key(cells[0], cells[1])));
        sqlite3_bind_double(stmt, ++p, decimal10(adjQty));
        sqlite3_bind_text(stmt, ++p, backupTime.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int64(stmt, ++p, maxBillInterID);
        for (const double qty :
             {checkQty * coefficient, checkQty * coefficient, checkQty, checkQty})
            sqlite3_bind_double(stmt, ++p, decimal10(qty));
        sqlite3_bind_text(stmt, ++p, cells[30].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(
            stmt, ++p, inStock != d.placesInStocks.end() ? inStock->second : idOf(d.places, place));
        sqlite3_bind_text(stmt, ++p, cells[10].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, ++p, static_cast<long long>(host::Val(cells[11])));
        sqlite3_bind_int64(stmt, ++p, idOf(d.units, key(cells[23], cells[24])));
        sqlite3_bind_double(stmt, ++p, decimal10(secCheckQty));
        sqlite3_bind_double(stmt, ++p, decimal10(secCheckQty));
        sqlite3_bind_double(stmt, ++p, decimal10(rate != 0 ? adjQty * coefficient / rate : 0.0));
        sqlite3_bind_int64(stmt, ++p, recordNo);
        sqlite3_bind_int64(stmt, ++p, ic.operatorId);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(stmt);
    });
    runBare(db, "COMMIT");
    sqlite3_finalize(stmt);
}

} // namespace

size_t bareImport(const BareImport &ic)
{
    sqlite3 *db = ic.db;
    sqlite3_create_function(db, "bare_round", 2,
                            SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                            roundedTo, nullptr, nullptr);
    const BareBaseData d(db);
    std::vector<std::string> refused;
    runBare(db, kBareStaging);
    stageSheet(ic, d, refused);
    runBare(db,
            std::string("BEGIN;"
                        "UPDATE bare_staging AS t SET FQty=b.FQty,FSecQty=b.FSecQty,"
                        "FSecAdjQty=bare_round(t.FSecAdjQty,c.FQtyDecimal),"
                        "FCheckQty=CASE WHEN t.FAuxCheckQty=b.FAuxCheckQty THEN b.FCheckQty "
                        "ELSE t.FCheckQty END,"
                        "FQtyAct=CASE WHEN t.FAuxCheckQty=b.FAuxCheckQty THEN b.FCheckQty "
                        "ELSE t.FQtyAct END "
                        "FROM ICInvBackup b JOIN t_ICItemBase c ON c.FItemID=b.FItemID WHERE ") +
                kSameLine +
                ";UPDATE bare_staging AS t SET FMinus=bare_round(bare_round(bare_round("
                "t.FCheckQty-t.FQty,10)-bare_round(t.FAdjQty*u.FCoefficient,6),6),10),"
                "FSecMinus=bare_round(bare_round(t.FSecCheckQty-t.FSecQty,10)-t.FSecAdjQty,10) "
                "FROM t_MeasureUnit u "
                "WHERE t.FUnitID=u.FMeasureUnitID;COMMIT");
    for (const auto &row :
         bareRowsAsText(db, std::string("SELECT FRowNum FROM bare_staging WHERE ") + kConflict))
        refused.push_back(row[0]);
    runBare(db, std::string("DELETE FROM bare_staging WHERE ") + kConflict);
    runBare(
        db,
        std::string("BEGIN;"
                    "UPDATE bare_staging AS a SET FStockPlaceID=ifnull((SELECT p.FSPID FROM "
                    "t_StockPlace p WHERE p.FSPGroupID=b.FSPGroupID AND p.FNumber=c.FNumber AND "
                    "p.FName=c.FName LIMIT 1),0) FROM t_Stock b, t_StockPlace c "
                    "WHERE a.FStockID=b.FItemID AND a.FStockPlaceID=c.FSPID AND "
                    "a.FStockPlaceID>0 AND b.FIsStockMgr=1 AND b.FSPGroupID>0 AND EXISTS (SELECT 1 "
                    "FROM t_StockPlace p WHERE p.FSPGroupID=b.FSPGroupID AND p.FNumber=c.FNumber "
                    "AND p.FName=c.FName);"
                    "UPDATE ICInvBackup AS b SET FBrNo=t.FBrNo,FSelect=t.FSelect,FAdj=t.FAdj,"
                    "FAdjQty=t.FAdjQty,FMaxBillInterID=t.FMaxBillInterID,FCheckQty=t.FCheckQty,"
                    "FQtyAct=t.FQtyAct,FAuxCheckQty=t.FAuxCheckQty,FAuxQtyAct=t.FAuxQtyAct,"
                    "FMinus=t.FMinus,FNote=t.FNote,FSecUnitID=t.FSecUnitID,"
                    "FSecMinus=t.FSecMinus,FSecQtyAct=t.FSecCheckQty,"
                    "FSecCheckQty=t.FSecCheckQty,FSecAdjQty=t.FSecAdjQty,FChecker=t.FChecker "
                    "FROM bare_staging t, t_MeasureUnit a WHERE b.FUnitID=a.FMeasureUnitID AND ") +
            kSameLine +
            ";UPDATE ICInvBackup AS b SET FBatchNo=t.FBatchNo,FMtoNo=t.FMtoNo,FKFDate=t.FKFDate " +
            "FROM bare_staging t WHERE " + kSameLine +
            " AND (b.FBatchNo<>t.FBatchNo COLLATE BINARY OR b.FMtoNo<>t.FMtoNo COLLATE BINARY OR "
            "b.FKFDate<>t.FKFDate COLLATE BINARY)" +
            ";INSERT INTO ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,"
            "FMtoNo,FStockID,FQty,FSelect,FAdj,FAdjQty,FDateBackup,FMaxBillInterID,FCheckQty,"
            "FQtyAct,FAuxCheckQty,FAuxQtyAct,FAuxQty,FMinus,FNote,FStockPlaceID,FKFDate,"
            "FKFPeriod,FSecUnitID,FSecQty,FChecker,FSecQtyAct,FSecCheckQty,FSecAdjQty,"
            "FSecMinus) SELECT t.FInterID,t.FBrNo,t.FItemID,t.FAuxPropID,t.FUnitID,t.FBatchNo,"
            "t.FMtoNo,t.FStockID,0,t.FSelect,t.FAdj,t.FAdjQty,t.FDateBackup,t.FMaxBillInterID,"
            "t.FCheckQty,t.FQtyAct,t.FAuxCheckQty,t.FAuxQtyAct,0,t.FMinus,t.FNote,"
            "t.FStockPlaceID,t.FKFDate,t.FKFPeriod,t.FSecUnitID,0,t.FChecker,t.FSecQtyAct,"
            "t.FSecCheckQty,t.FSecAdjQty,t.FSecMinus FROM bare_staging t LEFT JOIN "
            "ICInvBackup b ON " +
            kSameLine +
            " WHERE b.FItemID IS NULL;"
            "DROP TABLE bare_staging;COMMIT;"
            // What was imported is in the file itself, as after the module's import.
            "PRAGMA wal_checkpoint(TRUNCATE)");
    return refused.size();
}

std::string storedRows(const std::string &table, bool withBackupTime)
{
    constexpr std::array<const char *, 32> kColumns = {
        "FInterID",      "FBrNo",        "FItemID",         "FAuxPropID", "FUnitID",
        "FBatchNo",      "FMtoNo",       "FStockID",        "FQty",       "FSelect",
        "FAdj",          "FAdjQty",      "FMaxBillInterID", "FCheckQty",  "FQtyAct",
        "FAuxCheckQty",  "FAuxQtyAct",   "FAuxQty",         "FMinus",     "FNote",
        "FStockPlaceID", "FKFDate",      "FKFPeriod",       "FSecUnitID", "FSecQty",
        "FSecQtyAct",    "FSecCheckQty", "FSecAdjQty",      "FSecMinus",  "FChecker",
        "FBal",          "FBillInterID"};
    std::string sql;
    for (const std::string column : kColumns)
        sql += (sql.empty() ? "SELECT " : ",") + std::string("typeof(") + column +
               ")||':'||quote(" + column + ") AS " + column;
    if (withBackupTime)
        sql += ",typeof(FDateBackup)||':'||quote(FDateBackup) AS FDateBackup";
    return sql + " FROM " + table;
}
