#include "countsheet/countsheetwindows.h"

CountSheetWindows &countSheetWindows()
{
    static CountSheetWindows windows;
    return windows;
}
