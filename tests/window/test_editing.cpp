#include "countwindowtest.h"

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

TEST_F(CountWindowTest, BillQuantitiesRecomputeTheLineAndSaveItAtOnce)
{
    const long id = backUp();
    const auto window = open(4);
    const int row = findRow(*window, [&](int r) { return cell(*window, 34, r) == 1; });
    type(*window, 24, row, "10");
    window->vsCheck->SetActiveCell(24, row);
    module().gCurDiffQty = 4;
    module().gCurSecDiffQty = 0;
    window->FillDiffQty();
    EXPECT_EQ(cell(*window, 18, row), 14);
    EXPECT_EQ(cell(*window, 36, row), 4);
    const std::string line =
        " Where FInterID=" + std::to_string(id) +
        " And FItemID=" + window->vsCheck->GetText(1, row).toStdString() + " And FBatchNo='" +
        window->vsCheck->GetText(11, row).toStdString() +
        "' And FStockID=" + window->vsCheck->GetText(42, row).toStdString() +
        " And FStockPlaceID=" + window->vsCheck->GetText(35, row).toStdString();
    EXPECT_EQ(number("Select Sum(FQtyAct) From ICInvBackup" + line), 14);
    EXPECT_EQ(number("Select Sum(FCheckQty) From ICInvBackup" + line), 10);
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
