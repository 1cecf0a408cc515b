// Mutated and random batches: the layer must answer every text with rows or a HostError, never
// crash, hang or throw anything else. A fixed seed keeps runs repeatable.
#include "hostschema.h"

#include "host/core/hosterror.h"
#include "host/db/tsql/tsqllexer.h"
#include "host/db/tsql/tsqltranslator.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const char *const kSeeds[] = {
    "set nocount on declare @v datetime select @v = max(isnull(fdate,getdate())) from "
    "icstockcheckprocess if DATEDIFF(dd,getdate(),@v) <> 0 update icbillno set fcurno = 1 where "
    "fbillid = -1 select convert(varchar,getdate(),112) + replicate('0',4-len(ltrim(fcurno))) + "
    "ltrim(rtrim(str(fcurno))) from icbillno where fbillid=-1",
    "update t set t.FQty = b.FQty from ICInvBackupTemp t inner join ICInvBackup b on t.FItemID = "
    "b.FItemID and t.FKFDate = b.FKFDate INNER JOIN t_ICItemBase c ON t.FItemID = c.FItemID",
    "Select a.* From (select rtrim(t12.fname) as fstockname, t1.FItemID, FQty=NULL, case when "
    "t1.FSecQty=0 then 0 else (t1.FQty/t1.FSecQty) end as FSecCoefficient from ICInvBackup t1 "
    "left join t_Stock t12 on t1.FStockID=t12.fitemid Where 1=1 And t1.FInterID=5) as a where "
    "1=1 and FQty > 0 order by FStockName Desc",
    "BEGIN TRAN If not Exists(select * from ICInvBackUp where FItemID='10') Insert ICInvBackup "
    "(FInterID,FBrNo,FItemID,FAuxPropID,FUnitID,FBatchNo,FMtoNo,FStockID,FSelect,FAdj,FAdjQty,"
    "FStockPlaceID) Values('5','0',10,0,2,'B1','',1,0,0,0,5) Else BEGIN UPDATE ICInvBackUp SET "
    "FCheckQty=FCheckQty + 1 END IF EXISTS (SELECT 1 FROM ICInvBackUp WHERE ((FMinus = 0 AND "
    "FSecMinus<>0))) BEGIN RAISERROR ('x',16,1) ROLLBACK TRAN END ELSE COMMIT TRAN",
    "select a.fstockid, DATEADD(m,1,flastcheckdate)-DATEPART(d,DATEADD(m,1,flastcheckdate)) as "
    "CurCycDate into #temp1 from (select distinct fstockid,fitemid from icinventory) a inner "
    "join t_icitem b on a.fitemid=b.fitemid delete from #temp1 where getdate() < curcycdate "
    "select distinct fstockid from #temp1 order by fstockid drop table #temp1",
    "create table #Temp(fstock int,fsp int) Insert into #Temp Select Distinct case when 1 = 41 "
    "then 2 else 3 end, 4 select top 1 * from #Temp union all select 1, 2 drop table #Temp",
};

const char *const kVocabulary[] = {"SELECT",
                                   "FROM",
                                   "WHERE",
                                   "INSERT",
                                   "INTO",
                                   "VALUES",
                                   "UPDATE",
                                   "SET",
                                   "DELETE",
                                   "IF",
                                   "ELSE",
                                   "BEGIN",
                                   "END",
                                   "CASE",
                                   "WHEN",
                                   "THEN",
                                   "AND",
                                   "OR",
                                   "NOT",
                                   "IN",
                                   "IS",
                                   "NULL",
                                   "EXISTS",
                                   "TOP",
                                   "UNION",
                                   "ALL",
                                   "JOIN",
                                   "ON",
                                   "LEFT",
                                   "GROUP",
                                   "BY",
                                   "ORDER",
                                   "AS",
                                   "DROP",
                                   "TABLE",
                                   "CREATE",
                                   "(",
                                   ")",
                                   ",",
                                   "=",
                                   "<>",
                                   "+",
                                   "-",
                                   "*",
                                   "/",
                                   "1",
                                   "0.5",
                                   "'x'",
                                   "''",
                                   "@v",
                                   "#t",
                                   "t1",
                                   "FItemID",
                                   "ICInvBackup",
                                   "t_ICItem",
                                   "GETDATE()",
                                   "DATEADD(d,1,",
                                   "ISNULL(",
                                   "CONVERT(varchar,",
                                   "DECLARE @v int",
                                   "RAISERROR('e',16,1)",
                                   "BEGIN TRAN",
                                   "COMMIT",
                                   "ROLLBACK",
                                   "TRUNCATE TABLE",
                                   "EXEC p",
                                   "\r\n"};

