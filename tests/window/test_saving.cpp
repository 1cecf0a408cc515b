#include "countwindowtest.h"

#include "host/ui/spreadgrid.h"
#include "host/ui/statusbarcontrol.h"
#include "services/modulestate.h"

#include <QApplication>

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

    long m_id = 0;
    std::unique_ptr<frmMain> m_window;
};

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
    const QString m2 =
        "基本单位与辅助计量单位盘盈盘亏方向不一致，盘点数据未能成功保存，请检查数据！";
    const QString item1 = w.vsCheck->GetText(6, negative), item2 = w.vsCheck->GetText(6, second);
    EXPECT_EQ(m_errorItems,
              negativeFirst ? (QStringList{item1, item2}) : (QStringList{item2, item1}));
    EXPECT_EQ(m_errorMessages, negativeFirst ? (QStringList{m1, m2}) : (QStringList{m2, m1}));
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

} // namespace
