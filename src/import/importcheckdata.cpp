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
#include "import/staginglifetime.h"
#include "import/stagingrow.h"
#include "import/tempinsertsql.h"
#include "services/appconn.h"
#include "services/databasefailure.h"
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

void send(host::StringBuilder &batch)
{
    if (batch.Length() == 0)
        return;
    appConn().Execute(batch.StringValue());
    batch.Remove(1, batch.Length());
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

// A failure that is not the sheet's fault is told with its cause; it must not send the user
// looking for a wrong record.
std::string failureMessage(const std::exception &error, long record)
{
    std::optional<std::string> cause = databaseFailureCause(error);
    if (!cause && dynamic_cast<const StagingTable::NameTaken *>(&error))
        cause = MParse::LoadLangString("引入临时表的名称都已被其他引入占用。");
    if (!cause)
        return MParse::FormatLangString("第%1条记录存在非法数据,盘点引入失败", {record + 2});
    return MParse::LoadLangString("盘点引入失败") + "\n" + *cause;
}

} // namespace

bool ImportCheckData(std::shared_ptr<host::Recordset> &rs)
{
    auto &m = module();
    const bool mtoPlanMode = m.gMtoPlanMode == 1;
    long i = 0;
    std::string tableName;
    bool tableCreated = false;
    try {
        std::optional<host::ui::BusyCursor> busy;
        const auto columns = ImportSheet::columnMap(mtoPlanMode);
        host::StringBuilder batch;
        if (m.gIsTest)
            chooseTestProcess();
        const long userId = MParse::GetUserID();
        const double startTime = host::now();
        StagingTable::dropLeftovers(userId, startTime);
        busy.emplace();
        const BaseDataDicts dicts = BaseDataDicts::load();
        // Created on its own rather than with the first rows, so that a name another run of
        // the same second holds is noticed and passed over.
        tableName = StagingTable::create(userId, startTime);
        tableCreated = true;
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
                send(batch);
            rs->MoveNext();
        }
        send(batch);

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
    } catch (const std::exception &error) {
        if (tableCreated)
            StagingTable::drop(tableName);
        ShowErrMsg(failureMessage(error, i));
        return false;
    }
}

} // namespace PubVariant
