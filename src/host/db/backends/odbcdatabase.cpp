#include "host/db/backends/odbcdatabase.h"

#include "host/core/datetime.h"

#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <vector>

namespace host {

namespace {

// The driver's diagnostics as one error; a batch's own RAISERROR keeps its number, so that
// callers can tell the batch's sentence from the server's words.
HostError diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::string message;
    long number = HostError::DefaultNumber;
    SQLCHAR state[6];
    SQLCHAR text[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; SQLGetDiagRec(handleType, handle, i, state, &native, text, sizeof text,
                                          &length) == SQL_SUCCESS;
         ++i) {
        if (!message.empty())
            message += "\n";
        message += reinterpret_cast<const char *>(text);
        if (i == 1 && native == HostError::RaisedByBatch)
            number = HostError::RaisedByBatch;
    }
    return HostError(message.empty() ? "The ODBC call failed." : message, number);
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle)
{
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA)
        throw diagnostics(handleType, handle);
}

struct StatementHandle
{
    SQLHSTMT handle = SQL_NULL_HSTMT;
    ~StatementHandle()
    {
        if (handle != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, handle);
    }
};

Variant readColumn(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT type)
{
    SQLLEN indicator = 0;
    switch (type) {
    case SQL_BIT: {
        unsigned char value = 0;
        check(SQLGetData(stmt, column, SQL_C_BIT, &value, sizeof value, &indicator),
              SQL_HANDLE_STMT, stmt);
        return indicator == SQL_NULL_DATA ? Variant::null() : Variant(value != 0);
    }
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: {
        SQLBIGINT value = 0;
        check(SQLGetData(stmt, column, SQL_C_SBIGINT, &value, sizeof value, &indicator),
              SQL_HANDLE_STMT, stmt);
        return indicator == SQL_NULL_DATA ? Variant::null()
                                          : Variant(static_cast<long long>(value));
    }
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE: {
        double value = 0;
        check(SQLGetData(stmt, column, SQL_C_DOUBLE, &value, sizeof value, &indicator),
              SQL_HANDLE_STMT, stmt);
        return indicator == SQL_NULL_DATA ? Variant::null() : Variant(value);
    }
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts{};
        check(SQLGetData(stmt, column, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator),
              SQL_HANDLE_STMT, stmt);
        if (indicator == SQL_NULL_DATA)
            return Variant::null();
        return Variant::fromDate(
            makeDate(DateParts{ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second,
                               static_cast<int>(ts.fraction / 1000000)}));
    }
    default: {
        std::string text;
        char buffer[4096];
        for (;;) {
            const SQLRETURN rc =
                SQLGetData(stmt, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
            if (rc == SQL_NO_DATA)
                break;
            check(rc, SQL_HANDLE_STMT, stmt);
            if (indicator == SQL_NULL_DATA)
                return Variant::null();
            const bool more =
                indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buffer);
            text += more ? std::string(buffer, sizeof buffer - 1) : std::string(buffer);
            if (!more)
                break;
        }
        return Variant(text);
    }
    }
}

} // namespace

OdbcDatabase::OdbcDatabase(const std::string &connectionString)
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env) != SQL_SUCCESS)
        throw HostError("Cannot allocate the ODBC environment.");
    m_env = env;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc) != SQL_SUCCESS) {
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        throw HostError("Cannot allocate the ODBC connection.");
    }
    m_dbc = dbc;
    std::string text = connectionString;
    const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR *>(text.data()),
                                          SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
        // The driver manager's words alone do not say that nothing was opened.
        const HostError error = diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        throw HostError("The connection to the database could not be opened.\n" +
                            error.Description(),
                        error.Number());
    }
}

OdbcDatabase::~OdbcDatabase()
{
    SQLDisconnect(static_cast<SQLHDBC>(m_dbc));
    SQLFreeHandle(SQL_HANDLE_DBC, static_cast<SQLHDBC>(m_dbc));
    SQLFreeHandle(SQL_HANDLE_ENV, static_cast<SQLHENV>(m_env));
}

BatchResult OdbcDatabase::execute(std::string_view sql)
{
    StatementHandle stmt;
    check(SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(m_dbc), &stmt.handle),
          SQL_HANDLE_DBC, static_cast<SQLHDBC>(m_dbc));
    std::string text(sql);
    SQLRETURN rc = SQLExecDirect(stmt.handle, reinterpret_cast<SQLCHAR *>(text.data()),
                                 static_cast<SQLINTEGER>(text.size()));
    BatchResult result;
    for (;;) {
        check(rc, SQL_HANDLE_STMT, stmt.handle);
        SQLSMALLINT columns = 0;
        if (rc != SQL_NO_DATA)
            check(SQLNumResultCols(stmt.handle, &columns), SQL_HANDLE_STMT, stmt.handle);
        if (columns > 0) {
            std::vector<std::string> names;
            std::vector<SQLSMALLINT> types;
            for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
                SQLCHAR name[256];
                SQLSMALLINT nameLength = 0;
                SQLSMALLINT type = 0;
                SQLULEN size = 0;
                SQLSMALLINT digits = 0;
                SQLSMALLINT nullable = 0;
                check(SQLDescribeCol(stmt.handle, c, name, sizeof name, &nameLength, &type, &size,
                                     &digits, &nullable),
                      SQL_HANDLE_STMT, stmt.handle);
                names.emplace_back(reinterpret_cast<const char *>(name));
                types.push_back(type);
            }
            std::vector<std::vector<Variant>> rows;
            while ((rc = SQLFetch(stmt.handle)) != SQL_NO_DATA) {
                check(rc, SQL_HANDLE_STMT, stmt.handle);
                std::vector<Variant> row;
                for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c)
                    row.push_back(readColumn(stmt.handle, c, types[c - 1]));
                rows.push_back(std::move(row));
            }
            result.sets.push_back(std::make_shared<Recordset>(std::move(names), std::move(rows)));
        }
        rc = SQLMoreResults(stmt.handle);
        if (rc == SQL_NO_DATA)
            break;
    }
    return result;
}

} // namespace host
