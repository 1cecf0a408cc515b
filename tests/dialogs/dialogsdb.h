#pragma once

#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/modal/scriptedmodals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A fresh module on an in-memory database with the base data the dialogs look up, one count
// process and the bills posted around its snapshot:
//
//   items  1 "01.001"/"001" plain, counted in boxes of 12
//          2 "01.002"/"002" batches, shelf life 180 days, second unit kg, colours; bar code
//            "6901234567890"
//          3 "01.003"/"003" serial numbers
//   stocks 1 "S01"/"s1" with places (A.01 detail, A not detail), 2 "S02"/"s2" without
//   process 1 (current stock, bills above 100 and changes above 3 came after the snapshot):
//          one line of item 1 in stock 1, place A.01: 2 boxes on the books, 2 counted
class DialogsDbTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<host::Recordset> sql(const std::string &text);
    // The first field of the first row as text; empty when there is no row.
    std::string value(const std::string &query);
    long count(const std::string &query);
    // Every column of the count lines, one text per line, for comparing the whole table.
    std::string countLines();

    std::shared_ptr<host::AppConnection> m_db;
    host::ui::ScriptedModals m_modals;
};
