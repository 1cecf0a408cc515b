#include "dialogtest.h"

#include "countsheet/maindo.h"
#include "dialogs/frmfind.h"
#include "host/core/settingsstore.h"
#include "host/ui/optionbutton.h"
#include "host/ui/spreadgrid.h"
#include "support/casename.h"

namespace {

struct ValueCase
{
    const char *name;
    long dataType;
    const char *typed;
    const char *kept;
};

class SearchValue : public ::testing::TestWithParam<ValueCase>
{};

TEST_P(SearchValue, IsCheckedByType)
{
    EXPECT_EQ(checkedSearchValue(GetParam().dataType, QString::fromUtf8(GetParam().typed)),
              QString::fromUtf8(GetParam().kept));
}

const ValueCase kValues[] = {
    {"whole number kept", 3, "180", "180"},
    {"whole number with a point cleared", 3, "1.5", ""},
    {"whole number with a minus cleared", 3, "-3", ""},
    {"whole number too large capped", 3, "3000000000", "2147483647"},
    {"number kept", 5, "2.5", "2.5"},
    {"not a number cleared", 5, "abc", ""},
    {"huge number capped", 5, "1e20", "99999999999999"},
    {"huge negative capped", 5, "-1e20", "-99999999999999"},
    {"text as typed", 8, "O'Brien", "O'Brien"},
    {"empty stays empty", 3, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Types, SearchValue, ::testing::ValuesIn(kValues),
                         [](const auto &c) { return caseName(c.index, c.param.name); });

class FindDialog : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        MainDo engine; // binds the settings store
        auto column = [](const char *caption, const char *field, long type) {
            QueryColumn c;
            c.Caption = caption;
            c.FieldName = field;
            c.DataType = type;
            return c;
        };
        module().gQueryColumns = {column("物料名称", "FName", 8),
                                  column("保质期(天)", "FKFPeriod", 3),
                                  column("基本单位账存数量", "FQty", 5)};
    }

    void open(frmFind &dialog, const std::function<void(frmFind &)> &user)
    {
        m_modals.whileShown([&](host::ui::Form &form) { user(static_cast<frmFind &>(form)); });
        dialog.setActionMode(0);
        dialog.Show(1);
    }
};

TEST_F(FindDialog, OkWritesTheValuesAndRaisesFindNowEachTime)
{
    frmFind dialog;
    std::vector<std::pair<long, long>> raised;
    QObject::connect(&dialog, &frmFind::FindNow,
                     [&](long search, long match) { raised.emplace_back(search, match); });
    open(dialog, [](frmFind &d) {
        ASSERT_EQ(d.vspSearch->MaxRows(), 3);
        EXPECT_EQ(d.vspSearch->GetText(1, 2), "保质期(天)");
        type(*d.vspSearch, 2, 1, " bolt ");
        type(*d.vspSearch, 2, 2, "1.5");
        EXPECT_EQ(d.vspSearch->GetText(2, 2), "") << "a whole-number cell refuses the point";
        d.optBlur->setValue(true);
        d.cmdOK_Click();
        d.optMatch->setValue(true);
        d.cmdOK_Click();
        EXPECT_TRUE(d.isVisible());
        d.cmdCancel_Click();
    });
    EXPECT_EQ(raised, (std::vector<std::pair<long, long>>{{1, 1}, {0, 1}}));
    EXPECT_EQ(module().gQueryColumns[0].SearchValue, "bolt");
    EXPECT_EQ(module().gQueryColumns[1].SearchValue, "");
}

TEST_F(FindDialog, KeepsItsOptionsAndShowsTheLastValuesAgain)
{
    {
        frmFind dialog;
        open(dialog, [](frmFind &d) {
            EXPECT_TRUE(d.optMatch->Value()) << "whole match until chosen otherwise";
            type(*d.vspSearch, 2, 3, "7");
            d.optBlur->setValue(true);
            d.cmdOK_Click();
            d.cmdCancel_Click();
        });
    }
    EXPECT_EQ(host::CStr(module().gIni->read("ZarvoStockCheck", "Search_Match", host::Variant())),
              "1");
    frmFind again;
    open(again, [](frmFind &d) {
        EXPECT_TRUE(d.optBlur->Value());
        EXPECT_EQ(d.vspSearch->GetText(2, 3), "7");
    });
}

} // namespace