std::string mutate(std::mt19937 &rng, const std::string &text)
{
    std::vector<host::tsql::Token> tokens = host::tsql::tokenize(text);
    tokens.pop_back();
    std::vector<std::string> words;
    for (const auto &t : tokens) {
        if (t.kind == host::tsql::TokenKind::String)
            words.push_back("'" + t.text + "'");
        else if (t.kind == host::tsql::TokenKind::QuotedId)
            words.push_back("[" + t.text + "]");
        else
            words.push_back(t.text);
    }
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < edits && !words.empty(); ++i) {
        const size_t at = rng() % words.size();
        switch (rng() % 4) {
        case 0:
            words.erase(words.begin() + static_cast<long>(at));
            break;
        case 1:
            words.insert(words.begin() + static_cast<long>(at), words[rng() % words.size()]);
            break;
        case 2:
            std::swap(words[at], words[rng() % words.size()]);
            break;
        default:
            words[at] = kVocabulary[rng() % std::size(kVocabulary)];
            break;
        }
    }
    std::string out;
    for (const auto &w : words)
        out += w + " ";
    return out;
}

std::string soup(std::mt19937 &rng)
{
    std::string out;
    const int length = 1 + static_cast<int>(rng() % 30);
    for (int i = 0; i < length; ++i) {
        out += kVocabulary[rng() % std::size(kVocabulary)];
        out += ' ';
    }
    return out;
}

TEST(Fuzz, EveryTextGivesRowsOrAHostError)
{
    std::mt19937 rng(20261207);
    std::unique_ptr<host::AppConnection> db;
    int failures = 0;
    int successes = 0;
    for (int i = 0; i < 2500; ++i) {
        if (i % 250 == 0) {
            db = std::make_unique<host::AppConnection>();
            db->openDatabase(":memory:");
            testdb::createHostTables(*db);
            db->Execute("INSERT INTO t_ICItem (FItemID,FNumber,FLastCheckDate) VALUES "
                        "(10,'a','2026-01-01')\r\nINSERT INTO ICInventory (FItemID,FStockID) "
                        "VALUES (10,1)\r\nINSERT INTO icbillno VALUES (-1,1)");
        }
        std::string text;
        switch (i % 3) {
        case 0:
            text = soup(rng);
            break;
        default:
            text = mutate(rng, kSeeds[rng() % std::size(kSeeds)]);
            break;
        }
        if (rng() % 10 == 0)
            text.insert(rng() % (text.size() + 1), 1, "'[(\"/*"[rng() % 6]);
        try {
            db->Execute(text);
            ++successes;
        } catch (const host::HostError &) {
            ++failures;
        } catch (const std::exception &e) {
            ADD_FAILURE() << "not a HostError: " << e.what() << "\nfor: " << text;
        }
    }
    // Both outcomes occur, so the texts reach the translator and SQLite.
    EXPECT_GT(successes, 10);
    EXPECT_GT(failures, 100);
}

// Text nested n deep in one of the ways the translator recurses.
std::string nested(std::string_view shape, int n)
{
    std::string open;
    std::string close;
    for (int i = 0; i < n; ++i) {
        if (shape == "parentheses") {
            open += "(";
            close += ")";
        } else if (shape == "derived tables") {
            open += "SELECT * FROM (";
            close += ") x" + std::to_string(i) + " ";
        } else if (shape == "subqueries") {
            open += "(SELECT ";
            close += ")";
        } else if (shape == "in lists") {
            open += "1 IN (SELECT ";
            close += ")";
        } else if (shape == "exists") {
            open += "CASE WHEN EXISTS (SELECT ";
            close += ") THEN 1 END";
        } else if (shape == "case") {
            open += "CASE WHEN 1=1 THEN ";
            close += " END";
        } else if (shape == "functions") {
            open += "ISNULL(";
            close += ",0)";
        } else if (shape == "unions") {
            open += "SELECT 1 AS a UNION SELECT * FROM (";
            close += ") u" + std::to_string(i) + " ";
        }
    }
    const bool fromSelect = shape == "derived tables" || shape == "unions";
    return fromSelect ? open + "SELECT 1 AS a" + close : "SELECT " + open + "1" + close;
}

