#pragma once

#include "host/core/dictionary.h"
#include "host/core/dispatch.h"
#include "host/core/hostobject.h"

#include <memory>
#include <string>

namespace host {
class Connection;
}

// The one class the host creates: it hands over the host's connection and operator and calls
// one command member, each of which returns when its window is closed or its task done.
//
// Creating an object sets up the module-wide state (application connection, second connection,
// the filter option, the test flag). The connections are shared by every object alive at the
// time: a nested object (the process list opens one to run a command) uses the live ones, and
// only the object that made them releases them.
class ICCheckInterface : public host::HostObject, public host::Dispatch
{
public:
    ICCheckInterface();
    ~ICCheckInterface() override;
    ICCheckInterface(const ICCheckInterface &) = delete;
    ICCheckInterface &operator=(const ICCheckInterface &) = delete;

    void LocalConnection(const std::shared_ptr<host::Connection> &PassCN);
    void OperaterID(long NewValue);
    void BackupCheckData();
    void PrintCheckBook();
    void IsTest(bool &blnIsText);
    void CheckDataInput();
    void CheckDataCheck(long m_EmpID);
    void DisChkStockProc(std::shared_ptr<host::Dictionary> vDict);
    void TestImport(const std::string &strName);

    long GetIDsOfNames(std::string_view name) const override;
    host::Variant Invoke(long dispId, host::InvokeKind kind,
                         std::vector<host::Variant> &args) override;

private:
    void showCountSheet(std::string_view procedure, long showType);

    bool m_ownsConnections = false;
};
