#include "import/importrun.h"

#include "host/core/datetime.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/databasefault.h"
#include "host/importer/sheetrecords.h"
#include "import/basedatadicts.h"
#include "import/directioncheck.h"
#include "import/importrowcheck.h"
#include "import/importsheet.h"
#include "import/mergesql.h"
#include "import/staginglifetime.h"
#include "import/stagingrow.h"
#include "import/stagingwriter.h"
#include "services/appconn.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/transaction.h"

namespace {

constexpr long kBatchRecords = 100;

long maxBillInterID()
{
    const auto rs = appConn().Execute("SELECT FMaxBillInterID FROM ICStockCheckProcess WHERE FID=" +
                                      std::to_string(module().gCurInterID));
    return host::CLng(rs->Fields("FMaxBillInterID").Value());
}

} // namespace

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

ImportRun::ImportRun(bool mtoPlanMode, Refusal refused)
    : m_mtoPlanMode(mtoPlanMode), m_refusal(std::move(refused))
{}

void ImportRun::run(host::SheetRecords &sheet)
{
    const long userId = MParse::GetUserID();
    const double startTime = host::now();
    StagingTable::dropLeftovers(userId, startTime);
    const BaseDataDicts dicts = BaseDataDicts::load();
    // Created on its own rather than with the first rows, so that a name another run of the
    // same second holds is noticed and passed over.
    const StagingTable::Claim table = StagingTable::create(userId, startTime);
    try {
        stageAndMerge(sheet, table.name, dicts);
    } catch (const std::exception &error) {
        // On a busy database the drop would only wait once more before the failure is told;
        // a later run drops the table.
        if (host::databaseFault(error) != host::DatabaseFault::Busy)
            StagingTable::drop(table.name);
        throw;
    }
}

void ImportRun::stageAndMerge(host::SheetRecords &sheet, const std::string &tableName,
                              const BaseDataDicts &dicts)
{
    const auto unitRecords =
        appConn().Execute("select fcoefficient,FMeasureUnitID from t_measureunit");
    const UnitCoefficients units(*unitRecords);
    StagingRun run;
    run.tableName = tableName;
    run.maxBillInterID = maxBillInterID();
    run.backupTime = host::formatDate(host::now(), "YYYY-MM-DD HH:NN:SS");
    run.mtoPlanMode = m_mtoPlanMode;

    const auto columns = ImportSheet::columnMap(m_mtoPlanMode);
    const SheetRow cells(sheet, *columns);
    StagingWriter staging(run, StagingWriter::modeFor(appConn()));
    StagingRow row;
    long read = 0;
    for (; !sheet.EOF(); sheet.MoveNext()) {
        if (!holdsImportedCell(cells))
            continue;
        // Numbered by its sheet line, so that the lines left blank before it do not shift the
        // number the user looks for.
        const long recordNo = static_cast<long>(sheet.sheetLine());
        m_record = recordNo - 1;
        if (const auto message = checkImportRow(cells, dicts, recordNo, m_mtoPlanMode)) {
            m_refusal(*message);
            m_refused = true;
        } else {
            fillStagingRow(row, cells, dicts, units, m_mtoPlanMode, recordNo);
            staging.add(row);
        }
        if (read % kBatchRecords == 0 && read != 0)
            staging.send();
        ++read;
    }
    if (read != 0)
        ++m_record;
    staging.send();

    std::shared_ptr<host::Recordset> directions;
    try {
        directions = PubVariant::CheckTempUnitDirection(tableName);
    } catch (const host::HostError &e) {
        throw DirectionCheckFailed(e.Description(), e.Number());
    }
    if (directions && directions->State() == host::Recordset::adStateOpen) {
        for (; !directions->EOF(); directions->MoveNext()) {
            m_refusal(
                MParse::FormatLangString("第%1条记录基本单位与辅助计量单位盘盈盘亏方向不一致!",
                                         {directions->Fields(0).Value()}));
            m_refused = true;
        }
    }

    // Staged rows either all reach the count lines or none do.
    const bool embedded = StagingWriter::modeFor(appConn()) == StagingWriter::Mode::Bound;
    executeInTransaction((embedded ? PubVariant::GetUpdateKeepingKeysFromTempSQL(tableName)
                                   : PubVariant::GetUpdateFromTempSQL(tableName)) +
                         PubVariant::GetInsertFromTempSQL(tableName) + host::kCrLf);
}