TEST(Fuzz, DeepNestingIsRefusedShallowNestingRuns)
{
    host::AppConnection db;
    db.openDatabase(":memory:");
    db.Execute("CREATE TABLE n (a int)");
    const char *const shapes[] = {"parentheses", "derived tables", "subqueries", "in lists",
                                  "exists",      "case",           "functions",  "unions"};
    for (const std::string_view shape : shapes) {
        const std::string shallow = nested(shape, 8);
        EXPECT_NO_THROW(db.Execute(shallow)) << shape;
        EXPECT_NO_THROW(db.Execute("INSERT INTO n (a) " + shallow)) << shape;
        // From about 30 levels SQLite's parser gives up where SQL Server would not: the refusal
        // is the layer's own, whichever of the two refuses.
        for (const int depth : {30, 100, 500, 5000}) {
            for (const std::string &sql :
                 {nested(shape, depth), "INSERT INTO n (a) " + nested(shape, depth)}) {
                try {
                    db.Execute(sql);
                    if (depth > 100)
                        ADD_FAILURE() << shape << " " << depth << " deep ran";
                } catch (const host::HostError &e) {
                    EXPECT_NE(e.Description().find("nested too deeply"), std::string::npos)
                        << shape << ": " << e.Description();
                }
            }
        }
    }
    std::string ifs;
    for (int i = 0; i < 5000; ++i)
        ifs += "IF 1=1 ";
    EXPECT_THROW(db.Execute(ifs + "SELECT 1"), host::HostError);
    EXPECT_THROW(db.Execute("SELECT " + std::string(100000, '~') + "1"), host::HostError);
}

// A refusal without the statement that follows it.
std::string firstLine(const std::string &text)
{
    return text.substr(0, text.find('\n'));
}

// Chains of one operator as long as generated text makes them: each gives its value or the
// layer's own refusal, which names the limit past 1000 terms (SQLite reads a chain as a tree as
// deep as it is long). AND and OR lists run at any length, NULLs taken as SQL takes them.
TEST(Fuzz, LongChainsGiveTheirValueOrTheLayersRefusal)
{
    host::AppConnection db;
    db.openDatabase(":memory:");
    db.Execute("CREATE TABLE one (a int)\r\nINSERT INTO one (a) VALUES (1)");
    struct Shape
    {
        const char *name;
        const char *head;
        const char *term; // each but the last
        const char *op;
        const char *last;
        const char *tail;
        std::string (*value)(int terms);
        bool logical;
    };
    const auto one = [](int) { return std::string("1"); };
    const Shape shapes[] = {
        {"sum", "SELECT ", "1", "+", "1", "", [](int n) { return std::to_string(n); }, false},
        {"difference", "SELECT ", "1", "-", "1", "", [](int n) { return std::to_string(2 - n); },
         false},
        {"product", "SELECT ", "1", "*", "1", "", one, false},
        {"quotient", "SELECT ", "1", "/", "1", "", one, false},
        {"bits", "SELECT ", "1", "|", "1", "", one, false},
        {"decimals", "SELECT ", "0.5", "+", "0.5", "",
         [](int n) { return host::CStr(host::Variant(n / 2.0)); }, false},
        {"texts", "SELECT ", "'a'", "+", "'a'", "", [](int n) { return std::string(n, 'a'); },
         false},
        {"or list", "SELECT COUNT(*) FROM one WHERE ", "NULL=1", " OR ", "1=1", "", one, true},
        {"and list", "SELECT COUNT(*) FROM one WHERE ", "1=1", " AND ", "1=1", "", one, true},
        {"and list with a null", "SELECT COUNT(*) FROM one WHERE NOT (", "1=1", " AND ", "NULL=1",
         ")", [](int) { return std::string("0"); }, true},
    };
    const std::string deep(host::tsql::kExpressionTooDeep);
    const std::string nested(host::tsql::kNestedTooDeeply);
    for (const Shape &shape : shapes) {
        for (const int terms : {64, 65, 1000, 1001, 5000}) {
            std::string sql = shape.head;
            for (int i = 1; i < terms; ++i)
                (sql += shape.term) += shape.op;
            (sql += shape.last) += shape.tail;
            try {
                EXPECT_EQ(host::CStr(testdb::scalar(db, sql)), shape.value(terms))
                    << shape.name << " of " << terms;
                EXPECT_TRUE(shape.logical || terms <= 1000) << shape.name << " of " << terms;
            } catch (const host::HostError &e) {
                const std::string refusal = firstLine(e.Description());
                // SQLite before 3.46 runs out of parser stack on shorter chains.
                EXPECT_TRUE(refusal == deep || (terms <= 1000 && refusal == nested))
                    << shape.name << " of " << terms << ": " << refusal;
                EXPECT_FALSE(shape.logical) << shape.name << " of " << terms << ": " << refusal;
            }
        }
    }
    // OR lists of 64 terms, the first holding the next: 40 levels are deeper than SQLite takes.
    std::string list = "1=1";
    for (int level = 1; level <= 40; ++level) {
        list = "(" + list;
        for (int i = 1; i < 64; ++i)
            list += " OR 1=2";
        list += ")";
        if (level == 8) {
            EXPECT_EQ(host::CStr(testdb::scalar(db, "SELECT COUNT(*) FROM one WHERE " + list)),
                      "1");
        }
    }
    try {
        db.Execute("SELECT COUNT(*) FROM one WHERE " + list);
        ADD_FAILURE() << "40 levels of OR lists ran";
    } catch (const host::HostError &e) {
        EXPECT_EQ(firstLine(e.Description()), deep);
    }
}

