#include "services/notavailable.h"

#include "host/core/hosterror.h"
#include "services/mparse.h"

void raiseNotAvailable(std::string_view what)
{
    throw host::HostError(MParse::FormatLangString("此功能在本版本中不可用：%1", {what}),
                          host::HostError::DefaultNumber, "ZarvoStockCheck");
}
