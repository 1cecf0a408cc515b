// The add-line window on a real database: item set-up, code checks, and the save of a line.
#include "dialogsdb.h"

#include "dialogs/frmadditem.h"
#include "dialogs/saveadditem.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/uitestutil.h"
#include "services/modulestate.h"
#include "support/casename.h"

#include <QApplication>
#include <QTest>

namespace {

class AddLine : public DialogsDbTest
{
protected:
    void SetUp() override
    {
        DialogsDbTest::SetUp();
        window = std::make_unique<frmAddItem>();
        window->Load();
    }
    void TearDown() override
    {
        window.reset();
        DialogsDbTest::TearDown();
    }

    // Types into a box and leaves it; true when the focus may leave.
    bool type(host::ui::TextBox &box, const QString &text, void (frmAddItem::*validate)(bool &))
    {
        box.setText(text);
        bool cancel = false;
        (window.get()->*validate)(cancel);
        return !cancel;
    }
    bool typeItem(const QString &code)
    {
        return type(*window->txtNumber, code, &frmAddItem::txtNumber_Validate);
    }
    bool typeStock(const QString &code)
    {
        return type(*window->txtStockNumber, code, &frmAddItem::txtStockNumber_Validate);
    }
    bool typePlace(const QString &code)
    {
        return type(*window->txtSPNumber, code, &frmAddItem::txtSPNumber_Validate);
    }
    void setCell(host::ui::SpreadGrid &grid, const QString &value)
    {
        grid.setCol(1);
        grid.setRow(1);
        grid.setValue(value);
    }
    // A plain line of item 1 in stock 2: 3 boxes counted.
    void enterPlainLine(const QString &qty = QStringLiteral("3"))
    {
        ASSERT_TRUE(typeItem(QStringLiteral("01.001")));
        ASSERT_TRUE(typeStock(QStringLiteral("S02")));
        setCell(*window->grdQty, qty);
    }
    // A lookup's key pressed in a box; its lookup opens once the key has been delivered.
    void pressF(host::ui::TextBox &box, Qt::Key key)
    {
        ASSERT_TRUE(showActive(*window));
        box.setFocus();
        QTest::keyClick(&box, key);
        QApplication::processEvents();
    }
    std::string lineOf(long item)
    {
        return value("select FCheckQty from ICInvBackup where FItemID=" + std::to_string(item));
    }

