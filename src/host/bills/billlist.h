#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class Connection;
class Recordset;
class Vector;

// The host's bill list ("ZarvoBills.Bills"): shows the stock bills that a recordset names, in
// a window of their heads and their lines read from ICStockBill and ICStockBillEntry. The
// field vector tells which recordset field holds the bill id (FISPrimary 1) and which the
// transaction type (FISPrimary 3).
class Bills : public HostObject
{
public:
    std::shared_ptr<Connection> LocalCnn;
    std::shared_ptr<Recordset> ListRecordset;
    std::shared_ptr<Vector> ListRSFieldVect;

    virtual void SetOpt(long userId, const std::string &userName);
    // Opens the list modally; the three arguments are the host's display options.
    virtual void Show(short mode, short view, short options);

    // The bills the list names: (bill id, transaction type), in recordset order.
    std::vector<std::pair<long, long>> listedBills() const;

    long userId() const { return m_userId; }
    const std::string &userName() const { return m_userName; }

    static constexpr std::string_view ProgId = "ZarvoBills.Bills";

private:
    long m_userId = 0;
    std::string m_userName;
};

} // namespace host
