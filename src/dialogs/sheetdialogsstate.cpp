#include "dialogs/sheetdialogsstate.h"

#include "services/modulestate.h"

SheetDialogsState &sheetDialogsState()
{
    return moduleStateOf<SheetDialogsState>();
}
