#include "importfixture.h"

#include "import/importsheet.h"
#include "services/modulestate.h"

#include <xlsxwriter.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct TestItem
{
    long id;
    const char *number;
    const char *name;
    long cuUnit;
    long secUnit;
    long auxClass;
    int batch;
    int shelfLife;
    int serial;
};

constexpr TestItem kItems[] = {
    {9001, "T.001", "螺栓", 100, 0, 0, 0, 0, 0},
    {9002, "T.002", "批次件", 100, 0, 0, 1, 0, 0},
    {9003, "T.003", "辅助件", 100, 0, 3001, 0, 0, 0},
    {9004, "T.004", "保质件", 100, 0, 0, 0, 1, 0},
    {9005, "T.005", "序列件", 100, 0, 0, 0, 0, 1},
    {9006, "T.006", "双单位件", 102, 105, 0, 0, 0, 0},
};

const TestItem &testItem(long id)
{
    for (const auto &item : kItems) {
        if (item.id == id)
            return item;
    }
    throw std::invalid_argument("no such test item");
}

// Short numbers differ from full ones, so a test sees which form was matched.
std::string shortNumber(const std::string &number)
{
    std::string s = number;
    s.erase(std::remove(s.begin(), s.end(), '.'), s.end());
    return "S" + s;
}

} // namespace

