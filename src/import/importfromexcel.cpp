#include "import/importfromexcel.h"

#include "host/core/datetime.h"
#include "host/core/objectfactory.h"
#include "host/importer/sheetimport.h"
#include "host/importer/sheetrecords.h"
#include "host/importer/workbookerror.h"
#include "host/lang/resloader.h"
#include "import/importcheckdata.h"
#include "import/importstate.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <algorithm>
#include <array>

namespace PubVariant {
namespace {

void showMessage(std::string_view text)
{
    ShowErrMsg(MParse::LoadLangString(text));
}

// A sheet exported in any of the module's languages carries the caption as that language
// gives it; one with the Simplified caption comes from any of them.
bool isCaption(const std::string &header, std::string_view caption)
{
    if (header == caption)
        return true;
    const auto loader = host::CreateObjectAs<host::ResLoader>(host::ResLoader::ProgId);
    loader->SetResFileBaseName("ZARVOINDUSTRY");
    constexpr std::array<const char *, 3> kLanguages = {"CHS", "CHT", "EN"};
    if (std::any_of(kLanguages.begin(), kLanguages.end(), [&](const char *language) {
            loader->SetLanguageID(language);
            return loader->LoadString(caption) == header;
        }))
        return true;
    // A sheet exported in Traditional Chinese before the Taiwan wording changed.
    return host::toTraditionalChinese(header) == host::toTraditionalChinese(caption);
}

} // namespace

bool ImportFromExcel(const std::string &fileName)
{
    try {
        importState().gImportStartTime = host::now();
        // Read when the import runs: the command line imports without a count-sheet window that
        // would have read it.
        module().gMtoPlanMode =
            host::CLng(GetSysProfile("IC", "EnableMtoPlanMode")->GetValue("EnableMtoPlanMode", 0));
        const auto reader = host::CreateObjectAs<host::SheetImport>(host::SheetImport::ProgId);
        auto rs = reader->importdata(fileName);
        if (rs->EOF()) {
            showMessage("引入Excel文件不合法，请确认!");
            return false;
        }
        const std::string &header = rs->FieldName(10);
        if (module().gMtoPlanMode == 1) {
            if (!isCaption(header, "计划跟踪号")) {
                showMessage("引入Excel文件不合法，第11列不是计划跟踪号，请确认!");
                return true;
            }
        } else if (!isCaption(header, "生产/采购日期")) {
            showMessage("引入Excel文件不合法，第11列不是生产/采购日，请确认!");
            return true;
        }
        ImportCheckData(rs);
        return true;
    } catch (const host::WorkbookLocked &) {
        // Nothing is wrong with the file, and renaming a sheet would not help.
        showMessage("引入文件设有密码，请先用电子表格程序打开工作簿，取消密码后保存，再引入!");
        return false;
    } catch (const std::exception &error) {
        // The reader's description says what is wrong with the file.
        ShowErrMsg(
            MParse::LoadLangString("引入遇到问题，请重命名工作表或重新生成引入文件，再重试") +
            "\n" + error.what());
        return false;
    }
}

} // namespace PubVariant