    std::unique_ptr<frmAddItem> window;
};

struct ItemCase
{
    const char *description;
    const char *code;
    bool shortNumber; // module option: codes by short number
    long item;
    bool batch;
    bool shelfLife;
    bool secondUnit;
    bool planTracking;
    bool auxProps;
};

class ItemSetUp : public AddLine, public ::testing::WithParamInterface<ItemCase>
{};

TEST_P(ItemSetUp, FoundItemSetsTheLineUpFromItsFlags)
{
    const ItemCase &c = GetParam();
    module().gUseShortNumber = !c.shortNumber;
    bool cancel = false;
    window->txtNumber->setText(QString::fromUtf8(c.code));
    ASSERT_TRUE(window->CheckAppend(cancel));
    EXPECT_EQ(window->itemId(), c.item);
    EXPECT_EQ(!window->txtBatchNo->Locked(), c.batch);
    EXPECT_EQ(window->cmdBatchNo->isEnabled(), c.batch);
    EXPECT_EQ(window->dtpKFDate->isEnabled(), c.shelfLife);
    window->grdKFPeriod->setCol(1);
    window->grdKFPeriod->setRow(1);
    EXPECT_EQ(window->grdKFPeriod->Value(), c.shelfLife ? "180" : "0");
    window->grdSecQty->setCol(1);
    window->grdSecQty->setRow(1);
    EXPECT_EQ(!window->grdSecQty->Lock(), c.secondUnit);
    EXPECT_EQ(window->txtSecUnitName->Text().isEmpty(), !c.secondUnit);
    EXPECT_EQ(window->txtMtoNo->isEnabled(), c.planTracking);
    EXPECT_EQ(!window->txtAuxPropName->Locked(), c.auxProps);
    // The code box shows the code the option uses, whatever was typed.
    EXPECT_EQ(window->txtNumber->Text().toStdString(),
              value("select " + std::string(c.shortNumber ? "FShortNumber" : "FNumber") +
                    " from t_ICItem where FItemID=" + std::to_string(c.item)));
    EXPECT_TRUE(m_modals.messages().empty());
}

const ItemCase kItems[] = {
    {"number, plain item in boxes", "01.001", false, 1, false, false, false, true, false},
    {"short number", "001", true, 1, false, false, false, true, false},
    {"help code", "LS", false, 1, false, false, false, true, false},
    {"bar code, batch shelf life second unit colours", "6901234567890", false, 2, true, true, true,
     true, true},
    {"serial numbers take no plan-tracking number", "01.003", false, 3, false, false, false, false,
     false},
};
INSTANTIATE_TEST_SUITE_P(Codes, ItemSetUp, ::testing::ValuesIn(kItems), [](const auto &param) {
    return caseName(param.index, param.param.description);
});

TEST_F(AddLine, ItemLookupFindsByBarCodeAndKeepsThePickedItem)
{
    m_modals.whileShown([](host::ui::Form &form) {
        auto &lookup = dynamic_cast<host::LookupWindow &>(form);
        lookup.setSearch(QStringLiteral("690123"));
        ASSERT_EQ(lookup.visibleCount(), 1);
        lookup.choose(0);
    });
    pressF(*window->txtNumber, Qt::Key_F7);
    EXPECT_EQ(window->itemId(), 2);
    EXPECT_EQ(window->txtNumber->Text(), "01.002");
    ASSERT_TRUE(typeItem(window->txtNumber->Text()));
    EXPECT_EQ(window->itemId(), 2);
}

TEST_F(AddLine, UnknownCodeAsksAgainOrClears)
{
    m_modals.answer(host::ui::Msg::Yes);
    EXPECT_FALSE(typeItem(QStringLiteral("NOPE'; drop table t_ICItemBase --")));
    m_modals.answer(host::ui::Msg::No);
    EXPECT_TRUE(typeItem(QStringLiteral(" 01.001")));
    EXPECT_TRUE(window->txtNumber->Text().isEmpty());
    EXPECT_EQ(window->itemId(), 0);
    EXPECT_EQ(count("select * from t_ICItemBase"), 3);
    EXPECT_EQ(m_modals.messageTexts(),
              QStringList(2, QStringLiteral("物料代码在基础资料中不存在或被禁用，是否重新输入?")));
}

// However an item is found, a deleted one or one of class 6 or 8 is refused as its code is:
// the user types each of its codes into the real window and leaves the box.
TEST_F(AddLine, EveryWayOfFindingAnItemRefusesWhatItsCodeRefuses)
{
    struct Way
    {
        const char *code;
        bool fullNumbers;
    };
    const Way ways[] = {{"01.002", true}, {"002", false}, {"YQ", true}, {"6901234567890", true}};
    const char *const states[] = {"FDeleted=0,FErpClsID=1", "FDeleted=1", "FErpClsID=6",
                                  "FErpClsID=8"};
    window->show();
    QApplication::setActiveWindow(window.get());
    for (const Way &way : ways) {
        module().gUseShortNumber = way.fullNumbers;
        for (const char *state : states) {
            sql("update t_ICItemBase set FDeleted=0,FErpClsID=1 where FItemID=2");
            sql(std::string("update t_ICItemBase set ") + state + " where FItemID=2");
            const bool usable = state == states[0];
            const auto shown = m_modals.messageTexts().size();
            if (!usable)
                m_modals.answer(host::ui::Msg::No);
            window->txtNumber->clear();
            window->txtNumber->setFocus();
            QTest::keyClicks(window->txtNumber, QString::fromUtf8(way.code));
            QTest::keyClick(window->txtNumber, Qt::Key_Tab);
            EXPECT_EQ(window->itemId(), usable ? 2 : 0) << way.code << " " << state;
            const QStringList refused{
                QStringLiteral("物料代码在基础资料中不存在或被禁用，是否重新输入?")};
            EXPECT_EQ(m_modals.messageTexts().mid(shown), usable ? QStringList{} : refused)
                << way.code << " " << state;
        }
    }
}

struct CodeCase
{
    const char *description;
    int box; // 0 stock, 1 stock place, 2 auxiliary property
    const char *code;
    bool accepted;
    const char *message;
};

class CodeCheck : public AddLine, public ::testing::WithParamInterface<CodeCase>
{};

TEST_P(CodeCheck, RightCodesAreTakenWrongOnesRefused)
{
    const CodeCase &c = GetParam();
    ASSERT_TRUE(typeItem(QStringLiteral("01.002")));
    ASSERT_TRUE(typeStock(QStringLiteral("S01")));
    m_modals.answer(host::ui::Msg::Yes);
    const QString code = QString::fromUtf8(c.code);
    bool left = false;
    if (c.box == 0)
        left = typeStock(code);
    else if (c.box == 1)
        left = typePlace(code);
    else
        left = type(*window->txtAuxPropName, code, &frmAddItem::txtAuxPropName_Validate);
    EXPECT_EQ(left, c.accepted);
    const QStringList expected =
        c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{};
    EXPECT_EQ(m_modals.messageTexts(), expected);
    if (c.box == 1) {
        EXPECT_EQ(window->stockPlaceId(), c.accepted ? 1 : 0);
    } else if (c.box == 2) {
        EXPECT_EQ(window->auxPropId(), c.accepted ? 8 : 0);
    }
}

const CodeCase kCodes[] = {
    {"stock found", 0, "S02", true, nullptr},
    {"stock unknown", 0, "S9'9", false, "此仓库不存在，请重新输入!"},
    {"place of the stock", 1, "A.01", true, nullptr},
    {"place not a detail place", 1, "A", false, "该仓库中不存在此仓位或为非明细仓位，请重新输入!"},
    {"place of another stock", 1, "B.01", false, "该仓库中不存在此仓位或为非明细仓位，请重新输入!"},
    {"colour of the item", 2, "BLUE", true, nullptr},
    {"property of another class", 2, "BIG", false, "辅助属性在此物料中不存在!"},
};
INSTANTIATE_TEST_SUITE_P(Boxes, CodeCheck, ::testing::ValuesIn(kCodes), [](const auto &param) {
    return caseName(param.index, param.param.description);
});

TEST_F(AddLine, EntriesMissingWhatTheItemNeedsAreRefusedInOrder)
{
    // Each step completes what the one before was refused for.
    const std::vector<std::pair<std::function<void()>, const char *>> steps = {
        {[] {}, "必须输入物料！"},
        {[this] { typeItem(QStringLiteral("01.002")); }, "此项物料采用批次管理请输入批次！"},
        {[this] { window->txtBatchNo->setText(QStringLiteral("L01")); }, "仓库不存在，请输入！"},
        {[this] { typeStock(QStringLiteral("S01")); }, "此仓库采用仓位管理请输入仓位！"},
        {[this] {
             typePlace(QStringLiteral("A.01"));
             setCell(*window->grdKFPeriod, QString());
         },
         "此项物料采用保质期管理请输入保质期信息！"},
        {[this] { setCell(*window->grdKFPeriod, QStringLiteral("30")); },
         "此项物料采辅助属性管理请输入辅助属性！"},
    };
    for (const auto &[step, message] : steps) {
        step();
        EXPECT_FALSE(window->AppendItem()) << message;
        ASSERT_FALSE(m_modals.messageTexts().isEmpty());
        EXPECT_EQ(m_modals.messageTexts().last(), QString::fromUtf8(message));
    }
    EXPECT_EQ(count("select * from ICInvBackup"), 1);
}

TEST_F(AddLine, NewLineWritesEveryColumn)
{
    ASSERT_TRUE(typeItem(QStringLiteral("01.002")));
    window->txtBatchNo->setText(QStringLiteral("L'01"));
    ASSERT_TRUE(typeStock(QStringLiteral("S01")));
    ASSERT_TRUE(typePlace(QStringLiteral("A.01")));
    ASSERT_TRUE(
        type(*window->txtAuxPropName, QStringLiteral("RED"), &frmAddItem::txtAuxPropName_Validate));
    window->dtpKFDate->setValue(QDate(2026, 6, 1));
    setCell(*window->grdQty, QStringLiteral("5"));
    setCell(*window->grdAdjQty, QStringLiteral("1"));
    setCell(*window->grdSecQty, QStringLiteral("2.5"));
    window->txtNote->setText(QStringLiteral("it's on the shelf"));
    window->cmdOK_Click();
    EXPECT_TRUE(m_modals.messages().empty());
    const auto rs = sql("select * from ICInvBackup where FItemID=2");
    ASSERT_EQ(rs->RecordCount(), 1);
    const std::map<std::string, std::string> expected = {
        {"FInterID", "1"},
        {"FBrNo", "0"},
        {"FAuxPropID", "7"},
        {"FUnitID", "1"},
        {"FBatchNo", "L'01"},
        {"FMtoNo", ""},
        {"FStockID", "1"},
        {"FQty", "0"},
        {"FSelect", "False"},
        {"FAdj", "False"},
        {"FAdjQty", "1"},
        {"FMaxBillInterID", "100"},
        {"FCheckQty", "5"},
        {"FQtyAct", "5"},
        {"FAuxCheckQty", "5"},
        {"FAuxQtyAct", "5"},
        {"FAuxQty", "0"},
        {"FNote", "it's on the shelf"},
        {"FStockPlaceID", "1"},
        {"FKFDate", "2026-06-01"},
        {"FKFPeriod", "180"},
        {"FSecUnitID", "3"},
        {"FSecQty", "0"},
        {"FSecQtyAct", "2.5"},
        {"FSecCheckQty", "2.5"},
        // 5 pieces to 2.5 kilograms: the adjustment of one piece is half a kilogram.
        {"FSecAdjQty", "0.5"},
        // Differences by the same rule as an added-to line: less the adjustment.
        {"FMinus", "4"},
        {"FSecMinus", "2"},
    };
    for (const auto &[column, text] : expected)
        EXPECT_EQ(host::CStr(rs->Fields(column).Value()), text) << column;
    EXPECT_FALSE(rs->Fields("FDateBackup").Value().isNull());
}

TEST_F(AddLine, IdenticalLineIsAddedToAndAddKeepsTheStock)
{
    enterPlainLine();
    window->cmdADD_Click();
    EXPECT_EQ(window->itemId(), 0);
    EXPECT_TRUE(window->txtStockNumber->Text().isEmpty());
    // The stock stays for the next line although its box is empty.
    ASSERT_TRUE(typeItem(QStringLiteral("01.001")));
    setCell(*window->grdQty, QStringLiteral("2"));
    window->cmdADD_Click();
    EXPECT_TRUE(m_modals.messages().empty());
    EXPECT_EQ(value("select count(*) from ICInvBackup where FItemID=1 and FStockID=2"), "1");
    // Two entries of 3 and 2 boxes of 12.
    EXPECT_EQ(value("select FCheckQty from ICInvBackup where FItemID=1 and FStockID=2"), "60");
    EXPECT_EQ(value("select FAuxQtyAct from ICInvBackup where FItemID=1 and FStockID=2"), "5");
    EXPECT_EQ(value("select FMinus from ICInvBackup where FItemID=1 and FStockID=2"), "60");
}

TEST_F(AddLine, DuplicateAlertDeclinedWritesNothing)
{
    module().gAlertSameCheckStockRecord = true;
    enterPlainLine();
    window->cmdADD_Click();
    const std::string before = countLines();
    enterPlainLine();
    m_modals.answer(host::ui::Msg::No);
    window->cmdOK_Click();
    EXPECT_EQ(m_modals.messageTexts(),
              QStringList{QStringLiteral("已有相同记录，保存后将会累加盘点数量，是否继续？")});
    EXPECT_EQ(countLines(), before);
}

TEST_F(AddLine, OppositeDirectionsAreRefusedAndLeaveTheLinesAsTheyWere)
{
    const std::string before = countLines();
    ASSERT_TRUE(typeItem(QStringLiteral("01.002")));
    window->txtBatchNo->setText(QStringLiteral("L01"));
    ASSERT_TRUE(typeStock(QStringLiteral("S02")));
    ASSERT_TRUE(
        type(*window->txtAuxPropName, QStringLiteral("RED"), &frmAddItem::txtAuxPropName_Validate));
    // A gain in the second unit with no difference in the base unit.
    setCell(*window->grdQty, QStringLiteral("0"));
    setCell(*window->grdSecQty, QStringLiteral("0.5"));
    EXPECT_FALSE(window->AppendItem());
    EXPECT_EQ(m_modals.messageTexts(),
              QStringList{
                  QStringLiteral("添加物料基本单位与辅助计量单位盘盈盘亏方向不一致，添加失败！")});
    EXPECT_EQ(countLines(), before);
    // The transaction ended: the next line is saved on its own.
    setCell(*window->grdQty, QStringLiteral("4"));
    EXPECT_TRUE(window->AppendItem());
    EXPECT_EQ(count("select * from ICInvBackup"), 2);
}

// A second-unit quantity is never a counting-unit figure: without a second unit it is 0, with
// one the adjustment goes over by the rate the two counted quantities give, as in the grid. An
// entry made again adds its counts of both units to the line; the adjustments stay.
TEST_F(AddLine, QuantitiesOfTheSecondUnitFollowItsOwnCount)
{
    struct Case
    {
        const char *description;
        int entries;
        long item, unit, secUnit;
        double coefficient, qty, adjQty, secQty;
        double minus, secAdjQty, secMinus;
    };
    const Case cases[] = {
        {"no second unit, counted 3 boxes, adjusted by 1", 1, 1, 2, 0, 12, 3, 1, 0, 24, 0, 0},
        {"second unit at 2 pieces a kilogram", 1, 2, 1, 3, 1, 5, 1, 2.5, 4, 0.5, 2},
        {"second unit not counted", 1, 2, 1, 3, 1, 4, 1, 0, 3, 0, 0},
        {"boxes of 12 at 4 pieces a kilogram", 1, 2, 2, 3, 12, 2, 1, 6, 12, 3, 3},
        {"the same entry twice", 2, 2, 1, 3, 1, 5, 1, 2.5, 9, 0.5, 4.5},
    };
    for (const Case &c : cases) {
        sql("delete from ICInvBackup where FStockID=2");
        for (int entry = 0; entry < c.entries; ++entry)
            EXPECT_TRUE(PubVariant::SaveAddItem(c.item, c.unit, 2, "", "", host::Variant(c.qty), "",
                                                0, "", 0, c.coefficient, 0, c.adjQty, c.secUnit,
                                                c.secQty))
                << c.description;
        const auto rs = sql("select FMinus,FSecAdjQty,FSecCheckQty,FSecMinus from ICInvBackup "
                            "where FStockID=2");
        ASSERT_EQ(rs->RecordCount(), 1) << c.description;
        EXPECT_DOUBLE_EQ(host::CDbl(rs->Fields("FMinus").Value()), c.minus) << c.description;
        EXPECT_DOUBLE_EQ(host::CDbl(rs->Fields("FSecAdjQty").Value()), c.secAdjQty)
            << c.description;
        EXPECT_DOUBLE_EQ(host::CDbl(rs->Fields("FSecCheckQty").Value()), c.secQty * c.entries)
            << c.description;
        EXPECT_DOUBLE_EQ(host::CDbl(rs->Fields("FSecMinus").Value()), c.secMinus) << c.description;
    }
    EXPECT_TRUE(m_modals.messages().empty());
}

// The rule the save runs on the line it leaves: refused when the base difference is 0 and the
// second-unit one is not, or when the two point different ways.
TEST_F(AddLine, DifferencesOfTheTwoUnitsMustPointTheSameWay)
{
    struct Base
    {
        int sign;
        double qty, adjQty;
    };
    const Base bases[] = {{-1, -2, 0}, {0, 0, 0}, {1, 2, 0}};
    const std::string refused = "添加物料基本单位与辅助计量单位盘盈盘亏方向不一致，添加失败！";
    int n = 0;
    for (const Base &base : bases) {
        for (const double secQty : {-1.0, 0.0, 1.0}) {
            const int secSign = secQty < 0 ? -1 : secQty > 0 ? 1 : 0;
            const bool conflict = (base.sign == 0 && secSign != 0) || base.sign * secSign < 0;
            const std::string batch = "D" + std::to_string(++n);
            const auto shown = m_modals.messageTexts().size();
            EXPECT_EQ(PubVariant::SaveAddItem(2, 1, 2, batch, "", host::Variant(base.qty), "", 0,
                                              "", 0, 1, 0, base.adjQty, 3, secQty),
                      !conflict)
                << base.sign << " " << secQty;
            EXPECT_EQ(count("select * from ICInvBackup where FBatchNo='" + batch + "'"),
                      conflict ? 0 : 1)
                << base.sign << " " << secQty;
            EXPECT_EQ(m_modals.messageTexts().mid(shown),
                      conflict ? QStringList{QString::fromStdString(refused)} : QStringList{});
        }
    }
}

// One line per count-line key: an entry that differs from the process's line in any key column
// (a second stock place among them) is a line of its own; the same key adds to the line.
TEST_F(AddLine, AnEntryAddsToTheLineOfItsKeyOnly)
{
    struct KeyCase
    {
        const char *column; // the one that differs from the line's
        long unit, place;
        const char *batch, *date;
    };
    const KeyCase cases[] = {{"none", 2, 1, "", ""},
                             {"stock place", 2, 2, "", ""},
                             {"unit", 1, 1, "", ""},
                             {"batch", 2, 1, "L1", ""},
                             {"shelf-life date", 2, 1, "", "2026-06-01"}};
    const std::string line = "FItemID=1 and FStockID=1 and FStockPlaceID=1 and FUnitID=2 and "
                             "FBatchNo='' and FKFDate=''";
    for (const KeyCase &c : cases) {
        sql("delete from ICInvBackup where not (" + line + ")");
        sql("update ICInvBackup set FAuxCheckQty=2");
        EXPECT_TRUE(PubVariant::SaveAddItem(1, c.unit, 1, c.batch, "", host::Variant(1.0), "",
                                            c.place, c.date, 0, 12, 0, 0, 0, 0))
            << c.column;
        const bool same = std::string(c.column) == "none";
        EXPECT_EQ(count("select * from ICInvBackup"), same ? 1 : 2) << c.column;
        EXPECT_EQ(value("select FAuxCheckQty from ICInvBackup where " + line), same ? "3" : "2")
            << c.column;
    }
    EXPECT_TRUE(m_modals.messages().empty());
}

TEST_F(AddLine, BlankAndNonNumericCellsCountByTheirLeadingNumber)
{
    enterPlainLine(QString());
    setCell(*window->grdAdjQty, QString());
    setCell(*window->grdSecQty, QString());
    EXPECT_TRUE(window->AppendItem());
    EXPECT_EQ(value("select FAuxCheckQty from ICInvBackup where FStockID=2"), "0");
    EXPECT_EQ(value("select FAdjQty from ICInvBackup where FStockID=2"), "0");
    // A pasted quantity text is read by its leading number.
    EXPECT_TRUE(PubVariant::SaveAddItem(1, 2, 2, "", "", host::Variant("2.5abc"), "", 0, "", 0, 12,
                                        0, 0, 0, 0));
    EXPECT_EQ(value("select FAuxCheckQty from ICInvBackup where FStockID=2"), "2.5");
    EXPECT_TRUE(m_modals.messages().empty());
}

TEST_F(AddLine, QuotesAreDroppedWhenTypedAndHarmlessWhenPasted)
{
    window->show();
    QApplication::setActiveWindow(window.get());
    window->txtNote->setFocus();
    QTest::keyClicks(window->txtNote, QStringLiteral("L'0\"1"));
    EXPECT_EQ(window->txtNote->Text(), "L01");
    enterPlainLine();
    window->txtMtoNo->setText(QStringLiteral("P'1"));
    window->txtNote->setText(QStringLiteral("'); delete from ICInvBackup; --"));
    EXPECT_TRUE(window->AppendItem());
    EXPECT_EQ(count("select * from ICInvBackup"), 2);
    EXPECT_EQ(value("select FMtoNo from ICInvBackup where FStockID=2"), "P'1");
}

TEST_F(AddLine, StockPlaceAndBatchListsFillTheirBoxes)
{
    ASSERT_TRUE(typeItem(QStringLiteral("01.002")));
    ASSERT_TRUE(typeStock(QStringLiteral("S01")));
    std::vector<int> listed;
    auto pickFirst = [&listed](host::ui::Form &form) {
        auto &list = dynamic_cast<host::LookupWindow &>(form);
        listed.push_back(list.visibleCount());
        list.choose(0);
    };
    m_modals.whileShown(pickFirst);
    m_modals.whileShown(pickFirst);
    pressF(*window->txtSPNumber, Qt::Key_F8);
    pressF(*window->txtBatchNo, Qt::Key_F8);
    // Only the detail places of the stock's group, and the item's batches in stock.
    EXPECT_EQ(listed, (std::vector<int>{1, 2}));
    EXPECT_EQ(window->stockPlaceId(), 1);
    EXPECT_EQ(window->txtBatchNo->Text(), "L01");
    // The place picked is one that its typed code finds.
    EXPECT_TRUE(typePlace(window->txtSPNumber->Text()));
    EXPECT_EQ(window->stockPlaceId(), 1);
    EXPECT_TRUE(m_modals.messages().empty());
}

// What the user types into a box stops at what its column holds, in bytes of the server's code
// page (a Chinese character takes two), so no line fails on its length when it is saved.
struct LengthCase
{
    const char *name;
    host::ui::TextBox *frmAddItem::*box;
    int bytes;
};

class BoxLength : public AddLine, public ::testing::WithParamInterface<LengthCase>
{};

TEST_P(BoxLength, TypingStopsAtTheLengthOfTheColumn)
{
    const LengthCase &c = GetParam();
    ASSERT_TRUE(showActive(*window));
    // An item that opens every box: batches, plan-tracking numbers, auxiliary properties.
    window->txtNumber->setFocus();
    QTest::keyClicks(window->txtNumber, QStringLiteral("01.002"));
    QTest::keyClick(window->txtNumber, Qt::Key_Tab);
    ASSERT_EQ(window->itemId(), 2);
    host::ui::TextBox &box = *(window.get()->*c.box);
    for (const bool chinese : {false, true}) {
        box.setFocus();
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Delete);
        const int typed = chinese ? c.bytes / 2 + 5 : c.bytes + 10;
        for (int i = 0; i < typed; ++i) {
            // A Chinese character comes as a key event with a text, as an input method sends it.
            if (chinese)
                QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QStringLiteral("盘"),
                                    Qt::NoModifier);
            else
                QTest::keyClick(&box, Qt::Key_7);
        }
        EXPECT_EQ(box.Text(), chinese ? QString(c.bytes / 2, QChar(0x76D8))
                                      : QString(c.bytes, QLatin1Char('7')))
            << c.name << (chinese ? " in Chinese" : "");
    }
}

