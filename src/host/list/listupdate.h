#pragma once

#include "host/core/dispatch.h"
#include "host/core/hostobject.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace host {

class AppConnection;

// Stand-in of the host's list-update component. MakeStockCheckBillNew turns the differences of
// a finished count into one stock bill: kind 1 a stock-gain bill (transaction type 40) of the
// lines whose base difference is above zero, kind 2 a stock-loss bill (43) of those below zero,
// each line's quantities taken as the size of its differences. The lines are read, the bill's
// id and number taken and head and lines written in one transaction, which a failure rolls back
// whole, and the count lines are stamped with the bill (FBillInterID), so a line is billed once
// even when two users bill the same count at the same moment. Reached late-bound, as the host's
// components are.
class ListUpdate : public HostObject, public Dispatch
{
public:
    static constexpr std::string_view ProgId = "ZarvoListServer.clsListUpdate";
    using ConnectionSource = std::function<std::shared_ptr<AppConnection>()>;

    explicit ListUpdate(ConnectionSource connection);

    // Arguments: host context string, process id, message (out: what was made, or that there
    // was nothing to bill), kind, bill id (out: the new bill's FInterID, 0 when there was
    // nothing to bill).
    void MakeStockCheckBillNew(const std::string &propsString, long procId, std::string &message,
                               long billType, long &billId);

    long GetIDsOfNames(std::string_view name) const override;
    Variant Invoke(long dispId, InvokeKind kind, std::vector<Variant> &args) override;

    static constexpr long DispMakeStockCheckBillNew = 1;

private:
    ConnectionSource m_connection;
};

} // namespace host
