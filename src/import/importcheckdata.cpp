#include "import/importcheckdata.h"

#include "host/core/datetime.h"
#include "host/core/objectfactory.h"
#include "host/displayer/dispbuilder.h"
#include "host/importer/sheetrecords.h"
#include "host/importer/workbookerror.h"
#include "host/ui/form/busycursor.h"
#include "import/importrun.h"
#include "import/importstate.h"
#include "import/staginglifetime.h"
#include "services/databasefailure.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace PubVariant {
namespace {

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
    const double elapsed = host::now() - importState().gImportStartTime;
    const std::string text =
        elapsed < 1 ? host::formatDate(elapsed, "HH:NN:SS") : host::dateToText(elapsed);
    std::ofstream file(componentDir() / "TestTime.txt", std::ios::app | std::ios::binary);
    file << text << "\r\n";
}

// A failure that is not the sheet's fault is told with its cause; it must not send the user
// looking for a wrong record.
std::string failureMessage(const std::exception &error, long record)
{
    if (dynamic_cast<const host::WorkbookError *>(&error))
        return MParse::LoadLangString("引入遇到问题，请重命名工作表或重新生成引入文件，再重试") +
               "\n" + error.what();
    if (dynamic_cast<const DirectionCheckFailed *>(&error))
        return MParse::LoadLangString("盘点引入失败") + "\n" +
               MParse::LoadLangString(
                   "未能检查基本单位与辅助计量单位的盘盈盘亏方向，没有引入任何数据。") +
               "\n" + databaseFailureCause(error).value_or(databaseWords(error));
    std::optional<std::string> cause = databaseFailureCause(error);
    if (!cause && dynamic_cast<const StagingTable::NameTaken *>(&error))
        cause = MParse::LoadLangString("引入临时表的名称都已被其他引入占用。");
    if (!cause)
        return MParse::FormatLangString("第%1条记录存在非法数据,盘点引入失败", {record + 2});
    return MParse::LoadLangString("盘点引入失败") + "\n" + *cause;
}

} // namespace

bool ImportCheckData(std::shared_ptr<host::SheetRecords> &rs)
{
    auto &m = module();
    std::shared_ptr<host::DispBuilder> errors;
    ImportRun run(m.gMtoPlanMode == 1,
                  [&errors](const std::string &message) { errors->Add(message + "|"); });
    try {
        std::optional<host::ui::BusyCursor> busy;
        if (m.gIsTest)
            chooseTestProcess();
        errors = createErrorList();
        busy.emplace();
        run.run(*rs);
        busy.reset();
        std::string endText;
        if (run.anyRefused())
            errors->Show(1);
        else
            endText = MParse::LoadLangString("数据引入完毕!");
        if (m.gIsTest)
            writeTestTime();
        else if (!endText.empty())
            ShowErrMsg(MParse::LoadLangString(endText));
        return true;
    } catch (const std::exception &error) {
        ShowErrMsg(failureMessage(error, run.record()));
        return false;
    }
}

} // namespace PubVariant
