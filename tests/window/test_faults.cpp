// Every write path of the module under faults of the file system, as SQLite tests itself: the
// Nth write fails, the Nth sync fails, or the disk is full from the Nth page a file would grow
// by, for N = 1, 2, ... until the path's writes are all behind it. At every N the database is
// sound, the path did all of its work or none of it (the save: whole batches of 100 lines), no
// import staging table is left, and a path that did not do its work told the user so. And the
// file removed or replaced at each moment of a path: a copy put back is found as it was.
#include "countwindowtest.h"

#include "backup/icbackupinv.h"
#include "countsheet/countlinegrid.h"
#include "countsheet/maindo.h"
#include "dialogs/saveadditem.h"
#include "host/core/datetime.h"
#include "host/core/dictionary.h"
#include "host/core/vector.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/connection.h"
#include "host/db/hostdatabase.h"
#include "host/importer/sheetimport.h"
#include "host/ui/spread/spreadgrid.h"
#include "import/importcheckdata.h"
#include "services/modulestate.h"
#include "support/childprocess.h"
#include "support/databasefile.h"
#include "support/faultyvfs.h"

#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using faultyvfs::Fault;

class WritePathTest;

// A write path: what it needs beyond the count, and how it runs; run() is true when the path
// told the user it had done its work.
struct WritePath
{
    const char *name;
    // Each a part that must be written whole or not at all: the rows of these queries. A part
    // may be written only when the parts before it are (the batches of the save).
    std::vector<std::vector<std::string>> parts;
    // Where the path says it failed: a message starting with one of these.
    std::vector<const char *> failures;
    std::function<void(WritePathTest &)> prepare;
    std::function<bool(WritePathTest &)> run;
};

struct FaultCase
{
    const char *name;
    Fault fault;
    const char *journal;
};

class WritePathTest : public CountWindowTest
{
public:
    // The journal mode of the copies.
    virtual const char *journal() const = 0;

