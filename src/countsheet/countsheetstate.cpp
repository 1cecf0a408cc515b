#include "countsheet/countsheetstate.h"

#include "services/modulestate.h"

CountSheetState &countSheetState()
{
    return moduleStateOf<CountSheetState>();
}
