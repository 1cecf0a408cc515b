// The host's lookups the add-line window calls, on the host tables.
#include "dialogsdb.h"

#include "dialogs/frmadditem.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/core/vector.h"
#include "host/lookup/auxprop.h"
#include "host/lookup/glview.h"
#include "host/lookup/itemaux.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/uitestutil.h"
#include "support/casename.h"

#include <QTableView>

namespace {

struct SearchCase
{
    const char *description;
    bool shortNumber;
    const char *search;
    std::vector<std::string> codes; // the codes listed
};

class ItemSearch : public DialogsDbTest, public ::testing::WithParamInterface<SearchCase>
{};

TEST_P(ItemSearch, ItemsAreFoundByEitherCodeNameOrBarCode)
{
    const SearchCase &c = GetParam();
    std::vector<std::string> listed;
    m_modals.whileShown([&](host::ui::Form &form) {
        auto &lookup = dynamic_cast<host::LookupWindow &>(form);
        for (int i = 0; i < lookup.visibleCount(); ++i)
            listed.push_back(lookup.visibleCode(i).toStdString());
        if (lookup.visibleCount() > 0)
            lookup.choose(0);
    });
    const auto view = host::CreateObjectAs<host::GLView>(host::GLView::ProgId);
    host::Dictionary options;
    options.SetValue("BeShortNumber", c.shortNumber);
    options.SetValue("Search", c.search);
    std::string search;
    std::string filter = " FErpClsID Not in(6,8)";
    const auto result = view->ItemLookUp(4, search, filter, options);
    EXPECT_EQ(listed, c.codes);
    ASSERT_EQ(result->ReturnObject != nullptr, !c.codes.empty());
    if (result->ReturnObject) {
        // The picked row carries every flag the item set-up reads.
        for (const char *field : {"FISSNManage", "FStoreUnitID", "FSecUnitID", "FAuxClassID",
                                  "FBatchManager", "FISKFPeriod", "FKFPeriod", "FQtyDecimal"})
            EXPECT_FALSE(result->ReturnObject->Properties(field).isEmpty()) << field;
    }
}

const SearchCase kSearches[] = {
    {"everything", false, "", {"01.001", "01.002", "01.003"}},
    {"by number", false, "01.002", {"01.002"}},
    {"by short number shown as number", false, "003", {"01.003"}},
    {"short numbers shown", true, "01.001", {"001"}},
    {"by name", false, "油漆", {"01.002"}},
    {"by bar code", false, "6901234", {"01.002"}},
    {"nothing", false, "zz'", {}},
};
INSTANTIATE_TEST_SUITE_P(Texts, ItemSearch, ::testing::ValuesIn(kSearches), [](const auto &param) {
    return caseName(param.index, param.param.description);
});

TEST_F(DialogsDbTest, AuxiliaryPropertiesAreThoseOfTheItemsClass)
{
    std::vector<int> listed;
    m_modals.whileShown([&](host::ui::Form &form) {
        auto &lookup = dynamic_cast<host::LookupWindow &>(form);
        listed.push_back(lookup.visibleCount());
        lookup.choose(1);
    });
    const auto picker = host::CreateObjectAs<host::AuxPropPicker>(host::AuxPropPicker::ProgId);
    picker->ItemID = 2;
    picker->Show();
    EXPECT_EQ(listed, std::vector<int>{2});
    ASSERT_TRUE(picker->ReturnOK() && picker->ValidAuxVect());
    const auto choice = picker->ReturnAuxVect()->Item(1).as<host::Dictionary>();
    EXPECT_EQ(host::CStr(choice->Value("FNumber")), "RED");
    EXPECT_EQ(host::CLng(choice->Value("FItemID")), 7);

    const auto check = host::CreateObjectAs<host::ItemAuxCheck>(host::ItemAuxCheck::ProgId);
    for (const auto &[code, name] : std::vector<std::pair<const char *, const char *>>{
             {"BLUE", "蓝色"}, {"BIG", ""}, {"x'", ""}}) {
        host::Dictionary request;
        request.SetValue("FItemID", 2L);
        request.SetValue("FNumber", code);
        EXPECT_EQ(host::CStr(check->CheckItemAuxNum(request)->Value("FName")), name) << code;
    }
}

// Each lookup of the add-line window, opened with F7 in its box: what its columns say and show,
// and its OK and Cancel reached by their access keys.
struct LookupColumnsCase
{
    const char *name;
    std::vector<std::pair<host::ui::TextBox * frmAddItem::*, const char *>> typed; // before F7
    host::ui::TextBox *frmAddItem::*box;
    QStringList headers;
    QStringList firstRow;
    Qt::Key altKey;       // Alt+O is OK, Alt+C is Cancel
    const char *boxAfter; // what the box holds once the lookup closed
};

class LookupColumns : public DialogsDbTest, public ::testing::WithParamInterface<LookupColumnsCase>
{};

TEST_P(LookupColumns, SayWhatTheyListAndCloseByTheirAccessKeys)
{
    const LookupColumnsCase &c = GetParam();
    frmAddItem window;
    window.Load();
    ASSERT_TRUE(showActive(window));
    for (const auto &[box, text] : c.typed) {
        (window.*box)->setFocus();
        QTest::keyClicks(window.*box, QString::fromUtf8(text));
        QTest::keyClick(window.*box, Qt::Key_Tab);
    }
    QStringList headers, firstRow;
    bool closed = false;
    m_modals.whileShown([&](host::ui::Form &form) {
        ASSERT_TRUE(showActive(form));
        const QAbstractItemModel *list = form.findChild<QTableView *>()->model();
        for (int col = 0; col < list->columnCount(); ++col) {
            headers << list->headerData(col, Qt::Horizontal).toString();
            firstRow << list->index(0, col).data().toString();
        }
        QTest::keyClick(QApplication::focusWidget(), c.altKey, Qt::AltModifier);
        // A button's access key clicks it after showing it pressed.
        closed = QTest::qWaitFor([&form] { return !form.isVisible(); });
    });
    (window.*c.box)->setFocus();
    QTest::keyClick(window.*c.box, Qt::Key_F7);
    // The lookup opens once the key has been delivered.
    QApplication::processEvents();
    EXPECT_EQ(headers, c.headers);
    EXPECT_EQ(firstRow, c.firstRow);
    EXPECT_TRUE(closed);
    EXPECT_EQ((window.*c.box)->Text(), QString::fromUtf8(c.boxAfter));
}

const LookupColumnsCase kLookupColumns[] = {
    {"items show their model",
     {},
     &frmAddItem::txtNumber,
     {"代码", "名称", "规格型号"},
     {"01.001", "螺栓", "M8"},
     Qt::Key_O,
     "01.001"},
    {"stocks", {}, &frmAddItem::txtStockNumber, {"代码", "名称"}, {"S01", "原料仓"}, Qt::Key_C, ""},
    {"stock places",
     {{&frmAddItem::txtStockNumber, "S01"}},
     &frmAddItem::txtSPNumber,
     {"代码", "名称"},
     {"A.01", "A区一号"},
     Qt::Key_O,
     "A.01"},
    {"auxiliary properties",
     {{&frmAddItem::txtNumber, "01.002"}},
     &frmAddItem::txtAuxPropName,
     {"代码", "名称"},
     {"BLUE", "蓝色"},
     Qt::Key_O,
     "蓝色"},
    {"batches",
     {{&frmAddItem::txtNumber, "01.002"}},
     &frmAddItem::txtBatchNo,
     {"批次", "库存数量"},
     {"L01", "5"},
     Qt::Key_C,
     ""},
};

INSTANTIATE_TEST_SUITE_P(Lookups, LookupColumns, ::testing::ValuesIn(kLookupColumns),
                         [](const auto &param) { return caseName(param.index, param.param.name); });

} // namespace