    // Two counts in a database file to copy for every run: one of every stock, large enough
    // for the save to send two batches, and one of a few items, with a bill posted after its
    // snapshot, a gain to bill and the sheet of an import, for the other paths.
    void SetUp() override
    {
        CountWindowTest::SetUp();
        m_proc = backUp();
        auto rs = sql("Select FItemID From t_Stock Order By FItemID");
        m_stock = host::CStr(rs->Fields(0L).Value());
        std::string stocks;
        for (; !rs->EOF(); rs->MoveNext())
            stocks += (stocks.empty() ? "" : ",") + host::CStr(rs->Fields(0L).Value());
        m_small = backUpItems(stocks, "Select Top 2 FItemID From t_ICItem Where FItemID In "
                                      "(Select FItemID From ICInventory) Order By FItemID");
        sql("Update ICStockCheckProcess Set FBackupType=1");
        // As the process list opens it.
        module().gOpenFromProcList = true;
        module().gCurInterID = m_proc;
        auto window = open(4);
        const int lastRow = window->vsCheck->MaxRows() - 1;
        ASSERT_GT(lastRow, 100) << "the save must send two batches";
        m_firstLine = lineKey(*window, 1);
        m_lastLine = lineKey(*window, lastRow);
        // A window that closes leaves no process current.
        window.reset();
        module().gCurInterID = m_small;
        window = open(4);
        ASSERT_GE(window->vsCheck->MaxRows() - 1, 2);
        postBill(*window, m_billRow, false, 2, 0);
        // Counts that the sheet carries and the database does not.
        const std::string lines = " Where FInterID=" + std::to_string(m_small);
        sql("Update ICInvBackup Set FCheckQty=FQty+2,FQtyAct=FQty+2,FAuxCheckQty=FAuxQty+2,"
            "FAuxQtyAct=FAuxQty+2,FMinus=2" +
            lines);
        m_sheet = m_dir.filePath("sheet.xlsx");
        m_modals->pickFile(m_sheet);
        window->mnuFileOut->trigger();
        window.reset();
        // Gains for the gain bill, other than the sheet's counts.
        sql("Update ICInvBackup Set FCheckQty=FQty+1,FQtyAct=FQty+1,FAuxCheckQty=FAuxQty,"
            "FAuxQtyAct=FAuxQty,FMinus=1" +
            lines);
        m_template = std::make_unique<DatabaseFile>(
            *m_db, ::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_work = m_dir.filePath("work.db").toStdString();
    }

    // A count of the items the query selects, in every stock; its id.
    long backUpItems(const std::string &stocks, const std::string &items)
    {
        std::string ids;
        for (auto rs = sql(items); !rs->EOF(); rs->MoveNext())
            ids += (ids.empty() ? "" : ",") + host::CStr(rs->Fields(0L).Value());
        ICBackupInv backup;
        EXPECT_TRUE(backup.GetStockBillMaxID());
        EXPECT_TRUE(backup.BackUpData(params(stocks, " and (t4.FItemID in (" + ids + "))"), false,
                                      0, false, true));
        return host::CLng(sql("Select Max(FID) From ICStockCheckProcess")->Fields(0L).Value());
    }

    static host::Dictionary params(const std::string &stocks, const std::string &filter)
    {
        host::Dictionary params;
        params.SetValue("Stock", stocks);
        params.SetValue("Filter", filter);
        params.SetValue("Date", host::formatDate(host::now(), "YYYY-MM-DD"));
        params.SetValue("Operater", 16L);
        return params;
    }

    void TearDown() override
    {
        m_window.reset();
        faultyvfs::disarm();
        CountWindowTest::TearDown();
    }

    // A fresh copy of the database, through the faulty file system, as the module's and the
    // host's connection.
    void openCopy(bool fresh = true)
    {
        if (fresh) {
            for (const char *suffix : {"", "-journal", "-wal", "-shm", "-holds"})
                std::filesystem::remove(m_work + suffix);
            std::filesystem::copy_file(m_template->path(), m_work);
        }
        m_db = std::make_shared<host::AppConnection>();
        m_db->openDatabase(faultyvfs::uri(m_work));
        sqlite3_exec(m_db->embedded()->handle(),
                     (std::string("PRAGMA journal_mode=") + journal()).c_str(), nullptr, nullptr,
                     nullptr);
        host::setHostConnection(m_db);
        module().gAppConn = m_db;
        module().gConn = std::make_shared<host::Connection>(m_db);
        module().gCurInterID = m_small;
    }

    // Every connection to the copy closed, as when the program ends. A window holds none of
    // its own: it stays, as it was, for the next copy.
    void closeCopy()
    {
        module().gConn.reset();
        module().gAppConn.reset();
        host::setHostConnection(nullptr);
        m_db.reset();
    }

    // The rows of the part's queries, each row as text, sorted; the time a line was written
    // left out.
    std::string partState(host::AppConnection &db, const std::vector<std::string> &queries)
    {
        std::string state;
        for (const auto &query : queries) {
            std::vector<std::string> rows;
            for (auto rs = db.Execute(query); !rs->EOF(); rs->MoveNext()) {
                std::string row;
                for (long f = 0; f < rs->FieldCount(); ++f) {
                    const host::Variant &value = rs->Fields(f).Value();
                    if (rs->Fields(f).Name() != "FDateBackup")
                        row += (value.isNull() ? std::string("NULL") : host::CStr(value)) + "|";
                }
                rows.push_back(std::move(row));
            }
            std::sort(rows.begin(), rows.end());
            state += query + "\n";
            for (const auto &row : rows)
                state += row + "\n";
        }
        return state;
    }

    // What the copy holds, after the program ended: its integrity, the parts and the staging
    // tables left.
    struct Outcome
    {
        std::string integrity;
        std::vector<std::string> parts;
        long stagingTables = 0;
    };
    Outcome outcome(const WritePath &path)
    {
        closeCopy();
        host::AppConnection db;
        db.openDatabase(m_work);
        Outcome out;
        sqlite3_stmt *check = nullptr;
        sqlite3_prepare_v2(db.embedded()->handle(), "PRAGMA integrity_check", -1, &check, nullptr);
        while (sqlite3_step(check) == SQLITE_ROW)
            out.integrity += reinterpret_cast<const char *>(sqlite3_column_text(check, 0));
        sqlite3_finalize(check);
        for (const auto &part : path.parts)
            out.parts.push_back(partState(db, part));
        out.stagingTables =
            host::CLng(db.Execute("select count(*) from sysobjects where xtype='U' and "
                                  "SUBSTRING(name,1,16)='IcInvBackUpTemp_'")
                           ->Fields(0)
                           .Value());
        return out;
    }

    // Runs the path on a fresh copy with the fault armed at n (none for 0); whether the path
    // said it did its work, and the messages it showed.
    bool runOnCopy(const WritePath &path, Fault fault, int n, QStringList &shown,
                   bool freshCopy = true)
    {
        openCopy(freshCopy);
        // The one before goes first: it puts back the services it found when it goes.
        m_modals.reset();
        m_modals = std::make_unique<host::ui::ScriptedModals>();
        path.prepare(*this);
        m_before.clear();
        for (const auto &part : path.parts)
            m_before.push_back(partState(*m_db, part));
        const auto before = m_modals->messages().size();
        if (n > 0)
            faultyvfs::arm(fault, n);
        const bool done = path.run(*this);
        faultyvfs::disarm();
        for (size_t i = before; i < m_modals->messages().size(); ++i)
            shown << m_modals->messages()[i].text;
        return done;
    }

    // The input window on the current count, opened once for the runs of a path.
    void window()
    {
        if (!m_window)
            m_window = open(4);
    }

    static std::vector<WritePath> paths(const WritePathTest &t);

    long m_proc = 0;
    long m_small = 0;
    std::string m_stock;
    std::string m_firstLine;
    std::string m_lastLine;
    int m_billRow = 2;
    QString m_sheet;
    QTemporaryDir m_dir;
    std::unique_ptr<DatabaseFile> m_template;
    std::string m_work;
    std::unique_ptr<frmMain> m_window;
    // The parts as the path found them.
    std::vector<std::string> m_before;
};

std::string linesOf(long proc)
{
    return "select * from ICInvBackup where FInterID=" + std::to_string(proc);
}

std::vector<WritePath> WritePathTest::paths(const WritePathTest &t)
{
    const std::string lines = linesOf(t.m_small);
    const std::string process =
        "select * from ICStockCheckProcess where FID=" + std::to_string(t.m_small);
    const std::string marks =
        "select FInterID,FEntryID,FSelectedProcID from ICStockBillEntry where FSelectedProcID<>0";
    return {
        {"backup",
         {{"select * from ICStockCheckProcess", "select * from ICInvBackup",
           "select * from icbillno", "select FItemID,FLastCheckDate from t_ICItemMaterial",
           "select count(*) from ICInvBackupTemp"}},
         {"备份数据失败！", "读取单据最大内码失败，不能备份！"},
         [](WritePathTest &) {},
         [](WritePathTest &f) {
             // As the backup window asks for it.
             ICBackupInv backup;
             if (!backup.GetStockBillMaxID()) {
                 ICBackupInv::ReportMaximaFailure();
                 return false;
             }
             return backup.BackUpData(params(f.m_stock, " and (t4.FItemID < 130)"), false, 0, false,
                                      true);
         }},
        {"save",
         {{"select * from ICInvBackup" + t.m_firstLine},
          {"select * from ICInvBackup" + t.m_lastLine}},
         {"盘点数据没有全部保存"},
         [](WritePathTest &f) {
             module().gCurInterID = f.m_proc;
             f.window();
             // Typed afresh on every copy: a note typed over itself changes nothing.
             const int rows[] = {1, f.m_window->vsCheck->MaxRows() - 1};
             for (const int row : rows) {
                 f.type(*f.m_window, EntryCol::Note, row, "-");
                 f.type(*f.m_window, EntryCol::Note, row, row == 1 ? "first" : "second");
             }
         },
         [](WritePathTest &f) {
             f.m_window->mnuFSave->trigger();
             return !f.m_window->mModified;
         }},
        {"import",
         {{lines}},
         {"盘点引入失败"},
         [](WritePathTest &) {},
         [](WritePathTest &f) {
             auto sheet = host::SheetImport().importdata(f.m_sheet.toStdString());
             return PubVariant::ImportCheckData(sheet) &&
                    f.m_modals->messageTexts().contains("数据引入完毕!");
         }},
        {"select bills",
         {{lines, marks}},
         {"选择盘点期间内发生的单据出错!"},
         [](WritePathTest &f) { f.window(); },
         [](WritePathTest &f) {
             f.selectAllBills(*f.m_window, f.m_billRow);
             return f.m_modals->messages().empty();
         }},
        {"bills",
         {{lines, "select * from ICStockBill", "select * from ICStockBillEntry"}},
         {"盘点单据输出不成功:"},
         [](WritePathTest &) {},
         [](WritePathTest &) {
             long bill = 0;
             return MainDo().OutCheckBill(1, bill) == -1;
         }},
        {"add line",
         {{lines}},
         {"添加物料失败，原因："},
         [](WritePathTest &) {},
         [](WritePathTest &f) {
             const auto line = f.sql(linesOf(f.m_small));
             line->MoveFirst();
             const auto value = [&line](const char *name) {
                 return host::CLng(line->Fields(name).Value());
             };
             return PubVariant::SaveAddItem(value("FItemID"), value("FUnitID"), value("FStockID"),
                                            "added", "", host::Variant(5.0), "", 0, "", 0, 1, 0, 0,
                                            0, 0);
         }},
        {"process list save",
         {{process}},
         {"保存盘点方案失败"},
         [](WritePathTest &) {},
         [](WritePathTest &f) {
             auto change = std::make_shared<host::Dictionary>();
             change->SetValue("FID", f.m_small);
             change->SetValue("ProcID", "renamed");
             change->SetValue("Remark", "saved from the list");
             host::Vector changes;
             changes.Add(host::Variant(std::shared_ptr<host::HostObject>(change)));
             return ICBackupInv().SaveProc(changes);
         }},
        {"delete a process",
         {{lines, process, marks}},
         {"删除盘点方案失败"},
         [](WritePathTest &f) {
             f.sql("Update ICStockBillEntry Set FSelectedProcID=" + std::to_string(f.m_small) +
                   " Where FInterID=(Select Max(FInterID) From ICStockBillEntry)");
         },
         [](WritePathTest &f) { return ICBackupInv().DelProcAndBackupData(f.m_small); }},
    };
}

class FaultTest : public WritePathTest, public ::testing::WithParamInterface<FaultCase>
{
public:
    const char *journal() const override { return GetParam().journal; }
};

TEST_P(FaultTest, EveryWritePathIsAllOrNothingAndSaysWhenItFailed)
{
    for (const WritePath &path : paths(*this)) {
        SCOPED_TRACE(path.name);
        QStringList shown;
        ASSERT_TRUE(runOnCopy(path, GetParam().fault, 0, shown)) << shown.join("|").toStdString();
        const std::vector<std::string> before = m_before;
        const Outcome after = outcome(path);
        for (size_t p = 0; p < after.parts.size(); ++p)
            ASSERT_FALSE(after.parts[p] == before[p]) << "part " << p << " is not written";

        constexpr int kMostFaults = 400;
        int n = 1;
        for (bool fired = true; fired; ++n) {
            ASSERT_LT(n, kMostFaults);
            shown.clear();
            const bool said = runOnCopy(path, GetParam().fault, n, shown);
            fired = faultyvfs::fired();
            const Outcome now = outcome(path);
            SCOPED_TRACE("fault at " + std::to_string(n) + ": " + shown.join("|").toStdString());
            EXPECT_EQ(now.integrity.substr(0, 200), "ok");
            bool written = true;
            for (size_t p = 0; p < now.parts.size(); ++p) {
                const bool partWritten = now.parts[p] == after.parts[p];
                EXPECT_TRUE(partWritten || now.parts[p] == before[p]) << "part " << p << " half";
                EXPECT_TRUE(written || !partWritten) << "part " << p << " after one not written";
                written = written && partWritten;
            }
            // Past the path's last write it must have done its work.
            EXPECT_TRUE(said || fired);
            if (said) {
                EXPECT_TRUE(written) << "said done";
            } else {
                EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const QString &text) {
                    return std::any_of(path.failures.begin(), path.failures.end(),
                                       [&](const char *failure) {
                                           return text.startsWith(QString::fromUtf8(failure));
                                       });
                })) << "not told";
            }
            if (now.stagingTables > 0) {
                // A full disk takes the drop of the staging table too: the next import, of any
                // user, drops it once there is room.
                EXPECT_EQ(GetParam().fault, Fault::Full);
                QStringList next;
                EXPECT_TRUE(runOnCopy(path, GetParam().fault, 0, next, false))
                    << next.join("|").toStdString();
                EXPECT_EQ(outcome(path).stagingTables, 0);
            }
        }
        m_window.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest,
                         ::testing::Values(FaultCase{"WriteWal", Fault::Write, "WAL"},
                                           FaultCase{"SyncWal", Fault::Sync, "WAL"},
                                           FaultCase{"FullWal", Fault::Full, "WAL"},
                                           FaultCase{"WriteJournal", Fault::Write, "DELETE"},
                                           FaultCase{"SyncJournal", Fault::Sync, "DELETE"},
                                           FaultCase{"FullJournal", Fault::Full, "DELETE"}),
                         [](const auto &param) { return std::string(param.param.name); });

