#pragma once

#include "host/core/variant.h"

#include <string>
#include <string_view>

namespace host {

// How the embedded database stores SQL Server's types. Every write path (the T-SQL layer's
// INSERT/UPDATE/SELECT INTO and BulkInsert) converts values through toStored() for the
// declared type of the target column, so one convention holds for the whole database:
//
//   int, smallint, tinyint, bigint   INTEGER
//   bit                              INTEGER 0 or 1; read back as a Boolean
//   decimal(p,s), numeric, money     REAL rounded half away from zero to the scale
//   float, real                      REAL
//   char, varchar, nchar, nvarchar,  TEXT with the collation TSQL (case-insensitive, trailing
//   text, ntext                        blanks ignored), also named on every text comparison
//   datetime, smalldatetime, date    TEXT 'YYYY-MM-DD HH:MM:SS.fff'; read back as a date
//
// The column keeps its T-SQL type name as declared (with an affinity word where SQLite's own
// affinity rules would turn whole decimals into integers or date texts into numbers), so the
// layer reads the type back from the schema.
enum class SqlType
{
    Unknown,
    Int,
    Bit,
    Real,
    Decimal,
    Text,
    DateTime
};

struct ColumnType
{
    SqlType type = SqlType::Unknown;
    int precision = -1;    // digits of decimal/numeric/money
    int scale = -1;        // decimals of decimal/numeric/money; -1 when unbounded
    int length = -1;       // of char/varchar (see textLength), of an integer type in bytes;
                           // -1 for max or unknown
    bool national = false; // nchar, nvarchar, ntext
    bool max = false;      // varchar(max), nvarchar(max), text, ntext: beyond 8,000 bytes

    bool operator==(const ColumnType &) const = default;
};

// The table and column a value is written to, named when it does not fit there.
struct StoreTarget
{
    std::string_view table;
    std::string_view column;
};

inline bool isNumericType(SqlType type)
{
    return type == SqlType::Int || type == SqlType::Bit || type == SqlType::Real ||
           type == SqlType::Decimal;
}

// Reads a T-SQL type ("decimal(28,10)", "varchar(20)") or the declared type SQLite reports.
ColumnType parseColumnType(std::string_view declared);

// The column type as declared in SQLite for a T-SQL type text (keeps the name, adds affinity).
std::string sqliteDeclaration(std::string_view tsqlType, const ColumnType &type);

// The value as stored for a column of this type; throws HostError when SQL Server would refuse
// the conversion or the value does not fit the column (an integer or decimal too large, a date
// outside datetime's range, a text too long, a float that is not finite). Dates come back as
// their stored text.
Variant toStored(const Variant &value, const ColumnType &type, const StoreTarget &target = {});
// The same for a value given to a variable or converted in an expression: a text longer than
// the type is cut to its length without an error, as SQL Server cuts it.
Variant toConverted(const Variant &value, const ColumnType &type);
// A number as a decimal column of this type holds it; throws HostError when it does not fit.
double storedDecimal(double value, const ColumnType &type);

// The length SQL Server measures a text by: for nchar/nvarchar its UTF-16 units; for
// char/varchar the bytes of a Chinese double-byte code page (ASCII one, other characters two).
size_t textLength(std::string_view text, bool national);
// The longest start of the text, in whole characters, whose textLength is at most limit.
std::string_view cutText(std::string_view text, size_t limit, bool national);

// Whether a date lies in SQL Server's datetime range, 1753-01-01 to 9999-12-31 23:59:59.997.
bool inDatetimeRange(double serial);

// The value of a stored column as the caller sees it (dates as dates, bit as Boolean).
Variant fromStored(const Variant &stored, const ColumnType &type);

// 'YYYY-MM-DD HH:MM:SS.fff' of a date serial, and back; a date outside datetime's range is an
// error either way.
std::string dateToStoredText(double serial);
// Reads a date from text as SQL Server does for its common formats; "" is 1900-01-01.
double storedTextToDate(std::string_view text);

// Rounds half away from zero to the given number of decimals, at most to the 15 significant
// digits a double holds, so that binary noise of arithmetic never survives.
double roundDecimal(double value, int scale);

} // namespace host
