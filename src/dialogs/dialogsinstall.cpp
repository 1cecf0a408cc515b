#include "dialogs/dialogsinstall.h"

#include "countsheet/countsheetwindows.h"
#include "dialogs/frmfilter.h"

void installCountSheetDialogs()
{
    countSheetWindows().showFilter = [](long showType, long optionTab) {
        frmFilter dialog;
        dialog.mShowType = showType;
        dialog.mShowOption = optionTab;
        dialog.Show(1);
    };
}
