#include "entry/iccheckinterface.h"
#include "host/core/text.h"

#include "backup/frmbackupinv.h"
#include "backup/frmchkstockproc.h"
#include "countsheet/maindo.h"
#include "dialogs/dialogsinstall.h"
#include "entry/typelib.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/db/appconnection.h"
#include "host/db/connection.h"
#include "host/lang/hosttext.h"
#include "import/importfromexcel.h"
#include "services/modqellogmsg.h"
#include "services/modulestate.h"
#include "services/mparse.h"
#include "services/notavailable.h"
#include "services/pubvariant.h"
#include "window/install.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::string_view kAppConnectionProgId = "ZarvoConnection.AppConnection";

struct Member
{
    std::string_view name;
    long dispId;
    host::InvokeKind kind;
    size_t arguments;
};

constexpr std::array<Member, 9> kMembers{{
    {"LocalConnection", TypeLib::DISPID_LocalConnection, host::InvokeKind::PropertyPut, 1},
    {"OperaterID", TypeLib::DISPID_OperaterID, host::InvokeKind::PropertyPut, 1},
    {"BackupCheckData", TypeLib::DISPID_BackupCheckData, host::InvokeKind::Method, 0},
    {"PrintCheckBook", TypeLib::DISPID_PrintCheckBook, host::InvokeKind::Method, 0},
    {"IsTest", TypeLib::DISPID_IsTest, host::InvokeKind::PropertyPut, 1},
    {"CheckDataInput", TypeLib::DISPID_CheckDataInput, host::InvokeKind::Method, 0},
    {"CheckDataCheck", TypeLib::DISPID_CheckDataCheck, host::InvokeKind::Method, 1},
    {"DisChkStockProc", TypeLib::DISPID_DisChkStockProc, host::InvokeKind::Method, 1},
    {"TestImport", TypeLib::DISPID_TestImport, host::InvokeKind::Method, 1},
}};

// The entry object the process list makes for its New and Open commands.
class NestedEntry : public ProcListEntry
{
public:
    void BackupCheckData() override { m_entry.BackupCheckData(); }
    void CheckDataCheck(long m_EmpID) override { m_entry.CheckDataCheck(m_EmpID); }

private:
    ICCheckInterface m_entry;
};

} // namespace

ICCheckInterface::ICCheckInterface()
{
    installCountSheetDialogs();
    installCountSheetWindow();
    // The host's controls built into the module say their own texts (a failure's sentence, a
    // printed file's reason) in the language the host hands over.
    if (const std::string language = host::toUpper(MParse::GetPropsItem("LANGUAGE"));
        !language.empty())
        host::setHostLanguage(language);
    auto &m = module();
    if (!m.gAppConn) {
        m.gAppConn = host::CreateObjectAs<host::AppConnection>(kAppConnectionProgId);
        m.gConn = std::make_shared<host::Connection>();
        m_ownsConnections = true;
    }
    try {
        const auto profile = PubVariant::GetSysProfile("IC", "ShowFilterBeforeCheck");
        m.gShowFilterBeforeCheck = host::CBool(profile->Value("ShowFilterBeforeCheck"));
    } catch (...) {
        if (m_ownsConnections) {
            m.gAppConn.reset();
            m.gConn.reset();
        }
        throw;
    }
    m.gIsTest = false;
}

ICCheckInterface::~ICCheckInterface()
{
    if (!m_ownsConnections)
        return;
    auto &m = module();
    m.gAppConn.reset();
    m.gConn.reset();
}

void ICCheckInterface::LocalConnection(const std::shared_ptr<host::Connection> &PassCN)
{
    try {
        auto &conn = module().gConn;
        if (!conn || !PassCN)
            return;
        conn->Open(PassCN->ConnectionString(), "", "", -1);
        conn->SetCursorLocation(host::Connection::adUseClient);
    } catch (...) {
        // The host's connection is only handed on to the bill list; a failure shows there.
    }
}

void ICCheckInterface::OperaterID(long NewValue)
{
    module().gOperatorID = NewValue;
}

void ICCheckInterface::BackupCheckData()
{
    frmBackupInv window;
    window.Show(1);
}

void ICCheckInterface::showCountSheet(std::string_view procedure, long showType)
{
    const modQelLogMsg::LogEntry log("ZarvoStockCheck.ICCheckInterface." + std::string(procedure));
    MainDo mainDo;
    mainDo.Show(showType, 0);
}

void ICCheckInterface::PrintCheckBook()
{
    showCountSheet("PrintCheckBook", 3);
}

void ICCheckInterface::IsTest(bool &blnIsText)
{
    module().gIsTest = blnIsText;
}

void ICCheckInterface::CheckDataInput()
{
    showCountSheet("CheckDataInput", 4);
}

void ICCheckInterface::CheckDataCheck(long m_EmpID)
{
    module().gOperatorID = m_EmpID;
    showCountSheet("CheckDataCheck", 1);
}

void ICCheckInterface::DisChkStockProc(std::shared_ptr<host::Dictionary> vDict)
{
    module().gProcDict = std::move(vDict);
    frmChkStockProc window([] { return std::make_unique<NestedEntry>(); });
    window.Show(1);
}

void ICCheckInterface::TestImport(const std::string &strName)
{
    PubVariant::ImportFromExcel(strName);
}

long ICCheckInterface::GetIDsOfNames(std::string_view name) const
{
    for (const auto &member : kMembers) {
        if (host::equalsNoCase(member.name, name))
            return member.dispId;
    }
    throw host::HostError("Unknown name.", UnknownName, std::string(TypeLib::Name));
}

host::Variant ICCheckInterface::Invoke(long dispId, host::InvokeKind kind,
                                       std::vector<host::Variant> &args)
{
    const auto member = std::find_if(kMembers.begin(), kMembers.end(),
                                     [&](const Member &m) { return m.dispId == dispId; });
    if (member == kMembers.end() || member->kind != kind)
        throw host::HostError("Member not found.", MemberNotFound, std::string(TypeLib::Name));
    if (args.size() != member->arguments)
        throw host::HostError("Invalid number of parameters.", BadParamCount,
                              std::string(TypeLib::Name));
    switch (dispId) {
    case TypeLib::DISPID_LocalConnection:
        LocalConnection(args[0].as<host::Connection>());
        break;
    case TypeLib::DISPID_OperaterID:
        OperaterID(host::CLng(args[0]));
        break;
    case TypeLib::DISPID_BackupCheckData:
        BackupCheckData();
        break;
    case TypeLib::DISPID_PrintCheckBook:
        PrintCheckBook();
        break;
    case TypeLib::DISPID_IsTest: {
        bool value = host::CBool(args[0]);
        IsTest(value);
        args[0] = value;
        break;
    }
    case TypeLib::DISPID_CheckDataInput:
        CheckDataInput();
        break;
    case TypeLib::DISPID_CheckDataCheck:
        CheckDataCheck(host::CLng(args[0]));
        break;
    case TypeLib::DISPID_DisChkStockProc:
        DisChkStockProc(args[0].as<host::Dictionary>());
        break;
    case TypeLib::DISPID_TestImport:
        TestImport(host::CStr(args[0]));
        break;
    default:
        break;
    }
    return {};
}
