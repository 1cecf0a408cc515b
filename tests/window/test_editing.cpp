#include "countwindowtest.h"

#include "countsheet/countlinegrid.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/spread/spreadgrid.h"
#include "support/casename.h"

#include <cmath>
#include <map>
#include <optional>

namespace {

namespace C = EntryCol;
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
    {"count in the counting unit", C::CUUnitCheckQty, "3",
     [](const Cells &b, double t) {
         const double coef = b.at(C::Coefficient), rate = b.at(C::SecCoefficient);
         return Cells{{C::CUUnitQtyAct, b.at(C::CUUnitDiffQty) + t},
                      {C::QtyAct, (b.at(C::CUUnitDiffQty) + t) * coef},
                      {C::CheckQty, t * coef},
                      {C::SecCheckQty, t * coef / rate},
                      {C::SecQtyAct, t * coef / rate + b.at(C::SecDiffQty)}};
     },
     true},
    {"adjustment", C::AdjQty, "2",
     [](const Cells &b, double t) {
         return Cells{{C::SecAdjQty, t * b.at(C::Coefficient) / b.at(C::SecCoefficient)}};
     },
     true},
    {"conversion rate", C::SecCoefficient, "4",
     [](const Cells &b, double t) {
         return Cells{{C::SecCheckQty, b.at(C::CheckQty) / t},
                      {C::SecQtyAct, b.at(C::SecDiffQty) + b.at(C::CheckQty) / t},
                      {C::SecAdjQty, b.at(C::AdjQty) * b.at(C::Coefficient) / t}};
     },
     true},
    {"count in the second unit", C::SecCheckQty, "5",
     [](const Cells &b, double t) {
         const double rate = b.at(C::CheckQty) / t;
         return Cells{{C::SecCoefficient, rate},
                      {C::SecQtyAct, b.at(C::SecDiffQty) + t},
                      {C::SecAdjQty, b.at(C::AdjQty) * b.at(C::Coefficient) / rate}};
     },
     true},
    {"conversion rate zero", C::SecCoefficient, "0",
     [](const Cells &, double) {
         return Cells{{C::SecCheckQty, 0}, {C::SecQtyAct, 0}, {C::SecAdjQty, 0}};
     },
     true},
    {"note", C::Note, "seen", [](const Cells &, double) { return Cells{}; }, false},
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
        return cell(*window, C::SecUnitID, r) > 0 && cell(*window, C::SecCoefficient, r) > 0 &&
               cell(*window, C::Coefficient, r) > 1;
    });
    // Bills after the snapshot and an earlier adjustment, so the recompute has something to
    // add to.
    window->vsCheck->SetText(C::CUUnitDiffQty, row, "0.5");
    window->vsCheck->SetText(C::SecDiffQty, row, "0.25");
    type(*window, C::AdjQty, row, "1");
    Cells before;
    for (int col : {C::CheckQty, C::AdjQty, C::SecCoefficient, C::Coefficient, C::CUUnitDiffQty,
                    C::SecDiffQty})
        before[col] = cell(*window, col, row);
    const int totals = window->vsCheck->MaxRows();
    const double totalsBefore = cell(*window, C::QtyAct, totals);

    type(*window, c.col, row, c.typed);

    for (const auto &[col, value] : c.expected(before, c.typed.toDouble()))
        EXPECT_NEAR(cell(*window, col, row), value, 1e-9) << "column " << col;
    EXPECT_TRUE(window->mModified);
    EXPECT_TRUE(window->mRowChanged.at(static_cast<size_t>(row - 1)));
    EXPECT_EQ(std::count(window->mRowChanged.begin(), window->mRowChanged.end(), true), 1);
    for (int col : {C::QtyAct, C::CheckQty, C::CUUnitQty, C::CUUnitQtyAct, C::CUUnitCheckQty,
                    C::AdjQty, C::SecQtyAct, C::SecCheckQty, C::SecAdjQty}) {
        double sum = 0;
        for (int r = 1; r < totals; ++r)
            sum += cell(*window, col, r);
        EXPECT_NEAR(cell(*window, col, totals), sum, 1e-6) << "totals of column " << col;
    }
    if (!c.totalsMove) {
        EXPECT_EQ(cell(*window, C::QtyAct, totals), totalsBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, EditTest, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<EditCase> &param) {
                             return caseName(param.index, param.param.what);
                         });

enum class Line
{
    Plain,     // an item without a second unit, two decimals
    SecondUnit // an item with a second unit that keeps no decimals, its book 641.568
};

struct TypingCase
{
    const char *what;
    Line line;
    int col;
    const char *typed;
    const char *column;          // what the save stores of the typed cell
    std::optional<double> saved; // nothing: refused, the line left as it was
    const char *status;          // what the status bar says the cell takes; nothing: ready
};