const LengthCase kLengths[] = {
    {"note", &frmAddItem::txtNote, 255},
    {"batch", &frmAddItem::txtBatchNo, 200},
    {"plan-tracking number", &frmAddItem::txtMtoNo, 300},
    {"item code, as long as a bar code", &frmAddItem::txtNumber, 100},
    {"stock code", &frmAddItem::txtStockNumber, 80},
    {"stock place code", &frmAddItem::txtSPNumber, 80},
    {"auxiliary property code", &frmAddItem::txtAuxPropName, 80},
};
INSTANTIATE_TEST_SUITE_P(Boxes, BoxLength, ::testing::ValuesIn(kLengths),
                         [](const auto &param) { return caseName(param.index, param.param.name); });

// A failure of the database tells the window's own sentence and the engine's reason; the
// statement it ran is for whoever supports the user, not for the user.
TEST_F(AddLine, AFailedSaveSaysWhyWithoutTheStatement)
{
    ASSERT_TRUE(showActive(*window));
    window->txtNumber->setFocus();
    QTest::keyClicks(window->txtNumber, QStringLiteral("01.001"));
    QTest::keyClick(window->txtNumber, Qt::Key_Tab);
    window->txtStockNumber->setFocus();
    QTest::keyClicks(window->txtStockNumber, QStringLiteral("S02"));
    QTest::keyClick(window->txtStockNumber, Qt::Key_Tab);
    sql("Drop Table ICInvBackup");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_modals.messages().empty(); }));
    const QString shown = m_modals.messages().back().text;
    const QString sentence = QStringLiteral("添加物料失败，原因：");
    EXPECT_TRUE(shown.startsWith(sentence) && shown.size() > sentence.size())
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("ICInvBackup"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("SQL"), Qt::CaseInsensitive) ||
                 shown.contains(QStringLiteral("Select"), Qt::CaseInsensitive))
        << shown.toStdString();
}

} // namespace