void ImportDatabaseTest::SetUp()
{
    ServicesDatabaseTest::SetUp();
    useContext("UserID=16;LANGUAGE=CHS;SUBID=ic");
    module().gOperatorID = kOperator;
    // Sheets are written without the plan-tracking column unless a test turns the mode on.
    setOption("EnableMtoPlanMode", "0");
    // A parameterised test's name holds a "/", which would make a folder inside a folder.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    m_dir = std::filesystem::temp_directory_path() /
            ("import-test-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::create_directories(m_dir);

    for (const auto &item : kItems) {
        const std::string id = std::to_string(item.id);
        db->Execute("insert into t_ICItemBase (FItemID,FNumber,FShortNumber,FName,FUnitGroupID,"
                    "FUnitID,FStoreUnitID,FCUUnitID,FSecUnitID,FQtyDecimal,FAuxClassID) values (" +
                    id + ",'" + item.number + "','" + shortNumber(item.number) + "','" + item.name +
                    "',1,100,100," + std::to_string(item.cuUnit) + "," +
                    std::to_string(item.secUnit) + ",2," + std::to_string(item.auxClass) + ")");
        db->Execute("insert into t_ICItemMaterial (FItemID,FBatchManager,FISKFPeriod,FKFPeriod,"
                    "FISSNManage,FSerialClassID) values (" +
                    id + "," + std::to_string(item.batch) + "," + std::to_string(item.shelfLife) +
                    "," + std::to_string(item.shelfLife * 180) + "," + std::to_string(item.serial) +
                    "," + (item.serial ? "7" : "null") + ")");
    }
    db->Execute("insert into t_SPGroup (FSPGroupID,FNumber,FName) values (95,'95','测试组')");
    db->Execute("insert into t_Stock (FItemID,FNumber,FShortNumber,FName,FIsStockMgr,FSPGroupID) "
                "values (9501,'T1','ST1','测试仓',1,95)");
    db->Execute("insert into t_StockPlace (FSPID,FSPGroupID,FNumber,FShortNumber,FName) values "
                "(9601,95,'P1','SP1','一号位')");
    db->Execute("insert into ICStockCheckProcess (FID,FProcessID,FDate,FOperatorID,FStatus,"
                "FBackupType,FMaxBillInterID) values (900,'PD900','2026-12-01',16,0,1,77)");
    // Book quantities: item 9001 holds 10, item 9006 holds 10 pieces and 5 in its second unit.
    for (const auto &[item, unit, qty, secQty, secUnit] :
         {std::tuple{9001L, 100L, 10.0, 0.0, 0L}, std::tuple{9006L, 102L, 10.0, 5.0, 105L}}) {
        db->Execute("insert into ICInvBackup (FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,"
                    "FMtoNo,FStockID,FQty,FAuxQty,FSecQty,FSecUnitID,FStockPlaceID,FKFDate,"
                    "FKFPeriod,FCheckQty,FQtyAct,FMinus,FDateBackup,FMaxBillInterID,FNote) values "
                    "(900,'0'," +
                    std::to_string(item) + ",0," + std::to_string(unit) + ",'',''," + "9501," +
                    host::numberToText(qty) + "," + host::numberToText(qty) + "," +
                    host::numberToText(secQty) + "," + std::to_string(secUnit) +
                    ",9601,'',0,0,0,0,'2026-12-01',77,'old')");
    }
    module().gCurInterID = kProcess;
}

void ImportDatabaseTest::TearDown()
{
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
    ServicesDatabaseTest::TearDown();
}

SheetLine ImportDatabaseTest::line(long itemId) const
{
    const bool full = module().gUseShortNumber;
    const auto number = [full](const std::string &n) { return full ? n : shortNumber(n); };
    const TestItem &item = testItem(itemId);
    SheetLine l;
    l["StockNumber"] = full ? "T1" : "ST1";
    l["StockName"] = "测试仓";
    l["SPNumber"] = full ? "P1" : "SP1";
    l["SPName"] = "一号位";
    l["ItemNumber"] = number(item.number);
    l["ItemName"] = item.name;
    l["FUnitNumber"] = "01.01";
    l["FUnitName"] = "个";
    l["FCCUnitNumber"] = item.cuUnit == 102 ? "01.03" : "01.01";
    l["FCCUnitName"] = item.cuUnit == 102 ? "盒" : "个";
    l["CheckQty"] = 1.0;
    if (item.batch)
        l["BatchNo"] = "B01";
    if (item.auxClass) {
        l["AuxPropNumber"] = "01";
        l["AuxPropName"] = "红色";
    }
    if (item.shelfLife) {
        l["KFDate"] = "2026-06-01";
        l["KFPeriod"] = 180.0;
    }
    if (item.secUnit) {
        l["FSecUnitNumber"] = "02.01";
        l["FSecUnitName"] = "千克";
    }
    return l;
}

std::vector<std::string> ImportDatabaseTest::columnNames() const
{
    const auto map = ImportSheet::columnMap(module().gMtoPlanMode == 1);
    return map->Keys();
}

std::vector<std::string> ImportDatabaseTest::headers() const
{
    std::vector<std::string> texts = columnNames();
    for (auto &text : texts) {
        if (text == "KFDate")
            text = "生产/采购日期";
        else if (text == "MtoNo")
            text = "计划跟踪号";
    }
    return texts;
}

namespace {

// Lines held in memory, handed over as the reader hands over a worksheet's.
class SheetInMemory : public host::SheetRecords
{
public:
    explicit SheetInMemory(std::vector<std::vector<host::Variant>> lines)
        : SheetRecords("memory"), m_lines(std::move(lines))
    {
        readHeader();
    }

protected:
    bool readLine(std::uint32_t &line, std::vector<host::Variant> &cells) override
    {
        if (m_next == m_lines.size())
            return false;
        line = static_cast<std::uint32_t>(m_next);
        cells = m_lines[m_next++];
        return true;
    }

private:
    std::vector<std::vector<host::Variant>> m_lines;
    size_t m_next = 0;
};

} // namespace

std::shared_ptr<host::SheetRecords>
ImportDatabaseTest::sheet(const std::vector<SheetLine> &lines) const
{
    const auto names = columnNames();
    std::vector<std::vector<host::Variant>> rows;
    std::vector<host::Variant> header;
    for (const auto &text : headers())
        header.emplace_back(text);
    rows.push_back(std::move(header));
    for (const auto &l : lines) {
        std::vector<host::Variant> row;
        for (const auto &name : names) {
            const auto it = l.find(name);
            row.push_back(it == l.end() ? host::Variant::null() : it->second);
        }
        rows.push_back(std::move(row));
    }
    return std::make_shared<SheetInMemory>(std::move(rows));
}

std::filesystem::path ImportDatabaseTest::writeXlsx(const std::vector<SheetLine> &lines,
                                                    const std::string &column11Header) const
{
    const auto path = m_dir / "count.xlsx";
    lxw_workbook *workbook = workbook_new(path.c_str());
    lxw_worksheet *worksheet = workbook_add_worksheet(workbook, nullptr);
    auto texts = headers();
    if (!column11Header.empty())
        texts[10] = column11Header;
    for (size_t c = 0; c < texts.size(); ++c)
        worksheet_write_string(worksheet, 0, static_cast<lxw_col_t>(c), texts[c].c_str(), nullptr);
    const auto names = columnNames();
    for (size_t r = 0; r < lines.size(); ++r) {
        for (size_t c = 0; c < names.size(); ++c) {
            const auto it = lines[r].find(names[c]);
            if (it == lines[r].end() || it->second.isNull())
                continue;
            const auto row = static_cast<lxw_row_t>(r + 1);
            const auto col = static_cast<lxw_col_t>(c);
            if (it->second.isNumeric())
                worksheet_write_number(worksheet, row, col, host::CDbl(it->second), nullptr);
            else
                worksheet_write_string(worksheet, row, col, host::CStr(it->second).c_str(),
                                       nullptr);
        }
    }
    EXPECT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    return path;
}

host::Variant ImportDatabaseTest::lineValue(long itemId, const std::string &column)
{
    return scalar("select " + column +
                  " from ICInvBackup where FInterID=900 and FItemID=" + std::to_string(itemId));
}

long ImportDatabaseTest::countLines(long itemId)
{
    return host::CLng(scalar("select count(*) from ICInvBackup where FInterID=900 and FItemID=" +
                             std::to_string(itemId)));
}

long ImportDatabaseTest::stagingTables()
{
    return host::CLng(scalar("select count(*) from sqlite_master where type='table' and "
                             "SUBSTRING(name,1,16)='IcInvBackUpTemp_'"));
}