const TypingCase kTypings[] = {
    {"a locked cell takes no key and says so", Line::Plain, C::SecCheckQty, "65", nullptr,
     std::nullopt, "辅助计量单位盘点数量不能修改"},
    {"a count with its grouping", Line::Plain, C::CUUnitCheckQty, "1,000.5", "FAuxCheckQty", 1000.5,
     nullptr},
    {"a count followed by letters", Line::Plain, C::CUUnitCheckQty, "12abc", nullptr, std::nullopt,
     "盘点数量只能输入数字"},
    {"not a number", Line::Plain, C::CUUnitCheckQty, "NaN", nullptr, std::nullopt,
     "盘点数量只能输入数字"},
    {"a bar code beyond the column's limit", Line::Plain, C::CUUnitCheckQty, "6901234567892",
     nullptr, std::nullopt, "盘点数量不能大于 9999999999.9999"},
    {"just above the column's limit", Line::Plain, C::CUUnitCheckQty, "10000000000", nullptr,
     std::nullopt, "盘点数量不能大于 9999999999.9999"},
    {"more decimals than the line shows", Line::Plain, C::CUUnitCheckQty, "2.125", nullptr,
     std::nullopt, "盘点数量最多 2 位小数"},
    {"a fraction on a line of whole numbers", Line::SecondUnit, C::CUUnitCheckQty, "3.5", nullptr,
     std::nullopt, "盘点数量只能输入整数"},
    {"a rate below zero", Line::SecondUnit, C::SecCoefficient, "-2", nullptr, std::nullopt,
     "换算率不能小于 0"},
    {"the second-unit book as shown", Line::SecondUnit, C::SecCheckQty, "641.568", "FSecCheckQty",
     641.568, nullptr},
};

class Typing : public CountWindowTest, public ::testing::WithParamInterface<TypingCase>
{};

TEST_P(Typing, ATypedTextIsSavedAsTheNumberItReadsOrRefusedWhole)
{
    const TypingCase &c = GetParam();
    const long item = prepareItem(backUp(), "i.FSecUnitID>0", 0,
                                  "FSecQty=641.568,FSecCheckQty=641.568,FSecQtyAct=641.568");
    const auto window = open(4);
    const int row = findRow(*window, [&](int r) {
        const CountLine line = readCountLine(*window->vsCheck, r);
        return c.line == Line::SecondUnit ? line.itemId == item
                                          : !line.hasSecondUnit() && line.qtyDecimals == 2;
    });
    // Another line's second-unit count begins with the key typed first: a search by that key
    // would move there.
    const int other = findRow(*window, [&](int r) {
        return r != row && readCountLine(*window->vsCheck, r).hasSecondUnit();
    });
    window->vsCheck->SetText(C::SecCheckQty, other, QStringLiteral("61"));
    auto column = [&] {
        QStringList cells;
        for (int r = 1; r < window->vsCheck->MaxRows(); ++r)
            cells << window->vsCheck->GetText(c.col, r);
        return cells;
    };
    const QStringList before = column();

    type(*window, c.col, row, QString::fromLatin1(c.typed));

    EXPECT_EQ(window->staBar->Panels(1).Text(), QString::fromUtf8(c.status ? c.status : "就绪"));
    if (!c.saved) {
        EXPECT_EQ(column(), before);
        EXPECT_EQ(window->vsCheck->ActiveRow(), row);
        EXPECT_FALSE(window->mModified);
        EXPECT_EQ(std::count(window->mRowChanged.begin(), window->mRowChanged.end(), true), 0);
        return;
    }
    window->mnuFSave->trigger();
    EXPECT_TRUE(m_modals->messageTexts().isEmpty())
        << m_modals->messageTexts().join("\n").toStdString();
    EXPECT_EQ(
        number(std::string("Select ") + c.column + " From ICInvBackup" + lineKey(*window, row)),
        *c.saved);
    EXPECT_FALSE(window->mModified);
}

INSTANTIATE_TEST_SUITE_P(Texts, Typing, ::testing::ValuesIn(kTypings),
                         [](const auto &param) { return caseName(param.index, param.param.what); });

TEST_F(CountWindowTest, ACalculatedLineIsShownAtItsDecimalsAndSavedAtOnce)
{
    const long id = backUp();
    sql("Update ICStockCheckProcess Set FBackupType=1 Where FID=" + std::to_string(id));
    // A line of an item with two decimals and no second unit, counted in its base unit.
    const long item =
        prepareItem(id, "i.FSecUnitID=0 And u.FCoefficient=1", 2,
                    "FCheckQty=499.67,FQtyAct=499.67,FAuxCheckQty=499.67,FAuxQtyAct=499.67");
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
        for (int col : {C::ItemID, C::BatchNo, C::StockPlaceID, C::StockID, C::KFDate})
            cells << window->vsCheck->GetText(col, row);
        return cells;
    };
    const QStringList line = key(1);
    type(*window, C::CUUnitCheckQty, 1, "9");
    window->mnuFSave_Click();
    const std::string where =
        " From ICInvBackup Where FInterID=" + std::to_string(id) +
        " And FItemID=" + line[0].toStdString() + " And FBatchNo='" + line[1].toStdString() +
        "' And FStockPlaceID=" + line[2].toStdString() + " And FStockID=" + line[3].toStdString();
    const double saved = number("Select Max(FAuxCheckQty)" + where);
    ASSERT_EQ(saved, 9);

    window->vsCheck_HeaderClick(C::ItemNumber, 0);
    EXPECT_FALSE(window->mModified);
    EXPECT_EQ(std::count(window->mRowChanged.begin(), window->mRowChanged.end(), true), 0);
    const int moved = findRow(*window, [&](int r) { return key(r) == line; });
    EXPECT_EQ(cell(*window, C::CUUnitCheckQty, moved), 9);
    // Another edit and save leave the first count as it was saved.
    type(*window, C::Note, moved == 1 ? 2 : 1, "later");
    window->mnuFSave_Click();
    EXPECT_EQ(number("Select Max(FAuxCheckQty)" + where), 9);
}

} // namespace
