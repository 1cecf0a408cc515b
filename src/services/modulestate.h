#pragma once

#include "host/core/dictionary.h"
#include "services/columntemplate.h"
#include "services/querycolumn.h"

#include <memory>
#include <string>
#include <vector>

namespace host {
class AppConnection;
class Connection;
class FrmResLoader;
class HostObject;
class LogComponent;
class ResLoader;
class SettingsStore;
} // namespace host

// The module-wide variables, one set for the whole module and shared by every object of it.
// Kept in one place so a test can start from a clean slate.
struct ModuleState
{
    // Entry and host link
    std::shared_ptr<host::AppConnection> gAppConn; // every SQL statement of the module runs here
    std::shared_ptr<host::Connection> gConn;       // only handed to the host bill list
    bool gShowFilterBeforeCheck = false;
    bool gIsTest = false;
    long gOperatorID = 0;
    std::shared_ptr<host::Dictionary> gProcDict;
    bool gOpenFromProcList = false;

    // Options, periods and dates
    long gCurPeriod = 0;
    double gPeriodStart = 0;
    double gPeriodEnd = 0;
    bool gUseShortNumber = false;
    long gMtoPlanMode = 0;
    bool gAlertSameCheckStockRecord = false;

    // Lookups and help
    bool gLookupBusy = false;
    std::shared_ptr<host::HostObject> gHelpTool;

    // Current count process and sheet
    long gCurInterID = 0;
    long gSelInterID = 0;
    long gShowType = 0;
    std::shared_ptr<host::Dictionary> gFilterDict;
    bool gFilterCancelled = false;
    long gMaxBillInterID = 0;
    long gMaxMTOChangeID = 0;

    // Host context string and language resources
    std::shared_ptr<host::Dictionary> g_colProps;
    std::string gPropsString;
    std::string gLanguage;
    std::shared_ptr<host::ResLoader> gResLoader;
    std::shared_ptr<host::FrmResLoader> gFormResLoader;

    // Logging
    std::shared_ptr<host::LogComponent> gLog;
    bool gLogInitDone = false;

    // Count processes and stock backup
    // Whether gMaxBillInterID and gMaxMTOChangeID were read for the backup under way: a backup
    // runs only on maxima taken for it, and a failed read is told to the user once.
    enum class SnapshotMaxima
    {
        NotRead,
        Taken,
        ReadFailed,
        FailureReported
    };
    SnapshotMaxima gSnapshotMaxima = SnapshotMaxima::NotRead;

    // Count-sheet engine
    std::shared_ptr<host::SettingsStore> gIni; // per-user view settings, "StockCheck.ini"
    std::string gHeaderSQL;               // the column-template query of the last built show type
    std::string gMainSQL;                 // the count-sheet query body, up to its WHERE conditions
    std::vector<ColumnTemplate> gColumns; // element i - 1 is ledger column i
    double gSumQty = 0;
    double gSumQtyAct = 0;
    double gSumOverQty = 0;
    double gSumDownQty = 0;
    double gSumCUUnitQty = 0;
    double gSumCUUnitQtyAct = 0;
    double gSumCUUnitOverQty = 0;
    double gSumCUUnitDownQty = 0;
    double gSumSecQty = 0;
    double gSumSecQtyAct = 0;
    double gSumSecOverQty = 0;
    double gSumSecDownQty = 0;

    // Count-sheet window
    std::vector<QueryColumn> gQueryColumns;         // element i - 1 is query column i
    std::shared_ptr<host::Dictionary> gColTypeDict; // export types of the entry-grid columns
    std::string gSelProcName;
    // The count line in focus in the entry grid, handed to the bill selection, which writes
    // the two bill sums back.
    long gCurItemID = 0;
    std::string gCurItemNumber;
    std::string gCurStockName;
    std::string gCurBatchNo;
    std::string gCurMtoNo;
    std::string gCurKFDate;
    long gCurKFPeriod = 0;
    long gCurSPID = 0;
    long gCurStockID = 0;
    long gCurAuxPropID = 0;
    int gCurQtyDecimal = 0;
    double gCurQty = 0;
    double gCurQtyAct = 0;
    double gCurCheckQty = 0;
    double gCurDiffQty = 0;
    double gCurCUUnitQty = 0;
    double gCurCUUnitQtyAct = 0;
    double gCurCUUnitCheckQty = 0;
    double gCurCUUnitDiffQty = 0;
    double gCurAdjQty = 0;
    double gCurSecCoefficient = 0;
    double gCurSecQty = 0;
    double gCurSecQtyAct = 0;
    double gCurSecCheckQty = 0;
    double gCurSecAdjQty = 0;
    double gCurSecDiffQty = 0;

    // Import
    double gImportStartTime = 0; // when the last import started; test mode times the run by it
};

ModuleState &module();
void resetModuleState();
