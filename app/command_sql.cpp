#include "command_sql.h"

#include "host/core/datetime.h"
#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/batchfailure.h"
#include "hostconnection.h"

#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 1;

std::string cellText(const host::Variant &value)
{
    switch (value.type()) {
    case host::VariantType::Null:
        return "NULL";
    case host::VariantType::Date:
        return host::dateToText(value.dateValue());
    case host::VariantType::Boolean:
        return value.boolValue() ? "1" : "0";
    default:
        return host::CStr(value);
    }
}

void printRows(host::Recordset &rs, std::ostream &out)
{
    for (long i = 0; i < rs.FieldCount(); ++i)
        out << (i ? "\t" : "") << rs.Fields(i).Name();
    out << "\n";
    for (; !rs.EOF(); rs.MoveNext()) {
        for (long i = 0; i < rs.FieldCount(); ++i)
            out << (i ? "\t" : "") << cellText(rs.Fields(i).Value());
        out << "\n";
    }
    out << "(" << rs.RecordCount() << (rs.RecordCount() == 1 ? " row)\n" : " rows)\n");
}

// Each statement's rows in the order the batch ran them, a blank line between.
void printSets(const std::vector<std::shared_ptr<host::Recordset>> &sets, std::ostream &out)
{
    for (size_t i = 0; i < sets.size(); ++i) {
        if (i > 0)
            out << "\n";
        printRows(*sets[i], out);
    }
}

} // namespace

int runSqlCommand(const Options &options, std::istream &in, std::ostream &out, std::ostream &err)
{
    const std::string sql{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        host::AppConnection db;
        openHostDatabase(db, options);
        const auto sets = db.ExecuteEach(sql);
        if (sets.empty()) {
            out << "(no rows returned)\n";
            return 0;
        }
        printSets(sets, out);
        return 0;
    } catch (const host::HostError &e) {
        // As a server's client: what the statements before the failing one yielded, then why
        // the batch stopped.
        if (const auto *failure = dynamic_cast<const host::BatchFailure *>(&e))
            printSets(failure->sets(), out);
        err << "stockcheck: " << e.Description() << "\n";
        return kFailed;
    }
}
