#include "import/importstate.h"

#include "services/modulestate.h"

ImportState &importState()
{
    return moduleStateOf<ImportState>();
}
