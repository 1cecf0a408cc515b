#include "countwindowtest.h"

#include "countsheet/countlinegrid.h"
#include "host/db/backends/embeddeddatabase.h"
#include "host/db/hostdatabase.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/modulestate.h"
#include "support/databasefile.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <algorithm>

#include <vector>

namespace {

// The count lines of the process as text, one per line, in a fixed order.
std::vector<std::string> lines(CountWindowTest &, host::AppConnection &db, long id)
{
    std::vector<std::string> out;
    auto rs = db.Execute("Select FItemID,FStockID,FStockPlaceID,FBatchNo,FKFDate,FCheckQty,"
                         "FQtyAct,FAuxCheckQty,FSecCheckQty,FNote,FMinus From ICInvBackup Where "
                         "FInterID=" +
                         std::to_string(id) +
                         " Order By FItemID,FStockID,FStockPlaceID,FBatchNo,FKFDate");
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) {
        std::string line;
        for (long f = 0; f < rs->FieldCount(); ++f)
            line +=
                (rs->Fields(f).Value().isNull() ? "-" : host::CStr(rs->Fields(f).Value())) + "|";
        out.push_back(line);
    }
    return out;
}

class SaveTest : public CountWindowTest
{
protected:
    void SetUp() override
    {
        CountWindowTest::SetUp();
        m_id = backUp();
        m_window = open(4);
    }
    void TearDown() override
    {
        m_window.reset();
        CountWindowTest::TearDown();
    }
    // The state a save must leave whatever happened in it.
    void expectRestored() const
    {
        EXPECT_TRUE(m_window->isEnabled());
        EXPECT_EQ(m_window->staBar->Panels(1).Text(), QStringLiteral("就绪"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // A stored column of the line of a grid row.
    double stored(const std::string &column, int row)
    {
        return number("Select " + column + " From ICInvBackup" + lineKey(*m_window, row));
    }
    std::string storedNote(int row)
    {
        auto rs = sql("Select FNote From ICInvBackup" + lineKey(*m_window, row));
        rs->MoveFirst();
        const host::Variant note = rs->Fields(0L).Value();
        return note.isNull() ? std::string() : host::CStr(note);
    }
    bool marked(int row) const { return m_window->mRowChanged.at(static_cast<size_t>(row - 1)); }
    CountLine lineOf(int row) const { return readCountLine(*m_window->vsCheck, row); }

    long m_id = 0;
    std::unique_ptr<frmMain> m_window;
};

const QString kDirectionMessage =
    "基本单位与辅助计量单位盘盈盘亏方向不一致，盘点数据未能成功保存，请检查数据！";

TEST_F(SaveTest, WritesExactlyTheEditedLinesAndListsTheRefusedOnes)
{
    frmMain &w = *m_window;
    const auto before = lines(*this, *m_db, m_id);
    const int plain = findRow(w, [&](int r) { return cell(w, 34, r) == 1 && cell(w, 17, r) > 0; });
    const int noted = findRow(w, [&](int r) { return r != plain && cell(w, 17, r) > 0; });
    const int negative = findRow(w, [&](int r) { return cell(w, 17, r) < 0; });
    const int second = findRow(w, [&](int r) {
        return r != plain && r != noted && cell(w, 40, r) > 0 && cell(w, 17, r) > 0;
    });
    type(w, 24, plain, "12.5");
    // A pasted text reaches the grid with its quote.
    w.vsCheck->model()->setData(w.vsCheck->model()->index(noted - 1, 32), "it's here");
    // Rule 1: below a negative book quantity.
    type(w, 24, negative, QString::number(2 * cell(w, 17, negative) / cell(w, 34, negative)));
    // Rule 2: a gain in the second unit against a loss in the base unit.
    type(w, 31, second, QString::number(cell(w, 29, second) + 10));
    captureErrorList();

    EXPECT_EQ(w.SaveStockData(false), frmMain::SaveResult::Failed);

    // Listed in grid order.
    const bool negativeFirst = negative < second;
    const QString m1 = "账存数量为负且实存数量小于账存数量，盘点数据未能成功保存，请检查数据！";
    const QString m2 = kDirectionMessage;
    const QString item1 = w.vsCheck->GetText(6, negative), item2 = w.vsCheck->GetText(6, second);
    EXPECT_EQ(m_errorItems,
              negativeFirst ? (QStringList{item1, item2}) : (QStringList{item2, item1}));
    EXPECT_EQ(m_errorMessages, negativeFirst ? (QStringList{m1, m2}) : (QStringList{m2, m1}));
    EXPECT_TRUE(m_errorReasonsSeen);
    EXPECT_TRUE(w.mModified);
    expectRestored();
    const auto after = lines(*this, *m_db, m_id);
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    EXPECT_EQ(changed, 2);
    const std::string itemOf = " And FItemID=" + w.vsCheck->GetText(1, plain).toStdString() +
                               " And FBatchNo='" + w.vsCheck->GetText(11, plain).toStdString() +
                               "' And FStockID=" + w.vsCheck->GetText(42, plain).toStdString() +
                               " And FStockPlaceID=" + w.vsCheck->GetText(35, plain).toStdString();
    EXPECT_EQ(number("Select Sum(FCheckQty) From ICInvBackup Where FInterID=" +
                     std::to_string(m_id) + itemOf),
              12.5);
    EXPECT_EQ(number("Select Count(*) From ICInvBackup Where FNote='it''s here'"), 1);
}

TEST_F(SaveTest, ALineTheDatabaseNoLongerHoldsIsListedAsNotSaved)
{
    frmMain &w = *m_window;
    sql("Delete From ICInvBackup Where FInterID=" + std::to_string(m_id) +
        " And FItemID=" + w.vsCheck->GetText(1, 2).toStdString() +
        " And FStockID=" + w.vsCheck->GetText(42, 2).toStdString());
    type(w, 24, 2, "3");
    captureErrorList();
    EXPECT_EQ(w.SaveStockData(false), frmMain::SaveResult::Failed);
    EXPECT_EQ(m_errorItems, QStringList{w.vsCheck->GetText(6, 2)});
    EXPECT_TRUE(w.mModified);
}

TEST_F(SaveTest, ALineWhoseKeyCannotBeReadIsRefusedNotWritten)
{
    frmMain &w = *m_window;
    const auto before = lines(*this, *m_db, m_id);
    w.vsCheck->SetText(13, 3, "someday");
    type(w, 24, 3, "6");
    captureErrorList();
    EXPECT_EQ(w.SaveStockData(false), frmMain::SaveResult::Failed);
    EXPECT_EQ(m_errorMessages,
              QStringList{"盘点数据的关键字段无法读取，盘点数据未能成功保存，请检查数据！"});
    EXPECT_EQ(lines(*this, *m_db, m_id), before);
}

TEST_F(SaveTest, AFailedSaveIsShownAndKeepsTheWindowUntilTheUserDropsTheCounts)
{
    frmMain &w = *m_window;
    type(w, EntryCol::CUUnitCheckQty, 1, "4");
    sql("Drop Table ICInvBackup");
    captureErrorList();
    m_modals->answer(host::ui::Msg::Yes);
    w.Unload();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(m_modals->messageTexts().size(), 1);
    ASSERT_EQ(m_errorMessages.size(), 1);
    EXPECT_EQ(m_errorMessages[0],
              "数据库拒绝写入此盘点数据，盘点数据未能成功保存，请检查数据！原因："
              "Invalid object name 'ICInvBackup'.");
    EXPECT_TRUE(w.mModified);
    expectRestored();
    // No closes without saving.
    m_modals->answer(host::ui::Msg::No);
    w.Unload();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SaveTest, ATypedCountReachesEveryStoredQuantityOfItsLine)
{
    namespace C = EntryCol;
    frmMain &w = *m_window;
    // Lines counted in boxes of several pieces to two decimals, with a second unit and its rate:
    // a later one in the grid whose item comes first in the count lines' key, so the save sends
    // the two the other way round.
    const auto boxed = [&](int r) {
        const CountLine l = lineOf(r);
        return l.hasSecondUnit() && l.secCoefficient > 0 && l.coefficient > 1 && l.qty > 0 &&
               l.qtyDecimals >= 2;
    };
    int first = 0;
    const int later = findRow(w, [&](int r) {
        for (int e = 1; e < r && boxed(r); ++e)
            if (boxed(e) && lineOf(e).itemId > lineOf(r).itemId)
                first = e;
        return first != 0;
    });
    const std::pair<int, double> counts[] = {{first, 3.7}, {later, 2.45}};
    std::vector<CountLine> before;
    for (const auto &[row, count] : counts) {
        before.push_back(lineOf(row));
        type(w, C::AdjQty, row, "1");
        type(w, C::CUUnitCheckQty, row, QString::number(count));
    }
    ASSERT_EQ(w.SaveStockData(false), frmMain::SaveResult::Saved);

    for (size_t i = 0; i < std::size(counts); ++i) {
        const auto &[row, count] = counts[i];
        const CountLine &b = before[i];
        const double base = count * b.coefficient;
        const double second = base / b.secCoefficient;
        const double secondAdjustment = b.coefficient / b.secCoefficient;
        const std::pair<const char *, double> expected[] = {
            {"FCheckQty", base},
            {"FQtyAct", base + b.diffQty},
            {"FQty", b.qty},
            {"FAuxQty", b.cuUnitQty},
            {"FAuxCheckQty", count},
            {"FAuxQtyAct", count + b.cuUnitDiffQty},
            {"FAdjQty", 1},
            {"FMinus", base + b.diffQty - b.qty - b.coefficient},
            {"FSecQty", b.secQty},
            {"FSecCheckQty", second},
            {"FSecQtyAct", second + b.secDiffQty},
            {"FSecAdjQty", secondAdjustment},
            {"FSecMinus", second + b.secDiffQty - b.secQty - secondAdjustment},
            {"FChecker", 16},
        };
        // Stored to ten decimals.
        for (const auto &[column, value] : expected)
            EXPECT_NEAR(stored(column, row), value, 1e-10) << column << " of row " << row;
        EXPECT_FALSE(marked(row));
    }
}

// The note's column holds 255 bytes, a Chinese character taking two: the cell takes no more as
// the user types, so the note is saved as far as it was taken, never refused for its length.
TEST_F(SaveTest, ANoteTakesWhatItsColumnHoldsAndIsSaved)
{
    frmMain &w = *m_window;
    // Typed as an input method types Chinese, into the cell's editor.
    w.vsCheck->setFocus();
    w.vsCheck->SetActiveCell(EntryCol::Note, 1);
    QTest::keyClick(w.vsCheck, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && editor != w.vsCheck);
    QInputMethodEvent typed;
    typed.setCommitString(QString(200, QChar(0x76D8)));
    QApplication::sendEvent(editor, &typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    const QString kept(127, QChar(0x76D8));
    EXPECT_EQ(w.vsCheck->GetText(EntryCol::Note, 1), kept);
    EXPECT_EQ(w.SaveStockData(false), frmMain::SaveResult::Saved);
    EXPECT_EQ(storedNote(1), kept.toStdString());
}

TEST_F(SaveTest, EditsOnEveryBatchAreSavedAndARefusedLineIsKept)
{
    namespace C = EntryCol;
    frmMain &w = *m_window;
    const int last = w.vsCheck->MaxRows() - 1;
    ASSERT_GT(last, 2 * 100 / 2 + 1) << "the sheet spans two batches";
    const std::vector<int> noted = {1, 100, 101, last};
    for (int row : noted)
        type(w, C::Note, row, QStringLiteral("row %1").arg(row));
    // A gain in the base unit typed with a loss in the second unit.
    const int refused = findRow(w, [&](int r) {
        const CountLine l = lineOf(r);
        return l.hasSecondUnit() && l.secQty > 1 && l.qty > 0 &&
               std::find(noted.begin(), noted.end(), r) == noted.end();
    });
    const CountLine before = lineOf(refused);
    type(w, C::CUUnitCheckQty, refused, QString::number(before.cuUnitQty + 1));
    type(w, C::SecCheckQty, refused, QString::number(before.secQty - 1));
    captureErrorList();

    EXPECT_EQ(w.SaveStockData(false), frmMain::SaveResult::Failed);
    for (int row : noted) {
        EXPECT_EQ(storedNote(row), "row " + std::to_string(row));
        EXPECT_FALSE(marked(row)) << row;
    }
    EXPECT_EQ(m_errorMessages, QStringList{kDirectionMessage});
    EXPECT_EQ(m_errorNames, QStringList{QString::fromStdString(before.itemName)});
    EXPECT_TRUE(marked(refused));
    EXPECT_EQ(stored("FAuxCheckQty", refused), before.cuUnitCheckQty);
    EXPECT_EQ(stored("FSecCheckQty", refused), before.secCheckQty);
    EXPECT_EQ(stored("IsNull(FMinus,0)", refused), 0);
}

TEST_F(SaveTest, ALineTheDatabaseRefusesIsNamedAndTheOthersAreSaved)
{
    namespace C = EntryCol;
    frmMain &w = *m_window;
    const int failing = findRow(w, [&](int r) { return !lineOf(r).hasSecondUnit(); });
    const int sameBatch = failing == 1 ? 2 : 1;
    const int nextBatch = w.vsCheck->MaxRows() - 1;
    // Refused too, and listed after it as the grid shows it, though its item comes first.
    const int later = findRow(w, [&](int r) {
        return r > failing && r != sameBatch && r < nextBatch && !lineOf(r).hasSecondUnit() &&
               lineOf(r).itemId < lineOf(failing).itemId;
    });
    // A coefficient no unit has makes a base quantity beyond what the database holds.
    for (const int row : {failing, later}) {
        w.vsCheck->SetText(C::Coefficient, row, QStringLiteral("1e300"));
        type(w, C::CUUnitCheckQty, row, "2");
    }
    type(w, C::Note, sameBatch, "same batch");
    type(w, C::Note, nextBatch, "next batch");
    // Another user deleted a line of the refused batch: sent again alone, it is still not saved.
    const int deleted = findRow(w, [&](int r) {
        return r < nextBatch && r != later && lineOf(r).itemId != lineOf(failing).itemId &&
               lineOf(r).itemId != lineOf(sameBatch).itemId;
    });
    sql("Delete From ICInvBackup" + lineKey(w, deleted));
    type(w, C::Note, deleted, "deleted");
    captureErrorList();

    EXPECT_EQ(w.SaveStockData(false), frmMain::SaveResult::Failed);
    EXPECT_EQ(m_errorItems, (QStringList{QString::fromStdString(lineOf(deleted).itemNumber),
                                         QString::fromStdString(lineOf(failing).itemNumber),
                                         QString::fromStdString(lineOf(later).itemNumber)}));
    EXPECT_EQ(m_errorNames, (QStringList{QString::fromStdString(lineOf(deleted).itemName),
                                         QString::fromStdString(lineOf(failing).itemName),
                                         QString::fromStdString(lineOf(later).itemName)}));
    const QString refused = "数据库拒绝写入此盘点数据，盘点数据未能成功保存，请检查数据！原因："
                            "Arithmetic overflow error converting expression to data type numeric.";
    EXPECT_EQ(m_errorMessages,
              (QStringList{"数据库中没有此盘点数据，盘点数据未能成功保存，请刷新后再试！", refused,
                           refused}));
    EXPECT_EQ(storedNote(sameBatch), "same batch");
    EXPECT_EQ(storedNote(nextBatch), "next batch");
    EXPECT_TRUE(marked(failing));
    EXPECT_TRUE(marked(deleted));
    EXPECT_FALSE(marked(sameBatch));
    EXPECT_FALSE(marked(nextBatch));
    EXPECT_TRUE(w.mModified);
    expectRestored();
}

struct LockCase
{
    const char *name;
    // Otherwise the lock is there from the start.
    bool onceABatchIsRefused;
};

void PrintTo(const LockCase &c, std::ostream *os)
{
    *os << c.name;
}

class LockedSaveTest : public SaveTest, public ::testing::WithParamInterface<LockCase>
{};

// Takes the other program's write lock as the first statement outside a transaction begins after
// one inside it: once a batch has run, as its lines are sent again one by one.
struct LockAfterABatch
{
    sqlite3 *other;
    bool batchSeen = false;
    bool taken = false;

    static int onStatement(unsigned, void *context, void *statement, void *)
    {
        auto &lock = *static_cast<LockAfterABatch *>(context);
        const bool inTransaction =
            sqlite3_get_autocommit(sqlite3_db_handle(static_cast<sqlite3_stmt *>(statement))) == 0;
        if (inTransaction) {
            lock.batchSeen = true;
        } else if (lock.batchSeen && !lock.taken) {
            sqlite3_exec(lock.other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            lock.taken = true;
        }
        return 0;
    }
};

// Another program holds the write lock past the wait, from the start or from when the lines of
// a batch the database refused are sent again one by one: the save waits once and says so once,
// lists no line as refused for it, and every edited line stays edited for the next save, which
// writes them all.
TEST_P(LockedSaveTest, ALockedDatabaseIsWaitedForOnceAndToldOnce)
{
    namespace C = EntryCol;
    const DatabaseFile file(*m_db, "locked");
    const auto theirs = file.connect();
    m_db = file.connect();
    m_window.reset();
    module().gAppConn = m_db;
    host::setHostConnection(m_db);
    m_window = open(4);
    frmMain &w = *m_window;
    const int rows[] = {1, 2, w.vsCheck->MaxRows() - 1};
    for (const int row : rows)
        type(w, C::Note, row, "counted");
    // Lines enough for a second batch, which has nothing to wait for once the first could not
    // be written.
    for (int row = 3; row <= 100; ++row)
        w.vsCheck->model()->setData(w.vsCheck->model()->index(row - 1, C::Note - 1), "pasted");
    sqlite3 *handle = m_db->embedded()->handle();
    LockAfterABatch lock{theirs->embedded()->handle()};
    int refused = 0;
    QString coefficient;
    if (GetParam().onceABatchIsRefused) {
        // A coefficient no unit has makes a base quantity beyond what the database holds.
        refused = findRow(w, [&](int r) { return r > 2 && !lineOf(r).hasSecondUnit(); });
        ASSERT_LT(refused, 100) << "in the batch of the other lines";
        coefficient = w.vsCheck->GetText(C::Coefficient, refused);
        w.vsCheck->SetText(C::Coefficient, refused, QStringLiteral("1e300"));
        type(w, C::CUUnitCheckQty, refused, "2");
        sqlite3_trace_v2(handle, SQLITE_TRACE_STMT, &LockAfterABatch::onStatement, &lock);
    } else {
        DatabaseFile::holdWriteLock(*theirs, *m_db);
    }
    int waits = 0;
    sqlite3_busy_handler(
        handle,
        [](void *count, int tries) {
            *static_cast<int *>(count) += tries == 0 ? 1 : 0;
            return 0;
        },
        &waits);
    captureErrorList();

    w.mnuFSave->trigger();

    EXPECT_EQ(waits, 1);
    EXPECT_EQ(m_modals->messageTexts(),
              QStringList{"盘点数据没有全部保存，没有保存的修改仍在表中，可以再次保存。"
                          "数据库正忙，请稍后再试。\ndatabase is locked"});
    EXPECT_TRUE(m_errorMessages.isEmpty());
    EXPECT_TRUE(w.mModified);
    expectRestored();
    sqlite3_trace_v2(handle, 0, nullptr, nullptr);
    file.release(*theirs);
    if (refused != 0) {
        w.vsCheck->SetText(C::Coefficient, refused, coefficient);
        type(w, C::CUUnitCheckQty, refused, "3");
    }
    w.mnuFSave->trigger();
    for (const int row : rows) {
        EXPECT_EQ(storedNote(row), "counted");
        EXPECT_FALSE(marked(row));
    }
    EXPECT_FALSE(w.mModified);
}

INSTANTIATE_TEST_SUITE_P(Locks, LockedSaveTest,
                         ::testing::Values(LockCase{"FromTheStart", false},
                                           LockCase{"OnceABatchIsRefused", true}),
                         [](const auto &param) { return std::string(param.param.name); });

TEST_F(SaveTest, ASavedLineIsNotWrittenAgainOverAnotherUsersCount)
{
    namespace C = EntryCol;
    const DatabaseFile file(*m_db, "two users");
    const auto mine = file.connect();
    const auto theirs = file.connect();
    m_window.reset();
    module().gAppConn = mine;
    host::setHostConnection(mine);
    m_window = open(4);
    frmMain &w = *m_window;
    const std::string first = lineKey(w, 1);

    type(w, C::CUUnitCheckQty, 1, "7");
    w.mnuFSave->trigger();
    theirs->Execute("Update ICInvBackup Set FAuxCheckQty=9" + first);
    type(w, C::CUUnitCheckQty, 2, "5");
    w.mnuFSave->trigger();

    auto rs = theirs->Execute("Select FAuxCheckQty From ICInvBackup" + first);
    rs->MoveFirst();
    EXPECT_EQ(host::Val(rs->Fields(0L).Value()), 9);
    EXPECT_FALSE(w.mModified);
}

} // namespace
