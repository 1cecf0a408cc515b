#include "window/install.h"

#include "countsheet/countsheetwindows.h"
#include "window/frmmain.h"

void installCountSheetWindow()
{
    countSheetWindows().showCountSheet = [](long showType) {
        frmMain window;
        window.ShowType(showType);
        window.Show(1);
    };
}
