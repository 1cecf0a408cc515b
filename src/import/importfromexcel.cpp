#include "import/importfromexcel.h"

#include "services/notavailable.h"

namespace PubVariant {

bool ImportFromExcel(const std::string &)
{
    raiseNotAvailable("ImportFromExcel");
}

} // namespace PubVariant