// A user removes the database file while the program writes to it, or puts a copy in its place,
// and once the program ended puts the copy there: the program runs in a process of its own,
// and the copy is then found exactly as it was, whatever moment of the program's writes the
// file went at.
enum class Move
{
    Remove,
    Replace
};

// The program in a process of its own, on a copy in the mode it makes its databases in (a
// rollback journal leaves nothing behind once its transaction ends), and what a file holds.
class ProgramTest : public WritePathTest
{
public:
    const char *journal() const override { return "WAL"; }

    // Every table of the database, its rows sorted; and its integrity.
    std::string contents(host::AppConnection &db)
    {
        std::vector<std::string> tables;
        for (auto rs =
                 db.Execute("select name from sqlite_master where type='table' order by name");
             !rs->EOF(); rs->MoveNext())
            tables.push_back("select * from [" + host::CStr(rs->Fields(0L).Value()) + "]");
        sqlite3_stmt *check = nullptr;
        sqlite3_prepare_v2(db.embedded()->handle(), "PRAGMA integrity_check", -1, &check, nullptr);
        std::string integrity;
        while (sqlite3_step(check) == SQLITE_ROW)
            integrity += reinterpret_cast<const char *>(sqlite3_column_text(check, 0));
        sqlite3_finalize(check);
        return integrity.substr(0, 200) + "\n" + partState(db, tables);
    }

