// The module's side of bench/speed.sh: one command of the count sheet on count process 1 of a
// database file, as a process of its own. What the user waits for is timed in CPU seconds of
// this process; what comes before it (opening the window a save starts from) is not.
//
//   speed_module save|filter|open DATABASE
//   speed_module import DATABASE WORKBOOK
//
// Prints "CPU_SECONDS PEAK_MB COUNT": the peak resident memory of the whole process, and the
// lines saved, found or shown.
#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/spread/spreadgrid.h"
#include "import/importfromexcel.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "support/benchsizes.h"
#include "support/countsheet.h"
#include "support/countwindow.h"
#include "support/speedrun.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace {

// File/Save of every line of the entry grid.
long save(const std::string &database)
{
    openCountSheetFile(database, 4);
    const auto window = openWindow(4);
    window->mModified = true;
    window->mRowChanged.assign(window->mRowChanged.size(), true);
    frmMain::SaveResult saved = frmMain::SaveResult::Failed;
    timeAction([&] { saved = window->SaveStockData(false); });
    if (saved != frmMain::SaveResult::Saved)
        throw std::runtime_error("the save failed");
    return static_cast<long>(window->mRowChanged.size());
}

// The input-mode sheet reloaded with the filter dialog's condition.
long filter(const std::string &database)
{
    openCountSheetFile(database, 4);
    countSheetState().gFilterDict->SetValue("Filter", std::string(kSpeedFilter));
    long rows = 0;
    timeAction([&] {
        MainDo main;
        rows = main.GetRsMain(1, {}, 0, countSheetState().gFilterDict.get())->RecordCount();
    });
    return rows;
}

// Input mode opened and its first screen painted.
long open(const std::string &database)
{
    openCountSheetFile(database, 4);
    long shown = 0;
    timeAction([&] {
        const auto window = openWindow(4);
        window->show();
        window->grab();
        shown = window->vsCheck->MaxRows() - 1;
    });
    return shown;
}

// The workbook read into the count.
long import(const std::string &database, const std::string &workbook)
{
    host::ui::ScriptedModals &modals = openCountSheetFile(database, 4);
    MParse::ParseProps(MMTS::GetPropsString());
    module().gCurInterID = 1;
    module().gUseShortNumber = true;
    bool done = false;
    timeAction([&] { done = PubVariant::ImportFromExcel(workbook); });
    if (!done || modals.messageTexts() != QStringList{"数据引入完毕!"})
        throw std::runtime_error("the import failed: " +
                                 modals.messageTexts().join('\n').toStdString());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    return speedMain(argc, argv, "speed_module", {save, filter, open, import});
}
