#pragma once

#include "host/core/dictionary.h"
#include "host/core/hostobject.h"
#include "host/core/vector.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {

// What GetRowAccessInfo hands back: the user and the tables whose records the user's rules
// restrict.
class RowAccessInfo : public HostObject
{
public:
    long userId = 0;
    std::shared_ptr<Dictionary> restrictedTables = std::make_shared<Dictionary>();
};

// The host's row-level data access ("ZarvoBase.DataAccess"), driven by t_DataAccessRule: a
// user with rules for a base-data table sees only the records of that table the rules name.
// The fragments restrict the caller's alias BillTableAs.BillCol to those records through the
// alias DataTableAs.
class DataAccess : public HostObject
{
public:
    // True when the user has any rule.
    virtual bool IsUsed(const std::string &propsString, long userId);
    virtual std::shared_ptr<RowAccessInfo> GetRowAccessInfo(const std::string &propsString,
                                                            long userId, Vector &tableNames);
    // "From" as a join (" inner join (...) te on ..."), "Where" empty.
    virtual std::shared_ptr<Dictionary> GetAccessDataSQL(Vector &descriptors,
                                                         std::shared_ptr<RowAccessInfo> &info);
    // "From" as a table of a comma list ("(...) te"), "Where" its join condition.
    virtual std::shared_ptr<Dictionary> GetAccessDataSQL2(Vector &descriptors,
                                                          std::shared_ptr<RowAccessInfo> &info);

    static constexpr std::string_view ProgId = "ZarvoBase.DataAccess";
};

// The host rights component ("ZarvoGLView.GLData"), driven by t_UserRight.
class GLData : public HostObject
{
public:
    // The user of the host context string has the right when a row for the object type and
    // right index covers every bit of the mask.
    virtual bool AccessCheck(short objectType, short rightIndex, long mask);

    static constexpr std::string_view ProgId = "ZarvoGLView.GLData";
};

} // namespace host