    std::string contentsOf(const std::string &file)
    {
        host::AppConnection db;
        db.openDatabase(file);
        return contents(db);
    }

    // The program on a fresh copy, prepared for the path, in a process of its own: the step's
    // text, the step run with the copy opened as the program opens it and closed after it.
    std::string asProgram(const WritePath &path, const std::function<std::string()> &step)
    {
        openCopy();
        m_modals.reset();
        m_modals = std::make_unique<host::ui::ScriptedModals>();
        path.prepare(*this);
        const long current = module().gCurInterID;
        closeCopy();
        ChildProcess program([&] {
            openCopy(false);
            module().gCurInterID = current;
            std::string text = step();
            closeCopy();
            return text;
        });
        return program.finish();
    }
};

class MovedFileTest : public ProgramTest, public ::testing::WithParamInterface<Move>
{
public:
    static constexpr int kMoments = 10;

    // The path run by the program, the event armed at the nth read or write (none for INT_MAX);
    // the reads and writes counted, and whether the event came about.
    std::string runElsewhere(const WritePath &path, int n, const std::function<void()> &event)
    {
        return asProgram(path, [&] {
            faultyvfs::armEvent(n, event);
            path.run(*this);
            faultyvfs::disarm();
            return std::to_string(faultyvfs::counted()) + (faultyvfs::fired() ? " moved" : "");
        });
    }
};

