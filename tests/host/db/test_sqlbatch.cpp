// A batch given as statements with their values apart runs on the embedded database as its text
// runs, statement after statement of the same shape: the rows written, the row counts the batch
// reads, the rows it yields and the errors, with the values of each statement as the text
// would read them.
#include "host/core/hosterror.h"
#include "host/core/sqltext.h"
#include "host/db/appconnection.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/backends/statementgroup.h"
#include "host/db/recordset/recordset.h"
#include "host/db/tsql/sqlbatch.h"
#include "host/db/tsql/tsqlparser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr const char *kSetUp = R"(
CREATE TABLE Line (FID int NOT NULL, FKey varchar(10) NOT NULL, FDate varchar(20) NOT NULL,
  FQty decimal(28,10) NULL, FPrice money NULL, FNote varchar(8) NULL)
INSERT INTO Line VALUES (1, 'a', '', 0, 0, ''), (2, 'it''s', '2024-02-29', 0, 0, ''),
  (3, 'c', '', 0, 0, '')
)";

struct Values
{
    long long id;
    const char *key;
    const char *date;
    double qty;
    double price;
    const char *note;
};

// Each series runs in turn on the same connections, so later ones meet the shapes kept.
const std::vector<Values> kSeries[] = {
    {{1, "a", "", 5, 1.25, "x"}, {2, "it's", "2024-02-29", 7.5, 2, "y"}},
    // Signs, scales and lengths that the first values' translation does not admit.
    {{3, "c", "", -3, -1.5, "z"}, {1, "a", "", 1.123456789012, 3.75, "it's"}},
    {{2, "it's", "2024-02-29", 1e-7, 0, ""}, {9, "none", "", 1, 1, "no line"}},
    // A note too long for its column, and a date that is none.
    {{1, "a", "", 2, 2, "too long a note"}},
    {{3, "c", "2024-02-30", 2, 2, ""}},
    // The first values' types again, with others kept beside them.
    {{1, "a", "", 5, 1.25, "x"}, {3, "c", "", 4, 0.5, "w"}},
};

host::SqlBatch batchOf(const std::vector<Values> &series)
{
    host::SqlBatch b;
    b << "DECLARE @Missed VARCHAR(200)\r\nSELECT @Missed=''\r\n";
    for (const Values &v : series) {
        b.endStatement();
        // Values the text around joins to (N'...', a minus before a minus) read from the text.
        b << "SELECT @Missed=LEFT(@Missed+N";
        b.quoted(v.note) << "+CONVERT(VARCHAR(30),-";
        b.number(v.price) << "),90)\r\n";
        b.endStatement();
        b << "Update Line Set FQty=";
        b.number(v.qty) << ",FPrice=";
        b.number(v.price) << ",FNote=";
        b.quoted(v.note) << "\r\n Where FID=";
        b.whole(v.id) << " AND FKey=";
        b.quoted(v.key) << " AND CONVERT(DATETIME,FDate)=";
        b.quoted(v.date) << "\r\n";
        b.endStatement();
        // A statement no plan keeps, read from the parse of its shape.
        b << "IF @@ROWCOUNT=0 SELECT @Missed=@Missed+";
        b.quoted(v.key) << "+CONVERT(VARCHAR(30),";
        b.number(v.qty) << ")+CONVERT(VARCHAR(30),";
        b.whole(-v.id) << ")\r\n";
        b.endStatement();
        // A product's scale follows its factor's digits.
        b << "Update Line Set FQty=FQty*";
        b.number(v.price) << " Where FID=";
        b.whole(v.id) << "\r\n";
        b.endStatement();
        b << "IF @@ROWCOUNT=0 SELECT @Missed=@Missed+'";
        b << std::to_string(v.id) << ",'\r\n";
    }
    b.endStatement();
    b << "SELECT @Missed AS FMissed";
    return b;
}

void dump(std::vector<std::string> &out, const std::shared_ptr<host::Recordset> &rs)
{
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
        for (long i = 0; i < rs->FieldCount(); ++i)
            out.push_back(host::CStr(rs->Fields(i).Value()));
    out.emplace_back("|");
}

// What a run yielded or the error it failed with, then the rows it left.
struct Outcome
{
    std::vector<std::string> yielded;
    std::vector<std::string> rows;
    bool operator==(const Outcome &) const = default;
};

