// The printed count book: page lines set before each print and preview, and the print
// commands of the ledger.
#include "window/frmmain.h"

#include "host/core/dictionary.h"
#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/titleband.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/printing/ledgerprinter.h"
#include "services/appconn.h"
#include "services/langtext.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"

namespace {

// The host's print font, asked again for every line.
QString printFont()
{
    QString name = QStringLiteral("宋体");
    tryStep([&] {
        const std::string font = host::CStr(MParse::GetFontProps()->Value("Font.Name"));
        if (!font.empty())
            name = QString::fromStdString(font);
    });
    return name;
}

} // namespace

void frmMain::PrepareLedgerPrint()
{
    QString operatorName;
    tryStep([&] {
        const auto rs = appConn().Execute("Select FName From t_Emp Where FItemID=" +
                                          std::to_string(module().gOperatorID));
        if (rs->State() != host::Recordset::adStateClosed && !rs->EOF() &&
            !rs->Fields("FName").Value().isNull())
            operatorName = QString::fromStdString(host::CStr(rs->Fields("FName").Value()));
    });
    host::ui::LedgerPrinter &print = ldgCheck->LedgerPrint();
    tryStep([&] {
        auto &line = print.HeaderLine(1);
        line.Font.Name = printFont();
        line.Font.Size = 18;
        line.Font.Bold = true;
        line.Text = titBar->Caption();
    });
    tryStep([&] {
        auto &line = print.HeaderLine(2);
        line.Font.Name = printFont();
        line.Font.Size = 9;
        line.Text = langText("盘点方案:") + lstStock->Text() + QLatin1Char('|') +
                    labCheckDate->Caption() + QLatin1Char('|');
    });
    tryStep([&] {
        auto &line = print.FooterLine(1);
        line.Font.Size = 9;
        line.Font.Name = printFont();
        line.Text = langText("部门主管:|财务:|审核:|监盘:|制表:") + operatorName;
    });
    tryStep([&] {
        auto &line = print.FooterLine(2);
        line.Font.Size = 9;
        line.Font.Name = printFont();
        line.Text =
            langText("第 &[页] 页") + QStringLiteral("        ") + langText("|共 &[总页] 页");
    });
    // Printed over, a file of the database would be lost.
    print.setRefusesOutputFile([](const QString &file) {
        if (!module().gAppConn || !module().gAppConn->isDatabaseFile(file.toStdString()))
            return false;
        PubVariant::MsgBox(MParse::LoadLangString("所选文件是正在使用的数据库的文件，请另选文件!"),
                           PubVariant::vbInformation);
        return true;
    });
    tryStep([&] { print.setOrientation(0); });
    tryStep([&] { print.setPrintColors(false); });
}

void frmMain::mnuFPrint_Click()
{
    PrepareLedgerPrint();
    ldgCheck->LedgerPrint().Print();
}

void frmMain::mnuFPrintPreview_Click()
{
    PrepareLedgerPrint();
    ldgCheck->LedgerPrint().Preview();
}

void frmMain::mnuFPrintSetup_Click()
{
    ldgCheck->LedgerPrint().PrintSetup();
}