TEST_P(MovedFileTest, ACopyPutWhereTheFileWasIsFoundAsItWas)
{
    const std::string copy = m_template->path();
    const std::string before = contentsOf(copy);
    ASSERT_EQ(before.substr(0, 3), "ok\n");
    const auto move = [&] {
        if (GetParam() == Move::Replace) {
            std::filesystem::copy_file(copy, m_work + ".new");
            std::filesystem::rename(m_work + ".new", m_work);
        } else {
            std::filesystem::remove(m_work);
        }
    };
    for (const WritePath &path : paths(*this)) {
        if (std::strcmp(path.name, "save") != 0 && std::strcmp(path.name, "import") != 0 &&
            std::strcmp(path.name, "backup") != 0)
            continue;
        SCOPED_TRACE(path.name);
        const int operations = std::stoi(runElsewhere(path, INT_MAX, [] {}));
        ASSERT_GE(operations, kMoments);
        for (int moment = 0; moment < kMoments; ++moment) {
            const int n = 1 + moment * (operations - 1) / (kMoments - 1);
            SCOPED_TRACE("moved before read or write " + std::to_string(n) + " of " +
                         std::to_string(operations));
            const std::string ran = runElsewhere(path, n, move);
            EXPECT_TRUE(ran.ends_with(" moved")) << ran;
            if (GetParam() == Move::Remove)
                std::filesystem::copy_file(copy, m_work);
            EXPECT_EQ(contentsOf(m_work), before);
        }
        m_window.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, MovedFileTest, ::testing::Values(Move::Remove, Move::Replace),
                         [](const auto &param) {
                             return std::string(param.param == Move::Remove ? "Removed"
                                                                            : "Replaced");
                         });

// Once a path has ended, what it wrote is in the database file itself, while the program still
// runs: a copy put in the file's place (its log left where it was) is what another program then
// finds at the path, and what is there once the program ended; a log deleted takes nothing the
// path did with it.
enum class Ended
{
    LogRemoved,
    FileReplaced
};

class EndedPathTest : public ProgramTest, public ::testing::WithParamInterface<Ended>
{};

TEST_P(EndedPathTest, WhatItWroteIsInTheFileItself)
{
    const std::string copy = m_template->path();
    const std::string before = contentsOf(copy);
    for (const WritePath &path : paths(*this)) {
        SCOPED_TRACE(path.name);
        const std::string seen = asProgram(path, [&] {
            if (!path.run(*this))
                return std::string("not done");
            if (GetParam() == Ended::LogRemoved) {
                // What the program's own connection finds, before its log goes.
                std::string own = contents(*m_db);
                std::filesystem::remove(m_work + "-wal");
                return own;
            }
            std::filesystem::copy_file(copy, m_work + ".new");
            std::filesystem::rename(m_work + ".new", m_work);
            return ChildProcess([&] { return contentsOf(m_work); }).finish();
        });
        const std::string found = contentsOf(m_work);
        if (GetParam() == Ended::LogRemoved) {
            EXPECT_NE(seen, before) << "the path wrote nothing";
            EXPECT_EQ(found, seen);
        } else {
            EXPECT_EQ(seen, before);
            EXPECT_EQ(found, before);
        }
        m_window.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, EndedPathTest,
                         ::testing::Values(Ended::LogRemoved, Ended::FileReplaced),
                         [](const auto &param) {
                             return std::string(param.param == Ended::LogRemoved ? "LogRemoved"
                                                                                 : "FileReplaced");
                         });

} // namespace
