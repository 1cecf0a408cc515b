#include "countwindowtest.h"

#include "countsheet/countlinegrid.h"
#include "host/ui/spreadgrid.h"
#include "services/modulestate.h"
#include "support/casename.h"

#include <cmath>
#include <map>

namespace {

using Cells = std::map<int, double>;

struct EditCase
{
    const char *what;
    int col;
    QString typed;
    // The cells the edit must leave, from the line's cells before it.
    std::function<Cells(const Cells &before, double typed)> expected;
    bool totalsMove;
};

const EditCase kEdits[] = {
    {"count in the counting unit", 24, "3",
     [](const Cells &b, double t) {
         const double coef = b.at(34), rate = b.at(28);
         return Cells{{23, b.at(39) + t},
                      {18, (b.at(39) + t) * coef},
                      {19, t * coef},
                      {31, t * coef / rate},
                      {30, t * coef / rate + b.at(43)}};
     },
     true},
    {"adjustment", 25, "2",
     [](const Cells &b, double t) {
         return Cells{{32, t * b.at(34) / b.at(28)}};
     },
     true},
    {"conversion rate", 28, "4",
     [](const Cells &b, double t) {
         return Cells{
             {31, b.at(19) / t}, {30, b.at(43) + b.at(19) / t}, {32, b.at(25) * b.at(34) / t}};
     },
     true},
    {"count in the second unit", 31, "5",
     [](const Cells &b, double t) {
         const double rate = b.at(19) / t;
         return Cells{{28, rate}, {30, b.at(43) + t}, {32, b.at(25) * b.at(34) / rate}};
     },
     true},
    {"conversion rate zero", 28, "0",
     [](const Cells &, double) {
         return Cells{{31, 0}, {30, 0}, {32, 0}};
     },
     true},
    {"note", 33, "seen", [](const Cells &, double) { return Cells{}; }, false},
};

class EditTest : public CountWindowTest, public ::testing::WithParamInterface<EditCase>
{};

TEST_P(EditTest, TypingRecomputesTheLineAndTheTotalsRow)
{
    const EditCase &c = GetParam();
    backUp();
    const auto window = open(4);
    // A line with a counting unit of its own and a second unit with a rate.
    const int row = findRow(*window, [&](int r) {
        return cell(*window, 40, r) > 0 && cell(*window, 28, r) > 0 && cell(*window, 34, r) > 1;
    });
    // Bills after the snapshot and an earlier adjustment, so the recompute has something to
    // add to.
    window->vsCheck->SetText(39, row, "0.5");
    window->vsCheck->SetText(43, row, "0.25");
    type(*window, 25, row, "1");
    Cells before;
    for (int col : {19, 25, 28, 34, 39, 43})
        before[col] = cell(*window, col, row);
    const int totals = window->vsCheck->MaxRows();
    const double totalsBefore = cell(*window, 18, totals);

    type(*window, c.col, row, c.typed);

    for (const auto &[col, value] : c.expected(before, c.typed.toDouble()))
        EXPECT_NEAR(cell(*window, col, row), value, 1e-9) << "column " << col;
    EXPECT_TRUE(window->mModified);
    EXPECT_TRUE(window->mRowChanged.at(static_cast<size_t>(row - 1)));
    EXPECT_EQ(std::count(window->mRowChanged.begin(), window->mRowChanged.end(), true), 1);
    for (int col : {18, 19, 22, 23, 24, 25, 30, 31, 32}) {
        double sum = 0;
        for (int r = 1; r < totals; ++r)
            sum += cell(*window, col, r);
        EXPECT_NEAR(cell(*window, col, totals), sum, 1e-6) << "totals of column " << col;
    }
    if (!c.totalsMove) {
        EXPECT_EQ(cell(*window, 18, totals), totalsBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, EditTest, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<EditCase> &param) {
                             return caseName(param.index, param.param.what);
                         });

TEST_F(CountWindowTest, ACalculatedLineIsShownAtItsDecimalsAndSavedAtOnce)
{
    const std::string id = std::to_string(backUp());
    sql("Update ICStockCheckProcess Set FBackupType=1 Where FID=" + id);
    // A line of an item with two decimals and no second unit, counted in its base unit.
    const auto item = static_cast<long>(
        number("Select Min(b.FItemID) From ICInvBackup b Join t_ICItem i On i.FItemID=b.FItemID "
               "Join t_MeasureUnit u On u.FItemID=b.FUnitID Where i.FSecUnitID=0 And "
               "u.FCoefficient=1 And i.FDeleted=0 And b.FInterID=" +
               id));
    sql("Update t_ICItemBase Set FQtyDecimal=2 Where FItemID=" + std::to_string(item));
    sql("Update ICInvBackup Set FCheckQty=499.67,FQtyAct=499.67,FAuxCheckQty=499.67,"
        "FAuxQtyAct=499.67 Where FInterID=" +
        id + " And FItemID=" + std::to_string(item));
    const auto window = open(4);
    const int row =
        findRow(*window, [&](int r) { return readCountLine(*window->vsCheck, r).itemId == item; });
    // 0.1 issued since the snapshot: in binary the actual quantity is 499.77000000000004.
    postBill(*window, row, false, 0.1, 0);
    ASSERT_EQ(selectAllBills(*window, row), 1);

    window->vsCheck->setBlockMode(false);
    window->vsCheck->setCol(EntryCol::QtyAct);
    window->vsCheck->setRow(row);
    EXPECT_EQ(window->vsCheck->Text(), QStringLiteral("499.77"));
    EXPECT_EQ(cell(*window, EntryCol::DiffQty, row), 0.1);
    const std::string key = lineKey(*window, row);
    EXPECT_EQ(number("Select FQtyAct From ICInvBackup" + key), 499.77);
    EXPECT_EQ(number("Select FCheckQty From ICInvBackup" + key), 499.67);
    // What was saved with the bills is not saved again.
    EXPECT_FALSE(window->mRowChanged.at(static_cast<size_t>(row - 1)));
    EXPECT_TRUE(m_modals->messageTexts().isEmpty());
}

TEST_F(CountWindowTest, ASortAfterASaveShowsAndKeepsWhatWasSaved)
{
    const long id = backUp();
    const auto window = open(4);
    auto key = [&](int row) {
        QStringList cells;
        for (int col : {1, 11, 35, 42, 13})
            cells << window->vsCheck->GetText(col, row);
        return cells;
    };
    const QStringList line = key(1);
    type(*window, 24, 1, "9");
    window->mnuFSave_Click();
    const std::string where =
        " From ICInvBackup Where FInterID=" + std::to_string(id) +
        " And FItemID=" + line[0].toStdString() + " And FBatchNo='" + line[1].toStdString() +
        "' And FStockPlaceID=" + line[2].toStdString() + " And FStockID=" + line[3].toStdString();
    const double saved = number("Select Max(FAuxCheckQty)" + where);
    ASSERT_EQ(saved, 9);

    window->vsCheck_HeaderClick(6, 0);
    EXPECT_FALSE(window->mModified);
    EXPECT_EQ(std::count(window->mRowChanged.begin(), window->mRowChanged.end(), true), 0);
    const int moved = findRow(*window, [&](int r) { return key(r) == line; });
    EXPECT_EQ(cell(*window, 24, moved), 9);
    // Another edit and save leave the first count as it was saved.
    type(*window, 33, moved == 1 ? 2 : 1, "later");
    window->mnuFSave_Click();
    EXPECT_EQ(number("Select Max(FAuxCheckQty)" + where), 9);
}

} // namespace
