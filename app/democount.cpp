#include "democount.h"

#include "backup/icbackupinv.h"
#include "host/components/hostcomponents.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/props/shareprops.h"
#include "host/ui/modal/modalservices.h"
#include "services/mmts.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <QStringList>

#include <string>

namespace {

constexpr long kStockManager = 16;

// Nobody answers while the database is made: a message is kept for the failure it explains and
// takes its default button; no window is expected.
class KeptMessages : public host::ui::ModalServices
{
public:
    KeptMessages() : m_before(host::ui::installModals(this)) {}
    ~KeptMessages() override { host::ui::installModals(m_before); }
    KeptMessages(const KeptMessages &) = delete;
    KeptMessages &operator=(const KeptMessages &) = delete;

    long messageBox(const QString &text, long style, const QString &) override
    {
        m_texts << text;
        return host::ui::Msg::defaultAnswer(style);
    }
    long hostMessage(const QString &text, long style) override
    {
        return messageBox(text, style, {});
    }
    QString openFileName(const host::ui::FileDialogRequest &) override { return {}; }
    QString saveFileName(const host::ui::FileDialogRequest &) override { return {}; }
    void showModal(host::ui::Form &) override
    {
        throw host::HostError("A window was opened while the database was made.");
    }
    bool printSetup(QPrinter &) override { return false; }
    bool printDialog(QPrinter &) override { return false; }
    void printPreview(QPrinter &, const std::function<void(QPrinter &)> &) override {}

    std::string texts() const { return m_texts.join(QLatin1Char(' ')).toStdString(); }

private:
    host::ui::ModalServices *m_before;
    QStringList m_texts;
};

// The host's context for the module while the count is made, cleared afterwards so that a
// command run next sets its own.
class HostContext
{
public:
    explicit HostContext(const std::shared_ptr<host::AppConnection> &connection)
    {
        host::registerHostComponents();
        host::setHostConnection(connection);
        host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                       "UserID=" + std::to_string(kStockManager) +
                                           ";SUBID=ic;LANGUAGE=CHS;");
        resetModuleState();
        MParse::ParseProps(MMTS::GetPropsString());
        module().gAppConn = connection;
        module().gOperatorID = kStockManager;
    }
    ~HostContext()
    {
        resetModuleState();
        host::ShareProps().RemoveAll();
        host::setHostConnection(nullptr);
    }
    HostContext(const HostContext &) = delete;
    HostContext &operator=(const HostContext &) = delete;
};

host::Dictionary backupParams(const std::string &stocks)
{
    host::Dictionary params;
    params.SetValue("Stock", stocks);
    params.SetValue("Filter", std::string());
    params.SetValue("Date", host::formatDate(host::now(), "YYYY-MM-DD"));
    params.SetValue("Operater", kStockManager);
    params.SetValue("isCutDate", false);
    params.SetValue("CutDate", host::Variant::fromDate(0));
    return params;
}

// The stocks of the backup window's list that its checks let a current-stock count take.
std::string acceptedStocks(ICBackupInv &backup)
{
    std::string accepted;
    for (const auto stocks = PubVariant::GetStockRS(""); !stocks->EOF(); stocks->MoveNext()) {
        const std::string id = host::CStr(stocks->Fields("FItemID").Value());
        const host::Dictionary params = backupParams(id);
        if (backup.CheckStockRecCount(params).empty() && backup.CheckBillInterID(params).empty())
            accepted += (accepted.empty() ? "" : ",") + id;
    }
    return accepted;
}

} // namespace

void makeDemoCount(const std::shared_ptr<host::AppConnection> &connection)
{
    const KeptMessages messages;
    const HostContext context(connection);
    ICBackupInv backup;
    const BackupScope scope;
    if (backup.SyncPosBill().empty() && backup.GetStockBillMaxID()) {
        const std::string stocks = acceptedStocks(backup);
        if (!stocks.empty() && backup.BackUpData(backupParams(stocks), false, 0, false, true))
            return;
    }
    throw host::HostError("the demo count could not be made. " + messages.texts());
}