// Random values of every magnitude and length written into typed columns: each statement either
// stores a value that its column can hold or fails with a HostError, and what the table holds
// afterwards is always in range.
TEST(Fuzz, RandomValuesAreStoredInRangeOrRefused)
{
    std::mt19937 rng(20261208);
    host::AppConnection db;
    db.openDatabase(":memory:");
    db.Execute("CREATE TABLE r (FInt int, FSmall smallint, FTiny tinyint, FQty decimal(6,2), "
               "FName varchar(6), FDate datetime, FFloat float)");
    const char *const columns[] = {"FInt", "FSmall", "FTiny", "FQty", "FName", "FDate", "FFloat"};
    const auto number = [&] {
        std::string text = rng() % 2 ? "-" : "";
        text += std::to_string(rng() % 1000);
        if (rng() % 2)
            text += "." + std::to_string(rng() % 1000);
        if (rng() % 3 == 0)
            text += "e" + std::to_string(static_cast<int>(rng() % 700) - 350);
        return text;
    };
    const auto value = [&]() -> std::string {
        switch (rng() % 6) {
        case 0:
            return number();
        case 1:
            return "'" + number() + "'";
        case 2:
            return "REPLICATE('" + std::string(rng() % 2 ? "中" : "a") + "', " + number() + ")";
        case 3:
            return "DATEADD(" + std::string(rng() % 2 ? "yy" : "dd") + ", " + number() +
                   ", '2026-12-07')";
        case 4:
            return "'" + std::to_string(1000 + rng() % 9500) + "-0" +
                   std::to_string(1 + rng() % 9) + "-1" + std::to_string(rng() % 10) + "'";
        default:
            return number() + " * " + number();
        }
    };
    int stored = 0;
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string sql = "INSERT INTO r (" +
                                std::string(columns[rng() % std::size(columns)]) + ") VALUES (" +
                                value() + ")";
        try {
            db.Execute(sql);
            ++stored;
        } catch (const host::HostError &) {
            ++refused;
        } catch (const std::exception &e) {
            ADD_FAILURE() << "not a HostError: " << e.what() << "\nfor: " << sql;
        }
    }
    EXPECT_GT(stored, 300);
    EXPECT_GT(refused, 300);
    const auto count = [&](const std::string &where) {
        return testdb::scalar(db, "SELECT COUNT(*) FROM r WHERE " + where);
    };
    EXPECT_EQ(count("FInt NOT BETWEEN -2147483648 AND 2147483647"), host::Variant(0));
    EXPECT_EQ(count("FSmall NOT BETWEEN -32768 AND 32767"), host::Variant(0));
    EXPECT_EQ(count("FTiny NOT BETWEEN 0 AND 255"), host::Variant(0));
    EXPECT_EQ(count("ABS(FQty) >= 10000"), host::Variant(0));
    EXPECT_EQ(count("DATALENGTH(FName) > 9"), host::Variant(0)); // two CJK characters in UTF-8
    EXPECT_EQ(count("FDate NOT BETWEEN '1753-01-01' AND '9999-12-31 23:59:59.997'"),
              host::Variant(0));
    EXPECT_EQ(count("FFloat * 0 <> 0"), host::Variant(0)); // an infinity or NaN
}

} // namespace
