#include "import/importcheckdata.h"

#include "host/core/datetime.h"
#include "host/core/objectfactory.h"
#include "host/core/sqltext.h"
#include "host/core/stringbuilder.h"
#include "host/db/appconnection.h"
#include "host/displayer/dispbuilder.h"
#include "host/ui/busycursor.h"
#include "import/basedatadicts.h"
#include "import/directioncheck.h"
#include "import/importrowcheck.h"
#include "import/importsheet.h"
#include "import/mergesql.h"
#include "import/stagingrow.h"
#include "import/stagingtable.h"
#include "import/tempinsertsql.h"
#include "services/appconn.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/transaction.h"

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace PubVariant {
namespace {

constexpr long kBatchRecords = 100;

// Returns whether a batch was sent.
bool send(host::StringBuilder &batch)
{
    if (batch.Length() == 0)
        return false;
    appConn().Execute(batch.StringValue());
    batch.Remove(1, batch.Length());
    return true;
}

// The open count processes of the logged-in user; the last one becomes current.
void chooseTestProcess()
{
    auto &m = module();
    m.gUseShortNumber = true;
    MParse::ParseProps(MMTS::GetPropsString());
    const auto processes =
        appConn().Execute("select b.fname as username,a.* from icstockcheckprocess a join t_user b "
                          "on a.foperatorid=b.fuserid  where FStatus = 0 and FOperatorID = " +
                          std::to_string(MParse::GetUserID()));
    processes->MoveLast();
    m.gCurInterID = host::CLng(processes->Fields("FID").Value());
}

long maxBillInterID()
{
    const auto rs = appConn().Execute("SELECT FMaxBillInterID FROM ICStockCheckProcess WHERE FID=" +
                                      std::to_string(module().gCurInterID));
    return host::CLng(rs->Fields("FMaxBillInterID").Value());
}

std::shared_ptr<host::DispBuilder> createErrorList()
{
    auto list = host::CreateObjectAs<host::DispBuilder>(host::DispBuilder::ProgId);
    list->Cols(1);
    list->SetColWidth(1, 7800);
    list->titles(MParse::LoadLangString("错误原因") + "|");
    list->Caption(MParse::LoadLangString("引入错误提示"));
    return list;
}

// The folder of the library this code runs in (the test program when linked statically).
std::filesystem::path componentDir()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&componentDir), &info) == 0 || !info.dli_fname)
        return std::filesystem::current_path();
    return std::filesystem::absolute(info.dli_fname).parent_path();
}

void writeTestTime()
{
    const double elapsed = host::now() - module().gImportStartTime;
    const std::string text =
        elapsed < 1 ? host::formatDate(elapsed, "HH:NN:SS") : host::dateToText(elapsed);
    std::ofstream file(componentDir() / "TestTime.txt", std::ios::app | std::ios::binary);
    file << text << "\r\n";
}

// A run that stopped leaves its staging table behind; nothing else would ever remove it.
void dropStagingTable(const std::string &tableName) noexcept
{
    try {
        appConn().Execute("IF OBJECT_ID('" + tableName + "') IS NOT NULL DROP TABLE " + tableName);
    } catch (const std::exception &) {
        // The run's own failure is what the user is told about.
    }
}

} // namespace

bool ImportCheckData(std::shared_ptr<host::Recordset> &rs)
{
    auto &m = module();
    const bool mtoPlanMode = m.gMtoPlanMode == 1;
    long i = 0;
    std::string tableName;
    bool tableCreated = false; // the first batch sent creates it
    try {
        std::optional<host::ui::BusyCursor> busy;
        const auto columns = ImportSheet::columnMap(mtoPlanMode);
        host::StringBuilder batch;
        if (m.gIsTest)
            chooseTestProcess();
        tableName = StagingTable::name(MParse::GetUserID(), host::now());
        busy.emplace();
        const BaseDataDicts dicts = BaseDataDicts::load();
        batch.Append(StagingTable::createSql(tableName));
        const auto units =
            appConn().Execute("select fcoefficient,FMeasureUnitID from t_measureunit");
        StagingRun run;
        run.tableName = tableName;
        run.maxBillInterID = maxBillInterID();
        run.backupTime = host::formatDate(host::now(), "YYYY-MM-DD HH:NN:SS");
        run.mtoPlanMode = mtoPlanMode;
        const auto errors = createErrorList();
        bool refused = false;

        const SheetRow sheet(*rs, *columns);
        host::Dictionary row;
        const long count = rs->RecordCount();
        for (i = 0; i < count; ++i) {
            if (const auto message = checkImportRow(sheet, dicts, i + 1, mtoPlanMode)) {
                errors->Add(*message + "|");
                refused = true;
            } else {
                fillStagingRow(row, sheet, dicts, *units, run, i + 1);
                batch.Append(GetTempInsertSQL(row));
            }
            if (i % kBatchRecords == 0 && i != 0)
                tableCreated = send(batch) || tableCreated;
            rs->MoveNext();
        }
        tableCreated = send(batch) || tableCreated;

        const auto directions = CheckTempUnitDirection(tableName);
        if (directions && directions->State() == host::Recordset::adStateOpen) {
            const std::string text =
                MParse::LoadLangString("第%1条记录基本单位与辅助计量单位盘盈盘亏方向不一致!");
            for (; !directions->EOF(); directions->MoveNext()) {
                std::string line = text;
                const std::string number = host::CStr(directions->Fields(0).Value());
                if (const size_t at = line.find("%1"); at != std::string::npos)
                    line.replace(at, 2, number);
                errors->Add(line + "|");
                refused = true;
            }
        }

        // Staged rows either all reach the count lines or none do.
        send(batch);
        executeInTransaction(GetUpdateFromTempSQL(tableName) + GetInsertFromTempSQL(tableName) +
                             host::kCrLf);

        busy.reset();
        std::string endText;
        if (refused)
            errors->Show(1);
        else
            endText = MParse::LoadLangString("数据引入完毕!");
        if (m.gIsTest)
            writeTestTime();
        else if (!endText.empty())
            ShowErrMsg(MParse::LoadLangString(endText));
        return true;
    } catch (const std::exception &) {
        if (tableCreated)
            dropStagingTable(tableName);
        ShowErrMsg(MParse::FormatLangString("第%1条记录存在非法数据,盘点引入失败", {i + 2}));
        return false;
    }
}

} // namespace PubVariant
