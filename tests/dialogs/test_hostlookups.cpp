// The host's lookups the add-line window calls, on the host tables.
#include "dialogsdb.h"

#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/core/vector.h"
#include "host/lookup/auxprop.h"
#include "host/lookup/glview.h"
#include "host/lookup/itemaux.h"
#include "host/lookup/lookupwindow.h"
#include "support/casename.h"

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

} // namespace