Outcome outcome(host::AppConnection &db, const host::SqlBatch &batch, bool asText)
{
    Outcome out;
    try {
        dump(out.yielded, asText ? db.Execute(batch.text()) : db.Execute(batch));
    } catch (const host::HostError &e) {
        out.yielded.push_back(e.Description());
    }
    dump(out.rows, db.Execute("SELECT FID, FQty, FPrice, FNote FROM Line ORDER BY FID"));
    return out;
}

// The batch's UPDATE statements sent one by one in a group, as the save sends its lines: the
// error that ended the group, if one did, and the rows left.
Outcome grouped(host::AppConnection &db, const host::SqlBatch &batch)
{
    Outcome out;
    try {
        host::StatementGroup group(*db.embedded());
        for (const host::SqlBatch::Statement &statement : batch.statements())
            if (statement.shape.starts_with("Update"))
                group.run(statement);
        group.commit();
    } catch (const host::HostError &e) {
        out.yielded.push_back(e.Description());
    }
    dump(out.rows, db.Execute("SELECT FID, FQty, FPrice, FNote FROM Line ORDER BY FID"));
    return out;
}

TEST(SqlBatch, RunsAsItsTextRuns)
{
    host::AppConnection shaped;
    host::AppConnection text;
    host::AppConnection group;
    for (auto *db : {&shaped, &text, &group}) {
        db->openDatabase(":memory:");
        db->Execute(kSetUp);
    }
    text.embedded()->setLiterals(host::tsql::Literals::Inline);
    for (const auto &series : kSeries) {
        const host::SqlBatch batch = batchOf(series);
        SCOPED_TRACE(batch.text());
        // Twice each, so that the second run has every shape kept.
        for (int run = 0; run < 2; ++run) {
            const Outcome asText = outcome(text, batch, true);
            EXPECT_EQ(outcome(shaped, batch, false), asText);
            // Only the UPDATE statements write: a group of them leaves the rows the batch
            // leaves, and fails as it fails, where the batch fails on one of them.
            const bool updateFailed =
                asText.yielded.size() == 1 &&
                asText.yielded.front().find("\nSQL: Update") != std::string::npos;
            if (asText.yielded.back() == "|")
                EXPECT_EQ(grouped(group, batch).rows, asText.rows);
            else if (updateFailed)
                EXPECT_EQ(grouped(group, batch), asText);
            else
                outcome(group, batch, true);
        }
    }
}

TEST(SqlBatch, WritesEachValueAsItsLiteral)
{
    host::SqlBatch b;
    b << "UPDATE T SET A=";
    b.number(-0.1) << ",B=";
    b.number(1234567.25) << ",C=";
    b.whole(-42) << ",D=";
    b.quoted("it's") << "\r\n";
    b.endStatement();
    b << "SELECT 1";
    EXPECT_EQ(b.text(), "UPDATE T SET A=-0.1,B=1234567.25,C=-42,D='it''s'\r\nSELECT 1");
    EXPECT_EQ(b.statements().size(), 2U);
    EXPECT_THROW(b.number(1.0 / 0.0), host::HostError);
}

// A number is bound with the type its text would read as, which its digits give.
TEST(SqlBatch, ANumberTakesTheTypeOfItsDigits)
{
    std::vector<double> numbers = {
        0.1,       0.3,   0.05,    1e-7,    1.123456789012, 123.4567,         9999999.99,
        0.1 + 0.2, 1e-15, 1.5e-16, 2.5e14,  1125899.9068,   112589990.684,    1e15 + 0.5,
        7e22,      1e300, 4.35,    0.7 * 3, 1e-300,         99.99999999999999};
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const int places = static_cast<int>(random() % 18);
        const double digits = static_cast<double>(random() % 100000000000000000ULL);
        numbers.push_back(digits / std::pow(10.0, places) / std::pow(10.0, random() % 3));
        numbers.push_back(
            std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 80)));
    }
    for (const double n : numbers) {
        host::tsql::Token written;
        written.kind = host::tsql::TokenKind::Number;
        written.text = host::sqlNumber(n);
        const host::tsql::Literal expected = host::tsql::readLiteral(written);
        const host::ColumnType bound = host::tsql::numberType(n);
        SCOPED_TRACE(written.text);
        EXPECT_EQ(bound.type, expected.type.type);
        EXPECT_EQ(bound.precision, expected.type.precision);
        EXPECT_EQ(bound.scale, expected.type.scale);
        EXPECT_EQ(bound.length, expected.type.length);
        // A plan binds the number as a whole number exactly where its digits read as one.
        EXPECT_EQ(host::tsql::readsAsWhole(n), expected.value.type() == host::VariantType::Long);
        EXPECT_EQ(host::CDbl(expected.value), n);
    }
}

} // namespace
