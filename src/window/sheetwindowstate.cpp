#include "window/sheetwindowstate.h"

#include "services/modulestate.h"

SheetWindowState &sheetWindowState()
{
    return moduleStateOf<SheetWindowState>();
}
