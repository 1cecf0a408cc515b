#include "import/importfromexcel.h"

#include "host/core/hosterror.h"
#include "services/mparse.h"

namespace PubVariant {

bool ImportFromExcel(const std::string &)
{
    throw host::HostError(
        MParse::FormatLangString("此功能在本版本中不可用：%1", {"ImportFromExcel"}),
        host::HostError::DefaultNumber, "ZarvoStockCheck");
}

} // namespace PubVariant
