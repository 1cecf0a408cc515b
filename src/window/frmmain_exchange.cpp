// File-in and file-out of the count sheet.
#include "window/frmmain.h"

#include "countsheet/countsheetstate.h"
#include "host/db/appconnection.h"
#include "host/ui/modal/modalservices.h"
#include "import/importfromexcel.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "window/sheetexport.h"
#include "window/sheetwindowstate.h"

#include <QFileInfo>

void frmMain::mnuFileIn_Click()
{
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    host::ui::FileDialogRequest request;
    request.title = QString::fromStdString(MParse::LoadLangString("选择引入的Excel文件"));
    // The reader reads both the old and the new workbook format.
    request.filter = langText("Excel 文件") + QStringLiteral("|*.xls;*.xlsx");
    const QString name = host::ui::modals().openFileName(request);
    if (name.isEmpty())
        return;
    const QFileInfo file(name);
    if (!file.exists()) {
        PubVariant::MsgBox(MParse::LoadLangString("指定引入Excel文件不存在，请重新选择!"),
                           PubVariant::vbInformation);
        return;
    }
    // A folder, a pipe or a device: reading it could wait for ever.
    if (!file.isFile()) {
        PubVariant::MsgBox(MParse::LoadLangString("所选的不是文件，请重新选择Excel文件!"),
                           PubVariant::vbInformation);
        return;
    }
    // Read and closed, a file of the database would lose every lock the program holds on it.
    if (module().gAppConn && module().gAppConn->isDatabaseFile(name.toStdString())) {
        PubVariant::MsgBox(MParse::LoadLangString("所选文件是正在使用的数据库的文件，请另选文件!"),
                           PubVariant::vbInformation);
        return;
    }
    PubVariant::ImportFromExcel(name.toStdString());
    FillGrid({});
}

void frmMain::mnuFileOut_Click()
{
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    const CountSheetState &sheet = countSheetState();
    if (sheet.gShowType == 4) {
        const auto &types = sheetWindowState().gColTypeDict;
        exportEntryGrid(*vsCheck, module().gMtoPlanMode != 0, types ? *types : host::Dictionary());
    } else {
        exportLedger(*ldgCheck, sheet.gColumns, *m_mainDo);
    }
}
